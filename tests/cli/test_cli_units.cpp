// The unit options of kelvane-cli: the usage text that names them, byte for byte, every
// name each option accepts (item texts and labels, with or without blanks) with the
// unit index it selects, names it refuses, and the manual page and bash completion,
// which must offer every unit of the unit rows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "forms/units.h"

using namespace kelvane;

namespace {

// The unit index that `--option name` selects; -1 with the error text in `error` when
// the name is refused.
int Selected(const std::string& option, const std::string& name, std::string* error = nullptr) {
    const std::vector<std::string> args = {option, name};
    size_t i = 0;
    cli::FormOptions o;
    o.unitT = o.unitP = o.unitRho = o.unitAmount = o.unitVisc = o.unitTherc = -7;
    try {
        EXPECT_TRUE(cli::ParseFormOption(args, i, o));
    } catch (const cli::UsageError& e) {
        if (error) *error = e.what;
        return -1;
    }
    EXPECT_EQ(i, 1u);
    for (int v : {o.unitT, o.unitP, o.unitRho, o.unitAmount, o.unitVisc, o.unitTherc})
        if (v != -7) return v;
    return -2;
}

}  // namespace

TEST(CliUnitNames, UsageNamesEveryUnit) {
    const std::string expected =
        "usage: kelvane-cli [--fluid water|methanol|co2] [--T VALUE] [--T-unit K|degC|Tr|degF]\n"
        "                   (--P VALUE [--P-unit MPa|Pa|bar|atm|Pr|kPa|psi] |\n"
        "                    --rho VALUE [--rho-unit kg/m3|g/cm3|mol/l|molec/A3|rho-r] [--volume])\n"
        "                   [--amount mol|kg|molec|kJ/mol|kJ/kg] [--visc-unit \"Pa s\"|\"uPa s\"|cP]\n"
        "                   [--therc-unit \"W/(m K)\"|\"mW/(m K)\"] [--wavelength NM] [--tsv] [--precise]\n"
        "       kelvane-cli (--T VALUE | --P VALUE) --x X [options as above]\n"
        "       kelvane-cli --P VALUE (--h VALUE | --s VALUE) [options as above without --T]\n"
        "       kelvane-cli table ...   (tables as \"Make Tables\" writes them; see table --help)\n"
        "       kelvane-cli saturation ...   (saturation tables; see saturation --help)\n"
        "       kelvane-cli verify ...  (every published check value, computed; see verify --help)\n"
        "\n"
        "Computes one state point as the main window's \"Calculate\" does and prints every field.\n"
        "Without --P or --rho the density of the window's initial state (322 kg/m3) is given;\n"
        "the defaults are water, 647.096 K, K, MPa, kg/m3, mol and 589 nm.\n"
        "  --volume   specific volume instead of density (--rho is then a specific volume,\n"
        "             in the reciprocal of the --rho-unit: m3/kg, cm3/g, l/mol, A3/molec, Vr)\n"
        "  --tsv      one line per field: name, text, unit label, separated by tabs\n"
        "  --precise  numbers with 15 significant digits instead of 8\n"
        "  --x        the two-phase state of vapour fraction X (0 liquid .. 1 vapour) at the\n"
        "             saturation temperature T or the saturation pressure P; its last field x\n"
        "             is the fraction (empty for a single-phase state)\n"
        "  --h, --s   the state of pressure P and molar enthalpy h or entropy s, in the unit of\n"
        "             the H or S field for the --amount unit (J/mol, J/kg, kB/molec; per K for s);\n"
        "             T is then the temperature found, and x the vapour fraction of a wet state\n"
        "  --version  print the program's version and exit\n";
    EXPECT_EQ(CliUsage(), expected);
}

TEST(CliUnitNames, EveryNameSelectsItsUnit) {
    const std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> accepted = {
        {"--T-unit", {{"K"}, {"deg C", "degC", " deg  C "}, {"Tr"}, {"deg F", "degF"}}},
        {"--P-unit", {{"MPa", "M Pa"}, {"Pa"}, {"bar"}, {"atm"}, {"Pr"}, {"kPa"}, {"psi"}}},
        {"--rho-unit",
         {{"kg/m3", "kg / m3", "m3/kg", "m3 / kg"},
          {"g/cm3", "g / cm3", "cm3/g", "cm3 / g"},
          {"mol/l", "mol / l", "l/mol", "l / mol"},
          {"molec/A3", "molec / A3", "A3/molec", "A3 / molec"},
          {"rho-r", "Vr"}}},
        {"--amount", {{"mol"}, {"kg"}, {"molec"}, {"kJ/mol", "kJ / mol"}, {"kJ/kg", "kJ / kg"}}},
        {"--visc-unit", {{"Pa s", "Pas"}, {"uPa s", "uPas"}, {"cP"}}},
        {"--therc-unit", {{"W/(m K)", "W / (m K)", "W/(mK)"}, {"mW/(m K)", "mW / (m K)"}}},
    };
    for (const auto& [option, units] : accepted)
        for (int index = 0; index < static_cast<int>(units.size()); ++index)
            for (const std::string& name : units[index])
                EXPECT_EQ(Selected(option, name), index) << option << " " << name;
}

TEST(CliUnitNames, OtherNamesAreRefusedWithTheOptionInTheMessage) {
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"--T-unit", "kelvin"}, {"--T-unit", "k"},        {"--T-unit", ""},         {"--P-unit", "mpa"},
        {"--P-unit", "m3/kg"},  {"--P-unit", "Pa s"},     {"--rho-unit", "kg"},     {"--rho-unit", "rho"},
        {"--amount", "J/mol"},  {"--amount", "J / mol"},  {"--amount", "kB/molec"}, {"--amount", "g"},
        {"--visc-unit", "P"},   {"--visc-unit", "mPa s"}, {"--therc-unit", "W"},    {"--therc-unit", "W/mK"},
    };
    for (const auto& [option, name] : refused) {
        std::string error;
        EXPECT_EQ(Selected(option, name, &error), -1) << option << " " << name;
        EXPECT_EQ(error, "unknown unit for " + option + ": " + cli::Printable(name));
    }
}

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text from `start` to the next `end` (empty when `start` is missing).
std::string Section(const std::string& text, const std::string& start, const std::string& end) {
    const size_t from = text.find(start);
    if (from == std::string::npos) return "";
    return text.substr(from, text.find(end, from + start.size()) - from);
}

// Whether `word` stands in `text` as a word of its own: between blanks, quotes, line
// breaks (also the two characters \n of a shell string) or a following punctuation mark.
bool HasWord(const std::string& text, const std::string& word) {
    const std::string before = " \"'\n", after = " \"'\n,;.)";
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        const bool open = at == 0 || before.find(text[at - 1]) != std::string::npos ||
                          (at >= 2 && text.compare(at - 2, 2, "\\n") == 0);
        const bool close =
            end == text.size() || after.find(text[end]) != std::string::npos || text.compare(end, 2, "\\n") == 0;
        if (open && close) return true;
    }
    return false;
}

}  // namespace

// A unit added to the rows of forms/units.cpp reaches the usage text by itself; the
// manual page and the bash completion are written by hand and must name it too.
TEST(CliUnitNames, ManualPageAndCompletionNameEveryUnit) {
    std::string man = Read(std::string(KELVANE_PACKAGING_DIR) + "/kelvane-cli.1.in");
    for (size_t k; (k = man.find("\\-")) != std::string::npos;) man.erase(k, 1);  // roff's \- is a hyphen
    const std::string completion = Read(std::string(KELVANE_PACKAGING_DIR) + "/kelvane-cli.bash-completion");
    const std::vector<std::pair<std::string, UnitSelector>> options = {
        {"--T-unit", UnitSelector::kTemperature},  {"--P-unit", UnitSelector::kPressure},
        {"--rho-unit", UnitSelector::kDensity},    {"--amount", UnitSelector::kAmount},
        {"--visc-unit", UnitSelector::kViscosity}, {"--therc-unit", UnitSelector::kConductivity},
    };
    for (const auto& [option, selector] : options) {
        const std::string manSection = Section(man, ".BI " + option + " ", ".TP");
        const std::string offered = Section(completion, "        " + option + ")", ";;");
        ASSERT_FALSE(manSection.empty()) << option;
        ASSERT_FALSE(offered.empty()) << option;
        for (const UnitRow& unit : UnitRows(selector)) {
            for (const char* name : {unit.cli, unit.cli2}) {
                if (!name) continue;
                EXPECT_TRUE(HasWord(manSection, name)) << "the manual page's " << option << " lacks " << name;
                // The completion escapes a blank inside a word.
                std::string word;
                for (const char* c = name; *c; ++c) word += *c == ' ' ? std::string("\\\\ ") : std::string(1, *c);
                EXPECT_TRUE(HasWord(offered, word)) << "the completion of " << option << " lacks " << word;
            }
        }
    }
}
