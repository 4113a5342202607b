// The rich edit notifications the control's event mask asks for, turned into its events.
// A link fires only when the same button goes down and up on the same link.
#include "richedit/QvRichEdit.h"

void TQvCustomRichEdit::Notify(TMessage& m)
{
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    switch (header->code) {
    case EN_REQUESTRESIZE: {
        const RECT& r = reinterpret_cast<const REQRESIZE*>(header)->rc;
        RequestSize(TRect{r.left, r.top, r.right, r.bottom});
        break;
    }
    case EN_SELCHANGE: SelectionChange(); break;
    case EN_PROTECTED: {
        const auto* p = reinterpret_cast<const ENPROTECTED*>(header);
        const TMessage message{p->msg, p->wParam, p->lParam, 0};
        if (!ProtectChange(message, p->chrg.cpMin, p->chrg.cpMax)) m.Result = 1;
        break;
    }
    case EN_SAVECLIPBOARD: {
        const auto* s = reinterpret_cast<const ENSAVECLIPBOARD*>(header);
        if (!SaveClipboard(s->cObjectCount, s->cch)) m.Result = 1;
        break;
    }
    case EN_LINK: LinkNotify(*reinterpret_cast<const ENLINK*>(header)); break;
    default: break;
    }
}

void TQvCustomRichEdit::LinkNotify(const ENLINK& link)
{
    auto press = [&](TMouseButton button) {
        clickRange_ = link.chrg;
        clickButton_ = button;
    };
    auto release = [&](TMouseButton button) {
        const bool same = clickButton_ == button && clickRange_.cpMin == link.chrg.cpMin &&
                          clickRange_.cpMax == link.chrg.cpMax;
        clickRange_ = {-1, -1};
        if (same) URLClick(GetTextRange(link.chrg.cpMin, link.chrg.cpMax), button);
    };
    switch (link.msg) {
    case WM_LBUTTONDOWN: press(mbLeft); break;
    case WM_RBUTTONDOWN: press(mbRight); break;
    case WM_LBUTTONUP: release(mbLeft); break;
    case WM_RBUTTONUP: release(mbRight); break;
    default: break;
    }
}

void TQvCustomRichEdit::RequestSize(const TRect& Rect)
{
    TRect r = Rect;
    if (OnResizeRequest) OnResizeRequest(this, r);
}

void TQvCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

bool TQvCustomRichEdit::ProtectChange(const TMessage& Message, int StartPos, int EndPos)
{
    bool allow = false;
    if (OnProtectChangeEx)
        OnProtectChangeEx(this, Message, StartPos, EndPos, allow);
    else if (OnProtectChange)
        OnProtectChange(this, StartPos, EndPos, allow);
    return allow;
}

bool TQvCustomRichEdit::SaveClipboard(int NumObjects, int NumChars)
{
    bool save = true;
    if (OnSaveClipboard) OnSaveClipboard(this, NumObjects, NumChars, save);
    return save;
}

void TQvCustomRichEdit::URLClick(const String& URLText, TMouseButton Button)
{
    if (OnURLClick) OnURLClick(this, URLText, Button);
}
