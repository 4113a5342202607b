// Line events and line errors as a Win32 program sees them: WaitCommEvent ends with
// EV_CTS/EV_DSR/EV_RLSD/EV_RING/EV_BREAK/EV_ERR, and ClearCommError names each error.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "tests/bench/ProgramPort.h"
#include "tests/support/VirtualLine.h"

using namespace std::chrono_literals;
using qv::test::ProgramPort;
using qv::test::VirtualLine;

namespace {

constexpr DWORD AllLineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_BREAK | EV_ERR;

struct EventCase {
    const char* name;
    std::function<void(VirtualLine&)> act;
    DWORD event;
    DWORD commError;  // what ClearCommError reports afterwards (0: nothing)
};

}  // namespace

class LineEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(LineEvents, PeerActionEndsAPendingWaitCommEvent)
{
    const EventCase& c = GetParam();
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    ASSERT_TRUE(port.StartWait(AllLineEvents)) << GetLastError();
    ASSERT_TRUE(qv::test::WaitUntilWinePolls(line)) << "no line polls: is the line shim preloaded?";

    c.act(line);
    const DWORD events = port.AwaitEvents(5000ms);
    EXPECT_EQ(events & c.event, c.event) << "events 0x" << std::hex << events;
    EXPECT_EQ(events & ~c.event & AllLineEvents, 0u) << "events 0x" << std::hex << events;

    DWORD errors = 0xdeadbeef;
    COMSTAT stat = {};
    ASSERT_TRUE(ClearCommError(port.Handle(), &errors, &stat));
    EXPECT_EQ(errors, c.commError) << "errors 0x" << std::hex << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Peer, LineEvents,
    ::testing::Values(
        EventCase{"CtsUp", [](VirtualLine& l) { l.SetCts(true); }, EV_CTS, 0},
        EventCase{"DsrUp", [](VirtualLine& l) { l.SetDsr(true); }, EV_DSR, 0},
        EventCase{"DcdUp", [](VirtualLine& l) { l.SetDcd(true); }, EV_RLSD, 0},
        EventCase{"RingUp", [](VirtualLine& l) { l.SetRi(true); }, EV_RING, 0},
        EventCase{"Break", [](VirtualLine& l) { l.InjectBreak(); }, EV_BREAK, CE_BREAK},
        EventCase{"FrameError", [](VirtualLine& l) { l.InjectFrameError(); }, EV_ERR, CE_FRAME},
        EventCase{"ParityError", [](VirtualLine& l) { l.InjectParityError(); }, EV_ERR,
                  CE_RXPARITY},
        EventCase{"Overrun", [](VirtualLine& l) { l.InjectOverrun(); }, EV_ERR, CE_OVERRUN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineEventsDown, FallingInputsAreEventsToo)
{
    VirtualLine line;
    line.SetCts(true);
    line.SetDsr(true);
    line.SetDcd(true);
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    for (auto [drop, event] :
         {std::pair<void (VirtualLine::*)(bool), DWORD>{&VirtualLine::SetCts, EV_CTS},
          {&VirtualLine::SetDsr, EV_DSR},
          {&VirtualLine::SetDcd, EV_RLSD}}) {
        ASSERT_TRUE(port.StartWait(AllLineEvents)) << GetLastError();
        ASSERT_TRUE(qv::test::WaitUntilWinePolls(line));
        (line.*drop)(false);
        EXPECT_EQ(port.AwaitEvents(5000ms), event);
    }
}

TEST(LineEventsData, ArrivingByteEndsAWaitForRxChar)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    ASSERT_TRUE(port.StartWait(EV_RXCHAR | AllLineEvents)) << GetLastError();
    ASSERT_TRUE(qv::test::WaitUntilWinePolls(line));
    line.Write("A");
    EXPECT_EQ(port.AwaitEvents(5000ms), static_cast<DWORD>(EV_RXCHAR));
    EXPECT_EQ(port.Read(1, 1000), "A");
}

TEST(LineErrors, ClearCommErrorReportsEachErrorOnceAndAllTogether)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    line.InjectBreak();
    line.InjectFrameError();
    line.InjectParityError();
    line.InjectOverrun();
    DWORD errors = 0;
    COMSTAT stat = {};
    ASSERT_TRUE(ClearCommError(port.Handle(), &errors, &stat));
    EXPECT_EQ(errors, static_cast<DWORD>(CE_BREAK | CE_FRAME | CE_RXPARITY | CE_OVERRUN));
    ASSERT_TRUE(ClearCommError(port.Handle(), &errors, &stat));
    EXPECT_EQ(errors, 0u);
}

TEST(LineErrors, ClearCommErrorStillCountsTheQueues)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    line.Write("12345");
    line.InjectFrameError();
    DWORD errors = 0;
    COMSTAT stat = {};
    ASSERT_TRUE(qv::test::WaitUntil(
        [&] { return ClearCommError(port.Handle(), &errors, &stat) && stat.cbInQue == 5; }));
    EXPECT_EQ(port.ReadExactly(5, 5000ms), "12345");
}

// Wine 8 leaves ClearCommError's error flags empty; the shim's Wine-specific step
// (tools/lineshim/commstatus.c) fills them. This fails first when a Wine upgrade breaks it.
TEST(LineErrors, ShimClearCommErrorStepIsActiveUnderThisWine)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    DWORD status;
    ASSERT_TRUE(GetCommModemStatus(port.Handle(), &status))
        << "the line shim is not serving this port";
    EXPECT_TRUE(line.ClearCommErrorReportsErrors())
        << "tools/lineshim/commstatus.c found no syscall table entry to patch in this Wine's "
           "ntdll.so";
}
