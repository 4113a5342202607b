// The user's view of the main thread's modal states, and keys posted as the keyboard does.
#include "tests/support/UserActions.h"

#include <algorithm>
#include <iterator>

namespace qv::test {

bool InMenuLoop(DWORD Thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(Thread, &info) && (info.flags & GUI_INMENUMODE) != 0;
}

namespace {

struct ClassSearch {
    const char* wanted;
    HWND found;
};

BOOL CALLBACK MatchVisibleOfClass(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<ClassSearch*>(p);
    char name[64] = {};
    GetClassNameA(h, name, sizeof(name));
    // Shown by its style: on a test's own desktop IsWindowVisible is false for every window.
    if ((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) && lstrcmpA(name, s->wanted) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND VisibleWindowOfClass(DWORD Thread, const char* Class)
{
    ClassSearch search{Class, nullptr};
    EnumThreadWindows(Thread, MatchVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool MenuDroppedDown(DWORD Thread) { return VisibleWindowOfClass(Thread, "#32768") != nullptr; }

HWND ShownDialog(DWORD Thread) { return VisibleWindowOfClass(Thread, "#32770"); }

HWND ActiveDialog(DWORD Thread, HWND Except)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const HWND dialog = ShownDialog(Thread);
    return dialog && dialog != Except && GetGUIThreadInfo(Thread, &info) &&
                   info.hwndActive == dialog
               ? dialog
               : nullptr;
}

void PostKey(HWND Window, WORD Key, bool Alt)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM altDown = Alt ? 0x20000000 : 0;
    PostMessageA(Window, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, scan | altDown | 1);
    PostMessageA(Window, Alt ? WM_SYSKEYUP : WM_KEYUP, Key, scan | altDown | 0xC0000001);
}

TCtrlHeld::TCtrlHeld()
{
    GetKeyboardState(before_);
    BYTE held[256];
    std::copy(std::begin(before_), std::end(before_), held);
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
}

TCtrlHeld::~TCtrlHeld() { SetKeyboardState(before_); }

namespace {
TStrayBoxes* strayBoxes = nullptr;
}

TStrayBoxes::TStrayBoxes()
{
    strayBoxes = this;
    timer_ = SetTimer(nullptr, 0, 20, &Check);
}

TStrayBoxes::~TStrayBoxes()
{
    KillTimer(nullptr, timer_);
    strayBoxes = nullptr;
}

void CALLBACK TStrayBoxes::Check(HWND, UINT, UINT_PTR, DWORD)
{
    if (!strayBoxes) return;
    HWND box = ShownDialog(GetCurrentThreadId());
    if (!box) return;
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    strayBoxes->captions_.emplace_back(caption);
    EndDialog(box, IDOK);
    PostMessageA(box, WM_CLOSE, 0, 0);
}

void UserClick(POINT Screen)
{
    SetCursorPos(Screen.x, Screen.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void UserKeys(const char* Keys)
{
    for (const char* k = Keys; *k; ++k) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = static_cast<WORD>(static_cast<unsigned char>(*k));
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
}

}  // namespace qv::test
