// Special Send File: a file sent like Send File (TFileSender), but with a pause after every byte,
// timed by a multimedia timer, and repeated as often as the options dialog says (0: until
// stopped), without a success box.
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include "dialogs/PacedSendOptions.h"
#include "terminal/FileSender.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

// The send's next step comes at once when the pause is over.
void SignalSendTimer()
{
    Transfer.SendTimerFlag.store(1);
    WakeFileSend();
}

void CALLBACK SendTimerCallback(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { SignalSendTimer(); }

// A tick this late means the timer is not running after all; the send then ends rather than
// wait for ever.
constexpr ULONGLONG LateTickMs = 5000;

}  // namespace

bool TForm1::StartSendTimer(UINT Period, UINT Resolution)
{
    SendTimerId = timeSetEvent(Period, Resolution, SendTimerCallback, 0, TIME_PERIODIC);
    return SendTimerId != 0;
}

void TForm1::StopSendTimer()
{
    if (SendTimerId != 0) timeKillEvent(SendTimerId);
    SendTimerId = 0;
}

bool TForm1::StartPauseAfterByte(int Delay)
{
    Transfer.SendTimerFlag.store(0);
    // A delay of 1 ms would ask for a period of 0, which is no timer at all.
    if (Delay < 2 || !StartSendTimer(Delay - 1, 0)) {
        SendTimerId = 0;
        return false;
    }
    SendPauseDeadline = GetTickCount64() + static_cast<ULONGLONG>(Delay) + LateTickMs;
    return true;
}

TFileSendPause TForm1::PauseAfterByteState() const
{
    if (Transfer.SendTimerFlag.load() == 1) return TFileSendPause::Go;
    return GetTickCount64() >= SendPauseDeadline ? TFileSendPause::Refused : TFileSendPause::Wait;
}

void TForm1::EndPauseAfterByte()
{
    StopSendTimer();
    Transfer.SendTimerFlag.store(0);
}

void TForm1::miSpxSendFileBinaryClick(TObject* Sender)
{
    if (!Connection.PortOpen) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    AdvSendFile_dlg->ShowModal();
    if (!AdvSendFile_dlg->OkPressed) return;
    TFileSendOptions options;
    options.Repeats = true;
    options.Passes = AdvSendFile_dlg->RepeatCount;
    options.EmptyFileBox = true;
    options.PortRefusedBox = true;
    options.CharDelayMs = AdvSendFile_dlg->CharDelayMs;
    // The pause is after every byte; with none, the file goes as Send File sends it.
    if (options.CharDelayMs != 0) {
        options.ByteAtATime = true;
        options.StartPause = [this, delay = options.CharDelayMs] {
            return StartPauseAfterByte(delay);
        };
        options.PauseState = [this] { return PauseAfterByteState(); };
        options.EndPause = [this] { EndPauseAfterByte(); };
    }
    TFileSender send(*this, std::move(options));
    if (!OpenSendFile(send)) return;
    send.Run();
}
