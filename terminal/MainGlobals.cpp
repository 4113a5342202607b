// The main window's shared state (see MainGlobals.h for who writes what) and the RTF texts
// built from their pieces.
#include "terminal/MainGlobals.h"

std::int32_t DisplayMode = 1;
bool TextMode = false;

std::uint32_t CharsPerLine = 0;
std::uint32_t ScreenColumn = 0;
std::int32_t CurrentColour = -1;

std::uint32_t DisplayRecords[DisplayRecordCapacity];
std::uint32_t DisplayRecordCount = 0;

std::uint32_t LineOffsets[LineOffsetCapacity];

std::int64_t BytesOut = 0;
std::int64_t BytesIn = 0;

namespace {

String BuildHeader()
{
    return String(RtfProlog) + RtfFontTableOpening + RtfFontEntry + RtfColourTable +
           RtfHeaderStyle + RtfHeaderSize;
}

// "{{\colortbl" + the seven colours + the blanks + "}" + colour word: the colour table text
// without the two braces that close the header's font table.
String BuildPrefix(char digit) { return String("{") + (RtfColourTable + 2) + "\\cf" + digit + ' '; }

}  // namespace

String RtfHeaderStyle = "\\fs24";
String RtfHeaderSize = "\\cf0 ";
String RtfHeader = BuildHeader();

const String TxTextPrefix = BuildPrefix('0');
const String TxHexPrefix = BuildPrefix('1');
const String RxTextPrefix = BuildPrefix('2');
const String RxHexPrefix = BuildPrefix('3');

void SetRtfHeaderFont(bool bold, bool italic, std::int32_t pointSize)
{
    RtfHeaderStyle.clear();
    if (bold) RtfHeaderStyle += "\\b";
    if (italic) RtfHeaderStyle += "\\i";
    RtfHeaderSize = "\\fs" + std::to_string(2 * pointSize) + ' ';
    RtfHeader = BuildHeader();
}
