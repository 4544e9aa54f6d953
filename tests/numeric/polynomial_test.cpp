#include "numeric/polynomial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace kelvane {
namespace {

const double kHalfSqrt3 = std::sqrt(3.0) / 2;

void ExpectRootsInOrder(const Complex* roots, const std::vector<Complex>& expected, double tolerance) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(roots[i].re, expected[i].re, tolerance) << "root " << i;
    EXPECT_NEAR(roots[i].im, expected[i].im, tolerance) << "root " << i;
  }
}

// Coefficients, ascending, of the monic polynomial with the given roots.
std::vector<Complex> FromRoots(const std::vector<Complex>& roots) {
  std::vector<Complex> c{1.0};
  for (const Complex& root : roots) {
    std::vector<Complex> next(c.size() + 1);
    for (std::size_t k = 0; k < c.size(); ++k) {
      next[k + 1] += c[k];
      next[k] -= root * c[k];
    }
    c = next;
  }
  return c;
}

// |p(z)| relative to sum |c_k| |z|^k, the size of the terms that cancel in p(z).
double ScaledResidual(const std::vector<Complex>& c, Complex z) {
  Complex value;
  for (std::size_t k = c.size(); k-- > 0;) value = value * z + c[k];
  double scale = 0, power = 1;
  for (const Complex& ck : c) {
    scale += Abs(ck) * power;
    power *= Abs(z);
  }
  return Abs(value) / scale;
}

// Smallest, over all pairings of computed with expected roots, of the
// largest relative distance |computed - expected| / max(1, |expected|).
double MultisetDistance(const Complex* computed, const std::vector<Complex>& expected) {
  std::vector<int> order(expected.size());
  std::iota(order.begin(), order.end(), 0);
  double best = std::numeric_limits<double>::infinity();
  do {
    double worst = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const Complex e = expected[static_cast<std::size_t>(order[i])];
      worst = std::max(worst, Abs(computed[i] - e) / std::max(1.0, Abs(e)));
    }
    best = std::min(best, worst);
  } while (std::next_permutation(order.begin(), order.end()));
  return best;
}

TEST(CubicRootsTest, UnitCubeRootsComeInCardanoOrder) {
  // r = -1, D = 1, S = 1; the first cancellation test fires without effect.
  const Complex c[4] = {-1, 0, 0, 1};
  Complex roots[3];
  CubicRoots(c, roots);
  ExpectRootsInOrder(roots, {1, Complex(-0.5, kHalfSqrt3), Complex(-0.5, -kHalfSqrt3)}, 1e-15);
}

TEST(CubicRootsTest, TripleRootSurvivesTheCutOffs) {
  // (z + 1)^3: Q = r = D = 0, both Cardano roots vanish.
  const Complex c[4] = {1, 3, 3, 1};
  Complex roots[3];
  CubicRoots(c, roots);
  ExpectRootsInOrder(roots, {-1, -1, -1}, 1e-15);
}

TEST(CubicRootsTest, PurelyImaginaryCardanoRootOrdersZeroFirst) {
  // z^3 - z: S = (0, -1/sqrt 3), T = -Q/S = -S, so the roots are 0, 1, -1.
  const Complex c[4] = {0, -1, 0, 1};
  Complex roots[3];
  CubicRoots(c, roots);
  ExpectRootsInOrder(roots, {0, 1, -1}, 1e-15);
}

TEST(CubicRootsTest, LeadingCoefficientIsDividedOut) {
  // 2 (z - 1)(z - 2)(z - 3) with complex scaling of all coefficients.
  const Complex scale(2, -1);
  const std::vector<Complex> monic = FromRoots({1, 2, 3});
  Complex c[4];
  for (int k = 0; k < 4; ++k) c[k] = scale * monic[static_cast<std::size_t>(k)];
  Complex roots[3];
  CubicRoots(c, roots);
  EXPECT_LT(MultisetDistance(roots, {1, 2, 3}), 1e-13);
}

TEST(CubicRootsTest, CancellationInTheFirstCardanoRootIsAvoided) {
  // z^3 + 0.06 z + 1: sqrt(D) is within 1e-3 of r, so (sqrt(D) - r)/2 loses
  // about eleven digits; the roots must still be accurate to rounding.
  for (const double r : {1.0, -1.0}) {
    const std::vector<Complex> c = {r, 0.06, 0, 1};
    Complex roots[3];
    CubicRoots(c.data(), roots);
    for (const Complex& root : roots) EXPECT_LT(ScaledResidual(c, root), 1e-15) << "r = " << r;
    // Vieta: the roots sum to zero and multiply to -r.
    EXPECT_LT(Abs(roots[0] + roots[1] + roots[2]), 1e-15);
    EXPECT_LT(Abs(roots[0] * roots[1] * roots[2] + r), 1e-15);
  }
}

TEST(QuarticRootsTest, FourRealRootsKeepTheFirstResolventSet) {
  // (z-1)(z-2)(z-3)(z-4). Resolvent roots 1, ~0 and 1/4: the first gives
  // 4, 3, 2, 1; the second has s = 0 and would give 2.5 four times; the third
  // gives 4, 2, 3, 1 and, with a residual sum at rounding level, may or may
  // not be taken.
  const Complex c[5] = {24, -50, 35, -10, 1};
  Complex roots[4];
  QuarticRoots(c, roots);
  EXPECT_NEAR(roots[0].re, 4, 1e-14);
  EXPECT_NEAR(roots[3].re, 1, 1e-14);
  const double middle_low = std::min(roots[1].re, roots[2].re);
  const double middle_high = std::max(roots[1].re, roots[2].re);
  EXPECT_NEAR(middle_low, 2, 1e-14);
  EXPECT_NEAR(middle_high, 3, 1e-14);
  for (const Complex& root : roots) EXPECT_NEAR(root.im, 0, 1e-14);
}

TEST(QuarticRootsTest, ZPowerFourPlusOneTakesTheLastAcceptableSet) {
  // Resolvent roots 0, 1/2, -1/2. Set 0 is -a/4 = 0 four times (residual sum
  // 4); sets 1 and 2 are both exact, and the last one not worse than set 0
  // is kept: s = i sqrt(1/2), t = sqrt(1/2).
  const Complex c[5] = {1, 0, 0, 0, 1};
  Complex roots[4];
  QuarticRoots(c, roots);
  const double s = std::sqrt(0.5);
  ExpectRootsInOrder(roots, {Complex(s, s), Complex(-s, s), Complex(s, -s), Complex(-s, -s)}, 1e-15);
}

TEST(QuarticRootsTest, ZPowerFourGivesFourZeros) {
  const Complex c[5] = {0, 0, 0, 0, 1};
  Complex roots[4] = {5, 5, 5, 5};
  QuarticRoots(c, roots);
  ExpectRootsInOrder(roots, {0, 0, 0, 0}, 0);
}

TEST(QuarticRootsTest, VanishingResolventRootsGiveTheShiftedCentre) {
  // (z - 2)^4: the depressed quartic is y^4, every s is 0 and all four
  // candidates are -a/4 = 2.
  const Complex c[5] = {16, -32, 24, -8, 1};
  Complex roots[4];
  QuarticRoots(c, roots);
  ExpectRootsInOrder(roots, {2, 2, 2, 2}, 0);
}

TEST(QuarticRootsTest, NotANumberResidualLeavesTheOutputUntouched) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Complex c[5] = {nan, 0, 0, 0, 1};
  Complex roots[4] = {Complex(7, -7), Complex(7, -7), Complex(7, -7), Complex(7, -7)};
  QuarticRoots(c, roots);
  for (const Complex& root : roots) EXPECT_EQ(root, Complex(7, -7));

  // Default-constructed output then reads as four equal roots.
  Complex zeros[4];
  QuarticRoots(c, zeros);
  for (const Complex& root : zeros) EXPECT_EQ(root, Complex(0, 0));
}

TEST(EvalQuarticTest, EvaluatesInAscendingPowers) {
  const Complex c[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(EvalQuartic(c, Complex(0, 1)), Complex(3, -2));  // 1 + 2i - 3 - 4i + 5
  EXPECT_EQ(EvalQuartic(c, 2.0), Complex(129, 0));           // 1 + 4 + 12 + 32 + 80
  const Complex z(0.5, -1.25);
  const Complex direct = c[0] + c[1] * z + c[2] * z * z + c[3] * z * z * z + c[4] * z * z * z * z;
  EXPECT_LT(Abs(EvalQuartic(c, z) - direct), 1e-13);
}

// Random polynomials with known roots, drawn from a fixed seed. Roots have
// moduli between 1 and 10 and distinct roots lie at least 1 apart, so the
// absolute cut-offs of the square and cube roots do not act on the
// discriminants; repeated roots are exact or split by a relative 1e-9.
enum class RootKind { kReal, kConjugatePairs, kDoubleRoot, kTripleRoot, kNearDouble, kComplexCoefficients };

class RootSampler {
 public:
  explicit RootSampler(std::uint64_t seed) : engine_(seed) {}

  std::vector<Complex> Draw(RootKind kind, int degree) {
    for (;;) {
      std::vector<Complex> roots = Candidate(kind, degree);
      if (WellSeparated(roots)) return roots;
    }
  }

 private:
  double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  // Random sign, modulus log-uniform in [1, 10].
  double Magnitude() {
    const double m = std::pow(10.0, Uniform());
    return Uniform() < 0.5 ? -m : m;
  }

  std::vector<Complex> Candidate(RootKind kind, int degree) {
    std::vector<Complex> roots;
    switch (kind) {
      case RootKind::kReal:
        break;
      case RootKind::kConjugatePairs: {
        const int pairs = degree == 4 && Uniform() < 0.5 ? 2 : 1;
        for (int i = 0; i < pairs; ++i) {
          const Complex w(Magnitude(), Magnitude());
          roots.push_back(w);
          roots.push_back(Complex(w.re, -w.im));
        }
        break;
      }
      case RootKind::kDoubleRoot: {
        const double c = Magnitude();
        roots = {c, c};
        break;
      }
      case RootKind::kTripleRoot: {
        const double c = Magnitude();
        roots = {c, c, c};
        break;
      }
      case RootKind::kNearDouble: {
        const double c = Magnitude();
        roots = {c, c * (1 + 1e-9 * (2 * Uniform() - 1))};
        break;
      }
      case RootKind::kComplexCoefficients:
        while (static_cast<int>(roots.size()) < degree) roots.push_back(Complex(Magnitude(), Magnitude()));
        break;
    }
    while (static_cast<int>(roots.size()) < degree) roots.push_back(Magnitude());
    return roots;
  }

  static bool WellSeparated(const std::vector<Complex>& roots) {
    for (std::size_t i = 0; i < roots.size(); ++i) {
      for (std::size_t j = i + 1; j < roots.size(); ++j) {
        const double d = Abs(roots[i] - roots[j]);
        if (d > 1e-6 * Abs(roots[i]) && d < 1) return false;
      }
    }
    return true;
  }

  std::mt19937_64 engine_;
};

struct RootCase {
  RootKind kind;
  const char* name;
  double distance_tolerance;  // relative to max(1, |root|)
};

const RootCase kRootCases[] = {
    {RootKind::kReal, "real", 1e-11},
    {RootKind::kConjugatePairs, "conjugate pairs", 1e-11},
    {RootKind::kDoubleRoot, "double root", 1e-10},
    {RootKind::kTripleRoot, "triple root", 1e-10},
    {RootKind::kNearDouble, "roots 1e-9 apart", 1e-8},
    {RootKind::kComplexCoefficients, "complex coefficients", 1e-11},
};

constexpr int kSamplesPerCase = 2000;
constexpr double kResidualTolerance = 1e-12;

template <int Degree, typename Solver>
void CheckRandomPolynomials(Solver solve, std::uint64_t seed) {
  RootSampler sampler(seed);
  for (const RootCase& root_case : kRootCases) {
    double worst_residual = 0, worst_distance = 0;
    for (int sample = 0; sample < kSamplesPerCase; ++sample) {
      const std::vector<Complex> expected = sampler.Draw(root_case.kind, Degree);
      std::vector<Complex> c = FromRoots(expected);
      if (root_case.kind != RootKind::kComplexCoefficients) {
        for (Complex& ck : c) ck.im = 0;  // conjugate roots: drop rounding residue
      }
      Complex roots[Degree];
      solve(c.data(), roots);
      for (const Complex& root : roots) worst_residual = std::max(worst_residual, ScaledResidual(c, root));
      worst_distance = std::max(worst_distance, MultisetDistance(roots, expected));
    }
    EXPECT_LT(worst_residual, kResidualTolerance) << root_case.name;
    EXPECT_LT(worst_distance, root_case.distance_tolerance) << root_case.name;
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
