// The rich text of the data string help page (kept in the hidden memo SpecialStringMemo and
// shown by the help window on a double-click on the macro editor's data field). Its lines are
// broken to fit the help window's page, which does not wrap them.
#pragma once

inline constexpr const char* DataStringHelpRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier "
    "New;}}{\\colortbl;\\red0\\green0\\blue160;}"
    "\\f0\\fs18{\\b Data String Macros}\\par\\par "
    "Enter the data as ASCII text: every character is\\par "
    "sent as its own byte. Hexadecimal data and control\\par "
    "characters are entered with the escape character,\\par "
    "the backslash:\\par\\par "
    "{\\cf1   \\\\n}    line feed        (0Ah)\\par "
    "{\\cf1   \\\\r}    carriage return  (0Dh)\\par "
    "{\\cf1   \\\\t}    tab              (09h)\\par "
    "{\\cf1   \\\\\\\\}    backslash        (5Ch)\\par "
    "{\\cf1   \\\\HH}   the byte with the hexadecimal value HH,\\par "
    "        e.g. \\\\1B for ESC, \\\\00 for NUL\\par\\par "
    "Example: {\\cf1 ATZ\\\\r\\\\0A} sends 41h 54h 5Ah 0Dh 0Ah.\\par\\par "
    "The character delay waits that many milliseconds\\par "
    "after each byte.\\par "
    "The character | cannot be used: it separates the\\par "
    "fields of the list file.\\par }";
