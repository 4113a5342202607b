// TCommEventThread: the wait loop on WaitCommEvent and the hand-over of each event mask to
// the main thread.
#include "comm/CommEventThread.h"

#include "framework/win/Ownership.h"

namespace {

// How long a wait that failed at once (device gone, driver refusal) or returned no event
// at all pauses before it is tried again.
constexpr DWORD BackOffMs = 10;

}  // namespace

TCommEventThread::TCommEventThread(HANDLE PortHandle, std::uint32_t SuspendTime,
                                   TCommEventTypes MonitorEvents)
{
    SetPriority(tpHighest);
    FreeOnTerminate = true;
    portHandle_ = PortHandle;
    this->SuspendTime = SuspendTime;
    SetCommMask(portHandle_, CommEventMask(MonitorEvents));
    stopSignal_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

TCommEventThread::~TCommEventThread() = default;

void TCommEventThread::Stop()
{
    // The signal first: once Terminated is set the thread may end and free itself.
    if (stopSignal_.Valid()) SetEvent(stopSignal_.Get());
    Terminate();
}

void TCommEventThread::Execute()
{
    TOwnedHandle waitDone(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED overlapped = {};
    overlapped.hEvent = waitDone.Get();
    while (!Terminated()) {
        // Without an event of its own a wait could still be pending when this object frees
        // itself: then the thread only waits to be stopped.
        if (!overlapped.hEvent) {
            BackOff();
            continue;
        }
        bool delivered = WaitCommEvent(portHandle_, &eventMask_, &overlapped) != FALSE;
        if (!delivered && GetLastError() == ERROR_IO_PENDING)
            delivered = WaitForSingleObject(overlapped.hEvent, INFINITE) == WAIT_OBJECT_0;
        // An empty mask is no event: Wine ends a wait on a line without modem status that
        // way at once, and Close ends a pending wait that way too.
        if (delivered && eventMask_ != 0) {
            try {
                Synchronize(&TCommEventThread::SyncCommEvent);
            } catch (...) {
                // Handler exceptions never get here (SyncCommEvent shows them); whatever
                // else the hand-over raises must not end the thread behind Close's back.
                BackOff();
            }
            ResetEvent(overlapped.hEvent);
        } else {
            ResetEvent(overlapped.hEvent);
            BackOff();
        }
    }
    if (!deviceReleased_)
        PurgeComm(portHandle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TCommEventThread::BackOff()
{
    if (stopSignal_.Valid())
        WaitForSingleObject(stopSignal_.Get(), BackOffMs);
    else
        Sleep(BackOffMs);
}

void TCommEventThread::SyncCommEvent()
{
    // Stays set while an escaped exception is shown too: a modal display runs a message
    // loop, and a Close from there must still know that this thread cannot be waited for.
    TScopedFlag handOver(inHandOver_);
    try {
        if (OnCommEvent) OnCommEvent(this, eventMask_);
    } catch (...) {
        // Raised again in this thread, the exception would end reception for good while the
        // port stays open: the installed sink (the application's display) shows it instead,
        // and the thread goes on delivering.
        HandleCallbackException(this);
    }
}
