// The screen object's cursor list.
#include "framework/gui/Screen.h"

TScreen* Screen = new TScreen;  // lives as long as the process

TScreen::TScreen()
{
    defaultCursor_ = LoadCursorA(nullptr, IDC_ARROW);
    const struct {
        TCursor Index;
        LPCSTR Name;
    } standard[] = {{crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
                    {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
                    {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
                    {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
                    {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
                    {crAppStart, IDC_APPSTARTING}, {crHandPoint, IDC_HAND},
                    {crSizeAll, IDC_SIZEALL}};
    for (const auto& s : standard) {
        if (HCURSOR c = LoadCursorA(nullptr, s.Name)) cursors_[s.Index] = c;
    }
    cursors_[crNone] = nullptr;
}

TScreen::~TScreen()
{
    for (TCursor index : owned_) DestroyCursor(cursors_[index]);
}

HCURSOR TScreen::Cursors(TCursor Index) const
{
    auto it = cursors_.find(Index);
    return it != cursors_.end() ? it->second : defaultCursor_;
}

void TScreen::SetCursors(TCursor Index, HCURSOR Cursor)
{
    auto it = cursors_.find(Index);
    if (it != cursors_.end() && it->second == Cursor) return;
    if (it != cursors_.end() && owned_.count(Index)) DestroyCursor(it->second);
    owned_.erase(Index);
    if (Cursor) {
        cursors_[Index] = Cursor;
        owned_.insert(Index);
    } else if (it != cursors_.end()) {
        cursors_.erase(it);
    }
    if (Index == cursor_) ::SetCursor(Cursors(cursor_));
}

void TScreen::SetCursor(TCursor Value)
{
    cursor_ = Value;
    ::SetCursor(Cursors(Value));
}
