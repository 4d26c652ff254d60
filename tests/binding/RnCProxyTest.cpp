#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "binding/CVRnC.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;

struct Proxy : ::testing::Test {
    SubstituteHost host; // the engine outlives the proxy attached to it
    ManualUiThread ui;
    RecordingSite site{&ui};
    CVRnC rnc{&site};
    IRnC* engine() { return static_cast<IRnC*>(host.GetInterface("IRnC")); }
    void SetUp() override { site.SetRnC(&rnc); }
};

TEST_F(Proxy, DetachedAnswersDefaultsAndDropsWrites) {
    EXPECT_EQ(0, rnc.GetParameter(rncPlayMode));
    EXPECT_EQ(0, rnc.GetParameterDefault(rncStrumTime));
    EXPECT_EQ(-1, rnc.GetFxType(3));
    EXPECT_FALSE(rnc.IsFxOn(0));
    EXPECT_EQ(1, rnc.GetOutputSetting(1));
    EXPECT_EQ(0, rnc.GetOutputSetting(2));
    EXPECT_EQ(0, rnc.GetKeyFunction(24));
    EXPECT_FALSE(rnc.SavePreset(1, "x"));
    char name[8];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(0, rnc.GetCurrentPresetName(1, name, sizeof name));
    EXPECT_STREQ("", name);
    EXPECT_EQ(-1, rnc.GetCurrentPresetName(2, name, sizeof name));
    // No room, no write: a zero-sized buffer is left alone.
    char guard = 'g';
    EXPECT_EQ(0, rnc.GetCurrentPresetName1(&guard, 0));
    EXPECT_EQ('g', guard);
    rnc.SetParameter(rncStrumTime, 50); // dropped, no crash
    rnc.PlayFretNote(0x64030201);
    ASSERT_EQ(1u, site.echoes.size()) << "the echo goes to the site even without an engine";
    EXPECT_EQ((std::vector<unsigned char>{1, 2, 3, 0x64}), site.echoes[0]);
}

TEST_F(Proxy, EditGestureReachesTheEngineAndNoticeComesBackOnTheUiThread) {
    auto values = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    rnc.AddParameterListener(values.Get());
    ASSERT_TRUE(rnc.Attach(engine()));
    rnc.TouchParameter(rncStrumTime, true);
    rnc.SetParameter(rncStrumTime, 45);
    EXPECT_EQ(1, host.RnC().GestureDepth(rncStrumTime));
    rnc.TouchParameter(rncStrumTime, false);
    EXPECT_EQ(0, host.RnC().GestureDepth(rncStrumTime));
    EXPECT_EQ(45, rnc.GetParameter(rncStrumTime));
    EXPECT_EQ(std::vector<ERnCPars>{rncStrumTime}, values->Seen());

    // Clamped and notified even when the stored value does not change.
    rnc.SetParameter(rncStrumTime, 1000);
    rnc.SetParameter(rncStrumTime, 1000);
    EXPECT_EQ(60, rnc.GetParameter(rncStrumTime));
    EXPECT_EQ(3u, values->Seen().size());
    auto calls = host.Log().Calls("IRnC", "SetParameter");
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ((std::vector<long long>{rncStrumTime, 45}), calls[0].args);
}

TEST_F(Proxy, AttachSendsResetAndReloadAndKeepsListenersAcrossEngines) {
    auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
    auto presets = Ref<PresetCounter>(new PresetCounter);
    rnc.AddFxListener(fx.Get());
    rnc.AddPresetListener(1, presets.Get());
    ASSERT_TRUE(rnc.Attach(engine()));
    EXPECT_EQ(1, site.resets);
    EXPECT_EQ(1, presets->listChanged);
    ASSERT_EQ(1u, fx->Seen().size());
    EXPECT_EQ((IRnC::FxListenerArgs{INT_MAX, false, true}), fx->Seen()[0]);

    SubstituteHost other;
    ASSERT_TRUE(rnc.Attach(static_cast<IRnC*>(other.GetInterface("IRnC"))));
    EXPECT_EQ(2, site.resets);
    EXPECT_EQ(2, presets->listChanged);
    EXPECT_EQ(0u, host.RnC().ListenerCount()) << "everything withdrawn from the first engine";
    other.RnC().SetFxOn(4, true);
    ASSERT_EQ(3u, fx->Seen().size());
    EXPECT_EQ((IRnC::FxListenerArgs{4, true, false}), fx->Seen()[2]);
    host.RnC().SetFxOn(4, true);
    EXPECT_EQ(3u, fx->Seen().size()) << "the old engine no longer reaches us";

    ASSERT_TRUE(rnc.Attach(nullptr));
    EXPECT_EQ(3, site.resets);
    EXPECT_EQ(0u, other.RnC().ListenerCount());
}

TEST_F(Proxy, ChainedProxiesForwardBothWaysAndRefuseCycles) {
    RecordingSite innerSite(&ui);
    CVRnC outer(&innerSite);
    innerSite.SetRnC(&outer);
    auto values = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    outer.AddParameterListener(values.Get());
    ASSERT_TRUE(rnc.Attach(engine()));
    ASSERT_TRUE(outer.Attach(&rnc));
    outer.SetParameter(rncCapo, 5);
    EXPECT_EQ(5, host.RnC().GetParameter(rncCapo));
    EXPECT_EQ(std::vector<ERnCPars>{rncCapo}, values->Seen());

    EXPECT_FALSE(rnc.Attach(&rnc));
    EXPECT_FALSE(rnc.Attach(&outer)) << "outer leads back to rnc";
    EXPECT_EQ(engine(), rnc.Engine()) << "a refused attach changes nothing";
    outer.SetParameter(rncCapo, 6);
    EXPECT_EQ(6, host.RnC().GetParameter(rncCapo));
    outer.Attach(nullptr);
}

TEST_F(Proxy, PresetsOfOtherBanksNeverReachTheEngine) {
    ASSERT_TRUE(rnc.Attach(engine()));
    host.Log().Clear();
    auto names = Ref<Collector<const char*>>(new Collector<const char*>);
    char buf[16];
    rnc.EnumPresets(2, names.Get());
    rnc.LoadPreset(2, "a");
    EXPECT_FALSE(rnc.SavePreset(0, "a"));
    EXPECT_FALSE(rnc.DeletePreset(3, "a"));
    EXPECT_EQ(-1, rnc.GetCurrentPresetName(7, buf, sizeof buf));
    EXPECT_TRUE(host.Log().Calls().empty());

    rnc.SetFxType(5, 3);
    EXPECT_TRUE(rnc.SavePreset(1, "Live"));
    rnc.SetFxType(5, 7);
    rnc.LoadPreset(1, "Live");
    EXPECT_EQ(3, rnc.GetFxType(5));
    EXPECT_EQ(0, rnc.GetCurrentPresetName(1, buf, sizeof buf));
    EXPECT_STREQ("Live", buf);
    EXPECT_TRUE(rnc.DeletePreset(1, "Live"));
    EXPECT_FALSE(rnc.DeletePreset(1, "Live"));
}

TEST_F(Proxy, PresetGroupAddedWhileAttachedHearsTheEngineAtOnce) {
    ASSERT_TRUE(rnc.Attach(engine()));
    auto presets = Ref<PresetCounter>(new PresetCounter);
    rnc.AddPresetListener(1, presets.Get());
    host.RnC().SavePreset(1, "A");
    EXPECT_EQ(1, presets->listChanged);
    host.RnC().LoadPreset(1, "A");
    EXPECT_EQ(1, presets->changed);
    rnc.RemovePresetListener(1, presets.Get());
    host.RnC().SavePreset(1, "B");
    EXPECT_EQ(1, presets->listChanged);
}

TEST_F(Proxy, SuspendedEffectNoticesAreDroppedThenReloadedOnce) {
    auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
    rnc.AddFxListener(fx.Get());
    ASSERT_TRUE(rnc.Attach(engine()));
    const size_t afterAttach = fx->Seen().size();
    rnc.SetParameter(rncFxNoticesSuspended, 1);
    rnc.SetFxOn(3, true);
    rnc.SetFxType(3, 2);
    EXPECT_EQ(afterAttach, fx->Seen().size());
    rnc.SetParameter(rncFxNoticesSuspended, 0);
    rnc.SetFxOn(3, false);
    auto seen = fx->Seen();
    ASSERT_GE(seen.size(), afterAttach + 2);
    // Whatever was dropped, panes are told to reload everything.
    bool reload = false;
    for (size_t i = afterAttach; i < seen.size(); ++i)
        reload |= seen[i] == IRnC::FxListenerArgs{INT_MAX, false, true};
    EXPECT_TRUE(reload);
    EXPECT_EQ((IRnC::FxListenerArgs{3, true, false}), seen.back());
}

TEST_F(Proxy, OutputCallbackIsWithdrawnOnDetachAndHandedToTheNextEngine) {
    struct Seen {
        int calls = 0, kind = 0, value = 0;
    } seen;
    auto cb = [](void* ctx, int flag, const int* data) {
        auto* s = static_cast<Seen*>(ctx);
        if (flag == 0) {
            ++s->calls;
            s->kind = data[0];
            s->value = data[2];
        }
    };
    rnc.SetOutputSettingCallback(&seen, cb);
    ASSERT_TRUE(rnc.Attach(engine()));
    rnc.SetOutputSetting(2, 9);
    EXPECT_EQ(1, seen.calls);
    EXPECT_EQ(2, seen.kind);
    EXPECT_EQ(9, seen.value);
    rnc.Attach(nullptr);
    host.RnC().SetOutputSetting(1, 3);
    EXPECT_EQ(1, seen.calls) << "a detached proxy's owner is not called";
    SubstituteHost other;
    rnc.Attach(static_cast<IRnC*>(other.GetInterface("IRnC")));
    other.RnC().SetOutputSetting(1, 2);
    EXPECT_EQ(2, seen.calls);
    rnc.Attach(nullptr);
}

TEST_F(Proxy, RemovingAnUnknownListenerChangesNothing) {
    auto a = Ref<Counter>(new Counter);
    auto b = Ref<Counter>(new Counter);
    rnc.AddResetListener(a.Get());
    EXPECT_FALSE(rnc.RemoveResetListener(b.Get()));
    ASSERT_TRUE(rnc.Attach(engine()));
    EXPECT_EQ(1, a->count);
    host.RnC().ResetToDefaults();
    EXPECT_EQ(2, a->count);
    EXPECT_TRUE(rnc.RemoveResetListener(a.Get()));
    EXPECT_FALSE(rnc.RemoveResetListener(a.Get()));
}

TEST_F(Proxy, NoticesFromAnEngineThreadWaitForTheUiThread) {
    SubstituteHost worker(Notifier::Mode::Worker);
    auto values = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
    auto playback = Ref<Collector<SPlaybackEvent>>(new Collector<SPlaybackEvent>);
    rnc.AddParameterListener(values.Get());
    rnc.AddFxListener(fx.Get());
    rnc.AddPlaybackListener(playback.Get());
    ASSERT_TRUE(rnc.Attach(static_cast<IRnC*>(worker.GetInterface("IRnC"))));
    ui.RunPosted();
    rnc.SetParameter(rncCapo, 3);
    rnc.SetParameter(rncCapo, 4);
    worker.RnC().SendPlayback(SPlaybackEvent::Make(1, 2, 3, 100));
    worker.Notices().Flush();
    EXPECT_TRUE(values->Seen().empty()) << "parameter notices reach listeners only on the UI thread";
    EXPECT_EQ(1u, playback->Seen().size()) << "playback is delivered on the engine's thread";
    EXPECT_EQ(2u, ui.RunPosted());
    EXPECT_EQ((std::vector<ERnCPars>{rncCapo, rncCapo}), values->Seen());

    // An effect notice sent from the engine thread is carried over too.
    std::thread t([&] { worker.RnC().SetFxOn(2, true); });
    t.join();
    const size_t before = fx->Seen().size();
    ui.RunPosted();
    EXPECT_EQ(before + 1, fx->Seen().size());
    rnc.Attach(nullptr);
}

TEST_F(Proxy, QueuedCallsOfADestroyedProxyDoNothing) {
    auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
    auto values = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    auto presets = Ref<PresetCounter>(new PresetCounter);
    size_t fxBefore = 0;
    int listsBefore = 0;
    {
        RecordingSite otherSite(&ui);
        auto* p = new CVRnC(&otherSite);
        otherSite.SetRnC(p);
        p->AddFxListener(fx.Get());
        p->AddParameterListener(values.Get());
        p->AddPresetListener(1, presets.Get());
        SubstituteHost worker(Notifier::Mode::Worker);
        p->Attach(static_cast<IRnC*>(worker.GetInterface("IRnC")));
        std::thread t([&] {
            worker.RnC().SetFxOn(1, true);
            worker.RnC().SetParameter(rncCapo, 2);
            worker.RnC().SavePreset(1, "A");
        });
        t.join();
        worker.Notices().Flush();
        fxBefore = fx->Seen().size();
        listsBefore = presets->listChanged;
        delete p;
    }
    // Would touch freed memory under ASan if calls kept raw pointers.
    EXPECT_EQ(3u, ui.RunPosted()) << "an effect, a parameter and a preset notice were queued";
    EXPECT_EQ(fxBefore, fx->Seen().size());
    EXPECT_TRUE(values->Seen().empty());
    EXPECT_EQ(listsBefore, presets->listChanged);
    EXPECT_EQ(0, presets->changed);
}

// Notices the engine sent from its own thread wait for the window. Whatever
// happens to the attachment before they run decides whether they still count.
TEST(ProxyAttach, NoticesQueuedBeforeADetachOrReattachAreDropped) {
    enum class Then { StayAttached, Detach, ReattachSameEngine, AttachAnotherEngine };
    const struct Case {
        const char* name;
        Then then;
    } cases[] = {
        {"stay attached", Then::StayAttached},
        {"detach", Then::Detach},
        {"re-attach to the same engine", Then::ReattachSameEngine},
        {"attach another engine", Then::AttachAnotherEngine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SubstituteHost host, other;
        auto* engine = static_cast<IRnC*>(host.GetInterface("IRnC"));
        ManualUiThread ui;
        RecordingSite site(&ui);
        CVRnC rnc(&site);
        site.SetRnC(&rnc);
        auto values = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
        auto resets = Ref<Counter>(new Counter);
        auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
        auto presets = Ref<PresetCounter>(new PresetCounter);
        rnc.AddParameterListener(values.Get());
        rnc.AddResetListener(resets.Get());
        rnc.AddFxListener(fx.Get());
        rnc.AddPresetListener(1, presets.Get());
        ASSERT_TRUE(rnc.Attach(engine));

        // The engine's notices come on this other thread, so each one is
        // queued for the window.
        std::thread t([&] {
            host.RnC().SetParameter(rncCapo, 5); // parameter
            host.RnC().SetFxOn(4, true);         // effect
            host.RnC().SavePreset(1, "A");       // preset list changed
            host.RnC().LoadPreset(1, "A");       // effect reload, preset changed
            host.RnC().ResetToDefaults();        // reset, effect reload
        });
        t.join();

        switch (c.then) {
        case Then::StayAttached:
            break;
        case Then::Detach:
            ASSERT_TRUE(rnc.Attach(nullptr));
            break;
        case Then::ReattachSameEngine:
            ASSERT_TRUE(rnc.Attach(engine));
            break;
        case Then::AttachAnotherEngine:
            ASSERT_TRUE(rnc.Attach(static_cast<IRnC*>(other.GetInterface("IRnC"))));
            break;
        }
        // What the attach itself tells the listeners arrives at once.
        const size_t valuesBefore = values->Seen().size(), fxBefore = fx->Seen().size();
        const int resetsBefore = resets->count, changedBefore = presets->changed,
                  listsBefore = presets->listChanged;

        EXPECT_EQ(7u, ui.RunPosted()) << "every notice was queued and its call ran";
        const bool arrive = c.then == Then::StayAttached;
        EXPECT_EQ(valuesBefore + (arrive ? 1 : 0), values->Seen().size());
        EXPECT_EQ(fxBefore + (arrive ? 3 : 0), fx->Seen().size());
        EXPECT_EQ(resetsBefore + (arrive ? 1 : 0), resets->count);
        EXPECT_EQ(changedBefore + (arrive ? 1 : 0), presets->changed);
        EXPECT_EQ(listsBefore + (arrive ? 1 : 0), presets->listChanged);
        rnc.Attach(nullptr);
    }
}

} // namespace
} // namespace Corvell
