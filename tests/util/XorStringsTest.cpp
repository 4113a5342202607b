// The XOR routines: key repetition, the hexadecimal form and the round trip.
#include <gtest/gtest.h>

#include <random>

#include "util/XorStrings.h"

TEST(XorStrings, KeyRepeatsAlongTheText)
{
    EXPECT_EQ(XorString("\x01\x02", "aaaa"), "`c`c");
    EXPECT_EQ(XorString("", "abc"), "abc");
    EXPECT_EQ(XorString("k", ""), "");
    EXPECT_EQ(XorEncode("", "abc"), "616263");
    EXPECT_EQ(XorEncode("\x20", "A\xff"), "61df");
}

TEST(XorStrings, LongTextIsNeverCut)
{
    const String text(1000, 'q');
    EXPECT_EQ(XorString("key", text).size(), 1000u);
    EXPECT_EQ(XorString("key", XorString("key", text)), text);
}

TEST(XorStrings, DecodeReadsBadPairsAsBlankAndIgnoresAnOddDigit)
{
    EXPECT_EQ(XorDecode("", "6162zz63"), "ab c");
    EXPECT_EQ(XorDecode("", "41424"), "AB");
    EXPECT_EQ(XorDecode("", "4A4a"), "JJ");
    EXPECT_EQ(XorDecode("\x01", "zz"), "!");
    EXPECT_EQ(XorDecode("", ""), "");
}

TEST(XorStrings, DecodeUndoesEncodeForAnyTextAndKey)
{
    std::mt19937 random(33);
    for (int round = 0; round < 2000; ++round) {
        String key(random() % 5, ' ');
        for (char& c : key) c = static_cast<char>(random());
        String text(random() % 40, ' ');
        for (char& c : text) c = static_cast<char>(random());
        const String encoded = XorEncode(key, text);
        ASSERT_EQ(encoded.size(), 2 * text.size());
        ASSERT_EQ(XorDecode(key, encoded), text);
        ASSERT_EQ(XorString(key, XorString(key, text)), text);
    }
}
