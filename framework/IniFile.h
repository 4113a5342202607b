// TIniFile: a profile (INI) file read into memory at creation and written back as a whole,
// through a temporary file renamed over the old one, so a failed write leaves the old file.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/CustomIniFile.h"
#include "framework/IniDocument.h"
#include "framework/StringList.h"
#include "framework/Strings.h"

class TIniFile : public TCustomIniFile {
public:
    // A missing file reads as empty; a file that exists but cannot be read raises EFOpenError.
    explicit TIniFile(const String& FileName);
    // Writes pending changes; a failure here cannot be reported, so callers that must know
    // call UpdateFile first.
    ~TIniFile() override;

    using TCustomIniFile::ReadSection;
    using TCustomIniFile::ReadSections;
    String ReadString(const String& Section, const String& Ident,
                      const String& Default) const override;
    bool SectionExists(const String& Section) const override;
    bool ValueExists(const String& Section, const String& Ident) const override;
    std::vector<String> ReadSection(const String& Section) const override;
    std::vector<String> ReadSections() const override;

    // Changes are kept in memory until UpdateFile or destruction. The first change after a
    // write makes sure the file can be replaced at all (not read-only, folder writable) and
    // raises EFCreateError at once when it cannot, so a caller stops at its first key.
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;

    // Writes the pending changes (nothing when there are none); raises EWriteError or
    // EFCreateError on failure, leaving the file as it was. The failed changes are dropped
    // from the pending state (they stay readable in this object).
    void UpdateFile();

private:
    void BeginChange();
    void DiscardTemporary() noexcept;

    TIniDocument FDocument;
    struct TPending;
    std::unique_ptr<TPending> FPending;  // the temporary file while changes are pending
};
