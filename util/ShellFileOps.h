// The shell's folder (or computer) browser as a component, and the shell's file operation
// (copy, move, delete, rename) with its own progress and questions.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/Sets.h"
#include "framework/Strings.h"

// Whether the shell's folder browser and file operations are used; without them the file
// routines copy and move by themselves.
extern bool NewStyleControls;

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

// The control id of the Help button the browser gets when HelpContext is not 0.
constexpr int BrowseHelpButtonId = 65535;

class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* AOwner);

    TBrowseKind BrowseKind = bfFolders;
    bool DesktopRoot = true;
    String DialogText;
    // In: the item selected first; out: the chosen folder (no closing backslash) or computer.
    String FolderName;
    int HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;
    // The Help button's answer: the framework has no help system of its own.
    TNotifyEvent OnHelp;

    // Runs the browser modally; true when the user chose an item.
    bool Execute();

    // While the browser runs: its window, and the name of the selected item.
    HWND Handle() const { return handle_; }
    const String& SelectedName() const { return selectedName_; }
    const char* DisplayName() const { return displayName_; }
    int ImageIndex() const { return imageIndex_; }

private:
    static int CALLBACK BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);
    static LRESULT CALLBACK DialogProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void Initialized(HWND Wnd);
    void SelectionChanged(HWND Wnd, LPCITEMIDLIST Item);
    void AddHelpButton();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    String selectedName_;
    char displayName_[MAX_PATH] = "";
    int imageIndex_ = 0;
};

enum TFileOperation { foCopy, foDelete, foMove, foRename };
enum TFileOperFlag {
    flAllowUndo,
    flConfirmMouse,
    flFilesOnly,
    flMultiDest,
    flNoConfirmation,
    flNoConfirmMkDir,
    flRenameOnCollision,
    flSilent,
    flSimpleProgress,
    flNoErrorUI
};
using TFileOperFlags = TSet<TFileOperFlag>;

class TQvFileOperator : public TComponent {
public:
    explicit TQvFileOperator(TComponent* AOwner);

    // Lists of names separated by ";" or "|" (unless SingleNames).
    String Destination;
    TFileOperation Operation = foCopy;
    TFileOperFlags Options = {flAllowUndo, flNoConfirmMkDir};
    String ProgressTitle;
    String Source;
    // Source and Destination are one name each: a ";" in a file name stays in it.
    bool SingleNames = false;

    // True when the shell reported success.
    bool Execute();
    // Whether the user cancelled any part of the last operation.
    bool Aborted = false;

    // The shell's flag bits of Options.
    static FILEOP_FLAGS ShellFlags(TFileOperFlags Options);
};

// The folder browser with the given text, selection and help; on success Directory is the
// chosen folder.
bool BrowseDirectory(String& Directory, const String& DialogText, int HelpContext);
// The same for a computer of the network.
bool BrowseComputer(String& ComputerName, const String& DialogText, int HelpContext);
