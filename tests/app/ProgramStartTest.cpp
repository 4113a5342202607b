// Starts quorvalink.exe as a user would, finds its main window, closes it and checks the exit.
// The exe runs from a folder of its own, beside a settings file the test writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/Properties.h"
#include "settings/Settings.h"
#include "tests/support/BenchFonts.h"

namespace {

// The exe's path as the build knows it (a Linux path), seen through Wine's Z: drive.
std::string ProgramPath()
{
    std::string path = "Z:";
    for (char c : std::string(QV_PROGRAM_EXE)) path += (c == '/') ? '\\' : c;
    return path;
}

struct FoundWindow {
    DWORD pid;
    const char* windowClass;
    HWND hwnd;
};

BOOL CALLBACK FindTopWindowOfProcess(HWND hwnd, LPARAM lp)
{
    auto* found = reinterpret_cast<FoundWindow*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == found->pid && std::string(cls) == found->windowClass && IsWindowVisible(hwnd)) {
        found->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The main window once it is up: visible, with the caption the applied settings give it.
HWND WaitForMainWindow(DWORD pid, HANDLE process, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FoundWindow found{pid, "TForm1", nullptr};
        EnumWindows(FindTopWindowOfProcess, reinterpret_cast<LPARAM>(&found));
        char caption[256] = {};
        if (found.hwnd) GetWindowTextA(found.hwnd, caption, sizeof caption);
        if (found.hwnd && IsWindowVisible(found.hwnd) &&
            std::string(caption) == "Quorvalink Cobalt - RS232 Data Analyser")
            return found.hwnd;
        // Wakes early if the program dies; otherwise polls again shortly.
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// A visible top-level window of the class, once the process shows one.
HWND WaitForWindowOfClass(DWORD pid, HANDLE process, const char* windowClass, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FoundWindow found{pid, windowClass, nullptr};
        EnumWindows(FindTopWindowOfProcess, reinterpret_cast<LPARAM>(&found));
        if (found.hwnd) return found.hwnd;
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// The copy's own name, so that its window placement goes to a key of its own (named after the
// program file), never to the program's.
std::string ProgramName() { return "qvstart" + std::to_string(GetCurrentProcessId()); }
std::string PlacementKey() { return "Software\\" + ProgramName(); }

// A private folder holding a copy of the program and its settings file.
std::string MakeProgramFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qv-start-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\" + ProgramName() + ".exe";
    if (!CopyFileA(ProgramPath().c_str(), exe.c_str(), FALSE)) return std::string();
    // No automatic connect: nothing on this machine is COM1, and a refused port would stop
    // start-up at a message box no test may wait on.
    Settings = DefaultSettings();
    Settings.AutoConnectOnStart = false;
    // A font the bench does not have would stop start-up at its message box too.
    Settings.FontName = qv::test::BenchFixedFont;
    String shown;
    SaveSettings(folder + "\\" + ProgramName() + ".ini", [&](const String& text) { shown = text; });
    return shown.empty() ? exe : std::string();
}

void RemoveProgramFolder(const std::string& exe)
{
    std::string folder = exe.substr(0, exe.rfind('\\'));
    DeleteFileA(exe.c_str());
    DeleteFileA((folder + "\\" + ProgramName() + ".ini").c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, PlacementKey().c_str());
    DeleteFileA((folder + "\\qvmacros.ini").c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TEST(ProgramStart, ShowsMainWindowWithSettingsCaptionAndExitsCleanlyWhenClosed)
{
    const std::string exe = MakeProgramFolder();
    ASSERT_FALSE(exe.empty()) << "could not prepare the program's folder";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "CreateProcess failed: " << GetLastError();

    HWND main = WaitForMainWindow(pi.dwProcessId, pi.hProcess, 20000);
    ASSERT_NE(main, nullptr) << "no main window appeared";

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0)
        << "program did not end after WM_CLOSE";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    // Closing saved the main window's placement under the program's key.
    char showCmd[16] = {};
    DWORD size = sizeof showCmd;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (PlacementKey() + "\\TForm1").c_str(), "ShowCmd",
                           RRF_RT_REG_SZ, nullptr, showCmd, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(showCmd, "3");  // first run: maximized
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    RemoveProgramFolder(exe);
}

// The dialog libraries load at their first call, not at start-up: the find key of the real exe
// must still reach its dialog (a library that failed to load would end the program).
TEST(ProgramStart, FindKeyOpensTheFindDialogFromALibraryLoadedAtFirstUse)
{
    const std::string exe = MakeProgramFolder();
    ASSERT_FALSE(exe.empty()) << "could not prepare the program's folder";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "CreateProcess failed: " << GetLastError();

    HWND main = WaitForMainWindow(pi.dwProcessId, pi.hProcess, 20000);
    ASSERT_NE(main, nullptr) << "no main window appeared";
    PostMessageA(main, WM_KEYDOWN, VK_F3, 0);
    EXPECT_NE(WaitForWindowOfClass(pi.dwProcessId, pi.hProcess, "#32770", 20000), nullptr)
        << "no find dialog appeared";

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0)
        << "program did not end after WM_CLOSE";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    RemoveProgramFolder(exe);
}
