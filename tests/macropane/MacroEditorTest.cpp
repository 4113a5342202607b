// The macro editor on the real main window: fields filled from the selected record, changes
// applied when the selection moves, and every record kept intact by a round trip.
#include "MacroPaneFixture.h"
#include "dialogs/StringEntryHelp.h"
#include "framework/gui/CommonDialogs.h"
#include "terminal/Escapes.h"
#include "terminal/MacroRunner.h"

namespace macropane_test {
namespace {

const std::string ModemList = "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

TEST_F(MacroPaneTest, SelectingAnotherNodeAppliesThePendingEditWithoutAsking)
{
    StartWithList(ModemList);
    Click(Node(1));
    EXPECT_EQ(Form1->EditMacroName->Text(), "Reset");
    EXPECT_EQ(Form1->Selection_lbl->Caption(), "Char Delay(ms):");
    EXPECT_EQ(Form1->Tr_File_Data_lbl->Caption(), "Data:");
    EXPECT_FALSE(Form1->ActionNodeModify->Enabled());

    UserTypes(Form1->EditMacroName, "Reboot");
    EXPECT_TRUE(Form1->ActionNodeModify->Enabled());
    EXPECT_EQ(Form1->PendingEditNode, Node(1));

    Click(Node(2));
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(NodeInfo(Node(1))->MacroName, "Reboot");
    EXPECT_EQ(Node(1)->Text(), "Reboot, Send ATZ");
    EXPECT_EQ(Node(0)->Text(), "Modem, AT commands  (2)");
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
    EXPECT_FALSE(Form1->ActionNodeModify->Enabled());
    EXPECT_EQ(Form1->EditMacroName->Text(), "Raise RTS");
    EXPECT_EQ(Form1->EditSignal->Text(), "RTS ON");
    EXPECT_EQ(Form1->EditParentFolder->Text(), "Modem, AT commands");
}

TEST_F(MacroPaneTest, AMouseClickShowsTheClickedNodeAndTheEditGoesToIt)
{
    StartWithList(ModemList);
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    Form1->ActionTreeExpandExecute(Form1);
    const std::string raiseRts = Fields(*NodeInfo(Node(2)));
    MousePress(LabelPoint(Node(2)));
    MousePress(LabelPoint(Node(1)));
    EXPECT_EQ(Form1->TreeView->Selected(), Node(1));
    EXPECT_EQ(Form1->EditMacroName->Text(), "Reset");
    EXPECT_EQ(Form1->EditDescription->Text(), "Send ATZ");

    UserTypes(Form1->EditDescription, "Send ATZX");
    MousePress(LabelPoint(Node(2)));
    EXPECT_EQ(NodeInfo(Node(1))->Description, "Send ATZX");
    EXPECT_EQ(Node(1)->Text(), "Reset, Send ATZX");
    EXPECT_EQ(Fields(*NodeInfo(Node(2))), raiseRts);
    EXPECT_EQ(Form1->EditMacroName->Text(), "Raise RTS");
}

TEST_F(MacroPaneTest, AKeyThatMovesTheSelectionRefillsTheEditorSoTheEditGoesToTheNodeShown)
{
    StartWithList(ModemList);
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    Form1->ActionTreeExpandExecute(Form1);
    const std::string raiseRts = Fields(*NodeInfo(Node(2)));
    MousePress(LabelPoint(Node(1)));
    // Home, as the user's key reaches the tree: through the queue, down then up.
    HWND tree = Form1->TreeView->Handle();
    SetFocus(tree);
    PostMessageA(tree, WM_KEYDOWN, VK_HOME, 1);
    PostMessageA(tree, WM_KEYUP, VK_HOME, 0xC0000001);
    qv::test::PumpMessages();
    ASSERT_EQ(Form1->TreeView->Selected(), Node(0));
    EXPECT_EQ(Form1->EditMacroName->Text(), "Modem");

    UserTypes(Form1->EditDescription, "AT set");
    MousePress(LabelPoint(Node(2)));
    EXPECT_EQ(NodeInfo(Node(0))->Description, "AT set");
    EXPECT_EQ(NodeInfo(Node(1))->Description, "Send ATZ");
    EXPECT_EQ(Fields(*NodeInfo(Node(2))), raiseRts);
}

TEST_F(MacroPaneTest, WhateverMovesTheSelectionTheEditorShowsThatNodeAndWritesOnlyToIt)
{
    // Two delays, a data string whose escape is cut short, and a sound one.
    StartWithList("+|_Waits|_|_|_|_|_\r\n"
                  "-|_Wait A|_Delay in ms|_first|_10|_|_\r\n"
                  "-|_Wait B|_Delay in ms|_second|_20|_|_\r\n"
                  "+|_Sends|_|_|_|_|_\r\n"
                  "-|_Bad|_Data String|_cut|_0|_|_AB\\\r\n"
                  "-|_Good|_Data String|_fine|_0|_|_OK\r\n");
    ConnectToLine();
    TTreeNode *waits = Node(0), *waitA = Node(1), *waitB = Node(2), *bad = Node(4), *good = Node(5);
    // The node is selected and the editor shows it.
    const auto shows = [&](TTreeNode* node) {
        return ::testing::AssertionResult(Form1->TreeView->Selected() == node &&
                                          Form1->EditID->Text() == IntToStr(NodeInfo(node)->ID))
               << "selected "
               << (Form1->TreeView->Selected() ? Form1->TreeView->Selected()->Text()
                                               : std::string("none"))
               << ", editor " << Form1->EditMacroName->Text();
    };

    // The tree takes the focus from a right click on its empty space and selects its first
    // node itself; then Expand All Folders from the pop-up menu, and the editor is shown.
    ASSERT_EQ(Form1->TreeView->Selected(), nullptr);
    HWND tree = Form1->TreeView->Handle();
    const POINT empty{5, LabelPoint(Node(3)).y + 40};
    ASSERT_EQ(Form1->TreeView->GetNodeAt(empty.x, empty.y), nullptr);
    PostMessageA(tree, WM_RBUTTONUP, 0, MAKELPARAM(empty.x, empty.y));
    PostMessageA(tree, WM_CANCELMODE, 0, 0);  // closes the pop-up menu once it is open
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(empty.x, empty.y));
    qv::test::PumpMessages();
    ASSERT_EQ(Form1->TreeView->Selected(), waits);
    Choose("Expand_mi");
    Press(Form1->Tr_edit_tbn);
    EXPECT_TRUE(shows(waits));
    EXPECT_FALSE(Form1->EditMacroType->Enabled());
    UserTypes(Form1->EditDescription, "delays");
    MousePress(LabelPoint(waitA));
    EXPECT_EQ(NodeInfo(waits)->MacroName, "Waits");
    EXPECT_EQ(NodeInfo(waits)->Description, "delays");
    EXPECT_TRUE(script.Shown().empty());

    // Execute line and move to next with the editor hidden, then an edit saved.
    Press(Form1->Tr_edit_tbn);
    ASSERT_FALSE(Form1->ScrollBox->Visible());
    Press(Form1->Tr_SendNext_btn);
    Press(Form1->Tr_edit_tbn);
    EXPECT_TRUE(shows(waitB));
    UserTypes(Form1->EditDescription, "second changed");
    Press(Form1->Tr_Save_btn);
    const std::string list = ListBytes();
    EXPECT_NE(list.find("-|_Wait A|_Delay in ms|_first|_10|_"), std::string::npos) << list;
    EXPECT_NE(list.find("-|_Wait B|_Delay in ms|_second changed|_20|_"), std::string::npos) << list;

    // Remove All Breakpoints walks the selection to the last node; then an edit applied.
    MousePress(LabelPoint(waitA));
    Press(Form1->Tr_RemBreakpoint);
    EXPECT_TRUE(shows(good));
    UserTypes(Form1->EditDescription, "fine again");
    Press(Form1->Tr_OK_btn);
    EXPECT_EQ(Fields(*NodeInfo(good)), "Good\nData String\nfine again\n0\n\nOK\n");
    EXPECT_EQ(Fields(*NodeInfo(waitA)), "Wait A\nDelay in ms\nfirst\n10\n\n\n");

    // A script whose first item stops at an escape error (the editor opens on it, and it
    // stays selected while the run goes on) and whose next item has a breakpoint; then the bad
    // data mended and applied, to the node the editor shows.
    Press(Form1->TR_breakpnt_btn);
    ASSERT_EQ(NodeInfo(good)->Breakpoint, 'Y');
    Press(Form1->Tr_edit_tbn);
    MousePress(LabelPoint(bad));
    script.Clear();
    Press(Form1->Tr_SendScript_btn);
    ASSERT_TRUE(qv::test::WaitUntil([] { return !MacroRun.MacroRunActive; }));
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Shown()[0].Text, EscapeText::Incomplete);
    EXPECT_EQ(script.Shown()[1].Text, MacroText::BreakpointReached);
    EXPECT_TRUE(shows(bad));
    EXPECT_EQ(Form1->EditData->SelStart(), 2);
    EXPECT_EQ(Form1->EditData->SelLength(), 1);
    UserTypes(Form1->EditData, "AB\\5C");
    Press(Form1->Tr_OK_btn);
    EXPECT_EQ(Fields(*NodeInfo(good)), "Good\nData String\nfine again\n0\n\nOK\n");
    EXPECT_EQ(Fields(*NodeInfo(bad)), "Bad\nData String\ncut\n0\n\nAB\\5C\n");
    MousePress(LabelPoint(good));
    EXPECT_TRUE(shows(good));

    // A collapse that hides the selected item: the control selects its folder.
    Choose("Collapse_mi");
    EXPECT_TRUE(shows(Node(3)));
}

TEST_F(MacroPaneTest, AnEmptyNameIsReplacedByAQuestionMarkWithItsMessage)
{
    StartWithList(ModemList);
    Click(Node(1));
    UserTypes(Form1->EditMacroName, "");
    Form1->ActionNodeModifyExecute(Form1->Tr_OK_btn);

    const TShownDialog* box = OnlyDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, MacroPaneText::EmptyName);
    EXPECT_EQ(NodeInfo(Node(1))->MacroName, "?");
    EXPECT_EQ(Node(1)->Text(), "?, Send ATZ");
}

TEST_F(MacroPaneTest, ApplyingEveryTypeUnchangedKeepsItsRecordExactly)
{
    // Types and values the lists cannot show, and a name holding a comma, among them.
    StartWithList("+|_All|_|_|_|_|_\r\n"
                  "-|_Send, then wait|_File|_log|_20|_|_C:\\data\\log.bin\r\n"
                  "-|_Odd delay|_Data String|_|_15|_|_AB\\0D\r\n"
                  "-|_Lines|_Control Signal|_x|_|_RTS ON,  DTR OFF|_\r\n"
                  "-|_Wait ms|_Delay in ms|_|_500|_|_\r\n"
                  "-|_Wait s|_Delay in seconds|_|_5|_|_\r\n"
                  "-|_Wait m|_Delay in minutes|_|_2|_|_\r\n"
                  "-|_Nothing|_(NONE)|_|_|_|_\r\n"
                  "-|_Bare|_|_|_|_|_\r\n");
    ASSERT_EQ(Items().Count(), 9);
    for (int i = 0; i < 9; ++i) {
        TTreeNode* node = Node(i);
        std::string before = Fields(*NodeInfo(node));
        std::uint32_t id = NodeInfo(node)->ID;
        Click(node);
        // Applied as it stands, as if a field had been touched and put back.
        Form1->PendingEditNode = node;
        Form1->ActionNodeModifyExecute(Form1->Tr_OK_btn);
        Click(Node(0));
        EXPECT_EQ(Fields(*NodeInfo(node)), before) << "node " << i;
        EXPECT_EQ(NodeInfo(node)->ID, id);
    }
    EXPECT_EQ(Node(5)->Text(), "Wait s");
    EXPECT_EQ(NodeKind(Node(5)), mkDelaySecs);
    EXPECT_TRUE(script.Shown().empty());

    // Choosing from a list replaces what it could not show.
    Click(Node(5));
    Form1->EditOther->SetItemIndex(Form1->EditOther->Items()->IndexOf("10"));
    Form1->ActionOtherChangeExecute(Form1->EditOther);
    Click(Node(0));
    EXPECT_EQ(NodeInfo(Node(5))->OtherValue, "10");
    EXPECT_EQ(NodeInfo(Node(5))->MacroType, "Delay in seconds");
}

TEST_F(MacroPaneTest, AFieldDelimiterIsRefusedWhenPastedAsWhenTyped)
{
    StartWithList(ModemList);
    Click(Node(1));
    UserTypes(Form1->EditDescription, "one|two");
    EXPECT_EQ(Form1->EditDescription->Text(), "onetwo");
    char key = '|';
    Form1->EditMacroNameKeyPress(Form1->EditMacroName, key);
    EXPECT_EQ(key, 0);
    Click(Node(2));
    EXPECT_EQ(NodeInfo(Node(1))->Description, "onetwo");
}

TEST_F(MacroPaneTest, RestoreRefillsTheEditorAndDropsThePendingEdit)
{
    StartWithList(ModemList);
    Click(Node(2));
    UserTypes(Form1->EditMacroName, "Lower RTS");
    EXPECT_TRUE(Form1->Restore_mi->Enabled());
    Form1->ActionOtherRestoreExecute(Form1->Restore_mi);
    EXPECT_EQ(Form1->EditMacroName->Text(), "Raise RTS");
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
    EXPECT_FALSE(Form1->Restore_mi->Enabled());
    Click(Node(1));
    EXPECT_EQ(NodeInfo(Node(2))->MacroName, "Raise RTS");
}

TEST_F(MacroPaneTest, TheEditorShowsAndHidesWithItsToolBar)
{
    StartWithList(ModemList);
    EXPECT_FALSE(Form1->ScrollBox->Visible());
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    EXPECT_TRUE(Form1->ScrollBox->Visible());
    EXPECT_TRUE(Form1->ToolBar1->Visible());
    EXPECT_TRUE(Form1->Tr_edit_tbn->Down());
    EXPECT_EQ(Form1->Editor_mi1->Caption(), MacroPaneText::HideEditor);
    EXPECT_FALSE(Form1->Tr_Send_btn->Enabled());
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    EXPECT_FALSE(Form1->ScrollBox->Visible());
    EXPECT_FALSE(Form1->Tr_edit_tbn->Down());
    EXPECT_EQ(Form1->Editor_mi1->Caption(), MacroPaneText::ShowEditor);
    EXPECT_TRUE(Form1->Tr_Send_btn->Enabled());
}

TEST_F(MacroPaneTest, EveryEditButtonAndTheEditorArrowShowAPicture)
{
    StartWithList(ModemList);
    const auto pixels = [](TBitmap& Picture) {
        std::vector<TColor> all;
        for (int y = 0; y < Picture.Height(); ++y)
            for (int x = 0; x < Picture.Width(); ++x) all.push_back(Picture.Canvas()->Pixel(x, y));
        return all;
    };
    const auto drawn = [&](TBitmap& Picture, TColor Clear) {
        const auto all = pixels(Picture);
        return std::count_if(all.begin(), all.end(), [&](TColor c) { return c != Clear; });
    };
    for (TToolButton* b :
         {Form1->Tr_NewFolder_btn, Form1->Tr_NewFile_btn, Form1->Tr_Up_btn, Form1->Tr_Dn_btn,
          Form1->Tr_Delete_btn, Form1->Tr_Restore_btn, Form1->Tr_OK_btn, Form1->Tr_Save_btn}) {
        TBitmap picture;
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(clFuchsia);
        picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Form1->ToolBar1->Images()->Draw(picture.Canvas(), 0, 0, b->ImageIndex());
        EXPECT_GT(drawn(picture, clFuchsia), 20) << b->Name;
    }
    // The title bar's button: one arrow while the editor is hidden, another while it shows.
    std::vector<std::vector<TColor>> arrows;
    for (int shown = 0; shown < 2; ++shown) {
        TBitmap& glyph = *Form1->UpDn_btn->Glyph();
        EXPECT_GT(drawn(glyph, glyph.TransparentColor()), 10);
        arrows.push_back(pixels(glyph));
        Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    }
    EXPECT_NE(arrows[0], arrows[1]);
}

TEST_F(MacroPaneTest, TheDataFieldPicksAReadableFileOrShowsTheDataStringHelp)
{
    StartWithList(
        "+|_F|_|_|_|_|_\r\n-|_Log|_File|_|_|_|_old.bin\r\n-|_Hi|_Data String|_|_|_|_Hi\r\n");
    Application->CreateForm(frmStringEntryHelp);
    Click(Node(1));
    EXPECT_TRUE(Form1->Tr_FileOpen_btn->Visible());
    const std::string missing = InFolder("missing.bin");
    auto pick = [](const std::string& name) {
        return [name](TCommonDialog& d) {
            static_cast<TOpenDialog&>(d).FileName = name;
            return true;
        };
    };
    script.AnswerDialog(pick(missing));
    Form1->EditDataDblClick(Form1->EditData);
    EXPECT_EQ(script.Last().Text, MacroPaneText::CouldNotOpen + missing);
    EXPECT_EQ(script.Last().DlgType, mtError);
    EXPECT_EQ(Form1->EditData->Text(), "old.bin");
    EXPECT_EQ(Form1->PendingEditNode, nullptr);

    const std::string present = InFolder("present.bin");
    WriteTextFile(present, "x");
    script.AnswerDialog(pick(present));
    Form1->Tr_FileOpen_btnClick(Form1->Tr_FileOpen_btn);
    EXPECT_EQ(Form1->EditData->Text(), present);
    EXPECT_EQ(Form1->PendingEditNode, Node(1));
    Click(Node(2));
    EXPECT_EQ(NodeInfo(Node(1))->MacroData, present);

    EXPECT_FALSE(Form1->Tr_FileOpen_btn->Visible());
    Form1->EditDataDblClick(Form1->EditData);
    ASSERT_TRUE(frmStringEntryHelp->Visible());
    EXPECT_NE(frmStringEntryHelp->STRING_ENTRY_HELP_re->Text().find("Data String Macros"),
              String::npos);
}

}  // namespace
}  // namespace macropane_test
