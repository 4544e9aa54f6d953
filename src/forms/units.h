// Display units of the main window and their conversions to the SI molar units of the
// calculation. Reduced units and the mass and amount conversions use the constants c of
// the fluid in question.
#pragma once

#include <array>
#include <string>

#include "core/fluid_model.h"

namespace kelvane {

inline constexpr double kAvogadro = 6.0221367e23;  // 1/mol

inline const std::array<std::string, 3> kTemperatureItems = {"K", "deg C", "Tr"};
inline const std::array<std::string, 3> kTemperatureLabels = {"K", "degC", "Tr"};
inline const std::array<std::string, 5> kPressureLabels = {"MPa", "Pa", "bar", "atm", "Pr"};
inline const std::array<std::string, 5> kDensityItems = {"kg/m3", "g/cm3", "mol/l", "molec/A3", "rho-r"};
inline const std::array<std::string, 5> kDensityLabels = {"kg / m3", "g / cm3", "mol / l", "molec / A3", "rho-r"};
inline const std::array<std::string, 5> kVolumeLabels = {"m3 / kg", "cm3 / g", "l / mol", "A3 / molec", "Vr"};
inline const std::array<std::string, 3> kAmountItems = {"mol", "kg", "molec"};
inline const std::array<std::string, 3> kEnergyLabels = {"J / mol", "J / kg", "kB / molec"};
inline const std::array<std::string, 3> kEntropyLabels = {"J / (mol K)", "J / (kg K)", "kB / (molec K)"};

// Temperature: unit 0 K, 1 deg C, 2 reduced by Tc.
double TemperatureToK(const FluidConstants& c, int unit, double x);
double TemperatureFromK(const FluidConstants& c, int unit, double T);

// Pascals per pressure unit (MPa, Pa, bar, atm, Pr).
double PressureFactor(const FluidConstants& c, int unit);

// mol/m3 per density unit (kg/m3, g/cm3, mol/l, molec/A3, rho-r).
double DensityFactor(const FluidConstants& c, int unit);

// J/mol per displayed energy unit (mol, kg, molec in units of kB).
double AmountFactor(const FluidConstants& c, int unit);

// Density display: in density mode shown = rho / fR, in specific-volume mode
// shown = fR / rho, and the reverse.
double DensityToDisplay(const FluidConstants& c, double rho, int unit, bool densityMode);
double DensityFromDisplay(const FluidConstants& c, double shown, int unit, bool densityMode);

}  // namespace kelvane
