// IAPWS-IF97 boundary and saturation-pressure equations, the special selectors and
// order combinations of the region functions, and the region rule at its boundaries.
#include <gtest/gtest.h>

#include <cmath>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "fluids/water/water_eos.h"
#include "verify/check_values.h"

namespace kelvane {
namespace {

using RegionFunction = double (*)(int, double, int, double);

constexpr const FluidConstants& kC = kWaterConstants;

class WaterEos : public ::testing::Test {
protected:
    // Saturation values at T, as the point calculation uses them.
    void StoreSaturation(double T) {
        const SaturationState s = CalculationSaturation(FluidAt(0), 1 / T, T);
        ASSERT_EQ(s.status, Status::kValue) << T;
        satuP = s.P;
        satuRhov = s.rhov;
        satuRhol = s.rhol;
    }
    double satuP = 0, satuRhov = 0, satuRhol = 0;
};

// The release prints 9 significant digits: agreement within half a unit of the last.
TEST_F(WaterEos, BoundaryAndSaturationEquationsReproduceRelease) {
    using verify::FormulationId;
    const auto b23 = verify::ChecksOf(FormulationId::kIf97Boundary23);
    ASSERT_EQ(b23.size(), 1u);
    EXPECT_NEAR(BoundaryB23Pressure(1 / b23[0].T) / 1e6, verify::PublishedValue(b23[0]), verify::Tolerance(b23[0]));
    const auto saturation = verify::ChecksOf(FormulationId::kIf97Saturation);  // Table 35
    ASSERT_EQ(saturation.size(), 3u);
    for (const verify::CheckValue& c : saturation) {
        EXPECT_NEAR(verify::LastDigitUnit(c), std::pow(10.0, std::floor(std::log10(verify::PublishedValue(c))) - 8),
                    1e-20);
        EXPECT_NEAR(SaturationPressureEquation(c.T) / 1e6, verify::PublishedValue(c), verify::Tolerance(c)) << c.T;
    }
    EXPECT_NEAR(SaturationPressureEquation(647.096) / 22.064e6, 1, 1e-6);  // ends at IF97's critical point
}

TEST_F(WaterEos, OrdersWithoutAMeaningReturnZero) {
    struct Fn {
        RegionFunction f;
        double x, y;
        int lowestSpecial;  // lowest negative second order that selects a special value
    } const fns[] = {{GibbsRegion1, 0.5, 3.0, 0},
                     {GibbsRegion2, 0.5, 1.0, -2},
                     {HelmholtzRegion3, 1.2, 1.0, 0},
                     {GibbsRegion5, 0.5, 0.7, -2}};
    for (const auto& fn : fns) {
        for (int i = -3; i <= 3; ++i) {
            for (int j = -3; j <= 3; ++j) {
                const bool meaningful = (i >= 0 && j >= 0 && i + j <= 2) || (j < 0 && j >= fn.lowestSpecial);
                EXPECT_EQ(fn.f(i, fn.x, j, fn.y) != 0, meaningful) << i << "," << j;
            }
        }
        if (fn.lowestSpecial < 0) {  // a special value ignores the first order
            EXPECT_EQ(fn.f(0, fn.x, -1, fn.y), fn.f(2, fn.x, -1, fn.y));
        }
    }
}

TEST_F(WaterEos, SelectorsGiveFugacityAndVirialLimits) {
    // j = -2 is the pi -> 0 limit of d gammar / d pi, i.e. of gammar / pi (j = -1).
    for (auto [f, y] : {std::pair<RegionFunction, double>{GibbsRegion2, 540.0 / 300},
                        {GibbsRegion2, 540.0 / 900},
                        {GibbsRegion5, 1000.0 / 1500}}) {
        const double tiny = 1e-8, limit = f(0, tiny, -1, y) / tiny;
        EXPECT_NEAR(f(0, 3, -2, y), limit, 1e-6 * std::fabs(limit));
    }
    // The second virial coefficient of steam at 500 K is about -0.18e-3 m3/mol.
    const double B = GibbsRegion2(0, 0, -2, 540.0 / 500) * kC.R * 500 / 1e6;
    EXPECT_LT(B, -1.5e-4);
    EXPECT_GT(B, -2.1e-4);
    // Liquid fugacity integrated from the saturated vapour: at the saturation pressure
    // it equals the vapour's; without a saturation pressure it is not finite.
    StoreSaturation(400);
    EXPECT_NEAR(LiquidLnFugacity(satuP / 16.53e6, 1386 / 400.0, satuP), GibbsRegion2(0, satuP / 1e6, -1, 540 / 400.0),
                1e-15);
    EXPECT_TRUE(std::isfinite(LiquidLnFugacity(0.5, 1386 / 400.0, 3536.7)));
    EXPECT_FALSE(std::isfinite(LiquidLnFugacity(0.5, 1386 / 400.0, 0)));
}

TEST_F(WaterEos, RegionByPressureAtItsBoundaries) {
    EXPECT_EQ(Region(0, 1 / 1073.15, 5e6, 0, 0, 0), 2);  // exactly 1073.15 K is not region 5
    EXPECT_EQ(Region(0, 1 / 1073.1500001, 5e6, 0, 0, 0), 5);
    StoreSaturation(623.15);  // at 623.15 K the saturation pressure separates 1 and 2
    const double ps = satuP;
    EXPECT_EQ(Region(0, 1 / 623.15, ps, ps, satuRhov, satuRhol), 1);
    EXPECT_EQ(Region(0, 1 / 623.15, std::nextafter(ps, 0.0), ps, satuRhov, satuRhol), 2);
    EXPECT_EQ(Region(0, 1 / 623.15, 100e6, ps, satuRhov, satuRhol), 1);
    const double pB = BoundaryB23Pressure(1 / 700.0);  // above it the 2-3 boundary line
    EXPECT_EQ(Region(0, 1 / 700.0, pB, 0, 0, 0), 3);
    EXPECT_EQ(Region(0, 1 / 700.0, std::nextafter(pB, 0.0), 0, 0, 0), 2);
    EXPECT_EQ(Region(0, 1 / 650.0, 50e6, 0, 0, 0), 3);
    EXPECT_EQ(Region(0, 1 / 623.16, 10e6, 0, 0, 0), 2);
}

TEST_F(WaterEos, RegionByDensityAtItsBoundaries) {
    StoreSaturation(500);
    const double rv = satuRhov, rl = satuRhol, ps = satuP;
    EXPECT_EQ(Region(rl, 1 / 500.0, 0, ps, rv, rl), 1);
    EXPECT_EQ(Region(std::nextafter(rl, 0.0), 1 / 500.0, 0, ps, rv, rl), 2);
    EXPECT_EQ(Region(0.5 * (rv + rl), 1 / 500.0, 0, ps, rv, rl), 2);  // coexistence: vapour side
    // Above 623.15 K the region-3 pressure of the density decides: bisect for the
    // density whose region-3 pressure is the boundary pressure, then test both sides.
    const double tau = 1 / 700.0, pB = BoundaryB23Pressure(tau);
    double lo = 1000, hi = 20000;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi), d = mid / kC.rhoc;
        (HelmholtzRegion3(1, d, 0, kC.Tc * tau) * d * mid * kC.R * 700 < pB ? lo : hi) = mid;
    }
    EXPECT_EQ(Region(hi, tau, 0, 0, 0, 0), 3);
    EXPECT_EQ(Region(lo, tau, 0, 0, 0, 0), 2);
    EXPECT_EQ(Region(kC.rhoc, 1 / 640.0, 0, 0, 0, 0), 3);  // inside the loop below Tc
}

// The six derivatives of a Gibbs region in one call are the numbers of the single-order
// functions bit for bit, whatever was evaluated before (the power tables are shared),
// over each region's range of pi and tau.
TEST_F(WaterEos, AllOrdersInOneCallAreTheSingleOrders) {
    struct Region {
        GibbsOrders (*all)(double, double);
        double (*one)(int, double, int, double);
        double piLow, piHigh, tauLow, tauHigh;
    };
    const Region regions[] = {{GibbsRegion1Orders, GibbsRegion1, 1e-4, 6.05, 2.2, 5.1},
                              {GibbsRegion2Orders, GibbsRegion2, 1e-6, 100, 0.5, 1.98},
                              {GibbsRegion5Orders, GibbsRegion5, 1e-6, 50, 0.4, 1.0}};
    int compared = 0;
    for (const Region& r : regions)
        for (int a = 0; a <= 12; ++a)
            for (int b = 0; b <= 12; ++b) {
                const double pi = r.piLow * std::pow(r.piHigh / r.piLow, a / 12.0);
                const double tau = r.tauLow + (r.tauHigh - r.tauLow) * b / 12.0;
                const GibbsOrders d = r.all(pi, tau);
                // Another state in between, so the tables hold other bases.
                r.all(pi * 0.7, tau * 1.01);
                const double single[6] = {r.one(0, pi, 0, tau), r.one(0, pi, 1, tau), r.one(0, pi, 2, tau),
                                          r.one(1, pi, 0, tau), r.one(1, pi, 1, tau), r.one(2, pi, 0, tau)};
                const double batch[6] = {d.g, d.gTau, d.gTauTau, d.gPi, d.gPiTau, d.gPiPi};
                for (int k = 0; k < 6; ++k, ++compared) EXPECT_EQ(batch[k], single[k]) << pi << " " << tau << " " << k;
            }
    EXPECT_EQ(compared, 3 * 13 * 13 * 6);
}

}  // namespace
}  // namespace kelvane
