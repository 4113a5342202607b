// TOKBottomDlg: the notation converter window. One unsigned 32-bit number in decimal,
// hexadecimal and grouped binary edits, each converted into the other two as the user types
// (the logic is TNotationConverter's); errors are shown in red for four seconds.
#pragma once

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "framework/gui/Timer.h"
#include "placement/FormPlacement.h"
#include "util/NotationModel.h"

class TOKBottomDlg : public TForm {
public:
    explicit TOKBottomDlg(TComponent* AOwner);
    ~TOKBottomDlg() override;

    TLabel *Dec, *Hex, *Bin, *Label1, *bin_lbl, *lblMsg;
    TEdit *edt_dec, *edt_hex, *edt_binary;
    TTimer* NotConvTmr;
    TSpeedButton* sbtnClose;
    TFormPlacement* FormPlacement1;

    // Each works only while its own edit is the one typed in: the texts this window puts into
    // the other edits convert nothing.
    void edt_decChange(TObject* Sender);
    void edt_hexChange(TObject* Sender);
    void edt_binaryChange(TObject* Sender);
    void edt_decKeyPress(TObject* Sender, char& Key);
    void edt_hexKeyPress(TObject* Sender, char& Key);
    void edt_binaryKeyPress(TObject* Sender, char& Key);
    void NotConvTmrTimer(TObject* Sender);
    void FormShow(TObject* Sender);
    void sbtnCloseClick(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    bool TypedIn(TEdit* Edit) const;
    // The converter's texts into the three edits and the two labels.
    void ShowConversion();

    TNotationConverter converter_;
    bool showing_ = false;
};

extern TOKBottomDlg* OKBottomDlg;
