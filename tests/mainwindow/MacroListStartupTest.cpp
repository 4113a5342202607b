// The macro list file read while the main window is created: its header sets the pane, its
// folders and items fill the tree with their icons from the program's image list.
#include "tests/support/MainWindowHarness.h"
#include "macros/TreeUtil.h"

namespace mainwindow_test {
namespace {

using MainWindowTest = qv::test::MainWindowHarness;

const std::string ModemList = "[MACRO_LIST]\r\n"
                              "!|_1|_0|_300|_400\r\n"
                              "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

TEST_F(MainWindowTest, StartUpLoadsTheMacroListWithItsPaneLayoutAndIcons)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    WriteTextFile(InFolder("qvmacros.ini"), ModemList);
    StartMainWindow();

    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(Form1->Main_Panel->Visible());
    EXPECT_TRUE(Form1->Tr_left_right_splitter->Visible());
    EXPECT_FALSE(Form1->ShowMacroDescriptions);
    EXPECT_EQ(Form1->Main_Panel->Width(), 400);
    EXPECT_EQ(Form1->Tr_ImageListTreeViewIcons->Count(), 38);

    TTreeNodes& items = *Form1->TreeView->Items();
    ASSERT_EQ(items.Count(), 3);
    TTreeNode* modem = items.GetFirstNode();
    EXPECT_EQ(modem->Text(), "Modem  (2)");
    EXPECT_EQ(modem->ImageIndex(), MacroImage::FolderClosed);
    EXPECT_EQ(modem->SelectedIndex(), MacroImage::FolderOpen);
    EXPECT_EQ(modem->Item(0)->Text(), "Reset");
    EXPECT_EQ(modem->Item(0)->ImageIndex(), MacroImage::DataString);
    EXPECT_EQ(NodeKind(modem->Item(0)), mkDataString);
    EXPECT_EQ(NodeKind(modem->Item(1)), mkControlSignal);
    EXPECT_EQ(SendMessageA(Form1->TreeView->Handle(), TVM_GETCOUNT, 0, 0), 3);
}

TEST_F(MainWindowTest, AHiddenPaneInTheMacroListHeaderStartsHidden)
{
    WriteTextFile(InFolder("qvmacros.ini"), "[MACRO_LIST]\r\n!|_0|_1|_0|_0\r\n");
    StartMainWindow();
    EXPECT_FALSE(Form1->Main_Panel->Visible());
    EXPECT_FALSE(Form1->Tr_left_right_splitter->Visible());
    EXPECT_TRUE(Form1->ShowMacroDescriptions);
    EXPECT_EQ(Form1->TreeView->Items()->Count(), 0);
}

}  // namespace
}  // namespace mainwindow_test
