// What the utility window tests share: the real main window (the windows open from its
// menus), the dialog script, key presses with Ctrl held, and a check run from the message loop
// (a modal window's own loop included), so no test waits on a window.
#pragma once

#include <functional>

#include "app/LaterForms.h"
#include "tests/support/MainWindowHarness.h"

namespace dialogs_test {

class DialogsTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        StartDisconnected();
    }

    void TearDown() override
    {
        StopTimer();
        MainWindowHarness::TearDown();
    }

    // Runs Check once from the message loop, about Delay ms from now.
    void FromTheMessageLoop(std::function<void()> Check, UINT Delay = 20)
    {
        pending() = std::move(Check);
        timer_ = SetTimer(nullptr, 0, Delay, &OnTimer);
    }

    // Key down (and up) with Ctrl held, as the control's window gets them.
    static void CtrlKey(TWinControl* Control, WORD Key)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        const BYTE before = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageA(Control->Handle(), WM_KEYDOWN, Key, 1);
        SendMessageA(Control->Handle(), WM_KEYUP, Key, 0xC0000001);
        keys[VK_CONTROL] = before;
        SetKeyboardState(keys);
    }

    // A left click in the middle of a control drawn on its form (a label, a flat button).
    static void ClickOn(TControl* Control)
    {
        const TRect r = Control->BoundsRect();
        const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        HWND window = Control->Parent()->Handle();
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(window, WM_LBUTTONUP, 0, at);
    }

private:
    static std::function<void()>& pending()
    {
        static std::function<void()> check;
        return check;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR Id, DWORD)
    {
        KillTimer(nullptr, Id);
        if (auto check = std::exchange(pending(), nullptr)) check();
    }
    void StopTimer()
    {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        pending() = nullptr;
    }
    UINT_PTR timer_ = 0;
};

}  // namespace dialogs_test
