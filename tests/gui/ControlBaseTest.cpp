// The control base: how messages reach controls (graphic children, reflection, subclassing
// by others), focus and tab order, windows made again, fonts and colours passed down, and
// exceptions from every kind of callback ending at the exception display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "framework/gui/Timer.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/DialogScript.h"

namespace {

// A graphic control that writes down what reaches it, as a lamp would.
class TProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> seen;
    void Dispatch(TMessage& m) override
    {
        switch (m.Msg) {
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
            seen.push_back("pos " + std::to_string(wp->cx) + "x" + std::to_string(wp->cy));
            break;
        }
        case CM_ENABLEDCHANGED: seen.push_back("enabled"); break;
        case CM_PARENTCOLORCHANGED: seen.push_back("parent colour"); break;
        case WM_LBUTTONDOWN:
            seen.push_back("down " + std::to_string(LOWORD(m.LParam)) + "," +
                           std::to_string(HIWORD(m.LParam)));
            break;
        default: break;
        }
        TGraphicControl::Dispatch(m);
    }
};

struct Log {
    std::vector<std::string> seen;
    void Enter(TObject* s) { seen.push_back("enter " + static_cast<TComponent*>(s)->Name); }
    void Exit(TObject* s) { seen.push_back("exit " + static_cast<TComponent*>(s)->Name); }
    void Resize(TObject*) { seen.push_back("resize"); }
    void DblClick(TObject*) { seen.push_back("dblclick"); }
    void MouseDown(TObject*, TMouseButton b, TShiftState, int x, int y)
    {
        seen.push_back("mouse " + std::to_string(b) + " " + std::to_string(x) + "," +
                       std::to_string(y));
    }
    void Throw(TObject*) { throw Exception(String("from a callback")); }
};

class ControlBaseTest : public ::testing::Test {
protected:
    ControlBaseTest() : form(new TForm(nullptr))
    {
        form->SetClientSize(300, 200);
        form->Show();
    }
    ~ControlBaseTest() override { delete form; }
    TForm* form;
    Log log;
    TDialogScript script;
};

WNDPROC savedProc = nullptr;
int foreignSeen = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_ERASEBKGND) {
        ++foreignSeen;
        return 0;
    }
    return CallWindowProcA(savedProc, h, msg, w, l);
}

}  // namespace

TEST_F(ControlBaseTest, GraphicControlHearsOfBoundsEnabledAndParentColourAndGetsItsMouse)
{
    auto* probe = new TProbe(form);
    probe->SetParent(form);
    probe->SetBounds(40, 30, 12, 13);
    probe->SetEnabled(false);
    probe->SetParentColor(true);
    probe->seen.clear();
    form->SetColor(clWhite);
    EXPECT_EQ(probe->Color(), clWhite);
    probe->SetEnabled(true);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 35));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(45, 35));
    EXPECT_EQ(probe->seen, (std::vector<std::string>{"parent colour", "enabled", "down 5,5"}));
    probe->seen.clear();
    probe->SetBounds(40, 30, 40, 40);
    EXPECT_EQ(probe->seen, std::vector<std::string>{"pos 40x40"});
}

TEST_F(ControlBaseTest, DisabledGraphicControlGetsNoMouse)
{
    auto* probe = new TProbe(form);
    probe->SetParent(form);
    probe->SetBounds(0, 0, 20, 20);
    probe->OnMouseDown = Closure(&log, &Log::MouseDown);
    probe->SetEnabled(false);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(log.seen.empty());
    probe->SetEnabled(true);
    SendMessageA(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 8));
    SendMessageA(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(7, 8));
    EXPECT_EQ(log.seen, std::vector<std::string>{"mouse 1 7,8"});
}

TEST_F(ControlBaseTest, ForeignSubclassSeesMessagesFirstAndTheControlStillWorks)
{
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    HWND h = memo->Handle();
    savedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    foreignSeen = 0;
    SendMessageA(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(GetDC(h)), 0);
    EXPECT_EQ(foreignSeen, 1);
    memo->SetText("still ours");
    EXPECT_EQ(memo->Text(), "still ours");
    EXPECT_EQ(TWinControl::FromHandle(h), memo);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc));
}

TEST_F(ControlBaseTest, FocusFiresExitThenEnterAndTabMovesInCreationOrder)
{
    auto* a = new TEdit(form);
    a->Name = "A";
    a->SetParent(form);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetTop(40);
    auto* b = new TEdit(form);
    b->Name = "B";
    b->SetParent(panel);
    for (TEdit* e : {a, b}) {
        e->OnEnter = Closure(&log, &Log::Enter);
        e->OnExit = Closure(&log, &Log::Exit);
    }
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    TypeKey(a, VK_TAB);
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_EQ(log.seen, (std::vector<std::string>{"enter A", "exit A", "enter B"}));
}

TEST_F(ControlBaseTest, HiddenControlGetsItsWindowWhenShownAndKeepsItsPlaceInTheTabOrder)
{
    TEdit* edits[3];
    for (int i = 0; i < 3; ++i) {
        edits[i] = new TEdit(form);
        edits[i]->SetTop(30 * i);
        if (i == 1) edits[i]->SetVisible(false);
        edits[i]->SetParent(form);
    }
    // No window for a control nobody sees yet: it is made when the control is first shown,
    // after its later sibling's.
    EXPECT_FALSE(edits[1]->HandleAllocated());
    edits[1]->SetVisible(true);
    ASSERT_TRUE(edits[1]->HandleAllocated());
    edits[0]->SetFocus();
    TypeKey(edits[0], VK_TAB);
    EXPECT_TRUE(edits[1]->Focused());
}

TEST_F(ControlBaseTest, RecreatedWindowKeepsTextStateAndChildren)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetText("kept");
    auto* box = new TCheckBox(form);
    box->SetParent(panel);
    box->SetTop(30);
    box->SetChecked(true);
    HWND old = edit->Handle();
    panel->RecreateWnd();
    EXPECT_NE(edit->Handle(), old);
    EXPECT_EQ(GetParent(edit->Handle()), panel->Handle());
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_TRUE(box->Checked());
    // A form whose border changes is made again with everything on it.
    form->SetBorderStyle(bsDialog);
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(ControlBaseTest, FontAndColourPassDownUntilAChildSetsItsOwn)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* a = new TLabel(form);
    a->SetParent(panel);
    auto* b = new TLabel(form);
    b->SetParent(panel);
    b->Font()->SetName("Courier New");
    form->Font()->SetSize(14);
    EXPECT_EQ(panel->Font()->Size(), 14);
    EXPECT_EQ(a->Font()->Size(), 14);
    EXPECT_EQ(b->Font()->Name(), "Courier New");
    EXPECT_NE(b->Font()->Size(), 14);
    panel->SetColor(clAqua);
    EXPECT_EQ(a->Color(), clAqua);  // labels take their parent's colour
}

TEST_F(ControlBaseTest, ResizeAndDoubleClickEvents)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->OnResize = Closure(&log, &Log::Resize);
    panel->OnDblClick = Closure(&log, &Log::DblClick);
    panel->SetWidth(150);
    SendMessageA(panel->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(log.seen, (std::vector<std::string>{"resize", "dblclick"}));
    log.seen.clear();
    form->OnResize = Closure(&log, &Log::Resize);
    form->SetClientSize(320, 200);
    EXPECT_EQ(log.seen, std::vector<std::string>{"resize"});
}

TEST_F(ControlBaseTest, ExceptionsFromTimerAndPaintCallbacksReachTheDisplay)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = Closure(&log, &Log::Throw);
    ASSERT_TRUE(PumpUntil([&] { return !script.Shown().empty(); }));
    timer.SetEnabled(false);
    EXPECT_EQ(script.Last().Text, "from a callback.");

    script.Clear();
    auto* box = new TPaintBox(form);
    box->SetParent(form);
    box->OnPaint = Closure(&log, &Log::Throw);
    box->Invalidate();
    UpdateWindow(form->Handle());
    EXPECT_EQ(script.Shown().size(), 1u);
    // One failed paint is one report: the paint was ended, nothing is left to paint.
    PumpPending();
    UpdateWindow(form->Handle());
    EXPECT_EQ(script.Shown().size(), 1u);
    box->OnPaint = nullptr;
}

TEST_F(ControlBaseTest, ProcessMessagesHonoursQuit)
{
    PostQuitMessage(0);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    Application->ClearTerminated();
}

TEST_F(ControlBaseTest, ModalFormStaysWhileItsCloseQueryRefusesAndDisablesOtherWindows)
{
    TForm dialog(nullptr);
    struct Steps {
        TForm* dialog;
        TForm* owner;
        int asked = 0;
        bool ownerDisabled = false;
        void Show(TObject*) { PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0); }
        void Query(TObject*, bool& can)
        {
            ownerDisabled = !IsWindowEnabled(owner->Handle());
            can = ++asked >= 2;
            if (!can) PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
        }
    } steps{&dialog, form};
    dialog.OnShow = Closure(&steps, &Steps::Show);
    dialog.OnCloseQuery = Closure(&steps, &Steps::Query);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(steps.asked, 2);
    EXPECT_TRUE(steps.ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}
