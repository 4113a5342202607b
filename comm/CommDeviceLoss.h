// TDeviceLossWatch: tells a device that has gone away (an unplugged adapter, a far end that
// closed its line) from a read or a wait that failed once, by the failures that keep coming.
#pragma once

#include <windows.h>

// True for the errors a port's reads and waits end with once its device is gone.
bool MeansDeviceGone(DWORD Error);

class TDeviceLossWatch {
public:
    // A read or a wait ended without data or event, with Error (ERROR_HANDLE_EOF for a read
    // that ended at once with nothing, which no time-out of the port allows). True once such
    // failures meaning a gone device have come several times in a row: Error() is the last.
    bool Failed(DWORD Error);
    // Bytes came, or an event: whatever failed before was passing.
    void Worked() { failures_ = 0; }
    DWORD Error() const { return error_; }

private:
    int failures_ = 0;
    DWORD error_ = 0;
};
