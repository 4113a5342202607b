// Data through the virtual line, both ways and byte-exact, several lines at once, the
// unmapped port, and the DCB as it reaches the program side's pty.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "tests/bench/ProgramPort.h"
#include "tests/support/VirtualLine.h"

using namespace std::chrono_literals;
using qv::test::ProgramPort;
using qv::test::VirtualLine;

namespace {

std::string EveryByteValue()
{
    std::string s;
    for (int i = 0; i < 256; i++) s.push_back(static_cast<char>(i));
    return s;
}

std::string PseudoRandomBlock(std::size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 23);
    }
    return s;
}

}  // namespace

TEST(VirtualLineData, PortNamesAreInTheBenchRange)
{
    VirtualLine line;
    EXPECT_GE(line.PortNumber(), 10);
    EXPECT_LE(line.PortNumber(), 32);
    EXPECT_EQ(line.PortName(), "COM" + std::to_string(line.PortNumber()));
    EXPECT_EQ(line.DevicePath(), "\\\\.\\" + line.PortName());
}

TEST(VirtualLineData, EveryByteValueCrossesBothWaysUnchanged)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    const std::string bytes = EveryByteValue() + "\r\n\n\r\x11\x13\x03\x1a";
    line.Write(bytes);
    EXPECT_EQ(port.ReadExactly(bytes.size(), 5000ms), bytes);
    ASSERT_TRUE(port.Write(bytes));
    EXPECT_EQ(line.ReadExactly(bytes.size(), 5000ms), bytes);
}

TEST(VirtualLineData, BytesSentBeforeTheProgramOpensArriveAfterwards)
{
    VirtualLine line;
    line.Write("early");
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    EXPECT_EQ(port.ReadExactly(5, 5000ms), "early");
}

TEST(VirtualLineData, LargeBlockFromProgramArrivesExactly)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    const std::string block = PseudoRandomBlock(512 * 1024, 7);
    std::string received;
    std::thread peer([&] { received = line.ReadExactly(block.size(), 20000ms); });
    EXPECT_TRUE(port.Write(block));
    peer.join();
    ASSERT_EQ(received.size(), block.size());
    EXPECT_TRUE(received == block);
}

TEST(VirtualLineData, LargeBlockFromPeerArrivesExactly)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    const std::string block = PseudoRandomBlock(512 * 1024, 11);
    std::thread peer([&] { line.Write(block); });
    const std::string received = port.ReadExactly(block.size(), 20000ms);
    peer.join();
    ASSERT_EQ(received.size(), block.size());
    EXPECT_TRUE(received == block);
}

TEST(VirtualLineData, PeerReadTimesOutEmptyWhenNothingIsSent)
{
    VirtualLine line;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(line.Read(10, 200ms), "");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
}

TEST(VirtualLineData, SeveralLinesInOneProcessAreSeparate)
{
    VirtualLine a, b, c;
    EXPECT_NE(a.PortName(), b.PortName());
    EXPECT_NE(b.PortName(), c.PortName());
    EXPECT_NE(a.PortName(), c.PortName());
    ProgramPort pa(a.DevicePath()), pb(b.DevicePath()), pc(c.DevicePath());
    ASSERT_TRUE(pa.IsOpen() && pb.IsOpen() && pc.IsOpen());
    ASSERT_TRUE(pa.Write("to a"));
    ASSERT_TRUE(pb.Write("to b"));
    ASSERT_TRUE(pc.Write("to c"));
    EXPECT_EQ(c.ReadExactly(4, 5000ms), "to c");
    EXPECT_EQ(a.ReadExactly(4, 5000ms), "to a");
    EXPECT_EQ(b.ReadExactly(4, 5000ms), "to b");
    EXPECT_EQ(a.Read(10, 50ms), "");
}

TEST(VirtualLinePorts, UnmappedPortFailsToOpenWithFileNotFound)
{
    ProgramPort port(qv::test::UnmappedDevicePath);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OpenError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(VirtualLinePorts, RemovedLineIsNoLongerAPort)
{
    std::string device;
    {
        VirtualLine line;
        device = line.DevicePath();
        ProgramPort port(device);
        EXPECT_TRUE(port.IsOpen()) << port.OpenError();
    }
    ProgramPort port(device);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OpenError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

struct DcbCase {
    DWORD baud;
    BYTE byteSize;
    BYTE parity;
    BYTE stopBits;
    char expectParity;
    int expectStopBits;
};

class VirtualLineTermios : public ::testing::TestWithParam<DcbCase> {};

TEST_P(VirtualLineTermios, DcbReachesTheProgramSidePty)
{
    const DcbCase c = GetParam();
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port.Handle(), &dcb));
    dcb.BaudRate = c.baud;
    dcb.ByteSize = c.byteSize;
    dcb.Parity = c.parity;
    dcb.StopBits = c.stopBits;
    dcb.fBinary = TRUE;
    ASSERT_TRUE(SetCommState(port.Handle(), &dcb)) << GetLastError();

    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, c.baud);
    EXPECT_EQ(t.dataBits, c.byteSize);
    EXPECT_EQ(t.parity, c.expectParity);
    EXPECT_EQ(t.stopBits, c.expectStopBits);

    // and the program reads back what it set, as from a real UART
    DCB back = {};
    back.DCBlength = sizeof back;
    ASSERT_TRUE(GetCommState(port.Handle(), &back));
    EXPECT_EQ(back.BaudRate, c.baud);
    EXPECT_EQ(back.ByteSize, c.byteSize);
    EXPECT_EQ(back.Parity, c.parity);
    EXPECT_EQ(back.StopBits, c.stopBits);
}

INSTANTIATE_TEST_SUITE_P(Settings, VirtualLineTermios,
                         ::testing::Values(DcbCase{9600, 8, NOPARITY, ONESTOPBIT, 'N', 1},
                                           DcbCase{19200, 7, EVENPARITY, TWOSTOPBITS, 'E', 2},
                                           DcbCase{115200, 8, ODDPARITY, ONESTOPBIT, 'O', 1},
                                           DcbCase{1200, 7, MARKPARITY, ONESTOPBIT, 'M', 1},
                                           DcbCase{57600, 6, SPACEPARITY, TWOSTOPBITS, 'S', 2},
                                           DcbCase{300, 5, NOPARITY, ONESTOPBIT, 'N', 1}));

TEST(VirtualLineTermiosFlow, HardwareAndSoftwareFlowControlReachThePty)
{
    VirtualLine line;
    ProgramPort port(line.DevicePath());
    ASSERT_TRUE(port.IsOpen()) << port.OpenError();
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port.Handle(), &dcb));
    dcb.BaudRate = 38400;
    dcb.fOutxCtsFlow = TRUE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    ASSERT_TRUE(SetCommState(port.Handle(), &dcb)) << GetLastError();
    qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_TRUE(t.rtsCts);
    EXPECT_TRUE(t.xonXoffOut);
    EXPECT_TRUE(t.xonXoffIn);

    dcb.fOutxCtsFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    ASSERT_TRUE(SetCommState(port.Handle(), &dcb)) << GetLastError();
    t = line.ProgramTermios();
    EXPECT_FALSE(t.rtsCts);
    EXPECT_FALSE(t.xonXoffOut);
    EXPECT_FALSE(t.xonXoffIn);
}
