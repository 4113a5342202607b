// Modem lines on the virtual line, both ways: what the peer sets reaches
// GetCommModemStatus; what the program drives reaches the peer; closing drops it.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/bench/ProgramPort.h"
#include "tests/support/VirtualLine.h"

using namespace std::chrono_literals;
using qv::test::ProgramPort;
using qv::test::VirtualLine;

namespace {

DWORD ModemStatus(HANDLE h)
{
    DWORD status = 0xdeadbeef;
    EXPECT_TRUE(GetCommModemStatus(h, &status)) << GetLastError();
    return status;
}

}  // namespace

TEST(ModemLines, PeerInputsShowInGetCommModemStatus)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    EXPECT_EQ(ModemStatus(port.Handle()), 0u);

    line.SetCts(true);
    EXPECT_EQ(ModemStatus(port.Handle()), static_cast<DWORD>(MS_CTS_ON));
    line.SetDsr(true);
    EXPECT_EQ(ModemStatus(port.Handle()), static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON));
    line.SetRi(true);
    EXPECT_EQ(ModemStatus(port.Handle()), static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON | MS_RING_ON));
    line.SetDcd(true);
    EXPECT_EQ(ModemStatus(port.Handle()),
              static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON));

    line.SetCts(false);
    EXPECT_EQ(ModemStatus(port.Handle()), static_cast<DWORD>(MS_DSR_ON | MS_RING_ON | MS_RLSD_ON));
    line.SetDsr(false);
    line.SetRi(false);
    EXPECT_EQ(ModemStatus(port.Handle()), static_cast<DWORD>(MS_RLSD_ON));
    line.SetDcd(false);
    EXPECT_EQ(ModemStatus(port.Handle()), 0u);
}

struct OutputCase {
    const char* name;
    DWORD set, clear;
    bool qv::test::LineOutputs::*field;
};

class ModemOutputs : public ::testing::TestWithParam<OutputCase> {};

TEST_P(ModemOutputs, EscapeCommFunctionDrivesTheLineThePeerSees)
{
    const OutputCase c = GetParam();
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    EXPECT_FALSE(line.Outputs().*c.field);

    const auto changes = line.OutputChanges();
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), c.set)) << GetLastError();
    EXPECT_TRUE(line.Outputs().*c.field);
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), c.clear)) << GetLastError();
    EXPECT_FALSE(line.Outputs().*c.field);
    // a pulse is counted even when the peer looks only afterwards
    EXPECT_EQ(line.OutputChanges(), changes + 2);
    EXPECT_EQ(line.Outputs().dtr + line.Outputs().rts + line.Outputs().brk, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ModemOutputs,
    ::testing::Values(OutputCase{"Dtr", SETDTR, CLRDTR, &qv::test::LineOutputs::dtr},
                      OutputCase{"Rts", SETRTS, CLRRTS, &qv::test::LineOutputs::rts},
                      OutputCase{"Break", SETBREAK, CLRBREAK, &qv::test::LineOutputs::brk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModemLines, SetCommBreakAndClearCommBreakDriveBreak)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    ASSERT_TRUE(SetCommBreak(port.Handle()));
    EXPECT_TRUE(line.Break());
    ASSERT_TRUE(ClearCommBreak(port.Handle()));
    EXPECT_FALSE(line.Break());
}

TEST(ModemLines, DcbDtrAndRtsControlReachThePeer)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port.Handle(), &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(SetCommState(port.Handle(), &dcb)) << GetLastError();
    EXPECT_TRUE(line.Dtr());
    EXPECT_TRUE(line.Rts());
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(port.Handle(), &dcb)) << GetLastError();
    EXPECT_FALSE(line.Dtr());
    EXPECT_FALSE(line.Rts());
}

TEST(ModemLines, ClosingThePortDropsDtrRtsAndBreak)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), SETDTR));
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), SETRTS));
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), SETBREAK));
    // many requests later the lines are still up: Wine keeps the port's fd open meanwhile
    for (int i = 0; i < 20; i++) ModemStatus(port.Handle());
    EXPECT_TRUE(line.Dtr() && line.Rts() && line.Break());
    port.Close();
    const auto out = line.Outputs();
    EXPECT_FALSE(out.dtr);
    EXPECT_FALSE(out.rts);
    EXPECT_FALSE(out.brk);
}

TEST(ModemLines, OutputsStayUpThroughWaitsReadsAndWrites)
{
    // Only closing the port may drop them: Wine's other fd traffic must not look like a close.
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), SETDTR));
    ASSERT_TRUE(EscapeCommFunction(port.Handle(), SETRTS));
    ASSERT_TRUE(port.StartWait(EV_CTS | EV_RXCHAR));
    ASSERT_TRUE(qv::test::WaitUntilWinePolls(line));
    line.SetCts(true);
    EXPECT_EQ(port.AwaitEvents(5000ms), static_cast<DWORD>(EV_CTS));
    line.Write("in");
    EXPECT_EQ(port.ReadExactly(2, 5000ms), "in");
    ASSERT_TRUE(port.Write("out"));
    EXPECT_EQ(line.ReadExactly(3, 5000ms), "out");
    DWORD errors;
    COMSTAT stat;
    ASSERT_TRUE(ClearCommError(port.Handle(), &errors, &stat));
    EXPECT_TRUE(line.Dtr());
    EXPECT_TRUE(line.Rts());
}
