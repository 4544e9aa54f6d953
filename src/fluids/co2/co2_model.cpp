#include "fluids/co2/co2_model.h"

namespace kelvane {

const FluidOperations& Co2Operations() {
    static const FluidOperations ops{};
    return ops;
}

}  // namespace kelvane
