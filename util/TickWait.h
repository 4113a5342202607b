// Waiting a number of milliseconds on a 32-bit tick counter that wraps, while something
// (the message loop) keeps running. The counter and the work are passed in, so the wrap can
// be tested without waiting 49.7 days.
#pragma once

#include <cstdint>
#include <functional>

// Runs Pump at least once, then again until Milliseconds have passed on Ticks. Elapsed time
// is taken modulo 2^32, so a counter that wraps past its maximum neither ends the wait early
// nor makes it endless.
void WaitTicks(std::uint32_t Milliseconds, const std::function<std::uint32_t()>& Ticks,
               const std::function<void()>& Pump);
