// Painting: invalidating and updating, our windows' paint, print and erase handlers, the
// graphic children painted on their parent, the colours of standard controls, control canvases.
#include "framework/gui/Control.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>

#include "framework/Exceptions.h"

namespace {

std::vector<TControlCanvas*>& CanvasesWithDC()
{
    static auto* list = new std::vector<TControlCanvas*>;  // never freed: used at exit
    return *list;
}

}  // namespace

void TControl::Invalidate()
{
    if (parent_ && parent_->HandleAllocated() && Showing())
        InvalidateRect(parent_->Handle(), BoundsRect().Win(), !ControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

// ---- TWinControl -------------------------------------------------------------------------
void TWinControl::Invalidate()
{
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::WMPaint(TMessage& m)
{
    if (!HasOwnClass()) {
        // A platform class paints itself; our graphic children go on top.
        DefaultHandler(m);
        if (std::any_of(controls_.begin(), controls_.end(),
                        [](TControl* c) { return dynamic_cast<TGraphicControl*>(c) != nullptr; })) {
            TWindowDC dc(handle_);
            PaintControls(dc.Get());
        }
        return;
    }
    if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
        // A DC that comes with the message belongs to the sender: no BeginPaint.
        PaintWindow(given);
        PaintControls(given);
    } else {
        TPaintDC dc(handle_);
        PaintWindow(dc.Get());
        PaintControls(dc.Get());
    }
    m.Result = 0;
}

bool TWinControl::WMPrintClient(TMessage& m)
{
    if (!HasOwnClass()) return false;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (m.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, m.WParam);
    PaintWindow(dc);
    PaintControls(dc);
    return true;
}

bool TWinControl::WMEraseBkgnd(TMessage& m)
{
    if (!HasOwnClass()) return false;
    RECT r;
    GetClientRect(handle_, &r);
    TOwnedGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
    m.Result = 1;
    return true;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc)
{
    for (size_t i = 0; i < controls_.size(); ++i) {
        auto* g = dynamic_cast<TGraphicControl*>(controls_[i]);
        if (!g || !g->Visible()) continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, g->left_, g->top_, g->left_ + g->width_, g->top_ + g->height_);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + g->left_, org.y + g->top_, nullptr);
        g->PaintOn(dc);
        RestoreDC(dc, saved);
    }
}

LRESULT TWinControl::CtlColor(HDC dc)
{
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    if (!ctlBrush_ || ctlBrushColor_ != Color()) {
        ctlBrush_.Reset(CreateSolidBrush(ColorToRGB(Color())));
        ctlBrushColor_ = Color();
    }
    return reinterpret_cast<LRESULT>(ctlBrush_.Get());
}

// ---- TControlCanvas ----------------------------------------------------------------------
TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle()
{
    TWinControl* parent = control_->Parent();
    if (!parent) throw EInvalidOperation(GuiText::NoParentWindow, control_->Name);
    window_ = parent->Handle();
    HDC dc = GetDC(window_);
    SetViewportOrgEx(dc, control_->Left(), control_->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    SetHandle(dc);
    CanvasesWithDC().push_back(this);
}

void TControlCanvas::FreeHandle()
{
    if (painting_ || !HandleAllocated()) return;
    HDC dc = Handle();
    SetHandle(nullptr);
    ReleaseDC(window_, dc);
    window_ = nullptr;
    auto& list = CanvasesWithDC();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeAllHandles()
{
    auto list = CanvasesWithDC();
    for (TControlCanvas* c : list) c->FreeHandle();
}

void TControlCanvas::BeginPaint(HDC dc)
{
    FreeHandle();
    painting_ = true;
    SetHandle(dc);
}

void TControlCanvas::EndPaint()
{
    SetHandle(nullptr);
    painting_ = false;
}

// ---- TGraphicControl, TCustomControl -----------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(this)
{
    ControlStyle << csClickEvents << csCaptureMouse;
}

TGraphicControl::~TGraphicControl() { canvas_.FreeHandle(); }

void TGraphicControl::PaintOn(HDC dc)
{
    canvas_.BeginPaint(dc);
    try {
        Paint();
    } catch (...) {
        canvas_.EndPaint();
        throw;
    }
    canvas_.EndPaint();
}

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_.SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

void TCustomControl::Paint() {}
