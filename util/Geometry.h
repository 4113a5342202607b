// Rectangle and point arithmetic shared by the window and drawing utilities. Templates over
// any rectangle with Left/Top/Right/Bottom and any point with x/y (the framework's TRect and
// TPoint), so this header needs no window system and is tested natively.
#pragma once

template <class R>
constexpr int WidthOf(const R& Rect)
{
    return Rect.Right - Rect.Left;
}

template <class R>
constexpr int HeightOf(const R& Rect)
{
    return Rect.Bottom - Rect.Top;
}

// Edges count as inside, the right and bottom ones too (unlike the platform's PtInRect).
template <class P, class R>
constexpr bool PointInRect(const P& Point, const R& Rect)
{
    return Rect.Left <= Point.x && Point.x <= Rect.Right && Rect.Top <= Point.y &&
           Point.y <= Rect.Bottom;
}
