// The main window's side of the options dialog: opening it, and the dialog's hidden "Show
// events" box that the diagnostics read.
#include "settings/PropertiesForm.h"
#include "terminal/Main.h"
#include "terminal/WindowGlobals.h"

void TForm1::settings_spbtnClick(TObject* Sender)
{
    if (frmProp) frmProp->Show();
}

bool ShowCommEventTicked() { return frmProp && frmProp->ShowCommEvent->Checked(); }
