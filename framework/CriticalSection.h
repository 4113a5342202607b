// TCriticalSection: a lock the owning thread may take again while holding it, as the
// platform's critical sections allow (the port's Open calls into code that locks too).
#pragma once

#include <mutex>

#include "framework/Object.h"

class TCriticalSection : public TObject {
public:
    void Acquire() { mutex_.lock(); }
    void Release() { mutex_.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    bool TryEnter() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a critical section for a scope, so every way out releases it.
class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection& Section) : section_(Section)
    {
        section_.Enter();
    }
    ~TCriticalSectionLock() { section_.Leave(); }
    TCriticalSectionLock(const TCriticalSectionLock&) = delete;
    TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

private:
    TCriticalSection& section_;
};
