// The date routines against the real locale under Wine: the settings read from the system,
// a date the system writes in its short format parsed back, and the long date texts.
#include <gtest/gtest.h>

#include <windows.h>

#include "util/DateLocale.h"
#include "util/DateParse.h"

namespace {

bool EnglishLocale() { return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_ENGLISH; }

String SystemShortDate(int Year, int Month, int Day)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(Year);
    st.wMonth = static_cast<WORD>(Month);
    st.wDay = static_cast<WORD>(Day);
    char buffer[128];
    const int length =
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
    return length > 1 ? String(buffer, static_cast<size_t>(length - 1)) : String();
}

}  // namespace

TEST(SystemDateLocale, SettingsAreReadFromTheUserLocale)
{
    const TDateLocale& locale = SystemDateLocale();
    EXPECT_FALSE(locale.ShortDateFormat.empty());
    EXPECT_NE(locale.ShortDateFormat.find(locale.DateSeparator), String::npos);
    for (const String& name : locale.LongMonthNames) EXPECT_FALSE(name.empty());
    if (EnglishLocale()) {
        EXPECT_EQ(locale.LongMonthNames[1], "February");
        EXPECT_EQ(MonthFromName("feb", 3), 2);
    }
}

TEST(SystemDateLocale, DatesTheSystemWritesParseBack)
{
    const int days[][3] = {{2004, 2, 29}, {1999, 12, 31}, {2026, 1, 5}, {2031, 10, 17}};
    for (const auto& d : days) {
        const String text = SystemShortDate(d[0], d[1], d[2]);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(StrToDateDef(text, -1), EncodeDate(d[0], d[1], d[2])) << text;
    }
}

TEST(SystemDateLocale, LongDateTextsComeFromTheSystem)
{
    const TDateTime date = EncodeDate(2004, 2, 3) + EncodeTime(13, 5, 0, 0);
    const String longDate = FormatLongDate(date);
    EXPECT_NE(longDate.find("2004"), String::npos) << longDate;
    if (EnglishLocale()) {
        EXPECT_NE(longDate.find("February"), String::npos) << longDate;
    }
    const String withTime = FormatLongDateTime(date);
    EXPECT_EQ(withTime.rfind(longDate + " ", 0), 0u) << withTime;
    EXPECT_NE(withTime.find("05"), String::npos) << withTime;
    EXPECT_EQ(FormatLongDateTime(NullDate), "");
}
