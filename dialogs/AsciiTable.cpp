// The ASCII table window: its form data and handlers.
#include "dialogs/AsciiTable.h"

#include <commctrl.h>

#include "dialogs/AsciiTableText.h"

TASCII_tbl* ASCII_tbl = nullptr;

namespace {
// Tabs light up under the mouse.
class THotTrackPageControl : public TPageControl {
public:
    using TPageControl::TPageControl;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TPageControl::CreateParams(Params);
        Params.Style |= TCS_HOTTRACK;
    }
};

TTabSheet* NewPage(TASCII_tbl* form, TPageControl* pages, const char* name, const char* caption)
{
    auto* page = new TTabSheet(form);
    page->Name = name;
    page->SetPageControl(pages);
    page->SetCaption(caption);
    return page;
}

TLabel* NewHeader(TASCII_tbl* form, TTabSheet* page, const char* name, const char* text)
{
    auto* label = new TLabel(form);
    label->Name = name;
    label->SetParent(page);
    label->SetAlign(alTop);
    label->Font()->SetName("Courier New");
    label->Font()->SetSize(10);
    label->SetCaption(text);
    return label;
}

TRichEditP* NewTable(TASCII_tbl* form, TTabSheet* page, const char* name, TPopupMenu* menu)
{
    auto* table = new TRichEditP(form);
    table->Name = name;
    table->SetParent(page);
    table->SetAlign(alClient);
    table->SetReadOnly(true);
    table->SetScrollBars(ssVertical);
    table->SetWordWrap(false);
    table->Font()->SetName("Courier New");
    table->Font()->SetSize(10);
    table->SetPopupMenu(menu);
    return table;
}

TMemo* NewDocument(TASCII_tbl* form, const char* name, const String& rtf)
{
    auto* memo = new TMemo(form);
    memo->Name = name;
    memo->SetParent(form);
    memo->SetVisible(false);
    memo->SetText(rtf);
    return memo;
}
}  // namespace

TASCII_tbl::TASCII_tbl(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("ASCII Table");
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    KeyPreview = true;
    Position = poScreenCenter;
    SetClientSize(379, 308);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->Name = "PopupMenu1";
    Copy1 = NewMenuItem(this, PopupMenu1->Items(), "Copy to Clipboard",
                        Closure(this, &TASCII_tbl::Copy1Click), ShortCut('C', TShiftState{ssCtrl}));
    Copy1->Name = "Copy1";
    SelectAll1 = NewMenuItem(this, PopupMenu1->Items(), "Select All",
                             Closure(this, &TASCII_tbl::SelectAll1Click),
                             ShortCut('A', TShiftState{ssCtrl}));
    SelectAll1->Name = "SelectAll1";

    Panel1 = new TPanel(this);
    Panel1->Name = "Panel1";
    Panel1->SetParent(this);
    Panel1->SetAlign(alBottom);
    Panel1->SetHeight(32);
    Panel1->SetBevelOuter(bvNone);

    sbtnOK = new TSpeedButton(this);
    sbtnOK->Name = "sbtnOK";
    sbtnOK->SetParent(Panel1);
    sbtnOK->SetBounds(379 - 4 - 75, 4, 75, 24);
    sbtnOK->SetCaption("&OK");
    sbtnOK->Flat = true;
    sbtnOK->Hint = "Close";
    sbtnOK->ShowHint = true;
    sbtnOK->OnClick = Closure(this, &TASCII_tbl::sbtnOKClick);

    ASCII_page_ctrl = new THotTrackPageControl(this);
    ASCII_page_ctrl->Name = "ASCII_page_ctrl";
    ASCII_page_ctrl->SetParent(this);
    ASCII_page_ctrl->SetAlign(alClient);

    TabSheet1 = NewPage(this, ASCII_page_ctrl, "TabSheet1", "Control (0-31) ");
    Label1 = NewHeader(this, TabSheet1, "Label1", AsciiControlHeader);
    ASCII_re1 = NewTable(this, TabSheet1, "ASCII_re1", PopupMenu1);
    TabSheet2 = NewPage(this, ASCII_page_ctrl, "TabSheet2", "Standard characters (32-127)");
    Label2 = NewHeader(this, TabSheet2, "Label2", AsciiStandardHeader);
    ASCII_re2 = NewTable(this, TabSheet2, "ASCII_re2", PopupMenu1);
    ASCII_page_ctrl->SetActivePage(TabSheet1);

    CTRL_TEXT_memo = NewDocument(this, "CTRL_TEXT_memo", AsciiControlTableRtf());
    STD_ASCII_TEXT_memo = NewDocument(this, "STD_ASCII_TEXT_memo", AsciiStandardTableRtf());

    OnShow = Closure(this, &TASCII_tbl::FormShow);
    OnKeyPress = Closure(this, &TASCII_tbl::FormKeyPress);

    // Built after the handlers above, in front of which it chains its restore and save.
    FormPlacement1 = NewRegistryPlacement(this);
    DoCreate();
}

TASCII_tbl::~TASCII_tbl()
{
    if (ASCII_tbl == this) ASCII_tbl = nullptr;
}

void TASCII_tbl::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.OwnClassName = "TASCII_tbl";
}

void TASCII_tbl::FormShow(TObject* Sender)
{
    for (auto [table, memo] :
         {std::pair{ASCII_re1, CTRL_TEXT_memo}, std::pair{ASCII_re2, STD_ASCII_TEXT_memo}}) {
        table->SetText("");
        table->PutRtf(memo->Text(), true);
    }
    for (TRichEditP* table : {ASCII_re1, ASCII_re2}) {
        table->SetSelStart(0);
        table->SetSelLength(0);
    }
}

void TASCII_tbl::FormKeyPress(TObject* Sender, char& Key)
{
    if (Key == 27) Close();
}

void TASCII_tbl::sbtnOKClick(TObject* Sender) { Close(); }

void TASCII_tbl::OKBtnClick(TObject* Sender) { Close(); }

TRichEditP* TASCII_tbl::ActiveTable()
{
    return ASCII_page_ctrl->ActivePage() == TabSheet2 ? ASCII_re2 : ASCII_re1;
}

void TASCII_tbl::Copy1Click(TObject* Sender) { ActiveTable()->CopyToClipboard(); }

void TASCII_tbl::SelectAll1Click(TObject* Sender) { ActiveTable()->SelectAll(); }

bool TASCII_tbl::IsShortCut(WORD Key, TShiftState Shift)
{
    if (TForm::IsShortCut(Key, Shift)) return true;
    if (TMenuItem* item = PopupMenu1->Items()->FindShortCut(ShortCut(Key, Shift))) {
        item->Click();
        return true;
    }
    return false;
}
