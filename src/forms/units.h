// Display units of the main window and their conversions to the SI molar units of the
// calculation. Each unit selector has one table of unit rows (forms/units.cpp): its
// item, the label beside the fields, the command-line name, the full name of its
// tooltip and its factor. The selectors' items, the label lists, the factors, the
// command-line names and usage, and the tooltips are all built from these rows, so a
// new unit is one row there. Reduced units and the mass and amount conversions use the
// constants c of the fluid in question.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/fluid_model.h"

namespace kelvane {

inline constexpr double kAvogadro = 6.0221367e23;  // 1/mol

// Pascals per pound-force per square inch: 0.45359237 kg * 9.80665 m/s2 / (0.0254 m)^2.
inline constexpr double kPascalPerPsi = 0.45359237 * 9.80665 / (0.0254 * 0.0254);

// The unit selectors of the main window.
enum class UnitSelector : uint8_t {
    kTemperature,   // ComboBoxT
    kPressure,      // ComboBoxP
    kDensity,       // ComboBoxRho: densities, or specific volumes in specific-volume mode
    kAmount,        // ComboBoxUnit: the amount the energies and entropies refer to
    kViscosity,     // ComboBoxVisc
    kConductivity,  // ComboBoxTherc
    kNone,          // a fixed unit that follows no selector
};

// One unit of a selector. The rows of a selector are in the order of its items, so a
// row's position is the unit index; new units go after the existing ones.
struct UnitRow {
    const char* item;   // the selector's item ("deg C", "kg/m3", "mol")
    const char* label;  // the label beside the fields ("degC", "kg / m3", "J / mol")
    // The second label: the specific-volume label of a density unit ("m3 / kg", also the
    // selector's item in specific-volume mode) or the entropy label of an amount unit
    // ("J / (mol K)"); null for the other selectors.
    const char* label2;
    const char* cli;        // the command-line name ("degC"; blanks are ignored on input)
    const char* cli2;       // density: the command-line name of the specific volume ("m3/kg"); else null
    const char* fullName;   // the tooltip's name of the unit ("degree Celsius")
    const char* fullName2;  // density: the tooltip's name of the specific volume; else null
    // SI per unit (Pa, mol/m3, J/mol, Pa s, W/(m K)); null for the temperature, which
    // converts with toK and fromK instead.
    double (*factor)(const FluidConstants& c);
    double (*toK)(const FluidConstants& c, double x);
    double (*fromK)(const FluidConstants& c, double T);
};

// A selector: its tooltip's first line (in specific-volume mode the density selector's
// second one) and its units.
struct UnitSelectorRow {
    UnitSelector selector;
    const char* tip;
    const char* tip2;
    std::vector<UnitRow> units;
};

// The units of selector s (empty for kNone).
const std::vector<UnitRow>& UnitRows(UnitSelector s);
// The unit of index i; the first unit for an index out of range.
const UnitRow& UnitAt(UnitSelector s, int i);

// The selector's items, labels and second labels, in the order of the units.
std::vector<std::string> UnitItems(UnitSelector s);
std::vector<std::string> UnitLabels(UnitSelector s);
std::vector<std::string> UnitLabels2(UnitSelector s);

// The tooltip of the selector: its first line, then one line "item: full name" per
// unit (for the density selector in specific-volume mode the specific volumes).
std::string UnitTip(UnitSelector s, bool densityMode = true);

// Temperature: unit 0 K, 1 deg C, 2 reduced by Tc, 3 deg F.
double TemperatureToK(const FluidConstants& c, int unit, double x);
double TemperatureFromK(const FluidConstants& c, int unit, double T);

// SI per unit of a factor selector: the factor of UnitAt(s, unit).
double UnitFactor(UnitSelector s, const FluidConstants& c, int unit);

// Pascals per pressure unit (MPa, Pa, bar, atm, Pr, kPa, psi).
double PressureFactor(const FluidConstants& c, int unit);

// mol/m3 per density unit (kg/m3, g/cm3, mol/l, molec/A3, rho-r).
double DensityFactor(const FluidConstants& c, int unit);

// J/mol per displayed energy unit (mol, kg, molec in units of kB, kJ/mol, kJ/kg).
double AmountFactor(const FluidConstants& c, int unit);

// Pa s per viscosity unit (Pa s, uPa s, cP) and W/(m K) per conductivity unit
// (W/(m K), mW/(m K)).
double ViscosityFactor(int unit);
double ConductivityFactor(int unit);

// Density display: in density mode shown = rho / fR, in specific-volume mode
// shown = fR / rho, and the reverse.
double DensityToDisplay(const FluidConstants& c, double rho, int unit, bool densityMode);
double DensityFromDisplay(const FluidConstants& c, double shown, int unit, bool densityMode);

}  // namespace kelvane
