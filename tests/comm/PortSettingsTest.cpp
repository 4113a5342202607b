// Line settings: the DCB really reaches the device (the program-side pty's termios), live
// setters rewrite it at once, equal values and closed-only setters do nothing while open.
#include <gtest/gtest.h>

#include "tests/comm/CommTestSupport.h"

using namespace commtest;
using qv::test::WaitUntil;

TEST(PortSettings, DcbOfOpenReachesDevice)
{
    PortOnLine p;
    p.port->SetBaudRate(19200);
    p.port->SetDataBits(db7);
    p.port->SetParity(paEven);
    p.port->SetStopBits(sb20);
    p.port->Open();
    auto t = p.line.ProgramTermios();
    EXPECT_EQ(t.baud, 19200u);
    EXPECT_EQ(t.dataBits, 7);
    EXPECT_EQ(t.parity, 'E');
    EXPECT_EQ(t.stopBits, 2);
    // No handshake of any kind is configured, whatever FlowControl says.
    EXPECT_FALSE(t.rtsCts);
    EXPECT_FALSE(t.xonXoffOut);
    EXPECT_FALSE(t.xonXoffIn);
}

TEST(PortSettings, LiveSettersRewriteDeviceAtOnce)
{
    PortOnLine p;
    p.port->Open();
    p.port->SetBaudRate(57600);
    EXPECT_EQ(p.line.ProgramTermios().baud, 57600u);
    p.port->SetDataBits(db6);
    EXPECT_EQ(p.line.ProgramTermios().dataBits, 6);
    p.port->SetParity(paOdd);
    EXPECT_EQ(p.line.ProgramTermios().parity, 'O');
    p.port->SetStopBits(sb20);
    EXPECT_EQ(p.line.ProgramTermios().stopBits, 2);
    p.port->SetFlowControl(fcCTS);
    EXPECT_FALSE(p.line.ProgramTermios().rtsCts);
}

TEST(PortSettings, EveryDcbWriteLowersDtrAndRtsButEqualValuesWriteNothing)
{
    PortOnLine p;
    p.port->Open();
    p.port->SetDTRState(true);
    p.port->SetRTSState(true);
    ASSERT_TRUE(WaitUntil([&] { return p.line.Dtr() && p.line.Rts(); }));

    p.port->SetBaudRate(9600);
    p.port->SetParity(paNone);
    p.port->SetOptions(TCommOptions());
    EXPECT_TRUE(p.line.Dtr());
    EXPECT_TRUE(p.line.Rts());

    p.port->SetBaudRate(4800);
    EXPECT_TRUE(WaitUntil([&] { return !p.line.Dtr() && !p.line.Rts(); }));

    // The DCB characters' setter writes the DCB too, without the lock.
    p.port->SetDTRState(true);
    ASSERT_TRUE(WaitUntil([&] { return p.line.Dtr(); }));
    p.port->EventChars()->SetErrorChar(0);
    EXPECT_TRUE(WaitUntil([&] { return !p.line.Dtr(); }));
}

TEST(PortSettings, ClosedOnlySettersAreIgnoredWhileOpen)
{
    PortOnLine p;
    p.port->Open();
    String name = p.port->DeviceName();
    p.port->SetDeviceName("COM99");
    p.port->SetReadBufSize(100);
    p.port->SetWriteBufSize(100);
    p.port->SetSuspendTime(77);
    p.port->SetMonitorEvents(TCommEventTypes{evRxChar});
    EXPECT_EQ(p.port->DeviceName(), name);
    EXPECT_EQ(p.port->ReadBufSize(), 4096);
    EXPECT_EQ(p.port->WriteBufSize(), 2048);
    EXPECT_EQ(p.port->SuspendTime(), 5u);
    EXPECT_EQ(p.port->MonitorEvents(), AllCommEvents);

    p.port->Close();
    p.port->SetReadBufSize(100);
    p.port->SetMonitorEvents(TCommEventTypes{evRxChar});
    EXPECT_EQ(p.port->ReadBufSize(), 100);
    EXPECT_EQ(p.port->MonitorEvents(), TCommEventTypes{evRxChar});
}

TEST(PortSettings, SettingsWrittenWhileClosedApplyAtNextOpen)
{
    PortOnLine p;
    p.port->Open();
    p.port->Close();
    p.port->SetBaudRate(38400);
    p.port->SetDataBits(db5);
    p.port->Open();
    auto t = p.line.ProgramTermios();
    EXPECT_EQ(t.baud, 38400u);
    EXPECT_EQ(t.dataBits, 5);
}

TEST(PortEventChars, AssignCopiesTheFiveCharactersWithoutTouchingThePort)
{
    PortOnLine p;
    p.port->Open();
    p.port->SetDTRState(true);
    ASSERT_TRUE(WaitUntil([&] { return p.line.Dtr(); }));

    TCommEventChars source(nullptr);
    source.SetXOnChar(1);
    source.SetXOffChar(2);
    source.SetErrorChar(3);
    source.SetEofChar(4);
    source.SetEvtChar(5);
    p.port->EventChars()->Assign(&source);
    EXPECT_EQ(p.port->EventChars()->XOnChar(), 1);
    EXPECT_EQ(p.port->EventChars()->XOffChar(), 2);
    EXPECT_EQ(p.port->EventChars()->ErrorChar(), 3);
    EXPECT_EQ(p.port->EventChars()->EofChar(), 4);
    EXPECT_EQ(p.port->EventChars()->EvtChar(), 5);
    // No DCB write happened: DTR is still raised.
    EXPECT_TRUE(p.line.Dtr());
}
