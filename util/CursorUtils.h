// The program's own cursors (animated ones included, from resources) registered with the
// screen, and the wait cursor, which nests.
#pragma once

#include <windows.h>

#include "framework/gui/Screen.h"

// The cursor StartWait shows.
extern TCursor WaitCursor;

// An animated cursor resource (type 21) of Module; nullptr when there is none. The platform
// loads animated cursors only from files, so the resource goes through a temporary file.
HCURSOR LoadAniCursor(HINSTANCE Module, LPCSTR ResID);
// Loads the cursor (plain, else animated) and registers it with the screen under the first
// free number from 100 up, which it returns. EResNotFound when neither kind exists.
TCursor DefineCursor(HINSTANCE Module, LPCSTR ResID);

// The first StartWait remembers the screen's cursor and shows WaitCursor; the matching last
// StopWait puts the remembered one back. Surplus StopWait calls do nothing.
void StartWait();
void StopWait();
