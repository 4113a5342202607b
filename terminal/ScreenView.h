// Where the screen's view stands in its text.
#pragma once

#include <windows.h>

// The screen's text length in characters.
int ScreenTextLength(HWND Screen);

// The pixels between the bottom of the text's last line, of rows RowHeight pixels high, and the
// bottom of the screen; negative when that line is not wholly in view.
int ScreenRoomBelowLastLine(HWND Screen, int RowHeight);
