// Window utilities on test windows: polygon hits, dialog units, centring, and finding and
// activating an earlier copy of a program through stand-in windows.
#include <gtest/gtest.h>

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

TEST(FindPrevInstance, ByClassOrTitleAndNothingWhenBothAreEmpty)
{
    TDummyWindow w("QvPrevInstanceTest", "Earlier copy");
    EXPECT_EQ(FindPrevInstance("QvPrevInstanceTest", ""), w.handle);
    EXPECT_EQ(FindPrevInstance("", "Earlier copy"), w.handle);
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
    TDummyWindow app("TApplication", "Earlier program");
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
