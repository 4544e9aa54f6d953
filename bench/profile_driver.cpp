// Profiling driver: repeats the four benchmark states of one fluid in both input
// modes, or one TYPE I table, so that callgrind or perf sees a short steady run.
//
//   kelvane_profile FLUID [POINTS [P|rho]]   FLUID = water | methanol | co2
//   kelvane_profile FLUID table ROWS COLUMNS
//   kelvane_profile FLUID grid TIMES
//   kelvane_profile FLUID isobar KIND TP|TPnewT|Ph|Ps POINTS
//
// With P or rho only the states of that input mode are repeated. The isobar form
// calls Calculate POINTS times on the two inputs of IsobarInputs (bench_states.h),
// alternating, as bench_isobar does: the instructions of a run with POINTS minus
// those of a run with 0, divided by POINTS, are the cost of one point.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_states.h"
#include "fluids/registry.h"

using namespace kelvane;
using namespace kelvane::bench;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: kelvane_profile water|methanol|co2 [POINTS [P|rho] | table ROWS COLUMNS | grid TIMES | "
                     "isobar KIND TP|TPnewT|Ph|Ps POINTS]\n");
        return 2;
    }
    const std::string name = argv[1];
    const int fluid = name == "water" ? 0 : name == "methanol" ? 1 : name == "co2" ? 2 : -1;
    if (fluid < 0) {
        std::fprintf(stderr, "unknown fluid %s\n", argv[1]);
        return 2;
    }
    if (argc >= 4 && std::string(argv[2]) == "grid") {
        // The 100 000 states of the EngineGrid benchmark through Calculate, TIMES times:
        // the instructions of TIMES = 2 minus those of TIMES = 1 are one pass.
        const Fluid& f = FluidAt(fluid);
        const std::vector<PointInput> states = GridStates(fluid);
        double checksum = 0;
        for (int n = std::atoi(argv[3]); n > 0; --n)
            for (const PointInput& in : states) checksum += Calculate(f, in).properties.values[kCp];
        std::printf("%g\n", checksum);
        return 0;
    }
    if (argc >= 6 && std::string(argv[2]) == "isobar") {
        const std::string mode = argv[4];
        // TPnewT: the (T, P) inputs with the second temperature 0.01 K above the first,
        // so that every point computes the saturation state of its temperature.
        const int inputVar = mode == "TP" || mode == "TPnewT" ? 0 : mode == "Ph" ? 2 : mode == "Ps" ? 3 : -1;
        if (inputVar < 0) {
            std::fprintf(stderr, "unknown input pair %s\n", argv[4]);
            return 2;
        }
        std::vector<PointInput> in = IsobarInputs(fluid, argv[3], inputVar);
        if (mode == "TPnewT" && in.size() == 2) {
            in[1].P = in[0].P;
            in[1].T = in[0].T + 0.01;
        }
        if (in.size() != 2) {
            std::fprintf(stderr, "no state %s\n", argv[3]);
            return 1;
        }
        const Fluid& f = FluidAt(fluid);
        const int points = std::atoi(argv[5]);
        double checksum = 0;
        for (int i = 0; i < points; ++i) checksum += Calculate(f, in[i & 1]).state.T;
        std::printf("%.17g\n", checksum);
        return 0;
    }
    MainForm form;
    if (argc >= 5 && std::string(argv[2]) == "table") {
        form.RadioGroupMatter.index = fluid;
        form.RadioGroupMatterClick();
        NullTableOutput out;
        const TableResult r = MakeTable(form, BenchTable(fluid, std::atoi(argv[3]), std::atoi(argv[4])), out);
        std::printf("%s (%zu bytes)\n", r.message.c_str(), out.Bytes());
        return r.status == TableResult::Status::Written ? 0 : 1;
    }
    const int points = argc >= 3 ? std::atoi(argv[2]) : 1000;
    const std::string only = argc >= 4 ? argv[3] : "";
    size_t checksum = 0;
    for (int mode = 0; mode < 2; ++mode) {
        if ((only == "P" && mode != 0) || (only == "rho" && mode != 1)) continue;
        for (const BenchState& s : BenchStates(fluid)) {
            PrepareState(form, fluid, s, mode);
            for (int i = 0; i < points / 8; ++i) {
                form.ButtonCalcClick();
                checksum += form.EditCp.text.size();
            }
        }
    }
    std::printf("%zu\n", checksum);
    return 0;
}
