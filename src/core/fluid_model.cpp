#include "core/fluid_model.h"

#include <bit>
#include <cstdint>

namespace kelvane {

CalculatorState calc;

namespace {

FluidModel fluids[kFluidCount] = {
    //  name        M          R        Tc        Pc        rhoc mol  rhoc kg  Tred    rhored   Pred
    {"Water",    18.015257, 8.31451, 647.096,  22.064e6, 0,        322,     1.0,    1.0,     1.0, {}},
    {"Methanol", 32.04216,  8.31448, 512.6,    8.1035e6, 8600,     0,       513.38, 8785.17, 1.0, {}},
    {"CO2",      44.0098,   8.31451, 304.1282, 7.3773e6, 0,        467.6,   0,      0,       1.0, {}},
};

}  // namespace

const FluidModel& Fluid(int index) { return fluids[index]; }

void RegisterFluidOperations(int index, const FluidOperations& ops) {
    if (index >= 0 && index < kFluidCount) fluids[index].ops = ops;
    if (index == calc.fluid) calc.ops = ops;
}

SaturationResult CurrentSaturation(double tau) {
    struct Entry {
        SaturationResult (*operation)(double) = nullptr;
        int fluid = -1;
        uint64_t tau = 0, T = 0;
        SaturationResult result;
    };
    if (!calc.ops.saturationDependsOnTemperatureOnly) return calc.ops.Saturation(tau);
    static Entry last;
    const uint64_t tauBits = std::bit_cast<uint64_t>(tau), TBits = std::bit_cast<uint64_t>(calc.T);
    if (last.operation != calc.ops.Saturation || last.fluid != calc.fluid || last.tau != tauBits || last.T != TBits) {
        last.result = calc.ops.Saturation(tau);
        last.operation = calc.ops.Saturation;
        last.fluid = calc.fluid;
        last.tau = tauBits;
        last.T = TBits;
    }
    return last.result;
}

void SelectFluid(int index) {
    if (index < 0 || index >= kFluidCount) return;
    const FluidModel& f = fluids[index];
    calc.M = f.M;
    calc.R = f.R;
    calc.Tc = f.Tc;
    calc.Pc = f.Pc;
    calc.rhoc = f.rhocMass != 0 ? f.rhocMass / f.M * 1000 : f.rhocMolar;
    calc.Tred = f.Tred != 0 ? f.Tred : calc.Tc;
    calc.rhored = f.rhored != 0 ? f.rhored : calc.rhoc;
    calc.Pred = f.Pred;
    calc.ops = f.ops;
    calc.fluid = index;
}

}  // namespace kelvane
