#include "core/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kelvane {

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("\"" + text + "\" is not a valid number."), text_(text) {}

std::string FormatGeneral(double x, int digits, int maxFixedExponent) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0) return "0";

    // Round to `digits` significant digits: d.ddd...e<E>, so that e = E + 1.
    // Correctly rounded decimal digits of the binary value, as printf's %.*e gives
    // them, without the cost of printf.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, digits - 1);
    if (written.ec == std::errc())
        *written.ptr = '\0';
    else
        std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(x));
    std::string mantissa;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') mantissa.push_back(*p);
    const int e = std::atoi(p + 1) + 1;
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = x < 0 ? "-" : "";
    if (e >= -3 && e <= maxFixedExponent) {
        if (e >= 1) {
            if (static_cast<int>(mantissa.size()) <= e) {
                out += mantissa;
                out.append(e - mantissa.size(), '0');
            } else {
                out += mantissa.substr(0, e);
                out += '.';
                out += mantissa.substr(e);
            }
        } else {
            out += "0.";
            out.append(-e, '0');
            out += mantissa;
        }
    } else {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += '.';
            out += mantissa.substr(1);
        }
        out += 'E';
        out += std::to_string(e - 1);
    }
    return out;
}

std::string FormatDisplay(double x) { return FormatGeneral(x, 8, 8); }
std::string FormatFile(double x) { return FormatGeneral(x, 15, 15); }

namespace {
bool preciseResults = false;
}

std::string FormatResult(double x) { return preciseResults ? FormatFile(x) : FormatDisplay(x); }
void SetPreciseResults(bool precise) { preciseResults = precise; }
bool PreciseResults() { return preciseResults; }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s that is a decimal number (0 when there is none).
size_t NumberPrefix(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t intDigits = 0, fracDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++intDigits;
    size_t end = i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++fracDigits;
        if (intDigits + fracDigits > 0) end = i;
    }
    if (intDigits + fracDigits == 0) return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t j = end + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < s.size() && IsDigit(s[j])) ++j, ++expDigits;
        if (expDigits > 0) end = j;
    }
    return end;
}

// Converts a complete decimal number text. Magnitudes beyond the double range give
// +-infinity (overflow) or +-0 (underflow) and set `overflow` for the former.
double ConvertNumber(std::string_view s, bool& overflow) {
    overflow = false;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal exponent of the
        // first non-zero digit.
        long exponent = 0;
        size_t epos = s.find_first_of("eE");
        std::string_view mant = s.substr(0, epos);
        if (epos != std::string_view::npos) {
            std::string_view ex = s.substr(epos + 1);
            bool eneg = !ex.empty() && ex[0] == '-';
            if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) ex.remove_prefix(1);
            for (char c : ex) {
                exponent = exponent * 10 + (c - '0');
                if (exponent > 100000) break;
            }
            if (eneg) exponent = -exponent;
        }
        size_t dot = mant.find('.');
        size_t first = mant.find_first_of("123456789");
        long lead;  // position of the first non-zero digit relative to the point
        if (dot == std::string_view::npos) dot = mant.size();
        lead = first < dot ? static_cast<long>(dot - first) : -static_cast<long>(first - dot) + 1;
        if (exponent + lead > 0) {
            overflow = true;
            value = std::numeric_limits<double>::infinity();
        } else {
            value = 0;
        }
    }
    (void)ptr;
    return negative ? -value : value;
}

}  // namespace

double ParseStrict(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    const size_t n = NumberPrefix(s);
    if (s.empty() || n != s.size()) throw ConversionError(std::string(text));
    bool overflow = false;
    const double v = ConvertNumber(s, overflow);
    if (overflow) throw ConversionError(std::string(text));
    return v;
}

double ParseLeading(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    const size_t n = NumberPrefix(s);
    if (n == 0) return 0;
    bool overflow = false;
    return ConvertNumber(s.substr(0, n), overflow);
}

int ParseStrictInt(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    bool negative = false;
    std::string_view digits = s;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    int value = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
        throw ConversionError(std::string(text));
    return negative ? -value : value;
}

}  // namespace kelvane
