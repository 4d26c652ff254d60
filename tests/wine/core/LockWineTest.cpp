// The lock under the platform's thread library: a lock that was taken and
// then destroyed gives back everything it held.
#define PSAPI_VERSION 2
#include <windows.h>
#include <psapi.h>

#include "ui/core/Lock.h"

#include <gtest/gtest.h>

#include <memory>

namespace Corvell {
namespace {

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        return 0;
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

void TakeAndDropLocks(int count) {
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<Lock> lock(new Lock);
        lock->Enter();
        lock->Enter(); // recursive
        lock->Leave();
        lock->Leave();
        EXPECT_TRUE(lock->TryEnter());
        lock->Leave();
    }
}

TEST(Lock, LocksTakenAndDestroyedLeaveNothingBehind) {
    // Every pane and listener list holds one: a view opened and closed
    // a few hundred times makes and drops hundreds of thousands.
    TakeAndDropLocks(10000); // the heap settles
    const size_t before = PrivateBytes();
    ASSERT_GT(before, 0u);
    constexpr int kLocks = 200000;
    TakeAndDropLocks(kLocks);
    const size_t after = PrivateBytes();
    // A lock that kept its mutex would keep some 40 bytes or more: 8 MB here.
    EXPECT_LT(after, before + 1024 * 1024) << "grew by " << (after - before) << " bytes";
}

} // namespace
} // namespace Corvell
