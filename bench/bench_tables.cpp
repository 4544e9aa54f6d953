// Throughput of TYPE I tables on one and on two threads: 200 temperatures by 50
// pressures, and 2048 by 200 over the same ranges, of each fluid, through the table
// writer into memory. Wall-clock time, so that the gain of the second thread shows.
//
//   build/bench/kelvane_bench_tables --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <string>

#include "core/format.h"
#include "forms/main_form.h"
#include "tables/table_writer.h"

using namespace kelvane;

namespace {

// "x0,x0+dx,..." with n values.
std::string Series(double x0, double dx, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + FormatFile(x0 + i * dx);
    return s;
}

// Temperatures and pressures over each fluid's liquid, vapour and supercritical states.
struct Grid {
    double T0, dT, P0, dP;
};
constexpr Grid kGrids[3] = {{280, 2, 0.1, 1}, {200, 2, 0.1, 1}, {220, 3, 0.1, 1}};

void Table(benchmark::State& state, int fluid, int rows, int columns) {
    const int jobs = static_cast<int>(state.range(0));
    MainForm main;
    main.RadioGroupMatter.index = fluid;
    main.RadioGroupMatterClick();
    TableSettings s;
    s.type = 0;
    s.rowVariable = kVarT;
    s.columnVariable = kVarP;
    s.property = 11;  // Cp
    const Grid& g = kGrids[fluid];
    s.rowList = Series(g.T0, g.dT * 200.0 / rows, rows);
    s.columnList = Series(g.P0, g.dP * 50.0 / columns, columns);
    s.jobs = jobs;
    for (auto _ : state) {
        StringTableOutput out;
        const TableResult r = MakeTable(main, s, out);
        if (r.status != TableResult::Status::Written) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(out.Text().data());
    }
    state.SetItemsProcessed(state.iterations() * rows * columns);
}

}  // namespace

BENCHMARK_CAPTURE(Table, Water200x50, 0, 200, 50)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Table, Methanol200x50, 1, 200, 50)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Table, Co2_200x50, 2, 200, 50)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);
// The largest tables take seconds: one pass per repetition.
BENCHMARK_CAPTURE(Table, Water2048x200, 0, 2048, 200)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Table, Methanol2048x200, 1, 2048, 200)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Table, Co2_2048x200, 2, 2048, 200)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
