// The progress arithmetic of a file send: the steps at which it reports, and files past the
// 32-bit limits (a size of several GiB counts, reports and fills the bar correctly).
#include <gtest/gtest.h>

#include <vector>

#include "terminal/FileSendProgress.h"

namespace {

// The percentages a send reports, as its loop computes them: one per step, at each multiple.
std::vector<std::int64_t> ReportedPercents(std::int64_t Size)
{
    std::vector<std::int64_t> shown;
    const std::int64_t step = ProgressStep(Size);
    std::int64_t mark = step;
    for (std::int64_t sent = 1; sent <= Size; ++sent)
        if (sent == mark) {
            shown.push_back(ProgressPercent(sent, Size));
            mark += step;
        }
    return shown;
}

TEST(FileSendProgress, AFileBelowTwentyBytesReportsNoIntermediateStep)
{
    for (std::int64_t size = 0; size < 20; ++size) EXPECT_TRUE(ReportedPercents(size).empty());
}

// 100 MB: the product behind the percentage passes 32 bits from the first step on.
TEST(FileSendProgress, TwentyStepsOfFivePercentForALargeFile)
{
    const std::vector<std::int64_t> shown = ReportedPercents(100'000'000);
    ASSERT_EQ(shown.size(), 20u);
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], 5 * std::int64_t(i + 1)) << i;
}

TEST(FileSendProgress, AFileBeyondFourGibibytesCountsAndReportsIn64Bits)
{
    const std::int64_t size = 5'000'000'123LL;
    EXPECT_EQ(ProgressStep(size), 250'000'006LL);
    EXPECT_EQ(ProgressPercent(size / 2, size), 49);
    EXPECT_EQ(ProgressPercent(4'500'000'000LL, size), 89);
    EXPECT_EQ(ProgressPercent(size, size), 100);
    EXPECT_EQ(ProgressStartText(size), "File size: 5000000123 bytes, Completed: 0%");
    EXPECT_EQ(ProgressText(size, 90), "File size: 5000000123 bytes, Completed:90%");
    // The bar's 32-bit positions keep the same proportion.
    const int full = ProgressBarUnits(size, size);
    EXPECT_GT(full, 0);
    EXPECT_EQ(ProgressBarUnits(size / 2, size), full / 2);
    EXPECT_EQ(ProgressBarUnits(12345, 20000), 12345);
    EXPECT_EQ(ProgressBarUnits(2147483647, 2147483647), 2147483647);
}

}  // namespace
