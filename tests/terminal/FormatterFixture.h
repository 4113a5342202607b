// Shared set-up for the formatter's tests: the state after Clear, default settings, and a host
// that records the overflow stops the formatter asked of the window.
#pragma once

#include <string>
#include <vector>

#include "settings/Settings.h"
#include "terminal/Formatter.h"
#include "terminal/MainGlobals.h"

struct TRecordingHost : TFormatterHost {
    struct TStop {
        TObject* Sender;
        String Message;
    };
    std::vector<TStop> Stops;

    void StopForOverflow(TObject* sender, const String& message) override
    {
        Stops.push_back({sender, message});
    }
};

// The state Clear leaves, a 70-column screen and the settings file's defaults.
inline void ResetFormatterState(std::int32_t mode)
{
    Display.DisplayMode = mode;
    Display.CharsPerLine = 70;
    Display.Reset(TDisplayReset::NewSession);
    Settings.NewLineOnCR = true;
    Settings.NewLineOnLF = true;
    Settings.SpacesForTab = 4;
}

// newLines (when given) receives the line feeds the formatter reported for the screen.
inline std::string FormatBlock(const std::string& input, std::uint8_t direction = 0,
                               std::uint32_t* newLines = nullptr)
{
    std::vector<char> out(FormatBufferSize(input.size()));
    std::uint32_t taken = 0;
    std::uint32_t n =
        FormatToRtf(nullptr, reinterpret_cast<const std::uint8_t*>(input.data()), out.data(),
                    out.size(), direction, std::uint32_t(input.size()), &taken, newLines);
    return std::string(out.data(), n);
}

// Records as "C A"-style text for readable comparisons: kind letter and the held byte.
inline std::vector<std::string> Records(std::uint32_t from = 0)
{
    std::vector<std::string> r;
    for (std::uint32_t i = from; i < Display.DisplayRecordCount; ++i)
        r.push_back(std::string(1, char(RecordKind(Display.DisplayRecords[i]))) + ' ' +
                    char(RecordByte(Display.DisplayRecords[i])));
    return r;
}
