// Fonts, brushes, pens, the canvas and bitmaps over GDI.
#include "framework/gui/Canvas.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <utility>

#include "framework/Exceptions.h"

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0) return GetSysColor(static_cast<int>(static_cast<unsigned>(Color) & 0xFF));
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void TGraphicsObject::Changed()
{
    if (OnChanging) OnChanging(this);
    FreeHandle();
    if (OnChange) OnChange(this);
}

// ---- TFont -------------------------------------------------------------------------------
TFont::TFont() = default;
TFont::~TFont() { FreeHandle(); }

int TFont::PixelsPerInch()
{
    static int ppi = [] {
        HDC dc = GetDC(nullptr);
        int v = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return ppi;
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        name_ = f->name_;
        height_ = f->height_;
        color_ = f->color_;
        style_ = f->style_;
        charset_ = f->charset_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const String& v)
{
    if (v != name_) {
        name_ = v;
        Changed();
    }
}
int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch(), 72)); }
void TFont::SetHeight(int v)
{
    if (v != height_) {
        height_ = v;
        Changed();
    }
}
void TFont::SetColor(TColor v)
{
    // The colour is not part of the GDI font: no new handle, but owners repaint.
    if (v != color_) {
        color_ = v;
        if (OnChange) OnChange(this);
    }
}
void TFont::SetStyle(TFontStyles v)
{
    if (!(v == style_)) {
        style_ = v;
        Changed();
    }
}
void TFont::SetCharset(BYTE v)
{
    if (v != charset_) {
        charset_ = v;
        Changed();
    }
}

HFONT TFont::Handle()
{
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = charset_;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

void TFont::FreeHandle()
{
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

// ---- TBrush, TPen ------------------------------------------------------------------------
TBrush::~TBrush() { FreeHandle(); }
void TBrush::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}
void TBrush::SetColor(TColor v)
{
    if (v != color_) {
        color_ = v;
        Changed();
    }
}
void TBrush::SetStyle(TBrushStyle v)
{
    if (v != style_) {
        style_ = v;
        Changed();
    }
}
HBRUSH TBrush::Handle()
{
    if (!handle_) {
        handle_ = style_ == bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                    : CreateSolidBrush(ColorToRGB(color_));
    }
    return handle_;
}
void TBrush::FreeHandle()
{
    // Judged by the handle, not by the style: a style change has already set the new style
    // when the old handle goes, and a solid brush left behind that way leaked at every paint
    // that drew a caption over a filled face.
    if (handle_ && handle_ != GetStockObject(NULL_BRUSH)) DeleteObject(handle_);
    handle_ = nullptr;
}

TPen::~TPen() { FreeHandle(); }
void TPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}
void TPen::SetColor(TColor v)
{
    if (v != color_) {
        color_ = v;
        Changed();
    }
}
void TPen::SetWidth(int v)
{
    if (v != width_) {
        width_ = v;
        Changed();
    }
}
void TPen::SetStyle(TPenStyle v)
{
    if (v != style_) {
        style_ = v;
        Changed();
    }
}
HPEN TPen::Handle()
{
    if (!handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
        handle_ = CreatePen(styles[style_], width_, ColorToRGB(color_));
    }
    return handle_;
}
void TPen::FreeHandle()
{
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

// ---- TCanvas -----------------------------------------------------------------------------
TCanvas::TCanvas()
{
    brush_.SetColor(clWhite);
    font_.OnChanging = TNotifyEvent(this, &TCanvas::Deselect);
    brush_.OnChanging = TNotifyEvent(this, &TCanvas::Deselect);
    pen_.OnChanging = TNotifyEvent(this, &TCanvas::Deselect);
}

void TCanvas::Deselect(TObject*)
{
    if (!dc_) return;
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldPen_) SelectObject(dc_, oldPen_);
    oldFont_ = oldBrush_ = oldPen_ = nullptr;
    curFont_ = nullptr;
    curBrush_ = nullptr;
    curPen_ = nullptr;
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle()
{
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc_ == dc) return;
    // Put the DC's own objects back before it goes: ours may be deleted later.
    Deselect();
    dc_ = dc;
}

void TCanvas::Select(bool font, bool brush, bool pen)
{
    HDC dc = Handle();
    if (!dc) throw EOutOfResources(String(GuiText::CanvasNoDrawing));
    if (font) {
        HFONT f = font_.Handle();
        if (f != curFont_) {
            HGDIOBJ old = SelectObject(dc, f);
            if (!oldFont_) oldFont_ = old;
            curFont_ = f;
        }
        SetTextColor(dc, ColorToRGB(font_.Color()));
    }
    if (brush) {
        HBRUSH b = brush_.Handle();
        if (b != curBrush_) {
            HGDIOBJ old = SelectObject(dc, b);
            if (!oldBrush_) oldBrush_ = old;
            curBrush_ = b;
        }
        SetBkColor(dc, ColorToRGB(brush_.Color()));
        SetBkMode(dc, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
    if (pen) {
        HPEN p = pen_.Handle();
        if (p != curPen_) {
            HGDIOBJ old = SelectObject(dc, p);
            if (!oldPen_) oldPen_ = old;
            curPen_ = p;
        }
    }
}

void TCanvas::FillRect(const TRect& r)
{
    Select(false, true, false);
    if (brush_.Style() != bsClear) ::FillRect(dc_, r.Win(), brush_.Handle());
}

void TCanvas::FrameRect(const TRect& r)
{
    Select(false, true, false);
    ::FrameRect(dc_, r.Win(), brush_.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    Select(false, true, true);
    ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::Ellipse(int l, int t, int r, int b)
{
    Select(false, true, true);
    ::Ellipse(dc_, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y)
{
    Select(false, false, true);
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const String& text)
{
    Select(true, true, false);
    ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text)
{
    Select(true, true, false);
    UINT opts = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
    ::ExtTextOutA(dc_, x, y, opts, r.Win(), text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::DrawText(const String& text, TRect r, UINT flags)
{
    Select(true, true, false);
    ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), r.Win(), flags);
}

TRect TCanvas::DrawTextExtent(const String& text, UINT flags)
{
    Select(true, false, false);
    TRect r = Rect(0, 0, 0, 0);
    ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), r.Win(), flags | DT_CALCRECT);
    return r;
}

int TCanvas::TextWidth(const String& text)
{
    Select(true, false, false);
    SIZE sz{};
    ::GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &sz);
    return sz.cx;
}

int TCanvas::TextHeight(const String& text)
{
    Select(true, false, false);
    SIZE sz{};
    ::GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &sz);
    return sz.cy;
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    CopyRect(Bounds(x, y, bitmap->Width(), bitmap->Height()), bitmap->Canvas(),
             Bounds(0, 0, bitmap->Width(), bitmap->Height()));
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    CopyRect(dest, bitmap->Canvas(), Bounds(0, 0, bitmap->Width(), bitmap->Height()));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src)
{
    HDC dc = Handle();
    HDC sdc = source->Handle();
    ::StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), sdc, src.Left, src.Top,
                 src.Width(), src.Height(), SRCCOPY);
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Transparent)
{
    if (!Bitmap || Bitmap->Empty()) return;
    const int w = Source.Width(), h = Source.Height();
    HDC dc = Handle();
    Select(false, true, false);
    // Work on a copy of the cell: every pixel of the transparent colour becomes the brush
    // colour. A pixel walk is plenty for lamp-sized cells and needs no mask bitmaps.
    TBitmap cell;
    cell.SetSize(w, h);
    HDC cdc = cell.Canvas()->Handle();
    ::BitBlt(cdc, 0, 0, w, h, Bitmap->Canvas()->Handle(), Source.Left, Source.Top, SRCCOPY);
    const COLORREF key = ColorToRGB(Transparent), fill = ColorToRGB(brush_.Color());
    if (brush_.Style() != bsClear) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (::GetPixel(cdc, x, y) == key) ::SetPixel(cdc, x, y, fill);
        ::StretchBlt(dc, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), cdc, 0, 0, w, h,
                     SRCCOPY);
    } else {
        // A clear brush leaves the see-through pixels alone (one-to-one copy only).
        for (int y = 0; y < h && y < Dest.Height(); ++y)
            for (int x = 0; x < w && x < Dest.Width(); ++x) {
                COLORREF c = ::GetPixel(cdc, x, y);
                if (c != key) ::SetPixel(dc, Dest.Left + x, Dest.Top + y, c);
            }
    }
}

TColor TCanvas::Pixel(int x, int y) { return static_cast<TColor>(::GetPixel(Handle(), x, y)); }
void TCanvas::SetPixel(int x, int y, TColor c) { ::SetPixel(Handle(), x, y, ColorToRGB(c)); }

// ---- TBitmap -----------------------------------------------------------------------------
// The bitmap's canvas: a memory DC with the bitmap selected, made on first use.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
    ~TBitmapCanvas() override { FreeHandle(); }
    void FreeHandle() override
    {
        HDC dc = HandleAllocated() ? Handle() : nullptr;
        SetHandle(nullptr);
        if (dc) {
            if (old_) SelectObject(dc, old_);
            DeleteDC(dc);
        }
        old_ = nullptr;
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (owner_->bitmap_) old_ = SelectObject(dc, owner_->bitmap_);
        SetHandle(dc);
    }

private:
    TBitmap* owner_;
    HGDIOBJ old_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    delete canvas_;
    if (bitmap_) DeleteObject(bitmap_);
}

void TBitmap::FreeCanvasDC()
{
    if (canvas_) canvas_->FreeHandle();
}

void TBitmap::SetHandle(HBITMAP h)
{
    FreeCanvasDC();
    if (bitmap_ && bitmap_ != h) DeleteObject(bitmap_);
    bitmap_ = h;
    width_ = height_ = 0;
    BITMAP bm{};
    if (h && GetObjectA(h, sizeof(bm), &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
    }
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeCanvasDC();
    HBITMAP h = std::exchange(bitmap_, nullptr);
    width_ = height_ = 0;
    return h;
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& Name)
{
    HBITMAP h =
        static_cast<HBITMAP>(LoadImageA(Instance ? Instance : GetModuleHandleA(nullptr),
                                        Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!h) throw EOutOfResources(GuiText::BitmapNotFound, Name);
    SetHandle(h);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int Id)
{
    HBITMAP h = static_cast<HBITMAP>(LoadImageA(Instance ? Instance : GetModuleHandleA(nullptr),
                                                MAKEINTRESOURCEA(Id), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
    if (!h) throw EOutOfResources(GuiText::BitmapNotFound, "#" + IntToStr(Id));
    SetHandle(h);
}

void TBitmap::SetSize(int w, int h)
{
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, std::max(w, 1), std::max(h, 1));
    ReleaseDC(nullptr, screen);
    if (!b) throw EOutOfResources(String(GuiText::OutOfSystemResources));
    SetHandle(b);
    width_ = w;
    height_ = h;
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Bounds(0, 0, w, h));
}

void TBitmap::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        if (b->Empty()) {
            SetHandle(nullptr);
            return;
        }
        b->FreeCanvasDC();
        SetHandle(static_cast<HBITMAP>(CopyImage(b->bitmap_, IMAGE_BITMAP, 0, 0, 0)));
        return;
    }
    TPersistent::Assign(Source);
}

TColor TBitmap::TransparentColor()
{
    if (Empty()) return clNone;
    return static_cast<TColor>(GetPixel(Canvas()->Handle(), 0, height_ - 1) & 0xFFFFFF);
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_) canvas_ = new TBitmapCanvas(this);
    return canvas_;
}
