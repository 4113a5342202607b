// Event delivery: the dispatch order of a combined mask, events arriving on the main thread
// through the line, exceptions from handlers, closing from a handler, a wait that fails at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/gui/Application.h"
#include "tests/comm/CommTestSupport.h"
#include "tests/support/ProcessHeap.h"

using namespace commtest;
using qv::test::WaitUntil;

namespace {

// Records every handler call of one port as "Name" or "Name:value", with a "|" after each
// OnComStatEvent (the end of one dispatch), and checks they all ran on this thread.
struct Recorder {
    explicit Recorder(TThreadComm& Port) : port(Port)
    {
        port.OnBreak = TNotifyEvent(this, &Recorder::Break);
        port.OnCts = TNotifyEvent(this, &Recorder::Cts);
        port.OnDsr = TNotifyEvent(this, &Recorder::Dsr);
        port.OnError = TCommErrorEvent(this, &Recorder::Error);
        port.OnRing = TNotifyEvent(this, &Recorder::Ring);
        port.OnRlsd = TNotifyEvent(this, &Recorder::Rlsd);
        port.OnRxChar = TCommRxCharEvent(this, &Recorder::RxChar);
        port.OnRxFlag = TNotifyEvent(this, &Recorder::RxFlag);
        port.OnTxEmpty = TNotifyEvent(this, &Recorder::TxEmpty);
        port.OnComStatEvent = TCommStatEvent(this, &Recorder::ComStat);
    }
    void Note(TObject* Sender, const std::string& What)
    {
        if (Sender != &port) wrongSender = true;
        if (GetCurrentThreadId() != mainThread) wrongThread = true;
        calls.push_back(What);
    }
    void Break(TObject* S) { Note(S, "Break"); }
    void Cts(TObject* S) { Note(S, "Cts"); }
    void Dsr(TObject* S) { Note(S, "Dsr"); }
    void Error(TObject* S, int Errors) { Note(S, "Error:" + std::to_string(Errors)); }
    void Ring(TObject* S) { Note(S, "Ring"); }
    void Rlsd(TObject* S) { Note(S, "Rlsd"); }
    void RxChar(TObject* S, DWORD Count)
    {
        Note(S, "RxChar:" + std::to_string(Count));
        if (readOnRxChar) {
            std::string buffer(Count, '\0');
            port.Read(buffer.data(), Count);
            received += buffer;
        }
        if (closeOnRxChar) port.Close();
        if (throwOnRxChar) {
            throwOnRxChar = false;
            throw Exception(String("handler failed"));
        }
    }
    void RxFlag(TObject* S) { Note(S, "RxFlag"); }
    void TxEmpty(TObject* S) { Note(S, "TxEmpty"); }
    void ComStat(TObject* S, DWORD Status, COMSTAT ComStat)
    {
        Note(S, "ComStat:" + std::to_string(Status) + "/" + std::to_string(ComStat.cbInQue));
        ++dispatches;
    }
    bool Saw(const std::string& Prefix) const
    {
        for (auto& c : calls)
            if (c.rfind(Prefix, 0) == 0) return true;
        return false;
    }

    TThreadComm& port;
    DWORD mainThread = GetCurrentThreadId();
    std::vector<std::string> calls;
    std::string received;
    int dispatches = 0;
    bool readOnRxChar = true;
    bool closeOnRxChar = false;
    bool throwOnRxChar = false;
    bool wrongSender = false;
    bool wrongThread = false;
};

// Wine compares line levels against a snapshot taken when a wait starts: a change made
// before the event thread waits again would go unseen, so tests wait for Wine's polls.
bool WaitUntilThreadWaits(const qv::test::VirtualLine& Line)
{
    std::uint32_t polls = Line.LinePolls();
    return WaitUntil([&] { return Line.LinePolls() > polls + 2; });
}

std::vector<std::string> Expected(std::initializer_list<const char*> Names)
{
    return std::vector<std::string>(Names.begin(), Names.end());
}

// Every dispatch, combined or not, ran its handlers in the table's order, ComStat last.
void ExpectEveryDispatchInTableOrder(const std::vector<std::string>& Calls)
{
    const std::vector<std::string> order = {"Break", "Cts",    "Dsr",    "Error",   "Ring",
                                            "Rlsd",  "RxChar", "RxFlag", "TxEmpty", "ComStat"};
    auto rank = [&](const std::string& call) {
        for (size_t i = 0; i < order.size(); ++i)
            if (call.rfind(order[i], 0) == 0) return static_cast<int>(i);
        return -1;
    };
    int last = -1;
    for (auto& call : Calls) {
        int k = rank(call);
        EXPECT_GT(k, last) << ::testing::PrintToString(Calls);
        last = call.rfind("ComStat", 0) == 0 ? -1 : k;
    }
}

}  // namespace

TEST(PortDispatch, CombinedMaskFiresHandlersInFixedOrderWithValuesReadOnce)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());  // nothing from the thread: only our calls
    p.port->Open();
    p.line.Write("abc");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 3; }));
    Recorder r(*p.port);
    // The handler empties the queue: later handlers still get the values read before.
    p.port->HandleCommEvent(nullptr, 0x1FF);
    EXPECT_EQ(r.calls, Expected({"Break", "Cts", "Dsr", "Error:0", "Ring", "Rlsd", "RxChar:3",
                                 "RxFlag", "TxEmpty", "ComStat:511/3"}));
    EXPECT_EQ(r.received, "abc");
    EXPECT_FALSE(r.wrongSender);
}

TEST(PortDispatch, RxCharOnlyWithBytesQueuedAndComStatAlways)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();
    Recorder r(*p.port);
    p.port->HandleCommEvent(nullptr, EV_RXCHAR | EV_TXEMPTY);
    EXPECT_EQ(r.calls, Expected({"TxEmpty", "ComStat:5/0"}));

    TComm bare(nullptr);
    bare.SetDeviceName(p.line.DevicePath());
    p.port->Close();
    bare.SetMonitorEvents(TCommEventTypes());
    bare.Open();
    int statCalls = 0;
    struct OnlyStat {
        int* count;
        void ComStat(TObject*, DWORD, COMSTAT) { ++*count; }
    } onlyStat{&statCalls};
    bare.OnComStatEvent = TCommStatEvent(&onlyStat, &OnlyStat::ComStat);
    bare.HandleCommEvent(nullptr, EV_BREAK | EV_ERR);
    bare.HandleCommEvent(nullptr, 0);
    EXPECT_EQ(statCalls, 2);
}

TEST(PortEvents, LineEventsArriveOnMainThreadInTableOrder)
{
    PortOnLine p;
    p.port->Open();
    Recorder r(*p.port);
    ASSERT_TRUE(WaitUntilThreadWaits(p.line)) << "no wait pending";
    p.line.Write("a");
    ASSERT_TRUE(WaitUntil([&] { return r.received == "a"; }));
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.SetCts(true);
    p.line.InjectBreak();
    EXPECT_TRUE(WaitUntil([&] { return r.Saw("Cts") && r.Saw("Break"); }))
        << ::testing::PrintToString(r.calls);
    EXPECT_FALSE(r.wrongThread);
    EXPECT_FALSE(r.wrongSender);
    ExpectEveryDispatchInTableOrder(r.calls);
}

TEST(PortEvents, BytesReadAheadGoWithTheNextLineEvent)
{
    PortOnLine p;
    p.port->Open();
    Recorder r(*p.port);

    // A byte still queued when CTS and a break come arrives in one mask with them, as a look
    // at the device's queue would find it: the handler leaves it unread.
    r.readOnRxChar = false;
    ASSERT_TRUE(WaitUntilThreadWaits(p.line)) << "no wait pending";
    p.line.Write("a");
    ASSERT_TRUE(WaitUntil([&] { return r.Saw("RxChar"); }));
    p.line.SetCts(true);
    p.line.InjectBreak();
    auto sawCombined = [&] {
        std::vector<std::string> dispatch;
        for (const std::string& call : r.calls) {
            dispatch.push_back(call.substr(0, call.find(':')));
            if (dispatch.back() == "ComStat") {
                if (dispatch == Expected({"Break", "Cts", "RxChar", "ComStat"})) return true;
                dispatch.clear();
            }
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(sawCombined)) << ::testing::PrintToString(r.calls);
    ExpectEveryDispatchInTableOrder(r.calls);
    char left = 0;
    EXPECT_EQ(p.port->Read(&left, 1), 1);
    EXPECT_EQ(left, 'a');
}

TEST(PortEvents, ModemLineChangesRaiseTheirEvents)
{
    PortOnLine p;
    p.port->Open();
    Recorder r(*p.port);
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.SetDsr(true);
    EXPECT_TRUE(WaitUntil([&] { return r.Saw("Dsr"); }));
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.SetDcd(true);
    EXPECT_TRUE(WaitUntil([&] { return r.Saw("Rlsd"); }));
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.SetRi(true);
    EXPECT_TRUE(WaitUntil([&] { return r.Saw("Ring"); }));
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.InjectFrameError();
    EXPECT_TRUE(WaitUntil([&] { return r.Saw("Error"); }));
    if (p.line.ClearCommErrorReportsErrors())
        EXPECT_TRUE(r.Saw("Error:" + std::to_string(CE_FRAME)))
            << ::testing::PrintToString(r.calls);
    EXPECT_FALSE(r.wrongThread);
}

TEST(PortEvents, EmptyMonitorEventsDeliversNothing)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();
    Recorder r(*p.port);
    p.line.Write("data");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 4; }));
    qv::test::PumpMessages();
    EXPECT_EQ(r.dispatches, 0);
}

// ---- exceptions from handlers ------------------------------------------------------------

namespace {
struct ShownErrors {
    std::vector<std::string> messages;
    void Show(TObject*, Exception& E) { messages.push_back(E.Message); }
};
}  // namespace

TEST(PortEvents, HandlerExceptionIsShownAndDeliveryGoesOn)
{
    PortOnLine p;
    p.port->Open();
    Recorder r(*p.port);
    ShownErrors shown;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = TExceptionEvent(&shown, &ShownErrors::Show);

    r.throwOnRxChar = true;
    p.line.Write("1");
    EXPECT_TRUE(WaitUntil([&] { return shown.messages.size() == 1; }));
    p.line.Write("2");
    EXPECT_TRUE(WaitUntil([&] { return r.received == "12"; })) << r.received;
    Application->OnException = saved;
    EXPECT_EQ(shown.messages, Expected({"handler failed"}));
    EXPECT_FALSE(r.wrongThread);
}

namespace {
struct ClosingDisplay {
    TComm* port;
    int shown = 0;
    void Show(TObject*, Exception&)
    {
        ++shown;
        port->Close();
    }
};
}  // namespace

TEST(PortEvents, ClosingFromTheExceptionDisplayDoesNotDeadlock)
{
    // A real display is a modal box whose loop may run the Disconnect button: the thread
    // is still inside its hand-over then.
    PortOnLine p;
    int threads = ThreadCount();
    p.port->Open();
    Recorder r(*p.port);
    ClosingDisplay display{p.port.get()};
    TExceptionEvent saved = Application->OnException;
    Application->OnException = TExceptionEvent(&display, &ClosingDisplay::Show);
    r.readOnRxChar = false;
    r.throwOnRxChar = true;
    p.line.Write("1");
    bool closed = WaitUntil([&] { return display.shown == 1 && !p.port->Enabled(); });
    Application->OnException = saved;
    EXPECT_TRUE(closed);
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads; }));
}

// ---- closing from a handler --------------------------------------------------------------

TEST(PortEvents, ClosingInsideRxCharReturnsAndNothingIsDeliveredAfterwards)
{
    PortOnLine p;
    int threads = ThreadCount();
    p.port->Open();
    Recorder r(*p.port);
    r.readOnRxChar = false;
    r.closeOnRxChar = true;
    p.line.Write("x");
    ASSERT_TRUE(WaitUntil([&] { return !p.port->Enabled(); }));
    // The rest of that dispatch still runs, and finds the port closed.
    EXPECT_EQ(r.calls, Expected({"RxChar:1", "ComStat:1/1"}));
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads; }));

    r.calls.clear();
    p.line.Write("more");
    p.line.SetCts(true);
    // Reopen and confirm a new thread delivers; nothing of the old one arrived in between.
    r.closeOnRxChar = false;
    r.readOnRxChar = true;
    qv::test::PumpMessages();
    EXPECT_TRUE(r.calls.empty());
    p.port->Open();
    p.line.Write("again");
    EXPECT_TRUE(WaitUntil([&] { return r.received.find("again") != std::string::npos; }));
}

TEST(PortEvents, ClosingAndReopeningInsideHandlerKeepsNewThreadAlive)
{
    PortOnLine p;
    p.port->Open();
    struct Reopener {
        TComm* port;
        int calls = 0;
        std::string received;
        void RxChar(TObject*, DWORD Count)
        {
            std::string buffer(Count, '\0');
            port->Read(buffer.data(), Count);
            received += buffer;
            if (++calls == 1) {
                port->Close();
                port->Open();
            }
        }
    } reopener{p.port.get(), 0, {}};
    p.port->OnRxChar = TCommRxCharEvent(&reopener, &Reopener::RxChar);
    p.line.Write("a");
    ASSERT_TRUE(WaitUntil([&] { return reopener.calls == 1; }));
    // The old thread leaves without purging the new handle: these bytes survive.
    p.line.Write("b");
    EXPECT_TRUE(WaitUntil([&] { return reopener.received == "ab"; })) << reopener.received;
}

TEST(PortEvents, BytesArrivingOneByOneLeaveTheProcessHeapAsItWas)
{
    // A device that prints a line now and then: each piece arrives while the thread waits.
    // Under Wine every wait that has to wait leaves four blocks behind, and the pinned blocks
    // slowed every allocation of the program over minutes.
    PortOnLine p;
    p.port->Open();
    Recorder r(*p.port);
    auto receiveOne = [&](int i) {
        const size_t before = r.received.size();
        p.line.Write(std::string(1, static_cast<char>('a' + i % 26)));
        return WaitUntil([&] { return r.received.size() == before + 1; });
    };
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(receiveOne(i));
    const long blocks = qv::test::ProcessHeapCensus().busy;
    constexpr int Pieces = 300;
    for (int i = 0; i < Pieces; ++i) ASSERT_TRUE(receiveOne(i));
    // Room for a lazily made object of Wine's; the waits left about 400 here.
    EXPECT_LE(qv::test::ProcessHeapCensus().busy - blocks, 20);
    EXPECT_EQ(r.received.size(), 20u + Pieces);
}

TEST(PortEvents, CloseWhileAHandOverWaitsForTheMainThreadDeliversNothing)
{
    PortOnLine p;
    int threads = ThreadCount();
    p.port->Open();
    Recorder r(*p.port);
    ASSERT_TRUE(WaitUntilThreadWaits(p.line));
    p.line.Write("x");
    // Without pumping messages: the thread hands the byte over and waits for the main
    // thread; its request arrives here as a posted message.
    DWORD start = GetTickCount();
    MSG message;
    while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && GetTickCount() - start < 5000) {}
    ASSERT_EQ(p.port->InQueCount(), 1);
    p.port->Close();
    EXPECT_FALSE(p.port->Enabled());
    qv::test::PumpMessages();
    EXPECT_TRUE(r.calls.empty()) << ::testing::PrintToString(r.calls);
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads; }));
}

// ---- a wait that fails at once -----------------------------------------------------------

namespace {
volatile LONG waitCalls = 0;
// As Wine answers a wait for modem lines on a line that has none: tried again for good.
BOOL WINAPI FailAtOnce(HANDLE, LPDWORD, LPOVERLAPPED)
{
    InterlockedIncrement(&waitCalls);
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
// As Windows answers every wait on an unplugged USB adapter.
BOOL WINAPI FailAsRemoved(HANDLE, LPDWORD, LPOVERLAPPED)
{
    InterlockedIncrement(&waitCalls);
    SetLastError(ERROR_DEVICE_REMOVED);
    return FALSE;
}
BOOL WINAPI SucceedWithEmptyMask(HANDLE, LPDWORD Mask, LPOVERLAPPED)
{
    InterlockedIncrement(&waitCalls);
    *Mask = 0;
    return TRUE;
}
}  // namespace

TEST(PortEvents, WaitFailingAtOnceBacksOffInsteadOfSpinning)
{
    void* fakes[] = {reinterpret_cast<void*>(&FailAtOnce),
                     reinterpret_cast<void*>(&SucceedWithEmptyMask)};
    for (void* fake : fakes) {
        PortOnLine p;
        Recorder r(*p.port);
        int threads = ThreadCount();
        ApiPatch patch(&WaitCommEventSlot, fake);
        waitCalls = 0;
        p.port->Open();
        DWORD start = GetTickCount();
        ASSERT_TRUE(WaitUntil([&] { return waitCalls >= 6; }));
        DWORD elapsed = GetTickCount() - start;
        // Five pauses at the least between six tries; a spinning loop takes microseconds.
        EXPECT_GE(elapsed, 40u);
        EXPECT_EQ(r.dispatches, 0);
        p.port->Close();
        EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads; }));
    }
}

TEST(PortEvents, WaitsFailingAsARemovedDeviceDoTellTheLossOnceAndStop)
{
    PortOnLine p;
    Recorder r(*p.port);
    std::vector<int> losses;
    struct LossNote {
        std::vector<int>* losses;
        void Lost(TObject*, int Error) { losses->push_back(Error); }
    } note{&losses};
    p.port->OnDeviceLost = TCommErrorEvent(&note, &LossNote::Lost);
    ApiPatch patch(&WaitCommEventSlot, reinterpret_cast<void*>(&FailAsRemoved));
    waitCalls = 0;
    p.port->Open();
    ASSERT_TRUE(WaitUntil([&] { return !losses.empty(); }));
    const LONG calls = waitCalls;
    qv::test::WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(losses, std::vector<int>{ERROR_DEVICE_REMOVED});
    EXPECT_EQ(waitCalls, calls) << "the gone device was still asked";
    EXPECT_TRUE(p.port->Enabled()) << "closing is the handler's to do";
    p.port->Close();
}
