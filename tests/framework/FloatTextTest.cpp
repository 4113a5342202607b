// Floating-point text: what reads as a number and what is refused, and writing with a fixed
// number of decimals (rounding on the decimal form, no "-0.00", carries into a new digit).
// Reading back what was written is fuzzed (FloatTextFuzz.cpp).
#include <gtest/gtest.h>

#include <limits>

#include "framework/Exceptions.h"
#include "framework/FloatText.h"

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(FloatTextTest, DecimalNotationReadsAndEverythingElseIsRefusedWithItsText)
{
    EXPECT_EQ(StrToFloat("3.14"), 3.14);
    EXPECT_EQ(StrToFloat("  -2.5 "), -2.5);
    EXPECT_EQ(StrToFloat("+1e3"), 1000.0);
    EXPECT_EQ(StrToFloat(".5"), 0.5);
    EXPECT_EQ(StrToFloat("5."), 5.0);
    EXPECT_EQ(StrToFloat("1E-2"), 0.01);
    for (const char* bad : {"", "-", "+", ".", "1,5", "inf", "nan", "0x10", "1e", "1.2.3", "1e999",
                            "- 1", "1 2", "e5"}) {
        double untouched = 7;
        EXPECT_FALSE(TryStrToFloat(bad, untouched)) << bad;
        EXPECT_EQ(untouched, 7) << bad;
    }
    try {
        StrToFloat("1.2.3");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'1.2.3' is not a valid floating point value");
    }
}

TEST(FloatTextTest, FixedDecimalsRoundHalfAwayFromZeroOnTheDecimalForm)
{
    EXPECT_EQ(FormatFixed(3.14159, 2), "3.14");
    EXPECT_EQ(FormatFixed(2.675, 2), "2.68");  // the double lies just below 2.675
    EXPECT_EQ(FormatFixed(-2.675, 2), "-2.68");
    EXPECT_EQ(FormatFixed(0.5, 0), "1");
    EXPECT_EQ(FormatFixed(-0.5, 0), "-1");
    EXPECT_EQ(FormatFixed(9.995, 2), "10.00");
    EXPECT_EQ(FormatFixed(999.5, 0), "1000");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(0.00005, 4), "0.0001");
    EXPECT_EQ(FormatFixed(0.00004, 2), "0.00");
    EXPECT_EQ(FormatFixed(0, 0), "0");
    EXPECT_EQ(FormatFixed(123.456, 6), "123.456000");
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(1.5, -3), "2");
    EXPECT_EQ(FormatFixed(1.0 / 3, 40), "0.333333333333333300");  // held at 18 decimals
    EXPECT_EQ(FormatFixed(Infinity, 2), "INF");
    EXPECT_EQ(FormatFixed(-Infinity, 2), "-INF");
}
