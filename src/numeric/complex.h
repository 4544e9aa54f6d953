// Double-precision complex value type used by the polynomial root finders,
// the complex linear solver and the carbon dioxide critical enhancements.
//
// All arithmetic is the plain textbook formula in double precision with no
// scaling against overflow or underflow, so results follow IEEE rules
// (division by zero gives infinities or NaN rather than trapping).
#pragma once

namespace kelvane {

struct Complex {
    double re = 0;
    double im = 0;

    constexpr Complex() = default;
    // Implicit from a real so that a real may be assigned or passed where a
    // Complex is expected; the imaginary part is then zero.
    constexpr Complex(double real, double imag = 0) : re(real), im(imag) {}

    constexpr double Real() const { return re; }
    constexpr double Imag() const { return im; }

    constexpr Complex& operator+=(Complex w) {
        re += w.re;
        im += w.im;
        return *this;
    }
    constexpr Complex& operator-=(Complex w) {
        re -= w.re;
        im -= w.im;
        return *this;
    }
    constexpr Complex& operator*=(Complex w) {
        const double a = re, b = im;
        re = a * w.re - b * w.im;
        im = a * w.im + b * w.re;
        return *this;
    }
    // (a + ib)/(c + id) = ((ac + bd) r, (bc - ad) r) with r = 1/(c^2 + d^2).
    constexpr Complex& operator/=(Complex w) {
        const double a = re, b = im;
        const double r = 1.0 / (w.re * w.re + w.im * w.im);
        re = (a * w.re + b * w.im) * r;
        im = (b * w.re - a * w.im) * r;
        return *this;
    }
    constexpr Complex& operator+=(double x) {
        re += x;
        return *this;
    }
    constexpr Complex& operator-=(double x) {
        re -= x;
        return *this;
    }
    constexpr Complex& operator*=(double x) {
        re *= x;
        im *= x;
        return *this;
    }
    constexpr Complex& operator/=(double x) {
        re /= x;
        im /= x;
        return *this;
    }

    friend constexpr Complex operator-(Complex z) { return {-z.re, -z.im}; }
    friend constexpr Complex operator+(Complex z) { return z; }

    friend constexpr Complex operator+(Complex z, Complex w) { return z += w; }
    friend constexpr Complex operator-(Complex z, Complex w) { return z -= w; }
    friend constexpr Complex operator*(Complex z, Complex w) { return z *= w; }
    friend constexpr Complex operator/(Complex z, Complex w) { return z /= w; }

    friend constexpr Complex operator+(Complex z, double x) { return z += x; }
    friend constexpr Complex operator-(Complex z, double x) { return z -= x; }
    friend constexpr Complex operator*(Complex z, double x) { return z *= x; }
    friend constexpr Complex operator/(Complex z, double x) { return z /= x; }

    friend constexpr Complex operator+(double x, Complex w) { return {x + w.re, w.im}; }
    friend constexpr Complex operator-(double x, Complex w) { return {x - w.re, -w.im}; }
    friend constexpr Complex operator*(double x, Complex w) { return {x * w.re, x * w.im}; }
    // x/(c + id) = (x c r, -x d r) with r = 1/(c^2 + d^2).
    friend constexpr Complex operator/(double x, Complex w) {
        const double r = 1.0 / (w.re * w.re + w.im * w.im);
        return {x * w.re * r, -x * w.im * r};
    }

    // Exact comparison of both parts: (1, 0) == (1, -0.0), and a NaN part
    // makes the values unequal. Against a real x, z != x holds when
    // re != x or im != 0.
    friend constexpr bool operator==(Complex z, Complex w) { return z.re == w.re && z.im == w.im; }
    friend constexpr bool operator==(Complex z, double x) { return z.re == x && z.im == 0; }
};

// Squared modulus re^2 + im^2.
constexpr double Norm(Complex z) { return z.re * z.re + z.im * z.im; }
// Modulus sqrt(re^2 + im^2).
double Abs(Complex z);
// Argument atan2(im, re), in (-pi, pi].
double Arg(Complex z);

// Principal square root. Any z with Norm(z) < 1e-12 (modulus below 1e-6)
// gives exactly (0, 0); otherwise pow(Norm(z), 1/4) at half the argument.
Complex ComplexSqrt(Complex z);

// Cube root with the cut-offs used by the Cardano formulas:
// Norm(z) < 1e-12 gives (0, 0); im^2 < 1e-12 gives the real cube root of re
// (so (-8, 0) -> (-2, 0)); otherwise re^2 < 1e-12 gives the purely imaginary
// root (0, -cbrt(im)) (so (0, 8) -> (0, -2)); otherwise the principal root.
Complex ComplexCbrt(Complex z);

// Principal logarithm (ln|z|, Arg(z)). At z = 0, with either sign on either
// zero part, the result is (-infinity, 0).
Complex ComplexLog(Complex z);

}  // namespace kelvane
