// The density search and the saturation iterations as the calculation used them before
// the Newton solvers: the march and step-halving walk with its final narrowing, and
// each fluid's step-halving phase-equilibrium iteration with its cut-off below the
// critical temperature. Kept as the reference the Newton solvers are compared with;
// the calculation does not use this file.
#pragma once

#include "core/fluid_model.h"

namespace kelvane::reference {

// Density (mol/m3) at s.T and s.P by the march and the step-halving walk.
double SolveDensity(const Fluid& f, const PointContext& s);

// The fluid's saturation at tau = Tred/T by its step-halving iteration: water by the
// pattern search on equal Gibbs energies up to 623.15 K and the region-3 equal-area
// iteration up to 647.08438225 K, methanol and carbon dioxide by the equal-area
// iteration (carbon dioxide up to 304.124 K); "over Tc" at and above Tc, "N/A" between
// the cut-off and Tc.
SaturationState Saturation(const Fluid& f, double tau, double T);

}  // namespace kelvane::reference
