// TReadAhead: a port's received bytes, read from the device by a reader thread of its own ahead
// of the port's Read (the event thread waits only for the line's other events, see
// comm/CommEventThread.cpp). Shared by the port, its event thread and the reader: any may be
// gone before the others.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/win/Ownership.h"

class TReadAhead {
public:
    // Capacity plays the device's input queue: no read is started while it is full.
    TReadAhead(HANDLE Device, std::size_t Capacity);

    // ---- the reader thread -----------------------------------------------------------------
    // Starts the thread that reads the device into the queue for as long as the port has it:
    // it goes on reading while the event thread waits for a hand-over to the main thread, so a
    // busy window does not hold the device back until the queue is full. Self: this object's
    // owner, kept by the thread while it runs. False when no thread could be made.
    static bool StartReader(const std::shared_ptr<TReadAhead>& Self);
    // Set (auto-reset) whenever bytes have joined the queue.
    HANDLE ArrivedEvent() const { return arrived_.Get(); }
    // Set (manual-reset) when the reader found the device gone (its reads kept failing so):
    // it has ended then. LostError is the system error of the last failure.
    HANDLE LostEvent() const { return lost_.Get(); }
    DWORD LostError() const { return lostError_; }
    // Bytes Take has handed out so far: whether a hand-over read any.
    std::size_t Taken() const { return taken_; }
    // Stops the reader, its pending read cancelled; true once it no longer touches the device
    // (false: it did not end within Ms). From any thread, while the device is the port's.
    bool StopReader(DWORD Ms);

    // ---- the reader, while the device is the port's ----------------------------------------
    // Starts a read that ends as soon as a byte has come (ReadEvent is then set), unless the
    // queue is full (wait for RoomEvent) or the read fails at once.
    enum TStart { Started, Full, Failed };
    TStart StartRead();
    bool Reading() const { return reading_; }
    HANDLE ReadEvent() const { return readDone_.Get(); }
    // Manual-reset; set whenever the queue has room.
    HANDLE RoomEvent() const { return roomEvent_.Get(); }
    // True once the pending read has ended; it then no longer touches this object.
    bool ReadEnded();
    // For a read that has ended (before TakeIn): 0 when it brought its byte or a purge of ours
    // ended it, else its system error (ERROR_HANDLE_EOF for one that ended with nothing).
    DWORD ReadFailure();
    // The byte of a read that has ended (a purge since it came drops it), and all the device
    // holds by now, join the queue, as far as it has room. Returns how many joined.
    std::size_t TakeIn();

    // ---- the port (main thread) ----------------------------------------------------------
    std::size_t Count();
    // Takes up to Count bytes, the oldest first; returns how many it took.
    std::size_t Take(char* Buffer, std::size_t Count);
    // Empties the queue and purges the device with Flags.
    void Purge(DWORD Flags);
    // Line errors the reads found (and so cleared) in the device since the last call.
    DWORD TakeErrors();

private:
    static DWORD WINAPI ReaderMain(void* Self);
    void ReaderLoop();
    // Ends the reader's pending read (its own) and waits up to Ms for it. False when it may
    // still write here.
    bool CancelRead(DWORD Ms);
    // Returns how many joined (as many as there is room for).
    std::size_t Append(const char* Bytes, std::size_t Count);
    void UpdateRoomEvent();

    HANDLE device_;
    // The device: a read's state, the count and read of what the device holds, a purge. Taken
    // before mutex_ when both are. Take and Count need only mutex_: the port and the event
    // thread never wait for a read of the device.
    std::mutex deviceMutex_;
    // The queue: bytes_, head_, count_, errors_ and the room event.
    std::mutex mutex_;
    std::vector<char> bytes_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    DWORD errors_ = 0;
    TOwnedHandle roomEvent_;
    bool roomSignalled_ = true;

    // The read of the first byte, and the read of the rest (which the bytes are there for),
    // under deviceMutex_ as a purge sees them.
    TOwnedHandle readDone_;
    OVERLAPPED read_ = {};
    char first_ = 0;
    bool reading_ = false;      // a read is pending (the thread's own view)
    bool ended_ = false;        // a read has ended and its byte is not taken in yet
    bool readStarted_ = false;  // either, as a purge sees it
    bool purgedSinceRead_ = false;
    // Purges so far, and their count when the pending read started: a read a purge aborted
    // did not fail.
    std::atomic<unsigned> purges_{0};
    unsigned purgesAtRead_ = 0;
    DWORD startError_ = 0;  // of the last StartRead that failed
    TOwnedHandle restDone_;
    std::vector<char> rest_;

    TOwnedHandle arrived_;
    TOwnedHandle readerStop_;                 // manual-reset, set by StopReader
    std::atomic<bool> stopRequested_{false};  // the same, looked at without a system call
    TOwnedHandle readerDone_;  // manual-reset, set when the reader no longer touches the device
    TOwnedHandle lost_;
    DWORD lostError_ = 0;  // written before lost_ is set
    std::atomic<bool> readerStarted_{false};
    std::atomic<std::size_t> taken_{0};
};
