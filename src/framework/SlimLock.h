// A lock for what the UI thread and the install worker share: a Windows slim
// reader/writer lock, taken exclusively. It has the shape std::lock_guard
// needs. std::mutex would serve as well, but its error path (a lock that
// cannot be taken throws std::system_error) brings that part of the C++
// runtime and its texts into the program; a slim lock cannot fail.
#pragma once

#include <windows.h>

namespace fw {

class SlimLock {
public:
    constexpr SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    bool try_lock() { return TryAcquireSRWLockExclusive(&lock_) != FALSE; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace fw
