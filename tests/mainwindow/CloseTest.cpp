// Closing the main window: the connected question (Yes disconnects, No keeps the window and
// the port), the quit question for a touched screen, no question otherwise, and the close
// handler dropping the lines and closing the port.
#include "tests/support/MainWindowHarness.h"

namespace mainwindow_test {
namespace {

class CloseTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        StartDisconnected();
        ASSERT_TRUE(script.Shown().empty());
    }
};

TEST_F(CloseTest, ClosedPortAndUntouchedScreenCloseWithoutAQuestion)
{
    EXPECT_TRUE(Form1->CloseQuery());
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(CloseTest, ATouchedScreenAsksToQuitAndNoKeepsTheWindow)
{
    Form1->reScreen->SetModified(true);
    script.Answer(IDNO);
    EXPECT_FALSE(Form1->CloseQuery());

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::MessageBox);
    EXPECT_EQ(box->Text, "Are you sure you want to quit?");
    EXPECT_EQ(box->Caption, "Quit Program?");
    EXPECT_EQ(box->Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
}

TEST_F(CloseTest, ATouchedScreenAnsweredYesCloses)
{
    Form1->reScreen->SetModified(true);
    script.Answer(IDYES);
    EXPECT_TRUE(Form1->CloseQuery());
    EXPECT_EQ(script.Unanswered, 0);
}

TEST_F(CloseTest, ConnectedAnsweredNoKeepsTheWindowAndThePort)
{
    ConnectToLine();
    script.Answer(mrNo);
    EXPECT_FALSE(Form1->CloseQuery());

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtWarning);
    EXPECT_EQ(box->Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(box->Text, "You are currently connected.\nAre you sure you want to disconnect now?");
    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_TRUE(line.Dtr());
}

TEST_F(CloseTest, ConnectedAnsweredYesDisconnectsAndCloses)
{
    ConnectToLine();
    // A touched screen does not add the quit question once the connected one was answered.
    Form1->reScreen->SetModified(true);
    script.Answer(mrYes);
    EXPECT_TRUE(Form1->CloseQuery());

    EXPECT_EQ(script.Shown().size(), 1u);
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts(); }));
    EXPECT_FALSE(Form1->LED_DTR->Lit());
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Text(), "Disconnected");
    EXPECT_EQ(Form1->PortIndex->Enabled(), true);
}

TEST_F(CloseTest, TheCloseHandlerDropsTheLinesAndClosesThePort)
{
    ConnectToLine();
    TCloseAction action = caHide;
    Form1->FormClose(Form1, action);

    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts() && !line.Break(); }));
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(CloseTest, ExitRunsTheCloseQueryAndEndsTheApplication)
{
    Form1->reScreen->SetModified(true);
    script.Answer(IDNO);
    Form1->Exit_F10->Execute();
    EXPECT_FALSE(Application->Terminated());
    script.Answer(IDYES);
    Form1->FileExitClick(Form1);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(script.Shown().size(), 2u);
}

}  // namespace
}  // namespace mainwindow_test
