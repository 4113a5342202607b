// The spin edit: an EDIT with an up-down button pair inside its right edge.
#include "framework/gui/SpinEdit.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/gui/CommonControls.h"
#include "framework/gui/DialogService.h"

TCSpinEdit::TCSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) { SetTextValue("0"); }

int TCSpinEdit::CheckValue(int v) const
{
    if (MaxValue != MinValue)
        v = std::clamp(v, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    return v;
}

int TCSpinEdit::Value()
{
    int v;
    if (!TryStrToInt(Trim(Text()), v)) return MinValue;
    return v;
}

void TCSpinEdit::SetValue(int v) { SetText(IntToStr(CheckValue(v))); }

void TCSpinEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    InitCommonControlsOnce();
    RECT r;
    GetClientRect(Handle(), &r);
    const int w = 15;
    // The buttons are a child of the edit; their notifications come to the edit (below).
    buttons_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, r.right - w, 0, w,
                               r.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(buttons_, UDM_SETRANGE32, 0, 100);
    SendMessageA(buttons_, UDM_SETPOS32, 0, 50);
    // Keep typed text clear of the buttons.
    SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 1));
}

bool TCSpinEdit::DoKeyDown(WORD& Key, TShiftState Shift)
{
    if (TCustomEdit::DoKeyDown(Key, Shift)) return true;
    if (Key == VK_UP)
        SetValue(Value() + Increment);
    else if (Key == VK_DOWN)
        SetValue(Value() - Increment);
    else
        return false;
    Key = 0;
    return true;
}

bool TCSpinEdit::DoKeyPress(char& Key)
{
    if (TCustomEdit::DoKeyPress(Key)) return true;
    const bool valid = (Key >= '0' && Key <= '9') || Key == '-' || Key == '+' || Key < 32;
    if (!valid || (!EditorEnabled && Key >= 32)) {
        Key = 0;
        Beep();
        return true;
    }
    return false;
}

void TCSpinEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_NOTIFY:
        if (auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
            hdr->hwndFrom == buttons_ && hdr->code == static_cast<UINT>(UDN_DELTAPOS)) {
            // The buttons' own position stays put; only their direction counts.
            SetValue(Value() +
                     (reinterpret_cast<NMUPDOWN*>(m.LParam)->iDelta > 0 ? Increment : -Increment));
            m.Result = 1;
            return;
        }
        break;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(m.LParam) == buttons_) return;
        break;
    case WM_KILLFOCUS:
        // Leaving the field puts a value outside the limits back inside them.
        TCustomEdit::Dispatch(m);
        if (CheckValue(Value()) != Value() || Trim(Text()).empty()) SetValue(Value());
        return;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}
