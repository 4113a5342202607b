// The display formatter: turns received or echoed bytes into RTF in the screen's colour scheme,
// wraps them into screen lines of CharsPerLine characters and appends a display record per
// screen character. Platform-free; its overflow stop goes to the window through TFormatterHost.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/Object.h"
#include "framework/Strings.h"

// What the formatter asks of the main window.
class TFormatterHost {
public:
    virtual ~TFormatterHost() = default;
    // Disconnect (a closed port stays closed), then show Message in a plain message box.
    virtual void StopForOverflow(TObject* Sender, const String& Message) = 0;
};

// Set by the main window when it is created; null (no window) skips the stop's effect.
extern TFormatterHost* FormatterHost;

namespace FormatterText {
inline constexpr char ProcessingDelayed[] =
    "Error (PCD) - processing delayed.\nDisconnected to prevent overflow.";
}

// Formatting stops (PCD) at a byte that finds more records than this in use; a byte adds at
// most MaxTabBlanks records, so the table never overflows.
inline constexpr std::uint32_t RecordStopThreshold = 219900;
// A tab writes SpacesForTab blanks bounded to 0..this at use: the settings file may hold any value.
inline constexpr std::int32_t MaxTabBlanks = 40;
// Most output bytes one input byte can produce whatever CharsPerLine: a tab of MaxTabBlanks
// blanks each behind a line break (a hex cell at worst: colour word + 4 x (break + character)).
inline constexpr std::size_t MaxOutputPerInputByte = MaxTabBlanks * (10 + 1);
static_assert(MaxOutputPerInputByte >= 5 + 4 * 11);

// Buffer size that lets FormatToRtf take all of count bytes in one call, with room for the
// receive path's two closing NULs.
constexpr std::size_t FormatBufferSize(std::size_t count)
{
    return count * MaxOutputPerInputByte + 2;
}

// Formats Count bytes of Input into Output (OutputSize bytes) and returns the characters
// written, not counting the NUL after them; 0 after an overflow stop. Direction 1 means
// transmitted (and adds to BytesOut), anything else received. Sender is passed on to the
// disconnect.
// Never writes past OutputSize: it takes input only while the worst case of the next byte
// still fits, so a smaller buffer than FormatBufferSize(Count) formats the block in pieces.
// *BytesTaken (when given) receives the number of input bytes consumed; the caller formats
// the rest in further calls. An overflow stop consumes the whole block.
// *NewLines (when given) receives the screen lines the block ends: one for each CR or LF that
// ends a line in text mode. The formatted text holds their line breaks itself.
std::uint32_t FormatToRtf(TObject* Sender, const std::uint8_t* Input, char* Output,
                          std::size_t OutputSize, std::uint8_t Direction, std::uint32_t Count,
                          std::uint32_t* BytesTaken = nullptr, std::uint32_t* NewLines = nullptr);
