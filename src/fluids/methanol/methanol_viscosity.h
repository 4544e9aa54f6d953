// Viscosity of methanol: the reference correlation of Xiang, Laesecke and Huber,
// "A New Reference Correlation for the Viscosity of Methanol", J. Phys. Chem. Ref. Data
// 35, 1597-1620 (2006). A pure function of temperature and mass density; the density
// comes from the methanol equation of state, the one the correlation was built on.
#pragma once

namespace kelvane {

// Stated range of the correlation: from the triple point to 630 K at pressures up to
// 10 GPa.
struct MethanolTransportRange {
    double Tmin;  // K
    double Tmax;  // K
    double Pmax;  // Pa
    bool Contains(double T, double P) const { return T >= Tmin && T <= Tmax && P >= 0 && P <= Pmax; }
};
inline constexpr MethanolTransportRange kMethanolViscosityRange{175.61, 630, 10e9};

// Zero-density viscosity eta0(T) in Pa s (Chapman-Enskog with the Stockmayer collision
// integral of the correlation). T in K.
double MethanolDiluteViscosity(double T);

// Viscosity in Pa s at T in K and mass density rho in kg/m3. At rho = 0 it equals
// MethanolDiluteViscosity(T).
double MethanolViscosity(double T, double rho);

}  // namespace kelvane
