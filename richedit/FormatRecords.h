// Character and paragraph format records, laid out byte for byte like the platform's
// CHARFORMAT2A and PARAFORMAT2 (the Win32 side checks every offset), and the records each
// attribute write sends. Platform-free, so the records are checked natively.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/FontStyles.h"

struct TCharFormatRecord {
    std::uint32_t cbSize;
    std::uint32_t dwMask;
    std::uint32_t dwEffects;
    std::int32_t yHeight;
    std::int32_t yOffset;
    std::uint32_t crTextColor;
    std::uint8_t bCharSet;
    std::uint8_t bPitchAndFamily;
    char szFaceName[32];
    // The platform's C++ header derives this record from the short one, so the short record's
    // end padding comes first; a C build of the library reads the weight here instead.
    std::uint16_t weightInCLayout;
    std::uint16_t wWeight;
    std::int16_t sSpacing;
    std::uint32_t crBackColor;
    std::uint32_t lcid;
    std::uint32_t dwReserved;
    std::int16_t sStyle;
    std::uint16_t wKerning;
    std::uint8_t bUnderlineType;
    std::uint8_t bAnimation;
    std::uint8_t bRevAuthor;
    std::uint8_t bReserved1;
};
static_assert(sizeof(TCharFormatRecord) == 84);

struct TParaFormatRecord {
    std::uint32_t cbSize;
    std::uint32_t dwMask;
    std::uint16_t wNumbering;
    std::uint16_t wEffects;
    std::int32_t dxStartIndent;
    std::int32_t dxRightIndent;
    std::int32_t dxOffset;
    std::uint16_t wAlignment;
    std::int16_t cTabCount;
    std::int32_t rgxTabs[32];
    std::int32_t dySpaceBefore;
    std::int32_t dySpaceAfter;
    std::int32_t dyLineSpacing;
    std::int16_t sStyle;
    std::uint8_t bLineSpacingRule;
    std::uint8_t bOutlineLevel;
    std::uint16_t wShadingWeight;
    std::uint16_t wShadingStyle;
    std::uint16_t wNumberingStart;
    std::uint16_t wNumberingStyle;
    std::uint16_t wNumberingTab;
    std::uint16_t wBorderSpace;
    std::uint16_t wBorderWidth;
    std::uint16_t wBorders;
};
static_assert(sizeof(TParaFormatRecord) == 188);

// Mask and effect bits the records use (the platform's values).
namespace RichMask {
constexpr std::uint32_t Bold = 0x1, Italic = 0x2, Underline = 0x4, StrikeOut = 0x8,
                        Protected = 0x10, Link = 0x20, Hidden = 0x100, Disabled = 0x2000,
                        RevAuthor = 0x8000, Subscript = 0x10000, Superscript = 0x20000,
                        Weight = 0x400000, UnderlineType = 0x800000, BackColor = 0x4000000,
                        Charset = 0x8000000, Offset = 0x10000000, Face = 0x20000000,
                        Color = 0x40000000, Size = 0x80000000;
constexpr std::uint32_t AutoColor = 0x40000000, AutoBackColor = 0x4000000;
constexpr std::uint32_t ParaStartIndent = 0x1, ParaRightIndent = 0x2, ParaOffset = 0x4,
                        ParaAlignment = 0x8, ParaTabStops = 0x10, ParaNumbering = 0x20,
                        ParaSpaceBefore = 0x40, ParaSpaceAfter = 0x80, ParaLineSpacing = 0x100,
                        ParaStyle = 0x400, ParaNumberingStyle = 0x2000, ParaNumberingTab = 0x4000,
                        ParaTable = 0xC0000000;
}  // namespace RichMask

constexpr int MaxTabStops = 32;

// Cleared records sized for the library version: version 1 only ever sees the short ones.
TCharFormatRecord NewCharFormat(int Version);
TParaFormatRecord NewParaFormat(int Version);

// One record per attribute write; only the written attribute's mask is set, so everything
// else keeps its value. Sizes and offsets are given in points and sent in twips.
TCharFormatRecord CharsetFormat(int Version, std::uint8_t Charset);
TCharFormatRecord EffectFormat(int Version, std::uint32_t Mask, bool On);
TCharFormatRecord RevAuthorFormat(int Version, std::uint8_t Index);
// Automatic: the window text (or window) colour; otherwise Rgb.
TCharFormatRecord ColorFormat(int Version, bool Automatic, std::uint32_t Rgb);
TCharFormatRecord BackColorFormat(int Version, bool Automatic, std::uint32_t Rgb);
// At most 31 characters reach the control.
TCharFormatRecord NameFormat(int Version, std::string_view Name);
// The mask covers all four styles, so the ones not named are cleared.
TCharFormatRecord StyleFormat(int Version, TFontStyles Style);
TCharFormatRecord UnderlineTypeFormat(int Version, int UnderlineType);
TCharFormatRecord OffsetFormat(int Version, int Points);
TCharFormatRecord SizeFormat(int Version, int Points);
// SubscriptStyle: 0 none, 1 subscript, 2 superscript.
TCharFormatRecord SubscriptFormat(int Version, int SubscriptStyle);
TFontStyles StyleOfEffects(std::uint32_t Effects);
std::uint32_t EffectsOfStyle(TFontStyles Style);

// Numbering styles: 0 parenthesis "1)", 1 period "1.", 2 enclosed "(1)", 3 simple "1".
std::uint16_t NumberingStyleToPlatform(int Style);
int NumberingStyleFromPlatform(std::uint16_t Value);

// Sets tab stop Index (0..31) of a record read from the control: the count grows to
// Index + 1 when it is smaller. An index outside the table raises EListError.
void SetTabStop(TParaFormatRecord& Record, int Index, int Points);
