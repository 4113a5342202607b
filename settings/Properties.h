// Reading and writing the settings file and profile files (one INI layout for both) into
// and out of Settings, and the texts the settings show about a file.
#pragma once

#include <functional>

#include "framework/Strings.h"
#include "settings/Settings.h"

// Shows one of the texts below in a plain message box with an OK button. The program passes
// its dialog service; nothing here needs a window.
using TShowSettingsMessage = std::function<void(const String& Text)>;

// Reads the file into Settings. A missing file, section or key, or a value that is no
// integer, gives the default silently; a file that cannot be read shows LoadFailedMessage
// and resets every stored field to its default (ConfigFileName and Accepted are kept).
// Nothing is raised.
void LoadSettings(const String& FileName, const TShowSettingsMessage& ShowMessage);

// Writes Settings into the file, keeping the file's other lines; clamps Lines, Columns and
// FontSize in Settings on the way. A failure shows SaveFailedMessage and leaves the file as
// it was before the failed write. Nothing is raised.
void SaveSettings(const String& FileName, const TShowSettingsMessage& ShowMessage);

// Settings as a file of their own: the text SaveSettings would write into an empty file, with
// the same clamps in Settings. A profile export writes it in place of whatever the file held.
String SettingsFileText();

// The stored fields with the file's defaults; ConfigFileName empty, Accepted false.
TSettings DefaultSettings();

// ---- texts ---------------------------------------------------------------------------------
inline constexpr const char* LoadFailedText =
    "Warning - Defaults loaded. Failed to read configuration file:\n";
inline constexpr const char* SaveFailedText = "Failed to write to configuration file:\n";
inline constexpr const char* BadSettingsText =
    "Incorrect settings found for some options in configuration file:\n";
inline constexpr const char* BadSettingsTail = "\n\nThese options will be set to use defaults.";

inline String LoadFailedMessage(const String& FileName) { return LoadFailedText + FileName; }
inline String SaveFailedMessage(const String& FileName) { return SaveFailedText + FileName; }
// The one warning for all bad values found when the settings are applied.
inline String BadSettingsMessage(const String& ConfigFileName)
{
    return BadSettingsText + ConfigFileName + BadSettingsTail;
}
