// Form styles and placement: stay on top, window state, centring, client size, the MDI
// client among the frame's controls; shortcut texts and fonts.
#include <gtest/gtest.h>

#include "framework/gui/Canvas.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "tests/support/GuiTestSupport.h"

TEST(FormStyle, StayOnTopWindowStateAndClientSizeReachTheWindow)
{
    TForm form(nullptr);
    form.SetFormStyle(fsStayOnTop);
    form.SetClientSize(250, 150);
    form.Show();
    EXPECT_TRUE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetClientRect(form.Handle(), &r);
    EXPECT_EQ(r.right, 250);
    EXPECT_EQ(r.bottom, 150);
    EXPECT_EQ(form.ClientWidth(), 250);
    form.SetWindowState(wsMaximized);
    EXPECT_EQ(form.WindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(form.Handle()));
    form.SetWindowState(wsNormal);
    EXPECT_EQ(form.WindowState(), wsNormal);
    form.SetFormStyle(fsNormal);
    EXPECT_FALSE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(FormStyle, ScreenAndDesktopCentredFormsArePlacedOnTheirFirstShow)
{
    TForm form(nullptr);
    form.Position = poScreenCenter;
    form.SetBounds(0, 0, 200, 100);
    form.Show();
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(form.Left(), area.left + (area.right - area.left - 200) / 2);
    EXPECT_EQ(form.Top(), area.top + (area.bottom - area.top - 100) / 2);
    RECT w;
    GetWindowRect(form.Handle(), &w);
    EXPECT_EQ(w.left, form.Left());

    // The whole desktop's centre, wherever the work area is (this process's setting).
    RECT corner{0, 0, area.right / 2, area.bottom / 3};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &corner, 0);
    TForm desktop(nullptr);
    desktop.Position = poDesktopCenter;
    desktop.SetBounds(0, 0, 200, 100);
    desktop.Show();
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    EXPECT_EQ(desktop.Left(), GetSystemMetrics(SM_XVIRTUALSCREEN) +
                                  (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 200) / 2);
    EXPECT_EQ(desktop.Top(), GetSystemMetrics(SM_YVIRTUALSCREEN) +
                                 (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 100) / 2);
}

TEST(FormStyle, TheMdiClientFillsWhatTheFramesAlignedControlsLeave)
{
    TForm frame(nullptr);
    frame.SetFormStyle(fsMDIForm);
    frame.SetClientSize(400, 300);
    auto* bar = new TPanel(&frame);
    bar->SetParent(&frame);
    bar->SetBounds(0, 0, 100, 40);
    bar->SetAlign(alTop);
    frame.Show();
    const auto clientArea = [&] {
        RECT r;
        GetWindowRect(frame.ClientHandle(), &r);
        MapWindowPoints(HWND_DESKTOP, frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_EQ(clientArea().top, 40);
    EXPECT_EQ(clientArea().bottom, 300);
    frame.SetClientSize(500, 350);  // the platform sizes the client first, on WM_SIZE
    EXPECT_EQ(clientArea().top, 40);
    EXPECT_EQ(clientArea().right, 500);
    EXPECT_EQ(clientArea().bottom, 350);
}

TEST(FormStyle, ShortCutTextsAsMenusShowThem)
{
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F2, {})), "F2");
    EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F10, {ssShift, ssCtrl})), "Shift+Ctrl+F10");
    EXPECT_EQ(ShortCutToText(0), "");
}

TEST(FormStyle, FontSizeAndHeightAreTheSameMeasure)
{
    TFont font;
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -MulDiv(10, TFont::PixelsPerInch(), 72));
    EXPECT_EQ(font.Size(), 10);
    font.SetStyle({fsBold});
    LOGFONTA lf{};
    GetObjectA(font.Handle(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    TFont copy;
    copy.Assign(&font);
    EXPECT_TRUE(copy.Style().Contains(fsBold));
    EXPECT_EQ(copy.Size(), 10);
}

TEST(FormStyle, MenuSeparatorsAndHiddenItemsShapeThePlatformMenu)
{
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = NewMenuItem(&form, menu->Items(), "&File");
    NewMenuItem(&form, file, "&New Session");
    TMenuItem* sep = NewMenuItem(&form, file, "-");
    TMenuItem* exitItem = NewMenuItem(&form, file, "E&xit", nullptr, ShortCut(VK_F10, {}));
    form.SetMenu(menu);
    form.Show();
    HMENU sub = file->Handle();
    ASSERT_EQ(GetMenuItemCount(sub), 3);
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(sub, 1, TRUE, &mi);
    EXPECT_TRUE(mi.fType & MFT_SEPARATOR);
    sep->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(file->Handle()), 2);
    exitItem->SetEnabled(false);
    EXPECT_TRUE(GetMenuState(menu->Handle(), exitItem->Command(), MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
    delete exitItem;  // an item freed leaves its menu
    EXPECT_EQ(GetMenuItemCount(file->Handle()), 1);
}
