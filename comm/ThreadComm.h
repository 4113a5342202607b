// TThreadComm: one serial port opened for overlapped I/O, its line settings (the DCB), byte
// transfer, queue counts, modem lines and escape functions, and the event thread whose
// events it dispatches on the main thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "comm/CommEventChars.h"
#include "comm/CommTypes.h"
#include "framework/Component.h"
#include "framework/CriticalSection.h"
#include "framework/Strings.h"
#include "framework/win/Ownership.h"

class TCommEventThread;
class TReadAhead;

class TThreadComm : public TComponent {
public:
    explicit TThreadComm(TComponent* AOwner);
    ~TThreadComm() override;

    // ---- open and close ------------------------------------------------------------------
    bool Enabled() const { return open_; }
    // Raises "Port already assigned (open)" with -1 when the port is open.
    void CheckOpen();
    // Opens DeviceName, applies timeouts, DCB and queue sizes and starts the event thread.
    // A device that cannot be opened, or is no character device, leaves the port closed
    // without an exception. Returns 0 when the port is open, else the system error code that
    // tells why it is not (ERROR_BAD_DEVICE for a device that is no character device).
    // Whenever Open raises, the port is closed.
    unsigned long Open();
    // Stops the event thread and closes the device; nothing when closed. May be called from
    // inside an event handler. A thread stuck in a call the driver never ends is left the
    // device after a few seconds: the port is closed for the program all the same.
    void Close();

    // ---- transfer and queues (closed port: -1) -------------------------------------------
    int Write(char* Buffer, unsigned long Count);
    // Whether the reader has found the device gone, waiting at most WaitMs for its verdict
    // (after a refused write, say); false when closed.
    bool DeviceGone(unsigned long WaitMs = 300);
    // Takes at most Count of the bytes the reader has read ahead (InQueCount's), at once.
    int Read(char* Buffer, unsigned long Count);
    int InQueCount();
    int OutQueCount();
    void PurgeIn();
    void PurgeOut();

    void Lock();
    void Unlock();

    // ---- line settings -------------------------------------------------------------------
    void UpdateCommTimeouts();
    // Writes the DCB from the properties on an open port (nothing when closed).
    void UpdateDataControlBlock();
    void UpdateDataControlBlockLock();

    // ---- modem lines and escape functions ------------------------------------------------
    // Line 1 CTS, 2 DSR, 3 RING, 4 RLSD; false when closed, on failure or out of range.
    bool GetModemState(int Line);
    // 1 fCtsHold, 2 fDsrHold, 3 fRlsdHold, 4 fXoffHold, 5 fXoffSent, other fCtsHold.
    bool GetComState(int Flag);
    void EscapeComm(int Function);
    void SetDTRState(bool State);
    void SetRTSState(bool State);
    void SetBREAKState(bool State);
    void SetXONState(bool State);

    // The event thread's hand-overs land here, on the main thread.
    void HandleCommEvent(TObject* Sender, unsigned long EventMask);
    // Fires OnDeviceLost with Error.
    void HandleDeviceLost(TObject* Sender, unsigned long Error);

    // ---- properties ----------------------------------------------------------------------
    const String& DeviceName() const { return deviceName_; }
    std::uint16_t ReadBufSize() const { return readBufSize_; }
    std::uint16_t WriteBufSize() const { return writeBufSize_; }
    std::uint32_t SuspendTime() const { return suspendTime_; }
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    std::uint32_t BaudRate() const { return baudRate_; }
    TParity Parity() const { return parity_; }
    TStopBits StopBits() const { return stopBits_; }
    TDataBits DataBits() const { return dataBits_; }
    TCommEventChars* EventChars() const { return eventChars_; }
    TCommOptions Options() const { return options_; }
    TFlowControl FlowControl() const { return flowControl_; }

    // Only while closed: written on an open port they keep their old values.
    void SetDeviceName(const String& Value);
    void SetReadBufSize(std::uint16_t Value);
    void SetWriteBufSize(std::uint16_t Value);
    void SetSuspendTime(std::uint32_t Value);
    void SetMonitorEvents(TCommEventTypes Value);
    // Live: a new value rewrites the DCB of an open port at once; an equal one does nothing.
    void SetBaudRate(std::uint32_t Value);
    void SetParity(TParity Value);
    void SetStopBits(TStopBits Value);
    void SetDataBits(TDataBits Value);
    void SetOptions(TCommOptions Value);
    void SetFlowControl(TFlowControl Value);

    // Stored only, for the port's users to set and read back; they have no effect on the port.
    std::int32_t ReadTimeout = 1000;
    std::int32_t WriteTimeout = 1000;

    TNotifyEvent OnBreak;
    TNotifyEvent OnCts;
    TNotifyEvent OnDsr;
    TCommErrorEvent OnError;
    TNotifyEvent OnRing;
    TNotifyEvent OnRlsd;
    TCommRxCharEvent OnRxChar;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnTxEmpty;
    TCommStatEvent OnComStatEvent;
    // The device went away while open (an unplugged adapter, a far end that closed the line):
    // its reads or waits kept failing with Errors, a system error. The port stays open, idle,
    // until it is closed; the handler may close it.
    TCommErrorEvent OnDeviceLost;

protected:
    // Opens the device and sets the open flag; a failure or a device that is not a character
    // device leaves the port closed. Returns the system error code of a failure, else 0.
    virtual unsigned long CreateHandle();
    void DestroyHandle();

private:
    // Returns the system error code when no thread could be started (the port is then closed).
    unsigned long StartEventThread();
    void StopEventThread();

    TOwnedHandle handle_;
    String deviceName_;
    TCriticalSection lock_;
    std::uint16_t readBufSize_ = 4096;
    std::uint16_t writeBufSize_ = 2048;
    // Stored only, like the time-outs: nothing on the port or its event thread uses it.
    std::uint32_t suspendTime_ = 5;
    TCommEventTypes monitorEvents_;
    std::uint32_t baudRate_ = 9600;
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb10;
    TDataBits dataBits_ = db8;
    bool open_ = false;
    TOwnedHandle writeDone_;
    OVERLAPPED writeOverlapped_ = {};
    TCommEventThread* eventThread_ = nullptr;
    // The received bytes, read by the reader thread as they come, while the port is open:
    // Read, InQueCount and the purges go through it, not the device.
    std::shared_ptr<TReadAhead> readAhead_;
    // A second handle on the event thread's kernel object: the thread object frees itself
    // (and its own handle) when it ends, and Close still has to wait for that end.
    TOwnedHandle eventThreadHandle_;
    TCommEventChars* eventChars_ = nullptr;
    TCommOptions options_;
    TFlowControl flowControl_ = fcDefault;
};
