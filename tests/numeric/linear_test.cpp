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

template <typename T>
using Matrix = std::vector<std::vector<T>>;

template <typename T>
std::vector<T> Solve(const Matrix<T>& m, const std::vector<T>& g) {
    std::vector<const T*> rows;
    for (const std::vector<T>& row : m) rows.push_back(row.data());
    std::vector<T> x(g.size(), T(-123.0));
    if constexpr (std::is_same_v<T, double>) {
        SolveLinear(rows.data(), g.data(), static_cast<int>(g.size()), x.data());
    } else {
        SolveLinearComplex(rows.data(), g.data(), static_cast<int>(g.size()), x.data());
    }
    return x;
}

double Modulus(double v) { return std::fabs(v); }
double Modulus(Complex v) { return Abs(v); }
bool IsNotANumber(double v) { return std::isnan(v); }
bool IsNotANumber(Complex v) { return std::isnan(v.re) && std::isnan(v.im); }

template <typename T>
void ExpectAllNotANumber(const std::vector<T>& x) {
    for (const T& v : x) EXPECT_TRUE(IsNotANumber(v));
}

TEST(SolveLinearTest, IdentityAndTiedPivot) {
    const Matrix<double> identity = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    EXPECT_EQ(Solve(identity, {0.5, -2, 7}), (std::vector<double>{0.5, -2, 7}));
    // The pivot of step 0 is row 0, column 1; the equal element in row 1,
    // column 0 does not replace it, and both interchanges are undone.
    EXPECT_EQ(Solve<double>({{0, 1}, {1, 0}}, {3, 5}), (std::vector<double>{5, 3}));
    EXPECT_EQ(Solve<Complex>({{0, 1}, {1, 0}}, {Complex(3, 1), 5.0}), (std::vector<Complex>{5.0, Complex(3, 1)}));
}

TEST(SolveLinearTest, SignedPermutationsAreInvertedExactly) {
    // All 384 signed 4 x 4 permutation matrices: each pivot is +-1, found off
    // the diagonal, so every interchange with its sign flip is exercised, and
    // the result must be exact: M(i, perm[i]) = s_i gives x[perm[i]] = s_i g[i].
    std::vector<int> perm = {0, 1, 2, 3};
    const std::vector<double> g = {1.5, -2.25, 3.125, 4.0};
    do {
        for (int signs = 0; signs < 16; ++signs) {
            Matrix<double> m(4, std::vector<double>(4, 0.0));
            std::vector<double> expected(4);
            for (std::size_t i = 0; i < 4; ++i) {
                const double sign = (signs >> i) & 1 ? -1.0 : 1.0;
                const auto column = static_cast<std::size_t>(perm[i]);
                m[i][column] = sign;
                expected[column] = sign * g[i];
            }
            EXPECT_EQ(Solve(m, g), expected) << "signs " << signs;
        }
    } while (std::next_permutation(perm.begin(), perm.end()));
}

// Diagonally dominant matrices with rows and columns shuffled: well
// conditioned, with the largest elements off the diagonal so that complete
// pivoting interchanges rows and columns. Also checks that the matrix and
// the right-hand side are only read.
template <typename T>
void CheckRandomSystems(std::uint64_t seed) {
    std::mt19937_64 engine(seed);
    const auto uniform = [&engine] { return static_cast<double>(engine() >> 11) * 0x1.0p-52 - 1; };
    const auto value = [&uniform] {
        if constexpr (std::is_same_v<T, double>)
            return uniform();
        else
            return Complex(uniform(), uniform());
    };
    for (std::size_t n = 1; n <= 6; ++n) {
        for (int sample = 0; sample < 300; ++sample) {
            std::vector<std::size_t> row_of(n), col_of(n);
            std::iota(row_of.begin(), row_of.end(), 0);
            std::iota(col_of.begin(), col_of.end(), 0);
            std::shuffle(row_of.begin(), row_of.end(), engine);
            std::shuffle(col_of.begin(), col_of.end(), engine);
            Matrix<T> m(n, std::vector<T>(n));
            std::vector<T> expected(n);
            for (std::size_t i = 0; i < n; ++i) {
                for (std::size_t j = 0; j < n; ++j)
                    m[row_of[i]][col_of[j]] = value() + (i == j ? (uniform() < 0 ? -2.0 : 2.0) * n : 0.0);
                expected[i] = value() * 10.0;
            }
            std::vector<T> g(n);
            for (std::size_t i = 0; i < n; ++i) {
                for (std::size_t j = 0; j < n; ++j) g[i] += m[i][j] * expected[j];
            }
            const Matrix<T> m_before = m;
            const std::vector<T> g_before = g;
            const std::vector<T> x = Solve(m, g);
            double error = 0, size = 0;
            for (std::size_t i = 0; i < n; ++i) {
                error = std::max(error, Modulus(x[i] - expected[i]));
                size = std::max(size, Modulus(expected[i]));
            }
            ASSERT_LT(error, 1e-14 * size) << "n = " << n << ", sample " << sample;
            ASSERT_TRUE(m == m_before && g == g_before);
        }
    }
}

TEST(SolveLinearTest, RandomWellConditionedSystemsSolveToRounding) { CheckRandomSystems<double>(424242); }
TEST(SolveLinearComplexTest, RandomWellConditionedSystemsSolveToRounding) { CheckRandomSystems<Complex>(434343); }

TEST(SolveLinearTest, SolutionMayOverwriteTheRightHandSide) {
    const double rows[3][3] = {{0, 2, 1}, {4, 1, 0}, {1, 0, 3}};
    const double* m[3] = {rows[0], rows[1], rows[2]};
    double gx[3] = {-3.5, 2, 2.5};  // M (1, -2, 0.5)
    SolveLinear(m, gx, 3, gx);
    EXPECT_NEAR(gx[0], 1, 1e-15);
    EXPECT_NEAR(gx[1], -2, 1e-15);
    EXPECT_NEAR(gx[2], 0.5, 1e-15);
}

// Columns: 1 and the elementary symmetric functions of the other roots, so
// that sum A_i/(u + y_i) = (g0 u^(n-1) + ... + g_(n-1)) / prod (u + y_i).
template <typename T>
Matrix<T> PartialFractionMatrix(const std::vector<T>& y) {
    const std::size_t n = y.size();
    Matrix<T> m(n, std::vector<T>(n));
    for (std::size_t i = 0; i < n; ++i) {
        std::vector<T> e = {T(1.0)};  // elementary symmetric functions, built up
        for (std::size_t j = 0; j < n; ++j) {
            if (j == i) continue;
            e.push_back(T());
            for (std::size_t k = e.size() - 1; k > 0; --k) e[k] += e[k - 1] * y[j];
        }
        for (std::size_t row = 0; row < n; ++row) m[row][i] = e[row];
    }
    return m;
}

template <typename T>
void CheckPartialFractions(const std::vector<T>& y, const std::vector<T>& g, const std::vector<T>& points) {
    const std::vector<T> a = Solve(PartialFractionMatrix(y), g);
    for (const T u : points) {
        T sum{}, numerator{}, denominator(1.0);
        for (std::size_t i = 0; i < y.size(); ++i) {
            sum += a[i] / (u + y[i]);
            numerator = numerator * u + g[i];
            denominator *= u + y[i];
        }
        EXPECT_LT(Modulus(sum - numerator / denominator), 1e-13 * Modulus(numerator / denominator));
    }
}

TEST(SolveLinearTest, PartialFractionsOfTheEnhancementPolynomials) {
    CheckPartialFractions<double>({0.75, -0.0625, 2.5}, {1.25, -0.5, 0.125}, {0.0, 0.3, 1.7, -0.9});
    CheckPartialFractions<Complex>({Complex(0.3, 0.8), Complex(0.3, -0.8), -1.2, Complex(2, 0.1)},
                                   {0.7, -0.2, 1.1, 0.05}, {0.0, 0.5, Complex(-0.4, 0.3)});
}

TEST(SolveLinearTest, SingularMatricesGiveNotANumber) {
    ExpectAllNotANumber(Solve<double>({{0, 0}, {0, 0}}, {1, 2}));
    // Equal columns: the zero pivot appears only at the last step.
    ExpectAllNotANumber(Solve<double>({{1, 2, 1}, {3, -1, 3}, {0.5, 4, 0.5}}, {1, 0, 2}));
    ExpectAllNotANumber(Solve<double>({{5, 1, 0, 2}, {0, 0, 0, 0}, {1, 7, 1, 0}, {3, 0, 9, 1}}, {1, 1, 1, 1}));
    // Two equal roots give two equal complex columns, which eliminate to
    // rounding residue rather than to an exact zero.
    ExpectAllNotANumber(
        Solve(PartialFractionMatrix<Complex>({Complex(0.3, 0.8), -1.2, Complex(0.3, 0.8), Complex(2, 0.1)}),
              {1.0, 0.0, 2.0, -1.0}));
    // For n = 2 pivots up to 64 machine epsilons (1.4e-14) of the first count as zero.
    const std::vector<double> solved = Solve<double>({{1e-13, 0}, {0, 1}}, {1, 2});
    EXPECT_DOUBLE_EQ(solved[0], 1e13);
    EXPECT_EQ(solved[1], 2);
    ExpectAllNotANumber(Solve<double>({{1e-14, 0}, {0, 1}}, {1, 2}));
    ExpectAllNotANumber(Solve<Complex>({{Complex(0, 1e-14), 0}, {0, Complex(0.6, 0.8)}}, {1.0, 2.0}));
}

TEST(SolveLinearTest, EmptySystemLeavesTheSolutionAlone) {
    double x = 8;
    SolveLinear(nullptr, nullptr, 0, &x);
    EXPECT_EQ(x, 8);
}

}  // namespace
}  // namespace kelvane
