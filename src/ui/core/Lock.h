#pragma once
#include <cstddef>

namespace Corvell {

// A recursive lock, the same standard recursive mutex on every platform.
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
    // Opaque storage keeps <mutex> out of this widely included header.
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
