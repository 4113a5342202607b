// Replacing one imported system function for a test: the code under test is linked into the
// test executable and calls through its import table, so swapping a slot there makes a system
// call fail (or record) on demand. Name a slot by its import symbol:
//   extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");
#pragma once

namespace qv::test {

// Puts Replacement in Slot for the life of the object and the original back afterwards.
class ApiPatch {
public:
    ApiPatch(void** Slot, void* Replacement);
    ~ApiPatch();
    ApiPatch(const ApiPatch&) = delete;
    ApiPatch& operator=(const ApiPatch&) = delete;
    void* Original() const { return saved_; }

private:
    void** slot_;
    void* saved_;
};

}  // namespace qv::test
