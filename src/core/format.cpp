#include "core/format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace kelvane {

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("\"" + text + "\" is not a valid number."), text_(text) {}

namespace {

using Wide = unsigned __int128;

// 5^k for k = 0..54 (5^54 < 2^126).
constexpr int kMaxPow5 = 54;
constexpr auto kPow5 = [] {
    std::array<Wide, kMaxPow5 + 1> t{};
    t[0] = 1;
    for (int k = 1; k <= kMaxPow5; ++k) t[k] = t[k - 1] * 5;
    return t;
}();

constexpr auto kPow10 = [] {
    std::array<std::uint64_t, 19> t{};
    t[0] = 1;
    for (size_t k = 1; k < t.size(); ++k) t[k] = t[k - 1] * 10;
    return t;
}();

int BitLength(Wide v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    if (high) return 128 - __builtin_clzll(high);
    const auto low = static_cast<std::uint64_t>(v);
    return low ? 64 - __builtin_clzll(low) : 0;
}

// floor(m * 2^q * 10^s) for the significand m < 2^53, and the sign of the remainder
// against one half (-1 below, 0 exactly half, +1 above). Exact integer arithmetic:
// m * 2^q * 10^s = m * 5^s * 2^(q+s), or m * 2^(q+s) / 5^-s. False when the operands
// would not fit in 128 bits.
bool ScaleExactly(std::uint64_t m, int q, int s, std::uint64_t& quotient, int& half) {
    Wide num = m, den = 1;
    if (s >= 0) {
        if (s > 32) return false;  // m * 5^32 < 2^128
        num *= kPow5[s];
    } else {
        if (-s > kMaxPow5) return false;
        den = kPow5[-s];
    }
    const int k = q + s;
    if (k >= 0) {
        if (k >= 128 - BitLength(num)) return false;
        num <<= k;
    } else if (den == 1) {
        // A power-of-two divisor: shift and mask.
        const int shift = -k;
        if (shift >= 128) return false;
        const Wide q128 = num >> shift;
        const Wide rest = num & ((Wide(1) << shift) - 1);
        const Wide halfUnit = Wide(1) << (shift - 1);
        if (q128 >> 64) return false;
        quotient = static_cast<std::uint64_t>(q128);
        half = rest < halfUnit ? -1 : rest == halfUnit ? 0 : 1;
        return true;
    } else {
        if (-k >= 127 - BitLength(den)) return false;
        den <<= -k;
    }
    Wide q128, rest;
    if ((num >> 64) == 0 && (den >> 64) == 0) {
        const auto n64 = static_cast<std::uint64_t>(num), d64 = static_cast<std::uint64_t>(den);
        q128 = n64 / d64;
        rest = n64 % d64;
    } else {
        q128 = num / den;
        rest = num % den;
    }
    if (q128 >> 64) return false;
    quotient = static_cast<std::uint64_t>(q128);
    // den < 2^127, so rest + rest cannot overflow.
    const Wide twice = rest + rest;
    half = twice < den ? -1 : twice == den ? 0 : 1;
    return true;
}

// Rounds the finite, normal, positive x to `digits` (1..17) significant digits, ties
// to even, as the C library's %.*e does. On success `mantissa` holds the digits as an
// integer in [10^(digits-1), 10^digits) and e is the exponent with x = 0.d1d2... * 10^e.
bool RoundSignificant(double x, int digits, std::uint64_t& mantissa, int& e) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0 || biased == 0x7ff) return false;
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int q = biased - 1075;
    // floor(log10 x) is floor(b log10 2) or one more, b the binary exponent; the loop
    // corrects an estimate that is one off either way.
    int e10 = ((biased - 1023) * 78913) >> 18;
    const std::uint64_t low = kPow10[digits - 1], high = kPow10[digits];
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint64_t quotient;
        int half;
        if (!ScaleExactly(m, q, digits - 1 - e10, quotient, half)) return false;
        if (quotient < low) {
            --e10;
            continue;
        }
        if (quotient >= high) {
            ++e10;
            continue;
        }
        if (half > 0 || (half == 0 && (quotient & 1))) ++quotient;
        if (quotient == high) {
            quotient = low;
            ++e10;
        }
        mantissa = quotient;
        e = e10 + 1;
        return true;
    }
    return false;
}

// Digits of |x| rounded to `digits` significant digits through the library's
// conversion, for the values outside RoundSignificant's range (subnormals, huge and
// tiny magnitudes, unusual digit counts). Returns the number of digits written.
int LibraryDigits(double x, int digits, char* out, int& e) {
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, digits - 1);
    if (written.ec == std::errc())
        *written.ptr = '\0';
    else
        std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(x));
    int n = 0;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') out[n++] = *p;
    int exponent = 0;
    bool negative = false;
    if (*p == 'e') {
        ++p;
        if (*p == '+' || *p == '-') negative = *p++ == '-';
        while (*p >= '0' && *p <= '9') exponent = exponent * 10 + (*p++ - '0');
    }
    e = (negative ? -exponent : exponent) + 1;
    return n;
}

}  // namespace

std::string FormatGeneral(double x, int digits, int maxFixedExponent) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0) return "0";

    // The significant digits d1d2...dn, trailing zeros dropped, and e with
    // |x| = 0.d1d2...dn * 10^e after rounding. Correctly rounded decimal digits of the
    // binary value, as printf's %.*e gives them.
    char digitBuf[72];
    int n = 0, e = 0;
    std::uint64_t mantissa = 0;
    if (digits >= 1 && digits <= 17 && RoundSignificant(std::fabs(x), digits, mantissa, e))
        n = static_cast<int>(std::to_chars(digitBuf, digitBuf + 20, mantissa).ptr - digitBuf);
    else
        n = LibraryDigits(x, digits, digitBuf, e);
    while (n > 1 && digitBuf[n - 1] == '0') --n;

    // At most 310 characters: e <= 309 for a finite double.
    char text[400];
    char* p = text;
    if (x < 0) *p++ = '-';
    if (e >= -3 && e <= maxFixedExponent) {
        if (e >= 1) {
            if (n <= e) {
                std::memcpy(p, digitBuf, n);
                std::memset(p + n, '0', e - n);
                p += e;
            } else {
                std::memcpy(p, digitBuf, e);
                p[e] = '.';
                std::memcpy(p + e + 1, digitBuf + e, n - e);
                p += n + 1;
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            for (int i = 0; i < -e; ++i) *p++ = '0';
            std::memcpy(p, digitBuf, n);
            p += n;
        }
    } else {
        *p++ = digitBuf[0];
        if (n > 1) {
            *p++ = '.';
            std::memcpy(p, digitBuf + 1, n - 1);
            p += n - 1;
        }
        *p++ = 'E';
        int exponent = e - 1;
        if (exponent < 0) {
            *p++ = '-';
            exponent = -exponent;
        }
        p = std::to_chars(p, p + 8, exponent).ptr;
    }
    return std::string(text, p - text);
}

std::string FormatDisplay(double x) { return FormatGeneral(x, 8, 8); }
std::string FormatFile(double x) { return FormatGeneral(x, 15, 15); }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of a text that is a decimal number, read in one pass: optional
// sign, digits with an optional "." fraction (at least one digit in all), optional
// exponent ("e" or "E", optional sign, at least one digit).
struct NumberScan {
    size_t length = 0;         // 0 when the text does not start with a number
    std::uint64_t digits = 0;  // the digits as an integer, while `exact`
    int scale = 0;             // the number is digits * 10^scale, while `exact`
    bool exact = true;         // false for more than 19 digits or a long exponent
};

NumberScan ScanNumber(std::string_view s) {
    // Locals rather than the result's fields: stores through the result could alias
    // the text's characters and force a reload per character.
    const char* const begin = s.data();
    const char* const stop = begin + s.size();
    const char* p = begin;
    // All digits, leading zeros included, go into `digits`; up to 19 of them fit.
    std::uint64_t digits = 0;
    int scale = 0;
    if (p < stop && (*p == '+' || *p == '-')) ++p;
    const char* const intStart = p;
    for (; p < stop && IsDigit(*p); ++p) digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    size_t count = static_cast<size_t>(p - intStart);
    const char* end = p;
    if (p < stop && *p == '.') {
        const char* const fracStart = ++p;
        for (; p < stop && IsDigit(*p); ++p) digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        scale = -static_cast<int>(p - fracStart);
        count += static_cast<size_t>(p - fracStart);
        if (count > 0) end = p;
    }
    NumberScan r;
    if (count == 0) return r;
    bool exact = count <= 19;
    if (end < stop && (*end == 'e' || *end == 'E')) {
        const char* q = end + 1;
        bool negative = false;
        if (q < stop && (*q == '+' || *q == '-')) negative = *q++ == '-';
        int exponent = 0;
        const char* const first = q;
        for (; q < stop && IsDigit(*q); ++q) {
            if (exponent < 100000)
                exponent = exponent * 10 + (*q - '0');
            else
                exact = false;
        }
        if (q > first) {
            end = q;
            scale += negative ? -exponent : exponent;
        }
    }
    r.length = static_cast<size_t>(end - begin);
    r.digits = digits;
    r.scale = scale;
    r.exact = exact;
    return r;
}

// Exact powers of ten in double precision.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Converts a complete decimal number text. Magnitudes beyond the double range give
// +-infinity (overflow) or +-0 (underflow) and set `overflow` for the former.
//
// The common case, digits <= 2^53 and |scale| <= 22, needs no library call: both
// factors are exact doubles, so the one rounding of digits * 10^scale (or of the
// quotient) is the correctly rounded value, the one the library's conversion gives.
double ConvertNumber(std::string_view s, const NumberScan& scan, bool& overflow) {
    overflow = false;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    double value = 0;
    if (scan.exact && scan.digits <= (std::uint64_t(1) << 53) && scan.scale >= -22 && scan.scale <= 22) {
        const double d = static_cast<double>(scan.digits);
        value = scan.scale >= 0 ? d * kExactPow10[scan.scale] : d / kExactPow10[-scan.scale];
        return negative ? -value : value;
    }
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
    const NumberScan scan = ScanNumber(s);
    if (s.empty() || scan.length != s.size()) throw ConversionError(std::string(text));
    bool overflow = false;
    const double v = ConvertNumber(s, scan, overflow);
    if (overflow) throw ConversionError(std::string(text));
    return v;
}

double ParseLeading(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    const NumberScan scan = ScanNumber(s);
    if (scan.length == 0) return 0;
    bool overflow = false;
    return ConvertNumber(s.substr(0, scan.length), scan, overflow);
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
