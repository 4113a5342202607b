// The notation converter's logic: the three edits agree after every change, each bad input
// empties them with its message, the overflow clamps, a long binary text is cut to 32 digits,
// and the conversions the cursor inspector shares.
#include <gtest/gtest.h>

#include <string>

#include "util/NotationModel.h"

namespace {

const std::string AllOnes = "1111 1111 1111 1111 1111 1111 1111 1111";

TEST(HexConversions, GroupsAreFourDigitsAndABlankPerHexDigitAndTheValueKeepsTheLastEight)
{
    EXPECT_EQ(HexToBinaryGroups("0"), "0000 ");
    EXPECT_EQ(HexToBinaryGroups("FF"), "1111 1111 ");
    EXPECT_EQ(HexToBinaryGroups("a5"), "1010 0101 ");
    EXPECT_EQ(HexToBinaryGroups(""), "");
    EXPECT_EQ(HexToUInt("ffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(HexToUInt("1f"), 31u);
    EXPECT_EQ(HexToUInt("123456789"), 0x23456789u);
}

TEST(NotationConverter, DecimalEdgesConvertAndAnOverflowIsClampedWithItsMessage)
{
    TNotationConverter c;
    c.DecimalChanged("0");
    EXPECT_EQ(c.Hexadecimal, "0");
    EXPECT_EQ(c.Binary, "0000");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 4");
    EXPECT_FALSE(c.ErrorReported);

    c.DecimalChanged("4294967295");
    EXPECT_EQ(c.Hexadecimal, "FFFFFFFF");
    EXPECT_EQ(c.Binary, AllOnes);
    EXPECT_EQ(c.Message, "");

    c.DecimalChanged("4294967296");
    EXPECT_EQ(c.Decimal, "4294967295");
    EXPECT_EQ(c.Hexadecimal, "FFFFFFFF");
    EXPECT_EQ(c.Binary, AllOnes);
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 32");
    EXPECT_EQ(c.Message, "Error: overflow - reduced to (max) 4294967295");
    EXPECT_TRUE(c.ErrorReported);

    // A text far past 64 bits (only the program can put one there) is an overflow too.
    c.DecimalChanged("123456789012345678901234567890");
    EXPECT_EQ(c.Decimal, "4294967295");

    // The next good change takes the message away.
    c.DecimalChanged(" 5 ");
    EXPECT_EQ(c.Decimal, "5");
    EXPECT_EQ(c.Binary, "0101");
    EXPECT_EQ(c.Message, "");
    EXPECT_FALSE(c.ErrorReported);
}

TEST(NotationConverter, HexDigitsOfEitherCaseAndLeadingZerosGiveTheirOwnGroups)
{
    TNotationConverter c;
    c.HexChanged("1f");
    EXPECT_EQ(c.Decimal, "31");
    EXPECT_EQ(c.Binary, "0001 1111");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 8");
    c.HexChanged("00FF");
    EXPECT_EQ(c.Decimal, "255");
    EXPECT_EQ(c.Binary, "0000 0000 1111 1111");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 16");
}

TEST(NotationConverter, BinaryKeepsTheUsersGroupingAndCutsPastedDigitsToTheLeftmost32)
{
    TNotationConverter c;
    c.BinaryChanged("1 0000 0001");
    EXPECT_EQ(c.Hexadecimal, "101");
    EXPECT_EQ(c.Decimal, "257");
    EXPECT_EQ(c.Binary, "1 0000 0001");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 9");
    EXPECT_EQ(c.BinaryMaxLength, 39);

    // 33 digits: a one, 31 zeros, a one. The leftmost 32 are 0x80000000.
    const std::string pasted = "1" + std::string(31, '0') + "1";
    c.BinaryChanged(pasted);
    EXPECT_EQ(c.Binary, pasted.substr(0, 32));
    EXPECT_EQ(c.Hexadecimal, "80000000");
    EXPECT_EQ(c.Decimal, "2147483648");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 32");
    EXPECT_EQ(c.Message, "Error: too many digits - truncated/compressed to 32 max.");
    // Full: no more typing.
    EXPECT_EQ(c.BinaryMaxLength, 32);
}

TEST(NotationConverter, EachBadInputEmptiesAllThreeWithItsMessage)
{
    TNotationConverter c;
    c.DecimalChanged("300");
    c.DecimalChanged("12a");
    EXPECT_EQ(c.Decimal + c.Hexadecimal + c.Binary, "");
    EXPECT_EQ(c.Message, "Error: non-decimal characters found");
    EXPECT_TRUE(c.ErrorReported);
    // The count label keeps its last count when the decimal edit is emptied.
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 12");

    c.HexChanged("12");
    c.HexChanged("1.");
    EXPECT_EQ(c.Decimal + c.Hexadecimal + c.Binary, "");
    EXPECT_EQ(c.Message, "Error: non-hex characters found");

    c.BinaryChanged("101");
    c.BinaryChanged("10.1");
    EXPECT_EQ(c.Decimal + c.Hexadecimal + c.Binary, "");
    EXPECT_EQ(c.Message, "Error: non-binary characters found");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 0");

    // Too many characters with a bad one among the 32 kept: nothing is kept.
    c.BinaryChanged("1x" + std::string(31, '0'));
    EXPECT_EQ(c.Decimal + c.Hexadecimal + c.Binary, "");
    EXPECT_EQ(c.Message, "Error: non-binary characters found");
}

TEST(NotationConverter, EmptyingAnEditEmptiesTheOthersWithoutAMessage)
{
    TNotationConverter c;
    c.DecimalChanged("255");
    c.DecimalChanged("");
    EXPECT_EQ(c.Hexadecimal + c.Binary, "");
    EXPECT_EQ(c.BinDigitsText(), "Bin Digits: 8");
    EXPECT_FALSE(c.ErrorReported);
    c.BinaryChanged("11");
    c.BinaryChanged("   ");
    EXPECT_EQ(c.Decimal + c.Hexadecimal, "");
    EXPECT_FALSE(c.ErrorReported);
}

}  // namespace
