// Fuzz target for the display formatter: any bytes under any mode, line width, column, colour,
// newline flags, SpacesForTab, buffer size and record count. The output must stay inside its
// buffer, each screen character must have its display record, and the screen lines (N records)
// must equal the carriage-return bytes written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "terminal/Formatter.h"
#include "terminal/MainGlobals.h"

namespace {

struct TNullHost : TFormatterHost {
    bool Stopped = false;
    void StopForOverflow(TObject*, const String&) override { Stopped = true; }
};

void Check(bool ok)
{
    if (!ok) std::abort();
}

bool IsHexDigitOf(char c, std::uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return c == digits[b >> 4] || c == digits[b & 15];
}

// Walks one call's output against the records it added.
void CheckPiece(const char* out, std::uint32_t n, std::uint32_t firstRecord)
{
    std::uint32_t rec = firstRecord, breaks = 0, crs = 0;
    bool afterBreak = false;
    for (std::uint32_t i = 0; i < n;) {
        char c = out[i];
        Check(c != '{' && c != '}');
        if (c == '\r') ++crs;
        if (c == '\\' && i + 1 < n && out[i + 1] == 'c') {
            Check(i + 4 < n + 1 && std::memcmp(out + i, "\\cf", 3) == 0 && out[i + 3] >= '0' &&
                  out[i + 3] <= '3' && out[i + 4] == ' ');
            i += 5;
            continue;
        }
        if (c == '\\' && i + 1 < n && out[i + 1] == 'p') {
            Check(i + 10 <= n && std::memcmp(out + i, RtfLineBreakHead, 8) == 0 &&
                  out[i + 9] == ' ');
            Check(!afterBreak);
            ++crs;
            ++breaks;
            afterBreak = true;
            i += 10;
            continue;
        }
        std::uint32_t width = 1;
        if (c == '\\') {
            Check(i + 1 < n && (out[i + 1] == '\\' || out[i + 1] == '{' || out[i + 1] == '}'));
            c = out[i + 1];
            width = 2;
        }
        Check(rec < Display.DisplayRecordCount);
        const std::uint32_t kind = RecordKind(Display.DisplayRecords[rec]);
        const std::uint8_t held = RecordByte(Display.DisplayRecords[rec]);
        Check((Display.DisplayRecords[rec] >> 16) == 0);
        Check(afterBreak ? kind == RecordNewLine
                         : (kind == RecordContinues || kind == RecordHexCell));
        Check(std::uint8_t(c) == held || (kind != RecordContinues && IsHexDigitOf(c, held)));
        afterBreak = false;
        ++rec;
        i += width;
    }
    Check(!afterBreak);
    Check(rec == Display.DisplayRecordCount);
    Check(crs == breaks);  // no carriage return outside a line break
    std::uint32_t newLines = 0;
    for (std::uint32_t k = firstRecord; k < rec; ++k)
        newLines += RecordKind(Display.DisplayRecords[k]) == RecordNewLine;
    Check(newLines == breaks);
}

struct TSetup {
    std::int32_t Mode;
    std::uint32_t Width, Column, Records;
    std::int32_t Colour;
    bool Cr, Lf;
    std::int32_t Tabs;
    std::uint8_t Direction;
    std::size_t BufferSize;
};

void Apply(const TSetup& s)
{
    Display.DisplayMode = s.Mode;
    Display.CharsPerLine = s.Width;
    Display.ScreenColumn = s.Column;
    Display.CurrentColour = s.Colour;
    Display.DisplayRecordCount = s.Records;
    Settings.NewLineOnCR = s.Cr;
    Settings.NewLineOnLF = s.Lf;
    Settings.SpacesForTab = s.Tabs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 12) return 0;
    TSetup s;
    s.Mode = data[0] % 3;
    s.Direction = (data[0] >> 2) & 1;
    s.Cr = (data[0] >> 3) & 1;
    s.Lf = (data[0] >> 4) & 1;
    s.Width = (data[0] & 0x20) ? 4 + data[1] % 87 : data[1];
    s.Column = data[2];
    static const std::int32_t colours[] = {-1, '0', '1', '2', '3', 0, 'A', -7};
    s.Colour = colours[data[3] & 7];
    std::memcpy(&s.Tabs, data + 4, 4);
    s.BufferSize = 1 + (std::size_t(data[8]) | std::size_t(data[9]) << 8);
    s.Records = data[10] < 128 ? data[10] : RecordStopThreshold - 64 + (data[10] & 127);
    const std::uint8_t* input = data + 12;
    const std::uint32_t count = std::uint32_t(size - 12);

    TNullHost host;
    FormatterHost = &host;

    // In pieces through a buffer of the fuzzed size.
    Apply(s);
    std::string pieces;
    std::uint32_t done = 0;
    while (done < count && !host.Stopped) {
        std::vector<char> out(s.BufferSize);
        const std::uint32_t firstRecord = Display.TextMode() ? 0 : Display.DisplayRecordCount;
        std::uint32_t taken = 0;
        const std::uint32_t n = FormatToRtf(nullptr, input + done, out.data(), out.size(),
                                            s.Direction, count - done, &taken);
        Check(Display.DisplayRecordCount <= DisplayRecordCapacity);
        if (host.Stopped) {
            Check(n == 0 && taken == count - done);
            break;
        }
        Check(n < out.size() && out[n] == '\0');
        CheckPiece(out.data(), n, firstRecord);
        pieces.append(out.data(), n);
        if (taken == 0) {
            // Only a buffer too small for the worst case of one byte takes nothing.
            Check(s.BufferSize <= FormatBufferSize(1));
            break;
        }
        done += taken;
    }
    const bool complete = done == count && !host.Stopped;
    const std::uint32_t column = Display.ScreenColumn, records = Display.DisplayRecordCount;
    const std::int32_t colour = Display.CurrentColour;

    // In one call with room for the worst case: the same text and the same state.
    if (complete) {
        Apply(s);
        std::vector<char> out(FormatBufferSize(count));
        std::uint32_t taken = 0;
        const std::uint32_t n =
            FormatToRtf(nullptr, input, out.data(), out.size(), s.Direction, count, &taken);
        Check(!host.Stopped && taken == count);
        Check(std::string(out.data(), n) == pieces);
        Check(Display.ScreenColumn == column && Display.CurrentColour == colour);
        if (!Display.TextMode()) Check(Display.DisplayRecordCount == records);
    }
    FormatterHost = nullptr;
    return 0;
}
