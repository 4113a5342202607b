// The main window's side of the options dialog: opening it as its host, what it asks of the
// window (TOptionsHost), and the dialog's hidden "Show events" box that the diagnostics read.
#include "settings/PropertiesForm.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"

void TForm1::settings_spbtnClick(TObject* Sender)
{
    if (!frmProp) return;
    frmProp->SetHost(this);
    frmProp->Show();
}

std::int32_t TForm1::CurrentDisplayMode() const { return Display.DisplayMode; }

void TForm1::SetCharsPerLine(std::uint32_t Columns) { Display.CharsPerLine = Columns; }

void TForm1::ShowStringEntryPane(bool Visible)
{
    pnlStringEntry->SetVisible(Visible);
    Panel7->SetVisible(!Visible);
}

void TForm1::SaveSettingsFiles() { Save1Click(this); }

bool ShowCommEventTicked() { return frmProp && frmProp->ShowCommEvent->Checked(); }
