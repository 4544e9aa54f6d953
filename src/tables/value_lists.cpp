#include "tables/value_lists.h"

#include <cmath>
#include <fstream>

#include "core/format.h"

namespace kelvane {

ListResult ParseList(std::string_view text, ValueArray& values) {
    ListResult r;
    auto add = [&](std::string_view field) {
        if (r.count < kMaxValues)
            values[r.count++] = ParseLeading(field);
        else
            r.truncated = true;
    };
    for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',')) {
        if (comma > 0) add(text.substr(0, comma));  // an empty field adds nothing
        text.remove_prefix(comma + 1);
    }
    add(text);  // the last field always counts
    return r;
}

SeriesResult MakeSeries(std::string_view text) {
    ValueArray v;
    const ListResult parsed = ParseList(text, v);
    if (parsed.count != 3 || parsed.truncated) return {kSeriesFormatMessage, false};
    const double x = v[0], y = v[1], z = v[2];
    if (!(z >= 1)) return {kSeriesCountMessage, false};

    SeriesResult r;
    r.text = FormatFile(x);
    int i = 1;
    for (; i < z && i < kMaxValues; ++i) {
        r.text += ',';
        r.text += FormatFile(i * y + x);
    }
    r.capped = i < z;
    return r;
}

ColumnsResult ReadColumns(std::istream& in, int skip, ValueArray& first, ValueArray& second) {
    ColumnsResult r;
    r.opened = true;
    std::string line;
    for (int i = 0; i < skip && std::getline(in, line); ++i) {
    }
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;  // not a data line
        if (r.count == kMaxValues) {
            r.truncated = true;
            break;
        }
        const std::string_view view(line);
        const double x = ParseStrict(view.substr(0, tab));
        std::string_view rest = view.substr(tab + 1);
        // The second field ends at the next tab; a tab right at its start does not
        // count as an end, so the field then runs to the end of the line.
        const size_t next = rest.find('\t');
        if (next != std::string_view::npos && next > 0) rest = rest.substr(0, next);
        const double y = ParseStrict(rest);
        first[r.count] = x;
        second[r.count] = y;
        ++r.count;
    }
    return r;
}

ColumnsResult ReadColumns(const std::string& fileName, std::string_view skipText, ValueArray& first,
                          ValueArray& second) {
    std::ifstream in(fileName);
    if (!in) return {};
    const int skip = ParseStrictInt(skipText);
    return ReadColumns(in, skip, first, second);
}

}  // namespace kelvane
