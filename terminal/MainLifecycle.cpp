// The main window's life: construction (settings from the command line's profile or the
// settings file), a profile dropped on the receive screen, the create and show handlers, the
// close questions, the close handler and the destructor.
#include "framework/FileNames.h"
#include "macros/MacroServicesWin.h"
#include "settings/Properties.h"
#include "settings/PropertiesForm.h"
#include "settings/Settings.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "terminal/StartupErrors.h"

TForm1* Form1 = nullptr;

namespace {

void ShowSettingsMessage(const String& Text) { ShowMessage(Text); }

}  // namespace

void TForm1::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TForm1";
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    // The macro list asks and tells through this program's dialogs.
    MacroTreeServices() = WindowTreeServices();
    // The window's shared state starts afresh with the window (its receive view is its own).
    Display.Reset(TDisplayReset::NewSession);
    Connection.Reset();
    Transfer.Reset();
    MacroRun.Reset();
    BuildFormData();
    DoCreate();
    FormatterHost = this;

    // The screen paints its whole area itself: erasing first only makes it flicker.
    reScreen->EraseBackground = false;
    reScreen->OnDropFiles = Closure(this, &TForm1::DropFiles);
    DragAcceptFiles(reScreen->Handle(), TRUE);
    reScreen->SetReadOnly(true);
    StatusBar1->Panels(0)->SetText(MainText::Disconnected);
    FontDialog->Font()->Assign(reScreen->Font());
    reScreen->ControlStyle << csOpaque;
    Panel3->ControlStyle << csOpaque;
    FillPortDefaults();

    if (!LoadProfileFromCommandLine()) LoadSettingsFile();

    const String profile1 = ExtractFilePath(Application->ExeName()) + "Profile1";
    InProfileDialog->FileName = profile1;
    OutProfileDialog->FileName = profile1;
    SendTimerId = 0;

    constructing_ = false;
    if (closeRequestedEarly_) PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CLOSE && constructing_) {
        closeRequestedEarly_ = true;
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_SCREENSCROLLED) {
        RestScreenOnWholeLines();
        return;
    }
    TForm::Dispatch(Message);
}

TForm1::~TForm1()
{
    // The application outlives this window: it must not call back into it.
    if (Application->OnDeactivate.Object() == this) Application->OnDeactivate = nullptr;
    if (FormatterHost == this) FormatterHost = nullptr;
    if (frmProp && frmProp->Host() == this) frmProp->SetHost(nullptr);
    if (Form1 == this) Form1 = nullptr;
    // The editor's fields go before the tree, which tells of its nodes as they are freed.
    TreeView->OnChange = nullptr;
    TreeView->OnDeletion = nullptr;
}

// ---- command line and settings file ---------------------------------------------------------

bool TForm1::LoadProfileFromCommandLine()
{
    const int count = ParamCount();
    if (count > 1) {
        ShowMessage(MainText::TooManyParameters);
        return false;
    }
    if (count == 0) return false;
    // Lower-cased before the extension test, so "PROFILE.QVP" is taken as a profile.
    const String path = LowerCase(ExpandFileName(ParamStr(1)));
    if (!FileExists(path)) {
        MessageDlg(MainText::MissingProfileHead + ExtractFileName(path) +
                       MainText::MissingProfileTail,
                   mtWarning, TMsgDlgButtons{mbOK});
        return false;
    }
    if (ExtractFileExt(path) != MainText::ProfileExtension) {
        MessageDlg(MainText::NotAProfile, mtError, TMsgDlgButtons{mbOK});
        return false;
    }
    DisconnectIfOpen();
    FileNewClick(this);
    // From here on the settings file is not read, even when the profile fails.
    LoadProfile(path);
    return true;
}

void TForm1::LoadSettingsFile()
{
    Settings.ConfigFileName = ChangeFileExt(Application->ExeName(), ".ini");
    try {
        ::LoadSettings(Settings.ConfigFileName, ShowSettingsMessage);
        ApplySettings();
    } catch (...) {
        // Start-up goes on to a usable window whatever the settings file holds.
        ReportStartupFailure(StartupFailureText(std::current_exception(), false));
    }
}

void TForm1::LoadProfile(const String& Path)
{
    try {
        Settings.ConfigFileName = Path;
        ::LoadSettings(Path, ShowSettingsMessage);
        ApplySettings();
    } catch (...) {
        ReportStartupFailure(StartupFailureText(std::current_exception(), true));
    }
}

void TForm1::DisconnectIfOpen()
{
    if (Comm1->Enabled()) Connect_spbtnClick(this);
}

// ---- a profile dropped on the receive screen ---------------------------------------------------

void TForm1::DropFiles(HDROP Drop)
{
    // The drop handle is released on every path, the refused ones included.
    struct Finish {
        HDROP drop;
        ~Finish() { DragFinish(drop); }
    } finish{Drop};

    const UINT count = DragQueryFileA(Drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 1) {
        ShowMessage(MainText::TooManyDropped);
        return;
    }
    char buffer[MAX_PATH + 1] = {};
    if (count == 0 || DragQueryFileA(Drop, 0, buffer, sizeof buffer) == 0) return;
    const String path = buffer;
    if (!FileExists(path)) return;
    // Unlike the command line, a dropped name keeps its case: ".QVP" is refused.
    if (ExtractFileExt(path) != MainText::ProfileExtension) {
        MessageDlg(MainText::DroppedWrongType, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    MessageDlg(MainText::DroppedProfile + ExtractFileName(path), mtInformation,
               TMsgDlgButtons{mbOK});
    try {
        DisconnectIfOpen();
        FileNewClick(this);
    } catch (...) {
        ReportStartupFailure(StartupFailureText(std::current_exception(), true));
        return;
    }
    LoadProfile(path);
}

// ---- create, show, close ----------------------------------------------------------------------

void TForm1::AppDeactivate(TObject* Sender) {}

void TForm1::FormCreate(TObject* Sender)
{
    Application->OnDeactivate = Closure(this, &TForm1::AppDeactivate);

    GutterCanvas = PaintBox1->Canvas();
    GutterCanvas->Brush()->SetColor(PanelLine->Color());
    GutterCanvas->Font()->Assign(reScreen->Font());
    GutterCanvas->Font()->SetColor(clBlack);
    PanelLine->SetWidth(GutterCanvas->TextWidth("ABCDEFGHIJKLMNOP") / 16 + 7);

    // Overlay 0 marks a node for deletion, overlay 1 a breakpoint.
    Tr_ImageListTreeViewIcons->Overlay(7, 0);
    Tr_ImageListTreeViewIcons->Overlay(20, 1);

    HideMacroEditor();
    ActionLoadMacrosExecute(this);
    // The list file's header has just placed the splitter, but the editor is hidden and the
    // upper part fills the pane: its height from the file waits for the editor's showing. The
    // height kept by the load's clear was taken before the header was read.
    KeepUpperPartHeightAtSplitter();
}

void TForm1::FormShow(TObject* Sender)
{
    const bool open = Comm1->Enabled();
    Connect1_mi->SetEnabled(!open);
    Disconnect1_mi->SetEnabled(open);
    if (open) {
        // Connected already (automatic connect while the settings were applied): the output
        // lamps are the program's record of RTS and DTR, which are raised, so they stay as
        // the connect left them; the input lamps are read from the port.
        LED_BRKD->SetState(false);
        RefreshModemLeds();
    } else {
        for (TLEDLabel* lamp :
             {LED_DTR, LED_RTS, LED_BRK, LED_RI, LED_CTS, LED_DCD, LED_BRKD, LED_DSR})
            lamp->SetState(false);
    }
    reScreen->SetModified(false);
}

void TForm1::FormCloseQuery(TObject* Sender, bool& CanClose)
{
    if (Comm1->Enabled()) {
        if (MessageDlg(MainText::DisconnectQuestion, mtWarning, TMsgDlgButtons{mbYes, mbNo}) ==
            mrYes) {
            Connect_spbtnClick(this);
            CanClose = true;
        } else {
            CanClose = false;
        }
        return;
    }
    if (reScreen->Modified())
        CanClose = Application->MessageBox(MainText::QuitQuestion, MainText::QuitCaption,
                                           MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TForm1::FileExitClick(TObject* Sender) { Close(); }

void TForm1::FormClose(TObject* Sender, TCloseAction& Action)
{
    stop_tbtnClick(this);
    if (Comm1->Enabled()) {
        // A line that refuses to drop must not keep the window from closing: the error is
        // shown and the port is closed all the same.
        try {
            Comm1->SetRTSState(false);
            Comm1->SetDTRState(false);
            Comm1->SetBREAKState(false);
        } catch (...) {
            Application->HandleException(this);
        }
        Comm1->Close();
    }
    ActionFileClearExecute(this);
}
