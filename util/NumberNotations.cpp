// Number notations of the string utilities.
#include "util/NumberNotations.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int MinBase = 2;
constexpr int MaxBase = 36;
constexpr int MaxBits = 32;

bool IsBase(int B) { return B >= MinBase && B <= MaxBase; }

// Hundreds, tens or units as Roman letters, given that decade's one, five and ten letters.
String RomanDigit(int Digit, char One, char Five, char Ten)
{
    switch (Digit) {
    case 9: return {One, Ten};
    case 4: return {One, Five};
    default: return (Digit >= 5 ? String(1, Five) : String()) + StringOfChar(One, Digit % 5);
    }
}

int RomanValue(char C)
{
    switch (C) {
    case 'I':
    case 'i': return 1;
    case 'V':
    case 'v': return 5;
    case 'X':
    case 'x': return 10;
    case 'L':
    case 'l': return 50;
    case 'C':
    case 'c': return 100;
    case 'D':
    case 'd': return 500;
    case 'M':
    case 'm': return 1000;
    default: return 0;
    }
}

}  // namespace

String Dec2Hex(int N, int A) { return IntToHex(static_cast<std::uint32_t>(N), A); }

String D2H(int N, int A) { return Dec2Hex(N, A); }

int Hex2Dec(std::string_view S)
{
    String text(S);
    if (text.find('$') == String::npos) text.insert(0, 1, '$');
    return StrToIntDef(text, 0);
}

int H2D(std::string_view S) { return Hex2Dec(S); }

String Dec2Numb(int N, int A, int B)
{
    if (!IsBase(B)) return String();
    std::uint32_t value = static_cast<std::uint32_t>(N);
    const std::uint32_t base = static_cast<std::uint32_t>(B);
    String digits;
    do {
        const std::uint32_t digit = value % base;
        digits += static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    if (Length(digits) < A) digits.insert(0, static_cast<size_t>(A) - digits.size(), '0');
    return digits;
}

int Numb2Dec(std::string_view S, int B)
{
    if (!IsBase(B)) return 0;
    // The platform's 32-bit integers wrap: unsigned arithmetic gives the same bits without
    // overflow.
    std::uint32_t value = 0;
    std::uint32_t weight = 1;
    const String upper = UpperCase(S);
    for (size_t i = upper.size(); i-- > 0;) {
        const unsigned char c = static_cast<unsigned char>(upper[i]);
        const std::uint32_t digit = c > 64 ? c - 55u : c - 48u;
        value += digit * weight;
        weight *= static_cast<std::uint32_t>(B);
    }
    return static_cast<int>(value);
}

int HexDigitValue(char C)
{
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

String IntToRoman(int N)
{
    if (N < 1) return String();
    return StringOfChar('M', N / 1000) + RomanDigit(N / 100 % 10, 'C', 'D', 'M') +
           RomanDigit(N / 10 % 10, 'X', 'L', 'C') + RomanDigit(N % 10, 'I', 'V', 'X');
}

int RomanToInt(std::string_view S)
{
    bool negative = false;
    if (!S.empty() && S.front() == '-') {
        negative = true;
        S.remove_prefix(1);
    }
    std::uint32_t total = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        const int value = RomanValue(S[i]);
        if (value == 0) return 0;
        const int next = i + 1 < S.size() ? RomanValue(S[i + 1]) : 0;
        if (next > value) {
            total += static_cast<std::uint32_t>(next - value);
            ++i;
        } else {
            total += static_cast<std::uint32_t>(value);
        }
    }
    return static_cast<int>(negative ? 0u - total : total);
}

String IntToBin(int N, int D, int G)
{
    D = std::min(D, MaxBits);
    const std::uint32_t bits = static_cast<std::uint32_t>(N);
    String r;
    for (int position = D; position >= 1; --position) {
        if (G >= 1 && position % G == 0) r += ' ';
        r += (bits >> (position - 1)) & 1u ? '1' : '0';
    }
    return r;
}
