// Drawing utilities: bitmaps and icons from resources, bitmaps drawn with a see-through
// colour, disabled (embossed) images, two-colour brushes, shading, inverted frames, gradient
// fills, rotated fonts, and a canvas on the whole screen.
#pragma once

#include <memory>

#include <windows.h>

#include "framework/gui/Canvas.h"
#include "framework/gui/Icon.h"

class TControl;
class TImageList;

// As a see-through colour: the colour of the bitmap's bottom-left pixel.
constexpr TColor clDefault = 0x20000000;

enum TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };

// ---- resources ---------------------------------------------------------------------------
// A bitmap resource of Module, by name or MAKEINTRESOURCE number. Module nullptr: one of the
// system's bitmaps (OBM_...), EResNotFound when there is no such bitmap.
std::unique_ptr<TBitmap> MakeModuleBitmap(HINSTANCE Module, LPCSTR ResID);
std::unique_ptr<TBitmap> MakeBitmap(LPCSTR ResID);
std::unique_ptr<TBitmap> MakeBitmapID(WORD ResID);
// An icon resource of Module (nullptr: a system icon, IDI_...); nullptr when there is none.
std::unique_ptr<TIcon> MakeModuleIcon(HINSTANCE Module, LPCSTR ResID);
std::unique_ptr<TIcon> MakeIcon(LPCSTR ResID);
std::unique_ptr<TIcon> MakeIconID(WORD ResID);

// Cell Index (row-major) of a grid of Cols x Rows cells in Source, into Dest (which takes
// the cell's size). Counts below 1 count as 1, an index below 0 as 0. An icon is drawn on a
// silver background.
void AssignBitmapCell(TBitmap* Source, TBitmap* Dest, int Cols, int Rows, int Index);
void AssignBitmapCell(TIcon* Source, TBitmap* Dest, int Cols, int Rows, int Index);

// Paints into Canvas what lies under Control: its parent's background and painting and the
// graphic controls before it that overlap it (for controls that look see-through).
void CopyParentImage(TControl* Control, TCanvas* Dest);

// ---- see-through drawing -----------------------------------------------------------------
// Stretches the source rectangle onto the destination; source pixels of TransparentColor
// leave the destination's pixels as they were. Palette may be nullptr.
void StretchBltTransparent(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX,
                           int SrcY, int SrcW, int SrcH, HPALETTE Palette, TColor TransparentColor);
void DrawTransparentBitmap(HDC DC, HBITMAP Bitmap, int DstX, int DstY, TColor TransparentColor);
// Sizes of 0 or below: the source rectangle's own. clNone draws opaque; clDefault takes the
// bitmap's bottom-left pixel; a monochrome bitmap is see-through where it is white.
void StretchBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, int DstW, int DstH,
                                  const TRect& SrcRect, TBitmap* Bitmap, TColor TransparentColor);
void DrawBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, const TRect& SrcRect,
                               TBitmap* Bitmap, TColor TransparentColor);
void DrawBitmapTransparent(TCanvas* Dest, int DstX, int DstY, TBitmap* Bitmap,
                           TColor TransparentColor);

// ---- derived bitmaps ---------------------------------------------------------------------
// A copy of Bitmap whose pixels of Color are NewColor.
std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor);
// The embossed image of a disabled button: the pixels of OutlineColor (the drawing's lines)
// in ShadowColor, over the same shape in HighlightColor one pixel down and right, on
// BackColor; every other pixel is BackColor.
std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* Source, TColor OutlineColor,
                                                TColor BackColor, TColor HighlightColor,
                                                TColor ShadowColor, bool DrawHighlight);
std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* Source, TColor OutlineColor);
// Image Index of the list drawn embossed at (X, Y) on the canvas: its opaque pixels in
// GrayColor over the same shape in HighlightColor one pixel down and right.
void ImageListDrawDisabled(TImageList* Images, TCanvas* Canvas, int X, int Y, int Index,
                           TColor HighlightColor, TColor GrayColor, bool DrawHighlight);
// An 8 x 8 checkerboard: Color1, with Color2 where row and column are both even or both odd.
std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor Color1, TColor Color2);
// The icon drawn on BackColor, at the icon's size.
std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon* Icon, TColor BackColor);
// An icon of the bitmap, see-through where it has TransparentColor (clDefault: its bottom-left
// pixel's colour).
std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor);

// ---- screen and shading ------------------------------------------------------------------
// Inverts the screen's pixels between two corners (in either order).
void PaintInverseRect(TPoint From, TPoint To);
// Width focus frames on the screen, each one pixel inside the last.
void DrawInvertFrame(const TRect& ScreenRect, int Width);
// Lays a pattern of diagonal lines over the rectangle: black on the pattern's lines, the
// rest left as it was.
void ShadeRect(HDC DC, const TRect& Rect);
// Bands from StartColor to EndColor (reversed for the bottom-to-top and right-to-left
// directions), at most Colors of them and no more than the extent in pixels; the last few
// pixels the bands leave are filled with the far colour.
void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, int Colors);

// ---- fonts and palettes ------------------------------------------------------------------
// A font like Font turned Angle degrees counter-clockwise; the caller deletes it.
HFONT CreateRotatedFont(TFont* Font, int Angle);
// The colour as a palette-relative value.
COLORREF PaletteColor(TColor Color);
int PaletteEntries(HPALETTE Palette);

// ---- the whole screen --------------------------------------------------------------------
// A canvas on the screen's device context, taken on first use.
class TScreenCanvas : public TCanvas {
public:
    TScreenCanvas() = default;
    ~TScreenCanvas() override;
    void FreeHandle() override;
    // Screen point (X, Y) becomes the canvas's (0, 0).
    void SetOrigin(int X, int Y);

protected:
    void CreateHandle() override;
};
