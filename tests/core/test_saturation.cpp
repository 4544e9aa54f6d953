// Saturation by temperature and by pressure against published saturation tables, and
// its consistency over each fluid's whole saturation range: the round trip
// T -> P -> T, Clausius-Clapeyron, and two-phase states at their ends.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "core/saturation.h"
#include "fluids/registry.h"
#include "forms/texts.h"
#include "verify/check_values.h"

namespace kelvane {
namespace {

const Fluid& Water() { return FluidAt(0); }
const Fluid& Methanol() { return FluidAt(1); }
const Fluid& Co2() { return FluidAt(2); }

TEST(SaturationByPressure, WaterAgainstTheRegion4CheckValues) {
    // IAPWS-IF97 computer-program verification values of the region-4 equations. The
    // equilibrium here is the equality of the region-1 and region-2 Gibbs energies,
    // which departs from the region-4 equation by up to 4.3e-5 in pressure (2 mK).
    const double byP[][2] = {{0.1e6, 372.755919}, {1e6, 453.035632}, {10e6, 584.149488}, {0.101325e6, 373.1243}};
    for (const auto& v : byP) {
        const SaturationPoint s = SaturationByPressure(Water(), v[0]);
        ASSERT_TRUE(s.HasValue()) << v[0];
        EXPECT_NEAR(s.T, v[1], 2.0e-3) << v[0];
        EXPECT_NEAR(s.P / v[0], 1, 1e-12);
    }
    const double byT[][2] = {{300, 3536.58941}, {500, 2.63889776e6}, {600, 12.3443146e6}};
    for (const auto& v : byT) {
        const SaturationPoint s = SaturationByTemperature(Water(), v[0]);
        ASSERT_TRUE(s.HasValue()) << v[0];
        EXPECT_NEAR(s.P / v[1], 1, 4.5e-5) << v[0];
    }
}

TEST(SaturationByPressure, MethanolNormalBoilingPoint) {
    const SaturationPoint s = SaturationByPressure(Methanol(), 101325);
    ASSERT_TRUE(s.HasValue());
    // The equation's normal boiling point, 337.632 K (the handbook value is 337.85 K).
    EXPECT_NEAR(s.T, 337.632, 0.0005);
}

// Span and Wagner (1996), Table 34 (from the shared table of published check values),
// entered by the published pressure: the temperature, both densities and both phases'
// enthalpies and entropies. The published pressure has five digits, so the temperature
// found from it carries its rounding: each value is allowed half a unit of its last
// digit plus the change that rounding of the pressure brings about.
TEST(SaturationByPressure, Co2Table34) {
    using verify::CheckValue;
    using verify::Quantity;
    using verify::Road;
    struct Row {
        const CheckValue *p = nullptr, *rhol = nullptr, *rhov = nullptr, *hl = nullptr, *hv = nullptr, *sl = nullptr,
                         *sv = nullptr;
    };
    const std::vector<CheckValue> checks = verify::ChecksOf(verify::FormulationId::kSpanWagnerSaturation);
    std::map<double, Row> rows;
    for (const CheckValue& c : checks) {
        Row& r = rows[c.T];
        const bool liquid = c.road == Road::kSaturatedLiquid, vapour = c.road == Road::kSaturatedVapour;
        if (c.quantity == Quantity::kSatP) r.p = &c;
        if (c.quantity == Quantity::kSatRhoL) r.rhol = &c;
        if (c.quantity == Quantity::kSatRhoV) r.rhov = &c;
        if (c.quantity == Quantity::kH && liquid) r.hl = &c;
        if (c.quantity == Quantity::kH && vapour) r.hv = &c;
        if (c.quantity == Quantity::kS && liquid) r.sl = &c;
        if (c.quantity == Quantity::kS && vapour) r.sv = &c;
    }
    ASSERT_EQ(rows.size(), 6u);  // the triple point, 240, 260, 280, 300 and 304 K
    const double M = Co2().constants.M;
    for (const auto& [T, r] : rows) {
        SCOPED_TRACE(T);
        ASSERT_TRUE(r.p && r.rhol && r.rhov && r.hl && r.hv && r.sl && r.sv);
        const double p = verify::PublishedValue(*r.p);
        const SaturationPoint s = SaturationByPressure(Co2(), p * 1e6);
        ASSERT_TRUE(s.HasValue());
        // Temperature uncertainty from the pressure's last digit, through dT/dP.
        const SaturationPoint a = SaturationByTemperature(Co2(), s.T - 0.01),
                              b = SaturationByTemperature(Co2(), s.T + 0.01);
        const double dTdP = 0.02 / (b.P - a.P);
        const double dT = 0.5 * verify::LastDigitUnit(*r.p) * 1e6 * dTdP;
        auto expectNear = [&](double computed, const CheckValue* c, double va, double vb) {
            EXPECT_NEAR(computed, verify::PublishedValue(*c),
                        0.55 * verify::LastDigitUnit(*c) + std::fabs(vb - va) / 0.02 * dT)
                << verify::QuantityName(c->quantity);
        };
        EXPECT_NEAR(s.T, T, 0.5e-3 + dT);
        expectNear(s.rhol * M / 1000, r.rhol, a.rhol * M / 1000, b.rhol * M / 1000);
        expectNear(s.rhov * M / 1000, r.rhov, a.rhov * M / 1000, b.rhov * M / 1000);
        expectNear(s.liquid.values[kH] / M, r.hl, a.liquid.values[kH] / M, b.liquid.values[kH] / M);
        expectNear(s.vapour.values[kH] / M, r.hv, a.vapour.values[kH] / M, b.vapour.values[kH] / M);
        expectNear(s.liquid.values[kS] / M, r.sl, a.liquid.values[kS] / M, b.liquid.values[kS] / M);
        expectNear(s.vapour.values[kS] / M, r.sv, a.vapour.values[kS] / M, b.vapour.values[kS] / M);
        // And at the published temperature itself, without the pressure's rounding.
        const SaturationPoint t = SaturationByTemperature(Co2(), T);
        expectNear(t.P / 1e6, r.p, 0, 0);
        expectNear(t.liquid.values[kH] / M, r.hl, 0, 0);
        expectNear(t.vapour.values[kH] / M, r.hv, 0, 0);
        expectNear(t.liquid.values[kS] / M, r.sl, 0, 0);
        expectNear(t.vapour.values[kS] / M, r.sv, 0, 0);
    }
}

class EachFluid : public testing::TestWithParam<int> {};

TEST_P(EachFluid, RoundTripAndClausiusClapeyronOverTheWholeRange) {
    const Fluid& f = FluidAt(GetParam());
    const SaturationRange range = SaturationRangeOf(f);
    ASSERT_GT(range.Thigh, range.Tlow);
    double worstTrip = 0, worstCC = 0;
    const int n = 60;
    for (int i = 0; i <= n; ++i) {
        const double T = range.Tlow + (range.Thigh - range.Tlow) * i / n;
        const SaturationPoint s = SaturationByTemperature(f, T);
        ASSERT_TRUE(s.HasValue()) << T;
        ASSERT_TRUE(s.converged) << T;
        EXPECT_GT(s.rhol, s.rhov) << T;
        const SaturationPoint back = SaturationByPressure(f, s.P);
        ASSERT_TRUE(back.HasValue()) << T;
        worstTrip = std::max(worstTrip, std::fabs(back.T - T) / T);
        EXPECT_NEAR(back.P / s.P, 1, 1e-9) << T;
        // dP/dT = dH / (T dV), central differences over 1e-4 K, away from Tc.
        if (T > f.constants.Tc - 5 || T - 1e-4 < range.Tlow) continue;
        const double h = 1e-4;
        const double dPdT = (SaturationByTemperature(f, T + h).P - SaturationByTemperature(f, T - h).P) / (2 * h);
        const double cc = s.dH / (T * (1 / s.rhov - 1 / s.rhol));
        worstCC = std::max(worstCC, std::fabs(dPdT / cc - 1));
        EXPECT_NEAR(dPdT / cc, 1, 1e-5) << T;
        // dS = dH / T at equilibrium.
        EXPECT_NEAR(s.dS * T / s.dH, 1, 1e-9) << T;
    }
    EXPECT_LT(worstTrip, 1e-9);
    RecordProperty("worst_round_trip", std::to_string(worstTrip));
    RecordProperty("worst_clausius_clapeyron", std::to_string(worstCC));
}

// By pressure, over a dense sweep of the saturation pressures (and, for water, across
// 623.15 K, where its liquid and vapour leave their own equations): the pressure is met
// to the arithmetic's precision and the answer is, bit for bit, the equilibrium at its
// temperature.
TEST_P(EachFluid, ByPressureMeetsThePressureAndIsTheEquilibriumAtItsTemperature) {
    const Fluid& f = FluidAt(GetParam());
    const SaturationRange range = SaturationRangeOf(f);
    std::vector<double> pressures;
    const int n = 150;
    for (int i = 1; i < n; ++i) pressures.push_back(range.Plow * std::pow(range.Phigh / range.Plow, double(i) / n));
    for (double u : {1e-6, 1e-3, 0.1}) pressures.push_back(range.Phigh * (1 - u));
    if (GetParam() == 0) {
        // The equilibria of regions 1 and 2 at 623.15 K and of region 3 just above it
        // differ by 762 Pa: the pressures between them have the temperature 623.15 K
        // and the nearer of the two equilibria.
        const double below = SaturationByTemperature(f, 623.15).P;
        const double above = SaturationByTemperature(f, std::nextafter(623.15, 700.0)).P;
        EXPECT_NEAR(above - below, 762.3, 0.1);
        for (double u : {0.1, 0.4, 0.6, 0.9}) {
            const SaturationPoint step = SaturationByPressure(f, below + u * (above - below));
            ASSERT_TRUE(step.HasValue()) << u;
            EXPECT_NEAR(step.T, 623.15, 1e-9) << u;
            EXPECT_NEAR(step.P, u < 0.5 ? below : above, 1e-6) << u;
            // A (P, h) state inside the dome at such a pressure is that equilibrium's
            // wet state.
            PointInput in;
            in.inputVar = 2;
            in.P = below + u * (above - below);
            in.h = (step.liquid.values[kH] + step.vapour.values[kH]) / 2;
            const PointResult wet = Calculate(f, in);
            ASSERT_TRUE(wet.quality.HasValue()) << u;
            EXPECT_NEAR(wet.quality.value, 0.5, 1e-12) << u;
            EXPECT_EQ(wet.state.T, step.T) << u;
        }
        for (double P : {below * (1 - 1e-3), below * (1 - 1e-9), below, above, above * (1 + 1e-9), above * (1 + 1e-3)})
            pressures.push_back(P);
    }
    double worst = 0;
    for (double P : pressures) {
        const SaturationPoint byP = SaturationByPressure(f, P);
        ASSERT_TRUE(byP.HasValue()) << P;
        worst = std::max(worst, std::fabs(byP.P / P - 1));
        const SaturationPoint byT = SaturationByTemperature(f, byP.T);
        EXPECT_EQ(byP.P, byT.P) << P;
        EXPECT_EQ(byP.rhol, byT.rhol) << P;
        EXPECT_EQ(byP.rhov, byT.rhov) << P;
        EXPECT_EQ(byP.liquid.values[kH], byT.liquid.values[kH]) << P;
        EXPECT_EQ(byP.vapour.values[kS], byT.vapour.values[kS]) << P;
    }
    // Within 1e-13 in ln P where the equilibrium meets its tolerance; the highest
    // pressures (just below the critical point) are held to 1e-10.
    EXPECT_LT(worst, 1e-10);
    RecordProperty("worst_pressure", std::to_string(worst));
}

TEST_P(EachFluid, MixtureEndsAreTheSaturatedPhases) {
    const Fluid& f = FluidAt(GetParam());
    const SaturationRange range = SaturationRangeOf(f);
    const SaturationPoint s = SaturationByTemperature(f, (range.Tlow + range.Thigh) / 2);
    ASSERT_TRUE(s.HasValue());
    const PointResult liquid = TwoPhaseState(f, s, 0), vapour = TwoPhaseState(f, s, 1), half = TwoPhaseState(f, s, 0.5);
    EXPECT_EQ(liquid.state.rho, s.rhol);
    EXPECT_EQ(vapour.state.rho, s.rhov);
    for (int i : {kF, kU, kH, kG, kS, kZ, kFugacity, kC2}) {
        EXPECT_EQ(liquid.properties.values[i], s.liquid.values[i]) << i;
        EXPECT_EQ(vapour.properties.values[i], s.vapour.values[i]) << i;
        EXPECT_NEAR(half.properties.values[i], (s.liquid.values[i] + s.vapour.values[i]) / 2,
                    1e-12 * (std::fabs(s.liquid.values[i]) + std::fabs(s.vapour.values[i])))
            << i;
    }
    EXPECT_NEAR(1 / half.state.rho, (1 / s.rhol + 1 / s.rhov) / 2, 1e-14 / s.rhov);
    // Z from the mixture's own volume.
    EXPECT_NEAR(half.properties.values[kZ], s.P / (half.state.rho * f.constants.R * s.T), 1e-9);
    for (int i : {kCv, kCp, kW, kJT, kAlpha, kKappa}) EXPECT_FALSE(half.ResultAvailable(i)) << i;
    EXPECT_TRUE(liquid.quality.HasValue());
    const PointResult outside = TwoPhaseState(f, s, 1.01);
    EXPECT_FALSE(outside.hasProperties);
    EXPECT_TRUE(outside.HasMessage(MessageId::kQualityRange));
    EXPECT_FALSE(TwoPhaseState(f, s, std::nan("")).hasProperties);
}

TEST_P(EachFluid, PressuresOutsideTheSaturationRange) {
    const Fluid& f = FluidAt(GetParam());
    const SaturationRange range = SaturationRangeOf(f);
    const SaturationPoint over = SaturationByPressure(f, std::max(f.constants.Pc, range.Phigh * 1.0001));
    EXPECT_EQ(over.status, Status::kOverPc);
    EXPECT_STREQ(MessageText(over.message), "over Pc");
    const SaturationPoint below = SaturationByPressure(f, range.Plow * 0.999);
    EXPECT_FALSE(below.HasValue());
    EXPECT_NE(std::string(MessageText(below.message)).find("Not applied to the range less than"), std::string::npos);
    EXPECT_FALSE(SaturationByPressure(f, -1).HasValue());
    EXPECT_FALSE(SaturationByPressure(f, std::nan("")).HasValue());
    const SaturationPoint atLow = SaturationByPressure(f, range.Plow);
    ASSERT_TRUE(atLow.HasValue());
    EXPECT_NEAR(atLow.T, range.Tlow, 1e-9 * range.Tlow);
    // By temperature: over Tc, and the temperature check's own message.
    EXPECT_EQ(SaturationByTemperature(f, f.constants.Tc + 1).status, Status::kOverTc);
    const SaturationPoint cold = SaturationByTemperature(f, f.limits.Tmin - 1);
    EXPECT_EQ(cold.message, f.ops.CheckTemperature(f.limits.Tmin - 1));
}

INSTANTIATE_TEST_SUITE_P(Fluids, EachFluid, testing::Values(0, 1, 2));

}  // namespace
}  // namespace kelvane
