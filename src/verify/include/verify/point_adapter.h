// The verification's only link to how a state point is computed. Every check of the
// report obtains its numbers here, so that the report follows the calculation the
// windows run and nothing else.
#pragma once

#include <array>
#include <string>

namespace kelvane::verify {

// One state point in SI molar units; NaN for every value the calculation did not give.
struct PointResult {
    // The 14 results in the order of PropertyIndex: F, U, H, G (J/mol), S, Cv, Cp
    // (J/(mol K)), Z, f/P, w (m/s), JT (K/Pa), B (m3/mol), alpha (1/K), kappa (1/Pa).
    std::array<double, 14> values;
    double P, rho;                  // Pa, mol/m3 (given or solved)
    double satP, satRhoV, satRhoL;  // saturation at T: Pa, mol/m3
    double eta, lambda;             // Pa s, W/(m K)
    double eps, pKw, n;             // dielectric constant, -log10 Kw, refractive index
    std::string message;            // the calculation's message line (empty: accepted)
    bool computed = false;          // the 14 results are present
};

// The point calculation (Calculate) of fluid 0 water, 1 methanol, 2 carbon dioxide at
// T (K) with either the pressure P (Pa, when > 0) or the molar density rho (mol/m3)
// given, the refractive index at `wavelength` nm; the numbers as the calculation gives
// them. With `outsideRange` the range and melting checks are passed over, for published
// states that the calculation refuses (carbon dioxide on its melting line): the fluid
// operations are called in the calculation's order with an explicit state, and the
// saturation values are not given.
PointResult VerifyPoint(int fluid, double T, double P, double rho, double wavelength = 589, bool outsideRange = false);

// Published equations the report checks below the level of a whole point: an auxiliary
// equation, a correlation at a published (T, rho) outside the calculator's accepted
// range, or one part of a correlation that the calculation only shows summed.
enum class Formula {
    kB23Pressure,                  // IF97 2-3 boundary p(T), Pa
    kSaturationPressure,           // IF97 saturation-pressure equation ps(T), Pa
    kWaterDielectric,              // epsilon(T, rho)
    kWaterRefractive,              // n(T, rho, wavelength)
    kWaterViscosity,               // eta(T, rho), Pa s
    kWaterConductivityBackground,  // lambda without critical enhancement, W/(m K)
    kCo2ViscosityBackground,       // Fenghour et al. without critical term, Pa s
    kMethanolViscosity,            // Xiang et al. eta(T, rho), Pa s
    kMethanolConductivity,         // Sykioti et al. lambda(T, rho) with enhancement, W/(m K)
};
// x: the molar density in mol/m3 (unused by the two pressure equations).
double VerifyFormula(Formula f, double T, double x, double wavelength = 589);

}  // namespace kelvane::verify
