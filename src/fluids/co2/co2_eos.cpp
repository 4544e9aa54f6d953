#include "fluids/co2/co2_eos.h"

#include <cmath>

namespace kelvane {

namespace {

// Span-Wagner 1996 Table 31, terms 1-7: n_i delta^d_i tau^t_i.
struct PolynomialTerm {
    double n;
    int d;
    double t;
};
constexpr PolynomialTerm kPolynomial[] = {
    //  n                      d   t
    { 0.38856823203161e0,    1, 0.00},  //  1
    { 0.29385475942740e1,    1, 0.75},  //  2
    {-0.55867188534934e1,    1, 1.00},  //  3
    {-0.76753199592477e0,    1, 2.00},  //  4
    { 0.31729005580416e0,    2, 0.75},  //  5
    { 0.54803315897767e0,    2, 2.00},  //  6
    { 0.12279411220335e0,    3, 0.75},  //  7
};

// Table 31, terms 8-34: n_i delta^d_i tau^t_i exp(-delta^c_i).
struct ExponentialTerm {
    double n;
    int d;
    double t;
    int c;
};
constexpr ExponentialTerm kExponential[] = {
    //  n                      d    t      c
    { 0.21658961543220e1,    1,  1.50,  1},  //  8
    { 0.15841735109724e1,    2,  1.50,  1},  //  9
    {-0.23132705405503e0,    4,  2.50,  1},  // 10
    { 0.58116916431436e-1,   5,  0.00,  1},  // 11
    {-0.55369137205382e0,    5,  1.50,  1},  // 12
    { 0.48946615909422e0,    5,  2.00,  1},  // 13
    {-0.24275739843501e-1,   6,  0.00,  1},  // 14
    { 0.62494790501678e-1,   6,  1.00,  1},  // 15
    {-0.12175860225246e0,    6,  2.00,  1},  // 16
    {-0.37055685270086e0,    1,  3.00,  2},  // 17
    {-0.16775879700426e-1,   1,  6.00,  2},  // 18
    {-0.11960736637987e0,    4,  3.00,  2},  // 19
    {-0.45619362508778e-1,   4,  6.00,  2},  // 20
    { 0.35612789270346e-1,   4,  8.00,  2},  // 21
    {-0.74427727132052e-2,   7,  6.00,  2},  // 22
    {-0.17395704902432e-2,   8,  0.00,  2},  // 23
    {-0.21810121289527e-1,   2,  7.00,  3},  // 24
    { 0.24332166559236e-1,   3, 12.00,  3},  // 25
    {-0.37440133423463e-1,   3, 16.00,  3},  // 26
    { 0.14338715756878e0,    5, 22.00,  4},  // 27
    {-0.13491969083286e0,    5, 24.00,  4},  // 28
    {-0.23151225053480e-1,   6, 16.00,  4},  // 29
    { 0.12363125492901e-1,   7, 24.00,  4},  // 30
    { 0.21058321972940e-2,   8,  8.00,  4},  // 31
    {-0.33958519026368e-3,  10,  2.00,  4},  // 32
    { 0.55993651771592e-2,   4, 28.00,  5},  // 33
    {-0.30335118055646e-3,   8, 14.00,  6},  // 34
};

// Table 31, terms 35-39: n_i delta^d_i tau^t_i exp(-alpha_i (delta-1)^2 - beta_i (tau-gamma_i)^2);
// the centre epsilon_i is 1 for all five terms.
struct GaussianTerm {
    double n;
    int d;
    double t;
    int alpha;
    int beta;
    double gamma;
};
constexpr GaussianTerm kGaussian[] = {
    //  n                      d   t     alpha beta  gamma
    {-0.21365488688320e3,    2, 1.00,  25,  325,  1.16},  // 35
    { 0.26641569149272e5,    2, 0.00,  25,  300,  1.19},  // 36
    {-0.24027212204557e5,    2, 1.00,  25,  300,  1.19},  // 37
    {-0.28341603423999e3,    3, 3.00,  15,  275,  1.25},  // 38
    { 0.21247284400179e3,    3, 3.00,  20,  275,  1.22},  // 39
};

// Table 31, terms 40-42: n_i Delta_i^b_i delta psi_i.
struct NonAnalyticTerm {
    double n;
    double a;
    double b;
    double B;
    double C;
};
constexpr NonAnalyticTerm kNonAnalytic[] = {
    //  n                      a      b      B     C
    {-0.66642276540751e0,    3.5,  0.875,  0.3,  10.0},  // 40
    { 0.72608632349897e0,    3.5,  0.925,  0.3,  10.0},  // 41
    { 0.55068668612842e-1,   3.0,  0.875,  1.0,  12.5},  // 42
};

// Parameters shared by the three non-analytic terms.
constexpr double kA = 0.7;
constexpr double kInvBeta = 10.0 / 3.0;  // 1 / beta with beta = 0.3
constexpr double kD = 275;

// Terms whose density exponent is 1: only they survive in the zero-density limit of
// d phir / d delta (polynomial terms 1-4, exponential terms 8, 17, 18).
constexpr int kLinearPolynomial[] = {0, 1, 2, 3};
constexpr int kLinearExponential[] = {0, 9, 10};

// Span-Wagner 1996 Table 27: ideal-gas part.
constexpr double kA0[] = {8.37304456, -3.70454304, 2.5, 1.99427042, 0.62105248,
                          0.41195293, 1.04028922, 0.08327678};
constexpr double kTheta0[] = {3.15163, 6.1119, 6.77708, 11.32384, 27.08792};

const NonAnalyticTerm& Term(int i) { return kNonAnalytic[i - 40]; }

bool Supported(int nDelta, int nTau) {
    return (nTau == 0 && nDelta >= 0 && nDelta <= 2) || (nTau == 1 && nDelta >= 0 && nDelta <= 1) ||
           (nTau == 2 && nDelta == 0);
}

double PolynomialSum(int nDelta, double delta, int nTau, double tau) {
    double sum = 0;
    for (const auto& p : kPolynomial) {
        const double d = p.d, t = p.t;
        double v = p.n;
        switch (nDelta) {
            case 0: v *= std::pow(delta, d); break;
            case 1: v *= d * std::pow(delta, d - 1); break;
            case 2: v *= d * (d - 1) * std::pow(delta, d - 2); break;
        }
        switch (nTau) {
            case 0: v *= std::pow(tau, t); break;
            case 1: v *= t * std::pow(tau, t - 1); break;
            case 2: v *= t * (t - 1) * std::pow(tau, t - 2); break;
        }
        sum += v;
    }
    return sum;
}

double ExponentialSum(int nDelta, double delta, int nTau, double tau) {
    double sum = 0;
    for (const auto& e : kExponential) {
        const double d = e.d, t = e.t, c = e.c;
        const double E = std::exp(-std::pow(delta, c));
        const double k = c * std::pow(delta, c);
        double v = e.n * E;
        switch (nDelta) {
            case 0: v *= std::pow(delta, d); break;
            case 1: v *= std::pow(delta, d - 1) * (d - k); break;
            case 2: v *= std::pow(delta, d - 2) * ((d - k) * (d - 1 - k) - c * k); break;
        }
        switch (nTau) {
            case 0: v *= std::pow(tau, t); break;
            case 1: v *= t * std::pow(tau, t - 1); break;
            case 2: v *= t * (t - 1) * std::pow(tau, t - 2); break;
        }
        sum += v;
    }
    return sum;
}

double GaussianSum(int nDelta, double delta, int nTau, double tau) {
    double sum = 0;
    for (const auto& g : kGaussian) {
        const double d = g.d, t = g.t, alpha = g.alpha, beta = g.beta;
        const double dm = delta - 1, tg = tau - g.gamma;
        const double G = std::exp(-alpha * dm * dm - beta * tg * tg);
        const double T = g.n * std::pow(delta, d) * std::pow(tau, t) * G;
        const double u = d / delta - 2 * alpha * dm;
        const double v = t / tau - 2 * beta * tg;
        double term = 0;
        if (nDelta == 0 && nTau == 0) {
            term = T;
        } else if (nDelta == 1 && nTau == 0) {
            term = T * u;
        } else if (nDelta == 2 && nTau == 0) {
            term = g.n * std::pow(tau, t) * G *
                   (-2 * alpha * std::pow(delta, d) + 4 * alpha * alpha * std::pow(delta, d) * dm * dm -
                    4 * d * alpha * std::pow(delta, d - 1) * dm + d * (d - 1) * std::pow(delta, d - 2));
        } else if (nDelta == 0 && nTau == 1) {
            term = T * v;
        } else if (nDelta == 0 && nTau == 2) {
            term = T * (v * v - t / (tau * tau) - 2 * beta);
        } else if (nDelta == 1 && nTau == 1) {
            term = T * u * v;
        }
        sum += term;
    }
    return sum;
}

double NonAnalyticSum(int nDelta, double delta, int nTau, double tau) {
    double sum = 0;
    for (int i = 40; i <= 42; ++i) {
        auto Q = [&](int a, int b) { return NonAnalyticDistancePower(a, delta, b, tau, i); };
        auto psi = [&](int a, int b) { return NonAnalyticExponential(a, delta, b, tau, i); };
        const double n = Term(i).n;
        double term = 0;
        if (nDelta == 0 && nTau == 0) {
            term = n * delta * Q(0, 0) * psi(0, 0);
        } else if (nDelta == 1 && nTau == 0) {
            term = n * (Q(0, 0) * (psi(0, 0) + delta * psi(1, 0)) + delta * Q(1, 0) * psi(0, 0));
        } else if (nDelta == 2 && nTau == 0) {
            term = n * (delta * Q(2, 0) * psi(0, 0) + 2 * Q(1, 0) * (psi(0, 0) + delta * psi(1, 0)) +
                        Q(0, 0) * (2 * psi(1, 0) + delta * psi(2, 0)));
        } else if (nDelta == 0 && nTau == 1) {
            term = n * delta * (Q(0, 0) * psi(0, 1) + Q(0, 1) * psi(0, 0));
        } else if (nDelta == 0 && nTau == 2) {
            term = n * delta * (Q(0, 0) * psi(0, 2) + 2 * Q(0, 1) * psi(0, 1) + Q(0, 2) * psi(0, 0));
        } else if (nDelta == 1 && nTau == 1) {
            term = n * (delta * Q(1, 1) * psi(0, 0) + Q(0, 1) * (psi(0, 0) + delta * psi(1, 0)) +
                        delta * Q(1, 0) * psi(0, 1) + Q(0, 0) * (psi(0, 1) + delta * psi(1, 1)));
        }
        sum += term;
    }
    return sum;
}

// Limit of d phir / d delta for delta -> 0 at tau.
double ZeroDensityLimit(double tau) {
    double sum = 0;
    for (int k : kLinearPolynomial) sum += kPolynomial[k].n * std::pow(tau, kPolynomial[k].t);
    for (int k : kLinearExponential) sum += kExponential[k].n * std::pow(tau, kExponential[k].t);
    for (int i = 40; i <= 42; ++i)
        sum += Term(i).n * NonAnalyticDistancePower(0, 0, 0, tau, i) * NonAnalyticExponential(0, 0, 0, tau, i);
    return sum;
}

}  // namespace

double NonAnalyticDistance(int nDelta, double delta, int /*nTau*/, double tau, int i) {
    const NonAnalyticTerm& p = Term(i);
    const double dm = delta - 1;
    const double s = dm * dm;
    const double k = 0.5 * kInvBeta;  // 1 / (2 beta)
    const double theta = (1 - tau) + kA * std::pow(s, k);
    if (nDelta == 0) return theta * theta + p.B * std::pow(s, p.a);
    if (nDelta != 1 && nDelta != 2) return 0;
    // At delta = 1 the derivatives vanish; the powers below would be of zero to
    // negative exponents.
    if (s == 0) return 0;
    const double bracket = kA * theta * (2 * kInvBeta) * std::pow(s, k - 1) + 2 * p.B * p.a * std::pow(s, p.a - 1);
    if (nDelta == 1) return dm * bracket;
    return bracket + s * (4 * p.B * p.a * (p.a - 1) * std::pow(s, p.a - 2) +
                          2 * kA * kA * kInvBeta * kInvBeta * std::pow(s, 2 * (k - 1)) +
                          kA * theta * (4 * kInvBeta) * (k - 1) * std::pow(s, k - 2));
}

double NonAnalyticDistancePower(int nDelta, double delta, int nTau, double tau, int i) {
    if (!Supported(nDelta, nTau)) return 0;
    const double b = Term(i).b;
    const double Delta = NonAnalyticDistance(0, delta, 0, tau, i);
    // The critical point itself (delta = tau = 1): Delta = 0, and every derivative of
    // Delta^b is taken as 0 instead of a power of zero to a negative exponent.
    if (Delta == 0) return 0;
    const double dm = delta - 1;
    const double s = dm * dm;
    const double k = 0.5 * kInvBeta;
    const double theta = (1 - tau) + kA * std::pow(s, k);
    const double Db1 = std::pow(Delta, b - 1);
    if (nTau == 0) {
        if (nDelta == 0) return std::pow(Delta, b);
        const double Dd = NonAnalyticDistance(1, delta, 0, tau, i);
        if (nDelta == 1) return b * Db1 * Dd;
        const double Ddd = NonAnalyticDistance(2, delta, 0, tau, i);
        return b * (Db1 * Ddd + (b - 1) * std::pow(Delta, b - 2) * Dd * Dd);
    }
    if (nTau == 1 && nDelta == 0) return -2 * theta * b * Db1;
    if (nTau == 2) return 2 * b * Db1 + 4 * theta * theta * b * (b - 1) * std::pow(Delta, b - 2);
    // (1, 1)
    const double Dd = NonAnalyticDistance(1, delta, 0, tau, i);
    return -kA * b * (2 * kInvBeta) * Db1 * dm * std::pow(s, k - 1) -
           2 * theta * b * (b - 1) * std::pow(Delta, b - 2) * Dd;
}

double NonAnalyticExponential(int nDelta, double delta, int nTau, double tau, int i) {
    if (!Supported(nDelta, nTau)) return 0;
    const double C = Term(i).C;
    const double dm = delta - 1, tm = tau - 1;
    const double s = dm * dm;
    const double psi = std::exp(-C * s - kD * tm * tm);
    if (nTau == 0) {
        if (nDelta == 0) return psi;
        if (nDelta == 1) return -2 * C * dm * psi;
        return (2 * C * s - 1) * 2 * C * psi;
    }
    if (nTau == 1 && nDelta == 0) return -2 * kD * tm * psi;
    if (nTau == 2) return (2 * kD * tm * tm - 1) * 2 * kD * psi;
    return 4 * C * kD * dm * tm * psi;  // (1, 1)
}

double Co2ResidualHelmholtz(int nDelta, double delta, int nTau, double tau) {
    if (nTau == -2) return ZeroDensityLimit(tau);
    if (!Supported(nDelta, nTau)) return 0;
    return PolynomialSum(nDelta, delta, nTau, tau) + ExponentialSum(nDelta, delta, nTau, tau) +
           GaussianSum(nDelta, delta, nTau, tau) + NonAnalyticSum(nDelta, delta, nTau, tau);
}

double Co2IdealHelmholtz(int n, double tau) {
    double sum = 0;
    switch (n) {
        case 0:
            sum = kA0[0] + kA0[1] * tau + kA0[2] * std::log(tau);
            for (int i = 0; i < 5; ++i) sum += kA0[i + 3] * std::log(1 - std::exp(-kTheta0[i] * tau));
            break;
        case 1:
            sum = kA0[1] + kA0[2] / tau;
            for (int i = 0; i < 5; ++i)
                sum += kA0[i + 3] * kTheta0[i] * (1 / (1 - std::exp(-kTheta0[i] * tau)) - 1);
            break;
        case 2:
            sum = -kA0[2] / (tau * tau);
            for (int i = 0; i < 5; ++i) {
                const double e = std::exp(-kTheta0[i] * tau);
                sum -= kA0[i + 3] * kTheta0[i] * kTheta0[i] * e / ((1 - e) * (1 - e));
            }
            break;
    }
    return sum;
}

}  // namespace kelvane
