// Message dispatch: each control class's one switch from message to handler, and the handlers
// that pass a child's notifications back to it and follow the window's place and size.
#include "framework/gui/Control.h"

#include "framework/gui/Menu.h"

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
    case CM_BIDIMODECHANGED:
        if (auto* w = dynamic_cast<TWinControl*>(this))
            for (TControl* c : w->controls_) c->Perform(CM_PARENTBIDIMODECHANGED);
        Invalidate();
        break;
    case CM_PARENTBIDIMODECHANGED:
        if (parentBiDiMode_ && parent_) {
            SetBiDiMode(parent_->BiDiMode());
            parentBiDiMode_ = true;  // SetBiDiMode cleared it: the mode came from the parent
        }
        break;
    default: HandleMouse(m); break;
    }
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    // Notifications to the parent go back to the control they are about.
    case WM_COMMAND:
        if (WMCommand(m)) return;
        break;
    case WM_NOTIFY:
        if (auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
            hdr && ReflectNotification(m, hdr->hwndFrom))
            return;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (ReflectNotification(m, reinterpret_cast<HWND>(m.LParam))) return;
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
    case WM_EXITMENULOOP:
        TMenu::BuildPending();
        // The loop is still on the way out (it still holds the mouse): what waited for its end
        // runs from the queue, once the loop has returned.
        if (TMenu::AfterLoopPending()) PostMessageA(Handle(), CM_AFTERMENULOOP, 0, 0);
        break;
    case CM_AFTERMENULOOP: TMenu::RunAfterLoop(); return;

    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); break;
    case WM_SIZE: WMSize(m); return;

    case WM_PAINT: WMPaint(m); return;
    case WM_PRINTCLIENT:
        if (WMPrintClient(m)) return;
        break;
    case WM_ERASEBKGND:
        if (WMEraseBkgnd(m)) return;
        break;

    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;

    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (WMKeyDown(m)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (WMKeyUp(m)) return;
        break;
    case WM_CHAR:
        if (WMChar(m)) return;
        break;
    case WM_SYSCHAR:
        if (WMSysChar(m)) return;
        break;

    case WM_CONTEXTMENU:
        if (WMContextMenu(m)) return;
        break;
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
    case WM_MOUSEMOVE:
        if (RouteMouseToGraphicChild(m)) return;
        HandleMouse(m);
        break;

    case CM_BIDIMODECHANGED:
        TControl::Dispatch(m);
        BiDiModeChanged();
        return;
    case CM_FONTCHANGED:
        TControl::Dispatch(m);
        if (handle_)
            SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        return;
    default:
        TControl::Dispatch(m);
        // The framework's own messages never reach the window's procedure.
        if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x800) return;
        break;
    }
    DefaultHandler(m);
}

// A menu's command comes without a control window; a control's goes back to the control.
bool TWinControl::WMCommand(TMessage& m)
{
    if (!m.LParam) return HIWORD(m.WParam) == 0 && TMenuItem::DispatchCommand(LOWORD(m.WParam));
    TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.LParam));
    if (!c) return false;
    m.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
    return true;
}

bool TWinControl::ReflectNotification(TMessage& m, HWND Sender)
{
    TWinControl* c = FromHandle(Sender);
    if (!c || c == this) return false;
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::WMWindowPosChanged(TMessage& m)
{
    auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
    if (!wp || !handle_) return;
    if (!(wp->flags & SWP_NOMOVE)) {
        left_ = wp->x;
        top_ = wp->y;
    }
    if (!(wp->flags & SWP_NOSIZE)) {
        width_ = wp->cx;
        height_ = wp->cy;
    }
}

void TWinControl::WMSize(TMessage& m)
{
    DefaultHandler(m);
    Realign();
    Resize();
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
