// TCustomIniFile: what the INI file and the registry-as-INI have in common. Each store reads
// and writes text values; integers (decimal text, or hexadecimal after "0x") and Booleans
// ("0"/"1") are text values read and written the same way in both.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/StringList.h"
#include "framework/Strings.h"

class TCustomIniFile {
public:
    explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& Section, const String& Ident,
                              const String& Default) const = 0;
    // Default for a missing value or one that is no integer (or out of range).
    std::int32_t ReadInteger(const String& Section, const String& Ident,
                             std::int32_t Default) const;
    // Any integer but 0 is true.
    bool ReadBool(const String& Section, const String& Ident, bool Default) const;
    virtual bool SectionExists(const String& Section) const = 0;
    virtual bool ValueExists(const String& Section, const String& Ident) const = 0;
    virtual std::vector<String> ReadSection(const String& Section) const = 0;  // key names
    virtual std::vector<String> ReadSections() const = 0;                      // section names
    // The same names into a list, which is cleared first.
    void ReadSection(const String& Section, TStrings& Strings) const;
    void ReadSections(TStrings& Strings) const;

    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    void WriteInteger(const String& Section, const String& Ident, std::int32_t Value);
    void WriteBool(const String& Section, const String& Ident, bool Value);
    virtual void EraseSection(const String& Section) = 0;
    virtual void DeleteKey(const String& Section, const String& Ident) = 0;

private:
    String FFileName;
};

// The integer forms ReadInteger accepts; false when the text is none of them.
bool TryParseIniInteger(const String& Text, std::int32_t& Value);
