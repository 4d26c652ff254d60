#include "ui/core/MulticastDelegate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Corvell {
namespace {

using Log = std::vector<std::string>;

struct ListenerCore {
    std::string name;
    Log* log = nullptr;
    std::function<void()> action;
    void Hit() {
        log->push_back(name);
        if (action) {
            auto a = action; // the action may drop this listener's last outside reference
            a();
        }
    }
};

template <class D>
struct Listener;
template <>
struct Listener<Delegate> : CountedObject<Delegate>, ListenerCore {
    void Invoke() override { Hit(); }
};
template <>
struct Listener<Delegate1<int>> : CountedObject<Delegate1<int>>, ListenerCore {
    void Invoke(int) override { Hit(); }
};
template <>
struct Listener<Delegate2<int, int, int>> : CountedObject<Delegate2<int, int, int>>, ListenerCore {
    int Invoke(int a, int b) override {
        Hit();
        return a * b + answer;
    }
    int answer = 0;
};

struct NoArg {
    using List = MulticastDelegate;
    using D = Delegate;
    static void Call(List& l) { l.Invoke(); }
};
struct OneArg {
    using List = MulticastDelegate1<int>;
    using D = Delegate1<int>;
    static void Call(List& l) { l.Invoke(1); }
};
struct TwoArg {
    using List = MulticastDelegate2<int, int, int>;
    using D = Delegate2<int, int, int>;
    static void Call(List& l) { l.Invoke(1, 2); }
};

template <class K>
class Multicast : public ::testing::Test {
public:
    using List = typename K::List;
    using D = typename K::D;
    using L = Listener<D>;

    void SetUp() override { before = Base::LiveObjects(); }
    void TearDown() override {
        list.Clear();
        named.clear();
        EXPECT_EQ(before, Base::LiveObjects()) << "every node and delegate is freed";
    }

    Ref<L> Make(const std::string& name) {
        Ref<L> l(new L);
        l->name = name;
        l->log = &log;
        named.push_back(l);
        return l;
    }
    // A, B, C registered in that order.
    void Abc() {
        for (const char* n : {"A", "B", "C"})
            list.Add(Make(n));
    }
    L* Named(const std::string& n) {
        for (auto& l : named)
            if (l && l->name == n)
                return l.Get();
        return nullptr;
    }
    Log Run() {
        log.clear();
        K::Call(list);
        return log;
    }

    int32_t before = 0;
    List list;
    Log log;
    std::vector<Ref<L>> named;
};

using Kinds = ::testing::Types<NoArg, OneArg, TwoArg>;
TYPED_TEST_SUITE(Multicast, Kinds);

TYPED_TEST(Multicast, CallsInOrderAndRemovesTheLastMatch) {
    auto a = this->Make("A");
    auto b = this->Make("B");
    EXPECT_TRUE(this->list.IsEmpty());
    this->list.Add(a);
    this->list.Add(b);
    this->list.Add(a);
    EXPECT_EQ((Log{"A", "B", "A"}), this->Run());
    EXPECT_TRUE(this->list.Remove(a.Get()));
    EXPECT_EQ((Log{"A", "B"}), this->Run());
    EXPECT_TRUE(this->list.Remove(b.Get()));
    EXPECT_EQ((Log{"A"}), this->Run());
    EXPECT_TRUE(this->list.Remove(a.Get()));
    EXPECT_TRUE(this->list.IsEmpty());
    EXPECT_EQ(Log{}, this->Run()) << "an empty list calls nothing";
}

TYPED_TEST(Multicast, UnknownAndNullDelegatesChangeNothing) {
    this->Abc();
    auto stranger = this->Make("X");
    EXPECT_FALSE(this->list.Remove(stranger.Get()));
    EXPECT_FALSE(this->list.Remove(nullptr));
    this->list.Add(nullptr);
    EXPECT_EQ(3u, this->list.Count());
    EXPECT_EQ((Log{"A", "B", "C"}), this->Run());
}

// Lists changed by their own listeners while they run: nobody still
// registered is skipped, nobody removed is called, nothing freed is touched.
TYPED_TEST(Multicast, ListenersChangeTheListWhileItRuns) {
    using L = typename TestFixture::L;
    struct Case {
        const char* what;
        const char* actor;
        std::function<void(TestFixture&)> action;
        Log during;
        Log after;
    };
    auto remove = [](const char* n) {
        return [n](TestFixture& f) { EXPECT_TRUE(f.list.Remove(f.Named(n))); };
    };
    const Case cases[] = {
        {"A removes itself", "A", remove("A"), {"A", "B", "C"}, {"B", "C"}},
        {"C removes itself", "C", remove("C"), {"A", "B", "C"}, {"A", "B"}},
        {"B removes A", "B", remove("A"), {"A", "B", "C"}, {"B", "C"}},
        {"A removes B", "A", remove("B"), {"A", "C"}, {"A", "C"}},
        {"A removes C", "A", remove("C"), {"A", "B"}, {"A", "B"}},
        {"A removes itself and B", "A",
         [](TestFixture& f) {
             f.list.Remove(f.Named("A"));
             f.list.Remove(f.Named("B"));
         },
         {"A", "C"}, {"C"}},
        {"B adds D", "B", [](TestFixture& f) { f.list.Add(f.Make("D")); }, {"A", "B", "C", "D"}, {"A", "B", "C", "D"}},
        {"B clears the list", "B", [](TestFixture& f) { f.list.Clear(); }, {"A", "B"}, {}},
        {"B removes itself and drops its last reference", "B",
         [](TestFixture& f) {
             L* b = f.Named("B");
             f.list.Remove(b);
             for (auto& r : f.named)
                 if (r.Get() == b)
                     r = nullptr; // b now lives only through the running call
         },
         {"A", "B", "C"}, {"A", "C"}},
        {"A runs the list again once", "A",
         [](TestFixture& f) {
             f.Named("A")->action = nullptr;
             TypeParam::Call(f.list);
         },
         {"A", "A", "B", "C", "B", "C"}, {"A", "B", "C"}},
        {"A removes B inside a nested run", "A",
         [remove](TestFixture& f) {
             f.Named("A")->action = [&f, r = remove("B")] { r(f); };
             auto self = f.Named("A");
             TypeParam::Call(f.list);
             self->action = nullptr;
         },
         {"A", "A", "C", "C"}, {"A", "C"}},
    };
    for (const Case& c : cases) {
        this->list.Clear();
        this->named.clear();
        this->Abc();
        auto action = c.action;
        this->Named(c.actor)->action = [this, action] { action(*this); };
        EXPECT_EQ(c.during, this->Run()) << c.what;
        for (auto& r : this->named)
            if (r)
                r->action = nullptr;
        EXPECT_EQ(c.after, this->Run()) << c.what << " (next run)";
    }
}

// A list held only through references may lose the last one while it runs.
TYPED_TEST(Multicast, AHeapListSurvivesLosingItsLastReferenceDuringACall) {
    using List = typename TestFixture::List;
    Ref<List> holder(new List);
    EXPECT_TRUE(holder->IsHeapList());
    EXPECT_FALSE(this->list.IsHeapList());
    auto a = this->Make("A");
    a->action = [&holder] { holder.Reset(); };
    holder->Add(a);
    holder->Add(this->Make("B"));
    List* raw = holder.Get();
    this->log.clear();
    TypeParam::Call(*raw);
    EXPECT_FALSE(holder);
    EXPECT_EQ((Log{"A", "B"}), this->log);
}

// A list embedded in its owner, registered in another list through a Ref,
// is never deleted by that list.
TYPED_TEST(Multicast, AnEmbeddedListRegisteredElsewhereIsNeverDeleted) {
    using List = typename TestFixture::List;
    struct Owner {
        List inner;
    } owner;
    owner.inner.Add(this->Make("inner"));
    this->list.Add(this->Make("A"));
    this->list.Add(Ref<typename TestFixture::D>(&owner.inner));
    EXPECT_EQ((Log{"A", "inner"}), this->Run());
    EXPECT_TRUE(this->list.Remove(&owner.inner));
    EXPECT_EQ((Log{"A"}), this->Run());
    owner.inner.Clear();
}

struct Widget {
    int sum = 0;
    void OnValue(int v) { sum += v; }
    bool Vote(int a, int) { return a > 0; }
    bool Veto(int, int) { return false; }
};

TEST(MulticastDelegate1, RemovesAnEqualDelegateMadeLater) {
    Widget w, other;
    MulticastDelegate1<int> list;
    list.Add(MakeDelegate(&w, &Widget::OnValue));
    list.Add(MakeDelegate(&other, &Widget::OnValue));
    auto fresh = MakeDelegate(&w, &Widget::OnValue);
    EXPECT_TRUE(list.Remove(fresh.Get()));
    EXPECT_FALSE(list.Remove(fresh.Get()));
    list.Invoke(5);
    EXPECT_EQ(0, w.sum);
    EXPECT_EQ(5, other.sum);
    EXPECT_EQ(1u, list.Count());
}

TEST(MulticastDelegate2, ReturnsTheLastListenersAnswer) {
    Widget w;
    MulticastDelegate2<int, int, bool> list;
    EXPECT_FALSE(list.Invoke(1, 1)) << "an empty list answers the default";
    list.Add(MakeDelegate(&w, &Widget::Veto));
    list.Add(MakeDelegate(&w, &Widget::Vote));
    EXPECT_TRUE(list.Invoke(1, 0));
    EXPECT_FALSE(list.Invoke(-1, 0));
    list.Remove(MakeDelegate(&w, &Widget::Vote).Get());
    EXPECT_FALSE(list.Invoke(1, 0));
}

} // namespace
} // namespace Corvell
