// What a test or benchmark sees of the main thread's modal states from another thread (a menu
// loop, a dropped-down menu, a dialog of the standard class), and keys posted as the keyboard
// posts them.
#pragma once

#include <windows.h>

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

// The user's own mouse and keyboard (the platform's input queue, SendInput): the platform gives
// the click to the window under the point and a key to the focus, and nothing to a disabled
// window. Callable from any thread.
void UserClick(POINT Screen);
// Keys pressed and released in turn, each a virtual key ('A' types "a", VK_RETURN, ...).
void UserKeys(const char* Keys);

}  // namespace qv::test
