// The date settings of the platform-free build: fixed English (United States) ones.
#include "util/DateLocale.h"

namespace {

const char* const DayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const std::array<String, 12> MonthNames = {"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};

String EnglishLongDate(TDateTime Date)
{
    Word year, month, day;
    DecodeDate(Date, year, month, day);
    // 30 December 1899, day 0, was a Saturday.
    const long long whole = static_cast<long long>(Date);
    const int weekday = static_cast<int>(((whole + 6) % 7 + 7) % 7);
    return Format("%s, %s %d, %d", DayNames[weekday], MonthNames[month - 1], day, year);
}

String EnglishLongTime(TDateTime Date)
{
    Word hour, minute, second, msec;
    DecodeTime(Date, hour, minute, second, msec);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return Format("%d:%.2d:%.2d %s", hour12, minute, second, hour < 12 ? "AM" : "PM");
}

TDateLocale MakeEnglish()
{
    TDateLocale english;
    english.ShortDateFormat = "M/d/yyyy";
    english.DateSeparator = '/';
    english.LongMonthNames = MonthNames;
    english.ShortTimeFormat = "h:mm AMPM";
    english.TimeAMString = "AM";
    english.TimePMString = "PM";
    english.LongDate = EnglishLongDate;
    english.LongTime = EnglishLongTime;
    return english;
}

}  // namespace

const TDateLocale& SystemDateLocale()
{
    static const TDateLocale english = MakeEnglish();
    return english;
}
