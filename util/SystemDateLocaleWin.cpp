// The date settings of the Windows build: the user's locale, read once at first use, and the
// system's long date and time texts in the thread's locale.
#include <windows.h>

#include "framework/Strings.h"
#include "util/DateLocale.h"

namespace {

String LocaleText(LCTYPE Item, const char* Fallback)
{
    char buffer[256];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, Item, buffer, sizeof buffer);
    return length > 1 ? String(buffer, static_cast<size_t>(length - 1)) : String(Fallback);
}

SYSTEMTIME ToSystemTime(TDateTime Date)
{
    Word year, month, day, hour, minute, second, msec;
    DecodeDate(Date, year, month, day);
    DecodeTime(Date, hour, minute, second, msec);
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = msec;
    return st;
}

String SystemLongDate(TDateTime Date)
{
    const SYSTEMTIME st = ToSystemTime(Date);
    char buffer[1024];
    const int length = GetDateFormatA(GetThreadLocale(), DATE_LONGDATE, &st, nullptr, buffer, 1023);
    return length > 1 ? String(buffer, static_cast<size_t>(length - 1)) : String();
}

String SystemLongTime(TDateTime Date)
{
    const SYSTEMTIME st = ToSystemTime(Date);
    char buffer[256];
    const int length = GetTimeFormatA(GetThreadLocale(), 0, &st, nullptr, buffer, sizeof buffer);
    return length > 1 ? String(buffer, static_cast<size_t>(length - 1)) : String();
}

TDateLocale ReadUserLocale()
{
    TDateLocale settings;
    settings.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
    settings.DateSeparator = LocaleText(LOCALE_SDATE, "/")[0];
    for (int m = 0; m < 12; ++m)
        settings.LongMonthNames[static_cast<size_t>(m)] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + m), "");
    settings.ShortTimeFormat = LocaleText(LOCALE_SSHORTTIME, "h:mm tt");
    settings.TimeAMString = LocaleText(LOCALE_S1159, "AM");
    settings.TimePMString = LocaleText(LOCALE_S2359, "PM");
    settings.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;
    for (int c = 128; c < 256; ++c)
        if (IsDBCSLeadByte(static_cast<BYTE>(c))) settings.LeadBytes.Include(static_cast<char>(c));
    settings.LongDate = SystemLongDate;
    settings.LongTime = SystemLongTime;
    return settings;
}

}  // namespace

const TDateLocale& SystemDateLocale()
{
    static const TDateLocale user = ReadUserLocale();
    return user;
}
