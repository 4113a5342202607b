// TCustomIniFile: the typed values and name lists, in terms of each store's text values.
#include "framework/CustomIniFile.h"

#include <climits>
#include <string>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool TryParseIniInteger(const String& Text, std::int32_t& Value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
    if (i + 1 < Text.size() && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
        // Hexadecimal covers the 32 bits: "0xFFFFFFFF" is -1, as a 32-bit pattern.
        i += 2;
        if (i == Text.size() || Text.size() - i > 8) return false;
        std::uint32_t v = 0;
        for (; i < Text.size(); ++i) {
            int d = HexDigit(Text[i]);
            if (d < 0) return false;
            v = v << 4 | static_cast<std::uint32_t>(d);
        }
        Value = static_cast<std::int32_t>(negative ? 0u - v : v);
        return true;
    }
    if (i == Text.size()) return false;
    std::int64_t v = 0;
    for (; i < Text.size(); ++i) {
        if (Text[i] < '0' || Text[i] > '9') return false;
        v = v * 10 + (Text[i] - '0');
        if (v > std::int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
    Value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t TCustomIniFile::ReadInteger(const String& Section, const String& Ident,
                                         std::int32_t Default) const
{
    std::int32_t value;
    return TryParseIniInteger(ReadString(Section, Ident, String()), value) ? value : Default;
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::ReadSection(const String& Section, TStrings& Strings) const
{
    Strings.Clear();
    for (const String& name : ReadSection(Section)) Strings.Add(name);
}

void TCustomIniFile::ReadSections(TStrings& Strings) const
{
    Strings.Clear();
    for (const String& name : ReadSections()) Strings.Add(name);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, std::int32_t Value)
{
    WriteString(Section, Ident, std::to_string(Value));
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}
