// Span-Wagner Helmholtz energy of carbon dioxide: analytic derivatives against central
// differences (also next to the critical point, where the non-analytic terms 40-42
// carry the second derivatives), the guarded points and the selectors.
#include <gtest/gtest.h>

#include <cmath>

#include "fluids/co2/co2_eos.h"

namespace kelvane {
namespace {

double R(int nd, double d, int nt, double t) { return Co2ResidualHelmholtz(nd, d, nt, t); }

TEST(Co2ResidualHelmholtz, DerivativesMatchCentralDifferences) {
    // delta, tau, difference step, relative tolerance.
    const double states[][4] = {
        {0.03, 1.4, 1e-6, 1e-7},  {2.4, 1.4, 1e-5, 1e-7},    {1.7, 0.5, 1e-5, 1e-7},     {3.2, 1.2, 1e-5, 1e-7},
        {1.02, 1.01, 1e-6, 1e-6}, {0.97, 1.003, 1e-7, 1e-5}, {1.004, 0.998, 1e-7, 1e-5}, {1.002, 1.0005, 1e-8, 1e-4},
    };
    for (const auto& s : states) {
        const double d = s[0], t = s[1], h = s[2];
        SCOPED_TRACE(testing::Message() << "delta " << d << " tau " << t);
        auto check = [&](double fd, double exact) { EXPECT_NEAR(exact, fd, s[3] * std::max(1.0, std::fabs(fd))); };
        check((R(0, d + h, 0, t) - R(0, d - h, 0, t)) / (2 * h), R(1, d, 0, t));
        check((R(1, d + h, 0, t) - R(1, d - h, 0, t)) / (2 * h), R(2, d, 0, t));
        check((R(0, d, 0, t + h) - R(0, d, 0, t - h)) / (2 * h), R(0, d, 1, t));
        check((R(0, d, 1, t + h) - R(0, d, 1, t - h)) / (2 * h), R(0, d, 2, t));
        check((R(1, d, 0, t + h) - R(1, d, 0, t - h)) / (2 * h), R(1, d, 1, t));
        check((R(0, d + h, 1, t) - R(0, d - h, 1, t)) / (2 * h), R(1, d, 1, t));
    }
}

TEST(Co2ResidualHelmholtz, GuardedPointsAndSelectors) {
    // At the critical point every pair is finite and the non-analytic terms give 0.
    const int pairs[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}};
    for (const auto& p : pairs) {
        EXPECT_TRUE(std::isfinite(R(p[0], 1.0, p[1], 1.0))) << p[0] << "," << p[1];
        EXPECT_TRUE(std::isfinite(R(p[0], 1.0, p[1], 1.05))) << p[0] << "," << p[1];
        for (int i = 40; i <= 42; ++i) EXPECT_EQ(NonAnalyticDistancePower(p[0], 1.0, p[1], 1.0, i), 0.0);
    }
    EXPECT_NEAR(R(0, 1 + 1e-9, 0, 1 + 1e-9), R(0, 1, 0, 1), 1e-8);
    // At delta = 1 the distance function has no density derivative, and the density
    // derivatives of phir are continuous through delta = 1.
    for (int i = 40; i <= 42; ++i) {
        EXPECT_EQ(NonAnalyticDistance(1, 1.0, 0, 1.05, i), 0.0);
        EXPECT_EQ(NonAnalyticDistance(2, 1.0, 0, 0.95, i), 0.0);
        EXPECT_NEAR(NonAnalyticDistance(0, 1.0, 0, 1.05, i), 0.0025, 1e-15);
    }
    EXPECT_NEAR(R(1, 1.0, 0, 1.05), R(1, 1 + 1e-9, 0, 1.05), 1e-7);
    EXPECT_NEAR(R(2, 1.0, 0, 1.05), R(2, 1 + 1e-9, 0, 1.05), 1e-5);
    // Unsupported pairs.
    EXPECT_EQ(R(2, 0.7, 1, 1.1), 0.0);
    EXPECT_EQ(R(0, 0.7, 3, 1.1), 0.0);
    EXPECT_EQ(R(3, 0.7, 0, 1.1), 0.0);
    EXPECT_EQ(R(1, 0.7, 2, 1.1), 0.0);
    // nTau = -2: the zero-density limit of dphir/ddelta, whatever nDelta and delta.
    for (double tau : {0.28, 1.0, 1.4}) {
        const double limit = R(0, 0.0, -2, tau);
        EXPECT_EQ(R(2, 0.5, -2, tau), limit);
        EXPECT_NEAR(R(1, 1e-8, 0, tau), limit, 1e-6 * std::fabs(limit)) << tau;
    }
}

TEST(Co2IdealHelmholtz, DerivativesAndReferenceState) {
    const double h = 1e-6;
    for (double tau : {0.28, 0.6, 1.0, 1.4}) {
        EXPECT_NEAR(Co2IdealHelmholtz(1, tau),
                    (Co2IdealHelmholtz(0, tau + h) - Co2IdealHelmholtz(0, tau - h)) / (2 * h), 1e-8);
        EXPECT_NEAR(Co2IdealHelmholtz(2, tau),
                    (Co2IdealHelmholtz(1, tau + h) - Co2IdealHelmholtz(1, tau - h)) / (2 * h), 1e-7);
    }
    // Span-Wagner chose a1 and a2 so that the ideal gas has h = 0 and s = 0 at 298.15 K
    // and 0.101325 MPa: h/(RT) = 1 + tau phi0_t, s/R = tau phi0_t - phi0 - ln(delta).
    const double Rm = 8.31451, T0 = 298.15, tau = 304.1282 / T0;
    const double delta = 101325 / (Rm * T0) / (467.6 / 44.0098 * 1000);
    EXPECT_NEAR(Rm * T0 * (1 + tau * Co2IdealHelmholtz(1, tau)), 0, 1e-3);  // J/mol
    EXPECT_NEAR(Rm * (tau * Co2IdealHelmholtz(1, tau) - Co2IdealHelmholtz(0, tau) - std::log(delta)), 0, 1e-5);
}

}  // namespace
}  // namespace kelvane
