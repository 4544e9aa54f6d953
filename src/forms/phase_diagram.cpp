#include "forms/phase_diagram.h"

#include <cmath>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "forms/units.h"

namespace kelvane {

namespace {

// A finite positive pressure of an operation, or nothing.
std::optional<double> Positive(double p) {
    if (std::isfinite(p) && p > 0) return p;
    return std::nullopt;
}

// The fluid's saturation and melting pressures at temperature T (K).
std::optional<double> SaturationPressureAt(const Fluid& f, double T) {
    const SaturationState s = f.ops.Saturation(f.constants.Tred / T, T);
    if (s.status != Status::kValue) return std::nullopt;
    return Positive(s.P);
}

std::optional<double> MeltingOperationAt(const Fluid& f, double T) {
    const Quantity q = f.ops.MeltingPressure(f.constants.Tred / T);
    if (!q.HasValue()) return std::nullopt;
    return Positive(q.value);
}

// Bisection of a predicate that holds at `good` and fails at `bad`; returns the last
// point where it holds.
template <typename F>
double Boundary(double good, double bad, F holds) {
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (good + bad);
        if (mid == good || mid == bad) break;
        (holds(mid) ? good : bad) = mid;
    }
    return good;
}

// The melting operation's curve: melting above the triple point, sublimation below it
// (where the operation answers with a pressure below the saturation curve), extended
// below the lowest accepted temperature down to a tenth of the lowest saturation
// pressure.
void MeltingCurves(const Fluid& f, PhaseCurves& c) {
    const double Tmin = c.lowestT;
    const std::optional<double> atMin = MeltingOperationAt(f, Tmin);
    if (!atMin || c.saturation.empty()) return;
    const double step = (c.critical.T - Tmin) / kMeltingSamples;
    constexpr int kMaxSteps = 4 * kMeltingSamples;

    auto below = [&c](double T, double p) {
        const std::optional<double> ps = InterpolateSaturation(c, T);
        return !ps || p < *ps;
    };

    // Upper end: the last temperature with an answer (the operation answers with a
    // message above its pressure limit).
    double last = Tmin;
    for (int k = 1; k <= kMaxSteps; ++k) {
        const double T = Tmin + k * step;
        if (!MeltingOperationAt(f, T)) {
            last = Boundary(last, T, [&f](double t) { return MeltingOperationAt(f, t).has_value(); });
            break;
        }
        last = T;
    }

    // Triple point: where the operation's answer rises above the saturation curve.
    double triple = Tmin;
    if (below(Tmin, *atMin)) {
        double above = Tmin;
        for (int k = 1; k <= kMaxSteps && above < last; ++k) {
            above = std::min(last, Tmin + k * step * 0.01);
            const std::optional<double> p = MeltingOperationAt(f, above);
            if (p && !below(above, *p)) break;
        }
        triple = Boundary(Tmin, above, [&f, &below](double t) {
            const std::optional<double> p = MeltingOperationAt(f, t);
            return p && below(t, *p);
        });
    }

    // Lower end of the sublimation curve.
    double lowest = triple;
    if (triple > Tmin || below(Tmin, *atMin)) {
        const double floor = c.saturation.front().P / 10;
        lowest = Tmin;
        for (int k = 1; k <= kMaxSteps; ++k) {
            const double T = Tmin - k * step;
            const std::optional<double> p = T > 0.5 * Tmin ? MeltingOperationAt(f, T) : std::nullopt;
            if (!p || *p < floor) {
                lowest = Boundary(lowest, T, [&f, floor](double t) {
                    const std::optional<double> q = MeltingOperationAt(f, t);
                    return q && *q >= floor;
                });
                break;
            }
            lowest = T;
        }
    }

    // Sublimation: evenly spaced; a branch narrower than a thousandth of a kelvin is
    // the triple point itself.
    if (triple - lowest > 1e-3) {
        const int n = kMeltingSamples / 3;
        for (int i = 0; i <= n; ++i) {
            const double T = lowest + (triple - lowest) * i / n;
            if (const std::optional<double> p = MeltingOperationAt(f, T)) c.sublimation.push_back({T, *p});
        }
    }
    // Melting: denser near the triple point, where the curve is steepest.
    if (last > triple) {
        for (int i = 0; i <= kMeltingSamples; ++i) {
            const double u = static_cast<double>(i) / kMeltingSamples;
            const double T = triple + (last - triple) * u * u;
            if (const std::optional<double> p = MeltingOperationAt(f, T)) c.melting.push_back({T, *p});
        }
    }
}

}  // namespace

double LowestAcceptedTemperature(const Fluid& f) { return f.limits.Tmin; }

PhaseCurves ComputePhaseCurves(int fluid) {
    PhaseCurves c;
    if (fluid < 0 || fluid >= kFluidCount) return c;
    const Fluid& f = FluidAt(fluid);
    c.fluid = fluid;
    if (!f.ops.Saturation || !f.ops.CheckTemperature || !f.ops.MeltingPressure) return c;
    const double Tc = f.constants.Tc;
    c.critical = {Tc, f.constants.Pc};
    c.lowestT = LowestAcceptedTemperature(f);

    // Saturation: closer samples towards the critical point, where the curve bends.
    const double span = Tc - c.lowestT;
    for (int i = 0; i < kSaturationSamples; ++i) {
        const double u = 1 - static_cast<double>(i) / kSaturationSamples;
        const double T = Tc - span * u * u;
        if (const std::optional<double> p = SaturationPressureAt(f, T)) c.saturation.push_back({T, *p});
    }
    c.saturation.push_back(c.critical);

    MeltingCurves(f, c);
    return c;
}

std::optional<double> InterpolateSaturation(const PhaseCurves& curves, double T) {
    const std::vector<PhasePoint>& s = curves.saturation;
    if (s.empty() || T < s.front().T || T > s.back().T) return std::nullopt;
    for (size_t i = 1; i < s.size(); ++i) {
        if (T > s[i].T) continue;
        const PhasePoint& a = s[i - 1];
        const PhasePoint& b = s[i];
        if (b.T == a.T) return b.P;
        const double w = (1 / T - 1 / a.T) / (1 / b.T - 1 / a.T);
        return std::exp(std::log(a.P) + w * (std::log(b.P) - std::log(a.P)));
    }
    return s.front().P;
}

bool PhaseDiagram::Follow(bool withCurves) {
    bool changed = false;
    if (form_.calculations != seenCalculations_) {
        seenCalculations_ = form_.calculations;
        // A state whose properties were calculated; a calculation that stopped at a
        // message leaves none.
        const CalculatorState& calc = form_.calc;
        if (!form_.EditZ.text.empty() && calc.T > 0 && calc.P > 0) {
            state_ = PhasePoint{calc.T, calc.P};
            stateFluid_ = calc.fluid;
        } else {
            state_.reset();
        }
        changed = true;
    }
    if (form_.calc.fluid != seenFluid_) {
        seenFluid_ = form_.calc.fluid;
        if (stateFluid_ != seenFluid_) state_.reset();  // calculated for another fluid
        changed = true;
    }
    if (form_.unitT != seenUnitT_ || form_.unitP != seenUnitP_) {
        seenUnitT_ = form_.unitT;
        seenUnitP_ = form_.unitP;
        changed = true;
    }
    if (withCurves && curves_.fluid != seenFluid_) {
        const int f = seenFluid_;
        if (f >= 0 && f < kFluidCount) {
            if (!cache_[f]) cache_[f] = ComputePhaseCurves(f);
            curves_ = *cache_[f];
        } else {
            curves_ = PhaseCurves{};
        }
        changed = true;
    }
    return changed;
}

ChartData PhaseDiagram::Chart() const {
    ChartData chart;
    if (curves_.fluid < 0) return chart;
    const int unitT = form_.unitT, unitP = form_.unitP;
    const FluidConstants& fc = FluidAt(curves_.fluid).constants;
    const double fP = PressureFactor(fc, unitP);
    auto point = [unitT, fP, &fc](const PhasePoint& p) {
        return ChartPoint{TemperatureFromK(fc, unitT, p.T), p.P / fP};
    };
    auto curve = [&point](const char* name, CurveStyle style, const char* color,
                          const std::vector<PhasePoint>& points) {
        ChartCurve c{name, style, color, {{}}};
        for (const PhasePoint& p : points) c.segments[0].push_back(point(p));
        return c;
    };

    chart.title = std::string("Phase diagram of ") + FluidAt(curves_.fluid).constants.name;
    chart.xTitle = "T (" + form_.temperatureLabels[unitT] + ")";
    chart.yTitle = "P (" + form_.pressureLabels[unitP] + ")";
    chart.logY = true;
    chart.curves.push_back(curve("Saturation curve", CurveStyle::Line, "#1f5fb4", curves_.saturation));
    if (!curves_.melting.empty())
        chart.curves.push_back(curve("Melting curve", CurveStyle::Line, "#2a9d3a", curves_.melting));
    if (!curves_.sublimation.empty())
        chart.curves.push_back(curve("Sublimation curve", CurveStyle::Line, "#e07b10", curves_.sublimation));
    chart.curves.push_back(curve("Critical point", CurveStyle::Points, "#000000", {curves_.critical}));
    if (state_ && stateFluid_ == curves_.fluid) {
        chart.curves.push_back(curve("State point", CurveStyle::Points, "#d62728", {*state_}));
        const ChartPoint p = point(*state_);
        chart.note = "State point: T = " + FormatDisplay(p.x) + " " + form_.temperatureLabels[unitT] +
                     ", P = " + FormatDisplay(p.y) + " " + form_.pressureLabels[unitP] + ". ";
    }
    if (curves_.melting.empty()) chart.note += "The model of this fluid gives no melting pressure.";
    return chart;
}

}  // namespace kelvane
