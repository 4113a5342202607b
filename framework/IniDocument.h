// The text of an INI (profile) file held in memory: parsing, look-ups and edits that keep
// every line the program does not touch. TIniFile (framework/IniFile.h) adds the file itself.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Strings.h"

// A name or value that a profile file cannot hold (a line break in it, "=" in a key, ...).
class EIniFileError : public Exception {
    using Exception::Exception;
};

class TIniDocument {
public:
    TIniDocument() = default;
    // Lines end in CR LF, LF or a lone CR; the last line needs no ending.
    explicit TIniDocument(const String& Text);

    // The file's text as written back: every line, with CR LF endings.
    String Text() const;

    // Sections and keys match case-insensitively (code page 1252 letters included); the first
    // of duplicate sections, and the first of duplicate keys in it, is the one read and written.
    std::optional<String> Value(const String& Section, const String& Ident) const;
    void SetValue(const String& Section, const String& Ident, const String& Value);
    bool SectionExists(const String& Section) const;
    std::vector<String> SectionNames() const;
    std::vector<String> KeyNames(const String& Section) const;
    // Both report whether anything was removed.
    bool EraseSection(const String& Section);
    bool DeleteKey(const String& Section, const String& Ident);

    // The text stored after "=" for a value, quoted only when the reader would otherwise
    // change it (outer blanks trimmed, one pair of enclosing quotes stripped).
    static String EncodeValue(const String& Value);
    static String DecodeValue(const String& Stored);

private:
    struct TLine {
        String Text;  // as in the file, without its line end
        String Key;   // trimmed key for a KEY=value line
        bool IsKey = false;
    };
    struct TSection {
        String Name;  // trimmed; the lines before the first header form a section without one
        bool HasHeader = false;
        String Header;
        std::vector<TLine> Lines;
    };

    TSection* FindSection(const String& Section);
    const TSection* FindSection(const String& Section) const;
    static const TLine* FindKey(const TSection& S, const String& Ident);

    String FPrefix;  // a UTF-8 byte-order mark in front of the first line
    std::vector<TSection> FSections;
};

// Case-insensitive equality of names as profile files compare them (code page 1252).
bool SameIniName(const String& A, const String& B);
