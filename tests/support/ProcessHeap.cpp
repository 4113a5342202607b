#include "tests/support/ProcessHeap.h"

#include <windows.h>

namespace qv::test {

TProcessHeapCensus ProcessHeapCensus()
{
    TProcessHeapCensus census;
    HANDLE heap = GetProcessHeap();
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            ++census.busy;
            ++census.busyBySize[entry.cbData];
        } else if (!(entry.wFlags & (PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE))) {
            ++census.freePieces;
            census.freeBytes += entry.cbData;
        }
    }
    HeapUnlock(heap);
    return census;
}

}  // namespace qv::test
