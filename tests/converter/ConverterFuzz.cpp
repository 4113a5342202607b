// Fuzzes the notation converter with sequences of changes to any of its three edits: after each
// one the three texts stand for the same number or are all empty, and the message is empty or
// one of the five.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/NotationModel.h"

namespace {

std::uint64_t DecimalValue(const String& Text)
{
    std::uint64_t v = 0;
    for (char c : Text) v = v * 10 + std::uint64_t(c - '0');
    return v;
}

void CheckAgreement(const TNotationConverter& c)
{
    String digits;
    for (char ch : c.Binary)
        if (ch != ' ') digits += ch;
    if (c.Decimal.empty() || c.Hexadecimal.empty() || digits.empty()) {
        if (!c.Decimal.empty() || !c.Hexadecimal.empty() || !digits.empty()) std::abort();
        return;
    }
    if (c.Hexadecimal.size() > 8 || digits.size() > 32) std::abort();
    const std::uint64_t value = DecimalValue(c.Decimal);
    if (value != HexToUInt(c.Hexadecimal)) std::abort();
    std::uint64_t bits = 0;
    for (char ch : digits) {
        if (ch != '0' && ch != '1') std::abort();
        bits = bits * 2 + std::uint64_t(ch - '0');
    }
    if (bits != value) std::abort();
    const String& m = c.Message;
    if (!m.empty() && m != NotationText::NonDecimal && m != NotationText::NonHex &&
        m != NotationText::NonBinary && m != NotationText::Overflow &&
        m != NotationText::TooManyDigits)
        std::abort();
    if (c.ErrorReported == m.empty()) std::abort();
}

}  // namespace

// Each change: a byte choosing the edit, then its text up to the next 0xFF byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TNotationConverter c;
    std::size_t i = 0;
    while (i < Size) {
        const std::uint8_t edit = Data[i++] % 3;
        std::string text;
        while (i < Size && Data[i] != 0xFF) text += char(Data[i++]);
        ++i;
        if (edit == 0) c.DecimalChanged(text);
        if (edit == 1) c.HexChanged(text);
        if (edit == 2) c.BinaryChanged(text);
        CheckAgreement(c);
    }
    return 0;
}
