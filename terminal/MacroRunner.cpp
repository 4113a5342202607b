// The macro runner: ExecuteMacroStep and what it calls. The waits sleep on the message queue
// and a wake event, so the window (and its Stop button) stays live without a busy loop.
#include "terminal/MacroRunner.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "macros/TreeUtil.h"
#include "terminal/Escapes.h"
#include "terminal/FileSender.h"
#include "terminal/MacroRunHost.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

TMacroRunState MacroRun;

void TMacroRunState::Reset()
{
    MacroRunState = 0;
    MacroLoopGuard = MacroLoopGuardStart;
    MacroDelayPending = 0;
    MacroTimer = 0;
    MacroStringBuffer[0] = 0;
    MacroRunActive = false;
}

namespace {

// Set by the timer callback so the main thread's wait wakes for the tick as for a message.
HANDLE DelayWakeEvent()
{
    static const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return event;
}

void CALLBACK MacroDelayTimerProc(UINT TimerId, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
    // A tick of a timer already killed (the kill raced the tick) belongs to no delay.
    if (TimerId != MacroRun.MacroTimer.load()) return;
    ClearMacroDelayFlag();
    SetEvent(DelayWakeEvent());
    // A file item's pause after a byte: its send goes on at once.
    WakeFileSend();
}

// A wait's view of the Stop button: disabled means a stop was asked for.
void NoteStopButton(const TMacroRunHost& Host)
{
    if (!Host.StopEnabled()) MacroRun.MacroRunState = 1;
}

void StopRunWithError(TMacroRunHost& Host, const String& Text)
{
    MessageDlg(Text, mtError, TMsgDlgButtons{mbOK});
    Host.StopMacroRun();
}

String DelayRefusedText(std::int32_t DelayMs)
{
    return MacroText::DelayTimerRefused + IntToStr(DelayMs) + MacroText::DelayTimerRefusedTail;
}

}  // namespace

void ClearMacroDelayFlag() { MacroRun.MacroDelayPending = 0; }

void StartMacroDelayTimer(std::int32_t DelayMs, int Unused)
{
    // Killed synchronously: no tick runs once timeKillEvent has returned.
    const UINT flags = TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS;
    // The id is kept under a lock-free store the callback compares against; the callback can
    // run before timeSetEvent returns, so the id is unknown to it until then and a first tick
    // that early is taken by the periodic second one.
    MacroRun.MacroTimer =
        timeSetEvent(static_cast<UINT>(DelayMs), 0, MacroDelayTimerProc, 0, flags);
}

bool BeginMacroDelay(std::int32_t DelayMs)
{
    MacroRun.MacroTimer = 0;
    MacroRun.MacroDelayPending = 1;
    ResetEvent(DelayWakeEvent());
    StartMacroDelayTimer(DelayMs, 0);
    // A refused timer would never clear the flag: the wait would last until Stop.
    if (MacroRun.MacroTimer == 0) {
        MacroRun.MacroDelayPending = 0;
        return false;
    }
    return true;
}

void EndMacroDelay()
{
    const UINT timer = MacroRun.MacroTimer;
    MacroRun.MacroTimer = 0;
    if (timer != 0) timeKillEvent(timer);
    MacroRun.MacroDelayPending = 0;
}

bool MacroDelay(TMacroRunHost& Host, const String& Milliseconds)
{
    if (Milliseconds.empty() || Milliseconds == "0") return true;
    const auto delay = ParseDelayMs(Milliseconds);
    // Only a hand-edited list file holds such a text: the run stops rather than send on with
    // no delay.
    if (!delay) {
        StopRunWithError(Host, MacroText::DelayNotNumberHead + Milliseconds +
                                   MacroText::DelayNotNumberTail);
        return false;
    }
    if (*delay == 0) return true;
    if (!BeginMacroDelay(*delay)) {
        StopRunWithError(Host, DelayRefusedText(*delay));
        return false;
    }
    // However the wait ends (an exception out of a handler included), the timer goes with it.
    struct TTimerKill {
        ~TTimerKill() { EndMacroDelay(); }
    } kill;
    HANDLE wake = DelayWakeEvent();
    while (MacroRun.MacroRunState == 2 && MacroRun.MacroDelayPending == 1) {
        Application->ProcessMessages();
        NoteStopButton(Host);
        if (MacroRun.MacroRunState != 2 || MacroRun.MacroDelayPending != 1) break;
        // Sleeps until a message, the timer's tick or, at the latest, a quarter second.
        MsgWaitForMultipleObjectsEx(1, &wake, 250, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

std::int32_t ExpandMacroEscapes(TMacroRunHost& Host, std::uint8_t* Output, const char* Input)
{
    const TEscapeResult parsed = ParseEscapeText(Input, Output);
    if (parsed.Error == TEscapeError::None) {
        Output[parsed.Count] = 0;
        return static_cast<std::int32_t>(parsed.Count);
    }
    MessageDlg(EscapeErrorText(parsed.Error), mtError, TMsgDlgButtons{mbOK});
    // The lone backslash of an incomplete sequence, otherwise the two characters after it.
    const bool incomplete = parsed.Error == TEscapeError::Incomplete;
    Host.SelectInMacroData(static_cast<int>(parsed.ErrorStart), incomplete ? 1 : 2);
    Host.StepFailedWithBox();
    return 0;
}

std::int32_t SendMacroString(TMacroRunHost& Host, const String& Data, const String& DelayMs)
{
    if (Data.empty()) return 0;
    if (Data.size() >= MacroStringBufferSize) {
        MessageDlg(MacroText::DataTooLong, mtError, TMsgDlgButtons{mbOK});
        Host.StepFailedWithBox();
        return 0;
    }
    std::memcpy(MacroRun.MacroStringBuffer, Data.c_str(), Data.size() + 1);
    const std::int32_t n =
        ExpandMacroEscapes(Host, Transfer.EntrySendBuffer, MacroRun.MacroStringBuffer);
    if (n == 0) return 0;
    // The string entry pane may refill the shared send buffer while a wait runs the queue.
    const std::string bytes(reinterpret_cast<const char*>(Transfer.EntrySendBuffer), n);
    for (char byte : bytes) {
        char key = byte;
        Host.SendKeyPress(key);
        if (!Host.StopEnabled())
            MacroRun.MacroRunState = 1;
        else
            Application->ProcessMessages();
        if (MacroRun.MacroRunState != 2) return 0;
        // A stop asked for during the delay ends the string before its next byte.
        if (!MacroDelay(Host, DelayMs) || MacroRun.MacroRunState != 2) return 0;
    }
    return 1;
}

void ApplyControlSignal(TMacroRunHost& Host, const String& Signal)
{
    if (!Host.PortEnabled()) return;
    const auto lines = ParseControlSignal(Signal);
    if (!lines) return;
    Host.SetControlLines(lines->Rts, lines->Dtr);
}

void SendMacroFile(TMacroRunHost& Host, const char* FileName, const String& DelayMs)
{
    if (!Host.PortEnabled()) {
        MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    std::int32_t delay = 0;
    if (!DelayMs.empty() && DelayMs != "0") {
        const auto parsed = ParseDelayMs(DelayMs);
        // Told before the file is opened: no byte goes out with a delay the run cannot keep.
        if (!parsed) {
            StopRunWithError(Host, MacroText::DelayNotNumberHead + DelayMs +
                                       MacroText::DelayNotNumberTail);
            return;
        }
        delay = *parsed;
    }
    TFileSendOptions options;
    // The run's Stop button, disabled by a click, is how a stop reaches the send.
    options.StopAsked = [&Host] {
        NoteStopButton(Host);
        return MacroRun.MacroRunState != 2;
    };
    // The delay follows every byte, on the delay's own timer; without one the file goes a block
    // at a time, as Send File sends it.
    if (delay != 0) {
        options.ByteAtATime = true;
        options.StartPause = [delay] { return BeginMacroDelay(delay); };
        options.PauseState = [] {
            return MacroRun.MacroDelayPending == 1 ? TFileSendPause::Wait : TFileSendPause::Go;
        };
        options.EndPause = [] { EndMacroDelay(); };
        options.PauseRefusedBox = [&Host, delay] {
            StopRunWithError(Host, DelayRefusedText(delay));
        };
    }
    TFileSender send(Host, std::move(options));
    if (send.Open(FileName))
        send.Run();
    else
        Host.StepFailedWithBox();
}

std::int32_t ExecuteMacroStep(TMacroRunHost& Host, TInfo* Info)
{
    Host.SetStopEnabled(true);
    const std::int32_t kind = Info ? Info->Kind : 0;
    const String data = Info ? Info->MacroData : String();
    const String other = Info ? Info->OtherValue : String();
    const String signal = Info ? Info->SignalState : String();
    std::int32_t result = 1;
    switch (kind) {
    case mkNone: Host.SetStopEnabled(false); return 1;
    case mkFile:
    case mkDataString:
    case mkControlSignal:
        if (!Host.PortEnabled()) {
            MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
            Host.StopMacroRun();
            result = 0;
        } else if (kind != mkControlSignal && Transfer.FileSend) {
            // The menu's file send owns SendFile and the send bar: a second send would take
            // them over.
            StopRunWithError(Host, MacroText::SendBusy);
            result = 0;
        } else if (kind == mkFile) {
            SendMacroFile(Host, data.c_str(), other);
        } else if (kind == mkDataString) {
            result = SendMacroString(Host, data, other);
        } else {
            ApplyControlSignal(Host, signal);
        }
        break;
    case mkDelayMs: result = MacroDelay(Host, other) ? 1 : 0; break;
    case mkDelaySecs:
    case mkDelayMins: break;
    default:
        if (--MacroRun.MacroLoopGuard <= 0) {
            MessageDlg(MacroText::LoopGuardStop, mtInformation, TMsgDlgButtons{mbOK});
            Host.StopMacroRun();
            MacroRun.MacroLoopGuard = MacroLoopGuardStart;
            result = 0;
        }
        break;
    }
    if (kind >= mkFile && kind <= mkControlSignal && MacroRun.MacroLoopGuard < MacroLoopGuardStart)
        MacroRun.MacroLoopGuard = MacroLoopGuardStart;
    Host.SetStopEnabled(false);
    return result;
}
