// The main window's shared state in three records by concern (the display, the connection, the
// transfers; the macro run's is the runner's, the receive path's the window's own), a line each on
// who writes a member, and the RTF texts of the screen. Platform-free, so the formatter that works
// on it builds and is tested natively.
#pragma once

#include <atomic>
#include <cstdint>

#include "framework/Strings.h"

class TFileStream;
class TFileSender;
class TMemoryStream;

// ---- Display records and screen lines ------------------------------------------------------

// One record per screen character: bits 0-7 the kind, bits 8-15 a byte, the rest zero.
inline constexpr std::uint32_t DisplayRecordCapacity = 220000;
inline constexpr std::uint32_t RecordContinues = 0x43;  // 'C': a character that continues its line
inline constexpr std::uint32_t RecordHexCell =
    0x48;  // 'H': a hex cell character, not first on a line
inline constexpr std::uint32_t RecordNewLine = 0x4E;  // 'N': the first character of a new line
constexpr std::uint32_t DisplayRecord(std::uint32_t kind, std::uint8_t byte)
{
    return kind | (std::uint32_t(byte) << 8);
}
constexpr std::uint32_t RecordKind(std::uint32_t record) { return record & 0xFF; }
constexpr std::uint8_t RecordByte(std::uint32_t record) { return std::uint8_t(record >> 8); }

// Entries of the line offset table (see TDisplayState::LineOffsets).
inline constexpr std::uint32_t LineOffsetCapacity = 64000;

// What Display.Reset empties.
enum class TDisplayReset {
    // Clear Screen: the pending and work text, the column, the colour and the record count.
    // The counters and the records' contents stay.
    ClearScreen,
    // New Session: all of ClearScreen, both byte counters and every record zeroed.
    NewSession,
};

// ---- The display: the screen's text, its records and the status bar texts -----------------
struct TDisplayState {
    TDisplayState();

    // 0 ASCII/Text, 1 Mixed, 2 Hexadecimal; 1 until settings are first applied. Written by
    // ApplySettings and the display mode commands.
    std::int32_t DisplayMode = 1;
    // ASCII/Text mode; the formatter takes its text/byte decision from it.
    bool TextMode() const { return DisplayMode == 0; }

    // Characters per screen line (compared unsigned). Written by AdjustColumns and the options
    // dialog.
    std::uint32_t CharsPerLine = 0;
    // Column of the next screen character. Written by FormatToRtf; Reset sets 0.
    std::uint32_t ScreenColumn = 0;
    // Colour digit last written as "\cf" + digit, as the digit's character code ('0'..'3'), or
    // -1. Written by FormatToRtf; Reset sets -1.
    std::int32_t CurrentColour = -1;

    // Appended by FormatToRtf; trimmed by RebuildScreenFromPending; zeroed by New Session. Entries
    // from DisplayRecordCount on mean nothing (the formatter stores a cell's four ahead of its
    // count).
    std::uint32_t DisplayRecords[DisplayRecordCapacity];
    // Records in use. Written by FormatToRtf (0 at each call in text mode),
    // RebuildScreenFromPending, Reset and UpdateStatusCounters(false).
    std::uint32_t DisplayRecordCount = 0;

    // Entry k: offset in the pending screen text just after its (k+1)-th carriage return, the
    // start of line k+1. Filled by BuildLineOffsets (mode 0), read by the screen shortening.
    std::uint32_t LineOffsets[LineOffsetCapacity];

    // Bytes sent and received, 64-bit so a long session never wraps. BytesOut: the formatter for
    // echoed bytes, the key path with the echo off, the file sends and the macro file send.
    // BytesIn: the receive handler. Only New Session zeroes them.
    std::int64_t BytesOut = 0;
    std::int64_t BytesIn = 0;

    // RTF body of everything on the screen since it was last cleared or shortened, always ending
    // in one NUL. Appended by the receive handler and the echo; emptied by Reset. Live for the
    // whole run.
    TMemoryStream* PendingRtf;
    // The text handed to the screen (header or prefix, body, closing); emptied around each use.
    TMemoryStream* WorkRtf;

    // The screen font's part of the RTF header: "\fs24" and "\cf0 " at start-up; after the
    // screen font is applied, its style words ("\b", "\i") and "\fs" + twice the point size + a
    // blank. Written by SetRtfHeaderFont only.
    String RtfHeaderStyle;
    String RtfHeaderSize;
    // The whole header, which starts every whole-screen load. Written by SetRtfHeaderFont only.
    String RtfHeader;

    // Status bar texts: the message (panel 4; transfers, line errors, Clear, New Session), the
    // caret position and the byte under it (panels 1 and 3; the cursor inspector).
    String StatusMessageText;
    String CaretInfoText;
    String ByteInfoText;

    // What Clear Screen and New Session empty; the program's clear commands, the display mode
    // switches, the reconnect after an overload stop and the main window's start all reset
    // through it, and so do the tests and the benchmarks. The screen control's own text is the
    // window's to empty.
    void Reset(TDisplayReset Kind);
};
extern TDisplayState Display;

// ---- The connection --------------------------------------------------------------------------
struct TConnectionState {
    // 1 after a successful connect, 0 once a disconnect closed the port or found it closed.
    // Written by the connect toggle only; the send loops stop when it is 0. Kept apart from the
    // port's own open state (Comm1->Enabled()) on purpose: a disconnect closes the port, then
    // lets the queued messages run before it shows the window closed, and a send or capture
    // command among them still starts (to fail on the closed port or end with the disconnect)
    // instead of saying the port is not connected.
    bool PortOpen = false;
    // The connect toggle's state, which is the window's: it connects when this is 0 and
    // disconnects otherwise. A disconnect that finds the port already closed (a second click
    // while the first one lets the queue run) marks the window closed, so the click after it
    // connects.
    std::int32_t ConnectToggle() const { return PortOpen ? 1 : 0; }
    // Time of day at which the port was opened. Written by the connect handler only.
    double ConnectTime = 0;
    // Set by the control-character menu and never cleared: from then on a key typed on a closed
    // port says it is not connected instead of connecting. Written by NULL_00Click only.
    bool CtrlCharMenuUsed = false;
    // The last line error's text and the status ticks since it was set (the line-error handler).
    String CommErrorText;
    std::int32_t CommErrorTicks = 0;

    // Start-up state: disconnected, no line error, the control-character menu not used. The main
    // window starts with it, as do the tests.
    void Reset();
};
extern TConnectionState Connection;

// ---- The transfers: file sends, string sends and the capture ---------------------------------
inline constexpr int EntrySendBufferSize = 4099;

struct TTransferState {
    // The open capture file, or null. Opened and closed by the capture commands; the receive
    // handler and the key path write to it.
    TFileStream* CaptureFile = nullptr;
    // The running file send, or null: not owned, it lives in its command's call. It sets
    // itself here while its file is open; miStopSendingClick closes its file, which ends it.
    TFileSender* FileSend = nullptr;
    // The string entry pane was shown when a send started and was hidden for it; the end of the
    // send shows it again. Written by the send commands and miStopSendingClick.
    bool EntryPaneHidden = false;
    // The special send's pause: set to 1 by its timer's callback, on the timer service's
    // thread; cleared by the send loop.
    std::atomic<std::int32_t> SendTimerFlag{0};
    // Until when the line is busy with what the file sends wrote, in seconds of the steady
    // clock (0: not since the start). Written by the block writes only.
    double LineBusyUntil = 0;
    // The bytes of an expanded send string: the string entry pane's (at most 300) and the macro
    // runner's data strings (at most 4,096), with room for a NUL. Written by their send
    // commands.
    std::uint8_t EntrySendBuffer[EntrySendBufferSize];

    // Start-up state: a capture or send file still open is closed, no send runs. The main window
    // starts with it, as do the tests.
    void Reset();
};
extern TTransferState Transfer;

// ---- RTF texts ----------------------------------------------------------------------------
// RtfHeader starts every whole-screen load; it is the six pieces below, in this order.
inline constexpr char RtfProlog[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057";
inline constexpr char RtfFontTableOpening[] = "{\\fonttbl{";
// Wine's RTF reader drops everything after an empty font entry ("{\fonttbl{}}" loads as an
// empty control), so the entry is an empty font name properly ended: the text then keeps the
// screen control's own font and the colour table still holds.
inline constexpr char RtfFontEntry[] = ";";
// Shared by the header and the four colour prefixes: 0 black, 1 blue, 2 green, 3 light red,
// 4 grey, 5 red, 6 white. It opens with the two braces that close the font table.
inline constexpr char RtfColourTable[] =
    "}}{\\colortbl\\red000\\green000\\blue000;\\red0\\green0\\blue255;\\red0\\green150\\blue000;"
    "\\red255\\green050\\blue050;\\red100\\green100\\blue100;\\red255\\green0\\blue0;"
    "\\red255\\green255\\blue255;                         }";

// A single pasted byte starts with one of these and ends with "}". Built once, never written.
extern const String TxTextPrefix;  // ends "\cf0 "
extern const String TxHexPrefix;   // ends "\cf1 "
extern const String RxTextPrefix;  // ends "\cf2 "
extern const String RxHexPrefix;   // ends "\cf3 "

// The line break sequence: these eight bytes, the colour digit of the character that follows,
// one blank. Its carriage return is the only one the formatter writes: the receive path counts
// screen lines by it.
inline constexpr char RtfLineBreakHead[] = "\\par\r\\cf";
inline constexpr std::uint32_t RtfLineBreakLength = 10;

// Rebuilds Display's RtfHeaderStyle, RtfHeaderSize and RtfHeader for a screen font.
void SetRtfHeaderFont(bool bold, bool italic, std::int32_t pointSize);
