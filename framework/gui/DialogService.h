// The one replaceable service behind every dialog the program shows (message dialogs,
// ShowMessage, message boxes, Beep, common dialogs).
#pragma once

// The real service shows the platform's boxes; a test installs its own (tests/support's
// TDialogScript), which records every box and gives the answers the test queued, so no test
// ever waits on a modal box.

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
// The caption of a message dialog of that kind ("Warning", "Error", ...; none for mtCustom).
const char* MessageDlgCaption(TMsgDlgType DlgType);
// Installs a service (nullptr: the platform's again); returns the one it replaces.
TDialogService* SetDialogService(TDialogService* Service);
