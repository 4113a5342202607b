// The shell's file operation with its questions and progress off (never the recycle bin), and
// the folder browser driven from its own callbacks by messages, cancelled at the end.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/support/WaitUntil.h"
#include "tests/fileutils/FileTestFolder.h"
#include "util/FileUtils.h"
#include "util/ShellFileOps.h"

namespace {

class ShellFileOps : public FileTestFolder {};

constexpr TFileOperFlags Quiet = {flSilent, flNoConfirmation, flNoErrorUI, flNoConfirmMkDir};

// Cancels any dialog of the test's thread that is still open after a while, so a browser that
// never reaches its callbacks fails the test instead of blocking it.
class DialogWatchdog {
public:
    DialogWatchdog() : thread_(GetCurrentThreadId())
    {
        watcher_ = std::thread([this] {
            for (int i = 0; i < 600 && !done_; ++i) Sleep(50);
            if (!done_) {
                fired_ = true;
                EnumThreadWindows(thread_, CancelOne, 0);
            }
        });
    }
    ~DialogWatchdog()
    {
        done_ = true;
        watcher_.join();
    }
    bool Fired() const { return fired_; }

private:
    static BOOL CALLBACK CancelOne(HWND Wnd, LPARAM)
    {
        PostMessageA(Wnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    DWORD thread_;
    std::atomic<bool> done_{false}, fired_{false};
    std::thread watcher_;
};

}  // namespace

TEST_F(ShellFileOps, OperatorSplitsItsOwnListsAndDeletesWithoutTheBin)
{
    Write("x.txt", "1");
    Write("y.txt", "2");
    TQvFileOperator op(nullptr);
    op.Operation = foDelete;
    op.Options = Quiet;  // no flAllowUndo: nothing goes to the recycle bin
    op.Source = Path("x.txt") + ";" + Path("y.txt");
    EXPECT_TRUE(op.Execute());
    EXPECT_FALSE(op.Aborted);
    EXPECT_FALSE(Exists(Path("x.txt")));
    EXPECT_FALSE(Exists(Path("y.txt")));
}

TEST_F(ShellFileOps, ShellCopyAndMoveKeepASemicolonInsideOneName)
{
    const std::string source = Write("a;b.txt", "semi");
    Write("a", "must stay");
    CreateDirectoryA(Path("dest").c_str(), nullptr);
    Fileutil::CopyFileEx(source, Path("dest\\a;b.txt"), true, true);
    EXPECT_EQ(Read(Path("dest\\a;b.txt")), "semi");
    Fileutil::MoveFileEx(source, Path("c;d.txt"), true);
    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(Read(Path("c;d.txt")), "semi");
    EXPECT_EQ(Read(Path("a")), "must stay");
}

TEST_F(ShellFileOps, BrowserEnablesOkOnlyForExistingFolders)
{
    CreateDirectoryA(Path("pick").c_str(), nullptr);
    TBrowseFolderDlg dialog(nullptr);
    dialog.FolderName = Path("pick");
    dialog.DialogText = "Choose";
    bool initialized = false;
    String firstSelection;
    bool okForFolder = false, okForComputer = true;
    HWND help = nullptr;
    struct Handlers {
        TBrowseFolderDlg* dialog;
        bool* initialized;
        String* firstSelection;
        bool* okForFolder;
        bool* okForComputer;
        HWND* help;
        void Initialized(TObject*)
        {
            *initialized = true;
            HWND wnd = dialog->Handle();
            // On a busy machine Wine's folder tree may not hold the folder yet when the dialog
            // first selects it (it then says it could not read a drive, and nothing is
            // selected): the folder is asked for again now and then, with the tree's messages
            // run in between, for fifteen seconds at most.
            const String wanted = dialog->FolderName;
            int polls = 0;
            qv::test::WaitUntil(
                [&] {
                    if (lstrcmpiA(RemoveBackSlash(dialog->SelectedName()).c_str(),
                                  wanted.c_str()) == 0)
                        return true;
                    if (++polls % 50 == 0)
                        SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE,
                                     reinterpret_cast<LPARAM>(wanted.c_str()));
                    return false;
                },
                std::chrono::seconds(15));
            *firstSelection = dialog->SelectedName();
            *okForFolder = IsWindowEnabled(GetDlgItem(wnd, IDOK)) != FALSE;
            *help = GetDlgItem(wnd, BrowseHelpButtonId);
            // The computer's own node has no path.
            LPITEMIDLIST drives = nullptr;
            SHGetSpecialFolderLocation(wnd, CSIDL_DRIVES, &drives);
            SendMessageA(wnd, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(drives));
            CoTaskMemFree(drives);
            *okForComputer = IsWindowEnabled(GetDlgItem(wnd, IDOK)) != FALSE;
            PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
        }
    } handlers{&dialog, &initialized, &firstSelection, &okForFolder, &okForComputer, &help};
    dialog.OnInitialized = Closure(&handlers, &Handlers::Initialized);
    DialogWatchdog watchdog;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_FALSE(watchdog.Fired());
    ASSERT_TRUE(initialized);
    EXPECT_EQ(lstrcmpiA(RemoveBackSlash(firstSelection).c_str(), Path("pick").c_str()), 0)
        << "selected: \"" << firstSelection << "\"";
    EXPECT_TRUE(okForFolder);
    EXPECT_FALSE(okForComputer);
    EXPECT_EQ(help, nullptr);  // HelpContext 0 adds no Help button
    EXPECT_EQ(dialog.FolderName, Path("pick"));
    EXPECT_EQ(dialog.Handle(), nullptr);
}
