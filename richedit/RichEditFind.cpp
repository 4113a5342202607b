// Find and replace in the editor control: its own search with the control's find message, the
// framework's modeless find and replace dialogs, and moving a dialog off the text it found.
#include <algorithm>

#include "framework/Strings.h"
#include "richedit/FindDialogPlacement.h"
#include "richedit/Maxmin.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"

using enum TRichSearchType;

int TQvCustomRichEdit::FindText(const String& SearchStr, int StartPos, int Length,
                                TRichSearchTypes Options)
{
    // An empty text matches where the search starts, so a replace-all would never end.
    if (SearchStr.empty()) return -1;
    WPARAM flags;
    if (RichEditVersion == 1) {
        Options >> stBackward;
        flags = 0;
    } else {
        flags = Options.Contains(stBackward) ? 0 : FR_DOWN;
    }
    if (Options.Contains(stWholeWord)) flags |= FR_WHOLEWORD;
    if (Options.Contains(stMatchCase)) flags |= FR_MATCHCASE;
    FINDTEXTEXA find{};
    find.chrg.cpMin = StartPos;
    find.chrg.cpMax = StartPos + std::abs(Length);
    find.lpstrText = SearchStr.c_str();
    const int found = static_cast<int>(
        SendMessageA(Handle(), EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find)));
    if (found >= 0 && Options.Contains(stSetSelection))
        SetSelection(find.chrgText.cpMin, find.chrgText.cpMax, true);
    return found;
}

bool TQvCustomRichEdit::FindEditText(TFindDialog* Dialog, bool AdjustPos, bool Events)
{
    TRichSearchTypes options{stSetSelection};
    const CHARRANGE sel = GetSelection();
    int start, length;
    if (Dialog->Options.Contains(frDown)) {
        start = Max(sel.cpMin, sel.cpMax);
        length = GetTextLen() - start + 1;
    } else {
        options << stBackward;
        start = Min(sel.cpMin, sel.cpMax);
        length = start + 1;
    }
    if (Dialog->Options.Contains(frMatchCase)) options << stMatchCase;
    if (Dialog->Options.Contains(frWholeWord)) options << stWholeWord;
    // Searching up from a start below the range's end, the control searches 0 .. start.
    const bool found = FindText(Dialog->FindText, start, length, options) >= 0;
    if (!Dialog->FindText.empty()) lastFindDialog_ = Dialog;
    if (found && AdjustPos) MoveDialogClearOfHit(Dialog);
    if (!found && Events) TextNotFound(Dialog);
    return found;
}

void TQvCustomRichEdit::SetUpDialog(TFindDialog* Dialog, const String& SearchStr)
{
    if (!SearchStr.empty()) Dialog->FindText = SearchStr;
    if (RichEditVersion == 1) Dialog->Options << frDown << frHideUpDown;
    Dialog->OnFind = TNotifyEvent(this, &TQvCustomRichEdit::DialogFind);
    Dialog->OnClose = TNotifyEvent(this, &TQvCustomRichEdit::DialogClose);
}

TFindDialog* TQvCustomRichEdit::FindDialog(const String& SearchStr)
{
    if (!findDialog_) {
        findDialog_ = new TFindDialog(this);
        if (replaceDialog_) findDialog_->FindText = replaceDialog_->FindText;
    }
    SetUpDialog(findDialog_, SearchStr);
    findDialog_->Execute();
    return findDialog_;
}

TReplaceDialog* TQvCustomRichEdit::ReplaceDialog(const String& SearchStr, const String& ReplaceStr)
{
    if (!replaceDialog_) {
        replaceDialog_ = new TReplaceDialog(this);
        if (findDialog_) replaceDialog_->FindText = findDialog_->FindText;
    }
    SetUpDialog(replaceDialog_, SearchStr);
    if (!ReplaceStr.empty()) replaceDialog_->ReplaceText = ReplaceStr;
    replaceDialog_->OnReplace = TNotifyEvent(this, &TQvCustomRichEdit::DialogReplace);
    replaceDialog_->Execute();
    return replaceDialog_;
}

bool TQvCustomRichEdit::CanFindNext()
{
    return HandleAllocated() && lastFindDialog_ && !lastFindDialog_->FindText.empty();
}

bool TQvCustomRichEdit::FindNext()
{
    return CanFindNext() && FindEditText(lastFindDialog_, false, true);
}

void TQvCustomRichEdit::TextNotFound(TFindDialog* Dialog)
{
    if (OnTextNotFound) OnTextNotFound(this, Dialog->FindText);
}

void TQvCustomRichEdit::CloseFindDialog(TFindDialog* Dialog)
{
    if (OnCloseFindDialog) OnCloseFindDialog(this, Dialog);
}

void TQvCustomRichEdit::DialogFind(TObject* Sender)
{
    FindEditText(static_cast<TFindDialog*>(Sender), true, true);
}

void TQvCustomRichEdit::DialogClose(TObject* Sender)
{
    CloseFindDialog(static_cast<TFindDialog*>(Sender));
}

void TQvCustomRichEdit::DialogReplace(TObject* Sender)
{
    auto* dialog = static_cast<TReplaceDialog*>(Sender);
    if (dialog->Options.Contains(frReplaceAll)) {
        int count = 0;
        const TNotifyEvent selectionChange = OnSelectionChange;
        OnSelectionChange = nullptr;
        lines_->EnableChange(false);
        try {
            while (FindEditText(dialog, false, false)) {
                SetSelText(dialog->ReplaceText);
                ++count;
            }
            if (count == 0)
                TextNotFound(dialog);
            else
                MoveDialogClearOfHit(dialog);
        } catch (...) {
            lines_->EnableChange(true);
            OnSelectionChange = selectionChange;
            throw;
        }
        lines_->EnableChange(true);
        OnSelectionChange = selectionChange;
        if (count > 0) {
            Change();
            SelectionChange();
        }
        return;
    }
    if (!dialog->Options.Contains(frReplace)) return;
    // Only a match the user can see is replaced: the selection, when it is one; then the
    // next match is found and selected for the next press.
    const String selected = SelText();
    const bool matchCase = dialog->Options.Contains(frMatchCase);
    if (!dialog->FindText.empty() &&
        (matchCase ? selected == dialog->FindText : SameText(selected, dialog->FindText)))
        SetSelText(dialog->ReplaceText);
    FindEditText(dialog, true, true);
}

void TQvCustomRichEdit::MoveDialogClearOfHit(TFindDialog* Dialog)
{
    HWND window = Dialog->Handle();
    if (!window || !IsWindow(window)) return;
    const CHARRANGE sel = GetSelection();
    TPoint start = GetCharPos(sel.cpMin), end = GetCharPos(sel.cpMax);
    POINT a{start.x, start.y}, b{end.x, end.y};
    ::ClientToScreen(Handle(), &a);
    ::ClientToScreen(Handle(), &b);
    RECT r{};
    GetWindowRect(window, &r);
    const auto top = DialogTopClearOfHit(TScreenRect{a.x, a.y, b.x, b.y},
                                         TScreenRect{r.left, r.top, r.right, r.bottom},
                                         GetSystemMetrics(SM_CYSCREEN));
    if (!top) return;
    SetWindowPos(window, nullptr, r.left, *top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Dialog->SetPosition(r.left, *top);
}
