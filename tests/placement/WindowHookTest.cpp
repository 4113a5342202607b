// TQvWindowHook on real windows: the order of the before and after phases, Handled, WM_DESTROY,
// survival across a new window, a third party's subclass, freeing the watched control, its own
// form in form data, and the size limits the placement applies through its hook.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Form.h"
#include "placement/FormPlacement.h"
#include "placement/WindowHook.h"
#include "tests/placement/PlacementTestSupport.h"

namespace {

constexpr UINT WM_PROBE = WM_APP + 7;
std::vector<std::string> journal;

}  // namespace

// A form whose own window procedure notes the probe message and WM_DESTROY.
class THookedForm : public TForm {
public:
    THookedForm() : TForm(nullptr) { DoCreate(); }
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_PROBE) {
            journal.push_back("form");
            Message.Result = 42;
            return;
        }
        if (Message.Msg == WM_DESTROY) journal.push_back("form destroy");
        TForm::Dispatch(Message);
    }
};

namespace {

// A hook component that notes what it sees under a name.
class TNamedHook {
public:
    TNamedHook(const char* Name, TComponent* Owner) : name_(Name), hook(new TQvWindowHook(Owner))
    {
        hook->BeforeMessage = Closure(this, &TNamedHook::Before);
        hook->AfterMessage = Closure(this, &TNamedHook::After);
    }
    void Before(TObject*, TMessage& M, bool& Handled)
    {
        if (M.Msg != WM_PROBE && M.Msg != WM_DESTROY) return;
        journal.push_back(name_ + " before");
        if (HandleBefore) {
            Handled = true;
            M.Result = 7;
        }
    }
    void After(TObject*, TMessage& M, bool&)
    {
        if (M.Msg == WM_PROBE || M.Msg == WM_DESTROY)
            journal.push_back(name_ + " after " + std::to_string(M.Result));
    }

    std::string name_;
    TQvWindowHook* hook;
    bool HandleBefore = false;
};

WNDPROC thirdPartyPrevious = nullptr;
LRESULT CALLBACK ThirdParty(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_PROBE) journal.push_back("third");
    return CallWindowProcA(thirdPartyPrevious, h, m, w, l);
}

class WindowHookTest : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }
};

}  // namespace

TEST_F(WindowHookTest, LastAttachedSeesFirstAndHandledStopsTheWindowAndTheAfterPhase)
{
    THookedForm form;
    TComponent owner(nullptr);
    TNamedHook a("a", &owner), b("b", &owner);
    a.hook->SetWinControl(&form);
    b.hook->SetWinControl(&form);
    EXPECT_EQ(a.hook->WinControl(), &form);

    EXPECT_EQ(SendMessageA(form.Handle(), WM_PROBE, 0, 0), 42);
    EXPECT_EQ(journal, (std::vector<std::string>{"b before", "a before", "form", "b after 42",
                                                 "a after 42"}));
    journal.clear();
    b.HandleBefore = true;
    EXPECT_EQ(SendMessageA(form.Handle(), WM_PROBE, 0, 0), 7);
    EXPECT_EQ(journal, std::vector<std::string>{"b before"});

    // WM_DESTROY always reaches the window's procedure and the after phase.
    journal.clear();
    DestroyWindow(form.Handle());
    EXPECT_EQ(journal,
              (std::vector<std::string>{"b before", "form destroy", "b after 0", "a after 0"}));
}

TEST_F(WindowHookTest, TheHookComesBackOnTheControlsNextWindow)
{
    THookedForm form;
    TComponent owner(nullptr);
    TNamedHook a("a", &owner);
    a.hook->SetWinControl(&form);
    const HWND first = form.Handle();
    form.SetBorderStyle(bsDialog);  // a new window
    ASSERT_NE(form.Handle(), first);
    journal.clear();
    ASSERT_TRUE(PumpUntil([&] {
        journal.clear();
        SendMessageA(form.Handle(), WM_PROBE, 0, 0);
        return journal.size() == 3;
    }));
    EXPECT_EQ(journal, (std::vector<std::string>{"a before", "form", "a after 42"}));
}

TEST_F(WindowHookTest, UnhookingUnderAThirdPartysSubclassKeepsTheWholeChain)
{
    THookedForm form;
    TComponent owner(nullptr);
    TNamedHook a("a", &owner);
    a.hook->SetWinControl(&form);
    thirdPartyPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ThirdParty)));
    a.hook->SetActive(false);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC)),
              &ThirdParty);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_PROBE, 0, 0), 42);
    EXPECT_EQ(journal, (std::vector<std::string>{"third", "form"}));

    // Hooked again on the same window, and then freed with the window in place: the chain
    // still reaches the form, and the window's end goes through without a freed record.
    journal.clear();
    a.hook->SetActive(true);
    SendMessageA(form.Handle(), WM_PROBE, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"third", "a before", "form", "a after 42"}));
    delete a.hook;
    PumpUntil([] { return false; }, 50);
    journal.clear();
    EXPECT_EQ(SendMessageA(form.Handle(), WM_PROBE, 0, 0), 42);
    EXPECT_EQ(journal, (std::vector<std::string>{"third", "form"}));
    DestroyWindow(form.Handle());
}

TEST_F(WindowHookTest, FreeingTheWatchedControlClearsEveryHookOnIt)
{
    auto form = std::make_unique<THookedForm>();
    TComponent owner(nullptr);
    TNamedHook a("a", &owner), b("b", &owner);
    a.hook->SetWinControl(form.get());
    b.hook->SetWinControl(form.get());
    form->HandleNeeded();
    form.reset();
    EXPECT_EQ(a.hook->WinControl(), nullptr);
    EXPECT_EQ(b.hook->WinControl(), nullptr);
    EXPECT_TRUE(a.hook->Active());
    PumpUntil([] { return false; }, 50);
}

TEST_F(WindowHookTest, AHookOnItsOwnFormIsWrittenAsIsFormAndReadBackOntoItsNewOwner)
{
    TMemoryFormData data(nullptr);
    {
        THookedForm form;
        auto* hook = new TQvWindowHook(&form);
        hook->SetWinControl(&form);
        hook->WriteState(data.Storage);
    }
    EXPECT_EQ(data.Values["Data.IsForm"], "True");
    EXPECT_EQ(data.Values.count("Data.WinControl"), 0u);

    THookedForm other;
    auto* hook = new TQvWindowHook(&other);
    hook->ReadState(data.Storage);
    EXPECT_EQ(hook->WinControl(), &other);
}

TEST_F(WindowHookTest, PlacementLimitsTheFormsSizeThroughItsHook)
{
    THookedForm form;
    auto* placement = new TFormPlacement(&form);
    form.Show();
    placement->MinMaxInfo()->SetMinMaxInfo(TWinMinMaxInfo::MinTrackWidth, 300);
    EXPECT_EQ(placement->WinHook()->WinControl(), &form);
    form.SetBounds(10, 10, 120, 150);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 150);
    placement->MinMaxInfo()->SetMinMaxInfo(TWinMinMaxInfo::MinTrackWidth, 0);
    EXPECT_EQ(placement->WinHook()->WinControl(), nullptr);

    placement->SetPreventResize(true);
    const auto style = [&] { return GetWindowLongPtrA(form.Handle(), GWL_STYLE); };
    EXPECT_FALSE(style() & WS_MAXIMIZEBOX);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    const LPARAM rightEdge = MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_NCHITTEST, 0, rightEdge), HTNOWHERE);
    // The window menu, as it opens: its size and maximize commands are greyed.
    HMENU windowMenu = GetSystemMenu(form.Handle(), FALSE);
    for (UINT command : {SC_SIZE, SC_MAXIMIZE})
        EnableMenuItem(windowMenu, command, MF_BYCOMMAND | MF_ENABLED);
    SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu),
                 MAKELPARAM(0, TRUE));
    for (UINT command : {SC_SIZE, SC_MAXIMIZE})
        EXPECT_TRUE(GetMenuState(windowMenu, command, MF_BYCOMMAND) & MF_GRAYED) << command;
    form.SetBounds(10, 10, 500, 400);
    // The window's own size: a refused resize leaves the form's fields at the request.
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 150);
    placement->SetPreventResize(false);
    EXPECT_TRUE(style() & WS_MAXIMIZEBOX);
    EXPECT_EQ(SendMessageA(form.Handle(), WM_NCHITTEST, 0, rightEdge), HTRIGHT);
    form.SetBounds(10, 10, 500, 400);
    EXPECT_EQ(form.Width(), 500);
}
