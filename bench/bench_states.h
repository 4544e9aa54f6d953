// Representative state points and table grids shared by the benchmarks and the
// profiling driver.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/calculate.h"

#include "forms/main_form.h"
#include "tables/table_writer.h"

namespace kelvane::bench {

struct BenchState {
    const char* kind;  // "gas", "liquid", "supercritical", "near-critical"
    double T;          // K
    double P;          // MPa
};

constexpr int kBenchFluids = 3;
const char* FluidLabel(int fluid);
// Four states per fluid, in the order gas, liquid, supercritical, near-critical.
const std::array<BenchState, 4>& BenchStates(int fluid);
// Two subcritical temperatures (K) for the saturation benchmarks: an ordinary liquid
// temperature and one a few kelvin below the critical point.
const std::array<double, 2>& SaturationTemperatures(int fluid);

// Selects the fluid on `form` (default units) and prepares one calculation of `s`:
// pressure given (mode 0) or density given (mode 1). For density mode the density is
// the one the pressure-mode calculation finds, as the form shows it.
void PrepareState(MainForm& form, int fluid, const BenchState& s, int mode);

// The (T, P) grid of bench/python_bench.py: 400 temperatures evenly inside the fluid's
// accepted range times 250 pressures evenly in log10 from 1 kPa to its highest
// accepted pressure, 100 000 states, temperature-major:
//   T_i = Tmin + (Tmax - Tmin) (i + 0.5) / 400,  P_j = 10^(3 + (log10 Pmax - 3) (j + 0.5) / 250).
constexpr int kGridTemperatures = 400, kGridPressures = 250;
std::vector<PointInput> GridStates(int fluid);

// The inputs of one isobar benchmark: the state `kind` ("gas", "liquid",
// "supercritical", "near-critical" of BenchStates, or "wet") at two pressures 0.1 %
// apart, given as (T, P) (inputVar 0), (P, h) (2) or (P, s) (3); the enthalpy and
// entropy are those of the (T, P) calculation. "wet" is the state of vapour fraction
// 0.5 at the saturation pressure of the first of SaturationTemperatures (and 1.001
// times it); its (T, P) reference is the liquid at the saturation temperature and 1 %
// above the saturation pressure. Empty when the state has no value.
std::vector<PointInput> IsobarInputs(int fluid, const std::string& kind, int inputVar);
// The kinds IsobarInputs knows, in the order of the benchmarks.
const std::array<const char*, 5>& IsobarKinds();

// TYPE I table of the isobaric heat capacity over `rows` temperatures and `columns`
// pressures inside the fluid's accepted range.
TableSettings BenchTable(int fluid, int rows, int columns);

// Discards the table text; the display does not catch up between cells, as with
// "Show Calculation Process" not ticked.
class NullTableOutput : public TableOutput {
public:
    bool Open(std::string&) override { return true; }
    bool Write(std::string_view text, std::string&) override {
        bytes_ += text.size();
        return true;
    }
    size_t Bytes() const { return bytes_; }

private:
    size_t bytes_ = 0;
};

}  // namespace kelvane::bench
