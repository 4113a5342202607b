// The lamps under Wine, by their real pixels: every cell of the shared bitmap, the disabled
// look, the see-through corners, the caption layout for each alignment, the state events, and
// the shared bitmap's life with the lamps.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/GuiTestSupport.h"
#include "controls/LED.h"
#include "framework/gui/Form.h"

namespace {

constexpr TColor ParentColour = 0x1E140A;  // RGB(10, 20, 30): in no lamp cell
constexpr COLORREF ParentRgb = RGB(10, 20, 30);
constexpr COLORREF FillColour = RGB(255, 0, 255);  // what the bitmap held before painting
constexpr COLORREF GreyRgb = RGB(128, 128, 128), BlackRgb = RGB(0, 0, 0),
                   WhiteRgb = RGB(255, 255, 255);

// A 32-bit bitmap in a memory DC, filled with FillColour, that a control paints itself into.
class TPaintTarget {
public:
    TPaintTarget(int w, int h) : w_(w), h_(h)
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
        RECT r{0, 0, w, h};
        HBRUSH b = CreateSolidBrush(FillColour);
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    ~TPaintTarget()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC DC() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Bounding box of the pixels outside Skip that are neither FillColour nor Background.
    TRect InkBox(COLORREF Background, const TRect& Skip) const
    {
        TRect box{w_, h_, -1, -1};
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (x >= Skip.Left && x < Skip.Right && y >= Skip.Top && y < Skip.Bottom) continue;
                const COLORREF c = At(x, y);
                if (c == FillColour || c == Background) continue;
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
        return box;
    }
    bool Contains(COLORREF colour) const
    {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (At(x, y) == colour) return true;
        return false;
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

std::unique_ptr<TPaintTarget> PaintOf(TGraphicControl* c)
{
    auto target = std::make_unique<TPaintTarget>(c->Width(), c->Height());
    c->PaintOn(target->DC());
    return target;
}

// Counts what the lamp does, for the cases where "nothing happened" is the point.
class TCountingLED : public TLED {
public:
    using TLED::TLED;
    int Paints = 0;
    int Events = 0;
    void Changed(TObject*) { ++Events; }

protected:
    void PaintLED() override
    {
        ++Paints;
        TLED::PaintLED();
    }
};

class LEDTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(ParentColour);
        form->Show();
        PumpPending();
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
    }
    template <class T>
    T* Place(int x, int y)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetLeft(x);
        c->SetTop(y);
        return c;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(LEDTest, EveryColourRowAndStateDrawsItsCellOnTheParentsColour)
{
    auto* led = Place<TLED>(10, 10);
    struct Case {
        TLEDColor colour;
        bool lit;
        COLORREF body;
    };
    const Case cases[] = {
        {lcRed, false, RGB(128, 0, 0)},      {lcRed, true, RGB(255, 0, 0)},
        {lcGreen, false, RGB(0, 128, 0)},    {lcGreen, true, RGB(0, 255, 0)},
        {lcYellow, false, RGB(128, 128, 0)}, {lcYellow, true, RGB(255, 255, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour " << c.colour << " lit " << c.lit);
        led->SetColor(c.colour);
        led->SetState(c.lit);
        auto p = PaintOf(led);
        EXPECT_EQ(p->At(6, 6), c.body);
        EXPECT_EQ(p->At(4, 3), WhiteRgb);   // highlight
        EXPECT_EQ(p->At(0, 6), GreyRgb);    // rim, upper left
        EXPECT_EQ(p->At(11, 6), BlackRgb);  // rim, lower right
        EXPECT_EQ(p->At(0, 0), ParentRgb);  // the teal corner shows the parent's colour
        EXPECT_EQ(p->At(0, 12), ParentRgb);
    }
}

TEST_F(LEDTest, DisabledLampShowsOnlyTheRimWhateverItsStateAndEnablingFiresTheEvent)
{
    auto* led = Place<TCountingLED>(10, 10);
    led->OnChangeState = Closure(led, &TCountingLED::Changed);
    led->SetColor(lcGreen);
    led->SetState(true);
    led->Events = 0;

    led->SetEnabled(false);
    EXPECT_EQ(led->Events, 1);
    auto p = PaintOf(led);
    EXPECT_EQ(p->At(6, 6), ParentRgb);
    EXPECT_EQ(p->At(4, 3), ParentRgb);
    EXPECT_EQ(p->At(0, 6), GreyRgb);
    EXPECT_EQ(p->At(11, 6), BlackRgb);
    EXPECT_TRUE(led->Lit());

    led->SetEnabled(true);
    EXPECT_EQ(led->Events, 2);
    EXPECT_EQ(PaintOf(led)->At(6, 6), RGB(0, 255, 0));
}

TEST_F(LEDTest, OnlyRealChangesDrawAndFireOnChangeState)
{
    auto* led = Place<TCountingLED>(10, 10);
    led->OnChangeState = Closure(led, &TCountingLED::Changed);
    led->SetState(false);
    led->SetColor(lcRed);
    EXPECT_EQ(led->Paints, 0);
    EXPECT_EQ(led->Events, 0);

    led->SetState(true);
    EXPECT_EQ(led->Paints, 1);
    EXPECT_EQ(led->Events, 1);
    led->SetState(true);
    EXPECT_EQ(led->Paints, 1);
    EXPECT_EQ(led->Events, 1);

    led->ChangeState();
    EXPECT_FALSE(led->Lit());
    std::vector<TLEDColor> seen;
    for (int i = 0; i < 3; ++i) {
        led->ChangeColor();
        seen.push_back(led->Color());
    }
    EXPECT_EQ(seen, (std::vector<TLEDColor>{lcGreen, lcYellow, lcRed}));
    EXPECT_EQ(led->Paints, 5);
    EXPECT_EQ(led->Events, 5);
}

TEST_F(LEDTest, ALampWithNowhereToDrawStillChangesAndTells)
{
    TCountingLED loose(nullptr);  // on no window
    loose.OnChangeState = Closure(&loose, &TCountingLED::Changed);
    loose.SetState(true);
    loose.ChangeColor();
    EXPECT_TRUE(loose.Lit());
    EXPECT_EQ(loose.Color(), lcGreen);
    EXPECT_EQ(loose.Paints, 0);
    EXPECT_EQ(loose.Events, 2);

    auto* hidden = Place<TCountingLED>(10, 10);
    hidden->OnChangeState = Closure(hidden, &TCountingLED::Changed);
    hidden->Hide();
    hidden->SetState(true);
    EXPECT_EQ(hidden->Paints, 0);
    EXPECT_EQ(hidden->Events, 1);
}

TEST_F(LEDTest, ALitChangeIsOnTheWindowBeforeAnyPaintMessage)
{
    auto* led = Place<TLED>(20, 30);
    led->SetColor(lcGreen);
    PumpPending();
    HDC dc = GetDC(form->Handle());
    const COLORREF before = GetPixel(dc, 20 + 6, 30 + 6);
    led->SetState(true);  // no messages handled in between
    const COLORREF after = GetPixel(dc, 20 + 6, 30 + 6);
    ReleaseDC(form->Handle(), dc);
    EXPECT_EQ(before, RGB(0, 128, 0));
    EXPECT_EQ(after, RGB(0, 255, 0));
}

TEST_F(LEDTest, APlainLampIsAlwaysOneCellAndALabelKeepsItsSize)
{
    auto* led = Place<TLED>(0, 0);
    led->SetBounds(5, 5, 40, 40);
    EXPECT_EQ(led->Width(), 12);
    EXPECT_EQ(led->Height(), 13);
    auto* label = Place<TLEDLabel>(0, 0);
    EXPECT_EQ(label->Width(), 97);
    EXPECT_EQ(label->Height(), 17);
    EXPECT_EQ(label->Alignment(), caRight);
    label->SetBounds(5, 50, 40, 32);
    EXPECT_EQ(label->Width(), 40);
    EXPECT_EQ(label->Height(), 32);
}

TEST_F(LEDTest, LabelLayoutFollowsTheTableForEveryAlignment)
{
    auto* label = Place<TLEDLabel>(0, 0);
    label->SetBounds(0, 0, 40, 32);
    struct Case {
        TCaptionAlignment a;
        TRect lamp, caption;
    };
    const Case cases[] = {
        {caLeft, Rect(28, 9, 40, 22), Rect(0, 0, 25, 32)},
        {caRight, Rect(0, 9, 12, 22), Rect(15, 0, 40, 32)},
        {caTop, Rect(14, 19, 26, 32), Rect(0, 0, 40, 16)},
        {caBottom, Rect(14, 0, 26, 13), Rect(0, 16, 40, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.a);
        label->SetAlignment(c.a);
        EXPECT_EQ(label->LampRect(), c.lamp);
        EXPECT_EQ(label->CaptionRect(), c.caption);
        // The lamp is drawn where the table puts it.
        auto p = PaintOf(label);
        EXPECT_EQ(p->At(c.lamp.Left + 6, c.lamp.Top + 6), RGB(128, 0, 0));
        EXPECT_EQ(p->At(c.lamp.Left, c.lamp.Top + 6), GreyRgb);
    }
    // Lower than the lamp: the halving truncates toward zero ((8 - 13) / 2 is -2, not -3).
    label->SetBounds(0, 0, 40, 8);
    label->SetAlignment(caLeft);
    EXPECT_EQ(label->LampRect(), Rect(28, -2, 40, 11));
    label->SetAlignment(caRight);
    EXPECT_EQ(label->LampRect(), Rect(0, -2, 12, 11));
}

TEST_F(LEDTest, CaptionStandsWhereItsAlignmentPutsIt)
{
    auto* label = Place<TLEDLabel>(0, 0);
    label->SetBounds(0, 0, 90, 60);
    label->SetCaption("DTR");
    for (TCaptionAlignment a : {caLeft, caRight, caTop, caBottom}) {
        SCOPED_TRACE(testing::Message() << "alignment " << a);
        label->SetAlignment(a);
        auto p = PaintOf(label);
        const TRect text = p->InkBox(ParentRgb, label->LampRect());
        const TRect cap = label->CaptionRect();
        ASSERT_LT(text.Left, text.Right) << "no caption drawn";
        EXPECT_GE(text.Left, cap.Left);
        EXPECT_LE(text.Right, cap.Right);
        EXPECT_GE(text.Top, cap.Top);
        EXPECT_LE(text.Bottom, cap.Bottom);
        const int midX = (text.Left + text.Right) / 2, capMidX = (cap.Left + cap.Right) / 2;
        const int midY = (text.Top + text.Bottom) / 2, capMidY = (cap.Top + cap.Bottom) / 2;
        switch (a) {
        case caLeft:
        case caRight:
            EXPECT_LE(text.Left - cap.Left, 2);
            EXPECT_NEAR(midY, capMidY, 4);
            break;
        case caTop:
            EXPECT_NEAR(midX, capMidX, 3);
            EXPECT_LE(cap.Bottom - text.Bottom, 5);
            break;
        case caBottom:
            EXPECT_NEAR(midX, capMidX, 3);
            EXPECT_LE(text.Top - cap.Top, 5);
            break;
        }
    }
}

TEST_F(LEDTest, DisabledCaptionIsEmbossed)
{
    auto* label = Place<TLEDLabel>(0, 0);
    label->SetCaption("CTS");
    auto enabled = PaintOf(label);
    EXPECT_FALSE(enabled->Contains(GetSysColor(COLOR_BTNSHADOW)));
    label->SetEnabled(false);
    auto p = PaintOf(label);
    EXPECT_TRUE(p->Contains(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_TRUE(p->Contains(GetSysColor(COLOR_BTNSHADOW)));
    // The disabled cell: no body colour anywhere.
    EXPECT_FALSE(p->Contains(RGB(128, 0, 0)));
}

TEST_F(LEDTest, TransparentLabelLeavesWhatIsBehindIt)
{
    auto* label = Place<TLEDLabel>(0, 0);
    EXPECT_FALSE(label->Transparent());
    // (13, 1) is in neither the lamp (x 0-11) nor the caption (x from 15).
    EXPECT_EQ(PaintOf(label)->At(13, 1), ParentRgb);
    label->SetTransparent(true);
    EXPECT_TRUE(label->Transparent());
    EXPECT_FALSE(label->ControlStyle.Contains(csOpaque));
    auto p = PaintOf(label);
    EXPECT_EQ(p->At(13, 1), FillColour);
    EXPECT_EQ(p->At(0, 2), ParentRgb);  // the lamp's own corner is still brush-copied
    label->SetTransparent(false);
    EXPECT_TRUE(label->ControlStyle.Contains(csOpaque));
}

TEST_F(LEDTest, SharedBitmapGoesWithTheLastLampAndComesBackWithTheNext)
{
    ASSERT_EQ(SharedLEDBitmap(), nullptr);
    auto* a = Place<TLED>(0, 0);
    auto* b = Place<TLEDLabel>(0, 20);
    const TLEDBitmap* shared = SharedLEDBitmap();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->Lamps.Count(), 2);
    EXPECT_EQ(const_cast<TBitmap&>(shared->Bitmap).Width(), 24);
    EXPECT_EQ(const_cast<TBitmap&>(shared->Bitmap).Height(), 52);
    EXPECT_EQ(shared->TransparentColor, static_cast<TColor>(RGB(0, 128, 128)));

    delete a;
    EXPECT_EQ(SharedLEDBitmap(), shared);
    delete b;
    EXPECT_EQ(SharedLEDBitmap(), nullptr);

    auto* c = Place<TLED>(0, 0);
    ASSERT_NE(SharedLEDBitmap(), nullptr);
    c->SetState(true);
    EXPECT_EQ(PaintOf(c)->At(6, 6), RGB(255, 0, 0));
}

}  // namespace
