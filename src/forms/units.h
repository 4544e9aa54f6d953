// Display units of the main window and their conversions to the SI molar units of the
// calculation. Reduced units and the mass and amount conversions use the constants c of
// the fluid in question.
#pragma once

#include <array>
#include <string>

#include "core/fluid_model.h"

namespace kelvane {

inline constexpr double kAvogadro = 6.0221367e23;  // 1/mol

// The engineering units follow the original entries, so that the original indices
// keep their meaning.
inline const std::array<std::string, 4> kTemperatureItems = {"K", "deg C", "Tr", "deg F"};
inline const std::array<std::string, 4> kTemperatureLabels = {"K", "degC", "Tr", "degF"};
inline const std::array<std::string, 7> kPressureLabels = {"MPa", "Pa", "bar", "atm", "Pr", "kPa", "psi"};
inline const std::array<std::string, 5> kDensityItems = {"kg/m3", "g/cm3", "mol/l", "molec/A3", "rho-r"};
inline const std::array<std::string, 5> kDensityLabels = {"kg / m3", "g / cm3", "mol / l", "molec / A3", "rho-r"};
inline const std::array<std::string, 5> kVolumeLabels = {"m3 / kg", "cm3 / g", "l / mol", "A3 / molec", "Vr"};
// Amount units 3 and 4 are mol and kg with energies in kJ.
inline const std::array<std::string, 5> kAmountItems = {"mol", "kg", "molec", "kJ/mol", "kJ/kg"};
inline const std::array<std::string, 5> kEnergyLabels = {"J / mol", "J / kg", "kB / molec", "kJ / mol", "kJ / kg"};
inline const std::array<std::string, 5> kEntropyLabels = {"J / (mol K)", "J / (kg K)", "kB / (molec K)", "kJ / (mol K)",
                                                          "kJ / (kg K)"};
// Display units of the viscosity and the thermal conductivity (the engine gives Pa s
// and W/(m K)); selector items and labels.
inline const std::array<std::string, 3> kViscosityItems = {"Pa s", "uPa s", "cP"};
inline const std::array<std::string, 3> kViscosityLabels = {"Pa s", "uPa s", "cP"};
inline const std::array<std::string, 2> kConductivityItems = {"W/(m K)", "mW/(m K)"};
inline const std::array<std::string, 2> kConductivityLabels = {"W / (m K)", "mW / (m K)"};

// Pascals per pound-force per square inch: 0.45359237 kg * 9.80665 m/s2 / (0.0254 m)^2.
inline constexpr double kPascalPerPsi = 0.45359237 * 9.80665 / (0.0254 * 0.0254);

// Temperature: unit 0 K, 1 deg C, 2 reduced by Tc, 3 deg F.
double TemperatureToK(const FluidConstants& c, int unit, double x);
double TemperatureFromK(const FluidConstants& c, int unit, double T);

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
