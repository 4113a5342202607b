// Drawing utilities over GDI.
#include "util/GraphicUtils.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/gui/CommonControls.h"
#include "framework/gui/Control.h"
#include "util/ErrorUtils.h"

namespace {

// A memory DC with one bitmap selected, both freed in reverse order at scope end.
class TWorkDC {
public:
    TWorkDC(HDC Compatible, HBITMAP Bitmap) : dc_(CreateCompatibleDC(Compatible)), bitmap_(Bitmap)
    {
        old_ = SelectObject(dc_, bitmap_);
    }
    ~TWorkDC()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    TWorkDC(const TWorkDC&) = delete;
    TWorkDC& operator=(const TWorkDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

HBITMAP MonoBitmap(int W, int H)
{
    return CreateBitmap(std::max(W, 1), std::max(H, 1), 1, 1, nullptr);
}

HBITMAP ColourBitmap(HDC Compatible, int W, int H)
{
    return CreateCompatibleBitmap(Compatible, std::max(W, 1), std::max(H, 1));
}

// A GDI object selected into a DC for one scope.
class TSelected {
public:
    TSelected(HDC DC, HGDIOBJ Object) : dc_(DC), old_(SelectObject(DC, Object)) {}
    ~TSelected() { SelectObject(dc_, old_); }
    TSelected(const TSelected&) = delete;
    TSelected& operator=(const TSelected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The diagonal lines ShadeRect lays over a rectangle (rows of a monochrome 8 x 8 bitmap,
// one word per row as the platform wants them).
const WORD ShadePattern[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};

constexpr DWORD RopMaskedPattern = 0x00E20746;  // the brush where the source maps to white
constexpr DWORD RopShade = 0x00A000C9;          // destination AND pattern

// Paints Colour where the monochrome Mask maps to white through DC's text and back colours.
void Emboss(HDC DC, int X, int Y, int W, int H, HDC Mask, TColor Colour)
{
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
    {
        TSelected selected(DC, brush);
        BitBlt(DC, X, Y, W, H, Mask, 0, 0, RopMaskedPattern);
    }
    DeleteObject(brush);
}

}  // namespace

// ---- resources ---------------------------------------------------------------------------
std::unique_ptr<TBitmap> MakeModuleBitmap(HINSTANCE Module, LPCSTR ResID)
{
    auto result = std::make_unique<TBitmap>();
    if (!Module) {
        HBITMAP h = LoadBitmapA(nullptr, ResID);
        if (!h) ResourceNotFound(ResID);
        result->SetHandle(h);
    } else if (IS_INTRESOURCE(ResID)) {
        result->LoadFromResourceID(Module, static_cast<int>(reinterpret_cast<ULONG_PTR>(ResID)));
    } else {
        result->LoadFromResourceName(Module, ResID);
    }
    return result;
}

std::unique_ptr<TBitmap> MakeBitmap(LPCSTR ResID)
{
    return MakeModuleBitmap(GetModuleHandleA(nullptr), ResID);
}

std::unique_ptr<TBitmap> MakeBitmapID(WORD ResID)
{
    return MakeModuleBitmap(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResID));
}

std::unique_ptr<TIcon> MakeModuleIcon(HINSTANCE Module, LPCSTR ResID)
{
    HICON shared = LoadIconA(Module, ResID);
    if (!shared) return nullptr;
    // The loaded icon is the system's shared copy; the object owns a copy of its own.
    return std::make_unique<TIcon>(CopyIcon(shared));
}

std::unique_ptr<TIcon> MakeIcon(LPCSTR ResID)
{
    return MakeModuleIcon(GetModuleHandleA(nullptr), ResID);
}

std::unique_ptr<TIcon> MakeIconID(WORD ResID)
{
    return MakeModuleIcon(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResID));
}

void AssignBitmapCell(TBitmap* Source, TBitmap* Dest, int Cols, int Rows, int Index)
{
    Cols = std::max(Cols, 1);
    Rows = std::max(Rows, 1);
    Index = std::max(Index, 0);
    const int w = Source->Width() / Cols, h = Source->Height() / Rows;
    Dest->SetSize(w, h);
    BitBlt(Dest->Canvas()->Handle(), 0, 0, w, h, Source->Canvas()->Handle(), (Index % Cols) * w,
           (Index / Cols) * h, SRCCOPY);
}

void AssignBitmapCell(TIcon* Source, TBitmap* Dest, int Cols, int Rows, int Index)
{
    Cols = std::max(Cols, 1);
    Rows = std::max(Rows, 1);
    Index = std::max(Index, 0);
    const int w = Source->Width() / Cols, h = Source->Height() / Rows;
    Dest->SetSize(w, h);
    TCanvas* c = Dest->Canvas();
    c->Brush()->SetColor(clSilver);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Bounds(0, 0, w, h));
    DrawIconEx(c->Handle(), -(Index % Cols) * w, -(Index / Cols) * h, Source->Handle(),
               Source->Width(), Source->Height(), 0, nullptr, DI_NORMAL);
}

void CopyParentImage(TControl* Control, TCanvas* Dest)
{
    TWinControl* parent = Control ? Control->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated()) return;
    HDC dc = Dest->Handle();
    const TRect parentClient = parent->ClientRect();
    const int x = Control->Left(), y = Control->Top();

    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, -x, -y, nullptr);
    IntersectClipRect(dc, 0, 0, parentClient.Width(), parentClient.Height());
    SendMessageA(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);

    const TRect self = Control->BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == Control) break;  // the ones after it lie on top
        auto* graphic = dynamic_cast<TGraphicControl*>(sibling);
        if (!graphic || !graphic->Visible()) continue;
        const TRect r = graphic->BoundsRect();
        RECT overlap;
        if (!IntersectRect(&overlap, r.Win(), self.Win())) continue;
        saved = SaveDC(dc);
        SetViewportOrgEx(dc, r.Left - x, r.Top - y, nullptr);
        IntersectClipRect(dc, 0, 0, r.Width(), r.Height());
        graphic->PaintOn(dc);
        RestoreDC(dc, saved);
    }
}

// ---- see-through drawing -----------------------------------------------------------------
void StretchBltTransparent(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX,
                           int SrcY, int SrcW, int SrcH, HPALETTE Palette, TColor TransparentColor)
{
    // Mask technique: the mask is 1 where the source is see-through; the destination keeps
    // those pixels, the source's others are ORed onto a blackened hole.
    TWorkDC image(DstDC, ColourBitmap(DstDC, SrcW, SrcH));
    TWorkDC mask(DstDC, MonoBitmap(SrcW, SrcH));
    TWorkDC inverse(DstDC, MonoBitmap(SrcW, SrcH));
    TWorkDC canvas(DstDC, ColourBitmap(DstDC, DstW, DstH));

    HPALETTE oldDst = nullptr, oldImage = nullptr, oldCanvas = nullptr;
    if (Palette) {
        oldDst = SelectPalette(DstDC, Palette, TRUE);
        RealizePalette(DstDC);
        oldImage = SelectPalette(image, Palette, FALSE);
        oldCanvas = SelectPalette(canvas, Palette, FALSE);
    }

    BitBlt(image, 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCCOPY);
    const COLORREF oldBack = SetBkColor(image, PaletteColor(TransparentColor));
    BitBlt(mask, 0, 0, SrcW, SrcH, image, 0, 0, SRCCOPY);
    SetBkColor(image, oldBack);
    BitBlt(inverse, 0, 0, SrcW, SrcH, mask, 0, 0, NOTSRCCOPY);

    // Copies between colour and monochrome DCs map through these two colours.
    SetBkColor(canvas, RGB(255, 255, 255));
    SetTextColor(canvas, RGB(0, 0, 0));
    SetBkColor(image, RGB(255, 255, 255));
    SetTextColor(image, RGB(0, 0, 0));

    BitBlt(canvas, 0, 0, DstW, DstH, DstDC, DstX, DstY, SRCCOPY);
    StretchBlt(canvas, 0, 0, DstW, DstH, mask, 0, 0, SrcW, SrcH, SRCAND);
    BitBlt(image, 0, 0, SrcW, SrcH, inverse, 0, 0, SRCAND);
    StretchBlt(canvas, 0, 0, DstW, DstH, image, 0, 0, SrcW, SrcH, SRCPAINT);
    BitBlt(DstDC, DstX, DstY, DstW, DstH, canvas, 0, 0, SRCCOPY);

    if (Palette) {
        SelectPalette(canvas, oldCanvas, FALSE);
        SelectPalette(image, oldImage, FALSE);
        SelectPalette(DstDC, oldDst, TRUE);
    }
}

void DrawTransparentBitmap(HDC DC, HBITMAP Bitmap, int DstX, int DstY, TColor TransparentColor)
{
    BITMAP bm{};
    if (!GetObjectA(Bitmap, sizeof bm, &bm)) return;
    HDC source = CreateCompatibleDC(DC);
    HGDIOBJ old = SelectObject(source, Bitmap);
    StretchBltTransparent(DC, DstX, DstY, bm.bmWidth, bm.bmHeight, source, 0, 0, bm.bmWidth,
                          bm.bmHeight, nullptr, TransparentColor);
    SelectObject(source, old);
    DeleteDC(source);
}

void StretchBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, int DstW, int DstH,
                                  const TRect& SrcRect, TBitmap* Bitmap, TColor TransparentColor)
{
    if (!Bitmap || Bitmap->Empty()) return;
    if (DstW <= 0) DstW = SrcRect.Width();
    if (DstH <= 0) DstH = SrcRect.Height();
    HDC dst = Dest->Handle();
    HDC src = Bitmap->Canvas()->Handle();
    if (TransparentColor == clNone) {
        StretchBlt(dst, DstX, DstY, DstW, DstH, src, SrcRect.Left, SrcRect.Top, SrcRect.Width(),
                   SrcRect.Height(), SRCCOPY);
        return;
    }
    if (TransparentColor == clDefault) TransparentColor = Bitmap->TransparentColor();
    BITMAP bm{};
    GetObjectA(Bitmap->Handle(), sizeof bm, &bm);
    if (bm.bmBitsPixel == 1 && bm.bmPlanes == 1)
        TransparentColor = clWhite;
    else
        SetStretchBltMode(dst, COLORONCOLOR);
    StretchBltTransparent(dst, DstX, DstY, DstW, DstH, src, SrcRect.Left, SrcRect.Top,
                          SrcRect.Width(), SrcRect.Height(), nullptr, TransparentColor);
}

void DrawBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, const TRect& SrcRect,
                               TBitmap* Bitmap, TColor TransparentColor)
{
    StretchBitmapRectTransparent(Dest, DstX, DstY, SrcRect.Width(), SrcRect.Height(), SrcRect,
                                 Bitmap, TransparentColor);
}

void DrawBitmapTransparent(TCanvas* Dest, int DstX, int DstY, TBitmap* Bitmap,
                           TColor TransparentColor)
{
    if (!Bitmap) return;
    const TRect all = Bounds(0, 0, Bitmap->Width(), Bitmap->Height());
    StretchBitmapRectTransparent(Dest, DstX, DstY, all.Width(), all.Height(), all, Bitmap,
                                 TransparentColor);
}

// ---- derived bitmaps ---------------------------------------------------------------------
std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor)
{
    auto result = std::make_unique<TBitmap>();
    const int w = Bitmap->Width(), h = Bitmap->Height();
    result->SetSize(w, h);
    TCanvas* c = result->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(NewColor);
    c->FillRect(Bounds(0, 0, w, h));
    c->BrushCopy(Bounds(0, 0, w, h), Bitmap, Bounds(0, 0, w, h), Color);
    return result;
}

std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* Source, TColor OutlineColor,
                                                TColor BackColor, TColor HighlightColor,
                                                TColor ShadowColor, bool DrawHighlight)
{
    auto result = std::make_unique<TBitmap>();
    const int w = Source->Width(), h = Source->Height();
    result->SetSize(w, h);
    TCanvas* c = result->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BackColor);
    c->FillRect(Bounds(0, 0, w, h));
    HDC dc = c->Handle();

    // The mask: white where the source has the outline colour, which gets the emboss.
    TWorkDC mask(dc, MonoBitmap(w, h));
    HDC src = Source->Canvas()->Handle();
    BITMAP bm{};
    GetObjectA(Source->Handle(), sizeof bm, &bm);
    if (bm.bmBitsPixel == 1 && bm.bmPlanes == 1) {
        BitBlt(mask, 0, 0, w, h, src, 0, 0, NOTSRCCOPY);
    } else {
        const COLORREF oldBack = SetBkColor(src, ColorToRGB(OutlineColor));
        BitBlt(mask, 0, 0, w, h, src, 0, 0, SRCCOPY);
        SetBkColor(src, oldBack);
    }

    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    if (DrawHighlight) Emboss(dc, 1, 1, w, h, mask, HighlightColor);
    Emboss(dc, 0, 0, w, h, mask, ShadowColor);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    return result;
}

void ImageListDrawDisabled(TImageList* Images, TCanvas* Canvas, int X, int Y, int Index,
                           TColor HighlightColor, TColor GrayColor, bool DrawHighlight)
{
    HIMAGELIST list = Images->Handle();
    int w = 0, h = 0;
    if (!list || !ImageList_GetIconSize(list, &w, &h)) return;
    HDC dc = Canvas->Handle();
    // The list's mask drawn on white: black where the image is opaque.
    TWorkDC mask(dc, MonoBitmap(w, h));
    PatBlt(mask, 0, 0, w, h, WHITENESS);
    ImageList_Draw(list, Index, mask, 0, 0, ILD_MASK);
    // Mapped through white text on black, the opaque (black) pixels take the brush.
    const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    if (DrawHighlight) Emboss(dc, X + 1, Y + 1, w, h, mask, HighlightColor);
    Emboss(dc, X, Y, w, h, mask, GrayColor);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* Source, TColor OutlineColor)
{
    return CreateDisabledBitmapEx(Source, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow,
                                  true);
}

std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor Color1, TColor Color2)
{
    auto result = std::make_unique<TBitmap>();
    result->SetSize(8, 8);
    TCanvas* c = result->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color1);
    c->FillRect(Bounds(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2) c->SetPixel(x, y, Color2);
    return result;
}

std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon* Icon, TColor BackColor)
{
    auto result = std::make_unique<TBitmap>();
    const int w = Icon->Width(), h = Icon->Height();
    result->SetSize(w, h);
    TCanvas* c = result->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BackColor);
    c->FillRect(Bounds(0, 0, w, h));
    DrawIconEx(c->Handle(), 0, 0, Icon->Handle(), w, h, 0, nullptr, DI_NORMAL);
    return result;
}

std::unique_ptr<TIcon> CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor)
{
    if (!Bitmap || Bitmap->Empty()) return nullptr;
    if (TransparentColor == clDefault) TransparentColor = Bitmap->TransparentColor();
    // The image list takes the bitmap by handle, which must not be selected in a DC: a copy
    // is, unlike Bitmap, selected nowhere.
    TBitmap copy;
    copy.Assign(Bitmap);
    HIMAGELIST list =
        ImageList_Create(Bitmap->Width(), Bitmap->Height(), ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!list) return nullptr;
    std::unique_ptr<TIcon> icon;
    if (ImageList_AddMasked(list, copy.Handle(), ColorToRGB(TransparentColor)) >= 0)
        icon = std::make_unique<TIcon>(ImageList_GetIcon(list, 0, ILD_NORMAL));
    ImageList_Destroy(list);
    return icon;
}

// ---- screen and shading ------------------------------------------------------------------
void PaintInverseRect(TPoint From, TPoint To)
{
    HDC dc = GetDC(nullptr);
    RECT r{std::min(From.x, To.x), std::min(From.y, To.y), std::max(From.x, To.x),
           std::max(From.y, To.y)};
    InvertRect(dc, &r);
    ReleaseDC(nullptr, dc);
}

void DrawInvertFrame(const TRect& ScreenRect, int Width)
{
    HDC dc = GetDC(nullptr);
    RECT r = *ScreenRect.Win();
    for (int i = 0; i < Width; ++i) {
        DrawFocusRect(dc, &r);
        InflateRect(&r, -1, -1);
    }
    ReleaseDC(nullptr, dc);
}

void ShadeRect(HDC DC, const TRect& Rect)
{
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, ShadePattern);
    HBRUSH brush = CreatePatternBrush(pattern);
    {
        TSelected selected(DC, brush);
        const COLORREF oldText = SetTextColor(DC, RGB(255, 255, 255));
        const COLORREF oldBack = SetBkColor(DC, RGB(0, 0, 0));
        PatBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), RopShade);
        SetTextColor(DC, oldText);
        SetBkColor(DC, oldBack);
    }
    DeleteObject(brush);
    DeleteObject(pattern);
}

void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, int Colors)
{
    if (Rect.Width() <= 0 || Rect.Height() <= 0) return;
    HDC dc = Canvas->Handle();
    auto fill = [dc](const RECT& r, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    };
    const COLORREF start = ColorToRGB(StartColor), end = ColorToRGB(EndColor);
    if (Colors < 2) {
        fill(*Rect.Win(), start);
        return;
    }
    const bool reverse = Direction == fdBottomToTop || Direction == fdRightToLeft;
    const bool vertical = Direction == fdTopToBottom || Direction == fdBottomToTop;
    const COLORREF from = reverse ? end : start, to = reverse ? start : end;
    const int extent = vertical ? Rect.Height() : Rect.Width();
    const int bands = std::max(2, std::min(Colors, extent));
    const int bandSize = extent / bands;
    auto channel = [&](int i, int shift) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return a + MulDiv(i, b - a, bands - 1);
    };
    auto band = [&](int offset, int size) {
        RECT r = *Rect.Win();
        if (vertical) {
            r.top = Rect.Top + offset;
            r.bottom = r.top + size;
        } else {
            r.left = Rect.Left + offset;
            r.right = r.left + size;
        }
        return r;
    };
    for (int i = 0; i < bands; ++i)
        fill(band(i * bandSize, bandSize), RGB(channel(i, 0), channel(i, 8), channel(i, 16)));
    const int covered = bands * bandSize;
    if (covered < extent) fill(band(covered, extent - covered), to);
}

// ---- fonts and palettes ------------------------------------------------------------------
HFONT CreateRotatedFont(TFont* Font, int Angle)
{
    LOGFONTA lf{};
    lf.lfHeight = Font->Height();
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = Angle * 10;
    const TFontStyles style = Font->Style();
    lf.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style.Contains(fsItalic);
    lf.lfUnderline = style.Contains(fsUnderline);
    lf.lfStrikeOut = style.Contains(fsStrikeOut);
    lf.lfCharSet = Font->Charset();
    String face = Font->Name();
    if (face == "Default") face = TFont().Name();
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    // The framework's fonts carry no pitch of their own: the face decides.
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    return CreateFontIndirectA(&lf);
}

COLORREF PaletteColor(TColor Color) { return ColorToRGB(Color) | 0x02000000; }

int PaletteEntries(HPALETTE Palette)
{
    WORD count = 0;
    if (!Palette || !GetObjectA(Palette, sizeof count, &count)) return 0;
    return count;
}

// ---- the whole screen --------------------------------------------------------------------
TScreenCanvas::~TScreenCanvas() { FreeHandle(); }

void TScreenCanvas::CreateHandle() { SetHandle(GetDC(nullptr)); }

void TScreenCanvas::FreeHandle()
{
    if (!HandleAllocated()) return;
    HDC dc = Handle();
    SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
}

void TScreenCanvas::SetOrigin(int X, int Y) { SetWindowOrgEx(Handle(), -X, -Y, nullptr); }
