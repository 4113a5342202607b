// The two pages of the ASCII table as rich text, generated here rather than kept as fixed
// documents: codes 0-31 with their control mnemonics and key notation, codes 32-127 with the
// characters themselves. Platform-free.
#pragma once

#include "framework/Strings.h"

// One line per code, columns under the page's header label (Courier New, 10 points): the
// decimal code right-aligned in three places (bold), two hex digits, the binary digits in two
// groups of four (navy), the name (green); on the control page a tab and the "^X" key.
String AsciiControlTableRtf();   // codes 0-31
String AsciiStandardTableRtf();  // codes 32-127

// The header labels the columns line up under.
inline constexpr const char* AsciiControlHeader = " Dec    Hex   Binary      Name      Ctrl Char";
inline constexpr const char* AsciiStandardHeader = " Dec    Hex   Binary      Name/Char";
