// The formatting views: reads go to the window (zero values without one), writes send one
// record per attribute. The records match the platform's byte for byte (checked below).
#include "richedit/TextAttributes.h"

#include <cstddef>
#include <cstring>

#include "framework/Exceptions.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"
#include "richedit/RichEditTexts.h"

// The platform header derives the long records from the short ones (no standard layout), yet
// the offsets are fixed by the binary interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#define QV_SAME_FIELD(Ours, Theirs, Field)                                                         \
    static_assert(offsetof(Ours, Field) == offsetof(Theirs, Field), #Field)
static_assert(sizeof(TCharFormatRecord) == sizeof(CHARFORMAT2A));
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, crTextColor);
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, szFaceName);
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, wWeight);
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, crBackColor);
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, bUnderlineType);
QV_SAME_FIELD(TCharFormatRecord, CHARFORMAT2A, bRevAuthor);
static_assert(sizeof(TParaFormatRecord) == sizeof(PARAFORMAT2));
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, wAlignment);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, rgxTabs);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, dySpaceBefore);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, sStyle);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, bLineSpacingRule);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, wNumberingStyle);
QV_SAME_FIELD(TParaFormatRecord, PARAFORMAT2, wBorders);
static_assert(sizeof(CHARFORMATA) == 60 && sizeof(PARAFORMAT) == 156);
#undef QV_SAME_FIELD
#pragma GCC diagnostic pop

namespace {

constexpr int TwipsPerPoint = 20;

WPARAM ScopeOf(TQvAttributeType type)
{
    switch (type) {
    case atDefaultText: return SCF_DEFAULT;
    case atSelected: return SCF_SELECTION;
    case atWord: return SCF_WORD | SCF_SELECTION;
    }
    return SCF_SELECTION;
}

bool IsAutomatic(TColor c) { return c == clWindowText || c == clDefault; }

}  // namespace

TQvTextAttributes::TQvTextAttributes(TQvCustomRichEdit* RichEdit, TQvAttributeType AttributeType)
    : richEdit_(RichEdit),
      type_(AttributeType)
{
}

int TQvTextAttributes::Version() const { return RichEditVersion; }

void TQvTextAttributes::GetAttributes(TCharFormatRecord& f)
{
    f = NewCharFormat(Version());
    if (richEdit_->HandleAllocated())
        SendMessageA(richEdit_->Handle(), EM_GETCHARFORMAT, ScopeOf(type_),
                     reinterpret_cast<LPARAM>(&f));
}

void TQvTextAttributes::SetAttributes(TCharFormatRecord& f)
{
    if (richEdit_->HandleAllocated())
        SendMessageA(richEdit_->Handle(), EM_SETCHARFORMAT, ScopeOf(type_),
                     reinterpret_cast<LPARAM>(&f));
}

TQvConsistentAttributes TQvTextAttributes::ConsistentAttributes()
{
    if (type_ == atDefaultText || !richEdit_->HandleAllocated()) return {};
    TCharFormatRecord f;
    GetAttributes(f);
    TQvConsistentAttributes c;
    const DWORD m = f.dwMask;
    if (m & CFM_BOLD) c << caBold;
    if (m & CFM_COLOR) c << caColor;
    if (m & CFM_FACE) c << caFace;
    if (m & CFM_ITALIC) c << caItalic;
    if (m & CFM_SIZE) c << caSize;
    if (m & CFM_STRIKEOUT) c << caStrikeOut;
    if (m & CFM_UNDERLINE) c << caUnderline;
    if (m & CFM_PROTECTED) c << caProtected;
    if (m & CFM_OFFSET) c << caOffset;
    if (m & CFM_HIDDEN) c << caHidden;
    if (Version() >= 2) {
        if (m & CFM_LINK) c << caLink;
        if (m & CFM_BACKCOLOR) c << caBackColor;
        if (m & CFM_DISABLED) c << caDisabled;
        if (m & CFM_WEIGHT) c << caWeight;
        if (m & (CFM_SUBSCRIPT | CFM_SUPERSCRIPT)) c << caSubscript;
        if (m & CFM_REVAUTHOR) c << caRevAuthor;
    }
    return c;
}

BYTE TQvTextAttributes::Charset()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return f.bCharSet;
}

void TQvTextAttributes::SetCharset(BYTE v)
{
    auto f = CharsetFormat(Version(), v);
    SetAttributes(f);
}

bool TQvTextAttributes::Protected()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return (f.dwEffects & CFE_PROTECTED) != 0;
}

void TQvTextAttributes::SetProtected(bool v)
{
    auto f = EffectFormat(Version(), CFM_PROTECTED, v);
    SetAttributes(f);
}

bool TQvTextAttributes::Link()
{
    if (Version() < 2) return false;
    TCharFormatRecord f;
    GetAttributes(f);
    return (f.dwEffects & CFE_LINK) != 0;
}

void TQvTextAttributes::SetLink(bool v)
{
    if (Version() < 2) return;
    auto f = EffectFormat(Version(), CFM_LINK, v);
    SetAttributes(f);
}

BYTE TQvTextAttributes::RevAuthorIndex()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return f.bRevAuthor;
}

void TQvTextAttributes::SetRevAuthorIndex(BYTE v)
{
    if (Version() < 2) return;
    auto f = RevAuthorFormat(Version(), v);
    SetAttributes(f);
}

bool TQvTextAttributes::Hidden()
{
    if (Version() < 2) return false;
    TCharFormatRecord f;
    GetAttributes(f);
    return (f.dwEffects & CFE_HIDDEN) != 0;
}

void TQvTextAttributes::SetHidden(bool v)
{
    if (Version() < 2) return;
    auto f = EffectFormat(Version(), CFM_HIDDEN, v);
    SetAttributes(f);
}

bool TQvTextAttributes::Disabled()
{
    if (Version() < 2) return false;
    TCharFormatRecord f;
    GetAttributes(f);
    return (f.dwEffects & CFE_DISABLED) != 0;
}

void TQvTextAttributes::SetDisabled(bool v)
{
    if (Version() < 2) return;
    auto f = EffectFormat(Version(), CFM_DISABLED, v);
    SetAttributes(f);
}

TColor TQvTextAttributes::Color()
{
    TCharFormatRecord f;
    GetAttributes(f);
    if (f.dwEffects & CFE_AUTOCOLOR) return clWindowText;
    return static_cast<TColor>(f.crTextColor);
}

void TQvTextAttributes::SetColor(TColor v)
{
    auto f = ColorFormat(Version(), IsAutomatic(v), ColorToRGB(v));
    SetAttributes(f);
}

TColor TQvTextAttributes::BackColor()
{
    if (Version() < 2) return clWindow;
    TCharFormatRecord f;
    GetAttributes(f);
    // Without a window nothing was read: the record's zero effects are not a colour.
    if (!richEdit_->HandleAllocated() || (f.dwEffects & CFE_AUTOBACKCOLOR)) return clWindow;
    return static_cast<TColor>(f.crBackColor);
}

void TQvTextAttributes::SetBackColor(TColor v)
{
    if (Version() < 2) return;
    auto f = BackColorFormat(Version(), v == clWindow || v == clDefault, ColorToRGB(v));
    SetAttributes(f);
}

String TQvTextAttributes::Name()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return String(f.szFaceName, strnlen(f.szFaceName, sizeof f.szFaceName));
}

void TQvTextAttributes::SetName(const String& v)
{
    auto f = NameFormat(Version(), v);
    SetAttributes(f);
}

TFontStyles TQvTextAttributes::Style()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return StyleOfEffects(f.dwEffects);
}

void TQvTextAttributes::SetStyle(TFontStyles v)
{
    auto f = StyleFormat(Version(), v);
    SetAttributes(f);
}

TUnderlineType TQvTextAttributes::UnderlineType()
{
    if (Version() < 2) return utNone;
    TCharFormatRecord f;
    GetAttributes(f);
    if ((f.dwEffects & CFE_UNDERLINE) && (f.dwMask & CFM_UNDERLINETYPE) &&
        f.bUnderlineType <= utWave)
        return static_cast<TUnderlineType>(f.bUnderlineType);
    return utNone;
}

void TQvTextAttributes::SetUnderlineType(TUnderlineType v)
{
    if (Version() < 2) return;
    auto f = UnderlineTypeFormat(Version(), v);
    SetAttributes(f);
}

int TQvTextAttributes::Offset()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return f.yOffset / TwipsPerPoint;
}

void TQvTextAttributes::SetOffset(int v)
{
    auto f = OffsetFormat(Version(), v);
    SetAttributes(f);
}

int TQvTextAttributes::Size()
{
    TCharFormatRecord f;
    GetAttributes(f);
    return f.yHeight / TwipsPerPoint;
}

void TQvTextAttributes::SetSize(int v)
{
    auto f = SizeFormat(Version(), v);
    SetAttributes(f);
}

int TQvTextAttributes::Height() { return MulDiv(Size(), richEdit_->ScreenPixelsPerInch(), 72); }

void TQvTextAttributes::SetHeight(int v)
{
    SetSize(MulDiv(v, 72, richEdit_->ScreenPixelsPerInch()));
}

TFontPitch TQvTextAttributes::Pitch()
{
    TCharFormatRecord f;
    GetAttributes(f);
    switch (f.bPitchAndFamily & 3) {
    case FIXED_PITCH: return fpFixed;
    case VARIABLE_PITCH: return fpVariable;
    default: return fpDefault;
    }
}

void TQvTextAttributes::SetPitch(TFontPitch v)
{
    // The control takes a pitch only together with a face name: the current name goes with it.
    auto f = NameFormat(Version(), Name());
    f.bPitchAndFamily = v == fpVariable ? VARIABLE_PITCH : v == fpFixed ? FIXED_PITCH : 0;
    SetAttributes(f);
}

TSubscriptStyle TQvTextAttributes::SubscriptStyle()
{
    if (Version() < 2) return TSubscriptStyle::ssNone;
    TCharFormatRecord f;
    GetAttributes(f);
    if (f.dwEffects & CFE_SUBSCRIPT) return TSubscriptStyle::ssSubscript;
    if (f.dwEffects & CFE_SUPERSCRIPT) return TSubscriptStyle::ssSuperscript;
    return TSubscriptStyle::ssNone;
}

void TQvTextAttributes::SetSubscriptStyle(TSubscriptStyle v)
{
    if (Version() < 2) return;
    auto f = SubscriptFormat(Version(), static_cast<int>(v));
    SetAttributes(f);
}

void TQvTextAttributes::AssignFont(TFont* font)
{
    auto f = NewCharFormat(Version());
    f.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
               CFM_STRIKEOUT | CFM_CHARSET;
    f.yHeight = font->Size() * TwipsPerPoint;
    f.dwEffects = EffectsOfStyle(font->Style());
    const String name = font->Name();
    std::strncpy(f.szFaceName, name.c_str(), sizeof f.szFaceName - 1);
    if (IsAutomatic(font->Color()))
        f.dwEffects |= CFE_AUTOCOLOR;
    else
        f.crTextColor = ColorToRGB(font->Color());
    f.bCharSet = font->Charset();
    LOGFONTA lf{};
    if (Version() >= 2 && GetObjectA(font->Handle(), sizeof lf, &lf)) {
        f.dwMask |= CFM_WEIGHT;
        f.wWeight = static_cast<WORD>(lf.lfWeight);
        f.weightInCLayout = f.wWeight;
    }
    SetAttributes(f);
}

void TQvTextAttributes::Assign(TPersistent* Source)
{
    if (auto* font = dynamic_cast<TFont*>(Source)) {
        AssignFont(font);
    } else if (auto* other = dynamic_cast<TQvTextAttributes*>(Source)) {
        TCharFormatRecord f;
        other->GetAttributes(f);
        SetAttributes(f);
    } else {
        TPersistent::Assign(Source);
    }
}

void TQvTextAttributes::AssignTo(TPersistent* Dest)
{
    if (auto* font = dynamic_cast<TFont*>(Dest)) {
        font->SetColor(Color());
        font->SetName(Name());
        font->SetCharset(Charset());
        font->SetStyle(Style());
        font->SetSize(Size());
    } else {
        TPersistent::AssignTo(Dest);
    }
}

// ---- paragraph ---------------------------------------------------------------------------

int TQvParaAttributes::Version() const { return RichEditVersion; }

void TQvParaAttributes::GetAttributes(TParaFormatRecord& p)
{
    p = NewParaFormat(Version());
    if (richEdit_->HandleAllocated())
        SendMessageA(richEdit_->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&p));
}

void TQvParaAttributes::SetAttributes(TParaFormatRecord& p)
{
    HWND h = richEdit_->Handle();
    if (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_RIGHT) {
        if (p.wAlignment == PFA_LEFT)
            p.wAlignment = PFA_RIGHT;
        else if (p.wAlignment == PFA_RIGHT)
            p.wAlignment = PFA_LEFT;
    }
    SendMessageA(h, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&p));
}

namespace {
// A fresh record with one mask and one field set through Fill.
template <class Fill>
void SendPara(TQvParaAttributes* self, int version, DWORD mask, Fill fill)
{
    auto p = NewParaFormat(version);
    p.dwMask = mask;
    fill(p);
    self->SetAttributes(p);
}
}  // namespace

TParaAlignment TQvParaAttributes::Alignment()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return static_cast<TParaAlignment>(p.wAlignment > 0 ? p.wAlignment - 1 : 0);
}

void TQvParaAttributes::SetAlignment(TParaAlignment v)
{
    SendPara(this, Version(), PFM_ALIGNMENT,
             [v](TParaFormatRecord& p) { p.wAlignment = static_cast<WORD>(v + 1); });
}

TQvNumbering TQvParaAttributes::Numbering()
{
    TParaFormatRecord p;
    GetAttributes(p);
    if (Version() == 1 && p.wNumbering != 0) return nsBullet;
    return p.wNumbering <= nsUpCaseRoman ? static_cast<TQvNumbering>(p.wNumbering) : nsBullet;
}

void TQvParaAttributes::SetNumbering(TQvNumbering v)
{
    if (Version() == 1 && v != nsNone) v = nsBullet;
    if (v == nsNone)
        SetLeftIndent(0);
    else if (LeftIndent() < 10)
        SetLeftIndent(10);
    SendPara(this, Version(), PFM_NUMBERING,
             [v](TParaFormatRecord& p) { p.wNumbering = static_cast<WORD>(v); });
}

TQvNumberingStyle TQvParaAttributes::NumberingStyle()
{
    if (Version() < 2) return nsSimple;
    TParaFormatRecord p;
    GetAttributes(p);
    return static_cast<TQvNumberingStyle>(NumberingStyleFromPlatform(p.wNumberingStyle));
}

void TQvParaAttributes::SetNumberingStyle(TQvNumberingStyle v)
{
    if (Version() < 2) return;
    SendPara(this, Version(), PFM_NUMBERINGSTYLE,
             [v](TParaFormatRecord& p) { p.wNumberingStyle = NumberingStyleToPlatform(v); });
}

int TQvParaAttributes::NumberingTab()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.wNumberingTab / TwipsPerPoint;
}

void TQvParaAttributes::SetNumberingTab(int v)
{
    if (Version() < 2) return;
    SendPara(this, Version(), PFM_NUMBERINGTAB,
             [v](TParaFormatRecord& p) { p.wNumberingTab = static_cast<WORD>(v * TwipsPerPoint); });
}

int TQvParaAttributes::FirstIndent()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dxStartIndent / TwipsPerPoint;
}

void TQvParaAttributes::SetFirstIndent(int v)
{
    SendPara(this, Version(), PFM_STARTINDENT,
             [v](TParaFormatRecord& p) { p.dxStartIndent = v * TwipsPerPoint; });
}

int TQvParaAttributes::LeftIndent()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dxOffset / TwipsPerPoint;
}

void TQvParaAttributes::SetLeftIndent(int v)
{
    SendPara(this, Version(), PFM_OFFSET,
             [v](TParaFormatRecord& p) { p.dxOffset = v * TwipsPerPoint; });
}

int TQvParaAttributes::RightIndent()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dxRightIndent / TwipsPerPoint;
}

void TQvParaAttributes::SetRightIndent(int v)
{
    SendPara(this, Version(), PFM_RIGHTINDENT,
             [v](TParaFormatRecord& p) { p.dxRightIndent = v * TwipsPerPoint; });
}

int TQvParaAttributes::SpaceBefore()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dySpaceBefore / TwipsPerPoint;
}

void TQvParaAttributes::SetSpaceBefore(int v)
{
    if (Version() < 2) return;
    SendPara(this, Version(), PFM_SPACEBEFORE,
             [v](TParaFormatRecord& p) { p.dySpaceBefore = v * TwipsPerPoint; });
}

int TQvParaAttributes::SpaceAfter()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dySpaceAfter / TwipsPerPoint;
}

void TQvParaAttributes::SetSpaceAfter(int v)
{
    if (Version() < 2) return;
    SendPara(this, Version(), PFM_SPACEAFTER,
             [v](TParaFormatRecord& p) { p.dySpaceAfter = v * TwipsPerPoint; });
}

int TQvParaAttributes::LineSpacing()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.dyLineSpacing / TwipsPerPoint;
}

void TQvParaAttributes::SetLineSpacing(int v)
{
    if (Version() < 2) return;
    TParaFormatRecord p;
    GetAttributes(p);
    p.dwMask = PFM_LINESPACING;
    p.dyLineSpacing = v * TwipsPerPoint;
    SetAttributes(p);
}

TLineSpacingRule TQvParaAttributes::LineSpacingRule()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return static_cast<TLineSpacingRule>(p.bLineSpacingRule <= lsMultiple ? p.bLineSpacingRule : 0);
}

void TQvParaAttributes::SetLineSpacingRule(TLineSpacingRule v)
{
    if (Version() < 2) return;
    TParaFormatRecord p;
    GetAttributes(p);
    p.dwMask = PFM_LINESPACING;
    p.bLineSpacingRule = static_cast<BYTE>(v);
    SetAttributes(p);
}

THeadingStyle TQvParaAttributes::HeadingStyle()
{
    if (Version() != 3) return 0;
    TParaFormatRecord p;
    GetAttributes(p);
    return p.sStyle;
}

void TQvParaAttributes::SetHeadingStyle(THeadingStyle v)
{
    if (Version() != 3) return;
    SendPara(this, Version(), PFM_STYLE,
             [v](TParaFormatRecord& p) { p.sStyle = static_cast<SHORT>(v); });
}

int TQvParaAttributes::Tab(int Index)
{
    if (Index < 0 || Index >= MaxTabStops) throw EListError(RichEditText::TabIndex, Index);
    TParaFormatRecord p;
    GetAttributes(p);
    return p.rgxTabs[Index] / TwipsPerPoint;
}

void TQvParaAttributes::SetTab(int Index, int v)
{
    TParaFormatRecord p;
    GetAttributes(p);
    SetTabStop(p, Index, v);
    SetAttributes(p);
}

int TQvParaAttributes::TabCount()
{
    TParaFormatRecord p;
    GetAttributes(p);
    return p.cTabCount;
}

void TQvParaAttributes::SetTabCount(int v)
{
    TParaFormatRecord p;
    GetAttributes(p);
    p.dwMask = PFM_TABSTOPS;
    p.cTabCount = static_cast<SHORT>(v);
    SetAttributes(p);
}

TParaTableStyle TQvParaAttributes::TableStyle()
{
    if (Version() < 2) return tsNone;
    TParaFormatRecord p;
    GetAttributes(p);
    switch (p.wEffects & 0xC000) {
    case 0xC000: return tsTableRow;
    case 0x8000: return tsTableCellEnd;
    case 0x4000: return tsTableCell;
    default: return tsNone;
    }
}

void TQvParaAttributes::SetTableStyle(TParaTableStyle v)
{
    if (Version() < 2) return;
    static constexpr WORD Effects[] = {0, 0xC000, 0x8000, 0x4000};
    SendPara(this, Version(), RichMask::ParaTable,
             [v](TParaFormatRecord& p) { p.wEffects = Effects[v]; });
}

void TQvParaAttributes::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TQvParaAttributes*>(Source)) {
        TParaFormatRecord p;
        other->GetAttributes(p);
        SetAttributes(p);
    } else {
        TPersistent::Assign(Source);
    }
}
