#include "fluids/methanol/methanol_eos.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "fluids/common/integer_powers.h"
#include "fluids/common/power_table.h"

namespace kelvane {

namespace {

// Scaling of the exponential terms: aT tau = 512.6 K / T and gD delta = rho / 8710 mol/m3.
constexpr double kAT = 0.998480657603;
constexpr double kGD = 1.00863030999;

// Temperature slopes and offsets of the two families of tau-exponential terms.
constexpr double kB3 = 3.9 * kAT;
constexpr double kK3 = 6;
constexpr double kB4 = 23.1 * kAT;
constexpr double kK4 = 25;

// One row of the residual table: density exponent d, column t (temperature exponent in
// the polynomial and delta-exponential groups, density multiplier in the two
// tau-exponential groups), exponent c of the density exponential, coefficient n.
struct Term {
    int i;
    double d, t, c, n;
};

// de Reuck and Craven (1993), residual Helmholtz energy, terms 1-44.
// clang-format off
constexpr Term kTerms[] = {
    // i   d   t   c   n
    { 1,  1,  0,  0, -2.80062505988},
    { 2,  1,  1,  0,  12.5636372418},
    { 3,  1,  2,  0, -13.0310563173},
    { 4,  1,  3,  0,  3.2659313406},
    { 5,  2,  1,  0, -4.11425343805},
    { 6,  2,  2,  0,  3.46397741254},
    { 7,  2,  3,  0, -0.083644396759},
    { 8,  2,  4,  0, -0.369240098923},
    { 9,  2,  6,  0,  0.00313180842152},
    {10,  3,  0,  0,  0.603201474111},
    {11,  3,  3,  0, -0.231158593638},
    {12,  3,  4,  0,  0.106114844945},
    {13,  4,  0,  0, -0.0792228164995},
    {14,  4,  7,  0, -4.22419150975e-05},
    {15,  5,  1,  0,  0.00758196739214},
    {16,  6,  6,  0, -2.44617434701e-05},
    {17,  7,  7,  0,  1.15080328802e-06},
    {18,  1,  1,  2, -12.5099747447},
    {19,  1,  2,  2,  27.0392835391},
    {20,  1,  3,  2, -21.2070717086},
    {21,  1,  4,  2,  6.3279947227},
    {22,  2,  1,  2,  14.3687921636},
    {23,  2,  2,  2, -28.7450766617},
    {24,  2,  3,  2,  18.5397216068},
    {25,  2,  5,  2, -3.88720372879},
    {26,  3,  1,  2, -4.16602487963},
    {27,  4,  2,  2,  5.29665875982},
    {28,  5,  1,  2,  0.509360272812},
    {29,  5,  2,  2, -3.30257604839},
    {30,  5,  4,  2, -0.311045210826},
    {31,  5,  5,  2,  0.273460830583},
    {32,  6,  2,  2,  0.518916583979},
    {33,  9,  5,  2, -0.00227570803104},
    {34,  6,  9,  4,  0.0211658196182},
    {35,  6, 14,  4, -0.0114335123221},
    {36,  4, 19,  6,  0.00249860798459},
    {37,  1,  2,  2, -8.19291988442},
    {38,  1,  2,  3,  0.478601004557},
    {39,  1,  3,  2, -0.444161392885},
    {40,  1,  3,  4,  0.17962181041},
    {41,  1,  4,  2, -0.687602278259},
    {42,  3,  3,  3,  2.40459848295},
    {43,  3,  4,  2, -6.88463987466},
    {44,  3,  4,  4,  1.13992982501},
};
// clang-format on

// Index ranges of the four groups in kTerms.
constexpr int kGroup1End = 17;  // n delta^d tau^t
constexpr int kGroup2End = 36;  // n delta^d tau^t exp(-(gD delta)^c)
constexpr int kGroup3End = 41;  // n delta^d exp(3.9 aT tau - 6 - (t gD delta)^c)
constexpr int kGroup4End = 44;  // n delta^d exp(23.1 aT tau - 25 - (t gD delta)^c)
static_assert(sizeof(kTerms) / sizeof(kTerms[0]) == kGroup4End);

// Zero-density limit of d phir / d delta: only the terms with d = 1 survive.
double ZeroDensitySlope(double tau) {
    auto n = [](int i) { return kTerms[i - 1].n; };
    return n(1) + (n(2) + n(18)) * tau + (n(3) + n(19)) * tau * tau + (n(4) + n(20)) * tau * tau * tau +
           n(21) * tau * tau * tau * tau + (n(37) + n(38) + n(39) + n(40) + n(41)) * std::exp(kB3 * tau - kK3);
}

// Powers of delta (k = -1..9) and tau (k = -2..19) that the terms and their
// derivatives use, each remembered while its base stays the same: the density searches
// and the saturation iteration keep tau, Properties keeps both.
constexpr int kMinDeltaPower = -1, kMaxDeltaPower = 9;
constexpr int kMinTauPower = -2, kMaxTauPower = 19;
using DeltaPowers = PowerTable<kMaxDeltaPower - kMinDeltaPower + 1>;

// The delta powers of the current density, all eleven computed when delta changes (a
// density search changes it at every step and asks for nearly all of them), in
// extended precision and rounded once; asked for by slot, as a PowerTable is.
class EagerDeltaPowers {
public:
    void Use(double delta) { powers_.Use(delta, kMinDeltaPower, kMaxDeltaPower); }
    double operator()(int slot) const { return powers_(slot + kMinDeltaPower); }

private:
    IntegerPowers powers_;
};
using TauPowers = PowerTable<kMaxTauPower - kMinTauPower + 1>;

// x^k for the power factors of the derivatives, from a table of integer powers of x.
// At x = 0 a negative power only occurs in a term whose limit is zero (its integer
// prefactor vanishes, or the exponential's derivative carries a further factor
// delta^c with c >= 2), so 0 is the exact value.
template <typename Table>
double TablePower(Table& powers, int kMin, double x, int k) {
    if (x == 0 && k < 0) return 0;
    return powers(k - kMin);
}

// Derivative of order 0, 1, 2 of x^p.
template <typename Table>
double TablePowerDerivative(Table& powers, int kMin, double x, double p, int order) {
    const int k = static_cast<int>(p);
    switch (order) {
        case 0: return TablePower(powers, kMin, x, k);
        case 1: return p == 0 ? 0 : p * TablePower(powers, kMin, x, k - 1);
        case 2: return p * (p - 1) == 0 ? 0 : p * (p - 1) * TablePower(powers, kMin, x, k - 2);
        default: return 0;
    }
}

// The distinct pairs (scale s, exponent c) of the density exponentials exp(-(s delta)^c)
// in terms 18-44: s = gD for the second group, t gD for the tau-exponential groups.
struct ExponentialKey {
    double multiplier;  // s / gD
    double c;
};
constexpr ExponentialKey Key(int k) { return {k < kGroup2End ? 1.0 : kTerms[k].t, kTerms[k].c}; }
constexpr int kExponentialTerms = kGroup4End - kGroup1End;
struct ExponentialSlots {
    int of[kExponentialTerms];  // slot of term kGroup1End + j
    ExponentialKey key[kExponentialTerms];
    int count;
};
constexpr ExponentialSlots MakeExponentialSlots() {
    ExponentialSlots s{};
    for (int j = 0; j < kExponentialTerms; ++j) {
        const ExponentialKey k = Key(kGroup1End + j);
        int slot = 0;
        while (slot < s.count && !(s.key[slot].multiplier == k.multiplier && s.key[slot].c == k.c)) ++slot;
        if (slot == s.count) s.key[s.count++] = k;
        s.of[j] = slot;
    }
    return s;
}
constexpr ExponentialSlots kSlots = MakeExponentialSlots();

// The tau factors of one temperature: the derivatives of order 0, 1, 2 of tau^t for
// the terms of the first two groups, and b^j exp(b tau - k) of the last two.
struct TauFactors {
    double term[kGroup2End][3];
    double e3[3], e4[3];
};

TauFactors& TauFactorsAt(double tau) {
    thread_local RecentResults<TauFactors, 2> recent;
    return recent.Get(tau, [](double tau, TauFactors& f) {
        TauPowers T(IntegerExponents<kMinTauPower, kMaxTauPower>());
        T.Use(tau);
        for (int k = 0; k < kGroup2End; ++k)
            for (int j = 0; j < 3; ++j) f.term[k][j] = TablePowerDerivative(T, kMinTauPower, tau, kTerms[k].t, j);
        // The tau derivatives of exp(b tau - k) are b^j exp(b tau - k).
        const double g3 = std::exp(kB3 * tau - kK3), g4 = std::exp(kB4 * tau - kK4);
        f.e3[0] = g3;
        f.e3[1] = g3 * kB3;
        f.e3[2] = g3 * (kB3 * kB3);
        f.e4[0] = g4;
        f.e4[1] = g4 * kB4;
        f.e4[2] = g4 * (kB4 * kB4);
    });
}

// The asked orders (kAsked, ResidualOrder bits) of phir, every term and every density
// exponential evaluated once for all of them; each order is summed over the terms in
// table order, as the single-order sum of the reference equation is.
// The delta powers of the calling thread, behind a call so that a shared library (the
// Python module) looks up its thread-local storage once per evaluation rather than at
// every use of the table.
[[gnu::noinline]] EagerDeltaPowers& ThreadDeltaPowers() {
    thread_local EagerDeltaPowers powers;
    return powers;
}

template <unsigned kAsked>
ResidualDerivatives Evaluate(double delta, double tau) {
    EagerDeltaPowers& D = ThreadDeltaPowers();
    D.Use(delta);
    const TauFactors& tf = TauFactorsAt(tau);
    double sum[kResidualOrders] = {};

    int k = 0;
#pragma GCC unroll 32
    for (; k < kGroup1End; ++k) {
        const Term& r = kTerms[k];
        ForEachOrder<kAsked>([&](auto o) {
            sum[o] += r.n * TablePowerDerivative(D, kMinDeltaPower, delta, r.d, kOrderDeltaOf[o]) *
                      tf.term[k][kOrderTauOf[o]];
        });
    }

    // X = (s delta)^c and exp(-X) for each distinct pair; every c is an integer.
    double X[kExponentialTerms], E[kExponentialTerms];
    for (int slot = 0; slot < kSlots.count; ++slot) {
        X[slot] = DeltaPowers::Power(kSlots.key[slot].multiplier * kGD * delta, kSlots.key[slot].c);
        E[slot] = std::exp(-X[slot]);
    }
    // Derivative of order j (0, 1, 2) in delta of delta^d exp(-X), X = (s delta)^c.
    auto densityExponential = [&](int term, int j) {
        const Term& r = kTerms[term];
        const int slot = kSlots.of[term - kGroup1End];
        const double x = X[slot], e = E[slot], d = r.d, c = r.c;
        const int id = static_cast<int>(r.d);
        switch (j) {
            case 0: return TablePower(D, kMinDeltaPower, delta, id) * e;
            case 1: return TablePower(D, kMinDeltaPower, delta, id - 1) * (d - c * x) * e;
            default:
                return TablePower(D, kMinDeltaPower, delta, id - 2) * e * ((d - c * x) * (d - 1 - c * x) - c * c * x);
        }
    };

#pragma GCC unroll 32
    for (; k < kGroup2End; ++k) {
        const Term& r = kTerms[k];
        ForEachOrder<kAsked>(
            [&](auto o) { sum[o] += r.n * densityExponential(k, kOrderDeltaOf[o]) * tf.term[k][kOrderTauOf[o]]; });
    }
#pragma GCC unroll 32
    for (; k < kGroup3End; ++k) {
        const Term& r = kTerms[k];
        ForEachOrder<kAsked>(
            [&](auto o) { sum[o] += r.n * densityExponential(k, kOrderDeltaOf[o]) * tf.e3[kOrderTauOf[o]]; });
    }
#pragma GCC unroll 32
    for (; k < kGroup4End; ++k) {
        const Term& r = kTerms[k];
        ForEachOrder<kAsked>(
            [&](auto o) { sum[o] += r.n * densityExponential(k, kOrderDeltaOf[o]) * tf.e4[kOrderTauOf[o]]; });
    }

    ResidualDerivatives out;
    ForEachOrder<kAsked>([&](auto o) { ResidualField(out, o) = sum[o]; });
    return out;
}

ResidualDerivatives EvaluateOrders(double delta, double tau, unsigned orders) {
    return EvaluateOrderSet(orders, [&](auto mask) { return Evaluate<decltype(mask)::value>(delta, tau); });
}

}  // namespace

double MethanolResidualHelmholtz(int nDelta, double delta, int nTau, double tau) {
    if (nTau == -2) return ZeroDensitySlope(tau);
    if (nDelta < 0 || nTau < 0 || nDelta + nTau > 2) return 0;
    const int order = nTau == 0 ? nDelta : nTau == 1 ? 3 + nDelta : 5;
    ResidualDerivatives r = EvaluateOrders(delta, tau, 1u << order);
    return ResidualField(r, order);
}

ResidualDerivatives MethanolResidual(double delta, double tau, unsigned orders) {
    return EvaluateOrders(delta, tau, orders & kOrderAll);
}

namespace {

// Ideal-gas part: a1 + a2 ln tau + a3 tau + sum a_i ln(exp(theta_i tau) - 1).
constexpr double kA1 = 2.4966748872;
constexpr double kA2 = 2.90079118498;
constexpr double kA3 = -62.5713535015;

struct Einstein {
    int i;
    double a, theta;
};

// clang-format off
constexpr Einstein kEinstein[] = {
    // i   a_i              theta_i
    { 4,  10.9926773951,   4.11978538315},
    { 5,  18.3368299465,   3.26499998052},
    { 6, -16.3660043791,   3.76946349682},
    { 7, -6.22323476219,   2.93149354474},
    { 8,  2.80353628228,   8.22555789084},
    { 9,  1.07780989422,   10.3162789084},
    {10,  0.969656970177,  0.532489267209},
};
// clang-format on

}  // namespace

std::array<double, 3> MethanolIdealDerivatives(double tau) {
    std::array<double, 3> sum = {kA1 + kA2 * std::log(tau) + kA3 * tau, kA2 / tau + kA3, -kA2 / (tau * tau)};
    for (const Einstein& p : kEinstein) {
        const double e = std::exp(p.theta * tau);
        sum[0] += p.a * std::log(e - 1);
        sum[1] += p.a * p.theta * e / (e - 1);
        sum[2] -= p.a * p.theta * p.theta * e / ((e - 1) * (e - 1));
    }
    return sum;
}

double MethanolIdealHelmholtz(int nTau, double tau) {
    double sum;
    switch (nTau) {
        case 0: sum = kA1 + kA2 * std::log(tau) + kA3 * tau; break;
        case 1: sum = kA2 / tau + kA3; break;
        case 2: sum = -kA2 / (tau * tau); break;
        default: return 0;
    }
    for (const Einstein& p : kEinstein) {
        const double e = std::exp(p.theta * tau);
        switch (nTau) {
            case 0: sum += p.a * std::log(e - 1); break;
            case 1: sum += p.a * p.theta * e / (e - 1); break;
            default: sum -= p.a * p.theta * p.theta * e / ((e - 1) * (e - 1)); break;
        }
    }
    return sum;
}

}  // namespace kelvane
