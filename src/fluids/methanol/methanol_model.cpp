#include "fluids/methanol/methanol_model.h"

#include <cmath>

#include "core/solvers.h"
#include "fluids/common/helmholtz_fluid.h"
#include "fluids/methanol/methanol_conductivity.h"
#include "fluids/methanol/methanol_eos.h"
#include "fluids/methanol/methanol_viscosity.h"

namespace kelvane {

namespace {

constexpr double kTriplePointT = 175.61;        // K
constexpr double kTriplePointP = 0.187;         // Pa, melting equation at x = 0
constexpr double kMaxT = 620;                   // K
constexpr double kMeltingDisplayLimit = 2.5e8;  // Pa
constexpr double kAuxDensityScale = 8710;       // mol/m3
constexpr double kDensityStartT = 500;          // K: saturation starts from delta = 1 above

// Melting pressure: p = pt (1 + x (a + b sqrt(x) + c x^3) 1e9), x = T/Tt - 1.
constexpr const FluidConstants& kM = kMethanolConstants;

Quantity MeltingPressure(double tau) {
    const double T = kM.Tred / tau;
    double x = T / kTriplePointT - 1;
    // T = Tred / (Tred / Tt) may come back an ulp below Tt.
    if (x < 0 && x > -1e-12) x = 0;
    const double pm = kTriplePointP * (1 + 1e9 * x * (5.32077 + 4.52478 * std::sqrt(x) + 38.88861 * x * x * x));
    if (pm > kMeltingDisplayLimit) return Quantity::With(Status::kAbove250MPa);
    return Quantity::Of(pm);
}

MessageId CheckTemperature(double T) {
    if (!(T >= kTriplePointT)) return MessageId::kMethanolBelowT;
    if (T > kMaxT) return MessageId::kMethanolAboveT;
    return MessageId::kNone;
}

MessageId CheckState(double P, double T, double meltP) {
    if (meltP != 0 && P > meltP) return MessageId::kFreeze;
    if (!(P >= 0)) return MessageId::kDensityNotAdequate;
    if (P > 8e8) return MessageId::kAbove800MPa;
    if (P > 2.5e8 && !(T >= 300)) return MessageId::kMethanolAbove250MPaCold;
    if (P > 2e5 && T > 570) return MessageId::kMethanolAbove02MPaHot;
    return MessageId::kNone;
}

// Auxiliary saturation pressure (Pa): ln(ps/Pc) = Tr (A1 x + A2 x^1.5 + A3 x^2 + A4 x^2.5)
// with x = 1/Tr - 1.
double AuxSaturationPressure(double Tr) {
    const double x = 1 / Tr - 1;
    const double s = std::sqrt(x);
    const double sum = x * (-8.8738823 + s * (2.3698322 + s * (-10.852598 + s * -0.12446396)));
    return kM.Pc * std::exp(Tr * sum);
}

// Auxiliary saturated-vapour density over 8710 mol/m3, theta = 1 - Tr.
double AuxVapourDensity(double Tr) {
    struct Row {
        double B, e;
    };
    // clang-format off
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
    // clang-format on
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
    // clang-format off
    constexpr Row kRows[] = {
        { 1.8145364,  1.0 / 3},
        { 1.2703194,  2.0 / 3},
        {-1.0182657,  4.0 / 3},
        { 2.756272,  11.0 / 3},
        {-1.8958692, 13.0 / 3},
    };
    // clang-format on
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
    const double T = kM.Tred / tau;
    const double Tr = T / kM.Tc;
    const double ps = AuxSaturationPressure(Tr);
    double dV = 1, dL = 1;
    if (!(T > kDensityStartT)) {
        dV = AuxVapourDensity(Tr) * kAuxDensityScale / kM.rhored;
        dL = AuxLiquidStart(Tr) * kAuxDensityScale / kM.rhored;
    }
    return EqualAreaSaturation(&MethanolResidualHelmholtz, tau, T, kM.R, kM.rhored, ps, dV, dL, &VapourStart);
}

NewtonSaturation MethanolSaturationNewton(double tau) {
    const double T = kM.Tred / tau;
    const double Tr = T / kM.Tc;
    const double ps = AuxSaturationPressure(Tr);
    const double RTrhored = kM.rhored * kM.R * T;
    double dV = 0, dL = 0;
    if (!(T > kDensityStartT)) {
        // The start: the auxiliary vapour density, and the liquid density of the
        // auxiliary pressure from 1.9 times the auxiliary liquid start (above the liquid
        // root, where the convex liquid branch takes Newton's steps straight down to
        // it), inside the reach of the liquid search of the equal-area iteration.
        auto pressure = [tau, RTrhored](double x, double* slope) {
            const ResidualDerivatives r = MethanolResidual(x, tau, kOrderD | kOrderDD);
            *slope = (1 + x * (2 * r.rD + x * r.rDD)) * RTrhored;
            return (1 + x * r.rD) * x * RTrhored;
        };
        const double v0 = AuxVapourDensity(Tr) * kAuxDensityScale / kM.rhored;
        const double l0 = AuxLiquidStart(Tr) * kAuxDensityScale / kM.rhored;
        // The auxiliary vapour density is close enough to start from as it is; the
        // liquid start is found to 1e-6, which the equal-area steps then refine.
        const NewtonRoot l = SafeguardedNewton(pressure, ps, 1.9 * l0, 0.9 * l0, 2.9 * l0, 1e-6);
        if (l.converged) {
            dV = v0;
            dL = l.x;
        }
    }
    if (!(dV > 0 && dL > dV)) {
        // Near the critical point (and where the auxiliary start fails): the densities
        // of one pass of the equal-area iteration.
        const EqualAreaResult first =
            EqualAreaSaturation(&MethanolResidualHelmholtz, tau, T, kM.R, kM.rhored, ps, 1, 1, &VapourStart, 1);
        dV = first.dV;
        dL = first.dL;
    }
    return NewtonEqualArea(&MethanolResidual, tau, T, kM.R, kM.rhored, dV, dL);
}

namespace {

SaturationState Saturation(double tau, double /*T*/) {
    if (kM.Tred / tau / kM.Tc >= 1) return {Status::kOverTc};
    const NewtonSaturation n = MethanolSaturationNewton(tau);
    if (n.converged) return {Status::kValue, n.pressure, n.dV * kM.rhored, n.dL * kM.rhored};
    const EqualAreaResult s = MethanolSaturationState(tau);
    return {Status::kValue, s.pressure, s.dV * kM.rhored, s.dL * kM.rhored};
}

// Viscosity, thermal conductivity and thermal diffusivity at T (K), P (Pa) and mass
// density rho (kg/m3); rhoCp is the volumetric isobaric heat capacity, J/(m3 K). Each
// is "not available" outside its correlation's stated range.
// `critical` holds the critical enhancement's inputs of the state.
void TransportResults(double T, double P, double rho, double rhoCp, const MethanolCriticalInputs& critical,
                      std::array<Quantity, kSecondaryCount>& s) {
    const Quantity na = Quantity::With(Status::kNotAvailable);
    const double eta = MethanolViscosity(T, rho);
    s[kEtha] = kMethanolViscosityRange.Contains(T, P) ? Quantity::Of(eta) : na;
    const double lambda = MethanolDiluteConductivity(T) + MethanolResidualConductivity(T, rho) +
                          MethanolConductivityEnhancement(T, rho, eta, critical);
    const bool ok = kMethanolConductivityRange.Contains(T, P) && std::isfinite(lambda) && lambda > 0 && rhoCp > 0;
    s[kLambda] = ok ? Quantity::Of(lambda) : na;
    s[kDth] = ok ? Quantity::Of(lambda / rhoCp) : na;
}

double Pressure(double delta, double tau, double /*pi*/, const PointContext& /*state*/) {
    return 1 + delta * MethanolResidualHelmholtz(1, delta, 0, tau);
}

double PressureSlope(double delta, double tau, const PointContext& /*state*/, double* dZdDelta) {
    const ResidualDerivatives r = MethanolResidual(delta, tau, kOrderD | kOrderDD);
    *dZdDelta = r.rD + delta * r.rDD;
    return 1 + delta * r.rD;
}

// The 14 results of a state with the derivatives they come from.
struct EvaluatedState {
    ResidualDerivatives r;
    std::array<double, 3> ideal;
    std::array<double, kPropertyCount> values;
};

EvaluatedState EvaluateState(const PointContext& st) {
    const double delta = st.delta, tau = st.tau;
    EvaluatedState e;
    const ResidualDerivatives& r = e.r = MethanolResidual(delta, tau, kOrderAll);
    const std::array<double, 3>& ideal = e.ideal = MethanolIdealDerivatives(tau);
    ReducedHelmholtz h{};
    h.r = r.r;
    h.rD = r.rD;
    h.rDD = r.rDD;
    h.rDT = r.rDT;
    h.virial = MethanolResidualHelmholtz(0, 0, -2, tau);
    h.phi = h.r + ideal[0] + std::log(kMethanolIdealDensityScale * delta);
    h.phiT = r.rT + ideal[1];
    h.phiTT = r.rTT + ideal[2];
    e.values = HelmholtzProperties(h, delta, tau, kM.R, st.T, st.rho, kM.M, kM.rhored);
    return e;
}

std::array<double, kPropertyCount> StateValues(const PointContext& st) { return EvaluateState(st).values; }

PropertyResults Properties(const PointContext& st, double /*wavelength*/) {
    PropertyResults out;
    const EvaluatedState e = EvaluateState(st);
    out.values = e.values;
    TransportResults(st.T, st.P, st.rho * kM.M / 1000, st.rho * out.values[kCp],
                     MethanolCriticalInputsFromDerivatives(st.T, st.delta, st.tau, e.r, e.ideal), out.secondary);
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
        o.PressureSlope = &PressureSlope;
        o.StateValues = &StateValues;
        o.secondaryResults = SecondaryBit(kEtha) | SecondaryBit(kLambda) | SecondaryBit(kDth);
        o.AuxiliarySaturationPressure = [](double T) { return T < kM.Tc ? AuxSaturationPressure(T / kM.Tc) : 0.0; };
        return o;
    }();
    return ops;
}

}  // namespace kelvane
