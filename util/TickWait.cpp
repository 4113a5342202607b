// Waiting on a wrapping tick counter.
#include "util/TickWait.h"

void WaitTicks(std::uint32_t Milliseconds, const std::function<std::uint32_t()>& Ticks,
               const std::function<void()>& Pump)
{
    const std::uint32_t start = Ticks();
    do {
        Pump();
    } while (static_cast<std::uint32_t>(Ticks() - start) < Milliseconds);
}
