// File send throughput from the main window to the peer of a virtual line at 921,600 baud: random
// bytes to a silent peer and to one that echoes every byte back (the receive path then runs inside
// the send's pump, the screen full before the send starts), in each display mode; a macro's file
// send; the process heap's blocks each send leaves; and how long Stop and a disconnect take to end
// a send, and Stop after the baud was lowered from 921,600 to 9,600 during the send. Each send also
// reports its share of time in the pump and in the port writes, and the rate the device saw. Then,
// at 115,200 baud, the longest gap on the line while the user holds a menu, the armed menu bar,
// the About box, a message box, or a common dialog (File -> Save As (RTF)..., Settings -> Import
// from Profile..., from the command to the dialog's end) open during a send.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/AboutBox.h"
#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/win/Thread.h"
#include "settings/Settings.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/ProcessHeap.h"
#include "tests/support/UserActions.h"
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
    long writes = 0;
    double lastWrite = 0;
    // The line's rate while the send runs: from the first write's start to the last's.
    double firstWrite = 0;
    double lastWriteStart = 0;
    DWORD lastWriteBytes = 0;
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
    if (GetCurrentThreadId() == timing.mainThread) {
        if (timing.writes == 0) timing.firstWrite = start;
        timing.lastWriteStart = start;
        timing.lastWriteBytes = count;
        timing.lastWrite = Now();
        timing.writeSeconds += timing.lastWrite - start;
        ++timing.writes;
    }
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

// The file size, the number of rounds and the longest a send may take before the bench stops it
// (its rate is then what went out meanwhile); the command line may set them (KiB, rounds, s).
size_t FileBytes = 256u << 10;
int Rounds = 3;
double CapSeconds = 10;

double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string RandomBytes(size_t n, std::uint32_t x = 88172645u)
{
    std::string s(n, '\0');
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

// How the peer answers: not at all, each read echoed whole at once, or as a device on a line of
// a set rate: it takes the program's bytes no faster than the line carries them, and echoes what
// came in each millisecond (at 19,200 baud, one or two bytes at a time).
constexpr double NoEcho = 0, EchoAtOnce = -1;

// The peer: reads what the program sends, echoing it back if asked, until the send has ended and
// the line is quiet. With a command, it posts the main window that menu command (the user's click)
// once PostAfter seconds have passed since the send started or PostAt bytes have arrived, noting
// when. With DropBaud, it first picks 9,600 in the baud combo once PostAt / 2 bytes have arrived,
// and posts the command half a second later.
class Peer {
public:
    Peer(VirtualLine& Line, double Echo, UINT Command, double PostAfter, size_t PostAt,
         bool DropBaud = false)
    {
        HWND form = Form1->Handle();
        HWND sendBar = Form1->pnlSend->Handle();
        HWND baud = Form1->Baud->Handle();
        const WPARAM slow = static_cast<WPARAM>(Form1->Baud->Items()->IndexOf("9600"));
        const WPARAM picked = MAKEWPARAM(GetDlgCtrlID(baud), CBN_SELCHANGE);
        const double start = Now();
        thread_ = std::thread([this, &Line, Echo, Command, PostAfter, PostAt, DropBaud, start,
                               form, sendBar, baud, slow, picked] {
                int quietAfterEnd = 0;
                // The paced device's allowance, at most two milliseconds of the line.
                double allowance = 0, last = start;
                const double most = std::max(1.0, Echo * 0.002);
                // Whether the last read got all it asked for: bytes were waiting. The allowance
                // the device then could not use (its thread ran late) is time it lagged.
                bool full = false;
                double droppedAt = 0;
                while (quietAfterEnd < 3) {
                    // The user's pick in the list: the selection, then its notice to the parent.
                    if (DropBaud && droppedAt == 0 && !ended_ && got_ >= PostAt / 2) {
                        droppedAt = Now();
                        PostMessageA(baud, CB_SETCURSEL, slow, 0);
                        PostMessageA(GetParent(baud), WM_COMMAND, picked,
                                     reinterpret_cast<LPARAM>(baud));
                    }
                    const bool due = DropBaud ? droppedAt != 0 && Now() - droppedAt >= 0.5
                                              : Now() - start >= PostAfter || got_ >= PostAt;
                    if (Command != 0 && postedAt_ == 0 && !ended_ && due) {
                        postedAt_ = Now();
                        PostMessageA(form, WM_COMMAND, Command, 0);
                    }
                    // What the user sees of the command: the send bar goes when it is handled.
                    if (postedAt_ != 0 && barGoneAt_ == 0 && !IsWindowVisible(sendBar))
                        barGoneAt_ = Now();
                    size_t want = 1 << 16;
                    if (Echo > 0) {
                        const double now = Now();
                        const double grown = allowance + (now - last) * Echo;
                        if (full && grown > most) lagged_ = lagged_ + (grown - most) / Echo;
                        allowance = std::min(most, grown);
                        last = now;
                        want = static_cast<size_t>(allowance);
                        if (want == 0) {
                            Sleep(1);
                            continue;
                        }
                    }
                    const bool ended = ended_;
                    // Short reads while the command's effect is not seen yet.
                    const bool watching = postedAt_ != 0 && barGoneAt_ == 0;
                    const std::string s = Line.Read(want, Echo > 0 || watching ? 2ms : 100ms);
                    quietAfterEnd = s.empty() && ended ? quietAfterEnd + 1 : 0;
                    got_ += s.size();
                    if (!s.empty()) lastAt_ = Now();
                    allowance -= static_cast<double>(s.size());
                    full = s.size() == want;
                    if (Echo != NoEcho && !s.empty()) Line.Write(s);
                }
                done_ = true;
            });
    }
    // Called once the send has returned: what arrived. An echo needs the program to read: the
    // queue runs meanwhile.
    size_t Finish()
    {
        ended_ = true;
        qv::test::WaitUntil([&] { return done_.load(); }, 60s);
        thread_.join();
        return got_;
    }
    double PostedAt() const { return postedAt_; }
    double BarGoneAt() const { return barGoneAt_; }
    // When the last byte arrived (0: none did).
    double LastAt() const { return lastAt_; }
    // How long a paced device fell behind the line, bytes waiting for it.
    double Lagged() const { return lagged_; }

private:
    std::atomic<size_t> got_{0};
    std::atomic<bool> ended_{false};
    std::atomic<bool> done_{false};
    std::atomic<double> postedAt_{0};
    std::atomic<double> barGoneAt_{0};
    std::atomic<double> lastAt_{0};
    std::atomic<double> lagged_{0};
    std::thread thread_;
};

struct Result {
    double seconds = 0;
    std::int64_t sent = 0;
    size_t arrived = 0;
    double pumpShare = 0;
    double writeShare = 0;
    double bytesPerWrite = 0;
    // From the posted command to the last byte written and to the send's end, when one was
    // posted.
    double bytesStopMs = -1;
    double stopMs = -1;
    double barMs = -1;
    double lineRate = 0;
    // What the device got over the time from the send's start to its last byte: the rate on the
    // line itself, which a send that ends with its last blocks still in the driver's buffer
    // does not overstate.
    double deviceRate = 0;
    double deviceLagMs = 0;
};

enum TSendKind { skMenu, skMacro };

// Send File from the menu (the file chosen beforehand), or a macro's file item with no delay in
// a run of its own; returns when the send has ended.
void RunSend(TSendKind kind, const std::string& path)
{
    if (kind == skMenu) {
        Form1->miSendFileBinaryClick(Form1);
        return;
    }
    MacroRun.MacroRunState = 2;
    Form1->SetStopEnabled(true);
    SendMacroFile(*Form1, path.c_str(), "0");
    Form1->SetStopEnabled(false);
    MacroRun.MacroRunState = 0;
}

void ChooseFile(TDialogScript& script, const std::string& path)
{
    script.Clear();
    script.AnswerDialog([path](TCommonDialog& d) {
        static_cast<TOpenDialog&>(d).FileName = path;
        return true;
    });
}

// One send of the file at path, stopped by the bench's cap, or with a command, by that command
// halfway or after a second.
Result TimedSend(VirtualLine& line, TDialogScript& script, const std::string& path, double echo,
                 TSendKind kind, UINT command, bool dropBaud)
{
    ChooseFile(script, path);
    double postAfter = 1;
    size_t postAt = FileBytes / 2;
    if (command == 0) {
        command = Form1->miStopSending->Command();
        postAfter = CapSeconds;
        postAt = SIZE_MAX;
    }
    const std::int64_t outBefore = Display.BytesOut;
    const std::int64_t inBefore = Display.BytesIn;
    timing.pumpSeconds = timing.writeSeconds = 0;
    timing.writes = 0;
    timing.mainThread = GetCurrentThreadId();
    Result r;
    double end = 0;
    {
        Peer peer(line, echo, command, postAfter, postAt, dropBaud);
        qv::test::ApiPatch peek(&PeekMessageSlot, reinterpret_cast<void*>(&TimedPeek));
        qv::test::ApiPatch dispatch(&DispatchMessageSlot, reinterpret_cast<void*>(&TimedDispatch));
        qv::test::ApiPatch write(&WriteFileSlot, reinterpret_cast<void*>(&TimedWrite));
        timing.peek = peek.Original();
        timing.dispatch = dispatch.Original();
        timing.write = write.Original();
        const double start = Now();
        RunSend(kind, path);
        end = Now();
        r.seconds = end - start;
        r.sent = Display.BytesOut - outBefore;
        // A whole file ends with a 50 ms pause after its message box: not part of the transfer.
        if (kind == skMenu && r.sent == static_cast<std::int64_t>(FileBytes)) r.seconds -= 0.050;
        r.pumpShare = timing.pumpSeconds / r.seconds;
        r.writeShare = timing.writeSeconds / r.seconds;
        r.bytesPerWrite = timing.writes ? static_cast<double>(r.sent) / timing.writes : 0;
        if (timing.writes > 1)
            r.lineRate = static_cast<double>(r.sent - timing.lastWriteBytes) /
                         (timing.lastWriteStart - timing.firstWrite);
        r.arrived = peer.Finish();
        if (peer.LastAt() > start)
            r.deviceRate = static_cast<double>(r.arrived) / (peer.LastAt() - start);
        r.deviceLagMs = peer.Lagged() * 1e3;
        // The baud change starts a new session, whose counters start at 0: the peer counts.
        if (dropBaud) r.sent = static_cast<std::int64_t>(r.arrived);
        if (peer.PostedAt() != 0 && peer.PostedAt() < end) {
            r.stopMs = (end - peer.PostedAt()) * 1e3;
            r.bytesStopMs = std::max(0.0, timing.lastWrite - peer.PostedAt()) * 1e3;
            if (peer.BarGoneAt() != 0) r.barMs = (peer.BarGoneAt() - peer.PostedAt()) * 1e3;
        }
    }
    if (echo) qv::test::WaitUntil([&] { return Display.BytesIn - inBefore >= r.sent; }, 30s);
    if (!Connection.PortOpen) Form1->Connect_spbtnClick(Form1);
    return r;
}

// A new screen in Mode, filled to its line limit with random bytes from the peer.
void FillScreen(VirtualLine& line, int mode)
{
    Form1->FileNewClick(Form1);
    Display.DisplayMode = mode;
    Settings.DisplayMode = mode;
    const std::string fill = RandomBytes(32u << 10, 2463534242u);
    const std::int64_t inBefore = Display.BytesIn;
    line.Write(fill);
    qv::test::WaitUntil([&] { return Display.BytesIn - inBefore >= std::int64_t(fill.size()); },
                        60s);
    const double until = Now() + 0.3;
    while (Now() < until) {
        qv::test::PumpMessages();
        Sleep(5);
    }
}

void Report(const std::string& what, const std::vector<Result>& results, long heapBlocks)
{
    std::vector<double> rate, line, device, lag, pump, write, perWrite, bytesStop, stop, bar;
    for (const Result& r : results) {
        rate.push_back(static_cast<double>(r.sent) / r.seconds);
        line.push_back(r.lineRate);
        device.push_back(r.deviceRate);
        lag.push_back(r.deviceLagMs);
        pump.push_back(r.pumpShare);
        write.push_back(r.writeShare);
        perWrite.push_back(r.bytesPerWrite);
        if (r.stopMs >= 0) stop.push_back(r.stopMs);
        if (r.stopMs >= 0) bytesStop.push_back(r.bytesStopMs);
        if (r.barMs >= 0) bar.push_back(r.barMs);
        if (r.arrived != static_cast<size_t>(r.sent))
            std::printf("  %s: peer got %zu of %lld sent\n", what.c_str(), r.arrived,
                        static_cast<long long>(r.sent));
    }
    const double median = Median(rate);
    std::printf("%-44s %9.0f bytes/s (line %7.0f, device %7.0f) %7.1f us/byte  pump %3.0f %%  "
                "write %3.0f %%  "
                "%6.0f B/write"
                "  heap %+5ld blocks/send",
                what.c_str(), median, Median(line), Median(device), 1e6 / median,
                100 * Median(pump),
                100 * Median(write), Median(perWrite),
                heapBlocks / static_cast<long>(results.size()));
    if (Median(lag) > 0) std::printf("  device lagged %.0f ms", Median(lag));
    if (!stop.empty())
        std::printf("  stopped: bytes %.0f ms (worst %.0f), window %.0f ms (worst %.0f)",
                    Median(bytesStop), *std::max_element(bytesStop.begin(), bytesStop.end()),
                    Median(stop), *std::max_element(stop.begin(), stop.end()));
    // The send bar goes when the command is handled; the send's own call returns once the
    // queue pass that handled it has run dry, which an echo still arriving prolongs.
    if (!bar.empty())
        std::printf(", bar gone %.0f ms (worst %.0f)", Median(bar),
                    *std::max_element(bar.begin(), bar.end()));
    std::printf("\n");
}

// ---- the line while the user holds a modal loop open ------------------------------------------

// What the user holds open during a send, for HoldSeconds: the Edit menu dropped down, the menu
// bar left armed after one Esc, the About box, a message box of the program, the save dialog of
// File -> Save As (RTF)... and the open dialog of Settings -> Import from Profile....
enum TModal { mdMenuDropped, mdMenuArmed, mdAboutBox, mdMessageBox, mdSaveAsDialog, mdImportDialog };

double HoldSeconds = 5;

// A message box of the program, shown from a message the queue dispatches (as a command's box
// is), with the platform's box.
void CALLBACK ShowProgramBox(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    TDialogService* script = SetDialogService(nullptr);
    MessageDlg("A box of the program", mtInformation, TMsgDlgButtons{mbOK});
    SetDialogService(script);
}

bool WaitFor(const std::function<bool()>& done, double seconds)
{
    const double until = Now() + seconds;
    while (!done())
        if (Now() > until)
            return false;
        else
            Sleep(2);
    return true;
}

struct Gaps {
    bool held = false;          // the modal loop was up the whole time
    double longestMs = 0;       // the longest time with no byte on the line while it was
    double bytesPerSecond = 0;  // what came meanwhile
};

// One send of the file at 115,200 baud during which the user, a second after the start, holds
// What open; the send is then stopped. The longest gap of the line while it was held.
Gaps SendUnderModal(VirtualLine& line, TDialogScript& script, const std::string& path,
                    TSendKind kind, TModal what)
{
    ChooseFile(script, path);
    const DWORD mainThread = GetCurrentThreadId();
    const HWND form = Form1->Handle();
    const HWND about = AboutBox->Handle();
    const UINT aboutCommand = Form1->HelpAbout->Command();
    const UINT stopCommand = Form1->miStopSending->Command();
    const bool dialog = what == mdSaveAsDialog || what == mdImportDialog;
    const UINT dialogCommand = what == mdSaveAsDialog ? Form1->miFileSaveAs->Command()
                                                      : Form1->ImportfromProfile1->Command();
    std::vector<std::pair<double, size_t>> arrivals;
    std::atomic<bool> ended{false};
    std::atomic<double> heldFrom{0}, heldTo{0};
    Gaps gaps;
    std::thread device([&] {
        int quiet = 0;
        while (quiet < 50) {
            const std::string got = line.Read(1 << 16, 2ms);
            if (!got.empty()) arrivals.emplace_back(Now(), got.size());
            quiet = got.empty() && ended ? quiet + 1 : 0;
        }
    });
    std::thread user([&] {
        Sleep(1000);
        bool up = false;
        if (what == mdMenuDropped || what == mdMenuArmed) {
            qv::test::PostKey(form, 'E', true);
            up = WaitFor(
                [&] { return qv::test::VisibleWindowOfClass(mainThread, "#32768") != nullptr; },
                10);
            if (what == mdMenuArmed) {
                qv::test::PostKey(form, VK_ESCAPE, false);
                up = WaitFor(
                    [&] {
                        return !qv::test::VisibleWindowOfClass(mainThread, "#32768") &&
                               qv::test::InMenuLoop(mainThread);
                    },
                    10);
            }
        } else if (what == mdAboutBox) {
            PostMessageA(form, WM_COMMAND, aboutCommand, 0);
            up = WaitFor([&] { return IsWindowVisible(about) != 0; }, 10);
        } else if (dialog) {
            // The dialog's building counts: the time runs from the user's command.
            heldFrom = Now();
            PostMessageA(form, WM_COMMAND, dialogCommand, 0);
            up = WaitFor(
                [&] { return qv::test::VisibleWindowOfClass(mainThread, "#32770") != nullptr; },
                10);
        } else {
            up = WaitFor(
                [&] { return qv::test::VisibleWindowOfClass(mainThread, "#32770") != nullptr; },
                10);
        }
        if (!dialog) heldFrom = Now();
        Sleep(static_cast<DWORD>(std::max(0.0, heldFrom + HoldSeconds - Now()) * 1000));
        heldTo = Now();
        if (what == mdMenuDropped) up = up && qv::test::VisibleWindowOfClass(mainThread, "#32768");
        if (what == mdMenuArmed) up = up && qv::test::InMenuLoop(mainThread);
        if (what == mdAboutBox) up = up && IsWindowVisible(about);
        if (dialog) up = up && qv::test::VisibleWindowOfClass(mainThread, "#32770");
        gaps.held = up;
        if (what == mdMenuDropped || what == mdMenuArmed) {
            qv::test::PostKey(form, VK_ESCAPE, false);
            if (what == mdMenuDropped) qv::test::PostKey(form, VK_ESCAPE, false);
            WaitFor([&] { return !qv::test::InMenuLoop(mainThread); }, 10);
        } else if (what == mdAboutBox) {
            PostMessageA(about, WM_CLOSE, 0, 0);
            WaitFor([&] { return !IsWindowVisible(about); }, 10);
        } else if (HWND box = qv::test::VisibleWindowOfClass(mainThread, "#32770")) {
            PostMessageA(box, WM_COMMAND, dialog ? IDCANCEL : IDOK, 0);
            WaitFor([&] { return !qv::test::VisibleWindowOfClass(mainThread, "#32770"); }, 10);
        }
        PostMessageA(form, WM_COMMAND, stopCommand, 0);
    });
    if (what == mdMessageBox) SetTimer(nullptr, 0, 1000, ShowProgramBox);
    {
        std::unique_ptr<TPlatformDialogs> platform;
        if (dialog)
            platform = std::make_unique<TPlatformDialogs>(
                [](const TCommonDialog& d) { return &d == Form1->sendOpenDialog; });
        RunSend(kind, path);
    }
    user.join();
    ended = true;
    device.join();
    double last = heldFrom;
    size_t during = 0;
    for (const auto& [at, bytes] : arrivals) {
        if (at < heldFrom || at > heldTo) continue;
        gaps.longestMs = std::max(gaps.longestMs, (at - last) * 1e3);
        last = at;
        during += bytes;
    }
    gaps.longestMs = std::max(gaps.longestMs, (heldTo - last) * 1e3);
    gaps.bytesPerSecond = static_cast<double>(during) / (heldTo - heldFrom);
    return gaps;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) FileBytes = std::max<size_t>(1, std::strtoul(argv[1], nullptr, 10)) << 10;
    if (argc > 2) Rounds = std::max(1, std::atoi(argv[2]));
    if (argc > 3) CapSeconds = std::max(1.0, std::atof(argv[3]));
    Application->Initialize();
    VirtualLine line;
    TDialogScript script;
    std::string folder;
    if (!qv::bench::StartConnectedMainWindow(line, "filesend_bench", "", &folder)) return 1;
    // As the user picks it: a reconnect (after the disconnect case) keeps it.
    const auto setBaud = [](std::uint32_t baud) {
        const String text = std::to_string(baud);
        if (Form1->Baud->Items()->IndexOf(text) < 0) Form1->Baud->Items()->Add(text);
        Form1->Baud->SetItemIndex(Form1->Baud->Items()->IndexOf(text));
        Form1->BaudChange(Form1);
        return Form1->Comm1->BaudRate() == baud;
    };
    if (!setBaud(921600)) {
        std::printf("could not set 921600 baud\n");
        return 1;
    }

    const std::string path = folder + "\\random.bin";
    WriteFileBytes(path, RandomBytes(FileBytes));

    struct Case {
        std::string name;
        int mode;
        double echo;
        TSendKind kind;
        UINT command;  // 0: the cap's Stop
        std::uint32_t baud = 921600;
        bool dropBaud = false;  // to 9,600 during the send, then the command
        std::vector<Result> results = {};
        long heapBlocks = 0;
    };
    const char* modeNames[] = {"ASCII/Text", "Mixed", "Hex"};
    std::vector<Case> cases;
    for (int mode = 0; mode < 3; ++mode) {
        const std::string m = modeNames[mode];
        cases.push_back({"silent, " + m, mode, NoEcho, skMenu, 0});
        cases.push_back({"echo at once, full screen, " + m, mode, EchoAtOnce, skMenu, 0});
        cases.push_back({"echo 921600 paced, full screen, " + m, mode, 92160, skMenu, 0});
    }
    cases.push_back({"19200 baud, echo paced, full screen, Mixed", 1, 1920, skMenu, 0, 19200});
    cases.push_back({"macro send, silent, Mixed", 1, NoEcho, skMacro, 0});
    cases.push_back({"macro send, echo 921600 paced, Mixed", 1, 92160, skMacro, 0});
    cases.push_back({"Stop halfway, echo 921600 paced, Mixed", 1, 92160, skMenu,
                     Form1->miStopSending->Command()});
    cases.push_back({"disconnect halfway, echo 921600 paced, Mixed", 1, 92160, skMenu,
                     Form1->Disconnect1_mi->Command()});
    cases.push_back({"Stop 0.5 s after a drop to 9600 baud, silent, Mixed", 1, NoEcho, skMenu,
                     Form1->miStopSending->Command(), 921600, true});

    // Rounds interleave the cases, so a busy moment of the machine does not land on one alone.
    for (int round = 0; round < Rounds; ++round) {
        for (Case& c : cases) {
            setBaud(c.baud);
            FillScreen(line, c.mode);
            const long blocksBefore = qv::test::ProcessHeapCensus().busy;
            const Result r = TimedSend(line, script, path, c.echo, c.kind, c.command, c.dropBaud);
            // Blocks the send left in the process heap (where the rich edit control and the text
            // layout allocate), the screen as full as before.
            c.heapBlocks += qv::test::ProcessHeapCensus().busy - blocksBefore;
            c.results.push_back(r);
            // A line per send, as it ends (on stderr): a send that hangs shows where.
            std::fprintf(stderr, "%s: %lld bytes in %.2f s\n", c.name.c_str(),
                         static_cast<long long>(r.sent), r.seconds);
        }
    }

    std::printf("%zu KiB of random bytes at 921,600 baud (unless named), sends stopped after %.0f "
                "s, median of "
                "%d rounds:\n",
                FileBytes >> 10, CapSeconds, Rounds);
    for (Case& c : cases) Report(c.name, c.results, c.heapBlocks);

    // The line while the user holds a menu or a box open, at 115,200 baud (11,520 bytes/s).
    setBaud(115200);
    Application->CreateForm(AboutBox);
    std::printf("\nat 115,200 baud, a modal loop held open %.0f s during the send, median of %d "
                "rounds: the longest gap on the line while it was (worst), and the rate:\n",
                HoldSeconds, Rounds);
    const char* modalNames[] = {"menu dropped down", "menu bar armed after Esc", "About box",
                                "message box",       "Save As (RTF) dialog",     "Import dialog"};
    for (const TSendKind kind : {skMenu, skMacro}) {
        for (const TModal what : {mdMenuDropped, mdMenuArmed, mdAboutBox, mdMessageBox,
                                  mdSaveAsDialog, mdImportDialog}) {
            std::vector<double> longest, rate;
            bool held = true;
            for (int round = 0; round < Rounds; ++round) {
                FillScreen(line, 1);
                const Gaps g = SendUnderModal(line, script, path, kind, what);
                held = held && g.held;
                longest.push_back(g.longestMs);
                rate.push_back(g.bytesPerSecond);
            }
            std::printf("%-12s %-26s longest gap %6.0f ms (worst %6.0f)  %6.0f bytes/s%s\n",
                        kind == skMenu ? "Send File," : "macro file,", modalNames[what],
                        Median(longest), *std::max_element(longest.begin(), longest.end()),
                        Median(rate), held ? "" : "  (the loop was not held throughout!)");
        }
    }

    if (Connection.PortOpen) Form1->Connect_spbtnClick(Form1);
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    for (const char* name : {"\\random.bin", "\\quorvalink.ini"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
