// Starts quorvalink.exe as a user would, finds its main window, closes it and checks the exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The exe's path as the build knows it (a Linux path), seen through Wine's Z: drive.
std::string ProgramPath()
{
    std::string path = "Z:";
    for (char c : std::string(QV_PROGRAM_EXE))
        path += (c == '/') ? '\\' : c;
    return path;
}

struct FoundWindow {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK FindTopWindowOfProcess(HWND hwnd, LPARAM lp)
{
    auto* found = reinterpret_cast<FoundWindow*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == found->pid && std::string(cls) == "TForm1") {
        found->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD pid, HANDLE process, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FoundWindow found{pid, nullptr};
        EnumWindows(FindTopWindowOfProcess, reinterpret_cast<LPARAM>(&found));
        if (found.hwnd)
            return found.hwnd;
        // Wakes early if the program dies; otherwise polls again shortly.
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

} // namespace

TEST(ProgramStart, ShowsMainWindowWithInitialCaptionAndExitsCleanlyWhenClosed)
{
    std::string cmd = "\"" + ProgramPath() + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "CreateProcess failed: " << GetLastError();

    HWND main = WaitForMainWindow(pi.dwProcessId, pi.hProcess, 20000);
    ASSERT_NE(main, nullptr) << "no main window appeared";

    char caption[256] = {};
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, "Quorvalink - RS232 Data Analyser / Visual Scripter");

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << "program did not end after WM_CLOSE";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
