// File send throughput from the main window to the peer of a virtual line: text lines, random
// bytes, and a peer that echoes every byte back (the receive path then runs inside the send's
// pump), with the share of each send's time in its per-byte pass of the message queue and in its
// port writes; beside them, the same bytes written with no pass of the queue, and the pass alone.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/win/Thread.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/ProcessHeap.h"
#include "bench/support/BenchWindow.h"
#include "tests/support/DialogScript.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using qv::test::VirtualLine;

extern "C" void* PeekMessageSlot __asm__("__imp__PeekMessageA@20");
extern "C" void* DispatchMessageSlot __asm__("__imp__DispatchMessageA@4");
extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");

namespace {

double Now();

// Time spent inside the send's own calls, measured in the send itself (so a busy machine weighs
// on the parts and the whole alike): the queue's pass is PeekMessage and DispatchMessage, the
// port write is WriteFile (with its wait for completion).
struct {
    void* peek = nullptr;
    void* dispatch = nullptr;
    void* write = nullptr;
    double pumpSeconds = 0;
    double writeSeconds = 0;
    DWORD mainThread = 0;
} timing;

BOOL WINAPI TimedPeek(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove)
{
    const double start = Now();
    const BOOL result =
        reinterpret_cast<decltype(&PeekMessageA)>(timing.peek)(msg, hwnd, first, last, remove);
    timing.pumpSeconds += Now() - start;
    return result;
}

LRESULT WINAPI TimedDispatch(const MSG* msg)
{
    const double start = Now();
    const LRESULT result = reinterpret_cast<decltype(&DispatchMessageA)>(timing.dispatch)(msg);
    timing.pumpSeconds += Now() - start;
    return result;
}

BOOL WINAPI TimedWrite(HANDLE h, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED ov)
{
    const double start = Now();
    const BOOL result =
        reinterpret_cast<decltype(&WriteFile)>(timing.write)(h, buffer, count, written, ov);
    // The echoing peer writes from its own thread.
    if (GetCurrentThreadId() == timing.mainThread) timing.writeSeconds += Now() - start;
    return result;
}

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The file size and the number of rounds; the command line may set both (KiB, rounds).
size_t FileBytes = 128u << 10;
int Rounds = 3;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string TextLines(size_t n)
{
    std::string s;
    for (int line = 0; s.size() < n; ++line)
        s += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\r\n";
    s.resize(n);
    return s;
}

std::string RandomBytes(size_t n)
{
    std::string s(n, '\0');
    std::uint32_t x = 88172645u;
    for (auto& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return s;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    TFileStream file(path, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

// The peer: reads what the program sends until it has Expected bytes, echoing them back if asked.
// Its end is waited for with the queue running: an echo needs the program to read.
class Peer {
public:
    Peer(VirtualLine& Line, size_t Expected, bool Echo)
    {
        thread_ = std::thread([this, &Line, Expected, Echo] {
            while (got_ < Expected) {
                const std::string s = Line.Read(1 << 16, 5000ms);
                if (s.empty()) break;
                got_ += s.size();
                if (Echo) Line.Write(s);
            }
            done_ = true;
        });
    }
    size_t Finish()
    {
        qv::test::WaitUntil([&] { return done_.load(); }, 60s);
        thread_.join();
        return got_;
    }

private:
    std::atomic<size_t> got_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct Result {
    double seconds;
    size_t arrived;
    double pumpShare;
    double writeShare;
};

Result TimedSend(VirtualLine& line, TDialogScript& script, const std::string& path, size_t size,
                 bool echo)
{
    script.Clear();
    script.AnswerDialog([path](TCommonDialog& d) {
        static_cast<TOpenDialog&>(d).FileName = path;
        return true;
    });
    Peer peer(line, size, echo);
    const std::int64_t inBefore = Display.BytesIn;
    timing.pumpSeconds = timing.writeSeconds = 0;
    timing.mainThread = GetCurrentThreadId();
    double seconds = 0;
    {
        qv::test::ApiPatch peek(&PeekMessageSlot, reinterpret_cast<void*>(&TimedPeek));
        qv::test::ApiPatch dispatch(&DispatchMessageSlot, reinterpret_cast<void*>(&TimedDispatch));
        qv::test::ApiPatch write(&WriteFileSlot, reinterpret_cast<void*>(&TimedWrite));
        timing.peek = peek.Original();
        timing.dispatch = dispatch.Original();
        timing.write = write.Original();
        const double start = Now();
        Form1->miSendFileBinaryClick(Form1);
        // The send ends with a 50 ms pause after its message box: not part of the transfer.
        seconds = Now() - start - 0.050;
    }
    const size_t arrived = peer.Finish();
    if (echo)
        qv::test::WaitUntil(
            [&] { return Display.BytesIn - inBefore >= static_cast<std::int64_t>(size); }, 30s);
    return {seconds, arrived, timing.pumpSeconds / seconds, timing.writeSeconds / seconds};
}

void Report(const char* what, size_t bytes, double seconds)
{
    std::printf("%-44s %9.0f bytes/s  (%zu KiB in %.2f s, %.1f us per byte)\n", what,
                static_cast<double>(bytes) / seconds, bytes >> 10, seconds,
                seconds * 1e6 / static_cast<double>(bytes));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) FileBytes = std::max<size_t>(1, std::strtoul(argv[1], nullptr, 10)) << 10;
    if (argc > 2) Rounds = std::max(1, std::atoi(argv[2]));
    Application->Initialize();
    VirtualLine line;
    TDialogScript script;
    std::string folder;
    if (!qv::bench::StartConnectedMainWindow(line, "filesend_bench", "", &folder)) return 1;

    const std::string textPath = folder + "\\lines.txt";
    const std::string randomPath = folder + "\\random.bin";
    const std::string text = TextLines(FileBytes);
    WriteFileBytes(textPath, text);
    WriteFileBytes(randomPath, RandomBytes(FileBytes));

    const std::string halfPath = folder + "\\half.txt";
    WriteFileBytes(halfPath, text.substr(0, FileBytes / 2));
    struct Case {
        const char* name;
        std::string path;
        size_t size;
        bool echo;
        std::vector<double> seconds = {}, pumpShare = {}, writeShare = {};
        long heapBlocks = 0;
    } cases[] = {{"text lines (CR LF), silent peer", textPath, FileBytes, false},
                 {"random bytes, silent peer", randomPath, FileBytes, false},
                 {"text lines, peer echoes (receive in pump)", halfPath, FileBytes / 2, true}};
    std::vector<double> noPump, pumpAlone;
    // Rounds interleave the cases, so a busy moment of the machine does not land on one alone.
    for (int round = 0; round < Rounds; ++round) {
        for (Case& c : cases) {
            const long blocksBefore = qv::test::ProcessHeapCensus().busy;
            const Result r = TimedSend(line, script, c.path, c.size, c.echo);
            c.heapBlocks += qv::test::ProcessHeapCensus().busy - blocksBefore;
            if (r.arrived != c.size) std::printf("  peer got %zu of %zu\n", r.arrived, c.size);
            c.seconds.push_back(r.seconds);
            c.pumpShare.push_back(r.pumpShare);
            c.writeShare.push_back(r.writeShare);
        }
        // The send's loop without its pass of the queue: the file read and the port write.
        Peer peer(line, FileBytes, false);
        TFileStream file(textPath, fmOpenRead);
        double start = Now();
        char byte = 0;
        while (file.Read(&byte, 1) == 1) Form1->Comm1->Write(&byte, 1);
        noPump.push_back(Now() - start);
        peer.Finish();
        // The pass alone, with the window as a send leaves it and nothing queued.
        start = Now();
        for (size_t i = 0; i < FileBytes; ++i) Application->ProcessMessages();
        pumpAlone.push_back(Now() - start);
    }

    std::printf("median of %d rounds:\n", Rounds);
    for (Case& c : cases) {
        Report(c.name, c.size, Median(c.seconds));
        std::printf("%-44s pump (PeekMessage + DispatchMessage) %.0f %%, port write %.0f %%\n", "",
                    100 * Median(c.pumpShare), 100 * Median(c.writeShare));
        // Blocks the sends left in the process heap (where the rich edit control and the
        // text layout allocate): what stays after each file, on average.
        std::printf("%-44s process heap: %+ld blocks per send\n", "", c.heapBlocks / Rounds);
    }
    Report("read + port write, no pump", FileBytes, Median(noPump));
    const double pass = Median(pumpAlone);
    std::printf("%-44s %9.1f us per pass\n", "message queue pass alone",
                pass * 1e6 / static_cast<double>(FileBytes));

    Form1->Connect_spbtnClick(Form1);
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    for (const char* name : {"\\lines.txt", "\\random.bin", "\\half.txt", "\\quorvalink.ini"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
