// The settings record TSettings and its two instances: Settings (current, read by the main
// window whenever it formats, sends or connects) and SettingsBackup (the options dialog's copy).
// Reading and writing the settings file: settings/Properties.h.
#pragma once

#include <cstdint>

#include "framework/Strings.h"
#include "framework/FontStyles.h"

// Fields in the record's documented order; both instances start empty and zero and are
// filled by LoadSettings while the main window is created.
struct TSettings {
    String StringEntryPane;
    String Port;
    String Baud;
    String Parity;
    String DataBits;
    String StopBits;
    String ConfigFileName;     // file last loaded or saved by Save All Settings; never stored
    std::int32_t Lines = 0;    // 2..200
    std::int32_t Columns = 0;  // 4..90
    // Taken from the file unchanged (the options dialog offers 1..40): whoever uses it bounds
    // it with ClampSpacesForTab first.
    std::int32_t SpacesForTab = 0;
    std::int32_t DisplayMode = 0;  // 0 ASCII/Text, 1 Mixed, 2 Hexadecimal; checked when applied
    bool ShowInputOnly = false;
    bool NewLineOnCR = false;
    bool NewLineOnLF = false;
    bool AutoAdjustCols = false;
    bool CheckParity = false;
    char ParityReplaceCh = 0;  // '?', '#', '*', '_' or NUL
    bool AutoConnectOnKeypress = false;
    bool AutoConnectOnStart = false;
    bool StringEntryPaneVisible = false;
    String FontName;
    std::uint8_t FontCharset = 0;
    std::int32_t FontSize = 0;  // points, 8..48
    TFontStyles FontStyle;
    bool Accepted = false;  // options dialog closed with OK or Save Settings; never stored

    bool operator==(const TSettings&) const = default;
};

// Ranges of the clamped and bounded fields.
inline constexpr std::int32_t MinLines = 2, MaxLines = 200;
inline constexpr std::int32_t MinColumns = 4, MaxColumns = 90;
inline constexpr std::int32_t MinFontSize = 8, MaxFontSize = 48;
inline constexpr std::int32_t MinSpacesForTab = 1, MaxSpacesForTab = 40;

// SpacesForTab as the display may use it: the file's value bounded to the dialog's range.
constexpr std::int32_t ClampSpacesForTab(std::int32_t spaces)
{
    return spaces < MinSpacesForTab   ? MinSpacesForTab
           : spaces > MaxSpacesForTab ? MaxSpacesForTab
                                      : spaces;
}

extern TSettings Settings;
extern TSettings SettingsBackup;
