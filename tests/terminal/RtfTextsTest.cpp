// The RTF texts of the screen: the header from its pieces (before and after a screen font is
// applied) and the four colour prefixes of a pasted byte, byte for byte.
#include <gtest/gtest.h>

#include "terminal/MainGlobals.h"

namespace {

const std::string Colours =
    "{\\colortbl\\red000\\green000\\blue000;\\red0\\green0\\blue255;\\red0\\green150\\blue000;"
    "\\red255\\green050\\blue050;\\red100\\green100\\blue100;\\red255\\green0\\blue0;"
    "\\red255\\green255\\blue255;" +
    std::string(25, ' ') + "}";

// The font entry is ";" rather than empty: Wine's RTF reader loses the whole document after an
// empty font entry.
const std::string HeaderStart =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{;}}" + Colours;

TEST(RtfTexts, HeaderAtStartUpEndsInDefaultSizeAndColourZero)
{
    EXPECT_EQ(Display.RtfHeader, HeaderStart + "\\fs24\\cf0 ");
}

TEST(RtfTexts, HeaderAfterScreenFontCarriesStyleAndDoubledSizeButNoColour)
{
    const String saved = Display.RtfHeader, savedStyle = Display.RtfHeaderStyle,
                 savedSize = Display.RtfHeaderSize;
    SetRtfHeaderFont(true, true, 10);
    EXPECT_EQ(Display.RtfHeader, HeaderStart + "\\b\\i\\fs20 ");
    SetRtfHeaderFont(false, false, 14);
    EXPECT_EQ(Display.RtfHeader, HeaderStart + "\\fs28 ");
    SetRtfHeaderFont(false, true, 9);
    EXPECT_EQ(Display.RtfHeader, HeaderStart + "\\i\\fs18 ");
    Display.RtfHeader = saved;
    Display.RtfHeaderStyle = savedStyle;
    Display.RtfHeaderSize = savedSize;
}

TEST(RtfTexts, ColourPrefixesAreAColourTableGroupAndAColourWord)
{
    EXPECT_EQ(TxTextPrefix, "{" + Colours + "\\cf0 ");
    EXPECT_EQ(TxHexPrefix, "{" + Colours + "\\cf1 ");
    EXPECT_EQ(RxTextPrefix, "{" + Colours + "\\cf2 ");
    EXPECT_EQ(RxHexPrefix, "{" + Colours + "\\cf3 ");
}

}  // namespace
