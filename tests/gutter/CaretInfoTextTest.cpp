// The cursor inspector's record lookup at the edges of the table: indexes at or past either end,
// and records never written, name no byte (the cases a screen seldom shows; the rest is tested
// on the real screen).
#include <gtest/gtest.h>

#include <vector>

#include "terminal/CaretInfo.h"
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

std::optional<std::uint8_t> ByteOf(const TScreenSelection& s, const std::vector<std::uint32_t>& r)
{
    return ByteUnderSelection(s, false, r.data(), r.size());
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
