// Drawing: colours (with the system colours), fonts, brushes, pens, the canvas that draws
// with them on any device context, and bitmaps (loaded from the program's resources).
// GDI objects are created on first use and freed by their owners (RAII).
#pragma once

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/FontStyles.h"
#include "framework/Sets.h"

// ---- geometry ----------------------------------------------------------------------------
struct TPoint {
    int x = 0, y = 0;
};
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

// Same layout as the platform's RECT, so it can be handed to GDI as it is.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    RECT* Win() { return reinterpret_cast<RECT*>(this); }
    const RECT* Win() const { return reinterpret_cast<const RECT*>(this); }
    friend bool operator==(const TRect&, const TRect&) = default;
};
static_assert(sizeof(TRect) == sizeof(RECT));
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

// ---- colours -----------------------------------------------------------------------------
// A TColor is an RGB value (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = std::int32_t;
constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;  // "no colour": nothing is painted
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION), clMenu = SysColor(COLOR_MENU),
                 clWindow = SysColor(COLOR_WINDOW), clWindowFrame = SysColor(COLOR_WINDOWFRAME),
                 clMenuText = SysColor(COLOR_MENUTEXT), clWindowText = SysColor(COLOR_WINDOWTEXT),
                 clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SysColor(COLOR_BTNFACE), clBtnShadow = SysColor(COLOR_BTNSHADOW),
                 clGrayText = SysColor(COLOR_GRAYTEXT), clBtnText = SysColor(COLOR_BTNTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT),
                 cl3DDkShadow = SysColor(COLOR_3DDKSHADOW), cl3DLight = SysColor(COLOR_3DLIGHT),
                 clInfoText = SysColor(COLOR_INFOTEXT), clInfoBk = SysColor(COLOR_INFOBK);

// The RGB value a colour stands for now (system colours looked up).
COLORREF ColorToRGB(TColor Color);

// ---- font, brush, pen --------------------------------------------------------------------

// Owners hear about every change through OnChange (a control passes the new font to its
// window). The handle is made on first use and remade after a change.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChanging;  // before the old handle goes (a canvas deselects it)
    TNotifyEvent OnChange;

protected:
    void Changed();
    virtual void FreeHandle() = 0;
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    String Name() const { return name_; }
    void SetName(const String& v);
    // Size in points; Height in pixels (negative: character height, as GDI has it).
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE v);

    HFONT Handle();
    static int PixelsPerInch();

protected:
    void FreeHandle() override;

private:
    String name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_;
    BYTE charset_ = DEFAULT_CHARSET;
    HFONT handle_ = nullptr;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    ~TBrush() override;
    void Assign(TPersistent* Source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle v);
    HBRUSH Handle();

protected:
    void FreeHandle() override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    HBRUSH handle_ = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };

class TPen : public TGraphicsObject {
public:
    ~TPen() override;
    void Assign(TPersistent* Source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v);
    HPEN Handle();

protected:
    void FreeHandle() override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    HPEN handle_ = nullptr;
};

// ---- canvas ------------------------------------------------------------------------------
class TBitmap;

// Draws on a device context with its font, brush and pen, which are selected into the DC
// just before each drawing call (so changing Font or Brush between calls takes effect).
// Subclasses acquire the DC on demand (CreateHandle) and give it back (FreeHandle).
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle();            // acquires the DC when needed
    void SetHandle(HDC dc);  // borrows a DC (nullptr releases it); the caller frees it
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() { return &font_; }
    TBrush* Brush() { return &brush_; }
    TPen* Pen() { return &pen_; }

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int l, int t, int r, int b);
    void Ellipse(int l, int t, int r, int b);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const String& text);
    void TextRect(const TRect& r, int x, int y, const String& text);
    // The platform's DrawText with its DT_ flags.
    void DrawText(const String& text, TRect r, UINT flags);
    // The size DrawText would take for the text with these flags (DT_CALCRECT added).
    TRect DrawTextExtent(const String& text, UINT flags);
    int TextWidth(const String& text);
    int TextHeight(const String& text);
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& dest, TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
    // Copies Source of Bitmap into Dest, painting the pixels of colour Transparent with the
    // current brush instead.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Transparent);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);

protected:
    virtual void CreateHandle() {}
    virtual void FreeHandle() { SetHandle(nullptr); }
    void Select(bool font, bool brush, bool pen);
    // Puts the DC's own objects back, so ours can be freed or replaced.
    void Deselect(TObject* Sender = nullptr);

private:
    HDC dc_ = nullptr;
    HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
    HFONT curFont_ = nullptr;
    HBRUSH curBrush_ = nullptr;
    HPEN curPen_ = nullptr;
    TFont font_;
    TBrush brush_;
    TPen pen_;
};

// ---- bitmap ------------------------------------------------------------------------------
class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    // A bitmap resource of the program (or of Instance); EOutOfResources when missing.
    void LoadFromResourceName(HINSTANCE Instance, const String& Name);
    void LoadFromResourceID(HINSTANCE Instance, int Id);
    // Takes ownership of a bitmap handle.
    void SetHandle(HBITMAP h);
    HBITMAP Handle() const { return bitmap_; }
    // Gives up the handle to the caller (the bitmap is then empty).
    HBITMAP ReleaseHandle();
    bool Empty() const { return bitmap_ == nullptr; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int w, int h);  // a new screen-compatible bitmap, filled white

    // The colour of the bottom-left pixel, which marks the see-through parts of a glyph.
    TColor TransparentColor();
    TCanvas* Canvas();

private:
    class TBitmapCanvas;
    void FreeCanvasDC();
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    TBitmapCanvas* canvas_ = nullptr;
};
