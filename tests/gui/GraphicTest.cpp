// Graphic controls and the canvas: painted into a bitmap through WM_PRINT and read back by
// pixel (flat buttons' captions among them); the canvas of a graphic control also draws outside
// painting; repainting leaves no GDI object behind; bitmaps and colours.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ProcessCounts.h"

namespace {

// Prints a window's client area (and its children) into a bitmap.
class Snapshot {
public:
    explicit Snapshot(HWND h)
    {
        RECT r;
        GetClientRect(h, &r);
        bitmap_.SetSize(r.right, r.bottom);
        SendMessageA(h, WM_PRINT, reinterpret_cast<WPARAM>(bitmap_.Canvas()->Handle()),
                     PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    }
    COLORREF At(int x, int y) { return GetPixel(bitmap_.Canvas()->Handle(), x, y); }

private:
    TBitmap bitmap_;
};

struct Painter {
    TPaintBox* box = nullptr;
    int paints = 0;
    void Paint(TObject*)
    {
        ++paints;
        box->Canvas()->Brush()->SetColor(clRed);
        box->Canvas()->FillRect(box->ClientRect());
    }
};

}  // namespace

TEST(Graphic, PaintBoxPaintsInItsPlaceOnTheParent)
{
    TForm form(nullptr);
    form.SetClientSize(200, 100);
    form.SetColor(clWhite);
    auto* box = new TPaintBox(&form);
    box->SetParent(&form);
    box->SetBounds(50, 20, 30, 30);
    Painter painter{box};
    box->OnPaint = Closure(&painter, &Painter::Paint);
    form.Show();
    Snapshot shot(form.Handle());
    EXPECT_GT(painter.paints, 0);
    EXPECT_EQ(shot.At(60, 30), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(shot.At(81, 30), RGB(255, 255, 255));  // clipped to the box
}

TEST(Graphic, GraphicControlCanvasDrawsOutsidePainting)
{
    TForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* box = new TPaintBox(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 50, 50);
    form.Show();
    TCanvas* c = box->Canvas();
    c->Font()->SetName("Arial");
    EXPECT_GT(c->TextWidth("ABCDEFGHIJKLMNOP"), 16);
    EXPECT_GT(c->TextHeight("1"), 0);
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 5, 5));  // no exception, a real DC
    PumpPending();                  // the idle loop gives the DC back
}

TEST(Graphic, LabelPaintsItsCaptionOnTheParentsColour)
{
    TForm form(nullptr);
    form.SetClientSize(200, 60);
    form.SetColor(clWhite);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->Font()->SetColor(clBlack);
    label->Font()->SetSize(14);
    label->SetCaption("MMMM");
    form.Show();
    Snapshot shot(form.Handle());
    int dark = 0;
    for (int x = 0; x < label->Width(); ++x)
        for (int y = 0; y < label->Height(); ++y)
            if (shot.At(x, y) == RGB(0, 0, 0)) ++dark;
    EXPECT_GT(dark, 10);
}

// The columns and rows a flat button's caption inks, in form coordinates.
TRect InkOf(Snapshot& Shot, TControl* Button)
{
    const TRect r = Button->BoundsRect();
    const COLORREF face = Shot.At(r.Left + 1, r.Top + 1);
    TRect ink{r.Right, r.Bottom, r.Left, r.Top};
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (Shot.At(x, y) != face) {
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x + 1);
                ink.Bottom = std::max(ink.Bottom, y + 1);
            }
    return ink;
}

TEST(Graphic, FlatButtonsUnderlineTheirMnemonicAndShowADoubledAmpersandOnce)
{
    TForm form(nullptr);
    form.SetClientSize(300, 40);
    TSpeedButton* buttons[3];
    const char* captions[] = {"&Cancel", "Cancel", "A&&B"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new TSpeedButton(&form);
        buttons[i]->SetParent(&form);
        buttons[i]->SetBounds(i * 100, 5, 90, 25);
        buttons[i]->Flat = true;
        buttons[i]->Font()->SetName("Arial");
        buttons[i]->Font()->SetSize(12);
        buttons[i]->SetCaption(captions[i]);
    }
    form.Show();
    Snapshot shot(form.Handle());
    const TRect mnemonic = InkOf(shot, buttons[0]), plain = InkOf(shot, buttons[1]);
    // No "&" drawn: the same word, centred alike (within a pixel of rounding).
    EXPECT_NEAR(mnemonic.Left, plain.Left - 100, 1);
    EXPECT_NEAR(mnemonic.Right, plain.Right - 100, 1);
    EXPECT_GT(mnemonic.Bottom, plain.Bottom);  // and its first letter underlined

    TCanvas* measure = buttons[2]->Canvas();
    measure->Font()->Assign(buttons[2]->Font());
    const int ampersands = InkOf(shot, buttons[2]).Width();
    EXPECT_LE(ampersands, measure->TextWidth("A&B"));
    EXPECT_GT(ampersands, measure->TextWidth("AB"));
    PumpPending();
}

TEST(Graphic, RepaintingAButtonWithACaptionLeavesNoGdiObjectBehind)
{
    TForm form(nullptr);
    form.SetClientSize(100, 40);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(5, 5, 90, 25);
    button->SetCaption("Connect");
    form.Show();
    button->Repaint();
    const int before = qv::test::GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) button->Repaint();
    EXPECT_EQ(qv::test::GdiObjectCount(), before);
    PumpPending();
}

TEST(Graphic, BrushCopyReplacesTheTransparentColourWithTheBrush)
{
    TBitmap cells;
    cells.SetSize(4, 2);
    TCanvas* src = cells.Canvas();
    src->Brush()->SetColor(RGB(0, 128, 128));  // teal background
    src->FillRect(Rect(0, 0, 4, 2));
    src->SetPixel(1, 0, clRed);
    EXPECT_EQ(cells.TransparentColor(), RGB(0, 128, 128));
    TBitmap target;
    target.SetSize(4, 2);
    TCanvas* dst = target.Canvas();
    dst->Brush()->SetColor(clYellow);
    dst->Brush()->SetStyle(bsSolid);
    dst->BrushCopy(Rect(0, 0, 4, 2), &cells, Rect(0, 0, 4, 2), cells.TransparentColor());
    EXPECT_EQ(GetPixel(dst->Handle(), 0, 0), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(dst->Handle(), 1, 0), RGB(255, 0, 0));
}

TEST(Graphic, SystemColoursResolveAndAMissingBitmapResourceRaises)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    TBitmap b;
    EXPECT_THROW(b.LoadFromResourceName(nullptr, "NO_SUCH_BITMAP"), EOutOfResources);
}
