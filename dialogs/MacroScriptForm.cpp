// The "Visual Scripting In Progress..." window's form data.
#include "dialogs/MacroScriptForm.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Visual Scripting In Progress...");
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetBounds(Left(), Top(), 277 + (Width() - ClientWidth()), 113 + (Height() - ClientHeight()));

    MacroScriptLbl = new TLabel(this);
    MacroScriptLbl->Name = "MacroScriptLbl";
    MacroScriptLbl->SetParent(this);
    MacroScriptLbl->SetBounds(16, 16, 245, 81);
    MacroScriptLbl->SetCaption("");

    DoCreate();
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TForm2";
}
