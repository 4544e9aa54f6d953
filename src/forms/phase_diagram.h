// The pressure-temperature phase diagram of a fluid: its saturation curve from the
// lowest accepted temperature to the critical point, computed with the fluid's own
// Saturation operation, its melting curve and, where the melting operation answers
// below the triple point, its sublimation curve; and the state point of the last
// "Calculate". Computed without a windowing toolkit; the phase window draws the chart.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/fluid_model.h"
#include "forms/chart_data.h"

namespace kelvane {

class MainForm;

struct PhasePoint {
    double T;  // K
    double P;  // Pa
};

struct PhaseCurves {
    int fluid = -1;
    double lowestT = 0;  // K, the lowest temperature the fluid accepts
    // Ascending in T and P; the last point is the critical point.
    std::vector<PhasePoint> saturation;
    std::vector<PhasePoint> melting;      // solid-liquid, ascending in T
    std::vector<PhasePoint> sublimation;  // solid-vapour, ascending in T; may be empty
    PhasePoint critical{0, 0};
};

// Temperatures sampled along the saturation curve (denser towards the critical point)
// and along the melting operation's curve.
constexpr int kSaturationSamples = 160;
constexpr int kMeltingSamples = 120;

// The lowest temperature the fluid's formulation accepts (its limits).
double LowestAcceptedTemperature(const Fluid& f);

// The curves of fluid 0..2, computed with the fluid's own operations.
PhaseCurves ComputePhaseCurves(int fluid);

// Saturation pressure on the curve at T, interpolated linearly in ln P over 1/T;
// nullopt outside the curve.
std::optional<double> InterpolateSaturation(const PhaseCurves& curves, double T);

// The diagram of the main form's fluid, following its fluid, its units and its
// calculations.
class PhaseDiagram {
public:
    explicit PhaseDiagram(const MainForm& form) : form_(form) {}

    // Brings the diagram up to the form after each of its actions: takes the state
    // point of a new "Calculate" (none when it stopped at a message), drops it when
    // another fluid is selected, and with `withCurves` computes the curves of the
    // selected fluid (once per fluid). Without, only the cheap bookkeeping is done, so
    // that a hidden window still knows which fluid its state point belongs to.
    // Returns true when the chart changed (units included).
    bool Follow(bool withCurves = true);

    const PhaseCurves& Curves() const { return curves_; }
    const std::optional<PhasePoint>& StatePoint() const { return state_; }
    // The chart in the form's temperature and pressure units, pressure on a log axis.
    ChartData Chart() const;

private:
    const MainForm& form_;
    std::array<std::optional<PhaseCurves>, kFluidCount> cache_;
    PhaseCurves curves_;
    std::optional<PhasePoint> state_;
    int stateFluid_ = -1;
    int seenFluid_ = -2;
    int seenCalculations_ = -1;
    int seenUnitT_ = -1, seenUnitP_ = -1;
};

}  // namespace kelvane
