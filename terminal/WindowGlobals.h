// The main window's shared state that only its Win32 side uses: the screen streams, the
// connection state, the status bar texts. Built by InitMainGlobals before any form exists.
#pragma once

#include <cstdint>

#include "framework/Strings.h"

class TFileStream;
class TMemoryStream;

// The display mode question ("Changing to this mode ..."). Read by the display mode commands.
extern String ModeChangeQuestion;

// RTF body of everything on the screen since it was last cleared or shortened, always ending
// in one NUL. Appended by the receive handler and the echo; emptied by Clear and New Session.
extern TMemoryStream* PendingRtf;
// The text handed to the screen (header or prefix, body, closing); emptied around each use.
extern TMemoryStream* WorkRtf;

// The open capture file, or null. Opened and closed by the capture commands; the receive
// handler and the key path write to it.
extern TFileStream* CaptureFile;
// The file being sent, or null when no send runs. Opened by the send commands, closed only by
// miStopSendingClick; a send loop reads it again after each pass of the message queue.
extern TFileStream* SendFile;
// Counts the starts and ends of sends (every send command and miStopSendingClick add one). A
// send loop goes on only while the count is the one it started with: after the queue ran,
// SendFile may have been closed (Stop, a disconnect, the window closing), and even opened
// again by another send at the same address.
extern std::uint64_t SendSerial;
// The string entry pane was shown when a send started and was hidden for it; the end of the
// send shows it again. Written by the send commands and miStopSendingClick.
extern bool EntryPaneHidden;

// Set by the control-character menu and never cleared: from then on a key typed on a closed
// port says it is not connected instead of connecting. Written by NULL_00Click only.
extern bool CtrlCharMenuUsed;

// Time of day at which the port was opened. Written by the connect handler only.
extern double ConnectTime;
// 1 after a successful open, 0 after a disconnect that closed the port. Written by the
// connect toggle only; the send loops stop when it is 0.
extern bool PortOpen;
// The connect toggle's own state: 1 after a successful connect, 0 after a disconnect attempt.
extern std::int32_t ConnectToggle;

// Status bar texts: the message (panel 4; transfers, line errors, Clear, New Session), the
// caret position and the byte under it (panels 1 and 3; the cursor inspector).
extern String StatusMessageText;
extern String CaretInfoText;
extern String ByteInfoText;
// The last line error's text and the status ticks since it was set (the line-error handler).
extern String CommErrorText;
extern std::int32_t CommErrorTicks;

// The bytes of an expanded send string: the string entry pane's (at most 300) and the macro
// runner's data strings (at most 4,096), with room for a NUL. Written by their send commands.
inline constexpr int EntrySendBufferSize = 4099;
extern std::uint8_t EntrySendBuffer[EntrySendBufferSize];

// The options dialog's "ShowCommEvent" check box: the port's diagnostic events are noted in the
// diagnostics memo, which the display tick then keeps. False while the dialog does not exist.
bool ShowCommEventTicked();

// Unit start-up: runs once, before the program creates any form (a second call does nothing).
void InitMainGlobals();
