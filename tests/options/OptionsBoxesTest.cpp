// The platform's boxes that Save Settings opens from the options dialog, met by the user's own
// mouse and keys: while one is up, the main window under it takes no input, so the macro list
// is saved as the user left it and no second box opens from there.
#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "settings/PropertiesForm.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/UserActions.h"

namespace optionsboxes_test {
namespace {

using namespace std::chrono_literals;
using qv::test::ActiveDialog;
using qv::test::ShownDialog;
using qv::test::UserClick;
using qv::test::UserKeys;

const std::string ModemList = "[MACRO_LIST]\r\n!|_1|_1|_260|_320\r\n"
                              "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

// The middle of a window, or of Client's point At, on the screen.
POINT OnScreen(HWND Window, POINT At = {-1, -1})
{
    if (At.x < 0) {
        RECT r{};
        GetClientRect(Window, &r);
        At = {r.right / 2, r.bottom / 2};
    }
    ClientToScreen(Window, &At);
    return At;
}

class OptionsBoxesTest : public qv::test::MainWindowHarness {
protected:
    // The main window over the modem list, the editor shown on "Reset", the options dialog
    // open beside it (not over the tree), the platform's boxes in place of the script.
    void StartOnReset()
    {
        WriteTextFile(InFolder("qvmacros.ini"), ModemList);
        Start(0, 70);
        Form1->SetBounds(0, 0, 800, 560);
        Form1->Tr_edit_tbnClick(Form1->Tr_edit_tbn);
        Form1->ActionTreeExpandExecute(Form1);
        Form1->TreeView->SetSelected(Node(1));
        Form1->TreeViewClick(Form1->TreeView);
        ASSERT_EQ(Form1->EditMacroName->Text(), "Reset");
        if (!frmProp) Application->CreateForm(frmProp);
        Form1->settings_spbtnClick(Form1->settings_spbtn);
        ASSERT_TRUE(qv::test::WaitUntil([] { return frmProp->Active(); }));
        SetWindowPos(frmProp->Handle(), nullptr, 820, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        mainThread_ = GetCurrentThreadId();
        SetDialogService(nullptr);
    }
    void TearDown() override
    {
        SetDialogService(&script);
        MainWindowHarness::TearDown();
    }
    TTreeNode* Node(int Index) { return Form1->TreeView->Items()->Item(Index); }
    POINT LabelOnScreen(TTreeNode* Node)
    {
        RECT r{};
        *reinterpret_cast<HTREEITEM*>(&r) = Node->ItemId();
        SendMessageA(Form1->TreeView->Handle(), TVM_GETITEMRECT, TRUE,
                     reinterpret_cast<LPARAM>(&r));
        return OnScreen(Form1->TreeView->Handle(), {r.left + 3, (r.top + r.bottom) / 2});
    }
    // From the user's thread, on the test's own desktop where its input goes: the box once it
    // is shown and active, or null (and whatever else is up closed) when none comes.
    HWND UserSeesBox()
    {
        SetThreadDesktop(GetThreadDesktop(mainThread_));
        HWND box = nullptr;
        if (qv::test::WaitUntil([&] { return (box = ActiveDialog(mainThread_)) != nullptr; }, 30s))
            return box;
        CloseBoxes();
        return nullptr;
    }
    // From the user's thread: closes whatever box is still up, so that a failing test ends.
    void CloseBoxes()
    {
        qv::test::WaitUntil(
            [&] {
                if (HWND box = ShownDialog(mainThread_)) {
                    PostMessageA(box, WM_COMMAND, IDNO, 0);
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                }
                return !ShownDialog(mainThread_);
            },
            10s);
    }
    std::string ListText() const
    {
        std::ifstream in(InFolder("qvmacros.ini"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    DWORD mainThread_ = 0;
};

TEST_F(OptionsBoxesTest, AnEmptyNameSavedFromTheOptionsDialogKeepsItsFieldsWhileTheMainWindowIsDead)
{
    StartOnReset();
    SendMessageA(Form1->EditMacroName->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(Form1->EditMacroName->Handle(), EM_SETMODIFY, TRUE, 0);
    Form1->ActionOtherChangeExecute(Form1->EditMacroName);
    ASSERT_EQ(Form1->PendingEditNode, Node(1));
    const POINT description = OnScreen(Form1->EditDescription->Handle());
    const POINT raiseRts = LabelOnScreen(Node(2));

    std::atomic<bool> boxSeen{false}, ownedByOptions{false}, mainEnabled{true},
        optionsEnabled{true};
    std::thread user([&] {
        const HWND box = UserSeesBox();
        if (!box) return;
        boxSeen = true;
        ownedByOptions = GetWindow(box, GW_OWNER) == frmProp->Handle();
        mainEnabled = IsWindowEnabled(Form1->Handle()) != 0;
        optionsEnabled = IsWindowEnabled(frmProp->Handle()) != 0;
        // Leaving the box up, the user types a description into the editor, clicks "Raise RTS",
        // and then answers the box.
        UserClick(description);
        UserKeys("MODEM");
        UserClick(raiseRts);
        UserClick(OnScreen(GetDlgItem(box, IDOK)));
        qv::test::WaitUntil([&] { return !ShownDialog(mainThread_); }, 10s);
        CloseBoxes();
    });
    frmProp->sbtnSaveSettingsClick(frmProp->sbtnSaveSettings);
    user.join();

    ASSERT_TRUE(boxSeen);
    EXPECT_TRUE(ownedByOptions);
    EXPECT_FALSE(mainEnabled);
    EXPECT_FALSE(optionsEnabled);
    const TInfo* reset = NodeInfo(Node(1));
    EXPECT_EQ(reset->MacroName, "?");
    EXPECT_EQ(reset->MacroType, "Data String");
    EXPECT_EQ(reset->Description, "Send ATZ");
    EXPECT_EQ(reset->MacroData, "ATZ\\r");
    EXPECT_EQ(NodeInfo(Node(2))->MacroName, "Raise RTS");
    EXPECT_NE(ListText().find("-|_?|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"), std::string::npos)
        << ListText();
    EXPECT_EQ(ListText().find("Raise RTS"), ListText().rfind("Raise RTS")) << ListText();
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
}

TEST_F(OptionsBoxesTest, NoSecondBoxOpensFromTheMainWindowOverTheSaveQuestion)
{
    StartOnReset();
    Form1->ActionNodeDeleteSoftExecute(Form1);
    script.Clear();
    const POINT screen = OnScreen(Form1->reScreen->Handle());

    std::atomic<bool> boxSeen{false}, secondBox{false};
    std::thread user([&] {
        const HWND box = UserSeesBox();
        if (!box) return;
        boxSeen = true;
        // The user turns to the main window, presses F10 (Exit) and Esc
        // (which leaves a menu F10 may have armed), then answers Yes.
        UserClick(screen);
        const char exitKey[] = {static_cast<char>(VK_F10), static_cast<char>(VK_ESCAPE), 0};
        UserKeys(exitKey);
        UserClick(OnScreen(GetDlgItem(box, IDYES)));
        qv::test::WaitUntil(
            [&] {
                const HWND shown = ShownDialog(mainThread_);
                secondBox = shown && shown != box;
                return !shown || secondBox;
            },
            10s);
        CloseBoxes();
    });
    frmProp->sbtnSaveSettingsClick(frmProp->sbtnSaveSettings);
    user.join();

    ASSERT_TRUE(boxSeen);
    EXPECT_FALSE(secondBox);
    EXPECT_TRUE(Form1->Comm1->Enabled());
    // The save the user asked for: the marked item is gone from the file.
    EXPECT_EQ(ListText().find("Reset"), std::string::npos) << ListText();
}

}  // namespace
}  // namespace optionsboxes_test
