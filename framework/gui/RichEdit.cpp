// The rich edit control: library loading, streaming through EDITSTREAM callbacks (which
// never let an exception through), lines, selection, search and printing.
#include "framework/gui/RichEdit.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/CommonDialogs.h"  // the FR_ search flags, with the FindText macro undone
#include "framework/gui/Printer.h"

namespace {

struct StreamCookie {
    TStream* stream = nullptr;
    bool failed = false;
    bool richText = false;
    TRichTextZeros zeros;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* c = reinterpret_cast<StreamCookie*>(cookie);
    *done = 0;
    try {
        *done = c->stream->Read(buffer, count);
    } catch (...) {
        c->failed = true;
        return 1;
    }
    return 0;
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* c = reinterpret_cast<StreamCookie*>(cookie);
    *done = 0;
    try {
        if (!c->richText) {
            *done = c->stream->Write(buffer, count);
            return 0;
        }
        c->zeros.Pass(reinterpret_cast<const char*>(buffer), count,
                      [c](const char* Data, int Size) { c->stream->WriteBuffer(Data, Size); });
        *done = count;
    } catch (...) {
        c->failed = true;
        return 1;
    }
    return 0;
}

void StreamInto(HWND h, TStream* stream, UINT format)
{
    StreamCookie cookie;
    cookie.stream = stream;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = StreamInCallback;
    SendMessageA(h, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
    if (es.dwError || cookie.failed) throw EOutOfResources(String(GuiText::StreamLoad));
}

void StreamOutOf(HWND h, TStream* stream, UINT format)
{
    StreamCookie cookie;
    cookie.stream = stream;
    cookie.richText = (format & 3) == SF_RTF || (format & 3) == SF_RTFNOOBJS;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = StreamOutCallback;
    SendMessageA(h, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&es));
    if (es.dwError || cookie.failed) throw EOutOfResources(String(GuiText::StreamSave));
}

// The lines of a rich edit, read through the line messages.
class TRichEditStringsView : public TStrings {
public:
    explicit TRichEditStringsView(TRichEdit* edit) : edit_(edit) {}
    int Count() const override
    {
        HWND h = edit_->Handle();
        int n = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
        // The line after a final line break is empty and not counted.
        int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(n - 1), 0));
        if (n > 0 && SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0) == 0) --n;
        return n;
    }
    String Get(int Index) const override
    {
        if (Index < 0 || Index >= Count()) throw EListError(GuiText::ListIndex, Index);
        HWND h = edit_->Handle();
        int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(Index), 0));
        int length =
            static_cast<int>(SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        String s(static_cast<size_t>(std::max(length, 0)) + 2, '\0');
        *reinterpret_cast<WORD*>(s.data()) = static_cast<WORD>(s.size());
        int got = static_cast<int>(SendMessageA(h, EM_GETLINE, static_cast<WPARAM>(Index),
                                                reinterpret_cast<LPARAM>(s.data())));
        s.resize(static_cast<size_t>(std::clamp(got, 0, length)));
        while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
        return s;
    }
    void Insert(int Index, const String& S) override
    {
        HWND h = edit_->Handle();
        int count = Count();
        if (Index < 0 || Index > count) throw EListError(GuiText::ListIndex, Index);
        int pos;
        String text;
        if (Index < count) {
            pos = static_cast<int>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(Index), 0));
            text = S + "\r\n";
        } else {
            pos = GetWindowTextLengthA(h);
            // Appending after a last line that has no line break yet starts a new line.
            text = (count > 0 && !EndsWithBreak(h)) ? "\r\n" + S : S + "\r\n";
        }
        CHARRANGE cr{pos, pos};
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Delete(int Index) override
    {
        HWND h = edit_->Handle();
        if (Index < 0 || Index >= Count()) throw EListError(GuiText::ListIndex, Index);
        int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(Index), 0));
        int next =
            static_cast<int>(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(Index + 1), 0));
        if (next < 0) next = GetWindowTextLengthA(h);
        CHARRANGE cr{start, next};
        SendMessageA(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    }
    void Clear() override { edit_->SetText(""); }
    String Text() const override { return edit_->Text(); }
    void SetText(std::string_view Value) override { edit_->SetText(String(Value)); }
    void LoadFromStream(TStream* Stream) override { edit_->LoadFromStream(Stream); }
    void SaveToStream(TStream* Stream) override { edit_->SaveToStream(Stream); }

private:
    static bool EndsWithBreak(HWND h)
    {
        int n = GetWindowTextLengthA(h);
        if (n == 0) return true;
        String s(static_cast<size_t>(n) + 1, '\0');
        GetWindowTextA(h, s.data(), n + 1);
        s.resize(static_cast<size_t>(n));
        return s.back() == '\n' || s.back() == '\r';
    }
    TRichEdit* edit_;
};

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner)
    : TCustomEdit(AOwner),
      lines_(new TRichEditStringsView(this))
{
    multiLine_ = true;
    SetBounds(0, 0, 185, 89);
}

TRichEdit::~TRichEdit()
{
    if (HandleAllocated()) DestroyWnd();
    delete lines_;
}

void TRichEdit::CreateParams(TCreateParams& p)
{
    if (!GetModuleHandleA(RichEditLibrary.c_str())) {
        // Missing dialogs from a failed load are no use to anyone: fail quietly, then report.
        UINT old = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        HMODULE lib = LoadLibraryA(RichEditLibrary.c_str());
        SetErrorMode(old);
        if (!lib) throw EOutOfResources(GuiText::LibraryLoad, RichEditLibrary);
    }
    TCustomEdit::CreateParams(p);
    p.WinClassName = RichEditClass;
    p.Style &= ~ES_AUTOHSCROLL;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!HideSelection) p.Style |= ES_NOHIDESEL;
    if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    if (!border_) p.ExStyle &= ~WS_EX_CLIENTEDGE;
    // Kept content comes back as RTF in CreateWnd, not as the plain window text.
    if (hasSaved_) p.Caption.clear();
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

void TRichEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    HWND h = Handle();
    SendMessageA(h, EM_EXLIMITTEXT, 0, MaxLength() > 0 ? MaxLength() : 0x7FFFFFF0);
    SendMessageA(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessageA(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    if (hasSaved_) {
        TMemoryStream saved;
        saved.Write(savedRtf_.data(), static_cast<int>(savedRtf_.size()));
        saved.SetPosition(0);
        StreamInto(h, &saved, SF_RTF);
        savedRtf_.clear();
        hasSaved_ = false;
    }
}

void TRichEdit::DestroyWnd()
{
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
        // The formatting survives a recreated window (a changed border, a new parent).
        TMemoryStream saved;
        StreamOutOf(Handle(), &saved, SF_RTF);
        savedRtf_.assign(static_cast<const char*>(saved.Memory()),
                         static_cast<size_t>(saved.Size()));
        hasSaved_ = true;
    }
    TCustomEdit::DestroyWnd();
}

int TRichEdit::SelStart()
{
    CHARRANGE cr{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    return cr.cpMin;
}

void TRichEdit::SetSelStart(int v)
{
    CHARRANGE cr{v, v};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

int TRichEdit::SelLength()
{
    CHARRANGE cr{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    return cr.cpMax - cr.cpMin;
}

void TRichEdit::SetSelLength(int v)
{
    CHARRANGE cr{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    cr.cpMax = cr.cpMin + v;
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

String TRichEdit::SelText()
{
    const int length = SelLength();
    String s(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = static_cast<int>(
        SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(std::clamp(got, 0, std::max(length, 0))));
    return s;
}

void TRichEdit::SetSelText(const String& v)
{
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.c_str()));
}

int TRichEdit::FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options)
{
    FINDTEXTA ft{};
    ft.chrg.cpMin = StartPos;
    ft.chrg.cpMax = StartPos + Length;
    ft.lpstrText = SearchStr.c_str();
    WPARAM flags = FR_DOWN;
    if (Options.Contains(stWholeWord)) flags |= FR_WHOLEWORD;
    if (Options.Contains(stMatchCase)) flags |= FR_MATCHCASE;
    return static_cast<int>(
        SendMessageA(Handle(), EM_FINDTEXT, flags, reinterpret_cast<LPARAM>(&ft)));
}

void TRichEdit::LoadFromStream(TStream* Stream)
{
    StreamInto(Handle(), Stream, PlainText ? SF_TEXT : SF_RTF);
}

void TRichEdit::SaveToStream(TStream* Stream)
{
    StreamOutOf(Handle(), Stream, PlainText ? SF_TEXT : SF_RTF);
}

void TRichEdit::Print(const String& Caption)
{
    TPrinter* printer = Printer();
    HDC dc = printer->Handle();
    FORMATRANGE fr{};
    fr.hdc = fr.hdcTarget = dc;
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    // Page size in twips, as the control measures it.
    fr.rcPage = {0, 0, MulDiv(printer->PageWidth(), 1440, dpiX),
                 MulDiv(printer->PageHeight(), 1440, dpiY)};
    fr.rc = fr.rcPage;
    const int length = GetWindowTextLengthA(Handle());
    printer->Title = Caption;
    printer->BeginDoc();
    try {
        int pos = 0;
        bool first = true;
        while (pos < length) {
            if (!first) printer->NewPage();
            first = false;
            fr.hdc = fr.hdcTarget = printer->Handle();
            fr.chrg = {pos, -1};
            int next = static_cast<int>(
                SendMessageA(Handle(), EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
            if (next <= pos) break;
            pos = next;
        }
        SendMessageA(Handle(), EM_FORMATRANGE, FALSE, 0);
        printer->EndDoc();
    } catch (...) {
        SendMessageA(Handle(), EM_FORMATRANGE, FALSE, 0);
        printer->Abort();
        throw;
    }
}

void TRichEdit::SelectionChange()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == EN_SELCHANGE) SelectionChange();
        return;
    case CM_COLORCHANGED:
        if (HandleAllocated())
            SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
        break;
    case CM_FONTCHANGED:
        TCustomEdit::Dispatch(m);
        // WM_SETFONT gives the control's text and its default the font's height in pixels: 19
        // for 14 points at 96 dpi, which it keeps as 14.25 points. Text typed or pasted at the
        // end then stood a pixel taller than text loaded as RTF, which gives the size in points.
        // Both take the points.
        if (HandleAllocated() && Font()->Size() > 0) {
            CHARFORMAT2A format{};
            format.cbSize = sizeof format;
            format.dwMask = CFM_SIZE;
            format.yHeight = Font()->Size() * 20;
            for (WPARAM which : {WPARAM(SCF_DEFAULT), WPARAM(SCF_ALL)})
                SendMessageA(Handle(), EM_SETCHARFORMAT, which, reinterpret_cast<LPARAM>(&format));
        }
        return;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}

void TRichEdit::DefaultHandler(TMessage& m)
{
    if (HandleAllocated() && input_.Handled(Handle(), m)) {
        m.Result = 0;
        return;
    }
    TCustomEdit::DefaultHandler(m);
}

void TRichEdit::StreamIn(TStream* Stream, UINT Format) { StreamInto(Handle(), Stream, Format); }

void TRichEdit::StreamOut(TStream* Stream, UINT Format) { StreamOutOf(Handle(), Stream, Format); }
