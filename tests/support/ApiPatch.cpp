// Swapping a slot of the executable's import table.
#include "tests/support/ApiPatch.h"

#include <windows.h>

namespace qv::test {
namespace {

void* Swap(void** slot, void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    void* previous = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
    return previous;
}

}  // namespace

ApiPatch::ApiPatch(void** Slot, void* Replacement) : slot_(Slot), saved_(Swap(Slot, Replacement))
{
}

ApiPatch::~ApiPatch() { Swap(slot_, saved_); }

}  // namespace qv::test
