// The indicator lamps: TLED, a lamp lit or dark in one of three colours drawn from one shared
// bitmap (resource "LED_PICS"), and TLEDLabel, a lamp with a caption beside, above or below it.
#pragma once

#include "framework/List.h"
#include "framework/gui/Control.h"

enum TLEDColor { lcRed, lcGreen, lcYellow };                  // the bitmap row
enum TCaptionAlignment { caLeft, caRight, caTop, caBottom };  // where the caption stands

// The bitmap all lamps draw from, with the list of live lamps; it exists from the first lamp's
// construction to the last one's destruction.
class TLEDBitmap {
public:
    TLEDBitmap();
    TBitmap Bitmap;
    TList Lamps;
    TColor TransparentColor;
};

// The shared instance, or nullptr while no lamp exists.
const TLEDBitmap* SharedLEDBitmap();

class TLED : public TGraphicControl {
public:
    explicit TLED(TComponent* AOwner);
    ~TLED() override;

    bool Lit() const { return lit_; }
    void SetState(bool Value);
    // The lamp's colour (the bitmap row); it hides the control colour, which a lamp never
    // uses: it draws on its parent's colour.
    TLEDColor Color() const { return color_; }
    void SetColor(TLEDColor Value);
    void ChangeState();
    void ChangeColor();

    TNotifyEvent OnChangeState;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    virtual void PaintLED();
    // The cell of the bitmap for the current state: the disabled cell when not enabled.
    TRect CellRect() const;
    // Copies the current cell into Dest with the transparent colour in the parent's colour.
    void DrawCell(const TRect& Dest);
    // The change the setters show: invalidate at design time, else draw now and tell.
    void StateChanged();

private:
    bool lit_ = false;
    TLEDColor color_ = lcRed;
};

class TLEDLabel : public TLED {
public:
    explicit TLEDLabel(TComponent* AOwner);

    TCaptionAlignment Alignment() const { return alignment_; }
    void SetAlignment(TCaptionAlignment Value);
    bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
    void SetTransparent(bool Value);
    // Client coordinates, computed on every bounds change.
    TRect LampRect() const { return lampRect_; }
    TRect CaptionRect() const { return captionRect_; }

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void PaintLED() override;
    virtual void PaintCaption();

private:
    void ComputeRects();
    TCaptionAlignment alignment_ = caRight;
    TRect lampRect_;
    TRect captionRect_;
};
