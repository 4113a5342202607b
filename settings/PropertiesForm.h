// TfrmProp: the options dialog. Modeless and on top of the main window; every control writes
// Settings at once, OK keeps the changes, Cancel (Esc, closing) puts back what the dialog itself
// changed since it opened, Save Settings also writes the settings and macro list files.
#pragma once

#include <cstdint>

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/SpinEdit.h"
#include "framework/gui/TextControls.h"
#include "settings/Settings.h"

class TOptionsHost;

// The texts the dialog changes as it runs.
namespace PropText {
inline constexpr const char* PortOpenNote = "Disconnect to enable option.";
inline constexpr const char* PortClosedNote = "Configure error checking option here:";
}  // namespace PropText

class TfrmProp : public TForm {
public:
    explicit TfrmProp(TComponent* AOwner);
    ~TfrmProp() override;

    // The window whose settings the dialog edits: given by that window before it shows the
    // dialog, taken back (nullptr) when it goes. Without one the dialog fills nothing in.
    TOptionsHost* Host() const { return host_; }
    void SetHost(TOptionsHost* Host) { host_ = Host; }

    TPageControl* PageControl1;
    TTabSheet *DisplaySheet, *ErrorSheet, *GeneralSheet;

    // ---- page "Display Settings" -----------------------------------------------------------
    TGroupBox *ModeFontGroup, *MatrixGroup, *FiltersGroup;
    TComboBox* Displaymode_cbx;
    TButton* btnFont;
    TLabel *FontLbl, *LinesLbl, *ColumnsLbl, *TABspace_lbl;
    TCSpinEdit *NumLines_spedt, *Col_sedt, *TabNums_sedt;
    TCheckBox *AutoColAdjustcbx, *ShowIPOnlycbx, *NewLineOnCRcbx, *NewLineOnLFcbx;

    // ---- page "Error Checking" -------------------------------------------------------------
    TLabel* Labelparitytext;
    TCheckBox* cbCheckParity;
    TLabel* lblParity;              // never visible
    TComboBox* ParityReplaceChLst;  // never visible
    // ---- page "General" --------------------------------------------------------------------
    TCheckBox *cbAutoConnectStart, *cbAutoConnect, *cbDispStringEntryPnl;
    TCheckBox* ShowCommEvent;  // never visible; the main window's diagnostics read it

    TPanel* ButtonPanel;
    TSpeedButton *sbtnSaveSettings, *sbtnOK, *sbtn_Cancel;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, char& Key);
    void sbtnOKClick(TObject* Sender);
    void sbtn_CancelClick(TObject* Sender);
    void sbtnSaveSettingsClick(TObject* Sender);
    void Displaymode_cbxChange(TObject* Sender);
    void btnFontClick(TObject* Sender);
    void NumLines_spedtChange(TObject* Sender);
    void Col_sedtChange(TObject* Sender);
    void TabNums_sedtChange(TObject* Sender);
    void NumLines_spedtClick(TObject* Sender);
    void Col_sedtClick(TObject* Sender);
    void TabNums_sedtClick(TObject* Sender);
    void NumLines_spedtKeyPress(TObject* Sender, char& Key);
    void Col_sedtKeyPress(TObject* Sender, char& Key);
    void TabNums_sedtKeyPress(TObject* Sender, char& Key);
    void ShowIPOnlycbxClick(TObject* Sender);
    void NewLineOnCRcbxClick(TObject* Sender);
    void NewLineOnLFcbxClick(TObject* Sender);
    void AutoColAdjustcbxClick(TObject* Sender);
    void cbCheckParityClick(TObject* Sender);
    void cbAutoConnectStartClick(TObject* Sender);
    void cbAutoConnectClick(TObject* Sender);
    void cbDispStringEntryPnlClick(TObject* Sender);
    void ParityReplaceChLstChange(TObject* Sender);

    // The spin edits' key filter: typed keys counted up to a limit, after which the next key
    // starts the field afresh. Each starts at 1 and lives as long as the program.
    std::int32_t ColKeyCount = 1;
    std::int32_t NumLinesKeyCount = 1;
    std::int32_t TabNumsKeyCount = 1;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TOptionsHost* host_ = nullptr;
    // What the dialog's own controls last gave each setting since it opened (a setting it has
    // not changed holds its value at the opening). Cancel puts back, from the copy taken at the
    // opening (SettingsBackup), each setting that still holds what the dialog gave it: what the
    // user changed in the main window meanwhile stays, whichever windows were activated.
    TSettings given_;
    // The controls are being filled from the settings: their handlers change nothing of the
    // dialog's own.
    bool filling_ = false;
    template <class T>
    void Given(T TSettings::*Field);
    void PutBackOwnChanges();

    void BuildDisplayPage();
    void BuildErrorPage();
    void BuildGeneralPage();
    void BuildButtons();
    void FitToCaptions();
};

extern TfrmProp* frmProp;
