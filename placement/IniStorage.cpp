// Line-break escaping and the single-value operations of the placement storage.
#include "placement/IniStorage.h"

#include "framework/Exceptions.h"
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
    const String text = Ini->ReadString(Section, Ident, Default);
    // Only a text that holds an escape is converted: any other may be of any length.
    return text.find("\\n") != String::npos ? IniStrToStr(text) : text;
}

void IniWriteString(TCustomIniFile* Ini, const String& Section, const String& Ident,
                    const String& Value)
{
    if (!Ini) return;
    // A quoted value needs no extra pair here: the INI file itself quotes any value its reader
    // would otherwise change (enclosing quotes, outer blanks), so it reads back as written.
    Ini->WriteString(Section, Ident, HasLineBreak(Value) ? StrToIniStr(Value) : Value);
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
