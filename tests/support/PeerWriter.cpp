// The peer's writing thread, and its end.
#include "tests/support/PeerWriter.h"

#include <algorithm>
#include <chrono>

#include "terminal/Main.h"
#include "tests/support/ReceiveScreen.h"
#include "tests/support/WaitUntil.h"

namespace qv::test {

using namespace std::chrono_literals;

void PeerWriter::Send(std::string Bytes)
{
    Stop();
    stop_ = false;
    done_ = false;
    thread_ = std::thread([this, bytes = std::move(Bytes)] {
        try {
            for (size_t i = 0; i < bytes.size() && !stop_; i += 4096)
                line_.Write(bytes.data() + i, std::min<size_t>(4096, bytes.size() - i));
        } catch (...) {
        }
        done_ = true;
    });
}

void PeerWriter::Stop()
{
    if (!thread_.joinable()) return;
    stop_ = true;
    if (!WaitUntil([&] { return done_.load(); }, 2s)) {
        if (Form1 && Form1->Comm1->Enabled()) Form1->Comm1->Close();
        DrainProgramSideUntil(line_.DevicePath(), done_);
    }
    thread_.join();
}

}  // namespace qv::test
