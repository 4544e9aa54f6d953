#include "fluids/registry.h"

#include <array>
#include <cctype>

#include "fluids/co2/co2_model.h"
#include "fluids/methanol/methanol_model.h"
#include "fluids/water/water_model.h"

namespace kelvane {

namespace {

//                                  Tmin    Tmax     Ttriple  Pmax
constexpr FluidLimits kWaterLimits{273.15, 2273.15, 273.16, 1e8};
constexpr FluidLimits kMethanolLimits{175.61, 620, 175.61, 8e8};
constexpr FluidLimits kCo2Limits{216, 1100, 216.592, 8e8};

const std::array<Fluid, kFluidCount>& Table() {
    static const std::array<Fluid, kFluidCount> fluids = {
        Fluid{0, "water", kWaterConstants, kWaterLimits, WaterOperations()},
        Fluid{1, "methanol", kMethanolConstants, kMethanolLimits, MethanolOperations()},
        Fluid{2, "co2", kCo2Constants, kCo2Limits, Co2Operations()},
    };
    return fluids;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

const Fluid& FluidAt(int index) { return Table()[index]; }

const Fluid* FluidNamed(std::string_view name) {
    static constexpr const char* kFormulas[kFluidCount] = {"H2O", "MeOH", "CO2"};
    for (const Fluid& f : Table())
        if (SameIgnoringCase(name, f.id) || SameIgnoringCase(name, f.constants.name) ||
            SameIgnoringCase(name, kFormulas[f.index]))
            return &f;
    return nullptr;
}

}  // namespace kelvane
