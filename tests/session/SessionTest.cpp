// New Session and Clear Screen, the display mode switches with their question, the status bar's
// counters and the line-error blink, and the display after an overload stop.
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

namespace session_test {
namespace {

using qv::test::ExpectedLines;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class SessionTest : public qv::test::MainWindowHarness {};

std::string Panel(int Index) { return Form1->StatusBar1->Panels(Index)->Text(); }

TEST_F(SessionTest, ClearScreenKeepsTheCountersAndNewSessionZeroesThem)
{
    Start(2, 70);
    line.Write("abc");
    ASSERT_TRUE(WaitForBytesIn(3));
    ASSERT_TRUE(WaitForQuietScreen());
    ASSERT_NE(Form1->reScreen->Text(), "");

    Form1->Clear_spbtnClick(Form1);
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Display.PendingRtf->Size(), 0);
    EXPECT_EQ(Display.DisplayRecordCount, 0u);
    Form1->UpdateStatusCounters(true);
    EXPECT_EQ(Panel(2), "Bytes Out:0  In:3  Total:3");

    line.Write("d");
    ASSERT_TRUE(WaitForBytesIn(4));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_EQ(ScreenLines(), ExpectedLines("d", 2, 70, 100));

    Form1->FileNewClick(Form1);
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Display.BytesIn, 0);
    EXPECT_EQ(Display.DisplayRecords[0], 0u);
    EXPECT_EQ(Panel(2), "Bytes Out:0  In:0  Total:0");
}

TEST_F(SessionTest, TheCountersShowTheirFullValuePastTwoToTheThirtyFirst)
{
    Start(2, 70);
    Display.BytesIn = 5000000000LL;
    Display.BytesOut = 2147483648LL;
    Form1->UpdateStatusCounters(true);
    EXPECT_EQ(Panel(2), "Bytes Out:2147483648  In:5000000000  Total:7147483648");
}

TEST_F(SessionTest, HexadecimalToMixedSwitchesSilentlyAndKeepsTheScreen)
{
    Start(2, 70);
    line.Write("ab");
    ASSERT_TRUE(WaitForBytesIn(2));
    ASSERT_TRUE(WaitForQuietScreen());
    const auto before = ScreenLines();

    Form1->mi_MixedModeClick(Form1);
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(Display.DisplayMode, 1);
    EXPECT_EQ(Settings.DisplayMode, 1);
    EXPECT_FALSE(Display.TextMode());
    EXPECT_EQ(ScreenLines(), before);
    EXPECT_EQ(Display.BytesIn, 2);
}

TEST_F(SessionTest, MixedToTextAsksAndNoChangesNothingWhileYesStartsANewSession)
{
    Start(1, 70);
    line.Write("ab");
    ASSERT_TRUE(WaitForBytesIn(2));
    ASSERT_TRUE(WaitForQuietScreen());
    const auto before = ScreenLines();

    script.Answer(mrNo);
    Form1->mi_ASCIIModeClick(Form1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().DlgType, mtConfirmation);
    EXPECT_EQ(script.Last().Text, "Changing to this mode will reset the communication\nbuffers and "
                                  "clear the screen. Are you sure you want \nto continue?");
    EXPECT_EQ(Display.DisplayMode, 1);
    EXPECT_EQ(ScreenLines(), before);

    script.Answer(mrYes);
    Form1->mi_ASCIIModeClick(Form1);
    EXPECT_EQ(Display.DisplayMode, 0);
    EXPECT_TRUE(Display.TextMode());
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Display.BytesIn, 0);

    Form1->Mode1Click(Form1);
    EXPECT_TRUE(Form1->mi_ASCIIMode->Checked());
    EXPECT_FALSE(Form1->mi_HexMode->Checked());
}

TEST_F(SessionTest, ALineErrorBlinksFourTimesThenThePanelStaysBlankUntilTheNextMessage)
{
    Start(2, 70);
    Connection.CommErrorText = "Comms Error: FRAME";
    Connection.CommErrorTicks = 0;
    Display.StatusMessageText = Connection.CommErrorText;
    std::vector<std::string> shown;
    for (int tick = 0; tick < 12; ++tick) {
        Form1->UpdateStatusCounters(true);
        shown.push_back(Panel(4));
    }
    const std::string on = "Comms Error: FRAME", off = "     ";
    EXPECT_EQ(shown,
              (std::vector<std::string>{on, off, on, off, on, off, on, off, off, off, off, off}));

    Display.StatusMessageText = "File size: 10 bytes, Completed:50%";
    Form1->UpdateStatusCounters(true);
    EXPECT_EQ(Panel(4), "File size: 10 bytes, Completed:50%");
    Form1->ClearStatusBarMessages1Click(Form1);
    EXPECT_EQ(Panel(4), "");
}

TEST_F(SessionTest, AfterAnOverloadStopTheNextConnectShowsTheFirstBlock)
{
    Start(1, 70);
    Display.DisplayRecordCount = 219901;
    line.Write("A");
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !script.Shown().empty(); }));
    ASSERT_FALSE(Form1->Comm1->Enabled());
    script.Clear();

    Form1->Connect_spbtnClick(Form1);
    ASSERT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(Display.DisplayRecordCount, 0u);
    line.Write("xyz");
    ASSERT_TRUE(WaitForBytesIn(4));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(ScreenLines(), ExpectedLines("xyz", 1, 70, 100));
}

}  // namespace
}  // namespace session_test
