#include "numeric/polynomial.h"

namespace kelvane {

namespace {
// A Cardano cube root with a squared modulus at or below this is taken as zero.
constexpr double kZeroNorm = 1e-12;
// Relative size, in squared moduli, of r +- sqrt(D) against sqrt(D) below
// which the sum is treated as lost to cancellation.
constexpr double kCancellation = 1e-6;
constexpr double kHalfSqrt3 = 0.8660254037844386;  // sqrt(3)/2
}  // namespace

void CubicRoots(const Complex coefficients[4], Complex roots[3]) {
    const Complex lead = coefficients[3];
    const Complex a = coefficients[2] / lead;
    const Complex b = coefficients[1] / lead;
    const Complex c = coefficients[0] / lead;

    // Depressed cubic t^3 + 3Q t + r = 0 in t = z + a/3.
    const Complex q = (3.0 * b - a * a) / 9.0;
    const Complex r = (2.0 * a * a * a - 9.0 * a * b + 27.0 * c) / 27.0;
    const Complex d = r * r + 4.0 * q * q * q;
    const Complex sd = ComplexSqrt(d);

    // Cardano: t = S + T with S^3, T^3 = (-r +- sqrt(D))/2 and S T = -Q.
    Complex s = ComplexCbrt((sd - r) / 2.0);
    Complex t;
    if (Norm(s) > kZeroNorm) {
        t = -q / s;
    } else {
        t = ComplexCbrt((-r - sd) / 2.0);
        if (Norm(t) > kZeroNorm) {
            s = -q / t;
        } else {
            t = 0.0;
        }
    }

    // Take the cube root of whichever of (-r +- sqrt(D))/2 does not cancel
    // and derive the other from S T = -Q.
    const double sd_norm = Norm(sd);
    if (Norm(r + sd) < kCancellation * sd_norm) {
        s = ComplexCbrt((sd - r) / 2.0);
        t = -q / s;
    }
    if (Norm(sd - r) < kCancellation * sd_norm) {
        t = ComplexCbrt((-r - sd) / 2.0);
        s = -q / t;
    }

    const Complex w_plus(-0.5, kHalfSqrt3);
    const Complex w_minus(-0.5, -kHalfSqrt3);
    const Complex shift = a / 3.0;
    roots[0] = s + t - shift;
    roots[1] = s * w_plus + t * w_minus - shift;
    roots[2] = s * w_minus + t * w_plus - shift;
}

Complex EvalQuartic(const Complex coefficients[5], Complex z) {
    return coefficients[0] +
           z * (coefficients[1] + z * (coefficients[2] + z * (coefficients[3] + z * coefficients[4])));
}

void QuarticRoots(const Complex coefficients[5], Complex roots[4]) {
    const Complex lead = coefficients[4];
    const Complex a = coefficients[3] / lead;
    const Complex b = coefficients[2] / lead;
    const Complex c = coefficients[1] / lead;
    const Complex d = coefficients[0] / lead;

    // Depressed quartic y^4 + p y^2 + q y + r = 0 in y = z + a/4.
    const Complex quarter_a = a / 4.0;
    const Complex p = b - 3.0 * a * a / 8.0;
    const Complex q = (a / 2.0) * (a * a / 4.0 - b) + c;
    const Complex r = quarter_a * (quarter_a * (b - 3.0 * a * a / 16.0) - c) + d;

    // Ferrari: with z = s^2 a root of the resolvent cubic
    // z^3 + (p/2) z^2 + ((p^2 - 4r)/16) z - q^2/64 = 0 the quartic factors into
    // (y^2 - 2 s y + s^2 - t1^2)(y^2 + 2 s y + s^2 - t2^2).
    const Complex resolvent[4] = {-(q * q) / 64.0, (p * p - 4.0 * r) / 16.0, p / 2.0, 1.0};
    Complex z[3];
    CubicRoots(resolvent, z);

    double first_residual = 0;
    for (int k = 0; k < 3; ++k) {
        const Complex s = ComplexSqrt(z[k]);
        Complex candidates[4];
        if (s == Complex(0, 0)) {
            for (Complex& candidate : candidates) candidate = -quarter_a;
        } else {
            const Complex base = -(s * s) - p / 2.0;
            const Complex skew = q / (4.0 * s);
            const Complex t1 = ComplexSqrt(base - skew);
            const Complex t2 = ComplexSqrt(base + skew);
            candidates[0] = s + t1 - quarter_a;
            candidates[1] = s - t1 - quarter_a;
            candidates[2] = -s + t2 - quarter_a;
            candidates[3] = -s - t2 - quarter_a;
        }

        double residual = 0;
        for (const Complex& candidate : candidates) residual += Norm(EvalQuartic(coefficients, candidate));
        if (k == 0) first_residual = residual;

        // Each set no worse than the first replaces the output; a NaN first
        // residual fails every comparison, so nothing is written then.
        if (first_residual >= residual) {
            for (int i = 0; i < 4; ++i) roots[i] = candidates[i];
        }
    }
}

}  // namespace kelvane
