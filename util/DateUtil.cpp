// Calendar arithmetic on the framework's date-time value.
#include "util/DateUtil.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/Exceptions.h"
#include "util/DateLocale.h"
#include "util/LocaleServices.h"

namespace {

constexpr std::int64_t MSecsPerHour = 3600000;
constexpr std::int64_t MSecsPerMinute = 60000;
constexpr std::int64_t MSecsPerSecond = 1000;

struct TYmd {
    Word Year, Month, Day;
};

TYmd Decode(TDateTime Date)
{
    TYmd d;
    DecodeDate(Date, d.Year, d.Month, d.Day);
    return d;
}

// The value cut toward zero; values no date can have saturate, so that the difference of
// two never overflows.
std::int64_t WholeDays(TDateTime Date)
{
    constexpr double Limit = 4.0e18;
    if (std::isnan(Date)) return 0;
    return static_cast<std::int64_t>(std::clamp(std::trunc(Date), -Limit, Limit));
}

int ClampToInt(std::int64_t Value)
{
    return static_cast<int>(std::clamp<std::int64_t>(Value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// A year far outside 1..9999 must still reach the encoder as a year it rejects.
int AsYear(std::int64_t Year) { return Year < 1 || Year > 9999 ? 0 : static_cast<int>(Year); }

TDateTime FirstOfMonthAfterToday(int Months)
{
    const TYmd today = Decode(Date());
    return IncDate(EncodeDate(today.Year, today.Month, 1), 0, Months, 0);
}

}  // namespace

bool FourDigitYear()
{
    return Locale().UpperCase(DateLocale().ShortDateFormat).find("YYYY") != String::npos;
}

TDateTime FirstDayOfNextMonth() { return FirstOfMonthAfterToday(1); }

TDateTime FirstDayOfPrevMonth() { return FirstOfMonthAfterToday(-1); }

TDateTime LastDayOfPrevMonth() { return FirstOfMonthAfterToday(0) - 1; }

Word CurrentYear() { return Decode(Now()).Year; }

Word ExtractDay(TDateTime Date) { return Decode(Date).Day; }

Word ExtractMonth(TDateTime Date) { return Decode(Date).Month; }

Word ExtractYear(TDateTime Date) { return Decode(Date).Year; }

TDateTime IncDate(TDateTime Date, int Days, int Months, int Years)
{
    const TYmd d = Decode(Date);
    std::int64_t year = std::int64_t(d.Year) + Years + Months / 12;
    int month = d.Month + Months % 12;
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
    const int y = AsYear(year);
    const int day = std::min<int>(d.Day, y ? DaysPerMonth(y, month) : d.Day);
    return EncodeDate(y, month, day) + Days + (Date - std::trunc(Date));
}

TDateTime IncDay(TDateTime Date, int Days) { return Date + Days; }

TDateTime IncMonth(TDateTime Date, int Months) { return IncDate(Date, 0, Months, 0); }

TDateTime IncYear(TDateTime Date, int Years) { return IncDate(Date, 0, 0, Years); }

void DateDiff(TDateTime Date1, TDateTime Date2, Word& Days, Word& Months, Word& Years)
{
    if (Date1 > Date2) std::swap(Date1, Date2);
    const TYmd from = Decode(Date1);
    const TYmd to = Decode(Date2);
    int years = to.Year - from.Year;
    int months = 0;
    int toMonth = to.Month;
    int toDay = to.Day;
    if (toMonth < from.Month) {
        toMonth += 12;
        --years;
    }
    months = toMonth - from.Month;
    if (toDay < from.Day) {
        toDay += DaysPerMonth(from.Year, from.Month);
        if (months == 0) {
            --years;
            months = 11;
        } else {
            --months;
        }
    }
    Days = static_cast<Word>(toDay - from.Day);
    Months = static_cast<Word>(months);
    Years = static_cast<Word>(years);
}

double MonthsBetween(TDateTime Date1, TDateTime Date2)
{
    Word days, months, years;
    DateDiff(Date1, Date2, days, months, years);
    double result = years * 12.0 + months;
    if (days >= 21)
        result += 1.0;
    else if (days >= 15)
        result += 0.75;
    else if (days >= 7)
        result += 0.5;
    else if (days >= 2)
        result += 0.25;
    return result;
}

bool ValidDate(TDateTime Date)
{
    try {
        Decode(Date);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

int DaysInPeriod(TDateTime Date1, TDateTime Date2)
{
    if (!ValidDate(Date1) || !ValidDate(Date2)) return 0;
    const std::int64_t span = WholeDays(Date2) - WholeDays(Date1);
    return ClampToInt((span < 0 ? -span : span) + 1);
}

int DaysBetween(TDateTime Date1, TDateTime Date2)
{
    const std::int64_t days = WholeDays(Date2) - WholeDays(Date1) + 1;
    return days < 0 ? 0 : ClampToInt(days);
}

TDateTime IncTime(TDateTime Time, int Hours, int Minutes, int Seconds, int MSecs)
{
    // Summed in 64 bits: in 32 a count of minutes or seconds past about 24 days wrapped
    // and moved the time backwards.
    const std::int64_t msecs = std::int64_t(Hours % 24) * MSecsPerHour +
                               std::int64_t(Minutes) * MSecsPerMinute +
                               std::int64_t(Seconds) * MSecsPerSecond + MSecs;
    TDateTime result = Time + Hours / 24 + static_cast<double>(msecs) / MSecsPerDay;
    if (result < 0) result += 1;
    return result;
}

TDateTime IncHour(TDateTime Time, int Hours) { return IncTime(Time, Hours, 0, 0, 0); }

TDateTime IncMinute(TDateTime Time, int Minutes) { return IncTime(Time, 0, Minutes, 0, 0); }

TDateTime IncSecond(TDateTime Time, int Seconds) { return IncTime(Time, 0, 0, Seconds, 0); }

TDateTime IncMSec(TDateTime Time, int MSecs) { return IncTime(Time, 0, 0, 0, MSecs); }

TDateTime CutTime(TDateTime Date) { return std::trunc(Date); }
