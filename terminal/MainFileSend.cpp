// Send File: a whole file to the port, with its success box (TFileSender); the window's side of
// every file send (the send bar, the progress, the port); and the end of a send, which every send,
// Stop and the disconnect call.
#include "framework/gui/Application.h"
#include "terminal/FileSender.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

bool TForm1::OpenSendFile(TFileSender& Sender)
{
    if (!sendOpenDialog->Execute()) return false;
    return Sender.Open(sendOpenDialog->FileName);
}

void TForm1::LockForFileSend(int ProgressRange)
{
    ProgressBar1->SetRange(0, ProgressRange);
    miSendFileBinary->SetVisible(false);
    miSpxSendFileBinary->SetVisible(false);
    miStopSending->SetVisible(true);
    // A macro's file item comes in the middle of a run the user may be typing through (into
    // the macro editor, say): its end gives the focus to the screen only if it was there.
    focusScreenAtSendEnd_ = !MacroRun.MacroRunActive || reScreen->Focused();
    reScreen->SetEnabled(false);
}

void TForm1::ShowSendBar(const String& FileName)
{
    edtFile->SetText(MainText::SendingFile + FileName);
    // The send bar takes the entry pane's place in one layout: the screen keeps its size, and
    // a full screen is not laid out twice over.
    DisableAlign();
    pnlSend->SetVisible(true);
    Transfer.EntryPaneHidden = pnlStringEntry->Visible();
    if (Transfer.EntryPaneHidden) pnlStringEntry->SetVisible(false);
    EnableAlign();
    miStringEntryPane->SetEnabled(false);
}

void TForm1::SetSendProgress(int Position) { ProgressBar1->SetPosition(Position); }

void TForm1::EndFileSend() { miStopSendingClick(this); }

std::uint32_t TForm1::LineBaud() const { return Comm1->BaudRate(); }

int TForm1::WriteBlock(const char* Bytes, int Count)
{
    return Comm1->Write(const_cast<char*>(Bytes), static_cast<unsigned long>(Count));
}

// A device unplugged during a send refuses the writes before the port's reader has found it
// gone: the send then ended with a box of its own under the lost device's. The reader's verdict
// comes within a few failed reads.
bool TForm1::PortDeviceGone() { return Comm1->DeviceGone(); }

void TForm1::miSendFileBinaryClick(TObject* Sender)
{
    if (!Connection.PortOpen) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    TFileSendOptions options;
    options.SuccessBox = true;
    options.EmptyFileBox = true;
    options.PortRefusedBox = true;
    TFileSender send(*this, std::move(options));
    if (!OpenSendFile(send)) return;
    send.Run();
}

void TForm1::miStopSendingClick(TObject* Sender)
{
    if (Transfer.FileSend) Transfer.FileSend->Close();
    ProgressBar1->SetPosition(0);
    // The entry pane comes back in the send bar's place in one layout (a Stop during a flood of
    // echo otherwise waited for the full screen to be laid out twice).
    DisableAlign();
    pnlSend->SetVisible(false);
    if (Transfer.EntryPaneHidden) {
        pnlStringEntry->SetVisible(true);
        Transfer.EntryPaneHidden = false;
    }
    EnableAlign();
    miStringEntryPane->SetEnabled(true);
    miSendFileBinary->SetVisible(true);
    miSpxSendFileBinary->SetVisible(true);
    miStopSending->SetVisible(false);
    reScreen->SetEnabled(true);
    if (focusScreenAtSendEnd_ && reScreen->CanFocus()) reScreen->SetFocus();
    focusScreenAtSendEnd_ = true;
}
