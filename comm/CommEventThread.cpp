// TCommEventThread: a port's received bytes through its read-ahead, whose reader thread reads
// them as they come, beside one WaitCommEvent for the line's other events; the hand-over of
// each event mask to the main thread; and the loss of a device that has gone away.
#include "comm/CommEventThread.h"

#include <utility>

#include "comm/CommDeviceLoss.h"
#include "framework/win/Ownership.h"

namespace {

// How long a wait that failed at once (device gone, driver refusal) or returned no event
// at all pauses before it is tried again.
constexpr DWORD BackOffMs = 10;

// The received bytes are read as a plain Win32 reader reads them: by a thread of their own
// (the read-ahead's reader) that waits in a read, costs nothing while the line is quiet, and
// goes on reading while this thread waits for a hand-over (read here, a window busy for tens of
// ms with a whole-screen load held a device sending 300,000 bytes a second back as long, the
// line's own buffers being small). Each arrival is delivered as EV_RXCHAR. A WaitCommEvent for
// received bytes is not used, on any system: under Wine (8) one that has to wait is served by
// a thread that looks at the line every millisecond and, when it ends, leaves four blocks
// (176 bytes) in the process heap for good; a device that sends a line now and then made one
// such wait per line, the blocks pinned the heap's free space into ever more pieces, and every
// allocation of the rich edit control and the text layout walked them (at 20,000 B/s of text
// lines the main thread's share grew from 27 % to 78 % in four minutes). The wait is kept for
// the modem lines, breaks and line errors, which are rare; the transmitter-empty event, when
// monitored, comes after every write, so a file send makes one wait per block it writes.

// The wait, on the heap: a wait that cannot be seen to end before the thread goes is left to
// write into it (and its event) rather than into freed memory.
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
    : readAhead_(std::move(ReadAhead))
{
    SetPriority(tpHighest);
    FreeOnTerminate = true;
    portHandle_ = PortHandle;
    monitorMask_ = CommEventMask(MonitorEvents);
    SetCommMask(portHandle_, monitorMask_ & ~EV_RXCHAR);
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
    auto* wait = new TPendingWait;
    wait->overlapped.hEvent = wait->done.Get();
    const DWORD otherEvents = monitorMask_ & ~EV_RXCHAR;
    const bool rxMonitored = (monitorMask_ & EV_RXCHAR) != 0;
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
    // Once the device is found gone nothing more is asked of it: what was read ahead still goes
    // to the main thread, then the loss, once; then the thread waits to be stopped.
    TDeviceLossWatch waitLoss;
    bool lost = false;
    bool lossTold = false;
    DWORD lostError = 0;
    auto waitEnded = [&](DWORD Error, DWORD Mask) {
        if (Mask != 0) {
            waitLoss.Worked();
        } else {
            if (Error != 0 && !lost && waitLoss.Failed(Error)) {
                lost = true;
                lostError = waitLoss.Error();
            }
            waitAt = GetTickCount() + BackOffMs;
        }
    };
    while (!Terminated()) {
        if (!lost && !reading && due(readAt) && !(reading = TReadAhead::StartReader(readAhead_)))
            readAt = GetTickCount() + BackOffMs;
        DWORD mask = 0;
        if (rxMonitored && readSome && readAhead_->Count() > 0) mask |= EV_RXCHAR;
        if (!lost && otherEvents != 0 && !waiting && wait->overlapped.hEvent && due(waitAt)) {
            wait->mask = 0;
            ResetEvent(wait->overlapped.hEvent);
            if (WaitCommEvent(portHandle_, &wait->mask, &wait->overlapped)) {
                mask |= wait->mask;
                waitEnded(0, wait->mask);
            } else {
                const DWORD error = GetLastError();
                waiting = error == ERROR_IO_PENDING;
                if (!waiting) waitEnded(error, 0);
            }
        }

        bool arrived = false;
        if (mask == 0) {
            if (lost && !lossTold) {
                lossTold = true;
                DeliverLoss(lostError);
                continue;
            }
            HANDLE signals[4];
            DWORD count = 0;
            signals[count++] = stopSignal_.Get();
            const DWORD arrivedAt = count;
            if (reading && rxMonitored) signals[count++] = readAhead_->ArrivedEvent();
            const DWORD lostAt = count;
            if (reading && !lost) signals[count++] = readAhead_->LostEvent();
            if (waiting) signals[count++] = wait->overlapped.hEvent;
            const bool retry =
                !lost && (!reading || (otherEvents != 0 && !waiting && !due(waitAt)));
            const DWORD signalled =
                WaitForMultipleObjects(count, signals, FALSE, retry ? BackOffMs : INFINITE);
            arrived = reading && rxMonitored && signalled == WAIT_OBJECT_0 + arrivedAt;
            if (reading && !lost && signalled == WAIT_OBJECT_0 + lostAt) {
                lost = true;
                lostError = readAhead_->LostError();
            }
        }
        if (reading && rxMonitored && !arrived)
            arrived = WaitForSingleObject(readAhead_->ArrivedEvent(), 0) == WAIT_OBJECT_0;
        if (arrived) mask |= EV_RXCHAR;
        // The wait's status and mask are written before its event is set: reading them asks
        // nothing of the system. Once they are, the event is waited for too, so that nothing
        // of that wait touches the record or its event afterwards; the next wait resets it.
        if (waiting && HasOverlappedIoCompleted(&wait->overlapped)) {
            MemoryBarrier();
            WaitForSingleObject(wait->overlapped.hEvent, EndMs);
            waiting = false;
            DWORD error = 0;
            DWORD unused = 0;
            if (wait->overlapped.Internal != 0 &&
                !GetOverlappedResult(portHandle_, &wait->overlapped, &unused, FALSE))
                error = GetLastError();
            // Close ends a pending wait with an empty mask.
            waitEnded(error, wait->mask);
            mask |= wait->mask;
        }
        if (mask == 0) continue;
        // Bytes still queued go with every event, as a look at the device's queue finds them.
        if (rxMonitored && readAhead_->Count() > 0) mask |= EV_RXCHAR;
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
            wait = nullptr;  // the record (and its event) stays for the wait
    }
    delete wait;
    if (!deviceReleased_)
        PurgeComm(portHandle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TCommEventThread::Deliver(DWORD Mask)
{
    eventMask_ = Mask;
    HandOver();
}

void TCommEventThread::DeliverLoss(DWORD Error)
{
    lostError_ = Error;
    lossHandOver_ = true;
    HandOver();
    lossHandOver_ = false;
}

void TCommEventThread::HandOver()
{
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
        if (!lossHandOver_) {
            if (OnCommEvent) OnCommEvent(this, eventMask_);
        } else if (OnDeviceLost) {
            OnDeviceLost(this, lostError_);
        }
    } catch (...) {
        // Raised again in this thread, the exception would end reception for good while the
        // port stays open: the installed sink (the application's display) shows it instead,
        // and the thread goes on delivering.
        HandleCallbackException(this);
    }
}
