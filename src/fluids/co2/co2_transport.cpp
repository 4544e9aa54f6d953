#include "fluids/co2/co2_transport.h"

#include <cmath>

#include "core/fluid_model.h"

namespace kelvane {

namespace {

// Energy scaling parameter eps/k of both correlations, K.
constexpr double kEpsOverK = 251.196;

// Fenghour, Wakeham and Vesovic (1998): ln of the reduced effective
// cross-section, sum a_i (ln T*)^i, i = 0..4.
constexpr double kCrossSection[5] = {
    0.235156,      // a0
    -0.491266,     // a1
    5.211155e-2,   // a2
    5.347906e-2,   // a3
    -1.537102e-2,  // a4
};

// Fenghour, Wakeham and Vesovic (1998): excess viscosity
// d_ij rho^i / T*^(j-1) in micro-pascal seconds, rho in kg/m3.
constexpr double kD11 = 0.4071119e-2;
constexpr double kD21 = 0.7198037e-4;
constexpr double kD64 = 0.2411697e-16;
constexpr double kD81 = 0.2971072e-22;
constexpr double kD82 = -0.1627888e-22;

// Dilute-gas viscosity eta0 = 1.00697 sqrt(T) / exp(S) in micro-pascal seconds.
constexpr double kViscosityFactor = 1.00697;

// Vesovic et al. (1990): reduced cross-section for the thermal
// conductivity, G = sum b_i / T*^i, i = 0..7 (b4 = b5 = 0).
constexpr double kConductivityCrossSection[8] = {
    0.4226159,   // b0
    0.6280115,   // b1
    -0.5387661,  // b2
    0.6735941,   // b3
    0,           // b4
    0,           // b5
    -0.4362677,  // b6
    0.2255388,   // b7
};

// Vesovic et al. (1990): internal heat capacity
// c_int/k = 1 + exp(-183.5/T) sum c_i (T/100)^(2-i), i = 1..5.
constexpr double kInternalHeat[5] = {
    2.387869e-2,  // c1
    4.350794,     // c2
    -10.33404,    // c3
    7.981590,     // c4
    -1.940558,    // c5
};
constexpr double kInternalHeatTemperature = 183.5;  // K

// Vesovic et al. (1990): excess conductivity d_i rho^i, i = 1..4,
// in mW/(m K), rho in kg/m3.
constexpr double kExcessConductivity[4] = {
    2.447164e-2,   // d1
    8.705605e-5,   // d2
    -6.547950e-8,  // d3
    6.594919e-11,  // d4
};

// lambda0 = 0.475598 sqrt(T) (1 + r^2) / G in mW/(m K), r^2 = 2 c_int / (5 k).
constexpr double kConductivityFactor = 0.475598;
constexpr double kInternalShare = 0.4;

using Extended = long double;

}  // namespace

double BackgroundViscosity(double delta, double tau, double T) {
    const Extended rho = static_cast<Extended>(delta) * kCo2Constants.rhored * kCo2Constants.M * 0.001;  // kg/m3
    const Extended x = kEpsOverK * static_cast<Extended>(tau) / kCo2Constants.Tred;                      // 1/T*
    const Extended L = -std::log(x);                                                                     // ln T*

    const double* a = kCrossSection;
    const Extended S = a[0] + L * (a[1] + L * (a[2] + L * (a[3] + L * a[4])));
    const Extended eta0 = kViscosityFactor * std::sqrt(static_cast<Extended>(T)) / std::exp(S);

    // d11 rho + d21 rho^2 + d64 rho^6 x^3 + d81 rho^8 + d82 rho^8 x, in Horner form.
    const Extended rho2 = rho * rho;
    const Extended dEta = rho * (kD11 + rho * (kD21 + rho2 * rho2 * (kD64 * x * x * x + rho2 * (kD81 + kD82 * x))));
    return static_cast<double>((eta0 + dEta) * 1e-6L);
}

double BackgroundConductivity(double delta, double tau) {
    const Extended rho = static_cast<Extended>(delta) * kCo2Constants.rhored * kCo2Constants.M * 0.001;  // kg/m3
    const Extended x = kEpsOverK * static_cast<Extended>(tau) / kCo2Constants.Tred;                      // 1/T*
    const Extended y = 100 * static_cast<Extended>(tau) / kCo2Constants.Tred;                            // 100/T

    const double* c = kInternalHeat;
    const Extended sum = c[0] / y + c[1] + y * (c[2] + y * (c[3] + y * c[4]));
    const Extended cInt =
        1 + std::exp(-kInternalHeatTemperature * static_cast<Extended>(tau) / kCo2Constants.Tred) * sum;

    Extended G = 0;
    for (int i = 7; i >= 0; --i) G = G * x + kConductivityCrossSection[i];

    const Extended sqrtT = std::sqrt(1 / (x / kEpsOverK));
    const Extended lambda0 = kConductivityFactor * sqrtT * (1 + kInternalShare * cInt) / G;

    const double* d = kExcessConductivity;
    const Extended dLambda = rho * (d[0] + rho * (d[1] + rho * (d[2] + rho * d[3])));
    return static_cast<double>((lambda0 + dLambda) * 1e-3L);
}

}  // namespace kelvane
