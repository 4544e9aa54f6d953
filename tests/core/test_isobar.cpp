// States by pressure and enthalpy or entropy: round trips from (T, P) states of each
// fluid over its whole range, wet states against the lever rule, IF97 backward-equation
// check temperatures, and the refusals of pairs that no accepted state has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/calculate.h"
#include "core/isobar_state.h"
#include "core/saturation.h"
#include "fluids/registry.h"

namespace kelvane {
namespace {

PointResult ByTP(const Fluid& f, double T, double P) {
    PointInput in;
    in.T = T;
    in.P = P;
    return Calculate(f, in);
}

PointResult ByPH(const Fluid& f, double P, double h) {
    PointInput in;
    in.inputVar = 2;
    in.P = P;
    in.h = h;
    return Calculate(f, in);
}

PointResult ByPS(const Fluid& f, double P, double s) {
    PointInput in;
    in.inputVar = 3;
    in.P = P;
    in.s = s;
    return Calculate(f, in);
}

// Relative difference with a floor of `scale` for values near zero.
double Gap(double a, double b, double scale) {
    return std::fabs(a - b) / std::fmax(std::fmax(std::fabs(a), std::fabs(b)), scale);
}

// The floor of each of the 14 results: the fluid's energy scale R Tc for the energies,
// R for the entropy and heat capacities, otherwise a small fraction of a typical size.
double FieldScale(const Fluid& f, int i) {
    const double RT = f.constants.R * f.constants.Tc;
    switch (i) {
        case kF:
        case kU:
        case kH:
        case kG: return RT;
        case kS:
        case kCv:
        case kCp: return f.constants.R;
        case kZ:
        case kFugacity: return 1e-3;
        case kW: return 1;
        case kJT: return 1e-9;      // K/Pa
        case kC2: return 1e-6;      // m3/mol
        case kAlpha: return 1e-6;   // 1/K
        case kKappa: return 1e-14;  // 1/Pa
        default: return 1;
    }
}

struct Worst {
    double T = 0, value = 0, field = 0, noisyField = 0;
    int states = 0, seams = 0, noisy = 0;
};

// True near a place where two states of one isobar share an enthalpy or entropy: the
// seams of water's regions (623.15 K, 1073.15 K and the 2-3 boundary), where the
// region equations meet only within the release's consistency, and the critical point
// of methanol and carbon dioxide, where the phase the (T, P) calculation picks follows
// the fluid's own saturation equations rather than the equilibrium by pressure.
bool NearSeam(const Fluid& f, double T, double P) {
    if (f.ops.BoundaryB23Pressure) {
        if (std::fabs(T - 623.15) < 0.05 || std::fabs(T - 1073.15) < 0.05) return true;
        return T > 623.1 && T < 863.2 && std::fabs(f.ops.BoundaryB23Pressure(1 / T) / P - 1) < 1e-3;
    }
    return std::fabs(T / f.constants.Tc - 1) < 1e-3 && std::fabs(P / f.constants.Pc - 1) < 2e-2;
}

// (T, P) -> h, s -> (P, h), (P, s): the temperature and the given value within 1e-9,
// the state identical to the (T, P) calculation at the solved temperature, and every
// other result of the (T, P) calculation within 1e-9. A result that the (T, P)
// calculation itself moves by more than 1e-10 between temperatures a few 1e-14 apart
// (the fugacity coefficient of a liquid at a few pascals, from a compression factor of
// 1e-8; carbon dioxide's viscosity through the rounding of its enhancement's
// polynomial roots) is held to ten times that movement instead, and counted.
void RoundTrip(const Fluid& f, double T, double P, Worst& w) {
    const PointResult tp = ByTP(f, T, P);
    if (!tp.hasProperties || tp.messageCount != 0) return;  // outside the range or metastable
    ++w.states;
    // The (T, P) results at temperatures a few 1e-14 around T, computed when needed.
    std::vector<PointResult> probes;
    auto Probes = [&]() -> const std::vector<PointResult>& {
        if (probes.empty())
            for (double d : {-1e-13, -3e-14, -1e-14, 1e-14, 3e-14, 1e-13}) probes.push_back(ByTP(f, T * (1 + d), P));
        return probes;
    };
    auto Noise = [&](int i) {
        double n = 0;
        for (const PointResult& p : Probes())
            n = std::max(n, Gap(p.properties.values[i], tp.properties.values[i], FieldScale(f, i)));
        return n;
    };
    auto SecondaryNoise = [&](int k) {
        double n = 0;
        for (const PointResult& p : Probes())
            if (p.properties.secondary[k].HasValue())
                n = std::max(n, Gap(p.properties.secondary[k].value, tp.properties.secondary[k].value, 1e-30));
        return n;
    };
    for (int mode = 2; mode <= 3; ++mode) {
        const int index = mode == 2 ? kH : kS;
        const double value = tp.properties.values[index];
        const PointResult r = mode == 2 ? ByPH(f, P, value) : ByPS(f, P, value);
        ASSERT_TRUE(r.hasProperties) << f.id << " T=" << T << " P=" << P << " mode " << mode;
        EXPECT_EQ(r.state.inputVar, mode);
        if (r.quality.HasValue()) {
            // A (T, P) state inside the equilibrium's two-phase region.
            EXPECT_TRUE(NearSeam(f, T, P)) << f.id << " T=" << T << " P=" << P << " mode " << mode;
            ++w.seams;
            continue;
        }
        EXPECT_EQ(r.state.P, P);
        const double dv = Gap(r.properties.values[index], value, FieldScale(f, index));
        EXPECT_LE(dv, 1e-9) << f.id << " T=" << T << " P=" << P << " mode " << mode;
        w.value = std::max(w.value, dv);
        // The state is the (T, P) one at the solved temperature, bit for bit.
        const PointResult same = ByTP(f, r.state.T, P);
        EXPECT_EQ(same.state.rho, r.state.rho);
        EXPECT_EQ(same.properties.values[kCp], r.properties.values[kCp]);
        const double dT = std::fabs(r.state.T - T) / T;
        if (dT > 1e-9) {
            // Another state of the isobar with the same value.
            EXPECT_TRUE(NearSeam(f, T, P))
                << f.id << " T=" << T << " P=" << P << " mode " << mode << " got " << r.state.T;
            ++w.seams;
            continue;
        }
        w.T = std::max(w.T, dT);
        for (int i = 0; i < kPropertyCount; ++i) {
            const double d = Gap(r.properties.values[i], tp.properties.values[i], FieldScale(f, i));
            const double noise = d > 1e-9 ? Noise(i) : 0;
            if (noise > 1e-10) {
                EXPECT_LE(d, std::max(1e-9, 10 * noise)) << f.id << " T=" << T << " P=" << P << " field " << i;
                ++w.noisy;
                w.noisyField = std::max(w.noisyField, d);
                continue;
            }
            EXPECT_LE(d, 1e-9) << f.id << " T=" << T << " P=" << P << " mode " << mode << " field " << i;
            w.field = std::max(w.field, d);
        }
        for (int k = 0; k < kSecondaryCount; ++k) {
            const Quantity a = r.properties.secondary[k], b = tp.properties.secondary[k];
            EXPECT_EQ(a.status, b.status) << f.id << " T=" << T << " P=" << P << " secondary " << k;
            if (!a.HasValue() || !b.HasValue()) continue;
            const double d = Gap(a.value, b.value, 1e-30);
            const double noise = d > 1e-9 ? SecondaryNoise(k) : 0;
            if (noise > 1e-10) {
                EXPECT_LE(d, std::max(1e-9, 10 * noise)) << f.id << " T=" << T << " P=" << P << " secondary " << k;
                ++w.noisy;
                w.noisyField = std::max(w.noisyField, d);
                continue;
            }
            EXPECT_LE(d, 1e-9) << f.id << " T=" << T << " P=" << P << " secondary " << k;
            w.field = std::max(w.field, d);
        }
    }
}

void Report(const char* name, const Worst& w) {
    std::printf(
        "%s: %d states, worst |dT|/T %.2e, worst value %.2e, worst field %.2e; %d seam solutions; "
        "%d ill-conditioned fields, worst %.2e\n",
        name, w.states, w.T, w.value, w.field, w.seams, w.noisy, w.noisyField);
}

std::vector<double> Spread(double lo, double hi, int n) {
    std::vector<double> v;
    for (int i = 0; i <= n; ++i) v.push_back(lo + (hi - lo) * i / n);
    return v;
}

TEST(IsobarRoundTrip, WaterOverItsRangeAndRegionBoundaries) {
    const Fluid& f = FluidAt(0);
    Worst w;
    std::vector<double> pressures = {700,  1e3,      1e4,    0.1e6, 1e6,  5e6,  10e6, 16.5292e6, 20e6,
                                     22e6, 22.064e6, 22.1e6, 23e6,  25e6, 30e6, 50e6, 70e6,      100e6};
    std::vector<double> temperatures = Spread(273.15, 2273.15, 200);
    // Region boundaries: 1-3 at 623.15 K, 2-5 at 1073.15 K, the 2-3 boundary at 100 MPa
    // (863.15 K), and the neighbourhood of the critical point.
    for (double T : {273.15, 273.16, 623.15, 623.1500001, 1073.15, 1073.1500001, 863.15, 646.5, 647.0, 647.096, 647.2,
                     648.0, 650.0, 660.0, 700.0, 2273.15})
        temperatures.push_back(T);
    for (double P : pressures)
        for (double T : temperatures) RoundTrip(f, T, P, w);
    // States on the 2-3 boundary itself.
    for (double T : Spread(623.15, 863.15, 24)) {
        const double P = f.ops.BoundaryB23Pressure(1 / T);
        for (double d : {-1e-6, 0.0, 1e-6}) RoundTrip(f, T * (1 + d), P, w);
    }
    Report("water", w);
    EXPECT_GT(w.states, 2000);
}

TEST(IsobarRoundTrip, MethanolOverItsRange) {
    const Fluid& f = FluidAt(1);
    Worst w;
    std::vector<double> temperatures = Spread(175.61, 620, 160);
    for (double T : {500.0, 510.0, 512.0, 512.6, 513.0, 513.38, 515.0, 520.0, 570.0, 300.0}) temperatures.push_back(T);
    for (double P :
         {1.0, 100.0, 1e4, 0.1e6, 0.2e6, 1e6, 5e6, 8e6, 8.1035e6, 8.2e6, 10e6, 50e6, 100e6, 250e6, 400e6, 800e6})
        for (double T : temperatures) RoundTrip(f, T, P, w);
    Report("methanol", w);
    EXPECT_GT(w.states, 1200);
}

TEST(IsobarRoundTrip, Co2OverItsRange) {
    const Fluid& f = FluidAt(2);
    Worst w;
    std::vector<double> temperatures = Spread(216, 1100, 160);
    for (double T : {216.59, 290.0, 300.0, 303.0, 304.0, 304.1282, 304.2, 305.0, 307.0, 310.0, 320.0})
        temperatures.push_back(T);
    for (double P :
         {1e3, 0.1e6, 0.5e6, 1e6, 3e6, 6e6, 7e6, 7.3e6, 7.3773e6, 7.4e6, 7.5e6, 8e6, 10e6, 30e6, 100e6, 300e6, 800e6})
        for (double T : temperatures) RoundTrip(f, T, P, w);
    Report("co2", w);
    EXPECT_GT(w.states, 1500);
}

TEST(IsobarWetStates, QualityFromTheLeverRule) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        const SaturationRange range = SaturationRangeOf(f);
        double worst = 0;
        for (double u : {0.0, 0.01, 0.3, 0.7, 0.95, 0.999}) {
            const double P = range.Plow * std::pow(range.Phigh / range.Plow, u) * (u == 0 ? 1.01 : 1.0);
            const SaturationPoint sat = SaturationByPressure(f, P);
            ASSERT_TRUE(sat.HasValue()) << f.id << " P=" << P;
            for (double x : {0.0, 1e-6, 0.25, 0.5, 0.75, 1 - 1e-6, 1.0}) {
                for (int mode = 2; mode <= 3; ++mode) {
                    const int i = mode == 2 ? kH : kS;
                    const double l = sat.liquid.values[i], v = sat.vapour.values[i];
                    const double value = (1 - x) * l + x * v;
                    const PointResult r = mode == 2 ? ByPH(f, P, value) : ByPS(f, P, value);
                    ASSERT_TRUE(r.quality.HasValue()) << f.id << " P=" << P << " x=" << x << " mode " << mode;
                    const double expected = (value - l) / (v - l);
                    EXPECT_NEAR(r.quality.value, expected, 1e-9) << f.id << " P=" << P << " x=" << x;
                    worst = std::max(worst, std::fabs(r.quality.value - expected));
                    EXPECT_EQ(r.state.T, sat.T);
                    EXPECT_EQ(r.state.inputVar, mode);
                    EXPECT_FALSE(r.ResultAvailable(kCp));
                    EXPECT_NEAR(r.properties.values[i], value, 1e-12 * std::fabs(v - l) + 1e-12 * std::fabs(value));
                }
            }
        }
        std::printf("%s: worst quality gap %.2e\n", f.id, worst);
    }
}

TEST(IsobarWetStates, JustOutsideTheDomeIsSinglePhase) {
    const Fluid& f = FluidAt(0);
    const SaturationPoint sat = SaturationByPressure(f, 1e6);
    ASSERT_TRUE(sat.HasValue());
    const double hl = sat.liquid.values[kH], hv = sat.vapour.values[kH];
    const PointResult liquid = ByPH(f, 1e6, hl - 100);
    ASSERT_TRUE(liquid.hasProperties);
    EXPECT_FALSE(liquid.quality.HasValue());
    EXPECT_LT(liquid.state.T, sat.T);
    EXPECT_NEAR(liquid.properties.values[kH], hl - 100, 1e-9 * std::fabs(hl));
    const PointResult vapour = ByPH(f, 1e6, hv + 100);
    ASSERT_TRUE(vapour.hasProperties);
    EXPECT_FALSE(vapour.quality.HasValue());
    EXPECT_GT(vapour.state.T, sat.T);
    EXPECT_NEAR(vapour.properties.values[kH], hv + 100, 1e-9 * hv);
}

// IAPWS-IF97 check values of the backward equations T(p,h) (Tables 7 and 24) and
// T(p,s) (Tables 9 and 29): p in MPa, h in kJ/kg, s in kJ/(kg K), T in K. The
// backward equations agree with the basic equations solved here within the
// permitted inconsistencies of the release (25 mK in region 1, 10 mK in region 2).
TEST(IsobarIf97, BackwardEquationCheckTemperatures) {
    const Fluid& f = FluidAt(0);
    const double M = f.constants.M;  // g/mol: kJ/kg times g/mol is J/mol
    struct Row {
        double p, value, T, tolerance;
    };
    const Row byH[] = {
        {3, 500, 391.798509, 25e-3},      {80, 500, 378.108626, 25e-3},  {80, 1500, 611.041229, 25e-3},
        {0.001, 3000, 534.433241, 25e-3}, {3, 3000, 575.373370, 25e-3},  {3, 4000, 1010.77577, 25e-3},
        {5, 3500, 801.299102, 25e-3},     {5, 4000, 1015.31583, 25e-3},  {25, 3500, 875.279054, 25e-3},
        {40, 2700, 743.056411, 25e-3},    {60, 2700, 791.137067, 25e-3}, {60, 3200, 882.756860, 25e-3},
    };
    const Row byS[] = {
        {3, 0.5, 307.842258, 25e-3},   {80, 0.5, 309.979785, 25e-3},  {80, 3, 565.899909, 25e-3},
        {0.1, 7.5, 399.517097, 25e-3}, {0.1, 8, 514.127081, 25e-3},   {2.5, 8, 1039.84917, 25e-3},
        {8, 6, 600.484040, 25e-3},     {8, 7.5, 1064.95556, 25e-3},   {90, 6, 1038.01126, 25e-3},
        {20, 5.75, 697.992849, 25e-3}, {80, 5.25, 854.011484, 25e-3}, {80, 5.75, 949.017998, 25e-3},
    };
    double worst = 0;
    for (const Row& r : byH) {
        const PointResult s = ByPH(f, r.p * 1e6, r.value * M);
        ASSERT_TRUE(s.hasProperties) << r.p << " " << r.value;
        EXPECT_NEAR(s.state.T, r.T, r.tolerance) << r.p << " " << r.value;
        EXPECT_NEAR(s.properties.values[kH], r.value * M, 1e-9 * r.value * M);
        worst = std::max(worst, std::fabs(s.state.T - r.T));
        std::printf("  T(p,h) %g MPa %g kJ/kg: %.6f K, check %.6f K\n", r.p, r.value, s.state.T, r.T);
    }
    for (const Row& r : byS) {
        const PointResult s = ByPS(f, r.p * 1e6, r.value * M);
        ASSERT_TRUE(s.hasProperties) << r.p << " " << r.value;
        EXPECT_NEAR(s.state.T, r.T, r.tolerance) << r.p << " " << r.value;
        EXPECT_NEAR(s.properties.values[kS], r.value * M, 1e-9 * r.value * M);
        worst = std::max(worst, std::fabs(s.state.T - r.T));
        std::printf("  T(p,s) %g MPa %g kJ/(kg K): %.6f K, check %.6f K\n", r.p, r.value, s.state.T, r.T);
    }
    std::printf("IF97 backward check temperatures: worst |dT| %.3e K\n", worst);
}

TEST(IsobarRefusals, PairsWithoutAnAcceptedState) {
    const Fluid& water = FluidAt(0);
    // Below the lowest temperature and above the highest one.
    const double hCold = ByTP(water, 273.15, 1e6).properties.values[kH];
    const PointResult cold = ByPH(water, 1e6, hCold - 100);
    EXPECT_FALSE(cold.hasProperties);
    EXPECT_TRUE(cold.HasMessage(MessageId::kWaterBelowT));
    const double hHot = ByTP(water, 2273.15, 1e6).properties.values[kH];
    const PointResult hot = ByPH(water, 1e6, hHot + 100);
    EXPECT_FALSE(hot.hasProperties);
    EXPECT_TRUE(hot.HasMessage(MessageId::kWaterAboveT));
    // Above 10 MPa the range ends at 1073.15 K.
    const double sHot = ByTP(water, 1073.15, 50e6).properties.values[kS];
    const PointResult hotHigh = ByPS(water, 50e6, sHot + 1);
    EXPECT_TRUE(hotHigh.HasMessage(MessageId::kWaterAbove10MPaHot));
    EXPECT_TRUE(ByPH(water, 150e6, 1000).HasMessage(MessageId::kWaterAbove100MPa));
    // Below the melting line: methanol and carbon dioxide freeze.
    for (int index : {1, 2}) {
        const Fluid& f = FluidAt(index);
        const double P = 100e6;
        const IsobarRange range = IsobarRangeOf(f, P);
        ASSERT_TRUE(range.accepted);
        EXPECT_GT(range.Tlow, f.limits.Tmin) << f.id;
        EXPECT_EQ(range.belowLow, MessageId::kFreeze) << f.id;
        const double h = ByTP(f, range.Tlow, P).properties.values[kH];
        const PointResult frozen = ByPH(f, P, h - 10);
        EXPECT_FALSE(frozen.hasProperties) << f.id;
        EXPECT_TRUE(frozen.HasMessage(MessageId::kFreeze)) << f.id;
        // Just inside the range the state is found at the edge's temperature.
        const PointResult edge = ByPH(f, P, h);
        ASSERT_TRUE(edge.hasProperties) << f.id;
        EXPECT_NEAR(edge.state.T, range.Tlow, 1e-9 * range.Tlow) << f.id;
    }
    // Methanol above 0.2 MPa ends at 570 K.
    const Fluid& methanol = FluidAt(1);
    const double sEdge = ByTP(methanol, 570, 1e6).properties.values[kS];
    EXPECT_TRUE(ByPS(methanol, 1e6, sEdge + 1).HasMessage(MessageId::kMethanolAbove02MPaHot));
}

TEST(IsobarRefusals, ZeroNegativeAndNonFiniteInput) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        const PointResult zero = ByPH(f, 0, 1000);
        EXPECT_TRUE(zero.HasMessage(MessageId::kZeroState)) << f.id;
        EXPECT_FALSE(zero.hasProperties);
        EXPECT_TRUE(ByPS(f, 0, 10).HasMessage(MessageId::kZeroState)) << f.id;
        const PointResult negative = ByPH(f, -1e5, 1000);
        EXPECT_FALSE(negative.hasProperties) << f.id;
        EXPECT_EQ(negative.messageCount, 1) << f.id;
        for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
            const PointResult r = ByPH(f, 1e6, bad);
            EXPECT_FALSE(r.hasProperties);
            EXPECT_TRUE(r.HasMessage(MessageId::kNoStateOnIsobar)) << f.id;
            EXPECT_TRUE(ByPS(f, 1e6, bad).HasMessage(MessageId::kNoStateOnIsobar)) << f.id;
        }
        const PointResult nanP = ByPH(f, std::nan(""), 1000);
        EXPECT_FALSE(nanP.hasProperties) << f.id;
        EXPECT_EQ(nanP.messageCount, 1) << f.id;
    }
}

// Bit-for-bit equality of two doubles (NaN equal to the same NaN).
bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every number and status of two results, bit for bit; the first difference, or "".
std::string Difference(const PointResult& a, const PointResult& b) {
    const PointContext &x = a.state, &y = b.state;
    const double xs[] = {x.T, x.P, x.rho, x.tau, x.delta, x.pi, x.satuP, x.satuRhov, x.satuRhol, x.meltP};
    const double ys[] = {y.T, y.P, y.rho, y.tau, y.delta, y.pi, y.satuP, y.satuRhov, y.satuRhol, y.meltP};
    for (int i = 0; i < 10; ++i)
        if (!SameBits(xs[i], ys[i])) return "state field " + std::to_string(i);
    if (x.inputVar != y.inputVar || a.hasP != b.hasP || a.hasRho != b.hasRho) return "flags";
    if (a.hasProperties != b.hasProperties || a.messageCount != b.messageCount) return "properties or messages";
    for (int i = 0; i < a.messageCount; ++i)
        if (a.messages[i] != b.messages[i]) return "message";
    if (a.quality.status != b.quality.status || !SameBits(a.quality.value, b.quality.value)) return "quality";
    if (a.saturation.status != b.saturation.status || !SameBits(a.saturation.P, b.saturation.P)) return "saturation";
    for (int i = 0; i < kPropertyCount; ++i)
        if (!SameBits(a.properties.values[i], b.properties.values[i])) return "result " + std::to_string(i);
    for (int k = 0; k < kSecondaryCount; ++k)
        if (a.properties.secondary[k].status != b.properties.secondary[k].status ||
            !SameBits(a.properties.secondary[k].value, b.properties.secondary[k].value))
            return "secondary " + std::to_string(k);
    return "";
}

// (P, h) and (P, s) inputs of each fluid: compressed liquids, vapours, states above
// the critical pressure, near-critical ones, wet states and a pair below the range.
std::vector<std::pair<int, PointInput>> HistoryInputs() {
    std::vector<std::pair<int, PointInput>> inputs;
    const double states[3][6][2] = {
        {{300, 10e6}, {500, 1e6}, {800, 50e6}, {648, 22.5e6}, {640, 21e6}, {1500, 5e6}},
        {{300, 10e6}, {400, 0.1e6}, {550, 20e6}, {513.5, 8.3e6}, {500, 5e6}, {200, 100e6}},
        {{250, 10e6}, {300, 1e6}, {400, 20e6}, {305, 7.5e6}, {290, 7e6}, {230, 1e6}},
    };
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        for (const auto& st : states[index]) {
            const PointResult tp = ByTP(f, st[0], st[1]);
            if (!tp.hasProperties) continue;
            for (int mode = 2; mode <= 3; ++mode) {
                PointInput in;
                in.inputVar = mode;
                in.P = st[1];
                in.h = tp.properties.values[kH];
                in.s = tp.properties.values[kS];
                inputs.push_back({index, in});
            }
        }
        // Wet states: halfway between the saturated liquid and vapour.
        const SaturationPoint sat = SaturationByPressure(f, 0.3 * f.constants.Pc);
        if (sat.HasValue()) {
            PointInput in;
            in.inputVar = 2;
            in.P = sat.P;
            in.h = (sat.liquid.values[kH] + sat.vapour.values[kH]) / 2;
            inputs.push_back({index, in});
            in.inputVar = 3;
            in.s = (sat.liquid.values[kS] + sat.vapour.values[kS]) / 2;
            inputs.push_back({index, in});
        }
        // Below the lowest temperature: a refusal.
        PointInput cold;
        cold.inputVar = 2;
        cold.P = 1e6;
        cold.h = ByTP(f, f.limits.Tmin + 1, 1e6).properties.values[kH] - 1e4;
        inputs.push_back({index, cold});
    }
    return inputs;
}

std::vector<PointResult> RunInOrder(const std::vector<std::pair<int, PointInput>>& inputs,
                                    const std::vector<size_t>& order) {
    std::vector<PointResult> out(inputs.size());
    for (size_t i : order) out[i] = Calculate(FluidAt(inputs[i].first), inputs[i].second);
    return out;
}

// The per-thread caches (saturation state, isobar range, equilibrium by pressure, the
// fluids' power tables) and the order of the calculations never change a result:
// each input gives the same bits in order, in reverse order, twice in a row, after
// every other input, and on other threads.
TEST(IsobarDeterminism, ResultsDoNotDependOnHistoryOrThread) {
    const std::vector<std::pair<int, PointInput>> inputs = HistoryInputs();
    ASSERT_GT(inputs.size(), 30u);
    std::vector<size_t> forward(inputs.size()), backward, twice;
    for (size_t i = 0; i < inputs.size(); ++i) forward[i] = i;
    backward.assign(forward.rbegin(), forward.rend());
    const std::vector<PointResult> reference = RunInOrder(inputs, forward);
    int found = 0, wet = 0, refused = 0;
    for (const PointResult& r : reference) {
        found += r.hasProperties && !r.quality.HasValue();
        wet += r.quality.HasValue();
        refused += !r.hasProperties;
    }
    EXPECT_GT(found, 25);
    EXPECT_GE(wet, 6);
    EXPECT_GE(refused, 3);
    auto Compare = [&](const std::vector<PointResult>& got, const char* how) {
        for (size_t i = 0; i < inputs.size(); ++i) {
            const std::string d = Difference(reference[i], got[i]);
            EXPECT_EQ(d, "") << how << ": input " << i << " of fluid " << inputs[i].first;
        }
    };
    Compare(RunInOrder(inputs, backward), "reverse order");
    // Each input right after itself (every cache keyed on it answers) and after each
    // other input.
    for (size_t i = 0; i < inputs.size(); ++i) {
        const Fluid& f = FluidAt(inputs[i].first);
        EXPECT_EQ(Difference(reference[i], Calculate(f, inputs[i].second)), "") << "repeated: input " << i;
        for (size_t j = 0; j < inputs.size(); j += 3) {
            Calculate(FluidAt(inputs[j].first), inputs[j].second);
            EXPECT_EQ(Difference(reference[i], Calculate(f, inputs[i].second)), "")
                << "input " << i << " after input " << j;
        }
    }
    std::vector<PointResult> threaded[2];
    std::thread a([&] { threaded[0] = RunInOrder(inputs, backward); });
    std::thread b([&] { threaded[1] = RunInOrder(inputs, forward); });
    a.join();
    b.join();
    Compare(threaded[0], "thread 1");
    Compare(threaded[1], "thread 2");
}

// The 14 results of StateValues, which the search evaluates, are those of Properties
// bit for bit (water's region 3 leaves the fugacity coefficient out), over states of
// every region and phase.
TEST(IsobarFluidOperations, StateValuesAreThoseOfProperties) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        ASSERT_NE(f.ops.StateValues, nullptr) << f.id;
        int states = 0, fugacityLeftOut = 0, gibbsCompared = 0;
        for (double T : Spread(f.limits.Tmin + 0.5, f.limits.Tmax, 40)) {
            for (double P : {1e3, 0.1e6, 1e6, 5e6, 20e6, 50e6, 100e6}) {
                for (int mode = 0; mode <= 1; ++mode) {
                    PointInput in;
                    in.T = T;
                    in.P = P;
                    if (mode == 1) {
                        const PointResult tp = Calculate(f, in);
                        if (!tp.hasProperties) continue;
                        in.inputVar = 1;
                        in.rho = tp.state.rho * 1.01;
                    }
                    const PointResult r = Calculate(f, in);
                    if (!r.hasProperties) continue;
                    ++states;
                    const std::array<double, kPropertyCount> v = f.ops.StateValues(r.state);
                    if (f.ops.GibbsEnergy) {
                        double S = 0;
                        const double G = f.ops.GibbsEnergy(r.state, &S);
                        EXPECT_TRUE(SameBits(G, v[kG]) && SameBits(S, v[kS]))
                            << f.id << " T=" << T << " P=" << P << " mode " << mode;
                        ++gibbsCompared;
                    }
                    for (int i = 0; i < kPropertyCount; ++i) {
                        if (i == kFugacity && std::isnan(v[i]) && index == 0) {
                            ++fugacityLeftOut;
                            continue;
                        }
                        EXPECT_TRUE(SameBits(v[i], r.properties.values[i]))
                            << f.id << " T=" << T << " P=" << P << " mode " << mode << " result " << i;
                    }
                }
            }
        }
        EXPECT_GT(states, 300) << f.id;
        if (index == 0) {
            EXPECT_GT(fugacityLeftOut, 0);
            EXPECT_EQ(gibbsCompared, states);
        }
    }
}

// The secondary results each fluid declares are those its Properties gives: a wet state
// found by pressure (whose phases carry the 14 results alone) shows "N/A" in exactly
// the fields that one of given vapour fraction at the same temperature shows.
TEST(IsobarFluidOperations, DeclaredSecondaryResultsAreThoseOfProperties) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        int states = 0;
        for (double T : Spread(f.limits.Tmin + 0.5, f.limits.Tmax, 40)) {
            for (double P : {1e3, 0.1e6, 1e6, 5e6, 20e6, 100e6}) {
                PointInput in;
                in.T = T;
                in.P = P;
                const PointResult r = Calculate(f, in);
                if (!r.hasProperties) continue;
                ++states;
                for (int k = 0; k < kSecondaryCount; ++k) {
                    const bool declared = f.ops.secondaryResults >> k & 1u;
                    const bool given = r.properties.secondary[k].status != Status::kUnset;
                    // Carbon dioxide leaves the diffusivity unset where its conductivity
                    // has no value.
                    const bool diffusivityWithoutConductivity =
                        index == 2 && k == kDth && r.properties.secondary[kLambda].status != Status::kValue;
                    if (!diffusivityWithoutConductivity) {
                        EXPECT_EQ(declared, given) << f.id << " T=" << T << " P=" << P << " k=" << k;
                    }
                }
            }
        }
        EXPECT_GT(states, 100) << f.id;

        // Also at 0.9 Pc, where water's phases are those of region 3.
        for (double u : {0.3, 0.9}) {
            const SaturationPoint sat = SaturationByPressure(f, u * f.constants.Pc);
            ASSERT_TRUE(sat.HasValue()) << f.id;
            PointInput in;
            in.inputVar = 2;
            in.P = u * f.constants.Pc;
            in.h = (sat.liquid.values[kH] + sat.vapour.values[kH]) / 2;
            const PointResult byH = Calculate(f, in);
            ASSERT_TRUE(byH.quality.HasValue()) << f.id;
            const PointResult byX = TwoPhaseState(f, SaturationByTemperature(f, byH.state.T), byH.quality.value);
            for (int i = 0; i < kPropertyCount; ++i)
                EXPECT_TRUE(SameBits(byH.properties.values[i], byX.properties.values[i]))
                    << f.id << " u=" << u << " i=" << i;
            EXPECT_TRUE(std::isfinite(byH.properties.values[kFugacity])) << f.id << " u=" << u;
            for (int k = 0; k < kSecondaryCount; ++k) {
                EXPECT_EQ(byH.properties.secondary[k].status, byX.properties.secondary[k].status) << f.id << " k=" << k;
                EXPECT_EQ(byH.properties.secondary[k].status,
                          (f.ops.secondaryResults >> k & 1u) ? Status::kNotAvailable : Status::kUnset)
                    << f.id << " k=" << k;
            }
        }
    }
}

// The search chooses the liquid or the vapour branch 2e-3 (relative) either side of
// the saturation temperature of the auxiliary vapour-pressure equation; that
// temperature must lie well within that distance of the equilibrium's.
TEST(IsobarFluidOperations, AuxiliarySaturationTemperatureNearTheEquilibrium) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        ASSERT_NE(f.ops.AuxiliarySaturationPressure, nullptr) << f.id;
        const SaturationRange range = SaturationRangeOf(f);
        double worst = 0;
        for (double T : Spread(range.Tlow, range.Thigh, 200)) {
            const SaturationPoint sat = SaturationByTemperature(f, T);
            if (!sat.HasValue()) continue;
            const double p = f.ops.AuxiliarySaturationPressure(T);
            ASSERT_GT(p, 0) << f.id << " T=" << T;
            // Relative temperature error: the pressure error over d ln p / d ln T.
            const double slope = std::log(f.ops.AuxiliarySaturationPressure(T * (1 - 1e-6)) / p) / std::log(1 - 1e-6);
            worst = std::max(worst, std::fabs(std::log(p / sat.P)) / slope);
        }
        std::printf("%s: auxiliary saturation temperature within %.2e (relative)\n", f.id, worst);
        EXPECT_LT(worst, 5e-4) << f.id;
        EXPECT_EQ(f.ops.AuxiliarySaturationPressure(f.constants.Tc), 0) << f.id;
    }
}

// The equilibrium found by pressure is the one at its temperature, bit for bit, with
// every result of both phases (its search evaluates the phases without the transport
// results and completes the answer).
TEST(IsobarWetStates, EquilibriumByPressureIsTheOneAtItsTemperature) {
    for (int index = 0; index < kFluidCount; ++index) {
        const Fluid& f = FluidAt(index);
        const SaturationRange range = SaturationRangeOf(f);
        for (double u : {0.05, 0.5, 0.95}) {
            const double P = range.Plow * std::pow(range.Phigh / range.Plow, u);
            const SaturationPoint byP = SaturationByPressure(f, P);
            ASSERT_TRUE(byP.HasValue()) << f.id;
            const SaturationPoint byT = SaturationByTemperature(f, byP.T);
            EXPECT_TRUE(SameBits(byP.P, byT.P) && SameBits(byP.rhol, byT.rhol) && SameBits(byP.rhov, byT.rhov)) << f.id;
            for (int i = 0; i < kPropertyCount; ++i) {
                EXPECT_TRUE(SameBits(byP.liquid.values[i], byT.liquid.values[i])) << f.id << " result " << i;
                EXPECT_TRUE(SameBits(byP.vapour.values[i], byT.vapour.values[i])) << f.id << " result " << i;
            }
            for (int k = 0; k < kSecondaryCount; ++k) {
                EXPECT_EQ(byP.liquid.secondary[k].status, byT.liquid.secondary[k].status) << f.id;
                EXPECT_TRUE(SameBits(byP.liquid.secondary[k].value, byT.liquid.secondary[k].value)) << f.id;
                EXPECT_TRUE(SameBits(byP.vapour.secondary[k].value, byT.vapour.secondary[k].value)) << f.id;
            }
            // The transport results are there (water: the viscosity of both phases).
            EXPECT_EQ(byP.liquid.secondary[kEtha].status, Status::kValue) << f.id;
        }
    }
}

}  // namespace
}  // namespace kelvane
