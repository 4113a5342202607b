// What the macro runner decides without a window or a port: the control-signal texts and the
// lines they set, the delay texts, and the runner's messages.
#pragma once

#include <cstdint>
#include <optional>

#include "framework/Strings.h"

namespace MacroText {
inline constexpr const char* LoopGuardStop =
    "Stopped execution to prevent endless looping within the Macro List Pane! \n\nToo many "
    "(500) non-functional executions carried out.\nCheck that valid macros exist within the "
    "Macro List Pane.";
inline constexpr const char* BadSelection = "Bad selection from \"Macro List.\"";
inline constexpr const char* NoMoreEntries = "No more entries in \"Macro List\"";
inline constexpr const char* BreakpointReached = "Breakpoint reached!";
inline constexpr const char* BreakpointOnMarked =
    "Cannot place a breakpoint on an item marked for deletion.";
inline constexpr const char* DelayNotNumberHead = "Cannot run the delay: \"";
inline constexpr const char* DelayNotNumberTail =
    "\" is not a whole number of milliseconds.\nExecution stopped.";
inline constexpr const char* DelayTimerRefused =
    "Cannot run the delay: the system refused a timer of ";
inline constexpr const char* DelayTimerRefusedTail = " ms.\nExecution stopped.";
inline constexpr const char* SendBusy =
    "Cannot run this macro while a file is being sent.\nWait for the send to end or stop it "
    "first.";
inline constexpr const char* DataTooLong =
    "Cannot send data.\nThe data string is longer than 4,095 characters.";
}  // namespace MacroText

// The loop guard's start: non-functional steps allowed in a row.
inline constexpr std::int32_t MacroLoopGuardStart = 500;
// MacroStringBuffer's size: a data string of at most 4,095 characters and its NUL.
inline constexpr int MacroStringBufferSize = 4096;

// The lines a control-signal text sets: each -1 (untouched), 0 off or 1 on. Only the eight
// exact texts of the editor's list count; any other text sets nothing (nullopt).
struct TSignalLines {
    int Rts = -1;
    int Dtr = -1;
};
std::optional<TSignalLines> ParseControlSignal(const String& Text);

// A delay text in milliseconds: an optional minus and decimal digits, within 32 bits; nullopt
// for anything else. The empty text is 0.
std::optional<std::int32_t> ParseDelayMs(const String& Text);
