// What the file send and capture tests share: the main window connected to the harness's line in
// Hexadecimal mode with the entry pane shown, a send through the menu, the bytes it sent, and
// the file send helpers.
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/FileSendHelpers.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

namespace filesend_test {

using namespace std::chrono_literals;

using qv::test::ExpectIdleWindow;
using qv::test::FileContents;
using qv::test::PeerReader;
using qv::test::PortWriteWatch;
using qv::test::RandomBytes;
using qv::test::TWriteSnapshot;
using qv::test::WaitForBytesIn;

class FileSendTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        Start(2, 70);
        Form1->pnlStringEntry->SetVisible(true);
        outBefore_ = Display.BytesOut;
    }

    void SendFileThroughMenu(const std::string& Path)
    {
        ChooseFile(Path);
        Form1->miSendFileBinaryClick(Form1);
    }
    std::int64_t BytesSent() const { return Display.BytesOut - outBefore_; }

private:
    std::int64_t outBefore_ = 0;
};

}  // namespace filesend_test
