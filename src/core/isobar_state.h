// States given by the pressure and the molar enthalpy or entropy (inputVar 2 and 3 of
// PointInput): the temperature on the isobar whose state has the given value, then the
// (T, P) calculation there; or, between the saturated liquid and vapour at a pressure
// below the critical one, the two-phase state of the lever rule.
#pragma once

#include "core/calculate.h"
#include "core/fluid_model.h"

namespace kelvane {

// The accepted temperatures at the pressure P (Pa): the interval on which the
// temperature and state checks of `fluid` let the (T, P) calculation through, and the
// messages of the states just outside it. `accepted` is false when no temperature is
// accepted; `outside` then holds the message.
struct IsobarRange {
    bool accepted = false;
    double Tlow = 0, Thigh = 0;  // K
    MessageId belowLow = MessageId::kNone, aboveHigh = MessageId::kNone, outside = MessageId::kNone;
};
IsobarRange IsobarRangeOf(const Fluid& fluid, double P);

// The state at pressure input.P with molar enthalpy input.h (inputVar 2, J/mol) or
// molar entropy input.s (inputVar 3, J/(mol K)). Called by Calculate for those inputs.
PointResult CalculateOnIsobar(const Fluid& fluid, const PointInput& input);

}  // namespace kelvane
