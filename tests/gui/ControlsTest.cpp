// Standard controls on a real form: texts and states read back, programmatic changes fire
// (or do not fire) the events the program relies on, layout by alignment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/CommonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/RichEdit.h"
#include "framework/gui/SpinEdit.h"
#include "framework/gui/TextControls.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/DialogScript.h"

namespace {

struct Events {
    std::vector<std::string> seen;
    void Change(TObject* s) { seen.push_back("change " + static_cast<TComponent*>(s)->Name); }
    void Click(TObject* s) { seen.push_back("click " + static_cast<TComponent*>(s)->Name); }
};

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest() : form(new TForm(nullptr))
    {
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    ~ControlsTest() override { delete form; }
    template <class T>
    T* Make(const char* name)
    {
        auto* c = new T(form);
        c->Name = name;
        c->SetParent(form);
        return c;
    }
    TForm* form;
    Events events;
    TDialogScript script;
};

}  // namespace

TEST_F(ControlsTest, SettingAnEditsTextFiresOnChangeButNotForAnEqualText)
{
    auto* edit = Make<TEdit>("Edit1");
    edit->OnChange = Closure(&events, &Events::Change);
    edit->SetText("abc");
    edit->SetText("abc");
    edit->SetText("");
    EXPECT_EQ(events.seen, (std::vector<std::string>{"change Edit1", "change Edit1"}));
    EXPECT_EQ(edit->Text(), "");
    // Typing is a change too, and marks the edit modified.
    edit->SetFocus();
    SendMessageA(edit->Handle(), WM_CHAR, 'z', 1);
    EXPECT_EQ(edit->Text(), "z");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(events.seen.size(), 3u);
}

TEST_F(ControlsTest, EditWithoutAWindowYetStillReportsTheChange)
{
    auto* edit = new TEdit(nullptr);
    edit->Name = "Loose";
    edit->OnChange = Closure(&events, &Events::Change);
    edit->SetText("x");
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Loose"});
    delete edit;
}

TEST_F(ControlsTest, MemoLinesAreAViewOfItsTextAndEveryChangeIsReported)
{
    auto* memo = Make<TMemo>("Memo1");
    memo->OnChange = Closure(&events, &Events::Change);
    memo->Lines()->Add("Activity List:");
    memo->Lines()->Add("Com1RxChar 5");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Get(1), "Com1RxChar 5");
    EXPECT_EQ(memo->Text(), "Activity List:\r\nCom1RxChar 5\r\n");
    memo->Lines()->Delete(0);
    EXPECT_EQ(memo->Text(), "Com1RxChar 5\r\n");
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    EXPECT_EQ(events.seen.size(), 4u);
}

TEST_F(ControlsTest, AddingAMemoLineLeavesTheMemoAsARewriteOfItsTextWould)
{
    auto* memo = Make<TMemo>("Memo1");
    memo->SetBounds(0, 0, 120, 60);
    memo->OnChange = Closure(&events, &Events::Change);
    // A last line without its line break gets one first.
    memo->SetText("Activity List:");
    memo->SetSelStart(5);
    memo->SetModified(true);
    events.seen.clear();
    EXPECT_EQ(memo->Lines()->Add("SelectionChange"), 1);
    EXPECT_EQ(memo->Text(), "Activity List:\r\nSelectionChange\r\n");
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_FALSE(memo->Modified());
    EXPECT_EQ(events.seen.size(), 1u);
    for (int i = 2; i < 400; ++i) EXPECT_EQ(memo->Lines()->Add("SelectionChange"), i);
    EXPECT_EQ(memo->Lines()->Count(), 400);
    EXPECT_EQ(memo->Lines()->Get(399), "SelectionChange");
    EXPECT_EQ(events.seen.size(), 399u);
    // Past the limit for appended text the line still goes in, as a rewrite puts it.
    memo->SetMaxLength(memo->GetTextLen() + 4);
    EXPECT_EQ(memo->Lines()->Add("past the limit"), 400);
    EXPECT_EQ(memo->Lines()->Get(400), "past the limit");
}

TEST_F(ControlsTest, SettingACheckBoxFiresOnClickOnlyWhenItChanges)
{
    auto* box = Make<TCheckBox>("cbEcho");
    box->OnClick = Closure(&events, &Events::Click);
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(box->Handle(), BM_CLICK, 0, 0);  // the user unticks it
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(events.seen, (std::vector<std::string>{"click cbEcho", "click cbEcho"}));
}

TEST_F(ControlsTest, ComboItemIndexSetsSilentlyButAUserChoiceFiresOnChange)
{
    auto* combo = Make<TComboBox>("Baud");
    combo->SetStyle(csDropDownList);
    for (const char* s : {"110", "300", "9600"}) combo->Items()->Add(s);
    combo->OnChange = Closure(&events, &Events::Change);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), "9600");
    EXPECT_TRUE(events.seen.empty());
    // The user's choice: the control selects and tells its parent.
    SendMessageA(combo->Handle(), CB_SETCURSEL, 0, 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo->Handle()));
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Baud"});
    // Items survive a new window.
    combo->RecreateWnd();
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->Text(), "110");
}

TEST_F(ControlsTest, SpinEditValueFiresOnChangeAndUnreadableTextReadsAsTheMinimum)
{
    auto* spin = Make<TCSpinEdit>("sedtLines");
    spin->MinValue = 2;
    spin->MaxValue = 200;
    spin->OnChange = Closure(&events, &Events::Change);
    spin->SetValue(100);
    EXPECT_EQ(spin->Text(), "100");
    EXPECT_EQ(events.seen.size(), 1u);
    spin->SetValue(500);
    EXPECT_EQ(spin->Value(), 200);
    spin->SetText("12a");
    EXPECT_EQ(spin->Value(), 2);
    spin->SetText("-");
    EXPECT_EQ(spin->Value(), 2);
    // The arrow keys step it.
    spin->SetValue(10);
    SendMessageA(spin->Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(spin->Value(), 11);
    // Letters are refused with a beep.
    SendMessageA(spin->Handle(), WM_CHAR, 'q', 1);
    EXPECT_EQ(spin->Text(), "11");
    EXPECT_EQ(script.Beeps, 1);
}

TEST_F(ControlsTest, SpinEditWithEqualLimitsIsUnlimited)
{
    auto* spin = Make<TCSpinEdit>("sedt");
    spin->SetValue(-12345);
    EXPECT_EQ(spin->Value(), -12345);
}

TEST_F(ControlsTest, AlignedControlsShareTheClientAreaInTheirOrder)
{
    form->SetClientSize(300, 200);
    auto* top = Make<TPanel>("Top");
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* status = Make<TStatusBar>("StatusBar1");
    auto* left = Make<TPanel>("Left");
    left->SetWidth(80);
    left->SetAlign(alLeft);
    auto* splitter = Make<TSplitter>("Splitter");
    auto* client = Make<TPanel>("Client");
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(status->Top() + status->Height(), 200);
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 80, status->Top()));
    EXPECT_EQ(splitter->Left(), 80);
    EXPECT_EQ(client->Left(), 83);
    EXPECT_EQ(client->Width(), 217);
    // Hiding the left pane gives its room to the client.
    left->SetVisible(false);
    EXPECT_EQ(splitter->Left(), 0);
    left->SetVisible(true);
    // The window grows: the client panel follows.
    form->SetClientSize(400, 200);
    EXPECT_EQ(client->Width(), 317);
    // A top panel takes another's place with the layout held: the client does not move between
    // the two changes, and the new panel has the place once it is let go.
    auto* other = Make<TPanel>("Other");
    other->SetHeight(30);
    other->SetAlign(alTop);
    other->SetVisible(false);
    form->DisableAlign();
    top->SetVisible(false);
    EXPECT_EQ(left->Top(), 30);
    other->SetVisible(true);
    form->EnableAlign();
    EXPECT_EQ(other->BoundsRect(), Rect(0, 0, 400, 30));
    EXPECT_EQ(left->Top(), 30);
}

TEST_F(ControlsTest, DraggingASplitterResizesThePaneBeforeItAndReportsTheMove)
{
    form->SetClientSize(300, 200);
    auto* left = Make<TPanel>("Left");
    left->SetWidth(100);
    left->SetAlign(alLeft);
    auto* splitter = Make<TSplitter>("Splitter");
    splitter->MinSize = 50;
    splitter->OnMoved = Closure(&events, &Events::Change);
    auto* client = Make<TPanel>("Client");
    client->SetAlign(alClient);
    HWND h = form->Handle();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 50));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(141, 50));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(141, 50));
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(client->Left(), 143);
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Splitter"});
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(141, 50));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 50));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 50));
    EXPECT_EQ(left->Width(), 50);  // not below MinSize
}

TEST_F(ControlsTest, StatusBarPanelsHoldTheirTextsInTheControl)
{
    auto* bar = Make<TStatusBar>("StatusBar1");
    for (int i = 0; i < 5; ++i) bar->AddPanel()->SetWidth(100);
    bar->Panels(0)->SetText("Disconnected");
    bar->Panels(2)->SetText("Bytes Out:0  In:0  Total:0");
    bar->Panels(0)->SetWidth(128);
    char text[64] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Disconnected");
    SendMessageA(bar->Handle(), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Bytes Out:0  In:0  Total:0");
    int edges[5] = {};
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges)), 5);
    EXPECT_EQ(edges[0], 128);
}

TEST_F(ControlsTest, ButtonClickAndTheLabelsAndPanelsTextsReadBack)
{
    auto* button = Make<TButton>("SendData_btn");
    button->OnClick = Closure(&events, &Events::Click);
    button->SetCaption("Send");
    ClickAt(button->Handle(), 5, 5);
    EXPECT_EQ(events.seen, std::vector<std::string>{"click SendData_btn"});
    char text[32] = {};
    GetWindowTextA(button->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "Send");
    auto* label = Make<TLabel>("Label1");
    label->SetCaption("Min:0 Max:0");
    EXPECT_EQ(label->Caption(), "Min:0 Max:0");
    EXPECT_GT(label->Width(), 20);  // sized to its text
    button->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
}

TEST_F(ControlsTest, SpeedButtonsClickOnReleaseAndGroupedOnesStayDown)
{
    auto* a = Make<TSpeedButton>("A");
    auto* b = Make<TSpeedButton>("B");
    b->SetLeft(30);
    a->GroupIndex = b->GroupIndex = 1;
    a->OnClick = Closure(&events, &Events::Click);
    ClickAt(form->Handle(), 5, 5);
    EXPECT_TRUE(a->Down());
    ClickAt(form->Handle(), 35, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    // Press, then release outside: no click.
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(events.seen, std::vector<std::string>{"click A"});
}

TEST_F(ControlsTest, PageControlShowsOnePageAtATime)
{
    auto* pages = Make<TPageControl>("PageControl1");
    auto* one = new TTabSheet(form);
    one->SetCaption("Serial");
    one->SetPageControl(pages);
    auto* two = new TTabSheet(form);
    two->SetCaption("Display");
    two->SetPageControl(pages);
    EXPECT_EQ(pages->ActivePage(), one);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    pages->OnChange = Closure(&events, &Events::Change);
    SendMessageA(pages->Handle(), TCM_SETCURSEL, 1, 0);
    NMHDR hdr{pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(pages->ActivePage(), two);
    EXPECT_TRUE(two->Visible());
    EXPECT_FALSE(one->Visible());
    EXPECT_EQ(events.seen, std::vector<std::string>{"change PageControl1"});
}

TEST_F(ControlsTest, RichEditTakesLongTextsAndReportsSelectionChanges)
{
    auto* re = Make<TRichEdit>("reScreen");
    re->OnSelectionChange = Closure(&events, &Events::Change);
    String rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 900; ++i) rtf += String(78, 'x') + "\\par\n";  // 72,000 characters
    rtf += "}";
    TMemoryStream stream;
    stream.Write(rtf.data(), static_cast<int>(rtf.size()));
    stream.SetPosition(0);
    re->Lines()->LoadFromStream(&stream);
    EXPECT_GE(GetWindowTextLengthA(re->Handle()), 71998);  // no silent cut at 32K
    re->SetText("line one\r\nline two");
    events.seen.clear();
    re->SetSelStart(3);
    EXPECT_EQ(re->SelStart(), 3);
    EXPECT_FALSE(events.seen.empty());
    EXPECT_EQ(re->Lines()->Count(), 2);
    EXPECT_EQ(re->Lines()->Get(1), "line two");
    EXPECT_EQ(re->FindText("two", 0, 18, {}), 15);
    EXPECT_EQ(re->FindText("TWO", 0, 18, {stMatchCase}), -1);
    re->SetSelStart(0);
    re->SetSelLength(4);
    EXPECT_EQ(re->SelText(), "line");
}

TEST_F(ControlsTest, RichEditReportsEachProgrammaticTextChangeOnce)
{
    auto* re = Make<TRichEdit>("re");
    re->OnChange = Closure(&events, &Events::Change);
    re->SetText("abc");
    EXPECT_EQ(events.seen.size(), 1u);
    re->SetText("abc");
    EXPECT_EQ(events.seen.size(), 1u);
}
