// TThread and Synchronize under Wine: the hand-over blocks the worker, runs on the main
// thread from any loop (a modal message box included), carries exceptions back to the
// worker, and survives a method that destroys the thread's owner.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>

#include "framework/Exceptions.h"
#include "framework/win/Thread.h"

namespace {

using Clock = std::chrono::steady_clock;

// Pumps messages on the main thread until the condition holds or the time runs out.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

// A worker whose Execute runs a test-supplied body; Run lets the body call Synchronize.
class Worker : public TThread {
public:
    explicit Worker(std::function<void(Worker&)> body) : body_(std::move(body)) {}
    // Every test waits for its worker before it goes; a never-started one is stopped by
    // the base class without running Execute.
    void Run(const TThreadMethod& m) { Synchronize(m); }
    void SetReturn(int v) { ReturnValue = v; }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(Worker&)> body_;
};

// Holds what a synchronized method saw.
struct Target : TObject {
    void Record()
    {
        calls++;
        threadId = GetCurrentThreadId();
    }
    void Fail() { throw Exception("Port not open (Error: %d)", -1); }
    std::atomic<int> calls{0};
    std::atomic<DWORD> threadId{0};
};

}  // namespace

TEST(Thread, CreatedSuspendedRunsOnResumeAndWaitForReturnsTheResult)
{
    std::atomic<bool> ran{false};
    Worker w([&](Worker& self) {
        ran = true;
        self.SetReturn(42);
    });
    w.SetPriority(tpHighest);
    EXPECT_EQ(w.Priority(), tpHighest);
    EXPECT_EQ(WaitForSingleObject(w.Handle(), 50), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(ran);
    w.Resume();
    EXPECT_EQ(w.WaitFor(), 42);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(w.Finished());
}

TEST(Thread, TerminateIsSeenByTheLoopInExecute)
{
    std::atomic<int> turns{0};
    Worker w([&](Worker& self) {
        while (!self.Terminated()) {
            turns++;
            Sleep(1);
        }
    });
    w.Resume();
    ASSERT_TRUE(PumpUntil([&] { return turns > 0; }));
    w.Terminate();
    w.WaitFor();
    EXPECT_TRUE(w.Terminated());
}

TEST(Synchronize, WorkerBlocksUntilTheMethodHasRunOnTheMainThread)
{
    Target t;
    std::atomic<int> seenAfter{-1};
    Worker w([&](Worker& self) {
        self.Run(TThreadMethod(&t, &Target::Record));
        seenAfter = t.calls.load();
    });
    w.Resume();
    ASSERT_TRUE(PumpUntil([&] { return seenAfter >= 0; }));
    EXPECT_EQ(seenAfter, 1);
    EXPECT_EQ(t.threadId, GetCurrentThreadId());
    EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
    w.WaitFor();
}

TEST(Synchronize, WaitForOnTheMainThreadServesPendingCalls)
{
    Target t;
    Worker w([&](Worker& self) {
        for (int i = 0; i < 3; ++i) self.Run(TThreadMethod(&t, &Target::Record));
    });
    w.Resume();
    w.WaitFor();  // would deadlock if waiting did not serve the worker's calls
    EXPECT_EQ(t.calls, 3);
}

TEST(Synchronize, CheckSynchronizeRunsCallsWithoutAMessageLoop)
{
    Target t;
    Worker w([&](Worker& self) { self.Run(TThreadMethod(&t, &Target::Record)); });
    w.Resume();
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (t.calls == 0 && Clock::now() < deadline) CheckSynchronize(20);
    EXPECT_EQ(t.calls, 1);
    w.WaitFor();
}

TEST(Synchronize, ExceptionInTheMethodIsRaisedAgainInTheWorker)
{
    Target t;
    String caught;
    std::atomic<bool> after{false};
    Worker w([&](Worker& self) {
        try {
            self.Run(TThreadMethod(&t, &Target::Fail));
        } catch (const Exception& e) {
            caught = e.Message;
        }
        after = true;
        self.Run(TThreadMethod(&t, &Target::Fail));  // escapes Execute: ends the thread
    });
    w.Resume();
    ASSERT_TRUE(PumpUntil([&] { return after.load(); }));
    w.WaitFor();
    EXPECT_EQ(caught, "Port not open (Error: -1)");
    ASSERT_TRUE(w.FatalException());
    EXPECT_THROW(std::rethrow_exception(w.FatalException()), Exception);
}

namespace {

const char* const boxTitle = "Synchronize modal test";

HWND FindBox() { return FindWindowA("#32770", boxTitle); }

struct BoxProbe : TObject {
    // Runs inside the message box's own loop: the box is up; close it from here.
    void Serve()
    {
        boxWasUp = FindBox() != nullptr;
        threadId = GetCurrentThreadId();
        PostMessageA(FindBox(), WM_COMMAND, IDOK, 0);
        served = true;
    }
    std::atomic<bool> boxWasUp{false};
    std::atomic<bool> served{false};
    std::atomic<DWORD> threadId{0};
};

}  // namespace

TEST(Synchronize, IsServedWhileTheMainThreadIsInsideAModalMessageBox)
{
    BoxProbe probe;
    std::atomic<bool> gaveUp{false};
    Worker w([&](Worker& self) {
        // Wait (bounded) for the box to appear, then hand over.
        auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!FindBox() && Clock::now() < deadline) Sleep(5);
        self.Run(TThreadMethod(&probe, &BoxProbe::Serve));
    });
    // A guard that closes the box should the hand-over never be served, so the test fails
    // instead of hanging.
    Worker guard([&](Worker& self) {
        auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!probe.served && !self.Terminated() && Clock::now() < deadline) Sleep(10);
        if (!probe.served && FindBox()) {
            gaveUp = true;
            PostMessageA(FindBox(), WM_COMMAND, IDOK, 0);
        }
    });
    w.Resume();
    guard.Resume();
    MessageBoxA(nullptr, "The worker's call must run while this box is open.", boxTitle, MB_OK);
    EXPECT_TRUE(probe.served);
    EXPECT_TRUE(probe.boxWasUp);
    EXPECT_FALSE(gaveUp);
    EXPECT_EQ(probe.threadId, GetCurrentThreadId());
    w.WaitFor();
    guard.Terminate();
    guard.WaitFor();
}

namespace {

// An owner of a self-freeing worker, as the port owns its event thread: the worker hands
// events to the owner's handler, and the owner stops the worker (without waiting) when it
// is destroyed.
class Owner;

class EventThread : public TThread {
public:
    TNotifyEvent OnEvent;
    std::atomic<bool>* freed = nullptr;
    ~EventThread() override
    {
        if (freed) *freed = true;
    }

protected:
    void Execute() override
    {
        while (!Terminated()) Synchronize(&EventThread::Deliver);
    }

private:
    void Deliver()
    {
        if (OnEvent) OnEvent(this);
    }
};

class Owner : public TObject {
public:
    Owner(int* destroyedCount, std::atomic<bool>* threadFreed) : destroyedCount_(destroyedCount)
    {
        thread_ = new EventThread;
        thread_->FreeOnTerminate = true;
        thread_->freed = threadFreed;
        thread_->OnEvent = TNotifyEvent(this, &Owner::Event);
        thread_->Resume();
    }
    ~Owner() override
    {
        thread_->OnEvent = nullptr;
        thread_->Terminate();
        ++*destroyedCount_;
    }
    void Event(TObject* Sender)
    {
        ++events;
        delete this;  // the handler closes the owner: e.g. the form holding the port goes away
    }
    int events = 0;

private:
    EventThread* thread_;
    int* destroyedCount_;
};

}  // namespace

TEST(Synchronize, MethodThatDeletesTheThreadsOwnerLetsTheThreadEndAndFreeItself)
{
    int destroyed = 0;
    std::atomic<bool> threadFreed{false};
    new Owner(&destroyed, &threadFreed);
    EXPECT_TRUE(PumpUntil([&] { return threadFreed.load(); }));
    EXPECT_EQ(destroyed, 1);
}

TEST(Synchronize, WaitingForAThreadFromInsideItsOwnMethodRaisesInsteadOfDeadlocking)
{
    struct Waiter : TObject {
        Worker* worker = nullptr;
        String message;
        void TryWait()
        {
            try {
                worker->WaitFor();
            } catch (const EThread& e) {
                message = e.Message;
            }
        }
    } waiter;
    Worker w([&](Worker& self) { self.Run(TThreadMethod(&waiter, &Waiter::TryWait)); });
    waiter.worker = &w;
    w.Resume();
    ASSERT_TRUE(PumpUntil([&] { return !waiter.message.empty(); }));
    EXPECT_EQ(waiter.message, "Cannot wait for a thread inside its own synchronized method");
    w.WaitFor();
}

TEST(Thread, OnTerminateRunsOnTheMainThreadAfterExecute)
{
    struct Listener : TObject {
        void Done(TObject* Sender)
        {
            threadId = GetCurrentThreadId();
            sender = Sender;
        }
        std::atomic<DWORD> threadId{0};
        TObject* sender = nullptr;
    } listener;
    Worker w([](Worker&) {});
    w.OnTerminate = TNotifyEvent(&listener, &Listener::Done);
    w.Resume();
    w.WaitFor();
    EXPECT_EQ(listener.threadId, GetCurrentThreadId());
    EXPECT_EQ(listener.sender, &w);
}

TEST(Thread, DeletingANeverStartedThreadDoesNotHang)
{
    std::atomic<bool> ran{false};
    auto* w = new Worker([&](Worker&) { ran = true; });
    delete w;
    EXPECT_FALSE(ran);
}
