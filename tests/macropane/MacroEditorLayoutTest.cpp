// The macro pane as the user sees it: the editor's fields laid out to the pane when it is first
// shown, the drop-down lists' row count, and the title bar repainted after a splitter drag.
#include "MacroPaneFixture.h"
#include "framework/gui/Canvas.h"

namespace macropane_test {
namespace {

// A file item in a pane kept 420 wide, wider than the editor's form data.
const std::string WidePaneList = "[MACRO_LIST]\r\n!|_1|_1|_260|_420\r\n"
                                 "+|_Files|_|_|_|_|_\r\n-|_Log|_File|_|_100|_|_old.bin\r\n";

int TextWidth(TControl* Control, const String& Text)
{
    TBitmap scratch;
    scratch.Canvas()->Font()->Assign(Control->Font());
    return scratch.Canvas()->TextWidth(Text);
}

TEST_F(MacroPaneTest, TheFirstShownEditorFitsThePaneWithWholeCaptionsAndItsFileButton)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    WriteTextFile(ListPath(), WidePaneList);
    StartMainWindow();
    ASSERT_EQ(Form1->Main_Panel->Width(), 420);
    Click(Node(1));
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    ASSERT_TRUE(Form1->Tr_FileOpen_btn->Visible());

    const TRect panel = Form1->PanelEditEntry->ClientRect();
    EXPECT_LE(Form1->PanelEditEntry->Width(), Form1->ScrollBox->ClientRect().Width());
    const TRect button = Form1->Tr_FileOpen_btn->BoundsRect();
    EXPECT_LE(button.Right, panel.Right);
    EXPECT_EQ(button.Left, Form1->EditData->Left() + Form1->EditData->Width());
    // The data field takes the width the pane gives it.
    EXPECT_GT(Form1->EditData->Width(), 250);

    for (TLabel* label : {Form1->MacroNameLbl, Form1->MacroTypeLbl, Form1->DescriptionLbl,
                          Form1->Selection_lbl, Form1->Tr_File_Data_lbl})
        EXPECT_LE(label->Left() + TextWidth(label, label->Caption()), Form1->EditOther->Left())
            << label->Caption();
    EXPECT_EQ(Form1->Selection_lbl->Caption(), MacroPaneText::CharDelayCaption);
}

TEST_F(MacroPaneTest, TheDelayListDropsItsSixteenRows)
{
    StartWithList("+|_Files|_|_|_|_|_\r\n-|_Log|_File|_|_100|_|_old.bin\r\n");
    Form1->Show();
    Click(Node(1));
    Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
    HWND list = Form1->EditOther->Handle();
    // The space key, which opens the editor's lists.
    SendMessageA(list, WM_CHAR, ' ', 0x00390001);
    ASSERT_TRUE(Form1->EditOther->DroppedDown());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list, &info));
    RECT rows;
    GetClientRect(info.hwndList, &rows);
    const auto rowHeight = static_cast<int>(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(rowHeight, 0);
    EXPECT_EQ((rows.bottom - rows.top) / rowHeight, 16);
    Form1->EditOther->SetDroppedDown(false);
}

TEST_F(MacroPaneTest, DraggingThePaneSplitterRepaintsTheWholeTitleBar)
{
    StartWithList("+|_Files|_|_|_|_|_\r\n");
    Form1->Show();
    HWND form = Form1->Handle();
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND title = Form1->MacroTitle_pnl->Handle();
    const int oldRight = Form1->MacroTitle_pnl->Width() - 1;

    // The user's drag of the splitter, 60 pixels to the right.
    const TRect splitter = Form1->Tr_left_right_splitter->BoundsRect();
    const int x = (splitter.Left + splitter.Right) / 2, y = (splitter.Top + splitter.Bottom) / 2;
    SendMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y));
    SendMessageA(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 60, y));
    SendMessageA(form, WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
    ASSERT_EQ(Form1->MacroTitle_pnl->Width(), oldRight + 61);

    // The old right edge, drawn as the panel's bevel, is to be painted over.
    HRGN invalid = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(title, invalid, FALSE);
    EXPECT_TRUE(PtInRegion(invalid, oldRight, Form1->MacroTitle_pnl->Height() / 2));
    DeleteObject(invalid);
}

}  // namespace
}  // namespace macropane_test
