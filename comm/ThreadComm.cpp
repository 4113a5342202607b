// TThreadComm: opening and closing the device, byte transfer, queue counts, the DCB and the
// property setters. Modem lines are in CommModemLines.cpp, event dispatch in CommDispatch.cpp.
#include "comm/ThreadComm.h"

#include <algorithm>

#include "comm/CommErrors.h"
#include "comm/CommEventThread.h"
#include "comm/ReadAhead.h"
#include "framework/win/Thread.h"

namespace {

constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
// The read-ahead's queue holds at least this much: its reader goes on reading while the window
// is busy, and the line's own buffers may hold only a few KiB (under Wine) (at 300,000 bytes a
// second, 1 MiB is over three seconds of a window that reads nothing).
constexpr std::size_t ReadAheadBytes = 1 << 20;
// The longest Close waits for the reader to end its read.
constexpr DWORD ReaderStopMs = 2000;
// The longest Close waits for the event thread to end. Its own waits on the way out are bounded
// (the reader's stop and the end of its pending wait, 2 s each at worst): still running after
// this, it is stuck in a call the driver never ends.
constexpr DWORD EventThreadStopMs = 6000;

void ClearPortErrors(HANDLE Handle)
{
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(Handle, &errors, &status);
}

}  // namespace

TThreadComm::TThreadComm(TComponent* AOwner) : TComponent(AOwner)
{
    deviceName_ = "Com2";
    ReadTimeout = 1000;
    WriteTimeout = 1000;
    readBufSize_ = 4096;
    writeBufSize_ = 2048;
    suspendTime_ = 5;
    monitorEvents_ = AllCommEvents;
    baudRate_ = 9600;
    parity_ = paNone;
    stopBits_ = sb10;
    dataBits_ = db8;
    open_ = false;
    writeDone_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    writeOverlapped_ = {};
    writeOverlapped_.hEvent = writeDone_.Get();
    flowControl_ = fcDefault;
    eventChars_ = new TCommEventChars(this);
}

TThreadComm::~TThreadComm()
{
    Close();
    delete eventChars_;
}

// ---- open and close ----------------------------------------------------------------------

void TThreadComm::CheckOpen()
{
    if (Enabled()) RaiseCommError(CommText::PortAlreadyOpen, -1);
}

unsigned long TThreadComm::CreateHandle()
{
    handle_.Reset(CreateFileA(deviceName_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!handle_.Valid()) {
        // Read at once: the caller explains the failure by this code.
        const DWORD error = GetLastError();
        open_ = false;
        return error;
    }
    open_ = true;
    if (GetFileType(handle_.Get()) != FILE_TYPE_CHAR) {
        DestroyHandle();
        return ERROR_BAD_DEVICE;
    }
    SetCommMask(handle_.Get(), CommEventMask(AllCommEvents));
    return ERROR_SUCCESS;
}

void TThreadComm::DestroyHandle()
{
    handle_.Reset();
    open_ = false;
}

unsigned long TThreadComm::Open()
{
    std::string_view failText;
    long failCode = 0;
    unsigned long result = ERROR_SUCCESS;
    {
        TCriticalSectionLock lock(lock_);
        if (open_) {
            failText = CommText::PortAlreadyOpen;
            failCode = -1;
        } else {
            const unsigned long openError = CreateHandle();
            if (!open_) return openError;
            try {
                UpdateCommTimeouts();
                UpdateDataControlBlock();
            } catch (...) {
                DestroyHandle();
                throw;
            }
            if (!SetupComm(handle_.Get(), readBufSize_, writeBufSize_)) {
                // The caller is told that Open failed, so the port must not stay open behind
                // its back: close it before the thread is ever started.
                failText = CommText::SetupCommFailed;
                failCode = static_cast<long>(GetLastError());
                DestroyHandle();
            } else {
                try {
                    result = StartEventThread();
                } catch (...) {
                    DestroyHandle();
                    throw;
                }
            }
        }
    }
    if (!failText.empty()) RaiseCommError(failText, failCode);
    return result;
}

unsigned long TThreadComm::StartEventThread()
{
    readAhead_ = std::make_shared<TReadAhead>(handle_.Get(),
                                              std::max<std::size_t>(readBufSize_, ReadAheadBytes));
    auto* thread = new TCommEventThread(handle_.Get(), monitorEvents_, readAhead_);
    HANDLE threadHandle = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, static_cast<HANDLE>(thread->Handle()), process, &threadHandle,
                         SYNCHRONIZE, FALSE, 0)) {
        const DWORD error = GetLastError();
        // Without a way to wait for its end the thread cannot be stopped safely: let it end
        // at once without touching the device, and leave the port closed as if no thread
        // could be made.
        thread->ReleaseDevice();
        thread->Stop();
        thread->Resume();
        DestroyHandle();
        readAhead_.reset();
        return error;
    }
    eventThread_ = thread;
    eventThreadHandle_.Reset(threadHandle);
    thread->OnCommEvent = TCommEventHandler(this, &TThreadComm::HandleCommEvent);
    thread->OnDeviceLost = TCommEventHandler(this, &TThreadComm::HandleDeviceLost);
    thread->Resume();
    return ERROR_SUCCESS;
}

void TThreadComm::Close()
{
    if (!open_) return;
    TCriticalSectionLock lock(lock_);
    if (eventThread_) {
        eventThread_->OnCommEvent = nullptr;
        eventThread_->OnDeviceLost = nullptr;
    }
    // The reader first, while the device is ours: the event thread, when Close comes from
    // inside a handler, cannot be waited for to stop it.
    if (readAhead_) readAhead_->StopReader(ReaderStopMs);
    StopEventThread();
    DestroyHandle();
    readAhead_.reset();
}

void TThreadComm::StopEventThread()
{
    TCommEventThread* thread = std::exchange(eventThread_, nullptr);
    const TOwnedHandle threadHandle(eventThreadHandle_.Release());
    if (!thread) return;

    if (thread->InHandOver()) {
        // Close was called from one of this port's event handlers: the thread is blocked in
        // its hand-over until we return, so it cannot be waited for. It is told to leave
        // without touching the device again (the handle may be reused by the next Open), and
        // the purge it would have done after its loop is done here.
        // A wait it has pending is ended here, while the device is still ours.
        thread->ReleaseDevice();
        thread->Stop();
        SetCommMask(handle_.Get(), 0);
        PurgeComm(handle_.Get(), PurgeAll);
        // A read it has pending ends when the device is closed.
    } else {
        // After Stop the thread object may free itself at any moment: only its kernel handle
        // is used from here on. Clearing the event mask ends a pending WaitCommEvent (CancelIo
        // does not, under Wine); it is repeated in case the thread was between two waits.
        // Hand-overs it queued meanwhile are served, and reach no handler.
        thread->Stop();
        const DWORD stopAt = GetTickCount();
        for (;;) {
            SetCommMask(handle_.Get(), 0);
            if (WaitForSingleObject(threadHandle.Get(), 2) != WAIT_TIMEOUT) return;
            CheckSynchronize();
            if (GetTickCount() - stopAt >= EventThreadStopMs) break;
        }
        // A driver that never answers must not hang the program in Close: the device stays
        // open for the thread, which may still be using it, so that nothing it does later
        // reaches a handle the next Open was given. The port is closed for the program; on
        // Windows the device then stays busy, and the next Open says so.
        (void)handle_.Release();
    }
}

void TThreadComm::Lock() { lock_.Acquire(); }

void TThreadComm::Unlock() { lock_.Release(); }

// ---- transfer and queues -----------------------------------------------------------------

int TThreadComm::Write(char* Buffer, unsigned long Count)
{
    if (!open_) return -1;
    TCriticalSectionLock lock(lock_);
    DWORD written = 0;
    if (WriteFile(handle_.Get(), Buffer, Count, &written, &writeOverlapped_))
        return static_cast<int>(written);
    if (GetLastError() != ERROR_IO_PENDING) {
        ClearPortErrors(handle_.Get());
        return 0;
    }
    if (GetOverlappedResult(handle_.Get(), &writeOverlapped_, &written, TRUE))
        return static_cast<int>(written);
    if (GetLastError() != ERROR_IO_INCOMPLETE) ClearPortErrors(handle_.Get());
    return static_cast<int>(written);
}

bool TThreadComm::DeviceGone(unsigned long WaitMs)
{
    if (!open_ || !readAhead_) return false;
    return WaitForSingleObject(readAhead_->LostEvent(), WaitMs) == WAIT_OBJECT_0;
}

int TThreadComm::Read(char* Buffer, unsigned long Count)
{
    if (!open_) return -1;
    TCriticalSectionLock lock(lock_);
    ClearPortErrors(handle_.Get());
    if (Count == 0) {
        ClearPortErrors(handle_.Get());
        return 0;
    }
    return static_cast<int>(readAhead_->Take(Buffer, Count));
}

int TThreadComm::InQueCount()
{
    if (!open_) return -1;
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_.Get(), &errors, &status);
    return static_cast<int>(readAhead_->Count());
}

int TThreadComm::OutQueCount()
{
    if (!open_) return -1;
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_.Get(), &errors, &status);
    return static_cast<int>(status.cbOutQue);
}

void TThreadComm::PurgeIn()
{
    if (open_) readAhead_->Purge(PURGE_RXABORT | PURGE_RXCLEAR);
}

void TThreadComm::PurgeOut()
{
    if (open_) PurgeComm(handle_.Get(), PURGE_TXABORT | PURGE_TXCLEAR);
}

// ---- line settings -----------------------------------------------------------------------

void TThreadComm::UpdateCommTimeouts()
{
    COMMTIMEOUTS timeouts = {0, 0, 0, 0, 0};
    if (!SetCommTimeouts(handle_.Get(), &timeouts))
        RaiseCommError(CommText::TimeoutsFailed, static_cast<long>(GetLastError()));
}

void TThreadComm::UpdateDataControlBlock()
{
    if (!open_) return;
    DCB dcb = {};
    dcb.DCBlength = sizeof(DCB);
    GetCommState(handle_.Get(), &dcb);

    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = baudRate_;
    dcb.Parity = static_cast<BYTE>(parity_);
    dcb.StopBits = static_cast<BYTE>(stopBits_);
    dcb.ByteSize = static_cast<BYTE>(4 + dataBits_);

    dcb.XonChar = eventChars_->XOnChar();
    dcb.XoffChar = eventChars_->XOffChar();
    dcb.ErrorChar = eventChars_->ErrorChar();
    dcb.EofChar = eventChars_->EofChar();
    dcb.EvtChar = eventChars_->EvtChar();

    dcb.XonLim = 1024;
    dcb.XoffLim = 1024;

    // No handshake of any kind, whatever FlowControl says; DTR and RTS "disable" means every
    // DCB write lowers both lines.
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = options_.Contains(coDsrSensitivity);
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = options_.Contains(coErrorChar);
    dcb.fBinary = 1;
    dcb.fNull = options_.Contains(coNullStrip);
    dcb.fAbortOnError = 0;
    dcb.fParity = options_.Contains(coParityCheck);
    dcb.fTXContinueOnXoff = options_.Contains(coIgnoreXOff);

    if (!SetCommState(handle_.Get(), &dcb))
        RaiseCommError(CommText::DcbFailed, static_cast<long>(GetLastError()));
}

void TThreadComm::UpdateDataControlBlockLock()
{
    TCriticalSectionLock lock(lock_);
    UpdateDataControlBlock();
}

// ---- property setters --------------------------------------------------------------------

void TThreadComm::SetDeviceName(const String& Value)
{
    if (!open_) deviceName_ = Value;
}

void TThreadComm::SetReadBufSize(std::uint16_t Value)
{
    if (!open_) readBufSize_ = Value;
}

void TThreadComm::SetWriteBufSize(std::uint16_t Value)
{
    if (!open_) writeBufSize_ = Value;
}

void TThreadComm::SetSuspendTime(std::uint32_t Value)
{
    if (!open_) suspendTime_ = Value;
}

void TThreadComm::SetMonitorEvents(TCommEventTypes Value)
{
    if (!open_) monitorEvents_ = Value;
}

void TThreadComm::SetBaudRate(std::uint32_t Value)
{
    if (Value == baudRate_) return;
    baudRate_ = Value;
    UpdateDataControlBlockLock();
}

void TThreadComm::SetParity(TParity Value)
{
    if (Value == parity_) return;
    parity_ = Value;
    UpdateDataControlBlockLock();
}

void TThreadComm::SetStopBits(TStopBits Value)
{
    if (Value == stopBits_) return;
    stopBits_ = Value;
    UpdateDataControlBlockLock();
}

void TThreadComm::SetDataBits(TDataBits Value)
{
    if (Value == dataBits_) return;
    dataBits_ = Value;
    UpdateDataControlBlockLock();
}

void TThreadComm::SetOptions(TCommOptions Value)
{
    if (Value == options_) return;
    options_ = Value;
    UpdateDataControlBlockLock();
}

void TThreadComm::SetFlowControl(TFlowControl Value)
{
    if (Value == flowControl_) return;
    flowControl_ = Value;
    UpdateDataControlBlockLock();
}
