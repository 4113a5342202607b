// Receive path under load: the program's main window (the same forms, port and message loop as
// quorvalink.exe, made in this process so BytesIn can be read) connected to a virtual line,
// the peer sending at a set rate in each display mode. Per step: the rate the peer kept up,
// whether an overload stop came, BytesIn against the bytes sent, the screen's last lines, the
// main thread's CPU share and the process's memory.
//   tools/wine-run --build-dir=<build> bench/receive/receive_bench.exe [seconds] [modes]
//   [rate,rate...]
// (modes: a digit per run, 0 ASCII/Text, 1 Mixed, 2 Hexadecimal; each stops at its first failed
// rate).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "tests/receive/ScreenModel.h"
#include "terminal/MainGlobals.h"
#include "terminal/WindowGlobals.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

constexpr int Columns = 88;
constexpr int Lines = 100;

double ThreadSeconds(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    auto value = [](FILETIME f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

double MemoryMiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

// Bytes that end no line: printable ones in ASCII/Text mode, any other byte in the byte modes.
std::string Traffic(int mode, size_t n)
{
    std::string s;
    s.reserve(n);
    for (size_t i = 0; s.size() < n; ++i) {
        const char b = char(mode == 0 ? 0x20 + i * 7 % 95 : i * 13 % 256);
        if (b != '\r' && b != '\n' && b != '\t' && b != 0) s += b;
    }
    return s;
}

std::vector<std::string> ExpectedLines(const std::string& bytes, int mode)
{
    return qv::test::ExpectedLines(bytes, mode, Columns, Lines);
}

using qv::test::ScreenLines;

struct StepResult {
    double sentRate = 0;   // bytes/s the peer achieved
    bool stopped = false;  // an overload stop's message came
    bool allIn = false;    // BytesIn == bytes sent
    bool screenRight = false;
    double cpuShare = 0;  // main thread, over the sending time
    double drainSeconds = 0;
};

StepResult RunStep(qv::test::VirtualLine& line, TDialogScript& script, int mode, double rate,
                   double seconds)
{
    Form1->FileNewClick(Form1);
    DisplayMode = mode;
    TextMode = mode == 0;
    Settings.DisplayMode = mode;
    script.Clear();

    const std::string data = Traffic(mode, static_cast<size_t>(rate * seconds));
    std::atomic<size_t> sent{0};
    std::atomic<bool> done{false}, abandon{false};
    double sendSeconds = 0;
    // The peer paces itself: every 5 ms it writes what the rate allows so far.
    std::thread writer([&] {
        const auto start = steady_clock::now();
        size_t at = 0;
        while (at < data.size() && !abandon) {
            const double elapsed = duration<double>(steady_clock::now() - start).count();
            const size_t due = std::min(data.size(), static_cast<size_t>(elapsed * rate));
            if (due > at) {
                const size_t n = std::min<size_t>(due - at, 65536);
                try {
                    line.Write(data.data() + at, n);
                } catch (...) {
                    break;
                }
                at += n;
                sent = at;
            } else {
                std::this_thread::sleep_for(5ms);
            }
        }
        sendSeconds = duration<double>(steady_clock::now() - start).count();
        done = true;
    });

    HANDLE mainThread = GetCurrentThread();
    const double cpuBefore = ThreadSeconds(mainThread);
    const auto wallStart = steady_clock::now();
    qv::test::WaitUntil([&] { return done.load() || !script.Shown().empty(); },
                        duration_cast<milliseconds>(duration<double>(seconds * 3 + 10)));
    const double wall = duration<double>(steady_clock::now() - wallStart).count();
    const double cpu = ThreadSeconds(mainThread) - cpuBefore;
    const auto drainStart = steady_clock::now();
    qv::test::WaitUntil(
        [&] {
            return !script.Shown().empty() ||
                   (BytesIn == static_cast<std::int64_t>(sent.load()) && !Form1->Timer1->Enabled());
        },
        30s);

    StepResult r;
    r.drainSeconds = duration<double>(steady_clock::now() - drainStart).count();
    abandon = true;
    if (!script.Shown().empty() && !done) {
        // The window no longer reads: drain the line so the peer's last write returns.
        qv::test::DrainProgramSideUntil(line.DevicePath(), done);
    }
    writer.join();

    r.sentRate = static_cast<double>(sent) / std::max(sendSeconds, 1e-9);
    r.stopped = !script.Shown().empty();
    r.allIn = BytesIn == static_cast<std::int64_t>(sent.load()) && sent == data.size();
    r.screenRight = r.allIn && ScreenLines() == ExpectedLines(data, mode);
    r.cpuShare = cpu / std::max(wall, 1e-9);
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string modes = argc > 2 ? argv[2] : "012";

    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "qv_rxbench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    qv::test::VirtualLine line;
    {
        const std::string ini = "[Serial Port Section]\r\nPORT=" + line.PortName() +
                                "\r\nBAUD=921600\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n"
                                "[General Section]\r\nAUTO_CONNECT_ON_START=0\r\n"
                                "[Display Section]\r\nDISPLAY_MODE=2\r\nCOLUMNS=" +
                                std::to_string(Columns) + "\r\nLINES=" + std::to_string(Lines) +
                                "\r\nAUTO_ADJUST_COLS=0\r\n";
        TFileStream file(folder + "\\quorvalink.ini", fmCreate);
        file.WriteString(ini);
    }
    InitMainGlobals();
    const std::vector<String> arguments{folder + "\\quorvalink.exe"};
    SetProgramArguments(arguments);
    TDialogScript script;
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->PortIndex->SetItemIndex(line.PortNumber() - 1);
    Form1->Connect_spbtnClick(Form1);
    if (!Form1->Comm1->Enabled()) {
        std::printf("could not open %s\n", line.PortName().c_str());
        return 1;
    }
    qv::test::PumpMessages();
    const double memoryStart = MemoryMiB();
    std::printf(
        "receive bench: %.0f s per step, %d columns, line limit %d, memory at start %.1f MiB\n",
        seconds, Columns, Lines, memoryStart);

    std::vector<double> rates{92160, 150000, 200000, 300000, 450000, 600000, 900000, 1200000};
    if (argc > 3) {
        rates.clear();
        for (const char* p = argv[3]; *p;) {
            char* end = nullptr;
            rates.push_back(std::strtod(p, &end));
            p = *end == ',' ? end + 1 : end;
        }
    }
    const char* names[] = {"ASCII/Text", "Mixed", "Hexadecimal"};
    for (char m : modes) {
        const int mode = m - '0';
        double ceiling = 0;
        for (double rate : rates) {
            const double before = MemoryMiB();
            const StepResult r = RunStep(line, script, mode, rate, seconds);
            const double after = MemoryMiB();
            const bool kept = !r.stopped && r.allIn && r.screenRight && r.sentRate >= rate * 0.98;
            std::printf("%-12s target %8.0f B/s sent %8.0f B/s  stop %-3s  BytesIn==sent %-3s  "
                        "screen %-5s  "
                        "main-thread CPU %5.1f%%  drain %.2f s  memory %.1f -> %.1f MiB\n",
                        names[mode], rate, r.sentRate, r.stopped ? "yes" : "no",
                        r.allIn ? "yes" : "no", r.screenRight ? "right" : "WRONG", r.cpuShare * 100,
                        r.drainSeconds, before, after);
            std::fflush(stdout);
            if (r.stopped) {
                Form1->Connect_spbtnClick(Form1);  // reconnect after the stop's disconnect
                if (!Form1->Comm1->Enabled()) return 1;
            }
            if (!kept) break;
            ceiling = rate;
        }
        std::printf("%-12s highest rate sustained: %.0f B/s\n", names[mode], ceiling);
    }
    std::printf("memory at end %.1f MiB (start %.1f MiB)\n", MemoryMiB(), memoryStart);
    Form1->Comm1->Close();
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    return 0;
}
