// The indicator lamps and their shared bitmap.
#include "controls/LED.h"

namespace {

constexpr int CellWidth = 12, CellHeight = 13;
constexpr int DisabledRow = 3;
// The caption's distance from the lamp: the lamp's size and 3 pixels.
constexpr int CaptionGapX = CellWidth + 3, CaptionGapY = CellHeight + 3;
constexpr size_t CaptionBufferChars = 255;

TLEDBitmap* ledBitmap = nullptr;

TColor ParentBrushColor(TControl* control)
{
    return control->Parent() ? control->Parent()->Color() : control->Color();
}

}  // namespace

TLEDBitmap::TLEDBitmap()
{
    Bitmap.LoadFromResourceName(nullptr, "LED_PICS");
    TransparentColor = Bitmap.TransparentColor();
}

const TLEDBitmap* SharedLEDBitmap() { return ledBitmap; }

// ---- TLED --------------------------------------------------------------------------------
TLED::TLED(TComponent* AOwner) : TGraphicControl(AOwner)
{
    if (!ledBitmap) ledBitmap = new TLEDBitmap;
    ledBitmap->Lamps.Add(this);
    ControlStyle << csOpaque << csDoubleClicks << csFixedWidth << csFixedHeight;
    SetBounds(Left(), Top(), CellWidth, CellHeight);
}

TLED::~TLED()
{
    ledBitmap->Lamps.Remove(this);
    if (ledBitmap->Lamps.Count() == 0) {
        delete ledBitmap;
        ledBitmap = nullptr;
    }
}

void TLED::SetState(bool Value)
{
    if (Value == lit_) return;
    lit_ = Value;
    StateChanged();
}

void TLED::SetColor(TLEDColor Value)
{
    if (Value == color_) return;
    color_ = Value;
    StateChanged();
}

void TLED::ChangeState()
{
    lit_ = !lit_;
    StateChanged();
}

void TLED::ChangeColor()
{
    color_ = color_ == lcRed ? lcGreen : color_ == lcGreen ? lcYellow : lcRed;
    StateChanged();
}

void TLED::StateChanged()
{
    if (ComponentState().Contains(csDesigning)) {
        Invalidate();
        return;
    }
    // Drawn at once rather than on the next paint message. A lamp not on a window yet, or
    // hidden, has nowhere to draw: it shows its state when it is next painted.
    if (Visible() && Parent() && Parent()->HandleAllocated()) PaintLED();
    if (OnChangeState) OnChangeState(this);
}

TRect TLED::CellRect() const
{
    const int column = Enabled() ? (lit_ ? 1 : 0) : 0;
    const int row = Enabled() ? static_cast<int>(color_) : DisabledRow;
    return Rect(column * CellWidth, row * CellHeight, (column + 1) * CellWidth,
                (row + 1) * CellHeight);
}

void TLED::DrawCell(const TRect& Dest)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(ParentBrushColor(this));
    canvas->Brush()->SetStyle(bsSolid);
    canvas->BrushCopy(Dest, &ledBitmap->Bitmap, CellRect(), ledBitmap->TransparentColor);
}

void TLED::Paint() { PaintLED(); }

void TLED::PaintLED() { DrawCell(ClientRect()); }

void TLED::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
        if (OnChangeState) OnChangeState(this);
        break;
    case CM_PARENTCOLORCHANGED: Canvas()->Brush()->SetColor(ParentBrushColor(this)); break;
    case WM_WINDOWPOSCHANGED:
        // A plain lamp is always one cell in size, whatever bounds it is given.
        TGraphicControl::Dispatch(m);
        if (Height() != CellHeight) SetHeight(CellHeight);
        if (Width() != CellWidth) SetWidth(CellWidth);
        return;
    default: break;
    }
    TGraphicControl::Dispatch(m);
}

// ---- TLEDLabel ---------------------------------------------------------------------------
TLEDLabel::TLEDLabel(TComponent* AOwner) : TLED(AOwner)
{
    SetBounds(Left(), Top(), 97, 17);
    ComputeRects();
}

void TLEDLabel::SetAlignment(TCaptionAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
    WINDOWPOS wp{};
    wp.x = Left();
    wp.y = Top();
    wp.cx = Width();
    wp.cy = Height();
    Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

void TLEDLabel::SetTransparent(bool Value)
{
    if (Value == Transparent()) return;
    if (Value)
        ControlStyle >> csOpaque;
    else
        ControlStyle << csOpaque;
    Invalidate();
}

void TLEDLabel::ComputeRects()
{
    // "/" truncates toward zero, so a label lower than the lamp gets a negative lamp top.
    const int w = Width(), h = Height();
    switch (alignment_) {
    case caLeft:
        lampRect_ = Rect(w - CellWidth, (h - CellHeight) / 2, w, (h - CellHeight) / 2 + CellHeight);
        captionRect_ = Rect(0, 0, w - CaptionGapX, h);
        break;
    case caRight:
        lampRect_ = Rect(0, (h - CellHeight) / 2, CellWidth, (h - CellHeight) / 2 + CellHeight);
        captionRect_ = Rect(CaptionGapX, 0, w, h);
        break;
    case caTop:
        lampRect_ = Rect((w - CellWidth) / 2, h - CellHeight, (w - CellWidth) / 2 + CellWidth, h);
        captionRect_ = Rect(0, 0, w, h - CaptionGapY);
        break;
    case caBottom:
        lampRect_ = Rect((w - CellWidth) / 2, 0, (w - CellWidth) / 2 + CellWidth, CellHeight);
        captionRect_ = Rect(0, CaptionGapY, w, h);
        break;
    }
}

void TLEDLabel::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(ParentBrushColor(this));
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    PaintLED();
    PaintCaption();
}

void TLEDLabel::PaintLED() { DrawCell(lampRect_); }

void TLEDLabel::PaintCaption()
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    // The caption goes through a 256-character buffer: a longer one shows its first 255.
    const String text = Caption().substr(0, CaptionBufferChars);
    UINT flags = DT_SINGLELINE;
    switch (alignment_) {
    case caTop: flags |= DT_CENTER | DT_BOTTOM; break;
    case caBottom: flags |= DT_CENTER; break;
    case caLeft:
    case caRight: flags |= DT_VCENTER; break;
    }
    if (!Enabled()) {
        const TRect r = captionRect_;
        canvas->Font()->SetColor(clBtnHighlight);
        canvas->DrawText(text, Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1), flags);
        canvas->Font()->SetColor(clBtnShadow);
        canvas->Brush()->SetStyle(bsClear);
    }
    canvas->DrawText(text, captionRect_, flags);
}

void TLEDLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED: Invalidate(); break;
    case WM_WINDOWPOSCHANGED:
        // Replaces the lamp's own handling: a labelled lamp keeps any size.
        ComputeRects();
        TGraphicControl::Dispatch(m);
        return;
    default: break;
    }
    TLED::Dispatch(m);
}
