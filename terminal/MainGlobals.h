// The main window's shared state: everything the display pipeline, the session commands and the
// status bar read and write across the program, kept in one place with a line each on its writers.
// Platform-free, so the formatter that works on it builds and is tested natively.
#pragma once

#include <cstdint>

#include "framework/Strings.h"

// ---- Display mode -------------------------------------------------------------------------
// 0 ASCII/Text, 1 Mixed, 2 Hexadecimal; 1 until settings are first applied.
// Written by ApplySettings and the display mode commands (with TextMode, always together).
extern std::int32_t DisplayMode;
// 1 exactly while DisplayMode is 0; the formatter takes its text/byte decision from it.
// Written with DisplayMode, and by the Display Mode menu's opening handler.
extern bool TextMode;

// ---- Formatting state ---------------------------------------------------------------------
// Characters per screen line (compared unsigned). Written by AdjustColumns and the options dialog.
extern std::uint32_t CharsPerLine;
// Column of the next screen character. Written by FormatToRtf; Clear and New Session set 0.
extern std::uint32_t ScreenColumn;
// Colour digit last written as "\cf" + digit, as the digit's character code ('0'..'3'), or -1.
// Written by FormatToRtf; Clear and New Session set -1.
extern std::int32_t CurrentColour;

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
// Appended by FormatToRtf; trimmed by RebuildScreenFromPending; zeroed by New Session. Entries
// from DisplayRecordCount on mean nothing (the formatter stores a cell's four ahead of its count).
extern std::uint32_t DisplayRecords[DisplayRecordCapacity];
// Records in use. Written by FormatToRtf (0 at each call in text mode), RebuildScreenFromPending,
// Clear, New Session and UpdateStatusCounters(false).
extern std::uint32_t DisplayRecordCount;

// ---- Screen lines -------------------------------------------------------------------------
// Entry k: offset in the pending screen text just after its (k+1)-th carriage return, the start
// of line k+1. Filled by BuildLineOffsets (mode 0), read by the screen shortening.
inline constexpr std::uint32_t LineOffsetCapacity = 64000;
extern std::uint32_t LineOffsets[LineOffsetCapacity];

// ---- Counters -----------------------------------------------------------------------------
// Bytes sent and received, 64-bit so a long session never wraps. BytesOut: the formatter for
// echoed bytes, the key path with the echo off, the file sends and the macro file send.
// BytesIn: the receive handler. Only New Session (UpdateStatusCounters(false)) zeroes them.
extern std::int64_t BytesOut;
extern std::int64_t BytesIn;

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
// The last two pieces: "\fs24" and "\cf0 " at start-up; after the screen font is applied, its
// style words ("\b", "\i") and "\fs" + twice the point size + a blank. Written by
// SetRtfHeaderFont (from ApplyScreenFont) only.
extern String RtfHeaderStyle;
extern String RtfHeaderSize;
// The whole header. Written by SetRtfHeaderFont only.
extern String RtfHeader;

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

// Rebuilds RtfHeaderStyle, RtfHeaderSize and RtfHeader for a screen font.
void SetRtfHeaderFont(bool bold, bool italic, std::int32_t pointSize);
