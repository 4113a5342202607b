// The macro tree's commands on the real main window: adding, dragging, marking with undo and
// redo, clearing, saving with the marked-items question, and the description toggle.
#include "MacroPaneFixture.h"
#include "macros/TreeTexts.h"

namespace macropane_test {
namespace {

const std::string TwoFolders = "+|_Modem|_|_AT commands|_|_|_\r\n"
                               "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                               "-|_Dial|_Data String|_|_|_|_ATD123\\r\r\n"
                               "+|_Lines|_|_|_|_|_\r\n"
                               "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

TEST_F(MacroPaneTest, AddingAnItemNeedsAFolderAndJoinsTheSelectedItemsFolder)
{
    StartWithList(TwoFolders);
    Form1->TreeView->SetSelected(nullptr);
    EXPECT_EQ(Form1->PM_AddNewChild("New"), 0);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, MacroPaneText::CreateFolderFirst);
    EXPECT_EQ(script.Last().DlgType, mtInformation);

    Click(Node(4));  // Raise RTS, in Lines
    Form1->Add1Click(Form1->Tr_NewFile_btn);
    TTreeNode* added = Form1->TreeView->Selected();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Parent(), Node(3));
    EXPECT_EQ(added->Text(), "New");
    EXPECT_EQ(Node(3)->Text(), "Lines  (2)");
    EXPECT_EQ(NodeInfo(added)->ParentFolder, NodeInfo(Node(3)));
    EXPECT_EQ(NodeKind(added), mkNone);
    EXPECT_EQ(Form1->EditMacroName->Text(), "New");
}

TEST_F(MacroPaneTest, DroppingAnItemOnAFolderMovesItAndRecountsBothFolders)
{
    StartWithList(TwoFolders);
    TTreeNode* reset = Node(1);
    TTreeNode* lines = Node(3);
    Form1->MacroDropHitTest = [&](int, int) {
        return TForm1::TMacroDropPoint{lines, THitTests{htOnLabel, htOnItem}};
    };
    Click(reset);
    Form1->TreeViewDragDrop(Form1->TreeView, Form1->TreeView, 10, 10);
    EXPECT_EQ(reset->Parent(), lines);
    EXPECT_EQ(lines->GetLastChild(), reset);
    EXPECT_EQ(Labels(), "Modem, AT commands  (1)\nDial\nLines  (2)\nRaise RTS\nReset, Send ATZ\n");
    EXPECT_EQ(NodeInfo(reset)->ParentFolder, NodeInfo(lines));

    // On an item's indent: in front of that item. A folder is never dragged.
    TTreeNode* raise = lines->Item(0);
    Form1->MacroDropHitTest = [&](int, int) {
        return TForm1::TMacroDropPoint{raise, THitTests{htOnIndent}};
    };
    Form1->TreeViewDragDrop(Form1->TreeView, Form1->TreeView, 10, 10);
    EXPECT_EQ(lines->Item(0), reset);
    Click(lines);
    Form1->TreeViewDragDrop(Form1->TreeView, Form1->TreeView, 10, 10);
    EXPECT_EQ(lines->Level(), 0);
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(MacroPaneTest, AnItemDroppedBelowTheLastNodeBecomesTheLastOfThatNodesFolder)
{
    StartWithList(TwoFolders);
    Form1->ActionTreeExpandExecute(Form1);
    TTreeNode* reset = Node(1);
    TTreeNode* lines = Node(3);
    HWND tree = Form1->TreeView->Handle();
    const POINT from = LabelPoint(reset);
    const POINT below = {from.x, LabelPoint(Node(4)).y + 30};
    RECT client{};
    GetClientRect(tree, &client);
    ASSERT_LT(below.y, client.bottom);
    // The mouse leaves the drag distance while the button is down: the control starts a drag.
    PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 30, from.y + 30));
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    ASSERT_TRUE(Form1->TreeView->Dragging());
    SendMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(below.x, below.y));
    SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(below.x, below.y));
    EXPECT_EQ(reset->Parent(), lines);
    EXPECT_EQ(Labels(), "Modem, AT commands  (1)\nDial\nLines  (2)\nRaise RTS\nReset, Send ATZ\n");
}

TEST_F(MacroPaneTest, NothingIsDroppedOrAddedIntoAMarkedFolder)
{
    StartWithList(TwoFolders);
    TTreeNode* lines = Node(3);
    Click(lines);
    script.Answer(IDYES);
    Form1->ActionNodeDeleteSoftExecute(Form1->Tr_Delete_btn);
    script.Clear();
    ASSERT_TRUE(NodeMarkedForDeletion(lines));

    Form1->MacroDropHitTest = [&](int, int) {
        return TForm1::TMacroDropPoint{lines, THitTests{htOnLabel, htOnItem}};
    };
    Click(Node(1));
    Form1->TreeViewDragDrop(Form1->TreeView, Form1->TreeView, 10, 10);
    EXPECT_EQ(lines->Count(), 1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, MacroPaneText::DeletedFolder);

    Form1->TreeView->SetSelected(lines);
    EXPECT_EQ(Form1->PM_AddNewChild("New"), 0);
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(script.Last().Text, MacroPaneText::DeletedFolder);
}

TEST_F(MacroPaneTest, MarkingTheOnlyNodeDisablesBothDeletesAndUndoRedoFollowIt)
{
    StartWithList("+|_Only|_|_|_|_|_\r\n");
    Click(Node(0));
    Form1->ActionNodeDeleteSoftExecute(Form1->Tr_Delete_btn);
    EXPECT_TRUE(NodeMarkedForDeletion(Node(0)));
    EXPECT_EQ(Node(0)->OverlayIndex(), OverlayMarked);
    EXPECT_FALSE(Form1->ActionNodeDeleteSoft->Enabled());
    EXPECT_FALSE(Form1->ActionNodeDeleteHard->Enabled());
    EXPECT_EQ(Form1->TreeViewUndo->Items()->Count(), 1);

    Form1->ActionEditUndoExecute(Form1);
    EXPECT_FALSE(NodeMarkedForDeletion(Node(0)));
    EXPECT_EQ(Form1->TreeViewUndo->Items()->Count(), 0);
    EXPECT_TRUE(Form1->ActionEditRedo->Enabled());
    Form1->ActionEditRedoExecute(Form1);
    EXPECT_TRUE(NodeMarkedForDeletion(Node(0)));
    EXPECT_EQ(Form1->TreeViewRedo->Items()->Count(), 0);
    Form1->ActionEditRedoExecute(Form1);
    EXPECT_EQ(script.Beeps, 1);
}

TEST_F(MacroPaneTest, SavingMarkedItemsAnsweredNoLeavesTheFileByteIdentical)
{
    StartWithList(TwoFolders);
    const std::string before = ListBytes();
    Click(Node(2));
    Form1->ActionNodeDeleteSoftExecute(Form1->Tr_Delete_btn);
    script.Answer(IDNO);
    Form1->ActionSaveMacrosExecute(Form1->Tr_Save_btn);
    EXPECT_EQ(script.Shown().front().Text, TreeText::SaveMarkedItems);
    EXPECT_EQ(ListBytes(), before);
    EXPECT_TRUE(NodeMarkedForDeletion(Node(2)));

    script.Answer(IDYES);
    Form1->ActionSaveMacrosExecute(Form1->Tr_Save_btn);
    EXPECT_EQ(Items().Count(), 4);
    EXPECT_EQ(Form1->TreeViewUndo->Items()->Count(), 0);
    EXPECT_EQ(ListBytes().find("Dial"), std::string::npos);
}

TEST_F(MacroPaneTest, TogglingDescriptionsTwiceGivesBackTheSameLabels)
{
    StartWithList(TwoFolders);
    const std::string shown = Labels();
    Form1->Tr_Toggle_DescriptionExecute(Form1);
    EXPECT_EQ(Labels(), "Modem  (2)\nReset\nDial\nLines  (1)\nRaise RTS\n");
    Form1->Tr_Toggle_DescriptionExecute(Form1);
    EXPECT_EQ(Labels(), shown);
}

TEST_F(MacroPaneTest, ClearingDropsThePendingEditSoNoLaterClickWritesIntoAFreedNode)
{
    StartWithList(TwoFolders);
    Click(Node(1));
    UserTypes(Form1->EditMacroName, "Reboot");
    ASSERT_NE(Form1->PendingEditNode, nullptr);

    script.Answer(mrNo);
    Form1->Tr_ClearAll_miClick(Form1->Restore_mi);
    EXPECT_EQ(Items().Count(), 5);
    script.Answer(mrYes);
    Form1->Tr_ClearAll_miClick(Form1->Restore_mi);
    EXPECT_EQ(script.Last().Text, MacroPaneText::ClearQuestion);
    EXPECT_EQ(Items().Count(), 0);
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
    EXPECT_FALSE(Form1->ActionNodeModify->Enabled());
    EXPECT_FALSE(Form1->ActionOtherRestore->Enabled());
    Form1->TreeViewClick(Form1->TreeView);
    Form1->ActionNodeModifyExecute(Form1);
}

TEST_F(MacroPaneTest, AListBuiltInThePaneAndSavedLoadsAgainAsTheSameTree)
{
    StartWithList("");
    Form1->ActionAddNewFolderExecute(Form1->Tr_NewFolder_btn);
    UserTypes(Form1->EditMacroName, "Setup, first");
    UserTypes(Form1->EditDescription, "run once");
    Form1->Add1Click(Form1->Tr_NewFile_btn);
    Form1->EditMacroType->SetItemIndex(Form1->EditMacroType->Items()->IndexOf("Delay in ms"));
    Form1->EditMacroTypeChange(Form1->EditMacroType);
    EXPECT_EQ(Form1->Selection_lbl->Caption(), "Delay (ms):");
    Form1->EditOther->SetItemIndex(Form1->EditOther->Items()->IndexOf("500"));
    Form1->ActionOtherChangeExecute(Form1->EditOther);
    Form1->Add1Click(Form1->Tr_NewFile_btn);
    UserTypes(Form1->EditMacroName, "Hello");
    Form1->ActionSaveMacrosExecute(Form1->Tr_Save_btn);
    EXPECT_TRUE(script.Shown().empty());

    std::string labels = Labels();
    std::string fields;
    for (TTreeNode* n = Items().GetFirstNode(); n; n = n->GetNext()) fields += Fields(*NodeInfo(n));
    EXPECT_EQ(labels, "Setup, first, run once  (2)\nNew\nHello\n");

    Form1->ActionLoadMacrosExecute(Form1);
    EXPECT_EQ(Labels(), labels);
    std::string loaded;
    for (TTreeNode* n = Items().GetFirstNode(); n; n = n->GetNext()) loaded += Fields(*NodeInfo(n));
    EXPECT_EQ(loaded, fields);
    EXPECT_EQ(NodeKind(Node(1)), mkDelayMs);
}

TEST_F(MacroPaneTest, ButtonsMoveAnItemAmongItsSiblingsOnlyAndBeepAtTheEnds)
{
    StartWithList(TwoFolders);
    TTreeNode* reset = Node(1);
    Click(reset);
    Form1->ActionNodeMoveUpExecute(Form1->Tr_Up_btn);
    EXPECT_EQ(script.Beeps, 1);
    Form1->ActionNodeMoveDownExecute(Form1->Tr_Dn_btn);
    EXPECT_EQ(Labels(), "Modem, AT commands  (2)\nDial\nReset, Send ATZ\nLines  (1)\nRaise RTS\n");
    Form1->ActionNodeMoveDownExecute(Form1->Tr_Dn_btn);
    EXPECT_EQ(script.Beeps, 2);
    EXPECT_EQ(reset->Parent(), Node(0));
}

TEST_F(MacroPaneTest, AMovedNodeStaysHighlightedInTheTree)
{
    StartWithList(TwoFolders);
    TTreeNode* dial = Node(2);
    Click(dial);
    Form1->ActionNodeMoveUp->Execute();
    EXPECT_EQ(Form1->TreeView->Selected(), dial);
    EXPECT_EQ(SendMessageA(Form1->TreeView->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0),
              reinterpret_cast<LRESULT>(dial->ItemId()));
}

TEST_F(MacroPaneTest, ThePopUpMenuOpensOnARightClickAndOnShiftF10)
{
    StartWithList(TwoFolders);
    HWND tree = Form1->TreeView->Handle();
    // The press, with its release waiting in the queue and behind it a cancel that ends the
    // menu's modal loop once the menu is open. The menu sets its check marks as it opens.
    auto opens = [&](UINT down, UINT up, WPARAM wParam, POINT at) {
        Form1->Tr_Toggle_Description->SetChecked(false);
        const LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageA(tree, up, wParam, where);
        PostMessageA(tree, WM_CANCELMODE, 0, 0);
        SendMessageA(tree, down, wParam, where);
        qv::test::PumpMessages();
        return Form1->Tr_Toggle_Description->Checked();
    };
    EXPECT_TRUE(opens(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, LabelPoint(Node(0))));
    const POINT empty{5, LabelPoint(Node(3)).y + 40};
    ASSERT_EQ(Form1->TreeView->GetNodeAt(empty.x, empty.y), nullptr);
    EXPECT_TRUE(opens(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, empty));

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(opens(WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F10, POINT{}));
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(MacroPaneTest, TheUpperPartsHeightFromTheListFileIsSavedBackUnchanged)
{
    StartWithList(TwoFolders);
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    Form1->ActionSaveMacrosExecute(Form1->Tr_Save_btn);
    EXPECT_NE(ListBytes().find("!|_1|_1|_260|_320\r\n"), std::string::npos) << ListBytes();
}

TEST_F(MacroPaneTest, ClearAllAndShowEditorKeepTheUpperPartsHeightTheUserSet)
{
    StartWithList(TwoFolders);
    Press(Form1->Tr_edit_tbn);
    ASSERT_EQ(Form1->Top_pnl->Height(), 260);
    // The user drags the splitter 30 pixels up.
    HWND pane = Form1->Main_Panel->Handle();
    const int x = Form1->Splitter1->Left() + 40, y = Form1->Splitter1->Top() + 1;
    SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y - 30));
    SendMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(x, y - 30));
    ASSERT_EQ(Form1->Top_pnl->Height(), 230);
    for (int round = 0; round < 3; ++round) {
        script.Answer(mrYes);
        Choose("Tr_ClearAll_mi");
        ASSERT_EQ(Items().Count(), 0);
        ASSERT_FALSE(Form1->ScrollBox->Visible());
        Press(Form1->Tr_edit_tbn);
        EXPECT_EQ(Form1->Top_pnl->Height(), 230) << round;
        EXPECT_EQ(Form1->Splitter1->Top(), Form1->Top_pnl->Top() + 230) << round;
    }
    Press(Form1->Tr_Save_btn);
    EXPECT_NE(ListBytes().find("!|_1|_1|_230|_320\r\n"), std::string::npos) << ListBytes();
}

}  // namespace
}  // namespace macropane_test
