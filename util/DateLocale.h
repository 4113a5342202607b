// The locale's date settings the date routines read: the short date format and separator,
// the month names, the time texts, double-byte lead bytes, and the long date and time texts
// of a date. The program uses the system's, read once; tests set their own.
#pragma once

#include <array>

#include "framework/DateTime.h"
#include "util/CharSet.h"

struct TDateLocale {
    String ShortDateFormat;  // e.g. "M/d/yyyy"
    char DateSeparator = '/';
    std::array<String, 12> LongMonthNames;
    String ShortTimeFormat;
    String TimeAMString;
    String TimePMString;
    bool FarEast = false;  // a double-byte locale
    TCharSet LeadBytes;    // first bytes of double-byte characters
    // The long date / long time text of a date in the user's locale.
    String (*LongDate)(TDateTime Date) = nullptr;
    String (*LongTime)(TDateTime Date) = nullptr;
};

// The settings in force: the system's unless a test has set others.
const TDateLocale& DateLocale();
// Tests set their own settings; nullptr restores the system's. They must outlive their use.
void SetDateLocale(const TDateLocale* Settings);
// The Windows build reads the user's locale; the platform-free build has fixed English
// (United States) settings.
const TDateLocale& SystemDateLocale();
