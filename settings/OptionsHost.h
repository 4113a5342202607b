// TOptionsHost: what the options dialog asks of the window whose settings it edits (the port's
// state, the display mode, the screen's font and width, the entry pane, the save). The main
// window implements it and hands itself to the dialog when it opens it.
#pragma once

#include <cstdint>

class TOptionsHost {
public:
    virtual ~TOptionsHost() = default;

    // The port is open: its error checking cannot change meanwhile.
    virtual bool PortEnabled() const = 0;
    // The display mode commands' work: 0 ASCII/Text, 1 Mixed, 2 Hexadecimal. The user may
    // decline a switch that clears the screen; CurrentDisplayMode tells the mode in force.
    virtual void SwitchDisplayMode(std::int32_t Mode) = 0;
    virtual std::int32_t CurrentDisplayMode() const = 0;
    // The settings font on the screen, chosen first in the font dialog when ShowDialog is set.
    virtual void ApplyScreenFont(bool ShowDialog) = 0;
    // The line width fitted to the screen (when the settings ask for it), or set as given.
    virtual void AdjustColumns() = 0;
    virtual void SetCharsPerLine(std::uint32_t Columns) = 0;
    virtual void ShowStringEntryPane(bool Visible) = 0;
    // The settings file and the macro list written, as the Settings menu's Save does.
    virtual void SaveSettingsFiles() = 0;
};
