// The View, File and Transfer menus' state as each opens, the string entry pane, line number
// and full screen toggles, the notation converter's opener, and the panes that keep their edit
// fields sized to them.
#include "dialogs/NotationConverter.h"
#include "dialogs/ReadmeForm.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"

void TForm1::NotationCon1Click(TObject* Sender) { OKBottomDlg->Show(); }

void TForm1::miStringEntryPaneClick(TObject* Sender)
{
    const bool paneVisible = !pnlStringEntry->Visible();
    pnlStringEntry->SetVisible(paneVisible);
    // Without the pane the tool bar would sit flush on the screen; the thin line parts them.
    Panel7->SetVisible(!paneVisible);
    Settings.StringEntryPaneVisible = paneVisible;
    CheckStringEntryPaneItems();
}

void TForm1::CheckStringEntryPaneItems()
{
    for (TMenuItem* item : {miStringEntryPane, PopupStringEntryPane})
        item->SetChecked(pnlStringEntry->Visible());
}

void TForm1::miLineNumbersClick(TObject* Sender)
{
    // The gutter takes its width for the screen's line count before it shows.
    RepaintGutter();
    PanelLine->SetVisible(!PanelLine->Visible());
    CheckLineNumbersItems();
    // The screen is narrower or wider by the gutter: a line width fitted to it follows.
    AdjustColumns();
}

void TForm1::CheckLineNumbersItems()
{
    for (TMenuItem* item : {miLineNumbers, PopupLineNumbers})
        item->SetChecked(PanelLine->Visible());
}

void TForm1::Fullscreen1Click(TObject* Sender)
{
    SetWindowState(WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TForm1::FileMenuClick(TObject* Sender)
{
    miFileSave->SetEnabled(reScreen->Modified());
    miFileSaveAs->SetEnabled(true);
    miFilePrint->SetEnabled(true);
}

void TForm1::View1Click(TObject* Sender)
{
    CheckStringEntryPaneItems();
    CheckLineNumbersItems();
    NotationCon1->SetChecked(OKBottomDlg && OKBottomDlg->Visible());
    UserNotes->SetChecked(ReadmeForm && ReadmeForm->Visible());
    mi_showhidemacros->SetChecked(Main_Panel->Visible());
    const char* caption =
        WindowState() == wsMaximized ? MainText::ExitFullScreen : MainText::FullScreen;
    Fullscreen1->SetCaption(caption);
    ScreenMaximiseRestore1->SetCaption(caption);
}

void TForm1::Transfer1Click(TObject* Sender)
{
    // Stop is enabled only while a string-entry send runs; a file send then would interleave.
    const bool stringSendIdle = !Stop_btn->Enabled();
    miSendFileBinary->SetEnabled(stringSendIdle);
    miSpxSendFileBinary->SetEnabled(stringSendIdle);
}

void TForm1::pnlStringEntryResize(TObject* Sender)
{
    edtSend->SetWidth(pnlStringEntry->Width() - Panel11->Width());
}

void TForm1::pnlSendResize(TObject* Sender)
{
    edtFile->SetWidth(pnlSend->Width() - Panel5->Width());
}

void TForm1::Panel5Resize(TObject* Sender)
{
    ProgressBar1->SetWidth(Panel5->Width() - (btnStopFileSend->Width() + 15));
}

void TForm1::ScrollDwn_sbtnClick(TObject* Sender) { reScreen->Perform(EM_SCROLLCARET); }
