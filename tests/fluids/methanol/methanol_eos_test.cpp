#include "fluids/methanol/methanol_eos.h"

#include <cmath>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

double Phir(int i, double d, int j, double t) { return MethanolResidualHelmholtz(i, d, j, t); }

// Central differences with one Richardson step (error O(h^4)): first and second
// derivative of f at x with step h.
template <class F>
double D1(F f, double x, double h) {
    auto c = [&](double s) { return (f(x + s) - f(x - s)) / (2 * s); };
    return (4 * c(h / 2) - c(h)) / 3;
}
template <class F>
double D2(F f, double x, double h) {
    auto c = [&](double s) { return (f(x + s) - 2 * f(x) + f(x - s)) / (s * s); };
    return (4 * c(h / 2) - c(h)) / 3;
}

// Every analytic derivative against differences of the value, on (delta, tau) points in
// the dilute gas, the compressed liquid, near critical and supercritical.
TEST(MethanolEos, ResidualDerivativesMatchFiniteDifferences) {
    const double points[][2] = {{0.002, 2.9}, {0.05, 1.6}, {0.4, 1.05}, {1.0, 1.0},   {1.2, 0.85}, {2.0, 0.83},
                                {2.7, 1.4},   {3.2, 2.9},  {3.5, 1.7},  {0.9, 1.002}, {3.0, 2.2}};
    for (const auto& p : points) {
        const double d = p[0], t = p[1], hd = 1e-3 * d, ht = 1e-3 * t;
        auto inD = [&](double x) { return Phir(0, x, 0, t); };
        auto inT = [&](double y) { return Phir(0, d, 0, y); };
        auto slopeD = [&](double y) { return D1([&](double x) { return Phir(0, x, 0, y); }, d, hd); };
        const double fd[5] = {D1(inD, d, hd), D2(inD, d, hd), D1(inT, t, ht), D1(slopeD, t, ht), D2(inT, t, ht)};
        const double exact[5] = {Phir(1, d, 0, t), Phir(2, d, 0, t), Phir(0, d, 1, t), Phir(1, d, 1, t),
                                 Phir(0, d, 2, t)};
        for (int k = 0; k < 5; ++k)
            EXPECT_NEAR(fd[k], exact[k], 2e-7 * (std::fabs(exact[k]) + std::fabs(inD(d))) + 1e-9)
                << "derivative " << k << " at delta " << d << " tau " << t;
    }
}

// Pressures of the same equation from an independent implementation (CoolProp,
// dev/fluids/Methanol.json, states "reducing" and "hs_anchor"): every term of the
// residual part enters, so one wrong coefficient or exponent shows far above rounding.
TEST(MethanolEos, PressureMatchesAnIndependentImplementation) {
    const double states[][3] = {{513.38, 8785.17, 8215925.544252989},  // K, mol/m3, Pa
                                {564.7174639953638, 7906.649921445517, 15241288.659287019}};
    for (const auto& s : states) {
        const double d = s[1] / 8785.17;
        const double p = (1 + d * Phir(1, d, 0, 513.38 / s[0])) * s[1] * 8.31448 * s[0];
        EXPECT_NEAR(p, s[2], 1e-12 * s[2]) << s[0];
    }
}

TEST(MethanolEos, ZeroDensityLimits) {
    // The association terms (d = 3, exp(23.1 aT tau)) keep a density dependence down to
    // very small delta at low temperature, hence the tiny delta.
    const double tiny = 1e-22;
    for (double t : {0.85, 1.0, 1.7, 2.9}) {
        EXPECT_EQ(Phir(0, 0, 0, t), 0);
        const double b = Phir(7, 3.0, -2, t);  // delta order and delta ignored
        EXPECT_NEAR(Phir(1, tiny, 0, t), b, 1e-12 * std::fabs(b));
        EXPECT_NEAR(Phir(1, 0, 0, t), b, 1e-13 * std::fabs(b));
        EXPECT_NEAR(Phir(2, 0, 0, t), Phir(2, tiny, 0, t), 1e-5 * std::fabs(Phir(2, 0, 0, t)));
        EXPECT_NEAR(Phir(1, 0, 1, t), D1([](double y) { return Phir(0, 0, -2, y); }, t, 1e-3 * t),
                    1e-8 * std::fabs(Phir(1, 0, 1, t)));
    }
    EXPECT_EQ(Phir(3, 1.0, 0, 1.0), 0);
    EXPECT_EQ(Phir(1, 1.0, 2, 1.0), 0);
}

TEST(MethanolEos, IdealGasPart) {
    auto o = [](double x) { return MethanolIdealHelmholtz(0, x); };
    for (double t : {0.83, 1.0, 1.5, 2.2, 2.92}) {
        EXPECT_NEAR(MethanolIdealHelmholtz(1, t), D1(o, t, 1e-3 * t), 1e-9 * std::fabs(o(t)));
        EXPECT_NEAR(MethanolIdealHelmholtz(2, t), D2(o, t, 1e-3 * t), 1e-6 * std::fabs(MethanolIdealHelmholtz(2, t)));
    }
    // Enthalpy and entropy are zero for the ideal gas at 298.15 K and 0.1 MPa.
    const double R = 8.31448, T = 298.15, tau = 513.38 / T, delta = 1e5 / (R * T) / 8785.17;
    const double taudt = tau * MethanolIdealHelmholtz(1, tau);
    EXPECT_NEAR(R * T * (taudt + 1), 0, 1e-4);  // J/mol
    EXPECT_NEAR(R * (taudt - o(tau) - std::log(kMethanolIdealDensityScale * delta)), 0, 1e-6);
}

}  // namespace
}  // namespace kelvane
