// Reduced Helmholtz energy of methanol: the IUPAC reference equation of de Reuck and
// Craven (International Thermodynamic Tables of the Fluid State, vol. 12, 1993).
// Reduced variables delta = rho / 8785.17 mol/m3 and tau = 513.38 K / T.
#pragma once

#include <array>

#include "fluids/common/helmholtz_fluid.h"

namespace kelvane {

// Residual part phir(delta, tau). nDelta and nTau are the orders of differentiation:
// (0,0), (1,0), (2,0), (0,1), (1,1) and (0,2) return the plain partial derivative
// (e.g. (1,0) is d phir / d delta). nTau = -2 (nDelta and delta ignored) returns the
// zero-density limit of d phir / d delta, i.e. B(T) * rhored. Any other pair gives 0.
double MethanolResidualHelmholtz(int nDelta, double delta, int nTau, double tau);

// The asked orders (ResidualOrder bits) of phir in one evaluation; the fields of the
// orders not asked for are 0. Each asked field equals MethanolResidualHelmholtz's value.
ResidualDerivatives MethanolResidual(double delta, double tau, unsigned orders);

// Temperature share of the ideal-gas part, phi0T(tau) (nTau = 0), and its first and
// second tau derivatives (nTau = 1, 2). The full ideal-gas part is
// phi0T(tau) + ln(kMethanolIdealDensityScale * delta). Any other order gives 0.
double MethanolIdealHelmholtz(int nTau, double tau);
// MethanolIdealHelmholtz(n, tau) for n = 0, 1, 2 in one evaluation.
std::array<double, 3> MethanolIdealDerivatives(double tau);

// Density scale inside the ideal-gas logarithm, about rhored R (298.15 K) / (0.1 MPa):
// together with phi0T's constant and linear terms it puts the zero of enthalpy and
// entropy at the ideal gas at 298.15 K and 0.1 MPa.
constexpr double kMethanolIdealDensityScale = 217.78104246079;

}  // namespace kelvane
