// Date parsing by mask and by separator scan, month names, date orders, the default formats
// and masks, the long date texts, and the parse/format round trip in every order.
#include <gtest/gtest.h>

#include "DateFixture.h"
#include "DateTexts.h"
#include "framework/Exceptions.h"
#include "util/DateParse.h"

namespace {

TDateTime Ymd(int Year, int Month, int Day) { return EncodeDate(Year, Month, Day); }

}  // namespace

using DateParse = DateTest;

TEST_F(DateParse, FirstDateLetterDecidesTheOrder)
{
    EXPECT_EQ(GetDateOrder("dd.MM.yyyy"), doDMY);
    EXPECT_EQ(GetDateOrder("M/d/yy"), doMDY);
    EXPECT_EQ(GetDateOrder("yyyy-MM-dd"), doYMD);
    EXPECT_EQ(GetDateOrder("gg ee/MM/dd"), doYMD);
    EXPECT_EQ(GetDateOrder("//"), doDMY);
}

TEST_F(DateParse, MonthFromNameComparesTheGivenLengthWithoutCase)
{
    EXPECT_EQ(MonthFromName("FEB", 3), 2);
    EXPECT_EQ(MonthFromName("decimal", 3), 12);
    EXPECT_EQ(MonthFromName("Ma", 3), 0);
    EXPECT_EQ(MonthFromName("May", 5), 5);
    EXPECT_EQ(MonthFromName("Mar", 3), 3);
    EXPECT_EQ(MonthFromName("", 3), 0);
    EXPECT_EQ(MonthFromName("xyz", 3), 0);
    DateSettings().LongMonthNames[0] = "";
    EXPECT_EQ(MonthFromName("J", 1), 6);
}

TEST_F(DateParse, MaskReadsEachFieldAtItsPosition)
{
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", "12/05/2004"), Ymd(2004, 5, 12));
    EXPECT_EQ(StrToDateFmt("DD-MMM-YYYY", "03-feb-2004"), Ymd(2004, 2, 3));
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", " 3/ 5/2004"), Ymd(2004, 5, 3));
    EXPECT_EQ(StrToDateFmt("yyyy-mm-dd", "2004-02-29"), Ymd(2004, 2, 29));
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", ""), NullDate);
}

TEST_F(DateParse, MissingYearFieldIsNoDate)
{
    try {
        StrToDateFmt("DD/MM/YYYY", "12/05/");
        FAIL() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "''12/05/'' is not a valid date");
    }
    const TDateTime fallback = Ymd(2001, 1, 1) + 0.5;
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "12/05/", fallback), Ymd(2001, 1, 1));
    // A year field that holds no number is no year either, not the last year of a century.
    EXPECT_EQ(StrToDateFmtDef("M/d/yyyy", "1/11/04", fallback), Ymd(2004, 1, 11));
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "12/05/20x4", fallback), Ymd(2001, 1, 1));
}

TEST_F(DateParse, TextLongerThanItsFormatIsScannedWithTheLocaleSeparator)
{
    DateSettings().DateSeparator = '.';
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "03.02.2004"), Ymd(2004, 2, 3));
    EXPECT_EQ(StrToDateFmt("MM/DD/YY", "03.02.2004"), Ymd(2004, 3, 2));
    EXPECT_EQ(StrToDateFmt("YY/MM/DD", "2004.03.02."), Ymd(2004, 3, 2));
    EXPECT_THROW(StrToDateFmt("DD/MM/YY", "03/02/2004"), EConvertError);
    EXPECT_THROW(StrToDateFmt("DD/MM/YY", "03.02.2004 x"), EConvertError);
}

TEST_F(DateParse, TwoNumbersTakeTheCurrentYear)
{
    EXPECT_EQ(StrToDateFmt("d/M", "24/12"), Ymd(2026, 12, 24));
    EXPECT_EQ(StrToDateFmt("M/d", "12/24 "), Ymd(2026, 12, 24));
    EXPECT_EQ(StrToDateFmt("yyyy/MM/dd", "2/28"), Ymd(2026, 2, 28));
    EXPECT_THROW(StrToDateFmt("yyyy/MM/dd", "2/29"), EConvertError);
}

TEST_F(DateParse, TwoDigitYearsLandInTheWindowAroundTheCurrentYear)
{
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "01/01/05"), Ymd(2005, 1, 1));
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "01/01/66"), Ymd(1966, 1, 1));
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "01/01/65"), Ymd(2065, 1, 1));
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "01/01/00"), Ymd(2000, 1, 1));
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", "01/01/0099"), Ymd(1999, 1, 1));
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", "01/01/0100"), Ymd(100, 1, 1));
}

TEST_F(DateParse, DefaultVariantsAnswerTheDefaultButNullDateForEmptyText)
{
    DateSettings().ShortDateFormat = "dd/MM/yyyy";
    EXPECT_EQ(StrToDateDef("", Ymd(2001, 1, 1)), NullDate);
    EXPECT_EQ(StrToDateDef("31/12/2004", 0), Ymd(2004, 12, 31));
    EXPECT_EQ(StrToDateDef("31/02/2004", Ymd(2001, 1, 1) + 0.25), Ymd(2001, 1, 1));
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "nonsense", Ymd(2001, 1, 1)), Ymd(2001, 1, 1));
}

TEST_F(DateParse, DefaultFormatsAndMasksFollowTheLocaleOrder)
{
    DateSettings().ShortDateFormat = "dd.MM.yyyy";
    EXPECT_EQ(DefDateFormat(true), "DD/MM/YYYY");
    EXPECT_EQ(DefDateFormat(false), "DD/MM/YY");
    EXPECT_EQ(DefDateMask('_', true), "!99/99/9999;1;_");
    DateSettings().ShortDateFormat = "M/d/yy";
    EXPECT_EQ(DefDateFormat(true), "MM/DD/YYYY");
    EXPECT_EQ(DefDateMask(' ', false), "!99/99/99;1; ");
    DateSettings().ShortDateFormat = "yyyy-MM-dd";
    EXPECT_EQ(DefDateFormat(true), "YYYY/MM/DD");
    EXPECT_EQ(DefDateFormat(false), "YY/MM/DD");
    EXPECT_EQ(DefDateMask('_', true), "!9999/99/99;1;_");
    EXPECT_EQ(DefDateMask('_', false), "!99/99/99;1;_");
}

TEST_F(DateParse, LongDateTextsComeFromTheLocaleTrimmed)
{
    DateSettings().LongDate = [](TDateTime) { return String("Tuesday, 3 February 2004 \r\n"); };
    DateSettings().LongTime = [](TDateTime) { return String("13:05:00"); };
    EXPECT_EQ(FormatLongDate(Ymd(2004, 2, 3)), "Tuesday, 3 February 2004");
    EXPECT_EQ(FormatLongDateTime(Ymd(2004, 2, 3)), "Tuesday, 3 February 2004 13:05:00");
    EXPECT_EQ(FormatLongDateTime(NullDate), "");
}

TEST_F(DateParse, FarEastLocalesSkipTheDayNameAfterTheDate)
{
    DateSettings().ShortDateFormat = "yyyy/MM/dd ddd";
    DateSettings().ShortTimeFormat = "tt h:mm";
    DateSettings().FarEast = true;
    EXPECT_EQ(StrToDateFmt("yyyy/MM/dd", "2004/2/3 (Tue)"), Ymd(2004, 2, 3));
    // The scan stops at a time of day, which is not part of a date.
    EXPECT_THROW(StrToDateFmt("yyyy/MM/dd", "2004/2/3 (Tue) PM 1:00"), EConvertError);
    DateSettings().FarEast = false;
    EXPECT_THROW(StrToDateFmt("yyyy/MM/dd", "2004/2/3 (Tue)"), EConvertError);
}

TEST_F(DateParse, EraFormatsSkipToTheFirstDigit)
{
    DateSettings().ShortDateFormat = "gg yy/MM/dd";
    EXPECT_EQ(StrToDateFmt("yy/MM/dd", "AD 2004/2/3"), Ymd(2004, 2, 3));
}

TEST_F(DateParse, FormattedDatesParseBackInEveryOrder)
{
    struct Case {
        const char* Format;
        char Separator;
    };
    const Case cases[] = {{"M/d/yyyy", '/'},   {"MM/dd/yy", '/'},   {"dd.MM.yyyy", '.'},
                          {"d.M.yy", '.'},     {"yyyy-MM-dd", '-'}, {"yy-M-d", '-'},
                          {"dd-MMM-yyyy", '-'}};
    for (const Case& c : cases) {
        DateSettings().ShortDateFormat = c.Format;
        DateSettings().DateSeparator = c.Separator;
        const bool twoDigits = String(c.Format).find("yyyy") == String::npos;
        // Two-digit years come back only within the window: 1966 to 2065 in 2026.
        const TDateTime first = twoDigits ? Ymd(1966, 1, 1) : Ymd(1800, 1, 1);
        const TDateTime last = twoDigits ? Ymd(2065, 12, 31) : Ymd(2200, 12, 31);
        for (TDateTime d = first; d <= last; d += 13) {
            const String text = FormatDateLikeFormat(d, c.Format);
            ASSERT_EQ(StrToDateFmt(c.Format, text), d) << c.Format << " " << text;
            ASSERT_EQ(StrToDateDef(text, 0), d) << c.Format << " " << text;
        }
        for (bool fourDigits : {true, false}) {
            const String format = DefDateFormat(fourDigits);
            const TDateTime from = fourDigits ? first : Ymd(1966, 1, 1);
            const TDateTime to = fourDigits ? last : Ymd(2065, 12, 31);
            for (TDateTime d = from; d <= to; d += 29) {
                const String text = FormatDateLikeFormat(d, format);
                ASSERT_EQ(StrToDateFmt(format, text), d) << format << " " << text;
            }
        }
    }
}
