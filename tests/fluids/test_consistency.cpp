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

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/solvers.h"
#include "fluids/registry.h"

using namespace kelvane;

namespace {

struct Point {
    double T, P, rho;
    PropertyResults r;
};

void SetSaturation(double T) {
    calc.T = T;
    calc.tau = calc.Tred / T;
    calc.meltP = ParseLeading(calc.ops.MeltingPressure(calc.tau));
    const SaturationResult s = calc.ops.Saturation(calc.tau);
    calc.satuP = ParseLeading(s.pressure);
    calc.satuRhov = ParseLeading(s.vapourDensity);
    calc.satuRhol = ParseLeading(s.liquidDensity);
}

// The calculator's own solvers: their answers must be precise enough for the identity
// Z = P/(rho R T) and for finite differences over steps of 2e-5 T.
double DensityAt(double T, double P) { return SolveDensity(T, P, calc.satuP, calc.satuRhov, calc.satuRhol); }
double PressureAt(double T, double rho) { return SolvePressure(T, rho, calc.satuP, calc.satuRhov, calc.satuRhol); }

Point Evaluate(double T, double P, double rho, int inputVar, const std::string& wavelength = "589") {
    SetSaturation(T);
    calc.inputVar = inputVar;
    calc.rho = rho;
    if (inputVar == 0)
        rho = DensityAt(T, P);
    else
        P = PressureAt(T, rho);
    calc.P = P;
    calc.rho = rho;
    calc.delta = rho / calc.rhored;
    calc.pi = P / calc.Pred;
    return {T, P, rho, calc.ops.Properties(calc.delta, calc.tau, calc.pi, wavelength)};
}

Point AtPressure(double T, double P) { return Evaluate(T, P, 0, 0); }
Point AtDensity(double T, double rho) { return Evaluate(T, 0, rho, 1); }

struct State {
    int fluid;
    double T;   // K
    double P;   // Pa
    const char* what;
};

std::string Name(const State& s) {
    return std::string(Fluid(s.fluid).name) + " " + s.what + " T=" + std::to_string(s.T) +
           " P=" + std::to_string(s.P);
}

class Consistency : public ::testing::TestWithParam<State> {
protected:
    void SetUp() override {
        RegisterAllFluids();
        SelectFluid(GetParam().fluid);
        ASSERT_NE(calc.ops.Properties, nullptr);
    }
};

void ExpectRelative(double actual, double expected, double tol, const char* what, const State& s) {
    EXPECT_NEAR(actual, expected, tol * std::fabs(expected)) << what << " at " << Name(s);
}

}  // namespace

TEST_P(Consistency, IdentitiesHold) {
    const State& s = GetParam();
    const Point p = AtPressure(s.T, s.P);
    const auto& v = p.r.values;
    const double scale = std::fabs(v[kU]) + std::fabs(v[kH]) + std::fabs(p.T * v[kS]) + calc.R * p.T;
    EXPECT_NEAR(v[kH], v[kU] + p.P / p.rho, 1e-11 * scale) << "H = U + P/rho at " << Name(s);
    EXPECT_NEAR(v[kG], v[kH] - p.T * v[kS], 1e-11 * scale) << "G = H - T S at " << Name(s);
    EXPECT_NEAR(v[kF], v[kU] - p.T * v[kS], 1e-11 * scale) << "F = U - T S at " << Name(s);
    ExpectRelative(v[kZ], p.P / (p.rho * calc.R * p.T), 1e-9, "Z = P/(rho R T)", s);
    EXPECT_GT(v[kCp], v[kCv]) << Name(s);
    EXPECT_GT(v[kCv], 0) << Name(s);
}

TEST_P(Consistency, TemperatureDerivativesAtConstantPressure) {
    const State& s = GetParam();
    const double h = 2e-5 * s.T;
    const Point c = AtPressure(s.T, s.P);
    const Point lo = AtPressure(s.T - h, s.P);
    const Point hi = AtPressure(s.T + h, s.P);
    const auto& v = c.r.values;
    ExpectRelative(v[kCp], (hi.r.values[kH] - lo.r.values[kH]) / (2 * h), 1e-5, "Cp = dH/dT|P", s);
    ExpectRelative(v[kAlpha], -(hi.rho - lo.rho) / (2 * h) / c.rho, 1e-5, "alpha", s);
    ExpectRelative(v[kS], -(hi.r.values[kG] - lo.r.values[kG]) / (2 * h), 1e-6, "S = -dG/dT|P", s);
}

TEST_P(Consistency, PressureDerivativesAtConstantTemperature) {
    const State& s = GetParam();
    const double h = 1e-4 * s.P;
    const Point c = AtPressure(s.T, s.P);
    const Point lo = AtPressure(s.T, s.P - h);
    const Point hi = AtPressure(s.T, s.P + h);
    const auto& v = c.r.values;
    const double drhodP = (hi.rho - lo.rho) / (2 * h);
    ExpectRelative(v[kKappa], drhodP / c.rho, 1e-5, "kappa", s);
    const double dHdP = (hi.r.values[kH] - lo.r.values[kH]) / (2 * h);
    EXPECT_NEAR(v[kJT], -dHdP / v[kCp], 1e-5 * std::fabs(v[kJT]) + 1e-12) << "JT at " << Name(s);
    // Speed of sound from the isothermal slope and the heat-capacity ratio (mass density).
    const double dPdRhoMass = 1 / (drhodP * calc.M * 1e-3);
    ExpectRelative(v[kW], std::sqrt(v[kCp] / v[kCv] * dPdRhoMass), 1e-5, "W", s);
}

TEST_P(Consistency, IsochoricHeatCapacityAtConstantDensity) {
    const State& s = GetParam();
    const Point c = AtPressure(s.T, s.P);
    const double h = 2e-5 * s.T;
    const Point lo = AtDensity(s.T - h, c.rho);
    const Point hi = AtDensity(s.T + h, c.rho);
    ExpectRelative(c.r.values[kCv], (hi.r.values[kU] - lo.r.values[kU]) / (2 * h), 1e-5, "Cv = dU/dT|rho", s);
    // The density form of the same state reproduces the pressure form.
    const Point d = AtDensity(s.T, c.rho);
    ExpectRelative(d.P, s.P, 1e-9, "P(T, rho(T, P))", s);
    ExpectRelative(d.r.values[kH], c.r.values[kH], 1e-8, "H in both input modes", s);
}

// States spread over each fluid's accepted range, away from phase and region
// boundaries so that the central differences stay on one surface.
INSTANTIATE_TEST_SUITE_P(
    AllFluids, Consistency,
    ::testing::Values(
        State{0, 300, 10e6, "liquid (region 1)"}, State{0, 550, 80e6, "compressed liquid (region 1)"},
        State{0, 400, 0.05e6, "vapour (region 2)"}, State{0, 800, 20e6, "superheated (region 2)"},
        State{0, 1000, 90e6, "dense steam (region 2)"}, State{0, 660, 40e6, "region 3 liquid-like"},
        State{0, 700, 30e6, "region 3 supercritical"}, State{0, 1500, 5e6, "high temperature (region 5)"},
        State{0, 2200, 0.5e6, "high temperature (region 5)"},
        State{1, 298.15, 0.1e6, "liquid"}, State{1, 200, 100e6, "cold compressed liquid"},
        State{1, 400, 0.01e6, "gas"}, State{1, 450, 5e6, "liquid near boiling"},
        State{1, 550, 20e6, "supercritical"}, State{1, 400, 600e6, "high pressure"},
        State{1, 600, 0.1e6, "hot gas"},
        State{2, 250, 1e6, "gas"}, State{2, 280, 10e6, "liquid"}, State{2, 350, 20e6, "supercritical"},
        State{2, 230, 300e6, "compressed liquid"}, State{2, 1000, 100e6, "hot dense"},
        State{2, 1100, 0.1e6, "hot dilute"}, State{2, 310, 9e6, "near-critical supercritical"}),
    [](const ::testing::TestParamInfo<State>& info) {
        std::string n = std::string(Fluid(info.param.fluid).name) + "_" + std::to_string(info.index);
        return n;
    });
