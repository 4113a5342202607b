// Counting the pending text's lines, looking up where one starts, and dropping the display
// records of the lines cut from the top of the screen.
#include <gtest/gtest.h>

#include <string>

#include "terminal/MainGlobals.h"
#include "terminal/ScreenLines.h"

namespace {

TEST(BuildLineOffsets, CountsCarriageReturnsAndStoresTheStartOfEachNextLine)
{
    const std::string text = "ab\rcd\r\ref";
    EXPECT_EQ(BuildLineOffsets(text.c_str(), 0), 3u);
    EXPECT_EQ(BuildLineOffsets(text.c_str(), 1, 0), 0u);
    EXPECT_EQ(BuildLineOffsets(text.c_str(), 1, 1), 3u);
    EXPECT_EQ(BuildLineOffsets(text.c_str(), 1, 2), 6u);
    EXPECT_EQ(BuildLineOffsets(text.c_str(), 1, 3), 7u);
    EXPECT_EQ(BuildLineOffsets(nullptr, 0), 0u);
}

TEST(BuildLineOffsets, StopsCountingAtTheFirstNul)
{
    const char text[] = "a\r\0\r\r";
    EXPECT_EQ(BuildLineOffsets(text, 0), 1u);
}

TEST(BuildLineOffsets, ExactlyAndMoreThanTheLimitBothGiveTheLimit)
{
    std::string exact(MaxPendingLines, '\r');
    EXPECT_EQ(BuildLineOffsets(exact.c_str(), 0), MaxPendingLines);
    EXPECT_EQ(BuildLineOffsets(exact.c_str(), 1, MaxPendingLines - 1), MaxPendingLines - 1);
    std::string more = exact + "x\rx\r";
    EXPECT_EQ(BuildLineOffsets(more.c_str(), 0), MaxPendingLines);
    // Any line past the table starts where the last counted one does.
    EXPECT_EQ(BuildLineOffsets(more.c_str(), 1, MaxPendingLines + 5), MaxPendingLines);
}

class DropRecords : public ::testing::Test {
protected:
    // One record per character: 'N' for a character starting a line, 'C' otherwise.
    void Fill(const std::string& kinds)
    {
        for (size_t i = 0; i < kinds.size(); ++i)
            Display.DisplayRecords[i] = DisplayRecord(
                kinds[i] == 'N' ? RecordNewLine : RecordContinues, std::uint8_t('a' + i));
        Display.DisplayRecordCount = static_cast<std::uint32_t>(kinds.size());
    }
    std::string Bytes() const
    {
        std::string s;
        for (std::uint32_t i = 0; i < Display.DisplayRecordCount; ++i)
            s += char(RecordByte(Display.DisplayRecords[i]));
        return s;
    }
};

TEST_F(DropRecords, AFirstScreenLineAfterAClearStartsWithoutAnNRecord)
{
    Fill("CCCNCCNCC");
    DropLeadingLineRecords(1);
    EXPECT_EQ(Bytes(), "defghi");
    EXPECT_EQ(RecordKind(Display.DisplayRecords[0]), RecordNewLine);
}

TEST_F(DropRecords, AnNRecordInFrontStartsTheFirstLineAfterAnEarlierCut)
{
    Fill("NCCNCCNC");
    DropLeadingLineRecords(2);
    EXPECT_EQ(Bytes(), "gh");
}

TEST_F(DropRecords, FewerLineStartsThanDroppedLinesDropEverything)
{
    Fill("NCCNCC");
    DropLeadingLineRecords(2);
    EXPECT_EQ(Display.DisplayRecordCount, 0u);
}

TEST_F(DropRecords, NothingToDropLeavesTheTable)
{
    Fill("CCNC");
    DropLeadingLineRecords(0);
    EXPECT_EQ(Bytes(), "abcd");
}

}  // namespace
