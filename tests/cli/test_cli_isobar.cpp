// kelvane-cli with --P and --h or --s: the point output with the temperature found,
// the same fields as the (T, P) output at that temperature, the amount units, wet
// states with their vapour fraction, and the usage errors.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/format.h"

using namespace kelvane;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::vector<std::string>> TsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        size_t start = 0, tab;
        while ((tab = line.find('\t', start)) != std::string::npos) {
            cells.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

std::string Cell(const CliRun& r, const std::string& name, int column = 1) {
    for (const auto& row : TsvRows(r.out))
        if (row[0] == name) return row[column];
    return "<missing " + name + ">";
}

}  // namespace

TEST(CliIsobar, EnthalpyAndEntropyGiveTheStateOfTheirTemperature) {
    for (const char* fluid : {"water", "methanol", "co2"}) {
        // A (T, P) state first, its H and S at 15 digits, then back.
        const CliRun tp = Cli({"--fluid", fluid, "--T", "400", "--P", "20", "--tsv", "--precise"});
        ASSERT_EQ(tp.code, 0) << tp.err;
        for (const char* option : {"--h", "--s"}) {
            const std::string value = Cell(tp, option[2] == 'h' ? "H" : "S");
            const CliRun r = Cli({"--fluid", fluid, "--P", "20", option, value, "--tsv", "--precise"});
            ASSERT_EQ(r.code, 0) << r.err;
            EXPECT_NEAR(ParseStrict(Cell(r, "T")), 400, 1e-9) << fluid << option;
            EXPECT_EQ(Cell(r, "P"), "20");
            EXPECT_EQ(Cell(r, "Mes"), "");
            EXPECT_EQ(Cell(r, "x"), "");
            for (const char* field : {"satuP", "meltP"}) {
                // A number at 15 digits moves in its last digits with T; a status text stays.
                const double v = ParseLeading(Cell(tp, field));
                if (v != 0)
                    EXPECT_NEAR(ParseLeading(Cell(r, field)) / v, 1, 1e-9) << fluid << field;
                else
                    EXPECT_EQ(Cell(r, field), Cell(tp, field)) << fluid << field;
            }
            for (const char* field : {"Rho", "U", "H", "G", "S", "Cp", "W", "kappa"})
                EXPECT_NEAR(ParseStrict(Cell(r, field)) / ParseStrict(Cell(tp, field)), 1, 1e-9) << fluid << field;
            const auto rows = TsvRows(r.out), tpRows = TsvRows(tp.out);
            ASSERT_EQ(rows.size(), tpRows.size());
            EXPECT_EQ(rows.back()[0], "x");
        }
    }
}

TEST(CliIsobar, AmountUnitsApplyToTheGivenValue) {
    // 2000 kJ/kg at 1 MPa is wet steam: the same state per mol and per kg.
    const CliRun perKg = Cli({"--P", "1", "--h", "2000000", "--amount", "kg", "--tsv", "--precise"});
    ASSERT_EQ(perKg.code, 0) << perKg.err;
    EXPECT_EQ(Cell(perKg, "H", 2), "J / kg");
    EXPECT_NEAR(ParseStrict(Cell(perKg, "H")), 2e6, 1e-3);
    const double x = ParseStrict(Cell(perKg, "x"));
    EXPECT_GT(x, 0.5);
    EXPECT_LT(x, 0.8);
    const double perMol = ParseStrict(Cell(perKg, "H")) * 18.015257e-3;
    const CliRun mol = Cli({"--P", "1", "--h", FormatFile(perMol), "--tsv", "--precise"});
    EXPECT_NEAR(ParseStrict(Cell(mol, "x")), x, 1e-12);
    EXPECT_EQ(Cell(mol, "T"), Cell(perKg, "T"));
    // Entropy per kg and the pressure unit: 0.5 kJ/(kg K) at 30 bar (IF97 region 1).
    const CliRun s = Cli({"--P", "30", "--P-unit", "bar", "--s", "500", "--amount", "kg", "--tsv"});
    ASSERT_EQ(s.code, 0) << s.err;
    EXPECT_NEAR(ParseStrict(Cell(s, "T")), 307.842258, 25e-3);
    EXPECT_EQ(Cell(s, "P", 2), "bar");
}

TEST(CliIsobar, PlainOutputShowsTheTemperatureFound) {
    const CliRun r = Cli({"--fluid", "co2", "--P", "10", "--h", "20000"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("T =", 0), 0u);
    const std::string first = r.out.substr(0, r.out.find('\n'));
    EXPECT_NE(first.find(" K"), std::string::npos);
    EXPECT_GT(ParseLeading(first.substr(40)), 216);
}

TEST(CliIsobar, RefusalsAreMessagesNotNumbers) {
    const CliRun zero = Cli({"--P", "0", "--h", "1000", "--tsv"});
    ASSERT_EQ(zero.code, 0);
    EXPECT_EQ(Cell(zero, "Mes"), "Not applied to zero pressure or density.");
    EXPECT_EQ(Cell(zero, "T"), "");
    const CliRun hot = Cli({"--P", "1", "--h", "1e7", "--tsv"});
    EXPECT_EQ(Cell(hot, "Mes"), "Not applied to the range more than 2273.15 K.");
    EXPECT_EQ(Cell(hot, "T"), "");
    EXPECT_EQ(Cell(hot, "H"), "");
    const CliRun frozen = Cli({"--fluid", "co2", "--P", "100", "--h", "-30000", "--tsv"});
    EXPECT_EQ(Cell(frozen, "Mes"), "Suppose to freeze.");
    EXPECT_EQ(Cell(frozen, "T"), "");
}

TEST(CliIsobar, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"--T", "300", "--P", "1", "--h", "1000"}, {"--T", "300", "--P", "1", "--s", "10"},
        {"--P", "1", "--h", "1000", "--s", "10"},   {"--h", "1000"},
        {"--rho", "5", "--s", "10"},                {"--P", "1", "--h", "1000", "--x", "0.5"},
        {"--P", "1", "--h"},
    };
    for (const auto& args : bad) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 2) << args[0] << " " << args.size();
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
    for (const char* text : {"abc", "", "1e", "nan"}) {
        const CliRun r = Cli({"--P", "1", "--h", text});
        EXPECT_EQ(r.code, 2) << text;
        EXPECT_NE(r.err.find("is not a valid number"), std::string::npos) << text;
    }
    EXPECT_NE(Cli({"--help"}).out.find("--h VALUE | --s VALUE"), std::string::npos);
}
