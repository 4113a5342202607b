// What the macro pane's tests share: the main window started over a macro list written into
// the test's folder, and the user's typing into an editor field.
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "macros/TreeUtil.h"
#include "terminal/MacroPaneTexts.h"
#include "tests/support/MainWindowHarness.h"

namespace macropane_test {

// Pane shown, descriptions shown, upper part 260 high, pane 320 wide.
inline const std::string ListHeader = "[MACRO_LIST]\r\n!|_1|_1|_260|_320\r\n";

class MacroPaneTest : public qv::test::MainWindowHarness {
protected:
    void StartWithList(const std::string& lines)
    {
        WriteTextFile(SettingsPath(), SettingsText("9600"));
        WriteTextFile(ListPath(), ListHeader + lines);
        StartMainWindow();
        script.Clear();
    }
    std::string ListPath() const { return InFolder("qvmacros.ini"); }
    std::string ListBytes() const
    {
        std::ifstream in(ListPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    TTreeNodes& Items() { return *Form1->TreeView->Items(); }
    TTreeNode* Node(int AbsoluteIndex) { return Items().Item(AbsoluteIndex); }
    // Selects the node as a click on it does.
    void Click(TTreeNode* Node)
    {
        Form1->TreeView->SetSelected(Node);
        Form1->TreeViewClick(Form1->TreeView);
    }
    // A point inside the node's label, in the tree's client coordinates (its folder expanded).
    POINT LabelPoint(TTreeNode* Node)
    {
        RECT r{};
        HTREEITEM item = Node->ItemId();
        std::memcpy(&r, &item, sizeof item);  // the item goes in the rect
        EXPECT_TRUE(SendMessageA(Form1->TreeView->Handle(), TVM_GETITEMRECT, TRUE,
                                 reinterpret_cast<LPARAM>(&r)));
        return {r.left + 3, (r.top + r.bottom) / 2};
    }
    // A press of the mouse button at the point as the user's reaches the control: the control
    // tracks the press itself until the release, which is already waiting in the queue. What
    // the program left for later (posted) runs before this returns.
    void MousePress(POINT At, UINT Down = WM_LBUTTONDOWN, UINT Up = WM_LBUTTONUP)
    {
        HWND tree = Form1->TreeView->Handle();
        const LPARAM at = MAKELPARAM(At.x, At.y);
        PostMessageA(tree, Up, 0, at);
        SendMessageA(tree, Down, Down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
        qv::test::PumpMessages();
    }
    // A click on the tool button as the user's reaches its tool bar; what the click starts
    // (a run, a question answered by the script) is over when this returns.
    static void Press(TToolButton* Button)
    {
        PostClick(Button);
        qv::test::PumpMessages();
    }
    // The same click, left in the queue for whatever runs it next (a run's wait, a box).
    static void PostClick(TToolButton* Button)
    {
        HWND bar = Button->Parent()->Handle();
        const LPARAM at =
            MAKELPARAM(Button->Left() + Button->Width() / 2, Button->Top() + Button->Height() / 2);
        PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(bar, WM_LBUTTONUP, 0, at);
    }
    // A pop-up menu item chosen by the user.
    static void Choose(const char* MenuItemName)
    {
        auto* item = dynamic_cast<TMenuItem*>(Form1->FindComponent(MenuItemName));
        ASSERT_NE(item, nullptr) << MenuItemName;
        item->Click();
    }
    // Replaces the field's text the way typing or pasting does (the field marks itself
    // modified and reports the change).
    static void UserTypes(TEdit* Edit, const char* Text)
    {
        SendMessageA(Edit->Handle(), EM_SETSEL, 0, -1);
        SendMessageA(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text));
    }
    // Every node's label in tree order, one a line.
    std::string Labels()
    {
        std::string all;
        for (TTreeNode* n = Items().GetFirstNode(); n; n = n->GetNext()) all += n->Text() + "\n";
        return all;
    }
};

// The fields a record keeps in the list file, one a line (the level mark is the file's
// writer's to set).
inline std::string Fields(const TInfo& Info)
{
    std::ostringstream out;
    out << Info.MacroName << '\n'
        << Info.MacroType << '\n'
        << Info.Description << '\n'
        << Info.OtherValue << '\n'
        << Info.SignalState << '\n'
        << Info.MacroData << '\n';
    return out.str();
}

}  // namespace macropane_test
