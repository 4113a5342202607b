// The platform's box as the program shows it, looked at from the user's thread: while it is up
// no window of the program takes input, a box an event shows meanwhile comes up over it, and
// when it goes exactly the windows it disabled come back, with the focus where it was.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "framework/gui/DialogService.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "tests/support/UserActions.h"
#include "tests/support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

DWORD mainThread = 0;
HWND firstBox = nullptr;

HWND ActiveBox(HWND Except = nullptr) { return qv::test::ActiveDialog(mainThread, Except); }

// An event that must tell the user something (a device gone) while the first box is up: a
// thread timer, whose procedure runs inside the box's loop.
void CALLBACK DeviceGone(HWND, UINT, UINT_PTR Id, DWORD)
{
    if (!firstBox) return;
    KillTimer(nullptr, Id);
    ShowMessage("gone");
}

}  // namespace

TEST(ModalBox, HoldsEveryWindowOfTheProgramTakesABoxOverItAndGivesBackExactlyWhatItTook)
{
    mainThread = GetCurrentThreadId();
    firstBox = nullptr;
    TForm main(nullptr);
    auto* entry = new TEdit(&main);
    entry->SetParent(&main);
    main.Show();
    TForm notes(nullptr);  // a modeless window of the program that stays on top
    notes.SetFormStyle(fsStayOnTop);
    notes.SetBounds(500, 100, 200, 150);
    notes.Show();
    TForm off(nullptr);  // one the program had disabled itself
    off.SetBounds(500, 300, 200, 150);
    off.Show();
    EnableWindow(off.Handle(), FALSE);
    SetActiveWindow(main.Handle());
    SetFocus(entry->Handle());
    ASSERT_EQ(GetFocus(), entry->Handle());

    std::atomic<bool> seen{false}, notesEnabled{true}, mainEnabled{true}, secondOverFirst{false},
        firstEnabledUnderSecond{true}, firstBackAfterSecond{false};
    std::thread user([&] {
        SetThreadDesktop(GetThreadDesktop(mainThread));
        HWND first = nullptr;
        if (qv::test::WaitUntil([&] { return (first = ActiveBox()) != nullptr; }, 30s)) {
            seen = true;
            notesEnabled = IsWindowEnabled(notes.Handle()) != 0;
            mainEnabled = IsWindowEnabled(main.Handle()) != 0;
            firstBox = first;
            HWND second = nullptr;
            if (qv::test::WaitUntil([&] { return (second = ActiveBox(first)) != nullptr; }, 30s)) {
                secondOverFirst = GetWindow(second, GW_OWNER) == first;
                firstEnabledUnderSecond = IsWindowEnabled(first) != 0;
                PostMessageA(second, WM_COMMAND, IDOK, 0);
                firstBackAfterSecond = qv::test::WaitUntil(
                    [&] { return ActiveBox() == first && IsWindowEnabled(first); }, 30s);
            }
        }
        // Whatever is still up is answered, so that a failing test ends.
        qv::test::WaitUntil(
            [&] {
                if (HWND box = qv::test::ShownDialog(mainThread))
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                return !qv::test::ShownDialog(mainThread);
            },
            30s);
    });
    SetTimer(nullptr, 0, 10, DeviceGone);
    ShowMessage("first");
    user.join();

    ASSERT_TRUE(seen);
    EXPECT_FALSE(notesEnabled);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(secondOverFirst);
    EXPECT_FALSE(firstEnabledUnderSecond);
    EXPECT_TRUE(firstBackAfterSecond);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_TRUE(IsWindowEnabled(notes.Handle()));
    EXPECT_FALSE(IsWindowEnabled(off.Handle()));
    EXPECT_EQ(GetFocus(), entry->Handle());
}
