// The macro editor meeting what a user meets: boxes whose loop runs the queue while they are
// up (the tree's posted click, the run's next step), and the tree's own collapse by the mouse
// and keys, each through the real control's messages.
#include "MacroPaneFixture.h"
#include "terminal/Escapes.h"
#include "terminal/MacroRunner.h"

namespace macropane_test {
namespace {

const std::string ModemList = "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

const std::string TwoFolders = ModemList + "+|_Lines|_|_|_|_|_\r\n"
                                           "-|_Drop DTR|_Control Signal|_|_|_DTR OFF|_\r\n";

class MacroEditorBoxesTest : public MacroPaneTest {
protected:
    // The list loaded, the editor shown, the folder expanded, "Reset" clicked.
    void StartOnReset()
    {
        StartWithList(ModemList);
        Press(Form1->Tr_edit_tbn);
        Form1->ActionTreeExpandExecute(Form1);
        MousePress(LabelPoint(Node(1)));
        ASSERT_EQ(Form1->TreeView->Selected(), Node(1));
        ASSERT_EQ(Form1->EditMacroName->Text(), "Reset");
    }
    // The list loaded, the editor shown, the folders expanded, Node clicked.
    void StartOn(const std::string& List, int Node)
    {
        StartWithList(List);
        Press(Form1->Tr_edit_tbn);
        Form1->ActionTreeExpandExecute(Form1);
        MousePress(LabelPoint(this->Node(Node)));
        ASSERT_EQ(Form1->TreeView->Selected(), this->Node(Node));
    }
    // The item the tree highlights (its caret), which is what the user sees selected.
    TTreeNode* Highlighted()
    {
        auto caret = reinterpret_cast<HTREEITEM>(
            SendMessageA(Form1->TreeView->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
        for (TTreeNode* n = Items().GetFirstNode(); n; n = n->GetNext())
            if (n->ItemId() == caret) return n;
        return nullptr;
    }
    // A key as the user's reaches the focused tree: through the queue, down then up.
    void TreeKey(WORD Key)
    {
        HWND tree = Form1->TreeView->Handle();
        SetFocus(tree);
        PostMessageA(tree, WM_KEYDOWN, Key, 1);
        PostMessageA(tree, WM_KEYUP, Key, 0xC0000001);
        qv::test::PumpMessages();
    }
};

TEST_F(MacroEditorBoxesTest, AnEmptyNameAppliedByAMouseClickShowsOneBoxAndTheEditorMovesOn)
{
    StartOnReset();
    const std::string raiseRts = Fields(*NodeInfo(Node(2)));
    UserTypes(Form1->EditMacroName, "");
    // The click selects, the selection change applies and shows the box, and the box's loop
    // runs the click the tree posted.
    MousePress(LabelPoint(Node(2)));

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, MacroPaneText::EmptyName);
    EXPECT_EQ(NodeInfo(Node(1))->MacroName, "?");
    EXPECT_EQ(Node(1)->Text(), "?, Send ATZ");
    EXPECT_EQ(Fields(*NodeInfo(Node(2))), raiseRts);
    EXPECT_EQ(Form1->TreeView->Selected(), Node(2));
    EXPECT_EQ(Form1->EditMacroName->Text(), "Raise RTS");
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
}

TEST_F(MacroEditorBoxesTest, CollapsingTheFolderWithItsButtonMovesSelectionEditorAndEditToTheFolder)
{
    StartOnReset();
    UserTypes(Form1->EditDescription, "Send ATZ now");
    // The folder's [-] box, left of its icon in the first indent.
    const POINT folder = LabelPoint(Node(0));
    MousePress(POINT{Form1->TreeView->Indent / 2, folder.y});

    ASSERT_FALSE(Node(0)->Expanded());
    EXPECT_EQ(Highlighted(), Node(0));
    EXPECT_EQ(Form1->TreeView->Selected(), Node(0));
    EXPECT_EQ(Form1->EditMacroName->Text(), "Modem");
    EXPECT_EQ(NodeInfo(Node(1))->Description, "Send ATZ now");
    EXPECT_EQ(NodeInfo(Node(0))->Description, "AT commands");
}

// The keys that collapse a folder over its selected item: Left (which under Wine first selects
// the folder, then collapses it) and the keypad's minus (which collapses only the selected
// node). Whichever way, the tree's highlight, the selection and the editor stay one node, and
// the edit typed on the item stays the item's.
TEST_F(MacroEditorBoxesTest, CollapsingKeysLeaveHighlightSelectionAndEditorOnOneNode)
{
    StartOnReset();
    for (WORD key : {WORD(VK_LEFT), WORD(VK_SUBTRACT)}) {
        SCOPED_TRACE(key == VK_LEFT ? "Left" : "keypad minus");
        Form1->ActionTreeExpandExecute(Form1);
        MousePress(LabelPoint(Node(1)));
        ASSERT_EQ(Form1->TreeView->Selected(), Node(1));
        const std::string typed = key == VK_LEFT ? "typed before Left" : "typed before minus";
        UserTypes(Form1->EditDescription, typed.c_str());
        TreeKey(key);
        TreeKey(key);

        EXPECT_EQ(Highlighted(), Form1->TreeView->Selected());
        if (!Node(0)->Expanded()) {
            EXPECT_EQ(Highlighted(), Node(0));
        }
        if (TTreeNode* shown = Form1->TreeView->Selected()) {
            EXPECT_EQ(Form1->EditMacroName->Text(), NodeInfo(shown)->MacroName);
        }
        Form1->ActionNodeModifyExecute(Form1);
        EXPECT_EQ(NodeInfo(Node(1))->Description, typed);
        EXPECT_EQ(NodeInfo(Node(0))->Description, "AT commands");
    }
}

TEST_F(MacroEditorBoxesTest, DraggingTheNodeTheEditorShowsMovesItWithItsPendingEdit)
{
    StartOn(TwoFolders, 1);
    TTreeNode* reset = Node(1);
    TTreeNode* lines = Node(3);
    UserTypes(Form1->EditDescription, "moved");
    UserTypes(Form1->EditMacroName, "");
    // The user's drag from Reset's label to the Lines folder's: the press, a move the control
    // takes as the start of the drag, a move over the folder, the release there.
    HWND tree = Form1->TreeView->Handle();
    const POINT from = LabelPoint(reset), to = LabelPoint(lines);
    PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 20, to.y));
    PostMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x + 5, to.y));
    PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(to.x + 5, to.y));
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    qv::test::PumpMessages();

    ASSERT_EQ(reset->Parent(), lines);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(NodeInfo(reset)->MacroName, "?");
    EXPECT_EQ(NodeInfo(reset)->Description, "moved");
    EXPECT_EQ(NodeInfo(reset)->ParentFolder, NodeInfo(lines));
    EXPECT_EQ(Form1->TreeView->Selected(), reset);
    EXPECT_EQ(Form1->EditMacroName->Text(), "?");
    EXPECT_EQ(Form1->EditParentFolder->Text(), "Lines");
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
}

TEST_F(MacroEditorBoxesTest, SavingAwayTheNodeTheEditorShowsLeavesTheEditorOnALiveNode)
{
    StartOn(TwoFolders, 2);
    // "Raise RTS" marked (the editor moves to the folder), shown again and edited.
    TreeKey(VK_DELETE);
    TTreeNode* raise = Node(2);
    ASSERT_TRUE(NodeMarkedForDeletion(raise));
    MousePress(LabelPoint(raise));
    ASSERT_EQ(Form1->EditMacroName->Text(), "Raise RTS");
    UserTypes(Form1->EditDescription, "gone");
    script.Answer(IDYES);
    Press(Form1->Tr_Save_btn);

    EXPECT_EQ(Labels(), "Modem, AT commands  (1)\nReset, Send ATZ\nLines  (1)\nDrop DTR\n");
    EXPECT_EQ(ListBytes().find("Raise RTS"), std::string::npos);
    EXPECT_EQ(Form1->PendingEditNode, nullptr);
    TTreeNode* shown = Form1->TreeView->Selected();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Form1->EditID->Text(), IntToStr(NodeInfo(shown)->ID));
    // An edit now goes to the node shown, and a click elsewhere applies it there.
    UserTypes(Form1->EditDescription, "still here");
    MousePress(LabelPoint(Node(3)));
    EXPECT_EQ(NodeInfo(shown)->Description, "still here");
}

}  // namespace
}  // namespace macropane_test
