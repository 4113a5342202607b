// The screen lines of the pending RTF text: where each line starts (counted by the carriage
// returns the formatter writes only in its line breaks), and dropping the display records of
// lines cut from the top of the screen. Platform-free.
#pragma once

#include <cstdint>

#include "terminal/MainGlobals.h"

// Most line breaks the pending text is counted to; reaching it is the overload stop.
inline constexpr std::uint32_t MaxPendingLines = LineOffsetCapacity;

// Mode 0: counts the carriage returns of the NUL-terminated Text, storing in LineOffsets
// the offset just after each (stops at MaxPendingLines). Mode 1: the start of line Index,
// from the table the last mode-0 call filled (0 for line 0, the last entry past the table).
// A null Text gives 0.
std::uint32_t BuildLineOffsets(const char* Text, int Mode, std::uint32_t Index = 0);

// Removes from the front of DisplayRecords the records of the first Skip screen lines (every
// line after the first starts with an "N" record; a record 0 of that kind starts the first),
// moving the rest down. With fewer line starts than Skip, every record goes.
void DropLeadingLineRecords(std::uint32_t Skip);
