// The carbon dioxide fluid model (Span-Wagner 1996 with its transport correlations).
#pragma once

#include "core/fluid_model.h"

namespace kelvane {

const FluidOperations& Co2Operations();

}  // namespace kelvane
