// The common dialogs as components: open and save file, font, colour, find and replace,
// print and printer set-up. Execute goes through the dialog service (so tests script them).
#pragma once

#include <windows.h>
#include <commdlg.h>
// The platform's headers make FindText and ReplaceText macros (for FindTextA/W); here they
// are the dialogs' texts.
#undef FindText
#undef ReplaceText

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/Sets.h"
#include "framework/gui/Canvas.h"

class TCommonDialog : public TComponent {
public:
    using TComponent::TComponent;
    // True when the user confirmed (find and replace: shown, modeless).
    virtual bool Execute();
    // The class name tests and the service tell dialogs apart by.
    virtual const char* DialogClass() const = 0;
    // Runs the platform's dialog (the real service calls this).
    virtual bool ExecutePlatform() = 0;
    String Title;
};

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofNoReadOnlyReturn,
    ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const char* DialogClass() const override { return "TOpenDialog"; }
    bool ExecutePlatform() override;
    String FileName;
    // "Text files (*.txt)|*.txt|All files|*.*": description and pattern pairs.
    String Filter;
    int FilterIndex = 1;
    String DefaultExt;
    String InitialDir;
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};

protected:
    bool Run(bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    const char* DialogClass() const override { return "TSaveDialog"; }
    bool ExecutePlatform() override;
};

class TFontDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const char* DialogClass() const override { return "TFontDialog"; }
    bool ExecutePlatform() override;
    TFont* Font() { return &font_; }
    // The point sizes the dialog offers and accepts; MaxFontSize 0: any size.
    int MinFontSize = 0;
    int MaxFontSize = 0;

private:
    TFont font_;
};

class TColorDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const char* DialogClass() const override { return "TColorDialog"; }
    bool ExecutePlatform() override;
    TColor Color = clBlack;
};

enum TFindOption {
    frDown,
    frFindNext,
    frHideMatchCase,
    frHideWholeWord,
    frHideUpDown,
    frMatchCase,
    frDisableMatchCase,
    frDisableUpDown,
    frDisableWholeWord,
    frReplace,
    frReplaceAll,
    frWholeWord
};
using TFindOptions = TSet<TFindOption>;

// Modeless: Execute shows the dialog and returns; the Find button fires OnFind (tests call
// DoFind after setting FindText and Options).
class TFindDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    ~TFindDialog() override;
    const char* DialogClass() const override { return "TFindDialog"; }
    bool ExecutePlatform() override;
    void CloseDialog();
    HWND Handle() const { return window_; }
    void SetPosition(int x, int y)
    {
        left_ = x;
        top_ = y;
        placed_ = true;
    }
    int Left() const { return left_; }
    int Top() const { return top_; }
    String FindText;
    TFindOptions Options{frDown};
    TNotifyEvent OnFind;
    // The user closed the dialog.
    TNotifyEvent OnClose;
    void DoFind()
    {
        if (OnFind) OnFind(this);
    }

protected:
    bool Show(bool replace);
    HWND window_ = nullptr;
    int left_ = 0, top_ = 0;
    bool placed_ = false;
    struct Buffers;
    Buffers* buffers_ = nullptr;
    friend struct FindDialogHook;

public:
    // The platform's FINDREPLACE notification for this dialog (flags of the button pressed).
    void Notify(DWORD Flags);
};

class TReplaceDialog : public TFindDialog {
public:
    using TFindDialog::TFindDialog;
    const char* DialogClass() const override { return "TReplaceDialog"; }
    bool ExecutePlatform() override;
    String ReplaceText;
    TNotifyEvent OnReplace;
    void DoReplace()
    {
        if (OnReplace) OnReplace(this);
    }
};

class TPrintDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const char* DialogClass() const override { return "TPrintDialog"; }
    bool ExecutePlatform() override;
    int Copies = 1;
};

class TPrinterSetupDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const char* DialogClass() const override { return "TPrinterSetupDialog"; }
    bool ExecutePlatform() override;
};
