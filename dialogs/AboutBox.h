// TAboutBox: the About box, shown modally from the Help menu: the product's name and version,
// what it is, links to the maker's web site and support mail, and the system information tool.
#pragma once

#include "framework/gui/ButtonControls.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"

namespace AboutText {
inline constexpr const char* Caption = "About";
inline constexpr const char* ProductName = "Quorvalink Cobalt ";
inline constexpr const char* Version = "v4.0";
inline constexpr const char* Description = "RS232 Data Analyser / Scripter";
// Fictitious on purpose: the program names no real site or mailbox.
inline constexpr const char* WebHost = "quorvalink.example.com";
inline constexpr const char* MailAddress = "support@quorvalink.example.com";
inline constexpr const char* SystemInfoTool = "msinfo32.exe";
}  // namespace AboutText

class TAboutBox : public TForm {
public:
    explicit TAboutBox(TComponent* AOwner);
    ~TAboutBox() override;

    TPaintBox* Image1;  // the logo, drawn see-through on the white form
    TLabel *Version_lbl, *desc_lbl;
    TLabel *Label4, *Label10;  // "Web:" and the web site's link
    TLabel *Label1, *Label5;   // "Email:" and the mail link
    TSpeedButton *sbtnOK, *sbtnSysInfo;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void sbtnOKClick(TObject* Sender);
    void OKButtonClick(TObject* Sender);
    void Label10Click(TObject* Sender);
    void Label5Click(TObject* Sender);
    void sbtnSysInfoClick(TObject* Sender);

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    void Image1Paint(TObject* Sender);
    // The hand cursor over the two link labels (labels have no window to set it).
    bool OverLink();
    TBitmap logo_;
};

extern TAboutBox* AboutBox;
