// The options dialog beside the real main window on a virtual line: what it shows on opening,
// the error-checking rule, live spins and boxes, half-typed values, the mode list, and what OK,
// Cancel (after the platform's font dialog has come and gone, or after work in the main window),
// Esc, Save Settings and the buttons' Alt+letters keep or put back.
#include <fstream>
#include <iterator>
#include <string>

#include "settings/PropertiesForm.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

namespace options_test {
namespace {

using qv::test::ExpectedLines;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class OptionsTest : public qv::test::MainWindowHarness {
protected:
    // Opens the dialog with the main window's settings command and waits for its activation.
    void Open()
    {
        if (!frmProp) Application->CreateForm(frmProp);
        Form1->settings_spbtnClick(Form1->settings_spbtn);
        ASSERT_TRUE(qv::test::WaitUntil([] { return frmProp->Active(); }));
    }
    // The user's keystroke into a control, through its window.
    static void Type(TWinControl* Control, char Key)
    {
        SendMessageA(Control->Handle(), WM_CHAR, static_cast<unsigned char>(Key), 1);
    }
    // The settings file as written.
    std::string SettingsFileText() const
    {
        std::ifstream in(SettingsPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The user turns to another window of the program (a click on it activates it).
    static void TurnTo(TForm* Form)
    {
        SetActiveWindow(Form->Handle());
        ASSERT_TRUE(qv::test::WaitUntil([Form] { return Form->Active(); }));
    }
    // A main window menu item chosen: the command the platform's menu sends.
    static void Choose(TMenuItem* Item)
    {
        SendMessageA(Form1->Handle(), WM_COMMAND, Item->Command(), 0);
    }
};

TEST_F(OptionsTest, OpensModelessOnTopWithTheSettingsAndParityBoxOnlyWhileDisconnected)
{
    Start(0, 70, 120, "SHOW_INPUT_ONLY=1\r\n");
    Open();
    EXPECT_EQ(frmProp->Caption(), "Settings");
    EXPECT_TRUE(GetWindowLongA(frmProp->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(frmProp->Modal());
    EXPECT_EQ(frmProp->NumLines_spedt->Value(), 120);
    EXPECT_EQ(frmProp->Col_sedt->Value(), 70);
    EXPECT_TRUE(frmProp->Col_sedt->Enabled());
    EXPECT_TRUE(frmProp->ShowIPOnlycbx->Checked());
    EXPECT_EQ(frmProp->Displaymode_cbx->ItemIndex(), 0);
    EXPECT_FALSE(frmProp->cbCheckParity->Enabled());
    EXPECT_EQ(frmProp->Labelparitytext->Caption(), "Disconnect to enable option.");
    EXPECT_EQ(frmProp->Labelparitytext->Font()->Color(), clRed);

    frmProp->sbtnOKClick(frmProp->sbtnOK);
    EXPECT_FALSE(frmProp->Visible());
    Form1->Connect_spbtnClick(Form1);
    Open();
    EXPECT_TRUE(frmProp->cbCheckParity->Enabled());
    EXPECT_EQ(frmProp->Labelparitytext->Caption(), "Configure error checking option here:");
    EXPECT_EQ(frmProp->Labelparitytext->Font()->Color(), clBlack);
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(OptionsTest, AnUnknownReplacementByteBecomesTheDefaultWithOneWarning)
{
    Start(0, 70, 100, "[Error Section]\r\nPARITY_REPLACE_CH=65\r\n");
    ASSERT_EQ(Settings.ParityReplaceCh, 'A');
    Open();
    EXPECT_EQ(Settings.ParityReplaceCh, '?');
    EXPECT_EQ(frmProp->ParityReplaceChLst->ItemIndex(), 0);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Last().Text,
              "Incorrect settings found for some options in configuration file:\n" +
                  SettingsPath() + "\n\nThese options will be set to use defaults.");

    frmProp->sbtnOKClick(frmProp->sbtnOK);
    Open();
    EXPECT_EQ(script.Shown().size(), 1u);
}

TEST_F(OptionsTest, ColumnsFollowTheirSpinAtOnceWhileHalfTypedValuesChangeNothing)
{
    Start(0, 70);
    Open();
    frmProp->Col_sedt->SetText("50");
    EXPECT_EQ(Settings.Columns, 50);
    EXPECT_EQ(Display.CharsPerLine, 50u);
    line.Write(std::string(60, 'x'));
    ASSERT_TRUE(WaitForBytesIn(60));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_EQ(ScreenLines(), ExpectedLines(std::string(60, 'x'), 0, 50, 100));

    for (const char* typed : {"", "3", "4x"}) {
        frmProp->Col_sedt->SetText(typed);
        EXPECT_EQ(Settings.Columns, 50) << typed;
    }
    frmProp->Col_sedt->SetText("95");
    EXPECT_EQ(Settings.Columns, 90);
    EXPECT_EQ(Display.CharsPerLine, 90u);
}

TEST_F(OptionsTest, AHalfTypedLineLimitNeverCutsTheScreenWhileDataFlows)
{
    Start(0, 70, 100);
    Open();
    std::string rows;
    for (int i = 0; i < 30; ++i) rows += "ab\r";
    line.Write(rows);
    ASSERT_TRUE(WaitForBytesIn(30 * 3));
    ASSERT_TRUE(WaitForQuietScreen());
    const size_t shown = ScreenLines().size();
    ASSERT_GE(shown, 30u);

    // A click selects the value; the first digit of "12" replaces it; a letter is refused.
    frmProp->NumLines_spedtClick(frmProp->NumLines_spedt);
    Type(frmProp->NumLines_spedt, '1');
    Type(frmProp->NumLines_spedt, 'q');
    EXPECT_EQ(frmProp->NumLines_spedt->Text(), "1");
    EXPECT_EQ(Settings.Lines, 100);

    line.Write("cd\rcd\rcd\rcd\rcd\r");
    ASSERT_TRUE(WaitForBytesIn(35 * 3));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_EQ(ScreenLines().size(), shown + 5);
}

// Presses OK on the visible dialog box of this thread (the platform's font dialog).
BOOL CALLBACK PressOkOn(HWND Window, LPARAM)
{
    char name[16] = "";
    GetClassNameA(Window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(Window)) return TRUE;
    PostMessageA(Window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window, IDOK)));
    return FALSE;
}

void CALLBACK PressOkOnTheFontDialog(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), PressOkOn, 0);
}

// The platform's font dialog as the user meets it: it takes the activation from the options
// dialog, and its OK button (pressed from the dialog's own message loop) gives it back.
bool ChooseThroughThePlatformsFontDialog(TCommonDialog& Dialog)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, PressOkOnTheFontDialog);
    const bool chosen = Dialog.ExecutePlatform();
    KillTimer(nullptr, timer);
    return chosen;
}

TEST_F(OptionsTest, CancelAndEscPutBackColumnsAndFontWhileOkKeepsThem)
{
    Start(0, 70);
    const int size = Form1->reScreen->Font()->Size();
    const std::int32_t fontSize = Settings.FontSize;
    Open();
    frmProp->Col_sedt->SetText("50");
    // The font dialog's going activates the options dialog again: that must not take a new copy.
    bool confirmed = false;
    script.AnswerDialog([&](TCommonDialog& Dialog) {
        confirmed = ChooseThroughThePlatformsFontDialog(Dialog);
        static_cast<TFontDialog&>(Dialog).Font()->SetSize(size + 6);
        return true;
    });
    frmProp->btnFontClick(frmProp->btnFont);
    ASSERT_TRUE(confirmed);
    ASSERT_EQ(Form1->reScreen->Font()->Size(), size + 6);
    qv::test::PumpMessages();

    frmProp->sbtn_CancelClick(frmProp->sbtn_Cancel);
    EXPECT_FALSE(frmProp->Visible());
    EXPECT_EQ(Settings.Columns, 70);
    EXPECT_EQ(Display.CharsPerLine, 70u);
    EXPECT_EQ(Settings.FontSize, fontSize);
    EXPECT_EQ(Form1->reScreen->Font()->Size(), size);

    Open();
    frmProp->Col_sedt->SetText("50");
    frmProp->sbtnOKClick(frmProp->sbtnOK);
    EXPECT_EQ(Settings.Columns, 50);
    EXPECT_TRUE(Settings.Accepted);

    Open();
    frmProp->Col_sedt->SetText("60");
    Type(frmProp->Col_sedt, 27);
    EXPECT_FALSE(frmProp->Visible());
    EXPECT_EQ(Settings.Columns, 50);
    EXPECT_EQ(Display.CharsPerLine, 50u);
}

TEST_F(OptionsTest, CancelKeepsTheModeAndFontChosenInTheMainWindowWhileTheDialogWasOpen)
{
    Start(0, 70);
    ASSERT_NE(Settings.FontSize, 20);
    Open();
    TurnTo(Form1);
    script.Answer(mrYes);
    Choose(Form1->mi_HexMode);
    script.AnswerDialog([](TCommonDialog& Dialog) {
        static_cast<TFontDialog&>(Dialog).Font()->SetSize(20);
        return true;
    });
    Choose(Form1->EditFont);
    ASSERT_EQ(Display.DisplayMode, 2);
    ASSERT_EQ(Settings.FontSize, 20);

    TurnTo(frmProp);
    EXPECT_EQ(frmProp->Displaymode_cbx->ItemIndex(), 2);
    frmProp->Col_sedt->SetText("50");
    frmProp->sbtn_CancelClick(frmProp->sbtn_Cancel);
    EXPECT_EQ(Settings.Columns, 70);
    EXPECT_EQ(Settings.DisplayMode, 2);
    EXPECT_EQ(Settings.FontSize, 20);
    EXPECT_EQ(Form1->reScreen->Font()->Size(), 20);
}

// A user's steps, connected and then not: the line width fitted to the screen is turned
// off, the columns set to 50, a font of 20 points chosen with the font button (applying it
// while connected gives the screen the focus, which activates the main window), then a click
// back onto the dialog and Cancel, or Esc. Everything the dialog changed goes back.
TEST_F(OptionsTest, CancelAndEscPutBackColumnsAndAFontChosenWithTheFontButtonConnectedOrNot)
{
    Start(0, 0);
    const int size = Form1->reScreen->Font()->Size();
    ASSERT_NE(size, 20);
    const std::int32_t fitted = Settings.Columns;
    ASSERT_NE(fitted, 50);
    for (bool connected : {true, false}) {
        SCOPED_TRACE(connected ? "connected" : "disconnected");
        if (!connected) Choose(Form1->Disconnect1_mi);
        ASSERT_EQ(Form1->Comm1->Enabled(), connected);
        Open();
        SendMessageA(frmProp->AutoColAdjustcbx->Handle(), BM_CLICK, 0, 0);
        ASSERT_FALSE(Settings.AutoAdjustCols);
        SetWindowTextA(frmProp->Col_sedt->Handle(), "50");
        ASSERT_EQ(Display.CharsPerLine, 50u);
        script.AnswerDialog([&](TCommonDialog& Dialog) {
            const bool chosen = ChooseThroughThePlatformsFontDialog(Dialog);
            static_cast<TFontDialog&>(Dialog).Font()->SetSize(20);
            return chosen;
        });
        SendMessageA(frmProp->btnFont->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(Form1->reScreen->Font()->Size(), 20);
        qv::test::PumpMessages();
        TurnTo(Form1);
        TurnTo(frmProp);

        if (connected)
            AltKey('C');
        else
            Type(frmProp->Col_sedt, 27);
        EXPECT_FALSE(frmProp->Visible());
        EXPECT_TRUE(Settings.AutoAdjustCols);
        EXPECT_EQ(Settings.Columns, fitted);
        EXPECT_EQ(Display.CharsPerLine, static_cast<std::uint32_t>(fitted));
        EXPECT_EQ(Settings.FontSize, size);
        EXPECT_EQ(Form1->reScreen->Font()->Size(), size);
        Open();
        EXPECT_EQ(frmProp->Col_sedt->Text(), IntToStr(fitted));
        EXPECT_TRUE(frmProp->AutoColAdjustcbx->Checked());
        frmProp->sbtnOKClick(frmProp->sbtnOK);
    }
}

// The rarer path, connected and then not: while the font dialog is up the user switches the
// main window to Hexadecimal, then chooses 20 points, clicks the options dialog and cancels.
// The font chosen through the dialog goes back; the mode chosen in the main window stays.
TEST_F(OptionsTest, CancelPutsBackTheDialogsFontButKeepsAModeChosenInTheMainWindowMeanwhile)
{
    Start(0, 70);
    const int size = Form1->reScreen->Font()->Size();
    for (bool connected : {true, false}) {
        SCOPED_TRACE(connected ? "connected" : "disconnected");
        if (!connected) Choose(Form1->Disconnect1_mi);
        Open();
        const int mode = connected ? 2 : 1;
        script.AnswerDialog([&](TCommonDialog& Dialog) {
            TurnTo(Form1);
            script.Answer(mrYes);
            Choose(connected ? Form1->mi_HexMode : Form1->mi_MixedMode);
            static_cast<TFontDialog&>(Dialog).Font()->SetSize(20);
            return true;
        });
        SendMessageA(frmProp->btnFont->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(Display.DisplayMode, mode);
        ASSERT_EQ(Form1->reScreen->Font()->Size(), 20);
        TurnTo(frmProp);
        AltKey('C');
        EXPECT_FALSE(frmProp->Visible());
        EXPECT_EQ(Settings.FontSize, size);
        EXPECT_EQ(Form1->reScreen->Font()->Size(), size);
        EXPECT_EQ(Display.DisplayMode, mode);
        EXPECT_EQ(Settings.DisplayMode, mode);
        script.Answer(mrYes);
        Choose(Form1->mi_ASCIIMode);
    }
}

TEST_F(OptionsTest, TheButtonsAnswerTheirUnderlinedLetters)
{
    Start(0, 70);
    Open();
    frmProp->Col_sedt->SetText("50");
    AltKey('C');
    EXPECT_FALSE(frmProp->Visible());
    EXPECT_EQ(Settings.Columns, 70);

    Open();
    frmProp->ShowIPOnlycbx->SetChecked(true);
    AltKey('S');
    EXPECT_FALSE(frmProp->Visible());
    EXPECT_NE(SettingsFileText().find("SHOW_INPUT_ONLY=1\r\n"), std::string::npos);
}

TEST_F(OptionsTest, ADeclinedModeChangePutsTheListBackAndTheTabSpinFollowsTheMode)
{
    Start(0, 70);
    Open();
    frmProp->Displaymode_cbx->SetItemIndex(2);
    script.Answer(mrNo);
    frmProp->Displaymode_cbxChange(frmProp->Displaymode_cbx);
    EXPECT_EQ(frmProp->Displaymode_cbx->ItemIndex(), 0);
    EXPECT_EQ(Display.DisplayMode, 0);
    EXPECT_TRUE(frmProp->TabNums_sedt->Enabled());

    frmProp->Displaymode_cbx->SetItemIndex(2);
    script.Answer(mrYes);
    frmProp->Displaymode_cbxChange(frmProp->Displaymode_cbx);
    EXPECT_EQ(frmProp->Displaymode_cbx->ItemIndex(), 2);
    EXPECT_EQ(Display.DisplayMode, 2);
    EXPECT_EQ(Settings.DisplayMode, 2);
    EXPECT_FALSE(frmProp->TabNums_sedt->Enabled());
    EXPECT_FALSE(frmProp->TABspace_lbl->Enabled());
    EXPECT_EQ(script.Shown().size(), 2u);
}

TEST_F(OptionsTest, TheEntryPaneBoxActsAtOnceAndCancelRestoresOnlyTheSetting)
{
    Start(0, 70);
    Open();
    frmProp->cbDispStringEntryPnl->SetChecked(false);
    EXPECT_FALSE(Form1->pnlStringEntry->Visible());
    EXPECT_TRUE(Form1->Panel7->Visible());
    frmProp->sbtn_CancelClick(frmProp->sbtn_Cancel);
    EXPECT_TRUE(Settings.StringEntryPaneVisible);
    EXPECT_FALSE(Form1->pnlStringEntry->Visible());
}

TEST_F(OptionsTest, SaveSettingsKeepsTheChangesAndWritesTheSettingsFile)
{
    Start(0, 70);
    Open();
    frmProp->ShowIPOnlycbx->SetChecked(true);
    frmProp->sbtnSaveSettingsClick(frmProp->sbtnSaveSettings);
    EXPECT_FALSE(frmProp->Visible());
    EXPECT_TRUE(frmProp->sbtnSaveSettings->Enabled());
    EXPECT_TRUE(Settings.ShowInputOnly);
    EXPECT_TRUE(Settings.Accepted);
    EXPECT_NE(SettingsFileText().find("SHOW_INPUT_ONLY=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace options_test
