// Property evaluation for carbon dioxide: the 14 thermodynamic results of the
// Span-Wagner equation, the correlation length of the critical fluctuations, and the
// viscosity, thermal conductivity and thermal diffusivity with their critical
// enhancements (Fenghour-Wakeham-Vesovic 1998, Vesovic et al. 1990).
#include <cmath>

#include "fluids/co2/co2_critical.h"
#include "fluids/co2/co2_eos.h"
#include "fluids/co2/co2_model.h"
#include "fluids/co2/co2_transport.h"
#include "fluids/common/helmholtz_fluid.h"

namespace kelvane::co2 {

namespace {

constexpr double kXi0 = 1.5e-10;                     // correlation-length amplitude, m
constexpr double kInvGamma = 19.23076923076923;      // 1 / Gamma, Gamma = 0.052
constexpr double kNuOverGamma = 0.5074506645187273;  // nu / gamma = 0.63 / 1.2415
constexpr double kTauRef = 2.0 / 3.0;                // reference temperature 1.5 Tc
constexpr double kDampingT = 445;                    // K
constexpr double kDampingRate = 0.1;                 // 1/K
constexpr double kLowDensity = 5;                    // kg/m3

// 1 + 2 delta phir_d + delta^2 phir_dd, the reduced isothermal stiffness.
double Stiffness(double delta, double tau) {
    const ResidualDerivatives r = Co2Residual(delta, tau, kOrderD | kOrderDD);
    return 1 + 2 * delta * r.rD + delta * delta * r.rDD;
}

// Viscosity range of the 1998 correlation: up to 300 MPa to 1000 K, 30 MPa above.
bool ViscosityInRange(double T, double P) { return (T <= 1000 && P <= 3e8) || (T > 1000 && P <= 3e7); }

Quantity NotAvailable(double background) { return {Status::kNotAvailableBackground, background}; }

constexpr const FluidConstants& kC = kCo2Constants;

}  // namespace

double CorrelationLength(double delta, double tau, double T) {
    const double Zc = kC.Pc / (kC.rhoc * kC.R * kC.Tc);
    const double YR = Stiffness(delta, kTauRef);
    const bool hot = T >= kDampingT;
    // Above 445 K the susceptibility is taken at 445 K and the result damped.
    const double Y = hot ? Stiffness(delta, kC.Tc / kDampingT) : Stiffness(delta, tau);
    const double dchi = Zc * delta * (1 / Y - tau / (kTauRef * YR));
    if (dchi < 0) return 0;
    double xi = kXi0 * std::pow(kInvGamma * dchi, kNuOverGamma);
    if (hot) xi *= std::exp((kDampingT - T) * kDampingRate);
    return xi;
}

std::array<double, kPropertyCount> StateValues(const PointContext& st) {
    const double delta = st.delta, tau = st.tau;
    const ResidualDerivatives r = Co2Residual(delta, tau, kOrderAll);
    const std::array<double, 3> ideal = Co2IdealDerivatives(tau);
    ReducedHelmholtz h{};
    h.r = r.r;
    h.phi = r.r + ideal[0] + std::log(delta);
    h.phiT = r.rT + ideal[1];
    h.phiTT = r.rTT + ideal[2];
    h.rD = r.rD;
    h.rDD = r.rDD;
    h.rDT = r.rDT;
    h.virial = Co2ResidualHelmholtz(0, 0, -2, tau);

    return HelmholtzProperties(h, delta, tau, kC.R, st.T, st.rho, kC.M, kC.rhored);
}

PropertyResults Properties(const PointContext& st, double /*wavelength*/) {
    const double delta = st.delta, tau = st.tau;
    PropertyResults out;
    out.values = StateValues(st);

    const double xi = CorrelationLength(delta, tau, st.T);
    const double Cp = out.values[kCp];
    const double cp = Cp / kC.M * 1000;
    const double cv = out.values[kCv] / kC.M * 1000;
    const double etaBar = BackgroundViscosity(delta, tau, st.T);
    const double lambdaBar = BackgroundConductivity(delta, tau);

    // eta is the viscosity handed to the conductivity enhancement: the enhanced value
    // where one is shown, else the background value (also outside the viscosity range).
    double eta = etaBar;
    auto& s = out.secondary;
    if (!ViscosityInRange(st.T, st.P)) {
        s[kEtha] = Quantity::With(Status::kNotTreated);
    } else {
        const double delta5 = (kLowDensity / kC.M * 1000) / kC.rhored;
        if (delta < delta5) {
            // Below 5 kg/m3 the enhancement at 5 kg/m3 is scaled linearly to zero density.
            // When the enhanced viscosity at 5 kg/m3 cannot be determined (-1, or any
            // non-positive value) the text is the same "N/A (background)" as above it.
            const double eta5 = CriticalViscosity(delta5, tau, etaBar, lambdaBar, xi, cp, cv);
            if (eta5 > 0) {
                eta = etaBar + (delta / delta5) * (eta5 - BackgroundViscosity(delta5, tau, st.T));
                s[kEtha] = Quantity::Of(eta);
            } else {
                s[kEtha] = NotAvailable(etaBar);
            }
        } else if (xi == 0) {
            s[kEtha] = Quantity::Of(etaBar);
        } else {
            const double etaC = CriticalViscosity(delta, tau, etaBar, lambdaBar, xi, cp, cv);
            if (etaC > 0) {
                eta = etaC;
                s[kEtha] = Quantity::Of(etaC);
            } else {
                s[kEtha] = NotAvailable(etaBar);
            }
        }
    }

    // -1 is the failure value of the enhancement; a non-finite value (a root outside the
    // range of the closed-form integral) is no result either.
    const double dLambda = ConductivityEnhancement(delta, tau, etaBar, eta, lambdaBar, xi, cp, cv);
    if (dLambda == -1 || !std::isfinite(dLambda)) {
        s[kLambda] = Quantity::With(Status::kNotAvailable);
    } else {
        const double lambda = lambdaBar + dLambda;
        s[kLambda] = Quantity::Of(lambda);
        s[kDth] = Quantity::Of(lambda / (Cp * delta * kC.rhored));
    }
    return out;
}

}  // namespace kelvane::co2
