#include "fluids/methanol/methanol_model.h"

namespace kelvane {

const FluidOperations& MethanolOperations() {
    static const FluidOperations ops{};
    return ops;
}

}  // namespace kelvane
