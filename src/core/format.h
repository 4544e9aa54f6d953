// Number texts: the display and file formats, and the two ways a text becomes a number.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvane {

// Raised when typed input is not a number; the message quotes the offending text.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& text);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// General format: `digits` significant digits, trailing zeros dropped, fixed notation
// for decimal exponents e (x = 0.d1d2... * 10^e) with -3 <= e <= maxFixedExponent,
// otherwise d1.d2...E<e-1>. Non-finite values are "INF", "-INF" and "NAN".
std::string FormatGeneral(double x, int digits, int maxFixedExponent);

// 8 significant digits; used for every value shown in a window.
std::string FormatDisplay(double x);

// 15 significant digits; the precision at which the calculation carries saturation and
// melting values, and the format of the values written to table files.
std::string FormatFile(double x);

// The whole text (apart from leading and trailing blanks) must be one decimal number:
// optional sign, digits with an optional "." fraction, optional exponent. Otherwise,
// and for a magnitude beyond the double range, throws ConversionError.
double ParseStrict(std::string_view text);

// Converts the longest leading decimal number after leading blanks and ignores the
// rest; a text without such a prefix gives 0.
double ParseLeading(std::string_view text);

// Whole-text integer conversion for counts typed by the user (e.g. lines to skip).
int ParseStrictInt(std::string_view text);

}  // namespace kelvane
