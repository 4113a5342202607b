// Macro script throughput on the real main window and port: a script of one-byte data items
// with no delay, run from the first node to the end while the peer reads; items per second
// and the main thread's CPU share over the run.
#include <windows.h>

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
#include "macros/TreeUtil.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "bench/support/BenchWindow.h"
#include "tests/support/DialogScript.h"
#include "tests/support/VirtualLine.h"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds(HANDLE Thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(Thread, &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

// What a script sends: the characters of text lines, each line ended by CR LF.
char ByteAt(int i)
{
    static const char text[] = "AT+CSQ\r\nREADING 42.7\r\n";
    return text[i % (sizeof text - 1)];
}

}  // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    const int items = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int passes = argc > 2 ? std::atoi(argv[2]) : 5;
    // "noecho": the sent bytes are counted, not shown, so the runner's own cost stands out
    // from the screen's.
    const bool echo = !(argc > 3 && std::string(argv[3]) == "noecho");

    qv::test::VirtualLine line;
    TDialogScript script;
    if (!qv::bench::StartConnectedMainWindow(
            line, "macrorunbench", echo ? "" : "[Display Section]\r\nSHOW_INPUT_ONLY=1\r\n"))
        return 1;

    // The start-up's notes on the short settings file are not the runner's.
    script.Clear();
    TTreeNodes& nodes = *Form1->TreeView->Items();
    auto* folderInfo = new TInfo;
    folderInfo->Kind = mkFolder;
    folderInfo->ID = NewRecordId();
    TTreeNode* top = nodes.AddObject(nullptr, "bench", folderInfo);
    for (int i = 0; i < items; ++i) {
        auto* info = new TInfo;
        info->Kind = mkDataString;
        info->LevelMark = '-';
        info->MacroData = std::string(1, ByteAt(i));
        info->OtherValue = "0";
        info->ID = NewRecordId();
        nodes.AddChildObject(top, "item", info);
    }
    std::printf("macro run bench: %d one-byte data items, 0 ms delay, %d passes, echo %s\n", items,
                passes, echo ? "on" : "off");

    HANDLE mainThread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    for (int pass = 0; pass < passes; ++pass) {
        Form1->FileNewClick(Form1);
        std::atomic<std::size_t> received{0};
        std::atomic<bool> stop{false};
        std::thread reader([&] {
            while (!stop && received < static_cast<std::size_t>(items))
                received += line.Read(4096, std::chrono::milliseconds(50)).size();
        });
        Form1->TreeView->SetSelected(top);
        const double cpuBefore = ThreadCpuSeconds(mainThread);
        const Clock::time_point start = Clock::now();
        Form1->Tr_SendScript_btnClick(Form1);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = ThreadCpuSeconds(mainThread) - cpuBefore;
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (received < static_cast<std::size_t>(items) && Clock::now() < deadline) Sleep(10);
        stop = true;
        reader.join();
        if (received != static_cast<std::size_t>(items) || !script.Shown().empty()) {
            std::printf("pass %d: %zu of %d bytes arrived, %zu messages\n", pass, received.load(),
                        items, script.Shown().size());
            for (const auto& shown : script.Shown()) std::printf("  %s\n", shown.Text.c_str());
            return 1;
        }
        std::printf("pass %d: %8.0f items/s  %7.1f ms  main thread CPU %5.1f %%\n", pass,
                    items / seconds, seconds * 1000, 100.0 * cpu / seconds);
        std::fflush(stdout);
    }
    CloseHandle(mainThread);
    FreeAllInfos(nodes);
    Form1->Comm1->Close();
    delete Form1;
    return 0;
}
