// The XOR routines of the string utilities.
#include "util/XorStrings.h"

namespace {

constexpr char NoNumberCode = ' ';

char KeyedChar(std::string_view Key, size_t Index, char C)
{
    return Key.empty() ? C : static_cast<char>(C ^ Key[Index % Key.size()]);
}

int HexDigit(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

}  // namespace

// The routine once worked on short strings and cut everything past 255 characters; text of
// any length now comes back whole.
String XorString(std::string_view Key, std::string_view S)
{
    String r(S);
    for (size_t i = 0; i < r.size(); ++i) r[i] = KeyedChar(Key, i, r[i]);
    return r;
}

String XorEncode(std::string_view Key, std::string_view S)
{
    static const char Digits[] = "0123456789abcdef";
    String r;
    r.reserve(S.size() * 2);
    for (size_t i = 0; i < S.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(KeyedChar(Key, i, S[i]));
        r += Digits[c >> 4];
        r += Digits[c & 15];
    }
    return r;
}

String XorDecode(std::string_view Key, std::string_view S)
{
    String r;
    r.reserve(S.size() / 2);
    for (size_t pair = 0; 2 * pair + 1 < S.size(); ++pair) {
        const int high = HexDigit(S[2 * pair]);
        const int low = HexDigit(S[2 * pair + 1]);
        const char code = high < 0 || low < 0 ? NoNumberCode : static_cast<char>(high * 16 + low);
        r += KeyedChar(Key, pair, code);
    }
    return r;
}
