// Span-Wagner residual and ideal-gas Helmholtz energy of carbon dioxide: analytic
// derivatives against central differences (also next to the critical point, where the
// non-analytic terms 40-42 dominate), the guarded points, the selectors.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fluids/co2/co2_eos.h"

namespace kelvane {
namespace {

using Fn = std::function<double(double, double)>;

// Central differences of f in delta and in tau.
double DiffDelta(const Fn& f, double d, double t, double h) { return (f(d + h, t) - f(d - h, t)) / (2 * h); }
double DiffTau(const Fn& f, double d, double t, double h) { return (f(d, t + h) - f(d, t - h)) / (2 * h); }

Fn Residual(int nd, int nt) {
    return [nd, nt](double d, double t) { return Co2ResidualHelmholtz(nd, d, nt, t); };
}

void ExpectClose(double expected, double actual, double rel, const char* what) {
    EXPECT_NEAR(actual, expected, rel * std::max(1.0, std::fabs(expected))) << what;
}

struct State {
    double delta, tau, h, rel;
};

// Liquid, gas, dense fluid, supercritical, and states next to the critical point
// (delta and tau within a few thousandths of 1), where the non-analytic terms carry
// the second derivatives. Steps and tolerances follow the curvature there.
const State kStates[] = {
    {0.03, 1.4, 1e-6, 1e-7},    {2.4, 1.40, 1e-5, 1e-7},  {1.7, 0.5, 1e-5, 1e-7},
    {0.8, 0.9, 1e-5, 1e-7},     {3.2, 1.2, 1e-5, 1e-7},   {1.02, 1.01, 1e-6, 1e-6},
    {0.97, 1.003, 1e-7, 1e-5},  {1.004, 0.998, 1e-7, 1e-5}, {1.002, 1.0005, 1e-8, 1e-4},
};

TEST(Co2ResidualHelmholtz, DerivativesMatchCentralDifferences) {
    for (const State& s : kStates) {
        SCOPED_TRACE(testing::Message() << "delta " << s.delta << " tau " << s.tau);
        ExpectClose(DiffDelta(Residual(0, 0), s.delta, s.tau, s.h), Co2ResidualHelmholtz(1, s.delta, 0, s.tau),
                    s.rel, "d/ddelta");
        ExpectClose(DiffDelta(Residual(1, 0), s.delta, s.tau, s.h), Co2ResidualHelmholtz(2, s.delta, 0, s.tau),
                    s.rel, "d2/ddelta2");
        ExpectClose(DiffTau(Residual(0, 0), s.delta, s.tau, s.h), Co2ResidualHelmholtz(0, s.delta, 1, s.tau),
                    s.rel, "d/dtau");
        ExpectClose(DiffTau(Residual(0, 1), s.delta, s.tau, s.h), Co2ResidualHelmholtz(0, s.delta, 2, s.tau),
                    s.rel, "d2/dtau2");
        ExpectClose(DiffTau(Residual(1, 0), s.delta, s.tau, s.h), Co2ResidualHelmholtz(1, s.delta, 1, s.tau),
                    s.rel, "d2/ddelta dtau from d/ddelta");
        ExpectClose(DiffDelta(Residual(0, 1), s.delta, s.tau, s.h), Co2ResidualHelmholtz(1, s.delta, 1, s.tau),
                    s.rel, "d2/ddelta dtau from d/dtau");
    }
}

TEST(Co2ResidualHelmholtz, NonAnalyticAuxiliariesMatchCentralDifferences) {
    const State states[] = {{1.3, 0.95, 1e-6, 1e-6}, {0.9, 1.02, 1e-6, 1e-6}, {1.005, 0.999, 1e-8, 1e-5}, {0.5, 1.2, 1e-6, 1e-6}};
    for (int i = 40; i <= 42; ++i) {
        auto dist = [i](int nd) { return Fn([i, nd](double d, double t) { return NonAnalyticDistance(nd, d, 0, t, i); }); };
        auto power = [i](int nd, int nt) {
            return Fn([i, nd, nt](double d, double t) { return NonAnalyticDistancePower(nd, d, nt, t, i); });
        };
        auto psi = [i](int nd, int nt) {
            return Fn([i, nd, nt](double d, double t) { return NonAnalyticExponential(nd, d, nt, t, i); });
        };
        for (const State& s : states) {
            SCOPED_TRACE(testing::Message() << "term " << i << " delta " << s.delta << " tau " << s.tau);
            const double d = s.delta, t = s.tau, h = s.h, r = s.rel;
            ExpectClose(DiffDelta(dist(0), d, t, h), NonAnalyticDistance(1, d, 0, t, i), r, "Delta_d");
            ExpectClose(DiffDelta(dist(1), d, t, h), NonAnalyticDistance(2, d, 0, t, i), r, "Delta_dd");
            ExpectClose(DiffDelta(power(0, 0), d, t, h), NonAnalyticDistancePower(1, d, 0, t, i), r, "Q_d");
            ExpectClose(DiffDelta(power(1, 0), d, t, h), NonAnalyticDistancePower(2, d, 0, t, i), r, "Q_dd");
            ExpectClose(DiffTau(power(0, 0), d, t, h), NonAnalyticDistancePower(0, d, 1, t, i), r, "Q_t");
            ExpectClose(DiffTau(power(0, 1), d, t, h), NonAnalyticDistancePower(0, d, 2, t, i), r, "Q_tt");
            ExpectClose(DiffTau(power(1, 0), d, t, h), NonAnalyticDistancePower(1, d, 1, t, i), r, "Q_dt");
            ExpectClose(DiffDelta(psi(0, 0), d, t, h), NonAnalyticExponential(1, d, 0, t, i), r, "psi_d");
            ExpectClose(DiffDelta(psi(1, 0), d, t, h), NonAnalyticExponential(2, d, 0, t, i), r, "psi_dd");
            ExpectClose(DiffTau(psi(0, 0), d, t, h), NonAnalyticExponential(0, d, 1, t, i), r, "psi_t");
            ExpectClose(DiffTau(psi(0, 1), d, t, h), NonAnalyticExponential(0, d, 2, t, i), r, "psi_tt");
            ExpectClose(DiffTau(psi(1, 0), d, t, h), NonAnalyticExponential(1, d, 1, t, i), r, "psi_dt");
        }
    }
}

TEST(Co2ResidualHelmholtz, CriticalPointIsFiniteAndNonAnalyticTermsVanish) {
    const int pairs[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}};
    for (const auto& p : pairs) {
        EXPECT_TRUE(std::isfinite(Co2ResidualHelmholtz(p[0], 1.0, p[1], 1.0))) << p[0] << "," << p[1];
        for (int i = 40; i <= 42; ++i) EXPECT_EQ(NonAnalyticDistancePower(p[0], 1.0, p[1], 1.0, i), 0.0);
    }
    // The value next to the critical point approaches the value at it.
    EXPECT_NEAR(Co2ResidualHelmholtz(0, 1 + 1e-9, 0, 1 + 1e-9), Co2ResidualHelmholtz(0, 1, 0, 1), 1e-8);
    EXPECT_NEAR(Co2ResidualHelmholtz(1, 1 + 1e-9, 0, 1 + 1e-9), Co2ResidualHelmholtz(1, 1, 0, 1), 1e-6);
}

TEST(Co2ResidualHelmholtz, AtUnitDensityTheDistanceHasNoDensityDerivative) {
    for (int i = 40; i <= 42; ++i) {
        EXPECT_EQ(NonAnalyticDistance(1, 1.0, 0, 1.05, i), 0.0);
        EXPECT_EQ(NonAnalyticDistance(2, 1.0, 0, 0.95, i), 0.0);
        // Delta = (1 - tau)^2 there, so Delta^b stays positive and finite.
        EXPECT_NEAR(NonAnalyticDistance(0, 1.0, 0, 1.05, i), 0.0025, 1e-15);
    }
    const int pairs[][2] = {{1, 0}, {2, 0}, {1, 1}};
    for (const auto& p : pairs) EXPECT_TRUE(std::isfinite(Co2ResidualHelmholtz(p[0], 1.0, p[1], 1.05)));
    // The delta derivative is continuous through delta = 1.
    EXPECT_NEAR(Co2ResidualHelmholtz(1, 1.0, 0, 1.05), Co2ResidualHelmholtz(1, 1 + 1e-9, 0, 1.05), 1e-7);
    EXPECT_NEAR(Co2ResidualHelmholtz(2, 1.0, 0, 1.05), Co2ResidualHelmholtz(2, 1 + 1e-9, 0, 1.05), 1e-5);
}

TEST(Co2ResidualHelmholtz, UnsupportedPairsGiveZero) {
    EXPECT_EQ(Co2ResidualHelmholtz(2, 0.7, 1, 1.1), 0.0);
    EXPECT_EQ(Co2ResidualHelmholtz(0, 0.7, 3, 1.1), 0.0);
    EXPECT_EQ(Co2ResidualHelmholtz(3, 0.7, 0, 1.1), 0.0);
    EXPECT_EQ(Co2ResidualHelmholtz(1, 0.7, 2, 1.1), 0.0);
    EXPECT_EQ(Co2ResidualHelmholtz(-1, 0.7, 0, 1.1), 0.0);
}

TEST(Co2ResidualHelmholtz, ZeroDensityLimitIgnoresDensityAndIsTheDiluteSlope) {
    for (double tau : {0.28, 0.7, 1.0, 1.2, 1.4}) {
        const double limit = Co2ResidualHelmholtz(0, 0.0, -2, tau);
        EXPECT_EQ(Co2ResidualHelmholtz(0, 0.5, -2, tau), limit);
        EXPECT_EQ(Co2ResidualHelmholtz(2, 0.5, -2, tau), limit);
        // d phir / d delta approaches the limit linearly in delta.
        EXPECT_NEAR(Co2ResidualHelmholtz(1, 1e-8, 0, tau), limit, 1e-6 * std::fabs(limit)) << tau;
    }
}

TEST(Co2IdealHelmholtz, DerivativesMatchCentralDifferences) {
    for (double tau : {0.28, 0.6, 1.0, 1.4}) {
        const double h = 1e-6;
        auto f = [](int n) { return Fn([n](double, double t) { return Co2IdealHelmholtz(n, t); }); };
        ExpectClose(DiffTau(f(0), 0, tau, h), Co2IdealHelmholtz(1, tau), 1e-8, "phi0_t");
        ExpectClose(DiffTau(f(1), 0, tau, h), Co2IdealHelmholtz(2, tau), 1e-7, "phi0_tt");
    }
}

// Span-Wagner chose a1 and a2 so that the ideal gas has h = 0 and s = 0 at 298.15 K
// and 0.101325 MPa; h/(RT) = 1 + tau phi0_t and s/R = tau phi0_t - phi0 with the
// ln(delta) term. R = 8.31451 J/(mol K), rhoc = 467.6/44.0098 mol/dm3.
TEST(Co2IdealHelmholtz, ReferenceStateOfThePublication) {
    const double R = 8.31451, Tc = 304.1282, rhoc = 467.6 / 44.0098 * 1000;
    const double T0 = 298.15, p0 = 101325;
    const double tau = Tc / T0, delta = p0 / (R * T0) / rhoc;
    const double h = R * T0 * (1 + tau * Co2IdealHelmholtz(1, tau));
    const double s = R * (tau * Co2IdealHelmholtz(1, tau) - Co2IdealHelmholtz(0, tau) - std::log(delta));
    EXPECT_NEAR(h, 0, 1e-3);  // J/mol
    EXPECT_NEAR(s, 0, 1e-5);  // J/(mol K)
}

}  // namespace
}  // namespace kelvane
