// TCSpinEdit: a numeric edit with spin buttons. Value is the text as a number; text that is
// not a number reads as MinValue. MinValue = MaxValue means no limits. Setting Value fires
// OnChange (through the text), unless the text stays the same.
#pragma once

#include "framework/gui/TextControls.h"

class TCSpinEdit : public TCustomEdit {
public:
    explicit TCSpinEdit(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    int Value();
    void SetValue(int v);
    int MinValue = 0;
    int MaxValue = 0;
    int Increment = 1;
    bool EditorEnabled = true;

protected:
    void CreateWnd() override;
    bool DoKeyPress(char& Key) override;
    bool DoKeyDown(WORD& Key, TShiftState Shift) override;

private:
    int CheckValue(int v) const;
    HWND buttons_ = nullptr;
};
