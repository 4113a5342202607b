// When the screen cannot keep up or cannot be updated: the overload stops disconnect and say
// why in a plain message box, a failed update says "Error Updating Screen" and receiving goes
// on, and a flood ends fully shown or with a named stop, never silently. Also an echo reaching
// the end of the screen whatever the caret.
#include "ReceiveFixture.h"

namespace receive_test {
namespace {

// count line breaks of received text in the formatter's form, each followed by one character.
std::string PendingWithBreaks(size_t count)
{
    std::string s = "\\cf2 a";
    for (size_t i = 0; i < count; ++i) s += "\\par\r\\cf2 b";
    return s;
}

void SetPending(const std::string& text)
{
    Display.PendingRtf->Clear();
    Display.PendingRtf->WriteBuffer(text.c_str(), static_cast<int>(text.size()) + 1);
}

bool OnlyStopMessages(const std::vector<TShownDialog>& shown)
{
    for (const auto& box : shown) {
        if (box.Kind != TDialogKind::ShowMessage) return false;
        if (box.Text != ReceiveText::ProcessingDelays && box.Text != ReceiveText::RecordsDelayed &&
            box.Text != "Error (PCD) - processing delayed.\nDisconnected to prevent overflow.")
            return false;
    }
    return true;
}

TEST_F(ReceiveTest, AFailedPasteSaysErrorUpdatingScreenAndReceivingGoesOn)
{
    Start(0, 70);
    BrokenScreenUpdates broken(1);
    line.Write("A");
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !script.Shown().empty(); }));
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, "Error Updating Screen");

    broken.Mend();
    line.Write("B");
    ASSERT_TRUE(WaitForBytesIn(2));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(ScreenLines(), (std::vector<std::string>{"AB"}));
}

TEST_F(ReceiveTest, AFailedWholeScreenLoadSaysErrorUpdatingScreenAndClearsTheScreen)
{
    Start(2, 70);
    line.Write("AB");
    ASSERT_TRUE(WaitForBytesIn(2));
    ASSERT_TRUE(WaitForQuietScreen());
    ASSERT_FALSE(Form1->reScreen->Text().empty());

    BrokenScreenUpdates broken;
    Form1->ReloadScreenFromPending();
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, "Error Updating Screen");
    EXPECT_EQ(Form1->reScreen->Text(), "");
    // Notifications came back: the screen's scroll notification is on again.
    EXPECT_NE(SendMessageA(Form1->reScreen->Handle(), EM_GETEVENTMASK, 0, 0) & ENM_SCROLL, 0);
}

TEST_F(ReceiveTest, TooManyRecordsWhileFormattingDisconnectsWithThePcdMessage)
{
    Start(1, 70);
    Display.DisplayRecordCount = 219901;
    line.Write("A");
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !script.Shown().empty(); }));
    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, "Error (PCD) - processing delayed.\nDisconnected to prevent overflow.");
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(Connection.ConnectToggle(), 0);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr(); }));
    EXPECT_EQ(Display.BytesIn, 1);
}

TEST_F(ReceiveTest, TooManyRecordsWhenLinesAreDroppedDisconnectsWithTheRtdMessageAndLeavesTheScreen)
{
    Start(2, 70, 100);
    SetPending(PendingWithBreaks(100));
    Display.DisplayRecordCount = 219999;
    Form1->reScreen->SetText("untouched");
    Form1->CheckReceiveBacklog();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, "Error (RTD) - processing delayed.\nDisconnected to prevent overflow.");
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(Form1->reScreen->Text(), "untouched");
    EXPECT_EQ(Display.DisplayRecordCount, 219999u);
    EXPECT_EQ(PendingLineBreaks(), 99u);
}

TEST_F(ReceiveTest, SixtyFourThousandPendingLinesDisconnectThenTheScreenIsShortened)
{
    Start(0, 70, 100);
    SetPending(PendingWithBreaks(64000));
    Form1->Timer1->SetEnabled(true);
    Form1->Timer1->Timer();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, "Error - unable to process data because of delays.");
    EXPECT_FALSE(Form1->Comm1->Enabled());
    // The stop's shortening keeps what follows the 64,000th break: here the last line.
    EXPECT_EQ(PendingLineBreaks(), 0u);
    EXPECT_EQ(ScreenLines(), (std::vector<std::string>{"b"}));
}

TEST_F(ReceiveTest, AnOverloadStopOnAClosedPortDoesNotConnect)
{
    Start(1, 70);
    Form1->Connect_spbtnClick(Form1);
    ASSERT_FALSE(Form1->Comm1->Enabled());
    Form1->StopForOverflow(Form1, "x");
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(script.Last().Text, "x");
}

TEST_F(ReceiveTest, AFloodEndsFullyShownOrWithANamedStop)
{
    Start(2, 88, 200);
    std::string sent;
    for (int i = 0; i < 1500000; ++i)
        sent += char((i * 7 + 3) % 256 == 13 ? 14 : (i * 7 + 3) % 256);
    for (char& c : sent)
        if (c == '\n') c = 'n';
    writer.Send(sent);
    ASSERT_TRUE(qv::test::WaitUntil(
        [&] {
            return (writer.Done() && Display.BytesIn == std::int64_t(sent.size())) ||
                   !script.Shown().empty();
        },
        120s));
    if (script.Shown().empty()) {
        ASSERT_TRUE(WaitForQuietScreen());
        EXPECT_TRUE(ScreenShows(ExpectedLines(sent, 2, 88, 200)));
    } else {
        EXPECT_TRUE(OnlyStopMessages(script.Shown()));
        EXPECT_FALSE(Form1->Comm1->Enabled());
    }
}

TEST_F(ReceiveTest, AnEchoLandsAtTheEndOfTheScreenWhateverTheCaret)
{
    Start(0, 70);
    Form1->reScreen->SetText("abc\r\ndef");
    HWND screen = Form1->reScreen->Handle();
    SendMessageA(screen, EM_SETSEL, 1, 2);
    SendMessageA(screen, WM_CHAR, 'x', 0);
    EXPECT_EQ(line.ReadExactly(1, 2s), "x");
    EXPECT_EQ(Form1->reScreen->Text(), "abc\r\ndefx");
}

}  // namespace
}  // namespace receive_test
