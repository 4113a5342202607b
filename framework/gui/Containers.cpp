// Panels, group boxes, scroll boxes, bevels, splitters, paint boxes and page controls.
#include "framework/gui/Containers.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/gui/CommonControls.h"
#include "framework/win/Ownership.h"

namespace {

void Bevel(HDC dc, TRect& r, TPanelBevel kind, int width)
{
    if (kind == bvNone) return;
    for (int i = 0; i < width; ++i) {
        if (kind == bvSpace) {
            r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
            continue;
        }
        DrawEdge(dc, r.Win(), kind == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                 BF_RECT | BF_ADJUST);
    }
}

}  // namespace

// ---- TPanel ------------------------------------------------------------------------------
TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

TRect TPanel::AlignRect()
{
    TRect r = ClientRect();
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    return Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
}

void TPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    HDC dc = c->Handle();
    Bevel(dc, r, bevelOuter_, bevelWidth_);
    r = Rect(r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_,
             r.Bottom - borderWidth_);
    Bevel(dc, r, bevelInner_, bevelWidth_);
    const String caption = Caption();
    if (caption.empty()) return;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    UINT flags = DT_SINGLELINE | DT_VCENTER |
                 (Alignment == taCenter         ? DT_CENTER
                  : Alignment == taRightJustify ? DT_RIGHT
                                                : DT_LEFT);
    c->DrawText(caption, r, flags);
}

void TPanel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED: Invalidate(); return;
    case WM_SIZE:
        // The bevel runs along the edges and the caption is placed by the size, but a resize
        // repaints only the strip it uncovers: the old edge stayed drawn inside the panel.
        TCustomControl::Dispatch(m);
        if (bevelOuter_ != bvNone || bevelInner_ != bvNone || !Caption().empty()) Invalidate();
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

// ---- TGroupBox ---------------------------------------------------------------------------
TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 105); }

TRect TGroupBox::AlignRect()
{
    TRect r = ClientRect();
    return Rect(r.Left + 2, r.Top + 15, r.Right - 2, r.Bottom - 2);
}

void TGroupBox::Paint()
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    const int h = c->TextHeight("0");
    TRect frame = ClientRect();
    frame.Top += h / 2;
    DrawEdge(c->Handle(), frame.Win(), EDGE_ETCHED, BF_RECT);
    const String caption = Caption();
    if (caption.empty()) return;
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->TextOut(8, 0, caption);
}

void TGroupBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::Dispatch(m);
}

// ---- TScrollBox --------------------------------------------------------------------------
TScrollBox::TScrollBox(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(m.WParam)); return;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(m.WParam)); return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}

void TScrollBox::AlignControls(TRect& r)
{
    TCustomControl::AlignControls(r);
    UpdateScrollBars();
}

void TScrollBox::ControlChanged(TControl* Child)
{
    TCustomControl::ControlChanged(Child);
    UpdateScrollBars();
}

void TScrollBox::DescendantFocused(TWinControl* Control)
{
    if (!HandleAllocated()) return;
    const TPoint at = ScreenToClient(Control->ClientToScreen(TPoint{0, 0}));
    const TRect client = ClientRect();
    int horz = pos_[0], vert = pos_[1];
    // Its far edge first, then its near one, so a control wider than the view shows its start.
    if (at.x + Control->Width() > client.Width()) horz += at.x + Control->Width() - client.Width();
    if (at.y + Control->Height() > client.Height())
        vert += at.y + Control->Height() - client.Height();
    horz = std::min(horz, pos_[0] + at.x);
    vert = std::min(vert, pos_[1] + at.y);
    ScrollTo(horz, vert);
}

int TScrollBox::Extent(int Bar)
{
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        extent = std::max(extent, Bar == SB_HORZ ? c->Left() + c->Width() + pos_[0]
                                                 : c->Top() + c->Height() + pos_[1]);
    }
    return extent;
}

void TScrollBox::UpdateScrollBars()
{
    if (!HandleAllocated() || updating_) return;
    TScopedFlag updating(updating_);
    // A bar that appears narrows the other side's page: twice settles both.
    for (int round = 0; round < 2; ++round) {
        const TRect client = ClientRect();
        const int page[2] = {client.Width(), client.Height()};
        const int extent[2] = {Extent(SB_HORZ), Extent(SB_VERT)};
        ScrollTo(std::min(pos_[0], std::max(extent[0] - page[0], 0)),
                 std::min(pos_[1], std::max(extent[1] - page[1], 0)));
        for (int bar : {SB_HORZ, SB_VERT}) {
            SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
            const bool needed = extent[bar] > page[bar];
            si.nMax = needed ? extent[bar] - 1 : 0;
            si.nPage = needed ? static_cast<UINT>(page[bar]) : 0;
            si.nPos = pos_[bar];
            SetScrollInfo(Handle(), bar, &si, TRUE);
            ShowScrollBar(Handle(), bar, needed);
        }
    }
}

void TScrollBox::ScrollTo(int Horz, int Vert)
{
    const int dx = pos_[0] - std::max(Horz, 0), dy = pos_[1] - std::max(Vert, 0);
    if (dx == 0 && dy == 0) return;
    pos_[0] -= dx;
    pos_[1] -= dy;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() == alNone)
            c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    if (!HandleAllocated()) return;
    SetScrollPos(Handle(), SB_HORZ, pos_[0], TRUE);
    SetScrollPos(Handle(), SB_VERT, pos_[1], TRUE);
    Invalidate();
}

void TScrollBox::Scroll(int Bar, WORD Request)
{
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(Handle(), Bar, &si)) return;
    const int line = 8, page = std::max(static_cast<int>(si.nPage), line);
    int pos = pos_[Bar];
    switch (Request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    pos = std::clamp(pos, 0, std::max(si.nMax - static_cast<int>(si.nPage) + 1, 0));
    if (Bar == SB_HORZ)
        ScrollTo(pos, pos_[1]);
    else
        ScrollTo(pos_[0], pos);
}

// ---- TBevel ------------------------------------------------------------------------------
TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle >> csClickEvents;
    SetBounds(0, 0, 50, 50);
}

void TBevel::Paint()
{
    TRect r = ClientRect();
    HDC dc = Canvas()->Handle();
    const UINT edge = Style == bsLowered ? EDGE_SUNKEN : EDGE_RAISED;
    const UINT thin = Style == bsLowered ? EDGE_ETCHED : EDGE_BUMP;
    switch (Shape) {
    case bsBox: DrawEdge(dc, r.Win(), edge & (BDR_SUNKENOUTER | BDR_RAISEDOUTER), BF_RECT); break;
    case bsFrame: DrawEdge(dc, r.Win(), thin, BF_RECT); break;
    case bsTopLine: DrawEdge(dc, r.Win(), thin, BF_TOP); break;
    case bsBottomLine: DrawEdge(dc, r.Win(), thin, BF_BOTTOM); break;
    case bsLeftLine: DrawEdge(dc, r.Win(), thin, BF_LEFT); break;
    case bsRightLine: DrawEdge(dc, r.Win(), thin, BF_RIGHT); break;
    case bsSpacer: break;
    }
}

// ---- TSplitter ---------------------------------------------------------------------------
TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle >> csClickEvents;
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
}

TControl* TSplitter::ResizedControl()
{
    TWinControl* p = Parent();
    if (!p) return nullptr;
    // The nearest visible control with our alignment that ends where we begin.
    TControl* found = nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
        case alLeft: touches = c->Left() + c->Width() == Left(); break;
        case alRight: touches = c->Left() == Left() + Width(); break;
        case alTop: touches = c->Top() + c->Height() == Top(); break;
        case alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches) found = c;
    }
    return found;
}

int TSplitter::ScreenPos(int X, int Y)
{
    // Positions in the parent's coordinates, which stay put while we move.
    return Align() == alLeft || Align() == alRight ? Left() + X : Top() + Y;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    dragging_ = ResizedControl();
    if (!dragging_) return;
    startPos_ = ScreenPos(X, Y);
    startSize_ = Align() == alLeft || Align() == alRight ? dragging_->Width() : dragging_->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    int delta = ScreenPos(X, Y) - startPos_;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = std::max(startSize_ + delta, MinSize);
    if (Align() == alLeft || Align() == alRight)
        dragging_->SetWidth(size);
    else
        dragging_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !dragging_) return;
    dragging_ = nullptr;
    if (OnMoved) OnMoved(this);
}

void TSplitter::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(ClientRect());
}

// ---- TPaintBox ---------------------------------------------------------------------------
TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 105, 105); }

void TPaintBox::Paint()
{
    if (OnPaint) OnPaint(this);
}

// ---- TTabSheet, TPageControl -------------------------------------------------------------
TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* v)
{
    if (pageControl_ == v) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = v;
    SetParent(v);
    if (v) v->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->UpdateTabs();
    TCustomControl::Dispatch(m);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    TabStop = true;
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    auto pages = pages_;
    for (TTabSheet* p : pages) p->pageControl_ = nullptr;
    pages_.clear();
}

void TPageControl::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = WC_TABCONTROLA;
}

void TPageControl::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateTabs();
}

void TPageControl::UpdateTabs()
{
    if (!HandleAllocated()) return;
    HWND h = Handle();
    SendMessageA(h, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < pages_.size(); ++i) {
        String caption = pages_[i]->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageA(h, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    Realign();
}

void TPageControl::InsertPage(TTabSheet* page)
{
    pages_.push_back(page);
    if (!active_) SetActivePage(page);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    if (active_ == page) {
        active_ = nullptr;
        if (!pages_.empty()) SetActivePage(pages_.front());
    }
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v)
{
    SetActivePage(v >= 0 && v < PageCount() ? pages_[static_cast<size_t>(v)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* v)
{
    if (v && v->pageControl_ != this) return;
    active_ = v;
    for (TTabSheet* p : pages_) p->SetVisible(p == v);
    if (HandleAllocated())
        SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
}

TRect TPageControl::AlignRect()
{
    TRect r = ClientRect();
    if (HandleAllocated())
        SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(r.Win()));
    return r;
}

void TPageControl::AlignControls(TRect& r)
{
    for (TTabSheet* p : pages_) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    TWinControl::AlignControls(r);
}

void TPageControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
            SetActivePageIndex(static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)));
            if (OnChange) OnChange(this);
        }
        return;
    default: break;
    }
    TWinControl::Dispatch(m);
}
