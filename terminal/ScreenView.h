// Where the screen's view stands in its text, and what of it must be drawn again after a change.
#pragma once

#include <windows.h>

// The screen's text length in characters.
int ScreenTextLength(HWND Screen);

// The pixels between the bottom of the text's last line, of rows RowHeight pixels high, and the
// bottom of the screen; negative when that line is not wholly in view.
int ScreenRoomBelowLastLine(HWND Screen, int RowHeight);

// The top of character Char in the screen's client area (above it when out of view).
int ScreenCharTop(HWND Screen, int Char);

// The height of the screen's lines, as the control lays them out (the distance from its first
// line to its second), or Fallback while it has one line. Not the font's text height: the
// control sizes its text in points (14 points: 21 px lines), the font is made in whole pixels
// (19 px: 22 px of text height).
int ScreenLineHeight(HWND Screen, int Fallback);

// The view moved down, no further than the end of the text, until the text's last line is
// wholly in view: for a view that showed it whole before the screen's text area got lower (a
// horizontal scroll bar came), which the control itself leaves where it was. The line being
// received then stayed under the bar, and the rest on whole lines hid the line above by half.
void ShowLastLineWhole(HWND Screen);

// The screen's scroll bars as drawn: whether each is shown, where it stands, and its arrows' and
// thumb's places and states. Not its range and position: a line added to a long text moves the
// thumb by less than a pixel, and the bar is then drawn as it was.
struct TScreenScrollBars {
    LONG_PTR shown;
    SCROLLBARINFO vertical;
    SCROLLBARINFO horizontal;
};
TScreenScrollBars ScreenScrollBars(HWND Screen);

// After a change made while the screen's drawing was off, the drawing on again: each scroll bar
// that no longer looks as in Before drawn again, and the whole frame when a bar came or went. A
// bar shown, moved or resized while the drawing was off was not drawn, and turning the drawing
// on draws no frame: the text ran past the screen with no scroll bar in sight until the next
// scroll. Only what changed: drawing a scroll bar costs Wine 7-9 ms, and a reply of a line that
// drew the whole frame (both bars) after each paste showed 4-5 ms later. True when a bar came
// or went: the text area then changed size unseen, and the caller draws all of it (a bar that
// went left its edges in the area it gave back, drawn by nothing).
bool DrawChangedScrollBars(HWND Screen, const TScreenScrollBars& Before);

// The screen's drawing held while its text changes in a way that may only move what was drawn
// up: a line added at the end (the view follows it), lines cut from the top. Release then moves
// the drawn pixels up with the text and draws again only the rest: drawing a whole screen of
// short runs of alternating colours costs Wine's control 12-16 ms, moving its pixels well under
// one. Character Anchor, drawn and left as it was by the change, shows how far the text moved.
// The caret is hidden meanwhile: moved while nothing is drawn, it left images of itself.
class TScreenHold {
public:
    TScreenHold(HWND Screen, int Anchor);
    // Without a Release, the whole screen is drawn again.
    ~TScreenHold();
    // The change is done: Anchor is now character AnchorNow, and the text from DirtyTop (in
    // the client area) down is new. A move down, by more than half the screen or sideways
    // draws the whole screen again, as does an anchor that was not drawn, and so does a move
    // of the screen itself, frame and all (the gutter beside it grew a digit meanwhile).
    void Release(int AnchorNow, int DirtyTop);
    TScreenHold(const TScreenHold&) = delete;
    TScreenHold& operator=(const TScreenHold&) = delete;

private:
    HWND screen_;
    bool held_ = true;
    TScreenScrollBars bars_;
    bool caretHidden_ = false;
    int anchorTop_;
    int horizontal_;
    // Where the screen stood: moved while its drawing was off, none of it was drawn anew.
    RECT placed_{};
    bool Moved() const;
    // What was waiting to be drawn when the hold began, or empty.
    RECT pending_{};
};
