// The user's view of the main thread's modal states, and keys posted as the keyboard does.
#include "tests/support/UserActions.h"

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
    if (IsWindowVisible(h) && lstrcmpA(name, s->wanted) == 0) {
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

void PostKey(HWND Window, WORD Key, bool Alt)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM altDown = Alt ? 0x20000000 : 0;
    PostMessageA(Window, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, scan | altDown | 1);
    PostMessageA(Window, Alt ? WM_SYSKEYUP : WM_KEYUP, Key, scan | altDown | 0xC0000001);
}

}  // namespace qv::test
