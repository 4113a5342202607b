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
#include "framework/gui/TextControls.h"
#include "richedit/RichEditStrings.h"
#include "richedit/TextAttributes.h"

class TMemoryStream;

enum TRichSelection { stText, stObject, stMultiChar, stMultiObject };
using TRichSelectionType = TSet<TRichSelection>;
enum TUndoName { unUnknown, unTyping, unDelete, unDragDrop, unCut, unPaste };
enum TRichLangOption { rlAutoKeyboard, rlAutoFont, rlImeCancelComplete, rlImeAlwaysSendNotify };
using TRichLangOptions = TSet<TRichLangOption>;

class TQvCustomRichEdit : public TCustomEdit {
public:
    explicit TQvCustomRichEdit(TComponent* AOwner);
    ~TQvCustomRichEdit() override;
    void Dispatch(TMessage& Message) override;

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
    bool WantTabs = false;
    bool WantReturns = true;
    String Title;

    // Vertical logical pixels per inch of the screen, read at construction.
    int ScreenPixelsPerInch() const { return screenLogPixels_; }
    // Set by the lines while they insert or delete.
    bool LinesUpdating = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DoSetPlainText(bool Value);
    void DoSetMaxLength(int Value);
    void UpdateTextModes(bool Plain);

private:
    void ReplaceSel(TMessage& m);
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
    bool savedModified_ = false;
};

class TQvRichEdit : public TQvCustomRichEdit {
public:
    using TQvCustomRichEdit::TQvCustomRichEdit;
};
