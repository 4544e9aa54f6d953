// Density and pressure solvers of the point calculation. They work only through the
// fluid's Pressure operation, with water's Region shortcut where supplied; the state s
// supplies T and the saturation values at T (and, for water, the input mode).
#pragma once

#include <cmath>

#include "core/fluid_model.h"

namespace kelvane {

// P in Pa from T and the reduced density x = rho/rhored.
double PressureFromDensity(const Fluid& f, const PointContext& s, double T, double x);

// rho in mol/m3 from T and P through the pressure form of Pressure (water only).
double DensityFromPressure(const Fluid& f, const PointContext& s, double T, double P);

// Density (mol/m3) at s.T and s.P: a march up the isotherm followed by a step-halving
// walk.
double SolveDensity(const Fluid& f, const PointContext& s);

// Pressure (Pa) at s.T and s.rho: explicit where the model allows, otherwise a search
// over the pressure with up to 30 restarts. *converged (when given) is set to false
// when the search ended without reaching the density; the last pressure is returned.
double SolvePressure(const Fluid& f, const PointContext& s, bool* converged = nullptr);

// Upper bounds that keep every march finite; a case that needs more steps than these
// lies far beyond any accepted state.
constexpr int kMaxMarchSteps = 10000;
constexpr int kMaxDescentSteps = 4000;
// Regula-falsi steps that narrow a converged search to the precision of the pressure.
constexpr int kMaxRefineSteps = 100;

// Narrows a root of the increasing function f(x) = target inside [a, b] to the
// precision of f by the Illinois variant of regula falsi. Returns NaN when f does not
// change sign across [a, b], so that the caller keeps its own result.
template <typename F>
double RefineIncreasingRoot(F&& f, double target, double a, double b) {
    double fa = f(a) - target, fb = f(b) - target;
    if (!(fa <= 0 && fb >= 0)) return std::nan("");
    if (fa == 0) return a;
    if (fb == 0) return b;
    int side = 0;
    for (int i = 0; i < kMaxRefineSteps; ++i) {
        double c = (a * fb - b * fa) / (fb - fa);
        if (!(c > a && c < b)) c = a + (b - a) / 2;
        if (c <= a || c >= b) break;  // the interval holds no more doubles
        const double fc = f(c) - target;
        if (fc == 0) return c;
        if (fc < 0) {
            a = c;
            fa = fc;
            if (side == -1) fb /= 2;
            side = -1;
        } else {
            b = c;
            fb = fc;
            if (side == 1) fa /= 2;
            side = 1;
        }
    }
    return std::fabs(fa) < std::fabs(fb) ? a : b;
}

}  // namespace kelvane
