// The water fluid model (IAPWS-IF97 with the IAPS-1985 transport equations).
#pragma once

#include "core/fluid_model.h"

namespace kelvane {

const FluidOperations& WaterOperations();

}  // namespace kelvane
