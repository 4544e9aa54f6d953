#include "fluids/water/water_model.h"

namespace kelvane {

const FluidOperations& WaterOperations() {
    static const FluidOperations ops{};
    return ops;
}

}  // namespace kelvane
