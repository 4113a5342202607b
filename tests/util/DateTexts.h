// Writes a date the way a date format lays it out, for the parser's round trips: runs of
// y, m and d (either case) become the year (4 or 2 digits), the month (number, or the first
// letters of its name for three or more) and the day; other characters stay.
#pragma once

#include "framework/DateTime.h"
#include "util/DateLocale.h"

inline String FormatDateLikeFormat(TDateTime Date, std::string_view Layout)
{
    Word year, month, day;
    DecodeDate(Date, year, month, day);
    String text;
    for (size_t i = 0; i < Layout.size();) {
        const char letter = static_cast<char>(Layout[i] | 0x20);
        size_t run = 1;
        while (i + run < Layout.size() && (Layout[i + run] | 0x20) == letter) ++run;
        if (letter == 'y')
            text += run >= 4 ? Format("%.4d", year) : Format("%.2d", year % 100);
        else if (letter == 'm' && run >= 3)
            text += DateLocale().LongMonthNames[month - 1u].substr(0, run);
        else if (letter == 'm')
            text += Format(run == 1 ? "%d" : "%.2d", month);
        else if (letter == 'd')
            text += Format(run == 1 ? "%d" : "%.2d", day);
        else
            text.append(Layout.substr(i, run));
        i += run;
    }
    return text;
}
