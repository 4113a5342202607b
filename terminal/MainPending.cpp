// The main window's handlers whose features are not built yet: each is wired to its control
// and does nothing until its feature is built (and moves to that feature's file).
#include "terminal/Main.h"

// ---- View, panes and menu state -------------------------------------------------------
void TForm1::NotationCon1Click(TObject* Sender) {}
void TForm1::miStringEntryPaneClick(TObject* Sender) {}
void TForm1::Fullscreen1Click(TObject* Sender) {}
void TForm1::FileMenuClick(TObject* Sender) {}
void TForm1::View1Click(TObject* Sender) {}
void TForm1::Transfer1Click(TObject* Sender) {}
void TForm1::pnlStringEntryResize(TObject* Sender) {}
void TForm1::pnlSendResize(TObject* Sender) {}
void TForm1::Panel5Resize(TObject* Sender) {}
void TForm1::ScrollDwn_sbtnClick(TObject* Sender) {}
