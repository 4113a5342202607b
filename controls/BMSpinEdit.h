// TBMSpinEdit: an edit for floating-point values with an up-down pair, a drop button whose
// pop-up track bar (TBMPopupForm) sets the value while the mouse button is held on it, and a
// gauge strip (TAGauge) under the text that shows the value in its range and takes clicks.
#pragma once

// Value is the text read as a number and written with Precision decimals; the control keeps
// no other copy of it. MinValue equal to MaxValue means the value is not limited.

#include "controls/AGauge.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/CommonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"

// The pop-up: a window without caption or frame that never takes the activation from the
// form the spin edit is on (a child window of the desktop, kept on top).
class TBMPopupForm : public TForm {
public:
    explicit TBMPopupForm(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

class TBMSpinEdit : public TCustomEdit {
public:
    explicit TBMSpinEdit(TComponent* AOwner);
    ~TBMSpinEdit() override;
    void Dispatch(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // An empty text, or "-", reads as 0 and becomes "0"; text that is not a number raises
    // EConvertError.
    double GetValue();
    // Limited by CheckValue and shown with Precision decimals; fires OnChange (not while the
    // component is loading). Nothing happens when Value equals the value shown.
    void SetValue(double Value);
    double CheckValue(double Value) const;

    double MinValue() const { return minValue_; }
    void SetMinValue(double Value);
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double Value);
    double Increment() const { return increment_; }
    void SetIncrement(double Value) { increment_ = Value; }
    int Precision() const { return precision_; }
    void SetPrecision(int Value);  // held within 0 to 6

    double GaugeMinValue() const { return gaugeMinValue_; }
    void SetGaugeMinValue(double Value);
    double GaugeMaxValue() const { return gaugeMaxValue_; }
    void SetGaugeMaxValue(double Value);
    double GaugeAroundCenter() const { return gauge_->Centre; }
    void SetGaugeAroundCenter(double Value);
    double IncrementGauge() const { return gauge_->SnapStep; }
    void SetIncrementGauge(double Value) { gauge_->SnapStep = Value; }
    TColor GuageBeginColor() const { return gauge_->BeginColor; }
    void SetGuageBeginColor(TColor Value);
    TColor GuageEndColor() const { return gauge_->EndColor; }
    void SetGuageEndColor(TColor Value);
    int GuageHeight() const { return guageHeight_; }
    void SetGuageHeight(int Value);

    int TrackBarWidth() const { return trackBarWidth_; }
    void SetTrackBarWidth(int Value);  // held within 50 to 300; used when the pop-up next shows
    TTrackBarOrientation TrackBarOrientation() const { return trackBarOrientation_; }
    void SetTrackBarOrientation(TTrackBarOrientation Value);
    bool TrackBarEnabled() const { return trackBarEnabled_; }
    void SetTrackBarEnabled(bool Value);
    // Whether the text can be typed into (the buttons, keys and gauge work either way).
    bool EditorEnabled = true;
    // Entering the field selects its text (not while the left mouse button is held).
    bool AutoSelect = true;

    // The up-down's click, also run by the up and down arrow keys.
    void UpDownClick(TObject* Sender, TUDBtnType Button);
    // The track bar takes the value's place while the pop-up is visible.
    void UpdateFormView();
    // Selects the text as entering the field does.
    void SelectOnEntry();

    // The parts, for layout checks and tests that drive them as a user would.
    TPanel* ButtonPanel() const { return panel_; }
    TUpDown* UpDown() const { return upDown_; }
    TSpeedButton* DropButton() const { return dropButton_; }
    TAGauge* Gauge() const { return gauge_; }
    TBMPopupForm* PopupForm() const { return popup_; }
    TTrackBar* TrackBar() const { return trackBar_; }
    // Whether a drag of the drop button is under way (the pop-up is showing).
    bool Dropped() const { return dropped_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool DoKeyDown(WORD& Key, TShiftState Shift) override;
    bool DoKeyPress(char& Key) override;
    void Change() override;

private:
    friend class TAGauge;
    class TButtonPanel;
    void SetButtonHandle();
    void SizePopup();
    void ShowValue(double Value);
    bool TryShownValue(double& Value);
    void LayoutParts();
    void SetEditRect();
    int MinimumHeight();
    void OnFormShow(TObject* Sender);
    void DropMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DropMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void DropMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // Hides the pop-up and lets the drop button up; ButtonReleased: the button's own release
    // ends the drop (anything else must also end the button's press).
    void EndDrop(bool ButtonReleased = false);
    void TrackFromScreen(TPoint Screen);

    TPanel* panel_ = nullptr;
    TUpDown* upDown_ = nullptr;
    TSpeedButton* dropButton_ = nullptr;
    TAGauge* gauge_ = nullptr;
    TBMPopupForm* popup_ = nullptr;
    TPanel* popupPanel_ = nullptr;
    TTrackBar* trackBar_ = nullptr;

    double minValue_ = 0, maxValue_ = 0, increment_ = 1;
    int precision_ = 2;
    double gaugeMinValue_ = 0, gaugeMaxValue_ = 0;
    int guageHeight_ = 5;
    int trackBarWidth_ = 150;
    TTrackBarOrientation trackBarOrientation_ = trHorizontal;
    bool trackBarEnabled_ = true;
    bool showingValue_ = false;  // SetValue is writing the text: it fires OnChange itself
    bool dropped_ = false;
    TPoint pressPoint_;  // where the drop button was pressed, in screen coordinates
};
