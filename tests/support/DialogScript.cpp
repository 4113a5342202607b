// The dialog service's test double: the queue of answers and the record of what was shown.
#include "tests/support/DialogScript.h"

#include "framework/gui/Application.h"
#include "framework/gui/CommonDialogs.h"

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
    TShownDialog d{
        TDialogKind::MessageDlg, Msg, MessageDlgCaption(DlgType), DlgType, Buttons, 0, 0};
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
