// TCommEventThread: the wait loop on WaitCommEvent (where such waits leave heap blocks behind:
// a read for the received bytes beside a wait for the other events) and the hand-over of each
// event mask to the main thread.
#include "comm/CommEventThread.h"

#include <utility>

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
// Where that happens (comm/CommEventLoop.cpp) the received bytes are read as a plain reader
// reads them: a read that waits leaves nothing behind and costs nothing while the line is quiet
// (a loop that looked at the queue every 250 us instead cost 12-16 % of a core). The read-ahead's
// reader thread reads them into its queue, from which the port's Read takes them, and each
// arrival is delivered as EV_RXCHAR. The reader is a thread of its own: read by this one, the
// bytes were not read while it waited for a hand-over, and a window busy for tens of ms (a
// whole-screen load) held a device sending 300,000 bytes a second back as long, the line's own
// buffers being small. The wait is kept for the other events. The line and modem-line events
// are rare, but not all of them: the transmitter-empty event, when monitored, comes after every
// write, so a file send makes one wait per block it writes.

// The wait of the read-ahead loop, on the heap: a wait that cannot be seen to end before the
// thread goes is left to write into it (and its event) rather than into freed memory.
struct TPendingWait {
    OVERLAPPED overlapped = {};
    DWORD mask = 0;
    TOwnedHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// The longest the thread waits for an operation's event once its status says it has ended,
// or, leaving, once it has ended the operation.
constexpr DWORD EndMs = 2000;

}  // namespace

TCommEventThread::TCommEventThread(HANDLE PortHandle, TCommEventTypes MonitorEvents,
                                   std::shared_ptr<TReadAhead> ReadAhead)
{
    SetPriority(tpHighest);
    FreeOnTerminate = true;
    portHandle_ = PortHandle;
    monitorMask_ = CommEventMask(MonitorEvents);
    if (monitorMask_ & EV_RXCHAR) readAhead_ = std::move(ReadAhead);
    SetCommMask(portHandle_, readAhead_ ? monitorMask_ & ~EV_RXCHAR : monitorMask_);
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
    if (readAhead_)
        ReadAheadLoop();
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

void TCommEventThread::ReadAheadLoop()
{
    auto* wait = new TPendingWait;
    wait->overlapped.hEvent = wait->done.Get();
    const DWORD otherEvents = monitorMask_ & ~EV_RXCHAR;
    bool waiting = false;
    bool reading = false;
    // A wait that failed at once, or ended with nothing, or a reader that could not be made, is
    // tried again after a pause.
    DWORD readAt = GetTickCount();
    DWORD waitAt = GetTickCount();
    auto due = [](DWORD At) { return static_cast<LONG>(GetTickCount() - At) >= 0; };
    // Whether the last hand-over took bytes from the queue: while it does, what is left goes to
    // the main thread again at once; once it does not, only new bytes do (a window that reads
    // nothing would otherwise be handed the same bytes without end).
    bool readSome = false;
    while (!Terminated()) {
        if (!reading && due(readAt) && !(reading = TReadAhead::StartReader(readAhead_)))
            readAt = GetTickCount() + BackOffMs;
        DWORD mask = 0;
        if (readSome && readAhead_->Count() > 0) mask |= EV_RXCHAR;
        if (otherEvents != 0 && !waiting && wait->overlapped.hEvent && due(waitAt)) {
            wait->mask = 0;
            ResetEvent(wait->overlapped.hEvent);
            if (WaitCommEvent(portHandle_, &wait->mask, &wait->overlapped))
                mask |= wait->mask;
            else
                waiting = GetLastError() == ERROR_IO_PENDING;
            if (!waiting && wait->mask == 0) waitAt = GetTickCount() + BackOffMs;
        }

        bool arrived = false;
        if (mask == 0) {
            HANDLE signals[3];
            DWORD count = 0;
            signals[count++] = stopSignal_.Get();
            const DWORD arrivedAt = count;
            if (reading) signals[count++] = readAhead_->ArrivedEvent();
            if (waiting) signals[count++] = wait->overlapped.hEvent;
            const bool retry = !reading || (otherEvents != 0 && !waiting && !due(waitAt));
            const DWORD signalled =
                WaitForMultipleObjects(count, signals, FALSE, retry ? BackOffMs : INFINITE);
            arrived = reading && signalled == WAIT_OBJECT_0 + arrivedAt;
        }
        if (reading && !arrived)
            arrived = WaitForSingleObject(readAhead_->ArrivedEvent(), 0) == WAIT_OBJECT_0;
        if (arrived) mask |= EV_RXCHAR;
        // The wait's status and mask are written before its event is set: reading them asks
        // nothing of the system. Once they are, the event is waited for too, so that nothing
        // of that wait touches the record or its event afterwards; the next wait resets it.
        if (waiting && HasOverlappedIoCompleted(&wait->overlapped)) {
            MemoryBarrier();
            WaitForSingleObject(wait->overlapped.hEvent, EndMs);
            waiting = false;
            // Close ends a pending wait with an empty mask.
            if (wait->mask == 0) waitAt = GetTickCount() + BackOffMs;
            mask |= wait->mask;
        }
        if (mask == 0) continue;
        // Bytes still queued go with every event, as a look at the device's queue finds them.
        if (readAhead_->Count() > 0) mask |= EV_RXCHAR;
        const std::size_t taken = readAhead_->Taken();
        Deliver(mask);
        readSome = readAhead_->Taken() != taken;
    }
    // Close stops the reader (also from inside a handler, before the device goes) and ends the
    // wait; the thread's own ending covers a stop that did not come from Close.
    if (!deviceReleased_) readAhead_->StopReader(EndMs);
    if (waiting) {
        if (!deviceReleased_) SetCommMask(portHandle_, 0);
        if (WaitForSingleObject(wait->overlapped.hEvent, EndMs) != WAIT_OBJECT_0)
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
