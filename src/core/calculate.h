// The point calculation: from a fluid and a state given as (T, P), (T, rho), (P, h) or
// (P, s) to the
// range checks, the melting and saturation values, the density or pressure, the 14
// results and the secondary results, as numbers with a status for each. The same
// function serves the windows, the tables, the command-line tool and the Python
// module; it keeps no state between calls apart from per-thread caches, so any number
// of threads may calculate at once with bit-identical results.
#pragma once

#include <array>

#include "core/fluid_model.h"

namespace kelvane {

struct PointInput {
    int inputVar = 0;  // 0: T and P given, 1: T and rho given, 2: P and h given, 3: P and s given
    double T = 0;      // K (inputVar 0 and 1)
    double P = 0;      // Pa (inputVar 0, 2 and 3)
    double rho = 0;    // mol/m3 (inputVar 1)
    double wavelength = 589;  // nm, for the refractive index
    double h = 0, s = 0;  // J/mol (inputVar 2), J/(mol K) (inputVar 3)
};

struct PointResult {
    // The state point: T, the given and the solved one of P and rho, the reduced
    // variables and the saturation and melting values used by the calculation.
    PointContext state;
    // Which of P and rho the calculation produced for display: the given variable is
    // always shown; the other once it was found (P also when its range check failed).
    bool hasP = false, hasRho = false;
    // Melting and saturation, present once the temperature passed its range check.
    // Their numbers are carried at 15 significant digits, as the calculation uses them.
    Quantity melt;
    SaturationState saturation;
    // The 14 results and the secondary results, present when hasProperties.
    bool hasProperties = false;
    PropertyResults properties;
    // The messages in the order the message line shows them.
    std::array<MessageId, 4> messages{};
    int messageCount = 0;
    // The vapour fraction of a two-phase state of given quality (kValue), else unset.
    // Such a state has no Cv, Cp, W, JT, alpha or kappa (ResultAvailable) and no
    // transport or electrical results.
    Quantity quality;

    bool ResultAvailable(int index) const {
        if (!quality.HasValue()) return true;
        switch (index) {
            case kCv: case kCp: case kW: case kJT: case kAlpha: case kKappa: return false;
            default: return true;
        }
    }

    void AddMessage(MessageId m) {
        if (m != MessageId::kNone && messageCount < static_cast<int>(messages.size())) messages[messageCount++] = m;
    }
    bool HasMessage(MessageId m) const {
        for (int i = 0; i < messageCount; ++i)
            if (messages[i] == m) return true;
        return false;
    }
};

// For (P, h) and (P, s) the state is the one of CalculateOnIsobar (core/isobar_state.h):
// the (T, P) result at the temperature whose enthalpy or entropy is the given one, or
// the two-phase state of that pressure; state.inputVar tells the pair given.
PointResult Calculate(const Fluid& fluid, const PointInput& input);

// Saturation of `fluid` at tau = Tred/T with its numbers rounded to 15 significant
// digits as the calculation uses them. For a fluid whose saturation depends on the
// temperature alone the last answer of this thread is remembered (the cells of a table
// row share one temperature), keyed on the fluid and the exact bits of tau and T.
SaturationState CalculationSaturation(const Fluid& fluid, double tau, double T);

// x rounded to 15 significant digits (exactly the value of its 15-digit decimal text).
double RoundTo15Digits(double x);

}  // namespace kelvane
