// Byte transfer and queue counts between the port and the peer of its line.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "tests/comm/CommTestSupport.h"

using namespace commtest;
using qv::test::WaitUntil;

TEST(PortTransfer, WriteReachesPeerAndPeerBytesAreRead)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();

    std::string out(3000, '\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(i * 7);
    EXPECT_EQ(p.port->Write(out.data(), static_cast<unsigned long>(out.size())), 3000);
    EXPECT_EQ(p.line.ReadExactly(out.size(), 5s), out);

    std::string in = "\x00\x01\xff hello\r\n";
    in += std::string(1, '\0');
    p.line.Write(in);
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == static_cast<int>(in.size()); }));
    std::string got(in.size(), '?');
    EXPECT_EQ(p.port->Read(got.data(), static_cast<unsigned long>(got.size())),
              static_cast<int>(in.size()));
    EXPECT_EQ(got, in);
    EXPECT_EQ(p.port->InQueCount(), 0);
    EXPECT_EQ(p.port->OutQueCount(), 0);
}

TEST(PortTransfer, ReadOfZeroReturnsZeroAndLeavesQueue)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();
    p.line.Write("xy");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 2; }));
    char c = 0;
    EXPECT_EQ(p.port->Read(&c, 0), 0);
    EXPECT_EQ(p.port->InQueCount(), 2);
}

TEST(PortTransfer, PurgeInEmptiesInputQueue)
{
    PortOnLine p;
    p.port->SetMonitorEvents(TCommEventTypes());
    p.port->Open();
    p.line.Write("abc");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 3; }));
    p.port->PurgeIn();
    EXPECT_EQ(p.port->InQueCount(), 0);
    p.port->PurgeOut();
    EXPECT_EQ(p.port->OutQueCount(), 0);
}

namespace {
using TReadFile = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
TReadFile realReadFile = nullptr;
volatile LONG readsWaiting = 0;
BOOL WINAPI CountReadsThatWait(HANDLE Device, LPVOID Buffer, DWORD Count, LPDWORD Got,
                               LPOVERLAPPED Overlapped)
{
    const BOOL done = realReadFile(Device, Buffer, Count, Got, Overlapped);
    if (!done && GetLastError() == ERROR_IO_PENDING) InterlockedIncrement(&readsWaiting);
    return done;
}
}  // namespace

TEST(PortTransfer, PurgeInWithTheEventThreadDropsWhatCameAndKeepsWhatComesAfter)
{
    // The reader may have read the bytes ahead already, and has a read waiting for the next
    // one: the purge drops the first, and the byte the waiting read gets is kept.
    PortOnLine p;
    ApiPatch patch(&ReadFileSlot, reinterpret_cast<void*>(&CountReadsThatWait));
    realReadFile = reinterpret_cast<TReadFile>(patch.Original());
    readsWaiting = 0;
    p.port->Open();
    // A read that waits when the bytes come ends with the first of them: one that waits once
    // they are all read ahead started after them.
    ASSERT_TRUE(WaitUntil([&] { return readsWaiting > 0; }));
    const LONG waitingBefore = readsWaiting;
    p.line.Write("abc");
    ASSERT_TRUE(
        WaitUntil([&] { return p.port->InQueCount() == 3 && readsWaiting > waitingBefore; }));
    p.port->PurgeIn();
    EXPECT_EQ(p.port->InQueCount(), 0);
    p.line.Write("de");
    ASSERT_TRUE(WaitUntil([&] { return p.port->InQueCount() == 2; }));
    std::string got(2, '?');
    EXPECT_EQ(p.port->Read(got.data(), 2), 2);
    EXPECT_EQ(got, "de");
}

// A window busy for a while (a whole-screen load, a box) does not hold the device back: the
// bytes are read ahead meanwhile, far beyond what the line itself holds.
TEST(PortTransfer, BytesAreReadAheadWhileTheMainThreadTakesNoHandOver)
{
    PortOnLine p;
    struct Reader {
        TComm* port;
        std::string got;
        void RxChar(TObject*, DWORD Count)
        {
            std::string piece(Count, '\0');
            piece.resize(static_cast<size_t>(std::max(port->Read(piece.data(), Count), 0)));
            got += piece;
        }
    } reader{p.port.get(), {}};
    p.port->OnRxChar = TCommRxCharEvent(&reader, &Reader::RxChar);
    p.port->Open();
    std::string sent(600 * 1024, '\0');
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 13);
    std::atomic<bool> written{false};
    std::thread peer([&] {
        p.line.Write(sent);
        written = true;
    });
    // No message is pumped here: no hand-over reaches this thread until the peer is done.
    for (int i = 0; i < 400 && !written; ++i) Sleep(50);
    EXPECT_TRUE(written) << "the peer was held back";
    EXPECT_TRUE(WaitUntil([&] { return written && reader.got.size() == sent.size(); }, 30s));
    peer.join();
    EXPECT_TRUE(reader.got == sent);
}
