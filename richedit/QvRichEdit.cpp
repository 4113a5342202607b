// The editor control's window: creation and re-creation (text and modified flag carried
// through a stream), text modes, selection, undo and redo, and the messages it changes.
#include "richedit/QvRichEdit.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/Menu.h"
#include "richedit/RichEditLibrary.h"
#include "richedit/RichEditOle.h"

namespace {

constexpr int LargestText = 0xFFFFFF;
constexpr DWORD BaseEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;

// One paint at a time for every version-1 control: that library repaints a window from
// inside another's paint.
bool versionOnePainting = false;

// The lone CR, LF or CR LF a version 2 library stores as one paragraph mark.
int InsertedLength(const char* text)
{
    if (!text) return 0;
    const int length = static_cast<int>(std::strlen(text));
    if (RichEditVersion < 2) return length;
    int pairs = 0;
    for (int i = 0; i + 1 < length; ++i)
        if (text[i] == '\r' && text[i + 1] == '\n') ++pairs;
    return length - pairs;
}

// Puts the lines' stream format and mode back to Format and Mode when it ends, whatever the
// load or save in between did or raised.
class TStreamSettingsRestore {
public:
    TStreamSettingsRestore(TRichEditStrings& Lines, TRichStreamFormat Format, TRichStreamModes Mode)
        : lines_(Lines),
          format_(Format),
          mode_(Mode)
    {
    }
    ~TStreamSettingsRestore()
    {
        lines_.Format = format_;
        lines_.Mode = mode_;
    }
    TStreamSettingsRestore(const TStreamSettingsRestore&) = delete;
    TStreamSettingsRestore& operator=(const TStreamSettingsRestore&) = delete;

private:
    TRichEditStrings& lines_;
    TRichStreamFormat format_;
    TRichStreamModes mode_;
};

}  // namespace

void TQvCustomRichEdit::RegisterConversionFormat(std::string_view Extension, bool PlainText,
                                                 TConversionClass ConversionClass)
{
    ::RegisterConversionFormat(Extension, PlainText, ConversionClass);
}

TQvCustomRichEdit::TQvCustomRichEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    RichEditStartup();
    RichEditControlCreated();
    multiLine_ = true;
    ControlStyle >> csSetCaption;
    selAttributes_ = std::make_unique<TQvTextAttributes>(this, atSelected);
    defAttributes_ = std::make_unique<TQvTextAttributes>(this, atDefaultText);
    wordAttributes_ = std::make_unique<TQvTextAttributes>(this, atWord);
    paragraph_ = std::make_unique<TQvParaAttributes>(this);
    lines_ = std::make_unique<TRichEditStrings>(this);
    TabStop = true;
    SetBounds(0, 0, 185, 89);
    HDC screen = GetDC(nullptr);
    screenLogPixels_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    oleCallback_ = new TRichEditOleCallback(this);
    Perform(CM_PARENTBIDIMODECHANGED);
}

TQvCustomRichEdit::~TQvCustomRichEdit()
{
    Destroying();
    lastFindDialog_ = nullptr;
    delete findDialog_;
    delete replaceDialog_;
    delete verbMenu_;
    if (HandleAllocated()) DestroyWnd();
    // The window that borrowed the callback is gone with the handle.
    delete oleCallback_;
    RichEditControlDestroyed();
}

void TQvCustomRichEdit::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    p.WinClassName = RichEditVersion == 1 ? "RICHEDIT" : "RichEdit20A";
    p.Style &= ~(WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_SAVESEL | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (WantReturns) p.Style |= ES_WANTRETURN;
    if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_) p.Style |= WS_HSCROLL;
    if (!hideScrollBars_) p.Style |= ES_DISABLENOSCROLL;
    if (selectionBar_) p.Style |= ES_SELECTIONBAR;
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
    if (alignment_ == taCenter) p.Style |= ES_CENTER;
    p.ClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
    // A re-created window gets its text from the saved stream, with its formatting.
    if (saveStream_) p.Caption.clear();
}

void TQvCustomRichEdit::CreateWindowHandle(const TCreateParams& Params)
{
    // The control's bounds stand, whatever size the new window took or reported on the way.
    const TRect bounds = BoundsRect();
    TCustomEdit::CreateWindowHandle(Params);
    if (!HandleAllocated()) return;
    left_ = bounds.Left;
    top_ = bounds.Top;
    width_ = bounds.Width();
    height_ = bounds.Height();
    SetWindowPos(Handle(), nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQvCustomRichEdit::CreateWnd()
{
    const TRichStreamFormat format = lines_->Format;
    const TRichStreamModes mode = lines_->Mode;
    TCustomEdit::CreateWnd();
    HWND h = Handle();
    // Far East systems other than Japanese: the font's own charset would show their text in
    // the wrong script; the default charset lets the control choose per character.
    if (GetSystemMetrics(SM_DBCSENABLED) &&
        PRIMARYLANGID(GetSystemDefaultLangID()) != LANG_JAPANESE)
        Font()->SetCharset(DEFAULT_CHARSET);
    SendMessageA(h, EM_SETEVENTMASK, 0, BaseEventMask | (RichEditVersion >= 2 ? ENM_LINK : 0));
    SendMessageA(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    DoSetMaxLength(MaxLength());
    SetWordSelection(wordSelection_);
    if (RichEditVersion >= 2) {
        SendMessageA(h, EM_AUTOURLDETECT, autoURLDetect_, 0);
        undoLimit_ = static_cast<int>(SendMessageA(h, EM_SETUNDOLIMIT, undoLimit_, 0));
        UpdateTextModes(plainText_);
        SetLangOptions(langOptions_);
    }
    if (allowObjects_) {
        SendMessageA(h, EM_SETOLECALLBACK, 0,
                     reinterpret_cast<LPARAM>(static_cast<IRichEditOleCallback*>(oleCallback_)));
        SendMessageA(h, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&oleInterface_));
        UpdateHostNames();
    }
    if (saveStream_) {
        std::unique_ptr<TMemoryStream> saved = std::move(saveStream_);
        char designFlag = 0;
        saved->ReadBuffer(&designFlag, 1);
        TStreamSettingsRestore restore(*lines_, format, mode);
        if (designFlag == 1) {
            lines_->Format = sfPlainText;
            lines_->Mode = {};
        }
        lines_->LoadFromStream(saved.get());
    }
    if (RichEditVersion == 1) SendMessageA(h, WM_SETFONT, 0, 0);
    SetModified(savedModified_);
}

void TQvCustomRichEdit::DestroyWnd()
{
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
        savedModified_ = Modified();
        auto saved = std::make_unique<TMemoryStream>();
        const bool designing = ComponentState().Contains(csDesigning);
        const char designFlag = designing ? 1 : 0;
        saved->WriteBuffer(&designFlag, 1);
        {
            TStreamSettingsRestore restore(*lines_, lines_->Format, lines_->Mode);
            if (designing) {
                lines_->Format = sfPlainText;
                lines_->Mode = {};
            }
            lines_->SaveToStream(saved.get());
        }
        saved->SetPosition(0);
        saveStream_ = std::move(saved);
    }
    TCustomEdit::DestroyWnd();
}

void TQvCustomRichEdit::DoSetPlainText(bool Value)
{
    if (Value == plainText_) return;
    if (HandleAllocated() && RichEditVersion >= 2) {
        TMemoryStream kept;
        const TRichStreamFormat format = lines_->Format;
        const TRichStreamModes mode = lines_->Mode;
        struct Restore {
            TRichEditStrings* lines;
            TRichStreamFormat format;
            TRichStreamModes mode;
            ~Restore()
            {
                lines->Format = format;
                lines->Mode = mode;
            }
        } restore{lines_.get(), format, mode};
        lines_->Format =
            (Value || ComponentState().Contains(csDesigning)) ? sfPlainText : sfRichText;
        lines_->Mode = {};
        lines_->SaveToStream(&kept);
        kept.SetPosition(0);
        lines_->EnableChange(false);
        SendMessageA(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        plainText_ = Value;
        UpdateTextModes(Value);
        lines_->EnableChange(true);
        lines_->LoadFromStream(&kept);
    }
    plainText_ = Value;
}

void TQvCustomRichEdit::UpdateTextModes(bool Plain)
{
    if (RichEditVersion < 2 || !HandleAllocated()) return;
    const WPARAM undo = undoLimit_ < 2 ? TM_SINGLELEVELUNDO : TM_MULTILEVELUNDO;
    SendMessageA(Handle(), EM_SETTEXTMODE, undo | (Plain ? TM_PLAINTEXT : TM_RICHTEXT), 0);
}

void TQvCustomRichEdit::SetMaxLength(int v)
{
    TCustomEdit::SetMaxLength(v);
    DoSetMaxLength(v);
}

void TQvCustomRichEdit::DoSetMaxLength(int Value)
{
    if (HandleAllocated())
        SendMessageA(Handle(), EM_EXLIMITTEXT, 0, Value == 0 ? LargestText : Value);
}

// ---- selection and text ------------------------------------------------------------------

CHARRANGE TQvCustomRichEdit::GetSelection()
{
    CHARRANGE cr{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    return cr;
}

void TQvCustomRichEdit::SetSelection(int StartPos, int EndPos, bool ScrollCaret)
{
    CHARRANGE cr{StartPos, EndPos};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    if (ScrollCaret) SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

int TQvCustomRichEdit::SelStart() { return GetSelection().cpMin; }

int TQvCustomRichEdit::SelLength()
{
    const CHARRANGE cr = GetSelection();
    return cr.cpMax - cr.cpMin;
}

void TQvCustomRichEdit::SetSelStart(int v) { SetSelection(v, v, false); }

void TQvCustomRichEdit::SetSelLength(int v)
{
    const int start = GetSelection().cpMin;
    SetSelection(start, start + v, true);
}

String TQvCustomRichEdit::SelText()
{
    const CHARRANGE cr = GetSelection();
    return GetTextRange(cr.cpMin, cr.cpMax);
}

int TQvCustomRichEdit::GetSelTextBuf(char* Buffer, int BufSize)
{
    if (!Buffer || BufSize <= 0) return 0;
    const String text = SelText();
    // The zero counts against BufSize: a full buffer holds BufSize - 1 characters.
    const int n = std::min(static_cast<int>(text.size()), BufSize - 1);
    std::memcpy(Buffer, text.data(), static_cast<size_t>(n));
    Buffer[n] = '\0';
    return n;
}

String TQvCustomRichEdit::GetTextRange(int StartPos, int EndPos)
{
    // A reversed range (or an end of -1, "to the end" to the control) would size the buffer
    // negative.
    if (StartPos < 0 || EndPos < StartPos) return String();
    String text(static_cast<size_t>(EndPos - StartPos) + 1, '\0');
    TEXTRANGEA range{};
    range.chrg = {StartPos, EndPos};
    range.lpstrText = text.data();
    const int got = static_cast<int>(
        SendMessageA(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    text.resize(static_cast<size_t>(std::clamp(got, 0, EndPos - StartPos)));
    return text;
}

TPoint TQvCustomRichEdit::GetCaretPos()
{
    const CHARRANGE cr = GetSelection();
    return TPoint{cr.cpMax - GetLineIndex(-1), LineFromChar(cr.cpMax)};
}

TPoint TQvCustomRichEdit::GetCharPos(int CharIndex)
{
    if (!HandleAllocated()) return TPoint{0, 0};
    if (RichEditVersion == 2) {
        const LRESULT packed = SendMessageA(Handle(), EM_POSFROMCHAR, CharIndex, 0);
        return TPoint{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    }
    POINTL p{};
    SendMessageA(Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), CharIndex);
    return TPoint{p.x, p.y};
}

int TQvCustomRichEdit::LineFromChar(int CharIndex)
{
    return static_cast<int>(SendMessageA(Handle(), EM_EXLINEFROMCHAR, 0, CharIndex));
}

int TQvCustomRichEdit::GetLineIndex(int LineNo)
{
    return static_cast<int>(SendMessageA(Handle(), EM_LINEINDEX, LineNo, 0));
}

int TQvCustomRichEdit::GetLineLength(int CharIndex)
{
    return static_cast<int>(SendMessageA(Handle(), EM_LINELENGTH, CharIndex, 0));
}

String TQvCustomRichEdit::WordAtCursor()
{
    if (!HandleAllocated()) return String();
    HWND h = Handle();
    auto wordBreak = [h](WPARAM code, int pos) {
        return static_cast<int>(SendMessageA(h, EM_FINDWORDBREAK, code, pos));
    };
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const int p = SelStart();
    const int length = GetTextLen();
    int start = 0, end = 0;
    if (wordBreak(WB_RIGHTBREAK, p) >= p) {
        if (p != 0)
            start = wordBreak(WB_ISDELIMITER, p) == 0 ? wordBreak(WB_LEFT, p)
                                                      : wordBreak(WB_MOVEWORDLEFT, p);
        while (start < length && wordBreak(WB_ISDELIMITER, start) != 0) ++start;
        end = wordBreak(WB_RIGHTBREAK, p);
    } else {
        // A library without word breaks (Wine's answers 0 to every code, even a right break
        // before the caret): the default breaks are blanks and line breaks, found here.
        const String text = GetTextRange(0, length);
        const int n = static_cast<int>(text.size());
        start = std::min(p, n);
        if (start < n && blank(text[static_cast<size_t>(start)]) && start > 0 &&
            !blank(text[static_cast<size_t>(start - 1)]))
            --start;
        while (start > 0 && !blank(text[static_cast<size_t>(start - 1)])) --start;
        while (start < n && blank(text[static_cast<size_t>(start)])) ++start;
        end = std::max(start, std::min(p, n));
        while (end < n && !blank(text[static_cast<size_t>(end)])) ++end;
    }
    String word = GetTextRange(start, end);
    while (!word.empty() && blank(word.back())) word.pop_back();
    size_t lead = 0;
    while (lead < word.size() && blank(word[lead])) ++lead;
    return word.substr(lead);
}

TRichSelectionType TQvCustomRichEdit::GetSelectionType()
{
    if (!HandleAllocated()) return {};
    const auto bits = static_cast<unsigned>(SendMessageA(Handle(), EM_SELECTIONTYPE, 0, 0));
    TRichSelectionType t;
    if (bits & SEL_TEXT) t << stText;
    if (bits & SEL_OBJECT) t << stObject;
    if (bits & SEL_MULTICHAR) t << stMultiChar;
    if (bits & SEL_MULTIOBJECT) t << stMultiObject;
    return t;
}

bool TQvCustomRichEdit::CanPaste()
{
    return HandleAllocated() && SendMessageA(Handle(), EM_CANPASTE, 0, 0) != 0;
}

bool TQvCustomRichEdit::CanRedo()
{
    return HandleAllocated() && RichEditVersion >= 2 &&
           SendMessageA(Handle(), EM_CANREDO, 0, 0) != 0;
}

TUndoName TQvCustomRichEdit::UndoName()
{
    if (RichEditVersion < 2 || !HandleAllocated()) return unUnknown;
    return static_cast<TUndoName>(SendMessageA(Handle(), EM_GETUNDONAME, 0, 0));
}

TUndoName TQvCustomRichEdit::RedoName()
{
    if (RichEditVersion < 2 || !HandleAllocated()) return unUnknown;
    return static_cast<TUndoName>(SendMessageA(Handle(), EM_GETREDONAME, 0, 0));
}

void TQvCustomRichEdit::SetSelText(const String& v)
{
    // Not undoable unless the replacement handling below makes it so (multi-level undo).
    SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(v.c_str()));
}

void TQvCustomRichEdit::Undo() { SendMessageA(Handle(), EM_UNDO, 0, 0); }
void TQvCustomRichEdit::Redo() { SendMessageA(Handle(), EM_REDO, 0, 0); }
void TQvCustomRichEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }

void TQvCustomRichEdit::StopGroupTyping()
{
    if (RichEditVersion >= 2 && HandleAllocated()) SendMessageA(Handle(), EM_STOPGROUPTYPING, 0, 0);
}

void TQvCustomRichEdit::Clear()
{
    CloseObjects();
    TCustomEdit::Clear();
    SetModified(false);
}

// ---- properties --------------------------------------------------------------------------

bool TQvCustomRichEdit::AutoURLDetect()
{
    if (HandleAllocated() && RichEditVersion >= 2)
        return SendMessageA(Handle(), EM_GETAUTOURLDETECT, 0, 0) != 0;
    return autoURLDetect_;
}

void TQvCustomRichEdit::SetAutoURLDetect(bool v)
{
    if (v == autoURLDetect_) return;
    autoURLDetect_ = v;
    if (HandleAllocated() && RichEditVersion >= 2) SendMessageA(Handle(), EM_AUTOURLDETECT, v, 0);
}

bool TQvCustomRichEdit::WordSelection()
{
    if (HandleAllocated())
        return (SendMessageA(Handle(), EM_GETOPTIONS, 0, 0) & ECO_AUTOWORDSELECTION) != 0;
    return wordSelection_;
}

void TQvCustomRichEdit::SetWordSelection(bool v)
{
    wordSelection_ = v;
    if (!HandleAllocated()) return;
    LPARAM options = SendMessageA(Handle(), EM_GETOPTIONS, 0, 0);
    options = v ? (options | ECO_AUTOWORDSELECTION) : (options & ~ECO_AUTOWORDSELECTION);
    SendMessageA(Handle(), EM_SETOPTIONS, ECOOP_SET, options);
}

TRichLangOptions TQvCustomRichEdit::LangOptions()
{
    if (!HandleAllocated() || RichEditVersion < 2) return langOptions_;
    const auto flags = static_cast<unsigned>(SendMessageA(Handle(), EM_GETLANGOPTIONS, 0, 0));
    TRichLangOptions o;
    if (flags & IMF_AUTOKEYBOARD) o << rlAutoKeyboard;
    if (flags & IMF_AUTOFONT) o << rlAutoFont;
    if (flags & IMF_IMECANCELCOMPLETE) o << rlImeCancelComplete;
    if (flags & IMF_IMEALWAYSSENDNOTIFY) o << rlImeAlwaysSendNotify;
    return o;
}

void TQvCustomRichEdit::SetLangOptions(TRichLangOptions v)
{
    langOptions_ = v;
    if (!HandleAllocated() || RichEditVersion < 2) return;
    LPARAM flags = 0;
    if (v.Contains(rlAutoKeyboard)) flags |= IMF_AUTOKEYBOARD;
    if (v.Contains(rlAutoFont)) flags |= IMF_AUTOFONT;
    if (v.Contains(rlImeCancelComplete)) flags |= IMF_IMECANCELCOMPLETE;
    if (v.Contains(rlImeAlwaysSendNotify)) flags |= IMF_IMEALWAYSSENDNOTIFY;
    SendMessageA(Handle(), EM_SETLANGOPTIONS, 0, flags);
}

void TQvCustomRichEdit::SetUndoLimit(int v)
{
    if (v == undoLimit_) return;
    undoLimit_ = v;
    if (RichEditVersion >= 2 && HandleAllocated())
        undoLimit_ = static_cast<int>(SendMessageA(Handle(), EM_SETUNDOLIMIT, v, 0));
}

void TQvCustomRichEdit::SetHideSelection(bool v)
{
    if (v == hideSelection_) return;
    hideSelection_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), EM_HIDESELECTION, v, 1);
}

void TQvCustomRichEdit::SetHideScrollBars(bool v)
{
    if (v == hideScrollBars_) return;
    hideScrollBars_ = v;
    RecreateWnd();
}

void TQvCustomRichEdit::SetSelectionBar(bool v)
{
    if (v == selectionBar_) return;
    selectionBar_ = v;
    RecreateWnd();
}

void TQvCustomRichEdit::SetAllowObjects(bool v)
{
    if (v == allowObjects_) return;
    allowObjects_ = v;
    RecreateWnd();
}

void TQvCustomRichEdit::SetScrollBars(TScrollStyle v)
{
    if (v == scrollBars_) return;
    scrollBars_ = v;
    RecreateWnd();
}

void TQvCustomRichEdit::SetWordWrap(bool v)
{
    if (v == wordWrap_) return;
    wordWrap_ = v;
    RecreateWnd();
}

void TQvCustomRichEdit::SetAlignment(TAlignment v)
{
    if (v == alignment_) return;
    alignment_ = v;
    RecreateWnd();
}

// ---- messages ----------------------------------------------------------------------------

void TQvCustomRichEdit::ReplaceSel(TMessage& m)
{
    const CHARRANGE before = GetSelection();
    const int end = before.cpMin + InsertedLength(reinterpret_cast<const char*>(m.LParam));
    if (undoLimit_ >= 2 && RichEditVersion >= 2 && !LinesUpdating) m.WParam = 1;
    TCustomEdit::Dispatch(m);
    if (!LinesUpdating) SetSelection(before.cpMin, end, true);
}

void TQvCustomRichEdit::BiDiModeChanged(TMessage& m)
{
    // The paragraph needs the window; a control on no parent yet can have none.
    if (Parent()) HandleNeeded();
    TCustomEdit::Dispatch(m);
    if (!HandleAllocated()) return;
    // Written through the paragraph attributes, which mirror left and right for a window
    // that now aligns right to left.
    TParaFormatRecord p;
    paragraph_->GetAttributes(p);
    p.dwMask = PFM_ALIGNMENT;
    p.wAlignment = static_cast<WORD>(alignment_ + 1);
    paragraph_->SetAttributes(p);
}

void TQvCustomRichEdit::Paint(TMessage& m)
{
    HWND h = Handle();
    RECT update{};
    if (GetUpdateRect(h, &update, FALSE)) {
        // The version-1 control leaves its right edge unpainted after a horizontal change.
        RECT client{}, strip{}, meet{};
        GetClientRect(h, &client);
        strip = {client.right - 3, 0, client.right, client.bottom};
        if (IntersectRect(&meet, &strip, &update)) InvalidateRect(h, &strip, TRUE);
    }
    if (versionOnePainting) {
        InvalidateRect(h, nullptr, TRUE);
        return;
    }
    versionOnePainting = true;
    try {
        TCustomEdit::Dispatch(m);
    } catch (...) {
        versionOnePainting = false;
        throw;
    }
    versionOnePainting = false;
}

void TQvCustomRichEdit::DefaultHandler(TMessage& m)
{
    if (HandleAllocated() && input_.Handled(Handle(), m)) {
        m.Result = 0;
        return;
    }
    TCustomEdit::DefaultHandler(m);
}

void TQvCustomRichEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETFONT: defAttributes_->Assign(Font()); return;
    case CM_FONTCHANGED:
        TCustomEdit::Dispatch(m);
        defAttributes_->Assign(Font());
        return;
    case CM_COLORCHANGED:
        TCustomEdit::Dispatch(m);
        if (HandleAllocated())
            SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
        return;
    case EM_REPLACESEL: ReplaceSel(m); return;
    case CN_NOTIFY: Notify(m); return;
    case CM_BIDIMODECHANGED: BiDiModeChanged(m); return;
    case CM_DOCWINDOWACTIVATE: DocWindowActivate(m); return;
    case CM_UIDEACTIVATE: return;
    case WM_DESTROY:
        CloseObjects();
        ReleaseOle();
        break;
    case WM_PAINT:
        if (RichEditVersion == 1) {
            Paint(m);
            return;
        }
        break;
    case WM_RBUTTONUP: {
        // Systems before Windows 2000 sent no context-menu message for this control.
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (GetVersionExA(&info) && info.dwMajorVersion < 5) {
            POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            ::ClientToScreen(Handle(), &p);
            SendMessageA(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()),
                         MAKELPARAM(p.x, p.y));
        }
        break;
    }
    default: break;
    }
    TCustomEdit::Dispatch(m);
}
