// The view's display with the substitute engine: the guitar selector, the
// sample player's read-outs and the status line, in both notice modes.
#include "EngineModes.h"
#include "SubstituteHost.h"
#include "TestRootPane.h"
#include "ui/ToggleButton.h"
#include "view/RorezoZavu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

std::string Text(const String& s) { return s.c_str(); }

struct ViewDisplay : ::testing::TestWithParam<Notifier::Mode> {
    SubstituteHost host{GetParam()};
    TestRootPane root;
    std::unique_ptr<RorezoZavu> view{new RorezoZavu};

    void SetUp() override {
        host.Guitar().SetGuitars({{"Clean Single-Coil", 480}, {"Crunch Humbucker", 900}, {"Jazz Hollow Body", 1536}});
        root.AddChild(view.get());
    }
    void TearDown() override { view.reset(); }
    void Settle() {
        host.Notices().Flush();
        root.PumpMessages();
    }
    DisplayPane& Display() { return *view->Display(); }
    // The selector's centre, in window coordinates.
    Point SelectorPoint() {
        const Point o = Display().Selector()->GetAbsoluteOrigin();
        return Point{o.x + 20, o.y + 10};
    }
};

TARROW_BOTH_ENGINE_MODES(ViewDisplay);

TEST_P(ViewDisplay, PanesSitWhereTheDisplayPlacesThem) {
    EXPECT_EQ((Rect{250, 60, 300, 112}), Display().GetBounds());
    EXPECT_EQ((Rect{10, 10, 280, 92}), Display().Inner()->GetBounds());
    EXPECT_EQ((Rect{5, 5, 270, 20}), Display().Selector()->GetBounds());
    EXPECT_EQ((Rect{10, 24, 40, 20}), Display().Voices()->GetBounds());
    EXPECT_EQ((Rect{230, 24, 40, 20}), Display().Memory()->GetBounds());
    EXPECT_EQ((Rect{5, 67, 270, 20}), Display().Status()->GetBounds());
    EXPECT_EQ((Rect{200, 42, 40, 25}), Display().Chord()->GetBounds());
    EXPECT_EQ(Display().Inner(), Display().Chord()->GetParent());
}

TEST_P(ViewDisplay, AChosenGuitarLoadsAndTheStatusLineFollowsIt) {
    EXPECT_EQ(GuitarSelector::kNotFound, Text(Display().Selector()->GetEmptyText())) << "no engine yet";
    ASSERT_TRUE(view->AttachHost(&host)); // after the view was built
    Settle();
    EXPECT_EQ(3, Display().Selector()->GetItemCount());
    EXPECT_EQ(0, Display().Selector()->GetSelectedIndex());

    root.menuAnswers = {2};
    const Point at = SelectorPoint();
    root.Click(at.x, at.y);
    EXPECT_EQ(1u, host.Log().Count("IGuitar", "SelectGuitar"));
    Settle();
    EXPECT_EQ(2, Display().Selector()->GetSelectedIndex());
    EXPECT_EQ("Loading 0%", Text(Display().Status()->GetText()));
    for (int i = 0; i < 10; ++i)
        host.Sampler().StepLoad();
    Settle();
    EXPECT_EQ("Loading 50%", Text(Display().Status()->GetText()));
    while (host.Sampler().StepLoad()) {
    }
    Settle();
    EXPECT_EQ("Loaded", Text(Display().Status()->GetText()));
    EXPECT_EQ("1.5 GB", Text(Display().Memory()->GetText()));
    root.AdvanceTime(TooltipViewer::kClearDelay + 100);
    EXPECT_EQ("", Text(Display().Status()->GetText()));
}

TEST_P(ViewDisplay, AttachedBeforeItHasAWindowTheViewShowsTheEngineOnceBuilt) {
    // As the page does it: the host comes first, the window later.
    root.RemoveChild(view.get());
    ASSERT_TRUE(view->AttachHost(&host));
    host.Guitar().SelectGuitar(1);
    while (host.Sampler().StepLoad()) {
    }
    host.Notices().Flush();
    root.AddChild(view.get());
    view->OnWindowCreated();
    Settle();
    EXPECT_EQ(3, Display().Selector()->GetItemCount());
    EXPECT_EQ(1, Display().Selector()->GetSelectedIndex());
    EXPECT_EQ(" 900 MB", Text(Display().Memory()->GetText()));
    EXPECT_EQ("v:  0", Text(Display().Voices()->GetText()));
}

TEST_P(ViewDisplay, AnEngineThatGoesAwayLeavesNothingStale) {
    ASSERT_TRUE(view->AttachHost(&host));
    host.Guitar().SelectGuitar(1);
    while (host.Sampler().StepLoad()) {
    }
    Settle();
    root.AdvanceTime(200);
    EXPECT_EQ(" 900 MB", Text(Display().Memory()->GetText()));
    EXPECT_EQ("v:  0", Text(Display().Voices()->GetText()));

    view->DetachHost();
    Settle();
    root.AdvanceTime(200);
    EXPECT_EQ(GuitarSelector::kNotFound, Text(Display().Selector()->GetEmptyText()));
    EXPECT_EQ(0, Display().Selector()->GetItemCount());
    EXPECT_EQ("", Text(Display().Memory()->GetText()));
    EXPECT_EQ("", Text(Display().Voices()->GetText()));
    EXPECT_EQ(0u, host.Guitar().ListenerCount());
    EXPECT_EQ(0u, host.Sampler().ListenerCount());

    // A guitar without a sampler: the list shows, the read-outs stay empty.
    host.Withhold("ISampler");
    ASSERT_TRUE(view->AttachHost(&host));
    Settle();
    root.AdvanceTime(200);
    EXPECT_EQ(3, Display().Selector()->GetItemCount());
    EXPECT_EQ("", Text(Display().Memory()->GetText()));
}

TEST_P(ViewDisplay, EngineMessagesAndBoundControlsReachTheView) {
    ASSERT_TRUE(view->AttachHost(&host));
    ToggleButton hold;
    hold.Create(view.get(), Rect{549, 136, 50, 27});
    view->Controllers().Add(Ref<IRnCParameterController>(new ToggleController_for_IRnC(&view->RnC(), rncHold, &hold)));
    std::thread engine([&] {
        host.RnC().SendMessage("Settings saved.");
        host.RnC().EngineSetParameter(rncHold, 1);
    });
    engine.join();
    Settle();
    EXPECT_EQ("\tSettings saved.", Text(Display().Status()->GetText()));
    EXPECT_TRUE(hold.IsOn());

    // A reset sends no parameter notices; it updates every bound control.
    host.RnC().ResetToDefaults();
    Settle();
    ASSERT_EQ(0, host.RnC().GetParameterDefault(rncHold));
    EXPECT_FALSE(hold.IsOn());
    view->Controllers().Clear();
}

TEST_P(ViewDisplay, DestroyingTheViewWithNoticesQueuedRunsNoneOfThem) {
    ASSERT_TRUE(view->AttachHost(&host));
    Settle();
    // Notices from an engine thread wait in the window's queue.
    std::thread engine([&] {
        host.Guitar().SelectGuitar(2);
        while (host.Sampler().StepLoad()) {
        }
        host.Guitar().SetGuitars({{"Only", 10}});
    });
    engine.join();
    host.Notices().Flush();
    view.reset(); // ASan: nothing queued may reach the deleted view
    EXPECT_GT(root.PumpMessages(), 0) << "the notices were queued";
    EXPECT_EQ(0u, host.Guitar().ListenerCount());
    EXPECT_EQ(0u, host.Sampler().ListenerCount());
    EXPECT_EQ(0u, root.RunningTimers()) << "the voices poll went with the view";
}

TEST_P(ViewDisplay, TheChordDisplayShowsTheChordTheEnginePlays) {
    root.AddChild(view.get());
    ASSERT_TRUE(view->AttachHost(&host));
    Settle();
    ChordView* chord = Display().Chord();
    EXPECT_EQ(chord->GetParent(), Display().Inner());
    EXPECT_FALSE(chord->State().Shows());
    host.RnC().EngineSetParameter(ERnCPars(34), 9);
    host.RnC().EngineSetParameter(ERnCPars(33), 36);
    host.RnC().EngineSetParameter(ERnCPars(36), 2);
    Settle();
    EXPECT_TRUE(chord->State().Shows());
    EXPECT_EQ(chord->State().root, 9);
    EXPECT_EQ(chord->State().type, 36);
    EXPECT_EQ(chord->State().pos, 2);
    // No type, no chord to draw.
    host.RnC().EngineSetParameter(ERnCPars(33), -1);
    Settle();
    EXPECT_FALSE(chord->State().Shows());

    // Knob 0 names notes with flats.
    EXPECT_TRUE(chord->GetSharpNames());
    host.Knobs().SetKnob(GuitarUI::Knobs::FlatNames, 1);
    Settle();
    EXPECT_FALSE(chord->GetSharpNames());
    host.Knobs().SetKnob(GuitarUI::Knobs::FlatNames, 0);
    Settle();
    EXPECT_TRUE(chord->GetSharpNames());
}

} // namespace
} // namespace Corvell
