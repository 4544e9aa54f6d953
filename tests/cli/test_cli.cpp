#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "kelvane_version.h"

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

TEST(Cli, TsvListsEveryFieldInOrderWithUnitLabels) {
    const CliRun r = Cli({"--tsv"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = TsvRows(r.out);
    const std::vector<std::string> names = {
        "T", "P",  "Rho", "Mes", "meltP", "satuP", "satuRhov", "satuRhol", "U",     "H",   "F",   "G",  "S", "Cv", "Cp",
        "Z", "FP", "W",   "JT",  "C2",    "alpha", "kappa",    "Visc",     "Therc", "Dth", "Eps", "Kw", "n", "x"};
    ASSERT_EQ(rows.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u) << names[i];
        EXPECT_EQ(rows[i][0], names[i]);
    }
    EXPECT_EQ(Cell(r, "T"), "647.096");
    EXPECT_EQ(Cell(r, "T", 2), "K");
    EXPECT_EQ(Cell(r, "Rho"), "322");
    EXPECT_EQ(Cell(r, "Rho", 2), "kg / m3");
    EXPECT_EQ(Cell(r, "JT", 2), "K / MPa");
    EXPECT_EQ(Cell(r, "n", 2), "at 589 nm");
    EXPECT_EQ(Cell(r, "Z", 2), "");
}

TEST(Cli, UnitsAndModesFollowTheWindow) {
    const CliRun r = Cli({"--tsv", "--T", "25", "--T-unit", "deg C", "--P", "1", "--P-unit", "bar", "--rho-unit",
                          "mol/l", "--amount", "kg", "--wavelength", "633"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Cell(r, "T"), "25");
    EXPECT_EQ(Cell(r, "T", 2), "degC");
    EXPECT_EQ(Cell(r, "P"), "1");
    EXPECT_EQ(Cell(r, "P", 2), "bar");
    EXPECT_EQ(Cell(r, "JT", 2), "K / bar");
    EXPECT_EQ(Cell(r, "Rho", 2), "mol / l");
    EXPECT_EQ(Cell(r, "H", 2), "J / kg");
    EXPECT_EQ(Cell(r, "n", 2), "at 633 nm");

    const CliRun v = Cli({"--tsv", "--rho", "0.002", "--volume", "--rho-unit", "cm3/g"});
    ASSERT_EQ(v.code, 0) << v.err;
    EXPECT_EQ(Cell(v, "Rho"), "0.002");
    EXPECT_EQ(Cell(v, "Rho", 2), "cm3 / g");
    EXPECT_EQ(Cell(v, "satuRhov", 2), "cm3 / g");
}

TEST(Cli, PlainOutputShowsCaptionValueAndUnit) {
    const CliRun r = Cli({"--T", "300", "--P", "10"});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("T ="), std::string::npos);
    EXPECT_NE(r.out.find(" 300 K\n"), std::string::npos);
    EXPECT_NE(r.out.find("Isobaric Spec. Heat  Cp ="), std::string::npos);
}

TEST(Cli, ErrorsExitWithTwo) {
    CliRun r = Cli({"--T", "abc"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("kelvane-cli: ", 0), 0u);
    EXPECT_NE(r.err.find("\"abc\""), std::string::npos);
    EXPECT_TRUE(r.out.empty());

    r = Cli({"--P", ""});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"\""), std::string::npos);

    for (const auto& args : std::vector<std::vector<std::string>>{{"--bogus"},
                                                                  {"--fluid", "argon"},
                                                                  {"--T-unit", "F"},
                                                                  {"--P", "1", "--rho", "2"},
                                                                  {"--T"},
                                                                  {"--rho-unit", "lb/ft3"}}) {
        r = Cli(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_NE(r.err.find("usage: kelvane-cli"), std::string::npos) << args[0];
    }
}

TEST(Cli, HelpNamesEveryOptionAndUnit) {
    const CliRun r = Cli({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* word : {"--fluid", "--T-unit", "--P-unit", "--rho-unit", "--volume", "--amount", "--wavelength",
                             "--tsv", "--precise", "degC", "molec/A3", "rho-r", "Pr", "atm", "methanol", "co2"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(Cli, VersionPrintsOneLineAndComputesNothing) {
    // A dotted version of numbers only, as the Debian package version uses it.
    const std::string v = kVersion;
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.find_first_not_of("0123456789."), std::string::npos) << v;
    EXPECT_NE(v.front(), '.');
    EXPECT_NE(v.back(), '.');

    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--version"}, {"--T", "300", "--P", "10", "--version"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, "kelvane-cli " + v + "\n");
        EXPECT_TRUE(r.err.empty());
    }
    EXPECT_NE(Cli({"--help"}).out.find("--version"), std::string::npos);
    // A malformed command line is still reported, not hidden behind the version.
    EXPECT_EQ(Cli({"--version", "--bogus"}).code, 2);
}

TEST(Cli, FluidSelectionReachesTheCalculator) {
    const CliRun r = Cli({"--tsv", "--fluid", "co2", "--T", "1", "--T-unit", "Tr"});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(Cell(r, "T"), "1");
    const CliRun m = Cli({"--tsv", "--fluid", "methanol", "--T", "100", "--P", "1"});
    ASSERT_EQ(m.code, 0);
    EXPECT_EQ(Cell(m, "Rho"), "");  // pressure given: the density field is cleared
}
