// Controls bound to play parameters, and the engine's messages on screen,
// with the RnC proxy over the substitute engine in both notice modes.
#include "EngineModes.h"
#include "ProxyFixtures.h"
#include "SubstituteHost.h"
#include "TestRootPane.h"
#include "binding/CVRnC.h"
#include "binding/ParameterControllers.h"
#include "binding/StrokeNotifier.h"
#include "ui/HSlider.h"
#include "ui/ToggleButton.h"
#include "ui/TooltipViewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace Corvell {
namespace {

using namespace test;
using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

std::string Text(const String& s) { return s.c_str(); }

// The pattern latch: a plain 0..1 parameter that a toggle shows.
constexpr ERnCPars kLatch = static_cast<ERnCPars>(32);

// The proxy as the view has it: notices reach the owner's controller list
// on the window's thread.
struct Bound : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    ManualUiThread ui;
    RecordingSite site{&ui};
    CVRnC rnc{&site};
    TestRootPane root;
    ParameterControllerList controllers;

    struct FanOut : CountedObject<Delegate1<ERnCPars>> {
        explicit FanOut(Bound* t) : test(t) {}
        void Invoke(ERnCPars par) override { test->controllers.Update(&test->rnc, par); }
        Bound* test;
    };
    Ref<FanOut> fanOut{new FanOut(this)};

    void SetUp() override {
        site.SetRnC(&rnc);
        rnc.AddParameterListener(fanOut.Get());
        ASSERT_TRUE(rnc.Attach(static_cast<IRnC*>(host.GetInterface("IRnC"))));
        Settle();
    }
    void TearDown() override {
        controllers.Clear();
        rnc.RemoveParameterListener(fanOut.Get());
        rnc.Attach(nullptr);
    }
    void Settle() {
        host.Notices().Flush();
        ui.RunPosted();
    }
    // The engine's record of one parameter's writes and gestures, in order.
    std::vector<std::string> Writes(ERnCPars par) {
        std::vector<std::string> out;
        for (const auto& c : host.Log().Calls()) {
            if (c.iface != "IRnC" || c.args.empty() || c.args[0] != par)
                continue;
            if (c.op == "TouchParameter")
                out.push_back(c.args[1] ? "begin" : "end");
            else if (c.op == "SetParameter")
                out.push_back("set " + std::to_string(c.args[1]));
        }
        return out;
    }
};

TARROW_BOTH_ENGINE_MODES(Bound);

TEST_P(Bound, AToggleShowsAnyNonZeroValueAsOnAndAClickWritesTheOpposite) {
    host.RnC().EngineSetParameter(kLatch, 5);
    Settle();
    ToggleButton toggle;
    toggle.Create(&root, Rect{10, 10, 50, 27});
    controllers.Add(Ref<IRnCParameterController>(new ToggleController_for_IRnC(&rnc, kLatch, &toggle)));
    EXPECT_TRUE(toggle.IsOn()) << "5 shows on";

    host.Log().Clear();
    root.Click(20, 20);
    Settle();
    EXPECT_EQ((std::vector<std::string>{"begin", "set 0", "end"}), Writes(kLatch));
    EXPECT_FALSE(toggle.IsOn()) << "the engine's answer came back";
    root.Click(20, 20);
    Settle();
    EXPECT_EQ(1, rnc.GetParameter(kLatch));
    EXPECT_TRUE(toggle.IsOn());

    // The engine changes it from its own thread.
    std::thread engine([&] { host.RnC().EngineSetParameter(kLatch, 0); });
    engine.join();
    Settle();
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(0, host.RnC().GestureDepth(kLatch));
}

TEST_P(Bound, ARangeControllerShowsWhatTheEngineHoldsNotWhatUpdateWasGiven) {
    HSlider slider;
    slider.Create(&root, Rect{0, 100, 200, 21});
    slider.SetRange(-7, 7);
    host.RnC().EngineSetParameter(rncPickPosition, 3);
    Settle();
    auto c = RangeController_for_IRnC::Bind(&rnc, rncPickPosition, &slider);
    controllers.Add(c);
    EXPECT_EQ(3, slider.GetValue());
    EXPECT_EQ(host.RnC().GetParameterDefault(rncPickPosition), slider.GetDefault());

    c->Update(rncPickPosition, -6);
    EXPECT_EQ(3, slider.GetValue()) << "Update asks the engine again";
    host.RnC().EngineSetParameter(rncPickPosition, -2);
    Settle();
    EXPECT_EQ(-2, slider.GetValue()) << "the engine's change reaches the slider";

    // A drag writes inside one gesture and ends it.
    host.Log().Clear();
    root.Drag(100, 110, 190, 110);
    Settle();
    const auto writes = Writes(rncPickPosition);
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ("begin", writes.front());
    EXPECT_EQ("end", writes.back());
    EXPECT_EQ(0, host.RnC().GestureDepth(rncPickPosition));
    EXPECT_EQ(rnc.GetParameter(rncPickPosition), slider.GetValue());
    EXPECT_GT(slider.GetValue(), -2);
}

TEST_P(Bound, ADroppedControllerLeavesItsPaneAndAGoneGestureIsClosed) {
    ToggleButton toggle;
    toggle.Create(&root, Rect{10, 10, 50, 27});
    Ref<IRnCParameterController> toggleController(new ToggleController_for_IRnC(&rnc, rncHold, &toggle));
    controllers.Add(toggleController);
    controllers.Remove(toggleController.Get());
    toggleController = nullptr; // the owner's last reference
    host.Log().Clear();
    root.Click(20, 20); // ASan: no call into the freed controller
    EXPECT_TRUE(Writes(rncHold).empty());
    EXPECT_EQ(nullptr, toggle.GetPressObserver());

    // The slider goes mid-drag; the gesture does not stay open.
    auto* slider = new HSlider;
    slider->Create(&root, Rect{0, 100, 200, 21});
    slider->SetRange(-7, 7);
    controllers.Add(RangeController_for_IRnC::Bind(&rnc, rncPickPosition, slider));
    root.Press(100, 110);
    root.MoveTo(150, 110);
    EXPECT_EQ(1, host.RnC().GestureDepth(rncPickPosition));
    delete slider;
    root.Release(150, 110);
    Settle();
    controllers.Update(&rnc, rncPickPosition); // the pane is gone: nothing to show
    controllers.Clear();
    EXPECT_EQ(0, host.RnC().GestureDepth(rncPickPosition));
}

TEST_P(Bound, AControllerThatDropsAnotherDuringTheFanOutSkipsIt) {
    struct Dropper : CountedObject<IRnCParameterController> {
        Dropper(ParameterControllerList& l, ERnCPars p) : CountedObject<IRnCParameterController>(p), list(l) {}
        void Update(ERnCPars, int) override {
            ++updates;
            if (victim)
                list.Remove(victim);
            victim = nullptr;
        }
        ParameterControllerList& list;
        IRnCParameterController* victim = nullptr;
        int updates = 0;
    };
    auto first = Ref<Dropper>(new Dropper(controllers, rncCapo));
    auto second = Ref<Dropper>(new Dropper(controllers, rncCapo));
    auto other = Ref<Dropper>(new Dropper(controllers, rncStrumTime));
    first->victim = second.Get();
    controllers.Add(first);
    controllers.Add(second);
    controllers.Add(other);
    controllers.Update(&rnc, rncCapo);
    EXPECT_EQ(1, first->updates);
    EXPECT_EQ(0, second->updates) << "removed before its turn";
    EXPECT_EQ(0, other->updates) << "another parameter";
    EXPECT_EQ(2u, controllers.Count());
}

TEST_P(Bound, APressObserverBracketsAButtonPressInAGesture) {
    Button button;
    button.Create(&root, Rect{10, 50, 60, 20});
    button.SetPressObserver(Ref<NotifyListener>(new NotifyHandler_for_IRnC(&rnc, rncPlayMode)));
    host.Log().Clear();
    root.Press(20, 60);
    EXPECT_EQ(1, host.RnC().GestureDepth(rncPlayMode));
    root.StealCapture(); // the press ends without a release
    EXPECT_EQ(0, host.RnC().GestureDepth(rncPlayMode));
    EXPECT_EQ((std::vector<std::string>{"begin", "end"}), Writes(rncPlayMode));

    NotifyHandler_for_IRnC detached(nullptr, rncPlayMode);
    detached.Pressed(&button); // no engine: nothing, no crash
    detached.Released(&button);
}

// The engine's messages on a status line.
TEST_P(Bound, MessagesFromAnEngineThreadAreShownInOrder) {
    TooltipViewer line;
    line.Create(&root, Rect{0, 0, 270, 20});
    line.AddTooltip(new StrokeNotifier(&line, &rnc, &ui));
    std::vector<std::string> shown;
    struct Spy : CountedObject<TooltipTextListener> {
        explicit Spy(std::vector<std::string>& s) : seen(s) {}
        void Invoke(String text) override { seen.push_back(text.c_str()); }
        std::vector<std::string>& seen;
    };
    StrokeNotifier spied(&line, &rnc, &ui);
    spied.AddTextListener(Ref<TooltipTextListener>(new Spy(shown)));
    std::thread engine([&] {
        for (const char* m : {"one", "two", "three"})
            host.RnC().SendMessage(m);
    });
    engine.join();
    host.Notices().Flush();
    EXPECT_TRUE(shown.empty()) << "nothing shows off the window's thread";
    ui.RunPosted();
    EXPECT_EQ((std::vector<std::string>{"\tone", "\ttwo", "\tthree"}), shown);
    EXPECT_EQ("\tthree", Text(line.GetText()));
}

TEST_P(Bound, DestroyingTheNotifierWithMessagesQueuedRunsNoneOfThem) {
    auto line = std::make_unique<TooltipViewer>();
    line->Create(&root, Rect{0, 0, 270, 20});
    line->AddTooltip(new StrokeNotifier(line.get(), &rnc, &ui));
    std::thread engine([&] { host.RnC().SendMessage("late"); });
    engine.join();
    host.Notices().Flush();
    line.reset(); // deletes the notifier with its task queued
    const size_t listeners = host.RnC().ListenerCount();
    EXPECT_EQ(1u, ui.RunPosted()); // ASan: the task finds nobody
    host.RnC().SendMessage("after");
    host.Notices().Flush();
    EXPECT_EQ(0u, ui.RunPosted()) << "a gone notifier hears nothing more";
    EXPECT_EQ(listeners, host.RnC().ListenerCount());
}

} // namespace
} // namespace Corvell
