// Buttons: TButton and TCheckBox over the platform's BUTTON class, and TSpeedButton, a flat
// button drawn on its parent (glyph, caption, Down state, groups). Setting a check box's
// Checked fires OnClick when it changes. The buttons answer the Alt+letter their caption
// underlines (the form's CM_DIALOGCHAR).
#pragma once

#include "framework/gui/Control.h"
#include "framework/gui/Form.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    void Click() override;  // also sets the form's ModalResult when ModalResult is set
    TModalResult ModalResult = mrNone;
    bool Default = false;
    bool Cancel = false;

protected:
    void CreateParams(TCreateParams& Params) override;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    bool Checked();
    void SetChecked(bool v);  // fires OnClick when it changes
    TAlignment Alignment = taRightJustify;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    bool checked_ = false;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    void Dispatch(TMessage& Message) override;

    TBitmap* Glyph() { return &glyph_; }
    void SetGlyph(TBitmap* v)
    {
        glyph_.Assign(v);
        Invalidate();
    }
    int NumGlyphs = 1;
    bool Flat = false;
    bool Down() const { return down_; }
    void SetDown(bool v);
    int GroupIndex = 0;
    bool AllowAllUp = false;
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = 4;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void ToggleInGroup();
    TBitmap glyph_;
    bool down_ = false;
    bool pressed_ = false;
    bool hot_ = false;
};
