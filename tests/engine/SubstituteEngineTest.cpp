#include "ProxyFixtures.h"
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>

namespace Corvell {
namespace {

using namespace test;
using Substitute::SubstituteHost;
using Substitute::SubstituteRnC;

struct Engine : ::testing::Test {
    SubstituteHost host;
    SubstituteRnC& rnc = host.RnC();
    std::string Temp(const char* name) { return std::string(TARROW_BINARY_DIR) + "/" + name; }
};

TEST_F(Engine, HostServesNamesByteForByteAndWithholdsOnRequest) {
    EXPECT_EQ(static_cast<IRnC*>(&rnc), host.GetInterface("IRnC"));
    EXPECT_EQ(nullptr, host.GetInterface("irnc"));
    EXPECT_EQ(nullptr, host.GetInterface(nullptr));
    host.Withhold("IRnC");
    EXPECT_EQ(nullptr, host.GetInterface("IRnC"));
    host.Withhold("IRnC", false);
    EXPECT_NE(nullptr, host.GetInterface("IRnC"));
    EXPECT_EQ(5u, host.Log().Count("ICorvellHost", "GetInterface"));
}

TEST_F(Engine, ParametersClampToTheirRangesAndResetRestoresDefaults) {
    struct Case {
        ERnCPars par;
        int written, stored;
    } cases[] = {
        {rncStrumTime, 5, 20},       {rncStrumTime, 99, 60}, {rncPickPosition, -9, -7},
        {rncPickPosition, 3, 3},     {rncKeyboardLow, 0, 24}, {static_cast<ERnCPars>(2), 500, 127},
        {rncPlayMode, INT_MIN, 1},
    };
    for (const auto& c : cases) {
        rnc.SetParameter(c.par, c.written);
        EXPECT_EQ(c.stored, rnc.GetParameter(c.par)) << "par " << c.par << " <- " << c.written;
    }
    // Outside 0..97: ignored, neutral answers.
    rnc.SetParameter(static_cast<ERnCPars>(98), 1);
    rnc.SetParameter(static_cast<ERnCPars>(-1), 1);
    EXPECT_EQ(0, rnc.GetParameter(static_cast<ERnCPars>(98)));

    auto resets = Ref<Counter>(new Counter);
    auto fx = Ref<Collector<IRnC::FxListenerArgs>>(new Collector<IRnC::FxListenerArgs>);
    auto playback = Ref<Collector<SPlaybackEvent>>(new Collector<SPlaybackEvent>);
    rnc.AddResetListener(resets.Get());
    rnc.AddFxListener(fx.Get());
    rnc.AddPlaybackListener(playback.Get());
    rnc.ResetToDefaults();
    EXPECT_EQ(30, rnc.GetParameter(rncStrumTime));
    EXPECT_EQ(1, resets->count);
    ASSERT_EQ(1u, fx->Seen().size());
    EXPECT_EQ((IRnC::FxListenerArgs{INT_MAX, false, true}), fx->Seen()[0]);
    ASSERT_EQ(1u, playback->Seen().size());
    EXPECT_EQ(255u, playback->Seen()[0].Kind());
    rnc.RemoveResetListener(resets.Get());
    rnc.RemoveFxListener(fx.Get());
    rnc.RemovePlaybackListener(playback.Get());
}

TEST_F(Engine, EffectArgumentsOutOfRangeGetNeutralAnswers) {
    for (int slot : {-1, 37, 71, 87, INT_MAX}) {
        rnc.SetFxOn(slot, true);
        rnc.SetFxValue(slot, 0, 5);
        EXPECT_FALSE(rnc.IsFxOn(slot)) << slot;
        EXPECT_EQ(-1, rnc.GetFxType(slot)) << slot;
        EXPECT_EQ(0, rnc.GetFxValue(slot, 0)) << slot;
        EXPECT_EQ(-1, rnc.GetFxInfo(slot, 3, nullptr)) << slot;
    }
    for (int type : {-1, 39, 1000}) {
        rnc.SetTypedFxOn(type, true);
        EXPECT_FALSE(rnc.IsTypedFxOn(type));
    }
    rnc.SetFxValue(3, 2, 1); // index out of range
    EXPECT_EQ(0, rnc.GetFxValue(3, 2));
}

TEST_F(Engine, KeySwitchKeysFollowParameter82) {
    EXPECT_EQ(8, rnc.GetKeyFunction(24));
    EXPECT_EQ(8, rnc.GetKeyFunction(39));
    EXPECT_EQ(0, rnc.GetKeyFunction(40));
    EXPECT_EQ(8, rnc.GetKeyFunction(100));
    rnc.SetParameter(rncKeySwitchReduce, 4);
    EXPECT_EQ(0, rnc.GetKeyFunction(36));
    EXPECT_EQ(8, rnc.GetKeyFunction(35));
}

TEST_F(Engine, KeyboardNotesComeBackAsBalancedKeyAndFretEvents) {
    auto playback = Ref<Collector<SPlaybackEvent>>(new Collector<SPlaybackEvent>);
    rnc.AddPlaybackListener(playback.Get());
    rnc.SendKeyboardNote(true, 64);
    rnc.SendKeyboardNote(false, 64);
    rnc.PlayFretNote(static_cast<int>(SPlaybackEvent::Make(1, 2, 5, 100).bits));
    auto seen = playback->Seen();
    ASSERT_EQ(5u, seen.size());
    EXPECT_EQ(11u, seen[0].Kind());
    EXPECT_EQ(64u, seen[0].StringOrNote());
    EXPECT_EQ(1u, seen[1].Kind());
    EXPECT_EQ(10u, seen[2].Kind());
    EXPECT_EQ(0u, seen[3].Kind());
    EXPECT_EQ((SPlaybackEvent::Make(1, 2, 5, 100)), seen[4]) << "a fret note gives no key event";
    rnc.RemovePlaybackListener(playback.Get());
}

TEST_F(Engine, SettingsFileRoundTripsAndADamagedOneChangesNothing) {
    const std::string path = Temp("engine-settings.kvsong");
    rnc.SetParameter(rncCapo, 7);
    rnc.SetFxType(4, 12);
    rnc.SetFxOn(4, true);
    rnc.SetOutputSetting(2, 5);
    rnc.SaveSettingsFile(path.c_str());
    rnc.ResetToDefaults();
    rnc.SetOutputSetting(2, 0);
    EXPECT_EQ(0, rnc.GetParameter(rncCapo));

    auto messages = Ref<Collector<const char*>>(new Collector<const char*>);
    rnc.AddMessageListener(messages.Get());
    rnc.LoadSettingsFile(path.c_str());
    EXPECT_EQ(7, rnc.GetParameter(rncCapo));
    EXPECT_EQ(12, rnc.GetFxType(4));
    EXPECT_TRUE(rnc.IsFxOn(4));
    EXPECT_EQ(5, rnc.GetOutputSetting(2));
    EXPECT_TRUE(messages->Seen().empty());

    // Truncate the file in the middle of a line: nothing may change.
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text.substr(0, text.size() / 2) << "slot 3 x";
    }
    rnc.SetParameter(rncCapo, 2);
    rnc.LoadSettingsFile(path.c_str());
    EXPECT_EQ(2, rnc.GetParameter(rncCapo));
    rnc.LoadSettingsFile(Temp("no-such-file").c_str());
    EXPECT_EQ(2u, messages->Seen().size()) << "each failure is reported";
    rnc.RemoveMessageListener(messages.Get());
    std::remove(path.c_str());
}

// A listener that removes itself, and one that removes the next one, during
// the same notice: the removed one is skipped, nobody else is.
struct SelfRemover : CountedObject<Delegate1<ERnCPars>> {
    SelfRemover(IRnC* r, Delegate1<ERnCPars>* v) : rnc(r), victim(v) {}
    void Invoke(ERnCPars) override {
        ++calls;
        rnc->RemoveParameterListener(this);
        if (victim)
            rnc->RemoveParameterListener(victim);
    }
    IRnC* rnc;
    Delegate1<ERnCPars>* victim;
    int calls = 0;
};

TEST_F(Engine, ListenersMayRemoveThemselvesAndOthersDuringANotice) {
    auto last = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    auto victim = Ref<Collector<ERnCPars>>(new Collector<ERnCPars>);
    auto remover = Ref<SelfRemover>(new SelfRemover(&rnc, victim.Get()));
    rnc.AddParameterListener(remover.Get());
    rnc.AddParameterListener(victim.Get());
    rnc.AddParameterListener(last.Get());
    rnc.SetParameter(rncCapo, 1);
    rnc.SetParameter(rncCapo, 2);
    EXPECT_EQ(1, remover->calls);
    EXPECT_TRUE(victim->Seen().empty());
    EXPECT_EQ(2u, last->Seen().size());
    rnc.RemoveParameterListener(last.Get());
}

} // namespace
} // namespace Corvell
