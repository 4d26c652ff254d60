#include "ui/core/Base.h"

#include <atomic>
#include <cstdlib>

namespace Corvell {

namespace {
std::atomic<int32_t> g_liveObjects{0};
}

int32_t Base::LiveObjects() { return g_liveObjects.load(); }

// Counted before the memory is obtained, so a concurrent unload query
// never sees a window in which a new object exists uncounted.
void* Base::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_liveObjects.fetch_add(1);
    void* p = std::malloc(size ? size : 1);
    if (!p)
        g_liveObjects.fetch_sub(1);
    return p;
}

void* Base::operator new(std::size_t size) {
    void* p = operator new(size, std::nothrow);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void Base::operator delete(void* p) noexcept {
    if (!p)
        return;
    std::free(p);
    g_liveObjects.fetch_sub(1);
}

void Base::operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void Base::operator delete(void* p, std::size_t) noexcept { operator delete(p); }

} // namespace Corvell
