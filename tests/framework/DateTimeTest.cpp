// Date-time encoding and decoding on the 1899-12-30 day count, and the replaceable clock.
#include <gtest/gtest.h>

#include "framework/DateTime.h"
#include "framework/Exceptions.h"

TEST(DateTime, EncodeDateCountsDaysFromTheEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
    EXPECT_EQ(EncodeDate(2004, 2, 29), EncodeDate(2004, 3, 1) - 1);
}

TEST(DateTime, EncodeDateRejectsDaysThatDoNotExist)
{
    EXPECT_THROW(EncodeDate(2003, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2004, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(EncodeDate(2000, 2, 29), EncodeDate(2000, 3, 1) - 1);
}

TEST(DateTime, DecodeDateRoundTripsEveryDayAcrossCenturyAndLeapBoundaries)
{
    for (int year : {1, 4, 100, 400, 1600, 1899, 1900, 2000, 2003, 2004, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysPerMonth(year, month); ++day) {
                // A time of day moves away from zero: before the epoch it is subtracted.
                TDateTime v = EncodeDate(year, month, day);
                v += v >= 0 ? 0.75 : -0.75;
                Word y, m, d;
                DecodeDate(v, y, m, d);
                ASSERT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day);
            }
        }
    }
    Word y, m, d;
    DecodeDate(-1.25, y, m, d);  // before the epoch: the whole part counts, cut toward zero
    EXPECT_EQ(d, 29);
    EXPECT_THROW(DecodeDate(3e6, y, m, d), EConvertError);
}

TEST(DateTime, DecodeTimeRoundsToTheMillisecondAndNeverReaches24Hours)
{
    Word h, m, s, ms;
    DecodeTime(EncodeDate(2026, 1, 2) + EncodeTime(13, 5, 9, 250), h, m, s, ms);
    EXPECT_EQ((std::vector<int>{h, m, s, ms}), (std::vector<int>{13, 5, 9, 250}));
    DecodeTime(1.0 - 1e-12, h, m, s, ms);
    EXPECT_EQ((std::vector<int>{h, m, s, ms}), (std::vector<int>{23, 59, 59, 999}));
    // An elapsed time of one hour, one minute and five seconds, as the status tick splits it.
    DecodeTime(EncodeTime(10, 1, 5, 0) - EncodeTime(9, 0, 0, 0), h, m, s, ms);
    EXPECT_EQ((std::vector<int>{h, m, s}), (std::vector<int>{1, 1, 5}));
}

namespace {
TDateTime FixedClock() { return EncodeDate(2004, 3, 1) + EncodeTime(6, 30, 0, 0); }
}  // namespace

TEST(DateTime, NowDateAndTimeReadTheReplaceableClock)
{
    SetClock(&FixedClock);
    EXPECT_EQ(Now(), FixedClock());
    EXPECT_EQ(Date(), EncodeDate(2004, 3, 1));
    EXPECT_NEAR(Time(), EncodeTime(6, 30, 0, 0), 1e-9);
    SetClock(nullptr);
    TDateTime real = Now();
    EXPECT_GT(real, EncodeDate(2020, 1, 1));
    EXPECT_LT(real, EncodeDate(2200, 1, 1));
}
