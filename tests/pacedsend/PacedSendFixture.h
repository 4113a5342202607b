// What the special send tests share: the main window connected to the harness's line as for a
// file send, the options dialog created beside it, answers to its modal showings given from inside
// the modal loop (a one-shot timer sets the controls and presses a button), so no test blocks,
// and the file send helpers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/PacedSendOptions.h"
#include "tests/support/FileSendHelpers.h"
#include "tests/support/MainWindowHarness.h"

namespace pacedsend_test {

using qv::test::ExpectIdleWindow;
using qv::test::PeerReader;
using qv::test::PortWriteWatch;
using qv::test::RandomBytes;

// The next showing of the options dialog runs Act once the dialog is up and modal.
void AnswerOptions(std::function<void(TAdvSendFile_dlg&)> Act);
// The answers queued that no showing took (a test that expected a showing fails on it).
int UnusedOptionAnswers();

class PacedSendTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        Start(2, 70);
        Form1->pnlStringEntry->SetVisible(true);
        outBefore_ = Display.BytesOut;
        Application->CreateForm(AdvSendFile_dlg);
    }
    // Chooses the delay item and the counter, then presses "&Open File".
    static void Confirm(const char* Delay, int Repeats)
    {
        AnswerOptions([Delay, Repeats](TAdvSendFile_dlg& Dialog) {
            Dialog.InterchDly_index->SetItemIndex(Dialog.InterchDly_index->Items()->IndexOf(Delay));
            Dialog.SendFileLoop_sedt->SetValue(Repeats);
            Dialog.sbtnOK->Click();
        });
    }
    void PacedSendThroughMenu(const std::string& Path, const char* Delay, int Repeats)
    {
        Confirm(Delay, Repeats);
        ChooseFile(Path);
        Form1->miSpxSendFileBinaryClick(Form1);
        EXPECT_EQ(UnusedOptionAnswers(), 0);
    }
    size_t FileDialogsShown() const
    {
        size_t n = 0;
        for (const auto& shown : script.Shown()) n += shown.Kind == TDialogKind::Common;
        return n;
    }
    std::int64_t BytesSent() const { return Display.BytesOut - outBefore_; }

private:
    std::int64_t outBefore_ = 0;
};

}  // namespace pacedsend_test
