// The cost of a state given by pressure and enthalpy (or entropy) against the same
// state given by temperature and pressure, through the engine, for the four benchmark
// states of each fluid and a wet state inside the dome (IsobarInputs in
// bench_states.h). Each loop alternates between two pressures 0.1 % apart, so that no
// per-thread cache keyed on the state (saturation, isobar range) answers from the
// previous iteration.
//
//   build/bench/kelvane_bench_isobar --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <string>

#include "bench_states.h"
#include "core/calculate.h"
#include "fluids/registry.h"

using namespace kelvane;
using namespace kelvane::bench;

namespace {

// inputVar 0: (T, P); 2: (P, h); 3: (P, s) of the states of IsobarInputs.
void Point(benchmark::State& state, int fluid, std::string kind, int inputVar) {
    const Fluid& f = FluidAt(fluid);
    const std::vector<PointInput> in = IsobarInputs(fluid, kind, inputVar);
    if (in.size() != 2) {
        state.SkipWithError("no state");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        PointResult r = Calculate(f, in[k]);
        k ^= 1;
        benchmark::DoNotOptimize(r.properties.values.data());
    }
}

void RegisterAll() {
    for (int fluid = 0; fluid < kBenchFluids; ++fluid) {
        for (const char* kind : IsobarKinds()) {
            const std::string label = std::string(FluidLabel(fluid)) + "/" + kind;
            for (int inputVar : {0, 2, 3}) {
                const char* name = inputVar == 0 ? "TP/" : inputVar == 2 ? "Ph/" : "Ps/";
                benchmark::RegisterBenchmark((name + label).c_str(), Point, fluid, std::string(kind), inputVar)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
