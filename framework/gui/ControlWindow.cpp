// A control's window: our window class and its procedure, creating, subclassing and destroying
// the window, and the window's text.
#include "framework/gui/Control.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "framework/Exceptions.h"
#include "framework/gui/Application.h"
#include "framework/gui/Form.h"

namespace {

constexpr DWORD BiDiExStyles = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;
constexpr const char* GenericWindowClass = "QvWindow";

// The control whose window CreateWindowEx is making now: our class's first messages
// (WM_NCCREATE, WM_CREATE, the first WM_SIZE) arrive before CreateWindowEx returns.
thread_local TWinControl* creatingControl = nullptr;

// Which control each of our windows belongs to, looked up for every message. Kept here rather
// than as a window property: under Wine each property read is a round trip to the server,
// which made it the largest single cost of an ordinary message.
std::mutex windowsLock;
std::unordered_map<HWND, TWinControl*> windowControls;

void BindControl(HWND h, TWinControl* c)
{
    std::lock_guard<std::mutex> hold(windowsLock);
    windowControls[h] = c;
}

void UnbindControl(HWND h)
{
    std::lock_guard<std::mutex> hold(windowsLock);
    windowControls.erase(h);
}

TWinControl* BoundControl(HWND h)
{
    std::lock_guard<std::mutex> hold(windowsLock);
    const auto found = windowControls.find(h);
    return found == windowControls.end() ? nullptr : found->second;
}

// The window's extended styles for a reading direction.
DWORD BiDiExStyle(TBiDiMode Mode)
{
    switch (Mode) {
    case bdRightToLeft: return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;
    case bdRightToLeftNoAlign: return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    case bdRightToLeftReadingOnly: return WS_EX_RTLREADING;
    default: return 0;
    }
}

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

}  // namespace

LRESULT CALLBACK StdWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    TWinControl* control = BoundControl(h);
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
    if (msg == WM_NCDESTROY) {
        if (control->handle_ == h)
            control->DetachHandle();
        else
            UnbindControl(h);  // an older window of the control, whose entry would go stale
    }
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
    BindControl(h, c);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
    return StdWndProc(h, msg, w, l);
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
}

TWinControl* TWinControl::FromHandle(HWND Window)
{
    return Window ? BoundControl(Window) : nullptr;
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
    p.ExStyle |= BiDiExStyle(BiDiMode());
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
    CreateWindowHandle(p);
    if (!handle_)
        throw EOutOfResources(GuiText::WindowCreate,
                              p.WinClassName.empty() ? GenericWindowClass : p.WinClassName);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    if (parent_) TakeSiblingOrder();
    // A hidden child's window is made when the child is shown or its handle is needed: the
    // program's hidden panels and stores cost it a third of its windows' making at start-up.
    for (size_t i = 0; i < controls_.size(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(controls_[i]); w && w->visible_) w->CreateHandle();
    Realign();
}

// Siblings stack in the order their windows were made (a new one goes below the others), and
// the tab order follows the stack: a window made late takes the place its control has among
// the parent's controls.
void TWinControl::TakeSiblingOrder()
{
    const std::vector<TControl*>& siblings = parent_->controls_;
    const auto self = std::find(siblings.begin(), siblings.end(), this);
    if (self == siblings.end()) return;
    auto window = [](TControl* c) {
        auto* w = dynamic_cast<TWinControl*>(c);
        return w ? w->handle_ : nullptr;
    };
    if (std::none_of(self + 1, siblings.end(), window)) return;  // last made, last in order
    HWND above = HWND_TOP;
    for (auto it = self; it != siblings.begin();)
        if (HWND h = window(*--it)) {
            above = h;
            break;
        }
    SetWindowPos(handle_, above, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    TCreateParams p = Params;
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
}

void TWinControl::BiDiModeChanged()
{
    if (!handle_) return;
    const LONG_PTR others = GetWindowLongPtrA(handle_, GWL_EXSTYLE) & ~LONG_PTR(BiDiExStyles);
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, others | BiDiExStyle(BiDiMode()));
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::AttachHandle(HWND h)
{
    handle_ = h;
    BindControl(h, this);
    defWndProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
}

void TWinControl::DetachHandle()
{
    HWND h = handle_;
    if (!h) return;
    UnbindControl(h);
    if (!HasOwnClass() &&
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

// ---- TCustomControl ----------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle << csClickEvents << csAcceptsControls;
}

TCustomControl::~TCustomControl() = default;
