// The screen object: its size and the program's cursor list, with the cursor shown now.
// Cursors are kept by number: the platform's standard ones below zero and crDefault, the
// program's own registered from 1 upward.
#pragma once

#include <map>
#include <set>

#include <windows.h>

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crNo = -18, crAppStart = -19, crHandPoint = -21,
                  crSizeAll = -22;

class TScreen {
public:
    TScreen();
    ~TScreen();
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;

    // The cursor registered under Index; the default (arrow) cursor for a number nobody
    // registered.
    HCURSOR Cursors(TCursor Index) const;
    // Registers Cursor under Index; the list owns it from now on (a cursor it replaces is
    // destroyed). nullptr removes the entry.
    void SetCursors(TCursor Index, HCURSOR Cursor);

    // The cursor the program asked for; setting it shows it at once.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);

    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

private:
    HCURSOR defaultCursor_;
    std::map<TCursor, HCURSOR> cursors_;
    std::set<TCursor> owned_;  // registered by the program; the standard ones are shared
    TCursor cursor_ = crDefault;
};

// The one screen object, made before main runs.
extern TScreen* Screen;
