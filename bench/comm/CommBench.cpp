// Port throughput in each direction and the latency from a byte written by the peer to
// OnRxChar on the main thread, measured through Wine and a virtual line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "comm/Comm.h"
#include "framework/win/Thread.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using qv::test::VirtualLine;
using qv::test::WaitUntil;

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[i];
}

constexpr size_t TransferBytes = 8u << 20;
constexpr int Runs = 5;

// Receives what the peer sends the way the terminal does: OnRxChar reads the queued count.
struct Receiver {
    TComm* port;
    size_t received = 0;
    double lastRxChar = 0;
    std::vector<char> buffer = std::vector<char>(1 << 16);
    void RxChar(TObject*, DWORD Count)
    {
        lastRxChar = Now();
        while (Count > 0) {
            DWORD n = std::min<DWORD>(Count, static_cast<DWORD>(buffer.size()));
            int got = port->Read(buffer.data(), n);
            if (got <= 0) break;
            received += static_cast<size_t>(got);
            Count -= static_cast<DWORD>(got);
        }
    }
};

// The peer reads until Expected bytes came (or nothing more comes for 2 s), counting them in
// Got; join the thread before reading Got.
std::thread CountAtPeer(VirtualLine& line, size_t Expected, size_t& Got)
{
    return std::thread([&line, Expected, &Got] {
        while (Got < Expected) {
            std::string s = line.Read(1 << 16, 2000ms);
            if (s.empty()) break;
            Got += s.size();
        }
    });
}

double SendRate(VirtualLine& line, TComm& port)
{
    std::vector<char> block(1 << 16, 'x');
    size_t peerGot = 0;
    std::thread peer = CountAtPeer(line, TransferBytes, peerGot);
    double start = Now();
    for (size_t sent = 0; sent < TransferBytes; sent += block.size())
        port.Write(block.data(), static_cast<unsigned long>(block.size()));
    peer.join();
    double elapsed = Now() - start;
    if (peerGot != TransferBytes)
        std::printf("  send: peer got %zu of %zu\n", peerGot, TransferBytes);
    return static_cast<double>(peerGot) / elapsed;
}

double ReceiveRate(VirtualLine& line, Receiver& receiver)
{
    receiver.received = 0;
    std::string block(1 << 16, 'y');
    double start = Now();
    std::thread peer([&] {
        for (size_t sent = 0; sent < TransferBytes; sent += block.size()) line.Write(block);
    });
    bool done = WaitUntil([&] { return receiver.received >= TransferBytes; }, 60s);
    double elapsed = Now() - start;
    peer.join();
    if (!done) std::printf("  receive: got %zu of %zu\n", receiver.received, TransferBytes);
    return static_cast<double>(receiver.received) / elapsed;
}

// The same transfer read by polling the queue on the main thread, without the event thread:
// what the device path alone allows.
double PolledReceiveRate(VirtualLine& line, TComm& port)
{
    std::vector<char> buffer(1 << 16);
    std::string block(1 << 16, 'p');
    size_t received = 0;
    double start = Now();
    std::thread peer([&] {
        for (size_t sent = 0; sent < TransferBytes; sent += block.size()) line.Write(block);
    });
    double deadline = start + 60;
    while (received < TransferBytes && Now() < deadline) {
        int queued = port.InQueCount();
        if (queued <= 0) {
            SwitchToThread();
            continue;
        }
        unsigned long n = static_cast<unsigned long>(std::min<int>(queued, 1 << 16));
        int got = port.Read(buffer.data(), n);
        if (got > 0) received += static_cast<size_t>(got);
    }
    double elapsed = Now() - start;
    peer.join();
    return static_cast<double>(received) / elapsed;
}

void Report(const char* what, std::vector<double> rates)
{
    std::printf("%-34s median %7.2f MB/s  (min %.2f, max %.2f, %d runs of %zu MiB)\n", what,
                Percentile(rates, 0.5) / 1e6, *std::min_element(rates.begin(), rates.end()) / 1e6,
                *std::max_element(rates.begin(), rates.end()) / 1e6, static_cast<int>(rates.size()),
                TransferBytes >> 20);
}

}  // namespace

int main()
{
    InitSynchronize();
    VirtualLine line;
    TComm port(nullptr);
    port.SetDeviceName(line.DevicePath());
    port.SetBaudRate(115200);
    if (const unsigned long error = port.Open()) {
        std::printf("cannot open %s (error %lu)\n", line.DevicePath().c_str(), error);
        return 1;
    }
    Receiver receiver{&port};
    port.OnRxChar = TCommRxCharEvent(&receiver, &Receiver::RxChar);

    std::vector<double> send, receive;
    for (int run = 0; run < Runs; ++run) send.push_back(SendRate(line, port));
    for (int run = 0; run < Runs; ++run) receive.push_back(ReceiveRate(line, receiver));
    Report("program -> peer (Write)", send);
    Report("peer -> program (OnRxChar + Read)", receive);

    // One byte at a time, each after the previous one has been handled.
    std::vector<double> latency;
    for (int i = 0; i < 1000; ++i) {
        qv::test::PumpMessages();
        size_t before = receiver.received;
        double written = Now();
        line.Write("z");
        if (!WaitUntil([&] { return receiver.received > before; }, 2s)) {
            std::printf("byte %d never arrived\n", i);
            break;
        }
        latency.push_back((receiver.lastRxChar - written) * 1e6);
    }
    if (!latency.empty())
        std::printf("peer write -> OnRxChar on main thread: median %.0f us, p99 %.0f us"
                    " (%zu bytes)\n",
                    Percentile(latency, 0.5), Percentile(latency, 0.99), latency.size());

    // A file sent the way the terminal sends it: one byte per write, the main thread's
    // messages (the event hand-overs among them) run after each.
    {
        constexpr size_t Bytes = 5000;
        size_t peerGot = 0;
        std::thread peer = CountAtPeer(line, Bytes, peerGot);
        double start = Now();
        for (size_t i = 0; i < Bytes; ++i) {
            char c = 'w';
            port.Write(&c, 1);
            qv::test::PumpMessages();
        }
        peer.join();
        std::printf("program -> peer, one byte per write: %.0f bytes/s (peer got %zu of %zu)\n",
                    static_cast<double>(peerGot) / (Now() - start), peerGot, Bytes);
    }
    port.Close();

    port.SetMonitorEvents(TCommEventTypes());
    port.Open();
    std::vector<double> polled;
    for (int run = 0; run < Runs; ++run) polled.push_back(PolledReceiveRate(line, port));
    Report("peer -> program (polled Read)", polled);
    port.Close();
    return 0;
}
