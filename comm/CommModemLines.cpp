// TThreadComm's modem-line queries and escape functions: CTS/DSR/RING/RLSD and the hold
// flags in, DTR, RTS, BREAK and XON/XOFF out.
#include "comm/ThreadComm.h"

#include "comm/CommErrors.h"
#include "comm/ReadAhead.h"

bool TThreadComm::GetModemState(int Line)
{
    static constexpr DWORD lineBits[] = {MS_CTS_ON, MS_DSR_ON, MS_RING_ON, MS_RLSD_ON};
    if (!open_ || Line < 1 || Line > 4) return false;
    DWORD status = 0;
    if (!GetCommModemStatus(handle_.Get(), &status)) return false;
    return (status & lineBits[Line - 1]) != 0;
}

bool TThreadComm::GetComState(int Flag)
{
    if (!open_) return false;
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(handle_.Get(), &errors, &status);
    switch (Flag) {
    case 2: return status.fDsrHold;
    case 3: return status.fRlsdHold;
    case 4: return status.fXoffHold;
    case 5: return status.fXoffSent;
    default: return status.fCtsHold;
    }
}

void TThreadComm::EscapeComm(int Function)
{
    if (!open_) RaiseCommError(CommText::PortNotOpen, -1);
    BOOL done;
    DWORD error;
    {
        TCriticalSectionLock lock(lock_);
        done = EscapeCommFunction(handle_.Get(), static_cast<DWORD>(Function));
        error = done ? 0 : GetLastError();
    }
    if (!done) RaiseCommError(CommText::EscapeFailed, static_cast<long>(error));
}

void TThreadComm::SetDTRState(bool State) { EscapeComm(State ? SETDTR : CLRDTR); }

void TThreadComm::SetRTSState(bool State) { EscapeComm(State ? SETRTS : CLRRTS); }

void TThreadComm::SetBREAKState(bool State)
{
    EscapeComm(State ? SETBREAK : CLRBREAK);
    if (open_) {
        TCriticalSectionLock lock(lock_);
        readAhead_->Purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    }
}

void TThreadComm::SetXONState(bool State) { EscapeComm(State ? SETXON : SETXOFF); }
