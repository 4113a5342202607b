// Send File: a whole file to the port, one byte and one pass of the message queue at a time
// (so Stop, a disconnect or the keys reach the loop), with its progress, its end and its
// messages; the parts of it that Special Send File and a macro's file send share; and the end of
// a send, which every other send and the disconnect call.
#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "terminal/FileSendProgress.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

bool ReadByte(std::uint8_t& Byte) { return Transfer.SendFile->Read(&Byte, 1) == 1; }

}  // namespace

bool TForm1::OpenSendFile(String& Name)
{
    if (!sendOpenDialog->Execute()) return false;
    Name = sendOpenDialog->FileName;
    try {
        Transfer.SendFile = new TFileStream(Name, fmOpenRead);
    } catch (EStreamError&) {
        MessageDlg(MainText::CannotOpenForReading + Name, mtError, TMsgDlgButtons{mbOK});
        return false;
    }
    return true;
}

TForm1::TFileSendRun TForm1::BeginFileSend(const String& Name)
{
    TFileSendRun send{Name, 0, ++Transfer.SendSerial};
    send.Size = Transfer.SendFile->Size();
    LockForFileSend(ProgressBarUnits(send.Size, send.Size));

    std::uint8_t byte = 0;
    if (ReadByte(byte)) {
        ShowSendBar(Name);
        Transfer.SendFile->SetPosition(0);
    }
    return send;
}

void TForm1::LockForFileSend(int ProgressRange)
{
    ProgressBar1->SetRange(0, ProgressRange);
    miSendFileBinary->SetVisible(false);
    miSpxSendFileBinary->SetVisible(false);
    miStopSending->SetVisible(true);
    reScreen->SetEnabled(false);
}

void TForm1::ShowSendBar(const String& FileName)
{
    edtFile->SetText(MainText::SendingFile + FileName);
    pnlSend->SetVisible(true);
    Transfer.EntryPaneHidden = pnlStringEntry->Visible();
    if (Transfer.EntryPaneHidden) pnlStringEntry->SetVisible(false);
    miStringEntryPane->SetEnabled(false);
}

void TForm1::SetSendProgress(int Position) { ProgressBar1->SetPosition(Position); }

void TForm1::EndFileSend() { miStopSendingClick(this); }

bool TForm1::FileSendRuns(const TFileSendRun& Send) const
{
    return Send.Serial == Transfer.SendSerial;
}

TForm1::TFileSendPass TForm1::SendFilePass(const TFileSendRun& Send,
                                           const std::function<bool()>& Pause)
{
    TFileSendPass pass;
    const std::int64_t step = ProgressStep(Send.Size);
    std::uint8_t byte = 0;
    bool more = ReadByte(byte);
    std::int64_t mark = step;
    Display.StatusMessageText = ProgressStartText(Send.Size);
    while (more && Connection.PortOpen) {
        // A byte the port refuses or only half takes ends the send: it did not go out.
        if (Comm1->Write(reinterpret_cast<char*>(&byte), 1) != 1) {
            pass.PortRefused = true;
            return pass;
        }
        ++Display.BytesOut;
        ++pass.Sent;
        if (!Pause()) {
            pass.PauseFailed = true;
            return pass;
        }
        // Ended while the queue ran: the file is closed, and the progress bar stays at the
        // end's 0.
        if (!FileSendRuns(Send)) return pass;
        more = ReadByte(byte);
        if (pass.Sent == mark) {
            ProgressBar1->SetPosition(ProgressBarUnits(pass.Sent, Send.Size));
            mark += step;
            Display.StatusMessageText =
                ProgressText(Send.Size, ProgressPercent(pass.Sent, Send.Size));
        }
    }
    // The file gave fewer bytes than its size (a read error, or it shrank meanwhile): that is
    // a failed read, not a quiet end.
    if (pass.Sent != Send.Size && Connection.PortOpen)
        throw EReadError("Cannot read file \"%s\"", Send.Name);
    return pass;
}

void TForm1::ShowFileSendError()
{
    Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
    Display.StatusMessageText = MainText::FileErrorCaption;
    miStopSendingClick(this);
}

void TForm1::ShowPortRefused(const TFileSendRun& Send, const TFileSendPass& Pass)
{
    MessageDlg(MainText::PortRefusedHead + CountToText(Pass.Sent) + MainText::PortRefusedMiddle +
                   CountToText(Send.Size) + MainText::PortRefusedTail + Send.Name,
               mtError, TMsgDlgButtons{mbOK});
}

void TForm1::miSendFileBinaryClick(TObject* Sender)
{
    if (!Connection.PortOpen) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    String name;
    if (!OpenSendFile(name)) return;
    TFileSendRun send;
    TFileSendPass pass;
    try {
        send = BeginFileSend(name);
        pass = SendFilePass(send, [] {
            Application->ProcessMessages();
            return true;
        });
        if (!pass.PortRefused && pass.Sent == send.Size) {
            ProgressBar1->SetPosition(ProgressBarUnits(send.Size, send.Size));
            Display.StatusMessageText = ProgressText(send.Size, 100);
            if (send.Size == 0)
                MessageDlg(MainText::EmptyFileHead + name + MainText::EmptyFileTail, mtWarning,
                           TMsgDlgButtons{mbOK});
            else
                MessageDlg(MainText::SentHead + CountToText(send.Size) +
                               (send.Size == 1 ? MainText::SentOneByte : MainText::SentBytes) +
                               name,
                           mtInformation, TMsgDlgButtons{mbOK});
            Sleep(50);
            ProgressBar1->SetPosition(0);
        }
    } catch (...) {
        ShowFileSendError();
        return;
    }
    miStopSendingClick(this);
    if (pass.PortRefused) ShowPortRefused(send, pass);
}

void TForm1::miStopSendingClick(TObject* Sender)
{
    ++Transfer.SendSerial;
    delete Transfer.SendFile;
    Transfer.SendFile = nullptr;
    ProgressBar1->SetPosition(0);
    pnlSend->SetVisible(false);
    if (Transfer.EntryPaneHidden) {
        pnlStringEntry->SetVisible(true);
        Transfer.EntryPaneHidden = false;
    }
    miStringEntryPane->SetEnabled(true);
    miSendFileBinary->SetVisible(true);
    miSpxSendFileBinary->SetVisible(true);
    miStopSending->SetVisible(false);
    reScreen->SetEnabled(true);
    if (reScreen->CanFocus()) reScreen->SetFocus();
}
