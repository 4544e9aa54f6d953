// The cost of a state given by pressure and enthalpy (or entropy) against the same
// state given by temperature and pressure, through the engine, for the four benchmark
// states of each fluid. Each loop alternates between two pressures 0.1 % apart, so
// that no per-thread cache keyed on the state (saturation, isobar range) answers
// from the previous iteration.
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

// inputVar 0: (T, P); 2: (P, h); 3: (P, s) of the (T, P) states at the two pressures.
void Point(benchmark::State& state, int fluid, BenchState s, int inputVar) {
    const Fluid& f = FluidAt(fluid);
    PointInput in[2];
    for (int k = 0; k < 2; ++k) {
        PointInput tp;
        tp.T = s.T;
        tp.P = s.P * 1e6 * (k == 0 ? 1 : 1.001);
        const PointResult r = Calculate(f, tp);
        in[k] = tp;
        in[k].inputVar = inputVar;
        in[k].h = r.properties.values[kH];
        in[k].s = r.properties.values[kS];
        if (!r.hasProperties) state.SkipWithError("no (T, P) state");
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
        for (const BenchState& s : BenchStates(fluid)) {
            const std::string label = std::string(FluidLabel(fluid)) + "/" + s.kind;
            for (int inputVar : {0, 2, 3}) {
                const char* name = inputVar == 0 ? "TP/" : inputVar == 2 ? "Ph/" : "Ps/";
                benchmark::RegisterBenchmark((name + label).c_str(), Point, fluid, s, inputVar)
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
