// The Help menu's windows: the ASCII table, modeless (brought to the front when already open),
// and the About box, modal.
#include "terminal/Main.h"

#include "dialogs/AboutBox.h"
#include "dialogs/AsciiTable.h"

void TForm1::ASCIITable1Click(TObject* Sender) { ASCII_tbl->Show(); }

void TForm1::HelpAboutClick(TObject* Sender) { AboutBox->ShowModal(); }
