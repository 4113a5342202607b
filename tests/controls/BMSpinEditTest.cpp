// The spin edit under Wine, driven as a user drives it: arrow keys and up-down clicks across
// the range ends, typing and leaving the field, the gauge and the pop-up track bar dragged by
// posted mouse messages at computed points, the pop-up closing when the focus leaves, the
// gauge's pixels, and a window made again.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "tests/support/GuiTestSupport.h"
#include "controls/BMSpinEdit.h"
#include "framework/Exceptions.h"
#include "framework/gui/Clipboard.h"
#include "framework/gui/Form.h"
#include "tests/support/DialogScript.h"

namespace {

// A 32-bit bitmap in a memory DC that a window paints itself into (WM_PRINTCLIENT).
class TPrintTarget {
public:
    TPrintTarget(HWND window, int w, int h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~TPrintTarget()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TPoint Centre(const RECT& r) { return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

class BMSpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(100, 100, 400, 300);
        spin = new TBMSpinEdit(form.get());
        spin->SetParent(form.get());
        spin->SetBounds(20, 20, 150, 21);
        spin->OnChange = TNotifyEvent(this, &BMSpinEditTest::Changed);
        spin->OnKeyDown = TKeyEvent(this, &BMSpinEditTest::KeyHeard);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(20, 150, 100, 21);
        form->Show();
        PumpPending();
        changes = 0;
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
    }
    void Changed(TObject*) { ++changes; }
    void KeyHeard(TObject*, WORD& Key, TShiftState) { heard.push_back(Key); }

    static void Post(HWND window, UINT message, WPARAM flags, TPoint at)
    {
        PostMessageA(window, message, flags, MAKELPARAM(at.x, at.y));
        PumpPending();
    }
    void Type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            PostMessageA(spin->Handle(), WM_CHAR, static_cast<unsigned char>(*p), 1);
        PumpPending();
    }
    void PressKey(WORD key) { TypeKey(spin, key); }
    bool WholeTextSelected()
    {
        return spin->SelStart() == 0 && spin->SelLength() == static_cast<int>(spin->Text().size());
    }

    // The pop-up's track bar: the screen point whose thumb centre stands at Fraction of its
    // travel, on the channel's middle line.
    TPoint TrackPoint(double Fraction)
    {
        HWND bar = spin->TrackBar()->Handle();
        RECT channel{}, thumb{};
        SendMessageA(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        POINT p;
        if (spin->TrackBarOrientation() == trVertical) {
            const int length = thumb.bottom - thumb.top;
            const int travel = channel.bottom - channel.top - length;
            p = {Centre(channel).x, channel.top + length / 2 + static_cast<int>(Fraction * travel)};
        } else {
            const int length = thumb.right - thumb.left;
            const int travel = channel.right - channel.left - length;
            p = {channel.left + length / 2 + static_cast<int>(Fraction * travel),
                 Centre(channel).y};
        }
        MapWindowPoints(bar, HWND_DESKTOP, &p, 1);
        return Point(p.x, p.y);
    }
    TPoint PanelPoint(TPoint Screen) { return spin->ButtonPanel()->ScreenToClient(Screen); }
    TPoint DropButtonPoint()
    {
        TSpeedButton* b = spin->DropButton();
        return Point(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
    void PressDropButton()
    {
        Post(spin->ButtonPanel()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, DropButtonPoint());
    }
    void DragDropButtonTo(TPoint Screen)
    {
        Post(spin->ButtonPanel()->Handle(), WM_MOUSEMOVE, MK_LBUTTON, PanelPoint(Screen));
    }
    void ReleaseDropButton(TPoint Screen)
    {
        Post(spin->ButtonPanel()->Handle(), WM_LBUTTONUP, 0, PanelPoint(Screen));
    }

    TDialogScript dialogs;
    std::unique_ptr<TForm> form;
    TBMSpinEdit* spin = nullptr;
    TEdit* other = nullptr;
    int changes = 0;
    std::vector<WORD> heard;
};

TEST_F(BMSpinEditTest, PartsAreLaidOutInsideTheEditAndTheHeightMakesRoomForTheGauge)
{
    EXPECT_EQ(spin->Text(), "0");
    EXPECT_GT(spin->Height(), 21);  // raised to hold the text line and the gauge
    const int raised = spin->Height();
    spin->SetHeight(10);
    EXPECT_EQ(spin->Height(), raised);

    const TRect client = spin->ClientRect();
    TPanel* panel = spin->ButtonPanel();
    EXPECT_EQ(GetParent(panel->Handle()), spin->Handle());
    EXPECT_EQ(GetParent(spin->Gauge()->Handle()), spin->Handle());
    EXPECT_EQ(panel->BoundsRect(), Rect(client.Right - 29, 0, client.Right, client.Bottom - 5));
    EXPECT_EQ(spin->Gauge()->BoundsRect(), Rect(0, client.Bottom - 5, client.Right, client.Bottom));
    EXPECT_EQ(spin->UpDown()->BoundsRect(), Rect(1, 1, 14, panel->Height() - 1));
    EXPECT_EQ(spin->DropButton()->BoundsRect(), Rect(15, 1, 28, panel->Height() - 1));
    const LRESULT margins = SendMessageA(spin->Handle(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(HIWORD(margins), 30);  // typed text stays clear of the buttons

    // The glyph follows the orientation; without the drop button the panel narrows.
    TBitmap* glyph = spin->DropButton()->Glyph();
    ASSERT_EQ(glyph->Width(), 9);
    const TColor down = glyph->Canvas()->Pixel(1, 1);
    spin->SetTrackBarOrientation(trVertical);
    EXPECT_NE(spin->DropButton()->Glyph()->Canvas()->Pixel(1, 1), down);
    spin->SetTrackBarEnabled(false);
    EXPECT_FALSE(spin->DropButton()->Visible());
    EXPECT_EQ(panel->Width(), 15);
    EXPECT_EQ(HIWORD(SendMessageA(spin->Handle(), EM_GETMARGINS, 0, 0)), 16);
    spin->SetGuageHeight(12);
    EXPECT_GE(spin->Height(), raised + 7);
    EXPECT_EQ(spin->Gauge()->Height(), 12);
}

TEST_F(BMSpinEditTest, ValuesAreShownWithTheirPrecisionAndEachChangeIsReportedOnce)
{
    spin->SetValue(3.14159);
    EXPECT_EQ(spin->Text(), "3.14");
    EXPECT_EQ(spin->GetValue(), 3.14);
    EXPECT_EQ(changes, 1);
    spin->SetValue(3.14);  // the value shown: nothing happens
    EXPECT_EQ(changes, 1);
    spin->SetPrecision(0);
    EXPECT_EQ(spin->Text(), "3");
    spin->SetPrecision(9);
    EXPECT_EQ(spin->Precision(), 6);
    EXPECT_EQ(spin->Text(), "3.000000");
    spin->SetPrecision(2);

    // A limit pulls the value in as it is set; equal limits leave it free.
    spin->SetMaxValue(2);
    EXPECT_EQ(spin->Text(), "2.00");
    spin->SetMinValue(2);
    spin->SetValue(-1e6);
    EXPECT_EQ(spin->Text(), "-1000000.00");
    spin->SetMinValue(-5);
    EXPECT_EQ(spin->Text(), "-5.00");
    EXPECT_THROW(spin->SetValue(std::numeric_limits<double>::infinity()), EConvertError);
    EXPECT_EQ(spin->Text(), "-5.00");

    // While the component is being loaded, values are shown but not reported.
    const int before = changes;
    spin->BeginLoading();
    spin->SetValue(1);
    spin->EndLoading();
    EXPECT_EQ(spin->Text(), "1.00");
    EXPECT_EQ(changes, before);
}

TEST_F(BMSpinEditTest, ArrowKeysAndUpDownClicksStepAcrossTheRangeEndsWithAndWithoutLimits)
{
    spin->SetFocus();
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetValue(8);
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "9.00");  // the last step is taken, not skipped
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "10.00");
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "10.00");
    spin->SetValue(1);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "0.00");
    spin->SetValue(0.5);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "0.00");

    // Without limits every step moves by the increment, below zero too.
    spin->SetMaxValue(0);
    spin->SetIncrement(2.5);
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "2.50");
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "-2.50");

    // A click on the up-down's upper arrow: one step up, the field focused with its text
    // selected, and the up-down back in the middle of its own range.
    other->SetFocus();
    const int changesBefore = changes;
    HWND upDown = spin->UpDown()->Handle();
    Post(upDown, WM_LBUTTONDOWN, MK_LBUTTON, Point(6, 3));
    Post(upDown, WM_LBUTTONUP, 0, Point(6, 3));
    EXPECT_EQ(spin->Text(), "0.00");
    EXPECT_EQ(changes, changesBefore + 1);
    EXPECT_TRUE(spin->Focused());
    EXPECT_TRUE(WholeTextSelected());
    EXPECT_EQ(spin->UpDown()->Position(), 50);
    const int bottom = spin->UpDown()->Height() - 3;
    Post(upDown, WM_LBUTTONDOWN, MK_LBUTTON, Point(6, bottom));
    Post(upDown, WM_LBUTTONUP, 0, Point(6, bottom));
    EXPECT_EQ(spin->Text(), "-2.50");
}

TEST_F(BMSpinEditTest, AnArrowKeyStepsOnceThenReachesOnKeyDownConsumedAndTheUpDownTakesArrowsToo)
{
    spin->SetFocus();
    spin->SetValue(3);
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "4.00");
    EXPECT_EQ(heard, std::vector<WORD>{0});

    // An arrow key that reaches the up-down itself steps the value too.
    TypeKey(spin->UpDown(), VK_DOWN);
    EXPECT_EQ(spin->Text(), "3.00");
}

TEST_F(BMSpinEditTest, LeavingTheFieldLimitsWhatWasTypedAndReportsTextThatIsNoNumber)
{
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetFocus();
    EXPECT_TRUE(WholeTextSelected());
    Type("42");
    EXPECT_EQ(spin->Text(), "42");
    other->SetFocus();
    EXPECT_EQ(spin->Text(), "10.00");

    spin->SetFocus();
    Type("-");
    other->SetFocus();
    EXPECT_EQ(spin->Text(), "0");
    EXPECT_TRUE(dialogs.Shown().empty());

    spin->SetFocus();
    Type("1.2.3");
    other->SetFocus();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().Text, "'1.2.3' is not a valid floating point value.");
    EXPECT_EQ(spin->Text(), "1.2.3");
    spin->SetValue(4);  // a value set by the program replaces such text
    EXPECT_EQ(spin->Text(), "4.00");

    // With the editor off nothing can be typed or pasted; the keys still step.
    spin->EditorEnabled = false;
    spin->SetFocus();
    Type("7");
    Clipboard()->SetAsText("9");
    SendMessageA(spin->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin->Text(), "4.00");
    EXPECT_GE(dialogs.Beeps, 1);
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "5.00");
}

TEST_F(BMSpinEditTest, ClickingAndDraggingTheGaugeSetsTheValueAndPaintsTheBar)
{
    spin->SetMinValue(0);
    spin->SetMaxValue(100);
    spin->SetIncrementGauge(10);
    TAGauge* gauge = spin->Gauge();
    HWND strip = gauge->Handle();
    const int travel = gauge->Width() - 2;
    Post(strip, WM_LBUTTONDOWN, MK_LBUTTON, Point(travel / 2, 2));
    EXPECT_EQ(spin->Text(), "50.00");
    EXPECT_EQ(GetCapture(), strip);
    EXPECT_TRUE(spin->Focused());
    Post(strip, WM_MOUSEMOVE, MK_LBUTTON, Point(travel * 3 / 10 + 1, 2));
    EXPECT_EQ(spin->Text(), "30.00");
    Post(strip, WM_MOUSEMOVE, MK_LBUTTON, Point(-20, 2));
    EXPECT_EQ(spin->Text(), "0.00");
    Post(strip, WM_MOUSEMOVE, MK_LBUTTON, Point(gauge->Width() + 50, 2));
    EXPECT_EQ(spin->Text(), "100.00");
    Post(strip, WM_LBUTTONUP, 0, Point(gauge->Width() + 50, 2));
    EXPECT_NE(GetCapture(), strip);
    EXPECT_TRUE(WholeTextSelected());
    Post(strip, WM_MOUSEMOVE, 0, Point(5, 2));
    EXPECT_EQ(spin->Text(), "100.00");

    // The bar: half the range in the colour halfway from blue to red, the rest in the
    // edit's own colour; around a centre it grows from a dark line at the centre.
    spin->SetGuageBeginColor(clBlue);
    spin->SetGuageEndColor(clRed);
    spin->SetColor(clWhite);
    spin->SetValue(50);
    const int w = gauge->Width(), h = gauge->Height();
    {
        TPrintTarget paint(strip, w, h);
        EXPECT_EQ(paint.At(3, h / 2), RGB(127, 0, 128));
        EXPECT_EQ(paint.At(w / 2 - 3, h / 2), RGB(127, 0, 128));
        EXPECT_EQ(paint.At(w / 2 + 3, h / 2), RGB(255, 255, 255));
    }
    spin->SetGaugeAroundCenter(50);
    spin->SetValue(75);
    {
        TPrintTarget paint(strip, w, h);
        const int centre = 1 + travel / 2;
        EXPECT_EQ(paint.At(centre, h / 2), GetSysColor(COLOR_WINDOWFRAME));
        EXPECT_EQ(paint.At(centre - 3, h / 2), RGB(255, 255, 255));
        EXPECT_EQ(paint.At(centre + 3, h / 2), RGB(127, 0, 128));
        EXPECT_EQ(paint.At(w - 3, h / 2), RGB(255, 255, 255));
    }
}

TEST_F(BMSpinEditTest, DraggingThePopupTrackBarSetsTheValueAndReleasingClosesIt)
{
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetIncrementGauge(1);
    spin->SetValue(3);
    TBMPopupForm* popup = spin->PopupForm();
    PressDropButton();
    ASSERT_TRUE(spin->Dropped());
    HWND window = popup->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    // (The platform drops the window edge asked for, as a window without a frame has none.)
    const LONG kept = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & kept, kept);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(spin->Focused());  // the pop-up takes no focus
    EXPECT_TRUE(spin->DropButton()->Down());
    EXPECT_EQ(popup->Width(), 150);

    // Below the button, with the thumb (at 3 of 10) under the mouse.
    const TPoint press = spin->ButtonPanel()->ClientToScreen(DropButtonPoint());
    const TPoint buttonBottom =
        spin->DropButton()->ClientToScreen(Point(0, spin->DropButton()->Height()));
    EXPECT_EQ(popup->Top(), buttonBottom.y);
    RECT thumb{};
    SendMessageA(spin->TrackBar()->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT thumbCentre{Centre(thumb).x, Centre(thumb).y};
    MapWindowPoints(spin->TrackBar()->Handle(), HWND_DESKTOP, &thumbCentre, 1);
    EXPECT_NEAR(thumbCentre.x, press.x, 1);

    for (int k : {0, 7, 10, 5}) {
        DragDropButtonTo(TrackPoint(k / 10.0));
        EXPECT_EQ(spin->GetValue(), k) << k;
        EXPECT_EQ(spin->TrackBar()->Position(), k * 100);
    }
    const TPoint beyond = Point(TrackPoint(1).x + 80, TrackPoint(1).y);
    DragDropButtonTo(beyond);
    EXPECT_EQ(spin->Text(), "10.00");
    ReleaseDropButton(beyond);
    EXPECT_FALSE(spin->Dropped());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(spin->DropButton()->Down());
    EXPECT_NE(GetCapture(), spin->ButtonPanel()->Handle());
    EXPECT_TRUE(WholeTextSelected());

    // Vertical: beside the button, the maximum at the top.
    spin->SetTrackBarOrientation(trVertical);
    spin->SetTrackBarWidth(1000);
    spin->SetValue(2);
    PressDropButton();
    EXPECT_EQ(popup->Height(), 300);
    EXPECT_EQ(popup->Left() + popup->Width(), spin->DropButton()->ClientToScreen(Point(0, 0)).x);
    DragDropButtonTo(TrackPoint(0));
    EXPECT_EQ(spin->GetValue(), 10);
    DragDropButtonTo(TrackPoint(0.8));
    EXPECT_EQ(spin->GetValue(), 2);
    DragDropButtonTo(TrackPoint(1));
    EXPECT_EQ(spin->GetValue(), 0);
    ReleaseDropButton(TrackPoint(1));
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(BMSpinEditTest, ThePopupClosesWhenTheFocusLeavesInTheMiddleOfADrag)
{
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    PressDropButton();
    ASSERT_TRUE(IsWindowVisible(spin->PopupForm()->Handle()));
    other->SetFocus();
    PumpPending();
    EXPECT_FALSE(spin->Dropped());
    EXPECT_FALSE(IsWindowVisible(spin->PopupForm()->Handle()));
    EXPECT_FALSE(spin->DropButton()->Down());
    EXPECT_NE(GetCapture(), spin->ButtonPanel()->Handle());
    // The mouse moving on afterwards changes nothing.
    DragDropButtonTo(TrackPoint(1));
    EXPECT_EQ(spin->Text(), "0");

    // Losing the mouse to another window ends the drag the same way.
    PressDropButton();
    ASSERT_TRUE(spin->Dropped());
    SetCapture(other->Handle());
    PumpPending();
    EXPECT_FALSE(spin->Dropped());
    EXPECT_FALSE(IsWindowVisible(spin->PopupForm()->Handle()));
    ReleaseCapture();
}

TEST_F(BMSpinEditTest, TheControlWorksOnAfterItsWindowIsMadeAgain)
{
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetIncrementGauge(1);
    spin->SetValue(7.5);
    spin->SetFocus();
    spin->RecreateWnd();
    PumpPending();
    EXPECT_EQ(spin->Text(), "7.50");
    EXPECT_EQ(GetParent(spin->ButtonPanel()->Handle()), spin->Handle());
    EXPECT_EQ(GetParent(spin->Gauge()->Handle()), spin->Handle());
    EXPECT_EQ(GetParent(spin->UpDown()->Handle()), spin->ButtonPanel()->Handle());
    EXPECT_EQ(HIWORD(SendMessageA(spin->Handle(), EM_GETMARGINS, 0, 0)), 30);

    spin->SetFocus();
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "8.50");
    HWND upDown = spin->UpDown()->Handle();
    Post(upDown, WM_LBUTTONDOWN, MK_LBUTTON, Point(6, 3));
    Post(upDown, WM_LBUTTONUP, 0, Point(6, 3));
    EXPECT_EQ(spin->Text(), "9.50");
    Post(spin->Gauge()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 2));
    Post(spin->Gauge()->Handle(), WM_LBUTTONUP, 0, Point(0, 2));
    EXPECT_EQ(spin->Text(), "0.00");
    PressDropButton();
    DragDropButtonTo(TrackPoint(0.6));
    ReleaseDropButton(TrackPoint(0.6));
    EXPECT_EQ(spin->Text(), "6.00");
    EXPECT_FALSE(IsWindowVisible(spin->PopupForm()->Handle()));
}

}  // namespace
