// Critical enhancement of the viscosity and thermal conductivity of carbon dioxide by
// the crossover model of Vesovic et al. (1990), integrated in closed form.
#pragma once

#include "numeric/complex.h"

namespace kelvane {

// Integral from 0 to psi of dx / (y + cos x) for a real y (0 for y >= 1).
double CosIntegral(double y, double psi);
Complex CosIntegralComplex(Complex y, double psi);

// Viscosity including its critical enhancement in Pa s, or -1 when it cannot be
// determined. etaBar, lambdaBar: background values; xi: correlation length in m;
// cp, cv: heat capacities in J/(kg K).
double CriticalViscosity(double delta, double tau, double etaBar, double lambdaBar, double xi,
                         double cp, double cv);

// Critical enhancement of the thermal conductivity in W/(m K), 0 below the cut-off,
// or -1 when it cannot be determined. eta is the enhanced viscosity.
double ConductivityEnhancement(double delta, double tau, double etaBar, double eta,
                               double lambdaBar, double xi, double cp, double cv);

}  // namespace kelvane
