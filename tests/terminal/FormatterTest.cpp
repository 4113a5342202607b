// The display formatter: byte-exact RTF, display records, wrapping, colours, newline flags,
// the record overflow stop and the bounds it keeps whatever the buffer and SpacesForTab.
#include <gtest/gtest.h>

#include "tests/terminal/FormatterFixture.h"

namespace {

class FormatterTest : public ::testing::Test {
protected:
    void SetUp() override { FormatterHost = &Host; }
    void TearDown() override { FormatterHost = nullptr; }
    TRecordingHost Host;
};

using Recs = std::vector<std::string>;

// ---- The three worked examples --------------------------------------------------------------

TEST_F(FormatterTest, TextModeReceivedLetterBraceAndCr)
{
    ResetFormatterState(0);
    std::uint32_t newLines = 0;
    EXPECT_EQ(FormatBlock("A{\r", 0, &newLines), "\\cf2 A\\{\\par\r\\cf2 \n");
    EXPECT_EQ(Records(), (Recs{"C A", "C {", "N \n"}));
    EXPECT_EQ(Display.ScreenColumn, 0u);
    // One "\n" for the screen, which its caller adds ahead of the text.
    EXPECT_EQ(newLines, 1u);
}

TEST_F(FormatterTest, MixedModeReceivedCrCellEndsTheLine)
{
    ResetFormatterState(1);
    std::uint32_t newLines = 99;
    EXPECT_EQ(FormatBlock("A\rB", 0, &newLines), "\\cf2 A\\cf3 <0D>\\par\r\\cf2 B");
    EXPECT_EQ(Records(), (Recs{"C A", "H <", "H \r", "H \r", "H >", "N B"}));
    EXPECT_EQ(Display.ScreenColumn, 1u);
    EXPECT_EQ(newLines, 0u);
}

TEST_F(FormatterTest, HexModeTransmittedCellsAndBytesOut)
{
    ResetFormatterState(2);
    EXPECT_EQ(FormatBlock("\x41\x5C", 1), "\\cf1 <41><5C>");
    EXPECT_EQ(Records(), (Recs{"H <", "H A", "H A", "H >", "H <", "H \\", "H \\", "H >"}));
    EXPECT_EQ(Display.ScreenColumn, 8u);
    EXPECT_EQ(Display.BytesOut, 2);
}

// ---- Escapes, NUL, control bytes ------------------------------------------------------------

TEST_F(FormatterTest, BackslashAndBracesAreEscapedInTextAndMixedButCellsInHex)
{
    for (int mode : {0, 1}) {
        ResetFormatterState(mode);
        EXPECT_EQ(FormatBlock("\\{}"), "\\cf2 \\\\\\{\\}") << "mode " << mode;
        EXPECT_EQ(Records(), (Recs{"C \\", "C {", "C }"}));
        EXPECT_EQ(Display.ScreenColumn, 3u);
    }
    ResetFormatterState(2);
    EXPECT_EQ(FormatBlock("\\{}"), "\\cf3 <5C><7B><7D>");
}

TEST_F(FormatterTest, NulIsDroppedInTextModeAndACellInByteModes)
{
    ResetFormatterState(0);
    EXPECT_EQ(FormatBlock(std::string("A\0B", 3)), "\\cf2 AB");
    EXPECT_EQ(Records(), (Recs{"C A", "C B"}));
    EXPECT_EQ(Display.ScreenColumn, 2u);

    ResetFormatterState(1);
    EXPECT_EQ(FormatBlock(std::string("\0", 1)), "\\cf3 <00>");
    EXPECT_EQ(Display.DisplayRecordCount, 4u);
}

TEST_F(FormatterTest, TextModeWritesControlAndHighBytesAsThemselves)
{
    ResetFormatterState(0);
    EXPECT_EQ(FormatBlock("\x01\x7F\xE9"), "\\cf2 \x01\x7F\xE9");
    ResetFormatterState(1);
    EXPECT_EQ(FormatBlock("a\x7F"), "\\cf2 a\\cf3 <7F>");
}

// ---- Wrapping -------------------------------------------------------------------------------

TEST_F(FormatterTest, HexCellStartingInColumnTwoOfFourIsSplitOverTwoLines)
{
    ResetFormatterState(2);
    Display.CharsPerLine = 4;
    Display.ScreenColumn = 2;
    EXPECT_EQ(FormatBlock("A"), "\\cf3 <4\\par\r\\cf3 1>");
    EXPECT_EQ(Records(), (Recs{"H <", "H A", "N A", "H >"}));
    EXPECT_EQ(Display.ScreenColumn, 2u);
}

TEST_F(FormatterTest, FirstCharacterAfterClearContinuesAndAFullLineWrapsWithN)
{
    ResetFormatterState(0);
    Display.CharsPerLine = 4;
    EXPECT_EQ(FormatBlock("abcde"), "\\cf2 abcd\\par\r\\cf2 e");
    EXPECT_EQ(Records(), (Recs{"C a", "C b", "C c", "C d", "N e"}));
}

TEST_F(FormatterTest, MixedCrCellMakesTheNextCellWriteItsColourThenTheBreak)
{
    ResetFormatterState(1);
    EXPECT_EQ(FormatBlock("\r\x01"), "\\cf3 <0D>\\cf3 \\par\r\\cf3 <01>");
    EXPECT_EQ(Records(4), (Recs{"N <", "H \x01", "H \x01", "H >"}));
}

// ---- Newline flags in text mode -------------------------------------------------------------

TEST_F(FormatterTest, LfWithLfFlagClearTakesAColumnLikeAPrintable)
{
    ResetFormatterState(0);
    Settings.NewLineOnLF = false;
    std::uint32_t newLines = 99;
    EXPECT_EQ(FormatBlock("A\n", 0, &newLines), "\\cf2 A\n");
    EXPECT_EQ(Records(), (Recs{"C A", "C \n"}));
    EXPECT_EQ(Display.ScreenColumn, 2u);
    EXPECT_EQ(newLines, 0u);
}

TEST_F(FormatterTest, CrWithCrFlagClearIsWrittenAsLineFeedEvenWithLfFlagSet)
{
    ResetFormatterState(0);
    Settings.NewLineOnCR = false;
    std::uint32_t newLines = 99;
    EXPECT_EQ(FormatBlock("A\rB", 0, &newLines), "\\cf2 A\nB");
    EXPECT_EQ(Records(), (Recs{"C A", "C \n", "C B"}));
    EXPECT_EQ(newLines, 0u);
}

TEST_F(FormatterTest, CrLfWithBothFlagsMakesTwoLineBreaksAndTwoScreenNewLines)
{
    ResetFormatterState(0);
    std::uint32_t newLines = 0;
    EXPECT_EQ(FormatBlock("A\r\nB", 0, &newLines), "\\cf2 A\\par\r\\cf2 \n\\par\r\\cf2 \nB");
    EXPECT_EQ(Records(), (Recs{"C A", "N \n", "N \n", "C B"}));
    EXPECT_EQ(newLines, 2u);
}

TEST_F(FormatterTest, LfAtFullLineWithOnlyCrFlagSetWrapsToColumnZero)
{
    ResetFormatterState(0);
    Settings.NewLineOnLF = false;
    Display.CharsPerLine = 2;
    std::uint32_t newLines = 99;
    EXPECT_EQ(FormatBlock("ab\nc", 0, &newLines), "\\cf2 ab\\par\r\\cf2 \nc");
    EXPECT_EQ(Records(), (Recs{"C a", "C b", "N \n", "C c"}));
    EXPECT_EQ(newLines, 0u);
}

TEST_F(FormatterTest, LfCellWithLfFlagEndsTheLineInByteModes)
{
    ResetFormatterState(2);
    Settings.NewLineOnCR = false;
    EXPECT_EQ(FormatBlock("\r\n\x41"), "\\cf3 <0D><0A>\\cf3 \\par\r\\cf3 <41>");
}

// ---- Colours --------------------------------------------------------------------------------

TEST_F(FormatterTest, ColourWordsOnlyOnChangeAcrossCalls)
{
    ResetFormatterState(1);
    EXPECT_EQ(FormatBlock("ab\x01\x02"
                          "c"),
              "\\cf2 ab\\cf3 <01><02>\\cf2 c");
    EXPECT_EQ(FormatBlock("d"), "d");
    EXPECT_EQ(FormatBlock("e", 1), "\\cf0 e");
}

TEST_F(FormatterTest, TabBlanksBringNoColourWord)
{
    ResetFormatterState(0);
    Settings.SpacesForTab = 3;
    EXPECT_EQ(FormatBlock("\tA"), "   \\cf2 A");
    EXPECT_EQ(Records(), (Recs{"C  ", "C  ", "C  ", "C A"}));
}

TEST_F(FormatterTest, TabWrapsBlanksWithLineBreaks)
{
    ResetFormatterState(0);
    Display.CharsPerLine = 4;
    Display.ScreenColumn = 3;
    Settings.SpacesForTab = 3;
    EXPECT_EQ(FormatBlock("\t"), " \\par\r\\cf2   ");
    EXPECT_EQ(Records(), (Recs{"C  ", "N  ", "C  "}));
    EXPECT_EQ(Display.CurrentColour, '2');
}

// ---- Record table ---------------------------------------------------------------------------

TEST_F(FormatterTest, TextModeRestartsTheRecordTableEveryCall)
{
    ResetFormatterState(0);
    FormatBlock("abc");
    FormatBlock("de");
    EXPECT_EQ(Records(), (Recs{"C d", "C e"}));
    ResetFormatterState(1);
    FormatBlock("abc");
    FormatBlock("de");
    EXPECT_EQ(Display.DisplayRecordCount, 5u);
}

TEST_F(FormatterTest, ExactlyThresholdRecordsStillFormatOneMoreRecordStops)
{
    ResetFormatterState(2);
    Display.DisplayRecordCount = 219900;
    EXPECT_EQ(FormatBlock("A"), "\\cf3 <41>");
    EXPECT_EQ(Display.DisplayRecordCount, 219904u);
    EXPECT_TRUE(Host.Stops.empty());

    ResetFormatterState(2);
    Display.DisplayRecordCount = 219901;
    TObject sender;
    char out[64] = "untouched";
    const std::uint8_t in[] = {0x41, 0x42};
    std::uint32_t taken = 0;
    EXPECT_EQ(FormatToRtf(&sender, in, out, sizeof out, 0, 2, &taken), 0u);
    EXPECT_EQ(taken, 2u);
    ASSERT_EQ(Host.Stops.size(), 1u);
    EXPECT_EQ(Host.Stops[0].Sender, &sender);
    EXPECT_EQ(Host.Stops[0].Message,
              "Error (PCD) - processing delayed.\nDisconnected to prevent overflow.");
    EXPECT_EQ(Display.DisplayRecordCount, 219901u);
}

TEST_F(FormatterTest, OverflowStopsMidBlockAndEveryLaterBlockUntilCleared)
{
    ResetFormatterState(1);
    Display.DisplayRecordCount = 219890;
    EXPECT_EQ(FormatBlock(std::string(10, '\x01')), "");  // the fourth cell passes the threshold
    EXPECT_EQ(Display.DisplayRecordCount, 219902u);
    EXPECT_EQ(FormatBlock("A"), "");
    EXPECT_EQ(Host.Stops.size(), 2u);
}

// ---- Bounds (mended) ------------------------------------------------------------------------

TEST_F(FormatterTest, SpacesForTabIsBoundedAtUse)
{
    ResetFormatterState(0);
    Display.CharsPerLine = 90;
    Settings.SpacesForTab = 1000000;
    EXPECT_EQ(FormatBlock("\t"), std::string(40, ' '));
    for (std::int32_t spaces : {0, -1, -2147483647 - 1}) {
        ResetFormatterState(0);
        Settings.SpacesForTab = spaces;
        EXPECT_EQ(FormatBlock("\tA"), "\\cf2 A") << spaces;
    }
}

TEST_F(FormatterTest, TabsAtTheRecordThresholdStayInsideTheTable)
{
    ResetFormatterState(0);
    Settings.SpacesForTab = 1000000;
    // 5,498 tabs of 40 blanks leave 219,920 records in use, past the threshold: the next stops.
    std::string tabs(5499, '\t');
    std::vector<char> out(FormatBufferSize(tabs.size()));
    FormatToRtf(nullptr, reinterpret_cast<const std::uint8_t*>(tabs.data()), out.data(), out.size(),
                0, 5499);
    EXPECT_EQ(Host.Stops.size(), 1u);
    EXPECT_EQ(Display.DisplayRecordCount, 5498u * 40);
}

// A block formatted through a small buffer, piece by piece, gives the same text and state as one
// call with room for the worst case, and no piece writes past its buffer.
TEST_F(FormatterTest, SmallBufferFormatsTheBlockInPiecesWithoutWritingPastIt)
{
    std::string input;
    for (int i = 0; i < 5003; ++i)
        input += char(i % 7 == 0 ? '\t' : i % 11 == 0 ? '\r' : i % 13 == 0 ? '{' : 'a' + i % 26);
    for (int mode : {0, 1, 2}) {
        ResetFormatterState(mode);
        Settings.SpacesForTab = 100;
        Display.CharsPerLine = 3;
        const std::string whole = FormatBlock(input, 1);
        const std::uint32_t records = Display.DisplayRecordCount;

        ResetFormatterState(mode);
        Settings.SpacesForTab = 100;
        Display.CharsPerLine = 3;
        std::string pieces;
        std::uint32_t done = 0;
        const std::size_t size = FormatBufferSize(1);
        while (done < input.size()) {
            std::vector<char> out(size + 8, '#');
            std::uint32_t taken = 0;
            const std::uint32_t n =
                FormatToRtf(nullptr, reinterpret_cast<const std::uint8_t*>(input.data()) + done,
                            out.data(), size, 1, std::uint32_t(input.size() - done), &taken);
            ASSERT_GT(taken, 0u);
            ASSERT_LT(n, size);
            EXPECT_EQ(out[n], '\0');
            EXPECT_EQ(std::string(out.data() + size, 8), std::string(8, '#'));
            pieces.append(out.data(), n);
            done += taken;
        }
        EXPECT_EQ(pieces, whole) << "mode " << mode;
        if (mode != 0) {
            EXPECT_EQ(Display.DisplayRecordCount, records);
        }
        EXPECT_EQ(Display.BytesOut, 5003) << "mode " << mode;
    }
}

TEST_F(FormatterTest, BufferTooSmallForOneByteTakesNothingAndStaysInside)
{
    ResetFormatterState(2);
    char out[8];
    std::uint32_t taken = 99;
    const std::uint8_t in[] = {0x41};
    EXPECT_EQ(FormatToRtf(nullptr, in, out, sizeof out, 1, 1, &taken), 0u);
    EXPECT_EQ(taken, 0u);
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(Display.BytesOut, 0);
}

}  // namespace
