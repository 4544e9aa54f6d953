// Reduced Helmholtz energy of carbon dioxide after Span and Wagner,
// J. Phys. Chem. Ref. Data 25, 1509 (1996): the residual part phir(delta, tau) with its
// derivatives, and the temperature-dependent part of the ideal-gas Helmholtz energy.
// delta = rho/rhoc, tau = Tc/T with Tc = 304.1282 K and rhoc = 467.6 kg/m3.
#pragma once

#include <array>

#include "fluids/common/helmholtz_fluid.h"

namespace kelvane {

// Partial derivative d^(nDelta+nTau) phir / d delta^nDelta d tau^nTau for the pairs
// (0,0), (1,0), (2,0), (0,1), (1,1), (0,2). nTau = -2 (any nDelta, delta unused)
// gives the zero-density limit of d phir / d delta, which is rhoc times the second
// virial coefficient. Every other pair gives 0.
double Co2ResidualHelmholtz(int nDelta, double delta, int nTau, double tau);

// The asked orders (ResidualOrder bits) of phir in one evaluation; the fields of the
// orders not asked for are 0. Each asked field equals Co2ResidualHelmholtz's value.
ResidualDerivatives Co2Residual(double delta, double tau, unsigned orders);

// Ideal-gas part without its ln(delta) term: n = 0 the value
// a1 + a2 tau + a3 ln tau + sum a_i ln(1 - exp(-theta_i tau)), n = 1 and n = 2 its first
// and second tau derivatives.
double Co2IdealHelmholtz(int n, double tau);
// Co2IdealHelmholtz(n, tau) for n = 0, 1, 2 in one evaluation.
std::array<double, 3> Co2IdealDerivatives(double tau);

// Auxiliary functions of the three non-analytic terms i = 40, 41, 42.
// Distance function Delta_i = theta^2 + B_i ((delta-1)^2)^a_i and its first and second
// delta derivatives (nDelta = 0, 1, 2); nTau is ignored.
double NonAnalyticDistance(int nDelta, double delta, int nTau, double tau, int i);
// Delta_i^b_i and its derivatives for the six supported pairs.
double NonAnalyticDistancePower(int nDelta, double delta, int nTau, double tau, int i);
// Damping function psi_i = exp(-C_i (delta-1)^2 - D (tau-1)^2) and its derivatives.
double NonAnalyticExponential(int nDelta, double delta, int nTau, double tau, int i);

}  // namespace kelvane
