#include "numeric/polynomial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace kelvane {
namespace {

using Roots = std::vector<Complex>;

void ExpectRootsInOrder(const Complex* roots, const Roots& expected, double tolerance = 1e-15) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(roots[i].re, expected[i].re, tolerance) << "root " << i;
        EXPECT_NEAR(roots[i].im, expected[i].im, tolerance) << "root " << i;
    }
}

TEST(CubicRootsTest, EdgeCasesComeInCardanoOrder) {
    Complex roots[3];
    const Complex unit[4] = {-1, 0, 0, 1};  // r = -1, D = 1, S = 1
    CubicRoots(unit, roots);
    const double h = std::sqrt(3.0) / 2;
    ExpectRootsInOrder(roots, {1, Complex(-0.5, h), Complex(-0.5, -h)});
    const Complex triple[4] = {1, 3, 3, 1};  // (z + 1)^3: Q = r = D = 0
    CubicRoots(triple, roots);
    ExpectRootsInOrder(roots, {-1, -1, -1});
    const Complex odd[4] = {0, -1, 0, 1};  // z^3 - z: S = (0, -1/sqrt 3), T = -S
    CubicRoots(odd, roots);
    ExpectRootsInOrder(roots, {0, 1, -1});
}

TEST(CubicRootsTest, CancellationInTheFirstCardanoRootIsAvoided) {
    // z^3 + 0.06 z +- 1: sqrt(D) lies within 1e-3 of r, so (sqrt(D) - r)/2
    // would lose about eleven digits; Vieta's relations must hold to rounding.
    for (const double r : {1.0, -1.0}) {
        const Complex c[4] = {r, 0.06, 0, 1};
        Complex z[3];
        CubicRoots(c, z);
        EXPECT_LT(Abs(z[0] + z[1] + z[2]), 1e-15);
        EXPECT_LT(Abs(z[0] * z[1] + z[1] * z[2] + z[2] * z[0] - 0.06), 1e-15);
        EXPECT_LT(Abs(z[0] * z[1] * z[2] + r), 1e-15);
    }
}

TEST(QuarticRootsTest, EdgeCasesKeepTheChosenCandidateSet) {
    Complex roots[4];
    // (z-1)(z-2)(z-3)(z-4): resolvent roots 1, ~0, 1/4. Set 0 is 4, 3, 2, 1;
    // set 1 (s = 0) would be 2.5 four times; set 2 is 4, 2, 3, 1 with a
    // rounding-level residual sum that may or may not undercut set 0.
    const Complex four_real[5] = {24, -50, 35, -10, 1};
    QuarticRoots(four_real, roots);
    EXPECT_NEAR(roots[0].re, 4, 1e-14);
    EXPECT_NEAR(std::max(roots[1].re, roots[2].re), 3, 1e-14);
    EXPECT_NEAR(std::min(roots[1].re, roots[2].re), 2, 1e-14);
    EXPECT_NEAR(roots[3].re, 1, 1e-14);
    // z^4 + 1: resolvent roots 0, 1/2, -1/2. Set 0 is 0 four times (residual
    // sum 4); sets 1 and 2 are exact and the last one not worse than set 0 is
    // kept: s = i sqrt(1/2), t = sqrt(1/2).
    const Complex plus_one[5] = {1, 0, 0, 0, 1};
    QuarticRoots(plus_one, roots);
    const double s = std::sqrt(0.5);
    ExpectRootsInOrder(roots, {Complex(s, s), Complex(-s, s), Complex(s, -s), Complex(-s, -s)});
    // z^4 and (z - 2)^4: every s is 0 and the candidates are -a/4.
    const Complex power[5] = {0, 0, 0, 0, 1};
    QuarticRoots(power, roots);
    ExpectRootsInOrder(roots, {0, 0, 0, 0}, 0);
    const Complex shifted[5] = {16, -32, 24, -8, 1};
    QuarticRoots(shifted, roots);
    ExpectRootsInOrder(roots, {2, 2, 2, 2}, 0);
}

TEST(QuarticRootsTest, NotANumberResidualLeavesTheOutputUntouched) {
    const Complex c[5] = {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 1};
    Complex roots[4] = {Complex(7, -7), Complex(7, -7), Complex(7, -7), Complex(7, -7)};
    QuarticRoots(c, roots);
    for (const Complex& root : roots) EXPECT_EQ(root, Complex(7, -7));
}

TEST(EvalQuarticTest, EvaluatesInAscendingPowers) {
    const Complex c[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(EvalQuartic(c, Complex(0, 1)), Complex(3, -2));  // 1 + 2i - 3 - 4i + 5
    EXPECT_EQ(EvalQuartic(c, 2.0), Complex(129, 0));
}

// Random polynomials from a fixed seed with known roots of modulus 1 to 10,
// distinct roots at least 1 apart (so that the absolute cut-offs of the
// square and cube roots stay clear of the discriminants), and repeated roots
// exact or split by a relative 1e-9. Coefficients are scaled by a random
// complex leading coefficient.
enum class Kind { kReal, kConjugate, kDouble, kTriple, kNearDouble, kComplex };

class Sampler {
public:
    explicit Sampler(std::uint64_t seed) : engine_(seed) {}
    double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double Magnitude() { return (Uniform() < 0.5 ? -1 : 1) * std::pow(10.0, Uniform()); }

    Roots Draw(Kind kind, std::size_t degree) {
        for (;;) {
            const double c = Magnitude();
            const Complex w(Magnitude(), Magnitude());
            Roots roots;
            if (kind == Kind::kConjugate) roots = {w, Complex(w.re, -w.im)};
            if (kind == Kind::kDouble) roots = {c, c};
            if (kind == Kind::kTriple) roots = {c, c, c};
            if (kind == Kind::kNearDouble) roots = {c, c * (1 + 1e-9 * (2 * Uniform() - 1))};
            while (roots.size() < degree) {
                const bool complex = kind == Kind::kComplex || (kind == Kind::kConjugate && Uniform() < 0.5);
                roots.push_back(complex ? Complex(Magnitude(), Magnitude()) : Complex(Magnitude()));
                if (kind == Kind::kConjugate && complex) {
                    if (roots.size() == degree)
                        roots.back().im = 0;
                    else
                        roots.push_back(Complex(roots.back().re, -roots.back().im));
                }
            }
            bool separated = true;
            for (std::size_t i = 0; i < degree; ++i) {
                for (std::size_t j = i + 1; j < degree; ++j) {
                    const double d = Abs(roots[i] - roots[j]);
                    separated = separated && !(d > 1e-6 * Abs(roots[i]) && d < 1);
                }
            }
            if (separated) return roots;
        }
    }

private:
    std::mt19937_64 engine_;
};

// Ascending coefficients of lead * prod (z - root); lead is real when real is set.
Roots FromRoots(const Roots& roots, Complex lead, bool real) {
    Roots c{lead};
    for (const Complex& root : roots) {
        Roots next(c.size() + 1);
        for (std::size_t k = 0; k < c.size(); ++k) {
            next[k + 1] += c[k];
            next[k] -= root * c[k];
        }
        c = next;
    }
    if (real) {
        for (Complex& ck : c) ck.im = 0;  // conjugate pairs: drop rounding residue
    }
    return c;
}

// |p(z)| over sum |c_k| |z|^k, the size of the terms that cancel in p(z).
double ScaledResidual(const Roots& c, Complex z) {
    Complex value;
    double scale = 0;
    for (std::size_t k = c.size(); k-- > 0;) {
        value = value * z + c[k];
        scale = scale * Abs(z) + Abs(c[k]);
    }
    return Abs(value) / scale;
}

// Best pairing of computed with expected roots: its largest relative distance.
double MultisetDistance(const Complex* computed, const Roots& expected) {
    std::vector<std::size_t> order(expected.size());
    std::iota(order.begin(), order.end(), 0);
    double best = std::numeric_limits<double>::infinity();
    do {
        double worst = 0;
        for (std::size_t i = 0; i < order.size(); ++i) {
            const Complex e = expected[order[i]];
            worst = std::max(worst, Abs(computed[i] - e) / std::max(1.0, Abs(e)));
        }
        best = std::min(best, worst);
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

template <std::size_t Degree, typename Solver>
void CheckRandomPolynomials(Solver solve, std::uint64_t seed) {
    Sampler sampler(seed);
    for (const Kind kind :
         {Kind::kReal, Kind::kConjugate, Kind::kDouble, Kind::kTriple, Kind::kNearDouble, Kind::kComplex}) {
        const double distance_tolerance = kind == Kind::kNearDouble ? 1e-8 : 1e-10;
        double worst_residual = 0, worst_distance = 0;
        for (int sample = 0; sample < 2000; ++sample) {
            const Roots expected = sampler.Draw(kind, Degree);
            const bool real = kind != Kind::kComplex;
            const Complex lead =
                real ? Complex(1 + sampler.Uniform()) : Complex(sampler.Magnitude(), sampler.Magnitude());
            const Roots c = FromRoots(expected, lead, real);
            Complex roots[Degree];
            solve(c.data(), roots);
            for (const Complex& root : roots) worst_residual = std::max(worst_residual, ScaledResidual(c, root));
            worst_distance = std::max(worst_distance, MultisetDistance(roots, expected));
        }
        EXPECT_LT(worst_residual, 1e-12) << "kind " << static_cast<int>(kind);
        EXPECT_LT(worst_distance, distance_tolerance) << "kind " << static_cast<int>(kind);
    }
}

TEST(CubicRootsTest, RandomCubicsWithKnownRoots) {
    CheckRandomPolynomials<3>([](const Complex* c, Complex* r) { CubicRoots(c, r); }, 20260101);
}

TEST(QuarticRootsTest, RandomQuarticsWithKnownRoots) {
    CheckRandomPolynomials<4>([](const Complex* c, Complex* r) { QuarticRoots(c, r); }, 20260102);
}

}  // namespace
}  // namespace kelvane
