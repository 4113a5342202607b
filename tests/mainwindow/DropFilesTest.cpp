// Files dropped on the receive screen, through a real WM_DROPFILES with a shell-style drop
// handle: one profile is loaded; several files, a missing one, other types and ".QVP" are not.
// Also: the screen's background is never erased.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "tests/support/MainWindowHarness.h"

namespace mainwindow_test {
namespace {

class DropFilesTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        WriteTextFile(SettingsPath(), SettingsText("19200"));
        StartMainWindow();
        ASSERT_TRUE(script.Shown().empty());
    }
    // A real WM_DROPFILES through the screen's window procedure, with a drop handle built as
    // the shell builds one; returns the handle (freed by the receiver).
    HGLOBAL DropOnScreen(const std::vector<std::string>& files)
    {
        size_t size = sizeof(DROPFILES) + 1;
        for (const auto& f : files) size += f.size() + 1;
        HGLOBAL drop = GlobalAlloc(GHND, size);
        auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = FALSE;
        char* p = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
        for (const auto& f : files) {
            memcpy(p, f.c_str(), f.size() + 1);
            p += f.size() + 1;
        }
        *p = 0;
        GlobalUnlock(drop);
        SendMessageA(Form1->reScreen->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        return drop;
    }
    // The drop handle has been given back (DragFinish frees it).
    static bool Released(HGLOBAL drop) { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; }
};

TEST_F(DropFilesTest, ADroppedProfileIsAnnouncedAndLoaded)
{
    WriteTextFile(InFolder("bench.qvp"), SettingsText("57600", "COM12"));
    HGLOBAL drop = DropOnScreen({InFolder("bench.qvp")});

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtInformation);
    EXPECT_EQ(box->Text,
              "Drag and drop detected. Loading Profile information from file:\nbench.qvp");
    EXPECT_EQ(Form1->Baud->Text(), "57600");
    EXPECT_EQ(Form1->PortIndex->Text(), "COM12");
    EXPECT_EQ(Settings.ConfigFileName, InFolder("bench.qvp"));
    EXPECT_TRUE(Released(drop));
}

TEST_F(DropFilesTest, SeveralFilesAreRefusedAndTheHandleIsStillReleased)
{
    WriteTextFile(InFolder("a.qvp"), SettingsText("57600"));
    WriteTextFile(InFolder("b.qvp"), SettingsText("57600"));
    HGLOBAL drop = DropOnScreen({InFolder("a.qvp"), InFolder("b.qvp")});

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text, "Drag and drop error - too many files!");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
    EXPECT_TRUE(Released(drop));
}

TEST_F(DropFilesTest, AFileThatDoesNotExistShowsNothingAndChangesNothing)
{
    HGLOBAL drop = DropOnScreen({InFolder("gone.qvp")});

    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(Form1->Baud->Text(), "19200");
    EXPECT_TRUE(SameText(Settings.ConfigFileName, SettingsPath()));
    EXPECT_TRUE(Released(drop));
}

TEST_F(DropFilesTest, AProfileNameInCapitalsIsRefusedAsAnIncorrectType)
{
    WriteTextFile(InFolder("LAB.QVP"), SettingsText("57600"));
    DropOnScreen({InFolder("LAB.QVP")});

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtError);
    EXPECT_EQ(box->Text, "Drag and drop error - incorrect file type.\nOnly Quorvalink Profile "
                         "(*.qvp) files are accepted.");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
}

TEST_F(DropFilesTest, AnotherFileTypeIsRefused)
{
    WriteTextFile(InFolder("notes.txt"), SettingsText("57600"));
    DropOnScreen({InFolder("notes.txt")});

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Text, "Drag and drop error - incorrect file type.\nOnly Quorvalink Profile "
                         "(*.qvp) files are accepted.");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
}

TEST_F(DropFilesTest, TheScreenNeverErasesItsBackgroundAndPassesOtherMessagesOn)
{
    HWND screen = Form1->reScreen->Handle();
    HDC dc = GetDC(screen);
    EXPECT_EQ(SendMessageA(screen, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(screen, dc);
    // The screen still is a rich edit underneath.
    SendMessageA(screen, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
    EXPECT_EQ(SendMessageA(screen, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(DropFilesTest, TheScreenGoesWithTheWindow)
{
    HWND screen = Form1->reScreen->Handle();
    delete Form1;
    EXPECT_EQ(Form1, nullptr);
    EXPECT_FALSE(IsWindow(screen));
}

}  // namespace
}  // namespace mainwindow_test
