// Controls that show or take text: TLabel (drawn on its parent), TEdit and TMemo over the
// platform's EDIT class, TComboBox over COMBOBOX.
#pragma once

// Programmatic changes fire events as the program expects: setting an edit's or memo's text
// fires OnChange (not for an equal text); setting a combo box's ItemIndex does not.

#include "framework/StringList.h"
#include "framework/gui/Control.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v)
    {
        alignment_ = v;
        Invalidate();
    }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v)
    {
        transparent_ = v;
        Invalidate();
    }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v)
    {
        wordWrap_ = v;
        AdjustBounds();
        Invalidate();
    }
    TTextLayout Layout = tlTop;

protected:
    void Paint() override;
    void AdjustBounds();

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true, transparent_ = false, wordWrap_ = false;
};

// The edit behaviour TEdit, TMemo and the rich edit share.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    // The user changed the text since it was last set or the flag cleared.
    bool Modified();
    void SetModified(bool v);
    virtual int SelStart();
    virtual void SetSelStart(int v);
    virtual int SelLength();
    virtual void SetSelLength(int v);
    virtual String SelText();
    virtual void SetSelText(const String& v);
    void SelectAll();
    void Clear() { SetText(""); }
    // Length of the text as the control counts positions.
    int GetTextLen();
    // The selection to the clipboard, in every format the control offers.
    void CopyToClipboard();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    void SetTextValue(const String& v) override;
    bool multiLine_ = false;  // a multi-line edit (memo, rich edit)
private:
    bool changeReported_ = false;  // the window reported the text just set (EN_CHANGE)
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool modified_ = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner);
    char PasswordChar = 0;

protected:
    void CreateParams(TCreateParams& Params) override;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    // The memo's lines: a view of its text (lines end at CR LF).
    TStrings* Lines() { return lines_; }
    TScrollStyle ScrollBars = ssNone;
    bool WordWrap = true;
    bool WantReturns = true;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TStrings* lines_;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    void Dispatch(TMessage& Message) override;

    // The items, kept here and mirrored into the window.
    TStrings* Items();
    int ItemIndex();
    void SetItemIndex(int v);  // no OnChange
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v);
    int DropDownCount = 8;
    bool DroppedDown();
    void SetDroppedDown(bool v);
    void Clear();

    TNotifyEvent OnChange;  // the user chose an item or typed
    TNotifyEvent OnDropDown;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    String GetText() override;
    void SetTextValue(const String& v) override;

private:
    void FitDropDownList();
    // The selection the user changed: kept, and told (Click, OnChange).
    void SelectionChanged();
    class TComboItems;
    friend class TComboItems;
    TComboItems* items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
};
