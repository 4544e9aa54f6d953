// The water fluid operations: IF97 check values through Properties, range checks,
// saturation by both methods, thermodynamic consistency of every region, the region
// 2-3 boundary, the secondary results and calculations through the main window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/format.h"
#include "forms/main_form.h"
#include "core/solvers.h"
#include "fluids/registry.h"
#include "fluids/water/water_eos.h"
#include "fluids/water/water_model.h"
#include "fluids/water/water_transport.h"
#include "verify/check_values.h"
#include "forms/fields.h"
#include "forms/texts.h"

namespace kelvane {
namespace {

using verify::CheckValue;
using verify::ChecksOf;
using verify::FormulationId;
using verify::kIf97R;  // IF97's own gas constant; the calculator's R / M is 6.0e-8 higher
using Checked = verify::Quantity;  // the checked quantity; Quantity is a result with its status

class WaterModel : public ::testing::Test {};

const Fluid& Water() { return FluidAt(0); }
constexpr const FluidConstants& kC = kWaterConstants;

// The state point of the last calculation of this test (T, P, rho, the saturation
// values at T), as the calculation left it.
PointContext st;
PointResult last;

void StoreSaturation(double T) {
    const SaturationState s = CalculationSaturation(Water(), 1 / T, T);
    st.T = T;
    st.tau = 1 / T;
    st.satuP = s.P;
    st.satuRhov = s.rhov;
    st.satuRhol = s.rhol;
}

// Properties at (T, P) with the pressure given, or at (T, rho in mol/m3) with the
// density given, through the point calculation (range checks, saturation, solvers).
PropertyResults Run(const PointInput& in) {
    last = Calculate(Water(), in);
    st = last.state;
    EXPECT_TRUE(last.hasProperties) << "T=" << in.T << " P=" << in.P << " rho=" << in.rho;
    return last.properties;
}

PropertyResults ByPressure(double T, double P, double wavelength = 589) {
    PointInput in;
    in.T = T;
    in.P = P;
    in.wavelength = wavelength;
    return Run(in);
}

PropertyResults ByDensity(double T, double rho) {
    PointInput in;
    in.inputVar = 1;
    in.T = T;
    in.rho = rho;
    return Run(in);
}

// The operation Properties alone at (T, rho), also inside the coexistence range where
// the calculation stops with its warning: the pressure solved as the calculation
// solves it.
PropertyResults PropertiesAtDensity(double T, double rho) {
    StoreSaturation(T);
    st.inputVar = 1;
    st.rho = st.delta = rho;
    st.pi = st.P = SolvePressure(Water(), st);
    return Water().ops.Properties(st, 589);
}

double KgPerM3(double rho) { return rho * kC.M / 1000; }
double MolPerM3(double kgm3) { return kgm3 / kC.M * 1000; }

// v or p, h, u, s, cp, w in the release's units (m3/kg or MPa, kJ/kg, kJ/(kg K),
// m/s), converted with IF97's own gas constant so that the comparison tests the
// equations rather than the calculator's R / M. The release prints 9 significant
// digits: agreement within half a unit of the last (the shared table's tolerance).
void ExpectReleaseValue(const PropertyResults& r, double T, double P, const CheckValue& c) {
    const auto& x = r.values;
    const double perMass = kIf97R / kC.R;
    double value = 0;
    switch (c.quantity) {
        case Checked::kV: value = x[kZ] * kIf97R * 1000 * T / P; break;
        case Checked::kP: value = x[kZ] * KgPerM3(st.rho) * kIf97R * T / 1000; break;
        case Checked::kH: value = x[kH] * perMass; break;
        case Checked::kU: value = x[kU] * perMass; break;
        case Checked::kS: value = x[kS] * perMass; break;
        case Checked::kCp: value = x[kCp] * perMass; break;
        case Checked::kW: value = x[kW] * std::sqrt(kIf97R / (kC.R / kC.M)); break;
        default: FAIL() << "no IF97 quantity " << verify::QuantityName(c.quantity);
    }
    EXPECT_NEAR(value, verify::PublishedValue(c), verify::Tolerance(c)) << verify::QuantityName(c.quantity);
}

TEST_F(WaterModel, PropertiesReproduceReleaseCheckValues) {
    // Tables 5 (region 1), 15 (region 2) and region 5 of the 1997 release at (T, p), six
    // values per state, and Table 33 (region 3) at (T, rho in kg/m3).
    struct Region {
        FormulationId f;
        int number;
    };
    int states = 0;
    for (const Region& region : {Region{FormulationId::kIf97Region1, 1}, {FormulationId::kIf97Region2, 2},
                                 {FormulationId::kIf97Region5, 5}, {FormulationId::kIf97Region3, 3}}) {
        const std::vector<CheckValue> checks = ChecksOf(region.f);
        ASSERT_EQ(checks.size(), 18u);
        for (size_t i = 0; i < checks.size(); i += 6) {
            const double T = checks[i].T;
            const bool byDensity = checks[i].road == verify::Road::kDensity;
            SCOPED_TRACE("T = " + std::to_string(T) + (byDensity ? " K, rho = " : " K, P = ") +
                         std::to_string(checks[i].x));
            const PropertyResults r = byDensity ? ByDensity(T, MolPerM3(checks[i].x)) : ByPressure(T, checks[i].x * 1e6);
            if (byDensity) {
                ASSERT_EQ(kelvane::Region(st.rho, 1 / T, 0, 0, 0, 0), 3);
                EXPECT_NEAR(st.P / (r.values[kZ] * st.rho * kC.R * T), 1, 1e-12);  // explicit pressure
            } else {
                ASSERT_EQ(kelvane::Region(0, 1 / T, st.P, st.satuP, st.satuRhov, st.satuRhol), region.number);
            }
            for (size_t k = i; k < i + 6; ++k) {
                ASSERT_EQ(checks[k].T, T);
                ASSERT_EQ(checks[k].x, checks[i].x);
                ExpectReleaseValue(r, T, st.P, checks[k]);
            }
            ++states;
        }
    }
    EXPECT_EQ(states, 12);
}

TEST_F(WaterModel, RangeChecksAtTheirLimits) {
    const auto& ops = Water().ops;
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const MessageId none = MessageId::kNone, cold = MessageId::kWaterBelowT, hot = MessageId::kWaterAboveT,
                    high = MessageId::kWaterAbove100MPa, highHot = MessageId::kWaterAbove10MPaHot,
                    negative = MessageId::kDensityNotInadequate;
    EXPECT_STREQ(MessageText(cold), "Not applied to the range less than 273.15 K.");
    EXPECT_STREQ(MessageText(hot), "Not applied to the range more than 2273.15 K.");
    EXPECT_STREQ(MessageText(high), "Not applied to the range more than 100 MPa.");
    EXPECT_STREQ(MessageText(highHot), "Not applied to the range more than 10 MPa in 1073.15 K < T <= 2273.15 K.");
    EXPECT_STREQ(MessageText(negative), "This density is not inadequate.");
    EXPECT_EQ(ops.MeltingPressure(1 / 300.0).status, Status::kNotTreated);
    EXPECT_EQ(StatusText(ops.MeltingPressure(1 / 300.0)), "Not treat.");
    EXPECT_EQ(ops.CheckTemperature(273.15), none);
    EXPECT_EQ(ops.CheckTemperature(2273.15), none);
    EXPECT_EQ(ops.CheckTemperature(std::nextafter(273.15, 0.0)), cold);
    EXPECT_EQ(ops.CheckTemperature(nan), cold);
    EXPECT_EQ(ops.CheckTemperature(std::nextafter(2273.15, inf)), hot);
    EXPECT_EQ(ops.CheckState(1e8, 300, 0), none);
    EXPECT_EQ(ops.CheckState(std::nextafter(1e8, inf), 300, 0), high);
    EXPECT_EQ(ops.CheckState(50e6, 1073.15, 0), none);
    EXPECT_EQ(ops.CheckState(1e7, 2273.15, 0), none);
    EXPECT_EQ(ops.CheckState(std::nextafter(1e7, inf), std::nextafter(1073.15, inf), 0), highHot);
    EXPECT_EQ(ops.CheckState(2e8, 1500, 0), high);    // the 100 MPa test comes first
    EXPECT_EQ(ops.CheckState(-1, 1500, 0), negative);  // a negative pressure before any limit
    EXPECT_EQ(ops.CheckState(nan, 300, 0), negative);
    // Water's range is also its limits as data.
    EXPECT_EQ(Water().limits.Tmin, 273.15);
    EXPECT_EQ(Water().limits.Tmax, 2273.15);
}

TEST_F(WaterModel, SaturationBelow62315KIsTheEqualGibbsRootOfRegions1And2) {
    std::vector<double> temperatures{273.16, 623.15};
    for (double T = 280; T < 623; T += 10) temperatures.push_back(T);
    for (double T : temperatures) {
        SCOPED_TRACE(T);
        const SaturationState s = Water().ops.Saturation(1 / T, T);
        ASSERT_EQ(s.status, Status::kValue);
        const double P = s.P;
        // The iteration stops once the Gibbs gap is 1e-6 of the region-1 value (or its
        // step has run below 1e-12 Pa) ...
        const double g1 = GibbsRegion1(0, P / 16.53e6, 0, 1386 / T);
        EXPECT_LE(std::fabs(GibbsRegion2(0, P / 1e6, 0, 540 / T) - g1), 1e-6 * std::fabs(g1) + 1e-12);
        // ... near IF97's region-4 equation, which differs from the region-1/2 phase
        // equilibrium by up to about 7e-5.
        EXPECT_NEAR(P / SaturationPressureEquation(T), 1, 1e-4);
        EXPECT_NEAR(s.rhol * GibbsRegion1(1, P / 16.53e6, 0, 1386 / T) * kC.R * T, 16.53e6,
                    1e-6);
        EXPECT_NEAR(s.rhov * GibbsRegion2(1, P / 1e6, 0, 540 / T) * kC.R * T, 1e6, 1e-6);
    }
    // The normal boiling point (IAPWS-95: 0.101418 MPa, 958.35 and 0.5982 kg/m3).
    const SaturationState s = Water().ops.Saturation(1 / 373.15, 373.15);
    EXPECT_NEAR(s.P, 101418, 15);
    EXPECT_NEAR(KgPerM3(s.rhol), 958.35, 0.1);
    EXPECT_NEAR(KgPerM3(s.rhov), 0.5982, 0.0005);
}

TEST_F(WaterModel, SaturationAbove62315KIsTheMaxwellConstructionOnRegion3) {
    auto p3 = [](double T, double rho) {
        const double d = rho / kC.rhoc;
        return HelmholtzRegion3(1, d, 0, kC.Tc / T) * d * rho * kC.R * T;
    };
    auto g3 = [](double T, double rho) {
        const double d = rho / kC.rhoc, t = kC.Tc / T;
        return HelmholtzRegion3(0, d, 0, t) + d * HelmholtzRegion3(1, d, 0, t);
    };
    for (double T : {623.16, 630.0, 640.0, 645.0, 647.0, 647.08, 647.08438225, 647.09, 647.0959}) {
        SCOPED_TRACE(T);
        const SaturationState s = Water().ops.Saturation(1 / T, T);
        ASSERT_EQ(s.status, Status::kValue);
        const double P = s.P;
        const double rv = s.rhov, rl = s.rhol;
        EXPECT_LT(rv, kC.rhoc);
        EXPECT_GT(rl, kC.rhoc);
        EXPECT_NEAR(p3(T, rv) / P, 1, 1e-5);  // both phases on the isotherm at P ...
        EXPECT_NEAR(p3(T, rl) / P, 1, 1e-5);
        EXPECT_NEAR(g3(T, rv), g3(T, rl), 1e-6 * std::fabs(g3(T, rl)));  // ... with equal Gibbs energies
        EXPECT_NEAR(P / SaturationPressureEquation(T), 1, 1e-4);
    }
    // 623.15 K still belongs to the region-1/2 method; across the switch the pressure
    // moves by no more than the formulations disagree.
    // The Newton solve of the region-1/2 condition; the pattern search stops on its
    // 1e-6 step, up to 5.6e-6 away from the exact equal-Gibbs pressure here.
    const double pA = Water().ops.Saturation(1 / 623.15, 623.15).P;
    EXPECT_EQ(FormatFile(SaturationRegions12Newton(623.15).pressure), FormatFile(pA));
    EXPECT_NEAR(SaturationRegions12(623.15).pressure / pA, 1, 1e-5);
    EXPECT_NEAR(Water().ops.Saturation(1 / 623.1500001, 623.1500001).P / pA, 1, 2e-4);
    // Above the step-halving iteration's cut-off 647.08438225 K the Newton solve still
    // gives the saturation state; at and above Tc "over Tc".
    for (double T : {647.09, std::nextafter(647.08438225, 700.0), 647.0959}) {
        const SaturationState m = Water().ops.Saturation(1 / T, T);
        ASSERT_EQ(m.status, Status::kValue) << T;
        EXPECT_LT(m.rhov, kC.rhoc) << T;
        EXPECT_GT(m.rhol, kC.rhoc) << T;
    }
    for (double T : {647.096, 650.0}) {
        const SaturationState m = Water().ops.Saturation(1 / T, T);
        EXPECT_EQ(m.status, Status::kOverTc) << T;
        EXPECT_EQ(StatusText(Quantity::With(m.status)), "over Tc") << T;
    }
}

TEST_F(WaterModel, Region3SaturationIterationIsBounded) {
    const double T = 640, ps = SaturationPressureEquation(T);
    const WaterSaturationState fromEquation = SaturationRegion3(T, ps);
    ASSERT_TRUE(fromEquation.converged);
    EXPECT_LT(fromEquation.passes, 10);
    const WaterSaturationState capped = SaturationRegion3(T, 0.8 * ps, 1);  // a poor start, one pass
    EXPECT_FALSE(capped.converged);
    EXPECT_EQ(capped.passes, 1);
    const WaterSaturationState far = SaturationRegion3(T, 0.8 * ps);  // the full allowance
    ASSERT_TRUE(far.converged);
    EXPECT_NEAR(far.pressure / fromEquation.pressure, 1, 2e-6);
}

TEST_F(WaterModel, CompressionFactorForms) {
    const auto& ops = Water().ops;
    StoreSaturation(700);  // a pressure in region 3 is evaluated with the region-2 equation
    ASSERT_EQ(Region(0, 1 / 700.0, 40e6, 0, 0, 0), 3);
    EXPECT_DOUBLE_EQ(ops.Pressure(0, 1 / 700.0, 40e6, st), 40 * GibbsRegion2(1, 40, 0, 540 / 700.0));
    EXPECT_EQ(ops.Pressure(MolPerM3(50), 1 / 700.0, 0, st), 0);  // density form in region 2
    StoreSaturation(300);
    EXPECT_EQ(ops.Pressure(MolPerM3(1000), 1 / 300.0, 0, st), 0);  // density form in region 1
    const double rho = MolPerM3(500);                          // density form in region 3
    EXPECT_NEAR(ops.Pressure(rho, 1 / 650.0, 0, st) * rho * kC.R * 650 / 25.5837018e6, 1, 1e-7);
}

// Finite-difference checks with the pressure given (regions 1, 2, 5): Cp, S, alpha,
// kappa, JT and d ln(f/P)/dP from differences of H, G, rho and f/P; Cv and W from the
// exact identities with those values.
void ExpectConsistentByPressure(double T, double P, int region) {
    SCOPED_TRACE("T = " + std::to_string(T) + " K, P = " + std::to_string(P) + " Pa");
    const auto v = ByPressure(T, P).values;
    ASSERT_EQ(Region(0, 1 / T, P, st.satuP, st.satuRhov, st.satuRhol), region);
    const double rho = st.rho, dT = 1e-4 * T, dP = 1e-5 * P;
    const auto tp = ByPressure(T + dT, P).values;
    const double rhoTp = st.rho;
    const auto tm = ByPressure(T - dT, P).values;
    const double rhoTm = st.rho;
    const auto pp = ByPressure(T, P + dP).values;
    const double rhoPp = st.rho;
    const auto pm = ByPressure(T, P - dP).values;
    const double rhoPm = st.rho;

    const double cp = (tp[kH] - tm[kH]) / (2 * dT);
    const double alpha = -(rhoTp - rhoTm) / (2 * dT) / rho;
    const double kappa = (rhoPp - rhoPm) / (2 * dP) / rho;
    const double cv = cp - T * alpha * alpha / (rho * kappa);
    EXPECT_NEAR(v[kCp] / cp, 1, 1e-5);
    EXPECT_NEAR(v[kS] / (-(tp[kG] - tm[kG]) / (2 * dT)), 1, 1e-5);
    EXPECT_NEAR(v[kAlpha] / alpha, 1, 1e-5);
    EXPECT_NEAR(v[kKappa] / kappa, 1, 1e-5);
    EXPECT_NEAR(v[kJT] / (-(pp[kH] - pm[kH]) / (2 * dP) / cp), 1, 1e-4);
    EXPECT_NEAR(v[kCv] / cv, 1, 1e-4);
    EXPECT_NEAR(v[kW] / std::sqrt(cp / cv / (kappa * rho * kC.M / 1000)), 1, 1e-5);
    EXPECT_NEAR((std::log(pp[kFugacity]) - std::log(pm[kFugacity])) / (2 * dP) * P / (v[kZ] - 1), 1, 1e-5);
    EXPECT_NEAR(v[kH] - T * v[kS], v[kG], 1e-9 * std::fabs(v[kH]));
    EXPECT_NEAR(v[kU] - T * v[kS], v[kF], 1e-9 * std::fabs(v[kU]));
}

// The same for region 3 with the density given: Cv from U, S from F, the pressure
// derivatives from the explicit pressure, and from them Cp, alpha, kappa, JT, W and
// d ln(f/P)/d rho.
void ExpectConsistentByDensity(double T, double rhoMass) {
    SCOPED_TRACE("T = " + std::to_string(T) + " K, rho = " + std::to_string(rhoMass) + " kg/m3");
    const double rho = MolPerM3(rhoMass), dT = 1e-4 * T, dr = 1e-5 * rho;
    const auto v = ByDensity(T, rho).values;
    ASSERT_EQ(Region(rho, 1 / T, 0, st.satuP, st.satuRhov, st.satuRhol), 3);
    const double P = st.P;
    const auto tp = ByDensity(T + dT, rho).values;
    const double pTp = st.P;
    const auto tm = ByDensity(T - dT, rho).values;
    const double pTm = st.P;
    const auto rp = ByDensity(T, rho + dr).values;
    const double pRp = st.P;
    const auto rm = ByDensity(T, rho - dr).values;
    const double pRm = st.P;

    const double cv = (tp[kU] - tm[kU]) / (2 * dT);
    const double dPdT = (pTp - pTm) / (2 * dT), dPdr = (pRp - pRm) / (2 * dr);
    const double cp = cv + T * dPdT * dPdT / (rho * rho * dPdr);
    EXPECT_NEAR(v[kCv] / cv, 1, 1e-5);
    EXPECT_NEAR(v[kS] / (-(tp[kF] - tm[kF]) / (2 * dT)), 1, 1e-5);
    EXPECT_NEAR(v[kCp] / cp, 1, 1e-5);
    EXPECT_NEAR(v[kKappa] * rho * dPdr, 1, 1e-5);
    EXPECT_NEAR(v[kAlpha] * rho * dPdr / dPdT, 1, 1e-5);
    EXPECT_NEAR(v[kJT] / (-(rp[kH] - rm[kH]) / (2 * dr) / dPdr / cp), 1, 1e-4);
    EXPECT_NEAR(v[kW] / std::sqrt(cp / cv * dPdr / (kC.M / 1000)), 1, 1e-5);
    EXPECT_NEAR((std::log(rp[kFugacity]) - std::log(rm[kFugacity])) / (2 * dr) / ((v[kZ] - 1) / P * dPdr), 1, 1e-5);
    EXPECT_NEAR(v[kH] - T * v[kS], v[kG], 1e-9 * std::fabs(v[kH]));
}

TEST_F(WaterModel, ResultsOfEveryRegionAreThermodynamicallyConsistent) {
    ExpectConsistentByPressure(300, 10e6, 1);
    ExpectConsistentByPressure(550, 60e6, 1);
    ExpectConsistentByPressure(500, 1e6, 2);
    ExpectConsistentByPressure(900, 30e6, 2);
    ExpectConsistentByPressure(1500, 5e6, 5);
    ExpectConsistentByPressure(2200, 9e6, 5);
    ExpectConsistentByDensity(650, 500);
    ExpectConsistentByDensity(700, 250);
    ExpectConsistentByDensity(750, 540);
    ExpectConsistentByDensity(850, 400);
    // C2: Z = 1 + C2 rho in the dilute gas; every region uses that of region 2.
    for (double T : {500.0, 650.0}) {
        const auto dilute = ByPressure(T, 10).values;
        EXPECT_NEAR((dilute[kZ] - 1) / st.rho / dilute[kC2], 1, 1e-4) << T;
        const auto dense = T < 600 ? ByPressure(T, 10e6).values : ByDensity(T, MolPerM3(500)).values;
        EXPECT_EQ(dense[kC2], dilute[kC2]) << T;
    }
}

TEST_F(WaterModel, ResultsAreContinuousAcrossTheRegion23Boundary) {
    // Just below the boundary pressure region 2, on it region 3; the two equations meet
    // within IF97's consistency along the boundary (a few 1e-4 in Z, up to 0.4 % in W).
    for (double T : {630.0, 700.0, 800.0, 863.0}) {
        SCOPED_TRACE("T = " + std::to_string(T));
        const double pB = BoundaryB23Pressure(1 / T);
        const auto a = ByPressure(T, pB * (1 - 1e-12)).values;
        ASSERT_EQ(Region(0, 1 / T, st.P, 0, 0, 0), 2);
        const auto b = ByPressure(T, pB).values;
        ASSERT_EQ(Region(0, 1 / T, st.P, 0, 0, 0), 3);
        EXPECT_NEAR(b[kF] / a[kF], 1, 5e-5);
        EXPECT_NEAR(b[kG] / a[kG], 1, 1e-5);
        EXPECT_NEAR(b[kZ] / a[kZ], 1, 5e-4);
        EXPECT_NEAR(b[kW] / a[kW], 1, 5e-3);
        EXPECT_NEAR(b[kJT] / a[kJT], 1, 5e-3);
        EXPECT_NEAR(b[kFugacity] / a[kFugacity], 1, 1e-6);  // bridged from region 2 at pB
    }
}

TEST_F(WaterModel, SecondaryResults) {
    const PropertyResults r = ByPressure(300, 10e6);
    const PointResult computed = last;
    const auto& s = r.secondary;
    for (int k = 0; k < kSecondaryCount; ++k) ASSERT_TRUE(s[k].HasValue()) << k;
    EXPECT_NEAR(s[kEps].value, 78.1, 0.3);
    EXPECT_NEAR(s[kEtha].value, 8.52e-4, 0.05e-4);
    EXPECT_NEAR(s[kLambda].value, 0.615, 0.005);
    EXPECT_NEAR(s[kPKw].value, 13.9, 0.1);
    EXPECT_NEAR(s[kN].value, 1.334, 0.002);
    EXPECT_NEAR(s[kDth].value / (s[kLambda].value / (st.rho * r.values[kCp])), 1, 1e-7);
    // Shown with 8 significant digits.
    DisplayUnits units;
    const std::string eps = FieldText(*FieldRowNamed("EditEps"), computed, units);
    EXPECT_EQ(eps, FormatDisplay(s[kEps].value));
    EXPECT_GT(ByPressure(300, 10e6, 400).secondary[kN].value, s[kN].value);
    // The wavelength text of the main window is read up to its first non-number.
    MainForm f;
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.Editnlambda.text = "589 nm";
    f.ButtonCalcClick();
    EXPECT_EQ(f.Editn.text, FormatDisplay(s[kN].value));
    // On the mechanically unstable part of the region-3 loop: no conductivity.
    const PropertyResults u = PropertiesAtDensity(640, kC.rhoc);
    ASSERT_LT(u.values[kKappa], 0);
    EXPECT_EQ(u.secondary[kLambda].status, Status::kNotAvailable);
    EXPECT_EQ(u.secondary[kDth].status, Status::kNotAvailable);
    EXPECT_EQ(StatusText(u.secondary[kLambda]), "N/A");
    EXPECT_TRUE(std::isfinite(u.values[kG]) && std::isfinite(u.values[kFugacity]));
    ASSERT_TRUE(u.secondary[kEtha].HasValue());
    EXPECT_GT(u.secondary[kEtha].value, 0);
}

// Near the critical point the conductivity is mostly its critical enhancement, fed by
// the reduced (dp/dT) at constant density and (drho/dp) at constant temperature that
// Properties forms per region; they must be those of its own results alpha and kappa:
// (dp/dT)_rho = alpha / kappa and (drho/dp)_T = rho kappa.
TEST_F(WaterModel, ConductivityEnhancementUsesTheEquationOfState) {
    struct State {
        double T, P, rhoMass;  // K; Pa given, or else kg/m3 given
    } const states[] = {{620, 20e6, 0}, {700, 25e6, 0}, {650, 0, 322}, {660, 0, 250}};
    for (const State& s : states) {
        const PropertyResults r = s.P > 0 ? ByPressure(s.T, s.P) : ByDensity(s.T, MolPerM3(s.rhoMass));
        const auto& v = r.values;
        const double dpdT = v[kAlpha] / v[kKappa] * 647.226 / 22.115e6;
        const double drhodp = st.rho * v[kKappa] * 22.115e6 / (317763 / kC.M);
        const double lambda = WaterConductivity(st.rho, 1 / s.T, dpdT, drhodp);
        EXPECT_GT(lambda - WaterConductivity(st.rho, 1 / s.T, 0, 0), 0.05 * lambda) << s.T;
        ASSERT_TRUE(r.secondary[kLambda].HasValue()) << s.T;
        EXPECT_NEAR(r.secondary[kLambda].value / lambda, 1, 1e-7) << s.T;
    }
}

// Marshall and Franck (1981), table of -log Kw: the liquid at its saturation pressure
// (three decimals printed) and at 25 and 100 MPa (two decimals), through Properties
// with this model's densities. The table was computed with the densities of older
// steam tables; where those differ from IF97 by more than its rounding allows
// (saturated liquid at 200 and 300 degC: 864.60 and 712.40 kg/m3 implied by the table,
// 864.67 and 712.14 from IF97; 400 degC and 100 MPa: 694.29 against 692.92) the rows
// are left out.
TEST_F(WaterModel, IonProductReproducesMarshallFranckTable) {
    int rows = 0;
    for (const CheckValue& c : ChecksOf(FormulationId::kWaterIonProduct)) {
        if (std::string(c.source).rfind("Table 1", 0) != 0) continue;  // the comparison with a later release
        const bool saturated = c.road == verify::Road::kSaturatedLiquid;
        // The saturation pressure as the calculation carries it (15 digits): a pressure
        // equal to it is the saturated liquid.
        const double P = saturated ? CalculationSaturation(Water(), 1 / c.T, c.T).P : c.x * 1e6;
        // Half a unit of the last printed decimal: 0.0005 at saturation, 0.005 at 25 and 100 MPa.
        EXPECT_NEAR(verify::LastDigitUnit(c), saturated ? 1e-3 : 1e-2, 1e-12);
        const Quantity pKw = ByPressure(c.T, P).secondary[kPKw];
        ASSERT_TRUE(pKw.HasValue()) << c.T;
        EXPECT_NEAR(pKw.value, verify::PublishedValue(c), verify::Tolerance(c)) << c.T << " K, " << c.x << " MPa";
        ++rows;
    }
    EXPECT_EQ(rows, 12);
}

TEST_F(WaterModel, MainWindowCalculations) {
    MainForm f;
    f.ButtonCalcClick();  // the default state: 647.096 K and 322 kg/m3 given
    // The critical point: (dP/drho)T vanishes (slightly negative in region 3), so Cp,
    // W, alpha, kappa and JT are not defined there and the message line says so.
    EXPECT_EQ(f.EditMes.text, "Unstable state: (dP/drho)T <= 0 here; Cp, W, alpha, kappa and JT are not defined.");
    EXPECT_EQ(f.EditCp.text, "N/A");
    EXPECT_NEAR(ParseStrict(f.EditP.text), 22.064, 0.001);
    EXPECT_EQ(f.EditsatuP.text, "over Tc");
    EXPECT_EQ(f.EditsatuRhol.text, "over Tc");
    EXPECT_EQ(f.EditmeltP.text, "Not treat.");
    EXPECT_NEAR(ParseStrict(f.EditZ.text), 22.064e6 / (kC.rhoc * kC.R * kC.Tc), 1e-4);

    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_NEAR(ParseStrict(f.EditRho.text), 1000.95, 0.01);  // compressed from 996.51 kg/m3
    EXPECT_NEAR(ParseStrict(f.EditsatuP.text), 0.0035367, 0.0000005);
    EXPECT_NEAR(ParseStrict(f.EditsatuRhol.text), 996.51, 0.01);
    EXPECT_NEAR(ParseStrict(f.EditCp.text), 4.1519 * kC.M, 0.01 * kC.M);
}

TEST_F(WaterModel, DensityInsideTheCoexistenceRangeUsesRegion2) {
    const std::string warning = "rho may be in the co-existence region (meta-stable?);";
    StoreSaturation(500);
    const double rv = KgPerM3(st.satuRhov), rl = KgPerM3(st.satuRhol);
    MainForm f;
    f.RadioGroupVar.index = 1;
    f.RadioGroupVarClick();
    f.EditT.text = "500";
    f.EditRho.text = FormatDisplay(1.03 * rv);  // within 5 % above the vapour: computed, warned
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, warning);
    const double x = f.calc.P / 1e6, y = 540.0 / 500;
    EXPECT_NEAR(ParseStrict(f.EditZ.text), x * GibbsRegion2(1, x, 0, y), 1e-7);
    EXPECT_NEAR(ParseStrict(f.EditG.text), kC.R * 500 * GibbsRegion2(0, x, 0, y), 1e-3);
    // The solved pressure is the metastable vapour's, above the saturation pressure,
    // so that the region-2 state has the density that was given.
    EXPECT_GT(f.calc.P, f.calc.satuP);
    EXPECT_NEAR(f.calc.P / (x * GibbsRegion2(1, x, 0, y) * kC.R * 500), f.calc.rho, 1e-6 * f.calc.rho);
    f.EditRho.text = FormatDisplay(0.5 * (rv + rl));  // deep inside: the warning only
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, warning);
    EXPECT_EQ(f.EditZ.text, "");
}

// Densities that no pressure of water's equations gives are refused instead of being
// computed at the pressure where the search happened to stop.
TEST_F(WaterModel, DensitiesWithoutAPressureAreRefused) {
    MainForm f;
    f.RadioGroupVar.index = 1;
    f.RadioGroupVarClick();
    auto run = [&](const char* T, const char* rho) {
        f.EditT.text = T;
        f.EditRho.text = rho;
        f.ButtonCalcClick();
    };
    run("300", "-1");  // refused like a Helmholtz fluid's negative pressure
    EXPECT_EQ(f.EditMes.text, "This density is not inadequate.");
    EXPECT_LT(ParseStrict(f.EditP.text), 0);
    EXPECT_EQ(f.EditCp.text, "");
    for (const char* rho : {"1100", "900"}) {  // beyond the liquid at 800 K; stretched liquid at 400 K
        run(rho[0] == '1' ? "800" : "400", rho);
        EXPECT_NE(f.EditMes.text.find(MainForm::kNoPressureMessage), std::string::npos) << rho;
        EXPECT_EQ(f.EditP.text, "") << rho;
        EXPECT_EQ(f.EditW.text, "") << rho;
    }
    // Just below the critical temperature a vapour density whose pressure search stalls
    // a hair outside its tolerance still gets its pressure, to the precision of region 2.
    run("647", "50");
    EXPECT_EQ(f.EditMes.text, "");
    const double P = f.calc.P;
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditP.text = FormatFile(P / 1e6);
    f.ButtonCalcClick();
    EXPECT_NEAR(f.calc.rho, 50 / (kC.M / 1000), 1e-10 * f.calc.rho);
}

}  // namespace
}  // namespace kelvane
