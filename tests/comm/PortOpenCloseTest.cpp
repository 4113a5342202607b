// Opening and closing the port: by name, the refusals that are not exceptions, the errors
// that are, a port that is never left open after a failed Open, and no leaks over many cycles.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "framework/win/Ownership.h"
#include "framework/win/Thread.h"
#include "tests/comm/CommTestSupport.h"

using namespace commtest;
using qv::test::WaitUntil;

namespace {

BOOL WINAPI FailWithInvalidParameter3(HANDLE, DWORD, DWORD)
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL WINAPI FailWithNotSupported2(HANDLE, void*)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

// A driver that never answers: the event thread's last call to the device, on its way out,
// does not return until the test lets it go; the device's answer then is kept.
HANDLE purgeLetGo = nullptr;
void* realPurgeComm = nullptr;
std::atomic<int> lateAnswer{0};  // 1: the device answered the late call, 2: it refused it

BOOL WINAPI PurgeStuckOffTheMainThread(HANDLE Handle, DWORD Flags)
{
    using Fn = BOOL(WINAPI*)(HANDLE, DWORD);
    const Fn real = reinterpret_cast<Fn>(realPurgeComm);
    if (GetCurrentThreadId() == MainThreadID()) return real(Handle, Flags);
    WaitForSingleObject(purgeLetGo, 60000);
    const BOOL done = real(Handle, Flags);
    lateAnswer = done ? 1 : 2;
    return done;
}

}  // namespace

TEST(PortOpen, OpensByNameAndClosesAgain)
{
    PortOnLine p;
    EXPECT_FALSE(p.port->Enabled());
    p.port->Open();
    EXPECT_TRUE(p.port->Enabled());
    p.port->Close();
    EXPECT_FALSE(p.port->Enabled());
    // No sharing: a second open succeeds only if the first handle was really closed.
    p.port->Open();
    EXPECT_TRUE(p.port->Enabled());
}

TEST(PortOpen, OpenOnOpenPortRaisesAndChangesNothing)
{
    PortOnLine p;
    p.port->Open();
    p.line.Write("a");
    EXPECT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 1; }));

    const char* alreadyOpen = "Port already assigned (open) (Error: -1)";
    EXPECT_EQ(RaisedMessage([&] { p.port->Open(); }), alreadyOpen);
    EXPECT_EQ(RaisedMessage([&] { p.port->CheckOpen(); }), alreadyOpen);
    EXPECT_TRUE(p.port->Enabled());
    EXPECT_EQ(p.port->InQueCount(), 1);
    char c = 0;
    EXPECT_EQ(p.port->Read(&c, 1), 1);
    EXPECT_EQ(c, 'a');
}

TEST(PortOpen, MissingDeviceLeavesPortClosedAndReturnsTheSystemError)
{
    TComm port(nullptr);
    port.SetDeviceName(qv::test::UnmappedDevicePath);
    unsigned long error = 0;
    EXPECT_NO_THROW(error = port.Open());
    EXPECT_EQ(error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(port.Enabled());
    EXPECT_NO_THROW(port.CheckOpen());
}

TEST(PortOpen, OrdinaryFileIsNoPort)
{
    char dir[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "qvc", 0, path);
    TComm port(nullptr);
    port.SetDeviceName(path);
    unsigned long error = 0;
    EXPECT_NO_THROW(error = port.Open());
    EXPECT_EQ(error, static_cast<unsigned long>(ERROR_BAD_DEVICE));
    EXPECT_FALSE(port.Enabled());
    // Closed again: the file can be deleted.
    EXPECT_TRUE(DeleteFileA(path));
}

TEST(PortOpen, ClosedPortReportsMinusOneAndIgnoresClosePurge)
{
    TComm port(nullptr);
    char buffer[4] = {};
    EXPECT_EQ(port.Write(buffer, 4), -1);
    EXPECT_EQ(port.Read(buffer, 4), -1);
    EXPECT_EQ(port.InQueCount(), -1);
    EXPECT_EQ(port.OutQueCount(), -1);
    EXPECT_NO_THROW(port.Close());
    EXPECT_NO_THROW(port.PurgeIn());
    EXPECT_NO_THROW(port.PurgeOut());
}

TEST(PortClose, AnEventThreadStuckInTheDriverNeitherHangsCloseNorLosesItsDevice)
{
    PortOnLine p;
    p.port->Open();
    ASSERT_TRUE(p.port->Enabled());
    // The thread is in its loop, waiting on the device (it polls the lines meanwhile).
    const std::uint32_t polls = p.line.LinePolls();
    ASSERT_TRUE(WaitUntil([&] { return p.line.LinePolls() > polls + 2; }));
    const TOwnedHandle letGo(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const TOwnedHandle closed(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    purgeLetGo = letGo.Get();
    lateAnswer = 0;
    ApiPatch patch(&PurgeCommSlot, reinterpret_cast<void*>(&PurgeStuckOffTheMainThread));
    realPurgeComm = patch.Original();
    // A Close that waits for the thread would wait for ever: the call is let go after a while
    // anyway, so that such a Close fails the test instead of hanging it.
    std::atomic<bool> closeWaitedForTheDriver{false};
    std::thread rescue([&] {
        if (WaitForSingleObject(closed.Get(), 30000) != WAIT_OBJECT_0)
            closeWaitedForTheDriver = true;
        SetEvent(letGo.Get());
    });
    p.port->Close();
    SetEvent(closed.Get());
    rescue.join();
    EXPECT_FALSE(closeWaitedForTheDriver);
    EXPECT_FALSE(p.port->Enabled());
    // Once the driver answers, the thread's call still reaches the device it was made for.
    EXPECT_TRUE(WaitUntil([] { return lateAnswer != 0; }, 10s));
    EXPECT_EQ(lateAnswer, 1);
}

// ---- a failed Open never leaves the port open ------------------------------------------

TEST(PortOpenFailure, SetupCommFailureRaisesWithPortClosedAndNoThread)
{
    PortOnLine p;
    int threadsBefore = ThreadCount();
    {
        ApiPatch patch(&SetupCommSlot, reinterpret_cast<void*>(&FailWithInvalidParameter3));
        EXPECT_EQ(RaisedMessage([&] { p.port->Open(); }),
                  "Error initializing Read/Write Buffers (Error: 87)");
    }
    EXPECT_FALSE(p.port->Enabled());
    EXPECT_EQ(ThreadCount(), threadsBefore);
    char c = 'x';
    EXPECT_EQ(p.port->Write(&c, 1), -1);
    // The device was closed, so it opens again.
    p.port->Open();
    EXPECT_TRUE(p.port->Enabled());
}

TEST(PortOpenFailure, TimeoutOrDcbWriteFailureRaisesWithPortClosed)
{
    PortOnLine p;
    {
        ApiPatch patch(&SetCommTimeoutsSlot, reinterpret_cast<void*>(&FailWithNotSupported2));
        EXPECT_EQ(RaisedMessage([&] { p.port->Open(); }),
                  "Error updating CommTimeouts (Error: 50)");
    }
    EXPECT_FALSE(p.port->Enabled());
    {
        ApiPatch patch(&SetCommStateSlot, reinterpret_cast<void*>(&FailWithNotSupported2));
        EXPECT_EQ(RaisedMessage([&] { p.port->Open(); }),
                  "Error updating DataControlBlock (Error: 50)");
    }
    EXPECT_FALSE(p.port->Enabled());
    p.port->Open();
    EXPECT_TRUE(p.port->Enabled());
}

// ---- no leaks ----------------------------------------------------------------------------

TEST(PortCycles, TwoHundredOpenCloseCyclesWithTrafficLeakNothing)
{
    PortOnLine p;
    DWORD received = 0;
    struct Sink {
        TComm* port;
        DWORD* received;
        void RxChar(TObject*, DWORD Count)
        {
            char buffer[256];
            int n = port->Read(buffer, Count < sizeof(buffer) ? Count : sizeof(buffer));
            if (n > 0) *received += static_cast<DWORD>(n);
        }
    } sink{p.port.get(), &received};
    p.port->OnRxChar = TCommRxCharEvent(&sink, &Sink::RxChar);

    auto cycle = [&] {
        p.port->Open();
        ASSERT_TRUE(p.port->Enabled());
        char out[16] = "0123456789abcde";
        ASSERT_EQ(p.port->Write(out, 15), 15);
        p.line.Write("ping");
        DWORD before = received;
        ASSERT_TRUE(WaitUntil([&] { return received >= before + 4; }, 3s));
        p.port->Close();
        ASSERT_EQ(p.line.ReadExactly(15, 3s).size(), 15u);
    };
    // The first cycles create what the process keeps for good (Wine's lazily made objects).
    for (int i = 0; i < 3; ++i) cycle();
    if (HasFatalFailure()) return;
    int threads = ThreadCount();
    int handles = HandleCount();
    ASSERT_GT(handles, 0);

    for (int i = 0; i < 200; ++i) {
        cycle();
        if (HasFatalFailure()) return;
    }
    // The event thread frees itself after Close, so the count taken above may still hold the
    // last cycle's thread on its way out: a leak shows as more, never as fewer.
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threads; }, 3s))
        << "threads " << ThreadCount() << " vs " << threads;
    // A leak per cycle shows as 200 more; Wine may still make one of its own lazy objects
    // after the first cycles (seen once on a loaded machine: 41 against 40).
    EXPECT_TRUE(WaitUntil([&] { return HandleCount() <= handles + 4; }, 3s))
        << "handles " << HandleCount() << " vs " << handles;
}
