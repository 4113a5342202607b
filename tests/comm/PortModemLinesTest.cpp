// Modem lines and escape functions: the peer sees DTR, RTS and BREAK follow the port, and
// the port reports the peer's CTS, DSR, RI and DCD; the closed-port and refused cases.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/comm/CommTestSupport.h"

using namespace commtest;
using qv::test::WaitUntil;

TEST(PortModemLines, PeerSeesDtrRtsAndBreakFollowTheEscapeFunctions)
{
    PortOnLine p;
    p.port->Open();
    EXPECT_FALSE(p.line.Dtr());
    p.port->SetDTRState(true);
    EXPECT_TRUE(p.line.Dtr());
    p.port->SetRTSState(true);
    EXPECT_TRUE(p.line.Rts());
    p.port->SetDTRState(false);
    EXPECT_FALSE(p.line.Dtr());
    EXPECT_TRUE(p.line.Rts());
    p.port->SetRTSState(false);
    EXPECT_FALSE(p.line.Rts());
    p.port->SetBREAKState(true);
    EXPECT_TRUE(p.line.Break());
    p.port->SetBREAKState(false);
    EXPECT_FALSE(p.line.Break());
}

TEST(PortModemLines, ClosingDropsTheOutputs)
{
    PortOnLine p;
    p.port->Open();
    p.port->SetDTRState(true);
    p.port->SetRTSState(true);
    p.port->Close();
    EXPECT_TRUE(WaitUntil([&] { return !p.line.Dtr() && !p.line.Rts(); }));
}

TEST(PortModemLines, GetModemStateReportsThePeersInputs)
{
    PortOnLine p;
    p.port->Open();
    for (int line = 1; line <= 4; ++line) EXPECT_FALSE(p.port->GetModemState(line)) << line;
    p.line.SetCts(true);
    EXPECT_TRUE(p.port->GetModemState(1));
    EXPECT_FALSE(p.port->GetModemState(2));
    p.line.SetDsr(true);
    EXPECT_TRUE(p.port->GetModemState(2));
    p.line.SetRi(true);
    EXPECT_TRUE(p.port->GetModemState(3));
    p.line.SetDcd(true);
    EXPECT_TRUE(p.port->GetModemState(4));
    // Outside 1 to 4: false even with every line up.
    EXPECT_FALSE(p.port->GetModemState(0));
    EXPECT_FALSE(p.port->GetModemState(5));
    p.line.SetCts(false);
    EXPECT_FALSE(p.port->GetModemState(1));
}

TEST(PortModemLines, GetComStateOutOfRangeFallsBackToCtsHold)
{
    PortOnLine p;
    p.port->Open();
    bool ctsHold = p.port->GetComState(1);
    EXPECT_EQ(p.port->GetComState(0), ctsHold);
    EXPECT_EQ(p.port->GetComState(9), ctsHold);
    // No handshake is configured, so nothing holds the output.
    for (int flag = 1; flag <= 5; ++flag) EXPECT_FALSE(p.port->GetComState(flag)) << flag;
}

TEST(PortModemLines, BreakOnAndOffEachEmptyTheQueues)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();
    p.line.Write("abc");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 3; }));
    p.port->SetBREAKState(true);
    EXPECT_EQ(p.port->InQueCount(), 0);
    EXPECT_EQ(p.port->OutQueCount(), 0);

    p.line.Write("de");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 2; }));
    p.port->SetBREAKState(false);
    EXPECT_FALSE(p.line.Break());
    EXPECT_EQ(p.port->InQueCount(), 0);
}

TEST(PortModemLines, ClosedPortQueriesAreFalseAndSettersRaise)
{
    TComm port(nullptr);
    EXPECT_FALSE(port.GetModemState(1));
    EXPECT_FALSE(port.GetComState(1));
    const char* notOpen = "Port not open (Error: -1)";
    EXPECT_EQ(RaisedMessage([&] { port.SetDTRState(true); }), notOpen);
    EXPECT_EQ(RaisedMessage([&] { port.SetRTSState(false); }), notOpen);
    EXPECT_EQ(RaisedMessage([&] { port.SetBREAKState(true); }), notOpen);
    EXPECT_EQ(RaisedMessage([&] { port.SetXONState(true); }), notOpen);
    EXPECT_EQ(RaisedMessage([&] { port.EscapeComm(SETDTR); }), notOpen);
}

namespace {
BOOL WINAPI RefuseEscape(HANDLE, DWORD)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
}  // namespace

TEST(PortModemLines, RefusedEscapeRaisesWithSystemErrorAndFreesTheLock)
{
    PortOnLine p;
    p.port->Open();
    {
        ApiPatch patch(&EscapeCommFunctionSlot, reinterpret_cast<void*>(&RefuseEscape));
        EXPECT_EQ(RaisedMessage([&] { p.port->SetXONState(false); }),
                  "EscapeCommFunction failure (Error: 50)");
    }
    // Another thread can take the lock: it was released before the error left.
    std::atomic<bool> locked{false};
    std::thread other([&] {
        p.port->Lock();
        p.port->Unlock();
        locked = true;
    });
    bool ok = WaitUntil([&] { return locked.load(); }, 3s);
    if (ok)
        other.join();
    else
        other.detach();
    EXPECT_TRUE(ok);
}
