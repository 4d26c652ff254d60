// The sample player's settings as bound controls reach them: reads and
// writes through the proxy, the information record, and the fan-out of
// notices to panels and to the listeners of one setting.
#include "EngineModes.h"
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "binding/SamplerController.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;

struct Recorder : SamplerUI {
    Recorder(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    void OnParameterChanged(int32_t id) override {
        log.push_back(name + " " + std::to_string(id));
        if (onChange)
            onChange();
    }
    void OnReset() override { log.push_back(name + " reset"); }
    std::vector<std::string>& log;
    std::string name;
    std::function<void()> onChange;
};

struct Site : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    ManualUiThread ui;
    RecordingSite proxySite{&ui};
    CVSampler sampler{&proxySite};
    std::unique_ptr<SamplerController> site{new SamplerController(&sampler)};
    std::vector<std::string> log;

    ISampler* engine() { return static_cast<ISampler*>(host.GetInterface("ISampler")); }
    void SetUp() override { proxySite.SetSampler(&sampler); }
    void TearDown() override {
        site.reset();
        sampler.Attach(nullptr);
    }
    void Settle() {
        host.Notices().Flush();
        ui.RunPosted();
    }
    Ref<Delegate> Listener(const std::string& name) {
        return Fn([this, name] { log.push_back(name); });
    }
};

TARROW_BOTH_ENGINE_MODES(Site);

using Fields = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;
Fields F(const ControlInfo& i) { return {i.kind, i.minimum, i.maximum, i.defaultValue, i.extra}; }

TEST_P(Site, ReadsTheProxyAndAnswersZeroWithoutAnEngine) {
    struct Case {
        int32_t id;
        ControlInfo attached; // what the substitute's ranges give
    };
    const Case cases[] = {
        {0, {2, -600, 60, 0, 0}},   // decibels below zero keep their sign
        {1, {2, -12, 12, 0, 0}},    // semitones
        {13, {2, 0, 100, 50, 0}},   // shown turned by the proxy: 100 - 50
        {43, {2, 0, 9, 4, 0}},
        {70, {2, 66, 143, 143, 0}},
        {999, {0, 0, 0, 0, 0}},     // not a setting: no information
    };
    for (const Case& c : cases) {
        ControlInfo info{9, 9, 9, 9, 9};
        site->GetInfo(c.id, &info);
        EXPECT_EQ(F(info), F(ControlInfo{})) << "detached, id " << c.id;
        EXPECT_EQ(site->GetValue(c.id), 0);
        EXPECT_FALSE(site->GetSwitch(c.id));
    }
    site->SetValue(0, -100);
    site->SetSwitch(10, false);
    site->BeginEdit(0);
    site->EndEdit(0);

    ASSERT_TRUE(sampler.Attach(engine()));
    EXPECT_EQ(host.Log().Count("ISampler", "SetParameter"), 0u) << "writes without an engine are dropped";
    EXPECT_EQ(host.Log().Count("ISampler", "SetSwitch"), 0u);
    EXPECT_EQ(host.Log().Count("ISampler", "TouchParameter"), 0u);
    for (const Case& c : cases) {
        ControlInfo info;
        site->GetInfo(c.id, &info);
        EXPECT_EQ(F(info), F(c.attached)) << "id " << c.id;
    }
    EXPECT_EQ(site->GetValue(0), 0);
    EXPECT_EQ(site->GetValue(10), -60);
    EXPECT_TRUE(site->GetSwitch(10));
    EXPECT_FALSE(site->GetSwitch(43));
}

TEST_P(Site, WritesReachTheEngine) {
    ASSERT_TRUE(sampler.Attach(engine()));
    site->BeginEdit(0);
    EXPECT_EQ(host.Sampler().GestureDepth(0), 1);
    site->SetValue(0, -120);
    site->EndEdit(0);
    EXPECT_EQ(host.Sampler().GestureDepth(0), 0);
    EXPECT_EQ(host.Sampler().GetParameter(0), -120);
    EXPECT_EQ(site->GetValue(0), -120);

    site->SetSwitch(43, true);
    EXPECT_TRUE(host.Sampler().GetSwitch(43));
    EXPECT_EQ(host.Sampler().GetParameter(43), 4) << "a switch leaves the value of its number alone";

    site->SetValue(13, 30); // the proxy turns 13
    EXPECT_EQ(host.Sampler().GetParameter(13), 70);
    EXPECT_EQ(site->GetValue(13), 30);
}

TEST_P(Site, PanelsHearAChangeBeforeTheListenersOfThatSetting) {
    Recorder a(log, "panel a"), b(log, "panel b");
    site->AddObserver(&a);
    site->AddObserver(&b);
    site->AddObserver(&a); // once is enough
    Ref<Delegate> ten = Listener("listener 10"), eleven = Listener("listener 11");
    site->AddListener(10, ten.Get());
    site->AddListener(11, eleven.Get());
    ASSERT_TRUE(sampler.Attach(engine()));
    Settle();
    log.clear();

    engine()->SetParameter(10, -200);
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"panel a 10", "panel b 10", "listener 10"}));

    log.clear();
    engine()->ResetToDefaults();
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"panel a reset", "panel b reset", "listener 10", "listener 11"}));

    log.clear();
    site->RemoveListener(10, ten.Get());
    site->RemoveObserver(&a);
    engine()->SetParameter(10, -100);
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"panel b 10"}));
}

TEST_P(Site, WhoeverLeavesDuringANoticeIsNotToldAndTheControllerMayGo) {
    Recorder a(log, "a"), b(log, "b");
    Ref<Delegate> listener = Listener("listener");
    a.onChange = [&] {
        site->RemoveObserver(&b);
        site->RemoveListener(5, listener.Get());
    };
    site->AddObserver(&a);
    site->AddObserver(&b);
    site->AddListener(5, listener.Get());
    site->OnParameter(5);
    EXPECT_EQ(log, (std::vector<std::string>{"a 5"}));

    // A panel that closes the view mid-notice: nothing after it is touched.
    log.clear();
    site->AddObserver(&b);
    site->AddListener(5, listener.Get());
    a.onChange = [&] { site.reset(); };
    ASSERT_TRUE(sampler.Attach(engine()));
    Settle();
    log.clear();
    engine()->SetParameter(5, 80);
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"a 5"}));
    EXPECT_EQ(site, nullptr);
    engine()->SetParameter(5, 90); // the proxy's list no longer holds it
    Settle();
    EXPECT_EQ(log.size(), 1u);
}

} // namespace
} // namespace Corvell
