#include "fluids/methanol/methanol_viscosity.h"

#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

// Parameters of the correlation (Xiang, Laesecke and Huber 2006, Table 3).
constexpr double kEpsOverK = 577.87;      // K, Lennard-Jones energy parameter
constexpr double kSigma0 = 0.3408e-9;     // m, Lennard-Jones length parameter
constexpr double kDipole = 0.4575;        // reduced dipole moment of the Stockmayer potential
constexpr double kSigmaC = 0.7193422e-9;  // m, hard-sphere diameter scale
// Critical temperature of the correlation, which reduces T in the hard-sphere diameter
// (Tr = T / Tc). It is not the reducing temperature of the equation of state
// (513.38 K): with that value the liquid viscosities of Tables 5 and 6 come out 0.15 %
// (500 K) to 0.9 % (175.63 K) above the printed ones, with 512.6 K they are met to
// their printed digits.
constexpr double kTc = 512.6;                // K
constexpr double kRhoC = 273;                // kg/m3, reducing density of the correlation
constexpr double kMolarMass = 32.04216;      // g/mol
constexpr double kAvogadro = 6.02214129e23;  // 1/mol
// 5/16 sqrt(k_B / (1000 N_A pi)): eta0 = this sqrt(M T) / (sigma^2 Omega) with M in g/mol.
constexpr double kChapmanEnskog = 2.66957e-26;

// Collision integral of the Stockmayer potential:
//   Omega_LJ = a0 T*^a1 + a2 exp(a3 T*) + a4 exp(a5 T*),
//   Omega_D  = a7 T*^a8 + a9 exp(a10 T*) + a11 exp(a12 T*),
//   Omega    = Omega_LJ (1 + delta^2 Omega_D / (1 + a6 delta^6)).
// clang-format off
constexpr double kA[13] = {
    1.16145,    -0.14874,  0.52487,  -0.77320, 2.16178,  -2.43787, 0.95976e-3,
    0.10225,    -0.97346,  0.10657,  -0.34528, -0.44557, -2.58055,
};
// clang-format on

// Reduced second viscosity virial coefficient B*_eta = sum b_i T*^(-t_i).
// clang-format off
constexpr struct {
    double b, t;
} kB[9] = {
    {-19.572881,  0},
    { 219.73999,  0.25},
    {-1015.3226,  0.5},
    { 2471.0125,  0.75},
    {-3375.1717,  1},
    { 2491.6597,  1.25},
    {-787.26086,  1.5},
    { 14.085455,  2.5},
    {-0.34664158, 5.5},
};
// clang-format on

// Reduced third viscosity virial coefficient C*_eta = c1 T*^3 exp(c2 / sqrt(T*)).
constexpr double kC[2] = {1.86222085e-3, 9.990338};

// Effective hard-sphere diameter sigma_HS / sigma_c = sum_i d_i Tr^-i + sum_j e_j rho_r^j.
// d_i for i = 0..6 and e_j for j = 1..9.
// clang-format off
constexpr double kD[7] = {-1.181909, 0.5031030, -0.6268461, 0.5169312, -0.2351349, 5.3980235e-2, -4.9069617e-3};
constexpr double kE[9] = {4.018368,     -4.239180,    2.245110,      -0.5750698,  2.3021026e-2,
                          2.5696775e-2, -6.8372749e-3, 7.2707189e-4, -2.9255711e-5};
// clang-format on

// N_A sigma0^3 in m3/mol, the volume that reduces the viscosity virial coefficients.
constexpr double kVirialVolume = kAvogadro * kSigma0 * kSigma0 * kSigma0;

}  // namespace

double MethanolDiluteViscosity(double T) {
    const double t = T / kEpsOverK;
    const double omegaLJ = kA[0] * std::pow(t, kA[1]) + kA[2] * std::exp(kA[3] * t) + kA[4] * std::exp(kA[5] * t);
    const double omegaD = kA[7] * std::pow(t, kA[8]) + kA[9] * std::exp(kA[10] * t) + kA[11] * std::exp(kA[12] * t);
    const double d2 = kDipole * kDipole;
    const double omega = omegaLJ * (1 + d2 * omegaD / (1 + kA[6] * d2 * d2 * d2));
    return kChapmanEnskog * std::sqrt(kMolarMass * T) / (kSigma0 * kSigma0 * omega);
}

double MethanolViscosity(double T, double rho) {
    const double eta0 = MethanolDiluteViscosity(T);
    const double t = T / kEpsOverK;
    const double rhoMolar = rho / kMolarMass * 1000;  // mol/m3
    const double rhoR = rho / kRhoC;

    // Low-density branch: the viscosity virial expansion to the third coefficient.
    double bStar = 0;
    for (const auto& r : kB) bStar += r.b * std::pow(t, -r.t);
    const double cStar = kC[0] * t * t * t * std::exp(kC[1] / std::sqrt(t));
    const double etaGas =
        1 + kVirialVolume * bStar * rhoMolar + kVirialVolume * kVirialVolume * cStar * rhoMolar * rhoMolar;

    // Dense branch: Enskog hard-sphere theory with a temperature- and density-dependent
    // effective diameter.
    double s = 0;
    const double invTr = kTc / T;
    double p = 1;
    for (double d : kD) {
        s += d * p;
        p *= invTr;
    }
    p = rhoR;
    for (double e : kE) {
        s += e * p;
        p *= rhoR;
    }
    const double sigmaHS = kSigmaC * s;
    const double bRho = 2 * std::numbers::pi * kAvogadro * sigmaHS * sigmaHS * sigmaHS / 3 * rhoMolar;
    const double xi = bRho / 4;  // packing fraction
    const double g = (1 - 0.5 * xi) / ((1 - xi) * (1 - xi) * (1 - xi));
    const double etaEnskog = 1 / g + 0.8 * bRho + 0.761 * g * bRho * bRho;

    // Smooth switch between the two branches around the critical density.
    const double f = 1 / (1 + std::exp(5 * (rhoR - 1)));
    return eta0 * (f * etaGas + (1 - f) * etaEnskog);
}

}  // namespace kelvane
