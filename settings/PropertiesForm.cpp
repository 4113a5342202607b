// The options dialog: its form data and its handlers, which write Settings as the user goes
// and reach the main window (its host) for the display mode, the font, the line width and the
// save.
#include "settings/PropertiesForm.h"

#include <algorithm>
#include <tuple>

#include "framework/gui/Canvas.h"
#include "framework/gui/DialogService.h"
#include "framework/win/Ownership.h"
#include "settings/OptionsHost.h"
#include "settings/Properties.h"
#include "settings/Settings.h"

TfrmProp* frmProp = nullptr;

namespace {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
         int height)
{
    T* c = new T(owner);
    c->Name = name;
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

TLabel* Label(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
              int left, int top)
{
    TLabel* l = Place<TLabel>(owner, parent, name, left, top, 0, 0);
    l->SetCaption(caption);
    return l;
}

TCheckBox* CheckBox(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
                    int left, int top, TNotifyEvent onClick)
{
    TCheckBox* c = Place<TCheckBox>(owner, parent, name, left, top, 265, 17);
    c->SetCaption(caption);
    c->OnClick = onClick;
    return c;
}

TCSpinEdit* SpinEdit(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                     int minValue, int maxValue, const char* hint)
{
    TCSpinEdit* s = Place<TCSpinEdit>(owner, parent, name, left, top, 50, 22);
    s->MinValue = minValue;
    s->MaxValue = maxValue;
    s->SetValue(minValue);
    s->Hint = hint;
    s->ShowHint = true;
    return s;
}

TSpeedButton* Button(TComponent* owner, TWinControl* parent, const char* name, const char* caption,
                     int left, TNotifyEvent onClick)
{
    TSpeedButton* b = Place<TSpeedButton>(owner, parent, name, left, 5, 88, 25);
    b->SetCaption(caption);
    b->Flat = true;
    b->OnClick = onClick;
    return b;
}

// The designed client area; the page control's frame takes 4 pixels on either side of a page.
constexpr int DesignedClientW = 301, DesignedClientH = 334;
constexpr int DesignedPageW = DesignedClientW - 8;

// The width of a control's caption in its font, the ampersands taken as the control draws them.
int CaptionWidth(TControl* Control)
{
    TBitmap scratch;
    scratch.Canvas()->Font()->Assign(Control->Font());
    return scratch.Canvas()->DrawTextExtent(Control->Caption(), DT_SINGLELINE).Width();
}

// The replacement bytes in the order of the hidden list.
constexpr char ParityReplacements[] = {'?', '#', '*', '_', '\0'};

// The value typed into a spin edit as its setting may take it. Nothing while the text is empty,
// no whole number, or below the edit's minimum: the user may be on the way to a longer number
// (the key filter empties the field as typing starts), and a setting such as the screen's line
// limit must not drop to the minimum in between. Above the maximum gives the maximum.
bool TypedValue(TCSpinEdit* Edit, std::int32_t& Value)
{
    int typed;
    if (!TryStrToInt(Trim(Edit->Text()), typed) || typed < Edit->MinValue) return false;
    Value = std::min(typed, Edit->MaxValue);
    return true;
}

// Only digits and Backspace are typed; every accepted key is counted, and the key after the
// limit empties the field first, so the field never grows past its longest value.
void FilterSpinKey(TCSpinEdit* Edit, std::int32_t& Count, std::int32_t Limit, char& Key)
{
    if (!((Key >= '0' && Key <= '9') || Key == '\b')) {
        Key = 0;
        return;
    }
    if (Count < Limit) {
        ++Count;
    } else {
        Edit->SetText("");
        Count = 0;
    }
}

// The four settings of the screen font, together.
template <class Record>
auto FontOf(Record& S)
{
    return std::tie(S.FontName, S.FontCharset, S.FontSize, S.FontStyle);
}

// Focus and the first characters selected, so that typing replaces the value.
void SelectForTyping(TCSpinEdit* Edit, int Length)
{
    Edit->SetFocus();
    Edit->SetSelStart(0);
    Edit->SetSelLength(Length);
}

}  // namespace

TfrmProp::TfrmProp(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Settings");
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    KeyPreview = true;
    Font()->SetName("MS Sans Serif");
    SetClientSize(DesignedClientW, DesignedClientH);

    BuildButtons();
    PageControl1 = new TPageControl(this);
    PageControl1->Name = "PageControl1";
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    BuildDisplayPage();
    BuildErrorPage();
    BuildGeneralPage();
    PageControl1->SetActivePage(DisplaySheet);
    FitToCaptions();

    OnShow = Closure(this, &TfrmProp::FormShow);
    OnActivate = Closure(this, &TfrmProp::FormActivate);
    OnClose = Closure(this, &TfrmProp::FormClose);
    OnKeyPress = Closure(this, &TfrmProp::FormKeyPress);
    DoCreate();
}

TfrmProp::~TfrmProp()
{
    if (frmProp == this) frmProp = nullptr;
}

void TfrmProp::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TfrmProp";
}

void TfrmProp::BuildDisplayPage()
{
    DisplaySheet = new TTabSheet(this);
    DisplaySheet->Name = "DisplaySheet";
    DisplaySheet->SetCaption("Display Settings");
    DisplaySheet->SetPageControl(PageControl1);

    // The group box draws its caption as it is: the single ampersand is the one shown.
    ModeFontGroup = Place<TGroupBox>(this, DisplaySheet, "ModeFontGroup", 8, 4, 277, 56);
    ModeFontGroup->SetCaption("Display Mode & Font");
    Displaymode_cbx = Place<TComboBox>(this, ModeFontGroup, "Displaymode_cbx", 12, 22, 190, 21);
    Displaymode_cbx->SetStyle(csDropDownList);
    Displaymode_cbx->Items()->Add("ASCII/Text");
    Displaymode_cbx->Items()->Add("Mixed (ASCII, hexadecimal)");
    Displaymode_cbx->Items()->Add("Hexadecimal");
    Displaymode_cbx->OnChange = Closure(this, &TfrmProp::Displaymode_cbxChange);
    btnFont = Place<TButton>(this, ModeFontGroup, "btnFont", 212, 21, 24, 23);
    btnFont->SetCaption("A");
    btnFont->Hint = "Click to choose the \r\ndisplay screen font";
    btnFont->ShowHint = true;
    btnFont->OnClick = Closure(this, &TfrmProp::btnFontClick);
    FontLbl = Label(this, ModeFontGroup, "FontLbl", "Font", 242, 26);

    MatrixGroup = Place<TGroupBox>(this, DisplaySheet, "MatrixGroup", 8, 66, 277, 78);
    MatrixGroup->SetCaption("Display Matrix");
    LinesLbl = Label(this, MatrixGroup, "LinesLbl", "Lines", 12, 24);
    NumLines_spedt = SpinEdit(this, MatrixGroup, "NumLines_spedt", 52, 20, MinLines, MaxLines,
                              "Set the number of lines viewable in the display matrix.\r\nInsert "
                              "an integer between 2 and 200.");
    ColumnsLbl = Label(this, MatrixGroup, "ColumnsLbl", "Columns", 128, 24);
    Col_sedt = SpinEdit(this, MatrixGroup, "Col_sedt", 180, 20, MinColumns, MaxColumns,
                        "Set the number of columns viewable in the display matrix.\r\nInsert an "
                        "integer between 4 and 90.");
    AutoColAdjustcbx =
        CheckBox(this, MatrixGroup, "AutoColAdjustcbx", "Adjust columns to screen width", 12, 52,
                 Closure(this, &TfrmProp::AutoColAdjustcbxClick));
    NumLines_spedt->OnChange = Closure(this, &TfrmProp::NumLines_spedtChange);
    NumLines_spedt->OnClick = Closure(this, &TfrmProp::NumLines_spedtClick);
    NumLines_spedt->OnKeyPress = Closure(this, &TfrmProp::NumLines_spedtKeyPress);
    Col_sedt->OnChange = Closure(this, &TfrmProp::Col_sedtChange);
    Col_sedt->OnClick = Closure(this, &TfrmProp::Col_sedtClick);
    Col_sedt->OnKeyPress = Closure(this, &TfrmProp::Col_sedtKeyPress);

    FiltersGroup = Place<TGroupBox>(this, DisplaySheet, "FiltersGroup", 8, 150, 277, 116);
    FiltersGroup->SetCaption("Filters and Conversions");
    ShowIPOnlycbx = CheckBox(this, FiltersGroup, "ShowIPOnlycbx", "Show input only", 12, 20,
                             Closure(this, &TfrmProp::ShowIPOnlycbxClick));
    NewLineOnCRcbx = CheckBox(this, FiltersGroup, "NewLineOnCRcbx", "New line on CR", 12, 40,
                              Closure(this, &TfrmProp::NewLineOnCRcbxClick));
    NewLineOnLFcbx = CheckBox(this, FiltersGroup, "NewLineOnLFcbx", "New line on LF", 12, 60,
                              Closure(this, &TfrmProp::NewLineOnLFcbxClick));
    TabNums_sedt =
        SpinEdit(this, FiltersGroup, "TabNums_sedt", 12, 84, MinSpacesForTab, MaxSpacesForTab,
                 "TAB (09h) characters are replaced with space (20h) characters\r\nfor display "
                 "in ASCII mode. Insert an integer between 1 and 40 \r\nfor the number of "
                 "spaces per TAB.");
    TabNums_sedt->OnChange = Closure(this, &TfrmProp::TabNums_sedtChange);
    TabNums_sedt->OnClick = Closure(this, &TfrmProp::TabNums_sedtClick);
    TabNums_sedt->OnKeyPress = Closure(this, &TfrmProp::TabNums_sedtKeyPress);
    TABspace_lbl = Label(this, FiltersGroup, "TABspace_lbl",
                         "TAB to spaces (\"ASCII/Text\" mode only)", 68, 88);
}

void TfrmProp::BuildErrorPage()
{
    ErrorSheet = new TTabSheet(this);
    ErrorSheet->Name = "ErrorSheet";
    ErrorSheet->SetCaption("Error Checking");
    ErrorSheet->SetPageControl(PageControl1);

    Labelparitytext = Label(this, ErrorSheet, "Labelparitytext", PropText::PortClosedNote, 12, 14);
    cbCheckParity = CheckBox(this, ErrorSheet, "cbCheckParity",
                             "Check line/parity errors (if supported by H/W drivers)", 12, 38,
                             Closure(this, &TfrmProp::cbCheckParityClick));
    lblParity = Label(this, ErrorSheet, "lblParity", "Display replacement byte on error", 28, 66);
    lblParity->SetVisible(false);
    ParityReplaceChLst = Place<TComboBox>(this, ErrorSheet, "ParityReplaceChLst", 28, 84, 120, 21);
    ParityReplaceChLst->SetStyle(csDropDownList);
    for (const char* item :
         {"? (3F hex)", "# (23 hex)", "*  (2A hex)", "_ (5F hex)", "NULL (0 hex)"})
        ParityReplaceChLst->Items()->Add(item);
    ParityReplaceChLst->OnChange = Closure(this, &TfrmProp::ParityReplaceChLstChange);
    ParityReplaceChLst->SetVisible(false);
}

void TfrmProp::BuildGeneralPage()
{
    GeneralSheet = new TTabSheet(this);
    GeneralSheet->Name = "GeneralSheet";
    GeneralSheet->SetCaption("General");
    GeneralSheet->SetPageControl(PageControl1);

    cbAutoConnectStart =
        CheckBox(this, GeneralSheet, "cbAutoConnectStart", "Automatically connect on startup", 12,
                 14, Closure(this, &TfrmProp::cbAutoConnectStartClick));
    cbAutoConnect =
        CheckBox(this, GeneralSheet, "cbAutoConnect", "Automatically connect on keypress", 12, 38,
                 Closure(this, &TfrmProp::cbAutoConnectClick));
    cbDispStringEntryPnl =
        CheckBox(this, GeneralSheet, "cbDispStringEntryPnl", "Display the string entry pane", 12,
                 62, Closure(this, &TfrmProp::cbDispStringEntryPnlClick));
    ShowCommEvent = CheckBox(this, GeneralSheet, "ShowCommEvent", "Show events", 12, 86, nullptr);
    ShowCommEvent->SetVisible(false);
}

// The design holds its captions in the fonts it was drawn with; in others a label or a check
// box may run past its group or page ("TAB to spaces ..." does). Such a check box takes its
// caption's width, and the groups and the dialog widen by the largest overrun.
void TfrmProp::FitToCaptions()
{
    constexpr int checkMark = 20, margin = 8;
    int overrun = 0;
    auto fit = [&](TWinControl* Box, int Width) {
        for (int i = 0; i < Box->ControlCount(); ++i) {
            TControl* c = Box->Controls(i);
            int needed = 0;
            if (auto* check = dynamic_cast<TCheckBox*>(c)) {
                needed = CaptionWidth(check) + checkMark;
                check->SetWidth(std::max(check->Width(), needed));
            } else if (dynamic_cast<TLabel*>(c)) {
                needed = c->Width();
            }
            if (needed) overrun = std::max(overrun, c->Left() + needed + margin - Width);
        }
    };
    for (TGroupBox* group : {ModeFontGroup, MatrixGroup, FiltersGroup}) fit(group, group->Width());
    for (TTabSheet* page : {DisplaySheet, ErrorSheet, GeneralSheet}) fit(page, DesignedPageW);
    if (overrun <= 0) return;
    for (TGroupBox* group : {ModeFontGroup, MatrixGroup, FiltersGroup})
        group->SetWidth(group->Width() + overrun);
    SetClientSize(DesignedClientW + overrun, DesignedClientH);
}

void TfrmProp::BuildButtons()
{
    ButtonPanel = new TPanel(this);
    ButtonPanel->Name = "ButtonPanel";
    ButtonPanel->SetParent(this);
    ButtonPanel->SetAlign(alBottom);
    ButtonPanel->SetHeight(36);
    ButtonPanel->SetBevelOuter(bvNone);
    sbtnSaveSettings = Button(this, ButtonPanel, "sbtnSaveSettings", "&Save Settings", 8,
                              Closure(this, &TfrmProp::sbtnSaveSettingsClick));
    sbtnOK = Button(this, ButtonPanel, "sbtnOK", "&OK", 112, Closure(this, &TfrmProp::sbtnOKClick));
    sbtn_Cancel = Button(this, ButtonPanel, "sbtn_Cancel", "&Cancel", 205,
                         Closure(this, &TfrmProp::sbtn_CancelClick));
}

// ---- activation and closing ---------------------------------------------------------------

void TfrmProp::FormShow(TObject* Sender)
{
    // The copy for Cancel is taken when the dialog opens, not at each activation: the font
    // dialog's going, a question's, the screen taking the focus as a font is applied while
    // connected, and the user's clicks all activate windows, and a copy taken at any of them
    // kept the changes made before it.
    SettingsBackup = Settings;
    given_ = Settings;
    Settings.Accepted = false;
}

void TfrmProp::FormActivate(TObject* Sender)
{
    // A visible dialog may be activated while the program ends, after the main window is gone.
    if (!host_) return;
    Settings.Accepted = false;

    // Filled from the settings as they are now, the main window's changes among them.
    TScopedFlag filling(filling_);

    cbDispStringEntryPnl->SetChecked(Settings.StringEntryPaneVisible);
    Displaymode_cbx->SetItemIndex(Settings.DisplayMode);
    TabNums_sedt->SetEnabled(Settings.DisplayMode == 0);
    TABspace_lbl->SetEnabled(Settings.DisplayMode == 0);

    NumLines_spedt->SetValue(Settings.Lines);
    Col_sedt->SetValue(Settings.Columns);
    TabNums_sedt->SetValue(Settings.SpacesForTab);
    ShowIPOnlycbx->SetChecked(Settings.ShowInputOnly);
    NewLineOnCRcbx->SetChecked(Settings.NewLineOnCR);
    NewLineOnLFcbx->SetChecked(Settings.NewLineOnLF);
    AutoColAdjustcbx->SetChecked(Settings.AutoAdjustCols);
    Col_sedt->SetEnabled(!AutoColAdjustcbx->Checked());

    cbCheckParity->SetChecked(Settings.CheckParity);

    const char* const known = std::find(std::begin(ParityReplacements),
                                        std::end(ParityReplacements), Settings.ParityReplaceCh);
    const bool badReplacement = known == std::end(ParityReplacements);
    if (badReplacement) Settings.ParityReplaceCh = ParityReplacements[0];
    ParityReplaceChLst->SetItemIndex(
        badReplacement ? 0 : static_cast<int>(known - std::begin(ParityReplacements)));
    ParityReplaceChLst->SetEnabled(cbCheckParity->Checked());
    lblParity->SetEnabled(cbCheckParity->Checked());

    if (host_->PortEnabled()) {
        cbCheckParity->SetEnabled(false);
        ParityReplaceChLst->SetEnabled(false);
        lblParity->SetEnabled(false);
        Labelparitytext->SetCaption(PropText::PortOpenNote);
        Labelparitytext->Font()->SetColor(clRed);
    } else {
        cbCheckParity->SetEnabled(true);
        Labelparitytext->SetCaption(PropText::PortClosedNote);
        Labelparitytext->Font()->SetColor(clBlack);
    }

    cbAutoConnect->SetChecked(Settings.AutoConnectOnKeypress);
    cbAutoConnectStart->SetChecked(Settings.AutoConnectOnStart);

    // The bad byte is now the default, so the message comes once per loaded file.
    if (badReplacement) ShowMessage(BadSettingsMessage(Settings.ConfigFileName));
}

template <class T>
void TfrmProp::Given(T TSettings::*Field)
{
    if (!filling_) given_.*Field = Settings.*Field;
}

void TfrmProp::PutBackOwnChanges()
{
    auto putBack = [this](auto Field) {
        if (Settings.*Field == given_.*Field) Settings.*Field = SettingsBackup.*Field;
    };
    putBack(&TSettings::Lines);
    putBack(&TSettings::Columns);
    putBack(&TSettings::SpacesForTab);
    putBack(&TSettings::DisplayMode);
    putBack(&TSettings::ShowInputOnly);
    putBack(&TSettings::NewLineOnCR);
    putBack(&TSettings::NewLineOnLF);
    putBack(&TSettings::AutoAdjustCols);
    putBack(&TSettings::CheckParity);
    putBack(&TSettings::AutoConnectOnKeypress);
    putBack(&TSettings::AutoConnectOnStart);
    putBack(&TSettings::StringEntryPaneVisible);
    // The font as one: a font the user chose in the main window after the dialog's stays whole.
    if (FontOf(Settings) == FontOf(given_)) FontOf(Settings) = FontOf(SettingsBackup);
}

void TfrmProp::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (Settings.Accepted || !host_) return;
    // The display mode and the entry pane's visibility stay as they are on the main window.
    PutBackOwnChanges();
    host_->SetCharsPerLine(static_cast<std::uint32_t>(Settings.Columns));
    host_->ApplyScreenFont(false);
}

void TfrmProp::FormKeyPress(TObject* Sender, char& Key)
{
    if (Key != 27) return;
    Key = 0;
    sbtn_CancelClick(Sender);
}

void TfrmProp::sbtnOKClick(TObject* Sender)
{
    Settings.Accepted = true;
    Close();
}

void TfrmProp::sbtn_CancelClick(TObject* Sender)
{
    Settings.Accepted = false;
    Close();
}

void TfrmProp::sbtnSaveSettingsClick(TObject* Sender)
{
    Settings.Accepted = true;
    SettingsBackup = Settings;
    given_ = Settings;
    sbtnSaveSettings->SetEnabled(false);
    host_->SaveSettingsFiles();
    // The disabled button is the user's sign that the files were written.
    Sleep(350);
    sbtnSaveSettings->SetEnabled(true);
    Close();
}

// ---- display mode and font ----------------------------------------------------------------

void TfrmProp::Displaymode_cbxChange(TObject* Sender)
{
    const int mode = Displaymode_cbx->ItemIndex();
    if (mode >= 0 && mode <= 2) host_->SwitchDisplayMode(mode);
    // The list shows the mode in force: the chosen one, or the old one when the user declined.
    // (A return from the mode question may activate the dialog again and refill the list.)
    Displaymode_cbx->SetItemIndex(host_->CurrentDisplayMode());
    Settings.DisplayMode = host_->CurrentDisplayMode();
    Given(&TSettings::DisplayMode);
    TabNums_sedt->SetEnabled(Settings.DisplayMode == 0);
    TABspace_lbl->SetEnabled(Settings.DisplayMode == 0);
}

void TfrmProp::btnFontClick(TObject* Sender)
{
    // Only a font chosen here is the dialog's: the main window stays usable while the font
    // dialog is up, and what the user does there meanwhile is not.
    const TSettings before = Settings;
    host_->ApplyScreenFont(true);
    if (FontOf(Settings) == FontOf(before)) return;
    Given(&TSettings::FontName);
    Given(&TSettings::FontCharset);
    Given(&TSettings::FontSize);
    Given(&TSettings::FontStyle);
}

// ---- spin edits -----------------------------------------------------------------------------

void TfrmProp::NumLines_spedtChange(TObject* Sender)
{
    if (TypedValue(NumLines_spedt, Settings.Lines)) Given(&TSettings::Lines);
}

void TfrmProp::Col_sedtChange(TObject* Sender)
{
    if (!TypedValue(Col_sedt, Settings.Columns)) return;
    Given(&TSettings::Columns);
    host_->SetCharsPerLine(static_cast<std::uint32_t>(Settings.Columns));
}

void TfrmProp::TabNums_sedtChange(TObject* Sender)
{
    if (TypedValue(TabNums_sedt, Settings.SpacesForTab)) Given(&TSettings::SpacesForTab);
}

void TfrmProp::NumLines_spedtClick(TObject* Sender) { SelectForTyping(NumLines_spedt, 3); }
void TfrmProp::Col_sedtClick(TObject* Sender) { SelectForTyping(Col_sedt, 2); }
void TfrmProp::TabNums_sedtClick(TObject* Sender) { SelectForTyping(TabNums_sedt, 2); }

void TfrmProp::NumLines_spedtKeyPress(TObject* Sender, char& Key)
{
    FilterSpinKey(NumLines_spedt, NumLinesKeyCount, 2, Key);
}

void TfrmProp::Col_sedtKeyPress(TObject* Sender, char& Key)
{
    FilterSpinKey(Col_sedt, ColKeyCount, 1, Key);
}

void TfrmProp::TabNums_sedtKeyPress(TObject* Sender, char& Key)
{
    FilterSpinKey(TabNums_sedt, TabNumsKeyCount, 1, Key);
}

// ---- check boxes ----------------------------------------------------------------------------

void TfrmProp::ShowIPOnlycbxClick(TObject* Sender)
{
    Settings.ShowInputOnly = ShowIPOnlycbx->Checked();
    Given(&TSettings::ShowInputOnly);
}

void TfrmProp::NewLineOnCRcbxClick(TObject* Sender)
{
    Settings.NewLineOnCR = NewLineOnCRcbx->Checked();
    Given(&TSettings::NewLineOnCR);
}

void TfrmProp::NewLineOnLFcbxClick(TObject* Sender)
{
    Settings.NewLineOnLF = NewLineOnLFcbx->Checked();
    Given(&TSettings::NewLineOnLF);
}

void TfrmProp::AutoColAdjustcbxClick(TObject* Sender)
{
    Settings.AutoAdjustCols = AutoColAdjustcbx->Checked();
    Given(&TSettings::AutoAdjustCols);
    if (Settings.AutoAdjustCols) {
        host_->AdjustColumns();
        Given(&TSettings::Columns);
    }
    Col_sedt->SetEnabled(!Settings.AutoAdjustCols);
}

void TfrmProp::cbCheckParityClick(TObject* Sender)
{
    Settings.CheckParity = cbCheckParity->Checked();
    Given(&TSettings::CheckParity);
    ParityReplaceChLst->SetEnabled(Settings.CheckParity);
    lblParity->SetEnabled(Settings.CheckParity);
}

void TfrmProp::cbAutoConnectStartClick(TObject* Sender)
{
    Settings.AutoConnectOnStart = cbAutoConnectStart->Checked();
    Given(&TSettings::AutoConnectOnStart);
}

void TfrmProp::cbAutoConnectClick(TObject* Sender)
{
    Settings.AutoConnectOnKeypress = cbAutoConnect->Checked();
    Given(&TSettings::AutoConnectOnKeypress);
}

void TfrmProp::cbDispStringEntryPnlClick(TObject* Sender)
{
    Settings.StringEntryPaneVisible = cbDispStringEntryPnl->Checked();
    Given(&TSettings::StringEntryPaneVisible);
    host_->ShowStringEntryPane(Settings.StringEntryPaneVisible);
}

// Choosing a replacement byte is not offered: the list only shows the setting.
void TfrmProp::ParityReplaceChLstChange(TObject* Sender) {}
