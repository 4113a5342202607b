// Send File: a whole file to the port, one byte and one pass of the message queue at a time
// (so Stop, a disconnect or the keys reach the loop), with its progress, its end and its
// messages; and the end of a send, which every other send and the disconnect call.
#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "terminal/FileSendProgress.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "terminal/WindowGlobals.h"

namespace {

bool ReadByte(std::uint8_t& Byte) { return SendFile->Read(&Byte, 1) == 1; }

}  // namespace

void TForm1::miSendFileBinaryClick(TObject* Sender)
{
    if (!PortOpen) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    if (!sendOpenDialog->Execute()) return;
    const String name = sendOpenDialog->FileName;
    try {
        SendFile = new TFileStream(name, fmOpenRead);
    } catch (EStreamError&) {
        MessageDlg(MainText::CannotOpenForReading + name, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    const std::uint64_t serial = ++SendSerial;
    bool portRefused = false;
    std::int64_t sent = 0;
    std::int64_t size = 0;
    try {
        size = SendFile->Size();
        const std::int64_t step = ProgressStep(size);
        ProgressBar1->SetRange(0, ProgressBarUnits(size, size));
        miSendFileBinary->SetVisible(false);
        miSpxSendFileBinary->SetVisible(false);
        miStopSending->SetVisible(true);
        reScreen->SetEnabled(false);

        std::uint8_t byte = 0;
        if (ReadByte(byte)) {
            edtFile->SetText(MainText::SendingFile + name);
            pnlSend->SetVisible(true);
            EntryPaneHidden = pnlStringEntry->Visible();
            if (EntryPaneHidden) pnlStringEntry->SetVisible(false);
            miStringEntryPane->SetEnabled(false);
            SendFile->SetPosition(0);
        }

        bool more = ReadByte(byte);
        std::int64_t mark = step;
        StatusMessageText = ProgressStartText(size);
        while (more && PortOpen) {
            // A byte the port refuses or only half takes ends the send: it did not go out.
            if (Comm1->Write(reinterpret_cast<char*>(&byte), 1) != 1) {
                portRefused = true;
                break;
            }
            ++BytesOut;
            ++sent;
            Application->ProcessMessages();
            // Ended while the queue ran: the file is closed, and the progress bar stays at
            // the end's 0.
            if (serial != SendSerial) break;
            more = ReadByte(byte);
            if (sent == mark) {
                ProgressBar1->SetPosition(ProgressBarUnits(sent, size));
                mark += step;
                StatusMessageText = ProgressText(size, ProgressPercent(sent, size));
            }
        }

        if (!portRefused && sent == size) {
            ProgressBar1->SetPosition(ProgressBarUnits(size, size));
            StatusMessageText = ProgressText(size, 100);
            if (size == 0)
                MessageDlg(MainText::EmptyFileHead + name + MainText::EmptyFileTail, mtWarning,
                           TMsgDlgButtons{mbOK});
            else
                MessageDlg(MainText::SentHead + CountToText(size) +
                               (size == 1 ? MainText::SentOneByte : MainText::SentBytes) + name,
                           mtInformation, TMsgDlgButtons{mbOK});
            Sleep(50);
            ProgressBar1->SetPosition(0);
        } else if (!portRefused && serial == SendSerial && PortOpen) {
            // The file gave fewer bytes than its size (a read error, or it shrank meanwhile):
            // that is a failed read, not a quiet end.
            throw EReadError("Cannot read file \"%s\"", name);
        }
    } catch (...) {
        Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
        StatusMessageText = MainText::FileErrorCaption;
        miStopSendingClick(this);
        return;
    }
    miStopSendingClick(this);
    if (portRefused)
        MessageDlg(MainText::PortRefusedHead + CountToText(sent) + MainText::PortRefusedMiddle +
                       CountToText(size) + MainText::PortRefusedTail + name,
                   mtError, TMsgDlgButtons{mbOK});
}

void TForm1::miStopSendingClick(TObject* Sender)
{
    ++SendSerial;
    delete SendFile;
    SendFile = nullptr;
    ProgressBar1->SetPosition(0);
    pnlSend->SetVisible(false);
    if (EntryPaneHidden) {
        pnlStringEntry->SetVisible(true);
        EntryPaneHidden = false;
    }
    miStringEntryPane->SetEnabled(true);
    miSendFileBinary->SetVisible(true);
    miSpxSendFileBinary->SetVisible(true);
    miStopSending->SetVisible(false);
    reScreen->SetEnabled(true);
    if (reScreen->CanFocus()) reScreen->SetFocus();
}
