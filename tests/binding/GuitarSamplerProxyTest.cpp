#include "EngineModes.h"
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "binding/CVGuitar.h"
#include "binding/CVSampler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;

struct Proxies : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    ManualUiThread ui;
    RecordingSite site{&ui};
    CVGuitar guitar{&site};
    CVSampler sampler{&site};
    IGuitar* guitarEngine() { return static_cast<IGuitar*>(host.GetInterface("IGuitar")); }
    ISampler* samplerEngine() { return static_cast<ISampler*>(host.GetInterface("ISampler")); }
    void SetUp() override {
        site.SetGuitar(&guitar);
        site.SetSampler(&sampler);
    }
    void TearDown() override {
        guitar.Attach(nullptr);
        sampler.Attach(nullptr);
    }
    // Everything the engine sent so far, delivered on the window's thread.
    void Settle() {
        host.Notices().Flush();
        ui.RunPosted();
    }
};

TARROW_BOTH_ENGINE_MODES(Proxies);

TEST_P(Proxies, WithoutEngineAnswerDefaults) {
    EXPECT_EQ(0, guitar.GetGuitarCount());
    EXPECT_EQ(0, guitar.GetCurrentGuitar());
    GuitarInfo info;
    std::memset(&info, 'x', sizeof info);
    guitar.GetGuitarInfo(0, &info);
    EXPECT_EQ(0, info.flags);
    EXPECT_STREQ("", info.name);
    guitar.SelectGuitar(1); // nothing to do, no crash

    EXPECT_EQ(0, sampler.GetParameter(13)) << "no inversion of an absent value";
    EXPECT_EQ(0, sampler.GetParameter(ISampler::MemoryMB));
    ParInfo p{};
    EXPECT_FALSE(sampler.GetParameterInfo(0, &p));
    EXPECT_FALSE(sampler.GetSwitch(10));
    EXPECT_EQ(0, sampler.Query4(1));
    sampler.SetParameter(5, 90);
    sampler.SetSwitch(10, true);
    sampler.ResetToDefaults();
    EXPECT_EQ(0u, host.Log().Calls().size() - host.Log().Count("ICorvellHost", "GetInterface"));
}

TEST_P(Proxies, SettingThirteenIsShownAndWrittenInverted) {
    ASSERT_TRUE(sampler.Attach(samplerEngine()));
    sampler.SetParameter(13, 30);
    EXPECT_EQ(70, host.Sampler().GetParameter(13));
    EXPECT_EQ(30, sampler.GetParameter(13));

    // The range turns with the value: the engine's 0..100, default 50 stays
    // 0..100 with 50; an engine range of 10..80, default 20 becomes 20..90, 80.
    ParInfo p{};
    ASSERT_TRUE(sampler.GetParameterInfo(13, &p));
    EXPECT_EQ(0, p.minimum);
    EXPECT_EQ(100, p.maximum);
    EXPECT_EQ(50, p.defaultValue);

    struct Skewed : ISampler {
        void TouchParameter(int, bool) override {}
        void SetParameter(int, int) override {}
        int GetParameter(int) override { return 0; }
        bool GetParameterInfo(int, ParInfo* out) override {
            *out = ParInfo{};
            out->minimum = 10;
            out->maximum = 80;
            out->defaultValue = 20;
            out->fourth = 7;
            return true;
        }
        int Query4(int) override { return 0; }
        void AddParameterListener(Delegate1<int>*) override {}
        bool RemoveParameterListener(Delegate1<int>*) override { return true; }
        void AddResetListener(Delegate*) override {}
        bool RemoveResetListener(Delegate*) override { return true; }
        void SetSwitch(int, bool) override {}
        bool GetSwitch(int) override { return false; }
        void ResetToDefaults() override {}
    } skewed;
    ASSERT_TRUE(sampler.Attach(&skewed));
    ASSERT_TRUE(sampler.GetParameterInfo(13, &p));
    EXPECT_EQ(20, p.minimum);
    EXPECT_EQ(90, p.maximum);
    EXPECT_EQ(80, p.defaultValue);
    EXPECT_EQ(7, p.fourth) << "only the value fields turn";
    ASSERT_TRUE(sampler.GetParameterInfo(12, &p));
    EXPECT_EQ(10, p.minimum) << "other settings are passed through";
    EXPECT_EQ(80, p.maximum);
    sampler.Attach(nullptr); // before the skewed engine leaves scope
}

TEST_P(Proxies, FiveAndSixStayOrdered) {
    ASSERT_TRUE(sampler.Attach(samplerEngine()));
    struct Case {
        int five, six; // before
        int par, value;
        int expectFive, expectSix;
        std::vector<long long> writes; // ids written, in order
    };
    const Case cases[] = {
        {40, 60, 5, 50, 50, 60, {5}},        // inside: only 5
        {40, 60, 5, 90, 90, 90, {6, 5}},     // above 6: 6 moves up first
        {40, 60, 5, 60, 60, 60, {5}},        // equal is ordered
        {40, 60, 6, 50, 40, 50, {6}},        // inside: only 6
        {40, 60, 6, 20, 20, 20, {5, 6}},     // below 5: 5 moves down first
        {40, 60, 6, 40, 40, 40, {6}},        // equal is ordered
        {40, 60, 7, -100, 40, 60, {7}},      // any other: unchanged
    };
    for (const auto& c : cases) {
        host.Sampler().SetParameter(5, c.five);
        host.Sampler().SetParameter(6, c.six);
        host.Log().Clear();
        sampler.SetParameter(c.par, c.value);
        std::vector<long long> written;
        for (const auto& call : host.Log().Calls("ISampler", "SetParameter"))
            written.push_back(call.args[0]);
        SCOPED_TRACE("set " + std::to_string(c.par) + " to " + std::to_string(c.value));
        EXPECT_EQ(c.writes, written);
        EXPECT_EQ(c.expectFive, sampler.GetParameter(5));
        EXPECT_EQ(c.expectSix, sampler.GetParameter(6));
    }
}

TEST_P(Proxies, SwitchesGesturesAndResetAreForwarded) {
    ASSERT_TRUE(sampler.Attach(samplerEngine()));
    EXPECT_TRUE(sampler.GetSwitch(10));
    sampler.SetSwitch(10, false);
    EXPECT_FALSE(sampler.GetSwitch(10));
    EXPECT_EQ(-60, sampler.GetParameter(10)) << "a switch is kept apart from the value of its id";
    sampler.TouchParameter(3, true);
    EXPECT_EQ(1, host.Sampler().GestureDepth(3));
    sampler.TouchParameter(3, false);
    sampler.SetParameter(3, 77);
    auto resets = Ref<Counter>(new Counter);
    sampler.AddResetListener(resets.Get());
    Settle();
    sampler.ResetToDefaults();
    Settle();
    EXPECT_EQ(0, sampler.GetParameter(3));
    EXPECT_TRUE(sampler.GetSwitch(10));
    EXPECT_EQ(1, resets->count);
    sampler.RemoveResetListener(resets.Get());
}

TEST_P(Proxies, NoticesReachTheListenersOnTheWindowsThreadOnlyFromTheCurrentEngine) {
    auto guitars = Ref<Counter>(new Counter);
    auto pars = Ref<Collector<int>>(new Collector<int>);
    guitar.AddGuitarListener(guitars.Get());
    sampler.AddParameterListener(pars.Get());
    ASSERT_TRUE(guitar.Attach(guitarEngine()));
    ASSERT_TRUE(sampler.Attach(samplerEngine()));
    Settle();
    const int afterAttach = guitars->count;
    EXPECT_EQ(1, afterAttach) << "attaching tells the listeners to read the list again";

    host.Guitar().SetGuitars({{"One", 100}, {"Two", 200}});
    sampler.SetParameter(3, 20);
    if (GetParam() == Notifier::Mode::Worker) {
        host.Notices().Flush();
        EXPECT_EQ(afterAttach, guitars->count) << "nothing reaches a listener off the window's thread";
        EXPECT_TRUE(pars->Seen().empty());
    }
    Settle();
    EXPECT_EQ(afterAttach + 1, guitars->count);
    EXPECT_EQ(std::vector<int>{3}, pars->Seen());

    // Notices still queued when the proxies attach again are dropped.
    ui.DropPosted();
    const bool worker = GetParam() == Notifier::Mode::Worker;
    host.Guitar().SetGuitars({{"Three", 300}});
    sampler.SetParameter(4, 20);
    host.Notices().Flush();
    ASSERT_TRUE(guitar.Attach(guitarEngine()));
    ASSERT_TRUE(sampler.Attach(samplerEngine()));
    ui.RunPosted();
    EXPECT_EQ(afterAttach + (worker ? 2 : 3), guitars->count) << "the re-attach's own notice, not the stale one";
    EXPECT_EQ(worker ? std::vector<int>{3} : (std::vector<int>{3, 4}), pars->Seen());

    guitar.RemoveGuitarListener(guitars.Get());
    sampler.RemoveParameterListener(pars.Get());
    guitar.Attach(nullptr);
    sampler.Attach(nullptr);
    EXPECT_EQ(0u, host.Guitar().ListenerCount());
    EXPECT_EQ(0u, host.Sampler().ListenerCount());
}

TEST_P(Proxies, AttachingToItselfOrAChainBackIsRefused) {
    RecordingSite otherSite(&ui); // a proxy of another view
    CVGuitar other(&otherSite);
    ASSERT_TRUE(other.Attach(&guitar));
    EXPECT_FALSE(guitar.Attach(&guitar));
    EXPECT_FALSE(guitar.Attach(&other));
    EXPECT_EQ(nullptr, guitar.Engine());
    CVSampler chained(&otherSite);
    ASSERT_TRUE(chained.Attach(&sampler));
    EXPECT_FALSE(sampler.Attach(&chained));
    EXPECT_FALSE(sampler.Attach(&sampler));
    EXPECT_EQ(0, chained.GetParameter(1)) << "a chain to a detached proxy answers the defaults";
    other.Attach(nullptr);
    chained.Attach(nullptr);
}

// An engine that fills the whole name record without a terminator.
struct Overlong : IGuitar {
    int GetGuitarCount() override { return 1; }
    void GetGuitarInfo(int, GuitarInfo* out) override {
        out->flags = 3;
        std::memset(out->name, 'n', sizeof out->name);
    }
    int GetCurrentGuitar() override { return 0; }
    void SelectGuitar(int) override {}
    void AddGuitarListener(Delegate*) override {}
    bool RemoveGuitarListener(Delegate*) override { return true; }
};

TEST_P(Proxies, GuitarNamesAlwaysEndInsideTheRecord) {
    Overlong engine;
    ASSERT_TRUE(guitar.Attach(&engine));
    GuitarInfo info;
    guitar.GetGuitarInfo(0, &info);
    EXPECT_EQ(3, info.flags);
    EXPECT_EQ(sizeof info.name - 1, std::strlen(info.name));

    // The substitute engine cuts long names to the capacity itself.
    ASSERT_TRUE(guitar.Attach(guitarEngine()));
    host.Guitar().SetGuitars({{std::string(400, 'g'), 10}, {"Short", 10}});
    guitar.GetGuitarInfo(0, &info);
    EXPECT_EQ(std::string(sizeof info.name - 1, 'g'), info.name);
    guitar.GetGuitarInfo(1, &info);
    EXPECT_STREQ("Short", info.name);
    guitar.GetGuitarInfo(2, &info);
    EXPECT_STREQ("", info.name) << "an index past the list names nothing";
    guitar.GetGuitarInfo(0, nullptr);
}

} // namespace
} // namespace Corvell
