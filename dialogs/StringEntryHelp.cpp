// The string entry help window: its form data and its two handlers.
#include "dialogs/StringEntryHelp.h"

TfrmStringEntryHelp* frmStringEntryHelp = nullptr;

TfrmStringEntryHelp::TfrmStringEntryHelp(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Help Screen");
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetBorderWidth(4);
    // 407 x 278 inside the inner border.
    SetClientSize(407 + 2 * BorderWidth(), 278 + 2 * BorderWidth());

    Panel1 = new TPanel(this);
    Panel1->Name = "Panel1";
    Panel1->SetParent(this);
    Panel1->SetAlign(alBottom);
    Panel1->SetHeight(30);
    Panel1->SetBevelOuter(bvNone);

    sbtnClose = new TSpeedButton(this);
    sbtnClose->Name = "sbtnClose";
    sbtnClose->SetParent(Panel1);
    sbtnClose->SetBounds(4, 3, 75, 24);
    sbtnClose->SetCaption("&Close");
    sbtnClose->Flat = true;
    sbtnClose->Hint = "Close, Exit Help";
    sbtnClose->ShowHint = true;
    sbtnClose->OnClick = Closure(this, &TfrmStringEntryHelp::sbtnCloseClick);

    STRING_ENTRY_HELP_re = new TRichEditP(this);
    STRING_ENTRY_HELP_re->Name = "STRING_ENTRY_HELP_re";
    STRING_ENTRY_HELP_re->SetParent(this);
    STRING_ENTRY_HELP_re->SetAlign(alClient);
    STRING_ENTRY_HELP_re->SetReadOnly(true);
    STRING_ENTRY_HELP_re->SetScrollBars(ssBoth);
    STRING_ENTRY_HELP_re->SetWordWrap(false);
    STRING_ENTRY_HELP_re->Font()->SetName("Courier New");

    OnShow = Closure(this, &TfrmStringEntryHelp::FormShow);
    DoCreate();
}

TfrmStringEntryHelp::~TfrmStringEntryHelp()
{
    if (frmStringEntryHelp == this) frmStringEntryHelp = nullptr;
}

void TfrmStringEntryHelp::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TfrmStringEntryHelp";
}

void TfrmStringEntryHelp::ShowPage(const String& Rtf)
{
    pageRtf_ = Rtf;
    Show();
    BringToFront();
}

void TfrmStringEntryHelp::FormShow(TObject* Sender)
{
    STRING_ENTRY_HELP_re->SetText("");
    // Nothing to paste is an empty page (the control refuses an empty stream).
    if (!pageRtf_.empty()) STRING_ENTRY_HELP_re->PutRtf(pageRtf_, true);
    STRING_ENTRY_HELP_re->SetSelStart(0);
    STRING_ENTRY_HELP_re->SetSelLength(0);
}

void TfrmStringEntryHelp::sbtnCloseClick(TObject* Sender) { Close(); }
