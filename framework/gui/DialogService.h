// The one replaceable service behind every dialog the program shows (message dialogs,
// ShowMessage, message boxes, Beep, common dialogs), and TDialogScript, its test double.
#pragma once

// The real service shows the platform's boxes; a test installs a TDialogScript, which records
// every box (text, caption, kind, buttons) and gives the answers the test queued, so no test
// ever waits on a modal box.

#include <deque>
#include <functional>
#include <vector>

#include <windows.h>

#include "framework/Sets.h"
#include "framework/Strings.h"

class TCommonDialog;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};

// A message dialog; returns the modal result of the button chosen (mrYes, mrNo, mrOk, ...).
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// A plain box with the text and an OK button, captioned with the application's title.
void ShowMessage(const String& Msg);
void Beep();

class TDialogService {
public:
    virtual ~TDialogService() = default;
    virtual int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) = 0;
    virtual void ShowMessage(const String& Msg) = 0;
    // The platform's MessageBox flags and results (IDOK, IDYES, ...).
    virtual int MessageBox(const String& Text, const String& Caption, UINT Flags) = 0;
    virtual void Beep() = 0;
    // Runs a common dialog (open, save, font, colour, print, printer set-up; find and
    // replace are shown modeless). True when the user confirmed.
    virtual bool Execute(TCommonDialog& Dialog) = 0;
};

TDialogService& DialogService();
// Installs a service (nullptr: the platform's again); returns the one it replaces.
TDialogService* SetDialogService(TDialogService* Service);

// What a script saw: one entry per box or dialog, in order.
enum class TDialogKind { MessageDlg, ShowMessage, MessageBox, Beep, Common };
struct TShownDialog {
    TDialogKind Kind;
    String Text;
    String Caption;  // message boxes; the class of a common dialog ("TOpenDialog")
    TMsgDlgType DlgType = mtCustom;
    TMsgDlgButtons Buttons;  // message dialogs
    UINT Flags = 0;          // message boxes
    int Result = 0;
};

// The test double. Answers are used in order by the boxes that ask a question (a box with
// OK alone takes none); a question with no answer queued gets Cancel (or No) and is counted
// in Unanswered, so a test that forgot an answer fails instead of hanging.
class TDialogScript : public TDialogService {
public:
    TDialogScript();            // installs itself
    ~TDialogScript() override;  // puts the previous service back

    // The next message box or message dialog returns Result (mrYes, IDNO, ...).
    TDialogScript& Answer(int Result);
    // The next common dialog runs Fill (which sets FileName, Font, ...) and returns its
    // result; Cancel() queues a dialog the user cancels.
    TDialogScript& AnswerDialog(std::function<bool(TCommonDialog&)> Fill);
    TDialogScript& Cancel();

    const std::vector<TShownDialog>& Shown() const { return shown_; }
    const TShownDialog& Last() const { return shown_.back(); }
    int Unanswered = 0;
    int Beeps = 0;
    void Clear()
    {
        shown_.clear();
        answers_.clear();
        dialogAnswers_.clear();
        Unanswered = 0;
        Beeps = 0;
    }

    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) override;
    void ShowMessage(const String& Msg) override;
    int MessageBox(const String& Text, const String& Caption, UINT Flags) override;
    void Beep() override;
    bool Execute(TCommonDialog& Dialog) override;

private:
    int NextAnswer(int Default);
    TDialogService* previous_;
    std::vector<TShownDialog> shown_;
    std::deque<int> answers_;
    std::deque<std::function<bool(TCommonDialog&)>> dialogAnswers_;
};
