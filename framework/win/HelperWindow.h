// Hidden windows that exist only to receive messages (thread hand-overs, timers, the
// clipboard's owner, the find dialog's owner): one routine registers the class and makes one.
#pragma once

#include <windows.h>

// Registers ClassName with Proc (once; later calls reuse the class) and creates a hidden window
// of it on the calling thread. MessageOnly: a message-only window (HWND_MESSAGE parent), which
// no enumeration finds; otherwise a hidden pop-up, which can own dialogs and the clipboard, or
// with a Parent a hidden child of it (a dialog it is given as owner is owned by Parent's
// top-level window, while the dialog's notifications still come here).
HWND CreateHelperWindow(const char* ClassName, WNDPROC Proc, bool MessageOnly = false,
                        HWND Parent = nullptr);
