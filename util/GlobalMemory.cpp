// Zero-filled global-memory blocks.
#include "util/GlobalMemory.h"

#include <windows.h>

namespace {
constexpr UINT BlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;
}

void* AllocMemo(long Size)
{
    if (Size < 1) return nullptr;
    HGLOBAL h = GlobalAlloc(BlockFlags, static_cast<SIZE_T>(Size));
    if (!h) return nullptr;
    void* p = GlobalLock(h);
    if (!p) GlobalFree(h);
    return p;
}

void* ReallocMemo(void* Block, long Size)
{
    if (!Block) return AllocMemo(Size);
    HGLOBAL h = GlobalHandle(Block);
    if (!h || Size < 1) return nullptr;
    GlobalUnlock(h);
    HGLOBAL grown = GlobalReAlloc(h, static_cast<SIZE_T>(Size), BlockFlags);
    if (!grown) {
        // The old block stays as it was, still the caller's.
        GlobalLock(h);
        return nullptr;
    }
    return GlobalLock(grown);
}

void FreeMemo(void*& Block)
{
    if (!Block) return;
    if (HGLOBAL h = GlobalHandle(Block)) {
        GlobalUnlock(h);
        GlobalFree(h);
    }
    Block = nullptr;
}

long GetMemoSize(void* Block)
{
    if (!Block) return 0;
    HGLOBAL h = GlobalHandle(Block);
    return h ? static_cast<long>(GlobalSize(h)) : 0;
}
