// Send File: a whole file to the port, one block (20 ms of the line) and one pass of the message
// queue at a time (so Stop, a disconnect or the keys reach the loop), with its progress, its end
// and its messages; the parts of it that Special Send File and a macro's file send share; and the
// end of a send, which every other send and the disconnect call.
#include <algorithm>
#include <chrono>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "terminal/FileSendProgress.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

bool ReadByte(std::uint8_t& Byte) { return Transfer.SendFile->Read(&Byte, 1) == 1; }

int ReadBlock(std::vector<char>& Block, int Count)
{
    return std::max(0, Transfer.SendFile->Read(Block.data(), Count));
}

// How far the block writes may run ahead of what the line has carried: three blocks.
constexpr double LineLeadSeconds = 0.060;

// Waits until Count more bytes keep the writes within LineLeadSeconds of the line at Baud (ten
// bits a byte), and books them. On Windows a write ends as its bytes go out, so this never waits
// there. Under Wine a write ends once the driver has taken the bytes, and a write it cannot take
// at once waits until its buffer has all but emptied: a file send ran up to a pty's 64 KB ahead of
// a 19,200 baud line, and a Stop clicked then was handled half a minute later.
void PaceToLine(std::uint32_t Baud, int Count)
{
    if (Baud == 0) return;
    const double now =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    Transfer.LineBusyUntil = std::max(Transfer.LineBusyUntil, now);
    const double ahead = Transfer.LineBusyUntil - now;
    if (ahead > LineLeadSeconds) Sleep(static_cast<DWORD>((ahead - LineLeadSeconds) * 1000) + 1);
    Transfer.LineBusyUntil += Count * 10.0 / Baud;
}

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

int TForm1::FileSendBlock() const { return FileSendBlockBytes(Comm1->BaudRate()); }

int TForm1::WriteToPort(const char* Bytes, int Count)
{
    // A device that echoes sends back what the file send writes. The receive handler takes a
    // burst in steps and leaves the rest to the tick; meanwhile the send wrote on, the received
    // bytes piled up, and on the virtual line the device then waited for room to echo, stopped
    // taking bytes, and the write never ended. So the receive path takes what has piled up
    // first, as the tick would.
    for (int round = 0; round < 8 && Comm1->InQueCount() >= Comm1->ReadBufSize() / 2; ++round)
        Comm1RxChar(Comm1, 0);
    PaceToLine(Comm1->BaudRate(), Count);
    return Comm1->Write(const_cast<char*>(Bytes), static_cast<unsigned long>(Count));
}

TForm1::TFileSendPass TForm1::SendFilePass(const TFileSendRun& Send, int BlockBytes,
                                           const std::function<bool()>& Pause)
{
    TFileSendPass pass;
    const std::int64_t step = ProgressStep(Send.Size);
    // One byte per write and pass of the queue cost some 115 us a byte under Wine: a block per
    // pass sends what a fast line carries, and each block ends at a progress mark, so the
    // progress still shows every twentieth.
    std::vector<char> block(static_cast<size_t>(std::max(1, BlockBytes)));
    std::int64_t mark = step;
    int n = ReadBlock(block, NextBlockBytes(BlockBytes, 0, mark));
    Display.StatusMessageText = ProgressStartText(Send.Size);
    while (n > 0 && Connection.PortOpen) {
        // Bytes the port refuses or only partly takes end the send: the rest did not go out.
        const int written = std::max(0, WriteToPort(block.data(), n));
        Display.BytesOut += written;
        pass.Sent += written;
        if (written != n) {
            pass.PortRefused = true;
            return pass;
        }
        if (!Pause()) {
            pass.PauseFailed = true;
            return pass;
        }
        // Ended while the queue ran: the file is closed, and the progress bar stays at the
        // end's 0.
        if (!FileSendRuns(Send)) return pass;
        if (pass.Sent == mark) {
            ProgressBar1->SetPosition(ProgressBarUnits(pass.Sent, Send.Size));
            mark += step;
            Display.StatusMessageText =
                ProgressText(Send.Size, ProgressPercent(pass.Sent, Send.Size));
        }
        n = ReadBlock(block, NextBlockBytes(BlockBytes, pass.Sent, mark));
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
        pass = SendFilePass(send, FileSendBlock(), [] {
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
