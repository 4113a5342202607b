// Date parsing: a mask pass that reads each field at its position in the format, then a
// scan of numbers between date separators in the format's order.
#include "util/DateParse.h"

#include "framework/Exceptions.h"
#include "util/DateLocale.h"
#include "util/LocaleServices.h"

namespace {

constexpr char Blank = ' ';
constexpr int MaxFieldChars = 20;
constexpr int NoDigitLimit = 1 << 30;
// Fields that are missing or not numbers.
constexpr int FieldError = -1;

struct TDateParts {
    int Year = 0, Month = 0, Day = 0;
};

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// A year of the two-digit window widened to four digits. A missing or negative year is
// left as it is, and so stays invalid: once it became the one year ending in 99 in the
// window, and "12/05/" was read as a date of that year.
int WidenYear(int Year)
{
    if (Year < 0 || Year >= 100) return Year;
    const int pivot = CurrentYear() - CenturyOffset;
    Year += pivot / 100 * 100;
    if (CenturyOffset > 0 && Year < pivot) Year += 100;
    return Year;
}

bool IsValidYMD(int Year, int Month, int Day)
{
    return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 &&
           Day <= DaysPerMonth(Year, Month);
}

// A position in a text, with the small readers of the separator scan.
class TScanner {
public:
    explicit TScanner(std::string_view Text) : text_(Text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    std::string_view Rest() const { return text_.substr(std::min(at_, text_.size())); }

    void SkipBlanks()
    {
        while (!AtEnd() && text_[at_] == Blank) ++at_;
    }

    bool ReadNumber(int MaxDigits, int& Value)
    {
        SkipBlanks();
        int value = 0;
        int digits = 0;
        while (!AtEnd() && IsDigit(text_[at_]) && digits < MaxDigits && value < 1000) {
            value = value * 10 + (text_[at_] - '0');
            ++digits;
            ++at_;
        }
        if (digits == 0) return false;
        Value = value;
        return true;
    }

    bool AcceptChar(char C)
    {
        SkipBlanks();
        if (AtEnd() || text_[at_] != C) return false;
        ++at_;
        return true;
    }

    void SkipToDigit(const TCharSet& LeadBytes)
    {
        while (!AtEnd() && !IsDigit(text_[at_])) at_ += LeadBytes.Contains(text_[at_]) ? 2 : 1;
    }

    void SkipToBlank()
    {
        while (!AtEnd() && text_[at_] != Blank) ++at_;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

bool StartsWithText(std::string_view S, std::string_view Prefix)
{
    return S.size() >= Prefix.size() && SameText(S.substr(0, Prefix.size()), Prefix);
}

// The fallback: numbers between date separators, in the order of the format.
bool ScanDateParts(std::string_view Text, std::string_view Format, TDateParts& Parts)
{
    const TDateLocale& locale = DateLocale();
    const TDateOrder order = GetDateOrder(Format);
    TScanner scan(Text);
    if (!locale.ShortDateFormat.empty() && locale.ShortDateFormat.front() == 'g')
        scan.SkipToDigit(locale.LeadBytes);
    int n1 = 0, n2 = 0, n3 = 0;
    if (!scan.ReadNumber(NoDigitLimit, n1) || !scan.AcceptChar(locale.DateSeparator) ||
        !scan.ReadNumber(NoDigitLimit, n2))
        return false;
    if (scan.AcceptChar(locale.DateSeparator)) {
        if (!scan.ReadNumber(NoDigitLimit, n3)) return false;
        switch (order) {
        case doMDY: Parts = {n3, n1, n2}; break;
        case doDMY: Parts = {n3, n2, n1}; break;
        case doYMD: Parts = {n1, n2, n3}; break;
        }
        Parts.Year = WidenYear(Parts.Year);
    } else {
        Parts.Year = CurrentYear();
        Parts.Month = order == doDMY ? n2 : n1;
        Parts.Day = order == doDMY ? n1 : n2;
    }
    scan.AcceptChar(locale.DateSeparator);
    scan.SkipBlanks();
    if (locale.FarEast && locale.ShortDateFormat.find("ddd") != String::npos) {
        if (!locale.ShortTimeFormat.empty() && IsDigit(locale.ShortTimeFormat.front())) {
            scan.SkipToDigit(locale.LeadBytes);
        } else {
            do {
                scan.SkipToBlank();
                scan.SkipBlanks();
            } while (!scan.AtEnd() && !StartsWithText(scan.Rest(), locale.TimeAMString) &&
                     !StartsWithText(scan.Rest(), locale.TimePMString));
        }
    }
    return IsValidYMD(Parts.Year, Parts.Month, Parts.Day) && scan.AtEnd();
}

// Decimal digits with an optional sign, nothing else.
bool ReadDecimal(std::string_view S, int& Value)
{
    std::string_view digits = S;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix(1);
    if (digits.empty()) return false;
    for (char c : digits)
        if (!IsDigit(c)) return false;
    return TryStrToInt(S, Value);
}

// The field of the letter read at the positions the format gives it.
int ExtractMaskedField(std::string_view Format, std::string_view Text, char Letter,
                       int DefaultValue, int RunLength)
{
    if (Text.size() > Format.size()) return DefaultValue;
    const String upperFormat = Locale().UpperCase(Format);
    const char letter = UpperCase(std::string_view(&Letter, 1))[0];
    const size_t start = upperFormat.find(String(static_cast<size_t>(RunLength), letter));
    if (start == String::npos) return DefaultValue;
    String taken;
    for (size_t at = start; at < Text.size() && upperFormat[at] == letter; ++at) {
        if (Text[at] != Blank && taken.size() < MaxFieldChars) taken += Text[at];
    }
    if (taken.empty()) return FieldError;
    if (RunLength < 2) {
        int value = 0;
        return ReadDecimal(taken, value) ? value : FieldError;
    }
    const int month = MonthFromName(taken, static_cast<std::uint8_t>(taken.size()));
    return month == 0 ? FieldError : month;
}

bool ParseDateByMask(std::string_view Format, std::string_view Text, TDateParts& Parts)
{
    Parts.Month = ExtractMaskedField(Format, Text, 'm', 0, 3);
    if (Parts.Month == 0) Parts.Month = ExtractMaskedField(Format, Text, 'm', 0, 1);
    Parts.Day = ExtractMaskedField(Format, Text, 'd', 1, 1);
    Parts.Year = WidenYear(ExtractMaskedField(Format, Text, 'y', CurrentYear(), 1));
    if (IsValidYMD(Parts.Year, Parts.Month, Parts.Day)) return true;
    Parts = TDateParts();
    return ScanDateParts(Text, Format, Parts);
}

bool ParseDateText(std::string_view Format, std::string_view Text, TDateTime& Date)
{
    if (Text.empty()) {
        Date = NullDate;
        return true;
    }
    try {
        TDateParts parts;
        return ParseDateByMask(Format, Text, parts) &&
               TryEncodeDate(parts.Year, parts.Month, parts.Day, Date);
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace

TDateOrder GetDateOrder(std::string_view Format)
{
    for (char c : Format) {
        switch (c) {
        case 'D':
        case 'd': return doDMY;
        case 'E':
        case 'e': return doYMD;
        case 'M':
        case 'm': return doMDY;
        case 'Y':
        case 'y': return doYMD;
        default: break;
        }
    }
    return doDMY;
}

std::uint8_t MonthFromName(std::string_view Text, std::uint8_t Length)
{
    if (Text.empty()) return 0;
    const TLocaleServices& locale = Locale();
    const std::string_view start = Text.substr(0, Length);
    for (std::uint8_t month = 1; month <= 12; ++month) {
        const std::string_view name = DateLocale().LongMonthNames[month - 1u];
        if (name.empty()) continue;
        if (locale.Compare(start, name.substr(0, Length), true) == 0) return month;
    }
    return 0;
}

TDateTime StrToDateFmt(std::string_view Format, std::string_view Text)
{
    TDateTime date = NullDate;
    if (!ParseDateText(Format, Text, date)) throw EConvertError(DateParseText::InvalidDate, Text);
    return date;
}

TDateTime StrToDateFmtDef(std::string_view Format, std::string_view Text, TDateTime Default)
{
    TDateTime date = NullDate;
    return ParseDateText(Format, Text, date) ? date : CutTime(Default);
}

TDateTime StrToDateDef(std::string_view Text, TDateTime Default)
{
    return StrToDateFmtDef(DateLocale().ShortDateFormat, Text, Default);
}

String DefDateFormat(bool FourDigitYear)
{
    static const char* const Formats[3][2] = {
        {"MM/DD/YY", "MM/DD/YYYY"}, {"DD/MM/YY", "DD/MM/YYYY"}, {"YY/MM/DD", "YYYY/MM/DD"}};
    return Formats[GetDateOrder(DateLocale().ShortDateFormat)][FourDigitYear ? 1 : 0];
}

String DefDateMask(char BlankChar, bool FourDigitYear)
{
    static const char* const Masks[3][2] = {{"!99/99/99;1;", "!99/99/9999;1;"},
                                            {"!99/99/99;1;", "!99/99/9999;1;"},
                                            {"!99/99/99;1;", "!9999/99/99;1;"}};
    return String(Masks[GetDateOrder(DateLocale().ShortDateFormat)][FourDigitYear ? 1 : 0]) +
           BlankChar;
}

String FormatLongDate(TDateTime Date) { return TrimRight(DateLocale().LongDate(Date)); }

String FormatLongDateTime(TDateTime Date)
{
    if (Date == NullDate) return String();
    return FormatLongDate(Date) + Blank + DateLocale().LongTime(Date);
}
