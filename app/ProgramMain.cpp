// The program's entry: unit start-up, the application object with its title, the forms in
// order, the message loop; whatever escapes goes to the application's exception display.
#include "app/ProgramMain.h"

#include "app/LaterForms.h"
#include "framework/gui/Application.h"
#include "util/AppForms.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"

void CreateProgramForms()
{
    Application->Initialize();
    // The library's start-up: its cursors are there before any form could ask for them.
    InstallLibraryCursors();
    Application->Title = MainText::ApplicationTitle;
    Application->CreateForm(Form1);
    Application->CreateForm(frmProp);
    Application->CreateForm(AboutBox);
    Application->CreateForm(ReadmeForm);
    Application->CreateForm(frmStringEntryHelp);
    Application->CreateForm(ASCII_tbl);
    Application->CreateForm(OKBottomDlg);
    Application->CreateForm(AdvSendFile_dlg);
    Application->CreateForm(Form2);
}

int ProgramMain()
{
    try {
        CreateProgramForms();
        Application->Run();
    } catch (...) {
        Application->HandleException(Application);
    }
    return 0;
}
