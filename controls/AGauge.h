// TAGauge: the thin strip along the bottom of a TBMSpinEdit that shows where the value lies in
// its range, as a bar in a colour between two colours, and sets the value when it is clicked
// or dragged.
#pragma once

#include "framework/gui/Control.h"

class TBMSpinEdit;

class TAGauge : public TCustomControl {
public:
    TAGauge(TComponent* AOwner, TBMSpinEdit* SpinEdit);

    TBMSpinEdit* SpinEdit() const { return spinEdit_; }
    // The bar's colour runs from BeginColor (the value at the start, or at the centre) to
    // EndColor (the value at the end).
    TColor BeginColor = clHighlight;
    TColor EndColor = 255;
    // Values set with the mouse snap to multiples of this; 0: no snapping.
    double SnapStep = 0;
    // When it lies inside the shown range, the bar grows from here toward the value.
    double Centre = 0;

    // The bar's colour for the value shown now.
    TColor BarColor();
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;

private:
    void SetValueFromMouse(int X);
    TBMSpinEdit* spinEdit_;
};
