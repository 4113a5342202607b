// The send-string escapes: the worked examples byte for byte, each error with the characters it
// selects, and a NUL that counts like any byte.
#include <gtest/gtest.h>

#include <string>

#include "terminal/Escapes.h"

namespace {

struct Parsed {
    TEscapeResult result;
    std::string bytes;
};

Parsed Parse(const std::string& text)
{
    std::string out(text.size(), '\0');
    Parsed p{ParseEscapeText(text, reinterpret_cast<std::uint8_t*>(out.data())), {}};
    p.bytes = out.substr(0, p.result.Count);
    return p;
}

TEST(Escapes, EveryEscapeGivesItsByteAndOtherCharactersStandForThemselves)
{
    EXPECT_EQ(Parse("AT\\r").bytes, "AT\r");
    EXPECT_EQ(Parse("\\41\\42").bytes, "AB");
    EXPECT_EQ(Parse("a\\nb\\tc\\\\d").bytes, "a\nb\tc\\d");
    EXPECT_EQ(Parse("\\fF\\Aa\\1b").bytes, "\xff\xaa\x1b");
    // A NUL in the middle is a byte like any other: the count says how many there are.
    const Parsed nul = Parse("x\\00y");
    EXPECT_EQ(nul.result.Count, 3u);
    EXPECT_EQ(nul.bytes, std::string("x\0y", 3));
}

TEST(Escapes, EachErrorHasItsMessageAndSelectsTheOffendingCharacters)
{
    const Parsed lone = Parse("ab\\");
    EXPECT_EQ(lone.result.Error, TEscapeError::Incomplete);
    EXPECT_EQ(lone.result.Count, 0u);
    EXPECT_EQ(lone.result.ErrorStart, 2u);
    EXPECT_EQ(lone.result.ErrorLength, 1u);
    EXPECT_STREQ(EscapeErrorText(lone.result.Error),
                 "Cannot send data.\nIncomplete escape sequence using '\\'.");

    const Parsed q = Parse("ab\\q");
    EXPECT_EQ(q.result.Error, TEscapeError::Invalid);
    EXPECT_EQ(q.result.ErrorStart, 3u);
    EXPECT_EQ(q.result.ErrorLength, 1u);
    EXPECT_STREQ(EscapeErrorText(q.result.Error),
                 "Cannot send data.\nInvalid escape sequence using '\\'.");

    const Parsed qq = Parse("\\qqz");
    EXPECT_EQ(qq.result.Error, TEscapeError::InvalidHex);
    EXPECT_EQ(qq.result.ErrorStart, 1u);
    EXPECT_EQ(qq.result.ErrorLength, 2u);
    EXPECT_STREQ(EscapeErrorText(qq.result.Error),
                 "Cannot send data.\nInvalid hex digits in escape sequence using '\\'.");
    EXPECT_EQ(Parse("\\4g").result.Error, TEscapeError::InvalidHex);
}

}  // namespace
