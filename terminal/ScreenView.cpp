// Where the screen's view stands in its text.
#include "terminal/ScreenView.h"

bool ScreenLastLineInView(HWND Screen, int RowHeight, int Up)
{
    const LRESULT end = SendMessageA(Screen, WM_GETTEXTLENGTH, 0, 0);
    POINTL at{};
    SendMessageA(Screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), end);
    RECT client{};
    GetClientRect(Screen, &client);
    return at.y >= client.top && at.y + Up + RowHeight <= client.bottom;
}
