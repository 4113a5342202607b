// The send-string escape syntax of typed strings and macro data strings: "\n", "\r", "\t",
// "\\" and a backslash with two hexadecimal digits stand for one byte each; every other
// character stands for its own byte. Platform-free: the entry pane and the macro runner share it.
#pragma once

#include <cstdint>
#include <string_view>

namespace EscapeText {
inline constexpr const char* Incomplete =
    "Cannot send data.\nIncomplete escape sequence using '\\'.";
inline constexpr const char* Invalid = "Cannot send data.\nInvalid escape sequence using '\\'.";
inline constexpr const char* InvalidHex =
    "Cannot send data.\nInvalid hex digits in escape sequence using '\\'.";
}  // namespace EscapeText

enum class TEscapeError { None, Incomplete, Invalid, InvalidHex };

struct TEscapeResult {
    // Bytes written (a NUL among them counts like any byte); 0 after an error.
    std::uint32_t Count = 0;
    TEscapeError Error = TEscapeError::None;
    // The characters of the text an error is about: the lone backslash, or the one or two
    // characters after it. Always inside the text.
    std::uint32_t ErrorStart = 0;
    std::uint32_t ErrorLength = 0;
};

// Parses Source into Destination, which has room for Source.size() bytes (the result is never
// longer than the text). Nothing of the text after an error is parsed.
TEscapeResult ParseEscapeText(std::string_view Source, std::uint8_t* Destination);

// The message of an error (nullptr for None).
const char* EscapeErrorText(TEscapeError Error);
