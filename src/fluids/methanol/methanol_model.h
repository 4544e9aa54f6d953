// The methanol fluid model (IUPAC 1993 reference equation).
#pragma once

#include "core/fluid_model.h"

namespace kelvane {

const FluidOperations& MethanolOperations();

}  // namespace kelvane
