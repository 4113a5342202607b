// The special send's options dialog: its form data and its handlers.
#include "dialogs/PacedSendOptions.h"

#include <algorithm>
#include <initializer_list>

TAdvSendFile_dlg* AdvSendFile_dlg = nullptr;

namespace {

namespace OptionsText {
inline constexpr const char* Caption = "Special Send File - Options";
inline constexpr const char* RepeatLabel = "Repeat Send Counter";
inline constexpr const char* RepeatHint =
    "Repeat send file counter.\r\nUse a value of 0 to loop continuously.";
inline constexpr const char* DelayLabel = "Character Delay";
inline constexpr const char* DelayHint = "Select pause duration per character sent.";
inline constexpr const char* Ok = "&Open File";
inline constexpr const char* OkHint = "Open and send data from file with these options.";
inline constexpr const char* Cancel = "&Cancel";
inline constexpr const char* CancelHint = "Cancel, Exit|";
}  // namespace OptionsText

constexpr int DialogClientHeight = 97;

// The pauses offered, in milliseconds.
constexpr const char* DelayItems[] = {"0",   "10",  "20",  "30",  "40",  "50",   "60",
                                      "70",  "80",  "90",  "100", "150", "200",  "250",
                                      "300", "350", "400", "450", "500", "1000", "5000"};

template <class T>
T* Place(TForm* Form, const char* Name, int Left, int Top, int Width, int Height)
{
    T* c = new T(Form);
    c->Name = Name;
    c->SetParent(Form);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

void Hinted(TControl* c, const char* Hint)
{
    c->Hint = Hint;
    c->ShowHint = true;
}

TSpeedButton* PlaceButton(TForm* Form, const char* Name, const char* Caption, const char* Hint,
                          int Left)
{
    auto* button = Place<TSpeedButton>(Form, Name, Left, 64, 113, 25);
    button->SetCaption(Caption);
    button->Flat = true;
    Hinted(button, Hint);
    return button;
}

}  // namespace

TAdvSendFile_dlg::TAdvSendFile_dlg(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(OptionsText::Caption);
    SetBorderStyle(bsDialog);
    KeyPreview = true;
    Font()->SetName("MS Sans Serif");
    SetClientSize(249, DialogClientHeight);

    Label1 = Place<TLabel>(this, "Label1", 8, 8, 113, 13);
    Label1->SetCaption(OptionsText::RepeatLabel);
    SendFileLoop_sedt = Place<TCSpinEdit>(this, "SendFileLoop_sedt", 8, 26, 113, 22);
    SendFileLoop_sedt->MinValue = 0;
    SendFileLoop_sedt->MaxValue = 1000;
    SendFileLoop_sedt->SetValue(1);
    Hinted(SendFileLoop_sedt, OptionsText::RepeatHint);

    lblChDly = Place<TLabel>(this, "lblChDly", 128, 8, 113, 13);
    lblChDly->SetCaption(OptionsText::DelayLabel);
    InterchDly_index = Place<TComboBox>(this, "InterchDly_index", 128, 26, 113, 21);
    InterchDly_index->SetStyle(csDropDownList);
    InterchDly_index->DropDownCount = 10;
    for (const char* item : DelayItems) InterchDly_index->Items()->Add(item);
    Hinted(InterchDly_index, OptionsText::DelayHint);
    InterchDly_index->OnKeyPress = Closure(this, &TAdvSendFile_dlg::InterchDly_indexKeyPress);

    sbtnOK = PlaceButton(this, "sbtnOK", OptionsText::Ok, OptionsText::OkHint, 8);
    sbtnOK->OnClick = Closure(this, &TAdvSendFile_dlg::sbtnOKClick);
    sbtn_Cancel =
        PlaceButton(this, "sbtn_Cancel", OptionsText::Cancel, OptionsText::CancelHint, 128);
    sbtn_Cancel->OnClick = Closure(this, &TAdvSendFile_dlg::sbtn_CancelClick);
    FitColumnsToLabels();

    OnActivate = Closure(this, &TAdvSendFile_dlg::FormActivate);
    OnShow = Closure(this, &TAdvSendFile_dlg::FormShow);
    OnKeyPress = Closure(this, &TAdvSendFile_dlg::FormKeyPress);
    DoCreate();
}

TAdvSendFile_dlg::~TAdvSendFile_dlg()
{
    if (AdvSendFile_dlg == this) AdvSendFile_dlg = nullptr;
}

// The two columns are 113 pixels wide by design, but a label may take more in the fonts at
// hand ("Repeat Send Counter" would run into "Character Delay"): both columns then take the
// wider label's width, and the window grows with them.
void TAdvSendFile_dlg::FitColumnsToLabels()
{
    constexpr int margin = 8, gap = 7;
    const int column = std::max({113, Label1->Width(), lblChDly->Width()});
    const int second = margin + column + gap;
    for (TControl* c : std::initializer_list<TControl*>{SendFileLoop_sedt, sbtnOK})
        c->SetWidth(column);
    lblChDly->SetLeft(second);
    for (TControl* c : std::initializer_list<TControl*>{InterchDly_index, sbtn_Cancel})
        c->SetBounds(second, c->Top(), column, c->Height());
    SetClientSize(second + column + margin, DialogClientHeight);
}

void TAdvSendFile_dlg::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TAdvSendFile_dlg";
}

// A window shown while another program has the foreground may never be activated: the last
// confirmation must not outlive the showing all the same (or Cancel would send a file), nor
// may the list be left without a choice.
void TAdvSendFile_dlg::FormShow(TObject* Sender) { FormActivate(Sender); }

void TAdvSendFile_dlg::FormActivate(TObject* Sender)
{
    OkPressed = false;
    if (InterchDly_index->ItemIndex() < 0) InterchDly_index->SetItemIndex(0);
}

void TAdvSendFile_dlg::FormKeyPress(TObject* Sender, char& Key)
{
    if (Key == 27) Close();
}

void TAdvSendFile_dlg::sbtnOKClick(TObject* Sender)
{
    String text = InterchDly_index->Text();
    const auto unit = text.find("ms");
    if (unit != String::npos) text.erase(unit, 2);
    int delay;
    CharDelayMs = TryStrToInt(text, delay) ? delay : 1;
    // A count typed past the limits (the spin edit only corrects it on leaving) would make a
    // negative count that never runs out.
    RepeatCount = std::clamp(SendFileLoop_sedt->Value(), SendFileLoop_sedt->MinValue,
                             SendFileLoop_sedt->MaxValue);
    OkPressed = true;
    Close();
}

void TAdvSendFile_dlg::sbtn_CancelClick(TObject* Sender) { Close(); }

void TAdvSendFile_dlg::InterchDly_indexKeyPress(TObject* Sender, char& Key)
{
    if (Key != ' ') return;
    InterchDly_index->SetDroppedDown(!InterchDly_index->DroppedDown());
    Key = 0;
}
