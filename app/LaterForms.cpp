// The empty stand-ins for the windows that are not built yet.
#include "app/LaterForms.h"

TAdvSendFile_dlg* AdvSendFile_dlg = nullptr;

TPlainLaterForm::TPlainLaterForm(TComponent* AOwner, const char* WindowClass, const char* Caption)
    : TForm(AOwner),
      windowClass_(WindowClass)
{
    SetCaption(Caption);
    SetBorderStyle(bsDialog);
    DoCreate();
}

void TPlainLaterForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = windowClass_;
}
