#include "core/isobar_state.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/saturation.h"

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
        if (e.result.hasProperties)
            e.mismatch = e.result.properties.values[byEntropy ? kS : kH] - target;
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

    const IsobarRange range = IsobarRangeOf(fluid, P);
    if (!range.accepted) return Refusal(input, range.outside);
    if (P == 0) return Refusal(input, MessageId::kZeroState);

    // Near zero the tolerance follows the fluid's scale of the value, R Tc or R.
    const double fluidScale = byEntropy ? fluid.constants.R : fluid.constants.R * fluid.constants.Tc;
    const double scale = std::fmax(std::fabs(target), fluidScale);
    const Search search{fluid, input, byEntropy, target, kValueTolerance * scale, scale};
    const int index = byEntropy ? kS : kH;

    // The value rises with T along the isobar, with a jump from the saturated liquid's
    // to the vapour's at the saturation temperature. Newton over the whole accepted
    // range finds a one-phase state; the equilibrium by pressure (costly) is consulted
    // only when the search ends at the jump, or close to it, or below the range.
    const double T0 = std::fmin(range.Thigh, std::fmax(range.Tlow, fluid.constants.Tc));
    bool reproduced = false;
    PointResult r = SolveOnInterval(search, range, range.Tlow, false, range.Thigh, false, T0, &reproduced);
    const bool refusedBelow = !r.hasProperties && r.HasMessage(range.belowLow);
    bool nearSaturation = !reproduced || refusedBelow || r.HasMessage(MessageId::kTwoPhase);
    if (r.hasProperties && r.saturation.status == Status::kValue && r.saturation.P > 0)
        nearSaturation = nearSaturation || std::fabs(P / r.saturation.P - 1) < kNearSaturation;
    if (!nearSaturation || P >= fluid.constants.Pc * 1.01) return r;

    const SaturationPoint sat = SaturationByPressure(fluid, P, input.wavelength);
    if (!sat.HasValue()) return r;
    const double liquid = sat.liquid.values[index], vapour = sat.vapour.values[index];
    if (target >= liquid && target <= vapour) {
        // The lever rule on the saturated values of this pressure.
        const double x = vapour > liquid ? std::fmin(1.0, std::fmax(0.0, (target - liquid) / (vapour - liquid))) : 0;
        return Solved(input, TwoPhaseState(fluid, sat, x));
    }
    if (reproduced || refusedBelow) return r;
    // The search met the jump from the other side of the equilibrium's saturation
    // temperature: search again on the phase's own side of it.
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
