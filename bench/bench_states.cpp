#include "bench_states.h"

#include <cmath>

#include "core/format.h"
#include "core/saturation.h"
#include "fluids/registry.h"

namespace kelvane::bench {

const char* FluidLabel(int fluid) {
    static const char* const labels[kBenchFluids] = {"Water", "Methanol", "CO2"};
    return labels[fluid];
}

const std::array<BenchState, 4>& BenchStates(int fluid) {
    // Critical points: water 647.096 K / 22.064 MPa, methanol 512.6 K / 8.1035 MPa,
    // carbon dioxide 304.1282 K / 7.3773 MPa.
    static const std::array<BenchState, 4> states[kBenchFluids] = {
        {{{"gas", 500, 1}, {"liquid", 300, 10}, {"supercritical", 800, 50}, {"near-critical", 648, 22.5}}},
        {{{"gas", 400, 0.1}, {"liquid", 300, 10}, {"supercritical", 550, 20}, {"near-critical", 513.5, 8.3}}},
        {{{"gas", 300, 1}, {"liquid", 250, 10}, {"supercritical", 400, 20}, {"near-critical", 305, 7.5}}},
    };
    return states[fluid];
}

const std::array<double, 2>& SaturationTemperatures(int fluid) {
    static const std::array<double, 2> temperatures[kBenchFluids] = {{{300, 640}}, {{300, 508}}, {{250, 302}}};
    return temperatures[fluid];
}

void PrepareState(MainForm& form, int fluid, const BenchState& s, int mode) {
    form.RadioGroupMatter.index = fluid;
    form.RadioGroupMatterClick();
    form.RadioGroupVar.index = 0;
    form.RadioGroupVarClick();
    form.EditT.text = FormatDisplay(s.T);
    form.EditP.text = FormatDisplay(s.P);
    if (mode == 1) {
        form.ButtonCalcClick();
        const std::string rho = form.EditRho.text;
        form.RadioGroupVar.index = 1;
        form.RadioGroupVarClick();
        form.EditRho.text = rho;
    }
}

TableSettings BenchTable(int fluid, int rows, int columns) {
    struct Range {
        double T0, T1, P0, P1;  // K, MPa
    };
    // Inside the accepted ranges: water up to 10 MPa above 1073.15 K is avoided by
    // stopping at 1070 K; methanol stays below 570 K, where its 0.2 MPa limit starts.
    static const Range ranges[kBenchFluids] = {{280, 1070, 0.1, 50}, {180, 560, 0.1, 200}, {220, 1000, 0.1, 200}};
    const Range& r = ranges[fluid];
    TableSettings t;
    t.type = 0;
    t.rowVariable = kVarT;
    t.columnVariable = kVarP;
    t.property = 11;  // "Isobaric Specific Heat: Cp"
    for (int i = 0; i < rows; ++i) {
        if (i) t.rowList += ',';
        t.rowList += FormatFile(r.T0 + (r.T1 - r.T0) * i / (rows - 1));
    }
    for (int j = 0; j < columns; ++j) {
        if (j) t.columnList += ',';
        t.columnList += FormatFile(r.P0 + (r.P1 - r.P0) * j / (columns - 1));
    }
    return t;
}

std::vector<PointInput> GridStates(int fluid) {
    const FluidLimits& lim = FluidAt(fluid).limits;
    std::vector<PointInput> states;
    states.reserve(kGridTemperatures * kGridPressures);
    for (int i = 0; i < kGridTemperatures; ++i) {
        for (int j = 0; j < kGridPressures; ++j) {
            PointInput in;
            in.T = lim.Tmin + (lim.Tmax - lim.Tmin) * (i + 0.5) / kGridTemperatures;
            in.P = std::pow(10.0, 3 + (std::log10(lim.Pmax) - 3) * (j + 0.5) / kGridPressures);
            states.push_back(in);
        }
    }
    return states;
}

const std::array<const char*, 5>& IsobarKinds() {
    static const std::array<const char*, 5> kinds = {"gas", "liquid", "supercritical", "near-critical", "wet"};
    return kinds;
}

std::vector<PointInput> IsobarInputs(int fluid, const std::string& kind, int inputVar) {
    const Fluid& f = FluidAt(fluid);
    std::vector<PointInput> inputs;
    if (kind == "wet") {
        const SaturationPoint first = SaturationByTemperature(f, SaturationTemperatures(fluid)[0]);
        if (!first.HasValue()) return {};
        for (int k = 0; k < 2; ++k) {
            const double P = first.P * (k == 0 ? 1 : 1.001);
            PointInput in;
            in.inputVar = inputVar;
            if (inputVar == 0) {
                in.T = first.T;
                in.P = P * 1.01;
            } else {
                const SaturationPoint sat = SaturationByPressure(f, P);
                if (!sat.HasValue()) return {};
                in.P = P;
                in.h = (sat.liquid.values[kH] + sat.vapour.values[kH]) / 2;
                in.s = (sat.liquid.values[kS] + sat.vapour.values[kS]) / 2;
            }
            inputs.push_back(in);
        }
        return inputs;
    }
    for (const BenchState& s : BenchStates(fluid)) {
        if (kind != s.kind) continue;
        for (int k = 0; k < 2; ++k) {
            PointInput tp;
            tp.T = s.T;
            tp.P = s.P * 1e6 * (k == 0 ? 1 : 1.001);
            const PointResult r = Calculate(f, tp);
            if (!r.hasProperties) return {};
            PointInput in = tp;
            in.inputVar = inputVar;
            in.h = r.properties.values[kH];
            in.s = r.properties.values[kS];
            inputs.push_back(in);
        }
    }
    return inputs;
}

}  // namespace kelvane::bench
