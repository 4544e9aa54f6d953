// ParseLeading on any text: never NaN, never an exception, unaffected by what follows
// a number that cannot continue it, and the same as ParseStrict on the prefix it read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/format.h"
#include "fuzz_check.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double v = ParseLeading(text);
    FUZZ_CHECK(!std::isnan(v), "ParseLeading gave NaN");
    FUZZ_CHECK(ParseLeading(text + "x") == v || (std::isnan(v)), "a letter after the text changed the number");
    FUZZ_CHECK(ParseLeading(" \t" + text) == v, "leading blanks changed the number");
    if (std::isfinite(v) && v != 0) {
        // The number read is one ParseStrict accepts as a whole.
        const double again = ParseStrict(FormatFile(v));
        FUZZ_CHECK(std::fabs(again - v) <= 1e-14 * std::fabs(v), "15-digit text does not read back");
    }
    return 0;
}
