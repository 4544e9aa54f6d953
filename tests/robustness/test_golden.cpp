// Reference results: a fixed grid of states per fluid in both input modes, computed
// with 15-digit results and compared field by field with the files in data/. Numbers
// must agree within 1e-13 relative, every other text exactly. The files guard the
// results against changes made for speed or tidiness; a change that is meant to move
// results regenerates them:
//
//   KELVANE_WRITE_GOLDEN=1 build/tests/robustness/robustness_golden
//
// and the difference of the data files is then reviewed like any other change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/format.h"
#include "fluids/registry.h"
#include "state_check.h"

using namespace kelvane;
using namespace kelvane::robustness;

namespace {

constexpr double kRelativeTolerance = 1e-13;

struct GoldenGrid {
    std::vector<std::string> T, P, rho;  // K, MPa, kg/m3
};

// Through liquid, vapour, the saturation line, the critical region, the
// supercritical range, the region and range boundaries, and states the checks refuse.
const GoldenGrid& Grid(int fluid) {
    static const GoldenGrid grids[3] = {
        {{"273.15", "280",    "300",  "350",     "373.124", "400",  "450",     "500",     "550",
          "600",    "623.15", "630",  "640",     "645",     "647",  "647.096", "647.2",   "650",
          "700",    "800",    "1000", "1073.15", "1100",    "1500", "2000",    "2273.15", "2300"},
         {"0", "0.0001", "0.001", "0.01", "0.1", "0.5", "1", "3", "5", "10", "16.529", "20", "22.064", "25", "30", "50",
          "100", "101"},
         {"0",   "0.001", "0.1", "1",   "10",  "50",  "100", "200", "300",  "322",
          "350", "400",   "500", "600", "700", "800", "900", "950", "1000", "1050"}},
        {{"175.61", "180", "200", "207",   "220", "250", "280", "300", "337.6", "380", "420", "460",
          "500",    "510", "512", "512.6", "513", "520", "550", "570", "580",   "620", "630"},
         {"0", "0.0001", "0.001", "0.01", "0.1", "0.2", "1", "5", "8.1035", "10", "50", "100", "250", "300", "500",
          "800", "810"},
         {"0", "0.001", "0.1", "1", "10", "50", "100", "200", "275", "300", "400", "500", "600", "700", "800", "850",
          "900", "950"}},
        {{"216",   "216.592", "220", "230", "250", "270", "280", "290", "300", "303",  "304", "304.1282",
          "304.2", "305",     "310", "320", "350", "400", "500", "700", "900", "1100", "1200"},
         {"0", "0.001", "0.01", "0.1", "0.5", "1", "2", "5", "7", "7.3773", "8", "10", "20", "50", "100", "300", "800",
          "810"},
         {"0", "0.01", "1", "10", "50", "100", "200", "300", "400", "467.6", "500", "600", "700", "800", "900", "1000",
          "1100", "1200", "1300"}},
    };
    return grids[fluid];
}

std::string DataFile(int fluid) {
    static const char* const names[3] = {"water", "methanol", "co2"};
    return std::string(KELVANE_GOLDEN_DIR) + "/golden_" + names[fluid] + ".tsv";
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0, tab;
    while ((tab = line.find('\t', start)) != std::string::npos) {
        cells.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    cells.push_back(line.substr(start));
    return cells;
}

// One line per state: mode, the two inputs, then every output field of the form.
std::vector<std::string> ComputeRows(int fluid) {
    std::vector<std::string> rows;
    MainForm form;
    form.preciseResults = true;
    const GoldenGrid& g = Grid(fluid);
    for (int mode = 0; mode < 2; ++mode) {
        for (const std::string& T : g.T) {
            for (const std::string& value : mode == 0 ? g.P : g.rho) {
                RunPoint(form, fluid, mode, T, value);
                std::string row = std::to_string(mode) + "\t" + T + "\t" + value;
                for (const std::string& name : MainForm::OutputFieldNames()) row += "\t" + form.FieldByName(name)->text;
                rows.push_back(row);
            }
        }
    }
    return rows;
}

std::string Header() {
    std::string h = "mode\tT\tinput";
    for (const std::string& name : MainForm::OutputFieldNames()) h += "\t" + name;
    return h;
}

bool ParseNumber(const std::string& text, double& value) {
    try {
        value = ParseStrict(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

bool SameText(const std::string& expected, const std::string& actual) {
    double a, b;
    if (ParseNumber(expected, a) && ParseNumber(actual, b))
        return a == b || std::fabs(a - b) <= kRelativeTolerance * std::max(std::fabs(a), std::fabs(b));
    return expected == actual;
}

class Golden : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(Golden, EveryFieldMatchesTheReference) {
    const int fluid = GetParam();
    const std::vector<std::string> rows = ComputeRows(fluid);
    if (std::getenv("KELVANE_WRITE_GOLDEN")) {
        std::ofstream out(DataFile(fluid), std::ios::binary);
        out << Header() << "\n";
        for (const std::string& r : rows) out << r << "\n";
        ASSERT_TRUE(out.good()) << DataFile(fluid);
        GTEST_SKIP() << "reference written to " << DataFile(fluid);
    }

    std::ifstream in(DataFile(fluid), std::ios::binary);
    ASSERT_TRUE(in) << "missing reference " << DataFile(fluid);
    std::string line;
    std::getline(in, line);
    ASSERT_EQ(line, Header()) << "the output fields changed; regenerate the reference";
    const std::vector<std::string> names = Split(Header());

    size_t n = 0, numbers = 0, mismatches = 0;
    for (; std::getline(in, line); ++n) {
        ASSERT_LT(n, rows.size()) << "the reference has more states than the grid";
        const std::vector<std::string> expected = Split(line), actual = Split(rows[n]);
        ASSERT_EQ(expected.size(), actual.size()) << line;
        for (size_t k = 3; k < expected.size(); ++k) {
            double dummy;
            numbers += ParseNumber(expected[k], dummy);
            if (SameText(expected[k], actual[k])) continue;
            if (++mismatches <= 30)
                ADD_FAILURE() << "mode " << expected[0] << " T=" << expected[1] << " input=" << expected[2] << " "
                              << names[k] << ": expected \"" << expected[k] << "\", got \"" << actual[k] << "\"";
        }
    }
    EXPECT_EQ(n, rows.size()) << "the reference has fewer states than the grid";
    EXPECT_EQ(mismatches, 0u);
    EXPECT_GT(numbers, n * 10) << "the reference holds too few numbers to guard anything";
}

TEST(GoldenComparison, ToleranceAppliesToNumbersOnly) {
    EXPECT_TRUE(SameText("1.23456789012345", "1.23456789012346"));
    EXPECT_FALSE(SameText("1.23456789012345", "1.23456789012545"));
    EXPECT_TRUE(SameText("-0", "0"));
    EXPECT_FALSE(SameText("0", "1E-300"));
    EXPECT_FALSE(SameText("N/A", "N/A (1)"));
    EXPECT_FALSE(SameText("", "0"));
    EXPECT_TRUE(SameText("over Tc", "over Tc"));
}

INSTANTIATE_TEST_SUITE_P(AllFluids, Golden, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(Range(info.param).name); });
