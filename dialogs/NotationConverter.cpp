// The notation converter window: its form data and its handlers.
#include "dialogs/NotationConverter.h"

TOKBottomDlg* OKBottomDlg = nullptr;

namespace {

namespace ConverterText {
inline constexpr const char* Caption = "Notation Converter (32-bit)";
inline constexpr const char* DecimalLabel = "Dec:";
inline constexpr const char* HexLabel = "Hex:";
inline constexpr const char* BinaryLabel = "Bin:";
inline constexpr const char* MsbLabel = "(MSB)";
inline constexpr const char* Close = "&Close";
inline constexpr const char* DecimalHint = "Type in a decimal number to convert";
inline constexpr const char* HexHint = "Type in a hexadecimal number to convert";
inline constexpr const char* BinaryHint =
    "Type in a binary number to convert - most siginifcant bit (MSB) to the left.";
inline constexpr const char* CloseHint = "Close window";
}  // namespace ConverterText

constexpr unsigned MessageMilliseconds = 4000;

template <class T>
T* Place(TForm* Form, const char* Name, int Left, int Top, int Width, int Height)
{
    T* c = new T(Form);
    c->Name = Name;
    c->SetParent(Form);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

TLabel* PlaceLabel(TForm* Form, const char* Name, const char* Caption, int Left, int Top)
{
    TLabel* label = Place<TLabel>(Form, Name, Left, Top, 60, 13);
    label->SetCaption(Caption);
    return label;
}

TEdit* PlaceEdit(TForm* Form, const char* Name, int Top, int Width, int MaxLength, const char* Hint)
{
    TEdit* edit = Place<TEdit>(Form, Name, 44, Top, Width, 21);
    edit->SetMaxLength(MaxLength);
    edit->Hint = Hint;
    edit->ShowHint = true;
    return edit;
}

}  // namespace

TOKBottomDlg::TOKBottomDlg(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(ConverterText::Caption);
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientSize(415, 161);

    Dec = PlaceLabel(this, "Dec", ConverterText::DecimalLabel, 10, 14);
    Hex = PlaceLabel(this, "Hex", ConverterText::HexLabel, 10, 44);
    Label1 = PlaceLabel(this, "Label1", ConverterText::MsbLabel, 44, 70);
    Bin = PlaceLabel(this, "Bin", ConverterText::BinaryLabel, 10, 90);

    edt_dec = PlaceEdit(this, "edt_dec", 10, 120, TNotationConverter::DecimalMaxLength,
                        ConverterText::DecimalHint);
    edt_dec->Font()->SetName("Courier New");
    edt_dec->OnChange = Closure(this, &TOKBottomDlg::edt_decChange);
    edt_dec->OnKeyPress = Closure(this, &TOKBottomDlg::edt_decKeyPress);
    edt_hex = PlaceEdit(this, "edt_hex", 40, 120, TNotationConverter::HexMaxLength,
                        ConverterText::HexHint);
    edt_hex->OnChange = Closure(this, &TOKBottomDlg::edt_hexChange);
    edt_hex->OnKeyPress = Closure(this, &TOKBottomDlg::edt_hexKeyPress);
    edt_binary = PlaceEdit(this, "edt_binary", 86, 360, TNotationConverter::BinaryStartMaxLength,
                           ConverterText::BinaryHint);
    edt_binary->OnChange = Closure(this, &TOKBottomDlg::edt_binaryChange);
    edt_binary->OnKeyPress = Closure(this, &TOKBottomDlg::edt_binaryKeyPress);

    bin_lbl = PlaceLabel(this, "bin_lbl", "", 44, 112);
    bin_lbl->SetCaption(converter_.BinDigitsText());
    lblMsg = PlaceLabel(this, "lblMsg", "", 10, 138);
    lblMsg->Font()->SetColor(clRed);

    NotConvTmr = new TTimer(this);
    NotConvTmr->Name = "NotConvTmr";
    NotConvTmr->SetEnabled(false);
    NotConvTmr->SetInterval(MessageMilliseconds);
    NotConvTmr->OnTimer = Closure(this, &TOKBottomDlg::NotConvTmrTimer);

    sbtnClose = Place<TSpeedButton>(this, "sbtnClose", 330, 132, 75, 24);
    sbtnClose->SetCaption(ConverterText::Close);
    sbtnClose->Flat = true;
    sbtnClose->Hint = ConverterText::CloseHint;
    sbtnClose->ShowHint = true;
    sbtnClose->OnClick = Closure(this, &TOKBottomDlg::sbtnCloseClick);

    OnShow = Closure(this, &TOKBottomDlg::FormShow);
    // The converter reopens where the user left it; assigned after the form's own handlers,
    // so it chains in front of them.
    FormPlacement1 = NewRegistryPlacement(this);
    DoCreate();
}

TOKBottomDlg::~TOKBottomDlg()
{
    if (OKBottomDlg == this) OKBottomDlg = nullptr;
}

void TOKBottomDlg::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TOKBottomDlg";
}

bool TOKBottomDlg::TypedIn(TEdit* Edit) const { return !showing_ && ActiveControl() == Edit; }

void TOKBottomDlg::ShowConversion()
{
    // The edits' own change handlers are not to run again on these texts: the converter has
    // already run its edit's handler for every change it made there.
    showing_ = true;
    edt_dec->SetText(converter_.Decimal);
    edt_hex->SetText(converter_.Hexadecimal);
    edt_binary->SetText(converter_.Binary);
    showing_ = false;
    edt_binary->SetMaxLength(converter_.BinaryMaxLength);
    bin_lbl->SetCaption(converter_.BinDigitsText());
    lblMsg->SetCaption(converter_.Message);
    // A timer already running keeps its time: the message goes four seconds after the first
    // of several errors in a row.
    if (converter_.ErrorReported) NotConvTmr->SetEnabled(true);
}

void TOKBottomDlg::edt_decChange(TObject* Sender)
{
    if (!TypedIn(edt_dec)) return;
    converter_.DecimalChanged(edt_dec->Text());
    ShowConversion();
}

void TOKBottomDlg::edt_hexChange(TObject* Sender)
{
    if (!TypedIn(edt_hex)) return;
    converter_.HexChanged(edt_hex->Text());
    ShowConversion();
}

void TOKBottomDlg::edt_binaryChange(TObject* Sender)
{
    if (!TypedIn(edt_binary)) return;
    converter_.BinaryChanged(edt_binary->Text());
    ShowConversion();
}

void TOKBottomDlg::edt_decKeyPress(TObject* Sender, char& Key)
{
    if (!TNotationConverter::KeyAllowed(TNotationEdit::Decimal, Key)) Key = 0;
}

void TOKBottomDlg::edt_hexKeyPress(TObject* Sender, char& Key)
{
    if (!TNotationConverter::KeyAllowed(TNotationEdit::Hexadecimal, Key)) Key = 0;
}

void TOKBottomDlg::edt_binaryKeyPress(TObject* Sender, char& Key)
{
    if (!TNotationConverter::KeyAllowed(TNotationEdit::Binary, Key)) Key = 0;
}

void TOKBottomDlg::NotConvTmrTimer(TObject* Sender)
{
    lblMsg->SetCaption("");
    NotConvTmr->SetEnabled(false);
}

void TOKBottomDlg::FormShow(TObject* Sender) { lblMsg->SetCaption(""); }

void TOKBottomDlg::sbtnCloseClick(TObject* Sender) { Close(); }
