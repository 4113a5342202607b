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
    // port's event mask to MonitorEvents. The port then sets OnCommEvent and resumes it.
    // With ReadAhead (only when MonitorEvents has evRxChar) the thread reads the received
    // bytes into it instead of waiting for them.
    TCommEventThread(HANDLE PortHandle, TCommEventTypes MonitorEvents,
                     std::shared_ptr<TReadAhead> ReadAhead = nullptr);
    ~TCommEventThread() override;

    // Set by Open to the port's HandleCommEvent; cleared by Close before the thread stops.
    TCommEventHandler OnCommEvent;

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
    // One WaitCommEvent per turn, for every monitored event.
    void WaitLoop();
    // A read for the received bytes beside a wait for the other events (see the .cpp).
    void ReadAheadLoop();
    // Hands Mask to the main thread and returns once it has been dispatched.
    void Deliver(DWORD Mask);
    void SyncCommEvent();
    // Waits on the stop signal for a short time, so a wait that fails at once does not
    // make this highest-priority thread spin.
    void BackOff();

    HANDLE portHandle_;
    DWORD eventMask_ = 0;
    DWORD monitorMask_ = 0;
    std::shared_ptr<TReadAhead> readAhead_;
    // Manual-reset; set by Stop.
    TOwnedHandle stopSignal_;
    bool inHandOver_ = false;
    // Written on the main thread while this thread is blocked in its hand-over; read by this
    // thread only after the hand-over has returned.
    bool deviceReleased_ = false;
};
