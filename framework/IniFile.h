// TIniFile: a profile (INI) file read into memory at creation and written back as a whole,
// through a temporary file renamed over the old one, so a failed write leaves the old file.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/IniDocument.h"
#include "framework/StringList.h"
#include "framework/Strings.h"

class TIniFile {
public:
    // A missing file reads as empty; a file that exists but cannot be read raises EFOpenError.
    explicit TIniFile(const String& FileName);
    // Writes pending changes; a failure here cannot be reported, so callers that must know
    // call UpdateFile first.
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const String& FileName() const { return FFileName; }

    String ReadString(const String& Section, const String& Ident, const String& Default) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else (or out of range) gives Default.
    std::int32_t ReadInteger(const String& Section, const String& Ident, std::int32_t Default) const;
    bool ReadBool(const String& Section, const String& Ident, bool Default) const;
    bool SectionExists(const String& Section) const;
    bool ValueExists(const String& Section, const String& Ident) const;
    std::vector<String> ReadSection(const String& Section) const;   // key names
    std::vector<String> ReadSections() const;                       // section names
    // The same names into a list, which is cleared first.
    void ReadSection(const String& Section, TStrings& Strings) const;
    void ReadSections(TStrings& Strings) const;

    // Changes are kept in memory until UpdateFile or destruction. The first change after a
    // write makes sure the file can be replaced at all (not read-only, folder writable) and
    // raises EFCreateError at once when it cannot, so a caller stops at its first key.
    void WriteString(const String& Section, const String& Ident, const String& Value);
    void WriteInteger(const String& Section, const String& Ident, std::int32_t Value);
    void WriteBool(const String& Section, const String& Ident, bool Value);
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

    // Writes the pending changes (nothing when there are none); raises EWriteError or
    // EFCreateError on failure, leaving the file as it was. The failed changes are dropped
    // from the pending state (they stay readable in this object).
    void UpdateFile();

private:
    void BeginChange();
    void DiscardTemporary() noexcept;

    String FFileName;
    TIniDocument FDocument;
    struct TPending;
    std::unique_ptr<TPending> FPending;   // the temporary file while changes are pending
};

// The integer forms ReadInteger accepts; false when the text is none of them.
bool TryParseIniInteger(const String& Text, std::int32_t& Value);
