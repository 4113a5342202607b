// The ASCII table's pages: one RTF document per page, a paragraph per code.
#include "dialogs/AsciiTableText.h"

#include <cstdio>

namespace {

const char* const ControlNames[32] = {"NULL",      "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                      "Backspace", "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                      "DLE",       "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                      "CAN",       "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

// Black, navy, green; the text uses \cf1 and \cf2. The tab stop puts the key notation under
// "Ctrl Char" (column 36 of 6-point Courier New cells, 120 twips each), wherever the name ends.
const char* const Prolog = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
                           "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;"
                           "\\red0\\green128\\blue0;}\\pard\\tx4320\\f0\\fs20 ";

// A character as RTF text: the three characters RTF gives a meaning are escaped, or the page
// would lose its structure (an unmatched brace ends the document early).
String RtfChar(char c)
{
    if (c == '\\' || c == '{' || c == '}') return String{'\\', c};
    return String(1, c);
}

// Decimal, hex and binary columns of one line, up to the name.
String CodeColumns(int code)
{
    char text[64];
    std::snprintf(text, sizeof text, " {\\b %3d}    %02X    {\\cf1 ", code, code);
    String line = text;
    for (int bit = 7; bit >= 0; --bit) {
        line += (code >> bit) & 1 ? '1' : '0';
        if (bit == 4) line += ' ';
    }
    return line + "}   ";
}

String Page(int first, int last, String (*name)(int))
{
    String rtf = Prolog;
    for (int code = first; code <= last; ++code) {
        rtf += CodeColumns(code) + "{\\cf2 " + name(code) + "}";
        if (code < last) rtf += "\\par\r\n";
    }
    return rtf + "}";
}

String ControlName(int code)
{
    return String(ControlNames[code]) + "\\tab ^" + RtfChar(static_cast<char>(code + 64));
}

String StandardName(int code)
{
    if (code == 32) return "space";
    if (code == 127) return "delete";
    return RtfChar(static_cast<char>(code));
}

}  // namespace

String AsciiControlTableRtf() { return Page(0, 31, ControlName); }

String AsciiStandardTableRtf() { return Page(32, 127, StandardName); }
