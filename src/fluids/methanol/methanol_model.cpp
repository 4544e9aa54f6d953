#include "fluids/methanol/methanol_model.h"

#include <cmath>

#include "core/format.h"
#include "fluids/common/helmholtz_fluid.h"
#include "fluids/methanol/methanol_conductivity.h"
#include "fluids/methanol/methanol_eos.h"
#include "fluids/methanol/methanol_viscosity.h"

namespace kelvane {

namespace {

constexpr double kTriplePointT = 175.61;          // K
constexpr double kTriplePointP = 0.187;           // Pa, melting equation at x = 0
constexpr double kMaxT = 620;                     // K
constexpr double kMeltingDisplayLimit = 2.5e8;    // Pa
constexpr double kAuxDensityScale = 8710;         // mol/m3
constexpr double kDensityStartT = 500;            // K: saturation starts from delta = 1 above

// Melting pressure: p = pt (1 + x (a + b sqrt(x) + c x^3) 1e9), x = T/Tt - 1.
std::string MeltingPressure(double tau) {
    const double T = calc.Tred / tau;
    double x = T / kTriplePointT - 1;
    // T = Tred / (Tred / Tt) may come back an ulp below Tt.
    if (x < 0 && x > -1e-12) x = 0;
    const double pm =
        kTriplePointP * (1 + 1e9 * x * (5.32077 + 4.52478 * std::sqrt(x) + 38.88861 * x * x * x));
    if (pm > kMeltingDisplayLimit) return ">250MPa";
    return FormatFile(pm);
}

std::string CheckTemperature(double T) {
    if (!(T >= kTriplePointT)) return "Not applied to the range less than Tt (175.61 K).";
    if (T > kMaxT) return "Not applied to the range more than 620 K.";
    return "";
}

std::string CheckState(double P, double T) {
    if (calc.meltP != 0 && P > calc.meltP) return "Suppose to freeze.";
    if (!(P >= 0)) return "This density is not adequate.";
    if (P > 8e8) return "Not applied to the range more than 800 MPa.";
    if (P > 2.5e8 && !(T >= 300)) return "Not applied to the range more than 250 MPa in 207 K < T < 300 K.";
    if (P > 2e5 && T > 570) return "Not applied to the range more than 0.2 MPa in 570 K < T <= 620 K.";
    return "";
}

// Auxiliary saturation pressure (Pa): ln(ps/Pc) = Tr (A1 x + A2 x^1.5 + A3 x^2 + A4 x^2.5)
// with x = 1/Tr - 1.
double AuxSaturationPressure(double Tr) {
    const double x = 1 / Tr - 1;
    const double s = std::sqrt(x);
    const double sum = x * (-8.8738823 + s * (2.3698322 + s * (-10.852598 + s * -0.12446396)));
    return calc.Pc * std::exp(Tr * sum);
}

// Auxiliary saturated-vapour density over 8710 mol/m3, theta = 1 - Tr.
double AuxVapourDensity(double Tr) {
    struct Row {
        double B, e;
    };
    constexpr Row kRows[] = {
        {-9.74320519,  1.0 / 6},
        { 62.7207077,  1.0 / 3},
        {-711.162934,  2.0 / 3},
        {-12873.2378,  7.0 / 6},
        { 9540.90636,  3.0 / 2},
        {-80622.9292,  5.0 / 2},
        { 89038.0974,  8.0 / 3},
        {-26882.7787,  7.0 / 2},
        { 15339.2797,  5},
        {-13918.6128,  6},
        {-8774.28382,  15},
        { 9258.53159,  21},
    };
    constexpr double kLnTr = -7361.56195;
    const double theta = 1 - Tr;
    double sum = kLnTr * std::log(Tr);
    for (const Row& r : kRows) sum += r.B * std::pow(theta, r.e);
    return std::exp(sum);
}

// Start value for the saturated-liquid search over 8710 mol/m3, theta = 1 - Tr. Without
// a constant term it lies at roughly 0.4-0.7 of the saturated-liquid density; the
// liquid search starts at 1.9 times it, which brackets the liquid root.
double AuxLiquidStart(double Tr) {
    struct Row {
        double C, f;
    };
    constexpr Row kRows[] = {
        { 1.8145364,  1.0 / 3},
        { 1.2703194,  2.0 / 3},
        {-1.0182657,  4.0 / 3},
        { 2.756272,  11.0 / 3},
        {-1.8958692, 13.0 / 3},
    };
    const double theta = 1 - Tr;
    double sum = 0;
    for (const Row& r : kRows) sum += r.C * std::pow(theta, r.f);
    return sum;
}

// The vapour search starts at dV / 1.95, so that it runs from near zero up to just
// above the previous vapour density.
double VapourStart(double dV) { return dV * 0.5128205128205128; }

}  // namespace

EqualAreaResult MethanolSaturationState(double tau) {
    const double T = calc.Tred / tau;
    const double Tr = T / calc.Tc;
    const double ps = AuxSaturationPressure(Tr);
    double dV = 1, dL = 1;
    if (!(T > kDensityStartT)) {
        dV = AuxVapourDensity(Tr) * kAuxDensityScale / calc.rhored;
        dL = AuxLiquidStart(Tr) * kAuxDensityScale / calc.rhored;
    }
    return EqualAreaSaturation(&MethanolResidualHelmholtz, tau, T, calc.R, calc.rhored, ps, dV,
                               dL, &VapourStart);
}

namespace {

SaturationResult Saturation(double tau) {
    if (calc.Tred / tau / calc.Tc >= 1) return {"over Tc", "over Tc", "over Tc"};
    const EqualAreaResult s = MethanolSaturationState(tau);
    return {FormatFile(s.pressure), FormatFile(s.dV * calc.rhored), FormatFile(s.dL * calc.rhored)};
}

// Viscosity, thermal conductivity and thermal diffusivity texts at T (K), P (Pa) and
// mass density rho (kg/m3); rhoCp is the volumetric isobaric heat capacity, J/(m3 K).
// Each is "N/A" outside its correlation's stated range.
SecondaryResults TransportResults(double T, double P, double rho, double rhoCp) {
    SecondaryResults s;
    const double eta = MethanolViscosity(T, rho);
    s.etha = kMethanolViscosityRange.Contains(T, P) ? FormatDisplay(eta) : "N/A";
    const double lambda = MethanolDiluteConductivity(T) + MethanolResidualConductivity(T, rho) +
                          MethanolConductivityEnhancement(T, rho, eta, MethanolCriticalInputsFromEos(T, rho));
    const bool ok = kMethanolConductivityRange.Contains(T, P) && std::isfinite(lambda) && lambda > 0 && rhoCp > 0;
    s.lambda = ok ? FormatDisplay(lambda) : "N/A";
    s.Dth = ok ? FormatDisplay(lambda / rhoCp) : "N/A";
    return s;
}

double Pressure(double delta, double tau, double /*pi*/) {
    return 1 + delta * MethanolResidualHelmholtz(1, delta, 0, tau);
}

PropertyResults Properties(double delta, double tau, double /*pi*/, const std::string& /*wavelength*/) {
    const ResidualDerivatives r = MethanolResidual(delta, tau, kOrderAll);
    const std::array<double, 3> ideal = MethanolIdealDerivatives(tau);
    ReducedHelmholtz h{};
    h.r = r.r;
    h.rD = r.rD;
    h.rDD = r.rDD;
    h.rDT = r.rDT;
    h.virial = MethanolResidualHelmholtz(0, 0, -2, tau);
    h.phi = h.r + ideal[0] + std::log(kMethanolIdealDensityScale * delta);
    h.phiT = r.rT + ideal[1];
    h.phiTT = r.rTT + ideal[2];

    PropertyResults out;
    out.values = HelmholtzProperties(h, delta, tau, calc.R, calc.T, calc.rho, calc.M, calc.rhored);
    out.secondary = TransportResults(calc.T, calc.P, calc.rho * calc.M / 1000, calc.rho * out.values[kCp]);
    return out;
}

}  // namespace

const FluidOperations& MethanolOperations() {
    static const FluidOperations ops = [] {
        FluidOperations o;
        o.MeltingPressure = &MeltingPressure;
        o.CheckTemperature = &CheckTemperature;
        o.CheckState = &CheckState;
        o.Saturation = &Saturation;
        o.Pressure = &Pressure;
        o.Properties = &Properties;
        o.saturationDependsOnTemperatureOnly = true;
        return o;
    }();
    return ops;
}

}  // namespace kelvane
