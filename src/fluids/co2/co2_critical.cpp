#include "fluids/co2/co2_critical.h"

#include <cmath>
#include <limits>

#include "core/fluid_model.h"
#include "numeric/linear.h"
#include "numeric/polynomial.h"

namespace kelvane {

namespace {

constexpr double kCutoffLength = 2.3e-10;      // 1/q_D, m
constexpr double kCutoff = 4347826086.956522;  // q_D, 1/m
constexpr double kBoltzmann = 1.3806e-23;      // J/K
constexpr double kAmplitude = 1.01;            // universal amplitude R_D
constexpr double kViscosityExponent = 0.06;    // eta = etaBar exp(0.06 H)
constexpr double kConductivityCutoff = 1e-6;   // smallest q_D xi with an enhancement
constexpr double kSeriesLimit = 1e-3;          // q_D xi below which both functions use series
constexpr double k8Pi = 25.132741228718345;
constexpr double k6Pi = 18.84955592153876;
constexpr double kInvPi = 0.3183098861837907;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Extended = long double;

// Quantities shared by both crossover functions.
struct Crossover {
    double rho;  // mass density, kg/m3
    double T;    // K
    double x;    // q_D xi
    double psi;  // psi_D = arctan(q_D xi)
    double B;    // (arctan(x / sqrt(1 + x^2)) - psi_D) / sqrt(1 + x^2)
    double K;    // rho k_B T / (8 pi etaBar^2 xi), the critical decay-rate amplitude
    double P;    // lambdaBar / (etaBar (cp - cv)), the background decay-rate ratio
    double a;    // cv / (cp - cv)
};

Crossover FormCrossover(double delta, double tau, double etaBar, double lambdaBar, double xi, double cp, double cv) {
    Crossover k{};
    k.rho = delta * kCo2Constants.rhored * kCo2Constants.M * 0.001;
    k.T = kCo2Constants.Tred / tau;
    k.x = kCutoff * xi;
    k.psi = std::atan2(xi, kCutoffLength);
    const double s = std::sqrt(1 + k.x * k.x);
    k.B = (std::atan2(k.x, s) - k.psi) / s;
    k.K = k.rho * kBoltzmann * k.T / (k8Pi * etaBar * etaBar * xi);
    k.P = lambdaBar / (etaBar * (cp - cv));
    k.a = cv / (cp - cv);
    return k;
}

// Largest |c_k|^(1/(n-k)) of a monic polynomial of degree n: the roots lie within
// twice this radius, so dividing the variable by it brings the roots to order one.
double RootScale(const double* c, int n) {
    double s = 0;
    for (int k = 0; k < n; ++k) s = std::fmax(s, std::pow(std::fabs(c[k]), 1.0 / (n - k)));
    return s > 0 && std::isfinite(s) ? s : 1;
}

// Sum over the roots of |p(r)|^2 / (sum |c_k| |r|^k)^2 for the monic polynomial p of
// degree n with real coefficients c0..c(n-1); NaN when a root is not finite.
double RelativeResidual(const double* c, int n, const Complex* r) {
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        Complex value = 1.0;
        double scale = 1;
        const double m = Abs(r[i]);
        for (int k = n - 1; k >= 0; --k) {
            value = value * r[i] + c[k];
            scale = scale * m + std::fabs(c[k]);
        }
        sum += Norm(value) / (scale * scale);
    }
    return sum;
}

// Roots of the monic cubic (n = 3) or quartic (n = 4) with real coefficients c0..c(n-1)
// by the closed-form solvers. Those treat squared moduli below 1e-12 as zero in
// absolute terms: near the critical point, where the roots are of order 1e-2, this
// merges distinct real roots into a spurious complex pair, while for a small
// correlation length the roots spread over many decades. The solver is therefore run
// on the polynomial as it stands and on the one in v = u/s, s the root scale, and the
// root set with the smaller relative residual is kept (a NaN residual counts as worst).
void Roots(const double* c, int n, Complex* roots) {
    Complex direct[5], scaled[5];
    const double s = RootScale(c, n);
    double power = 1;
    for (int k = n; k >= 0; --k) {
        direct[k] = k == n ? 1.0 : c[k];
        scaled[k] = k == n ? 1.0 : c[k] / power;
        power *= s;
    }
    Complex other[4];
    if (n == 3) {
        CubicRoots(direct, roots);
        CubicRoots(scaled, other);
    } else {
        QuarticRoots(direct, roots);
        QuarticRoots(scaled, other);
    }
    for (int i = 0; i < n; ++i) other[i] = other[i] * s;
    const double rDirect = RelativeResidual(c, n, roots), rScaled = RelativeResidual(c, n, other);
    if (rScaled < rDirect || (std::isnan(rDirect) && !std::isnan(rScaled))) {
        for (int i = 0; i < n; ++i) roots[i] = other[i];
    }
}

}  // namespace

double CosIntegral(double y, double psi) {
    const double t = std::tan(psi / 2);
    if (y > 1) {
        const double e = std::sqrt(y * y - 1);
        return 2 / e * std::atan(std::sqrt((y - 1) / (y + 1)) * t);
    }
    if (y == 1) return t;
    if (!(y > -1)) return kNaN;  // also a NaN y
    const double d = std::sqrt(1 - y * y);
    const double below = 1 + y - d * t;
    if (below <= 0) return kNaN;  // cos x = -y lies inside [0, psi]
    // ln((1 + y + d t)/(1 + y - d t)) written with log1p to stay accurate for small d t.
    return std::log1p(2 * d * t / below) / d;
}

Complex CosIntegralComplex(Complex y, double psi) {
    const Complex d = ComplexSqrt(1.0 - y * y);
    const double t = std::tan(psi / 2);
    return ComplexLog((1.0 + y + d * t) / (1.0 + y - d * t)) / d;
}

double CriticalViscosity(double delta, double tau, double etaBar, double lambdaBar, double xi, double cp, double cv) {
    if (kCutoff * xi == 0) return etaBar;
    const Crossover k = FormCrossover(delta, tau, etaBar, lambdaBar, xi, cp, cv);
    const double a = k.a;
    const double b = (k.P / k.K + k.B) / k.psi;
    const double c = a * k.B / k.psi;

    if (k.x < kSeriesLimit) {
        // Small correlation length: sin^4 x ~ x^4 and the rest of the integrand ~ its
        // value at u = 1, so H = psi^5 / (5 (1 + a) C(1)) to a relative O(psi^2). The
        // closed form below would cancel terms of order b^3 psi to this tiny value, and
        // its roots spread over too many decades for the closed-form root solver.
        const double h = std::pow(k.psi, 5) / (5 * (1 + a) * (1 + b + a + c));
        if (!std::isfinite(h)) return -1;
        return etaBar * std::exp(kViscosityExponent * h);
    }

    // Roots of the decay-rate cubic C(u) = u^3 + b u^2 + a u + c; the partial fractions
    // are taken over u + y_i with y_i the negated real parts.
    const double cubic[3] = {c, a, b};
    Complex roots[3];
    Roots(cubic, 3, roots);
    double y[3];
    for (int i = 0; i < 3; ++i) y[i] = (-roots[i]).Real();
    if (y[0] == y[1] || y[1] == y[2] || y[2] == y[0]) return -1;

    // sum A_i / (u + y_i) = (g1 u^2 + g2 u + g3) / C(u), the remainder of
    // (1 - u^2)^2 u^4 / (u^2 + a) modulo C(u); ab - c = C(-i sqrt(a)) up to its sign.
    const double abc = a * b - c;
    const double a1sq = (1 + a) * (1 + a);
    const double row0[3] = {1, 1, 1};
    const double row1[3] = {y[1] + y[2], y[2] + y[0], y[0] + y[1]};
    const double row2[3] = {y[1] * y[2], y[2] * y[0], y[0] * y[1]};
    const double* matrix[3] = {row0, row1, row2};
    const double g[3] = {
        3 * a * a + 4 * a + 1 + b * (b * (b * b - 2 - 4 * a) + 2 * c),
        (b * b - 3 * a - 2) * abc + a * a * a1sq / abc,
        (b * b - 3 * a - 2) * b * c + c * c + a * c * a1sq / abc,
    };
    double A[3];
    SolveLinear(matrix, g, 3, A);

    // The complete integrand splits into
    //   u^3 - b u^2 + (b^2 - 2a - 2) u + (3ab - b^3 + 2b - c)      (polynomial part)
    //   + sum A_i / (u + y_i)                                       (partial fractions)
    //   - a^2 (1 + a)^2 / ((ab - c)(u^2 + a))                       (arctan term),
    // integrated with cos^3 -> (3/4) sin psi + sin(3 psi)/12, cos^2 -> psi/2 + sin(2 psi)/4
    // and 1/(cos^2 x + a) -> arctan(sqrt(a/(1+a)) tan psi) / sqrt(a (1 + a)).
    const Extended psi = k.psi;
    const Extended p1 = static_cast<Extended>(b) * b - 2 * a - 2;
    const Extended p0 = 3 * static_cast<Extended>(a) * b - static_cast<Extended>(b) * b * b + 2 * b - c;
    Extended H =
        std::sin(3 * psi) / 12 - b * std::sin(2 * psi) / 4 + (0.75L + p1) * std::sin(psi) + (p0 - b / 2.0L) * psi;
    for (int i = 0; i < 3; ++i) H += static_cast<Extended>(A[i]) * CosIntegral(y[i], k.psi);
    const Extended beta = static_cast<Extended>(a) * a * a1sq / abc;
    const Extended root = std::sqrt(static_cast<Extended>(a) * (1 + a));
    H -= beta * std::atan(std::sqrt(a / (1 + a)) * std::tan(psi)) / root;

    const double h = static_cast<double>(H);
    if (!std::isfinite(h)) return -1;
    return etaBar * std::exp(kViscosityExponent * h);
}

double ConductivityEnhancement(double delta, double tau, double etaBar, double eta, double lambdaBar, double xi,
                               double cp, double cv) {
    if (kCutoff * xi < kConductivityCutoff) return 0;
    const Crossover k = FormCrossover(delta, tau, etaBar, lambdaBar, xi, cp, cv);
    const double a = k.a, K = k.K, P = k.P, B = k.B, psi = k.psi;
    const double prefactor = kAmplitude * kBoltzmann * k.T / (k6Pi * eta * xi);
    const double xd = k.x / delta;
    const double exponent = 1 / (1 / k.x + xd * xd / 3);

    if (k.x < kSeriesLimit) {
        // Small correlation length: Omega and Omega0 are both psi_D F(1) to leading order,
        // F(u) = (u^2 + a)^2 / ((1 + a) Q(u)) the integrand and F(1) = 1 / (Omega0's
        // denominator). Their difference, O(x^2), is
        //   F(1) [psi_D - (1 - exp(-E))] - (psi_D^3 / 6) F'(1)
        // to a relative O(x^2) (cos x = 1 - x^2/2 inside the integral). The closed form
        // would cancel to rounding noise here, and at low densities its quartic roots
        // spread too far for the closed-form root solver.
        const Extended s = 1 + K * (psi + B);
        const Extended Q1 = (1 + a) * s + P;                                                  // Q(1)
        const Extended dQ1 = 2 * s + (1 + a) * (2 + static_cast<Extended>(K) * psi) + 2 * P;  // Q'(1)
        const Extended F1 = (1 + a) / Q1;
        const Extended dF1 = (4 * Q1 - (1 + a) * dQ1) / (Q1 * Q1);
        const Extended p = psi;
        const Extended difference = F1 * (p + std::expm1(-static_cast<Extended>(exponent))) - p * p * p / 6 * dF1;
        const double enhancement = static_cast<double>(difference) * prefactor * 2 * kInvPi * k.rho * cp;
        return std::isfinite(enhancement) ? enhancement : kNaN;
    }

    // Q(u) = u^4 + K psi u^3 + (a + P + K B) u^2 + a K psi u + a K B
    //      = (u^2 + a)(u^2 + K (psi u + B)) + P u^2.
    const double quartic[4] = {a * K * B, a * K * psi, a + P + K * B, K * psi};
    Complex r[4];
    Roots(quartic, 4, r);
    if (r[0] == r[1] && r[1] == r[2] && r[2] == r[3]) return -1;
    // Two equal roots short of all four need a double pole that the simple-pole
    // expansion below lacks (its 4 x 4 system is singular): no finite result.
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            if (r[i] == r[j]) return kNaN;
        }
    }

    Complex y[4];
    for (int i = 0; i < 4; ++i) y[i] = -r[i];

    // Column i holds the elementary symmetric functions of the three other y.
    Complex rows[4][4];
    for (int i = 0; i < 4; ++i) {
        Complex o[3];
        int n = 0;
        for (int j = 0; j < 4; ++j) {
            if (j != i) o[n++] = y[j];
        }
        rows[0][i] = 1.0;
        rows[1][i] = o[0] + o[1] + o[2];
        rows[2][i] = o[0] * o[1] + o[1] * o[2] + o[2] * o[0];
        rows[3][i] = o[0] * o[1] * o[2];
    }
    const Complex* matrix[4] = {rows[0], rows[1], rows[2], rows[3]};
    // sum A_i / (u + y_i) = (Q(u) - (u^2 + a)^2) / Q(u).
    const Complex g[4] = {K * psi, P - a + K * B, a * K * psi, a * K * B - a * a};
    Complex A[4];
    SolveLinearComplex(matrix, g, 4, A);

    const double omega0 = (1 - std::exp(-exponent)) / ((psi + B) * K + 1 + P / (1 + a));

    Complex W = psi;
    for (int i = 0; i < 4; ++i) W -= A[i] * CosIntegralComplex(y[i], psi);
    W /= 1 + a;

    const double enhancement = (W.Real() - omega0) * prefactor * 2 * kInvPi * k.rho * cp;
    return std::isfinite(enhancement) ? enhancement : kNaN;
}

}  // namespace kelvane
