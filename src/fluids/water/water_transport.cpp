#include "fluids/water/water_transport.h"

#include <cmath>

#include "core/fluid_model.h"

namespace kelvane {

namespace {

// Reference values of the IAPS 1985 viscosity and thermal-conductivity formulations.
constexpr double kTstar = 647.226;        // K
constexpr double kRhoStar = 317.763;      // kg/m3
constexpr double kEtaStar = 55.071e-6;    // Pa s
constexpr double kLambdaStar = 0.4945;    // W/(m K)

// Mass density over rho* (delta is the molar density in mol/m3, M in g/mol).
double ReducedDensity(double delta) { return delta * kWaterConstants.M * 1e-3 / kRhoStar; }

// IAPS 1985 viscosity, Table 2: H_ij printed with one row per density exponent
// j = 0..6 and one column per temperature exponent i = 0..5. 19 entries are non-zero.
constexpr double kViscosityH[7][6] = {
    //  i = 0        1           2           3           4           5
    {0.5132047,  0.3205656,  0.0,        0.0,        -0.7782567, 0.1885447},  // j = 0
    {0.2151778,  0.7317883,  1.241044,   1.476783,   0.0,        0.0},        // j = 1
    {-0.2818107, -1.070786,  -1.263184,  0.0,        0.0,        0.0},        // j = 2
    {0.1778064,  0.4605040,  0.2340379,  -0.4924179, 0.0,        0.0},        // j = 3
    {-0.0417661, 0.0,        0.0,        0.1600435,  0.0,        0.0},        // j = 4
    {0.0,        -0.01578386, 0.0,       0.0,        0.0,        0.0},        // j = 5
    {0.0,        0.0,        0.0,        -0.003629481, 0.0,      0.0},        // j = 6
};

// IAPS 1985 thermal conductivity, background term: L_ij printed with one row per
// density exponent j = 0..5 and one column per temperature exponent i = 0..4.
constexpr double kConductivityL[6][5] = {
    //  i = 0         1            2            3            4
    {1.3293046,   1.7018363,   5.2246158,   8.7127675,   -1.8525999},  // j = 0
    {-0.40452437, -2.2156845,  -10.124111,  -9.5000611,  0.9340469},   // j = 1
    {0.2440949,   1.6511057,   4.9874687,   4.3786606,   0.0},         // j = 2
    {0.018660751, -0.76736002, -0.27297694, -0.91783782, 0.0},         // j = 3
    {-0.12961068, 0.37283344,  -0.43083393, 0.0,         0.0},         // j = 4
    {0.044809953, -0.1120316,  0.13333849,  0.0,         0.0},         // j = 5
};

// Sum over a coefficient table C[j][i] of C_ij x^i y^j.
template <int J, int I>
double DoublePowerSum(const double (&c)[J][I], double x, double y) {
    double sum = 0;
    double yj = 1;
    for (int j = 0; j < J; ++j) {
        double row = 0;
        double xi = 1;
        for (int i = 0; i < I; ++i) {
            row += c[j][i] * xi;
            xi *= x;
        }
        sum += row * yj;
        yj *= y;
    }
    return sum;
}

// IAPWS 1997 static dielectric constant, Table 2: N_k, i_k, j_k for k = 1..11.
struct DielectricTerm {
    double N;
    int i;
    double j;
};
constexpr DielectricTerm kDielectric[11] = {
    {0.978224486826, 1, 0.25},
    {-0.957771379375, 1, 1.0},
    {0.237511794148, 1, 2.5},
    {0.714692244396, 2, 1.5},
    {-0.298217036956, 3, 1.5},
    {-0.108863472196, 3, 2.5},
    {0.949327488264e-1, 4, 2.0},
    {-0.980469816509e-2, 5, 2.0},
    {0.165167634970e-4, 6, 5.0},
    {0.937359795772e-4, 7, 0.5},
    {-0.123179218720e-9, 10, 10.0},
};
constexpr double kN12 = 0.196096504426e-2;

// Molecular constants of the dielectric-constant equation.
constexpr double kDipoleMoment = 6.138e-30;          // C m
constexpr double kPolarizability = 1.636e-40;        // C2 m2 / J
constexpr double kVacuumPermittivity = 8.854187817e-12;  // F/m
constexpr double kThreeVacuumPermittivity = 2.6562563451e-11;
constexpr double kBoltzmann = 1.3806e-23;            // J/K
constexpr double kAvogadro = 6.0221367e23;           // 1/mol

// IAPWS 1997 refractive index, Table 1: a_0..a_7.
constexpr double kA[8] = {
    0.244257733,   0.974634476e-2, -0.373234996e-2, 0.268678472e-3,
    0.158920570e-2, 0.245934259e-2, 0.900704920,    -0.166626219e-1,
};
// Squared reduced ultraviolet and infrared resonance wavelengths as this program uses them.
constexpr double kUltravioletResonance2 = 0.052533574;
constexpr double kInfraredResonance2 = 29.51680642;

}  // namespace

namespace {

// x^k for k >= 0 by repeated multiplication.
double IntegerPower(double x, int k) {
    double p = 1;
    for (int m = 0; m < k; ++m) p *= x;
    return p;
}

// Every temperature exponent of the dielectric sum is a multiple of 1/4.
constexpr bool QuarterExponents() {
    for (const DielectricTerm& term : kDielectric)
        if (term.j * 4 != static_cast<int>(term.j * 4) || term.j < 0 || term.i < 0) return false;
    return true;
}
static_assert(QuarterExponents());

}  // namespace

double WaterViscosity(double delta, double tau) {
    const double u = kTstar * tau;  // T*/T
    const double rhobar = ReducedDensity(delta);
    // Dilute-gas term: eta0/eta* = sqrt(Tbar) / sum H_i Tbar^-i, written as 1/D0.
    const double D0 = std::sqrt(u) * (1 + u * (0.978197 + u * (0.579829 - 0.202354 * u)));
    const double S = DoublePowerSum(kViscosityH, u - 1, rhobar - 1);
    return kEtaStar * std::exp(rhobar * S) / D0;
}

double WaterConductivity(double delta, double tau, double dpdT, double drhodp) {
    const double u = kTstar * tau;
    const double rhobar = ReducedDensity(delta);
    const double D0 = std::sqrt(u) * (1 + u * (6.978267 + u * (2.599096 - 0.998254 * u)));
    const double etabar = WaterViscosity(delta, tau) / kEtaStar;
    const double Tbar = 1 / u;
    const double q = dpdT * Tbar / rhobar;
    // Critical enhancement with the reduced isothermal compressibility rhobar drhobar/dpbar.
    const double L2 = q * q * std::sqrt(rhobar) * (0.0013848 / etabar) *
                      std::exp(-18.66 * (Tbar - 1) * (Tbar - 1) - std::pow(rhobar - 1, 4)) *
                      std::pow(rhobar * drhodp, 0.4678);
    const double L1 = std::exp(rhobar * DoublePowerSum(kConductivityL, u - 1, rhobar - 1));
    return kLambdaStar * (L1 / D0 + L2);
}

double WaterDielectricConstant(double delta, double tau) {
    const double d = delta / kWaterConstants.rhoc;
    const double t = kWaterConstants.Tc * tau;
    // Harris-Alder g factor; the last term carries (T/228 K - 1)^-1.2.
    double g = 1 + kN12 * d * std::pow(1 / (228 * tau) - 1, -1.2);
    // The temperature exponents are multiples of 1/4: t^j from integer powers of t and
    // of t^(1/4) = sqrt(sqrt(t)); the density exponents are integers.
    const double quarter[4] = {1, std::sqrt(std::sqrt(t)), std::sqrt(t), std::sqrt(t) * std::sqrt(std::sqrt(t))};
    for (const DielectricTerm& term : kDielectric) {
        const int j4 = static_cast<int>(term.j * 4);
        const double tj = IntegerPower(t, j4 / 4) * quarter[j4 % 4];
        g += term.N * IntegerPower(d, term.i) * tj;
    }
    const double numberDensity = delta * kAvogadro;
    const double A = numberDensity * kDipoleMoment * kDipoleMoment * g * tau / (kBoltzmann * kVacuumPermittivity);
    const double B = numberDensity * kPolarizability / kThreeVacuumPermittivity;
    return (1 + A + 5 * B + std::sqrt(9 + (A + 9 * B) * (A + B + 2))) / (4 * (1 - B));
}

double WaterIonProduct(double delta, double tau) {
    const double rw = delta * kWaterConstants.M * 1e-6;  // g/cm3
    const double log10Kw = -4.098 + tau * (-3245.2 + tau * (2.2362e5 - 3.984e7 * tau)) +
                           (13.957 + tau * (-1262.3 + 8.5641e5 * tau)) * std::log10(rw);
    return -log10Kw;
}

double WaterRefractiveIndex(double delta, double tau, double wavelength) {
    const double rbar = delta * kWaterConstants.M / 1e6;  // over 1000 kg/m3
    const double Tbar = 1 / (273.15 * tau);
    const double l2 = wavelength * wavelength / (589.0 * 589.0);
    // Lorentz-Lorenz function (n^2 - 1)/(n^2 + 2).
    const double r = rbar * (kA[0] + kA[1] * rbar + kA[7] * rbar * rbar + (kA[2] + kA[3] * l2) * Tbar + kA[4] / l2 +
                             kA[5] / (l2 - kUltravioletResonance2) + kA[6] / (l2 - kInfraredResonance2));
    return std::sqrt((2 * r + 1) / (1 - r));
}

}  // namespace kelvane
