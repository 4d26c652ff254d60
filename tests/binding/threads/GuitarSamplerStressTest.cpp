// Guitar and sampler notices from the engine's threads while the window's
// thread adds and removes listeners and re-attaches the proxies. Run under
// ThreadSanitizer as well as ASan.
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "binding/CVGuitar.h"
#include "binding/CVSampler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;

// Reads what it hears back through the proxies, on the window's thread.
struct MemoryWatcher : CountedObject<Delegate1<int>> {
    explicit MemoryWatcher(CVSampler* s) : sampler(s) {}
    void Invoke(int par) override {
        ++count;
        if (par == ISampler::MemoryMB)
            lastMemory = sampler->GetParameter(par);
    }
    CVSampler* sampler;
    int count = 0;
    int lastMemory = -1;
};

TEST(GuitarSamplerStress, EngineThreadsAgainstAttachAndListenerChurn) {
    SubstituteHost host(Notifier::Mode::Worker);
    auto* guitarEngine = static_cast<IGuitar*>(host.GetInterface("IGuitar"));
    auto* samplerEngine = static_cast<ISampler*>(host.GetInterface("ISampler"));
    ManualUiThread ui;
    RecordingSite site(&ui);
    CVGuitar guitar(&site);
    CVSampler sampler(&site);
    site.SetGuitar(&guitar);
    site.SetSampler(&sampler);

    auto watcher = Ref<MemoryWatcher>(new MemoryWatcher(&sampler));
    auto guitars = Ref<Counter>(new Counter);
    sampler.AddParameterListener(watcher.Get());
    guitar.AddGuitarListener(guitars.Get());
    ASSERT_TRUE(guitar.Attach(guitarEngine));
    ASSERT_TRUE(sampler.Attach(samplerEngine));

    host.Guitar().SetGuitars({{"A", 300}, {"B", 900}, {"C", 1536}});
    host.Guitar().SetLoadPace(std::chrono::milliseconds(1)); // the loader thread steps loads
    std::atomic<bool> stop{false};
    std::thread driver([&] {
        int i = 0;
        while (!stop.load()) {
            host.Guitar().SelectGuitar(i % 3);
            host.Sampler().SetStatus(ISampler::Voices, i % 40);
            host.Sampler().SetParameter(i % 73, i);
            if (i % 20 == 0)
                host.Guitar().SetGuitars({{"A", 300 + i % 7}, {"B", 900}});
            if (i % 50 == 0)
                host.Sampler().ResetToDefaults();
            ++i;
            std::this_thread::yield();
        }
    });

    for (int round = 0; round < 1500; ++round) {
        auto churnPars = Ref<Collector<int>>(new Collector<int>);
        auto churnGuitars = Ref<Counter>(new Counter);
        auto churnResets = Ref<Counter>(new Counter);
        sampler.AddParameterListener(churnPars.Get());
        sampler.AddResetListener(churnResets.Get());
        guitar.AddGuitarListener(churnGuitars.Get());
        ui.RunPosted();
        // What the window's thread asks while the engine changes underneath.
        (void)guitar.GetGuitarCount();
        GuitarInfo info;
        guitar.GetGuitarInfo(round % 3, &info);
        (void)sampler.GetParameter(ISampler::LoadingProgress);
        sampler.SetParameter(5, round % 127);
        EXPECT_TRUE(sampler.RemoveParameterListener(churnPars.Get()));
        EXPECT_TRUE(sampler.RemoveResetListener(churnResets.Get()));
        EXPECT_TRUE(guitar.RemoveGuitarListener(churnGuitars.Get()));
        if (round % 10 == 0) {
            ASSERT_TRUE(guitar.Attach(nullptr));
            ASSERT_TRUE(sampler.Attach(nullptr));
            ui.RunPosted();
            ASSERT_TRUE(guitar.Attach(guitarEngine));
            ASSERT_TRUE(sampler.Attach(samplerEngine));
        }
    }
    stop = true;
    driver.join();
    host.Guitar().SetLoadPace(std::chrono::milliseconds(0));
    host.Notices().Flush();
    ui.RunPosted();

    // Detached: nothing more arrives, also from notices queued before.
    const int heardBefore = watcher->count;
    const int guitarsBefore = guitars->count;
    ASSERT_TRUE(guitar.Attach(nullptr));
    ASSERT_TRUE(sampler.Attach(nullptr));
    ui.RunPosted();
    const int afterDetach = guitars->count;
    host.Sampler().SetStatus(ISampler::MemoryMB, 1);
    host.Guitar().SetGuitars({{"Z", 1}});
    host.Notices().Flush();
    ui.RunPosted();
    EXPECT_EQ(heardBefore, watcher->count);
    EXPECT_EQ(guitarsBefore + 1, afterDetach) << "detaching tells the list's readers once";
    EXPECT_EQ(afterDetach, guitars->count);
    EXPECT_EQ(0u, host.Guitar().ListenerCount());
    EXPECT_EQ(0u, host.Sampler().ListenerCount());

    // Attached again: the last value a listener saw is the engine's.
    ASSERT_TRUE(sampler.Attach(samplerEngine));
    std::thread last([&] { host.Sampler().SetStatus(ISampler::MemoryMB, 2047); });
    last.join();
    host.Notices().Flush();
    ui.RunPosted();
    EXPECT_EQ(2047, watcher->lastMemory);
    sampler.RemoveParameterListener(watcher.Get());
    guitar.RemoveGuitarListener(guitars.Get());
    sampler.Attach(nullptr);
}

} // namespace
} // namespace Corvell
