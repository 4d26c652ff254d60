#include "ui/core/Ref.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvell {
namespace {

std::vector<std::string> g_log;

struct Traced : CountedObject<RefCounted> {
    explicit Traced(std::string n) : name(std::move(n)) {}
    ~Traced() override { g_log.push_back("delete " + name); }
    uint32_t AddRef() override {
        g_log.push_back("addref " + name);
        return CountedObject<RefCounted>::AddRef();
    }
    uint32_t Release() override {
        g_log.push_back("release " + name);
        return CountedObject<RefCounted>::Release();
    }
    std::string name;
};

TEST(Ref, CountsFromZeroAndDeletesAtZero) {
    const int32_t before = Base::LiveObjects();
    auto* raw = new Traced("a");
    EXPECT_EQ(0, raw->RefCount());
    {
        Ref<Traced> r1(raw);
        EXPECT_EQ(1, raw->RefCount());
        Ref<Traced> r2 = r1;
        EXPECT_EQ(2, raw->RefCount());
        Ref<RefCounted> asBase = r2;
        EXPECT_EQ(3, raw->RefCount());
        EXPECT_EQ(before + 1, Base::LiveObjects());
    }
    EXPECT_EQ(before, Base::LiveObjects());
}

TEST(Ref, AssignmentTakesTheNewTargetBeforeReleasingTheOld) {
    Ref<Traced> r(new Traced("old"));
    Ref<Traced> n(new Traced("new"));
    g_log.clear();
    r = n;
    const std::vector<std::string> want = {"addref new", "release old", "delete old"};
    EXPECT_EQ(want, g_log);

    g_log.clear();
    r = n.Get(); // the same pointer: nothing at all
    r = r;
    EXPECT_TRUE(g_log.empty());

    g_log.clear();
    r.Reset();
    n = nullptr;
    const std::vector<std::string> gone = {"release new", "release new", "delete new"};
    EXPECT_EQ(gone, g_log);
    EXPECT_FALSE(r);
}

// A destructor that looks back at the Ref holding it finds it already
// empty after Reset, and holding its successor after an assignment.
struct LooksBack : CountedObject<RefCounted> {
    Ref<LooksBack>* holder = nullptr;
    RefCounted** seen = nullptr;
    ~LooksBack() override { *seen = holder->Get(); }
};

TEST(Ref, ReleaseLetsTheDyingTargetSeeTheNewState) {
    RefCounted* seen = reinterpret_cast<RefCounted*>(1);
    Ref<LooksBack> r(new LooksBack);
    r->holder = &r;
    r->seen = &seen;
    r.Reset();
    EXPECT_EQ(nullptr, seen);

    r = new LooksBack;
    r->holder = &r;
    r->seen = &seen;
    LooksBack* successor = new LooksBack;
    successor->holder = &r;
    successor->seen = &seen;
    r = successor;
    EXPECT_EQ(successor, seen);
    r.Reset();
    EXPECT_EQ(nullptr, seen);
}

TEST(Ref, MakeRefAndMoves) {
    const int32_t before = Base::LiveObjects();
    Ref<Traced> a = MakeRef<Traced>("m");
    EXPECT_EQ(1, a->RefCount());
    Ref<Traced> b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(1, b->RefCount());
    Ref<RefCounted> c(std::move(b));
    EXPECT_EQ(before + 1, Base::LiveObjects());
    c = nullptr;
    EXPECT_EQ(before, Base::LiveObjects());
}

TEST(Ref, EmbeddedCountingNeverDeletes) {
    static int destroyed;
    destroyed = 0;
    struct Member : EmbeddedCounting<RefCounted> {
        ~Member() override { ++destroyed; }
    };
    {
        struct Owner {
            Member m;
        } owner;
        {
            Ref<RefCounted> r(&owner.m);
            Ref<RefCounted> r2 = r;
            EXPECT_EQ(0u, owner.m.AddRef());
            EXPECT_EQ(0u, owner.m.Release());
        }
        // Dropping the last reference left the member alone (ASan would
        // also report a delete of it).
        EXPECT_EQ(0, destroyed);
    }
    EXPECT_EQ(1, destroyed); // once, with its owner
}

} // namespace
} // namespace Corvell
