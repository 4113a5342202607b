// The rich edit library the editor control uses, chosen once at start-up: its version
// (which every feature of the control is gated on), the loaded module and the clipboard
// formats for objects and rich text.
#pragma once

#include <windows.h>

// 1: RICHED32.DLL (class "RICHEDIT"); 2: RICHED20.DLL ("RichEdit20A"); 3: the same on
// Windows NT 5.0 or later.
extern int RichEditVersion;

struct TRichEditClipboardFormats {
    UINT EmbeddedObject = 0, LinkSource = 0, RichText = 0, RichTextNoObjects = 0;
};
extern TRichEditClipboardFormats RichEditClipboardFormats;

// Runs once (later calls do nothing); every control calls it before its window exists.
void RichEditStartup();
// Frees the library (at program end).
void RichEditShutdown();

// Takes another version's path (1, 2 or 3) with the library it needs, for trying the older
// paths on a system whose natural choice is newer. Only while no control exists: a control
// keeps the window class and record sizes it was made with. EInvalidOperation otherwise.
void OverrideRichEditVersion(int Version);

// Counted by the controls, so the version is not changed under a living one.
void RichEditControlCreated();
void RichEditControlDestroyed();
