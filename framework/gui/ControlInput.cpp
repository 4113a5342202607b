// Input: shortcuts and modifier keys, the keyboard's way to a control and its form, the mouse's
// way to a control or to a graphic child, context menus, and focus.
#include "framework/gui/Control.h"

#include <utility>

#include "framework/gui/Action.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"

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

bool IsAccel(WORD Key, const String& Caption)
{
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto upper = [](unsigned c) {
            return reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(c & 0xFF)));
        };
        return upper(static_cast<unsigned char>(Caption[i + 1])) == upper(Key);
    }
    return false;
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

// ---- TControl: mouse ---------------------------------------------------------------------
bool TControl::HandleMouse(TMessage& m)
{
    // Every message no control handles ends here: only the mouse's pay for the key state (a
    // round trip to Wine's server, which cost more than all the rest of a message's dispatch).
    if (m.Msg < WM_MOUSEMOVE || m.Msg > WM_MBUTTONDBLCLK) return false;
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

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

// ---- TWinControl: keyboard ---------------------------------------------------------------
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

bool TWinControl::WMKeyDown(TMessage& m)
{
    WORD key = static_cast<WORD>(m.WParam);
    if (DoKeyDown(key, KeyboardShift())) {
        m.Result = 0;
        return true;
    }
    m.WParam = key;
    return false;
}

bool TWinControl::WMKeyUp(TMessage& m)
{
    WORD key = static_cast<WORD>(m.WParam);
    if (DoKeyUp(key, KeyboardShift())) return true;
    m.WParam = key;
    return false;
}

bool TWinControl::WMChar(TMessage& m)
{
    char key = static_cast<char>(m.WParam);
    if (DoKeyPress(key)) return true;
    m.WParam = static_cast<unsigned char>(key);
    return false;
}

// Alt+letter: the form presses the control whose caption underlines the letter, before the
// platform takes the key for the menu bar (which only beeps when no menu has that letter).
bool TWinControl::WMSysChar(TMessage& m)
{
    TForm* form = GetParentForm(this);
    if (!form || !form->DialogChar(static_cast<WORD>(m.WParam))) return false;
    m.Result = 0;
    return true;
}

// ---- TWinControl: focus ------------------------------------------------------------------
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

void TWinControl::WMSetFocus(TMessage& m)
{
    if (auto* f = GetParentForm(this); f && f != this) f->activeControl_ = this;
    for (TWinControl* p = Parent(); p; p = p->Parent()) p->DescendantFocused(this);
    DefaultHandler(m);
    if (OnEnter) OnEnter(this);
}

void TWinControl::WMKillFocus(TMessage& m)
{
    DefaultHandler(m);
    if (OnExit) OnExit(this);
}

// ---- TWinControl: mouse and context menu -------------------------------------------------
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

// Mouse messages over a graphic child are that child's (it keeps the mouse from the button
// press to the release). The mouse is let go before the release reaches the child, as a system
// push button does: its click handler may run for long (a macro run pumps messages until it
// ends), and the clicks meanwhile, on Stop for one, belong to the controls under the mouse.
bool TWinControl::RouteMouseToGraphicChild(TMessage& m)
{
    const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
    TControl* target = mouseControl_ ? mouseControl_ : GraphicControlAt(x, y);
    if (m.Msg == WM_MOUSEMOVE && target != hoverControl_) {
        if (hoverControl_) hoverControl_->Perform(CM_MOUSELEAVE);
        hoverControl_ = target;
        if (target) target->Perform(CM_MOUSEENTER);
    }
    if (!target) return false;
    if (!target->Enabled()) return true;  // a disabled graphic control swallows the mouse
    const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN ||
                      m.Msg == WM_MBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK ||
                      m.Msg == WM_RBUTTONDBLCLK;
    const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    if (down) {
        mouseControl_ = target;
        SetCapture(handle_);
    }
    if (up && mouseControl_ == target) {
        mouseControl_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    target->Perform(m.Msg, m.WParam, MAKELPARAM(x - target->left_, y - target->top_));
    return true;
}

bool TWinControl::WMContextMenu(TMessage& m)
{
    POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = this;
    if (m.LParam != -1) {
        POINT client = pt;
        ::ScreenToClient(handle_, &client);
        if (TControl* g = GraphicControlAt(client.x, client.y)) target = g;
    } else {
        GetCursorPos(&pt);
    }
    TPopupMenu* menu = target->GetPopupMenu();
    if (!menu) return false;
    menu->PopupComponent = target;
    menu->Popup(pt.x, pt.y);
    return true;
}
