// The tooltips of the main window's unit selectors, text for text: every unit named in
// full, in the order of the selector's items.
#include <gtest/gtest.h>

#include <QString>

#include "ui/unit_tips.h"

using namespace kelvane::ui;

TEST(UnitTips, NameEveryUnitInFull) {
    EXPECT_EQ(TemperatureUnitTip().toStdString(),
              "Temperature unit\n"
              "K: kelvin\n"
              "deg C: degree Celsius\n"
              "Tr: reduced temperature T / Tc\n"
              "deg F: degree Fahrenheit");
    EXPECT_EQ(PressureUnitTip().toStdString(),
              "Pressure unit\n"
              "MPa: megapascal\n"
              "Pa: pascal\n"
              "bar: bar (100 kPa)\n"
              "atm: standard atmosphere (101.325 kPa)\n"
              "Pr: reduced pressure P / Pc\n"
              "kPa: kilopascal\n"
              "psi: pound-force per square inch (6.894757 kPa)");
    EXPECT_EQ(DensityUnitTip(true).toStdString(),
              "Density unit\n"
              "kg/m3: kilogram per cubic metre\n"
              "g/cm3: gram per cubic centimetre\n"
              "mol/l: mole per litre\n"
              "molec/A3: molecules per cubic angstrom\n"
              "rho-r: reduced density rho / rhoc");
    EXPECT_EQ(DensityUnitTip(false).toStdString(),
              "Specific volume unit\n"
              "m3 / kg: cubic metre per kilogram\n"
              "cm3 / g: cubic centimetre per gram\n"
              "l / mol: litre per mole\n"
              "A3 / molec: cubic angstrom per molecule\n"
              "Vr: reduced volume V / Vc");
    EXPECT_EQ(AmountUnitTip().toStdString(),
              "Amount of substance the energies, entropies and heat capacities refer to\n"
              "mol: per mole\n"
              "kg: per kilogram\n"
              "molec: per molecule, in units of the Boltzmann constant kB\n"
              "kJ/mol: per mole, energies in kilojoules\n"
              "kJ/kg: per kilogram, energies in kilojoules");
    EXPECT_EQ(ViscosityUnitTip().toStdString(),
              "Viscosity unit\n"
              "Pa s: pascal second\n"
              "uPa s: micropascal second\n"
              "cP: centipoise (1 mPa s)");
    EXPECT_EQ(ConductivityUnitTip().toStdString(),
              "Thermal conductivity unit\n"
              "W/(m K): watt per metre and kelvin\n"
              "mW/(m K): milliwatt per metre and kelvin");
}
