// Special Send File: a file sent like Send File (TFileSender), but with a pause after every byte,
// timed by a multimedia timer, and repeated as often as the options dialog says (0: until
// stopped), without a success box.
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <atomic>

#include "dialogs/PacedSendOptions.h"
#include "terminal/FileSender.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

// Wakes the send loop's wait when the flag is set, so the wait sleeps instead of polling.
HANDLE SendTimerWake()
{
    static const HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return wake;
}

void SignalSendTimer()
{
    Transfer.SendTimerFlag.store(1);
    SetEvent(SendTimerWake());
}

void CALLBACK SendTimerCallback(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { SignalSendTimer(); }

// A tick this late means the timer is not running after all; the send then ends rather than
// wait for ever.
constexpr DWORD LateTickMs = 5000;

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

bool TForm1::PauseAfterByte(int Delay)
{
    if (Delay == 0) {
        Application->ProcessMessages();
        return true;
    }
    Transfer.SendTimerFlag.store(0);
    ResetEvent(SendTimerWake());
    // A delay of 1 ms would ask for a period of 0, which is no timer at all.
    if (Delay < 2 || !StartSendTimer(Delay - 1, 0)) {
        SendTimerId = 0;
        return false;
    }
    // Whatever leaves the wait (an exception from a handler included) leaves no timer behind.
    struct KillTimer {
        TForm1* form;
        ~KillTimer() { form->StopSendTimer(); }
    } kill{this};
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(Delay) + LateTickMs;
    for (;;) {
        Application->ProcessMessages();
        if (Transfer.SendTimerFlag.load() == 1) break;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        HANDLE wake = SendTimerWake();
        MsgWaitForMultipleObjectsEx(1, &wake, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
    Transfer.SendTimerFlag.store(0);
    return true;
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
        options.Pause = [this, delay = options.CharDelayMs] {
            return PauseAfterByte(delay) ? TFileSendPause::Go : TFileSendPause::Refused;
        };
    }
    TFileSender send(*this, std::move(options));
    if (!OpenSendFile(send)) return;
    send.Run();
}
