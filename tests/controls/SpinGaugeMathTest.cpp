// The spin edit's arithmetic, natively, for what the window tests cannot reach exactly:
// steps near the limits of a double, empty or reversed spans, truncation and clamping at
// the track bar's ends, unsnapped gauge ends, and the share of a bar around a centre.
#include <gtest/gtest.h>

#include <limits>

#include "controls/SpinGaugeMath.h"

TEST(SpinGaugeMathTest, StepsStopOnASetLimitOnlyWhenTheyWouldPassItAndNeverLeaveTheDoubles)
{
    EXPECT_EQ(SpinUp(8, 1, 0, 10), 9);  // the last step before the end is taken
    EXPECT_EQ(SpinUp(9.5, 1, 0, 10), 10);
    EXPECT_EQ(SpinDown(0.5, 1, 0, 10), 0);
    EXPECT_EQ(SpinUp(5, 1, 5, 5), 6);  // equal limits: no limits
    EXPECT_EQ(SpinDown(0.5, 1, 0, 0), -0.5);
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(SpinUp(big, big, 0, 0), big);
    EXPECT_EQ(SpinDown(-big, big, 0, 0), -big);
}

TEST(SpinGaugeMathTest, SpansAndTheirEndsMapWithClampingTruncationAndUnsnappedEnds)
{
    auto is = [](TValueSpan s, double start, double width) {
        return s.Start == start && s.Width == width;
    };
    EXPECT_TRUE(is(GaugeSpan(0, 0, -10, 30), -10, 40));
    EXPECT_TRUE(is(GaugeSpan(5, 15, -10, 30), 5, 10));
    EXPECT_TRUE(is(GaugeSpan(0, 0, 0, 0), 0, 100));
    EXPECT_TRUE(is(GaugeSpan(20, 10, 0, 50), 20, 100));  // reversed: counts as 100

    const TValueSpan track = TrackSpan(0, 10);
    EXPECT_EQ(TrackPosition(0.00999, track, false), 0);  // truncated
    EXPECT_EQ(TrackPosition(25, track, false), 1000);
    EXPECT_EQ(TrackPosition(-5, track, false), 0);
    EXPECT_EQ(TrackPosition(2.5, track, true), 750);
    EXPECT_EQ(TrackValueAt(-1, track, false), 0);
    EXPECT_EQ(TrackValueAt(1.7, track, true), 0);

    const TValueSpan odd = GaugeSpan(0.5, 10.5, 0, 0);
    EXPECT_EQ(GaugeValueAt(-3, 12, odd, 1), 0.5);  // the ends are not snapped
    EXPECT_EQ(GaugeValueAt(500, 12, odd, 1), 10.5);
    EXPECT_EQ(GaugeValueAt(4, 12, odd, 1), 5);
    EXPECT_EQ(SnapValue(-2.5, 1), -3);  // halves away from zero
    EXPECT_EQ(SnapValue(7.4, -1), 7.4);
    const TValueSpan wide = GaugeSpan(0, 0, 0, 100);
    for (int x = 1; x < 100; ++x)
        EXPECT_EQ(GaugePixelOf(GaugeValueAt(x, 102, wide, 0), 102, wide), x + 1);
}

TEST(SpinGaugeMathTest, AroundACentreTheBarsShareIsOfTheWayToTheEndOnTheValuesSide)
{
    const TValueSpan span = GaugeSpan(0, 0, 0, 100);
    EXPECT_TRUE(CentreInside(20, span));
    EXPECT_FALSE(CentreInside(0, span));
    EXPECT_EQ(GaugeShare(60, span, true, 20), 128);  // 40 of the 80 toward 100
    EXPECT_EQ(GaugeShare(10, span, true, 20), 128);  // 10 of the 20 toward 0
    EXPECT_EQ(GaugeShare(150, span, false, 0), 256);
    EXPECT_EQ(BlendColour(0xFF0000, 0x0000FF, 999), 0x0000FFu);
}
