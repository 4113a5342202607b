// The menus' state as they open (entry pane in both menus, full screen, Transfer during a string
// send), the screen pop-up's Find, the entry pane's toggle with its thin line and setting, the
// panes keeping their edit fields sized, and the utility windows opening once and coming to the
// front.
#include "app/LaterForms.h"
#include "app/ProgramMain.h"
#include "tests/support/MainWindowHarness.h"

namespace viewmenus_test {
namespace {

class ViewMenusTest : public qv::test::MainWindowHarness {
protected:
    void Start()
    {
        WriteTextFile(SettingsPath(), SettingsText("9600"));
        CreateProgramForms();
        Form1->Show();
    }

    // Which of two top-level windows the system holds nearer the front.
    static bool InFrontOf(HWND a, HWND b)
    {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == a) return true;
            if (w == b) return false;
        }
        return false;
    }
};

TEST_F(ViewMenusTest, HidingTheEntryPaneShowsTheThinLineAndStoresTheChoiceShowingItUndoesBoth)
{
    Start();
    ASSERT_TRUE(Form1->pnlStringEntry->Visible());
    ASSERT_FALSE(Form1->Panel7->Visible());

    Form1->miStringEntryPaneClick(Form1->miStringEntryPane);
    EXPECT_FALSE(Form1->pnlStringEntry->Visible());
    EXPECT_TRUE(Form1->Panel7->Visible());
    EXPECT_FALSE(Settings.StringEntryPaneVisible);
    Form1->View1Click(Form1->View1);
    EXPECT_FALSE(Form1->miStringEntryPane->Checked());

    Form1->miStringEntryPaneClick(Form1->miStringEntryPane);
    EXPECT_TRUE(Form1->pnlStringEntry->Visible());
    EXPECT_FALSE(Form1->Panel7->Visible());
    EXPECT_TRUE(Settings.StringEntryPaneVisible);
    Form1->View1Click(Form1->View1);
    EXPECT_TRUE(Form1->miStringEntryPane->Checked());
}

TEST_F(ViewMenusTest, TheScreensPopUpChecksTheEntryPaneItemExactlyWhileThePaneIsShown)
{
    Start();
    // A right click on the screen opens its pop-up; a cancel waiting behind the release closes
    // it again. The platform's menu keeps the check mark it showed.
    auto popUpShowsCheck = [] {
        HWND screen = Form1->reScreen->Handle();
        const LPARAM at = MAKELPARAM(20, 20);
        PostMessageA(screen, WM_RBUTTONUP, 0, at);
        PostMessageA(screen, WM_CANCELMODE, 0, 0);
        SendMessageA(screen, WM_RBUTTONDOWN, MK_RBUTTON, at);
        qv::test::PumpMessages();
        return (GetMenuState(Form1->PopupMenu1->Handle(), Form1->PopupStringEntryPane->Command(),
                             MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    };
    ASSERT_TRUE(Form1->pnlStringEntry->Visible());
    EXPECT_TRUE(popUpShowsCheck());
    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->miStringEntryPane->Command(), 0);
    ASSERT_FALSE(Form1->pnlStringEntry->Visible());
    EXPECT_FALSE(popUpShowsCheck());
    Form1->ShowStringEntryPane(true);  // the options dialog's box
    EXPECT_TRUE(popUpShowsCheck());
}

// The gutter is hidden at start; "Line Numbers" in the View menu and in the screen's pop-up
// shows and hides it, and both items are checked exactly while it shows.
TEST_F(ViewMenusTest, LineNumbersInBothMenusShowAndHideTheGutterAndAreCheckedWhileItShows)
{
    Start();
    // The menu opened (the View menu as the platform tells the window; the pop-up by a right
    // click on the screen, closed again by a cancel waiting behind the release), and the check
    // mark it then shows.
    auto checkedInMenu = [](HMENU Menu, TMenuItem* Item) {
        if (Menu == Form1->PopupMenu1->Handle()) {
            HWND screen = Form1->reScreen->Handle();
            PostMessageA(screen, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
            PostMessageA(screen, WM_CANCELMODE, 0, 0);
            SendMessageA(screen, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
            qv::test::PumpMessages();
        } else {
            SendMessageA(Form1->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Menu), 0);
        }
        return (GetMenuState(Menu, Item->Command(), MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    HMENU view = Form1->View1->Handle();
    HMENU popUp = Form1->PopupMenu1->Handle();
    EXPECT_EQ(Form1->miLineNumbers->Caption(), "Line Numbers");
    EXPECT_EQ(Form1->PopupLineNumbers->Caption(), "Line Numbers");
    EXPECT_FALSE(Form1->PanelLine->Visible());
    EXPECT_FALSE(checkedInMenu(view, Form1->miLineNumbers));

    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->miLineNumbers->Command(), 0);
    EXPECT_TRUE(Form1->PanelLine->Showing());
    EXPECT_TRUE(checkedInMenu(view, Form1->miLineNumbers));
    EXPECT_TRUE(checkedInMenu(popUp, Form1->PopupLineNumbers));
    // One digit's width and the margin while the screen has fewer than ten lines.
    EXPECT_EQ(Form1->PanelLine->Width(), Form1->GutterCanvas->TextWidth("0") + 7);

    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->PopupLineNumbers->Command(), 0);
    EXPECT_FALSE(Form1->PanelLine->Visible());
    EXPECT_FALSE(checkedInMenu(view, Form1->miLineNumbers));
    EXPECT_FALSE(checkedInMenu(popUp, Form1->PopupLineNumbers));
}

TEST_F(ViewMenusTest, FullScreenTogglesMaximisedAndBothItemsOfferToExitWhileMaximised)
{
    Start();
    Form1->SetWindowState(wsNormal);  // a first start opens maximised
    Form1->Fullscreen1Click(Form1->Fullscreen1);
    EXPECT_EQ(Form1->WindowState(), wsMaximized);
    Form1->View1Click(Form1->PopupMenu1);
    EXPECT_EQ(Form1->Fullscreen1->Caption(), "Exit F&ull Screen");
    EXPECT_EQ(Form1->ScreenMaximiseRestore1->Caption(), "Exit F&ull Screen");

    Form1->Fullscreen1Click(Form1->ScreenMaximiseRestore1);
    EXPECT_EQ(Form1->WindowState(), wsNormal);
    Form1->View1Click(Form1->View1);
    EXPECT_EQ(Form1->Fullscreen1->Caption(), "F&ull Screen");
    EXPECT_EQ(Form1->ScreenMaximiseRestore1->Caption(), "F&ull Screen");
}

TEST_F(ViewMenusTest, TheScreensPopUpOffersFindBesideTheEditMenusFind)
{
    Start();
    // The item as the platform's menu holds it; choosing it sends its command id.
    HMENU pop = Form1->PopupMenu1->Handle();
    UINT command = 0;
    for (int i = 0; i < GetMenuItemCount(pop); ++i) {
        char text[64] = "";
        GetMenuStringA(pop, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (std::string(text) == "Find...\tF3") command = GetMenuItemID(pop, i);
    }
    ASSERT_NE(command, 0u);
    TMenuItem::DispatchCommand(command);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Caption, "TFindDialog");
    EXPECT_EQ(Form1->Find1->Caption(), "&Find...");
}

TEST_F(ViewMenusTest, TransferSendItemsAreDisabledOnlyWhileAStringSendCanBeStopped)
{
    Start();
    Form1->Stop_btn->SetEnabled(true);
    Form1->Transfer1Click(Form1->Transfer1);
    EXPECT_FALSE(Form1->miSendFileBinary->Enabled());
    EXPECT_FALSE(Form1->miSpxSendFileBinary->Enabled());

    Form1->Stop_btn->SetEnabled(false);
    Form1->Transfer1Click(Form1->Transfer1);
    EXPECT_TRUE(Form1->miSendFileBinary->Enabled());
    EXPECT_TRUE(Form1->miSpxSendFileBinary->Enabled());
}

TEST_F(ViewMenusTest, SaveIsOfferedOnlyForAModifiedScreen)
{
    Start();
    Form1->reScreen->SetModified(false);
    Form1->FileMenuClick(Form1->FileMenu);
    EXPECT_FALSE(Form1->miFileSave->Enabled());
    EXPECT_TRUE(Form1->miFileSaveAs->Enabled());
    EXPECT_TRUE(Form1->miFilePrint->Enabled());
    Form1->reScreen->SetModified(true);
    Form1->FileMenuClick(Form1->FileMenu);
    EXPECT_TRUE(Form1->miFileSave->Enabled());
}

TEST_F(ViewMenusTest, UtilityWindowsOpenOnceAndASecondOpeningBringsThemToTheFront)
{
    Start();
    Form1->NotationCon1Click(Form1->NotationCon1);
    Form1->ASCIITable1Click(Form1);
    ASSERT_TRUE(OKBottomDlg->Visible());
    ASSERT_TRUE(ASCII_tbl->Visible());
    ASSERT_TRUE(InFrontOf(ASCII_tbl->Handle(), OKBottomDlg->Handle()));

    const HWND converter = OKBottomDlg->Handle();
    Form1->NotationCon1Click(Form1->NotationCon1);
    EXPECT_EQ(OKBottomDlg->Handle(), converter);
    EXPECT_TRUE(InFrontOf(OKBottomDlg->Handle(), ASCII_tbl->Handle()));

    Form1->Readme_sbtnClick(Form1);
    Form1->View1Click(Form1->View1);
    EXPECT_TRUE(Form1->NotationCon1->Checked());
    EXPECT_TRUE(Form1->UserNotes->Checked());
    OKBottomDlg->Hide();
    Form1->View1Click(Form1->View1);
    EXPECT_FALSE(Form1->NotationCon1->Checked());
}

TEST_F(ViewMenusTest, PanesKeepTheirEditFieldsSizedToThem)
{
    Start();
    Form1->pnlSend->SetVisible(true);  // as a file send shows it
    Form1->Panel5->SetWidth(400);
    Form1->SetWindowState(wsNormal);
    Form1->SetWidth(Form1->Width() + 120);
    qv::test::PumpMessages();
    EXPECT_EQ(Form1->edtSend->Width(), Form1->pnlStringEntry->Width() - 200);
    EXPECT_EQ(Form1->edtFile->Width(), Form1->pnlSend->Width() - 400);
    EXPECT_EQ(Form1->ProgressBar1->Width(), 400 - (64 + 15));
}

TEST_F(ViewMenusTest, ToolButtonsShowPicturesNotWordsAndKeepTheirHints)
{
    Start();
    const std::pair<TSpeedButton*, const char*> buttons[] = {
        {Form1->Connect_spbtn, "Connect"},     {Form1->DisConnect_spbtn1, "Connect"},
        {Form1->Connect_spbtn2, "Disconnect"}, {Form1->Clear_spbtn, "Clear Screen"},
        {Form1->Find_spbtn, "Find"},           {Form1->settings_spbtn, "Settings"},
        {Form1->Readme_sbtn, "User Notes"},    {Form1->ScrollDwn_sbtn, "Scroll Down"},
    };
    for (const auto& [button, hint] : buttons) {
        EXPECT_EQ(button->Glyph()->Width(), 16) << hint;
        EXPECT_EQ(button->Glyph()->Height(), 16) << hint;
        EXPECT_EQ(button->Caption(), "") << hint;
        EXPECT_EQ(button->Hint, hint);
    }
    // The two connect pictures differ, so the button shows which way it goes.
    EXPECT_NE(GetPixel(Form1->DisConnect_spbtn1->Glyph()->Canvas()->Handle(), 7, 7),
              GetPixel(Form1->Connect_spbtn2->Glyph()->Canvas()->Handle(), 7, 7));
}

}  // namespace
}  // namespace viewmenus_test
