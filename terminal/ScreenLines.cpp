// Line starts of the pending screen text and the display records of dropped lines.
#include "terminal/ScreenLines.h"

#include <cstring>

#include "terminal/MainGlobals.h"

std::uint32_t BuildLineOffsets(const char* Text, int Mode, std::uint32_t Index)
{
    if (!Text) return 0;
    if (Mode == 1) {
        if (Index == 0) return 0;
        return Display.LineOffsets[Index < MaxPendingLines ? Index - 1 : MaxPendingLines - 1];
    }
    std::uint32_t count = 0;
    for (const char* p = Text; *p; ++p) {
        if (*p != '\r') continue;
        if (count == MaxPendingLines) return MaxPendingLines;
        Display.LineOffsets[count++] = static_cast<std::uint32_t>(p - Text + 1);
    }
    return count;
}

void DropLeadingLineRecords(std::uint32_t Skip)
{
    if (Skip == 0) return;
    const std::uint32_t count = Display.DisplayRecordCount;
    // Record 0 is an "N" after an earlier shortening: it starts the first line, not the second.
    std::uint32_t i = count > 0 && RecordKind(Display.DisplayRecords[0]) == RecordNewLine ? 1 : 0;
    for (std::uint32_t line = 0; line < Skip; ++line) {
        while (i < count && RecordKind(Display.DisplayRecords[i]) != RecordNewLine) ++i;
        if (i >= count) {
            Display.DisplayRecordCount = 0;
            return;
        }
        ++i;
    }
    // i is one past the "N" that starts the first kept line.
    const std::uint32_t dropped = i - 1;
    std::memmove(Display.DisplayRecords, Display.DisplayRecords + dropped,
                 (count - dropped) * sizeof Display.DisplayRecords[0]);
    Display.DisplayRecordCount = count - dropped;
}
