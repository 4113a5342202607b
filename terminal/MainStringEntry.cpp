// The string entry pane: a typed string with escapes sent once, a number of times or until
// Stop, one byte at a time through the keyboard send path; its text field, repeat counter and
// help.
#include "dialogs/StringEntryHelp.h"
#include "terminal/Escapes.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

constexpr std::size_t EntryLimit = 300;

}  // namespace

std::uint32_t TForm1::ParseEscapes(std::uint8_t* Destination, const String& Source)
{
    const TEscapeResult result = ParseEscapeText(Source, Destination);
    if (result.Error == TEscapeError::None) {
        Destination[result.Count] = 0;
        return result.Count;
    }
    MessageDlg(EscapeErrorText(result.Error), mtError, TMsgDlgButtons{mbOK});
    if (edtSend->Visible() && edtSend->Enabled()) {
        edtSend->SetFocus();
        edtSend->SetSelStart(static_cast<int>(result.ErrorStart));
        edtSend->SetSelLength(static_cast<int>(result.ErrorLength));
    }
    return 0;
}

void TForm1::SendData_btnClick(TObject* Sender)
{
    if (edtSend->Text().empty() || miStopSending->Visible()) return;
    // The field holds at most 300 characters; the parse never reads past that whatever the
    // program put there.
    const String text = edtSend->Text().substr(0, EntryLimit);
    const std::uint32_t n = ParseEscapes(Transfer.EntrySendBuffer, text);
    if (n == 0) return;
    // The counter shows the count that is sent: a text outside 0 to 99, or none, is put right
    // in the field first.
    SendLoop_sedt->SetValue(SendLoop_sedt->Value());
    const int count = SendLoop_sedt->Value();
    if (!Comm1->Enabled()) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    SendEntryString(n, count);
}

void TForm1::SendEntryString(std::uint32_t N, int Count)
{
    const bool endless = Count == 0;
    SendLoop_sedt->SetEnabled(false);
    edtSend->SetEnabled(false);
    Stop_btn->SetEnabled(true);
    if (endless) SendData_btn->SetEnabled(false);

    while (endless || Count != 0) {
        // Every byte counts, a NUL from "\00" included: the length is the parsed count.
        for (std::uint32_t i = 0; i < N; ++i) {
            char key = static_cast<char>(Transfer.EntrySendBuffer[i]);
            reScreenKeyPress(this, key);
            if (!Stop_btn->Enabled()) break;
        }
        // Stop, End and a disconnect reach the loop here.
        Application->ProcessMessages();
        if (!Comm1->Enabled() || !Stop_btn->Enabled()) break;
        if (!endless) --Count;
    }

    SendLoop_sedt->SetEnabled(true);
    edtSend->SetEnabled(true);
    SendData_btn->SetEnabled(true);
    if (!endless) Stop_btn->SetEnabled(false);
}

void TForm1::Stop_btnClick(TObject* Sender)
{
    Stop_btn->SetEnabled(false);
    if (!edtSend->Text().empty()) SendData_btn->SetEnabled(true);
    if (miStopSending->Visible()) miStopSendingClick(Sender);
}

void TForm1::edtSendChange(TObject* Sender)
{
    SendData_btn->SetEnabled(!edtSend->Text().empty());
    // Only the program can put more in the field (a profile's text): it is cut to fit.
    if (edtSend->Text().size() > EntryLimit) {
        edtSend->SetText(edtSend->Text().substr(0, EntryLimit));
        MessageDlg(MainText::EntryTruncated, mtWarning, TMsgDlgButtons{mbOK});
    }
}

void TForm1::edtSendClick(TObject* Sender) { SendData_btn->SetEnabled(!edtSend->Text().empty()); }

void TForm1::edtSendDblClick(TObject* Sender)
{
    frmStringEntryHelp->ShowPage(STR_ENTRY_TEXT_memo->Text());
}

void TForm1::SendLoop_sedtClick(TObject* Sender)
{
    // The first two characters selected, so that typing replaces the value.
    SendLoop_sedt->SetFocus();
    SendLoop_sedt->SetSelStart(0);
    SendLoop_sedt->SetSelLength(2);
}

void TForm1::SendLoop_sedtKeyPress(TObject* Sender, char& Key)
{
    if ((Key < '0' || Key > '9') && Key != '\b') Key = 0;
}
