// System services of the utility layer.
#include "util/SysUtils.h"

#include <objbase.h>

#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "framework/gui/Screen.h"
#include "util/ErrorUtils.h"
#include "util/TickWait.h"
#include "util/WinUtilTexts.h"

String GetEnvVar(const String& Name)
{
    std::vector<char> buffer(2048);
    for (;;) {
        SetLastError(0);
        const DWORD n =
            GetEnvironmentVariableA(Name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return String();
        // A value longer than the buffer: n is the size it needs, terminator included. The
        // value may grow between the calls, so ask again until it fits.
        if (n < buffer.size()) return String(buffer.data(), n);
        buffer.resize(n);
    }
}

String AnsiUpperFirstChar(const String& S)
{
    String result = S;
    if (!result.empty()) CharUpperBuffA(result.data(), 1);
    return result;
}

HMODULE LoadDLL(const String& Name)
{
    const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE h = LoadLibraryA(Name.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!h) RaiseWin32Error(error ? error : ERROR_MOD_NOT_FOUND);
    return h;
}

bool RegisterServer(const String& ModuleName)
{
    HMODULE h = LoadDLL(ModuleName);
    using RegisterProc = HRESULT(WINAPI*)();
    auto proc = reinterpret_cast<RegisterProc>(
        reinterpret_cast<void*>(GetProcAddress(h, "DllRegisterServer")));
    // Calling the entry is not enough: a server whose registration failed says so in its
    // result, and that failure is the caller's to hear.
    const bool registered = proc && SUCCEEDED(proc());
    FreeLibrary(h);
    return registered;
}

// Freeing the OLE automation library by hand would drop a reference this program never took
// (and unload it under the feet of whoever did); the system knows which servers are idle.
void FreeUnusedOle() { CoFreeUnusedLibraries(); }

void NotImplemented()
{
    Screen->SetCursor(crDefault);
    char text[256] = {};
    LoadStringA(GetModuleHandleA(nullptr), WinUtilText::NotImplementedId, text, sizeof text);
    MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK});
    Abort();
}

void KillMessage(HWND Window, UINT Msg)
{
    MSG m;
    if (PeekMessageA(&m, Window, Msg, Msg, PM_REMOVE) && m.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(m.wParam));
}

void Delay(std::uint32_t Milliseconds)
{
    WaitTicks(
        Milliseconds, [] { return static_cast<std::uint32_t>(GetTickCount()); },
        [] { Application->ProcessMessages(); });
}

String GetWindowsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    const char* platform = "NT";
    DWORD build = info.dwBuildNumber;
    if (info.dwPlatformId == VER_PLATFORM_WIN32s) {
        platform = "32s";
    } else if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        const bool from98 =
            info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion >= 10);
        platform = from98 ? "98" : "95";
        build &= 0xFFFF;  // the high word repeats the version there
    }
    return Format("Windows %s %d.%.2d.%.3d %s", platform, info.dwMajorVersion, info.dwMinorVersion,
                  build, info.szCSDVersion);
}
