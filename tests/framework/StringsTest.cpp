// Text functions: 1-based positions, number conversion and the checked Format.
#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "framework/Strings.h"

TEST(Positions, PosCountsFromOneAndReturnsZeroWhenAbsent)
{
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("abc", "abc"), 1);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosEx("a", "abca", 2), 4);
    EXPECT_EQ(PosEx("a", "abca", 5), 0);
}

TEST(Positions, CopyDeleteInsertClipOutOfRangeParts)
{
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    String s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 4, 10);
    EXPECT_EQ(s, "ade");
    Delete(s, 9, 1);
    EXPECT_EQ(s, "ade");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYde");
    Insert("!", s, 99);
    EXPECT_EQ(s, "aXYde!");
    EXPECT_EQ(CharAt(s, 1), 'a');
}

TEST(Numbers, StrToIntAcceptsDecimalAndHexAndRejectsTheRest)
{
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_THROW(StrToInt("42 "), EConvertError);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    EXPECT_THROW(StrToInt("-"), EConvertError);
    EXPECT_EQ(StrToIntDef("zz", 7), 7);
    try {
        StrToInt("1.5");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'1.5' is not a valid integer value");
    }
}

TEST(Numbers, IntToHexPadsAndShowsNegativeAs32Bits)
{
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToStr(-17), "-17");
}

TEST(CaseAndBlanks, OnlyAsciiLettersChangeCase)
{
    EXPECT_EQ(UpperCase("abc\xe9z"), "ABC\xe9Z");
    EXPECT_EQ(LowerCase("ABC\xc9Z"), "abc\xc9z");
    EXPECT_TRUE(SameText("Com2", "COM2"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
}

TEST(Format, FormatsEachKindOfSpecifier)
{
    EXPECT_EQ(Format("Port not open (Error: %d)", -1), "Port not open (Error: -1)");
    EXPECT_EQ(Format("%s=%u %x %X %4d|%-4d|%.3d", "a", 7u, 255, 255, 5, 5, 5),
              "a=7 ff FF    5|5   |005");
    EXPECT_EQ(Format("%.2f %c%c 100%%", 3.14159, 'o', 107), "3.14 ok 100%");
    EXPECT_EQ(Format("%1:s %0:s", "a", "b"), "b a");
    EXPECT_EQ(Format("%*d", 3, 1), "  1");
    EXPECT_EQ(Format("%n", 1234567.5), "1,234,567.50");
}

TEST(Format, MismatchedOrMissingArgumentsRaiseInsteadOfReadingGarbage)
{
    EXPECT_THROW(Format("%d"), EConvertError);
    EXPECT_THROW(Format("%s", 5), EConvertError);
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%q", 1), EConvertError);
    EXPECT_THROW(Format("trailing %", 1), EConvertError);
    // Caller text full of specifiers goes through %s untouched.
    EXPECT_EQ(Format("%s", "%n%s%x"), "%n%s%x");
}
