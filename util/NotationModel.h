// The notation converter's logic: one unsigned 32-bit number in decimal, hexadecimal and grouped
// binary, each text converted into the other two as it changes, with the converter's messages.
// Platform-free; the converter window shows it, the cursor inspector uses HexToBinaryGroups.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/Strings.h"

namespace NotationText {
inline constexpr const char* NonDecimal = "Error: non-decimal characters found";
inline constexpr const char* NonHex = "Error: non-hex characters found";
inline constexpr const char* NonBinary = "Error: non-binary characters found";
inline constexpr const char* Overflow = "Error: overflow - reduced to (max) 4294967295";
inline constexpr const char* TooManyDigits =
    "Error: too many digits - truncated/compressed to 32 max.";
inline constexpr const char* BinDigits = "Bin Digits: ";
}  // namespace NotationText

// The value of hexadecimal digits (either case); of more than eight, the last eight count.
std::uint32_t HexToUInt(std::string_view Hex);
// Four binary digits and a blank for each hexadecimal digit, from the left ("A5" gives
// "1010 0101 "). A character that is no hexadecimal digit gives no group.
String HexToBinaryGroups(std::string_view Hex);

// Which edit a key is typed in.
enum class TNotationEdit { Decimal, Hexadecimal, Binary };

// The three edits' texts and what goes with them. Each change runs as the window's change
// handler of that edit would, its own edit's further changes included (a text emptied or
// replaced is converted again); the other two edits only receive texts.
class TNotationConverter {
public:
    static constexpr int DecimalMaxLength = 10;
    static constexpr int HexMaxLength = 8;
    static constexpr int BinaryStartMaxLength = 39;
    static constexpr int MaxBinaryDigits = 32;

    String Decimal, Hexadecimal, Binary;
    // What the binary edit takes: 39 characters, and no more typing once it holds 32 digits.
    int BinaryMaxLength = BinaryStartMaxLength;
    // The count the "Bin Digits: " label shows; emptying the decimal or hexadecimal text keeps it.
    int BinaryDigits = 0;
    // The error shown, or empty: every change empties it first.
    String Message;
    // The last change reported an error (the window then shows the message for a while).
    bool ErrorReported = false;

    // The edit now holds Text.
    void DecimalChanged(std::string_view Text);
    void HexChanged(std::string_view Text);
    void BinaryChanged(std::string_view Text);

    String BinDigitsText() const;

    // The key filters: digits of the edit's notation (and the binary edit's blank), Backspace,
    // copy, paste, cut and undo, and '.' (which the change then refuses).
    static bool KeyAllowed(TNotationEdit Edit, char Key);

private:
    void DecimalChange(String Text);
    void HexChange(String Text);
    void BinaryChange(String Text);
    void ShowBinaryOf(const String& Hex);
    void Report(const char* Text);
};
