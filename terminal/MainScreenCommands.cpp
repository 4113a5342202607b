// The receive screen's commands: find (forward only), select all, print and printer set-up,
// save as rich text, copy to the clipboard, and the hidden panel's test text.
#include <richedit.h>

#include "framework/FileReplace.h"
#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"

void TForm1::Find_spbtnClick(TObject* Sender)
{
    FindDialog1->SetPosition(Left() + Width() / 2, Top());
    FindDialog1->Execute();
}

void TForm1::FindDialog1Find(TObject* Sender)
{
    // From the end of the selection on, so the next search continues after the last match.
    const int start = reScreen->SelStart() + reScreen->SelLength();
    const int length = reScreen->GetTextLen() - start;
    TSearchTypes options;
    if (FindDialog1->Options.Contains(frMatchCase)) options << stMatchCase;
    if (FindDialog1->Options.Contains(frWholeWord)) options << stWholeWord;
    const int found = reScreen->FindText(FindDialog1->FindText, start, length, options);
    if (found == -1) {
        MessageDlg(MainText::FindFinished, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    if (reScreen->CanFocus()) reScreen->SetFocus();
    reScreen->SetSelStart(found);
    reScreen->SetSelLength(static_cast<int>(FindDialog1->FindText.size()));
}

void TForm1::SelectAll1Click(TObject* Sender) { reScreen->SelectAll(); }

void TForm1::miFilePrintClick(TObject* Sender)
{
    if (PrintDialog1->Execute()) reScreen->Print("");
}

void TForm1::PageSetup1Click(TObject* Sender) { PrinterSetupDialog1->Execute(); }

// ---- save and copy ------------------------------------------------------------------------

void TForm1::SaveScreenTo(const String& FileName)
{
    TMemoryStream rtf;
    reScreen->CopyToStream(&rtf, false, false, false, false);
    try {
        // Written beside the target and renamed over it: a failed save never leaves a
        // truncated file, and the old one stays.
        WriteFileReplacing(FileName, rtf.Memory(), static_cast<std::size_t>(rtf.Size()));
    } catch (const Exception&) {
        MessageDlg(MainText::SaveFailedHead + FileName, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    screenFileName_ = FileName;
    reScreen->SetModified(false);
}

void TForm1::miFileSaveClick(TObject* Sender)
{
    if (screenFileName_.empty())
        miFileSaveAsClick(Sender);
    else
        SaveScreenTo(screenFileName_);
}

void TForm1::miFileSaveAsClick(TObject* Sender)
{
    if (!screenFileName_.empty()) SaveDialog1->FileName = screenFileName_;
    if (SaveDialog1->Execute()) SaveScreenTo(SaveDialog1->FileName);
}

// The rich edit puts the selection on the clipboard as rich text and as plain text.
void TForm1::EditCopyClick(TObject* Sender) { reScreen->CopyToClipboard(); }

// ---- developer aid ------------------------------------------------------------------------

// The hidden panel's test button: a fixed text at the end of the screen, once red, once green.
void TForm1::Paste_sbtnClick(TObject* Sender)
{
    HWND screen = reScreen->Handle();
    for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 150, 0)}) {
        const int end = reScreen->GetTextLen();
        SendMessageA(screen, EM_SETSEL, end, end);
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        format.crTextColor = colour;
        SendMessageA(screen, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageA(screen, EM_REPLACESEL, FALSE,
                     reinterpret_cast<LPARAM>("Quorvalink screen test text\r\n"));
    }
}
