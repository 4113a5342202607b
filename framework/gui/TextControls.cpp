// Labels, edits, memos and combo boxes.
#include "framework/gui/TextControls.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/Exceptions.h"

// ---- TLabel ------------------------------------------------------------------------------
TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool v)
{
    autoSize_ = v;
    AdjustBounds();
}

void TLabel::AdjustBounds()
{
    if (!autoSize_ || wordWrap_) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, 0, 0};
    String text = Caption().empty() ? String(" ") : Caption();
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int w = r.right - r.left, h = r.bottom - r.top;
    int l = Left();
    if (alignment_ == taRightJustify) l = Left() + Width() - w;
    SetBounds(l, Top(), w, h);
}

void TLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        return;
    default: break;
    }
    TGraphicControl::Dispatch(m);
}

void TLabel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!transparent_) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(Font());
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    if (!wordWrap_) {
        if (Layout == tlCenter)
            flags |= DT_VCENTER;
        else if (Layout == tlBottom)
            flags |= DT_BOTTOM;
    }
    if (!Enabled()) {
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(Caption(), Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1), flags);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(Caption(), r, flags);
}

// ---- TCustomEdit -------------------------------------------------------------------------
TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    // A click into the text is a click: handlers select the value there for typing over it.
    ControlStyle << csClickEvents;
    SetColor(clWindow);
    TabStop = true;
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = "EDIT";
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= ES_AUTOHSCROLL;
    if (readOnly_) p.Style |= ES_READONLY;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    if (maxLength_) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(Handle(), EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::DestroyWnd()
{
    if (HandleAllocated()) modified_ = SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0;
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetTextValue(const String& v)
{
    changeReported_ = false;
    TWinControl::SetTextValue(v);
}

void TCustomEdit::SetReadOnly(bool v)
{
    readOnly_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v)
{
    maxLength_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

bool TCustomEdit::Modified()
{
    if (HandleAllocated()) return SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool v)
{
    modified_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETMODIFY, v, 0);
}

int TCustomEdit::SelStart()
{
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int v) { SendMessageA(Handle(), EM_SETSEL, v, v); }

int TCustomEdit::SelLength()
{
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int v)
{
    int start = SelStart();
    SendMessageA(Handle(), EM_SETSEL, start, start + v);
}

String TCustomEdit::SelText()
{
    String text = Text();
    int start = std::clamp(SelStart(), 0, static_cast<int>(text.size()));
    int length = std::clamp(SelLength(), 0, static_cast<int>(text.size()) - start);
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const String& v)
{
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

int TCustomEdit::GetTextLen()
{
    return static_cast<int>(SendMessageA(Handle(), WM_GETTEXTLENGTH, 0, 0));
}

void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            changeReported_ = true;
            Change();
        }
        return;
    case CM_TEXTCHANGED:
        // A single-line edit and the rich edit report a text set by the program themselves
        // (EN_CHANGE); a multi-line edit, or one without a window yet, does not, so the
        // change is reported here: once either way.
        TWinControl::Dispatch(m);
        if (!changeReported_) Change();
        return;
    default: break;
    }
    TWinControl::Dispatch(m);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TEdit::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    if (PasswordChar) p.Style |= ES_PASSWORD;
}

// ---- TMemo -------------------------------------------------------------------------------
namespace {

// The memo's lines as a view of its text: every change rewrites the text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo* memo) : memo_(memo) {}
    int Count() const override { return static_cast<int>(Split().size()); }
    String Get(int Index) const override
    {
        auto lines = Split();
        Check(Index, static_cast<int>(lines.size()));
        return lines[static_cast<size_t>(Index)];
    }
    void Put(int Index, const String& S) override
    {
        auto lines = Split();
        Check(Index, static_cast<int>(lines.size()));
        lines[static_cast<size_t>(Index)] = S;
        Join(lines);
    }
    void Insert(int Index, const String& S) override
    {
        auto lines = Split();
        Check(Index, static_cast<int>(lines.size()) + 1);
        lines.insert(lines.begin() + Index, S);
        Join(lines);
    }
    // A line added at the end goes in by one replacement at the end, leaving the control as a
    // rewrite of the whole text would (caret and view at the start, not modified, the change
    // reported once): a rewrite made the word-wrapped control lay out every line again, and a
    // memo that gets a line on every scroll of the screen made each typed key cost tens of
    // milliseconds once it held some thousand lines. Past the control's limit for appended text
    // (a rewrite is not held to it) the whole text is still rewritten.
    int Add(const String& S) override
    {
        const String text = memo_->Text();
        const int at = LineCount(text);
        const String piece =
            (text.empty() || text.back() == '\n' ? String() : String("\r\n")) + S + "\r\n";
        if (!memo_->HandleAllocated()) {
            Insert(at, S);
            return at;
        }
        HWND h = memo_->Handle();
        const auto limit = static_cast<size_t>(SendMessageA(h, EM_GETLIMITTEXT, 0, 0));
        if (text.size() + piece.size() > limit) {
            Insert(at, S);
            return at;
        }
        const auto end = static_cast<WPARAM>(text.size());
        SendMessageA(h, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        SendMessageA(h, EM_SETSEL, 0, 0);
        SendMessageA(h, EM_SCROLLCARET, 0, 0);
        SendMessageA(h, EM_SETMODIFY, FALSE, 0);
        return at;
    }
    void Delete(int Index) override
    {
        auto lines = Split();
        Check(Index, static_cast<int>(lines.size()));
        lines.erase(lines.begin() + Index);
        Join(lines);
    }
    void Clear() override { memo_->SetText(""); }
    String Text() const override { return memo_->Text(); }
    void SetText(std::string_view Value) override { memo_->SetText(String(Value)); }

private:
    std::vector<String> Split() const
    {
        std::vector<String> lines;
        String text = memo_->Text();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == String::npos) {
                lines.push_back(text.substr(start));
                break;
            }
            size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
            lines.push_back(text.substr(start, stop - start));
            start = end + 1;
        }
        return lines;
    }
    // As Split counts them, without building the lines.
    static int LineCount(const String& text)
    {
        const auto breaks = std::count(text.begin(), text.end(), '\n');
        const bool open = !text.empty() && text.back() != '\n';
        return static_cast<int>(breaks) + (open ? 1 : 0);
    }
    void Join(const std::vector<String>& lines)
    {
        String text;
        for (const String& l : lines) text += l + "\r\n";
        memo_->SetText(text);
    }
    static void Check(int index, int limit)
    {
        if (index < 0 || index >= limit) throw EListError(GuiText::ListIndex, index);
    }
    TMemo* memo_;
};

}  // namespace

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(new TMemoStrings(this))
{
    multiLine_ = true;
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() { delete lines_; }

void TMemo::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    p.Style &= ~ES_AUTOHSCROLL;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (WantReturns) p.Style |= ES_WANTRETURN;
    if (!WordWrap) p.Style |= ES_AUTOHSCROLL;
    if (ScrollBars == ssVertical || ScrollBars == ssBoth) p.Style |= WS_VSCROLL;
    if (ScrollBars == ssHorizontal || ScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

// ---- TComboBox ---------------------------------------------------------------------------
// The items live here; the window gets a copy of each change.
class TComboBox::TComboItems : public TStringList {
public:
    explicit TComboItems(TComboBox* combo) : combo_(combo) {}
    void Insert(int Index, const String& S) override
    {
        TStringList::Insert(Index, S);
        if (combo_->HandleAllocated())
            SendMessageA(combo_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(Index),
                         reinterpret_cast<LPARAM>(S.c_str()));
    }
    int Add(const String& S) override
    {
        Insert(Count(), S);
        return Count() - 1;
    }
    void Put(int Index, const String& S) override
    {
        const int selected = combo_->ItemIndex();
        TObject* object = Objects(Index);
        Delete(Index);
        Insert(Index, S);
        TStringList::SetObjectAt(Index, object);
        if (selected == Index) combo_->SetItemIndex(Index);
    }
    void Delete(int Index) override
    {
        TStringList::Delete(Index);
        if (combo_->HandleAllocated())
            SendMessageA(combo_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(Index), 0);
        if (combo_->itemIndex_ >= Count()) combo_->itemIndex_ = -1;
    }
    void Clear() override
    {
        TStringList::Clear();
        combo_->itemIndex_ = -1;
        if (combo_->HandleAllocated()) SendMessageA(combo_->Handle(), CB_RESETCONTENT, 0, 0);
    }

private:
    TComboBox* combo_;
};

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner), items_(new TComboItems(this))
{
    SetColor(clWindow);
    TabStop = true;
    SetBounds(0, 0, 145, 21);
}

TStrings* TComboBox::Items() { return items_; }

TComboBox::~TComboBox()
{
    if (HandleAllocated()) DestroyWnd();
    delete items_;
}

void TComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = "COMBOBOX";
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |=
        WS_VSCROLL | CBS_AUTOHSCROLL | (style_ == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    // The window's height includes the list that drops down.
    p.Height = Height() + DropDownCount * 16 + 2;
}

void TComboBox::CreateWnd()
{
    const int selected = itemIndex_;
    const String text = text_;
    TWinControl::CreateWnd();
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (style_ == csDropDown && selected < 0) SetWindowTextA(Handle(), text.c_str());
}

void TComboBox::DestroyWnd()
{
    if (HandleAllocated())
        itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

void TComboBox::SetBounds(int l, int t, int w, int h)
{
    if (!HandleAllocated()) {
        TWinControl::SetBounds(l, t, w, h);
        return;
    }
    // Keep the drop-down list's height when the control moves or changes width.
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    SetWindowPos(Handle(), nullptr, l, t, w, h + DropDownCount * 16 + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(Handle(), &r);
    height_ = r.bottom - r.top;
    if (Align() != alNone && Parent()) Parent()->Realign();
}

void TComboBox::SetStyle(TComboBoxStyle v)
{
    if (v == style_) return;
    style_ = v;
    RecreateWnd();
}

int TComboBox::ItemIndex()
{
    if (HandleAllocated()) return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int v)
{
    if (v < -1 || v >= items_->Count()) v = -1;
    itemIndex_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

String TComboBox::GetText()
{
    if (style_ == csDropDownList) {
        int i = ItemIndex();
        return i >= 0 && i < items_->Count() ? items_->Get(i) : String();
    }
    return TWinControl::GetText();
}

void TComboBox::SetTextValue(const String& v)
{
    if (style_ == csDropDownList) {
        // A list shows only its items: the text selects the item that has it.
        SetItemIndex(items_->IndexOf(v));
        return;
    }
    TWinControl::SetTextValue(v);
}

bool TComboBox::DroppedDown()
{
    return HandleAllocated() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool v) { SendMessageA(Handle(), CB_SHOWDROPDOWN, v, 0); }

void TComboBox::FitDropDownList()
{
    // The list the platform drops fills what the window's height leaves below the edit part,
    // and the form data's heights are no measure of that: sized here, as it drops, it shows
    // DropDownCount rows (all of them when there are fewer).
    const int rows = std::clamp(items_->Count(), 1, std::max(DropDownCount, 1));
    const auto rowHeight = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
    RECT closed;
    GetWindowRect(Handle(), &closed);
    SendMessageA(Handle(), CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
    SetWindowPos(Handle(), nullptr, 0, 0, closed.right - closed.left,
                 closed.bottom - closed.top + rows * rowHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::Clear()
{
    items_->Clear();
    if (style_ == csDropDown) TWinControl::SetTextValue("");
}

void TComboBox::SelectionChanged()
{
    itemIndex_ = ItemIndex();
    Click();
    if (OnChange) OnChange(this);
}

void TComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE: SelectionChanged(); break;
        case CBN_CLOSEUP:
            // A list closed by a click elsewhere takes back the item the keys picked in it,
            // and tells nobody: the selection shown changed all the same.
            if (ItemIndex() != itemIndex_) SelectionChanged();
            break;
        case CBN_EDITCHANGE:
            if (OnChange) OnChange(this);
            break;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            FitDropDownList();
            break;
        default: break;
        }
        return;
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLOREDIT: break;
    default: break;
    }
    TWinControl::Dispatch(m);
}
