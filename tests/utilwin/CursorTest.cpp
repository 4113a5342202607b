// Cursors: the animated cursor of the test resources through a temporary file, cursor
// numbers handed out from 100, and the nesting wait cursor.
#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "util/CursorUtils.h"
#include "util/WinUtilTexts.h"

TEST(LoadAniCursor, LoadsTheAnimatedResourceAndLeavesNoTemporaryFile)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    auto aniFiles = [&] {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((String(folder) + "ANI*.tmp").c_str(), &found);
        int n = 0;
        if (h != INVALID_HANDLE_VALUE) {
            do ++n;
            while (FindNextFileA(h, &found));
            FindClose(h);
        }
        return n;
    };
    const int before = aniFiles();
    HCURSOR cursor = LoadAniCursor(GetModuleHandleA(nullptr), "QV_TESTSPIN");
    ASSERT_TRUE(cursor);
    EXPECT_EQ(aniFiles(), before);
    DestroyCursor(cursor);
    EXPECT_EQ(LoadAniCursor(GetModuleHandleA(nullptr), "QV_NO_SUCH_CURSOR"), nullptr);
}

TEST(DefineCursor, RegistersUnderTheFirstFreeNumberFromAHundred)
{
    const TCursor first = DefineCursor(GetModuleHandleA(nullptr), "QV_TESTSPIN");
    const TCursor second = DefineCursor(GetModuleHandleA(nullptr), "QV_TESTSPIN");
    EXPECT_GE(first, 100);
    EXPECT_EQ(second, first + 1);
    EXPECT_NE(Screen->Cursors(first), Screen->Cursors(crDefault));
    Screen->SetCursors(first, nullptr);
    EXPECT_EQ(DefineCursor(GetModuleHandleA(nullptr), "QV_TESTSPIN"), first);
    try {
        DefineCursor(GetModuleHandleA(nullptr), "QV_NO_SUCH_CURSOR");
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource QV_NO_SUCH_CURSOR not found");
    }
}

TEST(WaitCursor, NestedWaitsRestoreTheCursorOnlyAtTheLastStop)
{
    Screen->SetCursor(crIBeam);
    StopWait();  // no wait running: nothing happens
    EXPECT_EQ(Screen->Cursor(), crIBeam);
    StartWait();
    StartWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    EXPECT_EQ(GetCursor(), Screen->Cursors(crHourGlass));
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crIBeam);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crIBeam);
    Screen->SetCursor(crDefault);
}
