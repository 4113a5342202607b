// Zero-filled global-memory blocks, handed out as pointers (for calls that take global
// memory, such as clipboard and OLE transfers).
#pragma once

#include <cstddef>

// A new zero-filled block of Size bytes; nullptr for a Size below 1 or when memory is short.
void* AllocMemo(long Size);
// The block grown or shrunk to Size (new bytes zero); nullptr when it could not be.
void* ReallocMemo(void* Block, long Size);
// Frees a block and clears the pointer; nullptr is left alone.
void FreeMemo(void*& Block);
// The block's size; 0 for nullptr or a pointer that is not a global block.
long GetMemoSize(void* Block);
