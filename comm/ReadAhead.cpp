// TReadAhead: a ring of the received bytes, filled by the event thread's reads and emptied by
// the port's Read, with an event for the thread while it waits for room.
#include "comm/ReadAhead.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The longest a read waits once its status says it has ended, or once it has been cancelled.
constexpr DWORD EndMs = 2000;
// The read of the bytes a count has just reported: at once, unless the device misbehaves.
constexpr DWORD RestMs = 500;

}  // namespace

TReadAhead::TReadAhead(HANDLE Device, std::size_t Capacity)
    : device_(Device),
      bytes_(std::max<std::size_t>(Capacity, 1)),
      roomEvent_(CreateEventA(nullptr, TRUE, TRUE, nullptr)),
      readDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      restDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      rest_(bytes_.size())
{
}

TReadAhead::TStart TReadAhead::StartRead()
{
    if (!readDone_.Valid() || !restDone_.Valid()) return Failed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (count_ == bytes_.size()) return Full;
        read_ = OVERLAPPED{};
        read_.hEvent = readDone_.Get();
        // Pending from here on, for a purge that looks before the system has written it.
        read_.Internal = STATUS_PENDING;
        readStarted_ = true;
        purgedSinceRead_ = false;
    }
    ResetEvent(readDone_.Get());
    // With the port's time-outs (all 0) a read of one byte waits for it, however long, and
    // ends as soon as it is there.
    reading_ = ReadFile(device_, &first_, 1, nullptr, &read_) || GetLastError() == ERROR_IO_PENDING;
    if (reading_) return Started;
    std::lock_guard<std::mutex> lock(mutex_);
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

std::size_t TReadAhead::TakeIn()
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t before = count_;
    if (std::exchange(ended_, false)) {
        readStarted_ = false;
        if (read_.InternalHigh == 1 && !purgedSinceRead_) Append(&first_, 1);
        purgedSinceRead_ = false;
    }

    // The rest is counted and read under the lock: a purge between the two would leave the
    // read waiting for bytes that no longer come.
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(device_, &errors, &status)) return count_ - before;
    errors_ |= errors;
    const auto n =
        static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, bytes_.size() - count_));
    if (n == 0) return count_ - before;
    OVERLAPPED rest = {};
    rest.hEvent = restDone_.Get();
    ResetEvent(rest.hEvent);
    DWORD got = 0;
    if (!ReadFile(device_, rest_.data(), n, &got, &rest)) {
        if (GetLastError() != ERROR_IO_PENDING) return count_ - before;
        if (WaitForSingleObject(rest.hEvent, RestMs) != WAIT_OBJECT_0) CancelIo(device_);
        GetOverlappedResult(device_, &rest, &got, TRUE);
    }
    Append(rest_.data(), got);
    return count_ - before;
}

bool TReadAhead::CancelRead(bool DeviceOurs, DWORD Ms)
{
    if (!reading_) return true;
    // Without the device (the port has closed it, which ends the read) nothing is called on
    // its handle: the number may already be another device's.
    if (DeviceOurs) CancelIo(device_);
    if (WaitForSingleObject(readDone_.Get(), Ms) != WAIT_OBJECT_0) return false;
    reading_ = false;
    std::lock_guard<std::mutex> lock(mutex_);
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
    return Count;
}

void TReadAhead::Purge(DWORD Flags)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // A read that has ended holds a byte from before the purge; one still pending gets a later
    // one.
    if (readStarted_ && HasOverlappedIoCompleted(&read_)) purgedSinceRead_ = true;
    PurgeComm(device_, Flags);
    head_ = 0;
    count_ = 0;
    UpdateRoomEvent();
}

DWORD TReadAhead::TakeErrors()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(errors_, 0);
}

void TReadAhead::Append(const char* Bytes, std::size_t Count)
{
    Count = std::min(Count, bytes_.size() - count_);
    for (std::size_t done = 0; done < Count;) {
        const std::size_t at = (head_ + count_) % bytes_.size();
        const std::size_t n = std::min(Count - done, bytes_.size() - at);
        std::memcpy(bytes_.data() + at, Bytes + done, n);
        count_ += n;
        done += n;
    }
    UpdateRoomEvent();
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
