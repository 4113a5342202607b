// The string routines that reach the system's locale, checked against Wine's: OEM code page
// conversion, locale comparison and locale case mapping.
#include <gtest/gtest.h>

#include <windows.h>

#include "util/StrUtils.h"

namespace {

// The expected texts below are those of the Western code pages; a prefix set up for another
// language has other ones.
bool WesternCodePages()
{
    const UINT oem = GetOEMCP();
    return GetACP() == 1252 && (oem == 437 || oem == 850);
}

}  // namespace

TEST(SystemLocale, OemConversionMapsAccentedLettersBothWays)
{
    if (!WesternCodePages()) GTEST_SKIP() << "code pages " << GetACP() << "/" << GetOEMCP();
    // e acute: 0xE9 in the ANSI code page, 0x82 in both Western OEM code pages.
    EXPECT_EQ(StrToOem("caf\xe9 1"), "caf\x82 1");
    EXPECT_EQ(OemToAnsiStr("caf\x82 1"), "caf\xe9 1");
    EXPECT_EQ(StrToOem(""), "");
}

TEST(SystemLocale, ComparisonFollowsTheLocaleNotTheBytes)
{
    // By bytes "B" (66) sorts before "a" (97); by the locale a letter's case comes after the
    // letter itself.
    EXPECT_EQ(CompStr("a", "B"), -1);
    EXPECT_EQ(CompStr("b", "a"), 1);
    EXPECT_EQ(CompStr("", ""), 0);
    EXPECT_EQ(CompText("abc", "ABC"), 0);
    EXPECT_NE(CompStr("abc", "ABC"), 0);
    EXPECT_EQ(CompText("abc", "ABD"), -1);
}

TEST(SystemLocale, ProperCaseMapsAccentedLetters)
{
    if (!WesternCodePages()) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(AnsiProperCase("\xc9T\xc9 \xe9t\xe9", TCharSet{' '}), "\xc9t\xe9 \xc9t\xe9");
}
