// Connecting: the chosen port opens with the tool bar's settings and its lines raised; failed
// opens are explained (the three known codes and any other); an error while connecting is
// reported and leaves the window disconnected with the port closed and a next connect possible.
#include "ConnectionFixture.h"

namespace connection_test {
namespace {

TEST_F(ConnectionTest, ConnectOpensTheChosenPortWithItsLinesRaisedAndShowsConnected)
{
    // The status tick empties the diagnostics memo, whose line this test reads.
    Form1->Timer2->SetEnabled(false);
    ConnectToLine();
    ExpectConnectedWindow();
    EXPECT_TRUE(MemoHas("Open " + line.PortName() + " OK"));
    EXPECT_EQ(Form1->Comm1->DeviceName(), line.DevicePath());
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ConnectionTest, ConnectTakesTheComboSettingsToTheDevice)
{
    Choose(Form1->Baud, "19200");
    Choose(Form1->DataBitsBox, "7");
    Choose(Form1->ParityBox, "EVEN");
    Choose(Form1->StopBitsBox, "2");
    ConnectToLine();
    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, 19200u);
    EXPECT_EQ(t.dataBits, 7);
    EXPECT_EQ(t.parity, 'E');
    EXPECT_EQ(t.stopBits, 2);
}

TEST_F(ConnectionTest, ParityCheckingIsInTheDcbOfTheFirstConnect)
{
    Settings.CheckParity = true;
    DcbRecorder dcbs;
    ConnectToLine();
    ASSERT_GE(dcbs.Writes(), 1);
    EXPECT_EQ(dcbs.Last().fParity, 1u);
    EXPECT_EQ(dcbs.Last().fErrorChar, 0u);
}

TEST_F(ConnectionTest, ParityCheckingOffClearsTheOptionAndTheErrorCharacter)
{
    Settings.CheckParity = true;
    ConnectToLine();
    Form1->Connect_spbtnClick(Form1);
    Settings.CheckParity = false;
    DcbRecorder dcbs;
    ConnectToLine();
    ASSERT_GE(dcbs.Writes(), 1);
    EXPECT_EQ(dcbs.Last().fParity, 0u);
    EXPECT_EQ(dcbs.Last().ErrorChar, 0);
}

TEST_F(ConnectionTest, PortWithNoDeviceShowsTheCode2TextWithItsNameTwice)
{
    Form1->PortIndex->SetItemIndex(2);  // COM3, never mapped by the bench
    Form1->Connect_spbtnClick(Form1);
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtInformation);
    EXPECT_EQ(box->Buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(box->Text, "Unable to access port COM3 (system error code: 2).\n"
                         "Please check that COM3 exists on your PC/Laptop.");
    ExpectDisconnectedWindow();
}

TEST_F(ConnectionTest, PortHeldByAnotherOpenerShowsTheAccessDeniedText)
{
    // Wine lets a second opener have the device: the refusal Windows gives is made at the open.
    OpenFailure held(line.DevicePath(), ERROR_ACCESS_DENIED);
    ChooseLine();
    Form1->Connect_spbtnClick(Form1);
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    const std::string p = line.PortName();
    EXPECT_EQ(box->Text,
              "Unable to connect to port " + p +
                  " (system error code: 5).\n"
                  "Please check if another program or process is already \nusing (connected to) " +
                  p + ".");
    ExpectDisconnectedWindow();
}

TEST_F(ConnectionTest, SharingViolationShowsItsText)
{
    OpenFailure held(line.DevicePath(), ERROR_SHARING_VIOLATION);
    ChooseLine();
    Form1->Connect_spbtnClick(Form1);
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    const std::string p = line.PortName();
    EXPECT_EQ(box->Text, "Unable to connect to port " + p +
                             " - sharing violation (system error code: 32).\n"
                             "Another program or process may already be using (connected to) " +
                             p + ".");
    ExpectDisconnectedWindow();
}

TEST_F(ConnectionTest, AnyOtherOpenErrorIsShownWithItsCode)
{
    {
        OpenFailure broken(line.DevicePath(), ERROR_GEN_FAILURE);
        ChooseLine();
        Form1->Connect_spbtnClick(Form1);
    }
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtInformation);
    EXPECT_EQ(box->Text,
              "Unable to connect to port " + line.PortName() + " (system error code: 31).");
    ExpectDisconnectedWindow();
    // Nothing is left behind: the next connect works.
    ConnectToLine();
    ExpectConnectedWindow();
}

TEST_F(ConnectionTest, AnOpenThatRaisesIsReportedAndLeavesTheWindowDisconnected)
{
    ChooseLine();
    {
        RefuseDcb refused;
        // Through the menu, as the user connects: the error reaches the exception display.
        SendMessageA(Form1->Handle(), WM_COMMAND, Form1->Connect1_mi->Command(), 0);
    }
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Kind, TDialogKind::MessageBox);
    EXPECT_EQ(script.Last().Text, "Error updating DataControlBlock (Error: 50)");
    ExpectDisconnectedWindow();
    EXPECT_FALSE(line.Dtr() || line.Rts());
    ConnectToLine();
    ExpectConnectedWindow();
}

TEST_F(ConnectionTest, AFailedLineRaiseIsReportedAndClosesThePort)
{
    for (DWORD refused : {SETRTS, SETDTR}) {
        SCOPED_TRACE(refused == SETRTS ? "RTS" : "DTR");
        script.Clear();
        ChooseLine();
        {
            RefuseEscape refuse(refused);
            SendMessageA(Form1->Handle(), WM_COMMAND, Form1->Connect1_mi->Command(), 0);
        }
        ASSERT_EQ(script.Shown().size(), 1u);
        EXPECT_EQ(script.Last().Text, "EscapeCommFunction failure (Error: 50)");
        // Before the mend the port stayed open behind a window saying "Connect", and every
        // later connect only wrote "Port has already been opened!".
        ExpectDisconnectedWindow();
        EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts(); }));
        ConnectToLine();
        ExpectConnectedWindow();
        EXPECT_FALSE(MemoHas("Port has already been opened!"));
        Form1->Connect_spbtnClick(Form1);
    }
}

}  // namespace
}  // namespace connection_test
