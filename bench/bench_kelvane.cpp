// Timings of the calculator: "Calculate" through the headless main form and through
// the engine alone, the fluid
// operations Properties and Saturation alone, the throughput of TYPE I tables, the
// curves of the phase diagram and the number texts.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench_states.h"
#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "forms/phase_diagram.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

// One full point: parsing, range checks, melting, saturation, density or pressure
// solver, properties, transport and formatting of every field.
void Calculate(benchmark::State& state, int fluid, BenchState s, int mode) {
    MainForm form;
    PrepareState(form, fluid, s, mode);
    for (auto _ : state) {
        form.ButtonCalcClick();
        benchmark::DoNotOptimize(form.EditCp.text.data());
    }
    if (!form.EditMes.text.empty()) state.SetLabel(form.EditMes.text);
}

// The same point, but the temperature alternates between two values 0.01 K apart,
// so that nothing computed for the previous temperature can be reused.
void CalculateNewT(benchmark::State& state, int fluid, BenchState s, int mode) {
    MainForm form;
    PrepareState(form, fluid, s, mode);
    const std::string temperatures[2] = {FormatDisplay(s.T), FormatDisplay(s.T + 0.01)};
    int k = 0;
    for (auto _ : state) {
        form.EditT.text = temperatures[k];
        k ^= 1;
        form.ButtonCalcClick();
        benchmark::DoNotOptimize(form.EditCp.text.data());
    }
}

// The engine alone: the same point through Calculate, without the form's parsing and
// texts.
void Engine(benchmark::State& state, int fluid, BenchState s, int mode) {
    MainForm form;
    PrepareState(form, fluid, s, mode);
    const PointInput in = form.ReadInput();
    for (auto _ : state) {
        PointResult r = kelvane::Calculate(FluidAt(fluid), in);
        benchmark::DoNotOptimize(r.properties.values.data());
    }
}

// The engine over the 100 000 states of the grid of bench/python_bench.py, one after
// the other on one thread: the per-state cost that the Python module's loop adds to.
void EngineGrid(benchmark::State& state, int fluid) {
    const Fluid& f = FluidAt(fluid);
    const std::vector<PointInput> grid = GridStates(fluid);
    for (auto _ : state) {
        for (const PointInput& in : grid) {
            PointResult r = kelvane::Calculate(f, in);
            benchmark::DoNotOptimize(r.properties.values.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grid.size()));
}

// Properties alone at the state the engine calculated.
void Properties(benchmark::State& state, int fluid, BenchState s) {
    MainForm form;
    PrepareState(form, fluid, s, 0);
    const PointInput input = form.ReadInput();
    const Fluid& f = form.SelectedFluid();
    const PointResult point = kelvane::Calculate(f, input);
    for (auto _ : state) {
        PropertyResults r = f.ops.Properties(point.state, input.wavelength);
        benchmark::DoNotOptimize(r.values.data());
    }
}

// Saturation alone at temperature T.
void Saturation(benchmark::State& state, int fluid, double T) {
    MainForm form;
    PrepareState(form, fluid, {"saturation", T, 0.1}, 0);
    const Fluid& f = form.SelectedFluid();
    const double tau = f.constants.Tred / T;
    for (auto _ : state) {
        SaturationState r = f.ops.Saturation(tau, T);
        benchmark::DoNotOptimize(r.P);
    }
    state.SetLabel("T = " + FormatDisplay(T) + " K");
}

// A 200 x 50 TYPE I table written to a sink; items are cells.
void Table(benchmark::State& state, int fluid) {
    constexpr int kRows = 200, kColumns = 50;
    MainForm form;
    form.RadioGroupMatter.index = fluid;
    form.RadioGroupMatterClick();
    const TableSettings settings = BenchTable(fluid, kRows, kColumns);
    for (auto _ : state) {
        NullTableOutput out;
        const TableResult r = MakeTable(form, settings, out);
        if (r.status != TableResult::Status::Written) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(out.Bytes());
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}

// The curves of the phase diagram of one fluid: saturation, melting and sublimation,
// as the phase window computes them the first time a fluid is shown.
void PhaseCurvesOf(benchmark::State& state, int fluid) {
    for (auto _ : state) {
        PhaseCurves c = ComputePhaseCurves(fluid);
        benchmark::DoNotOptimize(c.saturation.data());
    }
}

// Numbers as a calculation produces them: mostly full-precision results between 1e-12
// (per-pascal quantities) and 1e9 (pressures in Pa), both signs, and one in eight a
// short typed value such as 400 or 0.1. Fixed seed, so every run sees the same set.
const std::vector<double>& NumberSet() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(20260101);
        std::vector<double> v;
        for (int i = 0; i < 4096; ++i) {
            const double magnitude = std::pow(10.0, -12.0 + 21.0 * static_cast<double>(random() >> 11) * 0x1p-53);
            const double x = i % 8 == 0 ? std::round(magnitude * 1000) / 1000 : magnitude;
            v.push_back(random() & 1 ? -x : x);
        }
        return v;
    }();
    return values;
}

void FormatNumbers(benchmark::State& state, std::string (*format)(double)) {
    const std::vector<double>& values = NumberSet();
    for (auto _ : state)
        for (double x : values) {
            std::string text = format(x);
            benchmark::DoNotOptimize(text.data());
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}

// The texts of the set in the display or the file format, read back.
void ParseNumbers(benchmark::State& state, double (*parse)(std::string_view), std::string (*format)(double)) {
    std::vector<std::string> texts;
    for (double x : NumberSet()) texts.push_back(format(x));
    for (auto _ : state)
        for (const std::string& text : texts) benchmark::DoNotOptimize(parse(text));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}

void RegisterAll() {
    for (int fluid = 0; fluid < kBenchFluids; ++fluid) {
        const std::string name = FluidLabel(fluid);
        for (const BenchState& s : BenchStates(fluid)) {
            for (int mode = 0; mode < 2; ++mode) {
                const std::string label = "Calculate/" + name + "/" + s.kind + (mode == 0 ? "/P" : "/rho");
                benchmark::RegisterBenchmark(label.c_str(), Calculate, fluid, s, mode)->Unit(benchmark::kMicrosecond);
                benchmark::RegisterBenchmark(("CalculateNewT" + label.substr(9)).c_str(), CalculateNewT, fluid, s, mode)
                    ->Unit(benchmark::kMicrosecond);
                benchmark::RegisterBenchmark(("Engine" + label.substr(9)).c_str(), Engine, fluid, s, mode)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
    for (int fluid = 0; fluid < kBenchFluids; ++fluid) {
        const std::string name = FluidLabel(fluid);
        for (const BenchState& s : BenchStates(fluid))
            benchmark::RegisterBenchmark(("Properties/" + name + "/" + s.kind).c_str(), Properties, fluid, s)
                ->Unit(benchmark::kMicrosecond);
        for (double T : SaturationTemperatures(fluid))
            benchmark::RegisterBenchmark(("Saturation/" + name + "/" + FormatDisplay(T) + "K").c_str(), Saturation,
                                         fluid, T)
                ->Unit(benchmark::kMicrosecond);
    }
    for (int fluid = 0; fluid < kBenchFluids; ++fluid)
        benchmark::RegisterBenchmark(("EngineGrid/" + std::string(FluidLabel(fluid))).c_str(), EngineGrid, fluid)
            ->Unit(benchmark::kMillisecond);
    for (int fluid = 0; fluid < kBenchFluids; ++fluid)
        benchmark::RegisterBenchmark(("Table200x50/" + std::string(FluidLabel(fluid))).c_str(), Table, fluid)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Format/Display", FormatNumbers, FormatDisplay)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Format/File", FormatNumbers, FormatFile)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Parse/Strict/Display", ParseNumbers, ParseStrict, FormatDisplay)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Parse/Leading/File", ParseNumbers, ParseLeading, FormatFile)
        ->Unit(benchmark::kMicrosecond);
    for (int fluid = 0; fluid < kBenchFluids; ++fluid)
        benchmark::RegisterBenchmark(("PhaseCurves/" + std::string(FluidLabel(fluid))).c_str(), PhaseCurvesOf, fluid)
            ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
