// Date texts to TDateTime by a date format used as a fixed-position mask, with a fallback
// that scans numbers between date separators; month names, the day-month-year order of a
// format, the default date formats and edit masks, and the long date text of a date.
#pragma once

#include <cstdint>

#include "framework/DateTime.h"
#include "util/DateUtil.h"

namespace DateParseText {
// The message of the conversion error of a text that is no date; %s is the text.
inline constexpr const char* InvalidDate = "''%s'' is not a valid date";
}  // namespace DateParseText

// The first of the letters D, E, M, Y (either case) decides; none gives doDMY.
TDateOrder GetDateOrder(std::string_view Format);
// The month 1..12 whose long name starts, over Length characters, like the text (case
// ignored); 0 when none.
std::uint8_t MonthFromName(std::string_view Text, std::uint8_t Length);
// The date of the text; an empty text gives NullDate. Raises EConvertError when the text is
// no date.
TDateTime StrToDateFmt(std::string_view Format, std::string_view Text);
// The same with the locale's short date format / the given format; a text that is no date
// gives the default without its time of day.
TDateTime StrToDateDef(std::string_view Text, TDateTime Default);
TDateTime StrToDateFmtDef(std::string_view Format, std::string_view Text, TDateTime Default);
// The default date format and edit mask for the order of the locale's short date format.
String DefDateFormat(bool FourDigitYear);
String DefDateMask(char BlankChar, bool FourDigitYear);
// The locale's long date text; FormatLongDateTime adds a blank and the long time, and gives
// an empty text for NullDate.
String FormatLongDate(TDateTime Date);
String FormatLongDateTime(TDateTime Date);
