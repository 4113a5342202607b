// The rich text of the string entry help page (kept in the hidden memo STR_ENTRY_TEXT_memo and
// shown by the help window on a double-click on the entry field). Its lines are broken to fit
// the help window's page, which does not wrap them.
#pragma once

inline constexpr const char* StringEntryHelpRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier "
    "New;}}{\\colortbl;\\red0\\green0\\blue160;}"
    "\\f0\\fs18{\\b String Entry Pane}\\par\\par "
    "Type the text to send. Every character is sent\\par "
    "as its own byte, except a backslash, which starts\\par "
    "an escape sequence:\\par\\par "
    "{\\cf1   \\\\n}    line feed        (0Ah)\\par "
    "{\\cf1   \\\\r}    carriage return  (0Dh)\\par "
    "{\\cf1   \\\\t}    tab              (09h)\\par "
    "{\\cf1   \\\\\\\\}    backslash        (5Ch)\\par "
    "{\\cf1   \\\\HH}   the byte with the hexadecimal value HH,\\par "
    "        e.g. \\\\1B for ESC, \\\\00 for NUL\\par\\par "
    "Example: {\\cf1 AT\\\\r} sends 41h 54h 0Dh.\\par\\par "
    "The repeat counter sends the text that many times;\\par "
    "0 sends it again and again until Stop (or End)\\par "
    "is pressed.\\par "
    "Send: Ins.   Stop: End.\\par }";
