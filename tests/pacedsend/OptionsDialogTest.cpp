// The special send's options dialog, shown modally by the menu command: the values it gives,
// a confirmation that never outlives its showing, Esc and Cancel, the counter's limits and the
// blank key on the list.
#include "PacedSendFixture.h"

namespace pacedsend_test {
namespace {

using OptionsDialogTest = PacedSendTest;

TEST_F(OptionsDialogTest, ConfirmedValuesReachTheSendAndCancelOrEscOnTheNextShowingSendNothing)
{
    TAdvSendFile_dlg& dialog = *AdvSendFile_dlg;
    // Untouched: no pause, one pass. The file dialog is cancelled: nothing is sent.
    AnswerOptions([](TAdvSendFile_dlg& Dialog) { Dialog.sbtnOK->Click(); });
    script.Cancel();
    Form1->miSpxSendFileBinaryClick(Form1);
    EXPECT_TRUE(dialog.OkPressed);
    EXPECT_EQ(dialog.CharDelayMs, 0);
    EXPECT_EQ(dialog.RepeatCount, 1);
    EXPECT_EQ(FileDialogsShown(), 1u);

    Confirm("5000", 0);
    script.Cancel();
    Form1->miSpxSendFileBinaryClick(Form1);
    EXPECT_EQ(dialog.CharDelayMs, 5000);
    EXPECT_EQ(dialog.RepeatCount, 0);
    EXPECT_EQ(FileDialogsShown(), 2u);

    // A stale OK would open the file dialog and send.
    AnswerOptions([](TAdvSendFile_dlg& Dialog) { Dialog.sbtn_Cancel->Click(); });
    Form1->miSpxSendFileBinaryClick(Form1);
    EXPECT_FALSE(dialog.OkPressed);
    AnswerOptions([](TAdvSendFile_dlg& Dialog) {
        PostMessageA(Dialog.SendFileLoop_sedt->Handle(), WM_CHAR, VK_ESCAPE, 0);
    });
    Form1->miSpxSendFileBinaryClick(Form1);
    EXPECT_EQ(UnusedOptionAnswers(), 0);
    EXPECT_FALSE(dialog.OkPressed);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(FileDialogsShown(), 2u);
    EXPECT_EQ(Transfer.FileSend, nullptr);
    // The values and the choices stay as last confirmed.
    EXPECT_EQ(dialog.CharDelayMs, 5000);
    EXPECT_EQ(dialog.InterchDly_index->Text(), "5000");
    EXPECT_EQ(dialog.SendFileLoop_sedt->Value(), 0);
}

TEST_F(OptionsDialogTest, ACounterThatIsNoNumberIsZeroAndOneBeyondTheLimitIsTheLimit)
{
    TAdvSendFile_dlg& dialog = *AdvSendFile_dlg;
    for (const auto& [typed, count] :
         {std::pair<const char*, int>{"abc", 0}, {"5000", 1000}, {"-7", 0}}) {
        AnswerOptions([typed](TAdvSendFile_dlg& Dialog) {
            Dialog.SendFileLoop_sedt->SetText(typed);
            Dialog.sbtnOK->Click();
        });
        script.Cancel();
        Form1->miSpxSendFileBinaryClick(Form1);
        EXPECT_EQ(dialog.RepeatCount, count) << typed;
    }
}

TEST_F(OptionsDialogTest, TheBlankOpensAndClosesTheDelayList)
{
    TAdvSendFile_dlg& dialog = *AdvSendFile_dlg;
    dialog.Show();
    const HWND list = dialog.InterchDly_index->Handle();
    SendMessageA(list, WM_CHAR, ' ', 0);
    EXPECT_TRUE(dialog.InterchDly_index->DroppedDown());
    SendMessageA(list, WM_CHAR, ' ', 0);
    EXPECT_FALSE(dialog.InterchDly_index->DroppedDown());
    EXPECT_EQ(dialog.InterchDly_index->Text(), "0");
    dialog.Hide();
}

}  // namespace
}  // namespace pacedsend_test
