#include "ui/Lock.h"

#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace Corvell {

#ifdef _WIN32
using NativeLock = CRITICAL_SECTION;

static NativeLock* Native(unsigned char* storage) { return reinterpret_cast<NativeLock*>(storage); }

Lock::Lock() {
    static_assert(sizeof(NativeLock) <= sizeof(m_storage), "lock storage too small");
    // No debug info: it would cost an allocation per lock.
    InitializeCriticalSectionEx(Native(m_storage), 0, CRITICAL_SECTION_NO_DEBUG_INFO);
}
Lock::~Lock() { DeleteCriticalSection(Native(m_storage)); }
void Lock::Enter() { EnterCriticalSection(Native(m_storage)); }
void Lock::Leave() { LeaveCriticalSection(Native(m_storage)); }
bool Lock::TryEnter() { return TryEnterCriticalSection(Native(m_storage)) != 0; }
#else
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
#endif

} // namespace Corvell
