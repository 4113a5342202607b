// The locale-bound text services the string routines need: OEM code page conversion, locale
// comparison and locale case mapping. The program uses the system's; tests replace them.
#pragma once

#include "framework/Strings.h"

struct TLocaleServices {
    // ANSI to OEM code page and back, same length.
    String (*AnsiToOem)(std::string_view S);
    String (*OemToAnsi)(std::string_view S);
    // -1, 0 or 1 by the user's locale (string sort); IgnoreCase compares without case.
    int (*Compare)(std::string_view A, std::string_view B, bool IgnoreCase);
    String (*UpperCase)(std::string_view S);
    String (*LowerCase)(std::string_view S);
};

// The services in force: the system's unless a test has set others.
const TLocaleServices& Locale();
// Tests set their own services; nullptr restores the system's. The services must outlive
// their use.
void SetLocaleServices(const TLocaleServices* Services);
// The Windows build asks the system; the platform-free build has no OEM code page (text
// passes unchanged), compares bytes and maps the case of ASCII letters only.
const TLocaleServices& SystemLocaleServices();
