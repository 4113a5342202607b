// Lines go away with the process that made them, however it ends: the COM mapping is
// removed and the helper exits, so no test leaves a port or a process behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/bench/ProgramPort.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using qv::test::VirtualLine;

namespace {

std::string ThisDirectory()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

bool PortOpens(const std::string& port)
{
    HANDLE h = CreateFileA(("\\\\.\\" + port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// Starts the crasher in the given mode; returns its process handle and the port it made.
HANDLE StartCrasher(const std::string& mode, std::string& port, const std::string& extra = "")
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string report =
        std::string(temp) + "qv-crasher-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(report.c_str());
    std::string cmd = "\"" + ThisDirectory() + "bench_line_crasher.exe\" " + mode + " \"" + report +
                      "\" " + extra;
    // The crash report goes to NUL, not into the test's output.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    const BOOL started =
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(nul);
    if (!started) return nullptr;
    CloseHandle(pi.hThread);
    qv::test::WaitUntil(
        [&] {
            HANDLE f = CreateFileA(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (f == INVALID_HANDLE_VALUE) return false;
            char buf[32] = {};
            DWORD got = 0;
            ReadFile(f, buf, sizeof buf - 1, &got, nullptr);
            CloseHandle(f);
            std::string s(buf, got);
            if (s.empty() || s.back() != '\n') return false;
            port = s.substr(0, s.size() - 1);
            return true;
        },
        10000ms);
    DeleteFileA(report.c_str());
    return pi.hProcess;
}

}  // namespace

TEST(LineCleanup, LineGoesWhenItsProcessCrashes)
{
    std::string port;
    HANDLE child = StartCrasher("crash", port);
    ASSERT_NE(child, nullptr) << GetLastError();
    ASSERT_FALSE(port.empty()) << "the crasher made no line";
    EXPECT_TRUE(qv::test::WaitUntil([&] { return WaitForSingleObject(child, 0) == WAIT_OBJECT_0; },
                                    10000ms));
    DWORD code = 0;
    GetExitCodeProcess(child, &code);
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    CloseHandle(child);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !PortOpens(port); }, 5000ms))
        << port << " still mapped";
    SetLastError(0);
    EXPECT_FALSE(PortOpens(port));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(LineCleanup, ProgramCrashingWithThePortOpenDropsItsLines)
{
    VirtualLine line;
    std::string report;
    HANDLE child = StartCrasher("port-crash", report, line.DevicePath());
    ASSERT_NE(child, nullptr) << GetLastError();
    // the crash may come before the test looks: the change counter shows the lines went up
    EXPECT_EQ(report, "up");
    EXPECT_GE(line.OutputChanges(), 2u);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return WaitForSingleObject(child, 0) == WAIT_OBJECT_0; },
                                    10000ms));
    CloseHandle(child);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts(); }, 5000ms));

    // and the next program to open the port finds them down too
    qv::test::ProgramPort next(line.DevicePath());
    ASSERT_TRUE(next.IsOpen()) << next.OpenError();
    DWORD status = 0;
    EXPECT_TRUE(GetCommModemStatus(next.Handle(), &status));
    EXPECT_FALSE(line.Dtr());
}

TEST(LineCleanup, LineGoesWhenItsProcessIsTerminated)
{
    std::string port;
    HANDLE child = StartCrasher("wait", port);
    ASSERT_NE(child, nullptr) << GetLastError();
    ASSERT_FALSE(port.empty()) << "the crasher made no line";
    EXPECT_TRUE(PortOpens(port));
    TerminateProcess(child, 9);
    WaitForSingleObject(child, 10000);
    CloseHandle(child);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !PortOpens(port); }, 5000ms))
        << port << " still mapped";
}
