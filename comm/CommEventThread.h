// TCommEventThread: waits for one open port's communication events and hands each event
// mask to the main thread, where the port dispatches it to its handlers.
#pragma once

#include <windows.h>

#include <memory>

#include "comm/CommTypes.h"
#include "comm/ReadAhead.h"
#include "framework/win/Ownership.h"
#include "framework/win/Thread.h"

class TCommEventThread : public TThread {
public:
    // Created suspended, at the highest priority, freeing itself when it ends; sets the
    // port's event mask to MonitorEvents without EV_RXCHAR: the received bytes come through
    // ReadAhead, whose reader the thread starts, and each arrival is delivered as EV_RXCHAR
    // when MonitorEvents has evRxChar. The port then sets the two handlers and resumes it.
    TCommEventThread(HANDLE PortHandle, TCommEventTypes MonitorEvents,
                     std::shared_ptr<TReadAhead> ReadAhead);
    ~TCommEventThread() override;

    // Set by Open to the port's HandleCommEvent and HandleDeviceLost; cleared by Close before
    // the thread stops. OnDeviceLost is called once, with the system error that told, when the
    // device's reads or waits keep failing as those of a gone device do, after the bytes read
    // ahead have been delivered; nothing more is asked of the device afterwards.
    TCommEventHandler OnCommEvent;
    TCommEventHandler OnDeviceLost;

    // ---- the port's side of stopping (main thread) ----------------------------------------
    // True while a hand-over of this thread is being dispatched: the thread is then blocked
    // until the dispatch returns.
    bool InHandOver() const { return inHandOver_; }
    // Only during a hand-over: the thread leaves without touching the device again.
    void ReleaseDevice() { deviceReleased_ = true; }
    // Asks the thread to stop and ends its back-off wait. The object may free itself at any
    // time afterwards: the caller forgets it.
    void Stop();

protected:
    void Execute() override;

private:
    // Hands Mask, or the loss, to the main thread and returns once it has been dispatched.
    void Deliver(DWORD Mask);
    void DeliverLoss(DWORD Error);
    void HandOver();
    void SyncCommEvent();
    // Waits on the stop signal for a short time, so a wait that fails at once does not
    // make this highest-priority thread spin.
    void BackOff();

    HANDLE portHandle_;
    DWORD eventMask_ = 0;
    DWORD lostError_ = 0;
    bool lossHandOver_ = false;
    DWORD monitorMask_ = 0;
    std::shared_ptr<TReadAhead> readAhead_;
    // Manual-reset; set by Stop.
    TOwnedHandle stopSignal_;
    bool inHandOver_ = false;
    // Written on the main thread while this thread is blocked in its hand-over; read by this
    // thread only after the hand-over has returned.
    bool deviceReleased_ = false;
};
