// The cursor inspector's texts from what the screen reports: the column of a caret and of a
// selection's last character, the byte of one text character or of a cell's two digits, and
// indexes at or past either end of the record table naming no byte.
#include <gtest/gtest.h>

#include <vector>

#include "terminal/CursorInspector.h"
#include "terminal/MainGlobals.h"

namespace {

// A selection within one line, Line0 lines down (each line break two positions).
TScreenSelection Within(std::int32_t Line0, std::int32_t LineStart, std::int32_t From,
                        std::int32_t To, const char* Text = "")
{
    TScreenSelection s;
    s.SelMin = LineStart + From;
    s.SelMax = LineStart + To;
    s.Line0 = Line0;
    s.LineStart = LineStart;
    s.Copied = To - From;
    if (s.Copied > 0) {
        s.First = Text[0];
        s.Last = Text[s.Copied - 1];
    }
    return s;
}

// The records of "ab<41><3C>" on the first line.
std::vector<std::uint32_t> Records()
{
    std::vector<std::uint32_t> r = {
        DisplayRecord(RecordNewLine, 'a'),  DisplayRecord(RecordContinues, 'b'),
        DisplayRecord(RecordHexCell, '<'),  DisplayRecord(RecordHexCell, 0x41),
        DisplayRecord(RecordHexCell, 0x41), DisplayRecord(RecordHexCell, '>'),
        DisplayRecord(RecordHexCell, '<'),  DisplayRecord(RecordHexCell, 0x3C),
        DisplayRecord(RecordHexCell, 0x3C), DisplayRecord(RecordHexCell, '>'),
    };
    return r;
}

std::optional<std::uint8_t> ByteOf(const TScreenSelection& s, const std::vector<std::uint32_t>& r)
{
    return ByteUnderSelection(s, false, r.data(), r.size());
}

TEST(InspectorTexts, ThePositionTextCountsColumnsFromOneAndOmitsThemInTextMode)
{
    EXPECT_EQ(CaretInfoFor(Within(0, 0, 0, 0), false), "Ln: 1, Col: 1, Sel: 0");
    // Third line, after "abc" and a selection of its 4th to 6th characters.
    EXPECT_EQ(CaretInfoFor(Within(2, 40, 3, 3), false), "Ln: 3, Col: 4, Sel: 0");
    EXPECT_EQ(CaretInfoFor(Within(2, 40, 3, 6, "def"), false), "Ln: 3, Col: 6, Sel: 3");
    EXPECT_EQ(CaretInfoFor(Within(2, 40, 3, 6, "def"), true), "ASCII/Text Line: 3");
}

TEST(InspectorTexts, TheByteIsFoundForOneCharacterOrExactlyACellsTwoDigits)
{
    const auto r = Records();
    EXPECT_EQ(ByteInfoFor(ByteOf(Within(0, 0, 3, 5, "41"), r), false),
              "B: 01000001, D: 65, H: 41, Ch: A");
    EXPECT_EQ(ByteInfoFor(ByteOf(Within(0, 0, 1, 2, "b"), r), false),
              "B: 01100010, D: 98, H: 62, Ch: b");
    // "<4", one digit, and the digits of the cell of '<' itself name nothing.
    EXPECT_FALSE(ByteOf(Within(0, 0, 2, 4, "<4"), r));
    EXPECT_FALSE(ByteOf(Within(0, 0, 3, 4, "4"), r));
    EXPECT_FALSE(ByteOf(Within(0, 0, 7, 9, "3C"), r));
    EXPECT_FALSE(ByteOf(Within(0, 0, 0, 3, "ab<"), r));
    // In text mode the selected character itself, without ", Ch: ".
    EXPECT_EQ(ByteInfoFor(ByteUnderSelection(Within(0, 0, 0, 1, "~"), true, nullptr, 0), true),
              "B: 01111110, D: 126, H: 7E");
    EXPECT_EQ(ByteInfoFor(std::nullopt, false), "");
}

TEST(InspectorTexts, IndexesOutsideTheTableAndRecordsNeverWrittenNameNoByte)
{
    // The last record of a small table, then one past it; a fallback two back from an
    // unwritten record at the very start; the digits of a cell at index 0 with nothing before.
    std::vector<std::uint32_t> r(4, 0);
    r[3] = DisplayRecord(RecordContinues, 'z');
    EXPECT_EQ(ByteOf(Within(0, 0, 3, 4, "z"), r), std::optional<std::uint8_t>('z'));
    EXPECT_FALSE(ByteOf(Within(0, 0, 4, 5, "y"), r));
    EXPECT_FALSE(ByteOf(Within(0, 0, 0, 1, "x"), r));
    EXPECT_FALSE(ByteOf(Within(0, 0, 1, 2, "x"), r));
    r[0] = DisplayRecord(RecordHexCell, 0x41);
    EXPECT_FALSE(ByteOf(Within(0, 0, -1, 1, "41"), r));
    // A selection whose line count says more breaks than positions (a screen after a trim).
    TScreenSelection s = Within(5, 0, 0, 1, "q");
    EXPECT_FALSE(ByteOf(s, r));
    // The unwritten record falls back two places when those are inside the table.
    r[2] = DisplayRecord(RecordContinues, 'w');
    EXPECT_EQ(ByteOf(Within(0, 0, 4, 5, "v"), std::vector<std::uint32_t>{0, 0, r[2], 0, 0}),
              std::optional<std::uint8_t>('w'));
}

}  // namespace
