// Which failures of a port's reads and waits mean that its device is gone.
#include "comm/CommDeviceLoss.h"

namespace {

// A failure may pass (a purge aborts a read once, a driver refuses a wait while it resets):
// only a run of them is a loss. With the 10 ms pause after each, about 50 ms of failures.
constexpr int FailuresInARow = 5;

}  // namespace

bool MeansDeviceGone(DWORD Error)
{
    switch (Error) {
    // An unplugged USB adapter under Windows: its handle answers every read and wait so.
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_IO_DEVICE:
    // A line whose far end has closed, under Wine (8): a read ends at once with a broken pipe
    // (the hang-up's end of file), a wait fails with ERROR_NOT_READY (its EIO) and the wait
    // that was pending ends as aborted.
    case ERROR_NOT_READY:
    case ERROR_BROKEN_PIPE:
    case ERROR_HANDLE_EOF: return true;
    default: return false;
    }
}

bool TDeviceLossWatch::Failed(DWORD Error)
{
    if (!MeansDeviceGone(Error)) {
        failures_ = 0;
        return false;
    }
    error_ = Error;
    return ++failures_ >= FailuresInARow;
}
