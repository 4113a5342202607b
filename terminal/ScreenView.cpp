// Where the screen's view stands in its text, and what of it must be drawn again after a change.
#include "terminal/ScreenView.h"

#include <richedit.h>

#include <algorithm>
#include <iterator>
#include <tuple>

int ScreenTextLength(HWND Screen)
{
    return static_cast<int>(SendMessageA(Screen, WM_GETTEXTLENGTH, 0, 0));
}

int ScreenRoomBelowLastLine(HWND Screen, int RowHeight)
{
    RECT client{};
    GetClientRect(Screen, &client);
    const int top = ScreenCharTop(Screen, ScreenTextLength(Screen));
    if (top < client.top) return -1;
    return client.bottom - (top + RowHeight);
}

int ScreenCharTop(HWND Screen, int Char)
{
    POINTL at{};
    SendMessageA(Screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), Char);
    return at.y;
}

void ShowLastLineWhole(HWND Screen)
{
    const int room = ScreenRoomBelowLastLine(Screen, ScreenLineHeight(Screen, 0));
    if (room >= 0) return;
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(Screen, SB_VERT, &vertical);
    const int last = vertical.nMax - static_cast<int>(vertical.nPage) + 1;
    POINT to{GetScrollPos(Screen, SB_HORZ), std::min(vertical.nPos - room, last)};
    if (to.y > vertical.nPos)
        SendMessageA(Screen, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&to));
}

TScreenScrollBars ScreenScrollBars(HWND Screen)
{
    TScreenScrollBars bars{};
    bars.shown = GetWindowLongPtrA(Screen, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL);
    bars.vertical.cbSize = bars.horizontal.cbSize = sizeof(SCROLLBARINFO);
    GetScrollBarInfo(Screen, OBJID_VSCROLL, &bars.vertical);
    GetScrollBarInfo(Screen, OBJID_HSCROLL, &bars.horizontal);
    return bars;
}

namespace {

bool SameBar(const SCROLLBARINFO& A, const SCROLLBARINFO& B)
{
    return EqualRect(&A.rcScrollBar, &B.rcScrollBar) && A.dxyLineButton == B.dxyLineButton &&
           A.xyThumbTop == B.xyThumbTop && A.xyThumbBottom == B.xyThumbBottom &&
           std::equal(std::begin(A.rgstate), std::end(A.rgstate), std::begin(B.rgstate));
}

}  // namespace

namespace {

void DrawFrame(HWND Screen)
{
    // The frame alone (the window less its client area, in client coordinates): what the
    // client area needs is the caller's to ask for.
    RECT window{}, client{};
    GetWindowRect(Screen, &window);
    MapWindowPoints(nullptr, Screen, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(Screen, &client);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inner = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inner, RGN_DIFF);
    RedrawWindow(Screen, nullptr, frame, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    DeleteObject(inner);
    DeleteObject(frame);
}

}  // namespace

bool DrawChangedScrollBars(HWND Screen, const TScreenScrollBars& Before)
{
    const TScreenScrollBars now = ScreenScrollBars(Screen);
    if (now.shown != Before.shown) {
        DrawFrame(Screen);
        return true;
    }
    for (const auto& [bar, before, after] : {std::tuple{SB_VERT, &Before.vertical, &now.vertical},
                                             {SB_HORZ, &Before.horizontal, &now.horizontal}}) {
        if (SameBar(*before, *after)) continue;
        // The bar alone, drawn by setting the position it has: no frame around it, no other bar.
        SCROLLINFO position{};
        position.cbSize = sizeof position;
        position.fMask = SIF_POS;
        GetScrollInfo(Screen, bar, &position);
        SetScrollInfo(Screen, bar, &position, TRUE);
    }
    return false;
}

int ScreenLineHeight(HWND Screen, int Fallback)
{
    if (SendMessageA(Screen, EM_GETLINECOUNT, 0, 0) < 2) return Fallback;
    const int second = static_cast<int>(SendMessageA(Screen, EM_LINEINDEX, 1, 0));
    const int step = ScreenCharTop(Screen, second) - ScreenCharTop(Screen, 0);
    return step > 0 ? step : Fallback;
}

TScreenHold::TScreenHold(HWND Screen, int Anchor)
    : screen_(Screen),
      anchorTop_(Anchor >= 0 ? ScreenCharTop(Screen, Anchor) : -1),
      horizontal_(GetScrollPos(Screen, SB_HORZ))
{
    // What waits to be drawn, the frame among it, is drawn first: Release may drop the drawing
    // of the frame that the hold itself asks for, never one that was due before.
    UpdateWindow(screen_);
    GetWindowRect(screen_, &placed_);
    bars_ = ScreenScrollBars(screen_);
    GetUpdateRect(screen_, &pending_, FALSE);
    caretHidden_ = HideCaret(screen_) != FALSE;
    SendMessageA(screen_, WM_SETREDRAW, FALSE, 0);
}

bool TScreenHold::Moved() const
{
    RECT now{};
    GetWindowRect(screen_, &now);
    return !EqualRect(&now, &placed_);
}

TScreenHold::~TScreenHold()
{
    if (held_) {
        SendMessageA(screen_, WM_SETREDRAW, TRUE, 0);
        if (Moved())
            RedrawWindow(screen_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        else {
            InvalidateRect(screen_, nullptr, FALSE);
            DrawChangedScrollBars(screen_, bars_);
        }
    }
    if (caretHidden_) ShowCaret(screen_);
}

void TScreenHold::Release(int AnchorNow, int DirtyTop)
{
    held_ = false;
    SendMessageA(screen_, WM_SETREDRAW, TRUE, 0);
    if (Moved()) {
        RedrawWindow(screen_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return;
    }
    // Wine's control may ask for its whole frame to be drawn after any change made while its
    // drawing was off, its scroll bars changed or not, and drawing a scroll bar costs Wine
    // 7-9 ms: as much as the rest of a reply's paste. The frame is left as drawn but for the
    // scroll bars that changed. (The validation takes the client area's drawing too, none of
    // it due while drawing was off: what is to be drawn there is asked for below.)
    RedrawWindow(screen_, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
    if (DrawChangedScrollBars(screen_, bars_)) {
        InvalidateRect(screen_, nullptr, FALSE);
        return;
    }
    RECT area{};
    GetClientRect(screen_, &area);
    const int rise = anchorTop_ - ScreenCharTop(screen_, AnchorNow);
    if (anchorTop_ < area.top || anchorTop_ >= area.bottom || rise < 0 ||
        rise > (area.bottom - area.top) / 2 || GetScrollPos(screen_, SB_HORZ) != horizontal_) {
        InvalidateRect(screen_, nullptr, FALSE);
        return;
    }
    if (rise > 0) {
        // Only the lines move: the margin around them stays blank. (The control draws every
        // line across the bounding box of what is to be drawn, so a strip of margin to draw at
        // the top would draw the whole screen again.) A plain copy of the pixels, not a
        // scroll of the window: the system's scroll also moves the caret, which the control
        // has already put where it belongs, and it then left its image on the lines above.
        RECT lines{};
        SendMessageA(screen_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&lines));
        IntersectRect(&lines, &lines, &area);
        if (HDC dc = GetDC(screen_)) {
            BitBlt(dc, lines.left, lines.top, lines.right - lines.left,
                   lines.bottom - lines.top - rise, dc, lines.left, lines.top + rise, SRCCOPY);
            ReleaseDC(screen_, dc);
        }
        RECT uncovered{lines.left, lines.bottom - rise, lines.right, lines.bottom};
        InvalidateRect(screen_, &uncovered, FALSE);
    }
    // What was still to be drawn when the hold began (Wine's control lost it when its drawing
    // was turned off and on) is drawn where it was and where it went.
    if (!IsRectEmpty(&pending_)) {
        InvalidateRect(screen_, &pending_, FALSE);
        OffsetRect(&pending_, 0, -rise);
        InvalidateRect(screen_, &pending_, FALSE);
    }
    if (DirtyTop < area.bottom) {
        area.top = std::max<LONG>(area.top, DirtyTop);
        InvalidateRect(screen_, &area, FALSE);
    }
}
