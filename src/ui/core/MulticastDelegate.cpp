#include "ui/core/MulticastDelegate.h"

namespace Corvell {
namespace detail {

void*& PendingHeapList() {
    static thread_local void* pending = nullptr;
    return pending;
}

} // namespace detail
} // namespace Corvell
