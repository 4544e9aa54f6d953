// The methanol fluid model (IUPAC 1993 reference equation).
#pragma once

#include "core/fluid_model.h"
#include "fluids/common/helmholtz_fluid.h"

namespace kelvane {

const FluidOperations& MethanolOperations();

// Phase equilibrium at tau = Tred / T below the critical temperature: the equal-area
// iteration started from the auxiliary saturation pressure and densities (from
// delta = 1 above 500 K), with methanol's own constants.
EqualAreaResult MethanolSaturationState(double tau);

// Phase equilibrium at tau by Newton's method on the equal-area conditions, started
// from the densities of the auxiliary saturation pressure (from one pass of the
// equal-area iteration above 500 K). Saturation uses it, and the equal-area iteration
// where it does not converge.
NewtonSaturation MethanolSaturationNewton(double tau);

}  // namespace kelvane
