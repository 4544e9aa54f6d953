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

// Density (mol/m3) at s.T and s.P: the root of the pressure equation on the isotherm
// that a march up the isotherm followed by a step-halving walk confines, found by
// safeguarded Newton steps inside the walk's reach (the walk itself where the fluid
// has no PressureSlope or the steps find no root). At a pressure equal to the
// saturation pressure the root is the stable one of the branch the search reaches.
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

// A bracket [a, b] of a root, with the function's values fa and fb of opposite signs
// at its ends, narrowed by the Illinois variant of regula falsi: the next point is where
// the secant through the ends crosses zero (the midpoint when that is not inside), and
// when the same end is replaced twice in a row the value at the other end is halved,
// so that the secant does not stall on one side.
struct IllinoisBracket {
    double a, fa, b, fb;
    int side = 0;  // 1: a was replaced last, -1: b was

    double Next() const {
        const double c = (a * fb - b * fa) / (fb - fa);
        return c > a && c < b ? c : a + (b - a) / 2;
    }
    // c with the value fc becomes the end a (replaceA) or the end b.
    void Replace(double c, double fc, bool replaceA) {
        if (replaceA) {
            a = c;
            fa = fc;
            if (side == 1) fb /= 2;
            side = 1;
        } else {
            b = c;
            fb = fc;
            if (side == -1) fa /= 2;
            side = -1;
        }
    }
};

// Narrows a root of the increasing function f(x) = target inside [a, b] to the
// precision of f by the Illinois variant of regula falsi. Returns NaN when f does not
// change sign across [a, b], so that the caller keeps its own result.
template <typename F>
double RefineIncreasingRoot(F&& f, double target, double a, double b) {
    double fa = f(a) - target, fb = f(b) - target;
    if (!(fa <= 0 && fb >= 0)) return std::nan("");
    if (fa == 0) return a;
    if (fb == 0) return b;
    IllinoisBracket r{a, fa, b, fb};
    for (int i = 0; i < kMaxRefineSteps; ++i) {
        const double c = r.Next();
        if (c <= r.a || c >= r.b) break;  // the interval holds no more doubles
        const double fc = f(c) - target;
        if (fc == 0) return c;
        r.Replace(c, fc, fc < 0);
    }
    return std::fabs(r.fa) < std::fabs(r.fb) ? r.a : r.b;
}

// A root of an increasing function found by Newton's method kept inside a bracket.
struct NewtonRoot {
    double x = 0;
    bool converged = false;
};
constexpr int kMaxNewtonSteps = 100;

// Root of f(x) = target for f increasing on the root's branch, inside [lo, hi], by
// Newton steps from x. f(x, slope) returns f(x) and sets *slope = f'(x). Every
// evaluation narrows the bracket (a value below the target raises lo, one above it
// lowers hi); a Newton step that leaves the open bracket, or a slope that is not
// positive, is replaced by bisection of the bracket when the side towards the root
// has been evaluated, else by a step halfway to that end of the window. The iteration
// ends when a Newton step moves x by at most 1e-10 relative (the error after it,
// quadratic in the step, lies below the precision of f; `tolerance` for a start value) or the bracket holds no double
// between its ends; `converged` is false when it ran out of steps, ended at an end of the window that was never
// evaluated, or on a slope that is not positive.
template <typename F>
NewtonRoot SafeguardedNewton(F&& f, double target, double x, double lo, double hi, double tolerance = 1e-10) {
    bool loSeen = false, hiSeen = false;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        double slope = 0;
        const double y = f(x, &slope) - target;
        if (!std::isfinite(y)) return {x, false};
        if (y == 0) return {x, slope > 0};
        if (y < 0) {
            lo = x;
            loSeen = true;
        } else {
            hi = x;
            hiSeen = true;
        }
        double next = x - y / slope;
        const bool newton = slope > 0 && std::isfinite(next) && next > lo && next < hi;
        if (newton && std::fabs(next - x) <= tolerance * std::fabs(x)) return {next, true};
        if (!newton) {
            if (loSeen && hiSeen)
                next = lo + (hi - lo) / 2;
            else
                next = y < 0 ? x + (hi - x) / 2 : x - (x - lo) / 2;
        }
        if (!(next > lo && next < hi)) return {x, loSeen && hiSeen && slope > 0};
        x = next;
    }
    return {x, false};
}

}  // namespace kelvane
