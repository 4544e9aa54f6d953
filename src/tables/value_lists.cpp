#include "tables/value_lists.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>

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
    if (!std::isfinite(x) || !std::isfinite(y)) return {kSeriesNotFiniteMessage, false};
    r.text = FormatFile(x);
    int i = 1;
    for (; i < z && i < kMaxValues; ++i) {
        const double v = i * y + x;
        // A value beyond the range of numbers is refused like such a list value.
        if (!std::isfinite(v)) return {kSeriesNotFiniteMessage, false};
        r.text += ',';
        r.text += FormatFile(v);
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

std::string EscapedText(std::string_view text) {
    std::string r;
    auto escape = [&r](unsigned char c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        r += buf;
    };
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7f)
                escape(c);
            else
                r.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A UTF-8 character: a lead byte and its continuation bytes, shortest form.
        int n = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        bool valid = n > 0 && i + n < text.size();
        if (valid) {
            for (int k = 1; k <= n; ++k)
                if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) valid = false;
            const unsigned char c1 = valid ? static_cast<unsigned char>(text[i + 1]) : 0;
            if (valid && ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
                          (c == 0xF4 && c1 > 0x8F)))
                valid = false;
        }
        if (valid) {
            r.append(text.substr(i, n + 1));
            i += n + 1;
        } else {
            escape(c);
            ++i;
        }
    }
    return r;
}

ColumnsResult ReadColumns(const std::string& fileName, std::string_view skipText, ValueArray& first,
                          ValueArray& second) {
    ColumnsResult r;
    const std::string named = "The file for reading columns \"" + EscapedText(fileName) + "\"";
    // The whole file is read first: the pairs are the file's content at one moment, and a
    // file that cannot be read completely gives no table.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        r.problem = named + " cannot be opened (" + std::strerror(errno) + ").";
        return r;
    }
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    if (known && S_ISDIR(st.st_mode)) {
        ::close(fd);
        r.problem = named + " is a folder, not a file.";
        return r;
    }
    const std::string tooLarge = named + " is too large for a file of two columns (more than 64 MiB).";
    const std::string binary = named + " is a binary file, not a text of two tab-separated columns.";
    // The pairs fill at most kMaxValues lines of a few kilobytes: a file beyond the limit
    // is no such file. A device or a pipe that never ends (/dev/zero, /dev/urandom) is
    // read up to the limit, or up to its first NUL byte, and no further.
    if (known && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > kMaxColumnsFileBytes) {
        ::close(fd);
        r.problem = tooLarge;
        return r;
    }
    std::string text;
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            r.problem = named + " could not be read completely (" + std::strerror(e) + ").";
            return r;
        }
        if (n == 0) break;
        if (std::memchr(block, '\0', static_cast<size_t>(n)) != nullptr) {
            ::close(fd);
            r.problem = binary;
            return r;
        }
        if (text.size() + static_cast<size_t>(n) > kMaxColumnsFileBytes) {
            ::close(fd);
            r.problem = tooLarge;
            return r;
        }
        text.append(block, static_cast<size_t>(n));
    }
    ::close(fd);
    if (text.empty()) {
        r.problem = named + " is empty.";
        return r;
    }

    const int skip = ParseStrictInt(skipText);
    std::istringstream in(text);
    r = ReadColumns(in, skip, first, second);
    if (r.count == 0) r.problem = named + " holds no line with two tab-separated values.";
    return r;
}

}  // namespace kelvane
