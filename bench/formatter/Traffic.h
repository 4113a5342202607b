// The traffic the formatter benchmarks feed in, shared by the Google Benchmark and the plain
// Win32 timing loop: text lines, binary data and the worst case, in one read's block size.
#pragma once

#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "settings/Settings.h"
#include "terminal/Formatter.h"
#include "terminal/MainGlobals.h"

namespace bench_traffic {

inline constexpr std::uint32_t BlockSize = 5003;  // the receive path's largest read

// Instrument-style lines of about 60 printable characters ending in CR LF.
inline std::vector<std::uint8_t> TextLines()
{
    std::vector<std::uint8_t> v;
    for (unsigned seq = 0; v.size() < BlockSize; ++seq) {
        char line[96];
        int n = std::snprintf(
            line, sizeof line, "12:%02u:%02u T=%u.%uC H=%u%% P=%uhPa {ok} seq=%06u\r\n", seq % 60,
            (seq * 7) % 60, 18 + seq % 9, seq % 10, 30 + seq % 40, 990 + seq % 40, seq);
        v.insert(v.end(), line, line + n);
    }
    v.resize(BlockSize);
    return v;
}

inline std::vector<std::uint8_t> Binary()
{
    std::mt19937 rng(12345);
    std::vector<std::uint8_t> v(BlockSize);
    for (auto& b : v) b = std::uint8_t(rng());
    return v;
}

// The most output per input byte under the default settings: every byte a CR that ends a line
// (in text mode a line break and a "\n" to the screen; in the byte modes a colour word, a cell
// and a line break: 19 bytes).
inline std::vector<std::uint8_t> WorstCase() { return std::vector<std::uint8_t>(BlockSize, 13); }

struct TQuietHost : TFormatterHost {
    void StopForOverflow(TObject*, const String&) override {}
};

// Default settings, a 70-column screen, the state after Clear.
inline void Prepare(std::int32_t mode)
{
    static TQuietHost host;
    FormatterHost = &host;
    Display.DisplayMode = mode;
    Display.CharsPerLine = 70;
    Display.Reset(TDisplayReset::ClearScreen);
    Settings.NewLineOnCR = true;
    Settings.NewLineOnLF = true;
    Settings.SpacesForTab = 4;
}

// One receive-path read formatted; the records are emptied as the screen's line limit would.
inline std::uint32_t FormatOneBlock(const std::vector<std::uint8_t>& in, std::vector<char>& out)
{
    Display.DisplayRecordCount = 0;
    return FormatToRtf(nullptr, in.data(), out.data(), out.size(), 0, std::uint32_t(in.size()));
}

}  // namespace bench_traffic
