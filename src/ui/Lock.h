#pragma once
#include <cstddef>

namespace Corvell {

// A recursive lock: a critical section on Windows, a recursive mutex
// elsewhere. Recursive on both so that code behaves the same everywhere.
class Lock {
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();

private:
    // Opaque storage keeps <windows.h> and <mutex> out of this header.
    alignas(16) unsigned char m_storage[64];
};

// Holds a Lock for one scope.
class LockGuard {
public:
    explicit LockGuard(Lock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~LockGuard() { m_lock.Leave(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    Lock& m_lock;
};

} // namespace Corvell
