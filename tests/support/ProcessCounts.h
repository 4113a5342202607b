// Counts of this process's threads, handles and GDI objects (to find leaks); -1 when the system
// does not answer.
#pragma once

namespace qv::test {

int ThreadCount();
int HandleCount();
int GdiObjectCount();

}  // namespace qv::test
