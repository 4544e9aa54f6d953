#include "cli/cli_options.h"

#include <cstdio>
#include <initializer_list>

#include "core/format.h"
#include "tables/value_lists.h"

namespace kelvane::cli {

namespace {

// Index of `name` in a unit list, accepting the window's item texts and labels with
// or without blanks.
int UnitIndex(const std::string& name, std::initializer_list<std::initializer_list<const char*>> names,
              const std::string& option) {
    auto squeeze = [](const std::string& s) {
        std::string r;
        for (char c : s)
            if (c != ' ') r.push_back(c);
        return r;
    };
    const std::string wanted = squeeze(name);
    int index = 0;
    for (const auto& alternatives : names) {
        for (const char* n : alternatives)
            if (wanted == squeeze(n)) return index;
        ++index;
    }
    throw UsageError{"unknown unit for " + option + ": " + Printable(name)};
}

}  // namespace

const std::string& OptionValue(const std::vector<std::string>& args, size_t& i) {
    if (i + 1 >= args.size()) throw UsageError{"missing value after " + Printable(args[i])};
    return args[++i];
}

bool ParseFormOption(const std::vector<std::string>& args, size_t& i, FormOptions& o) {
    const std::string& a = args[i];
    if (a == "--fluid") {
        const std::string& v = OptionValue(args, i);
        if (v == "water" || v == "Water")
            o.fluid = 0;
        else if (v == "methanol" || v == "Methanol")
            o.fluid = 1;
        else if (v == "co2" || v == "CO2")
            o.fluid = 2;
        else
            throw UsageError{"unknown fluid: " + Printable(v)};
    } else if (a == "--T-unit") {
        o.unitT = UnitIndex(OptionValue(args, i), {{"K"}, {"deg C", "degC"}, {"Tr"}, {"deg F", "degF"}}, a);
    } else if (a == "--P-unit") {
        o.unitP = UnitIndex(OptionValue(args, i), {{"MPa"}, {"Pa"}, {"bar"}, {"atm"}, {"Pr"}, {"kPa"}, {"psi"}}, a);
    } else if (a == "--rho-unit") {
        o.unitRho = UnitIndex(
            OptionValue(args, i),
            {{"kg/m3", "m3/kg"}, {"g/cm3", "cm3/g"}, {"mol/l", "l/mol"}, {"molec/A3", "A3/molec"}, {"rho-r", "Vr"}}, a);
    } else if (a == "--amount") {
        o.unitAmount = UnitIndex(OptionValue(args, i), {{"mol"}, {"kg"}, {"molec"}, {"kJ/mol"}, {"kJ/kg"}}, a);
    } else if (a == "--visc-unit") {
        o.unitVisc = UnitIndex(OptionValue(args, i), {{"Pa s"}, {"uPa s"}, {"cP"}}, a);
    } else if (a == "--therc-unit") {
        o.unitTherc = UnitIndex(OptionValue(args, i), {{"W/(m K)"}, {"mW/(m K)"}}, a);
    } else if (a == "--wavelength") {
        o.wavelength = OptionValue(args, i);
    } else if (a == "--volume") {
        o.volume = true;
    } else {
        return false;
    }
    return true;
}

void ApplyFormOptions(MainForm& f, const FormOptions& o) {
    f.RadioGroupMatter.index = o.fluid;
    f.RadioGroupMatterClick();
    f.ComboBoxT.Select(o.unitT);
    f.ComboBoxTChange();
    f.ComboBoxP.Select(o.unitP);
    f.ComboBoxPChange();
    f.ComboBoxRho.Select(o.unitRho);
    f.ComboBoxRhoChange();
    f.ComboBoxUnit.Select(o.unitAmount);
    f.ComboBoxUnitChange();
    f.ComboBoxVisc.Select(o.unitVisc);
    f.ComboBoxViscChange();
    f.ComboBoxTherc.Select(o.unitTherc);
    f.ComboBoxThercChange();
    if (o.volume) f.ButtonXRhoVClick();
    if (o.wavelength) {
        ParseStrict(*o.wavelength);  // a wavelength that is not a number is a conversion error
        f.Editnlambda.text = *o.wavelength;
    }
}

std::string Printable(const std::string& text) {
    constexpr size_t kLimit = 200;
    std::string r = EscapedText(std::string_view(text).substr(0, kLimit));
    if (text.size() > kLimit) r += "... (" + std::to_string(text.size()) + " characters)";
    return r;
}

}  // namespace kelvane::cli
