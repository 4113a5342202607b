// Parsing and editing the text of INI files in memory, with the platform profile files'
// reading rules and the round-trip quoting of text values.
#include "framework/IniDocument.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The messages of this unit's exceptions.
String BadSectionText(const String& s)
{
    return "Section name cannot be stored in an INI file: \"" + s + "\"";
}
String BadKeyText(const String& k)
{
    return "Key name cannot be stored in an INI file: \"" + k + "\"";
}
String BadValueText(const String& k)
{
    return "Value of " + k + " cannot be stored in an INI file: it holds a line break";
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

String TrimBlanks(const String& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Upper case in code page 1252: ASCII letters, the accented letters 0xE0-0xFE (not the
// division sign 0xF7), and the few letters whose capitals sit in 0x8A-0x9F.
unsigned char UpperCp1252(unsigned char c)
{
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

bool HasLineBreak(const String& s) { return s.find_first_of("\r\n") != String::npos; }

// A header line "[name]" (blanks around allowed); a missing "]" takes the rest of the line.
bool ParseHeader(const String& line, String& name)
{
    String t = TrimBlanks(line);
    if (t.empty() || t[0] != '[') return false;
    std::size_t close = t.find(']');
    name = TrimBlanks(t.substr(1, close == String::npos ? String::npos : close - 1));
    return true;
}

}  // namespace

bool SameIniName(const String& A, const String& B)
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
               return UpperCp1252(static_cast<unsigned char>(a)) ==
                      UpperCp1252(static_cast<unsigned char>(b));
           });
}

TIniDocument::TIniDocument(const String& Text)
{
    FSections.push_back(TSection{});
    std::size_t pos = 0;
    // An editor's UTF-8 mark would otherwise hide the first section header; it is kept.
    if (Text.starts_with(Utf8Mark)) {
        FPrefix = Utf8Mark;
        pos = FPrefix.size();
    }
    while (pos < Text.size()) {
        std::size_t end = Text.find_first_of("\r\n", pos);
        if (end == String::npos) end = Text.size();
        TLine line{Text.substr(pos, end - pos), {}, false};
        pos = end;
        if (pos < Text.size())
            pos += (Text[pos] == '\r' && pos + 1 < Text.size() && Text[pos + 1] == '\n') ? 2 : 1;

        String name;
        if (ParseHeader(line.Text, name)) {
            FSections.push_back(TSection{name, true, line.Text, {}});
            continue;
        }
        String t = TrimBlanks(line.Text);
        std::size_t eq = t.find('=');
        if (!t.empty() && t[0] != ';' && eq != String::npos) {
            line.IsKey = true;
            line.Key = TrimBlanks(t.substr(0, eq));
        }
        FSections.back().Lines.push_back(std::move(line));
    }
}

String TIniDocument::Text() const
{
    String out = FPrefix;
    for (const TSection& s : FSections) {
        if (s.HasHeader) out += s.Header + "\r\n";
        for (const TLine& l : s.Lines) out += l.Text + "\r\n";
    }
    return out;
}

TIniDocument::TSection* TIniDocument::FindSection(const String& Section)
{
    return const_cast<TSection*>(std::as_const(*this).FindSection(Section));
}

const TIniDocument::TSection* TIniDocument::FindSection(const String& Section) const
{
    String name = TrimBlanks(Section);
    for (const TSection& s : FSections)
        if (s.HasHeader && SameIniName(s.Name, name)) return &s;
    return nullptr;
}

const TIniDocument::TLine* TIniDocument::FindKey(const TSection& S, const String& Ident)
{
    String key = TrimBlanks(Ident);
    for (const TLine& l : S.Lines)
        if (l.IsKey && SameIniName(l.Key, key)) return &l;
    return nullptr;
}

std::optional<String> TIniDocument::Value(const String& Section, const String& Ident) const
{
    const TSection* s = FindSection(Section);
    const TLine* l = s ? FindKey(*s, Ident) : nullptr;
    if (!l) return std::nullopt;
    return DecodeValue(l->Text.substr(l->Text.find('=') + 1));
}

String TIniDocument::DecodeValue(const String& Stored)
{
    String v = TrimBlanks(Stored);
    if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

String TIniDocument::EncodeValue(const String& Value)
{
    if (DecodeValue(Value) == Value) return Value;
    return '"' + Value + '"';
}

void TIniDocument::SetValue(const String& Section, const String& Ident, const String& Value)
{
    String section = TrimBlanks(Section), key = TrimBlanks(Ident);
    // Anything here that the reader would take apart differently is refused rather than
    // written: a line break in a value would smuggle further keys or sections into the file.
    if (section.empty() || HasLineBreak(section) || section.find(']') != String::npos)
        throw EIniFileError(BadSectionText(Section));
    if (key.empty() || HasLineBreak(key) || key.find('=') != String::npos || key[0] == ';' ||
        key[0] == '[')
        throw EIniFileError(BadKeyText(Ident));
    if (HasLineBreak(Value)) throw EIniFileError(BadValueText(key));

    String stored = EncodeValue(Value);
    TSection* s = FindSection(section);
    if (!s) {
        FSections.push_back(TSection{section, true, "[" + section + "]", {}});
        s = &FSections.back();
    }
    if (TLine* l = const_cast<TLine*>(FindKey(*s, key))) {
        l->Text = l->Key + "=" + stored;
        return;
    }
    // A new key goes after the section's last non-blank line, so that blank lines that
    // separate it from the next section stay between them.
    auto it = s->Lines.end();
    while (it != s->Lines.begin() && TrimBlanks(std::prev(it)->Text).empty()) --it;
    s->Lines.insert(it, TLine{key + "=" + stored, key, true});
}

bool TIniDocument::SectionExists(const String& Section) const
{
    return FindSection(Section) != nullptr;
}

std::vector<String> TIniDocument::SectionNames() const
{
    std::vector<String> names;
    for (const TSection& s : FSections) {
        if (!s.HasHeader) continue;
        bool seen = std::any_of(names.begin(), names.end(),
                                [&](const String& n) { return SameIniName(n, s.Name); });
        if (!seen) names.push_back(s.Name);
    }
    return names;
}

std::vector<String> TIniDocument::KeyNames(const String& Section) const
{
    std::vector<String> keys;
    if (const TSection* s = FindSection(Section))
        for (const TLine& l : s->Lines)
            if (l.IsKey && std::none_of(keys.begin(), keys.end(),
                                        [&](const String& k) { return SameIniName(k, l.Key); }))
                keys.push_back(l.Key);
    return keys;
}

bool TIniDocument::EraseSection(const String& Section)
{
    // Every section of that name goes, duplicates included, so that none reappears.
    String name = TrimBlanks(Section);
    auto gone = std::remove_if(FSections.begin(), FSections.end(), [&](const TSection& s) {
        return s.HasHeader && SameIniName(s.Name, name);
    });
    bool erased = gone != FSections.end();
    FSections.erase(gone, FSections.end());
    return erased;
}

bool TIniDocument::DeleteKey(const String& Section, const String& Ident)
{
    // Duplicates of the key go too: otherwise the next one would surface as its value.
    TSection* s = FindSection(Section);
    if (!s) return false;
    String key = TrimBlanks(Ident);
    auto gone = std::remove_if(s->Lines.begin(), s->Lines.end(),
                               [&](const TLine& l) { return l.IsKey && SameIniName(l.Key, key); });
    bool deleted = gone != s->Lines.end();
    s->Lines.erase(gone, s->Lines.end());
    return deleted;
}
