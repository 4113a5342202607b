// TRegIniFile: a registry key used like an INI file. Sections are subkeys of the key, values
// are string values (REG_SZ); integers are stored as decimal text, Booleans as "0" or "1".
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/StringList.h"
#include "framework/Strings.h"

// A value that could not be written or a section that could not be erased.
class ERegistryException : public Exception { using Exception::Exception; };

class TRegIniFile {
public:
    // Nothing is opened here: every call opens what it needs under RootKey with Access, so
    // both may be changed after creation and the next call addresses the key under them.
    explicit TRegIniFile(const String& FileName) : FFileName(FileName) {}

    const String& FileName() const { return FFileName; }
    HKEY RootKey = HKEY_CURRENT_USER;
    REGSAM Access = KEY_ALL_ACCESS;

    // Reads give Default for a missing key or value, a value that is not a string, or a
    // value that is no integer (decimal, or hexadecimal after "0x").
    String ReadString(const String& Section, const String& Ident, const String& Default) const;
    std::int32_t ReadInteger(const String& Section, const String& Ident, std::int32_t Default) const;
    bool ReadBool(const String& Section, const String& Ident, bool Default) const;
    bool SectionExists(const String& Section) const;
    bool ValueExists(const String& Section, const String& Ident) const;
    std::vector<String> ReadSection(const String& Section) const;   // value names
    std::vector<String> ReadSections() const;                       // subkey names
    // The same names into a list, which is cleared first.
    void ReadSection(const String& Section, TStrings& Strings) const;
    void ReadSections(TStrings& Strings) const;

    // Writes raise ERegistryException when the key cannot be created or the value not set
    // (for instance with Access KEY_READ). Erasing a missing section or key does nothing.
    void WriteString(const String& Section, const String& Ident, const String& Value);
    void WriteInteger(const String& Section, const String& Ident, std::int32_t Value);
    void WriteBool(const String& Section, const String& Ident, bool Value);
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

private:
    String SectionPath(const String& Section) const;

    String FFileName;
};
