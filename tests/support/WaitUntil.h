// Waiting for a condition in Win32 tests: polls the predicate while pumping this thread's
// messages, so windows keep working while a test waits. No test sleeps blindly.
#pragma once

#include <chrono>
#include <functional>

namespace qv::test {

// Returns true as soon as done() is true, false when the time-out passes first.
// The predicate runs on the calling thread, between message pumps (about every millisecond).
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// Pumps this thread's pending messages once (what WaitUntil does between checks).
void PumpMessages();

}  // namespace qv::test
