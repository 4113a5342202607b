// The About box: its form data, the frame it draws, its links through the shell seam.
#include "dialogs/AboutBox.h"

#include "dialogs/ShellCalls.h"
#include "framework/gui/Application.h"
#include "framework/gui/Screen.h"

TAboutBox* AboutBox = nullptr;

namespace {
constexpr int ClientW = 373, ClientH = 292;
constexpr int FrameWidth = 3;
const TColor FrameColour = RGB(144, 176, 223);

TLabel* NewLabel(TAboutBox* form, const char* name, int left, int top, const String& caption)
{
    auto* label = new TLabel(form);
    label->Name = name;
    label->SetParent(form);
    label->SetTransparent(true);
    label->SetBounds(left, top, 65, 17);
    label->SetCaption(caption);
    return label;
}

TSpeedButton* NewButton(TAboutBox* form, const char* name, int left, int width, const char* caption,
                        const char* hint)
{
    auto* button = new TSpeedButton(form);
    button->Name = name;
    button->SetParent(form);
    button->SetBounds(left, ClientH - 40, width, 25);
    button->SetCaption(caption);
    button->Flat = true;
    button->SetParentColor(true);
    button->Hint = hint;
    button->ShowHint = true;
    return button;
}

void MakeLink(TLabel* label)
{
    label->Font()->SetColor(clBlue);
    label->Font()->SetStyle(TFontStyles{fsUnderline});
}
}  // namespace

TAboutBox::TAboutBox(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(AboutText::Caption);
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetColor(clWhite);
    SetClientSize(ClientW, ClientH);

    logo_.LoadFromResourceName(Application->Instance(), "ABOUT_LOGO");
    Image1 = new TPaintBox(this);
    Image1->Name = "Image1";
    Image1->SetParent(this);
    Image1->SetBounds(20, 20, logo_.Width(), logo_.Height());
    Image1->OnPaint = Closure(this, &TAboutBox::Image1Paint);

    Version_lbl = NewLabel(this, "Version_lbl", 100, 28, "");
    Version_lbl->Font()->SetName("Arial");
    Version_lbl->Font()->SetSize(14);
    Version_lbl->Font()->SetStyle(TFontStyles{fsBold});
    desc_lbl = NewLabel(this, "desc_lbl", 100, 58, "");

    Label4 = NewLabel(this, "Label4", 40, 140, "Web:");
    Label10 = NewLabel(this, "Label10", 90, 140, AboutText::WebHost);
    MakeLink(Label10);
    Label10->OnClick = Closure(this, &TAboutBox::Label10Click);
    Label1 = NewLabel(this, "Label1", 40, 166, "Email:");
    Label5 = NewLabel(this, "Label5", 90, 166, AboutText::MailAddress);
    MakeLink(Label5);
    Label5->OnClick = Closure(this, &TAboutBox::Label5Click);

    sbtnSysInfo =
        NewButton(this, "sbtnSysInfo", 20, 100, "&System Info", "Show System Information");
    sbtnSysInfo->OnClick = Closure(this, &TAboutBox::sbtnSysInfoClick);
    sbtnOK = NewButton(this, "sbtnOK", ClientW - 20 - 75, 75, "&OK", "Close");
    sbtnOK->OnClick = Closure(this, &TAboutBox::sbtnOKClick);

    OnShow = Closure(this, &TAboutBox::FormShow);
    OnClose = Closure(this, &TAboutBox::FormClose);
    DoCreate();
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TAboutBox";
}

void TAboutBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(FrameColour);
    canvas->Pen()->SetWidth(FrameWidth);
    canvas->Brush()->SetStyle(bsClear);
    // A wide pen is centred on the outline: inset by its half so all of it shows.
    canvas->Rectangle(FrameWidth / 2, FrameWidth / 2, ClientWidth() - FrameWidth / 2,
                      ClientHeight() - FrameWidth / 2);
    TForm::Paint();
}

void TAboutBox::Image1Paint(TObject* Sender)
{
    TCanvas* canvas = Image1->Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    const TRect all = Rect(0, 0, logo_.Width(), logo_.Height());
    canvas->BrushCopy(all, &logo_, all, logo_.TransparentColor());
}

void TAboutBox::FormShow(TObject* Sender)
{
    Version_lbl->SetCaption(String(AboutText::ProductName) + AboutText::Version);
    desc_lbl->SetCaption(AboutText::Description);
    SetBounds(Screen->Width() / 2 - Width() / 2, Screen->Height() / 2 - Height() / 2, Width(),
              Height());
}

void TAboutBox::FormClose(TObject* Sender, TCloseAction& Action) { SetCaption(AboutText::Caption); }

void TAboutBox::sbtnOKClick(TObject* Sender) { Close(); }

void TAboutBox::OKButtonClick(TObject* Sender) { Close(); }

void TAboutBox::Label10Click(TObject* Sender)
{
    // The shell reports its own failures, if any: the box says nothing more.
    ShellExecuteRequest({Handle(), "", "http://" + Label10->Caption(), SW_SHOWNORMAL});
}

void TAboutBox::Label5Click(TObject* Sender)
{
    ShellExecuteRequest({Handle(), "", "mailto:" + Label5->Caption(), SW_SHOWNORMAL});
}

void TAboutBox::sbtnSysInfoClick(TObject* Sender)
{
    ShellExecuteRequest({Handle(), "open", AboutText::SystemInfoTool, SW_SHOWDEFAULT});
}

bool TAboutBox::OverLink()
{
    POINT p;
    if (!GetCursorPos(&p)) return false;
    const TPoint at = ScreenToClient(Point(p.x, p.y));
    for (TLabel* link : {Label10, Label5}) {
        const TRect r = link->BoundsRect();
        if (at.x >= r.Left && at.x < r.Right && at.y >= r.Top && at.y < r.Bottom) return true;
    }
    return false;
}

void TAboutBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_SETCURSOR && LOWORD(Message.LParam) == HTCLIENT && OverLink()) {
        ::SetCursor(Screen->Cursors(crHandPoint));
        Message.Result = TRUE;
        return;
    }
    TForm::Dispatch(Message);
}
