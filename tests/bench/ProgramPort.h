// The program's side of a virtual line in the bench tests: the COM port opened the way the
// program opens it (overlapped), with a pending WaitCommEvent the test can start and await.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

namespace qv::test {

class ProgramPort {
public:
    explicit ProgramPort(const std::string& devicePath, DWORD flags = FILE_FLAG_OVERLAPPED)
        : handle_(CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, flags, nullptr)),
          openError_(GetLastError())
    {
        waitDone_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ioDone_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~ProgramPort()
    {
        Close();
        CloseHandle(waitDone_);
        CloseHandle(ioDone_);
    }
    ProgramPort(const ProgramPort&) = delete;
    ProgramPort& operator=(const ProgramPort&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD OpenError() const { return openError_; }
    HANDLE Handle() const { return handle_; }

    void Close()
    {
        if (handle_ == INVALID_HANDLE_VALUE) return;
        if (waitPending_) {
            // SetCommMask(0) ends a pending wait under Wine (CancelIo does not) and on Windows.
            SetCommMask(handle_, 0);
            DWORD ignored;
            GetOverlappedResult(handle_, &waitOv_, &ignored, TRUE);
            waitPending_ = false;
        }
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    // Starts WaitCommEvent; true when it is pending (events are then caught by Wine's polls).
    bool StartWait(DWORD mask)
    {
        if (!SetCommMask(handle_, mask)) return false;
        waitOv_ = OVERLAPPED{};
        waitOv_.hEvent = waitDone_;
        ResetEvent(waitDone_);
        events_ = 0;
        if (WaitCommEvent(handle_, &events_, &waitOv_)) return true;  // completed at once
        waitPending_ = GetLastError() == ERROR_IO_PENDING;
        return waitPending_;
    }

    // The events that ended the wait, or 0 when it did not end within the time-out.
    DWORD AwaitEvents(std::chrono::milliseconds timeout)
    {
        if (!waitPending_) return events_;
        if (!WaitUntil([&] { return WaitForSingleObject(waitDone_, 0) == WAIT_OBJECT_0; }, timeout))
            return 0;
        DWORD ignored;
        waitPending_ = false;
        if (!GetOverlappedResult(handle_, &waitOv_, &ignored, FALSE)) return 0;
        return events_;
    }

    bool Write(const std::string& bytes)
    {
        OVERLAPPED ov = {};
        ov.hEvent = ioDone_;
        DWORD done = 0;
        if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &ov) &&
            GetLastError() != ERROR_IO_PENDING)
            return false;
        return GetOverlappedResult(handle_, &ov, &done, TRUE) && done == bytes.size();
    }

    // Reads up to n bytes: returns when any arrived or after the time-out.
    std::string Read(std::size_t n, DWORD timeoutMs)
    {
        COMMTIMEOUTS t = {MAXDWORD, MAXDWORD, timeoutMs, 0, 0};
        SetCommTimeouts(handle_, &t);
        std::string out(n, '\0');
        OVERLAPPED ov = {};
        ov.hEvent = ioDone_;
        DWORD got = 0;
        if (!ReadFile(handle_, out.data(), static_cast<DWORD>(n), &got, &ov) &&
            GetLastError() != ERROR_IO_PENDING)
            return {};
        if (!GetOverlappedResult(handle_, &ov, &got, TRUE)) return {};
        out.resize(got);
        return out;
    }

    std::string ReadExactly(std::size_t n, std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string out;
        while (out.size() < n && std::chrono::steady_clock::now() < deadline)
            out += Read(n - out.size(), 200);
        return out;
    }

private:
    HANDLE handle_;
    DWORD openError_;
    HANDLE waitDone_ = nullptr;
    HANDLE ioDone_ = nullptr;
    OVERLAPPED waitOv_ = {};
    DWORD events_ = 0;
    bool waitPending_ = false;
};

// Waits until Wine has taken its snapshot and polls the lines: only changes after that
// are events for the pending wait.
inline bool WaitUntilWinePolls(const VirtualLine& line)
{
    const auto start = line.LinePolls();
    return WaitUntil([&] { return line.LinePolls() >= start + 2; },
                     std::chrono::milliseconds(5000));
}

}  // namespace qv::test
