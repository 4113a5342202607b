// The cursor inspector's reading of a selection on the receive screen: the position text (line,
// column, selected characters) and the byte under a one-byte selection, found through the
// display records in the byte modes. Platform-free; the selection handler gathers what the
// screen reports into a TScreenSelection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "framework/Strings.h"

namespace InspectorText {
inline constexpr const char* TextLine = "ASCII/Text Line: ";
inline constexpr const char* Line = "Ln: ";
inline constexpr const char* Column = ", Col: ";
inline constexpr const char* Selected = ", Sel: ";
inline constexpr const char* Bits = "B: ";
inline constexpr const char* Decimal = ", D: ";
inline constexpr const char* Hex = ", H: ";
inline constexpr const char* Character = ", Ch: ";
}  // namespace InspectorText

// What the screen says about its selection. Positions count a line break as two characters.
struct TScreenSelection {
    std::int32_t SelMin = 0;
    std::int32_t SelMax = 0;
    // The selected text: characters read, CR and LF among them, its first and last character.
    std::int32_t Copied = 0;
    std::int32_t LineBreaks = 0;
    char First = 0;
    char Last = 0;
    // The line of CaretProbe(SelMin, SelMax) (from 0) and the position where that line starts.
    std::int32_t Line0 = 0;
    std::int32_t LineStart = 0;
};

// The position whose line and column the inspector names: the last selected character, or for
// a plain caret the character after it.
std::int32_t CaretProbe(std::int32_t SelMin, std::int32_t SelMax);

// "ASCII/Text Line: n" in text mode, otherwise "Ln: n, Col: c, Sel: s".
String CaretInfoFor(const TScreenSelection& S, bool TextMode);

// The byte the selection stands for, if it is exactly one: in text mode one selected
// character; in the byte modes one character of text, or the two digits of a hex cell, looked
// up in Records (Capacity entries; an index outside them names no byte).
std::optional<std::uint8_t> ByteUnderSelection(const TScreenSelection& S, bool TextMode,
                                               const std::uint32_t* Records, std::size_t Capacity);

// "B: bits, D: decimal, H: hex" and, in the byte modes, ", Ch: " and the character; empty for
// no byte.
String ByteInfoFor(std::optional<std::uint8_t> Byte, bool TextMode);
