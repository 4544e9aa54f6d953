#include "fluids/registry.h"

#include "core/fluid_model.h"
#include "fluids/co2/co2_model.h"
#include "fluids/methanol/methanol_model.h"
#include "fluids/water/water_model.h"

namespace kelvane {

void RegisterAllFluids() {
    RegisterFluidOperations(0, WaterOperations());
    RegisterFluidOperations(1, MethanolOperations());
    RegisterFluidOperations(2, Co2Operations());
}

}  // namespace kelvane
