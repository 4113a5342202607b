// TReadmeForm: the user notes editor, a small word processor on the rich text editor control
// that keeps the user's free notes in "notes.rtf" next to the program.
#pragma once

#include "framework/gui/Action.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/CommonControls.h"
#include "framework/gui/CommonDialogs.h"
#include "framework/gui/Containers.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/TextControls.h"
#include "richedit/QvRichEdit.h"

namespace NotesText {
inline constexpr const char* LoadErrorCaption = "Error loading Notes.rtf";
inline constexpr const char* LoadError =
    "Could not find file or it is being used by another program.";
inline constexpr const char* SaveErrorCaption = "Error writing to Notes.rtf";
inline constexpr const char* SaveError =
    "File may be set to \"read only\" or being used by another program.";
inline constexpr const char* BadUrl = "Bad URL or incorrect file location.";
}  // namespace NotesText

// The character set under which a font family was listed, attached to its list entry.
class TCharsetObject : public TObject {
public:
    explicit TCharsetObject(BYTE Value) : Charset(Value) {}
    BYTE Charset;
};

class TReadmeForm : public TForm {
public:
    explicit TReadmeForm(TComponent* AOwner);
    ~TReadmeForm() override;

    TPanel *Panel1, *Panel2;  // tool bar, bottom bar
    TSpeedButton *sbtnBold, *sbtnItalics, *sbtnUnderline, *BulletsButton;
    TSpeedButton *sbtnUndo, *sbtnCut, *sbtnCopy, *sbtnPaste, *sbtnFont, *sbtnFind;
    TComboBox* FontName;
    TEdit* FontSize;
    TUpDown* UpDown1;
    TQvRichEdit* RichEdit_readme;
    TSpeedButton *sbtnSave, *sbtnClose;
    TFontDialog* FontDialog_readme;
    TAction* Action1;
    TPopupMenu* UN_popup;
    TMenuItem *Undo1, *Cut1, *Copy2, *Paste1, *SelecxtAll1, *CleatAll1, *N4, *miPlaceQVP;

    // The notes file: the program's folder and "notes.rtf".
    static String NotesFileName();
    void FillFontList();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void RichEdit_readmeKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void RichEdit_readmeKeyPress(TObject* Sender, char& Key);
    void RichEdit_readmeChange(TObject* Sender);
    void RichEdit_readmeSelectionChange(TObject* Sender);
    void RichEdit_readmeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                  int Y);
    void RichEdit_readmeURLClick(TObject* Sender, const String& URLText, TMouseButton Button);
    void sbtnBoldClick(TObject* Sender);
    void sbtnItalicsClick(TObject* Sender);
    void sbtnUnderlineClick(TObject* Sender);
    void BulletsButtonClick(TObject* Sender);
    void sbtnUndoClick(TObject* Sender);
    void sbtnCutClick(TObject* Sender);
    void sbtnCopyClick(TObject* Sender);
    void sbtnPasteClick(TObject* Sender);
    void sbtnFontClick(TObject* Sender);
    void sbtnFindClick(TObject* Sender);
    void sbtnSaveClick(TObject* Sender);
    void sbtnCloseClick(TObject* Sender);
    void FontNameChange(TObject* Sender);
    void FontSizeChange(TObject* Sender);
    void FontSizeKeyPress(TObject* Sender, char& Key);
    void UN_popupPopup(TObject* Sender);
    void SelecxtAll1Click(TObject* Sender);
    void CleatAll1Click(TObject* Sender);
    void miPlaceQVPClick(TObject* Sender);
    void Copy1Click(TObject* Sender);

    // The shift state of the last key pressed down in the editor.
    TShiftState NotesShiftState;
    // True while the tool bar follows the selection: the font handlers then write nothing back.
    bool UpdatingToolbar = false;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    void ApplyStyle(TFontStyle Style, bool On);
    void ToggleStyle(TSpeedButton* Button, TFontStyle Style);
    void UpdateSaveButton();
};

extern TReadmeForm* ReadmeForm;
