// Calendar arithmetic: month steps, differences, day counts and time steps.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "DateFixture.h"
#include "framework/Exceptions.h"
#include "util/DateUtil.h"

namespace {

TDateTime Ymd(int Year, int Month, int Day) { return EncodeDate(Year, Month, Day); }

void ExpectDiff(TDateTime A, TDateTime B, int Years, int Months, int Days)
{
    for (int swap = 0; swap < 2; ++swap) {
        Word days = 99, months = 99, years = 99;
        DateDiff(swap ? B : A, swap ? A : B, days, months, years);
        EXPECT_EQ(years, Years);
        EXPECT_EQ(months, Months);
        EXPECT_EQ(days, Days);
    }
}

}  // namespace

using DateUtil = DateTest;

TEST_F(DateUtil, MonthStepsClampTheDayAndKeepTheTime)
{
    EXPECT_EQ(IncMonth(Ymd(2004, 1, 31), 1), Ymd(2004, 2, 29));
    EXPECT_EQ(IncMonth(Ymd(2003, 3, 31), -1), Ymd(2003, 2, 28));
    EXPECT_EQ(IncMonth(Ymd(2004, 1, 15), -1), Ymd(2003, 12, 15));
    EXPECT_EQ(IncDate(Ymd(2004, 3, 10), 0, -13, 0), Ymd(2003, 2, 10));
    EXPECT_EQ(IncDate(Ymd(2004, 12, 31), 1, 2, 1), Ymd(2006, 3, 1));
    EXPECT_EQ(IncYear(Ymd(2004, 2, 29), 1), Ymd(2005, 2, 28));
    const TDateTime noon = EncodeTime(12, 0, 0, 0);
    EXPECT_EQ(IncMonth(Ymd(2004, 1, 31) + noon, 1), Ymd(2004, 2, 29) + noon);
    EXPECT_EQ(IncDay(Ymd(2004, 2, 28), 2), Ymd(2004, 3, 1));
}

TEST_F(DateUtil, StepsOutOfTheCalendarRaiseWithoutOverflow)
{
    EXPECT_THROW(IncYear(Ymd(9999, 12, 1), 1), EConvertError);
    EXPECT_THROW(IncMonth(Ymd(1, 1, 1), -1), EConvertError);
    EXPECT_THROW(IncYear(Ymd(2004, 1, 1), INT_MAX), EConvertError);
    EXPECT_THROW(IncDate(Ymd(2004, 1, 1), 0, INT_MIN, INT_MIN), EConvertError);
}

TEST_F(DateUtil, NeighbouringMonthsFollowToday)
{
    SetNow(2026, 12, 7);
    EXPECT_EQ(FirstDayOfNextMonth(), Ymd(2027, 1, 1));
    EXPECT_EQ(FirstDayOfPrevMonth(), Ymd(2026, 11, 1));
    SetNow(2004, 3, 31);
    EXPECT_EQ(LastDayOfPrevMonth(), Ymd(2004, 2, 29));
    SetNow(2005, 1, 15);
    EXPECT_EQ(FirstDayOfPrevMonth(), Ymd(2004, 12, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), Ymd(2004, 12, 31));
    EXPECT_EQ(CurrentYear(), 2005);
}

TEST_F(DateUtil, DateDiffCountsWholeYearsMonthsAndDaysInEitherOrder)
{
    ExpectDiff(Ymd(2004, 1, 31), Ymd(2004, 3, 1), 0, 1, 1);
    ExpectDiff(Ymd(2004, 1, 1), Ymd(2005, 3, 15), 1, 2, 14);
    ExpectDiff(Ymd(2004, 5, 20), Ymd(2005, 5, 10), 0, 11, 21);
    ExpectDiff(Ymd(2004, 5, 20), Ymd(2004, 5, 20), 0, 0, 0);
    EXPECT_EQ(MonthsBetween(Ymd(2004, 1, 1), Ymd(2004, 2, 10)), 1.5);
    EXPECT_EQ(MonthsBetween(Ymd(2004, 1, 1), Ymd(2004, 1, 2)), 0.0);
    EXPECT_EQ(MonthsBetween(Ymd(2004, 1, 1), Ymd(2004, 1, 3)), 0.25);
    EXPECT_EQ(MonthsBetween(Ymd(2004, 1, 1), Ymd(2005, 1, 22)), 13.0);
}

TEST_F(DateUtil, DayCountsIncludeBothEnds)
{
    const TDateTime d = Ymd(2004, 6, 1);
    EXPECT_EQ(DaysBetween(d, d), 1);
    EXPECT_EQ(DaysBetween(d, d + 1), 2);
    EXPECT_EQ(DaysBetween(d + 1, d), 0);
    EXPECT_EQ(DaysBetween(d + 5, d), 0);
    EXPECT_EQ(DaysInPeriod(d + 1, d), 2);
    EXPECT_EQ(DaysInPeriod(d, d + 0.9), 1);
    EXPECT_EQ(DaysInPeriod(d, 1e9), 0);
    EXPECT_EQ(DaysInPeriod(NAN, d), 0);
    EXPECT_EQ(DaysBetween(-1e300, 1e300), INT_MAX);
    EXPECT_TRUE(ValidDate(d));
    EXPECT_FALSE(ValidDate(-1e7));
    EXPECT_FALSE(ValidDate(INFINITY));
    EXPECT_EQ(CutTime(d + 0.75), d);
    EXPECT_EQ(ExtractYear(d), 2004);
    EXPECT_EQ(ExtractMonth(d), 6);
    EXPECT_EQ(ExtractDay(d), 1);
}

TEST_F(DateUtil, MonthOutsideTheYearHasNoDayCount)
{
    EXPECT_EQ(DaysPerMonth(2004, 0), 0);
    EXPECT_EQ(DaysPerMonth(2004, 13), 0);
    EXPECT_EQ(DaysPerMonth(2004, 2), 29);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
}

TEST_F(DateUtil, TimeStepsWrapAPureTimeOfDayWithinItsDay)
{
    const TDateTime six = EncodeTime(6, 0, 0, 0);
    EXPECT_NEAR(IncHour(six, -7), EncodeTime(23, 0, 0, 0), 1e-9);
    const TDateTime d = Ymd(2004, 6, 1);
    EXPECT_NEAR(IncHour(d, 25), d + 1 + EncodeTime(1, 0, 0, 0), 1e-9);
    EXPECT_NEAR(IncMinute(d, 90), d + EncodeTime(1, 30, 0, 0), 1e-9);
    EXPECT_NEAR(IncSecond(d, -1), d - EncodeTime(0, 0, 1, 0), 1e-9);
    EXPECT_NEAR(IncMSec(d, 1500), d + EncodeTime(0, 0, 1, 500), 1e-9);
}

TEST_F(DateUtil, LargeMinuteAndSecondCountsNeverMoveTheTimeBackwards)
{
    const TDateTime d = Ymd(2004, 6, 1);
    // 40 million minutes are 2.4e12 ms: beyond 32 bits.
    EXPECT_NEAR(IncMinute(d, 40000000), d + 40000000.0 / 1440, 1e-6);
    EXPECT_NEAR(IncSecond(d, INT_MAX), d + INT_MAX / 86400.0, 1e-6);
    EXPECT_NEAR(IncTime(d, INT_MAX, INT_MAX, INT_MAX, INT_MAX),
                d + (INT_MAX / 24) +
                    ((INT_MAX % 24) * 3600000.0 + INT_MAX * 60000.0 + INT_MAX * 1000.0 + INT_MAX) /
                        86400000.0,
                1e-6);
}

TEST_F(DateUtil, FourDigitYearFollowsTheShortDateFormat)
{
    DateSettings().ShortDateFormat = "dd.MM.yyyy";
    EXPECT_TRUE(FourDigitYear());
    DateSettings().ShortDateFormat = "dd.MM.yy";
    EXPECT_FALSE(FourDigitYear());
}
