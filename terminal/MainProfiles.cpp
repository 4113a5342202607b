// Save All Settings and profiles: the port choices and the entry pane gathered into the
// settings, the settings file written with the macro list, a profile exported, and a profile
// imported into a new session.
#include "framework/FileNames.h"
#include "framework/FileReplace.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"

namespace {

void ShowSettingsMessage(const String& Text) { ShowMessage(Text); }

}  // namespace

void TForm1::GatherPortSettings()
{
    Settings.StringEntryPane = edtSend->Text();
    Settings.Port = PortIndex->Text();
    Settings.Baud = Baud->Text();
    Settings.DataBits = DataBitsBox->Text();
    Settings.Parity = ParityBox->Text();
    Settings.StopBits = StopBitsBox->Text();
}

void TForm1::Save1Click(TObject* Sender)
{
    GatherPortSettings();
    Settings.ConfigFileName = ChangeFileExt(Application->ExeName(), ".ini");
    // A settings file that cannot be written has said so; the macro list is still saved.
    ::SaveSettings(Settings.ConfigFileName, ShowSettingsMessage);
    ActionSaveMacrosExecute(Sender);
}

void TForm1::ExportProfileClick(TObject* Sender)
{
    GatherPortSettings();
    if (!OutProfileDialog->Execute()) return;
    const String file = OutProfileDialog->FileName;
    // The profile is written whole into a temporary file and renamed over the chosen one, so
    // an export that fails leaves an existing profile as it was.
    try {
        const String text = SettingsFileText();
        WriteFileReplacing(file, text.data(), text.size());
    } catch (EFCreateError&) {
        MessageDlg(MainText::ExportFailedHead + ExtractFileName(file) + MainText::ExportFailedTail,
                   mtError, TMsgDlgButtons{mbOK});
    } catch (std::exception&) {
        ShowSettingsMessage(SaveFailedMessage(file));
    }
}

void TForm1::ImportfromProfile1Click(TObject* Sender)
{
    if (!InProfileDialog->Execute()) return;
    DisconnectIfOpen();
    FileNewClick(this);
    LoadProfile(InProfileDialog->FileName);
}
