// Window utilities on test windows: polygon hits, dialog units, centring, a form merged into a
// control, and finding and activating an earlier copy of a program through stand-in windows.
#include <gtest/gtest.h>

#include "framework/gui/Application.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "util/WindowUtils.h"

namespace {

// A top-level window of its own class, hidden until shown; destroyed with the object.
class TDummyWindow {
public:
    TDummyWindow(const char* className, const char* title, HWND owner = nullptr)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        handle = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, owner,
                               nullptr, wc.hInstance, nullptr);
    }
    ~TDummyWindow() { DestroyWindow(handle); }
    HWND handle;
};

}  // namespace

TEST(PointInPolyRgn, InsideTheTriangleOnlyAndFewerThanThreeCornersIsNothing)
{
    const TPoint triangle[] = {{0, 0}, {100, 0}, {0, 100}};
    EXPECT_TRUE(PointInPolyRgn(Point(10, 10), triangle));
    EXPECT_FALSE(PointInPolyRgn(Point(80, 80), triangle));
    EXPECT_FALSE(PointInPolyRgn(Point(0, 0), std::span<const TPoint>(triangle, 2)));
}

TEST(DialogUnits, FourHorizontalUnitsAreOneBaseUnit)
{
    const LONG base = GetDialogBaseUnits();
    EXPECT_EQ(DialogUnitsToPixelsX(4), LOWORD(base));
    EXPECT_EQ(DialogUnitsToPixelsY(8), HIWORD(base));
    EXPECT_EQ(PixelsToDialogUnitsX(LOWORD(base)), 4);
    EXPECT_EQ(PixelsToDialogUnitsY(HIWORD(base)), 8);
}

TEST(Centring, WindowOnTheScreenControlInItsParentNeverBeforeTheOrigin)
{
    TDummyWindow w("QvCentreTest", "centre");
    CenterWindow(w.handle);
    RECT r;
    GetWindowRect(w.handle, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
    EXPECT_EQ(r.right - r.left, 200);

    TForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* inner = new TWinControl(&form);
    inner->SetParent(&form);
    inner->SetBounds(0, 0, 50, 20);
    CenterControl(inner);
    EXPECT_EQ(inner->Left(), 75);
    EXPECT_EQ(inner->Top(), 40);
    inner->SetBounds(0, 0, 400, 20);
    CenterControl(inner);
    EXPECT_EQ(inner->Left(), 0);
}

TEST(MergeForm, MergedFormsAreBorderlessChildrenPlacedOrAlignedAndAnMdiChildCentresInTheFrame)
{
    TForm host(nullptr);
    host.SetClientSize(300, 200);
    host.Show();
    auto* panel = new TPanel(&host);
    panel->SetParent(&host);
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(alClient);
    auto* guest = new TForm(nullptr);  // the panel frees it with itself
    guest->SetBounds(10, 20, 120, 80);
    guest->Show();
    MergeForm(panel, guest, alNone, true);
    const HWND h = guest->Handle();
    EXPECT_EQ(GetParent(h), panel->Handle());
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_CHILD | WS_CAPTION | WS_VISIBLE),
              WS_CHILD | WS_VISIBLE);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(HWND_DESKTOP, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    auto* filler = new TForm(nullptr);
    filler->SetBounds(10, 20, 120, 80);
    MergeForm(panel, filler, alClient, true);  // takes the whole panel instead
    GetWindowRect(filler->Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);

    TForm* frame = nullptr;
    Application->CreateForm(frame);  // the main form
    frame->SetFormStyle(fsMDIForm);
    frame->Show();
    {
        TForm child(nullptr);
        child.SetFormStyle(fsMDIChild);
        child.SetBounds(0, 0, 100, 60);
        child.Show();
        CenterControl(&child);
        EXPECT_EQ(child.Left(), (frame->ClientWidth() - 100) / 2);
        EXPECT_EQ(child.Top(), (frame->ClientHeight() - 60) / 2);
    }
    delete frame;
}

TEST(FindPrevInstance, ByClassOrTitleAndNothingWhenBothAreEmpty)
{
    // A title of its own: the other tests run in parallel on the same desktop.
    TDummyWindow w("QvPrevInstanceTest", "Earlier copy found by its title");
    EXPECT_EQ(FindPrevInstance("QvPrevInstanceTest", ""), w.handle);
    EXPECT_EQ(FindPrevInstance("", "Earlier copy found by its title"), w.handle);
    EXPECT_EQ(FindPrevInstance("", ""), nullptr);
    EXPECT_EQ(WindowClassName(w.handle), "QvPrevInstanceTest");
}

TEST(ActivatePrevInstance, ShowsTheEarlierCopysWindowAndTellsWhenThereIsNone)
{
    EXPECT_FALSE(ActivatePrevInstance("QvNoSuchProgram", ""));
    TDummyWindow w("QvEarlierCopy", "Earlier copy");
    ASSERT_FALSE(IsWindowVisible(w.handle));
    EXPECT_TRUE(ActivatePrevInstance("QvEarlierCopy", ""));
    EXPECT_TRUE(IsWindowVisible(w.handle));
}

TEST(ActivatePrevInstance, RestoresTheMinimisedApplicationWindowThatOwnsTheMainForm)
{
    // A title apart from the next test's: the two run in parallel on one desktop, and that
    // one finds its hidden window by class and title.
    TDummyWindow app("TApplication", "Earlier minimised program");
    TDummyWindow main("QvEarlierMainForm", "Earlier main", app.handle);
    ShowWindow(app.handle, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(app.handle));
    EXPECT_TRUE(ActivatePrevInstance("QvEarlierMainForm", ""));
    EXPECT_FALSE(IsIconic(app.handle));
}

TEST(ActivatePrevInstance, LeavesACopyAloneThatRunsInsideTheDevelopmentEnvironment)
{
    TDummyWindow app("TApplication", "Earlier program");
    TDummyWindow builder("TAppBuilder", "environment");
    EXPECT_FALSE(ActivatePrevInstance("TApplication", "Earlier program"));
    EXPECT_FALSE(IsWindowVisible(app.handle));
}

TEST(ShowMDIClientEdge, AddsAndRemovesTheSunkenEdge)
{
    TDummyWindow w("QvEdgeTest", "edge");
    ShowMDIClientEdge(w.handle, true);
    EXPECT_TRUE(GetWindowLongA(w.handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    ShowMDIClientEdge(w.handle, false);
    EXPECT_FALSE(GetWindowLongA(w.handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}
