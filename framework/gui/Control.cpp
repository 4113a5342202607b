// The control base: window creation and subclassing, the one window procedure, message
// dispatch with reflection, alignment, keyboard and mouse routing, graphic controls.
#include "framework/gui/Control.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/gui/Action.h"
#include "framework/gui/Application.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"

namespace {

constexpr const char* ControlProp = "QvControl";
constexpr const char* GenericWindowClass = "QvWindow";

// The control whose window CreateWindowEx is making now: our class's first messages
// (WM_NCCREATE, WM_CREATE, the first WM_SIZE) arrive before CreateWindowEx returns.
thread_local TWinControl* creatingControl = nullptr;

}  // namespace

LRESULT CALLBACK InitWndProc(HWND h, UINT msg, WPARAM w, LPARAM l);

namespace {

void RegisterWindowClass(const char* name)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = InitWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

std::vector<TControlCanvas*>& CanvasesWithDC()
{
    static auto* list = new std::vector<TControlCanvas*>;  // never freed: used at exit
    return *list;
}

bool IsOwnClass(WNDPROC defProc) { return defProc == DefWindowProcA; }

}  // namespace

LRESULT CALLBACK StdWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    auto* control = static_cast<TWinControl*>(GetPropA(h, ControlProp));
    if (!control) return DefWindowProcA(h, msg, w, l);
    if (msg == CM_RELEASE) {
        // Posted by TForm::Release: the form's own handlers have all returned by now.
        if (auto* form = dynamic_cast<TForm*>(control)) {
            try {
                form->DoDestroy();
            } catch (...) {
                HandleCallbackException(form);
            }
            delete form;
        }
        return 0;
    }
    TMessage m{msg, w, l, 0};
    try {
        // A control on its way out hears nothing more (its window's last messages, focus
        // changes among them, must not reach handlers of a half-destroyed form).
        if (control->ComponentState().Contains(csDestroying))
            control->DefaultHandler(m);
        else
            control->Dispatch(m);
    } catch (...) {
        HandleCallbackException(control);
    }
    if (msg == WM_NCDESTROY && control->handle_ == h) control->DetachHandle();
    return m.Result;
}

// Our class's first window procedure: it ties the window to the control being created and
// hands over to StdWndProc for good.
LRESULT CALLBACK InitWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    TWinControl* c = creatingControl;
    if (!c) return DefWindowProcA(h, msg, w, l);
    creatingControl = nullptr;
    c->handle_ = h;
    c->defWndProc_ = DefWindowProcA;
    SetPropA(h, ControlProp, c);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
    return StdWndProc(h, msg, w, l);
}

// ---- keys --------------------------------------------------------------------------------
TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    TShortCut s = Key & 0xFF;
    if (Shift.Contains(ssShift)) s |= scShift;
    if (Shift.Contains(ssCtrl)) s |= scCtrl;
    if (Shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

String ShortCutToText(TShortCut ShortCut)
{
    if (!ShortCut) return "";
    String text;
    if (ShortCut & scShift) text += "Shift+";
    if (ShortCut & scCtrl) text += "Ctrl+";
    if (ShortCut & scAlt) text += "Alt+";
    WORD key = ShortCut & 0xFF;
    if (key >= VK_F1 && key <= VK_F24) return text + "F" + IntToStr(key - VK_F1 + 1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return text + char(key);
    switch (key) {
    case VK_INSERT: return text + "Ins";
    case VK_DELETE: return text + "Del";
    case VK_RETURN: return text + "Enter";
    case VK_ESCAPE: return text + "Esc";
    case VK_SPACE: return text + "Space";
    case VK_BACK: return text + "BkSp";
    case VK_TAB: return text + "Tab";
    case VK_HOME: return text + "Home";
    case VK_END: return text + "End";
    case VK_PRIOR: return text + "PgUp";
    case VK_NEXT: return text + "PgDn";
    case VK_UP: return text + "Up";
    case VK_DOWN: return text + "Down";
    case VK_LEFT: return text + "Left";
    case VK_RIGHT: return text + "Right";
    default: return text + "#" + IntToStr(key);
    }
}

TShiftState KeyboardShift()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s << ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s << ssAlt;
    return s;
}

TShiftState MouseShift(WPARAM keyFlags)
{
    TShiftState s;
    if (keyFlags & MK_SHIFT) s << ssShift;
    if (keyFlags & MK_CONTROL) s << ssCtrl;
    if (keyFlags & MK_LBUTTON) s << ssLeft;
    if (keyFlags & MK_RBUTTON) s << ssRight;
    if (keyFlags & MK_MBUTTON) s << ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s << ssAlt;
    return s;
}

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

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    Dispatch(m);
    return m.Result;
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_) {
            color_ = parent_->Color();
            Invalidate();
        }
        break;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) {
            font_.Assign(parent_->Font());
            parentFont_ = true;  // FontChanged cleared it: this change came from the parent
        }
        break;
    default: HandleMouse(m); break;
    }
}

bool TControl::HandleMouse(TMessage& m)
{
    const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
    TShiftState shift = MouseShift(m.WParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        mousePressed_ = true;
        MouseDown(mbLeft, shift, x, y);
        return true;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); return true;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); return true;
    case WM_LBUTTONDBLCLK:
        mousePressed_ = true;
        if (ControlStyle.Contains(csDoubleClicks) || OnDblClick) DblClick();
        MouseDown(mbLeft, shift << ssDouble, x, y);
        return true;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift << ssDouble, x, y); return true;
    case WM_LBUTTONUP: {
        const bool wasPressed = std::exchange(mousePressed_, false);
        MouseUp(mbLeft, shift, x, y);
        if (wasPressed && ControlStyle.Contains(csClickEvents) && x >= 0 && y >= 0 && x < width_ &&
            y < height_)
            Click();
        return true;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); return true;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); return true;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); return true;
    default: return false;
    }
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}
void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

void TControl::SetParent(TWinControl* AParent)
{
    if (parent_ == AParent) return;
    if (AParent == this) throw EInvalidOperation(String(GuiText::OwnParent));
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
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

// ---- TWinControl -------------------------------------------------------------------------
TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying();
    // A parent frees the controls on it, whoever owns them (they leave their owner's list).
    while (!controls_.empty()) delete controls_.back();
    if (handle_) {
        TControlCanvas::FreeAllHandles();
        HWND h = handle_;
        DestroyWindow(h);
        if (handle_) DetachHandle();
    }
    if (ctlBrush_) DeleteObject(ctlBrush_);
}

TWinControl* TWinControl::FromHandle(HWND Window)
{
    return Window ? static_cast<TWinControl*>(GetPropA(Window, ControlProp)) : nullptr;
}

HWND TWinControl::Handle()
{
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle()
{
    if (handle_) return;
    if (parent_ && !parent_->handle_) {
        parent_->CreateHandle();  // makes ours too
        if (handle_) return;
    }
    CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) p.Style |= WS_VISIBLE;
    if (!enabled_) p.Style |= WS_DISABLED;
    if (TabStop) p.Style |= WS_TABSTOP;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    if (parent_) p.WndParent = parent_->Handle();
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation(GuiText::NoParentWindow, Name);
    HWND h;
    if (p.WinClassName.empty()) {
        // Tab moves through the controls inside our own containers too (the platform's
        // classes must not get this: the tab order would skip them).
        p.ExStyle |= WS_EX_CONTROLPARENT;
        const char* cls = p.OwnClassName.empty() ? GenericWindowClass : p.OwnClassName.c_str();
        RegisterWindowClass(cls);
        creatingControl = this;
        defWndProc_ = DefWindowProcA;
        handle_ = nullptr;
        h = CreateWindowExA(p.ExStyle, cls, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                            p.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
        creatingControl = nullptr;
        if (h) handle_ = h;
    } else {
        h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                            p.Width, p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
        if (h) AttachHandle(h);
    }
    if (!h)
        throw EOutOfResources(GuiText::WindowCreate,
                              p.WinClassName.empty() ? GenericWindowClass : p.WinClassName);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    for (size_t i = 0; i < controls_.size(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(controls_[i])) w->CreateHandle();
    Realign();
}

void TWinControl::AttachHandle(HWND h)
{
    handle_ = h;
    SetPropA(h, ControlProp, this);
    defWndProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
}

void TWinControl::DetachHandle()
{
    HWND h = handle_;
    if (!h) return;
    RemovePropA(h, ControlProp);
    if (!IsOwnClass(defWndProc_) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == &StdWndProc)
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defWndProc_));
    handle_ = nullptr;
    mouseControl_ = hoverControl_ = nullptr;
}

void TWinControl::DestroyWnd()
{
    if (!handle_) return;
    text_ = GetText();
    TControlCanvas::FreeAllHandles();
    // The children's windows go with ours; keep their texts first.
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_) w->DestroyWnd();
    HWND h = handle_;
    DestroyWindow(h);
    if (handle_) DetachHandle();
}

void TWinControl::RecreateWnd()
{
    if (!handle_) return;
    DestroyWnd();
    CreateHandle();
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (handle_ && defWndProc_)
        m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

String TWinControl::GetText()
{
    if (!handle_) return text_;
    int n = GetWindowTextLengthA(handle_);
    String s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

void TWinControl::SetTextValue(const String& v)
{
    text_ = v;
    if (handle_) SetWindowTextA(handle_, v.c_str());
}

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
        if (handle_) w->CreateHandle();
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
    if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool v)
{
    if (Enabled() == v) return;
    if (handle_) EnableWindow(handle_, v);
    TControl::SetEnabled(v);
}

void TWinControl::Invalidate()
{
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus()
{
    for (TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return GetParentForm(this) != nullptr;
}

void TWinControl::SetFocus()
{
    if (auto* f = GetParentForm(this); f && f != this) f->activeControl_ = this;
    ::SetFocus(Handle());
}

void TWinControl::Realign()
{
    if (aligning_) return;
    TRect r = AlignRect();
    AlignControls(r);
}

void TWinControl::AlignControls(TRect& r)
{
    // Aligned controls take their places in the order they were put on this parent (the
    // order of the form data): each top one below the previous, and so on.
    aligning_ = true;
    struct Guard {
        bool& f;
        ~Guard() { f = false; }
    } guard{aligning_};
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

TControl* TWinControl::GraphicControlAt(int x, int y)
{
    for (size_t i = controls_.size(); i-- > 0;) {
        TControl* c = controls_[i];
        if (dynamic_cast<TWinControl*>(c) || !c->visible_) continue;
        if (x >= c->left_ && y >= c->top_ && x < c->left_ + c->width_ && y < c->top_ + c->height_)
            return c;
    }
    return nullptr;
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
        if (ctlBrush_) DeleteObject(ctlBrush_);
        ctlBrush_ = CreateSolidBrush(ColorToRGB(Color()));
        ctlBrushColor_ = Color();
    }
    return reinterpret_cast<LRESULT>(ctlBrush_);
}

bool TWinControl::DoKeyDown(WORD& Key, TShiftState Shift)
{
    TForm* form = GetParentForm(this);
    if (form && form->IsShortCut(Key, Shift)) return true;
    if (form && form != this && form->KeyPreview && form->OnKeyDown) {
        form->OnKeyDown(form, Key, Shift);
        if (Key == 0) return true;
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyUp(WORD& Key, TShiftState Shift)
{
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->OnKeyUp) {
        form->OnKeyUp(form, Key, Shift);
        if (Key == 0) return true;
    }
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyPress(char& Key)
{
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview && form->OnKeyPress) {
        form->OnKeyPress(form, Key);
        if (Key == 0) return true;
    }
    if (OnKeyPress) OnKeyPress(this, Key);
    return Key == 0;
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    // Notifications to the parent go back to the control they are about.
    case WM_COMMAND:
        if (m.LParam) {
            if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam))) {
                m.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
                return;
            }
        } else if (HIWORD(m.WParam) == 0 && TMenuItem::DispatchCommand(LOWORD(m.WParam))) {
            return;
        }
        break;
    case WM_NOTIFY:
        if (auto* hdr = reinterpret_cast<NMHDR*>(m.LParam)) {
            if (TWinControl* c = FromHandle(hdr->hwndFrom); c && c != this) {
                m.Result = c->Perform(CN_NOTIFY, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam) {
            if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam)); c && c != this) {
                m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam)); c && c != this) {
            m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN: m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam)); return;
    case CN_COMMAND:
    case CN_NOTIFY:
    case CN_HSCROLL:
    case CN_VSCROLL: return;  // a control that cares handles these in its own Dispatch
    case WM_INITMENUPOPUP: TMenuItem::DispatchPopup(reinterpret_cast<HMENU>(m.WParam)); break;

    case WM_WINDOWPOSCHANGED:
        if (auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam); wp && handle_) {
            if (!(wp->flags & SWP_NOMOVE)) {
                left_ = wp->x;
                top_ = wp->y;
            }
            if (!(wp->flags & SWP_NOSIZE)) {
                width_ = wp->cx;
                height_ = wp->cy;
            }
        }
        break;
    case WM_SIZE:
        DefaultHandler(m);
        Realign();
        Resize();
        return;

    case WM_PAINT:
        if (IsOwnClass(defWndProc_)) {
            PAINTSTRUCT ps;
            HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
            // The paint ends (and its DC goes back) even when a handler throws.
            try {
                PaintWindow(dc);
                PaintControls(dc);
            } catch (...) {
                if (!m.WParam) EndPaint(handle_, &ps);
                throw;
            }
            if (!m.WParam) EndPaint(handle_, &ps);
            m.Result = 0;
            return;
        }
        DefaultHandler(m);
        if (std::any_of(controls_.begin(), controls_.end(),
                        [](TControl* c) { return dynamic_cast<TGraphicControl*>(c) != nullptr; })) {
            HDC dc = GetDC(handle_);
            try {
                PaintControls(dc);
            } catch (...) {
                ReleaseDC(handle_, dc);
                throw;
            }
            ReleaseDC(handle_, dc);
        }
        return;
    case WM_PRINTCLIENT:
        if (IsOwnClass(defWndProc_)) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (m.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, m.WParam);
            PaintWindow(dc);
            PaintControls(dc);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (IsOwnClass(defWndProc_)) {
            RECT r;
            GetClientRect(handle_, &r);
            HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
            DeleteObject(b);
            m.Result = 1;
            return;
        }
        break;

    case WM_SETFOCUS:
        if (auto* f = GetParentForm(this); f && f != this) f->activeControl_ = this;
        DefaultHandler(m);
        if (OnEnter) OnEnter(this);
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        if (OnExit) OnExit(this);
        return;

    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(m.WParam);
        if (DoKeyDown(key, KeyboardShift())) {
            m.Result = 0;
            return;
        }
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        if (DoKeyUp(key, KeyboardShift())) return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        char key = static_cast<char>(m.WParam);
        if (DoKeyPress(key)) return;
        m.WParam = static_cast<unsigned char>(key);
        break;
    }

    case WM_CONTEXTMENU: {
        POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        TControl* target = this;
        if (m.LParam != -1) {
            POINT client = pt;
            ::ScreenToClient(handle_, &client);
            if (TControl* g = GraphicControlAt(client.x, client.y)) target = g;
        } else {
            GetCursorPos(&pt);
        }
        if (TPopupMenu* menu = target->PopupMenu()) {
            menu->PopupComponent = target;
            menu->Popup(pt.x, pt.y);
            return;
        }
        break;
    }

    case WM_CAPTURECHANGED:
        // Someone else took the mouse: the graphic child that had it gets no release.
        mouseControl_ = nullptr;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE: {
        // Mouse messages over a graphic child are that child's (it keeps the mouse from the
        // button press to the release).
        const int x = static_cast<short>(LOWORD(m.LParam)),
                  y = static_cast<short>(HIWORD(m.LParam));
        TControl* target = mouseControl_ ? mouseControl_ : GraphicControlAt(x, y);
        if (m.Msg == WM_MOUSEMOVE && target != hoverControl_) {
            if (hoverControl_) hoverControl_->Perform(CM_MOUSELEAVE);
            hoverControl_ = target;
            if (target) target->Perform(CM_MOUSEENTER);
        }
        if (target && target->Enabled()) {
            const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN ||
                              m.Msg == WM_MBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK ||
                              m.Msg == WM_RBUTTONDBLCLK;
            const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
            if (down) {
                mouseControl_ = target;
                SetCapture(handle_);
            }
            target->Perform(m.Msg, m.WParam, MAKELPARAM(x - target->left_, y - target->top_));
            if (up && mouseControl_ == target) {
                mouseControl_ = nullptr;
                if (GetCapture() == handle_) ReleaseCapture();
            }
            return;
        }
        if (target) return;  // a disabled graphic control swallows the mouse
        HandleMouse(m);
        break;
    }

    default:
        TControl::Dispatch(m);
        if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x800) {
            if (m.Msg == CM_FONTCHANGED && handle_)
                SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
            return;  // the framework's own messages never reach the window's procedure
        }
        break;
    }
    DefaultHandler(m);
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

void TGraphicControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
        // The canvas's origin and clip follow the control.
        canvas_.FreeHandle();
        break;
    default: break;
    }
    TControl::Dispatch(m);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle << csClickEvents << csAcceptsControls;
}

TCustomControl::~TCustomControl() = default;

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
