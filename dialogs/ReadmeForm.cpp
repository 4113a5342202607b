// The user notes editor: its form data, the notes file's load and save, the tool bar that
// follows the selection, the Ctrl shortcuts, the pop-up menu and links through the shell seam.
#include "dialogs/ReadmeForm.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "dialogs/ShellCalls.h"
#include "framework/FileNames.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"

TReadmeForm* ReadmeForm = nullptr;

namespace {
constexpr int NotesClientW = 512, NotesClientH = 400;

TSpeedButton* ToolButton(TReadmeForm* form, TWinControl* parent, const char* name, int left,
                         const char* caption, const char* hint, int width = 24)
{
    auto* button = new TSpeedButton(form);
    button->Name = name;
    button->SetParent(parent);
    button->SetBounds(left, 3, width, 24);
    button->SetCaption(caption);
    button->Flat = true;
    button->Hint = hint;
    button->ShowHint = true;
    return button;
}

// A button that stays down until clicked again.
void MakeToggle(TSpeedButton* button, int group)
{
    button->GroupIndex = group;
    button->AllowAllUp = true;
}

int CALLBACK AddFontFamilyCallback(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM List)
{
    auto* families = reinterpret_cast<std::vector<std::pair<String, BYTE>>*>(List);
    families->emplace_back(Font->lfFaceName, Font->lfCharSet);
    return 1;
}

// The leading decimal number of a text, 0 when it has none.
int LeadingNumber(const String& Text)
{
    int n = 0;
    for (char c : Text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || n > 100000) break;
        n = n * 10 + (c - '0');
    }
    return n;
}
}  // namespace

TReadmeForm::TReadmeForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("User Notes");
    SetBorderStyle(bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    // A showing that cannot load the notes file keeps the form's size: that size must already
    // hold the whole tool bar.
    SetClientSize(NotesClientW, NotesClientH);

    Panel1 = new TPanel(this);
    Panel1->Name = "Panel1";
    Panel1->SetParent(this);
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(30);
    Panel1->SetBevelOuter(bvNone);
    sbtnBold = ToolButton(this, Panel1, "sbtnBold", 4, "B", "Bold");
    MakeToggle(sbtnBold, 1);
    sbtnBold->Font()->SetStyle(TFontStyles{fsBold});
    sbtnBold->OnClick = Closure(this, &TReadmeForm::sbtnBoldClick);
    sbtnItalics = ToolButton(this, Panel1, "sbtnItalics", 28, "I", "Italic");
    MakeToggle(sbtnItalics, 2);
    sbtnItalics->Font()->SetStyle(TFontStyles{fsItalic});
    sbtnItalics->OnClick = Closure(this, &TReadmeForm::sbtnItalicsClick);
    sbtnUnderline = ToolButton(this, Panel1, "sbtnUnderline", 52, "U", "Underline");
    MakeToggle(sbtnUnderline, 3);
    sbtnUnderline->Font()->SetStyle(TFontStyles{fsUnderline});
    sbtnUnderline->OnClick = Closure(this, &TReadmeForm::sbtnUnderlineClick);
    BulletsButton = ToolButton(this, Panel1, "BulletsButton", 76, "*", "Bullets");
    MakeToggle(BulletsButton, 4);
    BulletsButton->SetVisible(false);
    BulletsButton->OnClick = Closure(this, &TReadmeForm::BulletsButtonClick);
    sbtnUndo = ToolButton(this, Panel1, "sbtnUndo", 82, "Undo", "Undo|", 38);
    sbtnUndo->OnClick = Closure(this, &TReadmeForm::sbtnUndoClick);
    sbtnCut = ToolButton(this, Panel1, "sbtnCut", 120, "Cut", "Cut|", 38);
    sbtnCut->OnClick = Closure(this, &TReadmeForm::sbtnCutClick);
    sbtnCopy = ToolButton(this, Panel1, "sbtnCopy", 158, "Copy", "Copy|", 38);
    sbtnCopy->OnClick = Closure(this, &TReadmeForm::sbtnCopyClick);
    sbtnPaste = ToolButton(this, Panel1, "sbtnPaste", 196, "Paste", "Paste|", 38);
    sbtnPaste->OnClick = Closure(this, &TReadmeForm::sbtnPasteClick);
    sbtnFont = ToolButton(this, Panel1, "sbtnFont", 238, "Font", "Font Selector|", 38);
    sbtnFont->OnClick = Closure(this, &TReadmeForm::sbtnFontClick);
    sbtnFind = ToolButton(this, Panel1, "sbtnFind", 276, "Find", "Find|", 38);
    sbtnFind->OnClick = Closure(this, &TReadmeForm::sbtnFindClick);

    FontName = new TComboBox(this);
    FontName->Name = "FontName";
    FontName->SetParent(Panel1);
    FontName->SetBounds(320, 4, 130, 22);
    FontName->Hint = "Font";
    FontName->ShowHint = true;
    FontName->OnChange = Closure(this, &TReadmeForm::FontNameChange);
    FontSize = new TEdit(this);
    FontSize->Name = "FontSize";
    FontSize->SetParent(Panel1);
    FontSize->SetBounds(454, 4, 28, 22);
    FontSize->SetMaxLength(2);
    FontSize->SetText("10");
    FontSize->Hint = "Font Size";
    FontSize->ShowHint = true;
    FontSize->OnChange = Closure(this, &TReadmeForm::FontSizeChange);
    FontSize->OnKeyPress = Closure(this, &TReadmeForm::FontSizeKeyPress);
    UpDown1 = new TUpDown(this);
    UpDown1->Name = "UpDown1";
    UpDown1->SetParent(Panel1);
    UpDown1->SetBounds(482, 4, 16, 22);
    UpDown1->Min = 6;
    UpDown1->Max = 60;
    UpDown1->Wrap = false;
    UpDown1->SetPosition(10);
    UpDown1->SetAssociate(FontSize);

    Panel2 = new TPanel(this);
    Panel2->Name = "Panel2";
    Panel2->SetParent(this);
    Panel2->SetAlign(alBottom);
    Panel2->SetHeight(30);
    Panel2->SetBevelOuter(bvNone);
    sbtnSave = ToolButton(this, Panel2, "sbtnSave", 4, "&Save", "Save Changes|", 75);
    sbtnSave->SetEnabled(false);
    sbtnSave->OnClick = Closure(this, &TReadmeForm::sbtnSaveClick);
    sbtnClose = ToolButton(this, Panel2, "sbtnClose", 84, "&Close", "Close, Exit Notes|", 75);
    sbtnClose->OnClick = Closure(this, &TReadmeForm::sbtnCloseClick);

    UN_popup = new TPopupMenu(this);
    UN_popup->Name = "UN_popup";
    // The editor's mouse-down handler places the menu itself.
    UN_popup->AutoPopup = false;
    UN_popup->OnPopup = Closure(this, &TReadmeForm::UN_popupPopup);
    TMenuItem* items = UN_popup->Items();
    Undo1 = NewMenuItem(this, items, "Undo ", Closure(this, &TReadmeForm::sbtnUndoClick));
    NewMenuItem(this, items, "-");
    Cut1 = NewMenuItem(this, items, "Cu&t ", Closure(this, &TReadmeForm::sbtnCutClick));
    Copy2 = NewMenuItem(this, items, "Copy", Closure(this, &TReadmeForm::sbtnCopyClick));
    Paste1 = NewMenuItem(this, items, "Paste ", Closure(this, &TReadmeForm::sbtnPasteClick));
    NewMenuItem(this, items, "-");
    SelecxtAll1 =
        NewMenuItem(this, items, "Select &All ", Closure(this, &TReadmeForm::SelecxtAll1Click));
    NewMenuItem(this, items, "-");
    CleatAll1 = NewMenuItem(this, items, "Clear All ", Closure(this, &TReadmeForm::CleatAll1Click));
    N4 = NewMenuItem(this, items, "-");
    miPlaceQVP = NewMenuItem(this, items, "Place In String Entry Pane",
                             Closure(this, &TReadmeForm::miPlaceQVPClick));

    RichEdit_readme = new TQvRichEdit(this);
    RichEdit_readme->Name = "RichEdit_readme";
    RichEdit_readme->SetParent(this);
    RichEdit_readme->SetAlign(alClient);
    RichEdit_readme->SetAllowObjects(false);
    RichEdit_readme->SetStreamFormat(sfRichText);
    RichEdit_readme->SetStreamMode(TRichStreamModes{smNoObjects});
    RichEdit_readme->WantTabs = true;
    RichEdit_readme->SetWordWrap(false);
    RichEdit_readme->SetHideSelection(false);
    RichEdit_readme->Font()->SetName("Courier New");
    RichEdit_readme->SetPopupMenu(UN_popup);
    RichEdit_readme->OnKeyDown = Closure(this, &TReadmeForm::RichEdit_readmeKeyDown);
    RichEdit_readme->OnKeyPress = Closure(this, &TReadmeForm::RichEdit_readmeKeyPress);
    RichEdit_readme->OnChange = Closure(this, &TReadmeForm::RichEdit_readmeChange);
    RichEdit_readme->OnSelectionChange =
        Closure(this, &TReadmeForm::RichEdit_readmeSelectionChange);
    RichEdit_readme->OnMouseDown = Closure(this, &TReadmeForm::RichEdit_readmeMouseDown);
    RichEdit_readme->OnURLClick = Closure(this, &TReadmeForm::RichEdit_readmeURLClick);

    FontDialog_readme = new TFontDialog(this);
    FontDialog_readme->Name = "FontDialog_readme";
    Action1 = new TAction(this);
    Action1->Name = "Action1";
    Action1->SetShortCut(ShortCut(VK_F3, TShiftState{}));
    Action1->OnExecute = Closure(this, &TReadmeForm::sbtnFindClick);

    OnCreate = Closure(this, &TReadmeForm::FormCreate);
    OnShow = Closure(this, &TReadmeForm::FormShow);
    OnActivate = Closure(this, &TReadmeForm::FormActivate);
    OnDestroy = Closure(this, &TReadmeForm::FormDestroy);
    DoCreate();
}

TReadmeForm::~TReadmeForm()
{
    if (ReadmeForm == this) ReadmeForm = nullptr;
}

void TReadmeForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TReadmeForm";
}

String TReadmeForm::NotesFileName() { return ExtractFilePath(ParamStr(0)) + "notes.rtf"; }

void TReadmeForm::FillFontList()
{
    std::vector<std::pair<String, BYTE>> families;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesA(screen, nullptr, reinterpret_cast<FONTENUMPROCA>(&AddFontFamilyCallback),
                      reinterpret_cast<LPARAM>(&families));
    ReleaseDC(nullptr, screen);
    // The list is sorted, as the combo box shows it, without regard to case.
    std::stable_sort(families.begin(), families.end(), [](const auto& a, const auto& b) {
        return CompareText(a.first, b.first) < 0;
    });
    for (auto& [name, charset] : families)
        FontName->Items()->AddObject(name, new TCharsetObject(charset));
}

void TReadmeForm::FormCreate(TObject* Sender)
{
    RichEdit_readme->SetModified(false);
    FillFontList();
    RichEdit_readmeSelectionChange(this);
}

void TReadmeForm::FormShow(TObject* Sender)
{
    try {
        RichEdit_readme->Lines()->LoadFromFile(NotesFileName());
    } catch (...) {
        Application->MessageBox(NotesText::LoadError, NotesText::LoadErrorCaption, MB_OK);
        return;
    }
    RichEdit_readme->SetModified(false);
    sbtnSave->SetEnabled(false);
    SetClientSize(NotesClientW, NotesClientH);
    if (TForm* main = Application->MainForm(); main && main != this)
        SetBounds(main->Left() + main->Width() / 3, main->Top(), Width(), Height());
}

void TReadmeForm::FormActivate(TObject* Sender)
{
    if (RichEdit_readme->CanFocus()) RichEdit_readme->SetFocus();
    UpdatingToolbar = true;
    FontSize->SetText(IntToStr(RichEdit_readme->SelAttributes()->Size()));
    FontName->SetText(RichEdit_readme->SelAttributes()->Name());
    UpdatingToolbar = false;
}

void TReadmeForm::FormDestroy(TObject* Sender)
{
    TStrings* entries = FontName->Items();
    for (int i = 0; i < entries->Count(); ++i) {
        delete entries->Objects(i);
        entries->SetObjectAt(i, nullptr);
    }
}

void TReadmeForm::RichEdit_readmeSelectionChange(TObject* Sender)
{
    UpdatingToolbar = true;
    const TFontStyles style = RichEdit_readme->SelAttributes()->Style();
    sbtnBold->SetDown(style.Contains(fsBold));
    sbtnItalics->SetDown(style.Contains(fsItalic));
    sbtnUnderline->SetDown(style.Contains(fsUnderline));
    BulletsButton->SetDown(RichEdit_readme->Paragraph()->Numbering() != nsNone);
    FontSize->SetText(IntToStr(RichEdit_readme->SelAttributes()->Size()));
    FontName->SetText(RichEdit_readme->SelAttributes()->Name());
    UpdatingToolbar = false;
}

void TReadmeForm::ApplyStyle(TFontStyle Style, bool On)
{
    TFontStyles styles = RichEdit_readme->SelAttributes()->Style();
    if (On)
        styles << Style;
    else
        styles >> Style;
    RichEdit_readme->SelAttributes()->SetStyle(styles);
}

void TReadmeForm::sbtnBoldClick(TObject* Sender) { ApplyStyle(fsBold, sbtnBold->Down()); }

void TReadmeForm::sbtnItalicsClick(TObject* Sender) { ApplyStyle(fsItalic, sbtnItalics->Down()); }

void TReadmeForm::sbtnUnderlineClick(TObject* Sender)
{
    ApplyStyle(fsUnderline, sbtnUnderline->Down());
}

void TReadmeForm::BulletsButtonClick(TObject* Sender)
{
    RichEdit_readme->Paragraph()->SetNumbering(BulletsButton->Down() ? nsBullet : nsNone);
}

void TReadmeForm::FontNameChange(TObject* Sender)
{
    const int index = FontName->ItemIndex();
    if (UpdatingToolbar || index < 0) return;
    if (auto* charset = dynamic_cast<TCharsetObject*>(FontName->Items()->Objects(index)))
        RichEdit_readme->SelAttributes()->SetCharset(charset->Charset);
    RichEdit_readme->SelAttributes()->SetName(FontName->Items()->Get(index));
}

void TReadmeForm::FontSizeKeyPress(TObject* Sender, char& Key)
{
    if (Key < '0' || Key > '9') Key = 0;
}

void TReadmeForm::FontSizeChange(TObject* Sender)
{
    const int n = LeadingNumber(FontSize->Text());
    if (UpdatingToolbar || n == 0) return;
    if (n < 1)
        FontSize->SetText("1");
    else if (n > 1638)
        FontSize->SetText("100");
    RichEdit_readme->SelAttributes()->SetSize(LeadingNumber(FontSize->Text()));
}

void TReadmeForm::sbtnFontClick(TObject* Sender)
{
    FontDialog_readme->Font()->Assign(RichEdit_readme->SelAttributes());
    if (FontDialog_readme->Execute())
        RichEdit_readme->SelAttributes()->Assign(FontDialog_readme->Font());
    UpdatingToolbar = true;
    FontSize->SetText(IntToStr(RichEdit_readme->SelAttributes()->Size()));
    FontName->SetText(RichEdit_readme->SelAttributes()->Name());
    UpdatingToolbar = false;
    if (RichEdit_readme->CanFocus()) RichEdit_readme->SetFocus();
    const TFontStyles chosen = FontDialog_readme->Font()->Style();
    if (chosen.Contains(fsUnderline)) ApplyStyle(fsUnderline, true);
    if (chosen.Contains(fsStrikeOut)) ApplyStyle(fsStrikeOut, true);
}

void TReadmeForm::sbtnUndoClick(TObject* Sender)
{
    if (RichEdit_readme->HandleAllocated()) RichEdit_readme->Undo();
}

void TReadmeForm::sbtnCutClick(TObject* Sender) { RichEdit_readme->Perform(WM_CUT); }

void TReadmeForm::sbtnCopyClick(TObject* Sender) { RichEdit_readme->CopyToClipboard(); }

void TReadmeForm::Copy1Click(TObject* Sender) { RichEdit_readme->CopyToClipboard(); }

void TReadmeForm::sbtnPasteClick(TObject* Sender) { RichEdit_readme->Perform(WM_PASTE); }

void TReadmeForm::SelecxtAll1Click(TObject* Sender) { RichEdit_readme->SelectAll(); }

void TReadmeForm::sbtnFindClick(TObject* Sender)
{
    RichEdit_readme->FindDialog(RichEdit_readme->SelText());
}

void TReadmeForm::CleatAll1Click(TObject* Sender)
{
    RichEdit_readme->Clear();
    sbtnSave->SetEnabled(true);
}

void TReadmeForm::UpdateSaveButton() { sbtnSave->SetEnabled(RichEdit_readme->Modified()); }

void TReadmeForm::RichEdit_readmeChange(TObject* Sender) { UpdateSaveButton(); }

void TReadmeForm::sbtnSaveClick(TObject* Sender)
{
    try {
        RichEdit_readme->Lines()->SaveToFile(NotesFileName());
    } catch (...) {
        Application->MessageBox(NotesText::SaveError, NotesText::SaveErrorCaption, MB_OK);
        return;
    }
    RichEdit_readme->SetModified(false);
    sbtnSave->SetEnabled(false);
}

void TReadmeForm::sbtnCloseClick(TObject* Sender)
{
    // Unsaved changes are dropped without a question: the next showing reloads the file.
    Close();
    RichEdit_readme->SetModified(false);
}

void TReadmeForm::RichEdit_readmeKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    NotesShiftState = Shift;
}

void TReadmeForm::ToggleStyle(TSpeedButton* Button, TFontStyle Style)
{
    Button->SetDown(!Button->Down());
    ApplyStyle(Style, Button->Down());
}

void TReadmeForm::RichEdit_readmeKeyPress(TObject* Sender, char& Key)
{
    UpdateSaveButton();
    const auto code = static_cast<unsigned char>(Key);
    if (!NotesShiftState.Contains(ssCtrl) || code >= 30) return;
    switch (code) {
    case 2: ToggleStyle(sbtnBold, fsBold); break;
    case 6: sbtnFontClick(this); break;
    case 9: ToggleStyle(sbtnItalics, fsItalic); break;
    case 19: sbtnSaveClick(this); break;
    case 21: ToggleStyle(sbtnUnderline, fsUnderline); break;
    case 27: UpDown1->SetPosition(UpDown1->Position() - 1); break;
    case 29: UpDown1->SetPosition(UpDown1->Position() + 1); break;
    default: break;
    }
    // A control byte typed with Ctrl is a shortcut or nothing: it never goes into the notes.
    Key = 0;
}

void TReadmeForm::RichEdit_readmeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                           int X, int Y)
{
    if (Button != mbRight) return;
    UN_popup->Popup(Left() + X + 5,
                    Top() + Y + (Height() - RichEdit_readme->Height() - Panel2->Height()) - 2);
}

namespace {
// The main window's string entry pane and field, found by name: the notes editor is built
// below the main window and knows it only as the application's main form.
template <class T>
T* MainWindowPart(const char* Name)
{
    TForm* main = Application->MainForm();
    return main ? dynamic_cast<T*>(main->FindComponent(Name)) : nullptr;
}
}  // namespace

void TReadmeForm::UN_popupPopup(TObject* Sender)
{
    auto* pane = MainWindowPart<TPanel>("pnlStringEntry");
    const bool canPlace = pane && pane->Visible() && RichEdit_readme->SelLength() > 0;
    miPlaceQVP->SetEnabled(canPlace);
    N4->SetEnabled(canPlace);
}

void TReadmeForm::miPlaceQVPClick(TObject* Sender)
{
    if (auto* entry = MainWindowPart<TEdit>("edtSend")) entry->SetText(RichEdit_readme->SelText());
}

void TReadmeForm::RichEdit_readmeURLClick(TObject* Sender, const String& URLText,
                                          TMouseButton Button)
{
    if (Button != mbLeft) return;
    if (ShellExecuteRequest({Handle(), "", URLText, SW_SHOWNORMAL}) <= 32)
        MessageDlg(NotesText::BadUrl, mtError, TMsgDlgButtons{mbOK});
}
