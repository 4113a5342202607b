// TCriticalSection: re-entrant for its holder, exclusive against other threads.
#include <gtest/gtest.h>

#include <thread>

#include "framework/CriticalSection.h"

TEST(CriticalSection, HolderMayEnterAgainAndOtherThreadsWait)
{
    TCriticalSection cs;
    int counter = 0;
    {
        TCriticalSectionLock outer(cs);
        TCriticalSectionLock inner(cs);  // the port's Open locks, then its helpers lock again
        bool otherGotIn = true;
        std::thread other([&] { otherGotIn = cs.TryEnter(); });
        other.join();
        EXPECT_FALSE(otherGotIn);
    }
    std::thread a([&] {
        for (int i = 0; i < 10000; ++i) {
            TCriticalSectionLock hold(cs);
            ++counter;
        }
    });
    for (int i = 0; i < 10000; ++i) {
        TCriticalSectionLock hold(cs);
        ++counter;
    }
    a.join();
    EXPECT_EQ(counter, 20000);
}
