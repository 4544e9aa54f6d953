#include "numeric/complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace kelvane {
namespace {

void ExpectNear(Complex actual, Complex expected, double tolerance = 1e-15) {
    EXPECT_NEAR(actual.re, expected.re, tolerance);
    EXPECT_NEAR(actual.im, expected.im, tolerance);
}

TEST(ComplexArithmetic, OperatorsFollowTheTextbookFormulas) {
    const Complex z(1, 2), w(3, -4);
    EXPECT_EQ(Complex(), Complex(0, 0));
    EXPECT_EQ(z + w, Complex(4, -2));
    EXPECT_EQ(z - w, Complex(-2, 6));
    EXPECT_EQ(z * w, Complex(11, 2));
    ExpectNear(z / w, Complex(-0.2, 0.4));  // (1 + 2i)(3 + 4i)/25
    EXPECT_EQ(-z, Complex(-1, -2));
    EXPECT_EQ(2.0 + w, Complex(5, -4));
    EXPECT_EQ(w - 2.0, Complex(1, -4));
    EXPECT_EQ(2.0 - w, Complex(-1, 4));
    EXPECT_EQ(2.0 * w, w * 2.0);
    EXPECT_EQ(w / 2.0, Complex(1.5, -2));
    ExpectNear(2.0 / w, Complex(0.24, 0.32));  // 2 (3 + 4i)/25
    EXPECT_TRUE(std::signbit((1.0 - Complex(2, 0)).im));

    Complex v = z;
    v += w;
    v -= 0.5;
    v *= w;
    v /= z;
    v *= 2.0;
    v /= 4.0;
    v += 1.0;
    v -= w;
    ExpectNear(v, (((z + w - 0.5) * w / z) * 2.0 / 4.0 + 1.0) - w, 1e-14);
    v = 2.5;
    EXPECT_EQ(v, Complex(2.5, 0));
    EXPECT_EQ(Norm(Complex(-3, 4)), 25.0);
    EXPECT_EQ(Abs(Complex(-3, 4)), 5.0);
    EXPECT_DOUBLE_EQ(Arg(Complex(-1, 0)), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Arg(Complex(0, -2)), -std::numbers::pi / 2);
}

TEST(ComplexArithmetic, ComparisonsAreExact) {
    EXPECT_TRUE(Complex(1, 0) == Complex(1, -0.0));
    EXPECT_TRUE(Complex(1, 1e-300) != 1.0);
    EXPECT_TRUE(Complex(1 + 1e-15, 0) != 1.0);
    EXPECT_FALSE(Complex(1, -0.0) != 1.0);
    EXPECT_TRUE(2.0 == Complex(2, 0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(Complex(nan, 0) != Complex(nan, 0));
    EXPECT_TRUE(Complex(1, nan) != 1.0);
}

TEST(ComplexSqrtTest, PrincipalRootWithCutOffAtModulusOneMillionth) {
    ExpectNear(ComplexSqrt(Complex(3, 4)), Complex(2, 1));
    ExpectNear(ComplexSqrt(Complex(-3, 4)), Complex(1, 2));
    ExpectNear(ComplexSqrt(Complex(-3, -4)), Complex(1, -2));
    const Complex s = ComplexSqrt(Complex(-4, 0));
    EXPECT_DOUBLE_EQ(s.im, 2.0);
    EXPECT_NEAR(s.re, 0.0, 1e-15);  // 2 cos(pi/2), rounding residue
    EXPECT_EQ(ComplexSqrt(Complex(1e-7, 0)), Complex(0, 0));
    EXPECT_EQ(ComplexSqrt(Complex(7e-7, -7e-7)), Complex(0, 0));  // modulus 9.9e-7
    ExpectNear(ComplexSqrt(Complex(1.1e-6, 0)), Complex(std::sqrt(1.1e-6), 0), 1e-18);
}

TEST(ComplexCbrtTest, RealAndImaginaryAxesUseTheirOwnBranches) {
    ExpectNear(ComplexCbrt(Complex(-8, 0)), Complex(-2, 0));     // not (1, sqrt 3)
    ExpectNear(ComplexCbrt(Complex(-8, 9e-7)), Complex(-2, 0));  // im^2 < 1e-12
    ExpectNear(ComplexCbrt(Complex(0, 8)), Complex(0, -2));
    ExpectNear(ComplexCbrt(Complex(0, -8)), Complex(0, 2));
    const Complex almost_imaginary = ComplexCbrt(Complex(1e-7, 8));  // re^2 = 1e-14
    EXPECT_EQ(almost_imaginary.re, 0.0);
    EXPECT_NEAR(almost_imaginary.im, -2, 1e-15);
    EXPECT_EQ(ComplexCbrt(Complex(9e-7, 0)), Complex(0, 0));
    EXPECT_EQ(ComplexCbrt(Complex(0, -9e-7)), Complex(0, 0));
    EXPECT_NE(ComplexCbrt(Complex(1.1e-6, 0)), Complex(0, 0));
}

TEST(ComplexCbrtTest, GeneralValuesGiveThePrincipalRoot) {
    for (const Complex z : {Complex(-8, 8), Complex(1, -2), Complex(-0.3, -0.01), Complex(5, 0.5)}) {
        const Complex r = ComplexCbrt(z);
        ExpectNear(r * r * r, z, 1e-14 * Abs(z));
        EXPECT_NEAR(Arg(r), Arg(z) / 3, 1e-15);
    }
}

TEST(ComplexLogTest, PrincipalLogarithmAndZero) {
    ExpectNear(ComplexLog(Complex(-1, 0)), Complex(0, std::numbers::pi));
    ExpectNear(ComplexLog(Complex(0, std::numbers::e)), Complex(1, std::numbers::pi / 2));
    const Complex l = ComplexLog(Complex(-2, -3));
    ExpectNear(std::exp(l.re) * Complex(std::cos(l.im), std::sin(l.im)), Complex(-2, -3), 1e-14);
    for (const Complex zero : {Complex(0, 0), Complex(-0.0, 0), Complex(-0.0, -0.0)}) {
        const Complex at_zero = ComplexLog(zero);
        EXPECT_TRUE(std::isinf(at_zero.re) && at_zero.re < 0);
        EXPECT_EQ(at_zero.im, 0.0);
    }
}

}  // namespace
}  // namespace kelvane
