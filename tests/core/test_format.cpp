#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/format.h"
#include "forms/fields.h"

using namespace kelvane;

TEST(FormatDisplay, ExamplesAndFixedScientificSwitch) {
    EXPECT_EQ(FormatDisplay(647.096), "647.096");
    EXPECT_EQ(FormatDisplay(22064000), "22064000");
    EXPECT_EQ(FormatDisplay(220640000), "2.2064E8");
    EXPECT_EQ(FormatDisplay(0.0001), "0.0001");
    EXPECT_EQ(FormatDisplay(0.00001234), "1.234E-5");
    EXPECT_EQ(FormatDisplay(2.0 / 3.0), "0.66666667");
    EXPECT_EQ(FormatDisplay(123456789), "1.2345679E8");
    EXPECT_EQ(FormatDisplay(12345678), "12345678");
    // e = -3 is the last fixed exponent; e = -4 switches to scientific.
    EXPECT_EQ(FormatDisplay(0.00012345), "0.00012345");
    EXPECT_EQ(FormatDisplay(0.000099999), "9.9999E-5");
    EXPECT_EQ(FormatDisplay(1e8), "1E8");
    EXPECT_EQ(FormatDisplay(99999999), "99999999");
    EXPECT_EQ(FormatDisplay(-1.5e-10), "-1.5E-10");
    EXPECT_EQ(FormatDisplay(1e100), "1E100");
    EXPECT_EQ(FormatDisplay(4.9e-324), "4.9406565E-324");
    EXPECT_EQ(FormatDisplay(100), "100");
    EXPECT_EQ(FormatDisplay(0.5), "0.5");
}

TEST(FormatDisplay, RoundingThatCarriesMovesTheExponent) {
    EXPECT_EQ(FormatDisplay(9.99999999), "10");
    EXPECT_EQ(FormatDisplay(99999999.7), "1E8");
    EXPECT_EQ(FormatDisplay(0.000999999999), "0.001");
    EXPECT_EQ(FormatDisplay(-9.999999996), "-10");
}

TEST(FormatDisplay, ZeroAndNonFinite) {
    EXPECT_EQ(FormatDisplay(0.0), "0");
    EXPECT_EQ(FormatDisplay(-0.0), "0");
    EXPECT_EQ(FormatDisplay(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatDisplay(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatDisplay(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(FormatFile, FifteenDigitsAndWiderFixedRange) {
    EXPECT_EQ(FormatFile(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatFile(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatFile(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatFile(1e15), "1E15");
    EXPECT_EQ(FormatFile(220640000), "220640000");
    EXPECT_EQ(FormatFile(22.064e6), "22064000");
    EXPECT_EQ(FormatFile(0.00001234), "1.234E-5");
    EXPECT_EQ(FormatFile(-2.5), "-2.5");
}

TEST(FormatGeneral, ExactTiesRoundToEvenAndCarry) {
    // Binary values exactly halfway between two 8- or 15-digit results.
    EXPECT_EQ(FormatDisplay(12345678.5), "12345678");
    EXPECT_EQ(FormatDisplay(12345677.5), "12345678");
    EXPECT_EQ(FormatDisplay(1234567.25), "1234567.2");
    EXPECT_EQ(FormatDisplay(-1234567.75), "-1234567.8");
    EXPECT_EQ(FormatFile(999999999999999.5), "1E15");
    EXPECT_EQ(FormatFile(999999999999998.5), "999999999999998");
}

TEST(FormatGeneral, ExtremeMagnitudes) {
    EXPECT_EQ(FormatFile(std::numeric_limits<double>::max()), "1.79769313486232E308");
    EXPECT_EQ(FormatFile(std::numeric_limits<double>::min()), "2.2250738585072E-308");
    EXPECT_EQ(FormatFile(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
    EXPECT_EQ(FormatDisplay(-1.2345678912345e-30), "-1.2345679E-30");
    EXPECT_EQ(FormatDisplay(9.87654321987e40), "9.8765432E40");
    // Every decade: the double nearest 10^k is shown as exactly 10^k (for subnormals
    // only while their precision still covers the digits).
    for (int k = -315; k <= 308; ++k) {
        const double x = ParseLeading("1e" + std::to_string(k));
        const std::string fraction = k < 0 ? "0." + std::string(-k - 1, '0') + "1" : "";
        const std::string integer = k >= 0 ? "1" + std::string(k, '0') : "";
        const std::string scientific = "1E" + std::to_string(k);
        if (k >= -307) {
            EXPECT_EQ(FormatFile(x), k >= -4 && k <= 14 ? fraction + integer : scientific) << k;
        }
        EXPECT_EQ(FormatDisplay(x), k >= -4 && k <= 7 ? fraction + integer : scientific) << k;
    }
}

TEST(FormatFile, RoundTripsThroughParseLeading) {
    for (double x : {647.096, 1e-7, 3.14159265358979, -1234.5678e-12, 5.1e22}) {
        const double back = ParseLeading(FormatFile(x));
        EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << FormatFile(x);
    }
}

TEST(ParseStrict, AcceptsWholeDecimalNumbers) {
    EXPECT_EQ(ParseStrict("647.096"), 647.096);
    EXPECT_EQ(ParseStrict("  -1.5e3  "), -1500);
    EXPECT_EQ(ParseStrict("+2"), 2);
    EXPECT_EQ(ParseStrict("1E-3"), 0.001);
    EXPECT_EQ(ParseStrict(".5"), 0.5);
    EXPECT_EQ(ParseStrict("5."), 5);
    EXPECT_EQ(ParseStrict("-0"), 0);
    EXPECT_TRUE(std::signbit(ParseStrict("-0")));
    EXPECT_EQ(ParseStrict("1e-999"), 0);
}

TEST(ParseStrict, CorrectlyRoundedAroundTheShortConversion) {
    // Up to 2^53 with at most 22 powers of ten the conversion is one exact operation;
    // beyond that the full conversion must still round correctly.
    EXPECT_EQ(ParseStrict("9007199254740992"), 9007199254740992.0);
    EXPECT_EQ(ParseStrict("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(ParseStrict("9007199254740995"), 9007199254740996.0);
    EXPECT_EQ(ParseStrict("1e22"), 1e22);
    EXPECT_EQ(ParseStrict("1e23"), 1e23);
    EXPECT_EQ(ParseStrict("123.456e-20"), 123.456e-20);
    EXPECT_EQ(ParseStrict("0.1e-22"), 0.1e-22);
    EXPECT_EQ(ParseStrict("0.000000000000000000000000123"), 1.23e-25);
    EXPECT_EQ(ParseStrict("12345678901234567890"), 12345678901234567890.0);
    EXPECT_EQ(ParseStrict("8.98846567431158e307"), 8.98846567431158e307);
    EXPECT_EQ(ParseStrict("1e-0000000000000000000000000000005"), 1e-5);
    EXPECT_TRUE(std::signbit(ParseStrict("-0.0e5")));
}

TEST(ParseStrict, RejectsEverythingElseQuotingTheText) {
    for (const char* bad : {"", "   ", "1e", ".", "1.2.3", "nan", "inf", "abc", "1 2", "1,5", "--1", "e5", "1e+",
                            "0x10", "1e999", "\xc3\xa9"}) {
        try {
            ParseStrict(bad);
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const ConversionError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("\"") + bad + "\""), std::string::npos);
            EXPECT_EQ(e.Text(), bad);
        }
    }
}

TEST(ParseLeading, TakesTheLongestNumericPrefix) {
    EXPECT_EQ(ParseLeading("22064000"), 22064000);
    EXPECT_EQ(ParseLeading("  12.5abc"), 12.5);
    EXPECT_EQ(ParseLeading("1e5x"), 1e5);
    EXPECT_EQ(ParseLeading("1e"), 1);
    EXPECT_EQ(ParseLeading("1.2.3"), 1.2);
    EXPECT_EQ(ParseLeading("-.5e-1 MPa"), -0.05);
    EXPECT_EQ(ParseLeading("over Tc"), 0);
    EXPECT_EQ(ParseLeading(">800MPa"), 0);
    EXPECT_EQ(ParseLeading("N/A"), 0);
    EXPECT_EQ(ParseLeading(""), 0);
    EXPECT_EQ(ParseLeading("."), 0);
    EXPECT_EQ(ParseLeading("-"), 0);
    EXPECT_EQ(ParseLeading("INF"), 0);
    EXPECT_TRUE(std::isinf(ParseLeading("1e999")));
}

TEST(ParseStrictInt, WholeIntegerOnly) {
    EXPECT_EQ(ParseStrictInt(" 3 "), 3);
    EXPECT_EQ(ParseStrictInt("-2"), -2);
    EXPECT_THROW(ParseStrictInt("1.5"), ConversionError);
    EXPECT_THROW(ParseStrictInt(""), ConversionError);
    EXPECT_THROW(ParseStrictInt("99999999999"), ConversionError);
}

TEST(FormatResult, FollowsThePreciseSwitch) {
    EXPECT_EQ(FormatResult(1.0 / 3.0, false), "0.33333333");
    EXPECT_EQ(FormatResult(1.0 / 3.0, true), "0.333333333333333");
    EXPECT_EQ(FormatResult(1.0 / 3.0, false), FormatDisplay(1.0 / 3.0));
    EXPECT_EQ(FormatResult(1.0 / 3.0, true), FormatFile(1.0 / 3.0));
}
