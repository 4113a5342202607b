// The platform's dialog service, and the free functions that use whichever service is
// installed.
#include "framework/gui/DialogService.h"
#include "framework/gui/GuiTexts.h"

#include "framework/gui/Application.h"
#include "framework/gui/CommonDialogs.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/Form.h"

namespace {

// Captions of the message dialogs, by kind.
const char* const DialogCaptions[] = {GuiText::WarningCaption, GuiText::ErrorCaption,
                                      GuiText::InformationCaption, GuiText::ConfirmCaption, ""};

UINT FlagsFor(TMsgDlgType type, TMsgDlgButtons b)
{
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION,
                                 0};
    UINT buttons = MB_OK;
    if (b == TMsgDlgButtons{mbYes, mbNo})
        buttons = MB_YESNO;
    else if (b == TMsgDlgButtons{mbYes, mbNo, mbCancel})
        buttons = MB_YESNOCANCEL;
    else if (b == TMsgDlgButtons{mbOK, mbCancel})
        buttons = MB_OKCANCEL;
    else if (b == TMsgDlgButtons{mbAbort, mbRetry, mbIgnore})
        buttons = MB_ABORTRETRYIGNORE;
    else if (b == TMsgDlgButtons{mbRetry, mbCancel})
        buttons = MB_RETRYCANCEL;
    return buttons | icons[type];
}

// The platform's box, owned by the window it is opened from; the scope, not the platform's task
// modality (which with an owner disables that owner alone), holds the rest of the program.
int ShowBox(const String& Text, const char* Caption, UINT Flags)
{
    TModalScope modal;
    TDialogOnTop onTop(modal.Owner());
    return ::MessageBoxA(modal.Owner(), Text.c_str(), Caption, Flags);
}

class TPlatformDialogs : public TDialogService {
public:
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) override
    {
        return ShowBox(Msg, MessageDlgCaption(DlgType), FlagsFor(DlgType, Buttons));
    }
    void ShowMessage(const String& Msg) override
    {
        ShowBox(Msg, Application->Title.c_str(), MB_OK);
    }
    int MessageBox(const String& Text, const String& Caption, UINT Flags) override
    {
        return ShowBox(Text, Caption.c_str(), Flags);
    }
    void Beep() override { ::MessageBeep(0); }
    bool Execute(TCommonDialog& Dialog) override { return Dialog.ExecutePlatform(); }
};

TPlatformDialogs platformDialogs;
TDialogService* currentService = &platformDialogs;

}  // namespace

TDialogService& DialogService() { return *currentService; }

const char* MessageDlgCaption(TMsgDlgType DlgType) { return DialogCaptions[DlgType]; }

TDialogService* SetDialogService(TDialogService* Service)
{
    TDialogService* old = currentService;
    currentService = Service ? Service : &platformDialogs;
    return old;
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    return DialogService().MessageDlg(Msg, DlgType, Buttons);
}

void ShowMessage(const String& Msg) { DialogService().ShowMessage(Msg); }

void Beep() { DialogService().Beep(); }
