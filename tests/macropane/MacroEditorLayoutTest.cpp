// The macro pane as the user sees it: the editor's fields laid out to the pane when it is first
// shown, the drop-down lists' row count, and the title bar repainted after a splitter drag.
#include "MacroPaneFixture.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/CommonControls.h"
#include "tests/support/UserActions.h"

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

TEST_F(MacroPaneTest, AtTheNarrowestPaneTheScrollBarReachesTheFileButton)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    WriteTextFile(ListPath(), "[MACRO_LIST]\r\n!|_1|_1|_260|_170\r\n"
                              "+|_Files|_|_|_|_|_\r\n-|_Log|_File|_|_100|_|_old.bin\r\n");
    StartMainWindow();
    // The width the list file gives back, then the splitter's least width.
    ASSERT_LE(Form1->Main_Panel->Width(), 200);
    Click(Node(1));
    Press(Form1->Tr_edit_tbn);
    ASSERT_TRUE(Form1->Tr_FileOpen_btn->Visible());
    HWND box = Form1->ScrollBox->Handle();
    // The button's right edge, in the scroll box's client area.
    const auto buttonRight = [] {
        TPoint p =
            Form1->Tr_FileOpen_btn->ClientToScreen(TPoint{Form1->Tr_FileOpen_btn->Width(), 0});
        return Form1->ScrollBox->ScreenToClient(p).x;
    };
    for (int width : {Form1->Main_Panel->Width(), 170}) {
        Form1->Main_Panel->SetWidth(width);
        Form1->Tr_left_right_splitterMoved(Form1->Tr_left_right_splitter);
        ASSERT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_HSCROLL) << width;
        EXPECT_GT(buttonRight(), Form1->ScrollBox->ClientRect().Width());
        // The user pages right through the bar's trough, as its clicks send.
        for (int i = 0; i < 10; ++i) SendMessageA(box, WM_HSCROLL, SB_PAGEDOWN, 0);
        EXPECT_LE(buttonRight(), Form1->ScrollBox->ClientRect().Width()) << width;
        for (int i = 0; i < 10; ++i) SendMessageA(box, WM_HSCROLL, SB_PAGEUP, 0);
        EXPECT_EQ(Form1->PanelEditEntry->Left(), 0);
        // Tabbed to from the data field, the button scrolls into view.
        Form1->EditData->SetFocus();
        PostMessageA(Form1->EditData->Handle(), WM_KEYDOWN, VK_TAB, 1);
        PostMessageA(Form1->EditData->Handle(), WM_KEYUP, VK_TAB, 0xC0000001);
        Application->ProcessMessages();  // the loop that turns Tab into the next field
        ASSERT_EQ(GetFocus(), Form1->Tr_FileOpen_btn->Handle());
        EXPECT_LE(buttonRight(), Form1->ScrollBox->ClientRect().Width()) << width;
        for (int i = 0; i < 10; ++i) SendMessageA(box, WM_HSCROLL, SB_PAGEUP, 0);
    }
    // Widened past the fields, the bar goes.
    Form1->Main_Panel->SetWidth(420);
    Form1->Tr_left_right_splitterMoved(Form1->Tr_left_right_splitter);
    EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(MacroPaneTest, MarksShowWholeOnEveryKindOfNode)
{
    StartWithList("+|_Kinds|_|_|_|_|_\r\n"
                  "-|_Line|_Control Signal|_|_|_RTS ON|_\r\n"
                  "-|_Text|_Data String|_|_0|_|_A\r\n"
                  "-|_Send|_File|_|_0|_|_a.bin\r\n");
    Form1->ActionTreeExpandExecute(Form1);
    TImageList* images = Form1->Tr_ImageListTreeViewIcons;
    // How many pixels of the mark's own colour a whole mark has, drawn alone on white.
    const auto markPixels = [&](int Overlay, COLORREF& Colour) {
        TBitmap alone;
        alone.SetSize(images->Width, images->Height);
        HDC dc = alone.Canvas()->Handle();
        PatBlt(dc, 0, 0, images->Width, images->Height, WHITENESS);
        ImageList_Draw(images->Handle(), images->OverlayImage(Overlay), dc, 0, 0, ILD_TRANSPARENT);
        int count = 0;
        Colour = CLR_INVALID;
        for (int y = 0; y < images->Height; ++y)
            for (int x = 0; x < images->Width; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60) {
                    Colour = c;
                    ++count;
                }
            }
        return count;
    };
    // The same colour's pixels in the node's row as the tree paints it.
    const auto rowPixels = [&](TTreeNode* Node, COLORREF Colour) {
        HWND tree = Form1->TreeView->Handle();
        RECT client;
        GetClientRect(tree, &client);
        TBitmap shot;
        shot.SetSize(client.right, client.bottom);
        HDC dc = shot.Canvas()->Handle();
        SendMessageA(tree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
        RECT row{};
        HTREEITEM item = Node->ItemId();
        std::memcpy(&row, &item, sizeof item);
        SendMessageA(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&row));
        int count = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.right; ++x)
                if (GetPixel(dc, x, y) == Colour) ++count;
        return count;
    };
    for (int node = 1; node <= 3; ++node) {
        for (int overlay : {OverlayMarked, OverlayBreakpoint}) {
            COLORREF colour;
            const int whole = markPixels(overlay, colour);
            ASSERT_GT(whole, 10);
            Node(node)->SetOverlayIndex(overlay);
            EXPECT_GE(rowPixels(Node(node), colour), whole) << Node(node)->Text() << overlay;
        }
        Node(node)->SetOverlayIndex(OverlayNone);
    }
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

// Home in the opened type list picks "File"; a click elsewhere closes the list on the type it had
// before, and the fields are that type's again.
TEST_F(MacroPaneTest, TheTypeListClosedByAClickElsewhereShowsTheFieldsOfTheTypeItShows)
{
    StartWithList("+|_F|_|_|_|_|_\r\n-|_Wait|_Delay in ms|_|_100|_|_\r\n");
    Form1->Show();
    Press(Form1->Tr_edit_tbn);
    Form1->ActionTreeExpandExecute(Form1);
    MousePress(LabelPoint(Node(1)));
    HWND list = Form1->EditMacroType->Handle();
    // A click on the closed list opens it.
    const LPARAM centre =
        MAKELPARAM(Form1->EditMacroType->Width() / 2, Form1->EditMacroType->Height() / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(list, WM_LBUTTONUP, 0, centre);
    qv::test::PumpMessages();
    ASSERT_TRUE(Form1->EditMacroType->DroppedDown());
    qv::test::PostKey(list, VK_HOME);
    qv::test::PumpMessages();
    ASSERT_TRUE(Form1->EditData->Visible());
    // The press lands on the tree, outside the dropped list that holds the mouse.
    HWND holder = GetCapture();
    ASSERT_NE(holder, nullptr);
    POINT elsewhere = LabelPoint(Node(0));
    MapWindowPoints(Form1->TreeView->Handle(), holder, &elsewhere, 1);
    PostMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(elsewhere.x, elsewhere.y));
    PostMessageA(holder, WM_LBUTTONUP, 0, MAKELPARAM(elsewhere.x, elsewhere.y));
    qv::test::PumpMessages();

    ASSERT_FALSE(Form1->EditMacroType->DroppedDown());
    ASSERT_EQ(Form1->EditMacroType->Text(), "Delay in ms");
    EXPECT_TRUE(Form1->EditOther->Visible());
    EXPECT_FALSE(Form1->EditData->Visible());
    EXPECT_FALSE(Form1->Tr_File_Data_lbl->Visible());
    EXPECT_FALSE(Form1->Tr_FileOpen_btn->Visible());
    EXPECT_EQ(Form1->Selection_lbl->Caption(), MacroPaneText::DelayMsCaption);
}

}  // namespace
}  // namespace macropane_test
