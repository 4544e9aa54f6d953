// The comma list of a table axis and the "x,y,z" series generator on any text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/format.h"
#include "fuzz_check.h"
#include "tables/value_lists.h"

using namespace kelvane;

namespace {

// The number of values the list rule gives: each non-empty field before a comma, plus
// the last field.
int ExpectedCount(std::string_view text) {
    int n = 1;
    size_t start = 0;
    for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',', start)) {
        if (comma > start) ++n;
        start = comma + 1;
    }
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static ValueArray values;
    const ListResult r = ParseList(text, values);
    const int expected = ExpectedCount(text);
    FUZZ_CHECK(r.count >= 1 && r.count <= kMaxValues, "list count out of range");
    FUZZ_CHECK(r.count == std::min(expected, kMaxValues), "list count differs from the rule");
    FUZZ_CHECK(r.truncated == (expected > kMaxValues), "truncation flag wrong");
    for (int i = 0; i < r.count; ++i) FUZZ_CHECK(!std::isnan(values[i]), "NaN in a list");

    const SeriesResult s = MakeSeries(text);
    if (s.text == kSeriesFormatMessage || s.text == kSeriesCountMessage) return 0;
    if (s.text == kSeriesNotFiniteMessage) {
        // Refused only when a value of the series would not be finite.
        bool overflow = !std::isfinite(values[0]) || !std::isfinite(values[1]);
        for (int i = 1; !overflow && i < values[2] && i < kMaxValues; ++i)
            overflow = !std::isfinite(i * values[1] + values[0]);
        FUZZ_CHECK(overflow, "a finite series refused as not finite");
        return 0;
    }
    static ValueArray series;
    const ListResult made = ParseList(s.text, series);
    FUZZ_CHECK(!made.truncated, "a series longer than a list");
    FUZZ_CHECK(made.count == ExpectedCount(s.text), "a series with an empty field");
    FUZZ_CHECK(values[2] >= 1, "a series for z < 1");
    const double z = values[2];
    FUZZ_CHECK(made.count == (z >= kMaxValues ? kMaxValues : static_cast<int>(std::ceil(z))), "series length");
    FUZZ_CHECK(s.capped == (std::ceil(z) > kMaxValues), "series cap flag wrong");
    return 0;
}
