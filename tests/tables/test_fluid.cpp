#include "test_fluid.h"

#include <cmath>

#include "core/fluid_model.h"
#include "core/format.h"

namespace kelvane::testfluid {

namespace {

constexpr double kSaturationLimit = 500;  // K

double Temperature(double tau) { return calc.Tred / tau; }

FluidOperations Operations() {
    FluidOperations ops;
    ops.MeltingPressure = [](double) -> std::string { return "Not treat."; };
    ops.CheckTemperature = [](double T) -> std::string { return T < 200 ? "T is below 200 K;" : ""; };
    ops.CheckState = [](double P, double) -> std::string { return P > 1e9 ? "P is over 1000 MPa;" : ""; };
    ops.Saturation = [](double tau) -> SaturationResult {
        const double T = Temperature(tau);
        if (T >= kSaturationLimit) return {"over Tc", "over Tc", "over Tc"};
        const double ps = TestSaturationPressure(T);
        const double rhov = ps / (calc.R * T);
        return {FormatFile(ps), FormatFile(rhov), FormatFile(2 * rhov)};
    };
    ops.Pressure = [](double, double, double) { return 1.0; };
    ops.Properties = [](double delta, double tau, double pi, const std::string&) {
        const double T = Temperature(tau);
        const double rho = delta * calc.rhored;
        const double P = pi * calc.Pred;
        const double R = calc.R;
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
        v[kW] = std::sqrt(cp / cv * R * T / (calc.M / 1000));
        v[kJT] = 0;
        v[kC2] = 0;
        v[kAlpha] = 1 / T;
        v[kKappa] = 1 / (rho * R * T);
        r.secondary.n = "1.0003";
        return r;
    };
    return ops;
}

}  // namespace

double TestCp(double T, double P) { return 8.31451 * (3.5 + T / 1000) + P * 1e-6; }

double TestSaturationPressure(double T) { return 1e5 * std::exp(10 * (1 - 373.15 / T)); }

void UseTestFluid() {
    RegisterFluidOperations(0, Operations());
    SelectFluid(0);
}

}  // namespace kelvane::testfluid
