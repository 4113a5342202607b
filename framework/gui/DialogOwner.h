// The window a box or dialog of the program belongs to: the one it is opened from, which owns it
// (and is disabled while it is up), and the place above the program's stay-on-top windows that
// the box or dialog takes while one of those is shown.
#pragma once

#include <windows.h>

// The thread's active window; when there is none (right after a modal window closed, nothing of
// the program is active) or it is hidden, the main form. Null only before any form exists.
HWND DialogOwner();

// Whether a visible top-level window of this thread other than Except stays on top of all others.
bool ProgramWindowOnTop(HWND Except = nullptr);

// While it lives, a box or dialog that Owner owns is put on top of all windows as it is
// activated, when a window of the program stays on top: owned by the main window, the font
// dialog came up under the options dialog, its OK button hidden. Scopes nest.
class TDialogOnTop {
public:
    explicit TDialogOnTop(HWND Owner);
    ~TDialogOnTop();
    TDialogOnTop(const TDialogOnTop&) = delete;
    TDialogOnTop& operator=(const TDialogOnTop&) = delete;

private:
    static LRESULT CALLBACK Activating(int Code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    HWND previousOwner_ = nullptr;
};
