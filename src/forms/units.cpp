#include "forms/units.h"

#include "core/fluid_model.h"

namespace kelvane {

namespace {

using C = FluidConstants;
using S = UnitSelector;

// The engineering units (deg F, kPa, psi, kJ, uPa s, cP, mW/(m K)) follow the first
// entries, so that the first indices keep their meaning.
// clang-format off
const std::vector<UnitSelectorRow> kSelectors = {
    {S::kTemperature, "Temperature unit", nullptr, {
        {"K", "K", nullptr, "K", nullptr, "kelvin", nullptr, nullptr,
         [](const C&, double x) { return x; }, [](const C&, double T) { return T; }},
        {"deg C", "degC", nullptr, "degC", nullptr, "degree Celsius", nullptr, nullptr,
         [](const C&, double x) { return x + 273.15; }, [](const C&, double T) { return T - 273.15; }},
        {"Tr", "Tr", nullptr, "Tr", nullptr, "reduced temperature T / Tc", nullptr, nullptr,
         [](const C& c, double x) { return x * c.Tc; }, [](const C& c, double T) { return T / c.Tc; }},
        {"deg F", "degF", nullptr, "degF", nullptr, "degree Fahrenheit", nullptr, nullptr,
         [](const C&, double x) { return (x + 459.67) * 5 / 9; },
         [](const C&, double T) { return T * 9 / 5 - 459.67; }},
    }},
    {S::kPressure, "Pressure unit", nullptr, {
        {"MPa", "MPa", nullptr, "MPa", nullptr, "megapascal", nullptr, [](const C&) { return 1e6; }, nullptr, nullptr},
        {"Pa", "Pa", nullptr, "Pa", nullptr, "pascal", nullptr, [](const C&) { return 1.0; }, nullptr, nullptr},
        {"bar", "bar", nullptr, "bar", nullptr, "bar (100 kPa)", nullptr, [](const C&) { return 1e5; }, nullptr,
         nullptr},
        {"atm", "atm", nullptr, "atm", nullptr, "standard atmosphere (101.325 kPa)", nullptr,
         [](const C&) { return 101325.0; }, nullptr, nullptr},
        {"Pr", "Pr", nullptr, "Pr", nullptr, "reduced pressure P / Pc", nullptr, [](const C& c) { return c.Pc; },
         nullptr, nullptr},
        {"kPa", "kPa", nullptr, "kPa", nullptr, "kilopascal", nullptr, [](const C&) { return 1e3; }, nullptr, nullptr},
        {"psi", "psi", nullptr, "psi", nullptr, "pound-force per square inch (6.894757 kPa)", nullptr,
         [](const C&) { return kPascalPerPsi; }, nullptr, nullptr},
    }},
    {S::kDensity, "Density unit", "Specific volume unit", {
        {"kg/m3", "kg / m3", "m3 / kg", "kg/m3", "m3/kg", "kilogram per cubic metre", "cubic metre per kilogram",
         [](const C& c) { return 1000 / c.M; }, nullptr, nullptr},
        {"g/cm3", "g / cm3", "cm3 / g", "g/cm3", "cm3/g", "gram per cubic centimetre", "cubic centimetre per gram",
         [](const C& c) { return 1e6 / c.M; }, nullptr, nullptr},
        {"mol/l", "mol / l", "l / mol", "mol/l", "l/mol", "mole per litre", "litre per mole",
         [](const C&) { return 1000.0; }, nullptr, nullptr},
        {"molec/A3", "molec / A3", "A3 / molec", "molec/A3", "A3/molec", "molecules per cubic angstrom",
         "cubic angstrom per molecule", [](const C&) { return 1e30 / kAvogadro; }, nullptr, nullptr},
        {"rho-r", "rho-r", "Vr", "rho-r", "Vr", "reduced density rho / rhoc", "reduced volume V / Vc",
         [](const C& c) { return c.rhoc; }, nullptr, nullptr},
    }},
    {S::kAmount, "Amount of substance the energies, entropies and heat capacities refer to", nullptr, {
        {"mol", "J / mol", "J / (mol K)", "mol", nullptr, "per mole", nullptr, [](const C&) { return 1.0; },
         nullptr, nullptr},
        {"kg", "J / kg", "J / (kg K)", "kg", nullptr, "per kilogram", nullptr, [](const C& c) { return 0.001 * c.M; },
         nullptr, nullptr},
        {"molec", "kB / molec", "kB / (molec K)", "molec", nullptr,
         "per molecule, in units of the Boltzmann constant kB", nullptr, [](const C& c) { return c.R; },
         nullptr, nullptr},
        {"kJ/mol", "kJ / mol", "kJ / (mol K)", "kJ/mol", nullptr, "per mole, energies in kilojoules", nullptr,
         [](const C&) { return 1000.0; }, nullptr, nullptr},
        // kJ/kg: 1000 J per 0.001 * M kg.
        {"kJ/kg", "kJ / kg", "kJ / (kg K)", "kJ/kg", nullptr, "per kilogram, energies in kilojoules", nullptr,
         [](const C& c) { return c.M; }, nullptr, nullptr},
    }},
    {S::kViscosity, "Viscosity unit", nullptr, {
        {"Pa s", "Pa s", nullptr, "Pa s", nullptr, "pascal second", nullptr, [](const C&) { return 1.0; },
         nullptr, nullptr},
        {"uPa s", "uPa s", nullptr, "uPa s", nullptr, "micropascal second", nullptr, [](const C&) { return 1e-6; },
         nullptr, nullptr},
        {"cP", "cP", nullptr, "cP", nullptr, "centipoise (1 mPa s)", nullptr, [](const C&) { return 1e-3; },
         nullptr, nullptr},
    }},
    {S::kConductivity, "Thermal conductivity unit", nullptr, {
        {"W/(m K)", "W / (m K)", nullptr, "W/(m K)", nullptr, "watt per metre and kelvin", nullptr,
         [](const C&) { return 1.0; }, nullptr, nullptr},
        {"mW/(m K)", "mW / (m K)", nullptr, "mW/(m K)", nullptr, "milliwatt per metre and kelvin", nullptr,
         [](const C&) { return 1e-3; }, nullptr, nullptr},
    }},
};
// clang-format on

const UnitSelectorRow* SelectorRow(S s) {
    for (const UnitSelectorRow& r : kSelectors)
        if (r.selector == s) return &r;
    return nullptr;
}

std::vector<std::string> Texts(S s, const char* UnitRow::*text) {
    std::vector<std::string> v;
    for (const UnitRow& u : UnitRows(s)) v.emplace_back(u.*text ? u.*text : "");
    return v;
}

}  // namespace

const std::vector<UnitRow>& UnitRows(UnitSelector s) {
    static const std::vector<UnitRow> none;
    const UnitSelectorRow* r = SelectorRow(s);
    return r ? r->units : none;
}

const UnitRow& UnitAt(UnitSelector s, int i) {
    const std::vector<UnitRow>& rows = UnitRows(s);
    return i > 0 && i < static_cast<int>(rows.size()) ? rows[i] : rows.front();
}

std::vector<std::string> UnitItems(UnitSelector s) { return Texts(s, &UnitRow::item); }
std::vector<std::string> UnitLabels(UnitSelector s) { return Texts(s, &UnitRow::label); }
std::vector<std::string> UnitLabels2(UnitSelector s) { return Texts(s, &UnitRow::label2); }

std::string UnitTip(UnitSelector s, bool densityMode) {
    const UnitSelectorRow* r = SelectorRow(s);
    if (!r) return "";
    // In specific-volume mode the density selector lists the specific volumes.
    const bool second = !densityMode && r->tip2;
    std::string tip = second ? r->tip2 : r->tip;
    for (const UnitRow& u : r->units)
        tip += std::string("\n") + (second ? u.label2 : u.item) + ": " + (second ? u.fullName2 : u.fullName);
    return tip;
}

double TemperatureToK(const FluidConstants& c, int unit, double x) { return UnitAt(S::kTemperature, unit).toK(c, x); }

double TemperatureFromK(const FluidConstants& c, int unit, double T) {
    return UnitAt(S::kTemperature, unit).fromK(c, T);
}

double UnitFactor(UnitSelector s, const FluidConstants& c, int unit) { return UnitAt(s, unit).factor(c); }

double PressureFactor(const FluidConstants& c, int unit) { return UnitFactor(S::kPressure, c, unit); }

double DensityFactor(const FluidConstants& c, int unit) { return UnitFactor(S::kDensity, c, unit); }

double AmountFactor(const FluidConstants& c, int unit) { return UnitFactor(S::kAmount, c, unit); }

double ViscosityFactor(int unit) { return UnitFactor(S::kViscosity, kWaterConstants, unit); }

double ConductivityFactor(int unit) { return UnitFactor(S::kConductivity, kWaterConstants, unit); }

double DensityToDisplay(const FluidConstants& c, double rho, int unit, bool densityMode) {
    const double f = DensityFactor(c, unit);
    return densityMode ? rho / f : f / rho;
}

double DensityFromDisplay(const FluidConstants& c, double shown, int unit, bool densityMode) {
    const double f = DensityFactor(c, unit);
    return densityMode ? shown * f : f / shown;
}

}  // namespace kelvane
