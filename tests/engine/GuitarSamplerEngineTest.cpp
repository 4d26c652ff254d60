// The substitute engine's guitars and sample player, as the library sees
// them through the boundary interfaces.
#include "EngineModes.h"
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Substitute::SubstituteSampler;

// Records the identifiers it hears and the threads they came on.
struct Heard : CountedObject<Delegate1<int>> {
    void Invoke(int par) override {
        std::lock_guard<std::mutex> g(mutex);
        pars.push_back(par);
        threads.insert(std::this_thread::get_id());
    }
    std::vector<int> Pars() {
        std::lock_guard<std::mutex> g(mutex);
        return pars;
    }
    std::mutex mutex;
    std::vector<int> pars;
    std::set<std::thread::id> threads;
};

TEST(SubstituteSampler, EverySettingHasARangeHoldingItsDefaultAndWritesAreClamped) {
    SubstituteHost host;
    auto* sampler = static_cast<ISampler*>(host.GetInterface("ISampler"));
    ASSERT_NE(nullptr, sampler);
    for (int par = 0; par < SubstituteSampler::kSettings; ++par) {
        ParInfo info;
        ASSERT_TRUE(sampler->GetParameterInfo(par, &info)) << par;
        EXPECT_LE(info.minimum, info.defaultValue) << par;
        EXPECT_LE(info.defaultValue, info.maximum) << par;
        EXPECT_EQ(info.defaultValue, sampler->GetParameter(par)) << par;
        sampler->SetParameter(par, 30000);
        EXPECT_EQ(info.maximum, sampler->GetParameter(par)) << par;
        sampler->SetParameter(par, -30000);
        EXPECT_EQ(info.minimum, sampler->GetParameter(par)) << par;
    }
    ParInfo info;
    for (int par : {-1, 73, 256, 259})
        EXPECT_FALSE(sampler->GetParameterInfo(par, &info)) << par;
    EXPECT_FALSE(sampler->GetParameterInfo(0, nullptr));

    // Status values are the engine's to set.
    sampler->SetParameter(ISampler::MemoryMB, 5000);
    EXPECT_EQ(0, sampler->GetParameter(ISampler::MemoryMB));
}

TEST(SubstituteSampler, SwitchesAreKeptApartAndResetRestoresBoth) {
    SubstituteHost host;
    SubstituteSampler& sampler = host.Sampler();
    auto heard = Ref<Heard>(new Heard);
    sampler.AddParameterListener(heard.Get());
    struct Resets : CountedObject<Delegate> {
        void Invoke() override { ++count; }
        int count = 0;
    };
    auto resets = Ref<Resets>(new Resets);
    sampler.AddResetListener(resets.Get());

    for (int id : {10, 11, 12, 18, 20})
        EXPECT_TRUE(sampler.GetSwitch(id)) << id;
    EXPECT_FALSE(sampler.GetSwitch(43));
    sampler.SetSwitch(18, false);
    sampler.SetParameter(18, 80);
    EXPECT_FALSE(sampler.GetSwitch(18));
    EXPECT_EQ(80, sampler.GetParameter(18));
    EXPECT_EQ((std::vector<int>{18, 18}), heard->Pars()) << "switches notify with their id";
    sampler.ResetToDefaults();
    EXPECT_TRUE(sampler.GetSwitch(18));
    EXPECT_EQ(50, sampler.GetParameter(18));
    EXPECT_EQ(1, resets->count);
    EXPECT_TRUE(sampler.RemoveParameterListener(heard.Get()));
    EXPECT_TRUE(sampler.RemoveResetListener(resets.Get()));
    EXPECT_EQ(0u, sampler.ListenerCount());
}

struct Loads : ::testing::TestWithParam<Notifier::Mode> {};
TARROW_BOTH_ENGINE_MODES(Loads);

TEST_P(Loads, SelectingAGuitarLoadsItStepByStep) {
    SubstituteHost host(GetParam());
    auto* guitars = static_cast<IGuitar*>(host.GetInterface("IGuitar"));
    ASSERT_NE(nullptr, guitars);
    host.Guitar().SetGuitars({{"A", 300}, {"B", 2047}});
    auto heard = Ref<Heard>(new Heard);
    host.Sampler().AddParameterListener(heard.Get());

    guitars->SelectGuitar(5); // no such guitar
    guitars->SelectGuitar(-1);
    EXPECT_EQ(0, guitars->GetCurrentGuitar());
    EXPECT_FALSE(host.Sampler().IsLoading());

    guitars->SelectGuitar(1);
    EXPECT_EQ(1, guitars->GetCurrentGuitar()) << "the current guitar changes at once";
    EXPECT_EQ(0, host.Sampler().GetParameter(ISampler::LoadingProgress));
    int lastProgress = 0, lastMemory = 0;
    while (host.Sampler().StepLoad()) {
        const int progress = host.Sampler().GetParameter(ISampler::LoadingProgress);
        const int memory = host.Sampler().GetParameter(ISampler::MemoryMB);
        EXPECT_GT(progress, lastProgress);
        EXPECT_GE(memory, lastMemory);
        lastProgress = progress;
        lastMemory = memory;
    }
    EXPECT_EQ(1000, lastProgress);
    EXPECT_EQ(2047, lastMemory);
    EXPECT_EQ(0, host.Sampler().GetParameter(ISampler::Voices));
    host.Notices().Flush();
    const auto pars = heard->Pars();
    EXPECT_EQ(size_t(2 + 2 * SubstituteSampler::kLoadSteps), pars.size());
    if (GetParam() == Notifier::Mode::Worker) {
        EXPECT_EQ((std::set<std::thread::id>{host.Notices().WorkerId()}), heard->threads);
    }
    host.Sampler().RemoveParameterListener(heard.Get());
}

TEST_P(Loads, AtAPaceTheLoaderThreadStepsTheLoadToTheEnd) {
    SubstituteHost host(GetParam());
    host.Guitar().SetGuitars({{"A", 700}});
    auto heard = Ref<Heard>(new Heard);
    host.Sampler().AddParameterListener(heard.Get());
    host.Guitar().SetLoadPace(std::chrono::milliseconds(1));
    host.Guitar().SelectGuitar(0);
    // Waits for the loader's last notice, however slow the machine; nothing is timed.
    const size_t expected = 2 + 2 * SubstituteSampler::kLoadSteps;
    while (heard->Pars().size() < expected)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(host.Sampler().IsLoading());
    EXPECT_EQ(700, host.Sampler().GetParameter(ISampler::MemoryMB));
    {
        std::lock_guard<std::mutex> g(heard->mutex);
        if (GetParam() == Notifier::Mode::Worker)
            EXPECT_EQ((std::set<std::thread::id>{host.Notices().WorkerId()}), heard->threads);
        else
            EXPECT_EQ(2u, heard->threads.size()) << "the steps come from the loader thread, the start from the caller";
    }
    host.Sampler().RemoveParameterListener(heard.Get());
}

} // namespace
} // namespace Corvell
