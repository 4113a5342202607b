// The selection handler's cost per call on a full screen: the main window in Hexadecimal mode
// with 200 lines of 88 characters received from the peer (random bytes, past the line limit, so
// the records were trimmed), the handler run for a caret at the end (as after every shortened
// rebuild), a cell's two digits, a whole line and the whole screen, with the gutter hidden and
// shown. Median and 99th percentile.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
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

constexpr int Columns = 88;
constexpr int Lines = 200;

double Microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// The handler's time per call with the screen's selection at From..To.
void Measure(const char* What, int From, int To, int Calls)
{
    HWND screen = Form1->reScreen->Handle();
    SendMessageA(screen, EM_SETSEL, From, To);
    std::vector<double> times;
    for (int i = 0; i < Calls; ++i) {
        const Clock::time_point start = Clock::now();
        Form1->reScreenSelectionChange(Form1->reScreen);
        times.push_back(Microseconds(Clock::now() - start));
    }
    std::printf("%-22s median %8.1f us   p99 %8.1f us   (%s | %s)\n", What, Percentile(times, 0.5),
                Percentile(times, 0.99), Display.CaretInfoText.c_str(),
                Display.ByteInfoText.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    const int calls = argc > 1 ? std::atoi(argv[1]) : 2000;

    qv::test::VirtualLine line;
    TDialogScript script;
    if (!qv::bench::StartConnectedMainWindow(
            line, "inspectorbench",
            "[Display Section]\r\nDISPLAY_MODE=2\r\nCOLUMNS=" + std::to_string(Columns) +
                "\r\nLINES=" + std::to_string(Lines) + "\r\nAUTO_ADJUST_COLS=0\r\n"))
        return 1;

    // A screen and a half of random bytes: the last 200 lines stay.
    std::mt19937 random(42);
    std::string bytes(static_cast<size_t>(Columns / 4 * Lines * 3 / 2), '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    for (size_t i = 0; i < bytes.size(); i += 1024)
        line.Write(bytes.substr(i, std::min<size_t>(1024, bytes.size() - i)));
    const bool shown = qv::test::WaitUntil(
        [&] {
            return Display.BytesIn >= static_cast<std::int64_t>(bytes.size()) &&
                   !Form1->Timer1->Enabled() && Form1->Comm1->InQueCount() <= 0;
        },
        std::chrono::seconds(30));
    if (!shown) {
        std::printf("the screen did not fill\n");
        return 1;
    }
    HWND screen = Form1->reScreen->Handle();
    const int lineCount = static_cast<int>(SendMessageA(screen, EM_GETLINECOUNT, 0, 0));
    const int end = GetWindowTextLengthA(screen);
    const int middle = static_cast<int>(SendMessageA(screen, EM_LINEINDEX, lineCount / 2, 0));
    std::printf("inspector bench: %d lines, %d characters, %d calls each\n", lineCount, end, calls);

    // The gutter as the program starts (hidden), then shown: every call draws its numbers.
    for (const bool gutter : {false, true}) {
        Form1->PanelLine->SetVisible(gutter);
        std::printf("gutter %s\n", gutter ? "shown" : "hidden");
        Measure("caret at the end", end, end, calls);
        Measure("a cell's two digits", middle + 5, middle + 7, calls);
        Measure("a whole line", middle, middle + Columns, calls);
        Measure("the whole screen", 0, -1, calls / 10);
    }

    Form1->Comm1->Close();
    return 0;
}
