// The string entry pane end to end: escaped strings arrive byte for byte at the peer, once,
// three times or until Stop or a disconnect; an escape error says what is wrong and selects
// it; a file send blocks it; the help window shows its page and keeps it while open, inside
// its inner border.
#include <functional>

#include "dialogs/StringEntryHelp.h"
#include "tests/support/MainWindowHarness.h"

namespace stringentry_test {
namespace {

using namespace std::chrono_literals;

// Runs Check from the message loop every few milliseconds while a send loop is running.
std::function<void()> tickCheck;
void CALLBACK OnCheckTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (tickCheck) tickCheck();
}

class StringEntryTest : public qv::test::MainWindowHarness {
protected:
    void TearDown() override
    {
        if (timer_) KillTimer(nullptr, timer_);
        tickCheck = nullptr;
        MainWindowHarness::TearDown();
    }
    void Send(const std::string& Text, int Count)
    {
        Form1->edtSend->SetText(Text);
        Form1->SendLoop_sedt->SetValue(Count);
        Form1->SendData_btnClick(Form1->SendData_btn);
    }
    void WhileSending(std::function<void()> Check)
    {
        tickCheck = std::move(Check);
        timer_ = SetTimer(nullptr, 0, 5, &OnCheckTimer);
    }
    UINT_PTR timer_ = 0;
};

TEST_F(StringEntryTest, EscapedStringsArriveByteForByteAtThePeer)
{
    Start(0, 70);
    Send("AT\\r", 1);
    EXPECT_EQ(line.ReadExactly(3, 2s), "AT\r");
    Send("\\41\\42", 1);
    EXPECT_EQ(line.ReadExactly(2, 2s), "AB");
    Send("x\\00y", 1);
    EXPECT_EQ(line.ReadExactly(3, 2s), std::string("x\0y", 3));
    Send("ok", 3);
    EXPECT_EQ(line.ReadExactly(6, 2s), "okokok");
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(Display.BytesOut, 14);
    EXPECT_FALSE(Form1->Stop_btn->Enabled());
    EXPECT_TRUE(Form1->edtSend->Enabled());
}

TEST_F(StringEntryTest, AnEscapeErrorSaysWhatIsWrongSelectsItAndSendsNothing)
{
    Start(0, 70);
    Send("ab\\qq", 1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().DlgType, mtError);
    EXPECT_EQ(script.Last().Text,
              "Cannot send data.\nInvalid hex digits in escape sequence using '\\'.");
    EXPECT_EQ(Form1->edtSend->SelStart(), 3);
    EXPECT_EQ(Form1->edtSend->SelLength(), 2);
    Send("end\\", 1);
    EXPECT_EQ(script.Last().Text, "Cannot send data.\nIncomplete escape sequence using '\\'.");
    EXPECT_EQ(Form1->edtSend->SelStart(), 3);
    EXPECT_EQ(Form1->edtSend->SelLength(), 1);
    EXPECT_TRUE(line.Read(16, 150ms).empty());
}

TEST_F(StringEntryTest, ACountOfZeroRepeatsUntilStopWithSendDisabled)
{
    Start(0, 70);
    bool sendWasEnabled = false;
    WhileSending([&] {
        // Until Stop is pressed (Stop itself enables Send again).
        if (Form1->Stop_btn->Enabled())
            sendWasEnabled = sendWasEnabled || Form1->SendData_btn->Enabled();
        if (Display.BytesOut >= 40) Form1->Stop_btnClick(Form1->Stop_btn);
    });
    Send("ab", 0);
    EXPECT_GE(Display.BytesOut, 40);
    EXPECT_EQ(Display.BytesOut % 2, 0);
    EXPECT_FALSE(sendWasEnabled);
    EXPECT_EQ(line.ReadExactly(static_cast<size_t>(Display.BytesOut), 2s), [] {
        std::string s;
        for (int i = 0; i < Display.BytesOut / 2; ++i) s += "ab";
        return s;
    }());
    EXPECT_TRUE(Form1->SendData_btn->Enabled());
    EXPECT_FALSE(Form1->Stop_btn->Enabled());
}

TEST_F(StringEntryTest, TheRepeatCounterSelectsOnAClickAndSendsWhatItShowsUpTo99)
{
    Start(0, 70);
    Form1->edtSend->SetText("x");
    HWND counter = Form1->SendLoop_sedt->Handle();
    auto type = [&](const char* Keys) {
        for (const char* k = Keys; *k; ++k) SendMessageA(counter, WM_CHAR, *k, 1);
    };
    // A click on "1" selects it, so the "3" typed next replaces it; a third digit is refused.
    SendMessageA(counter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    SendMessageA(counter, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    type("345");
    EXPECT_EQ(Form1->SendLoop_sedt->Text(), "34");
    Form1->SendData_btnClick(Form1->SendData_btn);
    EXPECT_EQ(line.ReadExactly(34, 2s), std::string(34, 'x'));
    EXPECT_TRUE(line.Read(1, 100ms).empty());
    EXPECT_EQ(Form1->SendLoop_sedt->Text(), "34");
}

TEST_F(StringEntryTest, ADisconnectEndsARunningSend)
{
    Start(0, 70);
    WhileSending([&] {
        if (Display.BytesOut >= 20 && Form1->Comm1->Enabled()) Form1->Connect_spbtnClick(Form1);
    });
    Send("xyz", 0);
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(Form1->edtSend->Enabled());
}

TEST_F(StringEntryTest, SendDoesNothingDuringAFileSend)
{
    Start(0, 70);
    Form1->miStopSending->SetVisible(true);
    Send("no", 1);
    Form1->miStopSending->SetVisible(false);
    EXPECT_TRUE(line.Read(16, 150ms).empty());
    EXPECT_EQ(Display.BytesOut, 0);
}

TEST_F(StringEntryTest, TextLongerThanTheFieldIsCutWithAWarning)
{
    Start(0, 70);
    Form1->edtSend->SetText(std::string(310, 'w'));
    EXPECT_EQ(Form1->edtSend->Text().size(), 300u);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, "Too many characters - truncated to 300 max.");
    EXPECT_EQ(script.Last().DlgType, mtWarning);
}

TEST_F(StringEntryTest, TheHelpWindowShowsItsPageAndKeepsItWhileOpen)
{
    Start(0, 70);
    Application->CreateForm(frmStringEntryHelp);
    Form1->edtSendDblClick(Form1->edtSend);
    ASSERT_TRUE(frmStringEntryHelp->Visible());
    const String page = frmStringEntryHelp->STRING_ENTRY_HELP_re->Text();
    EXPECT_NE(page.find("String Entry Pane"), String::npos);
    EXPECT_NE(page.find("carriage return"), String::npos);

    // Opened again while visible: it only comes to the front, with the page it shows.
    Form1->STR_ENTRY_TEXT_memo->SetText("{\\rtf1\\ansi another page}");
    Form1->edtSendDblClick(Form1->edtSend);
    EXPECT_EQ(frmStringEntryHelp->STRING_ENTRY_HELP_re->Text(), page);

    frmStringEntryHelp->sbtnCloseClick(frmStringEntryHelp->sbtnClose);
    EXPECT_FALSE(frmStringEntryHelp->Visible());
    Form1->edtSendDblClick(Form1->edtSend);
    EXPECT_EQ(frmStringEntryHelp->STRING_ENTRY_HELP_re->Text(), "another page");
}

TEST_F(StringEntryTest, TheHelpWindowShowsAnEmptyPageInsideAFourPixelBorder)
{
    Application->CreateForm(frmStringEntryHelp);
    frmStringEntryHelp->ShowPage("");
    TRichEditP* page = frmStringEntryHelp->STRING_ENTRY_HELP_re;
    EXPECT_EQ(page->Text(), "");
    TPanel* panel = frmStringEntryHelp->Panel1;
    EXPECT_EQ(page->Left(), 4);
    EXPECT_EQ(page->Top(), 4);
    EXPECT_EQ(page->Width(), 407);
    EXPECT_EQ(panel->Top() + panel->Height(), 4 + 278);
}

}  // namespace
}  // namespace stringentry_test
