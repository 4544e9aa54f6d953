// The fluid table of the engine: water, methanol and carbon dioxide with their
// constants, limits and operations.
#pragma once

#include <string_view>

#include "core/fluid_model.h"

namespace kelvane {

// Fluid `index` (0 water, 1 methanol, 2 carbon dioxide); index must be 0..2.
const Fluid& FluidAt(int index);

// The fluid named `name`: its id ("water", "methanol", "co2"), its display name or its
// formula ("H2O", "MeOH", "CO2"), in any case; null when there is none.
const Fluid* FluidNamed(std::string_view name);

}  // namespace kelvane
