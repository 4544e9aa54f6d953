// IAPWS-IF97 region functions, boundary and saturation-pressure equations and the
// region rule: the verification values of the release, the derivative orders and
// special selector values, and the region assignment at its boundaries.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/solvers.h"
#include "fluids/registry.h"
#include "fluids/water/water_eos.h"

namespace kelvane {
namespace {

// Specific gas constant of IAPWS-IF97, kJ/(kg K); the release's check values were
// generated with it. The calculator's molar R / M is 0.46152603, 6.0e-8 higher.
constexpr double kIf97R = 0.461526;

class WaterEos : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterAllFluids();
        SelectFluid(0);
    }
};

// Saturation values of the calculator state at T, as the point calculation stores them.
void StoreSaturation(double T) {
    const SaturationResult s = calc.ops.Saturation(1 / T);
    calc.satuP = ParseLeading(s.pressure);
    calc.satuRhov = ParseLeading(s.vapourDensity);
    calc.satuRhol = ParseLeading(s.liquidDensity);
}

// Properties at (T, P) with the pressure given.
PropertyResults ByPressure(double T, double P) {
    calc.inputVar = 0;
    calc.T = T;
    calc.tau = 1 / T;
    calc.P = P;
    calc.pi = P;
    StoreSaturation(T);
    calc.rho = SolveDensity(T, P, calc.satuP, calc.satuRhov, calc.satuRhol);
    calc.delta = calc.rho;
    return calc.ops.Properties(calc.delta, calc.tau, calc.pi, "589");
}

// Properties at (T, rho in mol/m3) with the density given.
PropertyResults ByDensity(double T, double rho) {
    calc.inputVar = 1;
    calc.T = T;
    calc.tau = 1 / T;
    calc.rho = rho;
    calc.delta = rho;
    StoreSaturation(T);
    calc.P = SolvePressure(T, rho, calc.satuP, calc.satuRhov, calc.satuRhol);
    calc.pi = calc.P;
    return calc.ops.Properties(calc.delta, calc.tau, calc.pi, "589");
}

// v (m3/kg), h, u (kJ/kg), s, cp (kJ/(kg K)) and w (m/s) as the release tabulates
// them, from molar results converted with IF97's own specific gas constant (so that
// the comparison tests the equations, not the ratio R / M of the calculator).
struct Specific {
    double v, h, u, s, cp, w;
};

Specific ToSpecific(const PropertyResults& r, double T, double P) {
    const auto& x = r.values;
    const double perMass = kIf97R / calc.R;  // J/mol -> kJ/kg with R = 0.461526
    const double wScale = std::sqrt(kIf97R / (calc.R / calc.M));
    return {x[kZ] * kIf97R * 1000 * T / P, x[kH] * perMass, x[kU] * perMass,
            x[kS] * perMass, x[kCp] * perMass, x[kW] * wScale};
}

// The release prints 9 significant digits: agreement within half a unit of the last.
void ExpectPublished(double computed, double published, const std::string& what) {
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(published))) - 8);
    EXPECT_NEAR(computed, published, 0.5 * unit * (1 + 1e-6)) << what;
}

void ExpectTable(const Specific& got, const Specific& ref, const std::string& where) {
    ExpectPublished(got.v, ref.v, "v " + where);
    ExpectPublished(got.h, ref.h, "h " + where);
    ExpectPublished(got.u, ref.u, "u " + where);
    ExpectPublished(got.s, ref.s, "s " + where);
    ExpectPublished(got.cp, ref.cp, "cp " + where);
    ExpectPublished(got.w, ref.w, "w " + where);
}

struct PressureCase {
    double T, PMPa;
    Specific ref;
};

TEST_F(WaterEos, Region1ReproducesReleaseTable5) {
    const PressureCase cases[] = {
        {300, 3, {0.100215168e-2, 0.115331273e3, 0.112324818e3, 0.392294792, 0.417301218e1, 0.150773921e4}},
        {300, 80, {0.971180894e-3, 0.184142828e3, 0.106448356e3, 0.368563852, 0.401008987e1, 0.163469054e4}},
        {500, 3, {0.120241800e-2, 0.975542239e3, 0.971934985e3, 0.258041912e1, 0.465580682e1, 0.124071337e4}},
    };
    for (const auto& c : cases) {
        const double P = c.PMPa * 1e6;
        ASSERT_EQ(Region(0, 1 / c.T, P, calc.satuP, calc.satuRhov, calc.satuRhol), 1);
        ExpectTable(ToSpecific(ByPressure(c.T, P), c.T, P), c.ref, "region 1 at " + std::to_string(c.T));
    }
}

TEST_F(WaterEos, Region2ReproducesReleaseTable15) {
    const PressureCase cases[] = {
        {300, 0.0035, {0.394913866e2, 0.254991145e4, 0.241169160e4, 0.852238967e1, 0.191300162e1, 0.427920172e3}},
        {700, 0.0035, {0.923015898e2, 0.333568375e4, 0.301262819e4, 0.101749996e2, 0.208141274e1, 0.644289068e3}},
        {700, 30, {0.542946619e-2, 0.263149474e4, 0.246861076e4, 0.517540298e1, 0.103505092e2, 0.480386523e3}},
    };
    for (const auto& c : cases) {
        const double P = c.PMPa * 1e6;
        const PropertyResults r = ByPressure(c.T, P);
        ASSERT_EQ(Region(0, 1 / c.T, P, calc.satuP, calc.satuRhov, calc.satuRhol), 2);
        ExpectTable(ToSpecific(r, c.T, P), c.ref, "region 2 at " + std::to_string(c.T) + " K, " + std::to_string(c.PMPa));
    }
}

TEST_F(WaterEos, Region3ReproducesReleaseTable33) {
    // (T, rho in kg/m3) -> p (MPa), h, u, s, cp, w.
    struct Case {
        double T, rhoMass;
        Specific ref;  // v holds p here
    } const cases[] = {
        {650, 500, {0.255837018e2, 0.186343019e4, 0.181226279e4, 0.405427273e1, 0.138935717e2, 0.502005554e3}},
        {650, 200, {0.222930643e2, 0.237512401e4, 0.226365868e4, 0.485438792e1, 0.446579342e2, 0.383444594e3}},
        {750, 500, {0.783095639e2, 0.225868845e4, 0.210206932e4, 0.446971906e1, 0.634165359e1, 0.760696041e3}},
    };
    for (const auto& c : cases) {
        const double rho = c.rhoMass / calc.M * 1000;
        const PropertyResults r = ByDensity(c.T, rho);
        ASSERT_EQ(Region(rho, 1 / c.T, 0, calc.satuP, calc.satuRhov, calc.satuRhol), 3);
        Specific got = ToSpecific(r, c.T, 1);
        got.v = r.values[kZ] * c.rhoMass * kIf97R * c.T / 1000;  // p in MPa
        ExpectTable(got, c.ref, "region 3 at " + std::to_string(c.T) + " K, " + std::to_string(c.rhoMass));
        // The solved pressure of the density mode is the explicit region-3 pressure.
        EXPECT_NEAR(calc.P, r.values[kZ] * rho * calc.R * c.T, 1e-9 * calc.P);
    }
}

TEST_F(WaterEos, Region5AgreesWithIndependentEvaluationOf1997Form) {
    // Reference values: the 1997 coefficients evaluated independently in 40-digit
    // arithmetic (Python/mpmath, with the release's own expressions for v, h, u, s,
    // cp and w, R = 0.461526 kJ/(kg K)). Rounded to 9 digits they equal the
    // verification table printed with the 1997 release.
    const PressureCase cases[] = {
        {1500, 0.5, {1.384553541444, 5219.763315494, 4527.486544772, 9.654084309826, 2.616102277393, 917.0719326135}},
        {1500, 8, {0.08651566157091, 5206.096344774, 4513.971052206, 8.365467244955, 2.644538661823, 919.7088593198}},
        {2000, 8, {0.1157431456014, 6583.802905334, 5657.857740522, 9.156710442732, 2.853067498473, 1054.358057167}},
    };
    for (const auto& c : cases) {
        const double P = c.PMPa * 1e6;
        const PropertyResults r = ByPressure(c.T, P);
        ASSERT_EQ(Region(0, 1 / c.T, P, calc.satuP, calc.satuRhov, calc.satuRhol), 5);
        const Specific got = ToSpecific(r, c.T, P);
        const std::string at = " region 5 at " + std::to_string(c.T) + " K, " + std::to_string(c.PMPa);
        EXPECT_NEAR(got.v / c.ref.v, 1, 1e-11) << "v" << at;
        EXPECT_NEAR(got.h / c.ref.h, 1, 1e-11) << "h" << at;
        EXPECT_NEAR(got.u / c.ref.u, 1, 1e-11) << "u" << at;
        EXPECT_NEAR(got.s / c.ref.s, 1, 1e-11) << "s" << at;
        EXPECT_NEAR(got.cp / c.ref.cp, 1, 1e-11) << "cp" << at;
        EXPECT_NEAR(got.w / c.ref.w, 1, 1e-11) << "w" << at;
    }
}

TEST_F(WaterEos, MolarResultsDifferFromReleaseOnlyByTheGasConstantRatio) {
    // Without the rescaling, the calculator's own R / M shows: h, and v, are larger
    // by the ratio 0.46152603 / 0.461526 - 1 = 6.0e-8.
    const double ratio = calc.R / calc.M / kIf97R;
    EXPECT_NEAR(ratio - 1, 6.0e-8, 0.1e-8);
    const PropertyResults r = ByPressure(300, 3e6);
    EXPECT_NEAR(r.values[kH] / calc.M / 0.115331273e3, ratio, 5e-9);
    EXPECT_NEAR(1 / (calc.rho * calc.M / 1000) / 0.100215168e-2, ratio, 5e-9);
}

TEST_F(WaterEos, BoundaryAndSaturationEquationsReproduceRelease) {
    // Region 2-3 boundary: T = 623.15 K <-> p = 16.5291643 MPa.
    ExpectPublished(BoundaryB23Pressure(1 / 623.15) / 1e6, 0.165291643e2, "B23");
    // Table 35: saturation pressure equation.
    ExpectPublished(SaturationPressureEquation(300) / 1e6, 0.353658941e-2, "ps(300 K)");
    ExpectPublished(SaturationPressureEquation(500) / 1e6, 0.263889776e1, "ps(500 K)");
    ExpectPublished(SaturationPressureEquation(600) / 1e6, 0.123443146e2, "ps(600 K)");
    // The equation ends at the critical point of IF97.
    EXPECT_NEAR(SaturationPressureEquation(647.096) / 22.064e6, 1, 1e-6);
}

// Central differences of f in its first or second variable, for derivative checks.
using RegionFunction = double (*)(int, double, int, double);

double D1(RegionFunction f, int i, double x, int j, double y, bool inX) {
    const double h = 1e-5 * (inX ? x : y);
    if (inX) return (f(i, x + h, j, y) - f(i, x - h, j, y)) / (2 * h);
    return (f(i, x, j, y + h) - f(i, x, j, y - h)) / (2 * h);
}

void ExpectDerivativesConsistent(RegionFunction f, double x, double y, const char* name) {
    const double rel = 1e-7;
    auto near = [&](double a, double b, const char* what) {
        EXPECT_NEAR(a, b, rel * std::max(1.0, std::fabs(b))) << name << " " << what;
    };
    near(f(1, x, 0, y), D1(f, 0, x, 0, y, true), "(1,0)");
    near(f(0, x, 1, y), D1(f, 0, x, 0, y, false), "(0,1)");
    near(f(2, x, 0, y), D1(f, 1, x, 0, y, true), "(2,0)");
    near(f(0, x, 2, y), D1(f, 0, x, 1, y, false), "(0,2)");
    near(f(1, x, 1, y), D1(f, 1, x, 0, y, false), "(1,1) from d/dy of (1,0)");
    near(f(1, x, 1, y), D1(f, 0, x, 1, y, true), "(1,1) from d/dx of (0,1)");
}

TEST_F(WaterEos, OrdinaryOrdersArePartialDerivatives) {
    ExpectDerivativesConsistent(GibbsRegion1, 3e6 / 16.53e6, 1386.0 / 350, "region 1");
    ExpectDerivativesConsistent(GibbsRegion1, 60e6 / 16.53e6, 1386.0 / 600, "region 1");
    ExpectDerivativesConsistent(GibbsRegion2, 0.5, 540.0 / 500, "region 2");
    ExpectDerivativesConsistent(GibbsRegion2, 40, 540.0 / 900, "region 2");
    ExpectDerivativesConsistent(HelmholtzRegion3, 0.7, 647.096 / 660, "region 3");
    ExpectDerivativesConsistent(HelmholtzRegion3, 1.8, 647.096 / 800, "region 3");
    ExpectDerivativesConsistent(GibbsRegion5, 5, 1000.0 / 1700, "region 5");
}

TEST_F(WaterEos, OtherOrderCombinationsReturnZero) {
    struct Fn {
        RegionFunction f;
        double x, y;
        int lowestSpecial;  // lowest negative second order with a special value
    } const fns[] = {
        {GibbsRegion1, 0.5, 3.0, -1},
        {GibbsRegion2, 0.5, 1.0, -2},
        {HelmholtzRegion3, 1.2, 1.0, 0},
        {GibbsRegion5, 0.5, 0.7, -2},
    };
    calc.satuP = 3536.7;  // keeps the region-1 special value finite
    for (const auto& fn : fns) {
        for (int i = -3; i <= 3; ++i) {
            for (int j = -3; j <= 3; ++j) {
                const bool ordinary = i >= 0 && j >= 0 && i + j <= 2;
                const bool special = j < 0 && j >= fn.lowestSpecial;
                if (ordinary || special) {
                    EXPECT_NE(fn.f(i, fn.x, j, fn.y), 0) << i << "," << j;
                } else {
                    EXPECT_EQ(fn.f(i, fn.x, j, fn.y), 0) << i << "," << j;
                }
            }
        }
        // A special value ignores the first order.
        if (fn.lowestSpecial < 0) {
            EXPECT_EQ(fn.f(0, fn.x, -1, fn.y), fn.f(2, fn.x, -1, fn.y));
        }
    }
}

TEST_F(WaterEos, GasResidualSelectorsAreFugacityAndVirialLimits) {
    // j = -1 is ln(f/P) = gammar: its pi derivative is gamma_pi - 1/pi (that is
    // (Z - 1)/pi); j = -2 is the pi -> 0 limit of that derivative.
    struct Fn {
        RegionFunction f;
        double x, y;
    } const fns[] = {{GibbsRegion2, 2.0, 540.0 / 550}, {GibbsRegion2, 0.01, 540.0 / 300},
                     {GibbsRegion5, 5.0, 1000.0 / 1500}};
    for (const auto& fn : fns) {
        const double h = 1e-5 * fn.x;
        const double slope = (fn.f(0, fn.x + h, -1, fn.y) - fn.f(0, fn.x - h, -1, fn.y)) / (2 * h);
        EXPECT_NEAR(slope, fn.f(1, fn.x, 0, fn.y) - 1 / fn.x, 1e-7 * std::fabs(slope));
        const double tiny = 1e-8;
        const double limit = fn.f(0, tiny, -1, fn.y) / tiny;  // gammar / pi -> its slope at 0
        EXPECT_NEAR(fn.f(0, fn.x, -2, fn.y), limit, 1e-6 * std::fabs(limit));
    }
    // B = bsum R T / 1 MPa: the second virial coefficient of steam at 500 K is about
    // -0.18e-3 m3/mol.
    const double B = GibbsRegion2(0, 0, -2, 540.0 / 500) * calc.R * 500 / 1e6;
    EXPECT_LT(B, -1e-4);
    EXPECT_GT(B, -3e-4);
}

TEST_F(WaterEos, LiquidFugacityIntegratesFromSaturatedVapour) {
    const double T = 400;
    StoreSaturation(T);
    const double tau1 = 1386 / T;
    const double pis = calc.satuP / 16.53e6;
    // At the saturation pressure the liquid and the vapour fugacities coincide.
    EXPECT_NEAR(GibbsRegion1(0, pis, -1, tau1), GibbsRegion2(0, calc.satuP / 1e6, -1, 540 / T), 1e-15);
    // Along the liquid isotherm d ln(f/P) / d pi1 = gamma_pi - 1/pi1.
    for (double P : {1e6, 20e6, 90e6}) {
        const double x = P / 16.53e6, h = 1e-5 * x;
        const double slope = (GibbsRegion1(0, x + h, -1, tau1) - GibbsRegion1(0, x - h, -1, tau1)) / (2 * h);
        EXPECT_NEAR(slope, GibbsRegion1(1, x, 0, tau1) - 1 / x, 1e-6 * std::fabs(slope)) << P;
    }
    // Without a saturation pressure there is no finite value.
    calc.satuP = 0;
    EXPECT_FALSE(std::isfinite(GibbsRegion1(0, 0.5, -1, tau1)));
}

TEST_F(WaterEos, RegionByPressureAtItsBoundaries) {
    // Exactly 1073.15 K is not region 5; just above it is.
    EXPECT_EQ(Region(0, 1 / 1073.15, 5e6, 0, 0, 0), 2);
    EXPECT_EQ(Region(0, 1 / 1073.1500001, 5e6, 0, 0, 0), 5);
    EXPECT_EQ(Region(0, 1 / 1073.15, 90e6, 0, 0, 0), 2);  // still below the 2-3 boundary line
    // At or below 623.15 K the saturation pressure separates regions 1 and 2.
    StoreSaturation(623.15);
    const double ps = calc.satuP;
    ASSERT_GT(ps, 16e6);
    EXPECT_EQ(Region(0, 1 / 623.15, ps, ps, calc.satuRhov, calc.satuRhol), 1);
    EXPECT_EQ(Region(0, 1 / 623.15, std::nextafter(ps, 0.0), ps, calc.satuRhov, calc.satuRhol), 2);
    EXPECT_EQ(Region(0, 1 / 623.15, 100e6, ps, calc.satuRhov, calc.satuRhol), 1);
    // Above 623.15 K the boundary line separates regions 2 and 3, the line itself
    // belonging to region 3.
    const double pB = BoundaryB23Pressure(1 / 700.0);
    EXPECT_EQ(Region(0, 1 / 700.0, pB, 0, 0, 0), 3);
    EXPECT_EQ(Region(0, 1 / 700.0, std::nextafter(pB, 0.0), 0, 0, 0), 2);
    EXPECT_EQ(Region(0, 1 / 650.0, 50e6, 0, 0, 0), 3);
    EXPECT_EQ(Region(0, 1 / 623.16, 10e6, 0, 0, 0), 2);
}

TEST_F(WaterEos, RegionByDensityAtItsBoundaries) {
    StoreSaturation(500);
    const double rv = calc.satuRhov, rl = calc.satuRhol;
    ASSERT_GT(rl, rv);
    EXPECT_EQ(Region(rl, 1 / 500.0, 0, calc.satuP, rv, rl), 1);
    EXPECT_EQ(Region(std::nextafter(rl, 0.0), 1 / 500.0, 0, calc.satuP, rv, rl), 2);
    EXPECT_EQ(Region(0.5 * (rv + rl), 1 / 500.0, 0, calc.satuP, rv, rl), 2);  // coexistence: vapour side
    EXPECT_EQ(Region(0.5 * rv, 1 / 500.0, 0, calc.satuP, rv, rl), 2);
    // Above 623.15 K the region-3 pressure of the density decides.
    const double tau = 1 / 700.0;
    const double pB = BoundaryB23Pressure(tau);
    auto p3 = [&](double rho) {
        const double d = rho / calc.rhoc;
        return HelmholtzRegion3(1, d, 0, calc.Tc * tau) * d * rho * calc.R * 700;
    };
    // Bisect for the density on the boundary line, then check both sides.
    double lo = 1000, hi = 20000;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        (p3(mid) < pB ? lo : hi) = mid;
    }
    EXPECT_EQ(Region(hi, tau, 0, 0, 0, 0), 3);
    EXPECT_EQ(Region(lo, tau, 0, 0, 0, 0), 2);
    EXPECT_EQ(Region(40000, tau, 0, 0, 0, 0), 3);
    // Between 623.15 K and Tc a density inside the coexistence range is region 3.
    EXPECT_EQ(Region(calc.rhoc, 1 / 640.0, 0, 0, 0, 0), 3);
}

}  // namespace
}  // namespace kelvane
