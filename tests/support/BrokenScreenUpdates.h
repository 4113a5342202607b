// Screen updates that fail while the object lives: a work stream in place whose reads throw, so
// every update through it fails; with Failures, only that many reads fail. A passing fault is
// what a test that mends the screen afterwards means: the display tick may run before the test
// gets to mend it.
#pragma once

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "terminal/MainGlobals.h"

namespace qv::test {

class BrokenScreenUpdates {
public:
    explicit BrokenScreenUpdates(int Failures = -1) : saved_(Display.WorkRtf)
    {
        Display.WorkRtf = new TFailingStream(Failures);
    }
    ~BrokenScreenUpdates() { Mend(); }
    BrokenScreenUpdates(const BrokenScreenUpdates&) = delete;
    BrokenScreenUpdates& operator=(const BrokenScreenUpdates&) = delete;

    // The work stream put back.
    void Mend()
    {
        if (!saved_) return;
        delete Display.WorkRtf;
        Display.WorkRtf = saved_;
        saved_ = nullptr;
    }

private:
    struct TFailingStream : TMemoryStream {
        explicit TFailingStream(int Failures) : failures(Failures) {}
        int Read(void* Buffer, int Count) override
        {
            if (failures == 0) return TMemoryStream::Read(Buffer, Count);
            if (failures > 0) --failures;
            throw EReadError(String("injected read failure"));
        }
        int failures;
    };
    TMemoryStream* saved_;
};

}  // namespace qv::test
