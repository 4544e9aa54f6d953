// IAPWS-IF97 (1997 release) for water: the basic equations of regions 1, 2, 3 and 5
// as dimensionless functions with their partial derivatives, the region 2-3 boundary,
// the saturation-pressure equation of region 4 and the region rule.
//
// Every region function is called as (order in the first variable, first variable,
// order in the second variable, second variable). The orders (0,0), (1,0), (2,0),
// (0,1), (1,1) and (0,2) give the plain partial derivative; a negative second order
// selects a special result (first order ignored) where the function lists one; every
// other combination gives 0.
//
// Water's reducing values in the calculator state are 1, so tau = 1/T (1/K), delta is
// the density in mol/m3 and pi the pressure in Pa; each region reduces them itself.
#pragma once

namespace kelvane {

// Region 1, gamma(pi1, tau1) with pi1 = P / 16.53 MPa and tau1 = 1386 K / T.
double GibbsRegion1(int i, double pi1, int j, double tau1);

// The six derivatives that the properties of a state use, each the number that the
// single-order function gives: orders (0, 0), (0, 1), (0, 2), (1, 0), (1, 1), (2, 0)
// in (pi, tau).
struct GibbsOrders {
    double g, gTau, gTauTau, gPi, gPiTau, gPiPi;
};
GibbsOrders GibbsRegion1Orders(double pi1, double tau1);
GibbsOrders GibbsRegion2Orders(double pi2, double tau2);
GibbsOrders GibbsRegion5Orders(double pi5, double tau5);

// GibbsRegion1(0, pi1, 0, tau1) and GibbsRegion1(1, pi1, 0, tau1) in one pass.
void GibbsRegion1AndSlope(double pi1, double tau1, double* g, double* gPi);

// ln of the fugacity coefficient of the compressed liquid at (pi1, tau1), integrated
// along the liquid isotherm from the saturated vapour at the saturation pressure satuP
// in Pa (non-finite when satuP is 0).
double LiquidLnFugacity(double pi1, double tau1, double satuP);

// Region 2, gamma = gamma0 + gammar with pi2 = P / 1 MPa and tau2 = 540 K / T.
// j = -1: gammar (ln of the fugacity coefficient); j = -2: the limit of
// d gammar / d pi2 as pi2 -> 0 (second virial coefficient).
double GibbsRegion2(int i, double pi2, int j, double tau2);

// GibbsRegion2(0, pi2, 0, tau2) and GibbsRegion2(1, pi2, 0, tau2) in one pass.
void GibbsRegion2AndSlope(double pi2, double tau2, double* g, double* gPi);

// Region 3, phi(delta3, tau3) with delta3 = rho / rhoc and tau3 = Tc / T (water's
// critical density and temperature). No special values.
double HelmholtzRegion3(int i, double delta3, int j, double tau3);

// Region 5 in the form of the 1997 release, pi5 = P / 1 MPa and tau5 = 1000 K / T.
// j = -1: the residual part; j = -2: the zero-pressure limit of its pi5 derivative.
double GibbsRegion5(int i, double pi5, int j, double tau5);

// Pressure (Pa) of the region 2-3 boundary at T = 1/x.
double BoundaryB23Pressure(double x);

// Saturation pressure (Pa) at T (K) from the region-4 equation.
double SaturationPressureEquation(double T);

// Region 1, 2, 3 or 5 of a state given as (0, tau, P) or (rho, tau, 0), with the
// saturation values at the same temperature.
int Region(double delta, double tau, double pi, double satuP, double satuRhov, double satuRhol);

}  // namespace kelvane
