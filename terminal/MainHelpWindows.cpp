// The Help menu's windows: the ASCII table, modeless (brought to the front when already open).
#include "terminal/Main.h"

#include "dialogs/AsciiTable.h"

void TForm1::ASCIITable1Click(TObject* Sender) { ASCII_tbl->Show(); }
