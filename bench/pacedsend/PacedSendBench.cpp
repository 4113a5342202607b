// Special Send File's pause after each byte, as the peer sees it: for each requested delay, a
// file of text lines (CR LF) is sent once through the real main window and the options dialog,
// and the peer stamps every byte's arrival; the gaps between bytes are reported beside the
// delay asked for (the pause is timed with a period of the delay less 1 ms).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/PacedSendOptions.h"
#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/win/Thread.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "bench/support/BenchWindow.h"
#include "tests/support/DialogScript.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using qv::test::VirtualLine;
using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t FileBytes = 250;

// The delay item the options dialog's next showing confirms, once it is up.
const char* pendingDelay = nullptr;

void CALLBACK ConfirmWhenShown(HWND, UINT, UINT_PTR Id, DWORD)
{
    if (!pendingDelay || !AdvSendFile_dlg->Modal() || !AdvSendFile_dlg->Visible()) return;
    TComboBox* list = AdvSendFile_dlg->InterchDly_index;
    // The list offers 0, 10, 20, ... ms: the shorter delays measured are added to it.
    if (list->Items()->IndexOf(pendingDelay) < 0) list->Items()->Add(pendingDelay);
    list->SetItemIndex(list->Items()->IndexOf(pendingDelay));
    AdvSendFile_dlg->SendFileLoop_sedt->SetValue(1);
    pendingDelay = nullptr;
    KillTimer(nullptr, Id);
    AdvSendFile_dlg->sbtnOK->Click();
}

std::string TextLines(size_t n)
{
    std::string s;
    for (int line = 0; s.size() < n; ++line)
        s += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\r\n";
    s.resize(n);
    return s;
}

// Reads until Expected bytes came or the line stays silent, stamping each byte's arrival.
class StampingPeer {
public:
    StampingPeer(VirtualLine& Line, size_t Expected)
    {
        thread_ = std::thread([this, &Line, Expected] {
            while (stamps_.size() < Expected) {
                // One byte a read: a larger read waits until it is full.
                if (Line.Read(1, 8000ms).empty()) break;
                stamps_.push_back(Clock::now());
            }
            done_ = true;
        });
    }
    std::vector<Clock::time_point> Finish()
    {
        qv::test::WaitUntil([&] { return done_.load(); }, 60s);
        thread_.join();
        return stamps_;
    }

private:
    std::vector<Clock::time_point> stamps_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main()
{
    Application->Initialize();
    VirtualLine line;
    TDialogScript script;
    std::string folder;
    if (!qv::bench::StartConnectedMainWindow(line, "pacedsend_bench", "", &folder)) return 1;
    Application->CreateForm(AdvSendFile_dlg);
    const std::string path = folder + "\\lines.txt";
    {
        const std::string text = TextLines(FileBytes);
        TFileStream file(path, fmCreate);
        file.WriteBuffer(text.data(), static_cast<int>(text.size()));
    }

    std::printf("%zu bytes of text lines per delay; gaps between bytes at the peer, in ms\n",
                FileBytes);
    std::printf("%10s %8s %8s %8s %8s %8s  %s\n", "requested", "mean", "median", "p95", "min",
                "max", "bytes");
    for (const char* delay : {"1", "2", "5", "20"}) {
        script.Clear();
        script.AnswerDialog([path](TCommonDialog& d) {
            static_cast<TOpenDialog&>(d).FileName = path;
            return true;
        });
        pendingDelay = delay;
        SetTimer(nullptr, 0, 10, ConfirmWhenShown);
        StampingPeer peer(line, FileBytes);
        Form1->miSpxSendFileBinaryClick(Form1);
        const std::vector<Clock::time_point> stamps = peer.Finish();
        std::vector<double> gaps;
        for (size_t i = 1; i < stamps.size(); ++i)
            gaps.push_back(
                std::chrono::duration<double, std::milli>(stamps[i] - stamps[i - 1]).count());
        if (gaps.empty()) {
            std::printf("%10s  no pause timed (%zu bytes arrived)%s%s\n", delay, stamps.size(),
                        script.Shown().size() > 1 ? ": " : "",
                        script.Shown().size() > 1 ? script.Last().Text.c_str() : "");
            continue;
        }
        double sum = 0;
        for (double g : gaps) sum += g;
        std::printf("%10s %8.2f %8.2f %8.2f %8.2f %8.2f  %zu\n", delay,
                    sum / static_cast<double>(gaps.size()), Percentile(gaps, 0.5),
                    Percentile(gaps, 0.95), Percentile(gaps, 0), Percentile(gaps, 1),
                    stamps.size());
    }

    Form1->Connect_spbtnClick(Form1);
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    DeleteFileA(path.c_str());
    DeleteFileA((folder + "\\quorvalink.ini").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
