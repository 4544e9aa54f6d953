#include "fluids/co2/co2_model.h"

#include <cmath>

#include "fluids/co2/co2_eos.h"
#include "fluids/common/helmholtz_fluid.h"

namespace kelvane {

namespace co2 {

namespace {

constexpr double kTripleT = 216.592;         // K
constexpr double kTripleP = 517950;          // Pa
constexpr double kMinT = 216;                // K
constexpr double kMaxT = 1100;               // K
constexpr double kMaxP = 8e8;                // Pa
constexpr double kSaturationMaxT = 304.124;  // K; the equal-area iteration's limit

// Auxiliary equations published with the Span-Wagner equation (1996) for the vapour
// pressure and the saturated liquid and vapour densities, in theta = 1 - T/Tc.
constexpr double kVapourPressureA[] = {-7.0602087, 1.9391218, -1.6463597, -3.2995634};
constexpr double kLiquidDensityA[] = {1.9245108, -0.62385555, -0.32731127, 0.39245142};
constexpr double kLiquidDensityT[] = {0.34, 0.5, 10.0 / 6, 11.0 / 6};
constexpr double kVapourDensityA[] = {-1.7074879, -0.8227467, -4.6008549, -10.111178, -29.742252};
constexpr double kVapourDensityT[] = {0.34, 0.5, 1, 7.0 / 3, 14.0 / 3};

// Melting and sublimation lines of the same publication, in x = T/Tt.
constexpr double kMeltingA[] = {1955.539, 2055.4593};
constexpr double kSublimationA[] = {-14.740846, 2.4327015, -5.3061778};

double VapourStart(double dV) { return dV / 1.95; }

}  // namespace

Quantity MeltingPressure(double tau) {
    const double x = kCo2Constants.Tred / (tau * kTripleT);
    double p;
    if (x >= 1) {
        const double y = x - 1;
        p = kTripleP * (1 + kMeltingA[0] * y + kMeltingA[1] * y * y);
    } else {
        const double t = 1 - x;
        p = kTripleP * std::exp((1 / x) * (kSublimationA[0] * t + kSublimationA[1] * std::pow(t, 1.9) +
                                           kSublimationA[2] * std::pow(t, 2.9)));
    }
    if (p > kMaxP) return Quantity::With(Status::kAbove800MPa);
    return Quantity::Of(p);
}

MessageId CheckTemperature(double T) {
    if (!(T >= kMinT)) return MessageId::kCo2BelowT;  // also a T that is not a number
    if (T > kMaxT) return MessageId::kCo2AboveT;
    return MessageId::kNone;
}

MessageId CheckState(double P, double /*T*/, double meltP) {
    if (meltP != 0 && P > meltP) return MessageId::kFreeze;
    // Also refuses a pressure that is not a number (from a density far beyond the
    // equation of state), which every comparison below would let through.
    if (!(P >= 0)) return MessageId::kDensityNotInadequate;
    if (P > kMaxP) return MessageId::kAbove800MPa;
    return MessageId::kNone;
}

namespace {

// Start values of the phase-equilibrium iterations at tau < 1: the auxiliary vapour
// pressure and the reduced auxiliary saturated densities.
struct SaturationStart {
    double p0, dV, dL;
};

double AuxiliaryPressure(double tau) {
    const double t = 1 - 1 / tau;
    return kCo2Constants.Pc * std::exp(tau * (kVapourPressureA[0] * t + kVapourPressureA[1] * t * std::sqrt(t) +
                                              kVapourPressureA[2] * t * t + kVapourPressureA[3] * t * t * t * t));
}

SaturationStart AuxiliaryStart(double tau) {
    const double t = 1 - 1 / tau;
    const double p0 = AuxiliaryPressure(tau);
    double lnL = 0, lnV = 0;
    for (int i = 0; i < 4; ++i) lnL += kLiquidDensityA[i] * std::pow(t, kLiquidDensityT[i]);
    for (int i = 0; i < 5; ++i) lnV += kVapourDensityA[i] * std::pow(t, kVapourDensityT[i]);
    return {p0, std::exp(lnV), std::exp(lnL)};
}

}  // namespace

double AuxiliarySaturationPressure(double T) {
    const double tau = kCo2Constants.Tc / T;
    return tau > 1 ? AuxiliaryPressure(tau) : 0;
}

SaturationState EqualAreaSaturationState(double tau, double T) {
    if (tau <= 1) return {Status::kOverTc};
    if (tau < kCo2Constants.Tc / kSaturationMaxT) return {Status::kNotAvailable};
    const SaturationStart a = AuxiliaryStart(tau);
    // From these start values the iteration needs one or two passes wherever a
    // saturation state exists. EqualAreaSaturation caps the passes; an iteration that
    // ends at the cap has found no phase equilibrium and is reported as "N/A".
    const EqualAreaResult r = EqualAreaSaturation(Co2ResidualHelmholtz, tau, T, kCo2Constants.R, kCo2Constants.rhored,
                                                  a.p0, a.dV, a.dL, VapourStart);
    if (!r.converged) return {Status::kNotAvailable};
    return {Status::kValue, r.pressure, r.dV * kCo2Constants.rhored, r.dL * kCo2Constants.rhored};
}

SaturationState Saturation(double tau, double T) {
    if (tau <= 1) return {Status::kOverTc};
    // The auxiliary densities follow the coexistence curve up to the critical point,
    // so Newton's method on the equal-area conditions starts close to the solution
    // everywhere below it; the equal-area iteration stands in where it does not
    // converge, and no phase equilibrium of either gives "N/A".
    const SaturationStart a = AuxiliaryStart(tau);
    const NewtonSaturation n = NewtonEqualArea(Co2Residual, tau, T, kCo2Constants.R, kCo2Constants.rhored, a.dV, a.dL);
    if (n.converged) return {Status::kValue, n.pressure, n.dV * kCo2Constants.rhored, n.dL * kCo2Constants.rhored};
    return EqualAreaSaturationState(tau, T);
}

double Pressure(double delta, double tau, double /*pi*/, const PointContext& /*state*/) {
    return 1 + delta * Co2ResidualHelmholtz(1, delta, 0, tau);
}

double PressureSlope(double delta, double tau, const PointContext& /*state*/, double* dZdDelta) {
    const ResidualDerivatives r = Co2Residual(delta, tau, kOrderD | kOrderDD);
    *dZdDelta = r.rD + delta * r.rDD;
    return 1 + delta * r.rD;
}

}  // namespace co2

const FluidOperations& Co2Operations() {
    static const FluidOperations ops{co2::MeltingPressure,
                                     co2::CheckTemperature,
                                     co2::CheckState,
                                     co2::Saturation,
                                     co2::Pressure,
                                     co2::Properties,
                                     nullptr,
                                     nullptr,
                                     /*saturationDependsOnTemperatureOnly=*/true,
                                     co2::PressureSlope,
                                     co2::StateValues,
                                     co2::AuxiliarySaturationPressure,
                                     SecondaryBit(kEtha) | SecondaryBit(kLambda) | SecondaryBit(kDth)};
    return ops;
}

}  // namespace kelvane
