// The electric controller panel against the substitute engine, through the
// view's RnC proxy: rows per kind, mappings, writes as edits, engine
// changes and resets, the curve selector, and lifetime.
#include "RecordingContext.h"
#include "ViewFixture.h"
#include "view/ElectricControllerPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell {
namespace {

using Panel = ElectricControllerPanel;

struct ControllerPanel : Test::ViewFixture {
    std::unique_ptr<Panel> panel;
    void SetUp() override { AttachInWindow(); }
    void TearDown() override { panel.reset(); }
    // Placed where the pages put it: the right 200 pixels of a page.
    void Make(int kind) {
        panel.reset();
        panel.reset(new Panel(&view->RnC(), kind));
        panel->Create(&root, Rect{592, 300, 200, 160});
        Settle();
    }
    int Par(int id) { return host.RnC().GetParameter(ERnCPars(id)); }
    void Engine(int id, int value) {
        host.RnC().EngineSetParameter(ERnCPars(id), value);
        Settle();
    }
    // Chooses item i of a combo with the mouse.
    void Choose(Combo* c, int i) {
        root.menuAnswers = {i};
        ClickCentre(c);
    }
    std::string Selected(Combo* c) { return c->GetSelectedIndex() < 0 ? "-" : c->GetItemText(c->GetSelectedIndex()).c_str(); }
};

TARROW_BOTH_ENGINE_MODES(ControllerPanel);

TEST_P(ControllerPanel, EachKindPlacesItsRows) {
    struct Case {
        int kind;
        int rowY[4]; // -1: not placed
        int pedalY;
        int upItems, wheelItems, touchItems;
    };
    const Case cases[] = {
        {Panel::kSolo, {38, 66, 94, 122}, -1, 6, 5, 5},
        {Panel::kHarmony, {38, -1, 66, 94}, -1, 4, 4, 3},
        {Panel::kChords, {38, -1, 66, 94}, 122, 4, 4, 3},
    };
    for (const Case& c : cases) {
        Make(c.kind);
        for (int row = 0; row < Panel::kRows; ++row) {
            Combo* d = panel->Destination(row);
            if (c.rowY[row] < 0) {
                EXPECT_NE(d->GetParent(), panel.get()) << "kind " << c.kind << " row " << row;
                continue;
            }
            EXPECT_EQ(d->GetParent(), panel.get());
            EXPECT_EQ(d->GetBounds(), (Rect{44, c.rowY[row], 109, 23})) << "kind " << c.kind << " row " << row;
            EXPECT_EQ(panel->Amount(row)->GetBounds(), (Rect{157, c.rowY[row], 40, 23}));
        }
        EXPECT_EQ(panel->Footage()->GetBounds(), panel->Amount(Panel::kTouch)->GetBounds());
        EXPECT_EQ(panel->Curves()->GetBounds(), (Rect{80, 7, 120, 28}));
        EXPECT_EQ(panel->Destination(Panel::kBendUp)->GetItemCount(), c.upItems);
        EXPECT_EQ(panel->Destination(Panel::kWheel)->GetItemCount(), c.wheelItems);
        EXPECT_EQ(panel->Destination(Panel::kTouch)->GetItemCount(), c.touchItems);
        if (c.pedalY < 0) {
            EXPECT_EQ(panel->Pedal(), nullptr);
        } else {
            ASSERT_NE(panel->Pedal(), nullptr);
            EXPECT_EQ(panel->Pedal()->GetBounds(), (Rect{44, c.pedalY, 153, 23}));
            EXPECT_EQ(panel->Pedal()->GetItemCount(), 9);
        }
    }
}

TEST_P(ControllerPanel, DestinationsMapBothWays) {
    Make(Panel::kSolo);
    // Engine value -> item shown, and the item chosen -> value written.
    struct Case {
        int row, par;
        int value;
        const char* shown;
    };
    const Case cases[] = {
        {Panel::kBendUp, 5, 3, "Mono Bend"},   {Panel::kBendUp, 5, 4, "Velo Add"},
        {Panel::kBendUp, 5, 5, "Sustainer"},   {Panel::kBendDown, 78, -1, "same as up"},
        {Panel::kBendDown, 78, 4, "Velo Add"}, {Panel::kBendDown, 78, 3, "Mono Bend"},
        {Panel::kWheel, 8, 3, "Modulation"},   {Panel::kTouch, 11, 0, "Off"},
        {Panel::kTouch, 11, 2, "Pitch"},       {Panel::kTouch, 11, 5, "Feedbacker"},
    };
    for (const Case& c : cases) {
        Engine(c.par, c.value);
        EXPECT_EQ(Selected(panel->Destination(c.row)), c.shown) << c.par << " = " << c.value;
    }
    for (int row = 0; row < Panel::kRows; ++row) {
        static const int kPar[] = {5, 78, 8, 11};
        Combo* d = panel->Destination(row);
        for (int i = 0; i < d->GetItemCount(); ++i) {
            const int value = Panel::DestinationValue(row, i);
            host.Log().Clear();
            Choose(d, i);
            EXPECT_EQ(Par(kPar[row]), value) << "row " << row << " item " << i;
            std::vector<long long> touches;
            for (const auto& call : host.Log().Calls("IRnC", "TouchParameter"))
                if (call.args[0] == kPar[row])
                    touches.push_back(call.args[1]);
            EXPECT_EQ(touches, (std::vector<long long>{1, 0})) << "one edit";
            EXPECT_EQ(host.RnC().GestureDepth(kPar[row]), 0);
            EXPECT_EQ(d->GetSelectedIndex(), i) << "the engine took it";
        }
    }
}

TEST_P(ControllerPanel, AmountsFollowTheDestination) {
    Make(Panel::kSolo);
    Combo* upAmount = panel->Amount(Panel::kBendUp);
    Engine(7, 0);
    Choose(panel->Destination(Panel::kBendUp), 2); // Pitch
    EXPECT_EQ(upAmount->GetItemCount(), 15);
    EXPECT_EQ(Selected(upAmount), "2");
    Choose(upAmount, 0);
    EXPECT_EQ(Par(7), -10) << "\"12\" writes -10";
    Choose(panel->Destination(Panel::kBendUp), 1); // Slide
    EXPECT_EQ(upAmount->GetItemCount(), 12);
    Choose(upAmount, 4);
    EXPECT_EQ(Par(6), 5);
    Choose(panel->Destination(Panel::kBendUp), 0); // Off: no amount
    EXPECT_EQ(upAmount->GetItemCount(), 0);

    // Pitch bend down "Slide" while its steps are 0 copies pitch bend up's.
    Engine(79, 0);
    Choose(panel->Destination(Panel::kBendDown), 2); // Slide
    EXPECT_EQ(Par(79), 5);
    EXPECT_EQ(Selected(panel->Amount(Panel::kBendDown)), "5");
    // A range not chosen yet selects nothing.
    Engine(80, -11);
    Choose(panel->Destination(Panel::kBendDown), 3); // Pitch
    EXPECT_EQ(panel->Amount(Panel::kBendDown)->GetSelectedIndex(), -1);

    // Aftertouch "Feedbacker" puts the footage where the amount was.
    Choose(panel->Destination(Panel::kTouch), 4);
    EXPECT_EQ(Par(11), 5);
    EXPECT_FALSE(panel->Amount(Panel::kTouch)->IsVisible());
    EXPECT_TRUE(panel->Footage()->IsVisible());
    Choose(panel->Footage(), 3);
    EXPECT_EQ(Par(91), 3);
    Choose(panel->Destination(Panel::kTouch), 1); // Pitch
    EXPECT_TRUE(panel->Amount(Panel::kTouch)->IsVisible());
    EXPECT_FALSE(panel->Footage()->IsVisible());
    EXPECT_EQ(panel->Amount(Panel::kTouch)->GetItemCount(), 5);
    Choose(panel->Amount(Panel::kTouch), 2);
    EXPECT_EQ(Par(12), 2);
}

TEST_P(ControllerPanel, TheCopyOfTheStepsRunsOnceAndOnlyWhereTheRowIs) {
    // Harmony pages have no pitch-bend-down row: they never write 79.
    Engine(78, 1);
    Engine(79, 0);
    Make(Panel::kHarmony);
    EXPECT_EQ(host.Log().Count("IRnC", "SetParameter"), 0u);
    EXPECT_EQ(Par(79), 0);

    // Without a step count to copy, nothing is written and nothing loops.
    Make(Panel::kSolo);
    EXPECT_EQ(Par(79), Par(6)) << "shown with Slide and 0 steps: the copy";
    host.Log().Clear();
    Engine(79, 0);
    EXPECT_LE(host.Log().Count("IRnC", "SetParameter"), 1u);
    host.Log().Clear();
    Engine(79, 0); // the engine keeps 0: asked no more
    EXPECT_EQ(host.Log().Count("IRnC", "SetParameter"), 0u);
}

TEST_P(ControllerPanel, ThePanelFollowsTheEngineAndItsResets) {
    Make(Panel::kChords);
    Engine(8, 1);
    Engine(9, 7);
    EXPECT_EQ(Selected(panel->Destination(Panel::kWheel)), "Slide");
    EXPECT_EQ(Selected(panel->Amount(Panel::kWheel)), "7");
    Engine(81, 5);
    EXPECT_EQ(Selected(panel->Pedal()), "Wah: MIDI Ctrl");
    Choose(panel->Pedal(), 2);
    EXPECT_EQ(Par(81), 2);
    host.RnC().ResetToDefaults();
    Settle();
    EXPECT_EQ(Selected(panel->Destination(Panel::kWheel)), "Modulation");
    EXPECT_EQ(Selected(panel->Pedal()), "Sustain");
    EXPECT_EQ(Selected(panel->Destination(Panel::kBendUp)), "Pitch");
}

TEST_P(ControllerPanel, TheCurveSelectorWritesAPressAndShowsOnlyCurvesInRange) {
    Make(Panel::kSolo);
    CurveSwitcher* curves = panel->Curves();
    const Point o = curves->GetAbsoluteOrigin();
    root.Click(o.x + 10, o.y + 10);
    Settle();
    EXPECT_EQ(Par(13), 0);
    host.Log().Clear();
    root.Click(o.x + 29, o.y + 10); // between two curves
    Settle();
    EXPECT_EQ(host.Log().Count("IRnC", "SetParameter"), 0u);
    root.Click(o.x + 100, o.y + 10);
    Settle();
    EXPECT_EQ(Par(13), 3);
    EXPECT_EQ(curves->GetSelected(), 3);
    // The engine's value, whatever it is: only 0..3 select a curve.
    for (int v : {-1, 0, 2, 3, 4, 100, -100}) {
        curves->SetSelected(2);
        panel->UpdateParameter(13);
        host.RnC().EngineSetParameter(ERnCPars(13), v); // clamped by the substitute
        Settle();
        EXPECT_EQ(curves->GetSelected(), Par(13)) << v;
        curves->SetSelected(v);
        EXPECT_EQ(curves->GetSelected(), v >= 0 && v <= 3 ? v : -1) << v;
    }
}

TEST_P(ControllerPanel, APanelDeletedWhilePlacedHearsNothingLater) {
    Make(Panel::kSolo);
    panel.reset(); // still a child of the root when it went
    view->DetachHost(); // the proxy's reset finds no panel (ASan watches)
    Settle();
    ASSERT_TRUE(view->AttachHost(&host));
    Settle();
    Engine(5, 1);
}

TEST_P(ControllerPanel, TooltipsNameTheRows) {
    Make(Panel::kChords);
    struct Sink : TooltipHandler {
        ~Sink() { DeleteTooltips(); }
        void AddTooltip(TooltipNotifier* n) override { titles.push_back(n->GetTitle().c_str()); delete n; }
        void DeleteTooltips() override {}
        std::vector<std::string> titles;
    } sink;
    panel->RegisterTooltips(sink);
    EXPECT_EQ(sink.titles, (std::vector<std::string>{"P.B.: ", "P.B. steps: ", "M.W.: ", "M.W. steps: ", "A.T.: ",
                                                     "A.T. steps: ", "A.T. semitones: ", "Pedal: "}));
}

} // namespace
} // namespace Corvell
