#include "ui/core/Lock.h"

#include <mutex>
#include <new>
#if defined(__MINGW32__)
#include <pthread.h>
#endif

namespace Corvell {

// One standard recursive mutex on every platform keeps the core free of
// platform headers and behaves the same everywhere.
using NativeLock = std::recursive_mutex;

static NativeLock* Native(unsigned char* storage) { return std::launder(reinterpret_cast<NativeLock*>(storage)); }

Lock::Lock() {
    static_assert(sizeof(NativeLock) <= sizeof(m_storage), "lock storage too small");
    static_assert(alignof(NativeLock) <= 16, "lock storage misaligned");
    new (m_storage) NativeLock();
}
Lock::~Lock() {
    NativeLock* lock = Native(m_storage);
#if defined(__MINGW32__) && defined(__GTHREAD_RECURSIVE_MUTEX_INIT)
    // Statically initialised, the standard mutex has nothing to destroy,
    // but winpthreads makes the real mutex on its first use: without this
    // every lock that was ever taken would stay allocated.
    pthread_mutex_destroy(lock->native_handle());
#endif
    lock->~NativeLock();
}
void Lock::Enter() { Native(m_storage)->lock(); }
void Lock::Leave() { Native(m_storage)->unlock(); }
bool Lock::TryEnter() { return Native(m_storage)->try_lock(); }

} // namespace Corvell
