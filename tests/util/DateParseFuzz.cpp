// Fuzzes the date parser. The first byte picks a locale date format, the next three a date
// that must parse back from its text in that format; the rest, split by the fifth byte into
// a format and a text, must parse to a valid date, NullDate or the default, or raise only
// the conversion error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "DateTexts.h"
#include "framework/Exceptions.h"
#include "util/DateParse.h"

namespace {

struct LocaleFormat {
    const char* Format;
    char Separator;
};

const LocaleFormat Formats[] = {{"M/d/yyyy", '/'},    {"dd.MM.yyyy", '.'}, {"yyyy-MM-dd", '-'},
                                {"dd-MMM-yyyy", '-'}, {"MM/dd/yy", '/'},   {"d.M.yy", '.'},
                                {"yy-M-d", '-'},      {"gg yyyy/M/d", '/'}};

TDateTime FixedNow() { return EncodeDate(2026, 12, 7) + 0.5; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    SetClock(FixedNow);
    const LocaleFormat& chosen = Formats[data[0] % std::size(Formats)];
    static TDateLocale locale = SystemDateLocale();
    locale.ShortDateFormat = chosen.Format;
    locale.DateSeparator = chosen.Separator;
    SetDateLocale(&locale);

    // Four-digit years from 100 to 9999; two-digit ones within the window, 1966 to 2065.
    const bool twoDigits = String(chosen.Format).find("yyyy") == String::npos;
    const std::uint32_t pick = data[1] | data[2] << 8 | data[3] << 16;
    const TDateTime first = twoDigits ? EncodeDate(1966, 1, 1) : EncodeDate(100, 1, 1);
    const TDateTime last = twoDigits ? EncodeDate(2065, 12, 31) : EncodeDate(9999, 12, 31);
    const TDateTime date = first + pick % static_cast<std::uint32_t>(last - first + 1);
    const String text = FormatDateLikeFormat(date, chosen.Format);
    if (StrToDateFmt(chosen.Format, text) != date) std::abort();
    if (StrToDateDef(text, 0) != date) std::abort();

    const std::string_view rest(reinterpret_cast<const char*>(data) + 5, size - 5);
    const size_t split = std::min<size_t>(data[4], rest.size());
    const std::string_view format = rest.substr(0, split);
    const std::string_view input = rest.substr(split);
    const TDateTime fallback = EncodeDate(1999, 9, 9);
    const TDateTime parsed = StrToDateFmtDef(format, input, fallback + 0.5);
    if (parsed != fallback && parsed != NullDate && !ValidDate(parsed)) std::abort();
    if (parsed != std::trunc(parsed)) std::abort();
    try {
        const TDateTime raised = StrToDateFmt(format, input);
        if (raised != parsed) std::abort();
    } catch (const EConvertError&) {
        if (parsed != fallback) std::abort();
    }
    return 0;
}
