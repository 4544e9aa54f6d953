// The two-column reader on any file text, with the first byte choosing the number of
// lines to skip: pairs of finite numbers, at most one list of them, or the conversion
// error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/format.h"
#include "fuzz_check.h"
#include "tables/value_lists.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int skip = data[0] % 5 - 1;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    static ValueArray first, second;
    try {
        const ColumnsResult r = ReadColumns(in, skip, first, second);
        FUZZ_CHECK(r.opened, "a stream counts as opened");
        FUZZ_CHECK(r.count >= 0 && r.count <= kMaxValues, "pair count out of range");
        for (int i = 0; i < r.count; ++i)
            FUZZ_CHECK(std::isfinite(first[i]) && std::isfinite(second[i]), "a pair that is not finite");
    } catch (const ConversionError&) {
    }
    return 0;
}
