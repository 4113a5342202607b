// The dialog moves above the found text when there is room, else below it (if the screen has
// room there), and not at all when it covers neither corner of the text.
#include "richedit/FindDialogPlacement.h"

namespace {
constexpr int LineAllowance = 20;  // a line of text below the end position, and the gap

bool Inside(const TScreenRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}
}  // namespace

std::optional<int> DialogTopClearOfHit(TScreenRect Hit, TScreenRect Dialog, int ScreenHeight)
{
    Hit.Bottom += LineAllowance;
    if (!Inside(Dialog, Hit.Left, Hit.Top) && !Inside(Dialog, Hit.Right, Hit.Bottom))
        return std::nullopt;
    const int height = Dialog.Bottom - Dialog.Top;
    const int top = Hit.Top;
    if (height + LineAllowance >= top) {
        if (ScreenHeight > top + height) return top + 2 * LineAllowance;
        return std::nullopt;
    }
    return top - height - LineAllowance;
}
