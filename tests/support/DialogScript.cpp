// The dialog service's test double: the queue of answers and the record of what was shown.
#include "tests/support/DialogScript.h"

#include "framework/gui/Application.h"
#include "framework/gui/CommonDialogs.h"
#include "tests/support/UserActions.h"

#include <windows.h>

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

void TDialogScript::RunQueueAsAModalBoxDoes()
{
    // Until the queue is empty: a handler run here may post more, and a real box keeps
    // handling them until the user answers. A quit is left for the loop that owns it, as a
    // modal loop leaves it.
    MSG msg;
    for (int guard = 0; guard < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
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
    // Recorded when it appears; answered, as by the user, once the queue has run (a box that
    // opens meanwhile is answered first).
    const size_t at = Record(TShownDialog{TDialogKind::MessageDlg, Msg, MessageDlgCaption(DlgType),
                                          DlgType, Buttons, 0, 0});
    RunQueueAsAModalBoxDoes();
    // A box whose only button is OK needs no answer and takes none from the queue.
    const int result =
        (Buttons == TMsgDlgButtons{mbOK} || Buttons.Empty()) ? IDOK : NextAnswer(fallback);
    shown_[at].Result = result;
    return result;
}

void TDialogScript::ShowMessage(const String& Msg)
{
    Record(TShownDialog{
        TDialogKind::ShowMessage, Msg, Application->Title, mtCustom, {mbOK}, MB_OK, IDOK});
    RunQueueAsAModalBoxDoes();
}

int TDialogScript::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    const UINT buttons = Flags & MB_TYPEMASK;
    int fallback = IDOK;
    if (buttons == MB_YESNO)
        fallback = IDNO;
    else if (buttons != MB_OK)
        fallback = IDCANCEL;
    const size_t at =
        Record(TShownDialog{TDialogKind::MessageBox, Text, Caption, mtCustom, {}, Flags, 0});
    RunQueueAsAModalBoxDoes();
    // A box whose only button is OK needs no answer and takes none from the queue.
    const int result = buttons == MB_OK ? IDOK : NextAnswer(fallback);
    shown_[at].Result = result;
    return result;
}

void TDialogScript::Beep()
{
    ++Beeps;
    shown_.push_back(TShownDialog{TDialogKind::Beep, "", "", mtCustom, {}, 0, 0});
}

bool TDialogScript::Execute(TCommonDialog& Dialog)
{
    const size_t at = Record(
        TShownDialog{TDialogKind::Common, Dialog.Title, Dialog.DialogClass(), mtCustom, {}, 0, 0});
    RunQueueAsAModalBoxDoes();
    bool ok = false;
    if (dialogAnswers_.empty()) {
        ++Unanswered;
    } else {
        auto fill = std::move(dialogAnswers_.front());
        dialogAnswers_.pop_front();
        ok = fill(Dialog);
    }
    shown_[at].Result = ok;
    return ok;
}

size_t TDialogScript::Record(const TShownDialog& Dialog)
{
    shown_.push_back(Dialog);
    return shown_.size() - 1;
}

TPlatformDialogs::TPlatformDialogs(std::function<bool(const TCommonDialog&)> Scripted)
    : scripted_(std::move(Scripted)),
      script_(*SetDialogService(nullptr)),
      platform_(DialogService())
{
    SetDialogService(this);
}

TPlatformDialogs::~TPlatformDialogs() { SetDialogService(&script_); }

int TPlatformDialogs::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    if (qv::test::InMenuLoop(GetCurrentThreadId())) ++BoxesInMenuLoop;
    return script_.MessageDlg(Msg, DlgType, Buttons);
}

void TPlatformDialogs::ShowMessage(const String& Msg) { script_.ShowMessage(Msg); }

int TPlatformDialogs::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    return script_.MessageBox(Text, Caption, Flags);
}

void TPlatformDialogs::Beep() { script_.Beep(); }

bool TPlatformDialogs::Execute(TCommonDialog& Dialog)
{
    return scripted_(Dialog) ? script_.Execute(Dialog) : platform_.Execute(Dialog);
}
