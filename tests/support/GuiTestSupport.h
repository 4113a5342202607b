// Helpers for window tests: pump messages until a condition holds (with a time-out, never a
// blind sleep), and send keys and clicks to a control as the platform would deliver them.
#pragma once

#include <chrono>
#include <functional>

#include <windows.h>

#include "framework/gui/Application.h"
#include "framework/gui/Control.h"

inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Application->ProcessMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline void PumpPending() { Application->ProcessMessages(); }

// A key press through the queue, as typed: key down and key up; the message loop's
// TranslateMessage makes the character, as it does for the keyboard.
inline void TypeKey(TWinControl* c, WORD vk)
{
    HWND h = c->Handle();
    PostMessageA(h, WM_KEYDOWN, vk, 1);
    PostMessageA(h, WM_KEYUP, vk, 0xC0000001);
    PumpPending();
}

// Alt and a letter key (upper case, its virtual key) through the queue to the window with the
// focus, as the keyboard sends them while Alt is held; the message loop's TranslateMessage makes
// the WM_SYSCHAR.
inline void AltKey(char Letter)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE before = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    HWND h = GetFocus() ? GetFocus() : GetActiveWindow();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(Letter, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(h, WM_SYSKEYDOWN, Letter, scan | 0x20000001);
    PostMessageA(h, WM_SYSKEYUP, Letter, scan | 0xE0000001);
    PumpPending();
    keys[VK_MENU] = before;
    SetKeyboardState(keys);
}

// A left click at a point of a window's client area.
inline void ClickAt(HWND h, int x, int y)
{
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
