// Forms and the application: creation order, events and their order, closing, modal loops,
// exceptions from handlers, keyboard routing and the dialog script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/Action.h"
#include "framework/gui/Application.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/TextControls.h"
#include "framework/gui/Timer.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/DialogScript.h"
#include "tests/support/UserActions.h"
#include "tests/support/WaitUntil.h"

namespace {

std::vector<std::string> journal;

// A form written the way the program's forms are: components in the constructor, then
// DoCreate, then the constructor body.
class TSampleForm : public TForm {
public:
    TButton* Button1;
    TEdit* Edit1;
    TSampleForm* SeenGlobalInCreate = nullptr;

    explicit TSampleForm(TComponent* Owner);
    void FormCreate(TObject*)
    {
        journal.push_back("create");
        SeenGlobalInCreate = global;
    }
    void FormShow(TObject*) { journal.push_back("show"); }
    void FormActivate(TObject*) { journal.push_back("activate"); }
    void FormCloseQuery(TObject*, bool& CanClose)
    {
        journal.push_back("closequery");
        CanClose = AllowClose;
    }
    void FormClose(TObject*, TCloseAction& Action)
    {
        journal.push_back("close");
        Action = CloseAction;
    }
    void FormDestroy(TObject*) { journal.push_back("destroy"); }
    void Button1Click(TObject*)
    {
        journal.push_back("click");
        if (ThrowOnClick) throw Exception(String("Boom in handler"));
    }

    bool AllowClose = true;
    bool ThrowOnClick = false;
    TCloseAction CloseAction = caHide;
    static TSampleForm* global;
};
TSampleForm* TSampleForm::global = nullptr;

TSampleForm::TSampleForm(TComponent* Owner) : TForm(Owner)
{
    SetCaption("Sample");
    Button1 = new TButton(this);
    Button1->SetParent(this);
    Button1->SetCaption("&Go");
    Button1->OnClick = Closure(this, &TSampleForm::Button1Click);
    Edit1 = new TEdit(this);
    Edit1->SetParent(this);
    Edit1->SetTop(40);
    OnCreate = Closure(this, &TSampleForm::FormCreate);
    OnShow = Closure(this, &TSampleForm::FormShow);
    OnActivate = Closure(this, &TSampleForm::FormActivate);
    OnCloseQuery = Closure(this, &TSampleForm::FormCloseQuery);
    OnClose = Closure(this, &TSampleForm::FormClose);
    OnDestroy = Closure(this, &TSampleForm::FormDestroy);
    DoCreate();
    journal.push_back(global == this ? "body sees global" : "body without global");
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }
    void TearDown() override
    {
        // Free whatever a test left with the application, as Run would at its end.
        while (Application->ComponentCount() > 0)
            delete Application->Components(Application->ComponentCount() - 1);
        Application->ClearTerminated();
        PumpPending();
        Application->ClearTerminated();
    }
    TDialogScript script;
};

}  // namespace

TEST_F(FormTest, CreateFormSetsTheGlobalBeforeTheConstructorAndRunsOnCreateBeforeTheBody)
{
    Application->CreateForm(TSampleForm::global);
    ASSERT_NE(TSampleForm::global, nullptr);
    EXPECT_EQ(TSampleForm::global->SeenGlobalInCreate, TSampleForm::global);
    EXPECT_EQ(journal, (std::vector<std::string>{"create", "body sees global"}));
    EXPECT_EQ(Application->MainForm(), TSampleForm::global);
}

TEST_F(FormTest, ShowFiresOnShowThenOnActivateAndCloseAsksBeforeHiding)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    TSampleForm* second = nullptr;
    Application->CreateForm(second);  // not the main form: closing it hides it
    journal.clear();
    second->Show();
    PumpPending();
    EXPECT_EQ(journal, (std::vector<std::string>{"show", "activate"}));
    EXPECT_TRUE(IsWindowVisible(second->Handle()));

    journal.clear();
    second->AllowClose = false;
    SendMessageA(second->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"closequery"}));
    EXPECT_TRUE(IsWindowVisible(second->Handle()));

    journal.clear();
    second->AllowClose = true;
    SendMessageA(second->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"closequery", "close"}));
    EXPECT_FALSE(IsWindowVisible(second->Handle()));
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(FormTest, OnActivateFiresOnEveryActivation)
{
    TSampleForm* a = nullptr;
    TSampleForm* b = nullptr;
    Application->CreateForm(a);
    Application->CreateForm(b);
    a->Show();
    b->Show();
    PumpPending();
    journal.clear();
    SetActiveWindow(a->Handle());
    SetActiveWindow(b->Handle());
    SetActiveWindow(a->Handle());
    PumpPending();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "activate"), 3);
}

TEST_F(FormTest, ClosingTheMainFormEndsRunAndFreesTheFormsWithOnDestroy)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    PostMessageA(f->Handle(), WM_CLOSE, 0, 0);
    journal.clear();
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(journal,
              (std::vector<std::string>{"show", "activate", "closequery", "close", "destroy"}));
    EXPECT_EQ(Application->ComponentCount(), 0);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormTest, CloseActionFreeReleasesTheFormAfterItsHandlers)
{
    TSampleForm* main = nullptr;
    Application->CreateForm(main);
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    f->CloseAction = caFree;
    f->Show();
    f->Close();
    const int before = Application->ComponentCount();
    ASSERT_TRUE(PumpUntil([&] { return Application->ComponentCount() == before - 1; }));
    EXPECT_EQ(journal.back(), "destroy");
}

TEST_F(FormTest, ExceptionInAClickHandlerReachesTheExceptionDisplayAndTheProgramRunsOn)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    Application->Title = "Quorvalink CE";
    f->Show();
    f->ThrowOnClick = true;
    SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, "Boom in handler.");
    EXPECT_EQ(script.Last().Caption, "Quorvalink CE");
    EXPECT_EQ(script.Last().Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    // Still alive: the next click is handled normally.
    f->ThrowOnClick = false;
    SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "click"), 2);
    EXPECT_EQ(script.Shown().size(), 1u);
}

TEST_F(FormTest, OnExceptionReplacesTheDisplayAndAbortIsSilent)
{
    struct Catcher {
        std::vector<std::string> seen;
        void Handle(TObject*, Exception& E) { seen.push_back(E.Message); }
    } catcher;
    Application->OnException = Closure(&catcher, &Catcher::Handle);
    try {
        throw EConvertError(String("bad number"));
    } catch (...) {
        Application->HandleException(nullptr);
    }
    try {
        Abort();
    } catch (...) {
        Application->HandleException(nullptr);
    }
    Application->OnException = nullptr;
    EXPECT_EQ(catcher.seen, std::vector<std::string>{"bad number"});
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(FormTest, DialogScriptAnswersAYesNoQuestionAndRecordsIt)
{
    script.Answer(mrYes).Answer(mrNo);
    EXPECT_EQ(MessageDlg("Are you sure?", mtConfirmation, {mbYes, mbNo}), mrYes);
    EXPECT_EQ(MessageDlg("Really?", mtWarning, {mbYes, mbNo}), mrNo);
    Application->Title = "Quorvalink CE";
    ShowMessage("Done");
    EXPECT_EQ(Application->MessageBox("Are you sure you want to quit?", "Quit Program?", MB_YESNO),
              IDNO);
    ASSERT_EQ(script.Shown().size(), 4u);
    EXPECT_EQ(script.Shown()[0].Text, "Are you sure?");
    EXPECT_EQ(script.Shown()[0].DlgType, mtConfirmation);
    EXPECT_TRUE(script.Shown()[0].Buttons == (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(script.Shown()[1].DlgType, mtWarning);
    EXPECT_EQ(script.Shown()[2].Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Shown()[2].Caption, "Quorvalink CE");
    EXPECT_EQ(script.Shown()[3].Caption, "Quit Program?");
    EXPECT_EQ(script.Unanswered, 1);  // the last box had no answer queued: No, and counted
}

TEST_F(FormTest, ShowModalReturnsTheButtonsModalResultAfterTheCloseQuery)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    TSampleForm* dialog = nullptr;
    Application->CreateForm(dialog);
    dialog->Button1->ModalResult = mrOk;
    struct Clicker {
        TSampleForm* d;
        void Show(TObject*) { PostMessageA(d->Button1->Handle(), BM_CLICK, 0, 0); }
    } clicker{dialog};
    dialog->OnShow = Closure(&clicker, &Clicker::Show);
    journal.clear();
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(journal, (std::vector<std::string>{"activate", "click", "closequery", "close"}));
}

TEST_F(FormTest, KeysReachKeyPreviewThenTheControlAndZeroSuppresses)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    struct Keys {
        std::vector<std::string> seen;
        void FormKeyDown(TObject*, WORD& Key, TShiftState)
        {
            seen.push_back("form down " + std::to_string(Key));
        }
        void EditKeyDown(TObject*, WORD& Key, TShiftState)
        {
            seen.push_back("edit down " + std::to_string(Key));
        }
        void EditKeyPress(TObject*, char& Key)
        {
            seen.push_back(std::string("press ") + Key);
            if (Key == 'x')
                Key = 0;  // suppressed
            else if (Key == 'a')
                Key = 'b';  // written back
        }
    } keys;
    f->KeyPreview = true;
    f->OnKeyDown = Closure(&keys, &Keys::FormKeyDown);
    f->Edit1->OnKeyDown = Closure(&keys, &Keys::EditKeyDown);
    f->Edit1->OnKeyPress = Closure(&keys, &Keys::EditKeyPress);
    f->Edit1->SetFocus();
    TypeKey(f->Edit1, 'A');
    TypeKey(f->Edit1, 'X');
    EXPECT_EQ(f->Edit1->Text(), "b");
    EXPECT_EQ(keys.seen, (std::vector<std::string>{"form down 65", "edit down 65", "press a",
                                                   "form down 88", "edit down 88", "press x"}));
}

TEST_F(FormTest, ActionShortcutComesBeforeTheFocusedControlAndEnabledIsShared)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    auto* list = new TActionList(f);
    struct Runs {
        int count = 0;
        std::vector<std::string> keys;
        void Execute(TObject*) { ++count; }
        void EditKeyDown(TObject*, WORD& Key, TShiftState) { keys.push_back(std::to_string(Key)); }
    } runs;
    TAction* connect =
        NewAction(f, list, "&Connect", Closure(&runs, &Runs::Execute), ShortCut(VK_F2, {}));
    auto* menu = new TMainMenu(f);
    TMenuItem* comms = NewMenuItem(f, menu->Items(), "&Comms");
    TMenuItem* item = NewMenuItem(f, comms, "");
    item->SetAction(connect);
    f->SetMenu(menu);
    f->Button1->OnClick = nullptr;  // a button linked to an action runs the action
    f->Button1->SetAction(connect);
    f->Show();
    f->Edit1->OnKeyDown = Closure(&runs, &Runs::EditKeyDown);
    f->Edit1->SetFocus();

    TypeKey(f->Edit1, VK_F2);
    EXPECT_EQ(runs.count, 1);
    EXPECT_TRUE(runs.keys.empty());

    connect->SetEnabled(false);
    EXPECT_FALSE(f->Button1->Enabled());
    EXPECT_FALSE(item->Enabled());
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoA(menu->Handle(), item->Command(), FALSE, &mi));
    EXPECT_TRUE(mi.fState & MFS_GRAYED);
    TypeKey(f->Edit1, VK_F2);  // disabled: the key goes to the control
    EXPECT_EQ(runs.count, 1);
    EXPECT_EQ(runs.keys, std::vector<std::string>{std::to_string(VK_F2)});

    connect->SetEnabled(true);
    SendMessageA(f->Handle(), WM_COMMAND, item->Command(), 0);  // the menu item
    SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);         // the button
    EXPECT_EQ(runs.count, 3);
}

TEST_F(FormTest, MenuShowsCaptionsChecksAndShortcutsAndOpeningASubmenuFiresItsClick)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    struct Menus {
        int opened = 0, chosen = 0;
        void ViewClick(TObject*) { ++opened; }
        void ItemClick(TObject*) { ++chosen; }
    } menus;
    auto* menu = new TMainMenu(f);
    TMenuItem* view = NewMenuItem(f, menu->Items(), "View", Closure(&menus, &Menus::ViewClick));
    TMenuItem* full = NewMenuItem(f, view, "F&ull Screen", Closure(&menus, &Menus::ItemClick),
                                  ShortCut('U', {ssCtrl}));
    f->SetMenu(menu);
    f->Show();
    full->SetChecked(true);
    full->SetCaption("Exit F&ull Screen");
    char text[64] = {};
    GetMenuStringA(menu->Handle(), full->Command(), text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "Exit F&ull Screen\tCtrl+U");
    EXPECT_TRUE(GetMenuState(menu->Handle(), full->Command(), MF_BYCOMMAND) & MF_CHECKED);
    SendMessageA(f->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view->Handle()), 0);
    EXPECT_EQ(menus.opened, 1);
    EXPECT_TRUE(f->IsShortCut('U', {ssCtrl}));
    EXPECT_EQ(menus.chosen, 1);
    full->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(view->Handle()), 0);
}

// Hiding or showing an item empties its menu and builds it again, which destroyed the submenu
// dropped down under the menu's loop (under Wine the program ended). The platform's menu waits
// for the loop's end, and an item hidden meanwhile cannot be chosen from it.
TEST_F(FormTest, AnItemHiddenWhileItsMenuIsDroppedDownLeavesThatMenuUntilItsLoopEnds)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    struct Menus {
        TMenuItem* send = nullptr;
        TMenuItem* stop = nullptr;
        HMENU dropped = nullptr;
        HWND form = nullptr;
        bool acted = false, alive = false;
        int itemsWhileDropped = 0, chosen = 0;
        void Choose(TObject*) { ++chosen; }
        void Act(TObject*)
        {
            if (acted || !qv::test::MenuDroppedDown(GetCurrentThreadId())) return;
            acted = true;
            send->SetVisible(false);
            stop->SetVisible(true);
            alive = IsMenu(dropped) != 0;
            itemsWhileDropped = GetMenuItemCount(dropped);
            SendMessageA(form, WM_COMMAND, send->Command(), 0);
            EndMenu();
        }
    } menus;
    auto* menu = new TMainMenu(f);
    TMenuItem* transfer = NewMenuItem(f, menu->Items(), "&Transfer");
    menus.send = NewMenuItem(f, transfer, "Send File...", Closure(&menus, &Menus::Choose));
    menus.stop = NewMenuItem(f, transfer, "Stop Sending");
    menus.stop->SetVisible(false);
    f->SetMenu(menu);
    f->Show();
    menus.form = f->Handle();
    menus.dropped = transfer->Handle();
    TTimer actor(nullptr);
    actor.SetInterval(20);
    actor.OnTimer = Closure(&menus, &Menus::Act);
    qv::test::PostKey(f->Handle(), 'T', true);
    ASSERT_TRUE(qv::test::WaitUntil(
        [&] { return menus.acted && !qv::test::InMenuLoop(GetCurrentThreadId()); }));
    EXPECT_TRUE(menus.alive);
    EXPECT_EQ(menus.itemsWhileDropped, 1);
    EXPECT_EQ(menus.chosen, 0);
    // The loop's end shows the items as they are.
    EXPECT_EQ(GetMenuItemCount(transfer->Handle()), 1);
    EXPECT_EQ(GetMenuItemID(transfer->Handle(), 0), menus.stop->Command());
}

// What an event of the program does after a menu loop (a box it shows on its own) closes a
// dropped menu and waits for the loop's end; outside a loop it runs at once.
TEST_F(FormTest, WorkAfterAMenuLoopClosesTheDroppedMenuAndRunsOnceTheLoopHasEnded)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    struct Events {
        bool asked = false, ran = false, ranInLoop = false, leftOpen = false;
        int ticksAfter = 0;
        void Tick(TObject*)
        {
            // A menu left open is closed as the user would, a while later.
            if (asked && qv::test::InMenuLoop(GetCurrentThreadId()) && ++ticksAfter == 10) {
                leftOpen = true;
                EndMenu();
            }
            if (asked || !qv::test::MenuDroppedDown(GetCurrentThreadId())) return;
            asked = true;
            TMenu::AfterMenuLoop([this] {
                ran = true;
                ranInLoop = qv::test::InMenuLoop(GetCurrentThreadId());
            });
        }
    } events;
    auto* menu = new TMainMenu(f);
    TMenuItem* edit = NewMenuItem(f, menu->Items(), "&Edit");
    NewMenuItem(f, edit, "Select All");
    f->SetMenu(menu);
    f->Show();
    TTimer event(nullptr);
    event.SetInterval(20);
    event.OnTimer = Closure(&events, &Events::Tick);
    qv::test::PostKey(f->Handle(), 'E', true);
    ASSERT_TRUE(qv::test::WaitUntil([&] { return events.ran; }));
    EXPECT_FALSE(events.ranInLoop);
    EXPECT_FALSE(events.leftOpen);
    EXPECT_FALSE(qv::test::InMenuLoop(GetCurrentThreadId()));
    bool now = false;
    TMenu::AfterMenuLoop([&] { now = true; });
    EXPECT_TRUE(now);
}

TEST_F(FormTest, TimerReenabledWhileRunningKeepsItsInterval)
{
    TTimer timer(nullptr);
    struct Ticks {
        int count = 0;
        void Tick(TObject*) { ++count; }
    } ticks;
    timer.SetEnabled(false);
    timer.SetInterval(150);
    timer.OnTimer = Closure(&ticks, &Ticks::Tick);
    const DWORD start = GetTickCount();
    timer.SetEnabled(true);
    // Setting Enabled again and again while it runs must not push the first tick away.
    ASSERT_TRUE(PumpUntil(
        [&] {
            timer.SetEnabled(true);
            return ticks.count > 0;
        },
        2000));
    EXPECT_LT(GetTickCount() - start, 1000u);
    timer.SetEnabled(false);
    const int after = ticks.count;
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(ticks.count, after);
}

TEST_F(FormTest, OkOnlyBoxesTakeNoAnswerFromTheQueue)
{
    script.Answer(mrNo);
    MessageDlg("File sent.", mtInformation, {mbOK});
    Application->MessageBox("Error - unable to process data because of delays.", "", MB_OK);
    EXPECT_EQ(MessageDlg("Continue?", mtWarning, {mbYes, mbNo}), mrNo);
    EXPECT_EQ(script.Unanswered, 0);
}

namespace {
class TNamedClassForm : public TForm {
public:
    using TForm::TForm;
    int sizes = 0;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_CREATE) ++sizes;
        TForm::Dispatch(m);
    }

protected:
    void CreateParams(TCreateParams& p) override
    {
        TForm::CreateParams(p);
        p.OwnClassName = "TQvNamedForm";
    }
};
}  // namespace

TEST_F(FormTest, FormCanHaveAWindowClassOfItsOwnAndHearsItsCreation)
{
    TNamedClassForm f(nullptr);
    f.Show();
    char cls[64] = {};
    GetClassNameA(f.Handle(), cls, sizeof(cls));
    EXPECT_STREQ(cls, "TQvNamedForm");
    EXPECT_EQ(f.sizes, 1);  // WM_CREATE reached the form
    EXPECT_EQ(FindWindowA("TQvNamedForm", nullptr), f.Handle());
}

TEST_F(FormTest, EnterAndEscapePressTheDefaultAndCancelButtons)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->SetTop(80);
    ok->Default = true;
    ok->ModalResult = mrOk;
    auto* cancel = new TButton(f);
    cancel->SetParent(f);
    cancel->SetTop(120);
    cancel->Cancel = true;
    cancel->ModalResult = mrCancel;
    f->Show();
    f->Edit1->SetFocus();
    TypeKey(f->Edit1, VK_RETURN);
    EXPECT_EQ(f->ModalResult, mrOk);
    TypeKey(f->Edit1, VK_ESCAPE);
    EXPECT_EQ(f->ModalResult, mrCancel);
}

TEST_F(FormTest, ContextMenuPopsUpTheControlsPopupMenuAfterItsOnPopup)
{
    TSampleForm* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    auto* popup = new TPopupMenu(f);
    struct Popups {
        int popped = 0;
        void Popup(TObject*) { ++popped; }
        void Close(TObject*) { EndMenu(); }
    } popups;
    popup->OnPopup = Closure(&popups, &Popups::Popup);
    NewMenuItem(f, popup->Items(), "Copy to Clipboard");
    f->Edit1->SetPopupMenu(popup);
    // The menu's own loop runs until the menu closes: a timer closes it.
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = Closure(&popups, &Popups::Close);
    RECT r;
    GetWindowRect(f->Edit1->Handle(), &r);
    SendMessageA(f->Edit1->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Edit1->Handle()),
                 MAKELPARAM(r.left + 2, r.top + 2));
    EXPECT_EQ(popups.popped, 1);
    EXPECT_EQ(popup->PopupComponent, f->Edit1);
}
