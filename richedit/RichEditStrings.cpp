// The editor's lines and its streaming: the load callback normalises line breaks across
// chunk edges, a failed load is tried once in the other format, and a file is replaced only
// by a complete save.
#include "richedit/RichEditStrings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/FileReplace.h"
#include "framework/Streams.h"
#include "framework/gui/GuiTexts.h"
#include "framework/gui/RichEdit.h"
#include "richedit/LineBreaks.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"
#include "richedit/RichEditTexts.h"

namespace {

constexpr int LineBufferSize = 4096;
constexpr DWORD LoadFailed = 1, SaveFailed = 2;

struct StreamCookie {
    TConversion* converter = nullptr;
    TStream* stream = nullptr;
    bool wideText = false;
    TLineBreakNormaliser normaliser{false};
    bool ended = false;
    bool richText = false;
    TRichTextZeros zeros;
};

DWORD CALLBACK LoadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* count)
{
    *count = 0;
    try {
        auto* c = reinterpret_cast<StreamCookie*>(cookie);
        std::string out;
        // A chunk that normalises to nothing (a lone held CR) must not read as the end.
        while (out.empty() && !c->ended) {
            const size_t limit =
                TLineBreakNormaliser::InputLimit(static_cast<size_t>(cb), c->wideText);
            std::vector<char> work(limit + 1);
            const int got = limit ? c->converter->ConvertReadStream(c->stream, work.data(),
                                                                    static_cast<int>(limit))
                                  : 0;
            if (got > 0) {
                c->normaliser.Feed(work.data(), static_cast<size_t>(got), out);
            } else {
                c->normaliser.Finish(out);
                c->ended = true;
            }
        }
        std::memcpy(buffer, out.data(), out.size());
        *count = static_cast<LONG>(out.size());
    } catch (...) {
        return LoadFailed;
    }
    return 0;
}

DWORD CALLBACK SaveCallback(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* count)
{
    *count = 0;
    try {
        auto* c = reinterpret_cast<StreamCookie*>(cookie);
        if (!c->converter) return 0;
        if (!c->richText) {
            *count = c->converter->ConvertWriteStream(
                c->stream, reinterpret_cast<const char*>(buffer), static_cast<int>(cb));
            return 0;
        }
        bool short_ = false;
        c->zeros.Pass(reinterpret_cast<const char*>(buffer), static_cast<int>(cb),
                      [c, &short_](const char* Data, int Size) {
                          if (c->converter->ConvertWriteStream(c->stream, Data, Size) != Size)
                              short_ = true;
                      });
        *count = short_ ? 0 : cb;
    } catch (...) {
        return SaveFailed;
    }
    return 0;
}

// True when the control reported no error.
bool StreamIn(HWND h, TConversion* converter, TStream* stream, WPARAM flags)
{
    StreamCookie cookie;
    cookie.converter = converter;
    cookie.stream = stream;
    cookie.wideText = (flags & SF_UNICODE) != 0;
    cookie.normaliser = TLineBreakNormaliser(cookie.wideText);
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = LoadCallback;
    SendMessageA(h, EM_STREAMIN, flags, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

bool StreamOut(HWND h, TConversion* converter, TStream* stream, WPARAM flags)
{
    StreamCookie cookie;
    cookie.converter = converter;
    cookie.stream = stream;
    cookie.richText = (flags & 3) == SF_RTF || (flags & 3) == SF_RTFNOOBJS;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    es.pfnCallback = SaveCallback;
    SendMessageA(h, EM_STREAMOUT, flags, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

}  // namespace

TRichEditStrings::~TRichEditStrings() = default;

int TRichEditStrings::Count() const
{
    HWND h = richEdit_->Handle();
    int n = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    const int last = static_cast<int>(SendMessageA(h, EM_LINEINDEX, n - 1, 0));
    if (n > 0 && SendMessageA(h, EM_LINELENGTH, last, 0) == 0) --n;
    return n;
}

String TRichEditStrings::Get(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(GuiText::ListIndex, Index);
    std::vector<char> buffer(LineBufferSize + 2, '\0');
    *reinterpret_cast<WORD*>(buffer.data()) = LineBufferSize;
    const int got = static_cast<int>(SendMessageA(richEdit_->Handle(), EM_GETLINE, Index,
                                                  reinterpret_cast<LPARAM>(buffer.data())));
    String line(buffer.data(), static_cast<size_t>(std::clamp(got, 0, LineBufferSize)));
    if (line.size() >= 2 && line.ends_with("\r\n"))
        line.resize(line.size() - 2);
    else if (RichEditVersion >= 2 && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void TRichEditStrings::Put(int Index, const String& S)
{
    if (Index < 0) return;
    HWND h = richEdit_->Handle();
    const int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, Index, 0));
    if (start == -1) return;
    const int length = static_cast<int>(SendMessageA(h, EM_LINELENGTH, start, 0));
    richEdit_->SetSelection(start, start + length, false);
    richEdit_->LinesUpdating = true;
    SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
    richEdit_->LinesUpdating = false;
}

void TRichEditStrings::Insert(int Index, const String& S)
{
    if (Index < 0) return;
    HWND h = richEdit_->Handle();
    const char* lineEnd = RichEditVersion == 1 ? "\r\n" : "\r";
    int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, Index, 0));
    String text;
    if (start >= 0) {
        text = S + lineEnd;
    } else {
        start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, Index - 1, 0));
        if (start < 0) return;
        const int length = static_cast<int>(SendMessageA(h, EM_LINELENGTH, start, 0));
        if (length == 0) return;
        start += length;
        text = lineEnd + S;
    }
    richEdit_->SetSelection(start, start, false);
    richEdit_->LinesUpdating = true;
    SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    richEdit_->LinesUpdating = false;
    if (RichEditVersion == 1 && richEdit_->SelStart() != start + static_cast<int>(text.size()))
        throw EOutOfResources(String(RichEditText::LineInsertion));
}

void TRichEditStrings::Delete(int Index)
{
    if (Index < 0) return;
    HWND h = richEdit_->Handle();
    const int start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, Index, 0));
    if (start == -1) return;
    int end = static_cast<int>(SendMessageA(h, EM_LINEINDEX, Index + 1, 0));
    if (end == -1) end = start + static_cast<int>(SendMessageA(h, EM_LINELENGTH, start, 0));
    richEdit_->SetSelection(start, end, false);
    richEdit_->LinesUpdating = true;
    SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
    richEdit_->LinesUpdating = false;
}

void TRichEditStrings::Clear() { richEdit_->Clear(); }

void TRichEditStrings::SetText(std::string_view Value)
{
    EnableChange(false);
    try {
        TStrings::SetText(Value);
    } catch (...) {
        EnableChange(true);
        throw;
    }
    EnableChange(true);
}

void TRichEditStrings::AddStrings(const TStrings* Source)
{
    const TNotifyEvent selectionChange = richEdit_->OnSelectionChange;
    richEdit_->OnSelectionChange = nullptr;
    try {
        TStrings::AddStrings(Source);
    } catch (...) {
        richEdit_->OnSelectionChange = selectionChange;
        throw;
    }
    richEdit_->OnSelectionChange = selectionChange;
}

void TRichEditStrings::EnableChange(bool Value)
{
    HWND h = richEdit_->Handle();
    LPARAM mask = SendMessageA(h, EM_GETEVENTMASK, 0, 0);
    mask = Value ? (mask | ENM_CHANGE) : (mask & ~ENM_CHANGE);
    SendMessageA(h, EM_SETEVENTMASK, 0, mask);
}

void TRichEditStrings::SetUpdateState(bool Updating)
{
    if (richEdit_->Showing()) SendMessageA(richEdit_->Handle(), WM_SETREDRAW, !Updating, 0);
    if (!Updating) {
        richEdit_->Invalidate();
        richEdit_->Perform(CM_TEXTCHANGED);
    }
}

bool TRichEditStrings::PlainStream() const
{
    return Format == sfPlainText || (Format == sfDefault && richEdit_->PlainText());
}

void TRichEditStrings::LoadFromStream(TStream* Stream)
{
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = converter_.get();
    if (!converter) {
        temporary = NewConversion<TConversion>();
        converter = temporary.get();
    }
    const std::int64_t position = Stream->Position();
    const bool plain = PlainStream();
    WPARAM flags = plain ? SF_TEXT : SF_RTF;
    if (!plain && Mode.Contains(smPlainRtf)) flags |= SFF_PLAINRTF;
    if (plain && Mode.Contains(smUnicode) && RichEditVersion >= 2) flags |= SF_UNICODE;
    // The retry keeps a selection load a selection load: an insert that failed must never
    // come back as a replacement of the whole text.
    const WPARAM selection = Mode.Contains(smSelection) ? SFF_SELECTION : 0;
    HWND h = richEdit_->Handle();
    if (!StreamIn(h, converter, Stream, flags | selection)) {
        Stream->SetPosition(position);
        if (!StreamIn(h, converter, Stream, (plain ? SF_RTF : SF_TEXT) | selection))
            throw EOutOfResources(String(RichEditText::LoadStream));
    }
    richEdit_->SetSelection(0, 0, true);
}

void TRichEditStrings::SaveToStream(TStream* Stream)
{
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = converter_.get();
    if (!converter) {
        temporary = NewConversion<TConversion>();
        converter = temporary.get();
    }
    WPARAM flags;
    if (PlainStream()) {
        flags = SF_TEXT;
        if (Mode.Contains(smUnicode) && RichEditVersion >= 2) flags |= SF_UNICODE;
    } else {
        flags = Mode.Contains(smNoObjects) ? SF_RTFNOOBJS : SF_RTF;
        if (Mode.Contains(smPlainRtf)) flags |= SFF_PLAINRTF;
    }
    if (Mode.Contains(smSelection)) flags |= SFF_SELECTION;
    if (!StreamOut(richEdit_->Handle(), converter, Stream, flags))
        throw EOutOfResources(String(RichEditText::SaveStream));
}

template <class Op>
void TRichEditStrings::WithFileConversion(const String& FileName, Op op)
{
    const TRichConversionFormat* format = FindConversionFormat(ConversionExtensionOf(FileName));
    const TRichStreamFormat kept = Format;
    try {
        if (!converter_ && format) converter_ = format->ConversionClass();
        if (format) Format = format->PlainText ? sfPlainText : sfRichText;
        op();
    } catch (...) {
        Format = kept;
        converter_.reset();
        throw;
    }
    Format = kept;
}

void TRichEditStrings::LoadFromFile(const String& FileName)
{
    WithFileConversion(FileName, [&] {
        TFileStream file(FileName, fmOpenRead);
        LoadFromStream(&file);
    });
}

void TRichEditStrings::SaveToFile(const String& FileName)
{
    WithFileConversion(FileName, [&] {
        // The whole text is written first; the file is replaced only when that succeeded.
        TMemoryStream whole;
        SaveToStream(&whole);
        WriteFileReplacing(FileName, whole.Memory(), static_cast<size_t>(whole.Size()));
    });
}

// ---- OEM text ----------------------------------------------------------------------------

int TOEMConversion::ConvertReadStream(TStream* Stream, char* Buffer, int BufSize)
{
    std::vector<char> oem(static_cast<size_t>(std::max(BufSize, 0)) + 1);
    const int got = TConversion::ConvertReadStream(Stream, oem.data(), BufSize);
    if (got > 0) OemToCharBuffA(oem.data(), Buffer, static_cast<DWORD>(got));
    return got;
}

int TOEMConversion::ConvertWriteStream(TStream* Stream, const char* Buffer, int BufSize)
{
    std::vector<char> oem(static_cast<size_t>(std::max(BufSize, 0)) + 1);
    if (BufSize > 0) CharToOemBuffA(Buffer, oem.data(), static_cast<DWORD>(BufSize));
    return TConversion::ConvertWriteStream(Stream, oem.data(), BufSize);
}
