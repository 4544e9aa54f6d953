// The water fluid model (IAPWS-IF97 with the IAPS-1985 transport equations).
#pragma once

#include "core/fluid_model.h"

namespace kelvane {

// The six operations of water plus its optional Region and BoundaryB23Pressure.
const FluidOperations& WaterOperations();

// Saturation state at one temperature in SI molar units.
struct WaterSaturationState {
    double pressure;  // Pa
    double rhoV;      // saturated vapour, mol/m3
    double rhoL;      // saturated liquid, mol/m3
    int passes;       // outer passes of the region-3 iteration (0 for regions 1/2)
    bool converged;   // false when the pass limit ended the region-3 iteration
};

// Upper bound on the outer passes of the region-3 saturation iteration; where a
// saturation state exists it needs far fewer.
constexpr int kMaxWaterSaturationPasses = 200;
// Upper bound on the steps of the boundary-density search of the region-3 fugacity
// (the halving step ends it after about 20).
constexpr int kMaxBoundaryDensitySteps = 10000;

// T <= 623.15 K: equal Gibbs energies of regions 1 and 2, by a step-halving pattern
// search in the pressure from the saturation-pressure equation.
WaterSaturationState SaturationRegions12(double T);

// Upper bound on the Newton steps of the saturation solves below.
constexpr int kMaxWaterNewtonSteps = 60;

// T <= 623.15 K: the same condition by Newton's method in the pressure from the
// saturation-pressure equation, to the precision of the Gibbs functions.
WaterSaturationState SaturationRegions12Newton(double T);

// 623.15 K < T < Tc: the Maxwell construction on the region-3 isotherm by Newton's
// method on equal pressure and Gibbs energy, from the densities of p0 that the
// step-halving searches find.
WaterSaturationState SaturationRegion3Newton(double T, double p0);

// 623.15 K < T < Tc: Maxwell construction on the region-3 isotherm, starting from the
// pressure p0; at most maxPasses outer passes.
WaterSaturationState SaturationRegion3(double T, double p0, int maxPasses = kMaxWaterSaturationPasses);

}  // namespace kelvane
