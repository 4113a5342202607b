// TfrmStringEntryHelp: the small read-only help window about the escape syntax of typed data.
// It has no text of its own: whoever opens it hands it the page's RTF.
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

    // Shows the window in front with the page Rtf; a window already showing keeps the page it
    // shows and only comes to the front.
    void ShowPage(const String& Rtf);
    // Each showing loads the page afresh, caret at the start.
    void FormShow(TObject* Sender);
    void sbtnCloseClick(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    String pageRtf_;
};

extern TfrmStringEntryHelp* frmStringEntryHelp;
