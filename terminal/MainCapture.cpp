// Capture to a file: the raw bytes read from the port and the bytes typed through the key path,
// in the order they passed, every write checked; the capture's start, its flush at each status
// tick and its end.
#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"
#include "terminal/MainGlobals.h"

void TForm1::miReceiveFileBinaryClick(TObject* Sender)
{
    if (!Connection.PortOpen) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    if (!captureSaveDialog->Execute()) return;
    const String name = captureSaveDialog->FileName;
    TFileStream* file = nullptr;
    try {
        file = new TFileStream(name, fmCreate);
    } catch (EStreamError&) {
        ShowMessage(MainText::CaptureOpenFailed);
        return;
    }
    // A capture already running ends here: its file would otherwise stay open for ever.
    delete Transfer.CaptureFile;
    Transfer.CaptureFile = file;
    miReceiveFileBinary->SetVisible(false);
    miStopCapture->SetVisible(true);
    Display.StatusMessageText = MainText::CapturingTo + ExtractFileName(name);
}

void TForm1::miStopCaptureClick(TObject* Sender)
{
    // Closing flushes: what the close cannot write is lost without a word, so it is flushed
    // and checked first.
    if (Transfer.CaptureFile) FlushCapture();
    delete Transfer.CaptureFile;
    Transfer.CaptureFile = nullptr;
    miReceiveFileBinary->SetVisible(true);
    miStopCapture->SetVisible(false);
}

namespace {

// A failed write used to raise inside the receive event (ending the port's event thread) or be
// ignored; now it ends the capture and says which file lost data. The file is closed before the
// message, whose loop lets more bytes arrive: they find no capture. Its close would try the
// same bytes again and fail the same way, unheard.
void EndCaptureAfterFailedWrite(TForm1& Form)
{
    const String name = Transfer.CaptureFile->FileName();
    delete Transfer.CaptureFile;
    Transfer.CaptureFile = nullptr;
    Form.miStopCaptureClick(&Form);
    MessageDlg(MainText::CaptureWriteFailed + name, mtError, TMsgDlgButtons{mbOK});
}

}  // namespace

void TForm1::CaptureBytes(const void* Bytes, int Count)
{
    if (!Transfer.CaptureFile || Count <= 0) return;
    if (Transfer.CaptureFile->Write(Bytes, Count) != Count) EndCaptureAfterFailedWrite(*this);
}

void TForm1::FlushCapture()
{
    if (!Transfer.CaptureFile) return;
    try {
        Transfer.CaptureFile->Flush();
    } catch (EStreamError&) {
        EndCaptureAfterFailedWrite(*this);
    }
}
