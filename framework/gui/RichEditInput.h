// Input that the platform's rich edit control must not handle itself (Wine's, which every
// rich edit of the program runs on), handled here for it before it reaches the control.
#pragma once

#include <windows.h>

#include "framework/gui/Messages.h"

// Wine's word movement to the right, when it passes the end of a line, leaves its cursor on
// the next paragraph with the offsets of this one: a word selected by a double click, or the
// caret moved by Ctrl+Right, then lies past its place, and on the last line past the end of
// the text, where the next edit (its link detection) or the next Ctrl+Right reads through a
// null paragraph and the program ends. So a multi-click in the text and a Ctrl+Right that
// would pass the end of its line are done here, within the line; a Ctrl+Right with a word
// still ahead on its line goes to the control. Its debugging shortcut Ctrl+W (a "Style dump"
// box) never reaches it. Copies and cuts put exactly the selection on the clipboard: the
// control's own blocks carry bytes after the text, which reach other programs.
class TRichEditInput {
public:
    // True when Message was handled here: the control's window procedure must not see it.
    bool Handled(HWND Edit, TMessage& Message);

private:
    bool MultiClick(HWND Edit, const TMessage& Message);
    bool WordRight(HWND Edit, bool Extend);

    DWORD lastClickTime_ = 0;
    POINT lastClick_{-1000, -1000};
    int clicks_ = 0;
};

// The selection of a rich edit on the clipboard as text and rich text, each block holding the
// text and its terminating zero and nothing more; false when nothing is selected. A clipboard
// that stays busy raises, as every clipboard write of the program does (a cut then deletes
// nothing).
bool CopyRichEditSelection(HWND Edit);
