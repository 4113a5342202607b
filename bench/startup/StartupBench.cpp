// Start-up time of quorvalink.exe beside a minimal Win32 window started the same way in the same
// run: from CreateProcess to a visible main window that answers a message (and, with automatic
// connect, a port that is open: DTR raised on the virtual line). Runs alternate between the
// subjects, whose order rotates each round, so a busy machine slows them alike.
//   tools/wine-run --build-dir=<build> bench/startup/startup_bench.exe [RUNS [OTHER_EXE]]
// (bench/startup/run.sh pins it and gives it a prefix of its own). RUNS: 20 by default.
// OTHER_EXE: another build of quorvalink.exe (a Linux or Windows path), measured beside this
// one in the same run, with and without automatic connect.
// The program runs as quorvalink.exe from a folder of its own beside its settings file, which
// names the virtual line and the installed fixed-pitch font; its window placement is that of a
// returning user (one run closed normally first). Measured runs are ended by TerminateProcess,
// so nothing they would save changes the next start.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/Properties.h"
#include "settings/Settings.h"
#include "tests/support/BenchFonts.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;

namespace {

// A path the build knows (a Linux path), seen through Wine's Z: drive.
std::string ZPath(const char* unixPath)
{
    std::string path = "Z:";
    for (const char* c = unixPath; *c; ++c) path += (*c == '/') ? '\\' : *c;
    return path;
}

double Milliseconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

struct Subject {
    std::string name;
    std::string exe;
    const char* windowClass;
    std::string settingsTemplate;  // copied over the program's settings file; empty: none
    bool connects;
    std::vector<double> ms;
};

// The process's visible top-level window of the class, or nullptr. Looked up by class (a few
// calls to Wine's server) rather than by walking every window (dozens per look): the driver
// looks every millisecond, and a busy server would slow the program it measures.
HWND FindVisibleWindow(DWORD pid, const char* windowClass)
{
    for (HWND h = FindWindowExA(nullptr, nullptr, windowClass, nullptr); h;
         h = FindWindowExA(nullptr, h, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

std::string programFolder;

// One start. Returns the milliseconds to the ready window, or a negative value (after saying
// why) when the start failed. Closed normally (WM_CLOSE) when CloseNormally, else ended.
double StartOnce(Subject& s, qv::test::VirtualLine& line, bool CloseNormally)
{
    const std::string folder = s.exe.substr(0, s.exe.rfind('\\'));
    if (!s.settingsTemplate.empty() &&
        !CopyFileA(s.settingsTemplate.c_str(), (s.exe.substr(0, s.exe.size() - 4) + ".ini").c_str(),
                   FALSE)) {
        std::printf("%s: cannot write the settings file (%lu)\n", s.name.c_str(), GetLastError());
        return -1;
    }
    const std::uint32_t changesBefore = line.OutputChanges();
    std::string cmd = "\"" + s.exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const LONGLONG start = Now();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        std::printf("%s: CreateProcess failed (%lu)\n", s.name.c_str(), GetLastError());
        return -1;
    }
    double result = -1;
    HWND window = nullptr;
    const DWORD limit = GetTickCount() + 30000;
    while (GetTickCount() < limit) {
        window = FindVisibleWindow(pi.dwProcessId, s.windowClass);
        if (window) break;
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    DWORD_PTR answer = 0;
    if (!window) {
        std::printf("%s: no window within 30 s (or the process ended)\n", s.name.c_str());
    } else if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer)) {
        std::printf("%s: the window did not answer within 30 s\n", s.name.c_str());
    } else if (s.connects &&
               !qv::test::WaitUntil(
                   [&] { return line.OutputChanges() != changesBefore && line.Dtr(); }, 30s)) {
        std::printf("%s: the port was not opened\n", s.name.c_str());
    } else {
        result = Milliseconds(Now() - start);
    }

    if (CloseNormally && window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
            std::printf("%s: did not end after WM_CLOSE\n", s.name.c_str());
            result = -1;
        }
    }
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The next start must see its own DTR rise, not this one's.
    if (s.connects) qv::test::WaitUntil([&] { return !line.Dtr(); }, 10s);
    return result;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const double at = p * static_cast<double>(v.size() - 1);
    const size_t lo = static_cast<size_t>(at);
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

std::string WriteSettings(const std::string& name, const std::string& port, bool connect)
{
    Settings = DefaultSettings();
    Settings.Port = port;
    Settings.Baud = "115200";
    Settings.AutoConnectOnStart = connect;
    Settings.FontName = qv::test::BenchFixedFont;
    const std::string path = programFolder + "\\" + name;
    String shown;
    SaveSettings(path, [&](const String& text) { shown = text; });
    return shown.empty() ? path : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    qv::test::VirtualLine line;

    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    programFolder = std::string(temp) + "qv-startup-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(programFolder.c_str(), nullptr);
    const std::string exe = programFolder + "\\quorvalink.exe";
    if (!CopyFileA(ZPath(QV_PROGRAM_EXE).c_str(), exe.c_str(), FALSE)) {
        std::printf("cannot copy the program (%lu)\n", GetLastError());
        return 1;
    }
    const std::string connectIni = WriteSettings("connect.ini", line.PortName(), true);
    const std::string plainIni = WriteSettings("plain.ini", line.PortName(), false);
    if (connectIni.empty() || plainIni.empty()) {
        std::printf("cannot write the settings files\n");
        return 1;
    }
    // The placement of a returning user: no trace of an earlier bench run, then one normal close.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\quorvalink");

    std::vector<Subject> subjects{
        {"minimal window", ZPath(QV_REFERENCE_EXE), "QvMinimalWindow", "", false, {}},
        {"quorvalink, auto-connect", exe, "TForm1", connectIni, true, {}},
        {"quorvalink, no connect", exe, "TForm1", plainIni, false, {}},
    };
    // Another build of the program (say, before a change) starts beside this one, from a folder
    // of its own with the same settings files.
    const std::string other = argc > 2 ? programFolder + "\\other\\quorvalink.exe" : "";
    if (!other.empty()) {
        CreateDirectoryA((programFolder + "\\other").c_str(), nullptr);
        const std::string from = argv[2][0] == '/' ? ZPath(argv[2]) : argv[2];
        if (!CopyFileA(from.c_str(), other.c_str(), FALSE)) {
            std::printf("cannot copy %s (%lu)\n", argv[2], GetLastError());
            return 1;
        }
        subjects.push_back({"other, auto-connect", other, "TForm1", connectIni, true, {}});
        subjects.push_back({"other, no connect", other, "TForm1", plainIni, false, {}});
    }
    // Warm-up (not counted): the first close saves the placement; every subject starts once so
    // that the prefix's files are in the cache for all of them.
    if (StartOnce(subjects[2], line, true) < 0) return 1;
    for (Subject& s : subjects)
        if (StartOnce(s, line, false) < 0) return 1;

    std::printf("start to a window that answers (and a connected port with auto-connect), "
                "%d runs each\n",
                runs);
    for (int round = 0; round < runs; ++round) {
        for (size_t i = 0; i < subjects.size(); ++i) {
            Subject& s = subjects[(i + static_cast<size_t>(round)) % subjects.size()];
            const double ms = StartOnce(s, line, false);
            if (ms < 0) return 1;
            s.ms.push_back(ms);
        }
    }

    const double reference = Percentile(subjects[0].ms, 0.5);
    for (const Subject& s : subjects) {
        const double median = Percentile(s.ms, 0.5);
        std::printf("%-26s median %7.1f ms  (quartiles %7.1f %7.1f, min %7.1f, max %7.1f)  "
                    "ratio %.2f\n",
                    s.name.c_str(), median, Percentile(s.ms, 0.25), Percentile(s.ms, 0.75),
                    Percentile(s.ms, 0), Percentile(s.ms, 1), median / reference);
    }

    DeleteFileA(exe.c_str());
    if (!other.empty()) {
        DeleteFileA(other.c_str());
        DeleteFileA((programFolder + "\\other\\quorvalink.ini").c_str());
        DeleteFileA((programFolder + "\\other\\qvmacros.ini").c_str());
        RemoveDirectoryA((programFolder + "\\other").c_str());
    }
    DeleteFileA(connectIni.c_str());
    DeleteFileA(plainIni.c_str());
    DeleteFileA((programFolder + "\\quorvalink.ini").c_str());
    DeleteFileA((programFolder + "\\qvmacros.ini").c_str());
    RemoveDirectoryA(programFolder.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\quorvalink");
    return 0;
}
