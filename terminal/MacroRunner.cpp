// The macro runner: ExecuteMacroStep and what it calls. The waits sleep on the message queue
// and a wake event, so the window (and its Stop button) stays live without a busy loop.
#include "terminal/MacroRunner.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <string>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "macros/TreeUtil.h"
#include "terminal/Escapes.h"
#include "terminal/FileSendProgress.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "terminal/WindowGlobals.h"

std::int32_t MacroRunState = 0;
std::int32_t MacroLoopGuard = MacroLoopGuardStart;
std::atomic<std::int32_t> MacroDelayPending{0};
std::atomic<std::uint32_t> MacroTimer{0};
char MacroStringBuffer[MacroStringBufferSize] = {};
bool MacroRunActive = false;

namespace {

// Set by the timer callback so the main thread's wait wakes for the tick as for a message.
HANDLE DelayWakeEvent()
{
    static HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return event;
}

void CALLBACK MacroDelayTimerProc(UINT TimerId, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
    // A tick of a timer already killed (the kill raced the tick) belongs to no delay.
    if (TimerId != MacroTimer.load()) return;
    ClearMacroDelayFlag();
    SetEvent(DelayWakeEvent());
}

// A wait's view of the Stop button: disabled means a stop was asked for.
void NoteStopButton()
{
    if (!Form1->stop_tbtn->Enabled()) MacroRunState = 1;
}

bool ReadSendByte(std::uint8_t& Byte) { return SendFile && SendFile->Read(&Byte, 1) == 1; }

void StopRunWithError(const String& Text)
{
    MessageDlg(Text, mtError, TMsgDlgButtons{mbOK});
    Form1->stop_tbtnClick(nullptr);
}

}  // namespace

void ClearMacroDelayFlag() { MacroDelayPending = 0; }

void StartMacroDelayTimer(std::int32_t DelayMs, int Unused)
{
    // Killed synchronously: no tick runs once timeKillEvent has returned.
    const UINT flags = TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS;
    // The id is kept under a lock-free store the callback compares against; the callback can
    // run before timeSetEvent returns, so the id is unknown to it until then and a first tick
    // that early is taken by the periodic second one.
    MacroTimer = timeSetEvent(static_cast<UINT>(DelayMs), 0, MacroDelayTimerProc, 0, flags);
}

bool MacroDelay(const String& Milliseconds)
{
    if (Milliseconds.empty() || Milliseconds == "0") return true;
    const auto delay = ParseDelayMs(Milliseconds);
    // Only a hand-edited list file holds such a text: the run stops rather than send on with
    // no delay.
    if (!delay) {
        StopRunWithError(MacroText::DelayNotNumberHead + Milliseconds +
                         MacroText::DelayNotNumberTail);
        return false;
    }
    if (*delay == 0) return true;
    MacroTimer = 0;
    MacroDelayPending = 1;
    ResetEvent(DelayWakeEvent());
    StartMacroDelayTimer(*delay, 0);
    const UINT timer = MacroTimer;
    // A refused timer would never clear the flag: the wait would last until Stop.
    if (timer == 0) {
        MacroDelayPending = 0;
        StopRunWithError(MacroText::DelayTimerRefused + IntToStr(*delay) +
                         MacroText::DelayTimerRefusedTail);
        return false;
    }
    // However the wait ends (an exception out of a handler included), the timer goes with it.
    struct TTimerKill {
        UINT Timer;
        ~TTimerKill()
        {
            MacroTimer = 0;
            timeKillEvent(Timer);
            MacroDelayPending = 0;
        }
    } kill{timer};
    HANDLE wake = DelayWakeEvent();
    while (MacroRunState == 2 && MacroDelayPending == 1) {
        Application->ProcessMessages();
        NoteStopButton();
        if (MacroRunState != 2 || MacroDelayPending != 1) break;
        // Sleeps until a message, the timer's tick or, at the latest, a quarter second.
        MsgWaitForMultipleObjectsEx(1, &wake, 250, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

std::int32_t ExpandMacroEscapes(std::uint8_t* Output, const char* Input)
{
    const TEscapeResult parsed = ParseEscapeText(Input, Output);
    if (parsed.Error == TEscapeError::None) {
        Output[parsed.Count] = 0;
        return static_cast<std::int32_t>(parsed.Count);
    }
    MessageDlg(EscapeErrorText(parsed.Error), mtError, TMsgDlgButtons{mbOK});
    TForm1& form = *Form1;
    form.ShowMacroEditor();
    form.Tr_edit_tbn->SetDown(true);
    form.TreeViewClick(nullptr);
    if (form.EditData->Visible() && form.EditData->Enabled()) {
        if (form.EditData->CanFocus()) form.EditData->SetFocus();
        // The lone backslash of an incomplete sequence, otherwise the two characters after it.
        const bool incomplete = parsed.Error == TEscapeError::Incomplete;
        form.EditData->SetSelStart(static_cast<int>(parsed.ErrorStart));
        form.EditData->SetSelLength(incomplete ? 1 : 2);
    }
    return 0;
}

std::int32_t SendMacroString(const String& Data, const String& DelayMs)
{
    if (Data.empty()) return 0;
    if (Data.size() >= MacroStringBufferSize) {
        MessageDlg(MacroText::DataTooLong, mtError, TMsgDlgButtons{mbOK});
        return 0;
    }
    std::memcpy(MacroStringBuffer, Data.c_str(), Data.size() + 1);
    const std::int32_t n = ExpandMacroEscapes(EntrySendBuffer, MacroStringBuffer);
    if (n == 0) return 0;
    // The string entry pane may refill the shared send buffer while a wait runs the queue.
    const std::string bytes(reinterpret_cast<const char*>(EntrySendBuffer), n);
    for (char byte : bytes) {
        char key = byte;
        Form1->reScreenKeyPress(nullptr, key);
        if (!Form1->stop_tbtn->Enabled())
            MacroRunState = 1;
        else
            Application->ProcessMessages();
        if (MacroRunState != 2) return 0;
        // A stop asked for during the delay ends the string before its next byte.
        if (!MacroDelay(DelayMs) || MacroRunState != 2) return 0;
    }
    return 1;
}

void ApplyControlSignal(const String& Signal)
{
    TForm1& form = *Form1;
    if (!form.Comm1->Enabled()) return;
    const auto lines = ParseControlSignal(Signal);
    if (!lines) return;
    // The lines first: a refusal raises before a lamp shows a state the line does not have.
    if (lines->Rts >= 0) form.Comm1->SetRTSState(lines->Rts == 1);
    if (lines->Dtr >= 0) form.Comm1->SetDTRState(lines->Dtr == 1);
    if (lines->Rts >= 0) form.LED_RTS->SetState(lines->Rts == 1);
    if (lines->Dtr >= 0) form.LED_DTR->SetState(lines->Dtr == 1);
}

void SendMacroFile(const char* FileName, const String& DelayMs)
{
    TForm1& form = *Form1;
    if (!form.Comm1->Enabled()) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    const String name = FileName;
    try {
        SendFile = new TFileStream(name, fmOpenRead);
    } catch (EStreamError&) {
        MessageDlg(MainText::CannotOpenForReading + name, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    const std::uint64_t serial = ++SendSerial;
    // After the queue ran, the send may have been ended (Stop Sending, a disconnect): the file
    // is gone and its end already done.
    const auto stillOurs = [&] { return serial == SendSerial; };
    try {
        const std::int64_t size = SendFile->Size();
        const std::int64_t step = ProgressStep(size);
        form.ProgressBar1->SetRange(0, ProgressBarUnits(size, size));
        form.miSendFileBinary->SetVisible(false);
        form.miSpxSendFileBinary->SetVisible(false);
        form.miStopSending->SetVisible(true);
        form.reScreen->SetEnabled(false);

        std::uint8_t byte = 0;
        if (ReadSendByte(byte)) {
            form.edtFile->SetText(MainText::SendingFile + name);
            form.pnlSend->SetVisible(true);
            EntryPaneHidden = form.pnlStringEntry->Visible();
            if (EntryPaneHidden) form.pnlStringEntry->SetVisible(false);
            form.miStringEntryPane->SetEnabled(false);
            SendFile->SetPosition(0);
        }

        bool more = ReadSendByte(byte);
        std::int64_t mark = step;
        std::int64_t count = 0;
        StatusMessageText = ProgressStartText(size);
        while (more && PortOpen) {
            // A byte the port refuses did not go out: the send ends short of its 100 %.
            if (form.Comm1->Write(reinterpret_cast<char*>(&byte), 1) != 1) break;
            ++BytesOut;
            ++count;
            NoteStopButton();
            if (MacroRunState == 2) Application->ProcessMessages();
            // A stop asked for during the delay ends the send before the next byte.
            if (MacroRunState != 2 || !stillOurs() || !MacroDelay(DelayMs) || MacroRunState != 2) {
                if (stillOurs()) form.miStopSendingClick(&form);
                return;
            }
            more = stillOurs() && ReadSendByte(byte);
            if (count == mark) {
                form.ProgressBar1->SetPosition(ProgressBarUnits(count, size));
                mark += step;
                StatusMessageText = ProgressText(size, ProgressPercent(count, size));
            }
        }
        if (!stillOurs()) return;
        if (count == size) {
            form.ProgressBar1->SetPosition(ProgressBarUnits(size, size));
            StatusMessageText = ProgressText(size, 100);
            form.ProgressBar1->SetPosition(0);
        } else if (!more && PortOpen) {
            // Fewer bytes than the file's size (a read error, a file that shrank): a failed
            // read, not a quiet end.
            throw EReadError("Cannot read file \"%s\"", name);
        }
        form.miStopSendingClick(&form);
    } catch (...) {
        Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
        StatusMessageText = MainText::FileErrorCaption;
        if (stillOurs()) form.miStopSendingClick(&form);
    }
}

std::int32_t ExecuteMacroStep(TInfo* Info)
{
    TForm1& form = *Form1;
    form.stop_tbtn->SetEnabled(true);
    const std::int32_t kind = Info ? Info->Kind : 0;
    const String data = Info ? Info->MacroData : String();
    const String other = Info ? Info->OtherValue : String();
    const String signal = Info ? Info->SignalState : String();
    std::int32_t result = 1;
    switch (kind) {
    case mkNone: form.stop_tbtn->SetEnabled(false); return 1;
    case mkFile:
    case mkDataString:
    case mkControlSignal:
        if (!form.Comm1->Enabled()) {
            MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
            form.stop_tbtnClick(nullptr);
            result = 0;
        } else if (kind != mkControlSignal && SendFile) {
            // The menu's file send owns SendFile and the send bar: a second send would take
            // them over.
            StopRunWithError(MacroText::SendBusy);
            result = 0;
        } else if (kind == mkFile) {
            SendMacroFile(data.c_str(), other);
        } else if (kind == mkDataString) {
            result = SendMacroString(data, other);
        } else {
            ApplyControlSignal(signal);
        }
        break;
    case mkDelayMs: result = MacroDelay(other) ? 1 : 0; break;
    case mkDelaySecs:
    case mkDelayMins: break;
    default:
        if (--MacroLoopGuard <= 0) {
            MessageDlg(MacroText::LoopGuardStop, mtInformation, TMsgDlgButtons{mbOK});
            form.stop_tbtnClick(nullptr);
            MacroLoopGuard = MacroLoopGuardStart;
            result = 0;
        }
        break;
    }
    if (kind >= mkFile && kind <= mkControlSignal && MacroLoopGuard < MacroLoopGuardStart)
        MacroLoopGuard = MacroLoopGuardStart;
    form.stop_tbtn->SetEnabled(false);
    return result;
}
