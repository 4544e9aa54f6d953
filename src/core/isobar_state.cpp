#include "core/isobar_state.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/saturation.h"
#include "core/solvers.h"

namespace kelvane {

namespace {

// Temperatures sampled across the accepted range when looking for the accepted
// interval of an isobar; the checks reject only below or above one interval.
constexpr int kRangeSamples = 33;
// Halvings of the searches for the edges of that interval (to adjacent doubles).
constexpr int kEdgeHalvings = 80;
// Iterations of the temperature search; Newton needs 3 to 8, the bisection fallback
// about 60 from the widest interval.
constexpr int kMaxIterations = 200;
// Relative mismatch of the enthalpy or entropy at which the search stops: near the
// rounding of the equation of state itself. The search also stops once the Newton
// step falls below kStepTolerance of the temperature: the temperature is then known
// to about that, 1e4 times better than the 1e-9 asked of the state.
constexpr double kValueTolerance = 1e-13;
constexpr double kStepTolerance = 1e-13;
// Relative mismatch up to which a state counts as having the given value; a search
// that ends further off has met the jump of the value at the saturation temperature
// (or a seam of water's regions).
constexpr double kReproduced = 1e-10;
// Relative distance of the pressure from the saturation pressure at the temperature
// found within which the equilibrium by pressure decides between a one-phase and a
// wet state: the (T, P) calculation tells the phases apart by the fluid's own
// saturation equations, which agree with the equilibrium to about 1e-6.
constexpr double kNearSaturation = 1e-4;

// The melting pressure as the (T, P) calculation uses it in its state check.
double CheckedMelting(const Fluid& f, double T) {
    const Quantity m = f.ops.MeltingPressure(f.constants.Tred / T);
    if (!m.HasValue() || !std::isfinite(m.value)) return 0;
    return RoundTo15Digits(m.value);
}

// kNone when the (T, P) calculation accepts the state, else the message it gives.
MessageId CheckOf(const Fluid& f, double P, double T) {
    const MessageId t = f.ops.CheckTemperature(T);
    if (t != MessageId::kNone) return t;
    return f.ops.CheckState(P, T, CheckedMelting(f, T));
}

// The edge between an accepted temperature `in` and a rejected one `out`: the accepted
// temperature next to it, and the message of the rejected side.
void Edge(const Fluid& f, double P, double in, double out, double& edge, MessageId& beyond) {
    beyond = CheckOf(f, P, out);
    for (int i = 0; i < kEdgeHalvings; ++i) {
        const double mid = in + (out - in) / 2;
        if (mid == in || mid == out) break;
        const MessageId m = CheckOf(f, P, mid);
        if (m == MessageId::kNone) {
            in = mid;
        } else {
            out = mid;
            beyond = m;
        }
    }
    edge = in;
}

IsobarRange ComputeRange(const Fluid& f, double P) {
    IsobarRange r;
    const double lo = f.limits.Tmin, hi = f.limits.Tmax;
    double T[kRangeSamples];
    bool ok[kRangeSamples];
    int first = -1, last = -1;
    for (int i = 0; i < kRangeSamples; ++i) {
        T[i] = i == kRangeSamples - 1 ? hi : lo + (hi - lo) * i / (kRangeSamples - 1);
        ok[i] = CheckOf(f, P, T[i]) == MessageId::kNone;
        if (ok[i]) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) {
        r.outside = CheckOf(f, P, hi);
        return r;
    }
    r.accepted = true;
    const double below = std::nextafter(lo, -std::numeric_limits<double>::infinity());
    const double above = std::nextafter(hi, std::numeric_limits<double>::infinity());
    Edge(f, P, T[first], first == 0 ? below : T[first - 1], r.Tlow, r.belowLow);
    Edge(f, P, T[last], last == kRangeSamples - 1 ? above : T[last + 1], r.Thigh, r.aboveHigh);
    return r;
}

// The (T, P) calculation at temperature T on the isobar, and the mismatch of its
// enthalpy or entropy.
struct Evaluation {
    PointResult result;
    double T = 0;
    double mismatch = std::numeric_limits<double>::infinity();
};

struct Search {
    const Fluid& fluid;
    const PointInput& input;
    bool byEntropy;
    double target;
    double tolerance;
    double scale;  // max(|target|, the fluid's scale of the value)

    Evaluation At(double T) const {
        PointInput in;
        in.inputVar = 0;
        in.T = T;
        in.P = input.P;
        in.wavelength = input.wavelength;
        Evaluation e;
        e.T = T;
        e.result = Calculate(fluid, in);
        if (e.result.hasProperties) e.mismatch = e.result.properties.values[byEntropy ? kS : kH] - target;
        return e;
    }

    // d(value)/dT along the isobar: Cp for the enthalpy, Cp/T for the entropy.
    double Slope(const Evaluation& e) const {
        const double cp = e.result.properties.values[kCp];
        return byEntropy ? cp / e.T : cp;
    }
};

PointResult Refusal(const PointInput& input, MessageId m) {
    PointResult r;
    r.state.inputVar = input.inputVar;
    r.state.P = input.P;
    r.hasP = true;
    r.AddMessage(m);
    return r;
}

PointResult Solved(const PointInput& input, PointResult r) {
    r.state.inputVar = input.inputVar;
    return r;
}

// Newton in T between a and b, where the value rises with T. An end marked known has
// its mismatch sign established (below the target at a, above it at b) without an
// evaluation there; an unknown end is an edge of the accepted range, evaluated when the
// iteration reaches for it, and a target beyond it is refused with that edge's message.
PointResult SolveOnInterval(const Search& search, const IsobarRange& range, double a, bool aKnown, double b,
                            bool bKnown, double T, bool* reproduced) {
    *reproduced = false;
    Evaluation best;
    double lastMismatch = std::numeric_limits<double>::infinity();
    int slow = 0;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        if (!(T >= a && T <= b)) T = a + (b - a) / 2;
        const Evaluation e = search.At(T);
        if (!e.result.hasProperties) return Solved(search.input, e.result);
        if (std::fabs(e.mismatch) < std::fabs(best.mismatch)) best = e;
        if (std::fabs(e.mismatch) <= search.tolerance) break;
        if (e.mismatch < 0) {
            if (T == range.Thigh && !bKnown) return Refusal(search.input, range.aboveHigh);
            a = T;
            aKnown = true;
        } else {
            if (T == range.Tlow && !aKnown) return Refusal(search.input, range.belowLow);
            b = T;
            bKnown = true;
        }
        const double slope = search.Slope(e);
        double next = T - e.mismatch / slope;
        const bool newton = std::isfinite(next) && slope > 0;
        if (newton && std::fabs(next - T) <= kStepTolerance * T) break;
        // Keep the iteration inside the bracket; reach for an unknown end by evaluating
        // it; bisect when Newton leaves the bracket or stops shrinking it.
        if (!newton || !(next > a && next < b)) {
            if (newton && next <= a && !aKnown) {
                next = a;
            } else if (newton && next >= b && !bKnown) {
                next = b;
            } else {
                next = a + (b - a) / 2;
            }
        }
        // Newton that does not halve the mismatch twice running gives way to bisection.
        if (std::fabs(e.mismatch) > 0.5 * lastMismatch) {
            if (++slow >= 2 && aKnown && bKnown) {
                next = a + (b - a) / 2;
                slow = 0;
            }
        } else {
            slow = 0;
        }
        lastMismatch = std::fabs(e.mismatch);
        if (next == a && aKnown) break;
        if (next == b && bKnown) break;
        if (aKnown && bKnown && std::nextafter(a, b) >= b) break;
        T = next;
    }
    if (!best.result.hasProperties) return Refusal(search.input, MessageId::kNoStateOnIsobar);
    *reproduced = std::fabs(best.mismatch) <= kReproduced * search.scale;
    return Solved(search.input, best.result);
}

// ---- The search on one branch of the isobar with the 14 results alone ----
//
// Each step of SolveOnInterval is a whole (T, P) calculation: the phase equilibrium at
// the new temperature, the density search from scratch, the transport properties. The
// search below evaluates only what the temperature step needs, h or s and Cp, on one
// branch of the isobar chosen at the start (liquid below, vapour above the saturation
// temperature of the fluid's auxiliary vapour-pressure equation; a single branch at and
// above the critical pressure), with the density found by Newton's method from the
// density of the previous step. The state it finds is then the (T, P) calculation at
// that temperature, accepted only when it reproduces the given value; anything else
// (no auxiliary equation, a value in or near the two-phase region, beyond the ends of
// the accepted range, a branch the (T, P) calculation does not take there) leaves the
// answer to SolveOnInterval, which decides every such case.

// Relative distance from the auxiliary saturation temperature at which the liquid and
// the vapour branch are evaluated to tell the phase of the given value: beyond the
// temperature error of the auxiliary equations (methanol's, the least accurate, is
// within 2.5e-4 of the equilibrium in T; water's and carbon dioxide's within 6e-6).
constexpr double kAuxiliaryMargin = 2e-3;
// Densities of the liquid and single branches are searched up to this multiple of the
// critical density; the first liquid search starts at kDenseStart times it, above the
// root, where Newton's method on the convex isotherm descends to it without overshoot.
constexpr double kDenseLimit = 8, kDenseStart = 3;
// Water's region-3 equation is searched up to this multiple of the critical density,
// above its densest state (2.36 at 623.15 K and 100 MPa) and below the densities where
// its isotherms turn.
constexpr double kRegion3DenseLimit = 2.8;
// The density search of a branch point ends on a Newton step of this relative size:
// the error after it, quadratic in the step, is far below what the temperature search
// needs (the state itself comes from the (T, P) calculation).
constexpr double kDensityStep = 1e-8;
// On an isobar above the critical pressure the search starts at kSingleLow Tc
// (liquid-like); a value above that point's is searched from kSingleHigh Tc
// (gas-like), or from Tc itself close to the critical pressure (kSteepPressure).
constexpr double kSingleLow = 0.9, kSingleHigh = 1.2;
// Below this multiple of the critical pressure the value rises so steeply just above
// the critical temperature that the search of a value above the liquid-like start
// continues from there.
constexpr double kSteepPressure = 1.5;
// Temperature steps of the branch search.
constexpr int kMaxBranchSteps = 100;
// The joint search on temperature and density: its steps, its largest relative change
// of either in one step, the relative pressure mismatch it ends within, and the
// relative size of a last step taken without evaluating its end.
constexpr int kMaxJointSteps = 40;
constexpr double kJointMaxStep = 0.5, kJointPressure = 1e-10, kJointLastStep = 1e-7;
// The branch search takes its last Newton step without evaluating its end when the
// error predicted after it is below this share of the tolerance and the step below
// kLastStep of the temperature (where the predicted error can be trusted).
constexpr double kLastStepShare = 0.1, kLastStep = 1e-5;
// The (T, P) calculation at the temperature found reproduces the value to this
// fraction of its scale, or one Newton step on it follows.
constexpr double kFinalTolerance = 1e-12;

enum class Branch { kLiquid, kVapour, kSingle };

struct BranchPoint {
    double T = 0, value = 0, slope = 0;
    double rho = 0;  // mol/m3
    std::array<double, kPropertyCount> values{};
    bool ok = false;
};

class BranchSearch {
public:
    BranchSearch(const Fluid& f, double P, bool byEntropy, Branch branch)
        : f_(f), P_(P), index_(byEntropy ? kS : kH), byEntropy_(byEntropy), branch_(branch) {}

    // h or s and its slope along the isobar at T on the branch.
    BranchPoint At(double T) {
        BranchPoint p;
        p.T = T;
        const FluidConstants& c = f_.constants;
        PointContext s;
        s.T = T;
        s.P = P_;
        s.tau = c.Tred / T;
        s.pi = P_ / c.Pred;
        // The saturation pressure only selects the branch of water's regions 1 and 2:
        // below the pressure for the liquid, above it for the vapour.
        s.satuP = branch_ == Branch::kVapour ? std::numeric_limits<double>::infinity() : 0;
        if (!Density(s)) return p;
        s.delta = s.rho / c.rhored;
        const std::array<double, kPropertyCount> v =
            f_.ops.StateValues ? f_.ops.StateValues(s) : f_.ops.Properties(s, 589).values;
        const double cp = v[kCp];
        alphaLast_ = std::isfinite(v[kAlpha]) ? v[kAlpha] : 0;
        p.value = v[index_];
        p.slope = byEntropy_ ? cp / T : cp;
        p.rho = s.rho;
        p.values = v;
        p.ok = std::isfinite(p.value) && std::isfinite(p.slope) && p.slope > 0;
        return p;
    }

    // For an equation with a density form: Newton's method on the temperature and the
    // density together, from the point e, on P(T, rho) = P and y(T, rho) = target (y
    // the enthalpy or the entropy). With the derivatives of the state's results,
    //   (dP/drho)_T = 1/(rho kappa),   (dP/dT)_rho = alpha/kappa,
    //   (dh/dT)_rho = Cv + (dP/dT)_rho / rho,  (dh/drho)_T = (dP/drho)_T / rho - T (dP/dT)_rho / rho^2,
    //   (ds/dT)_rho = Cv / T,          (ds/drho)_T = -(dP/dT)_rho / rho^2,
    // each step costs one evaluation, where the search in T alone solves the density
    // at every temperature, which takes several near the critical point. The
    // temperature found, or NaN where a step leaves the bracket [Ta, Tb] or the branch's
    // densities, meets a mechanically unstable state, or the iteration does not settle.
    double Jointly(const Search& search, double Ta, double Tb, const BranchPoint& e) const {
        const double none = std::nan("");
        if (f_.ops.Region || !f_.ops.StateValues || !(e.rho > 0)) return none;
        const FluidConstants& c = f_.constants;
        double lo = 0, hi = kDenseLimit * c.rhoc;
        if (branch_ == Branch::kVapour) hi = c.rhoc;
        if (branch_ == Branch::kLiquid) lo = c.rhoc;
        double T = e.T, rho = e.rho;
        for (int step = 0; step < kMaxJointSteps; ++step) {
            PointContext s;
            s.T = T;
            s.tau = c.Tred / T;
            s.rho = rho;
            s.delta = rho / c.rhored;
            s.P = P_;
            s.pi = P_ / c.Pred;
            // The first point's results are e's own.
            const std::array<double, kPropertyCount> v = step == 0 ? e.values : f_.ops.StateValues(s);
            const double P = v[kZ] * rho * c.R * T;
            const double Prho = 1 / (rho * v[kKappa]), PT = v[kAlpha] / v[kKappa];
            const double yT = byEntropy_ ? v[kCv] / T : v[kCv] + PT / rho;
            const double yrho = byEntropy_ ? -PT / (rho * rho) : Prho / rho - T * PT / (rho * rho);
            const double F1 = P_ - P, F2 = search.target - v[index_];
            if (!(Prho > 0) || !std::isfinite(P) || !std::isfinite(F2)) return none;
            if (std::fabs(F2) <= search.tolerance && std::fabs(F1) <= kJointPressure * P_) return T;
            const double det = PT * yrho - Prho * yT;
            const double dT = (F1 * yrho - Prho * F2) / det, drho = (PT * F2 - yT * F1) / det;
            if (!std::isfinite(dT) || !std::isfinite(drho)) return none;
            double scale = 1;
            if (std::fabs(dT) > kJointMaxStep * T) scale = kJointMaxStep * T / std::fabs(dT);
            if (std::fabs(drho) > kJointMaxStep * rho) scale = std::fmin(scale, kJointMaxStep * rho / std::fabs(drho));
            const double Tn = T + scale * dT, rhon = rho + scale * drho;
            if (!(Tn >= Ta && Tn <= Tb) || !(rhon > lo && rhon < hi)) return none;
            // Newton's error after a step is of the order of the step squared.
            if (scale == 1 && std::fabs(dT) <= kJointLastStep * T && std::fabs(drho) <= kJointLastStep * rho) return Tn;
            T = Tn;
            rho = rhon;
        }
        return none;
    }

private:
    // The density at s.T and s.P on the branch into s.rho; false when none is found.
    bool Density(PointContext& s) {
        const FluidConstants& c = f_.constants;
        const double T = s.T;
        if (f_.ops.Region) {
            const int region = f_.ops.Region(0, s.tau, s.pi, s.satuP, 0, 0);
            if (region == 1 || region == 2 || region == 5) {
                s.rho = DensityFromPressure(f_, s, T, P_);
                return Remember(s.rho, T);
            }
        }
        if (!f_.ops.PressureSlope) return false;
        const double scale = c.rhored * c.R * T;
        const double rhoc = c.rhoc / c.rhored;
        const double ideal = P_ / (c.R * T) / c.rhored;
        auto pressure = [this, &s, scale](double x, double* slope) {
            double dZ = 0;
            const double Z = f_.ops.PressureSlope(x, s.tau, s, &dZ);
            *slope = (Z + x * dZ) * scale;
            return Z * x * scale;
        };
        // Below the critical pressure the vapour lies below the critical density and
        // the liquid above it.
        double lo = 0, hi = (f_.ops.Region ? kRegion3DenseLimit : kDenseLimit) * rhoc, start = 0;
        // Below the critical temperature the branch above the critical pressure is the
        // liquid's.
        const bool liquid = branch_ == Branch::kLiquid || (branch_ == Branch::kSingle && T < c.Tc);
        if (branch_ == Branch::kVapour) hi = rhoc;
        if (liquid) lo = rhoc;
        if (rhoLast_ > 0) {
            // From the previous step's density along the isobar, d ln rho / dT = -alpha.
            // With alpha > 0 the density falls with the temperature on every branch, so
            // the previous density bounds the new one: its pressure at the new
            // temperature lies on the side of P that keeps the search off the
            // unstable part of the isotherm.
            const double last = rhoLast_ / c.rhored;
            start = last * std::exp(-alphaLast_ * (T - TLast_));
            if (alphaLast_ > 0) {
                if (T < TLast_) lo = std::fmax(lo, last);
                if (T > TLast_) hi = std::fmin(hi, last);
            }
        } else if (branch_ == Branch::kVapour) {
            start = ideal;
        } else if (f_.ops.Region) {
            // Water's region 3 (a liquid of 623.15 K to Tc, or a state above the
            // critical pressure): the density search of the (T, P) calculation without a
            // saturation state, a march up the isotherm from the critical density.
            s.satuP = 0;
            const double rho = SolveDensity(f_, s);
            if (!(rho > lo * c.rhored && rho < hi * c.rhored)) return false;
            s.rho = rho;
            return Remember(rho, T);
        } else {
            start = liquid ? kDenseStart * rhoc : std::fmin(ideal, kDenseStart * rhoc);
        }
        if (!(start > lo && start < hi)) start = lo + (hi - lo) / 2;
        const NewtonRoot r = SafeguardedNewton(pressure, P_, start, lo, hi, kDensityStep);
        if (!r.converged) return false;
        s.rho = r.x * c.rhored;
        return Remember(s.rho, T);
    }

    bool Remember(double rho, double T) {
        if (!(rho > 0) || !std::isfinite(rho)) return false;
        rhoLast_ = rho;
        TLast_ = T;
        return true;
    }

    const Fluid& f_;
    double P_;
    int index_;
    bool byEntropy_;
    Branch branch_;
    double rhoLast_ = 0, TLast_ = 0, alphaLast_ = 0;
};

// An end of the temperature interval of a branch search: `known` once the value there
// is known to lie on its side of the target (below at the lower end, above at the
// upper one), with the mismatch where it was evaluated (NaN otherwise).
struct End {
    double T = 0;
    bool known = false;
    double mismatch = std::numeric_limits<double>::quiet_NaN();
};

End Unknown(double T) { return {T, false, std::numeric_limits<double>::quiet_NaN()}; }
End Evaluated(const BranchPoint& p, const Search& search) { return {p.T, true, p.value - search.target}; }

// Newton in T on the branch between the ends a and b (the value rising with T), from
// the point `e` already evaluated. An unknown end is evaluated when the iteration
// reaches for it. Where a Newton step leaves the bracket, or does not halve the
// mismatch twice running, the next point is the regula falsi (Illinois) point of the
// bracket, or its middle when an end's mismatch is unknown. The temperature at which
// the value meets the target to the precision of the equation, or NaN.
double SolveOnBranch(BranchSearch& branch, const Search& search, End a, End b, BranchPoint e) {
    if (e.ok) {
        const double T = branch.Jointly(search, a.T, b.T, e);
        if (std::isfinite(T)) return T;
    }
    double lastMismatch = std::numeric_limits<double>::infinity();
    BranchPoint previous;
    int slow = 0, side = 0;
    for (int step = 0; step < kMaxBranchSteps; ++step) {
        if (!e.ok) return std::nan("");
        const double mismatch = e.value - search.target;
        const double T = e.T;
        if (std::fabs(mismatch) <= search.tolerance) return T;
        if (mismatch < 0) {
            if (T == b.T) return std::nan("");  // above the branch's end
            if (side == -1) b.mismatch /= 2;
            a = {T, true, mismatch};
            side = -1;
        } else {
            if (T == a.T) return std::nan("");  // below the branch's end
            if (side == 1) a.mismatch /= 2;
            b = {T, true, mismatch};
            side = 1;
        }
        // For the entropy, whose slope Cp/T makes it nearly linear in ln T, the step is
        // taken in ln T.
        double next = search.byEntropy ? T * std::exp(-mismatch / (e.slope * T)) : T - mismatch / e.slope;
        if (std::fabs(next - T) <= kStepTolerance * T) return T;
        // The error left after the step, (f''/2f') dT^2 with f''/f' from the slopes of
        // the last two points: the step is taken without evaluating its end when that
        // lies well below the tolerance.
        if (previous.ok && previous.T != T && next > a.T && next < b.T) {
            const double curvature = (e.slope - previous.slope) / (T - previous.T) / e.slope;
            const double dT = next - T;
            if (std::fabs(0.5 * curvature * dT * dT) * e.slope <= kLastStepShare * search.tolerance &&
                std::fabs(dT) <= kLastStep * T)
                return next;
        }
        previous = e;
        const bool slowed = std::fabs(mismatch) > 0.5 * lastMismatch;
        slow = slowed ? slow + 1 : 0;
        lastMismatch = std::fabs(mismatch);
        if (!(next > a.T && next < b.T) || slow >= 2) {
            slow = 0;
            if (next <= a.T && !a.known) {
                next = a.T;
            } else if (next >= b.T && !b.known) {
                next = b.T;
            } else {
                next = a.T + (b.T - a.T) / 2;
                if (std::isfinite(a.mismatch) && std::isfinite(b.mismatch) && b.mismatch > a.mismatch) {
                    const double secant = (a.T * b.mismatch - b.T * a.mismatch) / (b.mismatch - a.mismatch);
                    if (secant > a.T && secant < b.T) next = secant;
                }
            }
        }
        if ((next == a.T && a.known) || (next == b.T && b.known) || !(next >= a.T && next <= b.T))
            return std::fabs(mismatch) <= 1e3 * search.tolerance ? T : std::nan("");
        e = branch.At(next);
    }
    return std::nan("");
}

// SaturationByPressure with the 14 results of the phases (all a wet state takes from
// them), the last answer of this thread remembered: the cells of a table row share
// their pressure, and a wet state's equilibrium is the costliest part of it. Keyed on
// the fluid, its operations and the exact bits of P, so the answer is the one
// SaturationByPressure gives.
const SaturationPoint& EquilibriumAt(const Fluid& f, double P) {
    struct Entry {
        const Fluid* fluid = nullptr;
        SaturationState (*saturation)(double, double) = nullptr;
        PropertyResults (*properties)(const PointContext&, double) = nullptr;
        uint64_t P = 0;
        SaturationPoint point;
    };
    thread_local Entry last;
    const uint64_t pBits = std::bit_cast<uint64_t>(P);
    if (last.fluid != &f || last.saturation != f.ops.Saturation || last.properties != f.ops.Properties ||
        last.P != pBits) {
        last.point = SaturationByPressure(f, P, -1);
        last.fluid = &f;
        last.saturation = f.ops.Saturation;
        last.properties = f.ops.Properties;
        last.P = pBits;
    }
    return last.point;
}

enum class Quick { kFound, kWet, kUndecided };

// The quick search: kFound with the (T, P) calculation at the temperature found in
// *out, kWet when the value lies between the liquid's and the vapour's next to the
// auxiliary saturation temperature, else kUndecided.
Quick QuickSearch(const Search& search, PointResult* out) {
    const Fluid& f = search.fluid;
    const FluidOperations& ops = f.ops;
    const double P = search.input.P;
    if (!ops.AuxiliarySaturationPressure || (!ops.Region && !ops.PressureSlope)) return Quick::kUndecided;
    if (!(P > 0) || !std::isfinite(P)) return Quick::kUndecided;
    const double Tmin = f.limits.Tmin, Tmax = f.limits.Tmax;
    const double Tsat = P < f.constants.Pc ? AuxiliarySaturationTemperature(f, P) : -1;
    if (std::isnan(Tsat)) return Quick::kUndecided;

    double T = std::nan("");
    if (Tsat < 0) {
        // No saturation on the isobar: one branch from the lowest to the highest
        // temperature, entered below the critical temperature for a value below that
        // point's, else above it.
        BranchSearch branch(f, P, search.byEntropy, Branch::kSingle);
        const double Tlow = std::fmin(Tmax, std::fmax(Tmin, kSingleLow * f.constants.Tc));
        const double Thigh = std::fmin(Tmax, std::fmax(Tmin, kSingleHigh * f.constants.Tc));
        const BranchPoint low = branch.At(Tlow);
        if (!low.ok) return Quick::kUndecided;
        if (low.value >= search.target || Thigh <= Tlow) {
            T = SolveOnBranch(branch, search, Unknown(Tmin), Evaluated(low, search), low);
        } else if (const double joint = branch.Jointly(search, Tlow, Tmax, low); std::isfinite(joint)) {
            // Where the equation has a density form, the joint search goes on from the
            // liquid-like start across the critical region.
            T = joint;
        } else if (P < kSteepPressure * f.constants.Pc && f.constants.Tc > Tlow && f.constants.Tc < Thigh) {
            // Close to the critical pressure the value rises steeply just above the
            // critical temperature: the search starts there.
            BranchSearch middle(f, P, search.byEntropy, Branch::kSingle);
            T = SolveOnBranch(middle, search, Evaluated(low, search), Unknown(Tmax), middle.At(f.constants.Tc));
        } else {
            BranchSearch upper(f, P, search.byEntropy, Branch::kSingle);
            const BranchPoint high = upper.At(Thigh);
            if (!high.ok) return Quick::kUndecided;
            if (high.value <= search.target)
                T = SolveOnBranch(upper, search, Evaluated(high, search), Unknown(Tmax), high);
            else if (search.target - low.value < high.value - search.target)
                T = SolveOnBranch(branch, search, Evaluated(low, search), Evaluated(high, search), low);
            else
                T = SolveOnBranch(upper, search, Evaluated(low, search), Evaluated(high, search), high);
        }
    } else if (Tsat == 0) {
        BranchSearch branch(f, P, search.byEntropy, Branch::kVapour);
        T = SolveOnBranch(branch, search, Unknown(Tmin), Unknown(Tmax), branch.At(Tmin));
    } else {
        const double TV = Tsat * (1 + kAuxiliaryMargin), TL = Tsat * (1 - kAuxiliaryMargin);
        if (!(TV < Tmax && TL > Tmin)) return Quick::kUndecided;
        BranchSearch vapour(f, P, search.byEntropy, Branch::kVapour);
        const BranchPoint v = vapour.At(TV);
        if (!v.ok) return Quick::kUndecided;
        if (v.value >= search.target) {
            BranchSearch liquid(f, P, search.byEntropy, Branch::kLiquid);
            const BranchPoint l = liquid.At(TL);
            if (!l.ok) return Quick::kUndecided;
            if (l.value < search.target) return Quick::kWet;
            T = SolveOnBranch(liquid, search, Unknown(Tmin), Evaluated(l, search), l);
        } else {
            T = SolveOnBranch(vapour, search, Evaluated(v, search), Unknown(Tmax), v);
        }
    }
    if (!std::isfinite(T)) return Quick::kUndecided;
    Evaluation e = search.At(T);
    if (e.result.hasProperties && std::fabs(e.mismatch) > kFinalTolerance * search.scale) {
        // One Newton step on the (T, P) calculation itself where its value differs from
        // the branch search's by more than the equation's precision.
        const double slope = search.Slope(e);
        const double next = T - e.mismatch / slope;
        if (std::isfinite(next) && slope > 0 && next != T) {
            Evaluation f = search.At(next);
            if (f.result.hasProperties && std::fabs(f.mismatch) < std::fabs(e.mismatch)) e = std::move(f);
        }
    }
    if (!e.result.hasProperties || !(std::fabs(e.mismatch) <= kReproduced * search.scale)) return Quick::kUndecided;
    *out = Solved(search.input, std::move(e.result));
    return Quick::kFound;
}

}  // namespace

IsobarRange IsobarRangeOf(const Fluid& fluid, double P) {
    // Rows of a table share one pressure: the last range of this thread is kept.
    struct Entry {
        const Fluid* fluid = nullptr;
        MessageId (*check)(double, double, double) = nullptr;
        uint64_t P = 0;
        IsobarRange range;
    };
    thread_local Entry last;
    const uint64_t bits = std::bit_cast<uint64_t>(P);
    if (last.fluid != &fluid || last.check != fluid.ops.CheckState || last.P != bits) {
        last.range = ComputeRange(fluid, P);
        last.fluid = &fluid;
        last.check = fluid.ops.CheckState;
        last.P = bits;
    }
    return last.range;
}

PointResult CalculateOnIsobar(const Fluid& fluid, const PointInput& input) {
    const FluidOperations& ops = fluid.ops;
    if (!ops.CheckTemperature || !ops.CheckState || !ops.MeltingPressure || !ops.Saturation || !ops.Properties)
        return Refusal(input, MessageId::kModelMissing);
    const bool byEntropy = input.inputVar == 3;
    const double target = byEntropy ? input.s : input.h;
    const double P = input.P;
    if (!std::isfinite(target)) return Refusal(input, MessageId::kNoStateOnIsobar);

    // Near zero the tolerance follows the fluid's scale of the value, R Tc or R.
    const double fluidScale = byEntropy ? fluid.constants.R : fluid.constants.R * fluid.constants.Tc;
    const double scale = std::fmax(std::fabs(target), fluidScale);
    const Search search{fluid, input, byEntropy, target, kValueTolerance * scale, scale};
    const int index = byEntropy ? kS : kH;

    // The equilibrium by pressure, computed when needed.
    SaturationPoint equilibrium;
    bool haveEquilibrium = false;
    auto Equilibrium = [&]() -> const SaturationPoint& {
        if (!haveEquilibrium) equilibrium = EquilibriumAt(fluid, P);
        haveEquilibrium = true;
        return equilibrium;
    };
    auto Wet = [&](const SaturationPoint& e) {
        return e.HasValue() && target >= e.liquid.values[index] && target <= e.vapour.values[index];
    };
    auto TwoPhase = [&](const SaturationPoint& e) {
        // The lever rule on the saturated values of this pressure.
        const double liquid = e.liquid.values[index], vapour = e.vapour.values[index];
        const double x = vapour > liquid ? std::fmin(1.0, std::fmax(0.0, (target - liquid) / (vapour - liquid))) : 0;
        return Solved(input, TwoPhaseState(fluid, e, x));
    };
    // A state found near the saturation pressure of its temperature is checked against
    // the equilibrium by pressure, whose two-phase states take precedence.
    auto NearSaturation = [&](const PointResult& r) {
        bool near = r.HasMessage(MessageId::kTwoPhase);
        if (r.hasProperties && r.saturation.status == Status::kValue && r.saturation.P > 0)
            near = near || std::fabs(P / r.saturation.P - 1) < kNearSaturation;
        return near && P < fluid.constants.Pc * 1.01;
    };

    // The quick search's state is one the (T, P) calculation accepts, so the range
    // checks below let it through; it reproduces the value.
    PointResult quick;
    const Quick q = QuickSearch(search, &quick);
    if (q == Quick::kFound) {
        if (NearSaturation(quick) && Wet(Equilibrium())) return TwoPhase(Equilibrium());
        return quick;
    }

    // A value between the saturated liquid's and vapour's of the equilibrium is a wet
    // state whatever the search on the isobar would meet; its temperature lies inside
    // the accepted range of the isobar.
    if (q == Quick::kWet && P < fluid.constants.Pc * 1.01 && Wet(Equilibrium())) return TwoPhase(Equilibrium());
    const IsobarRange range = IsobarRangeOf(fluid, P);
    if (!range.accepted) return Refusal(input, range.outside);
    if (P == 0) return Refusal(input, MessageId::kZeroState);

    // The value rises with T along the isobar, with a jump from the saturated liquid's
    // to the vapour's at the saturation temperature. Newton over the whole accepted
    // range finds a one-phase state; the equilibrium by pressure (costly) is consulted
    // only when the search ends at the jump, or close to it, or below the range.
    const double T0 = std::fmin(range.Thigh, std::fmax(range.Tlow, fluid.constants.Tc));
    bool reproduced = false;
    PointResult r = SolveOnInterval(search, range, range.Tlow, false, range.Thigh, false, T0, &reproduced);
    const bool refusedBelow = !r.hasProperties && r.HasMessage(range.belowLow);
    const bool nearSaturation = !reproduced || refusedBelow || NearSaturation(r);
    if (!nearSaturation || P >= fluid.constants.Pc * 1.01) return r;

    const SaturationPoint& sat = Equilibrium();
    if (!sat.HasValue()) return r;
    if (Wet(sat)) return TwoPhase(sat);
    if (reproduced || refusedBelow) return r;
    // The search met the jump from the other side of the equilibrium's saturation
    // temperature: search again on the phase's own side of it.
    const double liquid = sat.liquid.values[index], vapour = sat.vapour.values[index];
    const bool isLiquid = target < liquid;
    const double edge = isLiquid ? liquid : vapour;
    const double cp = (isLiquid ? sat.liquid : sat.vapour).values[kCp];
    const double start = byEntropy ? sat.T * std::exp((target - edge) / cp) : sat.T + (target - edge) / cp;
    if (isLiquid) {
        if (sat.T < range.Tlow) return Refusal(input, range.belowLow);
        const double b = std::fmin(sat.T, range.Thigh);
        return SolveOnInterval(search, range, range.Tlow, false, b, b == sat.T, start, &reproduced);
    }
    if (sat.T > range.Thigh) return Refusal(input, range.aboveHigh);
    const double a = std::fmax(sat.T, range.Tlow);
    return SolveOnInterval(search, range, a, a == sat.T, range.Thigh, false, start, &reproduced);
}

}  // namespace kelvane
