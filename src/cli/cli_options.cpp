#include "cli/cli_options.h"

#include <cstdio>

#include "core/format.h"
#include "forms/units.h"
#include "tables/value_lists.h"

namespace kelvane::cli {

namespace {

std::string Squeezed(const std::string& s) {
    std::string r;
    for (char c : s)
        if (c != ' ') r.push_back(c);
    return r;
}

// Index of `name` among the units of selector s: its command-line name, or for a
// density the specific volume's, with or without blanks.
int UnitIndex(const std::string& name, UnitSelector s, const std::string& option) {
    const std::string wanted = Squeezed(name);
    const std::vector<UnitRow>& units = UnitRows(s);
    for (size_t i = 0; i < units.size(); ++i)
        for (const char* n : {units[i].cli, units[i].cli2})
            if (n && wanted == Squeezed(n)) return static_cast<int>(i);
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
        o.unitT = UnitIndex(OptionValue(args, i), UnitSelector::kTemperature, a);
    } else if (a == "--P-unit") {
        o.unitP = UnitIndex(OptionValue(args, i), UnitSelector::kPressure, a);
    } else if (a == "--rho-unit") {
        o.unitRho = UnitIndex(OptionValue(args, i), UnitSelector::kDensity, a);
    } else if (a == "--amount") {
        o.unitAmount = UnitIndex(OptionValue(args, i), UnitSelector::kAmount, a);
    } else if (a == "--visc-unit") {
        o.unitVisc = UnitIndex(OptionValue(args, i), UnitSelector::kViscosity, a);
    } else if (a == "--therc-unit") {
        o.unitTherc = UnitIndex(OptionValue(args, i), UnitSelector::kConductivity, a);
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

std::string UnitChoices(UnitSelector s) {
    std::string r;
    for (const UnitRow& u : UnitRows(s)) {
        const std::string name = u.cli;
        if (!r.empty()) r += "|";
        r += name.find(' ') == std::string::npos ? name : "\"" + name + "\"";
    }
    return r;
}

std::string VolumeUnitNames() {
    std::string r;
    for (const UnitRow& u : UnitRows(UnitSelector::kDensity)) r += (r.empty() ? "" : ", ") + std::string(u.cli2);
    return r;
}

std::string Printable(const std::string& text) {
    constexpr size_t kLimit = 200;
    std::string r = EscapedText(std::string_view(text).substr(0, kLimit));
    if (text.size() > kLimit) r += "... (" + std::to_string(text.size()) + " characters)";
    return r;
}

}  // namespace kelvane::cli
