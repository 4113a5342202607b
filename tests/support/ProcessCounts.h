// Counts of this process's threads and handles (to find leaks); -1 when the system does not
// answer.
#pragma once

namespace qv::test {

int ThreadCount();
int HandleCount();

}  // namespace qv::test
