// Receive path under load: the program's main window (the same forms, port and message loop as
// quorvalink.exe, made in this process so BytesIn can be read) connected to a virtual line, the
// peer sending one kind of traffic at a set rate in one display mode, with the settings a first
// run has (default line-end flags, the line width fitted to the screen) and the installed
// fixed-pitch font the program's start script names.
// One step per process, so every step starts fresh (bench/receive/run.sh climbs the rates):
//   tools/wine-run --build-dir=<build> bench/receive/receive_bench.exe KIND MODE RATE [SECONDS]
// KIND: lines (70 printable characters, CR LF), random (any byte), plain (printable, no line
// ends), worst (every byte a CR: a line end per byte). MODE: 0 ASCII/Text, 1 Mixed,
// 2 Hexadecimal. SECONDS: 60 by default.
// Figures: the rate the peer kept up, an overload stop, BytesIn against the bytes sent, the
// screen's last lines against a fresh load of the same traffic, the main thread's CPU share,
// memory at start and end, and the longest the window took to answer a message sent from
// another thread; every 30 s an interim line shows whether the step slows down over time, with
// the process heap's blocks and free pieces.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "settings/Settings.h"
#include "terminal/Formatter.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "tests/support/ReceiveScreen.h"
#include "tests/support/BenchFonts.h"
#include "tests/support/DialogScript.h"
#include "tests/support/ProcessHeap.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

constexpr int Lines = 100;
constexpr double ReportEverySeconds = 30;

// A count of free pieces that grows means every allocation of the control gets slower.
void PrintProcessHeap()
{
    const auto heap = qv::test::ProcessHeapCensus();
    std::printf("           process heap: %ld blocks in use, %ld free pieces (%llu KiB)\n",
                heap.busy, heap.freePieces, heap.freeBytes / 1024);
}

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

// One period of the traffic, sent over and over: about 1 MiB, so a long step costs no more
// memory than a short one.
std::string TrafficPeriod(const std::string& kind)
{
    std::string s;
    if (kind == "lines") {
        for (size_t i = 0; i < 14563; ++i) {
            for (int c = 0; c < 70; ++c) s += char(0x20 + (i * 70 + c) * 7 % 95);
            s += "\r\n";
        }
    } else if (kind == "random") {
        std::mt19937 rng(12345);
        for (int i = 0; i < (1 << 20); ++i) s += char(rng());
    } else if (kind == "plain") {
        for (size_t i = 0; i < 95 * 11038; ++i) s += char(0x20 + i * 7 % 95);
    } else if (kind == "worst") {
        s.assign(1 << 20, '\r');
    }
    return s;
}

// Copies n bytes of the endless traffic from offset at.
void TrafficAt(const std::string& period, size_t at, char* to, size_t n)
{
    while (n > 0) {
        const size_t from = at % period.size();
        const size_t k = std::min(n, period.size() - from);
        std::memcpy(to, period.data() + from, k);
        to += k;
        at += k;
        n -= k;
    }
}

DWORD CALLBACK StreamFromMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    *done = reinterpret_cast<TMemoryStream*>(cookie)->Read(buffer, count);
    return 0;
}

// The screen's lines a fresh whole-screen load of the traffic's last Lines lines shows: the
// traffic formatted as the program does (records thrown away as they come, no screen effects),
// the tail loaded into a rich edit of its own. The figure catches bytes shown twice, lost or
// out of order by the incremental updates of the real screen.
std::vector<std::string> ReferenceLines(const std::string& period, size_t total, int mode)
{
    FormatterHost = nullptr;
    Display.Reset(TDisplayReset::ClearScreen);
    Display.DisplayMode = mode;
    std::vector<char> out(FormatBufferSize(5003));
    std::string tail;
    auto keepLastLines = [&](size_t keep) {
        size_t breaks = 0, at = tail.size();
        while (at > 0) {
            if (tail[at - 1] == '\r' && ++breaks == keep) break;
            --at;
        }
        if (breaks == keep) tail.erase(0, at);
    };
    std::uint8_t block[5003];
    for (size_t done = 0; done < total;) {
        const auto n = static_cast<std::uint32_t>(std::min<size_t>(5003, total - done));
        TrafficAt(period, done, reinterpret_cast<char*>(block), n);
        Display.DisplayRecordCount = 0;
        std::uint32_t taken = 0;
        const std::uint32_t m = FormatToRtf(nullptr, block, out.data(), out.size(), 0, n, &taken);
        tail.append(out.data(), m);
        done += taken;
        if (tail.size() > (4u << 20)) keepLastLines(Lines);
    }
    keepLastLines(Lines);

    HWND edit = CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOHSCROLL, 0, 0,
                                800, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    TMemoryStream rtf;
    rtf.WriteString(Display.RtfHeader);
    rtf.WriteString(tail);
    rtf.WriteString("\\par }");
    rtf.SetPosition(0);
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    es.pfnCallback = StreamFromMemory;
    SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    DestroyWindow(edit);

    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

// Sends WM_NULL to the window from its own thread every 10 ms and keeps the longest answer.
class ResponseProbe {
public:
    explicit ResponseProbe(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const auto sent = steady_clock::now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                  const auto ms = duration_cast<milliseconds>(steady_clock::now() - sent).count();
                  for (auto* worst : {&longest_, &longestSinceReport_}) {
                      long long seen = *worst;
                      while (ms > seen && !worst->compare_exchange_weak(seen, ms)) {}
                  }
                  std::this_thread::sleep_for(10ms);
              }
              done_ = true;
          })
    {
    }
    ~ResponseProbe()
    {
        stop_ = true;
        // The window answers while the joining thread pumps.
        qv::test::WaitUntil([&] { return done_.load(); }, 70s);
        thread_.join();
    }
    long long Longest() const { return longest_; }
    long long TakeLongestSinceReport() { return longestSinceReport_.exchange(0); }

private:
    std::atomic<bool> stop_{false}, done_{false};
    std::atomic<long long> longest_{0}, longestSinceReport_{0};
    std::thread thread_;
};

struct StepResult {
    double sentRate = 0;   // bytes/s the peer achieved
    bool stopped = false;  // an overload stop's message came
    bool allIn = false;    // BytesIn == bytes sent
    bool screenRight = false;
    double cpuShare = 0;  // main thread, over the sending time
    double drainSeconds = 0;
    long long longestAnswerMs = 0;
    double memoryEnd = 0;  // MiB, before the reference screen is made
};

StepResult RunStep(qv::test::VirtualLine& line, TDialogScript& script, const std::string& period,
                   int mode, double rate, double seconds)
{
    Form1->FileNewClick(Form1);
    Display.DisplayMode = mode;
    Settings.DisplayMode = mode;
    script.Clear();

    const auto total = static_cast<size_t>(rate * seconds);
    std::atomic<size_t> sent{0};
    std::atomic<bool> done{false}, abandon{false};
    double sendSeconds = 0;
    // The peer paces itself: every 5 ms it writes what the rate allows so far.
    std::thread writer([&] {
        const auto start = steady_clock::now();
        size_t at = 0;
        std::vector<char> piece(65536);
        while (at < total && !abandon) {
            const double elapsed = duration<double>(steady_clock::now() - start).count();
            // A window far behind fails the step anyway; its end must not wait for it.
            if (elapsed > seconds * 2 + 10) break;
            const size_t due = std::min(total, static_cast<size_t>(elapsed * rate));
            if (due > at) {
                const size_t n = std::min<size_t>(due - at, piece.size());
                TrafficAt(period, at, piece.data(), n);
                try {
                    line.Write(piece.data(), n);
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
    StepResult r;
    {
        ResponseProbe probe(Form1->Handle());
        const double cpuBefore = ThreadSeconds(mainThread);
        const auto wallStart = steady_clock::now();
        const auto deadline = wallStart + duration<double>(seconds * 3 + 10);
        auto lastReport = wallStart;
        double lastCpu = cpuBefore;
        std::int64_t lastBytes = 0;
        while (!done && script.Shown().empty() && steady_clock::now() < deadline) {
            qv::test::WaitUntil([&] { return done.load() || !script.Shown().empty(); }, 1s);
            const auto now = steady_clock::now();
            const double interval = duration<double>(now - lastReport).count();
            if (interval < ReportEverySeconds) continue;
            const double cpu = ThreadSeconds(mainThread);
            std::printf(
                "  at %4.0f s: read %8.0f B/s, behind %8lld B, main-thread CPU %5.1f%%, "
                "longest answer %4lld ms, memory %.1f MiB\n",
                duration<double>(now - wallStart).count(),
                static_cast<double>(Display.BytesIn - lastBytes) / interval,
                static_cast<long long>(sent.load()) - static_cast<long long>(Display.BytesIn),
                (cpu - lastCpu) / interval * 100, probe.TakeLongestSinceReport(), MemoryMiB());
            PrintProcessHeap();
            std::fflush(stdout);
            lastReport = now;
            lastCpu = cpu;
            lastBytes = Display.BytesIn;
        }
        const double wall = duration<double>(steady_clock::now() - wallStart).count();
        r.cpuShare = (ThreadSeconds(mainThread) - cpuBefore) / std::max(wall, 1e-9);
        const auto drainStart = steady_clock::now();
        qv::test::WaitUntil(
            [&] {
                return !script.Shown().empty() ||
                       (done && Display.BytesIn == static_cast<std::int64_t>(sent.load()) &&
                        !Form1->Timer1->Enabled());
            },
            30s);
        r.drainSeconds = duration<double>(steady_clock::now() - drainStart).count();
        r.longestAnswerMs = probe.Longest();
    }
    abandon = true;
    // A window that stopped reading (an overload stop, a step that fell behind) leaves the
    // peer blocked in a write: the line is drained here, pumping, until the peer returns.
    if (!done) {
        if (Form1->Comm1->Enabled()) Form1->Comm1->Close();
        std::thread drain([&] { qv::test::DrainProgramSideUntil(line.DevicePath(), done); });
        qv::test::WaitUntil([&] { return done.load(); }, 60s);
        drain.join();
    }
    writer.join();

    r.memoryEnd = MemoryMiB();
    r.sentRate = static_cast<double>(sent) / std::max(sendSeconds, 1e-9);
    r.stopped = !script.Shown().empty();
    r.allIn = Display.BytesIn == static_cast<std::int64_t>(sent.load()) && sent == total;
    if (r.allIn) {
        const std::vector<std::string> shown = qv::test::ScreenLines();
        const std::vector<std::string> expected = ReferenceLines(period, total, mode);
        r.screenRight = shown == expected;
        if (!r.screenRight) {
            size_t i = 0;
            while (i < shown.size() && i < expected.size() && shown[i] == expected[i]) ++i;
            std::printf("screen: %zu lines, expected %zu; first difference at line %zu: \"%s\" "
                        "against \"%s\"\n",
                        shown.size(), expected.size(), i, i < shown.size() ? shown[i].c_str() : "",
                        i < expected.size() ? expected[i].c_str() : "");
        }
    }
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    if (argc < 4) {
        std::printf("usage: receive_bench.exe lines|random|plain|worst MODE RATE [SECONDS]\n");
        return 2;
    }
    const std::string kind = argv[1];
    const int mode = std::atoi(argv[2]);
    const double rate = std::atof(argv[3]);
    const double seconds = argc > 4 ? std::atof(argv[4]) : 60.0;
    const std::string period = TrafficPeriod(kind);
    if (period.empty() || mode < 0 || mode > 2 || rate <= 0 || seconds <= 0) {
        std::printf("unknown traffic kind, mode, rate or length\n");
        return 2;
    }

    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "qv_rxbench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    qv::test::VirtualLine line;
    {
        const std::string ini =
            "[Serial Port Section]\r\nPORT=" + line.PortName() +
            "\r\nBAUD=921600\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n"
            "[General Section]\r\nAUTO_CONNECT_ON_START=0\r\n"
            "[Display Section]\r\nDISPLAY_MODE=" +
            std::to_string(mode) + "\r\nLINES=" + std::to_string(Lines) +
            "\r\nAUTO_ADJUST_COLS=1\r\n[Font Section]\r\nFONT_NAME=" + qv::test::BenchFixedFont +
            "\r\n";
        TFileStream file(folder + "\\quorvalink.ini", fmCreate);
        file.WriteString(ini);
    }
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

    const char* names[] = {"ASCII/Text", "Mixed", "Hexadecimal"};
    const double memoryStart = MemoryMiB();
    const StepResult r = RunStep(line, script, period, mode, rate, seconds);
    const bool kept = !r.stopped && r.allIn && r.screenRight && r.sentRate >= rate * 0.98;
    std::printf("%-6s %-11s %u columns  target %8.0f B/s sent %8.0f B/s  stop %-3s  "
                "BytesIn==sent %-3s  screen %-5s  main-thread CPU %5.1f%%  drain %.2f s  "
                "longest answer %lld ms  memory %.1f -> %.1f MiB  %s\n",
                kind.c_str(), names[mode], static_cast<unsigned>(Display.CharsPerLine), rate,
                r.sentRate, r.stopped ? "yes" : "no", r.allIn ? "yes" : "no",
                r.screenRight ? "right" : "WRONG", r.cpuShare * 100, r.drainSeconds,
                r.longestAnswerMs, memoryStart, r.memoryEnd, kept ? "KEPT" : "FAILED");
    std::fflush(stdout);
    if (Form1->Comm1->Enabled()) Form1->Comm1->Close();
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    return kept ? 0 : 3;
}
