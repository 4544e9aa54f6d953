// Thermal conductivity of methanol: the reference correlation of Sykioti, Assael, Huber
// and Perkins, "Reference Correlation of the Thermal Conductivity of Methanol from the
// Triple Point to 660 K and up to 245 MPa", J. Phys. Chem. Ref. Data 42, 043101 (2013):
// dilute-gas and residual parts plus the critical enhancement in the simplified
// Olchowy-Sengers form. Pure functions of their arguments; the thermodynamic inputs of
// the enhancement are passed in or evaluated from the methanol Helmholtz functions.
#pragma once

#include <array>

#include "core/fluid_model.h"
#include "fluids/common/helmholtz_fluid.h"

#include "fluids/methanol/methanol_viscosity.h"

namespace kelvane {

// Stated range of the correlation: from the triple point to 660 K, up to 245 MPa.
inline constexpr MethanolTransportRange kMethanolConductivityRange{175.61, 660, 245e6};

// Reference temperature of the enhancement's background susceptibility, 1.5 Tc.
inline constexpr double kMethanolConductivityTref = 768.9;  // K

// The thermodynamic quantities the critical enhancement needs at one state (T, rho).
struct MethanolCriticalInputs {
    double cp;         // isobaric heat capacity, J/(kg K)
    double cv;         // isochoric heat capacity, J/(kg K)
    double drhodP;     // (d rho / d P)_T at T, kg/(m3 Pa)
    double drhodPRef;  // (d rho / d P)_T at the same density and kMethanolConductivityTref
};

// Dilute-gas thermal conductivity lambda0(T) in W/(m K).
double MethanolDiluteConductivity(double T);

// Residual thermal conductivity in W/(m K) at T in K and mass density rho in kg/m3.
double MethanolResidualConductivity(double T, double rho);

// Critical enhancement in W/(m K) at T, rho (kg/m3) with the viscosity eta (Pa s) and the
// thermodynamic inputs of that state. 0 where the susceptibility difference is not
// positive (far from the critical point); NaN where (d rho / d P)_T is not positive and
// finite (a mechanically unstable state, where no value can be given).
double MethanolConductivityEnhancement(double T, double rho, double eta, const MethanolCriticalInputs& in);

// The enhancement's inputs from the methanol equation of state (IUPAC 1993, evaluated
// through MethanolResidual and MethanolIdealDerivatives with the equation's own reducing
// values and gas constant). T in K, rho in kg/m3.
MethanolCriticalInputs MethanolCriticalInputsFromEos(double T, double rho);

// The same inputs from the residual derivatives (every order) and the ideal-gas tau
// derivatives already evaluated at the reduced state (delta, tau) of T, as the
// calculation of a state has them; only the reference-temperature isotherm is
// evaluated anew.
MethanolCriticalInputs MethanolCriticalInputsFromDerivatives(double T, double delta, double tau,
                                                             const ResidualDerivatives& r,
                                                             const std::array<double, 3>& ideal);

// The total: dilute-gas + residual + enhancement, with the viscosity of
// MethanolViscosity(T, rho) in the enhancement. W/(m K).
double MethanolConductivity(double T, double rho, const MethanolCriticalInputs& in);

// Constants of the methanol equation of state that MethanolCriticalInputsFromEos uses.
inline constexpr double kMethanolEosTred = kMethanolConstants.Tred;      // K
inline constexpr double kMethanolEosRhored = kMethanolConstants.rhored;  // mol/m3
inline constexpr double kMethanolEosR = kMethanolConstants.R;            // J/(mol K)
inline constexpr double kMethanolMolarMass = kMethanolConstants.M;       // g/mol

}  // namespace kelvane
