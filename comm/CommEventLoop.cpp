// The choice of the event thread's loop: a test's setting, else one probe wait per process,
// ended at once, with the process heap's blocks in use counted before and after it.
#include "comm/CommEventLoop.h"

#include <atomic>
#include <memory>

#include "framework/win/Ownership.h"

namespace {

std::atomic<TCommEventLoop> setting{elChoose};
// The probe's answer: elChoose until a probe has given one.
std::atomic<TCommEventLoop> probed{elChoose};

long BusyHeapBlocks()
{
    HANDLE heap = GetProcessHeap();
    PROCESS_HEAP_ENTRY entry{};
    long busy = 0;
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
    HeapUnlock(heap);
    return busy;
}

// A wait that cannot be seen to end is left its record and event for good.
struct TProbeWait {
    OVERLAPPED overlapped = {};
    DWORD mask = 0;
    TOwnedHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// One wait for an event that does not come, ended by clearing the mask (as Close ends a
// wait): elReadAhead when the process heap holds more blocks afterwards, elWaitCommEvent when
// not, elChoose when the wait did not wait or did not end.
TCommEventLoop ProbeWait(HANDLE Port)
{
    auto probe = std::make_unique<TProbeWait>();
    if (!probe->done.Valid()) return elChoose;
    probe->overlapped.hEvent = probe->done.Get();
    if (!SetCommMask(Port, EV_RXFLAG)) return elChoose;
    const long before = BusyHeapBlocks();
    if (WaitCommEvent(Port, &probe->mask, &probe->overlapped) || GetLastError() != ERROR_IO_PENDING)
        return elChoose;
    SetCommMask(Port, 0);
    if (WaitForSingleObject(probe->done.Get(), 1000) != WAIT_OBJECT_0) {
        probe.release();  // the wait may still write into it
        return elChoose;
    }
    // An event char that happened to arrive ended it instead.
    if (probe->mask != 0) return elChoose;
    return BusyHeapBlocks() > before ? elReadAhead : elWaitCommEvent;
}

bool RunsOnWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

void SetCommEventLoop(TCommEventLoop Loop) { setting = Loop; }

TCommEventLoop CommEventLoopSetting() { return setting; }

TCommEventLoop ChooseCommEventLoop(HANDLE Port)
{
    if (setting != elChoose) return setting;
    if (probed == elChoose) probed = ProbeWait(Port);
    if (probed != elChoose) return probed;
    // Not answered this time (asked again at the next open): Wine 8 is known to leave them.
    return RunsOnWine() ? elReadAhead : elWaitCommEvent;
}
