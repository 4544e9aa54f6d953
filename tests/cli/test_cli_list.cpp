// kelvane-cli with the list tables, the short property names, entropy and the
// engineering units: the table the headless "Make Tables" window writes for the same
// settings, and the usage errors of the new options.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "forms/main_form.h"
#include "tables/table_form.h"

using namespace kelvane;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// The window's table for the same settings, kept in memory.
class MemoryDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        name = "t.txt";
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override { return std::make_unique<StringTableOutput>(); }
};

// The line of field `name` in --tsv output: name, text, unit.
std::vector<std::string> TsvLine(const std::string& out, const std::string& name) {
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + "\t", 0) != 0) continue;
        std::vector<std::string> f(1);
        for (char c : line) {
            if (c == '\t') f.emplace_back(); else f.back().push_back(c);
        }
        return f;
    }
    return {};
}

}  // namespace

TEST(CliList, TheExampleTableIsTheWindowsListTable) {
    const CliRun run = Cli({"table", "--type", "list", "--row-series", "T=300,50,5", "--col", "P=0.1,1", "--property",
                            "Cp,S,W", "--out", "-", "--jobs", "2"});
    ASSERT_EQ(run.code, 0) << run.err;
    // 10 points of three properties, all numbers.
    EXPECT_EQ(run.err, std::string(kTableDone) + "\n0 of 30 cells hold a message or are empty.\n");

    MainForm main;
    MemoryDialogs dialogs;
    TableForm form(main, dialogs);
    form.CheckProcess.checked = false;
    form.RadioGroupTableType.index = 2;
    form.RadioGroupTableTypeClick();
    form.EditRs.text = "300,50,5";
    form.EditC.text = "0.1,1";
    for (int q : {11, 25, 14}) form.ListQ.Check(q, true);
    form.ButtonMakeClick();
    ASSERT_EQ(form.EditMes.text, std::string(kTableDone) + " The ROW list was made from the series \"300,50,5\".\n"
                                                          "0 of 30 cells hold a message or are empty.");
    EXPECT_EQ(run.out, form.LastTable());
    // Columns in the order given: Cp, S, W.
    EXPECT_NE(run.out.find("Cp (J / (mol K))\tEntropy: S (J / (mol K))\tSound Velocity: W (m / s)\tMessage\n"),
              std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 11);  // title, heading, 10 points
}

TEST(CliList, CsvWithoutTitleFromAFileAndIntoAFile) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "kelvane_cli_list";
    std::filesystem::create_directories(dir);
    const std::string pairs = (dir / "pairs.txt").string(), table = (dir / "list.csv").string();
    std::ofstream(pairs) << "T\tP\n300\t1\n350\t2\n";
    const CliRun run = Cli({"table", "--type", "list", "--file", pairs, "--property", "H,Entropy: S,Z", "--csv",
                            "--no-title", "--amount", "kJ/kg", "--out", table});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kTableDone) + "\n0 of 6 cells hold a message or are empty.\n");
    std::ifstream in(table);
    std::string heading, first, second, extra;
    std::getline(in, heading);
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(heading, "T (K),P (MPa),Enthalpy: H (kJ / kg),Entropy: S (kJ / (kg K)),Compressibity Factor: Z,Message");
    EXPECT_EQ(first.substr(0, 6), "300,1,");
    EXPECT_EQ(second.substr(0, 6), "350,2,");
    EXPECT_FALSE(std::getline(in, extra));
    // Liquid water at 300 K: h near 113 kJ/kg, s near 0.39 kJ/(kg K).
    std::vector<std::string> cells(1);
    for (char c : first) {
        if (c == ',') cells.emplace_back(); else cells.back().push_back(c);
    }
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_NEAR(std::stod(cells[2]), 113.2, 1.0);
    EXPECT_NEAR(std::stod(cells[3]), 0.393, 0.003);
}

TEST(CliList, ShortNamesAndEntropyForTheMatrixTables) {
    const CliRun byName = Cli({"table", "--row", "T=300,400", "--col", "P=1,2", "--property", "S", "--out", "-"});
    const CliRun byIndex = Cli({"table", "--row", "T=300,400", "--col", "P=1,2", "--property", "25", "--out", "-"});
    const CliRun byText =
        Cli({"table", "--row", "T=300,400", "--col", "P=1,2", "--property", "Entropy: S", "--out", "-"});
    ASSERT_EQ(byName.code, 0) << byName.err;
    EXPECT_EQ(byName.out, byIndex.out);
    EXPECT_EQ(byName.out, byText.out);
    EXPECT_EQ(byName.out.substr(0, byName.out.find('\n')), "Entropy: S (J / (mol K)) of Water");
    const CliRun cp = Cli({"table", "--row", "T=300", "--col", "P=1", "--property", "Cp", "--out", "-"});
    EXPECT_EQ(cp.out.substr(0, cp.out.find('\n')), "Isobaric Specific Heat: Cp (J / (mol K)) of Water");
    // Several properties belong to a list table.
    const CliRun several = Cli({"table", "--row", "T=300", "--col", "P=1", "--property", "Cp,S", "--out", "-"});
    EXPECT_EQ(several.code, 2);
    EXPECT_NE(several.err.find("unknown property: \"Cp,S\""), std::string::npos);
    EXPECT_NE(several.err.find("25  Entropy: S  (S)"), std::string::npos);
}

TEST(CliList, UsageErrorsOfTheNewOptions) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"table", "--csv", "--row", "T=300", "--col", "P=1", "--property", "Cp", "--out", "-"},
          std::vector<std::string>{"table", "--type", "list", "--row", "T=300", "--file", "x", "--property", "Cp",
                                   "--out", "-"},
          std::vector<std::string>{"table", "--type", "IV", "--out", "-"},
          std::vector<std::string>{"table", "--type", "list", "--row", "T=300", "--col", "P=1", "--property", "Cp,Nope",
                                   "--out", "-"},
          std::vector<std::string>{"--T-unit", "degR"}, std::vector<std::string>{"--visc-unit", "P"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.code, 2) << args[1] << " " << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    // A list table's refusal comes back as the window's message.
    const CliRun none =
        Cli({"table", "--type", "list", "--row", "T=300", "--col", "P=1", "--property", "P", "--out", "-"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find(kPropertyIsVariable), std::string::npos);
}

TEST(CliUnits, EngineeringUnitsByTheirLabelsAndItems) {
    const CliRun si = Cli({"--T", "300", "--P", "10", "--tsv"});
    const CliRun eng = Cli({"--T", "80.33", "--T-unit", "degF", "--P", "10000", "--P-unit", "kPa", "--amount",
                            "kJ/mol", "--visc-unit", "uPa s", "--therc-unit", "mW/(m K)", "--tsv"});
    ASSERT_EQ(eng.code, 0) << eng.err;
    EXPECT_EQ(TsvLine(eng.out, "T"), (std::vector<std::string>{"T", "80.33", "degF"}));
    EXPECT_EQ(TsvLine(eng.out, "P"), (std::vector<std::string>{"P", "10000", "kPa"}));
    EXPECT_EQ(TsvLine(eng.out, "H")[2], "kJ / mol");
    EXPECT_EQ(TsvLine(eng.out, "S")[2], "kJ / (mol K)");
    EXPECT_EQ(TsvLine(eng.out, "Visc")[2], "uPa s");
    EXPECT_EQ(TsvLine(eng.out, "Therc")[2], "mW / (m K)");
    EXPECT_EQ(TsvLine(eng.out, "JT")[2], "K / kPa");
    auto value = [](const CliRun& r, const char* name) { return std::stod(TsvLine(r.out, name)[1]); };
    EXPECT_NEAR(value(eng, "H"), value(si, "H") / 1000, 1e-7 * value(si, "H") / 1000);
    EXPECT_NEAR(value(eng, "Visc"), value(si, "Visc") * 1e6, 1e-7 * value(si, "Visc") * 1e6);
    EXPECT_NEAR(value(eng, "Therc"), value(si, "Therc") * 1e3, 1e-7 * value(si, "Therc") * 1e3);
    EXPECT_NEAR(value(eng, "Cp"), value(si, "Cp") / 1000, 1e-7 * value(si, "Cp") / 1000);

    // psi and cP, the items with blanks too.
    const CliRun psi = Cli({"--T", "80.33", "--T-unit", "deg F", "--P", "1450.3774", "--P-unit", "psi", "--visc-unit",
                            "cP", "--amount", "kJ/kg", "--tsv"});
    ASSERT_EQ(psi.code, 0) << psi.err;
    EXPECT_NEAR(value(psi, "Visc"), value(si, "Visc") * 1e3, 1e-6 * value(si, "Visc") * 1e3);
    EXPECT_NEAR(value(psi, "Rho"), value(si, "Rho"), 1e-6 * value(si, "Rho"));
    EXPECT_EQ(TsvLine(psi.out, "U")[2], "kJ / kg");
    EXPECT_NE(CliUsage().find("degF"), std::string::npos);
    EXPECT_NE(TableUsage().find("--type list"), std::string::npos);
}
