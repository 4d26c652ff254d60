// Playback events from the engine's thread reach the view's listeners on
// the window's thread, a burst in one flush, and never stall.
#include "EngineModes.h"
#include "SubstituteHost.h"
#include "TestRootPane.h"
#include "view/RorezoZavu.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

struct Events : CountedObject<Delegate1<SPlaybackEvent>> {
    void Invoke(SPlaybackEvent e) override { seen.push_back(e.Fret()); }
    std::vector<unsigned> seen;
};

struct Playback : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    TestRootPane root;
    std::unique_ptr<RorezoZavu> view{new RorezoZavu};
    Ref<Events> events{new Events};

    void SetUp() override {
        root.AddChild(view.get());
        view->AddPlaybackListener(events.Get());
        ASSERT_TRUE(view->AttachHost(&host));
        host.Notices().Flush();
        root.PumpMessages();
    }
    void TearDown() override {
        if (view)
            view->RemovePlaybackListener(events.Get());
        view.reset();
    }
    void Burst(unsigned from, unsigned count) {
        std::thread engine([&] {
            for (unsigned i = 0; i < count; ++i)
                host.RnC().SendPlayback(SPlaybackEvent::Make(SPlaybackEvent::NoteOn, 1, (from + i) & 0xFF, 100));
        });
        engine.join();
        host.Notices().Flush();
    }
    static std::vector<unsigned> Range(unsigned from, unsigned count) {
        std::vector<unsigned> v;
        for (unsigned i = 0; i < count; ++i)
            v.push_back((from + i) & 0xFF);
        return v;
    }
};

TARROW_BOTH_ENGINE_MODES(Playback);

TEST_P(Playback, ABurstArrivesInOrderInOneFlush) {
    const int32_t before = root.wakeUpsPosted.load();
    Burst(0, 200);
    EXPECT_TRUE(events->seen.empty()) << "nothing reaches panes off the window's thread";
    EXPECT_EQ(1, root.wakeUpsPosted.load() - before) << "one flush for the burst";
    root.PumpMessages();
    EXPECT_EQ(Range(0, 200), events->seen);
    Burst(200, 3);
    root.PumpMessages();
    EXPECT_EQ(203u, events->seen.size()) << "the next burst gets its own flush";
}

TEST_P(Playback, WithoutAWindowEventsDoNotPileUpOrStallTheNextWindow) {
    root.RemoveChild(view.get()); // the page was deactivated
    view->OnDestroy();
    Burst(0, RorezoZavu::kMaxPendingEvents + 500);
    EXPECT_LE(view->PendingPlaybackEvents(), RorezoZavu::kMaxPendingEvents);
    root.PumpMessages();
    EXPECT_TRUE(events->seen.empty());

    // Activated again: the dropped flush does not keep the queue shut.
    view->SetFlags(Pane::kClosed, false);
    root.AddChild(view.get());
    view->OnWindowCreated();
    Burst(7, 5);
    root.PumpMessages();
    EXPECT_EQ(Range(7, 5), events->seen);
}

TEST_P(Playback, DestroyingTheViewWithAFlushQueuedRunsNothing) {
    Burst(0, 10);
    view->RemovePlaybackListener(events.Get());
    view.reset();
    root.PumpMessages(); // ASan: the queued flush finds no view
    EXPECT_TRUE(events->seen.empty());
}

} // namespace
} // namespace Corvell
