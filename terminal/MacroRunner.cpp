// The macro runner: ExecuteMacroStep and what it calls. The waits sleep on the message queue
// and a wake event, so the window (and its Stop button) stays live without a busy loop.
#include "terminal/MacroRunner.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "macros/TreeUtil.h"
#include "terminal/Escapes.h"
#include "terminal/FileSendProgress.h"
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
}

// A wait's view of the Stop button: disabled means a stop was asked for.
void NoteStopButton(const TMacroRunHost& Host)
{
    if (!Host.StopEnabled()) MacroRun.MacroRunState = 1;
}

bool ReadSendByte(std::uint8_t& Byte)
{
    return Transfer.SendFile && Transfer.SendFile->Read(&Byte, 1) == 1;
}

int ReadSendBlock(std::vector<char>& Block, int Count)
{
    return Transfer.SendFile ? std::max(0, Transfer.SendFile->Read(Block.data(), Count)) : 0;
}

void StopRunWithError(TMacroRunHost& Host, const String& Text)
{
    MessageDlg(Text, mtError, TMsgDlgButtons{mbOK});
    Host.StopMacroRun();
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
    MacroRun.MacroTimer = 0;
    MacroRun.MacroDelayPending = 1;
    ResetEvent(DelayWakeEvent());
    StartMacroDelayTimer(*delay, 0);
    const UINT timer = MacroRun.MacroTimer;
    // A refused timer would never clear the flag: the wait would last until Stop.
    if (timer == 0) {
        MacroRun.MacroDelayPending = 0;
        StopRunWithError(Host, MacroText::DelayTimerRefused + IntToStr(*delay) +
                                   MacroText::DelayTimerRefusedTail);
        return false;
    }
    // However the wait ends (an exception out of a handler included), the timer goes with it.
    struct TTimerKill {
        UINT Timer;
        ~TTimerKill()
        {
            MacroRun.MacroTimer = 0;
            timeKillEvent(Timer);
            MacroRun.MacroDelayPending = 0;
        }
    } kill{timer};
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
    return 0;
}

std::int32_t SendMacroString(TMacroRunHost& Host, const String& Data, const String& DelayMs)
{
    if (Data.empty()) return 0;
    if (Data.size() >= MacroStringBufferSize) {
        MessageDlg(MacroText::DataTooLong, mtError, TMsgDlgButtons{mbOK});
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
    const String name = FileName;
    try {
        Transfer.SendFile = new TFileStream(name, fmOpenRead);
    } catch (EStreamError&) {
        MessageDlg(MainText::CannotOpenForReading + name, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    const std::uint64_t serial = ++Transfer.SendSerial;
    // After the queue ran, the send may have been ended (Stop Sending, a disconnect): the file
    // is gone and its end already done.
    const auto stillOurs = [&] { return serial == Transfer.SendSerial; };
    try {
        const std::int64_t size = Transfer.SendFile->Size();
        const std::int64_t step = ProgressStep(size);
        Host.LockForFileSend(ProgressBarUnits(size, size));

        std::uint8_t byte = 0;
        if (ReadSendByte(byte)) {
            Host.ShowSendBar(name);
            Transfer.SendFile->SetPosition(0);
        }

        // The delay follows every byte; without one the file goes a block per pass of the queue,
        // as Send File sends it, each block ending at a progress mark.
        const bool paced = !DelayMs.empty() && ParseDelayMs(DelayMs) != 0;
        const int blockBytes = paced ? 1 : Host.FileSendBlock();
        std::vector<char> block(static_cast<size_t>(blockBytes));
        std::int64_t mark = step;
        std::int64_t count = 0;
        int n = ReadSendBlock(block, NextBlockBytes(blockBytes, 0, mark));
        Display.StatusMessageText = ProgressStartText(size);
        while (n > 0 && Connection.PortOpen) {
            // Bytes the port refuses did not go out: the send ends short of its 100 %.
            const int written = std::max(0, Host.WriteToPort(block.data(), n));
            Display.BytesOut += written;
            count += written;
            if (written != n) break;
            NoteStopButton(Host);
            if (MacroRun.MacroRunState == 2) Application->ProcessMessages();
            // A stop asked for during the delay ends the send before the next byte.
            if (MacroRun.MacroRunState != 2 || !stillOurs() || !MacroDelay(Host, DelayMs) ||
                MacroRun.MacroRunState != 2) {
                if (stillOurs()) Host.EndFileSend();
                return;
            }
            if (count == mark) {
                Host.SetSendProgress(ProgressBarUnits(count, size));
                mark += step;
                Display.StatusMessageText = ProgressText(size, ProgressPercent(count, size));
            }
            n = stillOurs() ? ReadSendBlock(block, NextBlockBytes(blockBytes, count, mark)) : 0;
        }
        if (!stillOurs()) return;
        if (count == size) {
            Host.SetSendProgress(ProgressBarUnits(size, size));
            Display.StatusMessageText = ProgressText(size, 100);
            Host.SetSendProgress(0);
        } else if (n == 0 && Connection.PortOpen) {
            // Fewer bytes than the file's size (a read error, a file that shrank): a failed
            // read, not a quiet end.
            throw EReadError("Cannot read file \"%s\"", name);
        }
        Host.EndFileSend();
    } catch (...) {
        Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
        Display.StatusMessageText = MainText::FileErrorCaption;
        if (stillOurs()) Host.EndFileSend();
    }
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
        } else if (kind != mkControlSignal && Transfer.SendFile) {
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
