#include "fluids/water/water_eos.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/fluid_model.h"
#include "fluids/common/integer_powers.h"

namespace kelvane {

namespace {

// One term n x^I y^J of a region sum.
struct Term {
    int I;
    int J;
    double n;
};

// k (k - 1) ... (k - order + 1): the factor that differentiating x^k `order` times
// brings down.
constexpr double FallingFactorial(int k, int order) {
    double f = 1;
    for (int m = 0; m < order; ++m) f *= k - m;
    return f;
}

// The variables of each region sum have tables of their own, so that alternating
// evaluations of different regions keep theirs.
enum PowerRole { kRole1, kRole2Ideal, kRole2Residual, kRole3, kRole5Ideal, kRole5Residual, kRole1Saturation, kRoles };

struct RolePowers {
    IntegerPowers x, y;
};

// The tables of the calling thread. In a shared library (the Python module) each
// access to thread-local storage is a call, which the compiler repeats at every use
// rather than keep the address; behind a function that is not inlined the address is
// an ordinary pointer, and functions that evaluate several sums fetch it once.
using PowerTables = std::array<RolePowers, kRoles>;
[[gnu::noinline]] PowerTables& AllPowers() {
    thread_local PowerTables tables;
    return tables;
}
RolePowers& Powers(PowerRole role) { return AllPowers()[role]; }

// A region sum of n x^I y^J made ready for its derivatives: for each order (a, b) with
// a + b <= 2 the terms that do not vanish, in table order, with n times the factors
// the differentiation brings down (exact small integers, so n c is the same double
// whether the product is formed here or in the loop), and the ranges of the
// exponents of x and y that the orders reach.
template <size_t N>
struct PreparedSum {
    struct Entry {
        double nc;
        int x, y;
    };
    std::array<std::array<Entry, N>, 9> orders{};  // slot a + 3 b
    std::array<int, 9> counts{};
    int xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
};

template <size_t N>
constexpr PreparedSum<N> Prepare(const Term (&terms)[N]) {
    PreparedSum<N> s;
    for (const Term& t : terms) {
        s.xLow = std::min(s.xLow, t.I - 2);
        s.xHigh = std::max(s.xHigh, t.I);
        s.yLow = std::min(s.yLow, t.J - 2);
        s.yHigh = std::max(s.yHigh, t.J);
    }
    for (int a = 0; a <= 2; ++a)
        for (int b = 0; a + b <= 2; ++b) {
            const int slot = a + 3 * b;
            for (const Term& t : terms) {
                const double c = FallingFactorial(t.I, a) * FallingFactorial(t.J, b);
                if (c == 0) continue;
                s.orders[slot][s.counts[slot]++] = {t.n * c, t.I - a, t.J - b};
            }
        }
    return s;
}

// d^a/dx^a d^b/dy^b (a + b <= 2) of the sum, evaluated term by term in table order and
// added to `start`. Each region passes its own shifted variables x and y.
template <size_t N>
double PowerSum(RolePowers& p, const PreparedSum<N>& sum, int a, double x, int b, double y, double start = 0) {
    p.x.Use(x, sum.xLow, sum.xHigh);
    p.y.Use(y, sum.yLow, sum.yHigh);
    const int slot = a + 3 * b;
    const auto& entries = sum.orders[slot];
    double value = start;
    for (int k = 0, count = sum.counts[slot]; k < count; ++k) {
        const auto& e = entries[k];
        value += e.nc * p.x(e.x) * p.y(e.y);
    }
    return value;
}

template <size_t N>
double PowerSum(PowerRole role, const PreparedSum<N>& sum, int a, double x, int b, double y, double start = 0) {
    return PowerSum(Powers(role), sum, a, x, b, y, start);
}

// The sum (s0) and its x derivative (s1), added to s0 and s1; each bit for bit
// PowerSum's.
template <size_t N>
void PowerSumAndSlope(PowerRole role, const PreparedSum<N>& sum, double x, double y, double& s0, double& s1) {
    s0 = PowerSum(role, sum, 0, x, 0, y, s0);
    s1 = PowerSum(role, sum, 1, x, 0, y, s1);
}

// The six orders for which the region functions return a partial derivative.
bool OrdinaryOrder(int i, int j) { return i >= 0 && j >= 0 && i + j <= 2; }

// Derivatives of ln x in its own variable (the pi-dependence of the ideal-gas part of
// regions 2 and 5, and the ln delta term of region 3).
double LogTerm(int i, int j, double x) {
    if (j != 0) return 0;
    switch (i) {
        case 0: return std::log(x);
        case 1: return 1 / x;
        case 2: return -1 / (x * x);
        default: return 0;
    }
}

// Sum over the terms with I = 1 of n y^J: the limit of d/dx of the sum as x -> 0.
template <size_t N>
double ZeroPressureSlope(PowerRole role, const Term (&terms)[N], const PreparedSum<N>& prepared, double y) {
    IntegerPowers& powers = Powers(role).y;
    powers.Use(y, prepared.yLow, prepared.yHigh);
    double sum = 0;
    for (const Term& t : terms)
        if (t.I == 1) sum += t.n * powers(t.J);
    return sum;
}

// IAPWS-IF97 Table 2: region 1, gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
// clang-format off
constexpr Term kRegion1[] = {
    //  I    J   n
    {0, -2, 0.14632971213167},
    {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},
    {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},
    {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},
    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},
    {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},
    {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},
    {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},
    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},
    {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18},
    {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},
    {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},
    {32, -41, -0.93537087292458e-25},
};
// clang-format on

// IAPWS-IF97 Table 10: ideal-gas part of region 2, sum n0 tau^J0 (I = 0: no pi
// dependence besides ln pi).
// clang-format off
constexpr Term kRegion2Ideal[] = {
    //  I  J0  n0
    {0, 0, -0.96927686500217e1},
    {0, 1, 0.10086655968018e2},
    {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1},
    {0, -3, -0.40710498223928},
    {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1},
    {0, 2, -0.28408632460772},
    {0, 3, 0.21268463753307e-1},
};
// clang-format on

// IAPWS-IF97 Table 11: residual part of region 2, sum n pi^I (tau - 0.5)^J.
// clang-format off
constexpr Term kRegion2Residual[] = {
    //  I   J   n
    {1, 0, -0.17731742473213e-2},
    {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},
    {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},
    {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},
    {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},
    {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},
    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},
    {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},
    {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},
    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},
    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},
    {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},
    {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},
    {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},
    {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},
    {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8},
    {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},
    {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24},
    {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5},
    {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},
    {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28},
    {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
};
// clang-format on

// IAPWS-IF97 Table 30: region 3, phi = n1 ln delta + sum n delta^I tau^J (i = 2..40).
constexpr double kRegion3LogCoefficient = 0.10658070028513e1;  // n1
// clang-format off
constexpr Term kRegion3[] = {
    //  I   J   n
    {0, 0, -0.15732845290239e2},
    {0, 1, 0.20944396974307e2},
    {0, 2, -0.76867707878716e1},
    {0, 7, 0.26185947787954e1},
    {0, 10, -0.28080781148620e1},
    {0, 12, 0.12053369696517e1},
    {0, 23, -0.84566812812502e-2},
    {1, 2, -0.12654315477714e1},
    {1, 6, -0.11524407806681e1},
    {1, 15, 0.88521043984318},
    {1, 17, -0.64207765181607},
    {2, 0, 0.38493460186671},
    {2, 2, -0.85214708824206},
    {2, 6, 0.48972281541877e1},
    {2, 7, -0.30502617256965e1},
    {2, 22, 0.39420536879154e-1},
    {2, 26, 0.12558408424308},
    {3, 0, -0.27999329698710},
    {3, 2, 0.13899799569460e1},
    {3, 4, -0.20189915023570e1},
    {3, 16, -0.82147637173963e-2},
    {3, 26, -0.47596035734923},
    {4, 0, 0.43984074473500e-1},
    {4, 2, -0.44476435428739},
    {4, 4, 0.90572070719733},
    {4, 26, 0.70522450087967},
    {5, 1, 0.10770512626332},
    {5, 3, -0.32913623258954},
    {5, 26, -0.50871062041158},
    {6, 0, -0.22175400873096e-1},
    {6, 2, 0.94260751665092e-1},
    {6, 26, 0.16436278447961},
    {7, 2, -0.13503372241348e-1},
    {8, 26, -0.14834345352472e-1},
    {9, 2, 0.57922953628084e-3},
    {9, 26, 0.32308904703711e-2},
    {10, 0, 0.80964802996215e-4},
    {10, 1, -0.16557679795037e-3},
    {11, 26, -0.44923899061815e-4},
};
// clang-format on

// Region 5 in the form of the 1997 release: ideal-gas part sum n0 tau^J0 ...
// clang-format off
constexpr Term kRegion5Ideal[] = {
    //  I  J0  n0
    {0, 0, -0.13179983674201e2},
    {0, 1, 0.68540841634434e1},
    {0, -3, -0.24805148933466e-1},
    {0, -2, 0.36901534980333},
    {0, -1, -0.31161318213925e1},
    {0, 2, -0.32961626538917},
};
// clang-format on

// ... and residual part sum n pi^I tau^J.
// clang-format off
constexpr Term kRegion5Residual[] = {
    //  I  J  n
    {1, 0, -0.12563183589592e-3},
    {1, 1, 0.21774678714571e-2},
    {1, 3, -0.45942820899910e-2},
    {2, 9, -0.39724828359569e-5},
    {3, 3, 0.12919228289784e-6},
};
// clang-format on

// IAPWS-IF97 Table 34: the saturation-pressure equation of region 4, n1 .. n10.
// clang-format off
constexpr double kSaturation[] = {
    0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
    -0.32325550322333e7, 0.14915108613530e2,  -0.48232657361591e4, 0.40511340542057e6,
    -0.23855557567849,   0.65017534844798e3,
};
// clang-format on

// IAPWS-IF97 Table 1: the region 2-3 boundary, p/MPa = n1 + n2 T + n3 T^2.
constexpr double kB23[] = {0.34805185628969e3, -0.11671859879975e1, 0.10192970039326e-2};

// The region sums made ready for their derivatives.
constexpr auto kRegion1Sum = Prepare(kRegion1);
constexpr auto kRegion2IdealSum = Prepare(kRegion2Ideal);
constexpr auto kRegion2ResidualSum = Prepare(kRegion2Residual);
constexpr auto kRegion3Sum = Prepare(kRegion3);
constexpr auto kRegion5IdealSum = Prepare(kRegion5Ideal);
constexpr auto kRegion5ResidualSum = Prepare(kRegion5Residual);

// Every exponent a region sum needs, down to the second derivative, has its place in
// a power table.
template <size_t N>
constexpr bool InPowerTable(const PreparedSum<N>& s) {
    return s.xLow >= IntegerPowers::kMin && s.yLow >= IntegerPowers::kMin && s.xHigh <= IntegerPowers::kMax &&
           s.yHigh <= IntegerPowers::kMax;
}
static_assert(InPowerTable(kRegion1Sum) && InPowerTable(kRegion2IdealSum) && InPowerTable(kRegion2ResidualSum) &&
              InPowerTable(kRegion3Sum) && InPowerTable(kRegion5IdealSum) && InPowerTable(kRegion5ResidualSum));

// Reducing constants of regions 1 and 2.
constexpr double kP1 = 16.53e6, kT1 = 1386;
constexpr double kP2 = 1e6, kT2 = 540;

// Region boundaries in temperature, compared through tau = 1/T: the quotient is
// correctly rounded and so monotone, and a boundary temperature given exactly lands
// exactly on the boundary.
constexpr double kTau13 = 1 / 623.15;
constexpr double kTau25 = 1 / 1073.15;

// Gibbs function of the form ln pi + sum(ideal) + sum(residual) and its derivatives
// (regions 2 and 5).
template <size_t N0, size_t N1>
double GasGibbs(RolePowers& idealPowers, const PreparedSum<N0>& ideal, RolePowers& residualPowers,
                const PreparedSum<N1>& residual, int i, double pi, int j, double tau, double tauResidual) {
    double sum = LogTerm(i, j, pi);
    sum = PowerSum(idealPowers, ideal, i, pi, j, tau, sum);
    return PowerSum(residualPowers, residual, i, pi, j, tauResidual, sum);
}

// The six derivatives of a gas region, each as GasGibbs gives it.
template <size_t N0, size_t N1>
GibbsOrders GasGibbsOrders(PowerRole idealRole, const PreparedSum<N0>& ideal, PowerRole residualRole,
                           const PreparedSum<N1>& residual, double pi, double tau, double tauResidual) {
    PowerTables& tables = AllPowers();
    RolePowers &a = tables[idealRole], &b = tables[residualRole];
    auto order = [&](int i, int j) { return GasGibbs(a, ideal, b, residual, i, pi, j, tau, tauResidual); };
    return {order(0, 0), order(0, 1), order(0, 2), order(1, 0), order(1, 1), order(2, 0)};
}

// ln(f/P) of compressed liquid: from the saturated vapour at the saturation pressure
// (where liquid and vapour have equal Gibbs energy) along the liquid isotherm.
}  // namespace

double LiquidLnFugacity(double pi1, double tau1, double satuP) {
    const double ps = satuP;
    const double pis = ps / kP1;
    const double y = tau1 - 1.222;
    double sum = std::log(pis / pi1);
    RolePowers& p = Powers(kRole1);
    IntegerPowers& saturated = Powers(kRole1Saturation).x;
    p.x.Use(7.1 - pi1, kRegion1Sum.xLow, kRegion1Sum.xHigh);
    p.y.Use(y, kRegion1Sum.yLow, kRegion1Sum.yHigh);
    saturated.Use(7.1 - pis, kRegion1Sum.xLow, kRegion1Sum.xHigh);
    for (const Term& t : kRegion1) sum += t.n * p.y(t.J) * (p.x(t.I) - saturated(t.I));
    return sum + GibbsRegion2(0, ps / kP2, -1, tau1 * kT2 / kT1);
}

double GibbsRegion1(int i, double pi1, int j, double tau1) {
    if (!OrdinaryOrder(i, j)) return 0;
    // d/d pi = -d/d(7.1 - pi).
    const double sign = i % 2 == 0 ? 1 : -1;
    return sign * PowerSum(kRole1, kRegion1Sum, i, 7.1 - pi1, j, tau1 - 1.222);
}

GibbsOrders GibbsRegion1Orders(double pi1, double tau1) {
    RolePowers& p = Powers(kRole1);
    const double x = 7.1 - pi1, y = tau1 - 1.222;
    // d/d pi = -d/d(7.1 - pi), as in GibbsRegion1.
    return {PowerSum(p, kRegion1Sum, 0, x, 0, y),  PowerSum(p, kRegion1Sum, 0, x, 1, y),
            PowerSum(p, kRegion1Sum, 0, x, 2, y),  -PowerSum(p, kRegion1Sum, 1, x, 0, y),
            -PowerSum(p, kRegion1Sum, 1, x, 1, y), PowerSum(p, kRegion1Sum, 2, x, 0, y)};
}

void GibbsRegion1AndSlope(double pi1, double tau1, double* g, double* gPi) {
    double s0 = 0, s1 = 0;
    PowerSumAndSlope(kRole1, kRegion1Sum, 7.1 - pi1, tau1 - 1.222, s0, s1);
    *g = s0;
    *gPi = -s1;
}

void GibbsRegion2AndSlope(double pi2, double tau2, double* g, double* gPi) {
    double s0 = std::log(pi2), s1 = 1 / pi2, unused = 0;
    PowerSumAndSlope(kRole2Ideal, kRegion2IdealSum, pi2, tau2, s0, unused);
    PowerSumAndSlope(kRole2Residual, kRegion2ResidualSum, pi2, tau2 - 0.5, s0, s1);
    *g = s0;
    *gPi = s1;
}

double GibbsRegion2(int i, double pi2, int j, double tau2) {
    if (j == -1) return PowerSum(kRole2Residual, kRegion2ResidualSum, 0, pi2, 0, tau2 - 0.5);
    if (j == -2) return ZeroPressureSlope(kRole2Residual, kRegion2Residual, kRegion2ResidualSum, tau2 - 0.5);
    if (!OrdinaryOrder(i, j)) return 0;
    return GasGibbs(Powers(kRole2Ideal), kRegion2IdealSum, Powers(kRole2Residual), kRegion2ResidualSum, i, pi2, j, tau2,
                    tau2 - 0.5);
}

GibbsOrders GibbsRegion2Orders(double pi2, double tau2) {
    return GasGibbsOrders(kRole2Ideal, kRegion2IdealSum, kRole2Residual, kRegion2ResidualSum, pi2, tau2, tau2 - 0.5);
}

double HelmholtzRegion3(int i, double delta3, int j, double tau3) {
    if (!OrdinaryOrder(i, j)) return 0;
    // The last value is remembered: the region test of a density and the pressure of
    // the same density ask for the same derivative one after the other.
    struct Last {
        int i = -1, j = -1;
        uint64_t delta3 = 0, tau3 = 0;
        double value = 0;
    };
    thread_local Last last;
    const uint64_t d = std::bit_cast<uint64_t>(delta3), t = std::bit_cast<uint64_t>(tau3);
    if (last.i == i && last.j == j && last.delta3 == d && last.tau3 == t) return last.value;
    const double start = kRegion3LogCoefficient * LogTerm(i, j, delta3);
    const double value = PowerSum(kRole3, kRegion3Sum, i, delta3, j, tau3, start);
    last = {i, j, d, t, value};
    return value;
}

double GibbsRegion5(int i, double pi5, int j, double tau5) {
    if (j == -1) return PowerSum(kRole5Residual, kRegion5ResidualSum, 0, pi5, 0, tau5);
    if (j == -2) return ZeroPressureSlope(kRole5Residual, kRegion5Residual, kRegion5ResidualSum, tau5);
    if (!OrdinaryOrder(i, j)) return 0;
    return GasGibbs(Powers(kRole5Ideal), kRegion5IdealSum, Powers(kRole5Residual), kRegion5ResidualSum, i, pi5, j, tau5,
                    tau5);
}

GibbsOrders GibbsRegion5Orders(double pi5, double tau5) {
    return GasGibbsOrders(kRole5Ideal, kRegion5IdealSum, kRole5Residual, kRegion5ResidualSum, pi5, tau5, tau5);
}

double BoundaryB23Pressure(double x) { return ((kB23[2] / x + kB23[1]) / x + kB23[0]) * 1e6; }

double SaturationPressureEquation(double T) {
    const double* n = kSaturation;
    const double theta = T + n[8] / (T - n[9]);
    const double a = theta * theta + n[0] * theta + n[1];
    const double b = n[2] * theta * theta + n[3] * theta + n[4];
    const double c = n[5] * theta * theta + n[6] * theta + n[7];
    return std::pow(2 * c / (std::sqrt(b * b - 4 * a * c) - b), 4) * 1e6;
}

int Region(double delta, double tau, double pi, double satuP, double /*satuRhov*/, double satuRhol) {
    if (tau < kTau25) return 5;      // T > 1073.15 K
    const bool low = tau >= kTau13;  // T <= 623.15 K
    if (delta == 0) {
        if (low && pi >= satuP) return 1;
        if (!low && pi >= BoundaryB23Pressure(tau)) return 3;
    }
    if (pi != 0) return 2;
    // Density given. Below 623.15 K every density under the saturated liquid is the
    // (possibly metastable) vapour of region 2; above it the region-3 pressure decides.
    if (low) return delta >= satuRhol ? 1 : 2;
    const double delta3 = delta / kWaterConstants.rhoc;
    // A density this far below the critical one is a dilute vapour of region 2 (its
    // pressure is some 1e-90 Pa at most, far below the 2-3 boundary), and the ln delta3
    // term of the region-3 function would give 1/delta3 beyond the range of numbers.
    if (delta3 < 1e-100) return 2;
    const double p3 =
        HelmholtzRegion3(1, delta3, 0, kWaterConstants.Tc * tau) * delta3 * delta * kWaterConstants.R / tau;
    return p3 >= BoundaryB23Pressure(tau) ? 3 : 2;
}

}  // namespace kelvane
