// TMacroRunHost: what the macro runner asks of the window a run belongs to (its Stop button, its
// key path, the port with its lamps, the send bar and the macro editor). The main window
// implements it; the runner reaches no control of its own accord.
#pragma once

#include <cstdint>

#include "framework/Strings.h"

class TMacroRunHost {
public:
    virtual ~TMacroRunHost() = default;

    // The Stop button: enabled while a step runs. A click disables it, which is how a wait
    // learns that a stop was asked for.
    virtual bool StopEnabled() const = 0;
    virtual void SetStopEnabled(bool Enabled) = 0;
    // Stop, as the button's click does it.
    virtual void StopMacroRun() = 0;

    // One character through the screen's key path, as if typed (echo, capture, the port).
    virtual void SendKeyPress(char& Key) = 0;
    // The macro editor opened on the selected node with Length characters of its data field
    // selected from Start (when the field can take them).
    virtual void SelectInMacroData(int Start, int Length) = 0;

    // The port: open, one byte written (the count the port took), a block of a file send written
    // (the count taken; received bytes that piled up are shown first) and the bytes of such a
    // block at the port's speed, and RTS and DTR set (-1 leaves a line as it is), the lines
    // before their lamps.
    virtual bool PortEnabled() const = 0;
    virtual int WriteToPort(std::uint8_t Byte) = 0;
    virtual int WriteToPort(const char* Bytes, int Count) = 0;
    virtual int FileSendBlock() const = 0;
    virtual void SetControlLines(int Rts, int Dtr) = 0;

    // A file send's look: the progress bar's range, the send commands and the screen locked;
    // the send bar naming the file (in place of the entry pane); the progress; and the end of
    // the send, which closes the file and gives everything back.
    virtual void LockForFileSend(int ProgressRange) = 0;
    virtual void ShowSendBar(const String& FileName) = 0;
    virtual void SetSendProgress(int Position) = 0;
    virtual void EndFileSend() = 0;
};
