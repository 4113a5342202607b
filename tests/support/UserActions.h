// What a test or benchmark sees of the main thread's modal states from another thread (a menu
// loop, a dropped-down menu, a dialog of the standard class), and keys posted as the keyboard
// posts them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qv::test {

// A menu loop runs on Thread (the menu bar armed or a menu dropped down).
bool InMenuLoop(DWORD Thread);
// A menu is dropped down on Thread.
bool MenuDroppedDown(DWORD Thread);
// The visible window of class Class on Thread, or nullptr.
HWND VisibleWindowOfClass(DWORD Thread, const char* Class);
// The visible dialog of the standard dialog class on Thread (a message box, a common dialog), or
// nullptr.
HWND ShownDialog(DWORD Thread);
// That dialog once it is also the thread's active window (the user sees it come up), when it is
// not Except; otherwise nullptr.
HWND ActiveDialog(DWORD Thread, HWND Except = nullptr);
// A key pressed and released as the keyboard posts it to Window: WM_KEYDOWN/WM_KEYUP, or with
// Alt held WM_SYSKEYDOWN/WM_SYSKEYUP (the message loop's TranslateMessage makes the characters).
void PostKey(HWND Window, WORD Key, bool Alt = false);

// Ctrl held down in this thread's keyboard state while it lives, as the keyboard reports it to
// key handlers and to the message loop's translation of keys into characters.
class TCtrlHeld {
public:
    TCtrlHeld();
    ~TCtrlHeld();
    TCtrlHeld(const TCtrlHeld&) = delete;
    TCtrlHeld& operator=(const TCtrlHeld&) = delete;

private:
    BYTE before_[256] = {};
};

// While it lives, every box of the standard dialog class the thread shows is closed from the
// box's own message loop and its caption kept: a box the program does not show through its
// dialog service (a platform control's own) would otherwise wait for a user.
class TStrayBoxes {
public:
    TStrayBoxes();
    ~TStrayBoxes();
    TStrayBoxes(const TStrayBoxes&) = delete;
    TStrayBoxes& operator=(const TStrayBoxes&) = delete;
    const std::vector<std::string>& Captions() const { return captions_; }

private:
    static void CALLBACK Check(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
    std::vector<std::string> captions_;
};

// The user's own mouse and keyboard (the platform's input queue, SendInput): the platform gives
// the click to the window under the point and a key to the focus, and nothing to a disabled
// window. Callable from any thread.
void UserClick(POINT Screen);
// Keys pressed and released in turn, each a virtual key ('A' types "a", VK_RETURN, ...).
void UserKeys(const char* Keys);

}  // namespace qv::test
