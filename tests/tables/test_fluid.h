// A test-only fluid put behind a main form in place of water (fluid 0): an ideal gas with
// Z = 1, so that table cells have answers that follow from a few lines of algebra.
// Its heat capacity is not physical: Cp carries a pressure term so that the cells of
// different pressure columns differ.
#pragma once

#include "core/fluid_model.h"

namespace kelvane {
class MainForm;
}

namespace kelvane::testfluid {

// R * (3.5 + T/1000) + P * 1e-6, in J/(mol K), with P in Pa.
double TestCp(double T, double P);
// Saturation pressure of the test fluid in Pa below 500 K ("over Tc" above).
double TestSaturationPressure(double T);

// The test fluid, with water's constants and index.
const Fluid& TestFluid();
// Puts the test fluid behind `main` (water stays selected) and returns main.
MainForm& UseTestFluid(MainForm& main);

}  // namespace kelvane::testfluid
