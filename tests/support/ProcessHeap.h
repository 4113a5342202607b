// A walk of the process heap, where the system's own components (the rich edit control, the
// text layout, Wine's drivers) allocate: what is in use, by size, and how many pieces the free
// space is cut into (the more pieces, the slower every allocation there).
#pragma once

#include <cstddef>
#include <map>

namespace qv::test {

struct TProcessHeapCensus {
    long busy = 0;
    std::map<std::size_t, long> busyBySize;
    long freePieces = 0;
    unsigned long long freeBytes = 0;
};

TProcessHeapCensus ProcessHeapCensus();

}  // namespace qv::test
