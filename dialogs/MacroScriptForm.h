// TForm2: the small stay-on-top "Visual Scripting In Progress..." window with its one label.
// Created at start-up with the other forms; no run command shows it.
#pragma once

#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner);
    ~TForm2() override;

    TLabel* MacroScriptLbl;

protected:
    void CreateParams(TCreateParams& Params) override;
};

extern TForm2* Form2;
