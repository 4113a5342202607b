// WaitUntil: checks a condition about every millisecond, pumping messages in between.
#include "tests/support/WaitUntil.h"

#include <windows.h>

namespace qv::test {

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return done();
        // Wakes at once for a message, else after 1 ms to check the condition again.
        MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace qv::test
