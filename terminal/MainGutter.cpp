// The line-number gutter left of the receive screen: the numbers of the visible screen lines,
// repainted on demand, when the screen scrolls (which then comes to rest on whole lines, except
// at the end of the text) and when the selection changes.
#include <algorithm>

#include "terminal/Main.h"
#include "terminal/ScreenView.h"

namespace {

// Digits the gutter is made wide enough for.
int GutterDigits(int LineCount)
{
    if (LineCount > 999) return 4;
    if (LineCount > 99) return 3;
    if (LineCount > 9) return 2;
    return 1;
}

// The screen's font in black. Property by property: each setter keeps the font's handle when
// nothing changes, where a whole assignment would make a new one on every selection change.
void UseScreenFont(TFont* Font, TFont* ScreenFont)
{
    Font->SetName(ScreenFont->Name());
    Font->SetHeight(ScreenFont->Height());
    Font->SetStyle(ScreenFont->Style());
    Font->SetCharset(ScreenFont->Charset());
    Font->SetColor(clBlack);
}

}  // namespace

void TForm1::RepaintGutter()
{
    // Selection changes come while the form data is still being built.
    if (!GutterCanvas) return;
    TCanvas* canvas = GutterCanvas;
    canvas->Brush()->SetColor(PanelLine->Color());
    UseScreenFont(canvas->Font(), reScreen->Font());

    HWND screen = reScreen->Handle();
    const int first = static_cast<int>(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int count = reScreen->Lines()->Count();
    const int digitsWidth = canvas->TextWidth("0") * GutterDigits(count) + 7;
    if (PanelLine->Width() != digitsWidth) {
        const bool lastLineWhole =
            ScreenRoomBelowLastLine(screen, ScreenLineHeight(screen, 0)) >= 0;
        PanelLine->SetWidth(digitsWidth);
        // The screen beside a showing gutter is narrower or wider by as much: a line width
        // fitted to the screen follows, or new lines ran under its right edge. Lines already
        // there may now be wider than the screen: the horizontal scroll bar that comes for them
        // must not cover the newest line. (The fitting measures in the gutter's canvas, which
        // then takes the screen's font.)
        if (PanelLine->Showing()) {
            AdjustColumns();
            UseScreenFont(canvas->Font(), reScreen->Font());
            if (lastLineWhole) ShowLastLineWhole(screen);
        }
    }

    // The selection handler repaints on every caret movement: a hidden gutter is not drawn.
    if (!PanelLine->Showing()) return;
    const int h = ScreenLineHeight(screen, canvas->TextHeight("1"));
    const int height = PanelLine->Height();
    // Each number on the background of four blanks at least, so that a shorter number leaves
    // no digits of a longer one beside it: one call per line, as drawing the blanks and then
    // the number would paint it.
    const int blanks = canvas->TextWidth("    ");
    // A view at the end of the text may start inside its first line (see the scroll handler):
    // the numbers move up with the lines.
    const int hidden = h > 0 ? GetScrollPos(screen, SB_VERT) % h : 0;
    // Drawn over what the gutter showed before: the strip above the numbers is cleared, or
    // digits of the view before a scroll stayed in it.
    const int width = PanelLine->Width();
    int y = 2 - hidden;
    if (y > 0) canvas->FillRect(Rect(0, 0, width, y));
    for (int i = 0; i < count && (i + 2) * h - hidden <= height; ++i, y += h) {
        const String number = IntToStr(first + i + 1);
        canvas->TextRect(Rect(2, y, 2 + std::max(blanks, canvas->TextWidth(number)), y + h), 2, y,
                         number);
    }
    // And below the last number: the numbers of a view further down the text, of a screen with
    // more lines (before New Session) or of rows that fitted before a scroll stayed there.
    if (y < height) canvas->FillRect(Rect(0, y, width, height));
}

void TForm1::PaintBox1Paint(TObject* Sender) { RepaintGutter(); }

void TForm1::reScreenVertScroll(TObject* Sender)
{
    // No "SelectionChange" line in the diagnostics memo for every scroll: nobody sees the memo,
    // and the append to its word-wrapped text cost 1.4 ms of every line a typed key or a byte
    // added at the end of a full screen.
    RepaintGutter();
    // The move to whole lines waits until the control has finished the scroll it tells of: it
    // tells while still making it (a wheel notch, an arrow click), and scrolled again from
    // inside that notification it moved its pixels by the first distance only, leaving lines
    // cut in half or drawn twice on a real display.
    if (wholeLinesPosted_ || nudgingToWholeLines_ || !GutterCanvas || !HandleAllocated()) return;
    wholeLinesPosted_ = PostMessageA(Handle(), WM_SCREENSCROLLED, 0, 0) != FALSE;
}

void TForm1::RestScreenOnWholeLines()
{
    wholeLinesPosted_ = false;
    if (!GutterCanvas) return;
    HWND screen = reScreen->Handle();
    const int h = ScreenLineHeight(screen, GutterCanvas->TextHeight("1"));
    const int hidden = h > 0 ? GetScrollPos(screen, SB_VERT) % h : 0;
    if (hidden == 0) return;
    // The last line, wholly in view, stays so: on a screen whose height is not a whole number
    // of lines, resting on whole lines at the end of the text hid all but a few pixels of the
    // newest line, the one being typed or received.
    const int room = ScreenRoomBelowLastLine(screen, h);
    if (room >= 0 && room < hidden) return;
    nudgingToWholeLines_ = true;
    SendMessageA(screen, EM_LINESCROLL, 0, 0);
    // Some rich edit controls (Wine's) scroll nothing for a scroll by no lines: the view is
    // then put at the start of its first visible line.
    const int position = GetScrollPos(screen, SB_VERT);
    if (position % h != 0) {
        POINT to{GetScrollPos(screen, SB_HORZ), position - position % h};
        SendMessageA(screen, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&to));
    }
    nudgingToWholeLines_ = false;
}
