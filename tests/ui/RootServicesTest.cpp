#include "PaneFixture.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace Corvell::Test {
namespace {

using Services = PaneFixture;

// A delegate that runs a function and counts its releases.
struct Call : CountedObject<Delegate> {
    explicit Call(std::function<void()> fn = nullptr, int* destroyed = nullptr) : f(std::move(fn)), dead(destroyed) {}
    ~Call() override {
        if (dead)
            ++*dead;
    }
    void Invoke() override {
        ++runs;
        if (f)
            f();
    }
    std::function<void()> f;
    int* dead;
    int runs = 0;
};

struct Target {
    void Tick() { ++ticks; }
    int ticks = 0;
};

TEST_F(Services, TimersFireEachPeriodAndStopThroughAnEqualDelegate) {
    Target t;
    p->AddTimer(MakeDelegate(&t, &Target::Tick), 100);
    EXPECT_EQ(root->RunningTimers(), 1u);
    root->AdvanceTime(350);
    EXPECT_EQ(t.ticks, 3);

    // A fresh delegate for the same object and member stops it.
    p->RemoveTimer(MakeDelegate(&t, &Target::Tick).Get());
    EXPECT_EQ(root->GetTimerCount(), 0u);
    EXPECT_EQ(root->RunningTimers(), 0u);
    // A tick queued before the stop, or an unknown one, calls nothing.
    root->FireTimer(1);
    root->FireTimer(12345);
    EXPECT_EQ(t.ticks, 3);

    // Two entries of one delegate run twice a period; removing it removes both.
    Ref<Delegate> d = MakeDelegate(&t, &Target::Tick);
    root->AddTimer(d, 100);
    root->AddTimer(d, 100);
    root->AdvanceTime(100);
    EXPECT_EQ(t.ticks, 5);
    root->RemoveTimer(d.Get());
    EXPECT_EQ(root->GetTimerCount(), 0u);
    root->AddTimer(nullptr, 100);
    root->RemoveTimer(nullptr);
    EXPECT_EQ(root->GetTimerCount(), 0u);
}

TEST_F(Services, ATimerCallbackMayAddAndRemoveTimers) {
    Ref<Call> second(new Call);
    Ref<Call> first(new Call);
    first->f = [&] {
        root->RemoveTimer(first.Get());
        root->AddTimer(second, 50);
    };
    root->AddTimer(first, 100);
    root->AdvanceTime(260);
    EXPECT_EQ(first->runs, 1);
    EXPECT_EQ(second->runs, 3); // at 150, 200, 250
}

TEST(RootServices, TimersWaitForTheWindowAndForItsThread) {
    TestRootPane root(100, 100);
    root.DestroyWindow();
    Target t;
    root.AddTimer(MakeDelegate(&t, &Target::Tick), 100);
    EXPECT_EQ(root.RunningTimers(), 0u);
    root.OpenWindow(100, 100);
    EXPECT_EQ(root.RunningTimers(), 1u);
    root.AdvanceTime(100);
    EXPECT_EQ(t.ticks, 1);

    // From another thread the window's own thread starts it.
    Target other;
    std::thread([&] { root.AddTimer(MakeDelegate(&other, &Target::Tick), 100); }).join();
    EXPECT_EQ(root.RunningTimers(), 1u);
    EXPECT_EQ(root.PumpMessages(), 1);
    EXPECT_EQ(root.RunningTimers(), 2u);
    root.AdvanceTime(100);
    EXPECT_EQ(other.ticks, 1);
}

TEST_F(Services, DeferredCallsRunInOrderOnOneWakeUp) {
    std::vector<std::string> order;
    Ref<Call> a(new Call([&] { order.push_back("a"); }));
    Ref<Call> b(new Call([&] { order.push_back("b"); }));
    Ref<Call> later(new Call([&] { order.push_back("later"); }));
    Ref<Call> poster(new Call([&] {
        order.push_back("poster");
        c->PostDeferred(later);
    }));
    c->PostDeferred(a);
    c->PostDeferred(b);
    c->PostDeferred(poster);
    EXPECT_EQ(root->wakeUpsPosted, 1);
    EXPECT_EQ(root->PumpMessages(), 2); // the call posted while running needs a second message
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "poster", "later"}));
    EXPECT_EQ(root->wakeUpsPosted, 2);
    EXPECT_EQ(root->GetDeferredCount(), 0u);
}

TEST_F(Services, AFailedWakeUpDoesNotWedgeTheQueue) {
    Ref<Call> a(new Call), b(new Call);
    root->failWakeUps = true;
    root->PostDeferred(a);
    EXPECT_EQ(root->PendingWakeUps(), 0);
    root->failWakeUps = false;
    root->PostDeferred(b);
    EXPECT_EQ(root->PumpMessages(), 1);
    EXPECT_EQ(a->runs, 1);
    EXPECT_EQ(b->runs, 1);
}

TEST_F(Services, PendingCallsCanBeWithdrawnEvenFromTheRunningBatch) {
    int released = 0;
    Ref<Call> victim(new Call(nullptr, &released));
    Ref<Call> killer(new Call([&] { root->RemoveTimer(victim.Get()); }));
    root->PostDeferred(killer);
    root->PostDeferred(victim);
    Call* raw = victim.Get();
    victim = nullptr; // the queue holds the last reference now
    root->PumpMessages();
    EXPECT_EQ(released, 1);
    (void)raw;

    // A timer of the same delegate takes precedence over a pending call.
    Ref<Call> both(new Call);
    root->AddTimer(both, 100);
    root->PostDeferred(both);
    root->RemoveTimer(both.Get());
    EXPECT_EQ(root->GetTimerCount(), 0u);
    EXPECT_EQ(root->GetDeferredCount(), 1u);
    root->PumpMessages();
    EXPECT_EQ(both->runs, 1);
}

TEST(RootServices, WithoutAWindowDeferredCallsAreReleasedUnrun) {
    int released = 0;
    {
        TestRootPane root(100, 100);
        Ref<Call> pending(new Call(nullptr, &released));
        root.PostDeferred(pending);
        Call* raw = pending.Get();
        pending = nullptr;
        root.DestroyWindow();
        EXPECT_EQ(released, 1);
        EXPECT_EQ(root.GetDeferredCount(), 0u);
        (void)raw;

        Ref<Call> dropped(new Call(nullptr, &released));
        root.PostDeferred(dropped); // no window: dropped
        EXPECT_EQ(root.GetDeferredCount(), 0u);
        EXPECT_EQ(dropped->runs, 0);
    }
    // Closing the root releases what is still queued.
    int closed = 0;
    {
        TestRootPane root(100, 100);
        root.PostDeferred(Ref<Delegate>(new Call(nullptr, &closed)));
        root.AddTimer(Ref<Delegate>(new Call(nullptr, &closed)), 10);
        root.Close();
        EXPECT_EQ(closed, 2);
        EXPECT_FALSE(root.HasWindow());
    }
}

TEST(RootServices, DeferredCallsArriveFromOtherThreadsInOrder) {
    TestRootPane root(100, 100);
    std::vector<int> seen;
    std::vector<Ref<Delegate>> calls;
    for (int i = 0; i < 200; ++i)
        calls.push_back(Ref<Delegate>(new Call([&seen, i] { seen.push_back(i); })));
    bool otherIsUi = true;
    std::thread producer([&] {
        otherIsUi = root.IsUiThread();
        for (auto& d : calls)
            root.PostDeferred(d);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (seen.size() < calls.size() && std::chrono::steady_clock::now() < deadline) {
        root.PumpMessages();
        std::this_thread::yield();
    }
    producer.join();
    ASSERT_EQ(seen.size(), calls.size());
    for (int i = 0; i < int(seen.size()); ++i)
        EXPECT_EQ(seen[size_t(i)], i);
    EXPECT_FALSE(otherIsUi);
    EXPECT_TRUE(root.IsUiThread());
}

// The root only passes the list through to the platform; a stand-in will do.
alignas(alignof(std::max_align_t)) unsigned char g_menuStandIn[64];
MenuItemList& StandInMenu() { return *reinterpret_cast<MenuItemList*>(g_menuStandIn); }

TEST_F(Services, MenusAreAnchoredInTheWindowAndNotReopenedAtOnce) {
    MenuItemList& items = StandInMenu();
    root->menuAnswers = {2};
    EXPECT_EQ(c->ShowPopupMenu(items, Rect{0, 0, 30, 30}), 2);
    ASSERT_EQ(root->menuCalls.size(), 1u);
    EXPECT_EQ(root->menuCalls[0].anchor, (Rect{20, 20, 30, 30}));
    EXPECT_EQ(root->menuCalls[0].items, &items);

    // 30 ms after a menu closed: refused without showing anything.
    root->SetClock(root->Now() + 30);
    EXPECT_EQ(c->ShowPopupMenu(items, Rect{0, 0, 1, 1}), -1);
    EXPECT_EQ(root->menuCalls.size(), 1u);
    root->SetClock(root->Now() + 20);
    EXPECT_EQ(c->ShowPopupMenu(items, Rect{0, 0, 1, 1}), -1); // cancelled
    EXPECT_EQ(root->menuCalls.size(), 2u);

    // No menu inside a menu; the helpers' clicks are far enough apart.
    root->duringModal = [&] { EXPECT_EQ(q->ShowPopupMenu(items, Rect{}), -1); };
    root->menuAnswers = {0};
    root->Click(130, 20);
    EXPECT_EQ(q->ShowPopupMenu(items, Rect{}), 0);
    EXPECT_EQ(root->menuCalls.size(), 3u);

    Pane loose;
    EXPECT_EQ(loose.ShowPopupMenu(items, Rect{}), -1);
}

TEST_F(Services, MessageBoxesAnswerFromTheScript) {
    EXPECT_EQ(c->MessageBox("Delete", "Delete the pattern?", 1), 0); // No by default
    root->messageBoxAnswers = {1};
    EXPECT_EQ(c->MessageBox("Delete", "Delete the pattern?", 1), 1);
    EXPECT_EQ(c->MessageBox(nullptr, nullptr, 0), 1); // OK
    ASSERT_EQ(root->messageBoxes.size(), 3u);
    EXPECT_EQ(root->messageBoxes[0].caption, "Delete");
    EXPECT_EQ(root->messageBoxes[0].text, "Delete the pattern?");
    EXPECT_EQ(root->messageBoxes[2].caption, "");
    EXPECT_EQ(root->messageBoxes[2].kind, 0);
}

TEST_F(Services, ResizingTheWindowResizesTheRoot) {
    struct LayoutRoot : TestRootPane {
        LayoutRoot() : TestRootPane(100, 100) {}
        void OnLayoutChanged() override { ++layouts; }
        int layouts = 0;
    } r;
    r.ClearInvalidations();
    r.HandleSize(300, 200);
    EXPECT_EQ(r.GetBounds(), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(r.layouts, 1);
    EXPECT_TRUE(r.InvalidRegion().SameAs(Region(Rect{0, 0, 300, 200})));
    EXPECT_EQ(c->GetNativeWindow(), root->GetNativeWindow());
    EXPECT_NE(c->GetNativeWindow(), nullptr);
    EXPECT_TRUE(c->IsUiThread());
}

} // namespace
} // namespace Corvell::Test
