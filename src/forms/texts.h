// The system's texts for the engine's statuses and messages.
#pragma once

#include <string>

#include "core/calculate.h"

namespace kelvane {

// The message line's text of one message.
const char* MessageText(MessageId id);

// All messages of a result, in order, as the message line shows them.
std::string MessageLine(const PointResult& r);

// The text shown for a quantity whose status is not kValue ("over Tc", "N/A",
// "N/A (background)" with the background in the display format, ...); empty for kUnset.
std::string StatusText(const Quantity& q);

}  // namespace kelvane
