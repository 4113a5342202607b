// The utility windows the menus open: the ASCII table and the user notes, modeless (brought
// to the front when already open), and the About box, modal.
#include "terminal/Main.h"

#include "dialogs/AboutBox.h"
#include "dialogs/AsciiTable.h"
#include "dialogs/ReadmeForm.h"

void TForm1::ASCIITable1Click(TObject* Sender) { ASCII_tbl->Show(); }

void TForm1::HelpAboutClick(TObject* Sender) { AboutBox->ShowModal(); }

void TForm1::Readme_sbtnClick(TObject* Sender) { ReadmeForm->Show(); }
