#include "core/calculate.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "core/format.h"
#include "core/isobar_state.h"
#include "core/solvers.h"

namespace kelvane {

double RoundTo15Digits(double x) { return ParseLeading(FormatFile(x)); }

namespace {

// A number as the calculation carries it: 15 significant digits; a value that is not
// finite stays as it is (shown as such, and taken as "no value" by the calculation).
double Carried(double x) { return std::isfinite(x) ? RoundTo15Digits(x) : x; }
double Usable(double x) { return std::isfinite(x) ? x : 0; }

// The melting value as the calculation uses it: a number at 15 digits, or a status
// whose number is 0 (no freezing check then).
Quantity RoundedMelting(const Quantity& q) {
    if (!q.HasValue()) return q;
    return Quantity::Of(Carried(q.value));
}

// A given pressure or density that the equations cannot use as a state: zero, so
// small that it is subnormal, or not finite.
bool NoStateValue(double x) { return !std::isfinite(x) || std::fabs(x) < DBL_MIN; }

// Marks the results that have no meaning at the state: where (dP/drho)T is not
// positive (the isothermal compressibility, 1/(rho (dP/drho)T), is then zero or
// negative), Cp, W, the Joule-Thomson coefficient, alpha and kappa are not defined; any
// other result that is not finite is no result either. A compressibility that is not
// finite says nothing about the sign of (dP/drho)T: it overflows at densities so low
// that 1/P leaves the range of numbers, and NaN comes from a failed evaluation, so it
// is only not defined. So is a compressibility that is finite per pascal but not per
// the largest pressure unit it is shown in (MPa, or the critical pressure of the
// reduced pressure), as at pressures below some 1e-302 Pa. A secondary result that is
// not finite is shown as not available.
void MarkUndefined(PointResult& out, const FluidConstants& c) {
    PropertyResults& p = out.properties;
    const double kappa = p.values[kKappa];
    if (kappa <= 0) {
        for (int i : {kCp, kW, kJT, kAlpha, kKappa}) p.undefined |= 1u << i;
        out.AddMessage(MessageId::kUnstable);
    }
    bool other = false;
    if (std::isfinite(kappa) && !std::isfinite(kappa * std::max(1e6, c.Pc))) {
        p.undefined |= 1u << kKappa;
        other = true;
    }
    for (int i = 0; i < kPropertyCount; ++i) {
        if (!p.Defined(i) || std::isfinite(p.values[i])) continue;
        p.undefined |= 1u << i;
        other = true;
    }
    for (Quantity& q : p.secondary)
        if ((q.status == Status::kValue || q.status == Status::kNotAvailableBackground) && !std::isfinite(q.value)) {
            q = Quantity::With(Status::kNotAvailable);
            other = true;
        }
    if (other) out.AddMessage(MessageId::kNotDefined);
}

SaturationState Rounded(const SaturationState& s) {
    if (s.status != Status::kValue) return {s.status, 0, 0, 0};
    return {Status::kValue, Carried(s.P), Carried(s.rhov), Carried(s.rhol)};
}

}  // namespace

SaturationState CalculationSaturation(const Fluid& fluid, double tau, double T) {
    if (!fluid.ops.saturationDependsOnTemperatureOnly) return Rounded(fluid.ops.Saturation(tau, T));
    struct Entry {
        SaturationState (*operation)(double, double) = nullptr;
        int fluid = -1;
        uint64_t tau = 0, T = 0;
        SaturationState result;
    };
    thread_local Entry last;
    const uint64_t tauBits = std::bit_cast<uint64_t>(tau), TBits = std::bit_cast<uint64_t>(T);
    if (last.operation != fluid.ops.Saturation || last.fluid != fluid.index || last.tau != tauBits || last.T != TBits) {
        last.result = Rounded(fluid.ops.Saturation(tau, T));
        last.operation = fluid.ops.Saturation;
        last.fluid = fluid.index;
        last.tau = tauBits;
        last.T = TBits;
    }
    return last.result;
}

PointResult Calculate(const Fluid& fluid, const PointInput& input) {
    if (input.inputVar == 2 || input.inputVar == 3) return CalculateOnIsobar(fluid, input);
    PointResult out;
    PointContext& s = out.state;
    const FluidConstants& c = fluid.constants;
    const FluidOperations& ops = fluid.ops;

    s.inputVar = input.inputVar == 1 ? 1 : 0;
    s.T = input.T;
    if (s.inputVar == 0) {
        s.P = input.P;
        out.hasP = true;
    } else {
        s.rho = input.rho;
        out.hasRho = true;
    }
    s.tau = c.Tred / s.T;

    if (!ops.CheckTemperature) {
        out.AddMessage(MessageId::kModelMissing);
        return out;
    }
    const MessageId temperature = ops.CheckTemperature(s.T);
    if (temperature != MessageId::kNone) {
        out.AddMessage(temperature);
        return out;
    }

    out.melt = RoundedMelting(ops.MeltingPressure(s.tau));
    s.meltP = out.melt.HasValue() ? Usable(out.melt.value) : 0;

    out.saturation = CalculationSaturation(fluid, s.tau, s.T);
    s.satuP = Usable(out.saturation.P);
    s.satuRhov = Usable(out.saturation.rhov);
    s.satuRhol = Usable(out.saturation.rhol);

    if (s.inputVar == 0) {
        const MessageId state = ops.CheckState(s.P, s.T, s.meltP);
        if (state != MessageId::kNone) {
            out.AddMessage(state);
            return out;
        }
        if (NoStateValue(s.P)) {
            out.AddMessage(MessageId::kZeroState);
            return out;
        }
        s.pi = s.P / c.Pred;
        s.rho = SolveDensity(fluid, s);
        out.hasRho = true;
    }

    // A density (or specific volume) of zero, a subnormal one, or one whose conversion
    // overflowed describes no state.
    if (s.inputVar == 1 && NoStateValue(s.rho)) {
        out.AddMessage(MessageId::kZeroState);
        return out;
    }

    s.delta = s.rho / c.rhored;

    if (s.satuP != 0 && s.satuRhov <= s.rho && s.rho <= s.satuRhol) {
        out.AddMessage(MessageId::kTwoPhase);
        if (1.05 * s.satuRhov <= s.rho && s.rho <= 0.9 * s.satuRhol) return out;
    }

    if (s.inputVar == 1) {
        bool found = true;
        s.P = SolvePressure(fluid, s, &found);
        s.pi = s.P / c.Pred;
        out.hasP = true;
        const MessageId state = ops.CheckState(s.P, s.T, s.meltP);
        if (state != MessageId::kNone) {
            out.AddMessage(state);
            return out;
        }
        if (!found) {
            // The search ended at a pressure whose density is not the given one (water:
            // a density that no pressure of the region's equation reaches at this
            // temperature); properties there would belong to another state.
            out.hasP = false;
            out.AddMessage(MessageId::kNoPressure);
            return out;
        }
    }

    out.properties = ops.Properties(s, input.wavelength);
    out.hasProperties = true;
    // The refractive index is given for wavelengths of its formulation's range only.
    Quantity& n = out.properties.secondary[kN];
    if (n.status != Status::kUnset) {
        const double w = input.wavelength;
        if (!(w > 0) || !std::isfinite(w)) {
            n = Quantity::With(Status::kNotAvailable);
            out.AddMessage(MessageId::kWavelengthNotPositive);
        } else if (w < kMinWavelength || w > kMaxWavelength) {
            n = Quantity::With(Status::kNotAvailable);
            out.AddMessage(MessageId::kWavelengthOutOfRange);
        }
    }
    MarkUndefined(out, c);
    return out;
}

}  // namespace kelvane
