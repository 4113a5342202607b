// What the special send tests share: the file send's window, line and peer, the options dialog
// created beside the main window, and answers to its modal showings given from inside the
// modal loop (a one-shot timer sets the controls and presses a button), so no test blocks.
#pragma once

#include <functional>

#include "FileSendFixture.h"
#include "dialogs/PacedSendOptions.h"

namespace pacedsend_test {

using namespace filesend_test;

// The next showing of the options dialog runs Act once the dialog is up and modal.
void AnswerOptions(std::function<void(TAdvSendFile_dlg&)> Act);
// The answers queued that no showing took (a test that expected a showing fails on it).
int UnusedOptionAnswers();

class PacedSendTest : public FileSendTest {
protected:
    void SetUp() override
    {
        FileSendTest::SetUp();
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
        Choose(Path);
        Form1->miSpxSendFileBinaryClick(Form1);
        EXPECT_EQ(UnusedOptionAnswers(), 0);
    }
    size_t FileDialogsShown() const
    {
        size_t n = 0;
        for (const auto& shown : script.Shown()) n += shown.Kind == TDialogKind::Common;
        return n;
    }
};

}  // namespace pacedsend_test
