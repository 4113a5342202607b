// Hidden helper windows: class registration and creation in one place.
#include "framework/win/HelperWindow.h"

HWND CreateHelperWindow(const char* ClassName, WNDPROC Proc, bool MessageOnly, HWND Parent)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, ClassName, &wc)) {
        wc = WNDCLASSA{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.lpszClassName = ClassName;
        RegisterClassA(&wc);
    }
    const DWORD style = MessageOnly ? 0 : Parent ? WS_CHILD : WS_POPUP;
    return CreateWindowExA(0, ClassName, "", style, 0, 0, 0, 0, MessageOnly ? HWND_MESSAGE : Parent,
                           nullptr, instance, nullptr);
}
