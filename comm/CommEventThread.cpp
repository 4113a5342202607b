// TCommEventThread: the wait loop on WaitCommEvent (under Wine: a look at the input queue
// beside a wait for the other events) and the hand-over of each event mask to the main thread.
#include "comm/CommEventThread.h"

#include "framework/win/Ownership.h"

namespace {

// How long a wait that failed at once (device gone, driver refusal) or returned no event
// at all pauses before it is tried again.
constexpr DWORD BackOffMs = 10;

// Wine (8) serves a WaitCommEvent that has to wait with a thread of its own, which looks at
// the line every millisecond and, when it ends, leaves four blocks (176 bytes) in the process
// heap for good. A device that sends a line now and then makes one such wait per line: the
// blocks pin the heap's free space into ever more pieces, and every allocation of the rich
// edit control and the text layout walks them (at 20,000 B/s of text lines the main thread's
// share grew from 27 % to 78 % in four minutes, and the window took up to 0.9 s to answer).
// There the queue is looked at here instead, a few thousand times a second (each look and
// pause stays in this process: no call of Wine's server), and the wait is kept for the other
// events, which come seldom.
constexpr LONGLONG ReceivePoll100ns = 2500;

void PollPause()
{
    using TDelay = LONG(NTAPI*)(BOOLEAN, const LARGE_INTEGER*);
    static const auto delay = reinterpret_cast<TDelay>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution")));
    if (!delay) {
        Sleep(1);
        return;
    }
    LARGE_INTEGER interval;
    interval.QuadPart = -ReceivePoll100ns;
    delay(FALSE, &interval);
}

bool WaitsLeaveBlocksBehind()
{
    static const bool wine =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// The wait of the polling loop, on the heap: a wait that cannot be seen to end before the
// thread goes is left to write into it (and its event) rather than into freed memory.
struct TPendingWait {
    OVERLAPPED overlapped = {};
    DWORD mask = 0;
    TOwnedHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// The longest the thread waits for a wait's event once its status says it has ended, or,
// leaving, once it has cleared the mask.
constexpr DWORD WaitEndMs = 2000;

}  // namespace

TCommEventThread::TCommEventThread(HANDLE PortHandle, std::uint32_t SuspendTime,
                                   TCommEventTypes MonitorEvents)
{
    SetPriority(tpHighest);
    FreeOnTerminate = true;
    portHandle_ = PortHandle;
    this->SuspendTime = SuspendTime;
    monitorMask_ = CommEventMask(MonitorEvents);
    pollsReceivedBytes_ = (monitorMask_ & EV_RXCHAR) != 0 && WaitsLeaveBlocksBehind();
    SetCommMask(portHandle_, pollsReceivedBytes_ ? monitorMask_ & ~EV_RXCHAR : monitorMask_);
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
    if (pollsReceivedBytes_)
        PollLoop();
    else
        WaitLoop();
    if (!deviceReleased_)
        PurgeComm(portHandle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TCommEventThread::WaitLoop()
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
        ResetEvent(overlapped.hEvent);
        // An empty mask is no event: Wine ends a wait on a line without modem status that
        // way at once, and Close ends a pending wait that way too.
        if (delivered && eventMask_ != 0)
            Deliver(eventMask_);
        else
            BackOff();
    }
}

void TCommEventThread::PollLoop()
{
    auto* wait = new TPendingWait;
    wait->overlapped.hEvent = wait->done.Get();
    const DWORD otherEvents = monitorMask_ & ~EV_RXCHAR;
    bool pending = false;
    DWORD retryAt = GetTickCount();
    while (!Terminated()) {
        DWORD mask = 0;
        if (otherEvents != 0 && !pending && wait->overlapped.hEvent &&
            static_cast<LONG>(GetTickCount() - retryAt) >= 0) {
            wait->mask = 0;
            if (WaitCommEvent(portHandle_, &wait->mask, &wait->overlapped))
                mask = wait->mask;
            else
                pending = GetLastError() == ERROR_IO_PENDING;
            // A wait that failed at once or found no event is tried again after a pause.
            if (!pending && mask == 0) retryAt = GetTickCount() + BackOffMs;
        }
        // The wait's status and mask are written before its event is set: reading them asks
        // nothing of the system. Once they are, the event is waited for too, so that nothing
        // of that wait touches the record or its event afterwards; the next wait resets it.
        if (pending && HasOverlappedIoCompleted(&wait->overlapped)) {
            MemoryBarrier();
            WaitForSingleObject(wait->overlapped.hEvent, WaitEndMs);
            pending = false;
            // Close ends a pending wait with an empty mask.
            mask = wait->mask;
            if (mask == 0) retryAt = GetTickCount() + BackOffMs;
        }

        DWORD errors = 0;
        COMSTAT status = {};
        if (ClearCommError(portHandle_, &errors, &status)) {
            if (status.cbInQue > 0) mask |= EV_RXCHAR;
            // Reading the queue cleared the line errors: they go to the dispatch of the
            // error event, which the wait delivers.
            if (errors != 0) polledErrors_ |= errors;
        }
        if (mask != 0)
            Deliver(mask);
        else
            PollPause();
    }
    if (pending) {
        // Close ends the wait (also from inside a handler, before the device goes); the
        // thread's own clearing covers a stop that did not come from Close.
        if (!deviceReleased_) SetCommMask(portHandle_, 0);
        if (WaitForSingleObject(wait->overlapped.hEvent, WaitEndMs) != WAIT_OBJECT_0)
            return;  // the record (and its event) stays for the wait
    }
    delete wait;
}

void TCommEventThread::Deliver(DWORD Mask)
{
    eventMask_ = Mask;
    try {
        Synchronize(&TCommEventThread::SyncCommEvent);
    } catch (...) {
        // Handler exceptions never get here (SyncCommEvent shows them); whatever else the
        // hand-over raises must not end the thread behind Close's back.
        BackOff();
    }
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
