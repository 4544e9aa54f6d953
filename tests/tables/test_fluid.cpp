#include "test_fluid.h"

#include <cmath>

#include "core/fluid_model.h"
#include "core/format.h"
#include "forms/main_form.h"

namespace kelvane::testfluid {

namespace {

constexpr double kSaturationLimit = 500;  // K

constexpr const FluidConstants& kC = kWaterConstants;

double Temperature(double tau) { return kC.Tred / tau; }

FluidOperations Operations() {
    FluidOperations ops;
    ops.MeltingPressure = [](double) { return Quantity::With(Status::kNotTreated); };
    // Water's texts stand in for the test fluid's limits.
    ops.CheckTemperature = [](double T) { return T < 200 ? MessageId::kWaterBelowT : MessageId::kNone; };
    ops.CheckState = [](double P, double, double) { return P > 1e9 ? MessageId::kAbove800MPa : MessageId::kNone; };
    ops.Saturation = [](double tau, double) -> SaturationState {
        const double T = Temperature(tau);
        if (T >= kSaturationLimit) return {Status::kOverTc, 0, 0, 0};
        const double ps = TestSaturationPressure(T);
        const double rhov = ps / (kC.R * T);
        return {Status::kValue, ps, rhov, 2 * rhov};
    };
    ops.Pressure = [](double, double, double, const PointContext&) { return 1.0; };
    ops.Properties = [](const PointContext& s, double) {
        const double T = Temperature(s.tau);
        const double rho = s.delta * kC.rhored;
        const double P = s.pi * kC.Pred;
        const double R = kC.R;
        const double cp = TestCp(T, P);
        const double cv = cp - R;
        PropertyResults r;
        auto& v = r.values;
        v[kU] = cv * T;
        v[kH] = v[kU] + R * T;
        v[kS] = cp * std::log(T / 300) - R * std::log(P / 1e5);
        v[kF] = v[kU] - T * v[kS];
        v[kG] = v[kH] - T * v[kS];
        v[kCv] = cv;
        v[kCp] = cp;
        v[kZ] = 1;
        v[kFugacity] = 1;
        v[kW] = std::sqrt(cp / cv * R * T / (kC.M / 1000));
        v[kJT] = 0;
        v[kC2] = 0;
        v[kAlpha] = 1 / T;
        v[kKappa] = 1 / (rho * R * T);
        r.secondary[kN] = Quantity::Of(1.0003);
        return r;
    };
    return ops;
}

}  // namespace

double TestCp(double T, double P) { return 8.31451 * (3.5 + T / 1000) + P * 1e-6; }

double TestSaturationPressure(double T) { return 1e5 * std::exp(10 * (1 - 373.15 / T)); }

const Fluid& TestFluid() {
    static const Fluid fluid{0, "test", kC, {200, 1e4, 200, 1e9}, Operations()};
    return fluid;
}

MainForm& UseTestFluid(MainForm& main) {
    main.fluidOverride = &TestFluid();
    return main;
}

}  // namespace kelvane::testfluid
