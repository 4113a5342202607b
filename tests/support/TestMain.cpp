// The Win32 tests' entry: the main thread's start-up that the program's application does (the
// hand-over window of worker threads), then every test.
#include <gtest/gtest.h>

#include "framework/win/Thread.h"

int main(int argc, char** argv)
{
    InitSynchronize();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
