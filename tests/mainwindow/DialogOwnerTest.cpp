// The platform's dialogs as the main window opens them: each is owned by the window it was opened
// from, which is disabled while it is up (also right after a modal window closed, when nothing of
// the program is active), and comes up above the program's stay-on-top windows.
#include <windows.h>

#include <atomic>
#include <thread>

#include "dialogs/PacedSendOptions.h"
#include "framework/gui/CommonDialogs.h"
#include "settings/PropertiesForm.h"
#include "tests/support/FileSendHelpers.h"
#include "tests/support/MainWindowHarness.h"

namespace dialogowner_test {
namespace {

using namespace std::chrono_literals;
using qv::test::ShownDialog;

// What the user found when the platform's dialog came up, before cancelling it.
struct TSeen {
    HWND dialog = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    bool aboveOptions = false;
};

// Whether Upper lies above Lower in the z-order.
bool Above(HWND Upper, HWND Lower)
{
    for (HWND h = GetWindow(Upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == Lower) return true;
    return false;
}

// The Special Send File options' "&Open File", pressed once the dialog is up and modal: a
// thread timer, whose procedure runs inside the modal loop.
void CALLBACK OpenFileWhenAsked(HWND, UINT, UINT_PTR Id, DWORD)
{
    if (!AdvSendFile_dlg || !AdvSendFile_dlg->Modal() || !AdvSendFile_dlg->Visible()) return;
    KillTimer(nullptr, Id);
    AdvSendFile_dlg->sbtnOK->Click();
}

// The platform's boxes, and the file chosen in the open dialog without showing it.
class TFileChosenBoxesShown : public TDialogService {
public:
    TFileChosenBoxesShown(TDialogService& Platform, std::string Path)
        : platform_(Platform),
          path_(std::move(Path))
    {
    }
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) override
    {
        return platform_.MessageDlg(Msg, DlgType, Buttons);
    }
    void ShowMessage(const String& Msg) override { platform_.ShowMessage(Msg); }
    int MessageBox(const String& Text, const String& Caption, UINT Flags) override
    {
        return platform_.MessageBox(Text, Caption, Flags);
    }
    void Beep() override {}
    bool Execute(TCommonDialog& Dialog) override
    {
        static_cast<TOpenDialog&>(Dialog).FileName = path_;
        return true;
    }

private:
    TDialogService& platform_;
    std::string path_;
};

class DialogOwner : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        Start(0, 70);
        mainThread_ = GetCurrentThreadId();
        SetDialogService(nullptr);
    }
    void TearDown() override
    {
        SetDialogService(&script);
        MainWindowHarness::TearDown();
    }

    // Posts the main window Command and, from the user's thread, looks at the platform dialog it
    // brings up, then cancels it; Options: the options dialog whose place is compared.
    TSeen OpenAndCancel(UINT Command, HWND Options = nullptr)
    {
        TSeen seen;
        std::atomic<bool> done{false};
        std::thread user([&] {
            HWND dialog = nullptr;
            // Shown, and then activated, as the user sees it come up.
            if (qv::test::WaitUntil(
                    [&] {
                        GUITHREADINFO info{};
                        info.cbSize = sizeof(info);
                        dialog = ShownDialog(mainThread_);
                        return dialog && GetGUIThreadInfo(mainThread_, &info) &&
                               info.hwndActive == dialog;
                    },
                    30s)) {
                seen.dialog = dialog;
                seen.owner = GetWindow(dialog, GW_OWNER);
                seen.ownerEnabled = seen.owner && IsWindowEnabled(seen.owner);
                seen.aboveOptions = Options && Above(dialog, Options);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            done = true;
        });
        PostMessageA(Form1->Handle(), WM_COMMAND, Command, 0);
        qv::test::WaitUntil([&] { return done && !ShownDialog(mainThread_); }, 60s);
        user.join();
        return seen;
    }

    DWORD mainThread_ = 0;
};

// No window of the program is active once the modal options dialog has closed: the open dialog
// that follows, owned by nothing, left the main window usable, and a second send started behind
// it.
TEST_F(DialogOwner, SpecialSendsOpenDialogAfterItsOptionsIsOwnedByTheMainWindowWhichItDisables)
{
    Application->CreateForm(AdvSendFile_dlg);
    SetTimer(nullptr, 0, 10, OpenFileWhenAsked);
    const TSeen seen = OpenAndCancel(Form1->miSpxSendFileBinary->Command());
    ASSERT_NE(seen.dialog, nullptr);
    EXPECT_EQ(seen.owner, Form1->Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_EQ(Transfer.FileSend, nullptr);
}

// The same for a box: a file another program holds cannot be opened, and says so right after the
// options dialog closed.
TEST_F(DialogOwner, ABoxRightAfterTheSpecialSendOptionsIsOwnedByTheMainWindowWhichItDisables)
{
    Application->CreateForm(AdvSendFile_dlg);
    const std::string path = MakeFile("held.bin", "abc");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TFileChosenBoxesShown boxes(DialogService(), path);
    SetDialogService(&boxes);
    SetTimer(nullptr, 0, 10, OpenFileWhenAsked);
    const TSeen seen = OpenAndCancel(Form1->miSpxSendFileBinary->Command());
    SetDialogService(nullptr);
    CloseHandle(held);
    ASSERT_NE(seen.dialog, nullptr);
    EXPECT_EQ(seen.owner, Form1->Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
}

// The options dialog stays on top; the font dialog opened from the main window's View menu came
// up under it, its OK button hidden.
TEST_F(DialogOwner, TheScreenFontDialogComesUpAboveTheOptionsDialogThatStaysOnTop)
{
    if (!frmProp) Application->CreateForm(frmProp);
    Form1->settings_spbtnClick(Form1->settings_spbtn);
    ASSERT_TRUE(frmProp->Visible());
    // The user's click on the main window's menu bar activates it.
    SetActiveWindow(Form1->Handle());
    const TSeen seen = OpenAndCancel(Form1->EditFont->Command(), frmProp->Handle());
    ASSERT_NE(seen.dialog, nullptr);
    EXPECT_EQ(seen.owner, Form1->Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(seen.aboveOptions);
    frmProp->Close();
}

// A modal form of the program likewise: the Special Send File options, opened from the main
// window while the options dialog stays on top.
TEST_F(DialogOwner, TheSpecialSendOptionsComeUpAboveTheOptionsDialogThatStaysOnTop)
{
    Application->CreateForm(AdvSendFile_dlg);
    if (!frmProp) Application->CreateForm(frmProp);
    Form1->settings_spbtnClick(Form1->settings_spbtn);
    ASSERT_TRUE(frmProp->Visible());
    SetActiveWindow(Form1->Handle());
    const HWND options = AdvSendFile_dlg->Handle();
    const HWND settings = frmProp->Handle();
    std::atomic<bool> above{false}, done{false};
    std::thread user([&] {
        if (qv::test::WaitUntil([&] { return IsWindowVisible(options) != 0; }, 30s)) {
            above = Above(options, settings);
            PostMessageA(options, WM_CLOSE, 0, 0);
        }
        done = true;
    });
    PostMessageA(Form1->Handle(), WM_COMMAND, Form1->miSpxSendFileBinary->Command(), 0);
    qv::test::WaitUntil([&] { return done && !IsWindowVisible(options); }, 60s);
    user.join();
    EXPECT_TRUE(above);
    EXPECT_EQ(GetWindowLongA(options, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    frmProp->Close();
}

}  // namespace
}  // namespace dialogowner_test
