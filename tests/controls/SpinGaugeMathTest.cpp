// The spin edit's arithmetic, natively: steps across the range ends with and without limits,
// the gauge's and the track bar's mappings both ways, snapping, and the bar colour.
#include <gtest/gtest.h>

#include <limits>

#include "controls/SpinGaugeMath.h"

TEST(SpinGaugeMathTest, StepsStopOnASetLimitOnlyWhenTheyWouldPassIt)
{
    struct Case {
        double from, min, max, up, down;
    };
    const Case cases[] = {
        // 0 to 10 by 1: the last step before the end is taken, not skipped.
        {8, 0, 10, 9, 7},
        {9, 0, 10, 10, 8},
        {9.5, 0, 10, 10, 8.5},
        {10, 0, 10, 10, 9},
        {1, 0, 10, 2, 0},
        {0.5, 0, 10, 1.5, 0},
        {0, 0, 10, 1, 0},
        // No limits (equal MinValue and MaxValue): every click moves by one step.
        {0, 0, 0, 1, -1},
        {0.5, 0, 0, 1.5, -0.5},
        {-3, 0, 0, -2, -4},
        {5, 5, 5, 6, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " in " << c.min << ".." << c.max);
        EXPECT_EQ(SpinUp(c.from, 1, c.min, c.max), c.up);
        EXPECT_EQ(SpinDown(c.from, 1, c.min, c.max), c.down);
    }
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(SpinUp(big, big, 0, 0), big);  // no step into infinity
    EXPECT_EQ(SpinDown(-big, big, 0, 0), -big);
}

TEST(SpinGaugeMathTest, ValuesAreLimitedOnlyWhenTheLimitsDiffer)
{
    EXPECT_EQ(CheckSpinValue(-5, 0, 10), 0);
    EXPECT_EQ(CheckSpinValue(15, 0, 10), 10);
    EXPECT_EQ(CheckSpinValue(5, 0, 10), 5);
    EXPECT_EQ(CheckSpinValue(1e9, 0, 0), 1e9);
    EXPECT_EQ(CheckSpinValue(-1e9, 3, 3), -1e9);
}

TEST(SpinGaugeMathTest, SpansComeFromTheGaugeLimitsOrTheValueLimitsAndAreNeverEmpty)
{
    auto is = [](TValueSpan s, double start, double width) {
        return s.Start == start && s.Width == width;
    };
    EXPECT_TRUE(is(GaugeSpan(0, 0, -10, 30), -10, 40));
    EXPECT_TRUE(is(GaugeSpan(5, 15, -10, 30), 5, 10));
    EXPECT_TRUE(is(GaugeSpan(0, 0, 0, 0), 0, 100));
    EXPECT_TRUE(is(GaugeSpan(20, 10, 0, 50), 20, 100));  // reversed: counts as 100
    EXPECT_TRUE(is(TrackSpan(2, 2), 2, 100));
}

TEST(SpinGaugeMathTest, TrackBarPositionsAndValuesMapBothWaysAndAVerticalBarCountsDown)
{
    const TValueSpan span = TrackSpan(0, 10);
    EXPECT_EQ(TrackPosition(0, span, false), 0);
    EXPECT_EQ(TrackPosition(2.5, span, false), 250);
    EXPECT_EQ(TrackPosition(0.00999, span, false), 0);  // truncated
    EXPECT_EQ(TrackPosition(10, span, false), 1000);
    EXPECT_EQ(TrackPosition(25, span, false), 1000);
    EXPECT_EQ(TrackPosition(-5, span, false), 0);
    EXPECT_EQ(TrackPosition(2.5, span, true), 750);
    EXPECT_EQ(TrackValueAt(0, span, false), 0);
    EXPECT_EQ(TrackValueAt(0.25, span, false), 2.5);
    EXPECT_EQ(TrackValueAt(1.7, span, false), 10);
    EXPECT_EQ(TrackValueAt(-1, span, false), 0);
    EXPECT_EQ(TrackValueAt(0, span, true), 10);  // the top of a vertical bar is the maximum
    EXPECT_EQ(TrackValueAt(0.25, span, true), 7.5);
}

TEST(SpinGaugeMathTest, GaugePixelsMapToValuesWithTheEndsHeldAndTheInsideSnapped)
{
    const TValueSpan span = GaugeSpan(0, 0, 0, 100);
    const int width = 102;  // 100 pixels of travel
    EXPECT_EQ(GaugeValueAt(-7, width, span, 0), 0);
    EXPECT_EQ(GaugeValueAt(0, width, span, 0), 0);
    EXPECT_EQ(GaugeValueAt(37, width, span, 0), 37);
    EXPECT_EQ(GaugeValueAt(100, width, span, 0), 100);
    EXPECT_EQ(GaugeValueAt(500, width, span, 0), 100);  // past the right end: the end
    EXPECT_EQ(GaugeValueAt(37, width, span, 5), 35);
    EXPECT_EQ(GaugeValueAt(38, width, span, 5), 40);
    const TValueSpan odd = GaugeSpan(0.5, 10.5, 0, 0);
    EXPECT_EQ(GaugeValueAt(0, 12, odd, 1), 0.5);  // the ends are not snapped
    EXPECT_EQ(GaugeValueAt(10, 12, odd, 1), 10.5);
    for (int x = 1; x < 100; ++x)
        EXPECT_EQ(GaugePixelOf(GaugeValueAt(x, width, span, 0), width, span), x + 1);
    EXPECT_EQ(GaugePixelOf(-50, width, span), 1);
    EXPECT_EQ(GaugePixelOf(150, width, span), 101);
}

TEST(SpinGaugeMathTest, SnappingGoesToTheNearestMultipleWithHalvesAwayFromZero)
{
    EXPECT_EQ(SnapValue(2.5, 1), 3);
    EXPECT_EQ(SnapValue(-2.5, 1), -3);
    EXPECT_EQ(SnapValue(7.4, 0.5), 7.5);
    EXPECT_EQ(SnapValue(7.4, 0), 7.4);
    EXPECT_EQ(SnapValue(7.4, -1), 7.4);
}

TEST(SpinGaugeMathTest, TheBarColourRunsFromBeginToEndWithTheValuesShare)
{
    const TValueSpan span = GaugeSpan(0, 0, 0, 100);
    EXPECT_EQ(GaugeShare(0, span, false, 0), 0);
    EXPECT_EQ(GaugeShare(50, span, false, 0), 128);
    EXPECT_EQ(GaugeShare(100, span, false, 0), 256);
    EXPECT_EQ(GaugeShare(150, span, false, 0), 256);
    // Around a centre of 20: toward 100 the end is 80 away, toward 0 it is 20 away.
    EXPECT_TRUE(CentreInside(20, span));
    EXPECT_FALSE(CentreInside(0, span));
    EXPECT_FALSE(CentreInside(100, span));
    EXPECT_EQ(GaugeShare(60, span, true, 20), 128);
    EXPECT_EQ(GaugeShare(10, span, true, 20), 128);
    EXPECT_EQ(GaugeShare(20, span, true, 20), 0);

    const std::uint32_t blue = 0xFF0000, red = 0x0000FF;
    EXPECT_EQ(BlendColour(blue, red, 0), blue);
    EXPECT_EQ(BlendColour(blue, red, 256), red);
    EXPECT_EQ(BlendColour(blue, red, 128), 0x80007Fu);  // 255 - 127 blue, 127 red
    EXPECT_EQ(BlendColour(blue, red, 999), red);
}
