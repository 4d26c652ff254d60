#include "ui/core/DeferredCall.h"
#include "ui/core/Delegate.h"
#include "ui/core/String.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Corvell {
namespace {

struct Target {
    std::vector<std::string> calls;
    void Ping() { calls.push_back("ping"); }
    void Pong() { calls.push_back("pong"); }
    void Value(int v) { calls.push_back("value " + std::to_string(v)); }
    void Other(int v) { calls.push_back("other " + std::to_string(v)); }
    void Text(String s) { calls.push_back(std::string("text ") + s.GetString()); }
    void Edit(String& s) { s += "!"; }
    bool Both(int a, int b) {
        calls.push_back("both " + std::to_string(a) + "," + std::to_string(b));
        return a < b;
    }
    void Pair(String a, int b) { calls.push_back(std::string(a.GetString()) + std::to_string(b)); }
};

TEST(Delegate, MemberDelegatesCallTheirTarget) {
    Target t;
    MakeDelegate(&t, &Target::Ping)->Invoke();
    MakeDelegate(&t, &Target::Value)->Invoke(7);
    MakeDelegate(&t, &Target::Text)->Invoke(String("abc"));
    EXPECT_TRUE(MakeDelegate(&t, &Target::Both)->Invoke(1, 2));
    MakeXDelegate<int, Target, &Target::Other>(&t)->Invoke(3);
    const std::vector<std::string> want = {"ping", "value 7", "text abc", "both 1,2", "other 3"};
    EXPECT_EQ(want, t.calls);

    String s("hey");
    MakeDelegate(&t, &Target::Edit)->Invoke(s);
    EXPECT_STREQ("hey!", s.GetString()) << "a reference argument reaches the listener";
}

TEST(Delegate, FactoriesGiveNullForNullObjectOrMember) {
    Target* none = nullptr;
    Target t;
    void (Target::*noMember)(int) = nullptr;
    EXPECT_FALSE(MakeDelegate(none, &Target::Ping));
    EXPECT_FALSE(MakeDelegate(none, &Target::Value));
    EXPECT_FALSE(MakeDelegate(&t, noMember));
    EXPECT_FALSE(MakeXDelegate(&t, noMember));
    EXPECT_FALSE(MakeDelegate(none, &Target::Both));
    EXPECT_FALSE(DeferredCallType<int>::Make(none, &Target::Value, 1));
}

TEST(Delegate, EqualityIsTheBindingNotTheClass) {
    Target a, b;
    auto ping = MakeDelegate(&a, &Target::Ping);
    auto value = MakeDelegate(&a, &Target::Value);
    struct Case {
        const char* what;
        AbstractDelegate* x;
        AbstractDelegate* y;
        bool equal;
    };
    auto keep = std::vector<Ref<AbstractDelegate>>{};
    auto hold = [&](auto r) {
        keep.push_back(r);
        return static_cast<AbstractDelegate*>(r.Get());
    };
    const Case cases[] = {
        {"same binding", ping.Get(), hold(MakeDelegate(&a, &Target::Ping)), true},
        {"other object", ping.Get(), hold(MakeDelegate(&b, &Target::Ping)), false},
        {"other member", ping.Get(), hold(MakeDelegate(&a, &Target::Pong)), false},
        {"same 1-arg binding", value.Get(), hold(MakeDelegate(&a, &Target::Value)), true},
        {"1-arg other member", value.Get(), hold(MakeDelegate(&a, &Target::Other)), false},
        {"member vs X delegate", value.Get(), hold(MakeXDelegate(&a, &Target::Value)), false},
        {"same 2-arg binding", hold(MakeDelegate(&a, &Target::Both)), hold(MakeDelegate(&a, &Target::Both)), true},
        {"deferred calls of one type", hold(DeferredCallType<int>::Make(&a, &Target::Value, 1)),
         hold(DeferredCallType<int>::Make(&b, &Target::Other, 2)), false},
        {"null", ping.Get(), nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.equal, c.x->Equals(c.y)) << c.what;
        if (c.y) {
            EXPECT_EQ(c.equal, c.y->Equals(c.x)) << c.what << " (reversed)";
        }
        EXPECT_TRUE(c.x->Equals(c.x)) << c.what;
    }
}

TEST(Delegate, HeapDelegatesAreCountedDeferredCallsAreNot) {
    Target t;
    const int32_t before = Base::LiveObjects();
    {
        auto d = MakeDelegate(&t, &Target::Ping);
        EXPECT_EQ(before + 1, Base::LiveObjects());
        auto deferred = DeferredCallType<int>::Make(&t, &Target::Value, 5);
        EXPECT_EQ(before + 1, Base::LiveObjects());
    }
    EXPECT_EQ(before, Base::LiveObjects());
}

TEST(Delegate, DeferredCallsCaptureTheirArgumentsByValue) {
    Target t;
    String text("first");
    auto one = DeferredCallType<String>::Make(&t, &Target::Text, text);
    auto two = DeferredBinaryCallType<String, int>::Make(&t, &Target::Pair, text, 9);
    text = "changed";
    EXPECT_TRUE(t.calls.empty());
    one->Invoke();
    two->Invoke();
    const std::vector<std::string> want = {"text first", "first9"};
    EXPECT_EQ(want, t.calls);
}

// Embedded delegates are never deleted through a reference.
struct Owner : Inner_delegate<Delegate1<int>> {
    Owner() : tick(this, &Owner::OnTick) {}
    void Invoke(int v) override { got += v; }
    void OnTick() { ++ticks; }
    BaseMemberDelegate0<Owner> tick;
    int got = 0;
    int ticks = 0;
};

TEST(Delegate, EmbeddedDelegatesIgnoreCounting) {
    Owner owner;
    {
        Ref<Delegate1<int>> self(&owner);
        Ref<Delegate> tick(&owner.tick);
        self->Invoke(4);
        tick->Invoke();
        EXPECT_TRUE(owner.tick.Equals(&owner.tick));
        Owner other;
        EXPECT_FALSE(owner.tick.Equals(&other.tick));
        EXPECT_FALSE(owner.Equals(&other));
    }
    EXPECT_EQ(4, owner.got);
    EXPECT_EQ(1, owner.ticks);
}

} // namespace
} // namespace Corvell
