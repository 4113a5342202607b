// The rich edit base: the 1.0 class from RICHED32.DLL, created with no text limit of its own.
#include "controls/RichEditBase.h"

#include <algorithm>

#include <richedit.h>

#include "framework/Exceptions.h"

namespace {

// The library stays loaded for the life of the program (its window class lives in it).
void LoadRichEditLibrary()
{
    static HMODULE library = [] {
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        HMODULE h = LoadLibraryA("RICHED32.DLL");
        SetErrorMode(oldMode);
        return h;
    }();
    if (!library) throw EOutOfResources(String("Error loading RICHED32.DLL"));
}

// What a window hands back while it is being destroyed: its RTF, collected without the
// stream classes (a String is all DestroyWnd keeps).
DWORD CALLBACK CollectRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written)
{
    try {
        reinterpret_cast<String*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
        *written = count;
        return 0;
    } catch (...) {
        *written = 0;
        return 1;
    }
}

struct RtfSource {
    const String* text;
    size_t position;
};

DWORD CALLBACK ReplayRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read)
{
    auto* source = reinterpret_cast<RtfSource*>(cookie);
    const size_t left = source->text->size() - source->position;
    const size_t n = std::min(left, static_cast<size_t>(count));
    source->text->copy(reinterpret_cast<char*>(buffer), n, source->position);
    source->position += n;
    *read = static_cast<LONG>(n);
    return 0;
}

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    multiLine_ = true;
    SetBounds(Left(), Top(), 185, 89);
}

void TRichEdit::CreateParams(TCreateParams& p)
{
    LoadRichEditLibrary();
    TCustomEdit::CreateParams(p);
    p.WinClassName = "RICHEDIT";
    p.Style &= ~ES_AUTOHSCROLL;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    if (!border_) p.ExStyle &= ~WS_EX_CLIENTEDGE;
    // The content comes back as RTF below, not as the plain window text.
    if (haveSavedRtf_) p.Caption.clear();
}

void TRichEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    HWND h = Handle();
    // The class's default limit (32,767 characters) cuts streamed RTF without a word; a
    // MaxLength the program set stays the limit.
    if (MaxLength() == 0) SendMessageA(h, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    if (haveSavedRtf_) {
        RtfSource source{&savedRtf_, 0};
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, &ReplayRtf};
        SendMessageA(h, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        savedRtf_.clear();
        haveSavedRtf_ = false;
    }
}

void TRichEdit::DestroyWnd()
{
    if (HandleAllocated()) {
        savedRtf_.clear();
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&savedRtf_), 0, &CollectRtf};
        SendMessageA(Handle(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
        haveSavedRtf_ = es.dwError == 0;
    }
    TCustomEdit::DestroyWnd();
}

void TRichEdit::SetScrollBars(TScrollStyle v)
{
    if (v == scrollBars_) return;
    scrollBars_ = v;
    RecreateWnd();
}

void TRichEdit::SetWordWrap(bool v)
{
    if (v == wordWrap_) return;
    wordWrap_ = v;
    RecreateWnd();
}

void TRichEdit::SetBorderVisible(bool v)
{
    if (v == border_) return;
    border_ = v;
    RecreateWnd();
}
