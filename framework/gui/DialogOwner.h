// The window a box or dialog of the program belongs to: the one it is opened from, which owns it
// (and is disabled while it is up), and the place above the program's stay-on-top windows that
// the box or dialog takes while one of those is shown.
#pragma once

#include <windows.h>

#include <vector>

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

// While it lives, no other window of the program takes mouse or key input: a box, a common
// dialog or a modal form holds the whole program, not only its owner. The options dialog and
// the other tool windows are not the main window's, so a box opened from one of them left the
// main window live under it, running the user's clicks inside the box's own loop. On its end it
// enables exactly the windows it disabled (an inner scope leaves an outer one's alone) and puts
// the focus back where it was. Scopes nest: a box an event shows over another disables that one.
class TModalScope {
public:
    // Modal: the form's own window, which stays enabled; a box or dialog does not exist yet.
    explicit TModalScope(HWND Modal = nullptr);
    ~TModalScope();
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

    // The window the box or dialog is opened from (DialogOwner, taken before anything was
    // disabled): it owns it.
    HWND Owner() const { return owner_; }

private:
    HWND owner_;
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};
