// Raw memory helpers: comparing blocks, pointer stepping and copies inside a block. No
// window system needed.
#pragma once

#include <cstddef>

// True when the first Length bytes of First and Second are equal; a Length of 0 (or below)
// is equal.
bool CompareMem(const void* First, const void* Second, int Length);

// Pointer stepping by bytes.
void HugeInc(void*& Pointer, std::ptrdiff_t Offset);
void HugeDec(void*& Pointer, std::ptrdiff_t Offset);
void* HugeOffset(void* Pointer, std::ptrdiff_t Offset);
// Copies Count bytes (the ranges must not overlap).
void HMemCpy(void* Destination, const void* Source, std::size_t Count);
// Moves Count pointer-sized entries of the array at Base from index SourceIndex to index
// DestinationIndex; the ranges may overlap.
void HugeMove(void** Base, std::ptrdiff_t DestinationIndex, std::ptrdiff_t SourceIndex,
              std::size_t Count);
