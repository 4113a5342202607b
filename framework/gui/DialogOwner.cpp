// A box's or dialog's owner and its place above the program's stay-on-top windows.
#include "framework/gui/DialogOwner.h"

#include "framework/gui/Application.h"
#include "framework/gui/Form.h"

namespace {

// The owner whose dialogs the innermost scope puts on top, or null.
HWND onTopOwner = nullptr;

struct OnTopSearch {
    HWND except;
    bool found;
};

BOOL CALLBACK FindOnTop(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<OnTopSearch*>(p);
    if (h != s->except && IsWindowVisible(h) && GetParent(h) == nullptr &&
        (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

// Shown by its own style: IsWindowVisible also asks the desktop, which on a desktop nobody looks
// at (a test's own) is never visible, and a top-level window has no other parent to ask.
bool Shown(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0; }

struct Disabling {
    HWND except;
    std::vector<HWND>* list;
};

BOOL CALLBACK DisableOne(HWND h, LPARAM p)
{
    auto* d = reinterpret_cast<Disabling*>(p);
    if (h == d->except || !Shown(h) || !IsWindowEnabled(h)) return TRUE;
    try {
        d->list->push_back(h);
    } catch (...) {
        return FALSE;  // out of memory: leave the rest enabled rather than throw through
    }
    EnableWindow(h, FALSE);
    return TRUE;
}

}  // namespace

HWND DialogOwner()
{
    // GetActiveWindow answers for this thread only: whatever it gives is the program's.
    const HWND active = GetActiveWindow();
    if (active && IsWindowVisible(active)) return active;
    TForm* main = Application->MainForm();
    if (main && main->HandleAllocated() && IsWindowVisible(main->Handle())) return main->Handle();
    return active;
}

bool ProgramWindowOnTop(HWND Except)
{
    OnTopSearch search{Except, false};
    EnumThreadWindows(GetCurrentThreadId(), FindOnTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TDialogOnTop::TDialogOnTop(HWND Owner) : previousOwner_(onTopOwner)
{
    if (!Owner || !ProgramWindowOnTop(Owner)) return;
    onTopOwner = Owner;
    hook_ = SetWindowsHookExA(WH_CBT, Activating, nullptr, GetCurrentThreadId());
}

TDialogOnTop::~TDialogOnTop()
{
    if (hook_) UnhookWindowsHookEx(hook_);
    onTopOwner = previousOwner_;
}

LRESULT CALLBACK TDialogOnTop::Activating(int Code, WPARAM wParam, LPARAM lParam)
{
    if (Code == HCBT_ACTIVATE && onTopOwner) {
        const HWND h = reinterpret_cast<HWND>(wParam);
        if (GetWindow(h, GW_OWNER) == onTopOwner &&
            !(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST))
            SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, Code, wParam, lParam);
}

TModalScope::TModalScope(HWND Modal)
    : owner_(DialogOwner()),
      active_(GetActiveWindow()),
      focus_(GetFocus())
{
    Disabling d{Modal, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&d));
}

TModalScope::~TModalScope()
{
    for (HWND h : disabled_)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    // The platform gave the activation away while everything was disabled.
    if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) &&
        Shown(GetAncestor(focus_, GA_ROOT)))
        SetFocus(focus_);
    else if (active_ && IsWindow(active_) && Shown(active_) && IsWindowEnabled(active_))
        SetActiveWindow(active_);
}
