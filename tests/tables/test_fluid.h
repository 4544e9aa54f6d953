// A test-only fluid installed in place of water (fluid 0): an ideal gas with
// Z = 1, so that table cells have answers that follow from a few lines of algebra.
// Its heat capacity is not physical: Cp carries a pressure term so that the cells of
// different pressure columns differ.
#pragma once

namespace kelvane::testfluid {

// R * (3.5 + T/1000) + P * 1e-6, in J/(mol K), with P in Pa.
double TestCp(double T, double P);
// Saturation pressure of the test fluid in Pa below 500 K ("over Tc" above).
double TestSaturationPressure(double T);

// Registers the test fluid as fluid 0 and selects it.
void UseTestFluid();

}  // namespace kelvane::testfluid
