#include "fluids/methanol/methanol_conductivity.h"

#include <array>
#include <cmath>
#include <numbers>

#include "fluids/common/helmholtz_fluid.h"
#include "fluids/methanol/methanol_eos.h"

namespace kelvane {

namespace {

// Critical constants with which the correlation reduces T and rho and scales the
// susceptibility of its critical enhancement (not the reducing values 513.38 K and
// 281.50 kg/m3 of the equation of state).
constexpr double kTc = 512.6;                // K
constexpr double kRhoC = 275.563;            // kg/m3
constexpr double kPc = 8.1035e6;             // Pa
constexpr double kBoltzmann = 1.380649e-23;  // J/K

// Dilute gas: lambda0 = sum_{i=0..5} a_i Tr^i / sum_{i=0..4} b_i Tr^i in mW/(m K),
// Tr = T / Tc.
constexpr double kDiluteA[6] = {-3.57796, 62.9638, -37.3047, -52.1182, 231.607, 44.1575};
constexpr double kDiluteB[5] = {3.33313, -6.08398, 8.18739, -0.261074, 1};

// Residual part: sum_{i=1..5} (B1_i + B2_i Tr) rho_r^i in W/(m K), rho_r = rho / rhoc.
// clang-format off
constexpr struct {
    int i;
    double B1, B2;
} kResidual[5] = {
    {1,  5.56918e-2,  1.04771e-2},
    {2,  1.12174e-1, -7.45272e-2},
    {3, -8.43893e-2,  6.37569e-2},
    {4,  1.97525e-2, -2.46826e-2},
    {5, -1.52530e-3,  4.34656e-3},
};
// clang-format on

// Critical enhancement (simplified Olchowy-Sengers): universal exponents and amplitude
// ratio, the correlation length amplitude and susceptibility amplitude of methanol,
// and the effective cutoff wavelength qD^-1, the only parameter fitted to data (0.7 nm).
constexpr double kNu = 0.63;
constexpr double kGamma = 1.239;
constexpr double kRD = 1.03;
constexpr double kXi0 = 0.1487e-9;      // m
constexpr double kGammaAmp = 0.05283;   // Gamma
constexpr double kQdInverse = 0.70e-9;  // m

}  // namespace

double MethanolDiluteConductivity(double T) {
    const double tr = T / kTc;
    double num = 0, den = 0, p = 1;
    for (int i = 0; i < 6; ++i) {
        num += kDiluteA[i] * p;
        if (i < 5) den += kDiluteB[i] * p;
        p *= tr;
    }
    return num / den * 1e-3;
}

double MethanolResidualConductivity(double T, double rho) {
    const double tr = T / kTc, rhoR = rho / kRhoC;
    double sum = 0, p = 1;
    for (const auto& r : kResidual) {
        p *= rhoR;
        sum += (r.B1 + r.B2 * tr) * p;
    }
    return sum;
}

double MethanolConductivityEnhancement(double T, double rho, double eta, const MethanolCriticalInputs& in) {
    // A mechanically unstable state (inside the spinodal) has no enhancement.
    if (!(in.drhodP > 0) || !std::isfinite(in.drhodP)) return std::nan("");
    const double dchi = kPc * rho / (kRhoC * kRhoC) * (in.drhodP - kMethanolConductivityTref / T * in.drhodPRef);
    if (!(dchi > 0)) return 0;
    const double xi = kXi0 * std::pow(dchi / kGammaAmp, kNu / kGamma);
    const double y = xi / kQdInverse;  // qD xi
    const double omega = 2 / std::numbers::pi * ((in.cp - in.cv) / in.cp * std::atan(y) + in.cv / in.cp * y);
    const double rr = kRhoC / rho;
    const double omega0 = 2 / std::numbers::pi * (1 - std::exp(-1 / (1 / y + y * y * rr * rr / 3)));
    return rho * in.cp * kRD * kBoltzmann * T / (6 * std::numbers::pi * eta * xi) * (omega - omega0);
}

MethanolCriticalInputs MethanolCriticalInputsFromDerivatives(double T, double delta, double tau,
                                                             const ResidualDerivatives& r,
                                                             const std::array<double, 3>& ideal) {
    const double perKg = 1000 / kMethanolMolarMass;  // (J/(mol K)) -> (J/(kg K))
    const double stiffness = 1 + 2 * delta * r.rD + delta * delta * r.rDD;
    const double e = 1 + delta * r.rD - delta * tau * r.rDT;
    const double cvMolar = -kMethanolEosR * tau * tau * (ideal[2] + r.rTT);

    const double tauRef = kMethanolEosTred / kMethanolConductivityTref;
    const ResidualDerivatives ref = MethanolResidual(delta, tauRef, kOrderD | kOrderDD);
    const double stiffnessRef = 1 + 2 * delta * ref.rD + delta * delta * ref.rDD;

    MethanolCriticalInputs in;
    in.cv = cvMolar * perKg;
    in.cp = (cvMolar + kMethanolEosR * e * e / stiffness) * perKg;
    // (d rho / d P)_T = M / (R T stiffness), mass density over pressure.
    in.drhodP = kMethanolMolarMass * 1e-3 / (kMethanolEosR * T * stiffness);
    in.drhodPRef = kMethanolMolarMass * 1e-3 / (kMethanolEosR * kMethanolConductivityTref * stiffnessRef);
    return in;
}

MethanolCriticalInputs MethanolCriticalInputsFromEos(double T, double rho) {
    const double delta = rho / kMethanolMolarMass * 1000 / kMethanolEosRhored;
    const double tau = kMethanolEosTred / T;
    return MethanolCriticalInputsFromDerivatives(T, delta, tau, MethanolResidual(delta, tau, kOrderAll),
                                                 MethanolIdealDerivatives(tau));
}

double MethanolConductivity(double T, double rho, const MethanolCriticalInputs& in) {
    return MethanolDiluteConductivity(T) + MethanolResidualConductivity(T, rho) +
           MethanolConductivityEnhancement(T, rho, MethanolViscosity(T, rho), in);
}

}  // namespace kelvane
