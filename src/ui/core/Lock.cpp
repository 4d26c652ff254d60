#include "ui/core/Lock.h"

#include <mutex>
#include <new>

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
Lock::~Lock() { Native(m_storage)->~NativeLock(); }
void Lock::Enter() { Native(m_storage)->lock(); }
void Lock::Leave() { Native(m_storage)->unlock(); }
bool Lock::TryEnter() { return Native(m_storage)->try_lock(); }

} // namespace Corvell
