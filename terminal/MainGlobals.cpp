// The main window's shared state (see MainGlobals.h for who writes what), the resets of its
// records and the RTF texts built from their pieces.
#include "terminal/MainGlobals.h"

#include <cstring>

#include "framework/Streams.h"

namespace {

String BuildHeader(const String& style, const String& size)
{
    return String(RtfProlog) + RtfFontTableOpening + RtfFontEntry + RtfColourTable + style + size;
}

// "{{\colortbl" + the seven colours + the blanks + "}" + colour word: the colour table text
// without the two braces that close the header's font table.
String BuildPrefix(char digit) { return String("{") + (RtfColourTable + 2) + "\\cf" + digit + ' '; }

}  // namespace

TDisplayState::TDisplayState()
    : PendingRtf(new TMemoryStream),
      WorkRtf(new TMemoryStream),
      RtfHeaderStyle("\\fs24"),
      RtfHeaderSize("\\cf0 "),
      RtfHeader(BuildHeader(RtfHeaderStyle, RtfHeaderSize))
{
}

void TDisplayState::Reset(TDisplayReset Kind)
{
    PendingRtf->Clear();
    WorkRtf->Clear();
    ScreenColumn = 0;
    CurrentColour = -1;
    DisplayRecordCount = 0;
    if (Kind == TDisplayReset::NewSession) {
        BytesIn = 0;
        BytesOut = 0;
        std::memset(DisplayRecords, 0, sizeof DisplayRecords);
    }
}

void TConnectionState::Reset()
{
    PortOpen = false;
    ConnectTime = 0;
    CtrlCharMenuUsed = false;
    CommErrorText.clear();
    CommErrorTicks = 0;
}

void TTransferState::Reset()
{
    delete CaptureFile;
    CaptureFile = nullptr;
    FileSend = nullptr;
    EntryPaneHidden = false;
    SendTimerFlag.store(0);
    LineBusyUntil = 0;
}

TDisplayState Display;
TConnectionState Connection;
TTransferState Transfer;

const String TxTextPrefix = BuildPrefix('0');
const String TxHexPrefix = BuildPrefix('1');
const String RxTextPrefix = BuildPrefix('2');
const String RxHexPrefix = BuildPrefix('3');

void SetRtfHeaderFont(bool bold, bool italic, std::int32_t pointSize)
{
    Display.RtfHeaderStyle.clear();
    if (bold) Display.RtfHeaderStyle += "\\b";
    if (italic) Display.RtfHeaderStyle += "\\i";
    Display.RtfHeaderSize = "\\fs" + std::to_string(2 * pointSize) + ' ';
    Display.RtfHeader = BuildHeader(Display.RtfHeaderStyle, Display.RtfHeaderSize);
}
