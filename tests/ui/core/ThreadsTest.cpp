// Lists, counts and strings shared between threads. Built and run under
// ThreadSanitizer as well (test names end in "Threads").
#include "ui/core/Lock.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/String.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace Corvell {
namespace {

struct Counter : CountedObject<Delegate1<int>> {
    void Invoke(int v) override { calls.fetch_add(v); }
    std::atomic<int> calls{0};
};

// Listeners added and removed on several threads while another thread
// invokes: every listener registered for the whole time hears every call.
TEST(MulticastThreads, AddAndRemoveWhileAnotherThreadInvokes) {
    const int32_t before = Base::LiveObjects();
    {
        MulticastDelegate1<int> list;
        std::vector<Ref<Counter>> stable;
        for (int i = 0; i < 4; ++i) {
            stable.push_back(Ref<Counter>(new Counter));
            list.Add(stable.back());
        }
        // One listener adds or removes a partner on every call, so the list
        // also changes from inside its own calls.
        struct Toggler : CountedObject<Delegate1<int>> {
            MulticastDelegate1<int>* list = nullptr;
            Ref<Counter> partner{new Counter};
            void Invoke(int) override {
                if (!list->Remove(partner.Get()))
                    list->Add(partner);
            }
        };
        Ref<Toggler> toggler(new Toggler);
        toggler->list = &list;
        list.Add(toggler);

        constexpr int kCalls = 300;
        std::atomic<bool> stop{false};
        std::atomic<int> churned{0};
        std::vector<std::thread> churners;
        for (int t = 0; t < 3; ++t) {
            churners.emplace_back([&] {
                while (!stop.load()) {
                    Ref<Counter> c(new Counter);
                    list.Add(c);
                    std::this_thread::yield();
                    if (!list.Remove(c.Get()))
                        ADD_FAILURE() << "a listener this thread added was gone";
                    churned.fetch_add(1);
                }
            });
        }
        int calls = 0;
        std::thread invoker([&] {
            while ((calls < kCalls || churned.load() < kCalls) && calls < 100 * kCalls) {
                list.Invoke(1);
                ++calls;
            }
        });
        invoker.join();
        stop.store(true);
        for (auto& t : churners)
            t.join();

        for (auto& c : stable)
            EXPECT_EQ(calls, c->calls.load());
        EXPECT_EQ(5u + calls % 2, list.Count());
        list.Clear();
        EXPECT_GT(churned.load(), 0);
    }
    EXPECT_EQ(before, Base::LiveObjects());
}

// A heap list whose references are dropped on several threads while they
// invoke it is freed exactly once, after the last call.
TEST(MulticastThreads, AHeapListIsFreedByWhicheverThreadLetsGoLast) {
    const int32_t before = Base::LiveObjects();
    for (int round = 0; round < 20; ++round) {
        Ref<MulticastDelegate1<int>> list(new MulticastDelegate1<int>);
        Ref<Counter> c(new Counter);
        list->Add(c);
        std::vector<std::thread> threads;
        for (int t = 0; t < 3; ++t) {
            threads.emplace_back([mine = list]() mutable {
                for (int i = 0; i < 50; ++i)
                    mine->Invoke(1);
                mine.Reset();
            });
        }
        list.Reset();
        for (auto& t : threads)
            t.join();
        EXPECT_EQ(150, c->calls.load());
    }
    EXPECT_EQ(before, Base::LiveObjects());
}

TEST(RefThreads, CountsStayExactAcrossThreads) {
    const int32_t before = Base::LiveObjects();
    Ref<Counter> shared(new Counter);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([copy = shared] {
            for (int i = 0; i < 2000; ++i) {
                Ref<Counter> more = copy;
                more->Invoke(1);
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(1, shared->RefCount());
    EXPECT_EQ(8000, shared->calls.load());
    shared.Reset();
    EXPECT_EQ(before, Base::LiveObjects());
}

TEST(StringThreads, CopiesOnOtherThreadsShareAndWriteApart) {
    const String shared("common text");
    std::vector<std::thread> threads;
    std::atomic<int> bad{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared, &bad, t] {
            for (int i = 0; i < 500; ++i) {
                String mine(shared);
                mine += static_cast<char>('a' + t);
                String copy = mine;
                copy.Format("%s/%d", copy.GetString(), i);
                if (mine.GetLength() != 12 || mine.GetString()[11] != 'a' + t)
                    bad.fetch_add(1);
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(0, bad.load());
    EXPECT_EQ(1, shared.Data()->refs.load());
    EXPECT_STREQ("common text", shared.GetString());
}

TEST(LockThreads, GuardsSharedStateAndIsRecursive) {
    Lock lock;
    long total = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                LockGuard outer(lock);
                LockGuard inner(lock); // the owner may enter again
                ++total;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(20000, total);
    EXPECT_TRUE(lock.TryEnter());
    std::thread other([&] { EXPECT_FALSE(lock.TryEnter()); });
    other.join();
    lock.Leave();
}

} // namespace
} // namespace Corvell
