// Property evaluation for carbon dioxide: the 14 thermodynamic results of the
// Span-Wagner equation, the correlation length of the critical fluctuations, and the
// viscosity, thermal conductivity and thermal diffusivity with their critical
// enhancements (Fenghour-Wakeham-Vesovic 1998, Vesovic et al. 1990).
#include <cmath>

#include "core/format.h"
#include "fluids/co2/co2_critical.h"
#include "fluids/co2/co2_eos.h"
#include "fluids/co2/co2_model.h"
#include "fluids/co2/co2_transport.h"
#include "fluids/common/helmholtz_fluid.h"

namespace kelvane::co2 {

namespace {

constexpr double kXi0 = 1.5e-10;                  // correlation-length amplitude, m
constexpr double kInvGamma = 19.23076923076923;   // 1 / Gamma, Gamma = 0.052
constexpr double kNuOverGamma = 0.5074506645187273;  // nu / gamma = 0.63 / 1.2415
constexpr double kTauRef = 2.0 / 3.0;             // reference temperature 1.5 Tc
constexpr double kDampingT = 445;                 // K
constexpr double kDampingRate = 0.1;              // 1/K
constexpr double kLowDensity = 5;                 // kg/m3

// 1 + 2 delta phir_d + delta^2 phir_dd, the reduced isothermal stiffness.
double Stiffness(double delta, double tau) {
    const ResidualDerivatives r = Co2Residual(delta, tau, kOrderD | kOrderDD);
    return 1 + 2 * delta * r.rD + delta * delta * r.rDD;
}

// Viscosity range of the 1998 correlation: up to 300 MPa to 1000 K, 30 MPa above.
bool ViscosityInRange(double T, double P) { return (T <= 1000 && P <= 3e8) || (T > 1000 && P <= 3e7); }

std::string NotAvailable(double background) { return "N/A (" + FormatDisplay(background) + ")"; }

}  // namespace

double CorrelationLength(double delta, double tau) {
    const double Zc = calc.Pc / (calc.rhoc * calc.R * calc.Tc);
    const double YR = Stiffness(delta, kTauRef);
    const bool hot = calc.T >= kDampingT;
    // Above 445 K the susceptibility is taken at 445 K and the result damped.
    const double Y = hot ? Stiffness(delta, calc.Tc / kDampingT) : Stiffness(delta, tau);
    const double dchi = Zc * delta * (1 / Y - tau / (kTauRef * YR));
    if (dchi < 0) return 0;
    double xi = kXi0 * std::pow(kInvGamma * dchi, kNuOverGamma);
    if (hot) xi *= std::exp((kDampingT - calc.T) * kDampingRate);
    return xi;
}

PropertyResults Properties(double delta, double tau, double /*pi*/, const std::string& /*wavelength*/) {
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

    PropertyResults out;
    out.values = HelmholtzProperties(h, delta, tau, calc.R, calc.T, calc.rho, calc.M, calc.rhored);

    const double xi = CorrelationLength(delta, tau);
    const double Cp = out.values[kCp];
    const double cp = Cp / calc.M * 1000;
    const double cv = out.values[kCv] / calc.M * 1000;
    const double etaBar = BackgroundViscosity(delta, tau);
    const double lambdaBar = BackgroundConductivity(delta, tau);

    // eta is the viscosity handed to the conductivity enhancement: the enhanced value
    // where one is shown, else the background value (also outside the viscosity range).
    double eta = etaBar;
    SecondaryResults& s = out.secondary;
    if (!ViscosityInRange(calc.T, calc.P)) {
        s.etha = "Not treat.";
    } else {
        const double delta5 = (kLowDensity / calc.M * 1000) / calc.rhored;
        if (delta < delta5) {
            // Below 5 kg/m3 the enhancement at 5 kg/m3 is scaled linearly to zero density.
            // When the enhanced viscosity at 5 kg/m3 cannot be determined (-1, or any
            // non-positive value) the text is the same "N/A (background)" as above it.
            const double eta5 = CriticalViscosity(delta5, tau, etaBar, lambdaBar, xi, cp, cv);
            if (eta5 > 0) {
                eta = etaBar + (delta / delta5) * (eta5 - BackgroundViscosity(delta5, tau));
                s.etha = FormatDisplay(eta);
            } else {
                s.etha = NotAvailable(etaBar);
            }
        } else if (xi == 0) {
            s.etha = FormatDisplay(etaBar);
        } else {
            const double etaC = CriticalViscosity(delta, tau, etaBar, lambdaBar, xi, cp, cv);
            if (etaC > 0) {
                eta = etaC;
                s.etha = FormatDisplay(etaC);
            } else {
                s.etha = NotAvailable(etaBar);
            }
        }
    }

    // -1 is the failure value of the enhancement; a non-finite value (a root outside the
    // range of the closed-form integral) is no result either.
    const double dLambda = ConductivityEnhancement(delta, tau, etaBar, eta, lambdaBar, xi, cp, cv);
    if (dLambda == -1 || !std::isfinite(dLambda)) {
        s.lambda = "N/A";
    } else {
        const double lambda = lambdaBar + dLambda;
        s.lambda = FormatDisplay(lambda);
        s.Dth = FormatDisplay(lambda / (Cp * delta * calc.rhored));
    }
    return out;
}

}  // namespace kelvane::co2
