// Where the screen's view stands in its text.
#include "terminal/ScreenView.h"

int ScreenTextLength(HWND Screen)
{
    return static_cast<int>(SendMessageA(Screen, WM_GETTEXTLENGTH, 0, 0));
}

int ScreenRoomBelowLastLine(HWND Screen, int RowHeight)
{
    POINTL at{};
    SendMessageA(Screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), ScreenTextLength(Screen));
    RECT client{};
    GetClientRect(Screen, &client);
    if (at.y < client.top) return -1;
    return client.bottom - (at.y + RowHeight);
}
