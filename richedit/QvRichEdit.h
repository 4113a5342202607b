// TQvCustomRichEdit / TQvRichEdit: the full rich text editor control (the user notes editor
// places one), over the rich edit library chosen at start-up, with formatting views, lines
// that stream rich or plain text, text modes, undo and redo, and word and position helpers.
#pragma once

// The window is the platform's rich edit ("RICHEDIT" for library version 1, "RichEdit20A"
// otherwise). Properties are cached while there is no window and applied when it is made;
// a re-created window gets the text and the modified flag back through a saved stream.

#include <memory>

#include <richedit.h>

#include "framework/Sets.h"
#include "framework/gui/CommonDialogs.h"
#include "framework/gui/RichEditInput.h"
#include "framework/gui/TextControls.h"
#include "richedit/RichEditStrings.h"
#include "richedit/TextAttributes.h"

class TMemoryStream;
class TPopupMenu;
class TRichEditOleCallback;
struct IRichEditOle;

enum TRichSelection { stText, stObject, stMultiChar, stMultiObject };
using TRichSelectionType = TSet<TRichSelection>;
enum TUndoName { unUnknown, unTyping, unDelete, unDragDrop, unCut, unPaste };
enum TRichLangOption { rlAutoKeyboard, rlAutoFont, rlImeCancelComplete, rlImeAlwaysSendNotify };
using TRichLangOptions = TSet<TRichLangOption>;
// Scoped: the framework's thin rich edit already names stWholeWord and stMatchCase.
enum class TRichSearchType { stWholeWord, stMatchCase, stBackward, stSetSelection };
using TRichSearchTypes = TSet<TRichSearchType>;

using TRichEditURLClickEvent =
    TClosure<void(TObject* Sender, const String& URLText, TMouseButton Button)>;
using TRichEditProtectChange =
    TClosure<void(TObject* Sender, int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditProtectChangeEx = TClosure<void(TObject* Sender, const TMessage& Message,
                                               int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditResizeEvent = TClosure<void(TObject* Sender, TRect& Rect)>;
using TRichEditSaveClipboard =
    TClosure<void(TObject* Sender, int NumObjects, int NumChars, bool& SaveClipboard)>;
using TRichEditFindErrorEvent = TClosure<void(TObject* Sender, const String& FindText)>;
using TRichEditFindCloseEvent = TClosure<void(TObject* Sender, TFindDialog* Dialog)>;

// What Print lays the pages out on: the printer, or any device context.
class TRichPrintTarget {
public:
    virtual ~TRichPrintTarget() = default;
    virtual HDC Handle() = 0;
    virtual int PageWidth() = 0;  // printable area, device pixels
    virtual int PageHeight() = 0;
    virtual void BeginDoc(const String& Title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
};

class TQvCustomRichEdit : public TCustomEdit {
public:
    explicit TQvCustomRichEdit(TComponent* AOwner);
    ~TQvCustomRichEdit() override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    // Conversions by file extension for every control's Lines.
    static void RegisterConversionFormat(std::string_view Extension, bool PlainText,
                                         TConversionClass ConversionClass);

    TRichEditStrings* Lines() { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }
    TRichStreamFormat StreamFormat() const { return lines_->Format; }
    void SetStreamFormat(TRichStreamFormat v) { lines_->Format = v; }
    TRichStreamModes StreamMode() const { return lines_->Mode; }
    void SetStreamMode(TRichStreamModes v) { lines_->Mode = v; }

    TQvTextAttributes* SelAttributes() { return selAttributes_.get(); }
    TQvTextAttributes* DefAttributes() { return defAttributes_.get(); }
    TQvTextAttributes* WordAttributes() { return wordAttributes_.get(); }
    TQvParaAttributes* Paragraph() { return paragraph_.get(); }
    void SetSelAttributes(TQvTextAttributes* v) { selAttributes_->Assign(v); }
    void SetDefAttributes(TQvTextAttributes* v) { defAttributes_->Assign(v); }
    void SetWordAttributes(TQvTextAttributes* v) { wordAttributes_->Assign(v); }

    // Selection and text.
    CHARRANGE GetSelection();
    void SetSelection(int StartPos, int EndPos, bool ScrollCaret);
    int SelStart() override;
    void SetSelStart(int v) override;
    int SelLength() override;
    void SetSelLength(int v) override;
    String SelText() override;
    void SetSelText(const String& v) override;
    // Copies at most BufSize - 1 characters and a terminating zero; returns the count copied.
    int GetSelTextBuf(char* Buffer, int BufSize);
    // Empty for a range that is reversed or starts before 0.
    String GetTextRange(int StartPos, int EndPos);
    TPoint GetCaretPos();
    TPoint GetCharPos(int CharIndex);
    int LineFromChar(int CharIndex);
    int GetLineIndex(int LineNo);
    int GetLineLength(int CharIndex);
    String WordAtCursor();
    TRichSelectionType GetSelectionType();
    bool CanPaste();
    bool CanRedo();
    TUndoName UndoName();
    TUndoName RedoName();
    void Undo();
    void Redo();
    void ClearUndo();
    void StopGroupTyping();
    virtual void Clear();

    // Properties with behaviour.
    bool AutoURLDetect();
    void SetAutoURLDetect(bool v);
    bool WordSelection();
    void SetWordSelection(bool v);
    TRichLangOptions LangOptions();
    void SetLangOptions(TRichLangOptions v);
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool HideScrollBars() const { return hideScrollBars_; }
    void SetHideScrollBars(bool v);
    bool SelectionBar() const { return selectionBar_; }
    void SetSelectionBar(bool v);
    bool AllowObjects() const { return allowObjects_; }
    void SetAllowObjects(bool v);
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool v) { DoSetPlainText(v); }
    // 0: the largest text the control takes (16,777,215 characters).
    void SetMaxLength(int v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // The paragraphs' alignment when the window is made, and again when the reading
    // direction changes (mirrored under a right-to-left mode that aligns).
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool WantTabs = false;
    bool WantReturns = true;
    String Title() const { return title_; }

    // Find and replace. FindText gives the position found or -1; an empty SearchStr never
    // matches (it would match in place for ever).
    int FindText(const String& SearchStr, int StartPos, int Length, TRichSearchTypes Options);
    TFindDialog* FindDialog(const String& SearchStr);
    TReplaceDialog* ReplaceDialog(const String& SearchStr, const String& ReplaceStr);
    bool CanFindNext();
    bool FindNext();
    TRichEditFindErrorEvent OnTextNotFound;
    TRichEditFindCloseEvent OnCloseFindDialog;

    // Printing: the whole text, page by page, as one job titled Caption. PrintRect is in
    // printer pixels; empty means the whole printable page.
    virtual void Print(const String& Caption);
    void PrintTo(TRichPrintTarget& Target, const String& Caption);
    TRect PrintRect;

    // Notifications.
    TNotifyEvent OnSelectionChange;
    TRichEditResizeEvent OnResizeRequest;
    TRichEditProtectChange OnProtectChange;
    TRichEditProtectChangeEx OnProtectChangeEx;
    TRichEditSaveClipboard OnSaveClipboard;
    TRichEditURLClickEvent OnURLClick;

    // Embedded objects (only with AllowObjects when the window was made).
    bool AllowInPlace = true;
    bool AutoVerbMenu = true;
    IRichEditOle* OleInterface() const { return oleInterface_; }
    TRichEditOleCallback* OleCallback() const { return oleCallback_; }
    void CloseObjects();
    bool InsertObjectDialog();
    bool PasteSpecialDialog();
    // False on a system without the dialog too (its stub answers ERROR_CALL_NOT_IMPLEMENTED,
    // left as the last error).
    bool ObjectPropertiesDialog();
    void SetTitle(const String& v);
    // The object of this control takes over (or gives up) the form's OLE user interface.
    void SetUIActive(bool Active);
    // The popup menu, with the selected object's verbs and properties when AutoVerbMenu is
    // set (a menu made here lives until the next call).
    TPopupMenu* GetPopupMenu() override;
    TPopupMenu* ObjectVerbMenu() const { return verbMenu_; }

    // Vertical logical pixels per inch of the screen, read at construction.
    int ScreenPixelsPerInch() const { return screenLogPixels_; }
    // Set by the lines while they insert or delete.
    bool LinesUpdating = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DoSetPlainText(bool Value);
    void DoSetMaxLength(int Value);
    void UpdateTextModes(bool Plain);
    virtual void TextNotFound(TFindDialog* Dialog);
    virtual void RequestSize(const TRect& Rect);
    virtual void CloseFindDialog(TFindDialog* Dialog);
    virtual void SelectionChange();
    virtual bool ProtectChange(const TMessage& Message, int StartPos, int EndPos);
    virtual bool SaveClipboard(int NumObjects, int NumChars);
    virtual void URLClick(const String& URLText, TMouseButton Button);

private:
    void ReplaceSel(TMessage& m);
    void Notify(TMessage& m);
    void LinkNotify(const ENLINK& Link);
    bool FindEditText(TFindDialog* Dialog, bool AdjustPos, bool Events);
    void SetUpDialog(TFindDialog* Dialog, const String& SearchStr);
    void MoveDialogClearOfHit(TFindDialog* Dialog);
    void DialogFind(TObject* Sender);
    void DialogReplace(TObject* Sender);
    void DialogClose(TObject* Sender);
    void UpdateHostNames();
    void ReleaseOle();
    void BiDiModeChanged(TMessage& m);
    void DocWindowActivate(TMessage& m);
    void VerbClick(TObject* Sender);
    void PropertiesClick(TObject* Sender);
    TPopupMenu* verbMenu_ = nullptr;           // owned
    TFindDialog* findDialog_ = nullptr;        // owned (a component of this control)
    TReplaceDialog* replaceDialog_ = nullptr;  // owned
    TFindDialog* lastFindDialog_ = nullptr;
    CHARRANGE clickRange_{-1, -1};
    TMouseButton clickButton_ = mbLeft;
    TRichEditOleCallback* oleCallback_ = nullptr;  // reference counted, freed last
    TRichEditInput input_;
    IRichEditOle* oleInterface_ = nullptr;
    String title_;
    void Paint(TMessage& m);
    std::unique_ptr<TQvTextAttributes> selAttributes_, defAttributes_, wordAttributes_;
    std::unique_ptr<TQvParaAttributes> paragraph_;
    std::unique_ptr<TRichEditStrings> lines_;
    std::unique_ptr<TMemoryStream> saveStream_;
    int screenLogPixels_ = 96;
    int undoLimit_ = 100;
    bool hideSelection_ = true;
    bool hideScrollBars_ = true;
    bool selectionBar_ = true;
    bool allowObjects_ = true;
    bool autoURLDetect_ = true;
    bool wordSelection_ = true;
    bool plainText_ = false;
    TRichLangOptions langOptions_{rlAutoFont};
    TScrollStyle scrollBars_ = ssBoth;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool savedModified_ = false;
};

class TQvRichEdit : public TQvCustomRichEdit {
public:
    using TQvCustomRichEdit::TQvCustomRichEdit;
};
