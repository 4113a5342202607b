// TMacroRunHost: what the macro runner asks of the window a run belongs to (its Stop button, its
// key path, the port with its lamps, the macro editor, and what a file send asks). The main window
// implements it; the runner reaches no control of its own accord.
#pragma once

#include <cstdint>

#include "framework/Strings.h"
#include "terminal/FileSender.h"

class TMacroRunHost : public TFileSendHost {
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
    // A step failed with a box the user has answered, and the run would go on with the next
    // node (a bad data string, a file that cannot be opened).
    virtual void StepFailedWithBox() = 0;

    // The port: open, one byte written (the count the port took), and RTS and DTR set (-1 leaves
    // a line as it is), the lines before their lamps.
    virtual bool PortEnabled() const = 0;
    virtual int WriteToPort(std::uint8_t Byte) = 0;
    virtual void SetControlLines(int Rts, int Dtr) = 0;
};
