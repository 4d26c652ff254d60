// The macromode strip and containers of the view: what the engine's state
// shows, and what a click on a slice writes.
#include "EngineModes.h"
#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "view/RorezoZavu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

struct Macromodes : ::testing::TestWithParam<Notifier::Mode> {
    ::Corvell::Test::TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    SubstituteHost host{GetParam()};
    TestRootPane root;
    std::unique_ptr<RorezoZavu> view{new RorezoZavu};

    void SetUp() override {
        root.AddChild(view.get());
        ASSERT_TRUE(view->AttachHost(&host));
        Settle();
    }
    void TearDown() override { view.reset(); }
    void Settle() {
        host.Notices().Flush();
        root.PumpMessages();
    }
    // The one container shown, or -1.
    int Shown() {
        int shown = -1;
        for (int m = 0; m < RorezoZavu::kMacromodes; ++m)
            if (view->Container(m) && view->Container(m)->IsVisible()) {
                EXPECT_EQ(-1, shown) << "two containers shown";
                shown = m;
            }
        return shown;
    }
    void ClickSlice(int i) {
        const Point o = view->Macromodes()->GetButton(i)->GetAbsoluteOrigin();
        root.Click(o.x + 40, o.y + 10);
        Settle();
    }
};

TARROW_BOTH_ENGINE_MODES(Macromodes);

TEST_P(Macromodes, TheEnginesStateChoosesTheMacromodeAndItsContainer) {
    struct Case {
        int playMode, pattern;
        int macromode;
    };
    const Case cases[] = {
        {1, 0, RorezoZavu::kMidi},   {5, 0, RorezoZavu::kMidi},    {3, 1, RorezoZavu::kPattern},
        {6, 0, RorezoZavu::kDirect}, {6, 1, RorezoZavu::kDirect}, // Direct wins over Pattern
        {9, 0, RorezoZavu::kGuitar}, {9, 1, RorezoZavu::kGuitar},  {7, 0, RorezoZavu::kMidi},
        {8, 1, RorezoZavu::kPattern}, {10, 0, RorezoZavu::kMidi},  {2, 0, RorezoZavu::kMidi},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("play mode " + std::to_string(c.playMode) + ", pattern " + std::to_string(c.pattern));
        host.RnC().EngineSetParameter(rncPatternMode, c.pattern);
        host.RnC().EngineSetParameter(rncPlayMode, c.playMode);
        Settle();
        EXPECT_EQ(c.macromode, view->GetMacromode());
        EXPECT_EQ(c.macromode, view->Macromodes()->GetSelected());
        EXPECT_EQ(c.macromode, Shown());
        for (int i = 0; i < RorezoZavu::kMacromodes; ++i)
            EXPECT_EQ(i == c.macromode, view->Macromodes()->GetButton(i)->IsOn()) << i;
    }
}

TEST_P(Macromodes, NoticesShowTheStateAndWriteNothing) {
    host.Log().Clear();
    host.RnC().EngineSetParameter(rncPatternMode, 1);
    host.RnC().EngineSetParameter(rncPlayMode, 7);
    host.RnC().ResetToDefaults();
    Settle();
    EXPECT_EQ(0u, host.Log().Count("IRnC", "SetParameter")) << "showing the engine's state changes nothing in it";
}

TEST_P(Macromodes, ClickingASliceTellsTheEngineAndTheViewFollows) {
    host.RnC().EngineSetParameter(rncPlayMode, 3);
    Settle();
    struct Case {
        int slice;
        std::vector<std::pair<long long, long long>> writes; // (parameter, value), in order
        int playMode;
    };
    // The engine remembers the last sequencer play mode (3) in knob 4.
    const Case cases[] = {
        {RorezoZavu::kPattern, {{rncPlayMode, 3}, {rncPatternMode, 1}}, 3},
        {RorezoZavu::kDirect, {{rncPlayMode, 6}, {rncPatternMode, 0}}, 6},
        {RorezoZavu::kGuitar, {{rncPlayMode, 9}, {rncPatternMode, 0}}, 9},
        {RorezoZavu::kMidi, {{rncPlayMode, 3}, {rncPatternMode, 0}}, 3}, // back to the remembered one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slice);
        host.Log().Clear();
        ClickSlice(c.slice);
        std::vector<std::pair<long long, long long>> writes;
        for (const auto& call : host.Log().Calls("IRnC", "SetParameter"))
            writes.emplace_back(call.args[0], call.args[1]);
        EXPECT_EQ(c.writes, writes);
        EXPECT_EQ(c.playMode, host.RnC().GetParameter(rncPlayMode));
        EXPECT_EQ(c.slice, view->Macromodes()->GetSelected());
    }
    EXPECT_EQ(3, host.Knobs().GetKnob(GuitarUI::Knobs::LastSequencerMode));

    // The joystick: the game-controller view is switched on, and off again
    // by the next choice.
    ClickSlice(RorezoZavu::kJoystick);
    EXPECT_EQ(1, host.GameControllerPars().GetParameter(0));
    EXPECT_EQ(RorezoZavu::kJoystick, view->Macromodes()->GetSelected());
    EXPECT_EQ(RorezoZavu::kJoystick, Shown());
    ClickSlice(RorezoZavu::kPattern);
    EXPECT_EQ(0, host.GameControllerPars().GetParameter(0));
    EXPECT_EQ(RorezoZavu::kPattern, Shown());
}

TEST_P(Macromodes, TheGameControllerSwitchFromTheEngineWinsOverEverything) {
    host.RnC().EngineSetParameter(rncPlayMode, 6);
    Settle();
    std::thread device([&] { host.GameControllerPars().EngineSetParameter(0, 1); });
    device.join();
    Settle();
    EXPECT_EQ(RorezoZavu::kJoystick, view->GetMacromode());
    EXPECT_EQ(RorezoZavu::kJoystick, Shown());
    host.GameControllerPars().EngineSetParameter(0, 0);
    Settle();
    EXPECT_EQ(RorezoZavu::kDirect, Shown());
    view.reset();
    EXPECT_EQ(0u, host.GameControllerPars().ListenerCount()) << "the view leaves the engine's list";
}

TEST(MacromodesWithoutKnobs, MidiWithoutARememberedPlayModeOnlyLeavesPattern) {
    SubstituteHost host;
    host.Withhold("GuitarUI::Knobs");
    TestRootPane root;
    RorezoZavu view;
    root.AddChild(&view);
    ASSERT_TRUE(view.AttachHost(&host));
    host.RnC().EngineSetParameter(rncPlayMode, 9);
    host.Log().Clear();
    view.OnMacromodeSelection(RorezoZavu::kMidi);
    std::vector<std::pair<long long, long long>> writes;
    for (const auto& call : host.Log().Calls("IRnC", "SetParameter"))
        writes.emplace_back(call.args[0], call.args[1]);
    EXPECT_EQ((std::vector<std::pair<long long, long long>>{{rncPatternMode, 0}}), writes);
    EXPECT_EQ(RorezoZavu::kGuitar, view.Macromodes()->GetSelected()) << "the play mode is still the MIDI guitar's";
}

TEST_P(Macromodes, TheMidiGuitarContainerComesAndGoesWithItsMacromode) {
    for (int round = 0; round < 3; ++round) {
        host.RnC().EngineSetParameter(rncPlayMode, 9);
        Settle();
        ASSERT_NE(nullptr, view->Container(RorezoZavu::kGuitar));
        EXPECT_EQ((Rect{0, 292, 800, 291}), view->Container(RorezoZavu::kGuitar)->GetBounds());
        host.RnC().EngineSetParameter(rncPlayMode, 1);
        Settle();
        EXPECT_EQ(nullptr, view->Container(RorezoZavu::kGuitar));
        EXPECT_EQ(RorezoZavu::kMidi, Shown());
    }
    EXPECT_EQ((Rect{0, 292, 800, 210}), view->Container(RorezoZavu::kMidi)->GetBounds());
    EXPECT_EQ((Rect{7, 258, 786, 34}), view->Macromodes()->GetBounds());
    EXPECT_EQ(158, view->Macromodes()->GetButton(4)->GetBounds().width) << "the last slice takes the rest";
    EXPECT_EQ(157, view->Macromodes()->GetButton(0)->GetBounds().width);
}

TEST_P(Macromodes, AutoIsOfferedInSoloIntervalAndMidiGuitarOnly) {
    const std::pair<int, bool> cases[] = {{1, true},  {2, true},  {3, false}, {4, false}, {5, false},
                                          {6, false}, {7, false}, {8, false}, {9, true},  {10, false}};
    for (const auto& [mode, offered] : cases) {
        SCOPED_TRACE(mode);
        host.RnC().EngineSetParameter(rncPlayMode, 1);
        host.RnC().EngineSetParameter(rncAutoFretPosition, 1);
        Settle();
        EXPECT_TRUE(view->AutoButton()->IsOn());
        host.RnC().EngineSetParameter(rncPlayMode, mode);
        Settle();
        EXPECT_EQ(offered, view->AutoButton()->IsEnabled());
        EXPECT_EQ(offered, view->AutoButton()->IsOn()) << "switched off where it is not offered";
        EXPECT_EQ(offered ? 1 : 0, host.RnC().GetParameter(rncAutoFretPosition));
    }
    host.RnC().EngineSetParameter(rncPlayMode, 2);
    host.RnC().EngineSetParameter(rncAutoFretPosition, 0);
    Settle();
    host.Log().Clear();
    const Point o = view->AutoButton()->GetAbsoluteOrigin();
    root.Click(o.x + 10, o.y + 10);
    Settle();
    EXPECT_EQ(1, host.RnC().GetParameter(rncAutoFretPosition));
    EXPECT_TRUE(view->AutoButton()->IsOn());
}

TEST_P(Macromodes, HoldShowsAndWritesTheHoldOfTheMode) {
    struct Case {
        int mode, silent;
        ERnCPars shown;
    };
    const Case cases[] = {{1, 0, rncSoloHold}, {1, 1, rncHold}, {3, 0, rncHold}, {3, 1, rncHold}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.silent));
        host.RnC().EngineSetParameter(rncPlayMode, c.mode);
        host.RnC().EngineSetParameter(RorezoZavu::kSilentMode, c.silent);
        host.RnC().EngineSetParameter(rncHold, c.shown == rncHold ? 1 : 0);
        host.RnC().EngineSetParameter(rncSoloHold, c.shown == rncSoloHold ? 1 : 0);
        Settle();
        EXPECT_EQ(c.shown, view->HoldParameter());
        EXPECT_TRUE(view->HoldButton()->IsOn());
        // The other one changing leaves HOLD alone; silent mode switching
        // over shows the other at once.
        host.RnC().EngineSetParameter(c.shown == rncHold ? rncSoloHold : rncHold, 0);
        Settle();
        EXPECT_TRUE(view->HoldButton()->IsOn());
        host.Log().Clear();
        const Point o = view->HoldButton()->GetAbsoluteOrigin();
        root.Click(o.x + 10, o.y + 10);
        Settle();
        EXPECT_EQ(0, host.RnC().GetParameter(c.shown)) << "the click writes the shown one";
        EXPECT_FALSE(view->HoldButton()->IsOn());
    }
    host.RnC().EngineSetParameter(rncPlayMode, 1);
    host.RnC().EngineSetParameter(RorezoZavu::kSilentMode, 1);
    host.RnC().EngineSetParameter(rncHold, 1);
    host.RnC().EngineSetParameter(rncSoloHold, 0);
    Settle();
    EXPECT_TRUE(view->HoldButton()->IsOn());
    host.RnC().EngineSetParameter(RorezoZavu::kSilentMode, 0); // now the solo hold counts
    Settle();
    EXPECT_FALSE(view->HoldButton()->IsOn()) << "no stale HOLD after silent mode changed";
}

TEST_P(Macromodes, ThePickPositionSliderFollowsItsParameter) {
    HSlider3* slider = view->PickPosition();
    EXPECT_EQ((Rect{691, 165, 100, 24}), slider->GetBounds());
    EXPECT_EQ(-7, slider->GetMinimum());
    EXPECT_EQ(7, slider->GetMaximum());
    host.RnC().EngineSetParameter(rncPickPosition, 4);
    Settle();
    EXPECT_EQ(4, slider->GetValue());
    host.Log().Clear();
    const Point o = slider->GetAbsoluteOrigin();
    root.Drag(o.x + slider->PositionOf(4), o.y + 12, o.x + 5, o.y + 12);
    Settle();
    EXPECT_EQ(0, host.RnC().GestureDepth(rncPickPosition));
    EXPECT_EQ(host.RnC().GetParameter(rncPickPosition), slider->GetValue());
    EXPECT_LT(slider->GetValue(), 4);
    EXPECT_GE(host.Log().Count("IRnC", "SetParameter"), 1u);
}

TEST_P(Macromodes, ThePlayModePressesItsTabAndShowsItsPage) {
    struct Case {
        int playMode, pattern;
        int container; // whose tabs show it
        int page;      // -1: none
    };
    const Case cases[] = {
        {1, 0, RorezoZavu::kMidi, 0},    {3, 0, RorezoZavu::kMidi, 2},    {5, 0, RorezoZavu::kMidi, 4},
        {7, 0, RorezoZavu::kMidi, -1},   {10, 0, RorezoZavu::kMidi, -1},  {2, 1, RorezoZavu::kPattern, 1},
        {8, 1, RorezoZavu::kPattern, -1}, {6, 0, RorezoZavu::kDirect, 0}, {9, 0, RorezoZavu::kGuitar, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.playMode) + "/" + std::to_string(c.pattern));
        host.RnC().EngineSetParameter(rncPatternMode, c.pattern);
        host.RnC().EngineSetParameter(rncPlayMode, c.playMode);
        Settle();
        PageContainer* pages = view->Pages(c.container);
        ASSERT_NE(nullptr, pages);
        EXPECT_TRUE(pages->IsVisible());
        EXPECT_EQ(c.page, pages->GetSelected());
        for (int i = 0; i < pages->GetCount(); ++i) {
            EXPECT_EQ(i == c.page, pages->Tab(i)->IsOn()) << i;
            EXPECT_EQ(i == c.page, pages->Slot(i)->IsVisible()) << i;
        }
    }
}

TEST_P(Macromodes, ATabClickWritesItsPlayModeInOneEditAndTheEnginesChangesWriteNothing) {
    host.RnC().EngineSetParameter(rncPlayMode, 1);
    Settle();
    PageContainer* pages = view->Pages(RorezoZavu::kMidi);
    const std::pair<int, int> clicks[] = {{2, 3}, {4, 5}, {1, 2}, {0, 1}};
    for (const auto& [tab, mode] : clicks) {
        SCOPED_TRACE(tab);
        host.Log().Clear();
        const Point o = pages->Tab(tab)->GetAbsoluteOrigin();
        root.Click(o.x + 60, o.y + 15);
        Settle();
        std::vector<std::string> calls;
        for (const auto& c : host.Log().Calls())
            if (c.iface == "IRnC" && (c.op == "SetParameter" || c.op == "TouchParameter") && c.args[0] == rncPlayMode)
                calls.push_back(c.op + " " + std::to_string(c.args[1]));
        EXPECT_EQ((std::vector<std::string>{"TouchParameter 1", "SetParameter " + std::to_string(mode),
                                            "TouchParameter 0"}),
                  calls);
        EXPECT_EQ(tab, pages->GetSelected());
        EXPECT_TRUE(pages->Tab(tab)->IsOn());
    }
    // The engine moves from 1 to 3: releasing tab 0 writes nothing back.
    host.Log().Clear();
    host.RnC().EngineSetParameter(rncPlayMode, 3);
    Settle();
    EXPECT_EQ(0u, host.Log().Count("IRnC", "SetParameter"));
    EXPECT_EQ(3, host.RnC().GetParameter(rncPlayMode));
    EXPECT_EQ(2, pages->GetSelected());
}

TEST(MacromodesWithoutEngine, TheViewShowsMidiAndClicksWriteNothing) {
    TestRootPane root;
    RorezoZavu view;
    root.AddChild(&view);
    EXPECT_EQ(RorezoZavu::kMidi, view.GetMacromode());
    EXPECT_EQ(RorezoZavu::kMidi, view.Macromodes()->GetSelected());
    const Point o = view.Macromodes()->GetButton(4)->GetAbsoluteOrigin();
    root.Click(o.x + 40, o.y + 10); // nothing to tell, no crash
    root.PumpMessages();
    EXPECT_EQ(RorezoZavu::kMidi, view.Macromodes()->GetSelected());
    view.SelectMacromode(17);
    EXPECT_EQ(-1, view.Macromodes()->GetSelected()) << "out of range selects none";
}

} // namespace
} // namespace Corvell
