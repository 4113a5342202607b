// The keyboard send path end to end: keys typed into the screen and the control-character menu
// reach the peer byte-exact, are echoed in the sent colours (or only counted), are held back by
// BREAK, connect or say "not connected" on a closed port, and a byte the port refuses is
// reported, neither echoed nor captured. Ctrl+C and Esc reach the peer, not the screen control.
// An echoed Enter shows the lines a whole load of the screen shows.
#include "framework/gui/Clipboard.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/UserActions.h"

extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");

namespace keyboard_test {
namespace {

using namespace std::chrono_literals;

using qv::test::ExpectedLines;
using qv::test::PendingLineBreaks;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class KeyboardTest : public qv::test::MainWindowHarness {
protected:
    // A key as the screen gets it from the keyboard: the key-down, then its character.
    static void Type(char Key, WORD VirtualKey = 0)
    {
        HWND screen = Form1->reScreen->Handle();
        if (VirtualKey) SendMessageA(screen, WM_KEYDOWN, VirtualKey, 0);
        SendMessageA(screen, WM_CHAR, static_cast<unsigned char>(Key), 0);
    }
    // Nothing more arrives at the peer within a short while.
    bool PeerGetsNothingMore() { return line.Read(16, 150ms).empty(); }
    static COLORREF ColourAt(int Position) { return qv::test::ScreenColourAt(Position); }
};

TEST_F(KeyboardTest, TypedKeysReachThePeerAndEchoInTheSentColoursOfMixedMode)
{
    Start(1, 70);
    Type('a');
    Type('\x01');
    Type('\r', VK_RETURN);
    // Enter sends exactly one carriage return: no line feed is added.
    EXPECT_EQ(line.ReadExactly(3, 2s), std::string("a\x01\r", 3));
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(Display.BytesOut, 3);

    EXPECT_EQ(ScreenLines(), (std::vector<std::string>{"a<01><0D>"}));
    // Text in black, hex cells in blue.
    EXPECT_EQ(ColourAt(0), RGB(0, 0, 0));
    EXPECT_EQ(ColourAt(1), RGB(0, 0, 255));
}

TEST_F(KeyboardTest, InTextModeAControlCharacterEchoesAsTextAndInHexadecimalModeEveryKeyIsACell)
{
    Start(0, 70);
    Type('\x02');
    ASSERT_EQ(line.ReadExactly(1, 2s), "\x02");
    EXPECT_EQ(ColourAt(0), RGB(0, 0, 0));

    script.Answer(mrYes);
    Form1->mi_HexModeClick(Form1);
    Type('z');
    ASSERT_EQ(line.ReadExactly(1, 2s), "z");
    EXPECT_EQ(ScreenLines(), ExpectedLines("z", 2, 70, 100));
    EXPECT_EQ(ColourAt(0), RGB(0, 0, 255));
}

// The echo of Enter, of a typed line and its Enter, and a reply received after them, each shows
// what a whole load of the pending text shows, in every display mode: no line break of its own
// before the echoed text, none more than the load gives.
class EchoedEnter : public KeyboardTest, public ::testing::WithParamInterface<int> {
protected:
    // The screen's text as the keys left it, then as a whole load shows it.
    static void ExpectAWholeLoadShowsTheSame(const char* After)
    {
        const std::string shown = Form1->reScreen->Text();
        Form1->ReloadScreenFromPending();
        EXPECT_EQ(shown, Form1->reScreen->Text()) << "after " << After;
    }
};

TEST_P(EchoedEnter, ShowsTheLinesAWholeLoadGives)
{
    Start(GetParam(), 70);
    // The tick is kept far away: the screen is what the echoes pasted.
    Form1->Timer1->SetInterval(600000);
    Type('\r', VK_RETURN);
    ExpectAWholeLoadShowsTheSame("Enter");
    Type('a');
    Type('b');
    Type('\r', VK_RETURN);
    ExpectAWholeLoadShowsTheSame("ab Enter");
    ASSERT_EQ(line.ReadExactly(4, 2s), "\rab\r");
    line.Write("OK\r\n");
    ASSERT_TRUE(WaitForBytesIn(4));
    ASSERT_FALSE(Form1->Timer1->Enabled()) << "the reply was left to the tick";
    ExpectAWholeLoadShowsTheSame("the reply");
}

INSTANTIATE_TEST_SUITE_P(EveryMode, EchoedEnter, ::testing::Values(0, 1, 2));

TEST_F(KeyboardTest, CtrlCSendsEtxAndLeavesTheClipboardAlone)
{
    Start(0, 70);
    Form1->reScreen->SetText("screen text");
    Form1->reScreen->SelectAll();
    Clipboard()->SetAsText("before");
    {
        // Ctrl held as the keyboard reports it to the screen and to the control's own shortcuts.
        qv::test::TCtrlHeld ctrl;
        Type('\x03', 'C');
    }
    EXPECT_EQ(line.ReadExactly(1, 2s), "\x03");
    EXPECT_EQ(Clipboard()->AsText(), "before");
}

// Every Ctrl+letter typed on the screen is its control code at the peer; none of them acts as a
// shortcut of the screen control (Wine's cuts, undoes, redoes and shows a debugging box).
TEST_F(KeyboardTest, CtrlLettersSendTheirCodesAndNoShortcutOfTheScreenControlActs)
{
    Start(0, 70);
    line.Write("received text");
    ASSERT_TRUE(WaitForBytesIn(13));
    ASSERT_TRUE(WaitForQuietScreen());
    const std::string shown = Form1->reScreen->Text();
    // No echo: the whole screen stays selected for whatever a key might do with a selection.
    Settings.ShowInputOnly = true;
    Form1->reScreen->SelectAll();
    Clipboard()->SetAsText("before");
    qv::test::TStrayBoxes boxes;
    HWND screen = Form1->reScreen->Handle();
    std::string expected;
    {
        qv::test::TCtrlHeld ctrl;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            qv::test::PostKey(screen, static_cast<WORD>(letter));
            expected += static_cast<char>(letter - 'A' + 1);
        }
        Application->ProcessMessages();
    }
    EXPECT_EQ(line.ReadExactly(26, 3s), expected);
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(boxes.Captions(), std::vector<std::string>{});
    EXPECT_EQ(Clipboard()->AsText(), "before");
    EXPECT_EQ(Form1->reScreen->Text(), shown);
}

// Esc used to reach the screen control, which took the window for a dialog and closed its
// parent: the screen vanished until the next received line.
TEST_F(KeyboardTest, EscSendsItsByteAndTheScreenStaysDrawn)
{
    Start(0, 70);
    line.Write("shown text");
    ASSERT_TRUE(WaitForBytesIn(10));
    ASSERT_TRUE(WaitForQuietScreen());
    HWND screen = Form1->reScreen->Handle();
    // Through the message loop, as the keyboard delivers them: the key, then its character.
    PostMessageA(screen, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(screen, WM_CHAR, 0x1B, 0x00010001);
    Application->ProcessMessages();
    EXPECT_EQ(line.ReadExactly(1, 2s), "\x1B");
    // The same window, still shown with its text: not one destroyed and made anew.
    ASSERT_TRUE(IsWindow(screen));
    EXPECT_TRUE(IsWindowVisible(screen));
    EXPECT_EQ(Form1->reScreen->Handle(), screen);
    EXPECT_EQ(Form1->reScreen->Text().substr(0, 10), "shown text");
}

TEST_F(KeyboardTest, EachControlCharacterMenuItemSendsItsByte)
{
    Start(2, 70);
    std::string expected;
    for (int code = 0; code < 32; ++code) {
        Form1->CtrlCharItems[code]->Click();
        expected.push_back(static_cast<char>(code));
    }
    EXPECT_EQ(line.ReadExactly(32, 3s), expected);
    EXPECT_EQ(Form1->CtrlCharItems[15]->Caption(), "SI (0Fh");
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(KeyboardTest, NothingIsSentOrShownWhileBreakIsHeld)
{
    Start(0, 70);
    Form1->BreakExecute(Form1);
    ASSERT_TRUE(Form1->LED_BRK->Lit());
    Type('x');
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Display.BytesOut, 0);
}

TEST_F(KeyboardTest, WithShowInputOnlyAKeyIsSentAndCountedButNotShown)
{
    Start(0, 70);
    Settings.ShowInputOnly = true;
    Type('q');
    EXPECT_EQ(line.ReadExactly(1, 2s), "q");
    EXPECT_EQ(Display.BytesOut, 1);
    EXPECT_EQ(Form1->reScreen->Text(), "");
}

TEST_F(KeyboardTest, AKeyOnAClosedPortConnectsOnlyWhenTheSettingAsks)
{
    Start(0, 70);
    Form1->Connect_spbtnClick(Form1);
    ASSERT_FALSE(Form1->Comm1->Enabled());

    Settings.AutoConnectOnKeypress = false;
    Type('k');
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text,
              "No connection has been made.\nPress the connect button or F2 to start.");
    EXPECT_EQ(script.Last().DlgType, mtInformation);
    EXPECT_EQ(Form1->reScreen->Text(), "");

    Settings.AutoConnectOnKeypress = true;
    Type('k');
    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(line.ReadExactly(1, 2s), "k");

    // Once the menu has sent a control character, a closed port only says so.
    Form1->Connect_spbtnClick(Form1);
    Form1->CtrlCharItems[7]->Click();
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(script.Shown().size(), 2u);
    Type('k');
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(script.Shown().size(), 3u);
}

BOOL WINAPI RefusedWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    if (written) *written = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(KeyboardTest,
       AByteThePortRefusesIsReportedNeitherEchoedCountedNorCapturedAndTheBacklogIsChecked)
{
    Start(0, 70, 100);
    Transfer.CaptureFile = new TFileStream(InFolder("typed.cap"), fmCreate);
    // More received lines pending than the screen keeps: the key's backlog check trims them.
    std::string pending = "\\cf2 a";
    for (int i = 0; i < 100; ++i) pending += "\\par\r\\cf2 b";
    Display.PendingRtf->Clear();
    Display.PendingRtf->WriteBuffer(pending.c_str(), static_cast<int>(pending.size()) + 1);
    {
        qv::test::ApiPatch refuse(&WriteFileSlot, reinterpret_cast<void*>(&RefusedWrite));
        Type('r');
    }
    EXPECT_EQ(Display.BytesOut, 0);
    EXPECT_EQ(Transfer.CaptureFile->Size(), 0);
    EXPECT_EQ(Form1->reScreen->Text().find('r'), std::string::npos);
    EXPECT_EQ(PendingLineBreaks(), 99u);
    EXPECT_EQ(Form1->StatusBar1->Panels(4)->Text(), "Send error - the port did not take the data.");
    EXPECT_TRUE(PeerGetsNothingMore());

    Type('s');
    EXPECT_EQ(line.ReadExactly(1, 2s), "s");
    EXPECT_EQ(Display.BytesOut, 1);
    delete Transfer.CaptureFile;
    Transfer.CaptureFile = nullptr;
    TMemoryStream captured;
    captured.LoadFromFile(InFolder("typed.cap"));
    EXPECT_EQ(captured.DataString(), "s");
}

}  // namespace
}  // namespace keyboard_test
