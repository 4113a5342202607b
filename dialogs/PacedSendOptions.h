// TAdvSendFile_dlg: the options of a special file send, asked before the file is chosen: how
// often the file is sent and how long to pause after each character. The caller shows it
// modally and then reads OkPressed, CharDelayMs and RepeatCount.
#pragma once

#include <cstdint>

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/SpinEdit.h"
#include "framework/gui/TextControls.h"

class TAdvSendFile_dlg : public TForm {
public:
    explicit TAdvSendFile_dlg(TComponent* AOwner);
    ~TAdvSendFile_dlg() override;

    TLabel *Label1, *lblChDly;
    TCSpinEdit* SendFileLoop_sedt;
    TComboBox* InterchDly_index;
    TSpeedButton *sbtnOK, *sbtn_Cancel;

    // The user left with "&Open File"; false again from each showing on.
    bool OkPressed = false;
    // The pause after each character in milliseconds, and how often the file is sent (0: until
    // stopped); both keep their values until the next confirmation.
    std::int32_t CharDelayMs = 0;
    std::int32_t RepeatCount = 1;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, char& Key);
    void sbtnOKClick(TObject* Sender);
    void sbtn_CancelClick(TObject* Sender);
    // The blank opens the closed list and closes the open one.
    void InterchDly_indexKeyPress(TObject* Sender, char& Key);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    void FormShow(TObject* Sender);
    void FitColumnsToLabels();
};

extern TAdvSendFile_dlg* AdvSendFile_dlg;
