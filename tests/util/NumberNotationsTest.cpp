// Hexadecimal, arbitrary-base, Roman and binary notations.
#include <gtest/gtest.h>

#include <cstdint>

#include "util/NumberNotations.h"

TEST(NumberNotations, HexTakesNegativeNumbersAsUnsigned32Bits)
{
    EXPECT_EQ(Dec2Hex(255, 4), "00FF");
    EXPECT_EQ(D2H(-1, 2), "FFFFFFFF");
    EXPECT_EQ(Hex2Dec("ff"), 255);
    EXPECT_EQ(H2D("$1F"), 31);
    EXPECT_EQ(Hex2Dec("FFFFFFFF"), -1);
    EXPECT_EQ(Hex2Dec("xyz"), 0);
    EXPECT_EQ(Hex2Dec(""), 0);
    EXPECT_EQ(Hex2Dec("1$F"), 0);
}

TEST(NumberNotations, Dec2NumbPadsWithZeros)
{
    EXPECT_EQ(Dec2Numb(255, 4, 16), "00FF");
    EXPECT_EQ(Dec2Numb(0, 1, 2), "0");
    EXPECT_EQ(Dec2Numb(0, 3, 2), "000");
    EXPECT_EQ(Dec2Numb(35, 0, 36), "Z");
    EXPECT_EQ(Dec2Numb(-1, 0, 2), String(32, '1'));
}

TEST(NumberNotations, BaseOutsideTwoTo36GivesEmptyTextOrZero)
{
    for (int base : {-5, 0, 1, 37, 256}) {
        EXPECT_EQ(Dec2Numb(1234, 2, base), "") << base;
        EXPECT_EQ(Numb2Dec("1234", base), 0) << base;
    }
}

TEST(NumberNotations, Numb2DecReadsUncheckedDigitsAndWraps)
{
    EXPECT_EQ(Numb2Dec("ff", 16), 255);
    EXPECT_EQ(Numb2Dec("zz", 36), 35 * 36 + 35);
    // No digit check: '9' in base 8 still counts nine.
    EXPECT_EQ(Numb2Dec("19", 8), 17);
    EXPECT_EQ(Numb2Dec("100000000", 16), 0);
}

TEST(NumberNotations, EveryBaseRoundTrips)
{
    const std::uint32_t samples[] = {0u,          1u,          2u,         35u,        36u,
                                     255u,        1000u,       65535u,     123456789u, 0x7FFFFFFFu,
                                     0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    for (int base = 2; base <= 36; ++base)
        for (std::uint32_t n : samples) {
            const int value = static_cast<int>(n);
            EXPECT_EQ(Numb2Dec(Dec2Numb(value, 1, base), base), value) << n << " base " << base;
            EXPECT_EQ(Numb2Dec(LowerCase(Dec2Numb(value, 40, base)), base), value);
        }
}

TEST(NumberNotations, RomanNumeralsRoundTripFrom1To3999)
{
    EXPECT_EQ(IntToRoman(1994), "MCMXCIV");
    EXPECT_EQ(IntToRoman(3888), "MMMDCCCLXXXVIII");
    EXPECT_EQ(IntToRoman(4), "IV");
    EXPECT_EQ(IntToRoman(0), "");
    EXPECT_EQ(IntToRoman(-3), "");
    for (int n = 1; n <= 3999; ++n) {
        const String roman = IntToRoman(n);
        ASSERT_EQ(RomanToInt(roman), n) << roman;
        ASSERT_EQ(RomanToInt(LowerCase(roman)), n) << roman;
        ASSERT_EQ(RomanToInt("-" + roman), -n) << roman;
    }
}

TEST(NumberNotations, RomanToIntGivesZeroForAnyOtherCharacter)
{
    EXPECT_EQ(RomanToInt("mcmxciv"), 1994);
    EXPECT_EQ(RomanToInt("MCMZ"), 0);
    EXPECT_EQ(RomanToInt("X I"), 0);
    EXPECT_EQ(RomanToInt(""), 0);
    EXPECT_EQ(RomanToInt("IIII"), 4);
}

TEST(NumberNotations, IntToBinGroupsFromTheRight)
{
    EXPECT_EQ(IntToBin(0xA5, 8, 4), " 1010 0101");
    EXPECT_EQ(IntToBin(0x25, 6, 4), "10 0101");
    EXPECT_EQ(IntToBin(5, 3, 1), " 1 0 1");
    EXPECT_EQ(IntToBin(-1, 32, 8), " 11111111 11111111 11111111 11111111");
}

TEST(NumberNotations, IntToBinBoundsItsDigitCountAndGroupSize)
{
    EXPECT_EQ(IntToBin(5, 64, 99), String(29, '0') + "101");
    EXPECT_EQ(IntToBin(5, 4, 0), "0101");
    EXPECT_EQ(IntToBin(5, 4, -4), "0101");
    EXPECT_EQ(IntToBin(5, 0, 4), "");
    EXPECT_EQ(IntToBin(5, -8, 4), "");
}
