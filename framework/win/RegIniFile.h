// TRegIniFile: a registry key used like an INI file. Sections are subkeys of the key, values
// are string values (REG_SZ); integers are stored as decimal text, Booleans as "0" or "1".
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/CustomIniFile.h"
#include "framework/Exceptions.h"
#include "framework/StringList.h"
#include "framework/Strings.h"

// A value that could not be written or a section that could not be erased.
class ERegistryException : public Exception {
    using Exception::Exception;
};

class TRegIniFile : public TCustomIniFile {
public:
    // Nothing is opened here: every call opens what it needs under RootKey with Access, so
    // both may be changed after creation and the next call addresses the key under them.
    explicit TRegIniFile(const String& FileName) : TCustomIniFile(FileName) {}

    HKEY RootKey = HKEY_CURRENT_USER;
    REGSAM Access = KEY_ALL_ACCESS;

    // Reads give Default for a missing key or value, or a value that is not a string.
    using TCustomIniFile::ReadSection;
    using TCustomIniFile::ReadSections;
    String ReadString(const String& Section, const String& Ident,
                      const String& Default) const override;
    bool SectionExists(const String& Section) const override;
    bool ValueExists(const String& Section, const String& Ident) const override;
    std::vector<String> ReadSection(const String& Section) const override;  // value names
    std::vector<String> ReadSections() const override;                      // subkey names

    // Writes raise ERegistryException when the key cannot be created or the value not set
    // (for instance with Access KEY_READ). Erasing a missing section or key does nothing.
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;

private:
    String SectionPath(const String& Section) const;
};
