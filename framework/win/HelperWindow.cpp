// Hidden helper windows: class registration and creation in one place.
#include "framework/win/HelperWindow.h"

HWND CreateHelperWindow(const char* ClassName, WNDPROC Proc, bool MessageOnly)
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
    return CreateWindowExA(0, ClassName, "", MessageOnly ? 0 : WS_POPUP, 0, 0, 0, 0,
                           MessageOnly ? HWND_MESSAGE : nullptr, nullptr, instance, nullptr);
}
