// The control base: TControl's properties, bounds, parent and children, and the alignment of a
// window's children. Creation, dispatch, painting and input have files of their own
// (ControlWindow, ControlDispatch, ControlPaint, ControlInput).
#include "framework/gui/Control.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/gui/Action.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"

// ---- TControl ----------------------------------------------------------------------------
TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    font_.OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl()
{
    if (action_) SetAction(nullptr);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (parent_ == AParent) return;
    if (AParent == this) throw EInvalidOperation(String(GuiText::OwnParent));
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
    if (AParent && parentBiDiMode_) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::SetBounds(int l, int t, int w, int h)
{
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    const TRect old = BoundsRect();
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    if (parent_ && parent_->HandleAllocated() && visible_) {
        InvalidateRect(parent_->Handle(), old.Win(), TRUE);
        Invalidate();
    }
    // A graphic control hears of its new place as a window would (the lamps size themselves
    // on this message).
    WINDOWPOS wp{};
    wp.x = left_;
    wp.y = top_;
    wp.cx = width_;
    wp.cy = height_;
    Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    Resize();
    if (align_ != alNone && parent_ && !parent_->aligning_) parent_->Realign();
}

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

TPoint TControl::ClientToScreen(TPoint p)
{
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        POINT pt{p.x, p.y};
        ::ClientToScreen(w->Handle(), &pt);
        return Point(pt.x, pt.y);
    }
    if (!parent_) return p;
    return parent_->ClientToScreen(Point(p.x + left_, p.y + top_));
}

TPoint TControl::ScreenToClient(TPoint p)
{
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        POINT pt{p.x, p.y};
        ::ScreenToClient(w->Handle(), &pt);
        return Point(pt.x, pt.y);
    }
    if (!parent_) return p;
    TPoint q = parent_->ScreenToClient(p);
    return Point(q.x - left_, q.y - top_);
}

void TControl::SetAlign(TAlign v)
{
    if (align_ == v) return;
    align_ = v;
    if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool v)
{
    if (visible_ == v) return;
    if (parent_ && parent_->HandleAllocated())
        InvalidateRect(parent_->Handle(), BoundsRect().Win(), TRUE);
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
    if (parent_) parent_->ControlChanged(this);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool v)
{
    if (enabled_ == v) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor v)
{
    parentColor_ = false;
    if (color_ == v) return;
    color_ = v;
    Perform(CM_COLORCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->controls_) c->Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentColor(bool v)
{
    parentColor_ = v;
    if (v) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool v)
{
    parentFont_ = v;
    if (v) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode v)
{
    // A mode set by hand ends the following of the parent's (one taken from it sets it again).
    parentBiDiMode_ = false;
    if (biDiMode_ == v) return;
    biDiMode_ = v;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool v)
{
    if (parentBiDiMode_ == v) return;
    parentBiDiMode_ = v;
    if (v) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::FontChanged(TObject*)
{
    // A change made by hand ends the inheritance (one taken from the parent sets it again).
    parentFont_ = false;
    Perform(CM_FONTCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->controls_) c->Perform(CM_PARENTFONTCHANGED);
}

String TControl::GetText() { return text_; }

void TControl::SetTextValue(const String& v) { text_ = v; }

void TControl::SetText(const String& v)
{
    if (GetText() == v) return;
    SetTextValue(v);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* v)
{
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = v;
    if (v) FreeNotification(v);
}

void TControl::SetAction(TBasicAction* v)
{
    if (TBasicAction::Relink(this, action_, v) && v) ActionChanged();
}

void TControl::ActionChanged()
{
    auto* a = dynamic_cast<TAction*>(action_);
    if (!a) return;
    SetCaption(a->Caption());
    SetEnabled(a->Enabled());
    SetVisible(a->Visible());
    Hint = a->Hint;
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == popupMenu_) popupMenu_ = nullptr;
    if (AComponent == action_) action_ = nullptr;
}

void TControl::BringToFront()
{
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::find(list.begin(), list.end(), this));
        list.push_back(this);
        Invalidate();
    }
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TForm* GetParentForm(TControl* Control)
{
    while (Control && Control->Parent()) Control = Control->Parent();
    return dynamic_cast<TForm*>(Control);
}

// ---- TWinControl: children, bounds, alignment --------------------------------------------
void TWinControl::InsertControl(TControl* c)
{
    controls_.push_back(c);
    c->parent_ = this;
    if (c->parentFont_) {
        c->font_.Assign(&font_);
        c->parentFont_ = true;
    }
    if (c->parentColor_) c->color_ = color_;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (handle_ && w->visible_) w->CreateHandle();
    } else {
        c->Invalidate();
    }
    ControlChanged(c);
}

void TWinControl::RemoveControl(TControl* c)
{
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    if (mouseControl_ == c) mouseControl_ = nullptr;
    if (hoverControl_ == c) hoverControl_ = nullptr;
    if (handle_ && c->visible_) InvalidateRect(handle_, c->BoundsRect().Win(), TRUE);
    if (auto* w = dynamic_cast<TWinControl*>(c);
        w && w->handle_ && !ComponentState().Contains(csDestroying))
        w->DestroyWnd();
    controls_.erase(it);
    c->parent_ = nullptr;
    if (auto* f = dynamic_cast<TForm*>(this); f && f->activeControl_ == c)
        f->activeControl_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) ControlChanged(c);
}

void TWinControl::ControlChanged(TControl* Child)
{
    if (Child->align_ != alNone) Realign();
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (Parent() == AParent) return;
    if (handle_ && Parent()) DestroyWnd();
    TControl::SetParent(AParent);
}

TRect TWinControl::ClientRect()
{
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    return TControl::ClientRect();
}

void TWinControl::SetBounds(int l, int t, int w, int h)
{
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    if (handle_) {
        // WM_WINDOWPOSCHANGED keeps the fields; WM_SIZE lays out the children and fires
        // OnResize.
        SetWindowPos(handle_, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        Realign();
        Resize();
    }
    if (Align() != alNone && Parent() && !Parent()->aligning_) Parent()->Realign();
}

void TWinControl::SetVisible(bool v)
{
    if (Visible() == v) return;
    TControl::SetVisible(v);
    if (handle_)
        ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
    else if (v && parent_ && parent_->handle_)
        CreateHandle();  // shown for the first time: its window is made now
}

void TWinControl::SetEnabled(bool v)
{
    if (Enabled() == v) return;
    if (handle_) EnableWindow(handle_, v);
    TControl::SetEnabled(v);
}

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign()
{
    if (aligning_ || alignDisabled_ > 0) return;
    TRect r = AlignRect();
    AlignControls(r);
}

void TWinControl::AlignControls(TRect& r)
{
    // Aligned controls take their places in the order they were put on this parent (the
    // order of the form data): each top one below the previous, and so on.
    TScopedFlag aligningNow(aligning_);
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (size_t i = 0; i < controls_.size(); ++i) {
            TControl* c = controls_[i];
            if (c->align_ != a || !c->visible_) continue;
            int w = std::max(r.Width(), 0), h = std::max(r.Height(), 0);
            switch (a) {
            case alTop:
                c->SetBounds(r.Left, r.Top, w, c->height_);
                r.Top += c->height_;
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->height_, w, c->height_);
                r.Bottom -= c->height_;
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->width_, h);
                r.Left += c->width_;
                break;
            case alRight:
                c->SetBounds(r.Right - c->width_, r.Top, c->width_, h);
                r.Right -= c->width_;
                break;
            case alClient: c->SetBounds(r.Left, r.Top, w, h); break;
            default: break;
            }
        }
    }
}
