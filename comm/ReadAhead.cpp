// TReadAhead: a ring of the received bytes, filled by its reader thread and emptied by the
// port's Read, with an event for the reader while it waits for room and one for the event
// thread when bytes arrive.
#include "comm/ReadAhead.h"

#include "comm/CommDeviceLoss.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The longest a read waits once its status says it has ended, or once it has been cancelled.
constexpr DWORD EndMs = 2000;
// The read of the bytes a count has just reported: at once, unless the device misbehaves.
constexpr DWORD RestMs = 500;
// A read that failed at once, or ended with nothing, is tried again after this pause.
constexpr DWORD BackOffMs = 10;
// Once bytes have come, a look at the device that finds none is made again after this pause,
// up to this many looks in all, before a read waits for the next byte.
constexpr DWORD FlowPauseMs = 1;
constexpr int FlowLooks = 4;
// The most one look at the device's queue reads.
constexpr std::size_t RestBytes = 65536;

}  // namespace

TReadAhead::TReadAhead(HANDLE Device, std::size_t Capacity)
    : device_(Device),
      bytes_(std::max<std::size_t>(Capacity, 1)),
      roomEvent_(CreateEventA(nullptr, TRUE, TRUE, nullptr)),
      readDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      restDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      rest_(std::min(bytes_.size(), RestBytes)),
      arrived_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      readerStop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      readerDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      lost_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

bool TReadAhead::StartReader(const std::shared_ptr<TReadAhead>& Self)
{
    TReadAhead& r = *Self;
    if (!r.arrived_.Valid() || !r.readerStop_.Valid() || !r.readerDone_.Valid() || !r.lost_.Valid())
        return false;
    auto* owner = new std::shared_ptr<TReadAhead>(Self);
    HANDLE thread = CreateThread(nullptr, 0, &TReadAhead::ReaderMain, owner, 0, nullptr);
    if (!thread) {
        delete owner;
        return false;
    }
    // As the event thread: bytes are taken from the device as soon as they come.
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    CloseHandle(thread);
    r.readerStarted_ = true;
    return true;
}

DWORD WINAPI TReadAhead::ReaderMain(void* Self)
{
    auto* owner = static_cast<std::shared_ptr<TReadAhead>*>(Self);
    (*owner)->ReaderLoop();
    // A read that did not end keeps the object for good: it may still write into it.
    if ((*owner)->reading_) return 0;
    delete owner;
    return 0;
}

void TReadAhead::ReaderLoop()
{
    auto stopped = [this](DWORD Ms) {
        return WaitForSingleObject(readerStop_.Get(), Ms) == WAIT_OBJECT_0;
    };
    // A device that is gone fails every read (an unplugged adapter), or ends each at once with
    // nothing (a line whose far end closed): retried for ever, that looked like a quiet line.
    TDeviceLossWatch loss;
    auto lost = [&](DWORD Error) {
        if (!loss.Failed(Error)) return false;
        lostError_ = loss.Error();
        SetEvent(lost_.Get());
        return true;
    };
    // While bytes keep coming the device's queue is looked at again at once, and read if it
    // holds some. A look that finds none is made again after short pauses, a few times, before
    // a read waits for the next byte: a line's driver hands a flood over in pieces (a pty 4 KiB
    // at a time) with gaps between them, and a waiting read for each gap ended only after a
    // trip through Wine's server (1-12 ms on a busy machine), while the line's small buffers
    // filled: at 1.2 MB/s the device was held back for seconds.
    int looksLeft = 0;
    while (!stopRequested_) {
        if (looksLeft > 0) {
            if (TakeIn() > 0) {
                SetEvent(arrived_.Get());
                looksLeft = FlowLooks;
            } else if (--looksLeft > 0) {
                Sleep(FlowPauseMs);
            }
            continue;
        }
        const TStart start = StartRead();
        if (start == Failed) {
            if (lost(startError_) || stopped(BackOffMs)) break;
            continue;
        }
        if (start == Full) {
            HANDLE signals[2] = {readerStop_.Get(), RoomEvent()};
            WaitForMultipleObjects(2, signals, FALSE, INFINITE);
            continue;
        }
        HANDLE signals[2] = {readerStop_.Get(), readDone_.Get()};
        WaitForMultipleObjects(2, signals, FALSE, INFINITE);
        if (!ReadEnded()) continue;  // stopped: the read is cancelled below
        const DWORD failure = ReadFailure();
        if (TakeIn() > 0) {
            loss.Worked();
            SetEvent(arrived_.Get());
            looksLeft = FlowLooks;
        } else if ((failure != 0 && lost(failure)) || stopped(BackOffMs)) {
            // A read that ended with nothing pauses before the next.
            break;
        }
    }
    CancelRead(EndMs);
    SetEvent(readerDone_.Get());
}

bool TReadAhead::StopReader(DWORD Ms)
{
    if (!readerStarted_) return true;
    stopRequested_ = true;
    SetEvent(readerStop_.Get());
    return WaitForSingleObject(readerDone_.Get(), Ms) == WAIT_OBJECT_0;
}

TReadAhead::TStart TReadAhead::StartRead()
{
    if (!readDone_.Valid() || !restDone_.Valid()) return Failed;
    {
        std::lock_guard<std::mutex> device(deviceMutex_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (count_ == bytes_.size()) return Full;
        }
        read_ = OVERLAPPED{};
        read_.hEvent = readDone_.Get();
        // Pending from here on, for a purge that looks before the system has written it.
        read_.Internal = STATUS_PENDING;
        readStarted_ = true;
        purgedSinceRead_ = false;
        purgesAtRead_ = purges_;
    }
    ResetEvent(readDone_.Get());
    // With the port's time-outs (all 0) a read of one byte waits for it, however long, and
    // ends as soon as it is there.
    reading_ = ReadFile(device_, &first_, 1, nullptr, &read_) || GetLastError() == ERROR_IO_PENDING;
    if (reading_) return Started;
    startError_ = GetLastError();
    std::lock_guard<std::mutex> device(deviceMutex_);
    readStarted_ = false;
    return Failed;
}

bool TReadAhead::ReadEnded()
{
    // The status is written before the event is set: reading it asks nothing of the system.
    // Once it says ended the event is waited for too, so nothing of this read sets it later,
    // after the next read has reset it.
    if (!reading_ || !HasOverlappedIoCompleted(&read_)) return false;
    MemoryBarrier();
    WaitForSingleObject(readDone_.Get(), EndMs);
    reading_ = false;
    ended_ = true;
    return true;
}

DWORD TReadAhead::ReadFailure()
{
    if (read_.InternalHigh != 0 || purges_ != purgesAtRead_) return 0;
    DWORD got = 0;
    if (GetOverlappedResult(device_, &read_, &got, FALSE)) return ERROR_HANDLE_EOF;
    return GetLastError();
}

std::size_t TReadAhead::TakeIn()
{
    // The rest is counted and read under the device's lock, which a purge takes too: a purge
    // between the two would leave the read waiting for bytes that no longer come. The queue's
    // own lock is not held meanwhile: the port's Read waited for the device's answers behind
    // it (100 ms and more on a busy machine).
    std::lock_guard<std::mutex> device(deviceMutex_);
    std::size_t joined = 0;
    if (std::exchange(ended_, false)) {
        readStarted_ = false;
        if (read_.InternalHigh == 1 && !purgedSinceRead_) joined += Append(&first_, 1);
        purgedSinceRead_ = false;
    }

    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(device_, &errors, &status)) return joined;
    std::size_t room = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        errors_ |= errors;
        room = bytes_.size() - count_;  // only Take changes it meanwhile, and only upwards
    }
    const auto n = static_cast<DWORD>(std::min<std::size_t>({status.cbInQue, room, rest_.size()}));
    if (n == 0) return joined;
    OVERLAPPED rest = {};
    rest.hEvent = restDone_.Get();
    ResetEvent(rest.hEvent);
    DWORD got = 0;
    if (!ReadFile(device_, rest_.data(), n, &got, &rest)) {
        if (GetLastError() != ERROR_IO_PENDING) return joined;
        if (WaitForSingleObject(rest.hEvent, RestMs) != WAIT_OBJECT_0) CancelIo(device_);
        GetOverlappedResult(device_, &rest, &got, TRUE);
    }
    return joined + Append(rest_.data(), got);
}

bool TReadAhead::CancelRead(DWORD Ms)
{
    if (!reading_) return true;
    CancelIo(device_);
    if (WaitForSingleObject(readDone_.Get(), Ms) != WAIT_OBJECT_0) return false;
    reading_ = false;
    std::lock_guard<std::mutex> device(deviceMutex_);
    readStarted_ = false;
    return true;
}

std::size_t TReadAhead::Count()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

std::size_t TReadAhead::Take(char* Buffer, std::size_t Count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Count = std::min(Count, count_);
    for (std::size_t done = 0; done < Count;) {
        const std::size_t n = std::min(Count - done, bytes_.size() - head_);
        std::memcpy(Buffer + done, bytes_.data() + head_, n);
        head_ = (head_ + n) % bytes_.size();
        count_ -= n;
        done += n;
    }
    UpdateRoomEvent();
    taken_ += Count;
    return Count;
}

void TReadAhead::Purge(DWORD Flags)
{
    std::lock_guard<std::mutex> device(deviceMutex_);
    // A read that has ended holds a byte from before the purge; one still pending gets a later
    // one.
    if (readStarted_ && HasOverlappedIoCompleted(&read_)) purgedSinceRead_ = true;
    ++purges_;
    PurgeComm(device_, Flags);
    std::lock_guard<std::mutex> lock(mutex_);
    head_ = 0;
    count_ = 0;
    UpdateRoomEvent();
}

DWORD TReadAhead::TakeErrors()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(errors_, 0);
}

std::size_t TReadAhead::Append(const char* Bytes, std::size_t Count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Count = std::min(Count, bytes_.size() - count_);
    for (std::size_t done = 0; done < Count;) {
        const std::size_t at = (head_ + count_) % bytes_.size();
        const std::size_t n = std::min(Count - done, bytes_.size() - at);
        std::memcpy(bytes_.data() + at, Bytes + done, n);
        count_ += n;
        done += n;
    }
    UpdateRoomEvent();
    return Count;
}

void TReadAhead::UpdateRoomEvent()
{
    // Only on a change: each call is a trip to Wine's server.
    const bool room = count_ < bytes_.size();
    if (room == roomSignalled_) return;
    roomSignalled_ = room;
    if (room)
        SetEvent(roomEvent_.Get());
    else
        ResetEvent(roomEvent_.Get());
}
