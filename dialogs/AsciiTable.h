// TASCII_tbl: the ASCII table, a modeless reference window with the 128 codes on two pages
// (control codes, standard characters), rebuilt from the program's own text on each showing.
#pragma once

#include "controls/RichEditP.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/TextControls.h"
#include "placement/FormPlacement.h"

class TASCII_tbl : public TForm {
public:
    explicit TASCII_tbl(TComponent* AOwner);
    ~TASCII_tbl() override;

    TPageControl* ASCII_page_ctrl;
    TTabSheet *TabSheet1, *TabSheet2;
    TLabel *Label1, *Label2;
    TRichEditP *ASCII_re1, *ASCII_re2;
    TPanel* Panel1;
    TSpeedButton* sbtnOK;
    TPopupMenu* PopupMenu1;
    TMenuItem *Copy1, *SelectAll1;
    // The pages' documents, hidden (codes 0-31 and 32-127).
    TMemo *CTRL_TEXT_memo, *STD_ASCII_TEXT_memo;
    // Keeps the window where the user left it (in the registry), from its second showing on.
    TFormPlacement* FormPlacement1;

    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, char& Key);
    void sbtnOKClick(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void Copy1Click(TObject* Sender);
    void SelectAll1Click(TObject* Sender);

    // The pop-up menu's Ctrl+C and Ctrl+A work from the keyboard too.
    bool IsShortCut(WORD Key, TShiftState Shift) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TRichEditP* ActiveTable();
};

extern TASCII_tbl* ASCII_tbl;
