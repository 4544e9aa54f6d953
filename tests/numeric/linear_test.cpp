#include "numeric/linear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <type_traits>
#include <vector>

namespace kelvane {
namespace {

// Row-major n x n storage with the row-pointer view the solvers take.
template <typename T>
class Matrix {
 public:
  explicit Matrix(int n) : n_(n), data_(static_cast<std::size_t>(n * n)), rows_(static_cast<std::size_t>(n)) {
    for (int i = 0; i < n; ++i) rows_[static_cast<std::size_t>(i)] = &data_[static_cast<std::size_t>(i * n)];
  }
  Matrix(int n, std::initializer_list<T> values) : Matrix(n) { std::copy(values.begin(), values.end(), data_.begin()); }

  T& operator()(int i, int j) { return data_[static_cast<std::size_t>(i * n_ + j)]; }
  T operator()(int i, int j) const { return data_[static_cast<std::size_t>(i * n_ + j)]; }
  const T* const* Rows() const { return rows_.data(); }
  int Size() const { return n_; }
  const std::vector<T>& Data() const { return data_; }

  std::vector<T> Times(const std::vector<T>& v) const {
    std::vector<T> result(static_cast<std::size_t>(n_));
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < n_; ++j) result[static_cast<std::size_t>(i)] += (*this)(i, j) * v[static_cast<std::size_t>(j)];
    }
    return result;
  }

 private:
  int n_;
  std::vector<T> data_;
  std::vector<T*> rows_;
};

std::vector<double> Solve(const Matrix<double>& m, const std::vector<double>& g) {
  std::vector<double> x(g.size(), -123.0);
  SolveLinear(m.Rows(), g.data(), m.Size(), x.data());
  return x;
}

std::vector<Complex> Solve(const Matrix<Complex>& m, const std::vector<Complex>& g) {
  std::vector<Complex> x(g.size(), Complex(-123.0, 0));
  SolveLinearComplex(m.Rows(), g.data(), m.Size(), x.data());
  return x;
}

double Magnitude(double v) { return std::fabs(v); }
double Magnitude(Complex v) { return Abs(v); }

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  double Uniform(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
  template <typename T>
  T Value() {
    if constexpr (std::is_same_v<T, double>) {
      return Uniform(-1, 1);
    } else {
      return Complex(Uniform(-1, 1), Uniform(-1, 1));
    }
  }
  std::vector<int> Permutation(int n) {
    std::vector<int> p(static_cast<std::size_t>(n));
    std::iota(p.begin(), p.end(), 0);
    for (int i = n - 1; i > 0; --i) std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(Below(i + 1))]);
    return p;
  }

 private:
  std::mt19937_64 engine_;
};

TEST(SolveLinearTest, IdentityReturnsTheRightHandSide) {
  for (int n = 1; n <= 4; ++n) {
    Matrix<double> m(n);
    std::vector<double> g;
    for (int i = 0; i < n; ++i) {
      m(i, i) = 1;
      g.push_back(0.5 + i);
    }
    EXPECT_EQ(Solve(m, g), g);
  }
}

TEST(SolveLinearTest, TiedPivotKeepsTheFirstElementFound) {
  // The pivot of step 0 is row 0, column 1; the equal element in row 1,
  // column 0 does not replace it. Both interchanges are undone exactly.
  const Matrix<double> m(2, {0, 1, 1, 0});
  EXPECT_EQ(Solve(m, {3, 5}), (std::vector<double>{5, 3}));
  const Matrix<Complex> mc(2, {0, 1, 1, 0});
  EXPECT_EQ(Solve(mc, {Complex(3, 1), Complex(5, -1)}), (std::vector<Complex>{Complex(5, -1), Complex(3, 1)}));
}

TEST(SolveLinearTest, SignedPermutationsAreInvertedExactly) {
  // Every 4 x 4 signed permutation matrix: each pivot is +-1 and found off the
  // diagonal, so every row and column interchange with its sign flip, and
  // its undoing, is exercised; the result must be exact.
  std::vector<int> perm = {0, 1, 2, 3};
  const std::vector<double> g = {1.5, -2.25, 3.125, 4.0};
  int cases = 0;
  do {
    for (int signs = 0; signs < 16; ++signs) {
      Matrix<double> m(4);
      for (int i = 0; i < 4; ++i) m(i, perm[static_cast<std::size_t>(i)]) = (signs >> i) & 1 ? -1.0 : 1.0;
      // M x = g with M(i, perm[i]) = s_i gives x[perm[i]] = g[i] / s_i.
      std::vector<double> expected(4);
      for (int i = 0; i < 4; ++i) {
        expected[static_cast<std::size_t>(perm[static_cast<std::size_t>(i)])] = g[static_cast<std::size_t>(i)] * m(i, perm[static_cast<std::size_t>(i)]);
      }
      EXPECT_EQ(Solve(m, g), expected) << "case " << cases;
      ++cases;
    }
  } while (std::next_permutation(perm.begin(), perm.end()));
  EXPECT_EQ(cases, 384);
}

// Diagonally dominant matrices with rows and columns shuffled: condition
// numbers stay small, and the largest elements sit off the diagonal so that
// complete pivoting interchanges rows and columns.
template <typename T>
void CheckRandomSystems(std::uint64_t seed) {
  Random random(seed);
  for (int n = 1; n <= 6; ++n) {
    for (int sample = 0; sample < 300; ++sample) {
      Matrix<T> base(n);
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) base(i, j) = random.template Value<T>();
        base(i, i) = base(i, i) + (random.Uniform(0, 1) < 0.5 ? -1.0 : 1.0) * (2.0 * n);
      }
      const std::vector<int> row_order = random.Permutation(n);
      const std::vector<int> col_order = random.Permutation(n);
      Matrix<T> m(n);
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) m(i, j) = base(row_order[static_cast<std::size_t>(i)], col_order[static_cast<std::size_t>(j)]);
      }
      std::vector<T> expected(static_cast<std::size_t>(n));
      for (T& v : expected) v = random.template Value<T>() * 10.0;
      const std::vector<T> g = m.Times(expected);
      const std::vector<T> before = m.Data();

      const std::vector<T> x = Solve(m, g);
      double error = 0, size = 0;
      for (int i = 0; i < n; ++i) {
        error = std::max(error, Magnitude(x[static_cast<std::size_t>(i)] - expected[static_cast<std::size_t>(i)]));
        size = std::max(size, Magnitude(expected[static_cast<std::size_t>(i)]));
      }
      ASSERT_LT(error, 1e-14 * size) << "n = " << n << " sample " << sample;
      ASSERT_EQ(m.Data(), before) << "the matrix is only read";
    }
  }
}

TEST(SolveLinearTest, RandomWellConditionedSystemsSolveToRounding) { CheckRandomSystems<double>(424242); }

TEST(SolveLinearComplexTest, RandomWellConditionedSystemsSolveToRounding) { CheckRandomSystems<Complex>(434343); }

TEST(SolveLinearTest, SolutionMayOverwriteTheRightHandSide) {
  const Matrix<double> m(3, {0, 2, 1, 4, 1, 0, 1, 0, 3});
  const std::vector<double> expected = {1, -2, 0.5};
  std::vector<double> gx = m.Times(expected);
  SolveLinear(m.Rows(), gx.data(), 3, gx.data());
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(gx[static_cast<std::size_t>(i)], expected[static_cast<std::size_t>(i)], 1e-15);
}

TEST(SolveLinearTest, PartialFractionsOfTheViscosityCubic) {
  // Sum A_i/(u + y_i) = (g1 u^2 + g2 u + g3)/((u + y1)(u + y2)(u + y3)).
  const double y[3] = {0.75, -0.0625, 2.5};
  const Matrix<double> m(3, {1, 1, 1,                                //
                             y[1] + y[2], y[2] + y[0], y[0] + y[1],  //
                             y[1] * y[2], y[2] * y[0], y[0] * y[1]});
  const std::vector<double> g = {1.25, -0.5, 0.125};
  const std::vector<double> a = Solve(m, g);
  for (const double u : {0.0, 0.3, 1.7, -0.9}) {
    double sum = 0;
    for (int i = 0; i < 3; ++i) sum += a[static_cast<std::size_t>(i)] / (u + y[i]);
    const double rational = (g[0] * u * u + g[1] * u + g[2]) / ((u + y[0]) * (u + y[1]) * (u + y[2]));
    EXPECT_NEAR(sum, rational, 1e-13 * std::fabs(rational)) << "u = " << u;
  }
}

// Columns of the conductivity system: 1 and the elementary symmetric
// functions of the three other roots, summed in index order.
Matrix<Complex> PartialFractionMatrix(const Complex y[4]) {
  Matrix<Complex> m(4);
  for (int i = 0; i < 4; ++i) {
    Complex o[3];
    int k = 0;
    for (int j = 0; j < 4; ++j) {
      if (j != i) o[k++] = y[j];
    }
    m(0, i) = 1.0;
    m(1, i) = o[0] + o[1] + o[2];
    m(2, i) = o[0] * o[1] + o[0] * o[2] + o[1] * o[2];
    m(3, i) = o[0] * o[1] * o[2];
  }
  return m;
}

TEST(SolveLinearComplexTest, PartialFractionsOfTheConductivityQuartic) {
  const Complex y[4] = {Complex(0.3, 0.8), Complex(0.3, -0.8), Complex(-1.2, 0), Complex(2, 0.1)};
  const std::vector<Complex> g = {Complex(0.7, 0), Complex(-0.2, 0), Complex(1.1, 0), Complex(0.05, 0)};
  const std::vector<Complex> a = Solve(PartialFractionMatrix(y), g);
  for (const Complex u : {Complex(0, 0), Complex(0.5, 0), Complex(-0.4, 0.3)}) {
    Complex sum, denominator = 1.0;
    for (int i = 0; i < 4; ++i) {
      sum += a[static_cast<std::size_t>(i)] / (u + y[i]);
      denominator *= u + y[i];
    }
    const Complex rational = (((g[0] * u + g[1]) * u + g[2]) * u + g[3]) / denominator;
    EXPECT_LT(Abs(sum - rational), 1e-13 * Abs(rational)) << "u = (" << u.re << ", " << u.im << ")";
  }
}

template <typename T>
void ExpectAllNotANumber(const std::vector<T>& x) {
  for (const T& v : x) {
    if constexpr (std::is_same_v<T, double>) {
      EXPECT_TRUE(std::isnan(v));
    } else {
      EXPECT_TRUE(std::isnan(v.re) && std::isnan(v.im));
    }
  }
}

TEST(SolveLinearTest, SingularMatricesGiveNotANumber) {
  ExpectAllNotANumber(Solve(Matrix<double>(3), {1, 2, 3}));
  // Equal columns: the zero pivot appears only at the last step.
  ExpectAllNotANumber(Solve(Matrix<double>(3, {1, 2, 1, 3, -1, 3, 0.5, 4, 0.5}), {1, 0, 2}));
  // A zero row in a matrix that is otherwise far from singular.
  ExpectAllNotANumber(Solve(Matrix<double>(4, {5, 1, 0, 2, 0, 0, 0, 0, 1, 7, 1, 0, 3, 0, 9, 1}), {1, 1, 1, 1}));
}

TEST(SolveLinearTest, PivotsAtRoundingLevelCountAsSingular) {
  // For n = 2 the limit is 16 machine epsilons (3.6e-15) of the first pivot.
  const std::vector<double> solved = Solve(Matrix<double>(2, {1e-14, 0, 0, 1}), {1, 2});
  EXPECT_DOUBLE_EQ(solved[0], 1e14);
  EXPECT_EQ(solved[1], 2);
  ExpectAllNotANumber(Solve(Matrix<double>(2, {1e-15, 0, 0, 1}), {1, 2}));
  ExpectAllNotANumber(Solve(Matrix<Complex>(2, {Complex(0, 1e-15), 0, 0, Complex(0.6, 0.8)}), {1.0, 2.0}));
}

TEST(SolveLinearComplexTest, CoincidentRootsGiveNotANumber) {
  // Two equal roots give two equal columns in the conductivity system.
  const Complex y[4] = {Complex(0.3, 0.8), Complex(-1.2, 0), Complex(0.3, 0.8), Complex(2, 0.1)};
  ExpectAllNotANumber(Solve(PartialFractionMatrix(y), {1.0, 0.0, 2.0, -1.0}));
}

TEST(SolveLinearTest, EmptySystemLeavesTheSolutionAlone) {
  double x = 8;
  SolveLinear(nullptr, nullptr, 0, &x);
  EXPECT_EQ(x, 8);
}

}  // namespace
}  // namespace kelvane
