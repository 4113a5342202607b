// The file send helpers: the port write watch (a patch of this executable's import of
// WriteFile), the peer's reader, and the checks of the window at rest.
#include "tests/support/FileSendHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "tests/support/WaitUntil.h"

extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");

namespace qv::test {

using namespace std::chrono_literals;

namespace {

// The watch's state: one watch at a time, written on the main thread only.
struct {
    void* real = nullptr;
    DWORD thread = 0;
    int refuseAfter = -1;
    bool shortWrites = false;
    HANDLE lastPort = nullptr;
    int count = 0;
    std::vector<std::pair<double, unsigned long>> writes;
    std::vector<TWriteSnapshot> states;
} watch;

bool SameState(const TWriteSnapshot& a, const TWriteSnapshot& b)
{
    return a.Status == b.Status && a.SendBarVisible == b.SendBarVisible &&
           a.EntryPaneVisible == b.EntryPaneVisible && a.ScreenEnabled == b.ScreenEnabled &&
           a.StopSendingVisible == b.StopSendingVisible &&
           a.SendFileVisible == b.SendFileVisible && a.Progress == b.Progress &&
           a.ProgressMax == b.ProgressMax;
}

bool IsPort(HANDLE h)
{
    // Asked once per handle: a megabyte's writes each asking the system would slow the send.
    if (h == watch.lastPort) return true;
    if (GetFileType(h) != FILE_TYPE_CHAR) return false;
    watch.lastPort = h;
    return true;
}

BOOL WINAPI WatchedWriteFile(HANDLE h, LPCVOID buffer, DWORD count, LPDWORD written,
                             LPOVERLAPPED overlapped)
{
    if (GetCurrentThreadId() == watch.thread && Form1 && IsPort(h)) {
        const TWriteSnapshot now{
            Display.StatusMessageText,        Form1->pnlSend->Visible(),
            Form1->pnlStringEntry->Visible(), Form1->reScreen->Enabled(),
            Form1->miStopSending->Visible(),  Form1->miSendFileBinary->Visible(),
            Form1->ProgressBar1->Position(),  Form1->ProgressBar1->Max()};
        if (watch.states.empty() || !SameState(watch.states.back(), now))
            watch.states.push_back(now);
        ++watch.count;
        watch.writes.emplace_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count(),
            count);
        if (watch.refuseAfter >= 0 && watch.count > watch.refuseAfter) {
            if (watch.shortWrites) {
                if (written) *written = 0;
                return TRUE;
            }
            SetLastError(ERROR_GEN_FAILURE);
            return FALSE;
        }
    }
    using Fn = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    return reinterpret_cast<Fn>(watch.real)(h, buffer, count, written, overlapped);
}

}  // namespace

PortWriteWatch::PortWriteWatch(int RefuseAfter, bool ShortWrites)
    : patch_(&WriteFileSlot, reinterpret_cast<void*>(&WatchedWriteFile))
{
    watch.real = patch_.Original();
    watch.thread = GetCurrentThreadId();
    watch.refuseAfter = RefuseAfter;
    watch.shortWrites = ShortWrites;
    watch.lastPort = nullptr;
    watch.count = 0;
    watch.writes.clear();
    watch.states.clear();
}

int PortWriteWatch::Count() const { return watch.count; }
const std::vector<std::pair<double, unsigned long>>& PortWriteWatch::Writes() const
{
    return watch.writes;
}
const std::vector<TWriteSnapshot>& PortWriteWatch::States() const { return watch.states; }

std::vector<std::string> PortWriteWatch::StatusTexts() const
{
    std::vector<std::string> texts;
    for (const auto& w : watch.states)
        if (texts.empty() || texts.back() != w.Status) texts.push_back(w.Status);
    return texts;
}

PeerReader::PeerReader(VirtualLine& Line, size_t Expected, size_t PostAt, UINT Command)
{
    HWND form = Form1->Handle();
    thread_ = std::thread([this, &Line, Expected, PostAt, Command, form] {
        // Every byte the program wrote is on the line once its send has returned: a short
        // silence after that is the end.
        int silentAfterEnd = 0;
        bool posted = false;
        const auto giveUp = std::chrono::steady_clock::now() + 240s;
        while (data_.size() < Expected && silentAfterEnd < 3 &&
               std::chrono::steady_clock::now() < giveUp) {
            const bool ended = sendEnded_;
            const std::string got = Line.Read(1 << 16, 200ms);
            silentAfterEnd = got.empty() && ended ? silentAfterEnd + 1 : 0;
            data_ += got;
            arrived_ = data_.size();
            if (PostAt != 0 && !posted && data_.size() >= PostAt) {
                PostMessageA(form, WM_COMMAND, Command, 0);
                posted = true;
            }
        }
    });
}

PeerReader::~PeerReader() { Finish(); }

bool PeerReader::WaitForMore(size_t Count, double Seconds) const
{
    const size_t until = arrived_ + Count;
    return WaitUntil([&] { return arrived_ >= until; },
                     std::chrono::milliseconds(static_cast<int>(Seconds * 1000)));
}

std::string PeerReader::Finish()
{
    sendEnded_ = true;
    if (thread_.joinable()) thread_.join();
    return data_;
}

TMenuHold HoldMenuWhileFed(const PeerReader& Peer, HWND Form, DWORD FormThread, size_t More,
                           double Seconds)
{
    TMenuHold hold;
    const auto within = std::chrono::milliseconds(static_cast<int>(Seconds * 1000));
    PostKey(Form, 'E', true);
    hold.Dropped = WaitUntil([&] { return MenuDroppedDown(FormThread); }, within);
    hold.FedDropped = Peer.WaitForMore(More, Seconds) && MenuDroppedDown(FormThread);
    PostKey(Form, VK_ESCAPE);
    hold.Armed =
        WaitUntil([&] { return !MenuDroppedDown(FormThread) && InMenuLoop(FormThread); }, within);
    hold.FedArmed =
        Peer.WaitForMore(More, Seconds) && InMenuLoop(FormThread) && !MenuDroppedDown(FormThread);
    PostKey(Form, VK_ESCAPE);
    hold.Left = WaitUntil([&] { return !InMenuLoop(FormThread); }, within);
    return hold;
}

std::string RandomBytes(size_t n)
{
    std::string s(n, '\0');
    std::uint32_t x = 2463534242u;
    for (auto& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return s;
}

std::string FileContents(const std::string& Path)
{
    TMemoryStream file;
    file.LoadFromFile(Path);
    return file.DataString();
}

void ExpectIdleWindow()
{
    EXPECT_EQ(Transfer.FileSend, nullptr);
    EXPECT_FALSE(Form1->pnlSend->Visible());
    EXPECT_EQ(Form1->ProgressBar1->Position(), 0);
    EXPECT_TRUE(Form1->pnlStringEntry->Visible());
    EXPECT_FALSE(Transfer.EntryPaneHidden);
    EXPECT_TRUE(Form1->miStringEntryPane->Enabled());
    EXPECT_TRUE(Form1->miSendFileBinary->Visible());
    EXPECT_TRUE(Form1->miSpxSendFileBinary->Visible());
    EXPECT_FALSE(Form1->miStopSending->Visible());
    EXPECT_TRUE(Form1->reScreen->Enabled());
}

}  // namespace qv::test
