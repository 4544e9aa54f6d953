#include "fluids/co2/co2_eos.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "fluids/common/helmholtz_fluid.h"
#include "fluids/common/power_table.h"

namespace kelvane {

namespace {

// Span-Wagner 1996 Table 31, terms 1-7: n_i delta^d_i tau^t_i.
struct PolynomialTerm {
    double n;
    int d;
    double t;
};
// clang-format off
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
// clang-format on

// Table 31, terms 8-34: n_i delta^d_i tau^t_i exp(-delta^c_i).
struct ExponentialTerm {
    double n;
    int d;
    double t;
    int c;
};
// clang-format off
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
// clang-format on

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
// clang-format off
constexpr GaussianTerm kGaussian[] = {
    //  n                      d   t     alpha beta  gamma
    {-0.21365488688320e3,    2, 1.00,  25,  325,  1.16},  // 35
    { 0.26641569149272e5,    2, 0.00,  25,  300,  1.19},  // 36
    {-0.24027212204557e5,    2, 1.00,  25,  300,  1.19},  // 37
    {-0.28341603423999e3,    3, 3.00,  15,  275,  1.25},  // 38
    { 0.21247284400179e3,    3, 3.00,  20,  275,  1.22},  // 39
};
// clang-format on

// Table 31, terms 40-42: n_i Delta_i^b_i delta psi_i.
struct NonAnalyticTerm {
    double n;
    double a;
    double b;
    double B;
    double C;
};
// clang-format off
constexpr NonAnalyticTerm kNonAnalytic[] = {
    //  n                      a      b      B     C
    {-0.66642276540751e0,    3.5,  0.875,  0.3,  10.0},  // 40
    { 0.72608632349897e0,    3.5,  0.925,  0.3,  10.0},  // 41
    { 0.55068668612842e-1,   3.0,  0.875,  1.0,  12.5},  // 42
};
// clang-format on

// Parameters shared by the three non-analytic terms.
constexpr double kA = 0.7;
constexpr double kInvBeta = 10.0 / 3.0;  // 1 / beta with beta = 0.3
constexpr double kD = 275;

// Terms whose density exponent is 1: only they survive in the zero-density limit of
// d phir / d delta (polynomial terms 1-4, exponential terms 8, 17, 18).
constexpr int kLinearPolynomial[] = {0, 1, 2, 3};
constexpr int kLinearExponential[] = {0, 9, 10};

// Span-Wagner 1996 Table 27: ideal-gas part.
constexpr double kA0[] = {8.37304456, -3.70454304, 2.5, 1.99427042, 0.62105248, 0.41195293, 1.04028922, 0.08327678};
constexpr double kTheta0[] = {3.15163, 6.1119, 6.77708, 11.32384, 27.08792};

const NonAnalyticTerm& Term(int i) { return kNonAnalytic[i - 40]; }

bool Supported(int nDelta, int nTau) {
    return (nTau == 0 && nDelta >= 0 && nDelta <= 2) || (nTau == 1 && nDelta >= 0 && nDelta <= 1) ||
           (nTau == 2 && nDelta == 0);
}

// Distinct temperature exponents t of the polynomial, exponential and Gaussian terms.
constexpr double kTauExponents[] = {0, 0.75, 1, 1.5, 2, 2.5, 3, 6, 7, 8, 12, 14, 16, 22, 24, 28};
constexpr int kTauExponentCount = sizeof(kTauExponents) / sizeof(kTauExponents[0]);

// Slot of tau^(t - j) in the tau table: the three powers of each t are side by side.
constexpr int TauSlot(double t, int j) {
    for (int k = 0; k < kTauExponentCount; ++k)
        if (kTauExponents[k] == t) return 3 * k + j;
    return -1;
}

// Slot of tau^t for each term of a table.
template <typename Term, size_t N>
constexpr std::array<int, N> TauSlots(const Term (&terms)[N]) {
    std::array<int, N> slots{};
    for (size_t j = 0; j < N; ++j) slots[j] = TauSlot(terms[j].t, 0);
    return slots;
}
constexpr auto kPolynomialTauSlot = TauSlots(kPolynomial);
constexpr auto kExponentialTauSlot = TauSlots(kExponential);
constexpr auto kGaussianTauSlot = TauSlots(kGaussian);

template <size_t N>
constexpr bool EveryExponentListed(const std::array<int, N>& slots) {
    for (int slot : slots)
        if (slot < 0) return false;
    return true;
}
static_assert(EveryExponentListed(kPolynomialTauSlot) && EveryExponentListed(kExponentialTauSlot) &&
              EveryExponentListed(kGaussianTauSlot));

// delta^k for the integer exponents k = -1..10 of the polynomial, exponential and
// Gaussian terms and their delta derivatives.
constexpr int kMinDeltaPower = -1, kMaxDeltaPower = 10;
using DeltaPowers = PowerTable<kMaxDeltaPower - kMinDeltaPower + 1>;

// Powers of s = (delta - 1)^2 in the distance function of the non-analytic terms:
// s^k, s^(k-1), s^(k-2), s^(2(k-1)) with k = 1/(2 beta), and s^a, s^(a-1), s^(a-2) for
// a = 3.5 (terms 40, 41) and a = 3 (term 42).
constexpr double kHalfInvBeta = 0.5 * kInvBeta;
constexpr std::array<double, 10> kDistanceExponents = {
    kHalfInvBeta, kHalfInvBeta - 1, kHalfInvBeta - 2, 2 * (kHalfInvBeta - 1), 3.5, 3.5 - 1, 3.5 - 2,
    3.0,          3.0 - 1,          3.0 - 2};
enum DistanceSlot { kSk, kSk1, kSk2, kS2k1, kSa };  // kSa + 3 * (term 42) + 0, 1, 2
static_assert(kNonAnalytic[0].a == 3.5 && kNonAnalytic[1].a == 3.5 && kNonAnalytic[2].a == 3.0);
constexpr int kNonAnalyticASlot[3] = {kSa, kSa, kSa + 3};

// The powers that depend on delta alone, for the last few densities: Properties and
// the correlation length ask for the same density at several temperatures.
struct DensityPowers {
    DeltaPowers delta{IntegerExponents<kMinDeltaPower, kMaxDeltaPower>()};
    // s^e for the exponents of kDistanceExponents, s = (delta - 1)^2.
    std::array<double, 10> distance{};
    // exp(-delta^c) of the exponential terms, c = 1..6; 0 until computed.
    std::array<double, 7> damping{};
    std::array<bool, 7> haveDamping{};
};

// The powers of s = (delta - 1)^2 of the distance function: one exp(k ln s) for the
// fractional exponent k = 1/(2 beta), the others from it and from sqrt(s) = |delta - 1|
// by multiplication and division. At s = 0 the negative exponents are those of std::pow
// (infinite), which the sums only meet multiplied by a vanishing factor.
void FillDistancePowers(double dm, std::array<double, 10>& S) {
    const double s = dm * dm;
    if (s == 0) {
        for (size_t j = 0; j < S.size(); ++j) S[j] = std::pow(s, kDistanceExponents[j]);
        return;
    }
    // In extended precision, each power rounded once: what std::pow gives, in all but
    // rare near-halfway cases.
    const long double sl = static_cast<long double>(dm) * dm, root = std::fabs(static_cast<long double>(dm));
    const long double sk = std::exp(kHalfInvBeta * std::log(sl)), sk1 = sk / sl;
    S[kSk] = static_cast<double>(sk);
    S[kSk1] = static_cast<double>(sk1);
    S[kSk2] = static_cast<double>(sk1 / sl);
    S[kS2k1] = static_cast<double>(sk1 * sk1);
    S[kSa + 2] = static_cast<double>(sl * root);        // s^1.5
    S[kSa + 1] = static_cast<double>(sl * sl * root);   // s^2.5
    S[kSa] = static_cast<double>(sl * sl * sl * root);  // s^3.5
    S[kSa + 5] = static_cast<double>(sl);               // s^1
    S[kSa + 4] = static_cast<double>(sl * sl);          // s^2
    S[kSa + 3] = static_cast<double>(sl * sl * sl);     // s^3
}

// Behind a function that is not inlined, so that a shared library (the Python module)
// looks up its thread-local storage once per call rather than at every use.
[[gnu::noinline]] DensityPowers& PowersOfDensity(double delta) {
    thread_local std::array<DensityPowers, 2> cache;
    thread_local int next = 0;
    for (DensityPowers& p : cache)
        if (p.delta.Holds(delta)) return p;
    DensityPowers& p = cache[next];
    next ^= 1;
    p.delta.Use(delta);
    FillDistancePowers(delta - 1, p.distance);
    p.haveDamping.fill(false);
    return p;
}

// tau^t, t tau^(t-1) ... as the powers tau^(t - j), j = 0, 1, 2, of every distinct
// exponent t: an integer t by multiplication, a fractional one as exp(t ln tau), once
// per temperature; the lower powers by division by tau.
struct TauPowers {
    double p[kTauExponentCount][3];
    double operator()(int slot) const { return p[slot / 3][slot % 3]; }
};

void FillTauPowers(double tau, TauPowers& T) {
    // In extended precision, each power rounded once (see FillDistancePowers).
    const long double lnTau = std::log(static_cast<long double>(tau));
    for (int k = 0; k < kTauExponentCount; ++k) {
        const double t = kTauExponents[k];
        const long double p0 = t == static_cast<int>(t) ? PowerTable<1>::Power(tau, t) : std::exp(t * lnTau);
        const long double p1 = p0 / tau;
        T.p[k][0] = static_cast<double>(p0);
        T.p[k][1] = static_cast<double>(p1);
        T.p[k][2] = static_cast<double>(p1 / tau);
    }
}

// Derivative factors of x^p as the sums use them: x^p, p x^(p-1), p (p-1) x^(p-2),
// with the powers taken from a table.
template <typename Table>
double DeltaFactor(Table& powers, double d, int order) {
    const int k = static_cast<int>(d) - kMinDeltaPower;
    switch (order) {
        case 0: return powers(k);
        case 1: return d * powers(k - 1);
        default: return d * (d - 1) * powers(k - 2);
    }
}

double TauFactor(const TauPowers& powers, double t, int slot, int order) {
    switch (order) {
        case 0: return powers(slot);
        case 1: return t * powers(slot + 1);
        default: return t * (t - 1) * powers(slot + 2);
    }
}

// ResidualOrder bit of the supported pair (nDelta, nTau).
unsigned OrderBit(int nDelta, int nTau) {
    if (nTau == 0) return nDelta == 0 ? kOrderR : nDelta == 1 ? kOrderD : kOrderDD;
    if (nTau == 1) return nDelta == 0 ? kOrderT : kOrderDT;
    return kOrderTT;
}

// The tau factors of one temperature: the derivatives of order 0, 1, 2 of tau^t for the
// polynomial and exponential terms, and tau^t for the Gaussian terms, with the powers
// they come from.
struct TauFactors {
    TauPowers powers;
    double polynomial[std::size(kPolynomial)][3];
    double exponential[std::size(kExponential)][3];
    double gaussian[std::size(kGaussian)];
};

// The factors of the last few temperatures: a state's tau and the fixed reference
// temperatures of the correlation length.
const TauFactors& TauFactorsAt(double tau) {
    thread_local RecentResults<TauFactors, 4> recent;
    return recent.Get(tau, [](double tau, TauFactors& f) {
        FillTauPowers(tau, f.powers);
        const TauPowers& T = f.powers;
        for (size_t j = 0; j < std::size(kPolynomial); ++j)
            for (int o = 0; o < 3; ++o) f.polynomial[j][o] = TauFactor(T, kPolynomial[j].t, kPolynomialTauSlot[j], o);
        for (size_t j = 0; j < std::size(kExponential); ++j)
            for (int o = 0; o < 3; ++o)
                f.exponential[j][o] = TauFactor(T, kExponential[j].t, kExponentialTauSlot[j], o);
        for (size_t j = 0; j < std::size(kGaussian); ++j) f.gaussian[j] = T(kGaussianTauSlot[j]);
    });
}

// The asked orders of phir, every term evaluated once for all of them. Each family of
// terms is summed in table order and the families are added polynomial, exponential,
// Gaussian, non-analytic, as the single-order sums of the reference equation are.
template <unsigned kAsked>
ResidualDerivatives Evaluate(double delta, double tau) {
    DensityPowers& dp = PowersOfDensity(delta);
    DeltaPowers& D = dp.delta;
    const TauFactors& tf = TauFactorsAt(tau);
    constexpr bool want[kResidualOrders] = {(kAsked & kOrderR) != 0,  (kAsked & kOrderD) != 0,
                                            (kAsked & kOrderDD) != 0, (kAsked & kOrderT) != 0,
                                            (kAsked & kOrderDT) != 0, (kAsked & kOrderTT) != 0};

    // Sums of the polynomial, exponential, Gaussian and non-analytic terms per order.
    double poly[kResidualOrders] = {}, expo[kResidualOrders] = {};
    double gauss[kResidualOrders] = {}, crit[kResidualOrders] = {};

    for (size_t j = 0; j < std::size(kPolynomial); ++j) {
        const PolynomialTerm& p = kPolynomial[j];
        const double d = p.d;
        ForEachOrder<kAsked>([&](auto o) {
            double v = p.n;
            v *= DeltaFactor(D, d, kOrderDeltaOf[o]);
            v *= tf.polynomial[j][kOrderTauOf[o]];
            poly[o] += v;
        });
    }

    for (size_t j = 0; j < std::size(kExponential); ++j) {
        const ExponentialTerm& e = kExponential[j];
        const double d = e.d, c = e.c;
        const double dc = D(e.c - kMinDeltaPower);
        if (!dp.haveDamping[e.c]) {
            dp.damping[e.c] = std::exp(-dc);
            dp.haveDamping[e.c] = true;
        }
        const double E = dp.damping[e.c];
        const double k = c * dc;
        const int slot = e.d - kMinDeltaPower;
        ForEachOrder<kAsked>([&](auto o) {
            double v = e.n * E;
            switch (kOrderDeltaOf[o]) {
                case 0: v *= D(slot); break;
                case 1: v *= D(slot - 1) * (d - k); break;
                case 2: v *= D(slot - 2) * ((d - k) * (d - 1 - k) - c * k); break;
            }
            v *= tf.exponential[j][kOrderTauOf[o]];
            expo[o] += v;
        });
    }

    for (size_t j = 0; j < std::size(kGaussian); ++j) {
        const GaussianTerm& g = kGaussian[j];
        const double d = g.d, t = g.t, alpha = g.alpha, beta = g.beta;
        const double dm = delta - 1, tg = tau - g.gamma;
        const double G = std::exp(-alpha * dm * dm - beta * tg * tg);
        const int slot = g.d - kMinDeltaPower;
        const double taut = tf.gaussian[j];
        const double Tg = g.n * D(slot) * taut * G;
        const double u = d / delta - 2 * alpha * dm;
        const double v = t / tau - 2 * beta * tg;
        if (want[0]) gauss[0] += Tg;
        if (want[1]) gauss[1] += Tg * u;
        if (want[2])
            gauss[2] += g.n * taut * G *
                        (-2 * alpha * D(slot) + 4 * alpha * alpha * D(slot) * dm * dm -
                         4 * d * alpha * D(slot - 1) * dm + d * (d - 1) * D(slot - 2));
        if (want[3]) gauss[3] += Tg * v;
        if (want[4]) gauss[4] += Tg * u * v;
        if (want[5]) gauss[5] += Tg * (v * v - t / (tau * tau) - 2 * beta);
    }

    // Non-analytic terms: the same expressions as NonAnalyticDistance,
    // NonAnalyticDistancePower and NonAnalyticExponential, with the powers of s shared.
    const std::array<double, 10>& dist = dp.distance;
    auto S = [&dist](int slot) { return dist[slot]; };
    const double dm = delta - 1, tm = tau - 1;
    const double s = dm * dm;
    const double k = kHalfInvBeta;
    const bool second = want[2] || want[4] || want[5];  // orders that need Delta^(b-2)
    for (int i = 0; i < 3; ++i) {
        const NonAnalyticTerm& p = kNonAnalytic[i];
        const int aSlot = kNonAnalyticASlot[i];
        const double n = p.n, b = p.b, C = p.C;
        const double theta = (1 - tau) + kA * S(kSk);
        const double Delta = theta * theta + p.B * S(aSlot);

        // Delta_i^b_i and its derivatives; all 0 at the critical point itself.
        double Q00 = 0, Q10 = 0, Q20 = 0, Q01 = 0, Q11 = 0, Q02 = 0;
        if (Delta != 0) {
            // Delta^b as exp(b ln Delta), the lower powers by division.
            const double Db = std::exp(b * std::log(Delta));
            const double Db1 = Db / Delta;
            const double Db2 = second ? Db1 / Delta : 0;
            double Dd = 0, Ddd = 0;  // d Delta / d delta, d2 Delta / d delta2
            if ((want[1] || want[2] || want[4]) && s != 0) {
                const double bracket = kA * theta * (2 * kInvBeta) * S(kSk1) + 2 * p.B * p.a * S(aSlot + 1);
                Dd = dm * bracket;
                if (want[2])
                    Ddd = bracket +
                          s * (4 * p.B * p.a * (p.a - 1) * S(aSlot + 2) + 2 * kA * kA * kInvBeta * kInvBeta * S(kS2k1) +
                               kA * theta * (4 * kInvBeta) * (k - 1) * S(kSk2));
            }
            Q00 = Db;
            Q10 = b * Db1 * Dd;
            if (want[2]) Q20 = b * (Db1 * Ddd + (b - 1) * Db2 * Dd * Dd);
            Q01 = -2 * theta * b * Db1;
            if (want[5]) Q02 = 2 * b * Db1 + 4 * theta * theta * b * (b - 1) * Db2;
            if (want[4]) Q11 = -kA * b * (2 * kInvBeta) * Db1 * dm * S(kSk1) - 2 * theta * b * (b - 1) * Db2 * Dd;
        }

        const double psi = std::exp(-C * s - kD * tm * tm);
        const double psi10 = -2 * C * dm * psi;
        const double psi01 = -2 * kD * tm * psi;
        if (want[0]) crit[0] += n * delta * Q00 * psi;
        if (want[1]) crit[1] += n * (Q00 * (psi + delta * psi10) + delta * Q10 * psi);
        if (want[2]) {
            const double psi20 = (2 * C * s - 1) * 2 * C * psi;
            crit[2] += n * (delta * Q20 * psi + 2 * Q10 * (psi + delta * psi10) + Q00 * (2 * psi10 + delta * psi20));
        }
        if (want[3]) crit[3] += n * delta * (Q00 * psi01 + Q01 * psi);
        if (want[4]) {
            const double psi11 = 4 * C * kD * dm * tm * psi;
            crit[4] += n * (delta * Q11 * psi + Q01 * (psi + delta * psi10) + delta * Q10 * psi01 +
                            Q00 * (psi01 + delta * psi11));
        }
        if (want[5]) {
            const double psi02 = (2 * kD * tm * tm - 1) * 2 * kD * psi;
            crit[5] += n * delta * (Q00 * psi02 + 2 * Q01 * psi01 + Q02 * psi);
        }
    }

    ResidualDerivatives r;
    ForEachOrder<kAsked>([&](auto o) { ResidualField(r, o) = poly[o] + expo[o] + gauss[o] + crit[o]; });
    return r;
}

ResidualDerivatives EvaluateOrders(double delta, double tau, unsigned orders) {
    return EvaluateOrderSet(orders, [&](auto mask) { return Evaluate<decltype(mask)::value>(delta, tau); });
}

// Limit of d phir / d delta for delta -> 0 at tau.
double ZeroDensityLimit(double tau) {
    const TauPowers& T = TauFactorsAt(tau).powers;
    double sum = 0;
    for (int k : kLinearPolynomial) sum += kPolynomial[k].n * T(kPolynomialTauSlot[k]);
    for (int k : kLinearExponential) sum += kExponential[k].n * T(kExponentialTauSlot[k]);
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
    const ResidualDerivatives r = EvaluateOrders(delta, tau, OrderBit(nDelta, nTau));
    if (nTau == 0) return nDelta == 0 ? r.r : nDelta == 1 ? r.rD : r.rDD;
    if (nTau == 1) return nDelta == 0 ? r.rT : r.rDT;
    return r.rTT;
}

ResidualDerivatives Co2Residual(double delta, double tau, unsigned orders) {
    orders &= kOrderAll;
    // The last evaluation of all six orders is remembered: Properties asks for them and
    // the correlation length then for two of them at the same state. A new request for
    // all six is always evaluated.
    struct Last {
        uint64_t delta = 0, tau = 0;
        unsigned orders = 0;
        ResidualDerivatives r;
    };
    thread_local Last last;
    const uint64_t d = std::bit_cast<uint64_t>(delta), t = std::bit_cast<uint64_t>(tau);
    if (orders != kOrderAll && last.orders != 0 && last.delta == d && last.tau == t && (orders & ~last.orders) == 0) {
        ResidualDerivatives out;
        for (int o = 0; o < kResidualOrders; ++o)
            if ((orders >> o) & 1u) ResidualField(out, o) = ResidualField(last.r, o);
        return out;
    }
    const ResidualDerivatives r = EvaluateOrders(delta, tau, orders);
    if (orders == kOrderAll) last = {d, t, orders, r};
    return r;
}

std::array<double, 3> Co2IdealDerivatives(double tau) {
    std::array<double, 3> sum = {kA0[0] + kA0[1] * tau + kA0[2] * std::log(tau), kA0[1] + kA0[2] / tau,
                                 -kA0[2] / (tau * tau)};
    for (int i = 0; i < 5; ++i) {
        const double e = std::exp(-kTheta0[i] * tau);
        sum[0] += kA0[i + 3] * std::log(1 - e);
        sum[1] += kA0[i + 3] * kTheta0[i] * (1 / (1 - e) - 1);
        sum[2] -= kA0[i + 3] * kTheta0[i] * kTheta0[i] * e / ((1 - e) * (1 - e));
    }
    return sum;
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
            for (int i = 0; i < 5; ++i) sum += kA0[i + 3] * kTheta0[i] * (1 / (1 - std::exp(-kTheta0[i] * tau)) - 1);
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
