#include "core/solvers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>


namespace kelvane {

namespace {

// A function of one variable that remembers its last few values. The searches below
// come back to points they have just evaluated (the walk's next centre is one of the
// points it tried; the march's last step is where the walk starts), and the state the
// function reads does not change during one search, so a remembered value is the value
// a new evaluation gives.
template <typename F>
class Remembered {
public:
    explicit Remembered(F f) : f_(f) {}
    double operator()(double x) {
        const uint64_t bits = std::bit_cast<uint64_t>(x);
        for (int i = 0; i < used_; ++i)
            if (keys_[i] == bits) return values_[i];
        const double y = f_(x);
        keys_[next_] = bits;
        values_[next_] = y;
        next_ = (next_ + 1) % kSize;
        if (used_ < kSize) ++used_;
        return y;
    }

private:
    static constexpr int kSize = 4;
    F f_;
    uint64_t keys_[kSize] = {};
    double values_[kSize] = {};
    int used_ = 0, next_ = 0;
};


}  // namespace

double PressureFromDensity(const Fluid& f, const PointContext& s, double T, double x) {
    const FluidConstants& c = f.constants;
    return f.ops.Pressure(x, c.Tred / T, 0, s) * x * c.rhored * c.R * T;
}

double DensityFromPressure(const Fluid& f, const PointContext& s, double T, double P) {
    const FluidConstants& c = f.constants;
    return P / (f.ops.Pressure(0, c.Tred / T, P / c.Pred, s) * c.R * T);
}

namespace {

// The step-halving walk from x with first step d, and the narrowing of its result to
// the root of the pressure where the pressure brackets it close by.
template <typename Pressure>
double WalkToDensity(Pressure& pressure, double P, double x, double d) {
    // Step-halving walk: the step moves the density whatever the size of the mismatch.
    do {
        const double y = pressure(x);
        if (y > P)
            x -= d;
        else
            x += d;
        while (x <= 0) x = (x + d) / 2;
        d /= 2;
    } while (!(d / x < 1e-6) && d > 0);

    // The walk stops at a relative step of 1e-6. In a liquid that is a pressure error
    // of up to a few percent of a low given pressure (methanol at 298 K and 0.1 MPa:
    // 1 kPa), which shows in the compression factor and the fugacity coefficient. The
    // walk has confined the density to a few steps around x; where the pressure
    // brackets the given value there, the root is narrowed to the pressure's precision.
    const double refined = RefineIncreasingRoot(pressure, P, std::max(x - 4 * d, x / 2), x + 4 * d);
    return std::isfinite(refined) ? refined : x;
}

}  // namespace

double SolveDensity(const Fluid& f, const PointContext& state) {
    const FluidConstants& calc = f.constants;
    const double T = state.T, P = state.P, satuP = state.satuP, satuRhov = state.satuRhov,
                 satuRhol = state.satuRhol;
    if (f.ops.Region) {
        const int region = f.ops.Region(0, calc.Tred / T, P, satuP, satuRhov, satuRhol);
        if (region == 1 || region == 2 || region == 5) return DensityFromPressure(f, state, T, P);
    }

    double x = 0.999999 * calc.rhoc;
    double d = 0.5 * calc.rhoc;
    const bool vapourSide = satuP != 0 && P < satuP;
    if (satuP != 0) {
        if (P < satuP) {
            x = 0.51 * satuRhov;
            d = 0.5 * x;
        } else if (P > satuP) {
            x = 1.4 * satuRhol;
            d = 0.25 * satuRhol;
        }
    }
    x /= calc.rhored;
    d /= calc.rhored;
    const double s = 0.1 * calc.rhoc / calc.rhored;
    const double tau = calc.Tred / T;
    const double scale = calc.rhored * calc.R * T;
    Remembered pressure([&f, &state, T](double x) { return PressureFromDensity(f, state, T, x); });
    auto pressureWithSlope = [&f, &state, tau, scale](double x, double* slope) {
        double dZ = 0;
        const double Z = f.ops.PressureSlope(x, tau, state, &dZ);
        *slope = (Z + x * dZ) * scale;
        return Z * x * scale;
    };

    // March up the isotherm until the next step would overshoot the pressure.
    int marched = 0;
    if (!vapourSide) {
        for (; marched < kMaxMarchSteps && pressure(x + s) < P; ++marched) x += s;
    }

    if (satuP != 0 && P == satuP) {
        // Both saturated densities are roots here, and the isotherm between them dips
        // below the pressure: the walk can end inside the loop, on no root at all. The
        // march has put the search on the liquid branch; where the walk does not end on
        // a stable root there, the liquid root next to the saturated-liquid density is
        // the result.
        const double walked = WalkToDensity(pressure, P, x, d);
        double slope = 0;
        const bool stable = f.ops.PressureSlope && pressureWithSlope(walked, &slope) > 0 && slope > 0 &&
                            std::fabs(pressure(walked) - P) <= 1e-9 * P;
        if (stable || !f.ops.PressureSlope) return walked * calc.rhored;
        const double xl = satuRhol / calc.rhored;
        const NewtonRoot r = SafeguardedNewton(pressureWithSlope, P, xl, 0.95 * xl, 1.05 * xl);
        return (r.converged ? r.x : xl) * calc.rhored;
    }

    if (f.ops.PressureSlope) {
        // The walk reaches at most two first steps either side of its start; the root it
        // converges on lies there. Above a march step the root lies between the last
        // point below the pressure and the next march point.
        double lo = std::max(x - 2 * d, 0.0), hi = x + 2 * d;
        double start = x;
        if (marched > 0) {
            lo = x;
            hi = std::min(hi, x + s);
            start = x + s / 2;
        }
        // Beyond the saturated density of its side the stable branch holds the root:
        // above the saturation pressure the liquid above the saturated liquid, below it
        // the vapour below the saturated vapour. Near the critical point the walk's
        // reach also takes in the metastable continuation of the other branch.
        // The first Newton step starts from the saturated density of that side (the
        // vapour scaled as an ideal gas to the pressure): a few steps from the root.
        if (satuP != 0 && P > satuP) {
            lo = std::max(lo, satuRhol / calc.rhored);
            if (marched == 0) start = lo;
        }
        if (satuP != 0 && P < satuP) {
            hi = std::min(hi, satuRhov / calc.rhored);
            start = hi * (P / satuP);
        }
        if (!(start >= lo && start < hi)) start = lo + (hi - lo) / 2;
        const NewtonRoot r = SafeguardedNewton(pressureWithSlope, P, start, lo, hi);
        if (r.converged) return r.x * calc.rhored;
    }
    return WalkToDensity(pressure, P, x, d) * calc.rhored;
}

double SolvePressure(const Fluid& f, const PointContext& state, bool* converged) {
    const FluidConstants& calc = f.constants;
    const double T = state.T, rho = state.rho, satuP = state.satuP, satuRhov = state.satuRhov,
                 satuRhol = state.satuRhol;
    if (converged) *converged = true;
    if (!f.ops.Region) return PressureFromDensity(f, state, T, rho / calc.rhored);
    // No pressure of water's pressure-explicit equations gives a negative density. Its
    // ideal-gas pressure, negative like the density, lets the range check refuse it as
    // it refuses the negative pressure of a Helmholtz fluid.
    if (rho < 0) return rho * calc.R * T;
    const int region = f.ops.Region(rho, calc.Tred / T, 0, satuP, satuRhov, satuRhol);
    if (region == 3) {
        // The region-3 equation gives the pressure explicitly. On the liquid side of the
        // critical density, above the saturated liquid, its isotherm falls with the
        // density only where the density lies beyond the equation's range (pressures
        // far above 100 MPa near the critical temperature): no pressure of the equation
        // belongs to such a density.
        const double x = rho / calc.rhored;
        const double p = PressureFromDensity(f, state, T, x);
        if (rho > std::max(calc.rhoc, satuRhol) && !(PressureFromDensity(f, state, T, x * (1 + 1e-6)) > p) &&
            converged)
            *converged = false;
        return p;
    }

    Remembered r([&f, &state, T](double p) { return DensityFromPressure(f, state, T, p); });
    double x = calc.Pc;
    double d = 0.5 * calc.Pc;
    if (region == 2) {
        x = 0.5 * f.ops.BoundaryB23Pressure(1 / T);
        d = 0.5 * x;
    }
    if (satuP != 0) {
        if (rho < satuRhov) {
            x = 0.51 * satuP;
            d = 0.5 * x;
        } else if (rho > satuRhol) {
            x = 1.4 * satuP;
            d = 0.25 * satuP;
        }
    }

    // A vapour density inside the coexistence range (water's metastable region-2
    // continuation) lies within a few percent of the saturation pressure: search around
    // it, without the march, whose steps of 0.1 Pc would leave the vapour equation.
    const bool metastableVapour = region == 2 && satuP != 0 && rho >= satuRhov && rho <= satuRhol;
    if (metastableVapour) {
        x = satuP;
        d = 0.25 * satuP;
    }

    // March up in pressure until the density of the next step reaches the target.
    const double s = 0.1 * calc.Pc / calc.Pred;
    double y = metastableVapour ? rho : r(x + s);
    for (int step = 0; step < kMaxMarchSteps && y < rho && y != 0; ++step) {
        x += s;
        y = r(x + s);
        if (y < 0) x -= 0.125 * calc.Pc / calc.Pred;
    }

    // Descent pass: three trial points, a move only to a strictly better neighbour.
    auto descent = [&](double& yLast) {
        int steps = 0;
        do {
            yLast = r(x);
            const double a = std::fabs(r(x - d) - rho);
            const double b = std::fabs(r(x + d) - rho);
            const double c = std::fabs(yLast - rho);
            if (std::min(a, b) < c) {
                if (a < b)
                    x -= d;
                else
                    x += d;
            }
            d /= 2;
        } while (d >= 1e-6 * x && d > 0 && ++steps < kMaxDescentSteps);
    };

    // A converged search leaves the density within 1e-6 of the given one, a pressure
    // error of a few hundred pascal in a liquid; the root is then narrowed inside the
    // bracket of the last steps to the precision of the density function.
    auto refined = [&] {
        const double w = std::max(4 * d, 4e-6 * x);
        const double p = RefineIncreasingRoot(r, rho, x - w, x + w);
        return std::isfinite(p) ? p : x;
    };
    // A pressure is a root only where the density's own region equation gives the
    // density back: above 623.15 K a region-2 (vapour-side) search can stop at a
    // pressure above the region 2-3 boundary, where the region-2 equation is evaluated
    // outside its range and meets the density at a point that is no state of water
    // (645-648 K, 990-1050 kg/m3 showed such roots at 23-86 MPa).
    auto verified = [&](double p) {
        if (!std::isfinite(p) || !(std::fabs(r(p) - rho) <= 1e-6 * rho)) return false;
        const int at = f.ops.Region(0, calc.Tred / T, p, satuP, satuRhov, satuRhol);
        if (region == 2) return at != 3;
        if (region == 1) return at == 1;
        return true;
    };
    auto finish = [&](double p) {
        if (!verified(p) && converged) *converged = false;
        return p;
    };
    descent(y);
    y = r(x);
    if (std::fabs(y - rho) <= 1e-6 * rho) return finish(refined());
    for (int restart = 0; restart < 30; ++restart) {
        d = 0.5 * x;
        descent(y);
        if (std::fabs(y - rho) <= 1e-6 * rho) return finish(refined());
    }
    // The passes can stall just outside the tolerance on a flat isotherm; a root that
    // the density function brackets close by, in the region the density belongs to,
    // still gives the density. (Across a region boundary the density function jumps,
    // and where it is evaluated outside its region it can pass through a pole.)
    const double p = RefineIncreasingRoot(r, rho, x * (1 - 1e-3), x * (1 + 1e-3));
    if (std::isfinite(p) && f.ops.Region(0, calc.Tred / T, p, satuP, satuRhov, satuRhol) == region && verified(p))
        return p;
    if (converged) *converged = false;
    return x;
}

}  // namespace kelvane
