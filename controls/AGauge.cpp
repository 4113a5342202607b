// The spin edit's gauge strip: off-screen painting and the mouse.
#include "controls/AGauge.h"

#include <algorithm>

#include "controls/BMSpinEdit.h"
#include "controls/SpinGaugeMath.h"

namespace {

TValueSpan ShownSpan(TBMSpinEdit* e)
{
    return GaugeSpan(e->GaugeMinValue(), e->GaugeMaxValue(), e->MinValue(), e->MaxValue());
}

}  // namespace

TAGauge::TAGauge(TComponent* AOwner, TBMSpinEdit* SpinEdit)
    : TCustomControl(AOwner),
      spinEdit_(SpinEdit)
{
    ControlStyle << csOpaque;
}

TColor TAGauge::BarColor()
{
    double value;
    if (!spinEdit_->TryShownValue(value)) value = 0;
    const TValueSpan span = ShownSpan(spinEdit_);
    const bool around = CentreInside(Centre, span);
    return static_cast<TColor>(BlendColour(ColorToRGB(BeginColor), ColorToRGB(EndColor),
                                           GaugeShare(value, span, around, Centre)));
}

void TAGauge::Paint()
{
    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) return;
    TBitmap buffer;
    buffer.SetSize(w, h);
    TCanvas* c = buffer.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(spinEdit_->Color());
    c->FillRect(Rect(0, 0, w, h));
    double value;
    if (spinEdit_->TryShownValue(value)) {
        const TValueSpan span = ShownSpan(spinEdit_);
        const bool around = CentreInside(Centre, span);
        const int from = around ? GaugePixelOf(Centre, w, span) : GaugePixelOf(span.Start, w, span);
        const int to = GaugePixelOf(value, w, span);
        c->Brush()->SetColor(BarColor());
        c->FillRect(Rect(std::min(from, to), 0, std::max(from, to), h));
        if (around) {
            c->Pen()->SetColor(clWindowFrame);
            c->MoveTo(from, 0);
            c->LineTo(from, h);
        }
    }
    Canvas()->Draw(0, 0, &buffer);
}

void TAGauge::SetValueFromMouse(int X)
{
    spinEdit_->SetValue(GaugeValueAt(X, ClientWidth(), ShownSpan(spinEdit_), SnapStep));
}

void TAGauge::Dispatch(TMessage& m)
{
    const int x = static_cast<short>(LOWORD(m.LParam));
    switch (m.Msg) {
    case WM_ERASEBKGND:
        // The paint covers the whole strip; erasing first would only make it flicker.
        m.Result = 1;
        return;
    case WM_LBUTTONDOWN:
        SetCapture(Handle());
        if (spinEdit_->CanFocus()) spinEdit_->SetFocus();
        SetValueFromMouse(x);
        return;
    case WM_MOUSEMOVE:
        if ((m.WParam & MK_LBUTTON) && GetCapture() == Handle()) SetValueFromMouse(x);
        return;
    case WM_LBUTTONUP:
        if (GetCapture() == Handle()) {
            ReleaseCapture();
            spinEdit_->SelectOnEntry();
        }
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}
