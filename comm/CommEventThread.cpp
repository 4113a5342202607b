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
// Where that happens (comm/CommEventLoop.cpp) the thread reads the received bytes itself, as
// a plain reader does: a read that waits leaves nothing behind and costs nothing while the line
// is quiet (a loop that looked at the queue every 250 us instead cost 12-16 % of a core). The
// bytes go to the port's read-ahead, from which the port's Read takes them, and each read that
// brought some is delivered as EV_RXCHAR. The wait is kept for the other events. The line and
// modem-line events are rare, but not all of them: the transmitter-empty event comes once for
// every byte a file send writes (it writes one at a time), so a send makes one wait per byte.

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
    // A read or wait that failed at once, or ended with nothing, is tried again after a pause.
    DWORD readAt = GetTickCount();
    DWORD waitAt = GetTickCount();
    auto due = [](DWORD At) { return static_cast<LONG>(GetTickCount() - At) >= 0; };
    // While bytes keep coming the device's queue is looked at after each hand-over, and read
    // if it holds some; once a look finds none, a read waits for the next byte.
    bool flowing = false;
    while (!Terminated()) {
        DWORD mask = 0;
        if (flowing) flowing = readAhead_->TakeIn() > 0;
        if (flowing) mask |= EV_RXCHAR;
        if (!flowing && !readAhead_->Reading() && due(readAt) &&
            readAhead_->StartRead() == TReadAhead::Failed)
            readAt = GetTickCount() + BackOffMs;
        if (otherEvents != 0 && !waiting && wait->overlapped.hEvent && due(waitAt)) {
            wait->mask = 0;
            ResetEvent(wait->overlapped.hEvent);
            if (WaitCommEvent(portHandle_, &wait->mask, &wait->overlapped))
                mask |= wait->mask;
            else
                waiting = GetLastError() == ERROR_IO_PENDING;
            if (!waiting && wait->mask == 0) waitAt = GetTickCount() + BackOffMs;
        }

        if (mask == 0) {
            HANDLE signals[3];
            DWORD count = 0;
            signals[count++] = stopSignal_.Get();
            if (readAhead_->Reading())
                signals[count++] = readAhead_->ReadEvent();
            else if (due(readAt))
                signals[count++] = readAhead_->RoomEvent();
            if (waiting) signals[count++] = wait->overlapped.hEvent;
            const bool retry = !due(readAt) || (otherEvents != 0 && !waiting && !due(waitAt));
            WaitForMultipleObjects(count, signals, FALSE, retry ? BackOffMs : INFINITE);
        }

        if (readAhead_->ReadEnded()) {
            flowing = readAhead_->TakeIn() > 0;
            if (flowing)
                mask |= EV_RXCHAR;
            else
                readAt = GetTickCount() + BackOffMs;  // a read that ended with nothing
        }
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
        Deliver(mask);
    }
    // Close ends the wait (also from inside a handler, before the device goes) and, closing
    // the device, the read; the thread's own ending covers a stop that did not come from Close.
    if (!readAhead_->CancelRead(!deviceReleased_, EndMs))
        new std::shared_ptr<TReadAhead>(readAhead_);  // the read may still write into it
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
