// TfrmStringEntryHelp: the small read-only help window about the escape syntax of typed data.
// It has no text of its own: whoever opens it first puts the page's RTF into HelpScreenRtf.
#pragma once

#include "controls/RichEditP.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"

class TfrmStringEntryHelp : public TForm {
public:
    explicit TfrmStringEntryHelp(TComponent* AOwner);
    ~TfrmStringEntryHelp() override;

    TRichEditP* STRING_ENTRY_HELP_re;
    TPanel* Panel1;
    TSpeedButton* sbtnClose;

    // Each showing loads HelpScreenRtf afresh, caret at the start.
    void FormShow(TObject* Sender);
    void sbtnCloseClick(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
};

extern TfrmStringEntryHelp* frmStringEntryHelp;
