// ParseStrict on any text: it returns a finite number or raises the conversion error
// quoting the text; an accepted text reads the same with ParseLeading, and the number
// survives the file format (15 digits) and the display format (8 digits).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/format.h"
#include "fuzz_check.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    double v;
    try {
        v = ParseStrict(text);
    } catch (const ConversionError& e) {
        FUZZ_CHECK(e.Text() == text, "the conversion error quotes another text");
        return 0;
    }
    FUZZ_CHECK(std::isfinite(v), "ParseStrict accepted a non-finite value");
    FUZZ_CHECK(ParseLeading(text) == v, "ParseLeading reads an accepted text differently");

    const double file = ParseStrict(FormatFile(v));
    FUZZ_CHECK(file == v || std::fabs(file - v) <= 1e-14 * std::fabs(v), "15-digit text does not read back");
    const double display = ParseStrict(FormatDisplay(v));
    FUZZ_CHECK(display == v || std::fabs(display - v) <= 5.1e-8 * std::fabs(v), "8-digit text does not read back");
    return 0;
}
