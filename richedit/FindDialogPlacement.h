// Where the find or replace dialog goes after a hit so that it does not hide the found text:
// only its top changes. Platform-free (screen co-ordinates in, a new top out).
#pragma once

#include <optional>

struct TScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Hit: from the screen position of the selection's start (top-left) to that of its end
// (bottom-right). The dialog's new top, or nothing when it stays where it is.
std::optional<int> DialogTopClearOfHit(TScreenRect Hit, TScreenRect Dialog, int ScreenHeight);
