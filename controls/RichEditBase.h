// TRichEdit: the framework's rich edit control, kept here until the window layer has one: an
// edit over the platform's 1.0 rich edit class ("RICHEDIT" in RICHED32.DLL), whose content
// (text and formatting) survives a recreated window.
#pragma once

#include "framework/gui/TextControls.h"

class TRichEdit : public TCustomEdit {
public:
    explicit TRichEdit(TComponent* AOwner);

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // The platform's border: a sunken edge, or none.
    bool BorderVisible() const { return border_; }
    void SetBorderVisible(bool v);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    TScrollStyle scrollBars_ = ssBoth;
    bool wordWrap_ = true;
    bool border_ = true;
    // The content as RTF between DestroyWnd and the next CreateWnd.
    String savedRtf_;
    bool haveSavedRtf_ = false;
};
