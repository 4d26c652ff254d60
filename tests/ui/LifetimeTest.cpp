#include "PaneFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

using Lifetime = PaneFixture;

TEST(MouseListeners, RemovingAnyOfThreeInAnyOrderKeepsTheOthers) {
    std::vector<int> order{0, 1, 2};
    do {
        TestRootPane root(100, 100);
        Pane pane;
        pane.Create(&root, {0, 0, 100, 100});
        std::vector<std::string> calls;
        LoggingListener a(calls, "A"), b(calls, "B"), c(calls, "C");
        LoggingListener* all[] = {&a, &b, &c};
        pane.AddMouseListener(&a);
        pane.AddMouseListener(&b);
        pane.AddMouseListener(&c);
        std::vector<std::string> alive{"A", "B", "C"};
        std::string label;
        for (int i : order) {
            label += "ABC"[i];
            pane.RemoveMouseListener(all[i]);
            alive.erase(std::find(alive.begin(), alive.end(), std::string(1, "ABC"[i])));
            calls.clear();
            root.Click(50, 50);
            std::vector<std::string> expected;
            for (const std::string& n : alive)
                expected.push_back(n + " Pressed");
            std::vector<std::string> pressed;
            for (const std::string& s : calls) {
                if (s.find("Pressed") != std::string::npos)
                    pressed.push_back(s);
            }
            EXPECT_EQ(pressed, expected) << "removed " << label;
        }
        EXPECT_EQ(pane.GetMouseListener(), nullptr);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(MouseListeners, RemovalRemovesEveryOccurrenceAndToleratesStrangers) {
    std::vector<std::string> calls;
    LoggingListener a(calls, "A"), b(calls, "B"), stranger(calls, "S");
    Pane pane;
    pane.AddMouseListener(&a);
    pane.AddMouseListener(&b);
    pane.AddMouseListener(&a);
    pane.RemoveMouseListener(&stranger);
    pane.RemoveMouseListener(nullptr);
    MouseEvent down(kMouseDown);
    pane.ProcessEvent(down);
    EXPECT_EQ(calls, (std::vector<std::string>{"A Pressed", "B Pressed", "A Pressed"}));
    pane.RemoveMouseListener(&a);
    EXPECT_EQ(pane.GetMouseListener(), &b);
    // A pane that dies with a multicaster frees it (the listeners stay).
    auto owner = std::make_unique<Pane>();
    owner->AddMouseListener(&a);
    owner->AddMouseListener(&b);
    owner.reset();
}

TEST_F(Lifetime, ListenersMayRemoveListenersOrDeleteThePaneMidEvent) {
    std::vector<std::string> calls;
    LoggingListener a(calls, "A"), b(calls, "B"), d(calls, "D");
    c->AddMouseListener(&a);
    c->AddMouseListener(&b);
    c->AddMouseListener(&d);
    // A drops B (and frees the multicaster B sat in) before B's turn.
    a.onCall = [&] {
        if (calls.back() == "A Pressed")
            c->RemoveMouseListener(&b);
    };
    Rest(25, 25);
    root->Click(25, 25);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "B Pressed"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "D Pressed"), 1);

    // A deletes the pane itself: nothing more runs on it.
    calls.clear();
    a.onCall = [&] {
        if (calls.back() == "A Pressed")
            c.reset();
    };
    root->Click(25, 25);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "A Pressed");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "D Pressed"), 0);
    EXPECT_EQ(p->GetChildCount(), 0);
    root->MoveTo(26, 26);
    root->Release(26, 26);
}

TEST_F(Lifetime, HandlersMayChangeTheTreeWhileThePointerMoves) {
    // Entering P removes Q; leaving C deletes C; a press on Q deletes P's subtree.
    p->onEvent = [this](PaneEvent& e) {
        if (e.type == kMouseEnter && q)
            root->RemoveChild(q.get());
        return false;
    };
    c->onEvent = [this](PaneEvent& e) {
        if (e.type == kMouseLeave)
            c.reset();
        return false;
    };
    root->MoveTo(25, 25);
    EXPECT_EQ(root->GetChildCount(), 1);
    root->MoveTo(15, 15);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(root->GetMousePane(), p.get());

    p->onEvent = [this](PaneEvent& e) {
        if (e.type == kMouseDown)
            p.reset();
        return true;
    };
    root->Press(15, 15);
    EXPECT_EQ(p, nullptr);
    root->MoveTo(16, 16);
    root->Release(16, 16);
    root->Click(15, 15);
    EXPECT_EQ(root->GetMousePane(), root.get());
}

// Stops its timer in OnDestroy only, as widgets do; its destructor does not.
struct Ticker : Pane {
    void Start() { AddTimer(MakeDelegate(this, &Ticker::Tick), 100); }
    void OnDestroy() override {
        RemoveTimer(MakeDelegate(this, &Ticker::Tick).Get());
        Pane::OnDestroy();
    }
    void Tick() { ++ticks; }
    int ticks = 0;
};

TEST_F(Lifetime, ATimerDoesNotOutliveItsPane) {
    auto t = std::make_unique<Ticker>();
    t->Create(p.get(), {0, 0, 10, 10});
    t->Start();
    root->AdvanceTime(250);
    EXPECT_EQ(t->ticks, 2);

    // Deleted without Close: the base destructor cannot reach the override,
    // but the timer goes with the pane.
    t.reset();
    EXPECT_EQ(root->GetTimerCount(), 0u);
    EXPECT_EQ(root->RunningTimers(), 0u);
    root->AdvanceTime(500);

    // Removed from the tree: it can no longer stop its timer, so it stops.
    Ticker detached;
    detached.Create(p.get(), {0, 0, 10, 10});
    detached.Start();
    p->RemoveChild(&detached);
    root->AdvanceTime(500);
    EXPECT_EQ(detached.ticks, 0);

    // Removing a whole subtree stops its timers; the root's own timers stay.
    struct Counter : CountedObject<Delegate> {
        void Invoke() override { ++n; }
        int n = 0;
    };
    Ref<Counter> rootTimer(new Counter);
    root->AddTimer(rootTimer, 100);
    Ticker deep;
    deep.Create(c.get(), {0, 0, 5, 5});
    deep.Start();
    root->RemoveChild(p.get());
    root->AdvanceTime(200);
    EXPECT_EQ(deep.ticks, 0);
    EXPECT_EQ(rootTimer->n, 2);
}

TEST(RootLifetime, DeletingTheRootDetachesLiveChildren) {
    auto root = std::make_unique<TestRootPane>(100, 100);
    Pane a, b;
    a.Create(root.get(), {0, 0, 10, 10});
    b.Create(&a, {0, 0, 5, 5});
    a.RequestFocus(&b);
    root->MoveTo(2, 2);
    root.reset();
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_TRUE(a.IsClosed());
    EXPECT_EQ(b.GetParent(), nullptr);
}

TEST(RootLifetime, ACallThatDestroysTheRootEndsTheRun) {
    auto root = std::make_unique<TestRootPane>(100, 100);
    struct Call : CountedObject<Delegate> {
        std::function<void()> f;
        void Invoke() override { f(); }
    };
    Ref<Call> first(new Call), second(new Call);
    bool secondRan = false;
    first->f = [&] { root.reset(); };
    second->f = [&] { secondRan = true; };
    root->PostDeferred(first);
    root->PostDeferred(second);
    // What the window procedure would do with the wake-up message.
    root->RunDeferred();
    EXPECT_EQ(root, nullptr);
    EXPECT_FALSE(secondRan);
}

TEST(RootLifetime, AMouseHandlerThatDestroysTheRootStopsRouting) {
    auto root = std::make_unique<TestRootPane>(100, 100);
    EventLog log;
    LoggingPane pane(log, "Pane");
    pane.Create(root.get(), {0, 0, 100, 100});
    pane.onEvent = [&](PaneEvent& e) {
        if (e.type == kMouseEnter)
            root.reset();
        return false;
    };
    PointerInput in;
    in.client = Point{5, 5};
    TestRootPane* raw = root.get();
    raw->HandlePointerMove(in);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(pane.GetParent(), nullptr);
}

} // namespace
} // namespace Corvell::Test
