// What one wait for a received byte leaves behind in the process heap, through Wine and a
// virtual line: a thousand waits that find the byte already there, a thousand that wait for it,
// and a thousand reads of one byte that wait for it. Under Wine 8 each wait that had to wait
// leaves four heap blocks (4, 4, 40 and 128 bytes) for good, whatever the program does around
// it: a program that is told of every piece of a steady trickle of bytes grows by about 1 MiB a
// minute. A read that waits leaves nothing, so there the port's event thread reads the received
// bytes itself and keeps its wait for the other events (comm/CommEventThread.cpp).
//   tools/wine-run --build-dir=<build dir> bench/comm/wait_leak.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/ProcessHeap.h"
#include "tests/support/VirtualLine.h"

int main()
{
    qv::test::VirtualLine line;
    const std::string name = "\\\\.\\" + line.PortName();
    HANDLE port = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::printf("%s does not open (%lu)\n", name.c_str(), GetLastError());
        return 1;
    }
    SetCommMask(port, EV_RXCHAR);
    COMMTIMEOUTS timeouts = {};  // a read waits until its bytes have come
    SetCommTimeouts(port, &timeouts);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    constexpr int Waits = 1000;
    for (const bool byteFirst : {true, false}) {
        const auto before = qv::test::ProcessHeapCensus().busyBySize;
        int waited = 0;
        for (int i = 0; i < Waits; ++i) {
            if (byteFirst) {
                line.Write("a", 1);
                Sleep(2);  // the byte is in the port's queue before the wait starts
            }
            OVERLAPPED overlapped{};
            overlapped.hEvent = done;
            ResetEvent(done);
            DWORD mask = 0;
            if (!WaitCommEvent(port, &mask, &overlapped) && GetLastError() == ERROR_IO_PENDING) {
                ++waited;
                if (!byteFirst) line.Write("b", 1);
                WaitForSingleObject(done, 2000);
            }
            PurgeComm(port, PURGE_RXCLEAR);
        }
        std::printf("%d waits, %d of them waited:", Waits, waited);
        long total = 0;
        for (const auto& [size, count] : qv::test::ProcessHeapCensus().busyBySize) {
            const long grown = count - (before.count(size) ? before.at(size) : 0);
            if (grown >= Waits / 2) std::printf(" %ld blocks of %zu bytes", grown, size);
            total += grown;
        }
        std::printf(" (%+ld blocks in all)\n", total);
    }
    {
        const auto before = qv::test::ProcessHeapCensus().busy;
        int waited = 0;
        for (int i = 0; i < Waits; ++i) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = done;
            ResetEvent(done);
            char byte = 0;
            if (!ReadFile(port, &byte, 1, nullptr, &overlapped) &&
                GetLastError() == ERROR_IO_PENDING) {
                ++waited;
                line.Write("c", 1);
                WaitForSingleObject(done, 2000);
            }
        }
        std::printf("%d reads of one byte, %d of them waited: %+ld blocks in all\n", Waits, waited,
                    qv::test::ProcessHeapCensus().busy - before);
    }
    CloseHandle(done);
    CloseHandle(port);
    return 0;
}
