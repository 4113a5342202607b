// Drawing utilities on memory bitmaps, checked pixel by pixel: gradient bands, see-through
// drawing, shading, checkerboards, colour swaps, embossing, icons and text.
#include <gtest/gtest.h>

#include "framework/gui/CommonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "util/GraphicUtils.h"
#include "util/TextUtils.h"

namespace {

// A bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int w, int h, TColor colour)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(colour);
    b->Canvas()->FillRect(Bounds(0, 0, w, h));
    return b;
}

COLORREF At(TBitmap& b, int x, int y) { return GetPixel(b.Canvas()->Handle(), x, y); }

// Red with a blue 4 x 4 square at (2, 2).
std::unique_ptr<TBitmap> RedWithBlueSquare()
{
    auto b = Filled(8, 8, clRed);
    b->Canvas()->Brush()->SetColor(clBlue);
    b->Canvas()->FillRect(Bounds(2, 2, 4, 4));
    return b;
}

struct RedPainter {
    TPaintBox* box;
    void Paint(TObject*)
    {
        box->Canvas()->Brush()->SetColor(clRed);
        box->Canvas()->FillRect(box->ClientRect());
    }
};

}  // namespace

TEST(GradientFillRect, SixteenBandsOfSixPixelsThenTheEndColourOnAHundredPixelStrip)
{
    auto strip = Filled(4, 100, clWhite);
    GradientFillRect(strip->Canvas(), Bounds(0, 0, 4, 100), clBlack, RGB(0, 0, 255), fdTopToBottom,
                     16);
    for (int i = 0; i < 16; ++i) {
        const COLORREF band = RGB(0, 0, MulDiv(i, 255, 15));
        EXPECT_EQ(At(*strip, 1, i * 6), band) << "band " << i;
        EXPECT_EQ(At(*strip, 1, i * 6 + 5), band) << "band " << i;
    }
    for (int y = 96; y < 100; ++y) EXPECT_EQ(At(*strip, 1, y), RGB(0, 0, 255)) << y;
}

TEST(GradientFillRect, ReverseDirectionsEndInTheStartColourAndFewColoursFillFlat)
{
    auto strip = Filled(100, 2, clWhite);
    GradientFillRect(strip->Canvas(), Bounds(0, 0, 100, 2), clRed, clLime, fdRightToLeft, 16);
    EXPECT_EQ(At(*strip, 0, 0), ColorToRGB(clLime));
    EXPECT_EQ(At(*strip, 90, 0), ColorToRGB(clRed));
    EXPECT_EQ(At(*strip, 99, 0), ColorToRGB(clRed));

    GradientFillRect(strip->Canvas(), Bounds(0, 0, 100, 2), clNavy, clLime, fdLeftToRight, 1);
    EXPECT_EQ(At(*strip, 99, 1), ColorToRGB(clNavy));
}

TEST(DrawBitmapTransparent, SeeThroughPixelsKeepTheDestinationAndClNoneDrawsOpaque)
{
    auto source = RedWithBlueSquare();
    auto dest = Filled(20, 20, clLime);
    DrawBitmapTransparent(dest->Canvas(), 10, 10, source.get(), clRed);
    EXPECT_EQ(At(*dest, 10, 10), ColorToRGB(clLime));
    EXPECT_EQ(At(*dest, 17, 17), ColorToRGB(clLime));
    EXPECT_EQ(At(*dest, 13, 13), ColorToRGB(clBlue));

    auto byCorner = Filled(20, 20, clLime);  // clDefault: the bottom-left pixel's colour
    DrawBitmapTransparent(byCorner->Canvas(), 0, 0, source.get(), clDefault);
    EXPECT_EQ(At(*byCorner, 0, 7), ColorToRGB(clLime));
    EXPECT_EQ(At(*byCorner, 3, 3), ColorToRGB(clBlue));

    auto opaque = Filled(20, 20, clLime);
    DrawBitmapTransparent(opaque->Canvas(), 0, 0, source.get(), clNone);
    EXPECT_EQ(At(*opaque, 0, 0), ColorToRGB(clRed));
}

TEST(StretchBitmapRectTransparent, StretchesTheSourceRectangle)
{
    auto source = RedWithBlueSquare();
    auto dest = Filled(20, 20, clLime);
    StretchBitmapRectTransparent(dest->Canvas(), 0, 0, 16, 16, Bounds(2, 2, 4, 4), source.get(),
                                 clRed);
    EXPECT_EQ(At(*dest, 0, 0), ColorToRGB(clBlue));
    EXPECT_EQ(At(*dest, 15, 15), ColorToRGB(clBlue));
    EXPECT_EQ(At(*dest, 16, 16), ColorToRGB(clLime));
}

TEST(ShadeRect, BlackensThePatternsDiagonalsAndKeepsTheRest)
{
    auto b = Filled(8, 8, clWhite);
    ShadeRect(b->Canvas()->Handle(), Bounds(0, 0, 8, 8));
    // Row 0 is 0x11 (columns 3 and 7), row 1 is 0x22 (columns 2 and 6).
    EXPECT_EQ(At(*b, 3, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*b, 7, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*b, 2, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(*b, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(At(*b, 3, 1), RGB(255, 255, 255));
}

TEST(DerivedBitmaps, CheckerboardAndColourSwap)
{
    auto board = CreateTwoColorsBrushPattern(clWhite, clBlack);
    EXPECT_EQ(At(*board, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(*board, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(*board, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(At(*board, 6, 7), RGB(255, 255, 255));

    auto source = RedWithBlueSquare();
    auto swapped = ChangeBitmapColor(source.get(), clRed, clYellow);
    EXPECT_EQ(At(*swapped, 0, 0), ColorToRGB(clYellow));
    EXPECT_EQ(At(*swapped, 3, 3), ColorToRGB(clBlue));
}

TEST(CreateDisabledBitmap, ShadowOverAHighlightOnePixelDownRight)
{
    auto source = Filled(8, 8, clWhite);
    source->Canvas()->Brush()->SetColor(clBlack);
    source->Canvas()->FillRect(Bounds(2, 2, 3, 3));
    auto disabled = CreateDisabledBitmapEx(source.get(), clBlack, clSilver, clYellow, clGray, true);
    EXPECT_EQ(At(*disabled, 0, 0), ColorToRGB(clSilver));
    EXPECT_EQ(At(*disabled, 2, 2), ColorToRGB(clGray));
    EXPECT_EQ(At(*disabled, 4, 4), ColorToRGB(clGray));
    EXPECT_EQ(At(*disabled, 5, 5), ColorToRGB(clYellow));
    EXPECT_EQ(At(*disabled, 5, 2), ColorToRGB(clSilver));
}

TEST(AssignBitmapCell, CutsTheIndexedCellAndTakesNoColumnsAsOne)
{
    auto grid = Filled(8, 4, clRed);  // two cells of 4 x 4: red, then blue
    grid->Canvas()->Brush()->SetColor(clBlue);
    grid->Canvas()->FillRect(Bounds(4, 0, 4, 4));
    TBitmap cell;
    AssignBitmapCell(grid.get(), &cell, 2, 1, 1);
    EXPECT_EQ(cell.Width(), 4);
    EXPECT_EQ(At(cell, 0, 0), ColorToRGB(clBlue));
    AssignBitmapCell(grid.get(), &cell, 0, 1, 0);
    EXPECT_EQ(cell.Width(), 8);
}

TEST(Icons, BitmapToIconAndBackKeepsTheSeeThroughParts)
{
    auto source = RedWithBlueSquare();
    auto icon = CreateIconFromBitmap(source.get(), clRed);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width(), 8);
    auto back = CreateBitmapFromIcon(icon.get(), clLime);
    EXPECT_EQ(At(*back, 0, 0), ColorToRGB(clLime));
    EXPECT_EQ(At(*back, 3, 3), ColorToRGB(clBlue));

    EXPECT_TRUE(MakeModuleIcon(nullptr, IDI_APPLICATION));
    EXPECT_FALSE(MakeIcon("QV_NO_SUCH_ICON"));
}

TEST(CreateRotatedFont, TenthsOfADegreeAndTheStyleBits)
{
    TFont font;
    font.SetName("Default");
    font.SetStyle(TFontStyles{fsBold, fsItalic});
    HFONT h = CreateRotatedFont(&font, 90);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(h, sizeof lf, &lf));
    DeleteObject(h);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, TFont().Name().c_str());
}

TEST(WriteText, WrappedTextGoesOnTheNextLineAndTheBackgroundIsTheBrush)
{
    auto b = Filled(60, 60, clWhite);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clYellow);
    c->Font()->SetColor(clBlack);
    const int lineHeight = c->TextHeight("W");
    auto inkIn = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 60; ++x)
                if (At(*b, x, y) == RGB(0, 0, 0)) return true;
        return false;
    };
    WriteText(c, Bounds(0, 0, 60, 60), 2, 2, "WWWWWW WWWWWW", taLeftJustify, true);
    EXPECT_EQ(At(*b, 59, 59), ColorToRGB(clYellow));
    EXPECT_TRUE(inkIn(2, 2 + lineHeight));
    EXPECT_TRUE(inkIn(2 + lineHeight, 2 + 2 * lineHeight));

    c->Brush()->SetColor(clWhite);
    c->FillRect(Bounds(0, 0, 60, 60));
    c->Brush()->SetColor(clAqua);
    WriteText(c, Bounds(0, 0, 60, 60), 2, 2, "W", taRightJustify, false);
    EXPECT_EQ(At(*b, 0, 0), ColorToRGB(clAqua));
    EXPECT_FALSE(inkIn(2 + lineHeight, 60));
}

TEST(ImageListDrawDisabled, EmbossesTheOpaqueShapeOfTheImage)
{
    TImageList images(nullptr);
    images.Width = images.Height = 8;
    auto picture = RedWithBlueSquare();
    images.AddMasked(picture.get(), clRed);
    auto dest = Filled(12, 12, clWhite);
    ImageListDrawDisabled(&images, dest->Canvas(), 2, 2, 0, clYellow, clGray, true);
    EXPECT_EQ(At(*dest, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(At(*dest, 5, 5), ColorToRGB(clGray));
    EXPECT_EQ(At(*dest, 8, 8), ColorToRGB(clYellow));
    EXPECT_EQ(At(*dest, 9, 9), RGB(255, 255, 255));
}

TEST(CopyParentImage, ParentBackgroundAndTheGraphicSiblingBelow)
{
    TForm form(nullptr);
    form.SetClientSize(100, 60);
    form.SetColor(clNavy);
    auto* below = new TPaintBox(&form);
    below->SetParent(&form);
    below->SetBounds(0, 0, 30, 30);
    RedPainter painter{below};
    below->OnPaint = Closure(&painter, &RedPainter::Paint);
    auto* control = new TPaintBox(&form);
    control->SetParent(&form);
    control->SetBounds(20, 20, 40, 40);
    form.HandleNeeded();
    auto image = Filled(40, 40, clWhite);
    CopyParentImage(control, image->Canvas());
    EXPECT_EQ(At(*image, 5, 5), ColorToRGB(clRed));
    EXPECT_EQ(At(*image, 15, 15), ColorToRGB(clNavy));
}

TEST(TScreenCanvas, TakesTheScreenOnceAndMovesItsOrigin)
{
    TScreenCanvas screen;
    EXPECT_FALSE(screen.HandleAllocated());
    screen.SetOrigin(10, 20);
    POINT origin{};
    GetWindowOrgEx(screen.Handle(), &origin);
    EXPECT_EQ(origin.x, -10);
    EXPECT_EQ(origin.y, -20);
    screen.FreeHandle();
    EXPECT_FALSE(screen.HandleAllocated());
}
