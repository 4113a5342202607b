// Text drawing into rectangles and cells.
#include "util/TextUtils.h"

#include <algorithm>
#include <memory>

#include "util/TextFit.h"

namespace {

// The off-screen bitmap WriteText draws through; grown as needed, kept for the next call.
std::unique_ptr<TBitmap> OffScreen;

constexpr UINT AlignFlags[] = {DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT,
                               DT_NOPREFIX | DT_EXPANDTABS | DT_RIGHT,
                               DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER};

TAlignment Mirrored(TAlignment a)
{
    if (a == taLeftJustify) return taRightJustify;
    if (a == taRightJustify) return taLeftJustify;
    return a;
}

}  // namespace

void WriteText(TCanvas* Canvas, const TRect& Rect, int DX, int DY, const String& Text,
               TAlignment Alignment, bool WordWrap, bool RightToLeft)
{
    HDC dc = Canvas->Handle();
    const COLORREF back = ColorToRGB(Canvas->Brush()->Color());
    const bool pure = (GetNearestColor(dc, back) & 0xFFFFFF) == back;
    if (!WordWrap && pure && Text.find('\r') == String::npos) {
        if ((GetLayout(dc) & LAYOUT_RTL) && !RightToLeft) Alignment = Mirrored(Alignment);
        int x = Rect.Left + DX;
        if (Alignment == taRightJustify)
            x = Rect.Right - Canvas->TextWidth(Text) - 3;
        else if (Alignment == taCenter)
            x = Rect.Left + (Rect.Right - Rect.Left) / 2 - Canvas->TextWidth(Text) / 2;
        Canvas->TextRect(Rect, x, Rect.Top + DY, Text);
        return;
    }

    const int w = Rect.Width(), h = Rect.Height();
    if (w <= 0 || h <= 0) return;
    if (!OffScreen) OffScreen = std::make_unique<TBitmap>();
    if (OffScreen->Width() < w || OffScreen->Height() < h)
        OffScreen->SetSize(std::max(OffScreen->Width(), w), std::max(OffScreen->Height(), h));
    TCanvas* off = OffScreen->Canvas();
    off->Font()->Assign(Canvas->Font());
    off->Brush()->Assign(Canvas->Brush());
    off->Brush()->SetStyle(bsSolid);
    off->FillRect(Bounds(0, 0, w, h));
    UINT flags = AlignFlags[Alignment];
    if (WordWrap) flags |= DT_WORDBREAK;
    if (RightToLeft) flags |= DT_RTLREADING;
    off->Brush()->SetStyle(bsClear);
    off->DrawText(Text, TRect{DX, DY, w - 1, h - 1}, flags);
    Canvas->CopyRect(Rect, off, Bounds(0, 0, w, h));
}

void DrawCellTextEx(TCanvas* Canvas, int ACol, int ARow, const String& Text, const TRect& Rect,
                    TAlignment Align, TVertAlignment VertAlign, bool WordWrap, bool RightToLeft)
{
    const int cellHeight = Rect.Height();
    int dy = 2;
    if (VertAlign == vaCenter)
        dy = std::max(1, (cellHeight - Canvas->TextHeight("W")) / 2);
    else if (VertAlign == vaBottomJustify)
        dy = std::max(2, cellHeight - Canvas->TextHeight("W"));
    WriteText(Canvas, Rect, 2, dy, Text, Align, WordWrap, RightToLeft);
}

void DrawCellText(TCanvas* Canvas, int ACol, int ARow, const String& Text, const TRect& Rect,
                  TAlignment Align, TVertAlignment VertAlign, bool RightToLeft)
{
    DrawCellTextEx(Canvas, ACol, ARow, Text, Rect, Align, VertAlign, false, RightToLeft);
}

void DrawCellBitmap(TCanvas* Canvas, int ACol, int ARow, TBitmap* Bitmap, const TRect& Rect)
{
    if (!Bitmap || Bitmap->Empty()) return;
    Canvas->Draw((Rect.Left + Rect.Right - Bitmap->Width()) / 2,
                 (Rect.Top + Rect.Bottom - Bitmap->Height()) / 2, Bitmap);
}

String MinimizeText(const String& Text, TCanvas* Canvas, int MaxWidth)
{
    return MinimizeText(
        Text, [Canvas](std::string_view s) { return Canvas->TextWidth(String(s)); }, MaxWidth);
}

TPoint GetAveCharSize(TCanvas* Canvas)
{
    String letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    return Point(Canvas->TextWidth(letters) / 52, Canvas->TextHeight(letters));
}
