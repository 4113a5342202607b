// The platform's dialog service, the test script, and the free functions that use whichever
// service is installed.
#include "framework/gui/DialogService.h"
#include "framework/gui/GuiTexts.h"

#include "framework/gui/Application.h"
#include "framework/gui/CommonDialogs.h"
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

HWND ActiveOwner()
{
    HWND h = GetActiveWindow();
    return h;
}

class TPlatformDialogs : public TDialogService {
public:
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) override
    {
        return ::MessageBoxA(ActiveOwner(), Msg.c_str(), DialogCaptions[DlgType],
                             FlagsFor(DlgType, Buttons) | MB_TASKMODAL);
    }
    void ShowMessage(const String& Msg) override
    {
        ::MessageBoxA(ActiveOwner(), Msg.c_str(), Application->Title.c_str(), MB_OK | MB_TASKMODAL);
    }
    int MessageBox(const String& Text, const String& Caption, UINT Flags) override
    {
        return ::MessageBoxA(ActiveOwner(), Text.c_str(), Caption.c_str(), Flags | MB_TASKMODAL);
    }
    void Beep() override { ::MessageBeep(0); }
    bool Execute(TCommonDialog& Dialog) override { return Dialog.ExecutePlatform(); }
};

TPlatformDialogs platformDialogs;
TDialogService* currentService = &platformDialogs;

}  // namespace

TDialogService& DialogService() { return *currentService; }

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

// ---- TDialogScript -----------------------------------------------------------------------
TDialogScript::TDialogScript() : previous_(SetDialogService(this)) {}

TDialogScript::~TDialogScript() { SetDialogService(previous_); }

TDialogScript& TDialogScript::Answer(int Result)
{
    answers_.push_back(Result);
    return *this;
}

TDialogScript& TDialogScript::AnswerDialog(std::function<bool(TCommonDialog&)> Fill)
{
    dialogAnswers_.push_back(std::move(Fill));
    return *this;
}

TDialogScript& TDialogScript::Cancel()
{
    return AnswerDialog([](TCommonDialog&) { return false; });
}

int TDialogScript::NextAnswer(int Default)
{
    if (answers_.empty()) {
        ++Unanswered;
        return Default;
    }
    int r = answers_.front();
    answers_.pop_front();
    return r;
}

int TDialogScript::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    int fallback = Buttons.Contains(mbCancel) ? IDCANCEL : Buttons.Contains(mbNo) ? IDNO : IDOK;
    TShownDialog d{TDialogKind::MessageDlg, Msg, DialogCaptions[DlgType], DlgType, Buttons, 0, 0};
    // A box whose only button is OK needs no answer and takes none from the queue.
    d.Result = (Buttons == TMsgDlgButtons{mbOK} || Buttons.Empty()) ? IDOK : NextAnswer(fallback);
    shown_.push_back(d);
    return d.Result;
}

void TDialogScript::ShowMessage(const String& Msg)
{
    shown_.push_back(TShownDialog{
        TDialogKind::ShowMessage, Msg, Application->Title, mtCustom, {mbOK}, MB_OK, IDOK});
}

int TDialogScript::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    const UINT buttons = Flags & MB_TYPEMASK;
    int fallback = IDOK;
    if (buttons == MB_YESNO)
        fallback = IDNO;
    else if (buttons != MB_OK)
        fallback = IDCANCEL;
    TShownDialog d{TDialogKind::MessageBox, Text, Caption, mtCustom, {}, Flags, 0};
    // A box whose only button is OK needs no answer and takes none from the queue.
    d.Result = buttons == MB_OK ? IDOK : NextAnswer(fallback);
    shown_.push_back(d);
    return d.Result;
}

void TDialogScript::Beep()
{
    ++Beeps;
    shown_.push_back(TShownDialog{TDialogKind::Beep, "", "", mtCustom, {}, 0, 0});
}

bool TDialogScript::Execute(TCommonDialog& Dialog)
{
    TShownDialog d{TDialogKind::Common, Dialog.Title, Dialog.DialogClass(), mtCustom, {}, 0, 0};
    bool ok = false;
    if (dialogAnswers_.empty()) {
        ++Unanswered;
    } else {
        auto fill = std::move(dialogAnswers_.front());
        dialogAnswers_.pop_front();
        ok = fill(Dialog);
    }
    d.Result = ok;
    shown_.push_back(d);
    return ok;
}
