// Calendar arithmetic on TDateTime: neighbouring months, date parts, adding days, months,
// years and time units, differences in years, months and days, and counts of days.
// Leap years and month lengths are the framework's IsLeapYear and DaysPerMonth.
#pragma once

#include <cstdint>

#include "framework/DateTime.h"
#include "framework/Sets.h"

// The empty date: parsing an empty text gives it, and it prints as nothing.
constexpr TDateTime NullDate = 0.0;
// Two-digit years land in the hundred years from the current year minus this offset.
constexpr std::uint8_t CenturyOffset = 60;

enum TDateOrder : std::uint8_t { doMDY, doDMY, doYMD };
enum class TDayOfWeekName : std::uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
using TDaysOfWeek = TSet<TDayOfWeekName>;

// Whether the locale's short date format writes four-digit years: the year width callers
// pass to DefDateFormat and DefDateMask.
bool FourDigitYear();

// Relative to today (the framework's clock).
TDateTime FirstDayOfNextMonth();
TDateTime FirstDayOfPrevMonth();
TDateTime LastDayOfPrevMonth();
Word CurrentYear();

Word ExtractDay(TDateTime Date);
Word ExtractMonth(TDateTime Date);
Word ExtractYear(TDateTime Date);

// Months and years move the calendar date (a day past the new month's end becomes its last
// day), days are added after, and the time of day stays. Raises EConvertError when the year
// leaves 1..9999.
TDateTime IncDate(TDateTime Date, int Days, int Months, int Years);
TDateTime IncDay(TDateTime Date, int Days);
TDateTime IncMonth(TDateTime Date, int Months);
TDateTime IncYear(TDateTime Date, int Years);

// The distance between two dates, in either order, in whole years, months and days.
void DateDiff(TDateTime Date1, TDateTime Date2, Word& Days, Word& Months, Word& Years);
// Months between, the remaining days counted in quarter months.
double MonthsBetween(TDateTime Date1, TDateTime Date2);
// Whether the date decodes to a day of the years 1..9999.
bool ValidDate(TDateTime Date);
// Days from one to the other, both counted, in either order; 0 when either is not valid.
int DaysInPeriod(TDateTime Date1, TDateTime Date2);
// Days from Date1 to Date2, both counted; 0 when Date2 is earlier.
int DaysBetween(TDateTime Date1, TDateTime Date2);

// A time moved by the amounts; a pure time of day moved before midnight wraps to the end of
// the same day.
TDateTime IncTime(TDateTime Time, int Hours, int Minutes, int Seconds, int MSecs);
TDateTime IncHour(TDateTime Time, int Hours);
TDateTime IncMinute(TDateTime Time, int Minutes);
TDateTime IncSecond(TDateTime Time, int Seconds);
TDateTime IncMSec(TDateTime Time, int MSecs);
// The date without its time of day.
TDateTime CutTime(TDateTime Date);
