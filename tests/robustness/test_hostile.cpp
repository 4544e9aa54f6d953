// Hostile inputs through the headless main form and the command line: empty and blank
// texts, out-of-range exponents, signed zero, "nan", very long and non-ASCII texts,
// two-column files with NUL bytes or far too many lines. Each must give a message or
// a conversion error naming the input, never a crash and never a result that looks
// like a success. A given pressure or density of zero gives its own message.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "state_check.h"

using namespace kelvane;
using namespace kelvane::robustness;
namespace fs = std::filesystem;

namespace {

const char* const kPropertyFields[] = {"EditF", "EditU",  "EditH", "EditG",  "EditS",  "EditCv",    "EditCp",
                                       "EditZ", "EditFP", "EditW", "EditJT", "EditC2", "Editalpha", "Editkappa"};

// Texts that are no number for the strict conversion.
std::vector<std::string> NotNumbers() {
    return {"",
            "   ",
            "\t",
            "1e999",
            "-1e999",
            "nan",
            "NAN",
            "inf",
            "-INF",
            "0x1p3",
            "1e",
            ".",
            "+",
            "--5",
            "300 K",
            "3,5",
            "\xEF\xBC\x93\xEF\xBC\x90\xEF\xBC\x90",  // fullwidth digits 300
            "300\xC2\xA0",                           // no-break space after the number
            "\xFF\xFE",
            std::string("300\0", 4),
            "1" + std::string(400, '0'),  // 1e400
            std::string(100000, '7'),
            std::string(100000, 'x')};
}

struct CliRun {
    int code;
    std::string out, err;
};

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kelvane_hostile_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

}  // namespace

TEST_F(Hostile, FormRaisesTheConversionErrorAndShowsNothing) {
    MainForm form;
    for (int fluid = 0; fluid < 3; ++fluid) {
        for (int mode = 0; mode < 2; ++mode) {
            for (const std::string& bad : NotNumbers()) {
                for (int which = 0; which < 2; ++which) {  // the temperature, then the other input
                    const std::string T = which == 0 ? bad : "300";
                    const std::string value = which == 1 ? bad : (mode == 0 ? "1" : "100");
                    try {
                        RunPoint(form, fluid, mode, T, value);
                        ADD_FAILURE() << "accepted \"" << bad.substr(0, 40) << "\" fluid " << fluid << " mode " << mode;
                    } catch (const ConversionError& e) {
                        EXPECT_EQ(e.Text(), bad);
                    }
                    EXPECT_EQ(form.EditMes.text, "");
                    for (const char* name : kPropertyFields) EXPECT_EQ(form.FieldByName(name)->text, "") << name;
                    EXPECT_EQ(form.EditsatuP.text, "");
                }
            }
        }
    }
}

TEST_F(Hostile, ExtremeButValidNumbersGiveMessages) {
    MainForm form;
    struct Case {
        std::string T, value;
        int mode;
        std::string message;
    };
    const std::string tiny = "0." + std::string(100000, '0') + "1";  // underflows to 0
    for (int fluid = 0; fluid < 3; ++fluid) {
        const FluidRange& r = Range(fluid);
        // An empty expected message: any message of the checks (which one depends on
        // the fluid: freezing, the pressure limit, or a pressure that is no number).
        const std::vector<Case> cases = {
            {"-0", "1", 0, "less than"},
            {"1e-999", "1", 0, "less than"},
            {"1e300", "1", 0, "more than"},
            {"300", "-0", 0, MainForm::kZeroStateMessage},
            {"300", tiny, 0, MainForm::kZeroStateMessage},
            {"300", "1e300", 0, ""},
            {"300", "-1e300", 0, "adequate."},
            {"400", "1e300", 1, ""},
            {"400", "1e30", 1, ""},
        };
        for (const Case& c : cases) {
            RunPoint(form, fluid, c.mode, c.T, c.value);
            const std::string what =
                std::string(r.name) + " T=" + c.T.substr(0, 20) + " value=" + c.value.substr(0, 20);
            EXPECT_NE(form.EditMes.text.find(c.message), std::string::npos)
                << what << ": \"" << form.EditMes.text << "\"";
            EXPECT_NE(form.EditMes.text, "") << what;
            EXPECT_EQ(form.EditCp.text, "") << what;
        }
    }
}

TEST_F(Hostile, ZeroPressureOrDensityGivesItsMessageForEveryFluid) {
    MainForm form;
    for (int fluid = 0; fluid < 3; ++fluid) {
        const FluidRange& r = Range(fluid);
        const std::string T = FormatFile(0.5 * (r.Tmin + r.Tc));  // subcritical, inside the range
        for (int mode = 0; mode < 2; ++mode) {
            for (const char* zero : {"0", "-0", "0.000", "0e99"}) {
                RunPoint(form, fluid, mode, T, zero);
                EXPECT_EQ(form.EditMes.text, MainForm::kZeroStateMessage) << r.name << " mode " << mode << " " << zero;
                for (const char* name : kPropertyFields) EXPECT_EQ(form.FieldByName(name)->text, "") << name;
                for (const char* name : {"EditEps", "EditVisc", "EditTherc", "EditDth", "EditKw", "Editn"})
                    EXPECT_EQ(form.FieldByName(name)->text, "") << name;
                // Melting and saturation are shown, as for any accepted temperature.
                EXPECT_NE(form.EditmeltP.text, "") << r.name;
                EXPECT_GT(ParseLeading(form.EditsatuP.text), 0) << r.name << " " << form.EditsatuP.text;
                EXPECT_EQ((mode == 0 ? form.EditRho : form.EditP).text, "") << r.name << " mode " << mode;
                const Verdict v = Judge(form, fluid, mode);
                EXPECT_TRUE(v.problems.empty()) << v.problems.front();
            }
            // The smallest positive input is a state, not zero.
            RunPoint(form, fluid, mode, T, "1e-300");
            EXPECT_NE(form.EditMes.text, MainForm::kZeroStateMessage) << r.name << " mode " << mode;
        }
    }
    // The command line shows the same.
    const CliRun c = Cli({"--tsv", "--fluid", "co2", "--T", "250", "--P", "0"});
    EXPECT_EQ(c.code, 0);
    EXPECT_NE(c.out.find(std::string("Mes\t") + MainForm::kZeroStateMessage), std::string::npos) << c.out;
    EXPECT_NE(c.out.find("\nCp\t\t"), std::string::npos);
}

TEST_F(Hostile, CommandLineNamesTheBadTextAndExitsWithTwo) {
    for (const std::string& bad : NotNumbers()) {
        for (const char* option : {"--T", "--P", "--rho"}) {
            const CliRun r = Cli({"--fluid", "methanol", option, bad});
            EXPECT_EQ(r.code, 2) << option << " " << bad.substr(0, 20);
            EXPECT_TRUE(r.out.empty());
            EXPECT_NE(r.err.find("is not a valid number."), std::string::npos) << r.err.substr(0, 200);
            // Control characters are escaped and long texts cut: one short line.
            EXPECT_LT(r.err.size(), 400u);
            EXPECT_EQ(r.err.find('\0'), std::string::npos);
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        }
    }
    const CliRun r = Cli({"--T", std::string("3\x01\x1b[2J", 6)});
    EXPECT_NE(r.err.find("\"3\\x01\\x1B[2J\""), std::string::npos) << r.err;
    // Options themselves may be hostile too.
    for (const std::string& option : {std::string(100000, '-'), std::string("--T\0", 4), std::string("\xFF")}) {
        const CliRun u = Cli({option});
        EXPECT_EQ(u.code, 2);
        EXPECT_LT(u.err.size(), 2000u);
    }
}

TEST_F(Hostile, TableListsAndColumnFiles) {
    const std::string out = (dir / "t.txt").string();
    // An infinite list value becomes the text "INF" in the temperature field, which the
    // calculation refuses: a conversion error, not a table.
    CliRun r = Cli({"table", "--row", "T=300,1e999", "--col", "P=1", "--property", "11", "--out", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"INF\""), std::string::npos) << r.err;

    // NUL bytes in the two-column file: a binary file, refused as such before any cell.
    const std::string nul = (dir / "nul.txt").string();
    std::ofstream(nul, std::ios::binary) << std::string(
        "T\tP\n300\t1\n3\0"
        "10\t2\n",
        16);
    r = Cli({"table", "--type", "II", "--file", nul, "--property", "11", "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is a binary file"), std::string::npos) << r.err;
    // A control character (not NUL) in a field is quoted escaped in the conversion error.
    std::ofstream(nul, std::ios::binary) << std::string(
        "T\tP\n300\t1\n3\x01"
        "10\t2\n",
        16);
    r = Cli({"table", "--type", "II", "--file", nul, "--property", "11", "--out", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"3\\x0110\""), std::string::npos) << r.err;

    // 100 000 lines: the first 2048 pairs are tabulated and the message says so.
    const std::string many = (dir / "many.txt").string();
    {
        std::ofstream f(many);
        f << "T\tP";
        for (int i = 0; i < 100000; ++i) f << "\n" << 300 + i % 50 << "\t" << 1 + i % 7;
    }
    r = Cli({"table", "--type", "II", "--file", many, "--property", "12", "--out", out});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Only the first 2048 pairs of the file were used."), std::string::npos) << r.out;
    std::ifstream in(out);
    const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2049);

    // A binary file without tabs holds no pairs.
    const std::string binary = (dir / "binary.bin").string();
    {
        std::ofstream f(binary, std::ios::binary);
        for (int i = 0; i < 5000; ++i) f.put(static_cast<char>((i * 37) % 256 == 9 ? 0 : (i * 37) % 256));
    }
    r = Cli({"table", "--type", "II", "--file", binary, "--property", "11", "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is a binary file"), std::string::npos) << r.err;
    // Without NUL bytes but without a tab either: no pairs, and the message says why.
    {
        std::ofstream f(binary, std::ios::binary);
        for (int i = 0; i < 5000; ++i) f.put(static_cast<char>(i % 7 == 0 ? '\n' : 'a' + i % 26));
    }
    r = Cli({"table", "--type", "II", "--file", binary, "--property", "11", "--out", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("The number of values in either ROW or COLUMN is 0 or missed."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no line with two tab-separated values"), std::string::npos) << r.err;

    // A very long list of values is cut to 2048 with the message.
    std::string list = "T=";
    for (int i = 0; i < 3000; ++i) list += (i ? "," : "") + std::to_string(300 + i % 3);
    r = Cli({"table", "--row", list, "--col", "P=1", "--property", "12", "--out", out});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Only the first 2048 values of the ROW list were used."), std::string::npos) << r.out;
}
