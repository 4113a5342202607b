// Where the screen's view stands in its text.
#pragma once

#include <windows.h>

// Whether the text's last line, of rows RowHeight pixels high, is wholly in view, and still
// would be with the view Up pixels higher in the text.
bool ScreenLastLineInView(HWND Screen, int RowHeight, int Up = 0);
