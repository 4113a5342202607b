// The runner's platform-free decisions: only the eight exact signal texts switch lines, and a
// delay text is a whole number or refused.
#include <gtest/gtest.h>

#include "macros/Macros.h"

namespace {

TEST(ControlSignalText, OnlyTheEightExactTextsSwitchLinesRtsPairsKeepTheirTwoBlanks)
{
    const auto both = ParseControlSignal("RTS ON,  DTR OFF");
    ASSERT_TRUE(both);
    EXPECT_EQ(both->Rts, 1);
    EXPECT_EQ(both->Dtr, 0);
    const auto dtr = ParseControlSignal("DTR ON");
    ASSERT_TRUE(dtr);
    EXPECT_EQ(dtr->Rts, -1);
    EXPECT_EQ(dtr->Dtr, 1);
    EXPECT_TRUE(ParseControlSignal("RTS OFF, DTR ON"));
    for (const char* other : {"RTS ON, DTR ON", "rts on", "RTS ON ", "", "DTR  ON"})
        EXPECT_FALSE(ParseControlSignal(other)) << other;
}

TEST(DelayText, WholeNumbersPassAndAnythingElseIsRefused)
{
    EXPECT_EQ(ParseDelayMs(""), 0);
    EXPECT_EQ(ParseDelayMs("60000"), 60000);
    EXPECT_EQ(ParseDelayMs("-5"), -5);
    for (const char* bad : {"12ms", " 5", "5 ", "abc", "+5", "-", "99999999999", "1.5"})
        EXPECT_FALSE(ParseDelayMs(bad)) << bad;
}

}  // namespace
