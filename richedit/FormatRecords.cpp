// The attribute records: cleared, sized for the library version, one mask bit per write.
#include "richedit/FormatRecords.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"
#include "richedit/RichEditTexts.h"

namespace {
constexpr std::uint32_t ShortCharFormatSize = 60, ShortParaFormatSize = 156;
constexpr int TwipsPerPoint = 20;
}  // namespace

TCharFormatRecord NewCharFormat(int Version)
{
    TCharFormatRecord r;
    std::memset(&r, 0, sizeof r);
    r.cbSize = Version == 1 ? ShortCharFormatSize : sizeof(TCharFormatRecord);
    return r;
}

TParaFormatRecord NewParaFormat(int Version)
{
    TParaFormatRecord r;
    std::memset(&r, 0, sizeof r);
    r.cbSize = Version == 1 ? ShortParaFormatSize : sizeof(TParaFormatRecord);
    return r;
}

TCharFormatRecord CharsetFormat(int Version, std::uint8_t Charset)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Charset;
    r.bCharSet = Charset;
    return r;
}

TCharFormatRecord EffectFormat(int Version, std::uint32_t Mask, bool On)
{
    auto r = NewCharFormat(Version);
    r.dwMask = Mask;
    if (On) r.dwEffects = Mask;
    return r;
}

TCharFormatRecord RevAuthorFormat(int Version, std::uint8_t Index)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::RevAuthor;
    r.bRevAuthor = Index;
    return r;
}

TCharFormatRecord ColorFormat(int Version, bool Automatic, std::uint32_t Rgb)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Color;
    if (Automatic)
        r.dwEffects = RichMask::AutoColor;
    else
        r.crTextColor = Rgb;
    return r;
}

TCharFormatRecord BackColorFormat(int Version, bool Automatic, std::uint32_t Rgb)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::BackColor;
    if (Automatic)
        r.dwEffects = RichMask::AutoBackColor;
    else
        r.crBackColor = Rgb;
    return r;
}

TCharFormatRecord NameFormat(int Version, std::string_view Name)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Face;
    const size_t n = std::min(Name.size(), sizeof r.szFaceName - 1);
    std::memcpy(r.szFaceName, Name.data(), n);
    return r;
}

std::uint32_t EffectsOfStyle(TFontStyles Style)
{
    std::uint32_t e = 0;
    if (Style.Contains(fsBold)) e |= RichMask::Bold;
    if (Style.Contains(fsItalic)) e |= RichMask::Italic;
    if (Style.Contains(fsUnderline)) e |= RichMask::Underline;
    if (Style.Contains(fsStrikeOut)) e |= RichMask::StrikeOut;
    return e;
}

TFontStyles StyleOfEffects(std::uint32_t Effects)
{
    TFontStyles s;
    if (Effects & RichMask::Bold) s << fsBold;
    if (Effects & RichMask::Italic) s << fsItalic;
    if (Effects & RichMask::Underline) s << fsUnderline;
    if (Effects & RichMask::StrikeOut) s << fsStrikeOut;
    return s;
}

TCharFormatRecord StyleFormat(int Version, TFontStyles Style)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Bold | RichMask::Italic | RichMask::Underline | RichMask::StrikeOut;
    r.dwEffects = EffectsOfStyle(Style);
    return r;
}

TCharFormatRecord UnderlineTypeFormat(int Version, int UnderlineType)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::UnderlineType | RichMask::Underline;
    r.bUnderlineType = static_cast<std::uint8_t>(UnderlineType);
    if (UnderlineType != 0) r.dwEffects = RichMask::Underline;
    return r;
}

TCharFormatRecord OffsetFormat(int Version, int Points)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Offset;
    r.yOffset = Points * TwipsPerPoint;
    return r;
}

TCharFormatRecord SizeFormat(int Version, int Points)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Size;
    r.yHeight = Points * TwipsPerPoint;
    return r;
}

TCharFormatRecord SubscriptFormat(int Version, int SubscriptStyle)
{
    auto r = NewCharFormat(Version);
    r.dwMask = RichMask::Subscript | RichMask::Superscript;
    if (SubscriptStyle == 1) r.dwEffects = RichMask::Subscript;
    if (SubscriptStyle == 2) r.dwEffects = RichMask::Superscript;
    return r;
}

namespace {
// The platform's PFNS_PAREN, PFNS_PERIOD, PFNS_PARENS and PFNS_PLAIN, in our styles' order.
constexpr std::uint16_t PlatformNumberingStyles[] = {0x000, 0x200, 0x100, 0x300};
}  // namespace

std::uint16_t NumberingStyleToPlatform(int Style)
{
    return PlatformNumberingStyles[std::clamp(Style, 0, 3)];
}

int NumberingStyleFromPlatform(std::uint16_t Value)
{
    for (int i = 0; i < 4; ++i)
        if (PlatformNumberingStyles[i] == (Value & 0xFF00)) return i;
    return 3;  // no number shown: the nearest is the plain style
}

void SetTabStop(TParaFormatRecord& Record, int Index, int Points)
{
    if (Index < 0 || Index >= MaxTabStops) throw EListError(RichEditText::TabIndex, Index);
    Record.dwMask = RichMask::ParaTabStops;
    Record.rgxTabs[Index] = Points * TwipsPerPoint;
    // A stop beyond the count would not be in effect.
    if (Record.cTabCount < Index + 1) Record.cTabCount = static_cast<std::int16_t>(Index + 1);
}
