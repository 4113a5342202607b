// Line-break escaping and the single-value operations of the placement storage.
#include "placement/IniStorage.h"

#include "framework/Exceptions.h"
#include "framework/IniFile.h"
#include "placement/PlacementTexts.h"

namespace {

std::string_view UpToNul(std::string_view Str)
{
    const size_t nul = Str.find('\0');
    return nul == std::string_view::npos ? Str : Str.substr(0, nul);
}

void CheckLength(std::string_view Str)
{
    if (Str.size() > static_cast<size_t>(MaxIniLine)) throw Exception(PlacementText::LineTooLong);
}

bool HasLineBreak(std::string_view Str) { return Str.find_first_of("\r\n") != Str.npos; }

// An INI file keeps a value on one line, so a text with line breaks is stored marked and escaped:
// the mark, then the text with each backslash, CR and LF as backslash + "\\", "r", "n". Only
// marked values are unescaped when read, so any other stored text (a path such as C:\new)
// reads back as it was written. A plain text that happens to begin with the mark is stored
// marked too, so that it is not taken for an escaped one.
constexpr std::string_view EscapedMark = "\\lines:";

bool NeedsEscape(std::string_view Str) { return HasLineBreak(Str) || Str.starts_with(EscapedMark); }

String EscapeForIni(std::string_view Str)
{
    String result(EscapedMark);
    result.reserve(EscapedMark.size() + Str.size() + Str.size() / 8);
    for (const char c : Str) {
        switch (c) {
        case '\\': result += "\\\\"; break;
        case '\r': result += "\\r"; break;
        case '\n': result += "\\n"; break;
        default: result += c; break;
        }
    }
    return result;
}

String UnescapeFromIni(std::string_view Str)
{
    if (!Str.starts_with(EscapedMark)) return String(Str);
    Str.remove_prefix(EscapedMark.size());
    String result;
    result.reserve(Str.size());
    for (size_t i = 0; i < Str.size(); ++i) {
        const char next = i + 1 < Str.size() ? Str[i + 1] : '\0';
        if (Str[i] == '\\' && (next == '\\' || next == 'r' || next == 'n')) {
            result += next == 'r' ? '\r' : next == 'n' ? '\n' : '\\';
            ++i;
        } else {
            result += Str[i];
        }
    }
    return result;
}

// The registry holds any text as it is; only an INI file needs the escaping.
bool IsIniFile(const TCustomIniFile* Ini) { return dynamic_cast<const TIniFile*>(Ini) != nullptr; }

}  // namespace

String StrToIniStr(std::string_view Str)
{
    CheckLength(Str);
    Str = UpToNul(Str);
    // Built in a growing string: a text of line breaks doubles in length.
    String result;
    result.reserve(Str.size());
    for (size_t i = 0; i < Str.size(); ++i) {
        const char c = Str[i];
        if (c != '\r' && c != '\n') {
            result += c;
            continue;
        }
        result += "\\n";
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < Str.size() && Str[i + 1] == pair) ++i;
    }
    return result;
}

String IniStrToStr(std::string_view Str)
{
    CheckLength(Str);
    Str = UpToNul(Str);
    String result;
    result.reserve(Str.size());
    for (size_t i = 0; i < Str.size(); ++i) {
        if (Str[i] == '\\' && i + 1 < Str.size() && Str[i + 1] == 'n') {
            result += "\r\n";
            ++i;
        } else {
            result += Str[i];
        }
    }
    return result;
}

String IniReadString(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                     const String& Default)
{
    if (!Ini) return Default;
    if (!IsIniFile(Ini)) return Ini->ReadString(Section, Ident, Default);
    // The default goes in escaped as well, so an absent value gives it back unchanged.
    return UnescapeFromIni(
        Ini->ReadString(Section, Ident, NeedsEscape(Default) ? EscapeForIni(Default) : Default));
}

void IniWriteString(TCustomIniFile* Ini, const String& Section, const String& Ident,
                    const String& Value)
{
    if (!Ini) return;
    // A quoted value needs no extra pair here: the INI file itself quotes any value its reader
    // would otherwise change (enclosing quotes, outer blanks), so it reads back as written.
    if (IsIniFile(Ini) && NeedsEscape(Value))
        Ini->WriteString(Section, Ident, EscapeForIni(Value));
    else
        Ini->WriteString(Section, Ident, Value);
}

std::int32_t IniReadInteger(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                            std::int32_t Default)
{
    return Ini ? Ini->ReadInteger(Section, Ident, Default) : Default;
}

void IniWriteInteger(TCustomIniFile* Ini, const String& Section, const String& Ident,
                     std::int32_t Value)
{
    if (Ini) Ini->WriteInteger(Section, Ident, Value);
}

bool IniReadBool(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                 bool Default)
{
    return Ini ? Ini->ReadBool(Section, Ident, Default) : Default;
}

void IniWriteBool(TCustomIniFile* Ini, const String& Section, const String& Ident, bool Value)
{
    if (Ini) Ini->WriteBool(Section, Ident, Value);
}

void IniEraseSection(TCustomIniFile* Ini, const String& Section)
{
    if (Ini) Ini->EraseSection(Section);
}

void IniDeleteKey(TCustomIniFile* Ini, const String& Section, const String& Ident)
{
    if (Ini) Ini->DeleteKey(Section, Ident);
}

void IniReadSections(const TCustomIniFile* Ini, TStrings& Strings)
{
    if (Ini) Ini->ReadSections(Strings);
}

void WritePlacementValue(TCustomIniFile* Ini, const String& Section, const String& Name,
                         const String& Suffix, const String& Value)
{
    IniWriteString(Ini, Section, Name + Suffix, Value);
    IniWriteString(Ini, Section, Name, Value);
}

String ReadPlacementValue(const TCustomIniFile* Ini, const String& Section, const String& Name,
                          const String& Suffix)
{
    String value = IniReadString(Ini, Section, Name + Suffix, "");
    if (value.empty()) value = IniReadString(Ini, Section, Name, "");
    return value;
}
