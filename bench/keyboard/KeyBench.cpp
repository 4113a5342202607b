// Key latency on the real main window and port: the time from a key message to the byte at the
// peer, and from the peer's echo of it to the byte on the screen, over many keys of ordinary
// typing (letters, digits, blanks, Enter) in every display mode. Median and 99th percentile.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "bench/support/BenchWindow.h"
#include "tests/support/DialogScript.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// What a user types: words, blanks, now and then Enter.
char KeyAt(int i)
{
    static const char text[] = "the quick brown fox jumps over 13 lazy dogs\r";
    return text[i % (sizeof text - 1)];
}

}  // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    const int keys = argc > 1 ? std::atoi(argv[1]) : 1000;

    qv::test::VirtualLine line;
    TDialogScript script;
    if (!qv::bench::StartConnectedMainWindow(line, "keybench")) return 1;
    HWND screen = Form1->reScreen->Handle();
    std::printf("key bench: %d keys per mode\n", keys);

    const char* names[] = {"ASCII/Text", "Mixed", "Hexadecimal"};
    for (int mode = 0; mode < 3; ++mode) {
        script.Answer(mrYes);
        if (mode == 0) Form1->mi_ASCIIModeClick(Form1);
        if (mode == 1) Form1->mi_MixedModeClick(Form1);
        if (mode == 2) Form1->mi_HexModeClick(Form1);
        Form1->FileNewClick(Form1);
        std::vector<double> toPeer, handled, toRead, toScreen;
        for (int i = 0; i < keys; ++i) {
            const char key = KeyAt(i);
            // The key: from its message to its byte at the peer.
            const Clock::time_point pressed = Clock::now();
            SendMessageA(screen, WM_CHAR, static_cast<unsigned char>(key), 0);
            handled.push_back(Milliseconds(Clock::now() - pressed));
            const std::string got = line.ReadExactly(1, std::chrono::seconds(2));
            toPeer.push_back(Milliseconds(Clock::now() - pressed));
            if (got.size() != 1 || got[0] != key) {
                std::printf("key %d did not arrive\n", i);
                return 1;
            }
            // The peer's echo: from its write to the byte on the screen.
            const std::int64_t in = Display.BytesIn;
            const Clock::time_point echoed = Clock::now();
            line.Write(got);
            // Read by the program (the port's event reached the window)...
            qv::test::WaitUntil([&] { return Display.BytesIn > in; }, std::chrono::seconds(2));
            toRead.push_back(Milliseconds(Clock::now() - echoed));
            // ... and either pasted at once or loaded by the display tick (which stops itself
            // once it has shown what was pending).
            const bool arrived = qv::test::WaitUntil(
                [&] { return Display.BytesIn > in && !Form1->Timer1->Enabled(); },
                std::chrono::seconds(2));
            toScreen.push_back(Milliseconds(Clock::now() - echoed));
            if (!arrived) {
                std::printf("echo %d did not reach the screen\n", i);
                return 1;
            }
        }
        std::printf("%-12s key to peer: median %6.2f ms  p99 %6.2f ms   echo to screen: median "
                    "%6.2f ms  p99 %6.2f ms\n",
                    names[mode], Percentile(toPeer, 0.5), Percentile(toPeer, 0.99),
                    Percentile(toScreen, 0.5), Percentile(toScreen, 0.99));
        std::printf("%-12s the key's handling in the window: median %6.2f ms  p99 %6.2f ms\n", "",
                    Percentile(handled, 0.5), Percentile(handled, 0.99));
        std::printf("%-12s the echo's read by the program: median %6.2f ms  p99 %6.2f ms\n", "",
                    Percentile(toRead, 0.5), Percentile(toRead, 0.99));
        std::fflush(stdout);
    }
    Form1->Comm1->Close();
    return 0;
}
