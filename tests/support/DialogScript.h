// TDialogScript: the dialog service's test double. Installed for its lifetime, it records every
// box and dialog the program shows and gives the answers the test queued. TPlatformDialogs: the
// platform's common dialogs in its place, for a user's hand to hold open.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "framework/gui/DialogService.h"

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
// Before it answers, every box and dialog handles the messages waiting in the thread's queue
// (posted, sent, timers due), as the platform's modal loop does while the user reads the box:
// a handler that shows one meets whatever the queue runs meanwhile, in a test as for a user.
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
    // The modal loop's share of the queue: what waits now, and what that brings in turn.
    static void RunQueueAsAModalBoxDoes();
    size_t Record(const TShownDialog& Dialog);  // its index in shown_
    TDialogService* previous_;
    std::vector<TShownDialog> shown_;
    std::deque<int> answers_;
    std::deque<std::function<bool(TCommonDialog&)>> dialogAnswers_;
};

// Installed over a script for its lifetime: the platform's common dialogs, as a user meets them,
// but those Scripted picks (a send's own file choice, say), which the script answers as it
// answers every box.
class TPlatformDialogs : public TDialogService {
public:
    explicit TPlatformDialogs(std::function<bool(const TCommonDialog&)> Scripted);
    ~TPlatformDialogs() override;  // puts the script back

    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) override;
    void ShowMessage(const String& Msg) override;
    int MessageBox(const String& Text, const String& Caption, UINT Flags) override;
    void Beep() override;
    bool Execute(TCommonDialog& Dialog) override;

    // Message dialogs that came up while a menu loop of the thread still ran.
    int BoxesInMenuLoop = 0;

private:
    std::function<bool(const TCommonDialog&)> scripted_;
    TDialogService& script_;
    TDialogService& platform_;
};
