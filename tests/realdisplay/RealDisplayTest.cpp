// The receive screen as a user sees it on a real display (Wine's X11 driver under Xvfb): after
// wheel notches and scroll-bar arrow clicks in each display mode, with the screen full and with
// the line limit reached, what the screen shows is what a fresh drawing of the same text shows;
// the scroll bar is drawn once the text is taller than the screen and leaves nothing when a cut
// removes it; the gutter's numbers stand beside their lines after a load and after a scroll, and
// nothing of an earlier view or session stays in it; the line width follows the gutter's width
// and the newest line stays in view; the inspector describes the caret after a font change.
// Wine's null display driver, which the other suites use, does not show these faults: there the
// tests skip.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "dialogs/PacedSendOptions.h"
#include "dialogs/ReadmeForm.h"
#include "framework/gui/Canvas.h"
#include "terminal/ScreenView.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"
#include "tests/support/UserActions.h"

namespace realdisplay_test {
namespace {

using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;
using qv::test::WaitUntil;

// Whether this prefix draws on a display: the other suites' prefix names Wine's null driver.
bool OnRealDisplay()
{
    char driver[32] = "";
    DWORD size = sizeof driver;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics", RRF_RT_REG_SZ,
                     nullptr, driver, &size) != ERROR_SUCCESS)
        return true;
    return lstrcmpiA(driver, "null") != 0;
}

// Pixels as drawn, row by row from the top.
struct TPicture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
};

TPicture PictureOf(HDC From, int Width, int Height)
{
    TPicture p;
    p.width = Width;
    p.height = Height;
    HDC memory = CreateCompatibleDC(From);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(From, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, Width, Height, From, 0, 0, SRCCOPY);
    GdiFlush();
    p.pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + Width * Height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return p;
}

// A window as it is drawn now: its client area, or (Frame) the whole window, borders and scroll
// bars included.
TPicture PictureOf(HWND Window, bool Frame)
{
    RECT r{};
    if (Frame) {
        GetWindowRect(Window, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(Window, &r);
    }
    HDC dc = Frame ? GetWindowDC(Window) : GetDC(Window);
    TPicture p = PictureOf(dc, r.right, r.bottom);
    ReleaseDC(Window, dc);
    return p;
}

// Where two pictures differ, in the first Rows rows; empty when they do not.
std::string Difference(const TPicture& A, const TPicture& B, int Rows = INT_MAX)
{
    if (A.width != B.width || A.height != B.height) return "sizes differ";
    int first = -1, count = 0;
    for (int y = 0; y < std::min(A.height, Rows); ++y) {
        const auto row = A.pixels.begin() + y * A.width;
        if (std::equal(row, row + A.width, B.pixels.begin() + y * A.width)) continue;
        if (first < 0) first = y;
        ++count;
    }
    if (first < 0) return "";
    return std::to_string(count) + " of " + std::to_string(A.height) + " rows differ, from row " +
           std::to_string(first);
}

class RealDisplayTest : public qv::test::MainWindowHarness {
protected:
    // The main window connected to the line, in Mode with a line limit of Lines, the screen
    // font DejaVu Sans Mono 14 as the run command's settings have it; false (the test skipped)
    // off a real display.
    bool StartOnDisplay(int Mode, int Lines)
    {
        if (!OnRealDisplay()) return false;
        WriteTextFile(SettingsPath(),
                      std::string("[Font Section]\r\nFONT_NAME=") + qv::test::BenchFixedFont +
                          "\r\nFONT_SIZE=14\r\n[Serial Port Section]\r\nPORT=COM1\r\nBAUD="
                          "115200\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n[General "
                          "Section]\r\nAUTO_CONNECT_ON_START=0\r\n[Display Section]\r\n"
                          "DISPLAY_MODE=" +
                          std::to_string(Mode) + "\r\nLINES=" + std::to_string(Lines) +
                          "\r\nAUTO_ADJUST_COLS=1\r\n");
        Display.Reset(TDisplayReset::NewSession);
        StartMainWindow();
        Form1->Show();
        // A window of the same size on any display, whatever placement it was shown with.
        Form1->SetWindowState(wsNormal);
        Form1->SetBounds(20, 20, 900, 560);
        ConnectToLine();
        Form1->Receive.Reset();
        screen = Form1->reScreen->Handle();
        return true;
    }

    // The device sends Bytes; the window has shown them all.
    void Receive(const std::string& Bytes)
    {
        const std::int64_t before = Display.BytesIn;
        line.Write(Bytes);
        ASSERT_TRUE(WaitForBytesIn(before + static_cast<std::int64_t>(Bytes.size())));
        ASSERT_TRUE(WaitForQuietScreen());
    }

    // What the window has queued (a paint, the rest on whole lines after a scroll) has run and
    // whatever was left to draw is drawn.
    void Settle()
    {
        for (int i = 0; i < 5; ++i) qv::test::PumpMessages();
        RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    // The screen (or its whole window, Frame) as the user sees it now is what a fresh drawing of
    // it shows. The caret, which blinks, is hidden meanwhile.
    void ExpectDrawnAsAfresh(HWND Window, bool Frame, const std::string& After)
    {
        Settle();
        const bool caretHidden = HideCaret(screen) != FALSE;
        const TPicture shown = PictureOf(Window, Frame);
        RedrawWindow(Window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | (Frame ? RDW_FRAME : 0));
        const TPicture fresh = PictureOf(Window, Frame);
        if (caretHidden) ShowCaret(screen);
        EXPECT_EQ(Difference(shown, fresh), "") << After;
    }

    int ScrollPosition() const { return GetScrollPos(screen, SB_VERT); }

    // The menu command of Item, as a click on it sends it.
    void Command(TMenuItem* Item) { SendMessageA(Form1->Handle(), WM_COMMAND, Item->Command(), 0); }

    // View -> Line Numbers: the gutter shows.
    HWND ShowGutter()
    {
        Command(Form1->miLineNumbers);
        EXPECT_TRUE(Form1->PanelLine->Showing());
        return Form1->PanelLine->Handle();
    }

    // Until the line has been quiet for longer than the display tick's interval: the next line
    // is pasted at once.
    static void WaitForQuietLine()
    {
        ASSERT_TRUE(WaitUntil([] { return GetTickCount() - Form1->Receive.LastReadAt > 120; }));
    }

    // Wheel notches over the screen: up for positive Notches.
    void Wheel(int Notches)
    {
        RECT r{};
        GetWindowRect(screen, &r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (int i = 0; i < std::abs(Notches); ++i)
            SendMessageA(screen, WM_MOUSEWHEEL,
                         MAKEWPARAM(0, Notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA), at);
    }

    // A click on the vertical scroll bar's up or down arrow: the press starts the bar's own
    // tracking, the release waiting in the queue ends it.
    void ClickArrow(bool Up)
    {
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        ASSERT_TRUE(GetScrollBarInfo(screen, OBJID_VSCROLL, &bar));
        const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
        const int arrow = GetSystemMetrics(SM_CYVSCROLL);
        const int y = Up ? bar.rcScrollBar.top + arrow / 2 : bar.rcScrollBar.bottom - arrow / 2;
        POINT client{x, y};
        ScreenToClient(screen, &client);
        PostMessageA(screen, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        SendMessageA(screen, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, y));
    }

    HWND screen = nullptr;
};

// ---- scrolling --------------------------------------------------------------------------------

// What the device sends: in ASCII/Text mode text lines, in the byte modes random bytes; enough
// to fill the screen, or (Limit) to reach the line limit several times over.
std::string Traffic(int Mode, bool Limit)
{
    std::string bytes;
    if (Mode == 0) {
        for (int i = 1; i <= (Limit ? 400 : 60); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "L%07d ", i);
            bytes += number;
            bytes += "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789\r\n";
        }
        return bytes;
    }
    std::mt19937 random(Limit ? 59 : 5);
    for (int i = 0; i < (Limit ? 12000 : Mode == 1 ? 2500 : 1200); ++i)
        bytes += static_cast<char>(random() & 0xFF);
    return bytes;
}

class ScreenScrollTest : public RealDisplayTest,
                         public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(ScreenScrollTest, AfterWheelNotchesAndArrowClicksTheScreenShowsWhatAFreshDrawingShows)
{
    const auto [mode, limit] = GetParam();
    const int lineLimit = limit ? 100 : 200;
    if (!StartOnDisplay(mode, lineLimit)) GTEST_SKIP() << "not on a real display";
    ASSERT_NO_FATAL_FAILURE(Receive(Traffic(mode, limit)));
    if (limit) {
        ASSERT_EQ(qv::test::PendingLineBreaks(), static_cast<size_t>(lineLimit - 1));
    } else {
        ASSERT_LT(qv::test::PendingLineBreaks(), static_cast<size_t>(lineLimit - 1));
    }
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(screen, SB_VERT, &range);
    ASSERT_GT(range.nMax - range.nMin + 1, static_cast<int>(range.nPage)) << "the screen is full";
    ExpectDrawnAsAfresh(screen, false, "after the load");

    int position = ScrollPosition();
    Wheel(1);
    Settle();
    ASSERT_LT(ScrollPosition(), position);
    ExpectDrawnAsAfresh(screen, false, "after a wheel notch up");

    position = ScrollPosition();
    Wheel(3);
    Settle();
    ASSERT_LT(ScrollPosition(), position);
    ExpectDrawnAsAfresh(screen, false, "after three more notches up");

    for (bool up : {false, false, true}) {
        position = ScrollPosition();
        ASSERT_NO_FATAL_FAILURE(ClickArrow(up));
        Settle();
        ASSERT_NE(ScrollPosition(), position);
        ExpectDrawnAsAfresh(screen, false,
                            up ? "after a click on the up arrow"
                               : "after a click on the down arrow");
    }

    Wheel(-2);
    ExpectDrawnAsAfresh(screen, false, "after two notches down");
}

std::string ScrollCaseName(const ::testing::TestParamInfo<std::tuple<int, bool>>& Info)
{
    static const char* const modes[] = {"Text", "Mixed", "Hex"};
    return std::string(modes[std::get<0>(Info.param)]) +
           (std::get<1>(Info.param) ? "AtTheLineLimit" : "WithTheScreenFull");
}

INSTANTIATE_TEST_SUITE_P(ModesAndFills, ScreenScrollTest,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()),
                         ScrollCaseName);

// ---- windows in front ------------------------------------------------------------------------

using namespace std::chrono_literals;

// A click of the X server's own input (xdotool) at a point of the screen, which the window
// manager sees as the user's; returns when the server has it.
void XClick(POINT At)
{
    static int calls = 0;
    char marker[MAX_PATH];
    GetTempPathA(MAX_PATH, marker);
    lstrcatA(marker,
             ("qv-xclick-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++calls))
                 .c_str());
    char unixMarker[MAX_PATH * 2] = "";
    // Wine gives the Unix name of a file it can see; xdotool is started as a Unix program.
    HANDLE h = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    ASSERT_NE(toUnix, nullptr);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, marker, -1, wide, MAX_PATH);
    char* name = toUnix(wide);
    ASSERT_NE(name, nullptr);
    lstrcpynA(unixMarker, name, sizeof unixMarker);
    HeapFree(GetProcessHeap(), 0, name);
    std::string command = "/bin/sh -c \"xdotool mousemove " + std::to_string(At.x) + " " +
                          std::to_string(At.y) + " click 1 && rm -f '" + unixMarker + "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    ASSERT_TRUE(qv::test::WaitUntil(
        [&] { return GetFileAttributesA(marker) == INVALID_FILE_ATTRIBUTES; }, 10s));
}

// Whether the window's client area is what the screen shows at its place: nothing covers it.
bool InFront(HWND Window)
{
    RedrawWindow(Window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r{};
    GetClientRect(Window, &r);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right, r.bottom, screenDc, origin.x, origin.y, SRCCOPY);
    const TPicture seen = PictureOf(memory, r.right, r.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    const TPicture drawn = PictureOf(Window, false);
    // A blinking caret may differ in a few rows; a window in front differs in almost all.
    int rows = 0;
    for (int y = 0; y < drawn.height; ++y)
        rows += !std::equal(drawn.pixels.begin() + y * drawn.width,
                            drawn.pixels.begin() + (y + 1) * drawn.width,
                            seen.pixels.begin() + y * seen.width);
    return rows * 4 < drawn.height;
}

// Whether Window is in front once the window manager has acted on a click: it is not covered
// within a second, or whatever covered it went again (a window of a test beside this one, shown
// for a moment before it took its place).
bool StaysInFront(HWND Window)
{
    if (!qv::test::WaitUntil([&] { return !InFront(Window); }, 1s)) return true;
    return qv::test::WaitUntil([&] { return InFront(Window); }, 2s);
}

// The suite's tests run side by side on one display, the others' windows in its upper part: these
// look at which window is in front, each in its own place below them (the Find window stands out
// to the right of its main window's middle).
void MoveApart(int Place)
{
    Form1->SetBounds(20 + Place * 630, 600, 600, 400);
    RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A point of Window's client area on the screen, outside Other.
POINT ClickPoint(HWND Window, POINT Client, HWND Other)
{
    ClientToScreen(Window, &Client);
    RECT other{};
    GetWindowRect(Other, &other);
    EXPECT_FALSE(PtInRect(&other, Client));
    return Client;
}

// The modal dialog of Special Send File, owned by the main window, stays above it when the user
// clicks the main window, which takes no input meanwhile. Unowned, the dialog went behind the
// main window, which then ignored every click.
TEST_F(RealDisplayTest, AClickOnTheMainWindowLeavesTheModalDialogAboveItAndTheMainWindowDead)
{
    if (!StartOnDisplay(0, 100)) GTEST_SKIP() << "not on a real display";
    MoveApart(1);
    Application->CreateForm(AdvSendFile_dlg);
    AdvSendFile_dlg->SetBounds(Form1->Left() + 100, Form1->Top() + 100, AdvSendFile_dlg->Width(),
                               AdvSendFile_dlg->Height());
    const HWND dialog = AdvSendFile_dlg->Handle();
    std::atomic<bool> shown{false}, staysInFront{false}, mainEnabled{true}, done{false};
    // The dialog's modal loop runs on this thread: the user acts from another.
    std::thread user([&] {
        if (qv::test::WaitUntil([&] { return AdvSendFile_dlg->Modal() && InFront(dialog); }, 30s)) {
            shown = true;
            XClick(ClickPoint(Form1->Handle(), {10, 10}, dialog));
            staysInFront = StaysInFront(dialog);
            mainEnabled = IsWindowEnabled(Form1->Handle()) != 0;
        }
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        done = true;
    });
    PostMessageA(Form1->Handle(), WM_COMMAND, Form1->miSpxSendFileBinary->Command(), 0);
    qv::test::WaitUntil([&] { return done && !AdvSendFile_dlg->Visible(); }, 60s);
    user.join();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(staysInFront);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
}

// The Find window, owned by the main window, stays above it when the user clicks into the
// receive screen, and Find brings it to the front. Owned by a hidden window of its own, it went
// behind the main window and Find left it there.
TEST_F(RealDisplayTest, TheFindWindowStaysAboveTheMainWindowAndFindBringsItToTheFront)
{
    if (!StartOnDisplay(0, 100)) GTEST_SKIP() << "not on a real display";
    MoveApart(0);
    // The platform's dialog; the script is back once it is up (it is modeless).
    SetDialogService(nullptr);
    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->Find1->Command(), 0);
    HWND find = nullptr;
    const bool shown = qv::test::WaitUntil([&] {
        find = qv::test::ShownDialog(GetCurrentThreadId());
        return find && InFront(find);
    });
    SetDialogService(&script);
    ASSERT_TRUE(shown);
    XClick(ClickPoint(screen, {20, 20}, find));
    EXPECT_TRUE(StaysInFront(find));
    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->Find1->Command(), 0);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return InFront(find); }, 2s));
}

// ---- the scroll bar ---------------------------------------------------------------------------

// Lines that each come after a quiet spell are pasted at once; a burst is loaded by the display
// tick. Either way the scroll bar is drawn as soon as the text is taller than the screen.
TEST_F(RealDisplayTest, TheScrollBarIsDrawnOnceTheTextIsTallerThanTheScreenPastedOrLoaded)
{
    if (!StartOnDisplay(0, 200)) GTEST_SKIP() << "not on a real display";
    auto taller = [&] {
        SCROLLINFO range{};
        range.cbSize = sizeof range;
        range.fMask = SIF_RANGE | SIF_PAGE;
        return (GetWindowLongA(screen, GWL_STYLE) & WS_VSCROLL) &&
               GetScrollInfo(screen, SB_VERT, &range) &&
               range.nMax - range.nMin + 1 > static_cast<int>(range.nPage);
    };
    for (int i = 0; i < 60 && !taller(); ++i) {
        // The line quiet for more than the display tick's interval, then a line: the receive
        // path pastes it at once.
        ASSERT_NO_FATAL_FAILURE(WaitForQuietLine());
        ASSERT_NO_FATAL_FAILURE(Receive("pasted " + std::to_string(i) + "\r\n"));
    }
    ASSERT_TRUE(taller());
    ExpectDrawnAsAfresh(screen, true, "after the pasted line that made the text taller");
    // Each line more shortens the thumb.
    for (int i = 0; i < 3; ++i) {
        ASSERT_NO_FATAL_FAILURE(WaitForQuietLine());
        ASSERT_NO_FATAL_FAILURE(Receive("pasted after " + std::to_string(i) + "\r\n"));
    }
    ExpectDrawnAsAfresh(screen, true, "after pasted lines that moved the scroll bar's thumb");

    Form1->Clear_spbtnClick(Form1->Clear_spbtn);
    Settle();
    ASSERT_FALSE(taller());
    ASSERT_NO_FATAL_FAILURE(Receive(Traffic(0, false)));
    ASSERT_TRUE(taller());
    ExpectDrawnAsAfresh(screen, true, "after a load that made the text taller");
}

// ---- the gutter -------------------------------------------------------------------------------

// The gutter as it should be: beside each of the screen's first visible lines, at that line's
// height, its number, on the panel's colour; compared over those lines.
TEST_F(RealDisplayTest, TheGuttersNumbersStandBesideTheirLinesAfterALoadAndAfterScrolls)
{
    // Below the line limit: the burst is loaded whole, with no shortening after it.
    if (!StartOnDisplay(0, 200)) GTEST_SKIP() << "not on a real display";
    SendMessageA(Form1->Handle(), WM_COMMAND, Form1->miLineNumbers->Command(), 0);
    ASSERT_TRUE(Form1->PanelLine->Showing());
    HWND gutter = Form1->PanelLine->Handle();

    auto expectNumbersBesideLines = [&](const std::string& After) {
        Settle();
        const TPicture shown = PictureOf(gutter, false);
        TBitmap expected;
        expected.SetSize(shown.width, shown.height);
        TCanvas* c = expected.Canvas();
        c->Brush()->SetColor(Form1->PanelLine->Color());
        c->FillRect(Rect(0, 0, shown.width, shown.height));
        c->Font()->Assign(Form1->reScreen->Font());
        c->Font()->SetColor(clBlack);
        // The screen's lines stand in its text area, below its border and the text area's
        // margin; the gutter beside it starts at the screen's own top.
        POINT origin{0, 0};
        ClientToScreen(screen, &origin);
        RECT window{}, text{};
        GetWindowRect(screen, &window);
        SendMessageA(screen, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        const int border = origin.y - window.top - text.top;
        const int h = ScreenLineHeight(screen, c->TextHeight("1"));
        const int first = static_cast<int>(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
        const int blanks = c->TextWidth("    ");
        constexpr int rows = 4;
        for (int i = 0; i < rows; ++i) {
            const int start = static_cast<int>(SendMessageA(screen, EM_LINEINDEX, first + i, 0));
            const int y = ScreenCharTop(screen, start) + border;
            const String number = IntToStr(first + i + 1);
            c->TextRect(Rect(2, y, 2 + std::max(blanks, c->TextWidth(number)), y + h), 2, y,
                        number);
        }
        const int top =
            ScreenCharTop(screen,
                          static_cast<int>(SendMessageA(screen, EM_LINEINDEX, first + rows, 0))) +
            border;
        EXPECT_EQ(Difference(shown, PictureOf(c->Handle(), shown.width, shown.height), top), "")
            << After << " (first visible line " << first + 1 << ")";
    };

    ASSERT_NO_FATAL_FAILURE(Receive(Traffic(0, false)));
    ASSERT_GT(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    expectNumbersBesideLines("after a load");
    Wheel(1);
    expectNumbersBesideLines("after a wheel notch up");
    ASSERT_NO_FATAL_FAILURE(ClickArrow(true));
    expectNumbersBesideLines("after a click on the up arrow");
    Wheel(-1);
    expectNumbersBesideLines("after a wheel notch down");
}

// Each of the gutter's repaints draws all of it: numbers of an earlier view (a scroll at the end
// of the text moves the numbers by part of a line) or of an earlier session stay nowhere.
TEST_F(RealDisplayTest, TheGutterKeepsNoNumbersOfAnEarlierViewAfterArrowClicksAtTheEndOfTheText)
{
    if (!StartOnDisplay(0, 200)) GTEST_SKIP() << "not on a real display";
    HWND gutter = ShowGutter();
    ASSERT_NO_FATAL_FAILURE(Receive(Traffic(0, false)));
    ExpectDrawnAsAfresh(gutter, false, "after the load");
    for (int click = 1; click <= 3; ++click) {
        const int position = ScrollPosition();
        ASSERT_NO_FATAL_FAILURE(ClickArrow(true));
        Settle();
        ASSERT_LT(ScrollPosition(), position);
        ExpectDrawnAsAfresh(gutter, false, "after up-arrow click " + std::to_string(click));
    }
}

TEST_F(RealDisplayTest, TheGutterShowsOnlyTheNewNumbersAfterNewSessionAndAfterAModeChange)
{
    if (!StartOnDisplay(0, 200)) GTEST_SKIP() << "not on a real display";
    HWND gutter = ShowGutter();
    // Fewer than ten lines: the gutter keeps its width, and nothing else draws it anew.
    const std::string lines = "first\r\nsecond\r\nthird\r\n";
    ASSERT_NO_FATAL_FAILURE(Receive(lines));
    ExpectDrawnAsAfresh(gutter, false, "after the lines");
    Command(Form1->FileNew);
    ExpectDrawnAsAfresh(gutter, false, "after New Session");
    ASSERT_NO_FATAL_FAILURE(Receive("one more\r\n"));
    ExpectDrawnAsAfresh(gutter, false, "after a line of the new session");

    ASSERT_NO_FATAL_FAILURE(Receive(lines));
    script.Answer(mrYes);
    Command(Form1->mi_HexMode);
    ASSERT_EQ(script.Shown().size(), 1u) << "the mode change asked";
    ASSERT_EQ(Form1->reScreen->Text(), "");
    ExpectDrawnAsAfresh(gutter, false, "after the change to Hexadecimal answered Yes");
}

// Lines pasted one by one: the one that takes the gutter to two digits moves the screen aside
// while its drawing is held for the paste, and the lines already shown were left where the
// screen had stood, their first letters under the wider gutter.
TEST_F(RealDisplayTest, TheScreenIsDrawnAnewWhenAPastedLineWidensTheGutter)
{
    if (!StartOnDisplay(0, 200)) GTEST_SKIP() << "not on a real display";
    ShowGutter();
    const LONG oneDigit = Form1->PanelLine->Width();
    for (int i = 1; i <= 8; ++i) {
        ASSERT_NO_FATAL_FAILURE(WaitForQuietLine());
        ASSERT_NO_FATAL_FAILURE(Receive("line " + std::to_string(i) + "\r\n"));
    }
    ASSERT_GT(Form1->PanelLine->Width(), oneDigit) << "the gutter took a second digit";
    ExpectDrawnAsAfresh(screen, true, "after the line that widened the gutter");
}

// Lines fitted to a screen beside a one-digit gutter; then a burst of long lines: the gutter
// takes three digits, the screen narrows by two. The lines that come after fit the narrower
// screen, and the newest line is in view although the long ones formatted before (as wide as
// the screen was) now need the horizontal scroll bar, which took room at the screen's bottom.
TEST_F(RealDisplayTest, WhenTheGutterWidensTheColumnsFitTheScreenAgainAndTheNewestLineStaysInView)
{
    if (!StartOnDisplay(0, 100)) GTEST_SKIP() << "not on a real display";
    ShowGutter();
    const std::uint32_t oneDigit = Display.CharsPerLine;
    std::string lines;
    for (int i = 1; i <= 60; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "W%03d ", i);
        lines += number + std::string(150, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    ASSERT_NO_FATAL_FAILURE(Receive(lines + "W061 partial"));
    ASSERT_EQ(Form1->reScreen->Lines()->Count(), 100) << "the screen holds three-digit lines";

    const std::uint32_t threeDigits = Display.CharsPerLine;
    EXPECT_LT(threeDigits, oneDigit);
    Form1->AdjustColumns();
    EXPECT_EQ(Display.CharsPerLine, threeDigits) << "the columns fit the screen beside the gutter";

    Settle();
    const int h = ScreenLineHeight(screen, 1);
    EXPECT_GE(ScreenRoomBelowLastLine(screen, h), 0) << "the line being received is in view";
    ExpectDrawnAsAfresh(screen, true, "after the load");
}

// The cut that makes the text fit the screen removes the scroll bar: what the bar covered is
// drawn as the screen, with no edge of the bar left.
TEST_F(RealDisplayTest, TheScrollBarLeavesNoEdgesWhenACutAtTheLineLimitRemovesIt)
{
    if (!StartOnDisplay(0, 99)) GTEST_SKIP() << "not on a real display";
    std::string lines;
    for (int i = 1; i <= 40; ++i) lines += "short " + std::to_string(i) + "\r\n";
    ASSERT_NO_FATAL_FAILURE(Receive(lines));
    ASSERT_TRUE(GetWindowLongA(screen, GWL_STYLE) & WS_VSCROLL) << "the text is taller";
    ExpectDrawnAsAfresh(screen, true, "with the scroll bar");

    Settings.Lines = 20;
    ASSERT_NO_FATAL_FAILURE(WaitForQuietLine());
    ASSERT_NO_FATAL_FAILURE(Receive("one more\r\n"));
    ASSERT_EQ(SendMessageA(screen, EM_GETLINECOUNT, 0, 0), 20);
    ASSERT_FALSE(GetWindowLongA(screen, GWL_STYLE) & WS_VSCROLL) << "the cut removed the bar";
    ExpectDrawnAsAfresh(screen, true, "after the cut that removed the scroll bar");
}

TEST_F(RealDisplayTest, TheInspectorDescribesTheCaretAfterAFontChange)
{
    if (!StartOnDisplay(1, 100)) GTEST_SKIP() << "not on a real display";
    ASSERT_NO_FATAL_FAILURE(Receive("ABC\r\nDEF\r\nGHI"));
    // A click below the text puts the caret at its end.
    RECT client{};
    GetClientRect(screen, &client);
    const LPARAM below = MAKELPARAM(client.right / 2, client.bottom - 10);
    SendMessageA(screen, WM_LBUTTONDOWN, MK_LBUTTON, below);
    SendMessageA(screen, WM_LBUTTONUP, 0, below);
    ASSERT_EQ(Display.CaretInfoText, "Ln: 5, Col: 4, Sel: 0");

    script.AnswerDialog([](TCommonDialog&) { return true; });
    Command(Form1->EditFont);
    ASSERT_EQ(script.Shown().size(), 1u) << "the font dialog came up";
    EXPECT_EQ(Display.CaretInfoText, "Ln: 5, Col: 4, Sel: 0");
}

// ---- the notes editor --------------------------------------------------------------------------

// Input as the user gives it, through the display's own input queue.
void SendInputs(std::vector<INPUT> Inputs)
{
    SendInput(static_cast<UINT>(Inputs.size()), Inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD Key, bool Up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void PressKey(WORD Key) { SendInputs({KeyInput(Key, false), KeyInput(Key, true)}); }

// A double click of the left button at a point of the screen.
void DoubleClickAt(POINT At)
{
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(At.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(At.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT down = move, up = move;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInputs({move, down, up, down, up});
}

class NotesOnDisplayTest : public qv::test::MainWindowHarness {
protected:
    // The notes editor shown over the main window, with no notes file yet, and focused (false:
    // no real display).
    bool ShowNotes()
    {
        if (!OnRealDisplay()) return false;
        StartDisconnected();
        Application->CreateForm(ReadmeForm);
        Form1->Readme_sbtnClick(Form1->Readme_sbtn);
        notes = ReadmeForm->RichEdit_readme;
        SetForegroundWindow(ReadmeForm->Handle());
        notes->SetFocus();
        return true;
    }
    static bool NotesInFront()
    {
        return WaitUntil([] { return GetForegroundWindow() == ReadmeForm->Handle(); });
    }
    TQvRichEdit* notes = nullptr;
};

// Wine's word selection of a double click on the last word used to leave the selection past the
// end of the text; the edit that followed (its link detection) ended the program.
TEST_F(NotesOnDisplayTest, EditingADoubleClickedLastWordKeepsTheProgramAndEditsTheWord)
{
    if (!ShowNotes()) GTEST_SKIP() << "not on a real display";
    ASSERT_TRUE(NotesInFront());
    ASSERT_TRUE(notes->AutoURLDetect());
    // A first word of another length each time: the double clicks are far enough apart not to
    // make a triple click.
    const std::pair<WORD, std::string> cases[] = {
        {WORD(VK_DELETE), "hello"}, {WORD(VK_BACK), "hi"}, {WORD('Q'), "goodbye"}};
    for (const auto& [key, first] : cases) {
        notes->SetText("");
        for (char c : first + " world")
            PressKey(static_cast<WORD>(c == ' ' ? VK_SPACE : std::toupper(c)));
        ASSERT_TRUE(WaitUntil([&] { return notes->Text() == first + " world"; })) << notes->Text();
        const int start = static_cast<int>(first.size()) + 1;
        const TPoint p = notes->GetCharPos(start + 2);
        POINT at{p.x + 2, p.y + 4};
        ClientToScreen(notes->Handle(), &at);
        DoubleClickAt(at);
        ASSERT_TRUE(WaitUntil([&] { return notes->SelLength() > 0; }));
        EXPECT_EQ(notes->SelText(), "world");
        EXPECT_EQ(notes->SelStart(), start);
        PressKey(key);
        const std::string expected = first + (key == 'Q' ? " q" : " ");
        EXPECT_TRUE(WaitUntil([&] { return notes->Text() == expected; }))
            << notes->Text() << " after key " << key;
    }
}

}  // namespace
}  // namespace realdisplay_test
