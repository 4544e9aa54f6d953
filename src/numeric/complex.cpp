#include "numeric/complex.h"

#include <cmath>
#include <limits>

namespace kelvane {

namespace {
// Cut-off on squared moduli below which a value, or one of its parts, is
// treated as zero by the root functions.
constexpr double kZeroNorm = 1e-12;
constexpr double kOneThird = 1.0 / 3.0;
constexpr double kOneSixth = 1.0 / 6.0;
}  // namespace

double Abs(Complex z) { return std::sqrt(Norm(z)); }

double Arg(Complex z) { return std::atan2(z.im, z.re); }

Complex ComplexSqrt(Complex z) {
    const double norm = Norm(z);
    if (norm < kZeroNorm) return {0, 0};
    const double m = std::pow(norm, 0.25);
    const double theta = std::atan2(z.im, z.re) * 0.5;
    return {m * std::cos(theta), m * std::sin(theta)};
}

Complex ComplexCbrt(Complex z) {
    const double norm = Norm(z);
    if (norm < kZeroNorm) return {0, 0};
    if (z.im * z.im < kZeroNorm) {
        // Practically real: the real cube root, negative for negative re.
        if (z.re >= 0) return {std::pow(z.re, kOneThird), 0};
        return {-std::pow(-z.re, kOneThird), 0};
    }
    if (z.re * z.re < kZeroNorm) {
        // Practically imaginary: (-i m)^3 = i m^3, so the root of i b is -i cbrt(b).
        if (z.im >= 0) return {0, -std::pow(z.im, kOneThird)};
        return {0, std::pow(-z.im, kOneThird)};
    }
    const double m = std::pow(norm, kOneSixth);
    const double theta = std::atan2(z.im, z.re) / 3.0;
    return {m * std::cos(theta), m * std::sin(theta)};
}

Complex ComplexLog(Complex z) {
    if (z.re == 0 && z.im == 0) return {-std::numeric_limits<double>::infinity(), 0};
    return {std::log(Abs(z)), Arg(z)};
}

}  // namespace kelvane
