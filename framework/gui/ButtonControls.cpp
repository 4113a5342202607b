// Push buttons, check boxes and speed buttons.
#include "framework/gui/ButtonControls.h"

// ---- TButton -----------------------------------------------------------------------------
TButton::TButton(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = "BUTTON";
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click()
{
    if (ModalResult != mrNone) {
        if (TForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
    }
    TWinControl::Click();
}

void TButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(m.WParam), Caption())) {
            Click();
            m.Result = 1;
        }
        return;
    default: break;
    }
    TWinControl::Dispatch(m);
}

// ---- TCheckBox ---------------------------------------------------------------------------
TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetParentColor(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = "BUTTON";
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= BS_AUTOCHECKBOX;
    if (Alignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked()
{
    if (HandleAllocated()) checked_ = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TCheckBox::SetChecked(bool v)
{
    if (Checked() == v) return;
    checked_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCheckBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) {
            checked_ = SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
            Click();
        }
        return;
    default: break;
    }
    TWinControl::Dispatch(m);
}

// ---- TSpeedButton ------------------------------------------------------------------------
TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    SetParentColor(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool v)
{
    if (GroupIndex == 0) v = false;  // only grouped buttons stay down
    if (v == down_) return;
    if (!v && !AllowAllUp) {
        // The last button of a group that may not be all up stays down.
        bool otherDown = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                    b && b != this && b->GroupIndex == GroupIndex && b->down_)
                    otherDown = true;
        if (!otherDown) return;
    }
    down_ = v;
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                b && b != this && b->GroupIndex == GroupIndex && b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
    }
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        pressed_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && pressed_) {
        pressed_ = false;
        const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
        if (inside) ToggleInGroup();
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

// A grouped button toggles before its click runs, so the handler sees the new state.
void TSpeedButton::ToggleInGroup()
{
    if (GroupIndex == 0) return;
    if (!down_)
        SetDown(true);
    else if (AllowAllUp)
        down_ = false;
}

void TSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        hot_ = true;
        if (Flat) Invalidate();
        return;
    case CM_MOUSELEAVE:
        hot_ = false;
        if (Flat) Invalidate();
        return;
    case CM_DIALOGCHAR:
        // Its letter presses it as a click does.
        if (IsAccel(static_cast<WORD>(m.WParam), Caption())) {
            ToggleInGroup();
            Invalidate();
            Click();
            m.Result = 1;
        }
        return;
    default: break;
    }
    TGraphicControl::Dispatch(m);
}

void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    HDC dc = c->Handle();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(down_ && !pressed_ ? cl3DLight : Color());
    c->FillRect(r);
    const bool sunken = pressed_ || down_;
    if (sunken)
        DrawEdge(dc, r.Win(), BDR_SUNKENOUTER, BF_RECT);
    else if (!Flat || hot_)
        DrawEdge(dc, r.Win(), BDR_RAISEDINNER, BF_RECT);
    const int shift = sunken ? 1 : 0;

    int gw = 0, gh = 0;
    if (!glyph_.Empty()) {
        gw = glyph_.Width() / std::max(NumGlyphs, 1);
        gh = glyph_.Height();
    }
    c->Font()->Assign(Font());
    // The caption is drawn as the system draws a button's: "&" underlines the letter after it
    // and "&&" stands for one ampersand.
    const String caption = Caption();
    constexpr UINT textFlags = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP;
    const TRect extent = caption.empty() ? TRect{} : c->DrawTextExtent(caption, textFlags);
    int tw = extent.Width();
    int th = extent.Height();
    int gap = gw && tw ? Spacing : 0;
    int gx, gy, tx, ty;
    if (Layout == blGlyphTop || Layout == blGlyphBottom) {
        int total = gh + gap + th;
        gx = (r.Width() - gw) / 2;
        tx = (r.Width() - tw) / 2;
        int top = (r.Height() - total) / 2;
        gy = Layout == blGlyphTop ? top : top + th + gap;
        ty = Layout == blGlyphTop ? top + gh + gap : top;
    } else {
        int total = gw + gap + tw;
        int left = (r.Width() - total) / 2;
        gy = (r.Height() - gh) / 2;
        ty = (r.Height() - th) / 2;
        gx = Layout == blGlyphLeft ? left : left + tw + gap;
        tx = Layout == blGlyphLeft ? left + gw + gap : left;
    }
    if (gw) {
        // Glyph cells: up, disabled, clicked, down; the bottom-left colour shows through.
        int cell = 0;
        if (!Enabled() && NumGlyphs > 1)
            cell = 1;
        else if (pressed_ && NumGlyphs > 2)
            cell = 2;
        else if (down_ && NumGlyphs > 3)
            cell = 3;
        c->Brush()->SetStyle(bsClear);
        c->BrushCopy(Bounds(gx + shift, gy + shift, gw, gh), &glyph_, Bounds(cell * gw, 0, gw, gh),
                     glyph_.TransparentColor());
    }
    if (tw) {
        c->Brush()->SetStyle(bsClear);
        if (!Enabled()) c->Font()->SetColor(clGrayText);
        c->DrawText(caption, Bounds(tx + shift, ty + shift, tw, th), textFlags);
    }
}
