// The notation converter's conversions and its three change handlers.
#include "util/NotationModel.h"

#include <algorithm>

#include "util/NumberNotations.h"

namespace {

constexpr std::uint64_t MaxValue = 0xFFFFFFFFu;

bool IsDecimalDigit(char C) { return C >= '0' && C <= '9'; }
bool IsBinaryCharacter(char C) { return C == '0' || C == '1' || C == ' '; }

// Decimal digits as a number, held at MaxValue + 1 once past it: a text longer than the edit
// takes (put there by the program) must not wrap round to a small value.
std::uint64_t DecimalValue(std::string_view Digits)
{
    std::uint64_t value = 0;
    for (char c : Digits) value = std::min<std::uint64_t>(value * 10 + (c - '0'), MaxValue + 1);
    return value;
}

String WithoutBlanks(std::string_view Text)
{
    String r;
    for (char c : Text)
        if (c != ' ') r += c;
    return r;
}

}  // namespace

std::uint32_t HexToUInt(std::string_view Hex)
{
    // Base 16 in 32-bit arithmetic: the weight of a ninth digit from the right wraps to 0,
    // so only the last eight digits count.
    return static_cast<std::uint32_t>(Numb2Dec(Hex, 16));
}

String HexToBinaryGroups(std::string_view Hex)
{
    String groups;
    groups.reserve(Hex.size() * 5);
    for (char c : Hex) {
        const int digit = HexDigitValue(c);
        if (digit < 0) continue;
        groups += IntToBin(digit, 4, 0);
        groups += ' ';
    }
    return groups;
}

void TNotationConverter::DecimalChanged(std::string_view Text)
{
    ErrorReported = false;
    DecimalChange(String(Text));
}

void TNotationConverter::HexChanged(std::string_view Text)
{
    ErrorReported = false;
    // The edit takes eight digits; a longer text would give a value of its last eight and
    // groups of all of them.
    HexChange(String(Text.substr(0, HexMaxLength)));
}

void TNotationConverter::BinaryChanged(std::string_view Text)
{
    ErrorReported = false;
    BinaryChange(String(Text));
}

String TNotationConverter::BinDigitsText() const
{
    return NotationText::BinDigits + IntToStr(BinaryDigits);
}

bool TNotationConverter::KeyAllowed(TNotationEdit Edit, char Key)
{
    switch (Key) {
    case 3:   // copy
    case 8:   // Backspace
    case 22:  // paste
    case 24:  // cut
    case 26:  // undo
    case '.': return true;
    default: break;
    }
    switch (Edit) {
    case TNotationEdit::Decimal: return IsDecimalDigit(Key);
    case TNotationEdit::Hexadecimal: return HexDigitValue(Key) >= 0;
    case TNotationEdit::Binary: return IsBinaryCharacter(Key);
    }
    return false;
}

void TNotationConverter::Report(const char* Text)
{
    Message = Text;
    ErrorReported = true;
}

void TNotationConverter::ShowBinaryOf(const String& Hex)
{
    Binary = Trim(HexToBinaryGroups(Hex));
    BinaryDigits = static_cast<int>(WithoutBlanks(Binary).size());
}

// Where a handler replaces its own edit's text, that edit's change runs again on the new text
// before the handler goes on, as it does in the window. Texts are taken by value: the field a
// run replaces may be the one its text came from.
void TNotationConverter::DecimalChange(String Text)
{
    Message.clear();
    const String text = Trim(Text);
    Decimal = text;
    if (!std::all_of(text.begin(), text.end(), IsDecimalDigit)) {
        Decimal.clear();
        DecimalChange(Decimal);
        Report(NotationText::NonDecimal);
        return;
    }
    if (text.empty()) {
        Hexadecimal.clear();
        Binary.clear();
        return;
    }
    std::uint64_t value = DecimalValue(text);
    if (value > MaxValue) {
        Hexadecimal.clear();
        Binary.clear();
        value = MaxValue;
        Decimal = IntToStr(static_cast<long long>(MaxValue));
        DecimalChange(Decimal);
        Report(NotationText::Overflow);
    }
    Hexadecimal = IntToHex(static_cast<long long>(value), 1);
    ShowBinaryOf(Hexadecimal);
}

void TNotationConverter::HexChange(String Text)
{
    Message.clear();
    const String text = Trim(Text);
    Hexadecimal = text;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; })) {
        Hexadecimal.clear();
        HexChange(Hexadecimal);
        Report(NotationText::NonHex);
        return;
    }
    if (text.empty()) {
        Decimal.clear();
        Binary.clear();
        return;
    }
    Decimal = IntToStr(static_cast<long long>(HexToUInt(text)));
    // From the text as typed: lower-case digits and leading zeros give their own groups.
    ShowBinaryOf(text);
}

void TNotationConverter::BinaryChange(String Text)
{
    Message.clear();
    Binary = Text;
    String digits = WithoutBlanks(Text);
    if (digits.size() < static_cast<std::size_t>(MaxBinaryDigits))
        BinaryMaxLength = BinaryStartMaxLength;
    else
        BinaryMaxLength = static_cast<int>(Binary.size());
    if (digits.size() > static_cast<std::size_t>(MaxBinaryDigits)) {
        // The most significant (leftmost) digits are kept, and their change converts them. A
        // character among them that is no binary digit has emptied all three edits instead,
        // and its message is the one that holds: nothing was kept.
        digits.resize(MaxBinaryDigits);
        Binary = digits;
        BinaryChange(Binary);
        if (!ErrorReported) Report(NotationText::TooManyDigits);
        return;
    }
    BinaryDigits = static_cast<int>(digits.size());
    if (!std::all_of(Binary.begin(), Binary.end(), IsBinaryCharacter)) {
        Binary.clear();
        BinaryChange(Binary);
        Report(NotationText::NonBinary);
        return;
    }
    if (digits.empty()) {
        Hexadecimal.clear();
        Decimal.clear();
        return;
    }
    std::uint32_t value = 0;
    for (char c : digits) value = (value << 1) | (c != '0' ? 1u : 0u);
    Hexadecimal = IntToHex(value, 1);
    Decimal = IntToStr(static_cast<long long>(HexToUInt(Hexadecimal)));
}
