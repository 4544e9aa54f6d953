// Thermodynamic consistency of every fluid model, through the same operations the
// calculator uses: identities between the energies, and the derived quantities
// against finite differences of the state functions.
//   Cp    = (dH/dT)_P            Cv    = (dU/dT)_rho
//   alpha = -(1/rho)(drho/dT)_P  kappa = (1/rho)(drho/dP)_T
//   JT    = -(dH/dP)_T / Cp      W^2   = (Cp/Cv) (dP/drho_mass)_T
//   S     = -(dG/dT)_P           Z     = P / (rho R T)
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "fluids/registry.h"

using namespace kelvane;

namespace {

struct Point {
    double T, P, rho;
    PropertyResults r;
};

// One state through the calculation itself: its range checks, the saturation state its
// solvers start from, and its solvers, whose answers must be precise enough for the
// identity Z = P/(rho R T) and for finite differences over steps of 2e-5 T.
Point Evaluate(int fluid, double T, double P, double rho, int inputVar) {
    PointInput in;
    in.inputVar = inputVar;
    in.T = T;
    in.P = P;
    in.rho = rho;
    const PointResult r = Calculate(FluidAt(fluid), in);
    EXPECT_TRUE(r.hasProperties) << "fluid " << fluid << " T=" << T << " P=" << P << " rho=" << rho << " message "
                                 << static_cast<int>(r.messages[0]);
    EXPECT_EQ(r.messageCount, 0) << "fluid " << fluid << " T=" << T << " P=" << P << " rho=" << rho;
    return {T, r.state.P, r.state.rho, r.properties};
}

Point AtPressure(int fluid, double T, double P) { return Evaluate(fluid, T, P, 0, 0); }
Point AtDensity(int fluid, double T, double rho) { return Evaluate(fluid, T, 0, rho, 1); }

struct State {
    int fluid;
    double T;  // K
    double P;  // Pa
    const char* what;
};

std::string Name(const State& s) {
    return std::string(FluidAt(s.fluid).constants.name) + " " + s.what + " T=" + std::to_string(s.T) +
           " P=" + std::to_string(s.P);
}

class Consistency : public ::testing::TestWithParam<State> {
protected:
    void SetUp() override { ASSERT_NE(FluidAt(GetParam().fluid).ops.Properties, nullptr); }
};

void ExpectRelative(double actual, double expected, double tol, const char* what, const State& s) {
    EXPECT_NEAR(actual, expected, tol * std::fabs(expected)) << what << " at " << Name(s);
}

}  // namespace

TEST_P(Consistency, IdentitiesHold) {
    const State& s = GetParam();
    const Point p = AtPressure(s.fluid, s.T, s.P);
    const auto& v = p.r.values;
    const double scale =
        std::fabs(v[kU]) + std::fabs(v[kH]) + std::fabs(p.T * v[kS]) + FluidAt(s.fluid).constants.R * p.T;
    EXPECT_NEAR(v[kH], v[kU] + p.P / p.rho, 1e-11 * scale) << "H = U + P/rho at " << Name(s);
    EXPECT_NEAR(v[kG], v[kH] - p.T * v[kS], 1e-11 * scale) << "G = H - T S at " << Name(s);
    EXPECT_NEAR(v[kF], v[kU] - p.T * v[kS], 1e-11 * scale) << "F = U - T S at " << Name(s);
    ExpectRelative(v[kZ], p.P / (p.rho * FluidAt(s.fluid).constants.R * p.T), 1e-9, "Z = P/(rho R T)", s);
    EXPECT_GT(v[kCp], v[kCv]) << Name(s);
    EXPECT_GT(v[kCv], 0) << Name(s);
}

TEST_P(Consistency, TemperatureDerivativesAtConstantPressure) {
    const State& s = GetParam();
    const double h = 2e-5 * s.T;
    const Point c = AtPressure(s.fluid, s.T, s.P);
    const Point lo = AtPressure(s.fluid, s.T - h, s.P);
    const Point hi = AtPressure(s.fluid, s.T + h, s.P);
    const auto& v = c.r.values;
    ExpectRelative(v[kCp], (hi.r.values[kH] - lo.r.values[kH]) / (2 * h), 1e-5, "Cp = dH/dT|P", s);
    ExpectRelative(v[kAlpha], -(hi.rho - lo.rho) / (2 * h) / c.rho, 1e-5, "alpha", s);
    ExpectRelative(v[kS], -(hi.r.values[kG] - lo.r.values[kG]) / (2 * h), 1e-6, "S = -dG/dT|P", s);
}

TEST_P(Consistency, PressureDerivativesAtConstantTemperature) {
    const State& s = GetParam();
    const double h = 1e-4 * s.P;
    const Point c = AtPressure(s.fluid, s.T, s.P);
    const Point lo = AtPressure(s.fluid, s.T, s.P - h);
    const Point hi = AtPressure(s.fluid, s.T, s.P + h);
    const auto& v = c.r.values;
    const double drhodP = (hi.rho - lo.rho) / (2 * h);
    ExpectRelative(v[kKappa], drhodP / c.rho, 1e-5, "kappa", s);
    const double dHdP = (hi.r.values[kH] - lo.r.values[kH]) / (2 * h);
    EXPECT_NEAR(v[kJT], -dHdP / v[kCp], 1e-5 * std::fabs(v[kJT]) + 1e-12) << "JT at " << Name(s);
    // Speed of sound from the isothermal slope and the heat-capacity ratio (mass density).
    const double dPdRhoMass = 1 / (drhodP * FluidAt(s.fluid).constants.M * 1e-3);
    ExpectRelative(v[kW], std::sqrt(v[kCp] / v[kCv] * dPdRhoMass), 1e-5, "W", s);
}

TEST_P(Consistency, IsochoricHeatCapacityAtConstantDensity) {
    const State& s = GetParam();
    const Point c = AtPressure(s.fluid, s.T, s.P);
    const double h = 2e-5 * s.T;
    const Point lo = AtDensity(s.fluid, s.T - h, c.rho);
    const Point hi = AtDensity(s.fluid, s.T + h, c.rho);
    ExpectRelative(c.r.values[kCv], (hi.r.values[kU] - lo.r.values[kU]) / (2 * h), 1e-5, "Cv = dU/dT|rho", s);
    // The density form of the same state reproduces the pressure form.
    const Point d = AtDensity(s.fluid, s.T, c.rho);
    ExpectRelative(d.P, s.P, 1e-9, "P(T, rho(T, P))", s);
    ExpectRelative(d.r.values[kH], c.r.values[kH], 1e-8, "H in both input modes", s);
}

// States spread over each fluid's accepted range, away from phase and region
// boundaries so that the central differences stay on one surface.
INSTANTIATE_TEST_SUITE_P(
    AllFluids, Consistency,
    ::testing::Values(State{0, 300, 10e6, "liquid (region 1)"}, State{0, 550, 80e6, "compressed liquid (region 1)"},
                      State{0, 400, 0.05e6, "vapour (region 2)"}, State{0, 800, 20e6, "superheated (region 2)"},
                      State{0, 1000, 90e6, "dense steam (region 2)"}, State{0, 660, 40e6, "region 3 liquid-like"},
                      State{0, 700, 30e6, "region 3 supercritical"}, State{0, 1500, 5e6, "high temperature (region 5)"},
                      State{0, 2200, 0.5e6, "high temperature (region 5)"}, State{1, 298.15, 0.1e6, "liquid"},
                      State{1, 200, 100e6, "cold compressed liquid"}, State{1, 400, 0.01e6, "gas"},
                      State{1, 450, 5e6, "liquid near boiling"}, State{1, 550, 20e6, "supercritical"},
                      State{1, 400, 600e6, "high pressure"}, State{1, 600, 0.1e6, "hot gas"}, State{2, 250, 1e6, "gas"},
                      State{2, 280, 10e6, "liquid"}, State{2, 350, 20e6, "supercritical"},
                      State{2, 280, 300e6, "compressed liquid"}, State{2, 1000, 100e6, "hot dense"},
                      State{2, 1090, 0.1e6, "hot dilute"}, State{2, 310, 9e6, "near-critical supercritical"}),
    [](const ::testing::TestParamInfo<State>& info) {
        std::string n = std::string(FluidAt(info.param.fluid).constants.name) + "_" + std::to_string(info.index);
        return n;
    });
