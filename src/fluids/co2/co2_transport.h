// Background transport properties of carbon dioxide: the viscosity of
// Fenghour, Wakeham and Vesovic (1998) without its critical term, and the zero-density
// plus excess thermal conductivity of Vesovic et al. (1990).
#pragma once

namespace kelvane {

// Viscosity in Pa s at the reduced state (delta = rho/rhored, tau = Tred/T). The
// square root of the dilute-gas term takes the state's temperature T in K.
double BackgroundViscosity(double delta, double tau, double T);

// Thermal conductivity in W/(m K) at the reduced state; temperature Tred/tau throughout.
double BackgroundConductivity(double delta, double tau);

}  // namespace kelvane
