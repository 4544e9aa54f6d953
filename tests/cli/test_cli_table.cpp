// "kelvane-cli table" against the headless "Make Tables" window: the same settings
// must give the same file, byte for byte, and the window's refusals must come back as
// messages with exit code 1 (conversion errors and bad usage with 2).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "forms/main_form.h"
#include "fluids/registry.h"
#include "tables/table_form.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), "table");
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The line that follows the success message for the table text `file`: its cells below
// the two heading lines, after the row value (a matrix, whose first heading field is
// "ROW (unit) / COLUMN (unit)") or
// after the two values of a pair, that hold no number.
std::string CellCountOf(const std::string& file) {
    std::istringstream lines(file);
    std::string line;
    int keys = 2, cells = 0, withoutNumber = 0;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n == 1 && line.substr(0, line.find('\t')).find(") / ") != std::string::npos) keys = 1;
        if (n < 2) continue;
        // Split at every tab: an empty cell at the end of a line counts too.
        std::vector<std::string> row(1);
        for (char ch : line) {
            if (ch == '\t')
                row.emplace_back();
            else
                row.back().push_back(ch);
        }
        for (int k = 0; k < static_cast<int>(row.size()); ++k) {
            const std::string& field = row[k];
            if (k < keys) continue;
            ++cells;
            char* end = nullptr;
            std::strtod(field.c_str(), &end);
            if (field.empty() || *end != '\0' || field.find_first_of("Nn") != std::string::npos) ++withoutNumber;
        }
    }
    return std::to_string(withoutNumber) + " of " + std::to_string(cells) +
           (cells == 1 ? " cell holds a message or is empty." : " cells hold a message or are empty.");
}

// The save dialog of the window answers with a fixed path; the default output writes
// the file as the window does.
class FixedDialogs : public TableFileDialogs {
public:
    explicit FixedDialogs(std::string path) : path_(std::move(path)) {}
    bool SaveFileName(std::string& name) override {
        name = path_;
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }

private:
    std::string path_;
};

class CliTable : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kelvane_cli_table_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // Makes a table with the window: `setUp` plays the user's choices on both forms.
    std::string WindowTable(const std::function<void(MainForm&, TableForm&)>& setUp) {
        const std::string path = Path("window.txt");
        MainForm main;
        FixedDialogs dialogs(path);
        TableForm table(main, dialogs);
        table.CheckProcess.checked = false;
        setUp(main, table);
        table.ButtonMakeClick();
        const std::string file = ReadAll(path);
        windowMessage = table.EditMes.text;
        EXPECT_EQ(windowMessage, std::string(kTableDone) + "\n" + CellCountOf(file));
        return file;
    }
    // The message of the last table made with the window.
    std::string windowMessage;

    // Makes the table with the command line into a file and returns its bytes.
    std::string CliTableFile(std::vector<std::string> args) {
        const std::string path = Path("cli.txt");
        args.insert(args.end(), {"--out", path});
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 0) << r.err;
        // The window's message, for the table the window made with the same settings.
        EXPECT_EQ(r.out, windowMessage + "\n");
        return ReadAll(path);
    }

    fs::path dir;
};

void Units(MainForm& m, int fluid, int t, int p, int rho, int amount) {
    m.RadioGroupMatter.index = fluid;
    m.RadioGroupMatterClick();
    m.ComboBoxT.Select(t);
    m.ComboBoxTChange();
    m.ComboBoxP.Select(p);
    m.ComboBoxPChange();
    m.ComboBoxRho.Select(rho);
    m.ComboBoxRhoChange();
    m.ComboBoxUnit.Select(amount);
    m.ComboBoxUnitChange();
}

}  // namespace

TEST_F(CliTable, MatrixInOtherUnitsEqualsTheWindowsFile) {
    const std::string window = WindowTable([](MainForm& m, TableForm& t) {
        Units(m, 0, 1, 2, 0, 1);  // water, deg C, bar, kg/m3, per kg
        t.EditR.text = "25,100.5,374,500";
        t.EditC.text = "1,100,221,1000";
        t.ComboBoxQ.Select(11);
    });
    const std::string cli = CliTableFile({"--fluid", "water", "--T-unit", "degC", "--P-unit", "bar", "--amount",
                                          "kg", "--row", "T=25,100.5,374,500", "--col", "P=1,100,221,1000",
                                          "--property", "Isobaric Specific Heat: Cp"});
    EXPECT_EQ(cli, window);
    // Title, heading and four rows; no line break after the last row.
    EXPECT_EQ(std::count(cli.begin(), cli.end(), '\n'), 5);
    EXPECT_EQ(cli.rfind("Isobaric Specific Heat: Cp (J / (kg K)) of Water\nT (degC) / P (bar)\t1\t100\t221\t1000\n", 0), 0u);
}

TEST_F(CliTable, VolumeModeSeriesAndTemperatureOnlyProperties) {
    // Methanol, specific volume in cm3/g given in the ROW, T from a series.
    std::string window = WindowTable([](MainForm& m, TableForm& t) {
        Units(m, 1, 0, 0, 1, 0);
        m.ButtonXRhoVClick();
        t.ComboBoxR.Select(2);
        t.ComboBoxC.Select(0);
        t.EditR.text = "1.25,2,50,1000";
        t.EditCs.text = "250,50,5";
        t.ButtonCsClick();
        t.ComboBoxQ.Select(18);
    });
    std::string cli = CliTableFile({"--fluid", "methanol", "--rho-unit", "cm3/g", "--volume", "--row",
                                    "rho=1.25,2,50,1000", "--col-series", "T=250,50,5", "--property", "18"});
    EXPECT_EQ(cli, window);
    EXPECT_NE(cli.find("\nrho (cm3 / g) / T (K)\t250\t300\t350\t400\t450\n"), std::string::npos) << cli;

    // A property of the temperature alone: the pressure axis becomes the critical
    // pressure, here in Pr units and in the ROW.
    window = WindowTable([](MainForm& m, TableForm& t) {
        Units(m, 2, 0, 4, 2, 0);
        t.ComboBoxR.Select(1);
        t.ComboBoxC.Select(0);
        t.EditR.text = "1,2,3";
        t.EditC.text = "220,250,300,310";
        t.ComboBoxQ.Select(5);
    });
    cli = CliTableFile({"--fluid", "co2", "--P-unit", "Pr", "--rho-unit", "mol/l", "--row", "P=1,2,3", "--col",
                        "T=220,250,300,310", "--property", "Saturation liquid density: rho-liq"});
    EXPECT_EQ(cli, window);
    EXPECT_NE(cli.find("\n1\t"), std::string::npos);
    EXPECT_EQ(cli.find("\n2\t"), std::string::npos);  // one row only
    EXPECT_NE(cli.find("over Tc"), std::string::npos);
}

TEST_F(CliTable, PairsFromAFileAndStandardOutput) {
    const std::string pairs = Path("pairs.txt");
    std::ofstream(pairs) << "density and temperature\nkg/m3\tK\n998\t293.15\textra\n1\t400\n\n5\t\t700\nno tab\n";
    auto setUp = [&](MainForm& m, TableForm& t) {
        m.RadioGroupMatter.index = 0;
        m.RadioGroupMatterClick();
        m.Editnlambda.text = "633";
        t.RadioGroupTableType.index = 1;
        t.RadioGroupTableTypeClick();
        t.ComboBoxR.Select(2);
        t.ComboBoxC.Select(0);
        t.Editopen.text = pairs;
        t.Editskipline.text = "2";
        t.ComboBoxQ.Select(24);
    };
    const std::vector<std::string> args = {"--type", "II",   "--columns",  "rho,T", "--file", pairs,
                                           "--skip", "2",    "--property", "24",    "--wavelength", "633"};
    const std::string window = WindowTable(setUp);
    EXPECT_EQ(CliTableFile(args), window);
    EXPECT_EQ(window.rfind("Refractive Index: n(l) (at 633 nm) of Water\nrho (kg / m3)\tT (K)\tRefractive Index", 0), 0u);

    std::vector<std::string> toStdout = args;
    toStdout.insert(toStdout.end(), {"--out", "-"});
    const CliRun r = Cli(toStdout);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, window);
    EXPECT_EQ(r.err, std::string(kTableDone) + "\n" + CellCountOf(window) + "\n");
}

TEST_F(CliTable, TheWindowsRefusalsExitWithOne) {
    const std::string out = Path("never.txt");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--row", "P=1", "--col", "rho=2", "--property", "11"}, kNeedTemperatureAndOther},
        {{"--row", "T=300", "--col", "T=400", "--property", "11"}, kNeedTemperatureOnce},
        {{"--row", "T=300", "--col", "P=1"}, kNeedProperty},
        {{"--row", "T=300", "--col", "P=1", "--property", "Pressure: P"}, kPropertyIsVariable},
        {{"--row", "T=300", "--property", "11"}, kNoValues},
        {{"--type", "II", "--file", Path("missing.txt"), "--property", "11"}, "cannot be opened"},
        {{"--row-series", "T=300,50", "--col", "P=1", "--property", "11"}, "The series format should be \"x,y,z\"."},
        {{"--row", "T=300", "--col-series", "P=1,1,0", "--property", "11"}, "z should be integar more than 0."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--out", out});
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(fs::exists(out)) << c.message;
    }

    const CliRun cannotWrite = Cli({"--row", "T=300", "--col", "P=1", "--property", "11", "--out",
                                    Path("no/such/dir/t.txt")});
    EXPECT_EQ(cannotWrite.code, 1);
    EXPECT_NE(cannotWrite.err.find("cannot be created"), std::string::npos) << cannotWrite.err;
}

TEST_F(CliTable, ConversionErrorsAndBadUsageExitWithTwo) {
    const std::string bad = Path("bad.txt");
    std::ofstream(bad) << "T\tP\n300\t1\n310\tten\n";
    CliRun r = Cli({"--type", "II", "--file", bad, "--property", "11", "--out", Path("t.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"ten\" is not a valid number."), std::string::npos) << r.err;
    r = Cli({"--type", "II", "--file", bad, "--skip", "one", "--property", "11", "--out", Path("t.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"one\""), std::string::npos) << r.err;

    const std::vector<std::vector<std::string>> usage = {
        {"--row", "T=300", "--col", "P=1", "--property", "11"},                        // no --out
        {"--row", "T=300", "--col", "P=1", "--property", "Cpx", "--out", "-"},        // unknown item
        {"--row", "T=300", "--col", "P=1", "--property", "26", "--out", "-"},         // index too large
        {"--row", "X=300", "--col", "P=1", "--property", "11", "--out", "-"},         // unknown variable
        {"--row", "T=1", "--row-series", "T=1,1,2", "--property", "11", "--out", "-"},  // axis twice
        {"--type", "II", "--property", "11", "--out", "-"},                            // no --file
        {"--type", "II", "--file", bad, "--row", "T=1", "--property", "11", "--out", "-"},
        {"--row", "T=1", "--file", bad, "--property", "11", "--out", "-"},
        {"--type", "III", "--out", "-"},
        {"--row", "T300", "--out", "-"},
        {"--precise", "--out", "-"},
    };
    for (const auto& args : usage) {
        r = Cli(args);
        EXPECT_EQ(r.code, 2) << args[0] << " " << args[1];
        EXPECT_NE(r.err.find("kelvane-cli table: "), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_NE(Cli({"--property", "Cpx", "--out", "-"}).err.find("11  Isobaric Specific Heat: Cp"), std::string::npos);

    r = Cli({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* word : {"--row-series", "--col", "--columns", "--file", "--skip", "--property", "--out"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(CliTable, LooseListValuesAreNotedButReadAsTheWindowReadsThem) {
    const CliRun r = Cli({"--row", "T=300K,abc,,350", "--col", "P=1", "--property", "11", "--out", "-"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("ROW value \"300K\" is not a plain number; the table uses 300"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ROW value \"abc\" is not a plain number; the table uses 0"), std::string::npos);
    EXPECT_EQ(r.err.find("value \"\""), std::string::npos);  // the empty field adds no value
    EXPECT_NE(r.out.find("\n300\t75."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n0\t\n350\t"), std::string::npos) << r.out;
}
