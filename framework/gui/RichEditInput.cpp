// The rich edit input taken over from the control: multi-click selection, Ctrl+Right at the
// end of a line, Ctrl+W, and copy and cut.
#include "framework/gui/RichEditInput.h"

#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/Exceptions.h"
#include "framework/gui/Clipboard.h"
#include "framework/gui/GuiTexts.h"
#include "framework/gui/RichEdit.h"

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The line holding Position: its first character, its length without the line break, and
// the first character of the next line (-1 on the last line).
struct TLineSpan {
    int start = 0, length = 0, next = -1;
    std::string text;
};

TLineSpan LineAt(HWND Edit, int Position)
{
    TLineSpan span;
    const auto line = static_cast<WPARAM>(SendMessageA(Edit, EM_EXLINEFROMCHAR, 0, Position));
    span.start = static_cast<int>(SendMessageA(Edit, EM_LINEINDEX, line, 0));
    span.length = static_cast<int>(SendMessageA(Edit, EM_LINELENGTH, span.start, 0));
    const int next = static_cast<int>(SendMessageA(Edit, EM_LINEINDEX, line + 1, 0));
    span.next = next > span.start ? next : -1;
    span.text.assign(static_cast<size_t>(span.length) + 1, '\0');
    TEXTRANGEA range{{span.start, span.start + span.length}, span.text.data()};
    const int got =
        static_cast<int>(SendMessageA(Edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    span.text.resize(static_cast<size_t>(std::clamp(got, 0, span.length)));
    span.length = static_cast<int>(span.text.size());
    return span;
}

CHARRANGE Selection(HWND Edit)
{
    CHARRANGE cr{};
    SendMessageA(Edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    return cr;
}

void Select(HWND Edit, int From, int To)
{
    CHARRANGE cr{From, To};
    SendMessageA(Edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    SendMessageA(Edit, EM_SCROLLCARET, 0, 0);
}

// A word starts after Offset on the line: Wine's movement stops there, within the line.
bool WordAhead(const TLineSpan& Line, int Offset)
{
    for (int i = std::max(Offset, 0) + 1; i < Line.length; ++i)
        if (!Blank(Line.text[static_cast<size_t>(i)]) && Blank(Line.text[static_cast<size_t>(i - 1)]))
            return true;
    return false;
}

HGLOBAL Block(const void* Data, size_t Size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, Size);
    if (!block) throw EOutOfResources(String(GuiText::OutOfMemory));
    std::memcpy(GlobalLock(block), Data, Size);
    GlobalUnlock(block);
    return block;
}

DWORD CALLBACK CollectRtf(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done)
{
    reinterpret_cast<std::string*>(Cookie)->append(reinterpret_cast<const char*>(Buffer),
                                                   static_cast<size_t>(Count));
    *Done = Count;
    return 0;
}

}  // namespace

bool CopyRichEditSelection(HWND Edit)
{
    const CHARRANGE cr = Selection(Edit);
    if (cr.cpMax <= cr.cpMin) return false;
    std::string text(static_cast<size_t>(cr.cpMax - cr.cpMin) * 2 + 1, '\0');
    const int got = static_cast<int>(
        SendMessageA(Edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::clamp(got, 0, static_cast<int>(text.size()) - 1)));
    // Line breaks on the clipboard are CR LF; the newer control keeps a lone CR.
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        lines += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) lines += '\n';
    }
    std::wstring wide(lines.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(std::max(
        MultiByteToWideChar(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()),
                            wide.data(), static_cast<int>(wide.size())),
        0)));
    std::string rtf;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, CollectRtf};
    SendMessageA(Edit, EM_STREAMOUT, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
    rtf.resize(TRichTextZeros::RichTextLength(rtf.data(), rtf.size()));
    TClipboard& clipboard = *Clipboard();
    clipboard.Open();
    struct Closing {
        TClipboard& c;
        ~Closing() { c.Close(); }
    } closing{clipboard};
    clipboard.SetAsText(lines);
    clipboard.SetAsHandle(CF_UNICODETEXT,
                          Block(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
    if (!rtf.empty())
        clipboard.SetAsHandle(RegisterClipboardFormatA("Rich Text Format"),
                              Block(rtf.c_str(), rtf.size() + 1));
    return true;
}

bool TRichEditInput::Handled(HWND Edit, TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return MultiClick(Edit, m);
    case WM_COPY:
        CopyRichEditSelection(Edit);
        return true;
    case WM_CUT:
        if (CopyRichEditSelection(Edit) && !(GetWindowLongA(Edit, GWL_STYLE) & ES_READONLY))
            SendMessageA(Edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
        return true;
    case WM_KEYDOWN: {
        // With Alt as well (AltGr), the control still takes these as its Ctrl keys.
        if (GetKeyState(VK_CONTROL) >= 0) return false;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        switch (m.WParam) {
        case 'W': return true;
        case 'C': SendMessageA(Edit, WM_COPY, 0, 0); return true;
        case 'X': SendMessageA(Edit, WM_CUT, 0, 0); return true;
        case VK_RIGHT: return WordRight(Edit, shift);
        default: return false;
        }
    }
    default: return false;
    }
}

bool TRichEditInput::MultiClick(HWND Edit, const TMessage& m)
{
    const POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    const DWORD now = GetMessageTime();
    const bool nearby = std::abs(at.x - lastClick_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(at.y - lastClick_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const bool again = m.Msg == WM_LBUTTONDBLCLK ||
                       (nearby && now - lastClickTime_ <= GetDoubleClickTime());
    clicks_ = again ? std::max(clicks_, 1) + 1 : 1;
    lastClickTime_ = now;
    lastClick_ = at;
    RECT text{};
    SendMessageA(Edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    // A single click, or clicks in the selection bar (which select whole lines), are the
    // control's.
    if (clicks_ < 2 || at.x < text.left) return false;
    POINTL point{at.x, at.y};
    const int c = static_cast<int>(
        SendMessageA(Edit, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
    const TLineSpan line = LineAt(Edit, c);
    if (clicks_ > 2) {
        Select(Edit, line.start, line.next >= 0 ? line.next : line.start + line.length);
        return true;
    }
    // The word under the pointer with the blanks after it, as the control selects a word;
    // on the blanks after a word, that word.
    const auto& s = line.text;
    int from = std::clamp(c - line.start, 0, line.length);
    while (from > 0 && (from == line.length || Blank(s[static_cast<size_t>(from)])) &&
           Blank(s[static_cast<size_t>(from - 1)]))
        --from;
    if (from == line.length && from > 0) --from;
    while (from > 0 && !Blank(s[static_cast<size_t>(from - 1)])) --from;
    int to = from;
    while (to < line.length && !Blank(s[static_cast<size_t>(to)])) ++to;
    while (to < line.length && Blank(s[static_cast<size_t>(to)])) ++to;
    Select(Edit, line.start + from, line.start + to);
    return true;
}

bool TRichEditInput::WordRight(HWND Edit, bool Extend)
{
    const CHARRANGE cr = Selection(Edit);
    const TLineSpan low = LineAt(Edit, cr.cpMin);
    const TLineSpan high = LineAt(Edit, cr.cpMax);
    if (WordAhead(low, cr.cpMin - low.start) && WordAhead(high, cr.cpMax - high.start))
        return false;
    // To the end of the line, and from there to the start of the next.
    const int end = high.start + high.length;
    const int target = cr.cpMax < end ? end : (high.next >= 0 ? high.next : end);
    Select(Edit, Extend ? cr.cpMin : target, target);
    return true;
}
