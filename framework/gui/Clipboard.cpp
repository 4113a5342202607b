// The clipboard, opened for a hidden window of ours (a clipboard opened for no window can
// be emptied but not filled).
#include "framework/gui/Clipboard.h"
#include "framework/gui/GuiTexts.h"

#include <cstring>

#include "framework/Exceptions.h"
#include "framework/win/HelperWindow.h"

namespace {
HWND ClipboardWindow()
{
    static HWND window = CreateHelperWindow("QvClipboardOwner", DefWindowProcA);
    return window;
}
}  // namespace

TClipboard* Clipboard()
{
    static auto* clipboard = new TClipboard;
    return clipboard;
}

void TClipboard::Open()
{
    if (openCount_++ > 0) return;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(ClipboardWindow())) {
            emptied_ = false;
            return;
        }
        Sleep(5);  // another program holds it for a moment
    }
    openCount_ = 0;
    throw Exception(String(GuiText::ClipboardOpen));
}

void TClipboard::Close()
{
    if (openCount_ == 0) return;
    if (--openCount_ == 0) CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    emptied_ = true;
    Close();
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != 0; }

String TClipboard::AsText()
{
    Open();
    String text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (auto* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    Close();
    return text;
}

void TClipboard::SetAsText(const String& Text)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    if (!h) throw EOutOfResources(String(GuiText::OutOfMemory));
    std::memcpy(GlobalLock(h), Text.c_str(), Text.size() + 1);
    GlobalUnlock(h);
    SetAsHandle(CF_TEXT, h);
}

HANDLE TClipboard::GetAsHandle(UINT Format)
{
    Open();
    HANDLE h = GetClipboardData(Format);
    Close();
    return h;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Data)
{
    Open();
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
    if (!SetClipboardData(Format, Data)) {
        GlobalFree(Data);
        Close();
        throw Exception(String(GuiText::ClipboardWrite));
    }
    Close();
}
