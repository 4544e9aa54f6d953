// Critical enhancement of the viscosity and thermal conductivity of carbon dioxide by
// the crossover model of Vesovic et al. (1990), integrated in closed form.
//
// Both crossover functions are integrals over x from 0 to psi_D = arctan(q_D xi) of a
// rational function of u = cos x. Writing a = cv/(cp - cv) and
// C(u) = u^3 + b u^2 + a u + c for the decay-rate cubic of the viscosity function,
//   viscosity:    H     = integral of (1 - u^2)^2 u^4 / ((u^2 + a) C(u)) dx,
//   conductivity: Omega = integral of (u^2 + a)^2 / ((1 + a) Q(u)) dx (Q the quartic).
// For a -> 0 the viscosity function reduces to the familiar simplified crossover
// function of Olchowy and Sengers, integral of sin^4 x / (cos x + 1/(q_C xi)) dx.
#pragma once

#include "numeric/complex.h"

namespace kelvane {

// Integral from 0 to psi of dx / (y + cos x) for a real y and 0 <= psi < pi:
//   -1 < y < 1: ln[(1 + y + d t) / (1 + y - d t)] / d with d = sqrt(1 - y^2), t = tan(psi/2);
//   y = 1:      t;
//   y > 1:      2 / sqrt(y^2 - 1) * arctan(sqrt((y - 1)/(y + 1)) t).
// Where the integral does not exist as a finite number the result is NaN: for
// y <= -1, for a pole cos x = -y inside [0, psi], and for a NaN y. CriticalViscosity
// turns such a NaN into its failure value -1.
double CosIntegral(double y, double psi);

// The same integral for a complex y, by the logarithmic form with ComplexSqrt and
// ComplexLog; no guard (a zero d or a zero logarithm argument gives non-finite parts).
Complex CosIntegralComplex(Complex y, double psi);

// Viscosity including its critical enhancement in Pa s, etaBar exp(0.06 H), or -1 when
// it cannot be determined. etaBar, lambdaBar: background values; xi: correlation
// length in m; cp, cv: heat capacities in J/(kg K). xi = 0 gives etaBar.
// H is the complete crossover function: the polynomial part of its integrand
// (terms in psi_D, sin psi_D, sin 2 psi_D, sin 3 psi_D), the partial fractions over the
// three roots of C(u), and the arctan term of the factor u^2 + a.
// For q_D xi < 1e-3 H is the leading term psi_D^5 / (5 (1 + a) C(1)) of its expansion
// (relative error below 1e-6), where the closed form only cancels to rounding noise.
// -1: two roots of C(u) with equal real parts (this includes every complex pair), or
// a non-finite H (CosIntegral NaN, cp <= cv, a singular partial-fraction system).
// The roots of C(u) and of the conductivity quartic come from CubicRoots and
// QuarticRoots applied to the polynomial and to its rescaled form u = s v, whichever
// gives the smaller relative residual (the solvers' cut-offs are absolute).
double CriticalViscosity(double delta, double tau, double etaBar, double lambdaBar, double xi, double cp, double cv);

// Critical enhancement of the thermal conductivity in W/(m K), 0 for q_D xi < 1e-6.
// eta is the enhanced viscosity. For q_D xi < 1e-3 Omega - Omega0 is taken from its
// expansion to O(x^3) (relative error below 1e-9), where the closed form cancels and
// its quartic roots spread over too many decades at low densities.
// -1 when all four roots of the quartic are equal. NaN when the result cannot be
// formed otherwise: two roots equal short of all four (the partial fractions would
// need a double pole, and the 4 x 4 system is singular), or a non-finite value of
// the closed form. The property evaluation shows -1 and NaN alike as "N/A".
double ConductivityEnhancement(double delta, double tau, double etaBar, double eta, double lambdaBar, double xi,
                               double cp, double cv);

}  // namespace kelvane
