// Registering a form's own window class.
#include "terminal/FormWindowClass.h"

#include <set>
#include <string>

void UseFormWindowClass(TCreateParams& Params, const char* ClassName)
{
    static std::set<std::string> registered;
    if (!registered.count(ClassName)) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        // The framework subclasses the window as it does its own class's windows, and a
        // class whose procedure is DefWindowProc is treated exactly like its own.
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.lpszClassName = ClassName;
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
        registered.insert(ClassName);
    }
    Params.WinClassName = ClassName;
}
