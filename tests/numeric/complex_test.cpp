#include "numeric/complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace kelvane {
namespace {

void ExpectComplexNear(Complex actual, Complex expected, double tolerance) {
  EXPECT_NEAR(actual.re, expected.re, tolerance);
  EXPECT_NEAR(actual.im, expected.im, tolerance);
}

TEST(ComplexArithmetic, DefaultIsZeroAndRealConvertsWithZeroImaginaryPart) {
  const Complex zero;
  EXPECT_EQ(zero.re, 0.0);
  EXPECT_EQ(zero.im, 0.0);
  Complex z(3, 4);
  z = 2.5;
  EXPECT_EQ(z.Real(), 2.5);
  EXPECT_EQ(z.Imag(), 0.0);
}

TEST(ComplexArithmetic, BinaryOperationsBetweenComplexValues) {
  const Complex z(1, 2), w(3, -4);
  EXPECT_EQ(z + w, Complex(4, -2));
  EXPECT_EQ(z - w, Complex(-2, 6));
  EXPECT_EQ(z * w, Complex(11, 2));  // (3 + 8, -4 + 6)
  // (1 + 2i)/(3 - 4i) = (1 + 2i)(3 + 4i)/25 = (-5 + 10i)/25
  ExpectComplexNear(z / w, Complex(-0.2, 0.4), 1e-16);
  EXPECT_EQ(-z, Complex(-1, -2));
}

TEST(ComplexArithmetic, MixedOperationsWithReals) {
  const Complex w(3, 4);
  EXPECT_EQ(w + 2.0, Complex(5, 4));
  EXPECT_EQ(2.0 + w, Complex(5, 4));
  EXPECT_EQ(w - 2.0, Complex(1, 4));
  EXPECT_EQ(2.0 - w, Complex(-1, -4));
  EXPECT_EQ(w * 2.0, Complex(6, 8));
  EXPECT_EQ(2.0 * w, Complex(6, 8));
  EXPECT_EQ(w / 2.0, Complex(1.5, 2));
  // 2/(3 + 4i) = (6 - 8i)/25
  ExpectComplexNear(2.0 / w, Complex(0.24, -0.32), 1e-16);
  // A real minus a real-valued Complex negates the zero imaginary part.
  EXPECT_TRUE(std::signbit((1.0 - Complex(2, 0)).im));
}

TEST(ComplexArithmetic, CompoundAssignmentMatchesBinaryForms) {
  const Complex w(0.5, -1.5);
  Complex z(1, 2);
  z += w;
  EXPECT_EQ(z, Complex(1.5, 0.5));
  z -= w;
  EXPECT_EQ(z, Complex(1, 2));
  z *= w;
  EXPECT_EQ(z, Complex(1, 2) * w);
  z /= w;
  ExpectComplexNear(z, Complex(1, 2), 1e-15);
  z *= 4.0;
  z /= 2.0;
  z += 1.0;
  z -= 0.5;
  ExpectComplexNear(z, Complex(2.5, 4), 1e-15);
}

TEST(ComplexArithmetic, NormModulusAndArgument) {
  const Complex z(-3, 4);
  EXPECT_EQ(Norm(z), 25.0);
  EXPECT_EQ(Abs(z), 5.0);
  EXPECT_DOUBLE_EQ(Arg(z), std::atan2(4.0, -3.0));
  EXPECT_DOUBLE_EQ(Arg(Complex(-1, 0)), std::numbers::pi);
  EXPECT_DOUBLE_EQ(Arg(Complex(0, -2)), -std::numbers::pi / 2);
}

TEST(ComplexArithmetic, ComparisonsAreExact) {
  EXPECT_TRUE(Complex(1, 0) == Complex(1, -0.0));
  EXPECT_FALSE(Complex(1, 0) != Complex(1, -0.0));
  EXPECT_TRUE(Complex(1, 1e-300) != 1.0);
  EXPECT_TRUE(Complex(1 + 1e-15, 0) != 1.0);
  EXPECT_FALSE(Complex(1, 0) != 1.0);
  EXPECT_FALSE(Complex(1, -0.0) != 1.0);
  EXPECT_TRUE(Complex(2, 0) == 2.0);
  EXPECT_TRUE(2.0 == Complex(2, 0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(Complex(nan, 0) != Complex(nan, 0));
  EXPECT_TRUE(Complex(1, nan) != 1.0);
}

TEST(ComplexSqrtTest, PrincipalBranchInEveryQuadrant) {
  ExpectComplexNear(ComplexSqrt(Complex(3, 4)), Complex(2, 1), 1e-15);
  ExpectComplexNear(ComplexSqrt(Complex(3, -4)), Complex(2, -1), 1e-15);
  ExpectComplexNear(ComplexSqrt(Complex(-3, 4)), Complex(1, 2), 1e-15);
  ExpectComplexNear(ComplexSqrt(Complex(-3, -4)), Complex(1, -2), 1e-15);
  ExpectComplexNear(ComplexSqrt(Complex(9, 0)), Complex(3, 0), 1e-15);
}

TEST(ComplexSqrtTest, NegativeRealGivesPositiveImaginaryRoot) {
  const Complex s = ComplexSqrt(Complex(-4, 0));
  EXPECT_DOUBLE_EQ(s.im, 2.0);
  // The real part is 2 cos(pi/2), a rounding residue rather than zero.
  EXPECT_NEAR(s.re, 0.0, 1e-15);
}

TEST(ComplexSqrtTest, ModulusBelowOneMillionthGivesExactZero) {
  EXPECT_EQ(ComplexSqrt(Complex(1e-7, 0)), Complex(0, 0));
  EXPECT_EQ(ComplexSqrt(Complex(0, -9.9e-7)), Complex(0, 0));
  EXPECT_EQ(ComplexSqrt(Complex(7e-7, 7e-7)), Complex(0, 0));  // modulus 9.9e-7
  // Just above the cut-off the root is computed normally.
  const Complex s = ComplexSqrt(Complex(1.1e-6, 0));
  EXPECT_NEAR(s.re, std::sqrt(1.1e-6), 1e-18);
  EXPECT_EQ(s.im, 0.0);
}

TEST(ComplexCbrtTest, NegativeRealGivesRealRoot) {
  ExpectComplexNear(ComplexCbrt(Complex(-8, 0)), Complex(-2, 0), 1e-15);
  ExpectComplexNear(ComplexCbrt(Complex(27, 0)), Complex(3, 0), 1e-15);
  // An imaginary part with square below 1e-12 is ignored.
  const Complex nearly_real = ComplexCbrt(Complex(-8, 9e-7));
  EXPECT_NEAR(nearly_real.re, -2, 1e-15);
  EXPECT_EQ(nearly_real.im, 0.0);
}

TEST(ComplexCbrtTest, ImaginaryAxisGivesTheRootOnTheOppositeSide) {
  ExpectComplexNear(ComplexCbrt(Complex(0, 8)), Complex(0, -2), 1e-15);
  ExpectComplexNear(ComplexCbrt(Complex(0, -8)), Complex(0, 2), 1e-15);
  // re^2 = 1e-14 is below the cut-off, so (1e-7, 8) counts as imaginary.
  const Complex almost_imaginary = ComplexCbrt(Complex(1e-7, 8));
  EXPECT_EQ(almost_imaginary.re, 0.0);
  EXPECT_NEAR(almost_imaginary.im, -2, 1e-15);
  // Cubing gives back the argument.
  const Complex r = ComplexCbrt(Complex(0, 5));
  ExpectComplexNear(r * r * r, Complex(0, 5), 1e-14);
}

TEST(ComplexCbrtTest, GeneralValuesGiveThePrincipalRoot) {
  for (const Complex z : {Complex(-8, 8), Complex(1, -2), Complex(-0.3, -0.01), Complex(5, 0.5)}) {
    const Complex r = ComplexCbrt(z);
    ExpectComplexNear(r * r * r, z, 1e-14 * Abs(z));
    EXPECT_NEAR(Arg(r), Arg(z) / 3, 1e-15);
  }
}

TEST(ComplexCbrtTest, TinyValuesGiveExactZero) {
  EXPECT_EQ(ComplexCbrt(Complex(9e-7, 0)), Complex(0, 0));
  EXPECT_EQ(ComplexCbrt(Complex(0, -9e-7)), Complex(0, 0));
  EXPECT_NE(ComplexCbrt(Complex(1.1e-6, 0)), Complex(0, 0));
}

TEST(ComplexLogTest, PrincipalLogarithm) {
  ExpectComplexNear(ComplexLog(Complex(-1, 0)), Complex(0, std::numbers::pi), 1e-15);
  ExpectComplexNear(ComplexLog(Complex(0, std::numbers::e)), Complex(1, std::numbers::pi / 2), 1e-15);
  const Complex z(-2, -3);
  const Complex l = ComplexLog(z);
  ExpectComplexNear(Complex(std::exp(l.re) * std::cos(l.im), std::exp(l.re) * std::sin(l.im)), z, 1e-14);
}

TEST(ComplexLogTest, ZeroGivesMinusInfinityWithZeroArgument) {
  for (const Complex zero : {Complex(0, 0), Complex(-0.0, 0), Complex(0, -0.0), Complex(-0.0, -0.0)}) {
    const Complex l = ComplexLog(zero);
    EXPECT_TRUE(std::isinf(l.re) && l.re < 0);
    EXPECT_EQ(l.im, 0.0);
  }
}

}  // namespace
}  // namespace kelvane
