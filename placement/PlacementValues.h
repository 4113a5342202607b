// The stored form of a window's placement: the default names of the storage (file, registry
// key, section) and the writer and reader of the placement values, through an INI file or the
// registry-as-INI.
#pragma once

#include "framework/CustomIniFile.h"
#include "framework/Strings.h"

class TComponent;
class TControl;
class TForm;
class TIniFile;
class TRegIniFile;

// Put in front of the registry key's program name with a "\" when not empty.
extern String DefCompanyName;
// The registry key is named after the application's title (when it has one).
extern bool RegUseAppTitle;
// When set, gives the default INI file name instead of the program's.
extern String (*OnGetDefaultIniName)();

// A form: its class name; another component: its name behind its form's class name (or its
// parent's name), or "Owner class.Name" when a plain form owns it.
String GetDefaultSection(const TComponent* Component);
// The program file's name without folder, with ".INI" for its extension.
String GetDefaultIniName();
// "Software\" [+ DefCompanyName + "\"] + the program's base name (or the title).
String GetDefaultIniRegKey();
// The storage of Control's form placement (its default when it has none) and its section.
void GetDefaultIniData(TControl* Control, String& IniFileName, String& Section, bool UseRegistry);

// "(width x height)" of the screen, as "(1024x768)".
String ScreenSizeSuffix();

void WriteFormPlacementValues(TForm* Form, TCustomIniFile* Ini, const String& Section);
void ReadFormPlacementValues(TForm* Form, const TCustomIniFile* Ini, const String& Section,
                             bool LoadState, bool LoadPosition);
void WriteFormPlacementReg(TForm* Form, TRegIniFile* IniFile, const String& Section);
void WriteFormPlacement(TForm* Form, TIniFile* IniFile, const String& Section);
void ReadFormPlacementReg(TForm* Form, const TRegIniFile* IniFile, const String& Section,
                          bool LoadState, bool LoadPosition);
void ReadFormPlacement(TForm* Form, const TIniFile* IniFile, const String& Section, bool LoadState,
                       bool LoadPosition);
// One-shot save and restore in the section named after the form's class.
void SaveFormPlacement(TForm* Form, const String& IniFileName, bool UseRegistry);
void RestoreFormPlacement(TForm* Form, const String& IniFileName, bool UseRegistry);
