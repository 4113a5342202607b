// The cursor inspector's position and byte texts.
#include "terminal/CaretInfo.h"

#include "terminal/MainGlobals.h"
#include "util/NotationModel.h"

namespace {

bool IsLineBreak(char C) { return C == '\r' || C == '\n'; }

// The record at Index, or nothing for an index outside the table: a selection near the start,
// or one the screen still shows after the records were trimmed, must not read outside it.
std::optional<std::uint32_t> RecordAt(const std::uint32_t* Records, std::size_t Capacity,
                                      std::int64_t Index)
{
    if (Index < 0 || static_cast<std::uint64_t>(Index) >= Capacity) return std::nullopt;
    return Records[Index];
}

}  // namespace

std::int32_t CaretProbe(std::int32_t SelMin, std::int32_t SelMax)
{
    return SelMax > SelMin ? SelMax - 1 : SelMax;
}

String CaretInfoFor(const TScreenSelection& S, bool TextMode)
{
    const std::int64_t line = std::int64_t(S.Line0) + 1;
    if (TextMode) return InspectorText::TextLine + IntToStr(line);
    const std::int64_t sel = std::int64_t(S.Copied) - S.LineBreaks;
    std::int64_t col = std::int64_t(CaretProbe(S.SelMin, S.SelMax)) - S.LineStart + 1;
    if (S.Copied > 0 && IsLineBreak(S.Last)) col -= 2;
    col -= (std::int64_t(S.SelMax) - S.SelMin) - S.LineBreaks - sel;
    return InspectorText::Line + IntToStr(line) + InspectorText::Column + IntToStr(col) +
           InspectorText::Selected + IntToStr(sel);
}

std::optional<std::uint8_t> ByteUnderSelection(const TScreenSelection& S, bool TextMode,
                                               const std::uint32_t* Records, std::size_t Capacity)
{
    const std::int64_t sel = std::int64_t(S.Copied) - S.LineBreaks;
    if (TextMode) {
        if (std::int64_t(S.SelMax) - S.SelMin == 1 && sel != 0)
            return static_cast<std::uint8_t>(S.First);
        return std::nullopt;
    }
    // Two positions per line break above the character; the records hold none.
    const std::int64_t index =
        std::int64_t(S.SelMax) - 2 * std::int64_t(S.Line0) - S.LineBreaks - 1;
    if (sel == 1) {
        std::optional<std::uint32_t> r = RecordAt(Records, Capacity, index);
        if (r && RecordKind(*r) == 0) r = RecordAt(Records, Capacity, index - 2);
        // A character of text or the first of a line; a record never written names no byte.
        if (r && (RecordKind(*r) == RecordContinues || RecordKind(*r) == RecordNewLine))
            return RecordByte(*r);
        return std::nullopt;
    }
    if (sel == 2) {
        // Exactly the two digits of a cell: both hold the cell's byte, its brackets hold '<'
        // and '>' (so the cell of '<' itself cannot be told from its first bracket).
        const std::optional<std::uint32_t> r = RecordAt(Records, Capacity, index);
        const std::optional<std::uint32_t> before = RecordAt(Records, Capacity, index - 1);
        if (!r || !before || RecordKind(*r) != RecordHexCell) return std::nullopt;
        const std::uint8_t b = RecordByte(*r);
        if (b == '<' || b == '>' || RecordByte(*before) == '<') return std::nullopt;
        return b;
    }
    return std::nullopt;
}

String ByteInfoFor(std::optional<std::uint8_t> Byte, bool TextMode)
{
    if (!Byte) return String();
    const String hex = IntToHex(*Byte, 2);
    String bits;
    for (char c : HexToBinaryGroups(hex))
        if (c != ' ') bits += c;
    String info = InspectorText::Bits + bits + InspectorText::Decimal + IntToStr(*Byte) +
                  InspectorText::Hex + hex;
    if (!TextMode) info += InspectorText::Character + String(1, static_cast<char>(*Byte));
    return info;
}
