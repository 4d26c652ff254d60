// The engine notifies from its own threads while the window's thread adds
// and removes listeners and detaches and re-attaches the proxy. Run under
// ThreadSanitizer as well as ASan.
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "binding/CVRnC.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;

// Records what a listener saw: the parameter and the proxy's value of it,
// read on the window's thread.
struct ValueWatcher : CountedObject<Delegate1<ERnCPars>> {
    explicit ValueWatcher(CVRnC* r) : rnc(r) {}
    void Invoke(ERnCPars par) override {
        ++count;
        if (par == rncCapo)
            lastCapo = rnc->GetParameter(par);
    }
    CVRnC* rnc;
    int count = 0;
    int lastCapo = -1;
};

struct PlaybackCounter : CountedObject<Delegate1<SPlaybackEvent>> {
    void Invoke(SPlaybackEvent) override { ++count; }
    std::atomic<int> count{0};
};

TEST(RnCStress, EngineThreadsAgainstAttachAndListenerChurn) {
    SubstituteHost host(Notifier::Mode::Worker);
    auto* engine = static_cast<IRnC*>(host.GetInterface("IRnC"));
    ManualUiThread ui;
    RecordingSite site(&ui);
    CVRnC rnc(&site);
    site.SetRnC(&rnc);

    auto watcher = Ref<ValueWatcher>(new ValueWatcher(&rnc));
    auto steady = Ref<PlaybackCounter>(new PlaybackCounter);
    rnc.AddParameterListener(watcher.Get());
    rnc.AddPlaybackListener(steady.Get());
    ASSERT_TRUE(rnc.Attach(engine));

    std::atomic<bool> stop{false};
    std::vector<std::thread> drivers;
    for (int t = 0; t < 2; ++t) {
        drivers.emplace_back([&, t] {
            int i = 0;
            while (!stop.load()) {
                host.RnC().EngineSetParameter(t ? rncCapo : rncStrumTime, i % 20);
                host.RnC().SendPlayback(SPlaybackEvent::Make(1, i % 6, i % 20, 100));
                if (i % 50 == 0)
                    host.RnC().SetFxOn(i % 37, (i / 50) % 2 == 0);
                if (i % 200 == 0)
                    host.RnC().SendMessage("busy");
                ++i;
                if (i % 64 == 0)
                    std::this_thread::yield();
            }
        });
    }

    for (int round = 0; round < 400 || (steady->count.load() < 20000 && round < 200000); ++round) {
        auto churn = Ref<PlaybackCounter>(new PlaybackCounter);
        auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
        rnc.AddPlaybackListener(churn.Get());
        rnc.AddFxListener(fx.Get());
        ui.RunPosted();
        EXPECT_TRUE(rnc.RemovePlaybackListener(churn.Get()));
        EXPECT_TRUE(rnc.RemoveFxListener(fx.Get()));
        if (round % 10 == 0) {
            ASSERT_TRUE(rnc.Attach(nullptr));
            ui.RunPosted();
            ASSERT_TRUE(rnc.Attach(engine));
        }
    }
    stop = true;
    for (auto& d : drivers)
        d.join();
    host.Notices().Flush();

    // Detached: nothing more arrives, neither on the engine's thread nor
    // through notices that were still queued for the window.
    const int playbackBefore = steady->count.load();
    const int paramsBefore = watcher->count;
    ASSERT_TRUE(rnc.Attach(nullptr));
    host.RnC().EngineSetParameter(rncCapo, 9);
    host.RnC().SendPlayback(SPlaybackEvent::Make(1, 0, 1, 100));
    host.Notices().Flush();
    ui.RunPosted();
    EXPECT_EQ(playbackBefore, steady->count.load());
    EXPECT_EQ(paramsBefore, watcher->count);
    EXPECT_EQ(0u, host.RnC().ListenerCount());

    // Attached again: the last value a listener saw is the engine's.
    ASSERT_TRUE(rnc.Attach(engine));
    std::thread last([&] { host.RnC().EngineSetParameter(rncCapo, 17); });
    last.join();
    host.Notices().Flush();
    ui.RunPosted();
    EXPECT_EQ(host.RnC().GetParameter(rncCapo), watcher->lastCapo);
    EXPECT_EQ(17, watcher->lastCapo);
    EXPECT_GT(steady->count.load(), 0);
    rnc.Attach(nullptr);
}

} // namespace
} // namespace Corvell
