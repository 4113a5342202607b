// What connecting and disconnecting leaves in the process, through Wine and a virtual line:
// CYCLES connects and disconnects (1000), each held until the port's wait for the line's
// events is pending, and every 100 cycles the resident size of the process (from Linux), the
// bytes in use in all its heaps, its handles, GDI objects and threads; then the growth per cycle
// after the first 100 (which fill what is made once).
//   tools/wine-run --build-dir=<build dir> bench/comm/connect_cycles.exe [CYCLES [WHAT]]
// WHAT: window (the main window's connect toggle, the default), port (the port component's
// Open and Close), bare (a minimal program: open the device, keep one WaitCommEvent pending,
// end it and close: the floor Wine itself sets). Wine's floor is heap blocks (176 bytes a wait
// that waited, about 0.23 kB of resident size with their headers); the minimal program's heap
// has room left from its start for the first few hundred of them, so over 1000 cycles it reads
// lower than it is: compare the modes over 3000.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/BenchWindow.h"
#include "comm/Comm.h"
#include "framework/gui/Application.h"
#include "terminal/Main.h"
#include "tests/support/ProcessCounts.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

namespace {

// The resident size of this process in kB: Wine answers it from Linux (VmRSS of its process).
long ResidentKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

// Bytes in use in every heap of the process: the process heap (the system's components) and the
// C runtime's own.
long long HeapBytesInUse()
{
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    long long bytes = 0;
    for (DWORD i = 0; i < count && i < heaps.size(); ++i) {
        PROCESS_HEAP_ENTRY entry{};
        if (!HeapLock(heaps[i])) continue;
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

struct Sample {
    long rssKb;
    long long heapBytes;
    int handles;
    int gdiObjects;
    int threads;
};

Sample Take()
{
    return {ResidentKb(), HeapBytesInUse(), qv::test::HandleCount(), qv::test::GdiObjectCount(),
            qv::test::ThreadCount()};
}

// Until the port's wait is pending: Wine then polls the line's state.
bool WaitPending(const qv::test::VirtualLine& Line)
{
    const std::uint32_t polls = Line.LinePolls();
    return qv::test::WaitUntil([&] { return Line.LinePolls() > polls + 2; });
}

}  // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::string what = argc > 2 ? argv[2] : "window";
    if (cycles <= 0 || (what != "window" && what != "port" && what != "bare")) {
        std::printf("usage: connect_cycles.exe [CYCLES [window|port|bare]]\n");
        return 2;
    }
    Application->Initialize();
    qv::test::VirtualLine line;
    TComm* port = nullptr;
    if (what == "window") {
        if (!qv::bench::StartConnectedMainWindow(line, "cycles")) return 1;
        Form1->Connect_spbtnClick(Form1);
    } else if (what == "port") {
        port = new TComm(nullptr);
        port->SetDeviceName(line.DevicePath());
    }
    auto cycle = [&] {
        if (what == "window") {
            Form1->Connect_spbtnClick(Form1);
            if (!Form1->Comm1->Enabled()) return false;
            const bool pending = WaitPending(line);
            Form1->Connect_spbtnClick(Form1);
            return pending && !Form1->Comm1->Enabled();
        }
        if (what == "port") {
            port->Open();
            if (!port->Enabled()) return false;
            const bool pending = WaitPending(line);
            port->Close();
            return pending;
        }
        HANDLE device = CreateFileA(line.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (device == INVALID_HANDLE_VALUE) return false;
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        OVERLAPPED overlapped{};
        overlapped.hEvent = done;
        DWORD mask = 0;
        SetCommMask(device, EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_BREAK | EV_ERR);
        const bool pending =
            !WaitCommEvent(device, &mask, &overlapped) && GetLastError() == ERROR_IO_PENDING;
        const bool polled = pending && WaitPending(line);
        SetCommMask(device, 0);
        if (pending) WaitForSingleObject(done, 2000);
        CloseHandle(done);
        CloseHandle(device);
        return polled;
    };

    std::printf("connect_cycles %s: %d connects and disconnects\n", what.c_str(), cycles);
    std::printf("%7s %10s %12s %8s %8s %8s\n", "cycles", "RSS kB", "heap bytes", "handles", "GDI",
                "threads");
    auto print = [](int Cycles, const Sample& S) {
        std::printf("%7d %10ld %12lld %8d %8d %8d\n", Cycles, S.rssKb, S.heapBytes, S.handles,
                    S.gdiObjects, S.threads);
        std::fflush(stdout);
    };
    const Sample start = Take();
    print(0, start);
    Sample settled = start;
    for (int i = 1; i <= cycles; ++i) {
        if (!cycle()) {
            std::printf("cycle %d failed\n", i);
            return 1;
        }
        if (i % 100 != 0) continue;
        // What the last disconnect handed over is served, and the threads have ended.
        qv::test::WaitUntil([] { return false; }, std::chrono::milliseconds(50));
        const Sample s = Take();
        print(i, s);
        if (i == 100) settled = s;
    }
    const Sample end = Take();
    const int counted = cycles - 100;
    if (counted > 0)
        std::printf("per cycle after the first 100: RSS %+.3f kB, heap %+.1f bytes, handles %+.3f, "
                    "GDI objects %+.3f, threads %+.3f\n",
                    static_cast<double>(end.rssKb - settled.rssKb) / counted,
                    static_cast<double>(end.heapBytes - settled.heapBytes) / counted,
                    static_cast<double>(end.handles - settled.handles) / counted,
                    static_cast<double>(end.gdiObjects - settled.gdiObjects) / counted,
                    static_cast<double>(end.threads - settled.threads) / counted);
    delete port;
    if (what == "window")
        while (Application->ComponentCount() > 0)
            delete Application->Components(Application->ComponentCount() - 1);
    return 0;
}
