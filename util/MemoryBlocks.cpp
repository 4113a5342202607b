// Raw memory helpers.
#include "util/MemoryBlocks.h"

#include <cstdint>
#include <cstring>

bool CompareMem(const void* First, const void* Second, int Length)
{
    if (Length <= 0) return true;
    const auto* a = static_cast<const unsigned char*>(First);
    const auto* b = static_cast<const unsigned char*>(Second);
    const auto n = static_cast<std::size_t>(Length);
    // Four bytes at a time through memcpy: the blocks need not be aligned.
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint32_t x, y;
        std::memcpy(&x, a + i, 4);
        std::memcpy(&y, b + i, 4);
        if (x != y) return false;
    }
    for (; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

void HugeInc(void*& Pointer, std::ptrdiff_t Offset) { Pointer = HugeOffset(Pointer, Offset); }

void HugeDec(void*& Pointer, std::ptrdiff_t Offset) { Pointer = HugeOffset(Pointer, -Offset); }

void* HugeOffset(void* Pointer, std::ptrdiff_t Offset)
{
    return reinterpret_cast<void*>(reinterpret_cast<std::intptr_t>(Pointer) + Offset);
}

void HMemCpy(void* Destination, const void* Source, std::size_t Count)
{
    if (Count) std::memcpy(Destination, Source, Count);
}

void HugeMove(void** Base, std::ptrdiff_t DestinationIndex, std::ptrdiff_t SourceIndex,
              std::size_t Count)
{
    if (Count) std::memmove(Base + DestinationIndex, Base + SourceIndex, Count * sizeof(void*));
}
