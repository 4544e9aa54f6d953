#include "forms/units.h"

#include "core/fluid_model.h"

namespace kelvane {

double TemperatureToK(const FluidConstants& calc, int unit, double x) {
    switch (unit) {
        case 1: return x + 273.15;
        case 2: return x * calc.Tc;
        case 3: return (x + 459.67) * 5 / 9;
        default: return x;
    }
}

double TemperatureFromK(const FluidConstants& calc, int unit, double T) {
    switch (unit) {
        case 1: return T - 273.15;
        case 2: return T / calc.Tc;
        case 3: return T * 9 / 5 - 459.67;
        default: return T;
    }
}

double PressureFactor(const FluidConstants& calc, int unit) {
    switch (unit) {
        case 1: return 1;
        case 2: return 1e5;
        case 3: return 101325;
        case 4: return calc.Pc;
        case 5: return 1e3;
        case 6: return kPascalPerPsi;
        default: return 1e6;
    }
}

double DensityFactor(const FluidConstants& calc, int unit) {
    switch (unit) {
        case 1: return 1e6 / calc.M;
        case 2: return 1000;
        case 3: return 1e30 / kAvogadro;
        case 4: return calc.rhoc;
        default: return 1000 / calc.M;
    }
}

double AmountFactor(const FluidConstants& calc, int unit) {
    switch (unit) {
        case 1: return 0.001 * calc.M;
        case 2: return calc.R;
        case 3: return 1000;
        case 4: return calc.M;  // kJ/kg: 1000 J per 0.001 * M kg
        default: return 1;
    }
}

double ViscosityFactor(int unit) {
    switch (unit) {
        case 1: return 1e-6;
        case 2: return 1e-3;
        default: return 1;
    }
}

double ConductivityFactor(int unit) { return unit == 1 ? 1e-3 : 1; }

double DensityToDisplay(const FluidConstants& c, double rho, int unit, bool densityMode) {
    const double f = DensityFactor(c, unit);
    return densityMode ? rho / f : f / rho;
}

double DensityFromDisplay(const FluidConstants& c, double shown, int unit, bool densityMode) {
    const double f = DensityFactor(c, unit);
    return densityMode ? shown * f : f / shown;
}

}  // namespace kelvane
