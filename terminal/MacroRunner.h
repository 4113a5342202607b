// The macro runner: one macro record executed against the line (a data string through the key
// path, a file, the RTS and DTR lines, a delay), and the state every run shares. Main thread
// only, except the delay's timer callback. The window of the run is reached through Host.
#pragma once

#include <atomic>
#include <cstdint>

#include "framework/Strings.h"
#include "macros/Macros.h"

struct TInfo;
class TMacroRunHost;

// The state every macro run shares.
struct TMacroRunState {
    // 0 no run yet, 2 running, 1 stop requested. Written by the run commands (2),
    // stop_tbtnClick and the waits (1).
    std::int32_t MacroRunState = 0;
    // Non-functional steps still allowed in a row. Reset by the run commands and by every step
    // of kind 3 to 8; decremented by the others.
    std::int32_t MacroLoopGuard = MacroLoopGuardStart;
    // 1 while a delay waits; cleared by the timer callback on the timer's thread.
    std::atomic<std::int32_t> MacroDelayPending{0};
    // The multimedia timer of the delay that waits, 0 when none.
    std::atomic<std::uint32_t> MacroTimer{0};
    // The data string being expanded, NUL-terminated. Written by SendMacroString only.
    char MacroStringBuffer[MacroStringBufferSize] = {};
    // A run command is inside its loop: no other run command starts until it ends. Written by
    // the run commands only.
    bool MacroRunActive = false;

    // Start-up state: no run, no delay waiting. The main window starts with it, as do the tests.
    void Reset();
};
extern TMacroRunState MacroRun;

// 1 when the step was carried out (or needed nothing), 0 when it failed or the run stopped.
// The record is read once at the start: a command run inside a wait may free it.
std::int32_t ExecuteMacroStep(TMacroRunHost& Host, TInfo* Info);
// Waits Milliseconds unless the run is stopped; "0" and "" return at once. A text that is not a
// number, or a delay whose timer the system refuses, shows its message, stops the run and
// returns false.
bool MacroDelay(TMacroRunHost& Host, const String& Milliseconds);
void StartMacroDelayTimer(std::int32_t DelayMs, int Unused);
// A delay that does not wait: BeginMacroDelay starts its timer (false when the system refuses
// it), MacroDelayPending falls to 0 at its tick, EndMacroDelay kills the timer (a file item's
// pause after each byte, which its send's steps look at).
bool BeginMacroDelay(std::int32_t DelayMs);
void EndMacroDelay();
void ClearMacroDelayFlag();
// 1 when every byte was sent, each followed by the per-character delay.
std::int32_t SendMacroString(TMacroRunHost& Host, const String& Data, const String& DelayMs);
// Bytes written to Output and a NUL after them; 0 after an escape error, which is shown and
// selected in the macro editor.
std::int32_t ExpandMacroEscapes(TMacroRunHost& Host, std::uint8_t* Output, const char* Input);
void ApplyControlSignal(TMacroRunHost& Host, const String& Signal);
void SendMacroFile(TMacroRunHost& Host, const char* FileName, const String& DelayMs);
