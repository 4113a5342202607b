// TThreadComm: opening and closing the device, byte transfer, queue counts, the DCB and the
// property setters. Modem lines are in CommModemLines.cpp, event dispatch in CommDispatch.cpp.
#include "comm/ThreadComm.h"

#include "comm/CommErrors.h"
#include "comm/CommEventThread.h"
#include "framework/CriticalSection.h"
#include "framework/win/Thread.h"

namespace {

// The port's lock for one scope: released on every way out, an exception included.
class PortLock {
public:
    explicit PortLock(TThreadComm& Port) : port_(Port) { port_.Lock(); }
    ~PortLock() { port_.Unlock(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

private:
    TThreadComm& port_;
};

constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

void ClearPortErrors(HANDLE Handle)
{
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(Handle, &errors, &status);
}

}  // namespace

TThreadComm::TThreadComm(TComponent* AOwner) : TComponent(AOwner)
{
    handle_ = INVALID_HANDLE_VALUE;
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
    writeOverlapped_ = {};
    writeOverlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    readOverlapped_ = {};
    readOverlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    flowControl_ = fcDefault;
    eventChars_ = new TCommEventChars(this);
    lock_ = new TCriticalSection();
}

TThreadComm::~TThreadComm()
{
    Close();
    delete eventChars_;
    delete lock_;
    if (writeOverlapped_.hEvent) CloseHandle(writeOverlapped_.hEvent);
    if (readOverlapped_.hEvent) CloseHandle(readOverlapped_.hEvent);
}

// ---- open and close ----------------------------------------------------------------------

void TThreadComm::CheckOpen()
{
    if (Enabled()) RaiseCommError(CommText::PortAlreadyOpen, -1);
}

void TThreadComm::CreateHandle()
{
    handle_ = CreateFileA(deviceName_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        open_ = false;
        return;
    }
    open_ = true;
    if (GetFileType(handle_) != FILE_TYPE_CHAR)
        DestroyHandle();
    else
        SetCommMask(handle_, CommEventMask(AllCommEvents));
}

void TThreadComm::DestroyHandle()
{
    CloseHandle(handle_);
    open_ = false;
    handle_ = INVALID_HANDLE_VALUE;
}

void TThreadComm::Open()
{
    std::string_view failText;
    long failCode = 0;
    {
        PortLock lock(*this);
        if (open_) {
            failText = CommText::PortAlreadyOpen;
            failCode = -1;
        } else {
            CreateHandle();
            if (!open_) return;  // GetLastError still tells why the device did not open
            try {
                UpdateCommTimeouts();
                UpdateDataControlBlock();
            } catch (...) {
                DestroyHandle();
                throw;
            }
            if (!SetupComm(handle_, readBufSize_, writeBufSize_)) {
                // The caller is told that Open failed, so the port must not stay open behind
                // its back: close it before the thread is ever started.
                failText = CommText::SetupCommFailed;
                failCode = static_cast<long>(GetLastError());
                DestroyHandle();
            } else {
                try {
                    StartEventThread();
                } catch (...) {
                    DestroyHandle();
                    throw;
                }
            }
        }
    }
    if (!failText.empty()) RaiseCommError(failText, failCode);
}

void TThreadComm::StartEventThread()
{
    auto* thread = new TCommEventThread(handle_, suspendTime_, monitorEvents_);
    HANDLE threadHandle = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, static_cast<HANDLE>(thread->Handle()), process, &threadHandle,
                         SYNCHRONIZE, FALSE, 0)) {
        // Without a way to wait for its end the thread cannot be stopped safely: let it end
        // at once without touching the device, and leave the port closed as if no thread
        // could be made.
        thread->ReleaseDevice();
        thread->Stop();
        thread->Resume();
        DestroyHandle();
        return;
    }
    eventThread_ = thread;
    eventThreadHandle_ = threadHandle;
    thread->OnCommEvent = TCommEventHandler(this, &TThreadComm::HandleCommEvent);
    thread->Resume();
}

void TThreadComm::Close()
{
    if (!open_) return;
    PortLock lock(*this);
    if (eventThread_) eventThread_->OnCommEvent = nullptr;
    StopEventThread();
    DestroyHandle();
}

void TThreadComm::StopEventThread()
{
    TCommEventThread* thread = eventThread_;
    HANDLE threadHandle = eventThreadHandle_;
    eventThread_ = nullptr;
    eventThreadHandle_ = nullptr;
    if (!thread) return;

    if (thread->InHandOver()) {
        // Close was called from one of this port's event handlers: the thread is blocked in
        // its hand-over until we return, so it cannot be waited for. It is told to leave
        // without touching the device again (the handle may be reused by the next Open), and
        // the purge it would have done after its loop is done here.
        thread->ReleaseDevice();
        thread->Stop();
        PurgeComm(handle_, PurgeAll);
    } else {
        // After Stop the thread object may free itself at any moment: only its kernel handle
        // is used from here on. Clearing the event mask ends a pending WaitCommEvent (CancelIo
        // does not, under Wine); it is repeated in case the thread was between two waits.
        // Hand-overs it queued meanwhile are served, and reach no handler.
        thread->Stop();
        for (;;) {
            SetCommMask(handle_, 0);
            if (WaitForSingleObject(threadHandle, 2) != WAIT_TIMEOUT) break;
            CheckSynchronize();
        }
    }
    CloseHandle(threadHandle);
}

void TThreadComm::Lock() { lock_->Acquire(); }

void TThreadComm::Unlock() { lock_->Release(); }

// ---- transfer and queues -----------------------------------------------------------------

int TThreadComm::Write(char* Buffer, unsigned long Count)
{
    if (!open_) return -1;
    PortLock lock(*this);
    DWORD written = 0;
    if (WriteFile(handle_, Buffer, Count, &written, &writeOverlapped_))
        return static_cast<int>(written);
    if (GetLastError() != ERROR_IO_PENDING) {
        ClearPortErrors(handle_);
        return 0;
    }
    if (GetOverlappedResult(handle_, &writeOverlapped_, &written, TRUE))
        return static_cast<int>(written);
    if (GetLastError() != ERROR_IO_INCOMPLETE) ClearPortErrors(handle_);
    return static_cast<int>(written);
}

int TThreadComm::Read(char* Buffer, unsigned long Count)
{
    if (!open_) return -1;
    PortLock lock(*this);
    ClearPortErrors(handle_);
    if (Count == 0) {
        ClearPortErrors(handle_);
        return 0;
    }
    DWORD read = 0;
    if (ReadFile(handle_, Buffer, Count, &read, &readOverlapped_)) return static_cast<int>(read);
    if (GetLastError() != ERROR_IO_PENDING) return 0;
    if (GetOverlappedResult(handle_, &readOverlapped_, &read, TRUE)) return static_cast<int>(read);
    if (GetLastError() != ERROR_IO_INCOMPLETE) ClearPortErrors(handle_);
    return static_cast<int>(read);
}

int TThreadComm::InQueCount()
{
    if (!open_) return -1;
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_, &errors, &status);
    return static_cast<int>(status.cbInQue);
}

int TThreadComm::OutQueCount()
{
    if (!open_) return -1;
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_, &errors, &status);
    return static_cast<int>(status.cbOutQue);
}

void TThreadComm::PurgeIn()
{
    if (open_) PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR);
}

void TThreadComm::PurgeOut()
{
    if (open_) PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
}

// ---- line settings -----------------------------------------------------------------------

void TThreadComm::UpdateCommTimeouts()
{
    COMMTIMEOUTS timeouts = {0, 0, 0, 0, 0};
    if (!SetCommTimeouts(handle_, &timeouts))
        RaiseCommError(CommText::TimeoutsFailed, static_cast<long>(GetLastError()));
}

void TThreadComm::UpdateDataControlBlock()
{
    if (!open_) return;
    DCB dcb = {};
    dcb.DCBlength = sizeof(DCB);
    GetCommState(handle_, &dcb);

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

    if (!SetCommState(handle_, &dcb))
        RaiseCommError(CommText::DcbFailed, static_cast<long>(GetLastError()));
}

void TThreadComm::UpdateDataControlBlockLock()
{
    PortLock lock(*this);
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
