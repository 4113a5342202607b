// Status bar, progress bar, track bar, up-down, image list, tool bar and tool buttons.
#include "framework/gui/CommonControls.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/gui/Action.h"

void InitCommonControlsOnce()
{
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                                              ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

// ---- TStatusBar --------------------------------------------------------------------------
void TStatusPanel::SetText(const String& v)
{
    if (v == text_) return;
    text_ = v;
    if (bar_) bar_->UpdatePanelText(index_);
}

void TStatusPanel::SetWidth(int v)
{
    if (v == width_) return;
    width_ = v;
    if (bar_) bar_->UpdatePanels();
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar()
{
    for (TStatusPanel* p : panels_) delete p;
}

void TStatusBar::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = STATUSCLASSNAMEA;
    p.Style &= ~WS_CLIPCHILDREN;
    // Our layout places the bar; the control must not move itself to the parent's bottom.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
}

void TStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), SB_SIMPLE, simplePanel_, 0);
    if (simplePanel_)
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(simpleText_.c_str()));
    UpdatePanels();
}

TStatusPanel* TStatusBar::AddPanel()
{
    auto* p = new TStatusPanel;
    p->bar_ = this;
    p->index_ = PanelCount();
    panels_.push_back(p);
    UpdatePanels();
    return p;
}

void TStatusBar::UpdatePanels()
{
    if (!HandleAllocated() || simplePanel_) return;
    std::vector<int> edges;
    int x = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        x += panels_[i]->width_;
        // The last panel takes the rest of the bar.
        edges.push_back(i + 1 == panels_.size() ? -1 : x);
    }
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < PanelCount(); ++i) UpdatePanelText(i);
}

void TStatusBar::UpdatePanelText(int Index)
{
    if (!HandleAllocated() || simplePanel_) return;
    SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(panels_[static_cast<size_t>(Index)]->text_.c_str()));
}

void TStatusBar::SetSimplePanel(bool v)
{
    simplePanel_ = v;
    if (HandleAllocated()) {
        SendMessageA(Handle(), SB_SIMPLE, v, 0);
        if (v)
            SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID,
                         reinterpret_cast<LPARAM>(simpleText_.c_str()));
        else
            UpdatePanels();
    }
}

void TStatusBar::SetSimpleText(const String& v)
{
    simpleText_ = v;
    if (HandleAllocated() && simplePanel_)
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(v.c_str()));
}

void TStatusBar::Dispatch(TMessage& m) { TWinControl::Dispatch(m); }

// ---- TProgressBar ------------------------------------------------------------------------
TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = PROGRESS_CLASSA;
    p.Style &= ~WS_CLIPCHILDREN;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int Min, int Max)
{
    min_ = Min;
    max_ = Max;
    position_ = std::clamp(position_, min_, std::max(min_, max_));
    if (HandleAllocated()) {
        SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
        SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    }
}

void TProgressBar::SetPosition(int v)
{
    position_ = std::clamp(v, min_, std::max(min_, max_));
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// ---- TTrackBar ---------------------------------------------------------------------------
TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = TRACKBAR_CLASSA;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= TBS_AUTOTICKS | (Orientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    Apply();
}

void TTrackBar::Apply()
{
    position_ = std::clamp(position_, min_, std::max(min_, max_));
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(Frequency), 0);
    SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

int TTrackBar::Position()
{
    if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(int v)
{
    v = std::clamp(v, min_, std::max(min_, max_));
    if (v == Position()) return;
    position_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, v);
    if (OnChange) OnChange(this);
}

void TTrackBar::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: {
        const int before = position_;
        if (Position() != before && OnChange) OnChange(this);
        return;
    }
    default: break;
    }
    TWinControl::Dispatch(m);
}

// ---- TUpDown -----------------------------------------------------------------------------
TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 17, 25); }

void TUpDown::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = UPDOWN_CLASSA;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= (Orientation == udHorizontal ? UDS_HORZ : 0) | (Wrap ? UDS_WRAP : 0) |
               (ArrowKeys ? UDS_ARROWKEYS : 0);
}

void TUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(Min), Max);
    SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

// The position is what the associate shows when it holds a number: its text may have been typed
// or set by the program since the last step, and a step must start from what the user sees.
int TUpDown::Position()
{
    int shown;
    if (associate_ && TryStrToInt(Trim(associate_->Text()), shown)) {
        position_ = std::clamp(shown, std::min(Min, Max), std::max(Min, Max));
        if (HandleAllocated()) SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
    }
    return position_;
}

void TUpDown::SetPosition(int v)
{
    position_ = std::clamp(v, std::min(Min, Max), std::max(Min, Max));
    if (HandleAllocated()) SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
    if (associate_) associate_->SetText(IntToStr(position_));
}

void TUpDown::SetAssociate(TWinControl* v)
{
    if (associate_) RemoveFreeNotification(associate_);
    associate_ = v;
    if (v) {
        FreeNotification(v);
        v->SetText(IntToStr(position_));
    }
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == associate_) associate_ = nullptr;
}

void TUpDown::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(UDN_DELTAPOS)) {
            auto* ud = reinterpret_cast<NMUPDOWN*>(m.LParam);
            const TUDBtnType button = ud->iDelta > 0 ? btNext : btPrev;
            int next = Position() + (button == btNext ? Increment : -Increment);
            const int lo = std::min(Min, Max), hi = std::max(Min, Max);
            if (next > hi) next = Wrap ? lo : hi;
            if (next < lo) next = Wrap ? hi : lo;
            SetPosition(next);
            if (OnClick) OnClick(this, button);
            m.Result = 1;  // our position is the one that counts
        }
        return;
    case CN_VSCROLL:
    case CN_HSCROLL: return;
    default: break;
    }
    TWinControl::Dispatch(m);
}

// ---- TImageList --------------------------------------------------------------------------
TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList()
{
    if (handle_) ImageList_Destroy(handle_);
}

HIMAGELIST TImageList::Handle()
{
    if (!handle_) {
        InitCommonControlsOnce();
        handle_ = ImageList_Create(Width, Height, ILC_COLOR24 | ILC_MASK, 4, 4);
        if (!handle_) throw EOutOfResources(String(GuiText::ImageListCreate));
    }
    return handle_;
}

int TImageList::Count() { return ImageList_GetImageCount(Handle()); }

int TImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    HIMAGELIST h = Handle();
    // The image list keeps copies; our bitmaps stay ours (and must not be selected in a DC).
    HBITMAP image = static_cast<HBITMAP>(CopyImage(Image->Handle(), IMAGE_BITMAP, 0, 0, 0));
    HBITMAP mask =
        Mask ? static_cast<HBITMAP>(CopyImage(Mask->Handle(), IMAGE_BITMAP, 0, 0, 0)) : nullptr;
    int index = ImageList_Add(h, image, mask);
    DeleteObject(image);
    if (mask) DeleteObject(mask);
    return index;
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    HBITMAP image = static_cast<HBITMAP>(CopyImage(Image->Handle(), IMAGE_BITMAP, 0, 0, 0));
    int index = ImageList_AddMasked(Handle(), image, ColorToRGB(MaskColor));
    DeleteObject(image);
    return index;
}

bool TImageList::Overlay(int ImageIndex, int Overlay)
{
    if (!ImageList_SetOverlayImage(Handle(), ImageIndex, Overlay + 1)) return false;
    if (Overlay >= 0 && Overlay < 4) overlayImages_[Overlay] = ImageIndex;
    return true;
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    if (Index < 0 || Index >= Count()) return;
    ImageList_DrawEx(Handle(), Index, Canvas->Handle(), X, Y, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT | (Enabled ? 0 : ILD_BLEND50));
}

void TImageList::GetBitmap(int Index, TBitmap* Image)
{
    Image->SetSize(Width, Height);
    TCanvas* canvas = Image->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(0, 0, Width, Height));
    Draw(canvas, 0, 0, Index);
}

void TImageList::Clear()
{
    if (handle_) ImageList_Remove(handle_, -1);
}

// ---- TToolButton, TToolBar ---------------------------------------------------------------
TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 23, 22); }

void TToolButton::SetDown(bool v)
{
    if (v == down_) return;
    down_ = v;
    if (v && Grouped && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TToolButton*>(Parent()->Controls(i));
                b && b != this && b->Grouped && b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
    }
    Invalidate();
}

void TToolButton::Click()
{
    if (Style == tbsCheck) SetDown(Grouped ? true : !down_);
    TGraphicControl::Click();
}

void TToolButton::ActionChanged()
{
    TGraphicControl::ActionChanged();
    if (auto* a = dynamic_cast<TAction*>(Action())) {
        if (a->ImageIndex >= 0) imageIndex_ = a->ImageIndex;
        if (Style == tbsCheck) SetDown(a->Checked());
    }
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Style != tbsSeparator && Style != tbsDivider) {
        pressed_ = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        hot_ = true;
        Invalidate();
        return;
    case CM_MOUSELEAVE:
        hot_ = false;
        Invalidate();
        return;
    case WM_LBUTTONUP:
        // Separators are not buttons.
        if (Style == tbsSeparator || Style == tbsDivider) return;
        break;
    default: break;
    }
    TGraphicControl::Dispatch(m);
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    HDC dc = c->Handle();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (Style == tbsSeparator) return;
    if (Style == tbsDivider) {
        TRect line = Rect(r.Width() / 2 - 1, r.Top, r.Width() / 2 + 1, r.Bottom);
        DrawEdge(dc, line.Win(), EDGE_ETCHED, BF_LEFT);
        return;
    }
    auto* bar = dynamic_cast<TToolBar*>(Parent());
    if (pressed_ || down_)
        DrawEdge(dc, r.Win(), BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && Enabled())
        DrawEdge(dc, r.Win(), BDR_RAISEDINNER, BF_RECT);
    const int shift = pressed_ || down_ ? 1 : 0;
    if (bar && bar->Images() && imageIndex_ >= 0) {
        TImageList* images = bar->Images();
        images->Draw(c, (r.Width() - images->Width) / 2 + shift,
                     (r.Height() - images->Height) / 2 + shift, imageIndex_, Enabled());
    } else if (!Caption().empty()) {
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsClear);
        if (!Enabled()) c->Font()->SetColor(clGrayText);
        TRect tr = Rect(r.Left + shift, r.Top + shift, r.Right + shift, r.Bottom + shift);
        c->DrawText(Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::SetImages(TImageList* v)
{
    if (images_) RemoveFreeNotification(images_);
    images_ = v;
    if (v) FreeNotification(v);
    Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

void TToolBar::AlignControls(TRect& r)
{
    // Buttons (and any other control on the bar) in rows, in the order they were added.
    int x = r.Left + Indent, y = r.Top;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        auto* b = dynamic_cast<TToolButton*>(c);
        int w = b && b->Style != tbsSeparator && b->Style != tbsDivider ? ButtonWidth : c->Width();
        int h = b ? ButtonHeight : c->Height();
        if (x + w > r.Right && x > r.Left + Indent) {
            x = r.Left + Indent;
            y += ButtonHeight;
        }
        c->SetBounds(x, y, w, h);
        x += w;
    }
}
