// What the modem-line tests share: the main window on the settings file's defaults beside the
// harness's line, the user's ways in (a key through the message queue, a click on a lamp), and a
// wait for the port's pending line wait.
#pragma once

#include "tests/support/MainWindowHarness.h"
#include "tests/support/PortFaults.h"

namespace modemlines_test {

using namespace std::chrono_literals;

class ModemLinesTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        StartDisconnected();
        ASSERT_TRUE(script.Shown().empty());
    }
    // A key as typed on the screen: the action list's shortcuts take it on the way.
    void PressKey(WORD Key)
    {
        HWND screen = Form1->reScreen->Handle();
        PostMessageA(screen, WM_KEYDOWN, Key, 1);
        PostMessageA(screen, WM_KEYUP, Key, 0xC0000001);
        qv::test::PumpMessages();
    }
    // A left click on a lamp, through its panel's window as the mouse gives it.
    void ClickLamp(TLEDLabel* Lamp)
    {
        HWND panel = Lamp->Parent()->Handle();
        const LPARAM at = MAKELPARAM(Lamp->Left() + 8, Lamp->Top() + 8);
        SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(panel, WM_LBUTTONUP, 0, at);
    }
    // A line change is seen only by a wait that is already pending: the port's thread must be
    // polling before the peer changes a line.
    bool WaitForLineWait()
    {
        const auto polls = line.LinePolls();
        return qv::test::WaitUntil([&] { return line.LinePolls() > polls + 2; });
    }
    std::string Panel(int Index) const { return Form1->StatusBar1->Panels(Index)->Text(); }
};

}  // namespace modemlines_test
