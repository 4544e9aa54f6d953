// Density and pressure solvers of the point calculation. They work only through the
// current fluid's Pressure operation, with water's Region shortcut where supplied.
#pragma once

namespace kelvane {

// P in Pa from T and the reduced density x = rho/rhored.
double PressureFromDensity(double T, double x);

// rho in mol/m3 from T and P through the pressure form of Pressure (water only).
double DensityFromPressure(double T, double P);

// Density (mol/m3) at T and P: a march up the isotherm followed by a step-halving walk.
double SolveDensity(double T, double P, double satuP, double satuRhov, double satuRhol);

// Pressure (Pa) at T and rho: explicit where the model allows, otherwise a search over
// the pressure with up to 30 restarts.
double SolvePressure(double T, double rho, double satuP, double satuRhov, double satuRhol);

// Upper bounds that keep every march finite; a case that needs more steps than these
// lies far beyond any accepted state.
constexpr int kMaxMarchSteps = 10000;
constexpr int kMaxDescentSteps = 4000;

}  // namespace kelvane
