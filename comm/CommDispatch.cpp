// TThreadComm::HandleCommEvent: turns one event mask from the event thread into calls of the
// port's event handlers, on the main thread, in a fixed order; and the device's loss.
#include "comm/ThreadComm.h"

#include "comm/ReadAhead.h"

void TThreadComm::HandleCommEvent(TObject* /*Sender*/, unsigned long EventMask)
{
    // Read once, before any handler runs: every handler of this call gets these values,
    // even when an earlier one reads the queue or closes the port.
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_.Get(), &errors, &status);
    // The bytes the event thread has read ahead are the input queue the handlers know; the
    // line errors its reads cleared are reported with the error event.
    if (readAhead_) {
        status.cbInQue = static_cast<DWORD>(readAhead_->Count());
        if (EventMask & EV_ERR) errors |= readAhead_->TakeErrors();
    }

    if ((EventMask & EV_BREAK) && OnBreak) OnBreak(this);
    if ((EventMask & EV_CTS) && OnCts) OnCts(this);
    if ((EventMask & EV_DSR) && OnDsr) OnDsr(this);
    if ((EventMask & EV_ERR) && OnError) OnError(this, static_cast<int>(errors));
    if ((EventMask & EV_RING) && OnRing) OnRing(this);
    if ((EventMask & EV_RLSD) && OnRlsd) OnRlsd(this);
    if ((EventMask & EV_RXCHAR) && status.cbInQue > 0 && OnRxChar) OnRxChar(this, status.cbInQue);
    if ((EventMask & EV_RXFLAG) && OnRxFlag) OnRxFlag(this);
    if ((EventMask & EV_TXEMPTY) && OnTxEmpty) OnTxEmpty(this);
    if (OnComStatEvent) OnComStatEvent(this, EventMask, status);
}

void TThreadComm::HandleDeviceLost(TObject* /*Sender*/, unsigned long Error)
{
    if (OnDeviceLost) OnDeviceLost(this, static_cast<int>(Error));
}
