// The "Wah" panel bound to the engine's wah-wah: the switch, the mode and
// its group, the MIDI controller number, and which notices it follows.
#include "ViewFixture.h"
#include "ui/Combo.h"
#include "ui/NumEditor.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>

namespace Corvell {
namespace {

struct Wah : Test::ViewFixture {
    void SetUp() override {
        AttachInWindow();
        // The panel open, as the user sees it.
        ClickCentre(view->TabStrip(1)->Tab(3));
    }
    WahWahController& wah() { return *view->Wah(); }
    Substitute::SubstituteRnC& engine() { return host.RnC(); }
    // The mode groups shown, as a bit per mode.
    int Groups() {
        int shown = 0;
        for (int m = 0; m < WahWahController::kModes; ++m)
            if (wah().ModeGroup(m)->IsVisible())
                shown |= 1 << m;
        return shown;
    }
};

TARROW_BOTH_ENGINE_MODES(Wah);

TEST_P(Wah, TheSectionShowsTheEnginesWahAtEveryMode) {
    ASSERT_NE(wah().Switch(), nullptr);
    ASSERT_NE(wah().Mode(), nullptr);
    ASSERT_NE(wah().Controller(), nullptr);
    EXPECT_EQ(wah().Mode()->GetItemCount(), 4);
    EXPECT_STREQ(wah().Mode()->GetItemText(3).c_str(), "MODULATION");
    struct Case {
        int mode;
        int selected, groups;
    };
    const Case cases[] = {{0, 0, 1}, {1, 1, 2}, {2, 2, 4}, {3, 3, 8}, {4, -1, 0}, {127, -1, 0}, {1, 1, 2}};
    for (const Case& c : cases) {
        engine().SetTypedFxValue(WahWahController::kWahType, 0, c.mode);
        Settle();
        EXPECT_EQ(wah().Mode()->GetSelectedIndex(), c.selected) << c.mode;
        EXPECT_EQ(Groups(), c.groups) << c.mode;
    }
    engine().SetTypedFxOn(WahWahController::kWahType, true);
    Settle();
    EXPECT_TRUE(wah().Switch()->IsOn());
}

TEST_P(Wah, TheUsersChoicesReachTheEngine) {
    ClickCentre(wah().Switch());
    EXPECT_TRUE(engine().IsTypedFxOn(WahWahController::kWahType));
    EXPECT_TRUE(wah().Switch()->IsOn());
    ClickCentre(wah().Switch());
    EXPECT_FALSE(engine().IsTypedFxOn(WahWahController::kWahType));
    EXPECT_FALSE(wah().Switch()->IsOn());

    root.menuAnswers = {3};
    ClickCentre(wah().Mode());
    EXPECT_EQ(engine().GetTypedFxValue(WahWahController::kWahType, 0), 3);
    EXPECT_EQ(Groups(), 8);
}

TEST_P(Wah, TheControllerNumberShowsWhatTheEngineHoldsAndStepsAreEdits) {
    // The substitute starts at controller 11: the editor says so, not 0.
    EXPECT_EQ(wah().Controller()->GetValue(), 11);
    engine().EngineSetParameter(ERnCPars(90), 64);
    Settle();
    EXPECT_EQ(wah().Controller()->GetValue(), 64);
    // A step up of the spin button (the mode group of MIDI CC shows it).
    engine().SetTypedFxValue(WahWahController::kWahType, 0, 0);
    Settle();
    NumEditor* e = wah().Controller();
    const Point o = e->GetAbsoluteOrigin();
    const Rect b = e->GetBounds();
    root.MoveTo(o.x + b.width - 8, o.y + 5);
    root.Press(o.x + b.width - 8, o.y + 5);
    root.Release(o.x + b.width - 8, o.y + 5);
    Settle();
    EXPECT_EQ(engine().GetParameter(ERnCPars(90)), 65);
    EXPECT_EQ(engine().GestureDepth(90), 0);
    EXPECT_EQ(e->GetValue(), 65);
    engine().ResetToDefaults();
    Settle();
    EXPECT_EQ(e->GetValue(), 11);
}

TEST_P(Wah, OnlyNoticesForTheWahByTypeOrForAllEffectsAreFollowed) {
    // Changed while the proxy lets no effect notice through: unseen.
    view->RnC().SetFxMute(true);
    engine().SetTypedFxValue(WahWahController::kWahType, 0, 2);
    Settle();
    view->RnC().SetFxMute(false);
    EXPECT_EQ(Groups(), 1);
    // Slot 32 is another effect: its notice changes nothing here.
    engine().SetFxOn(32, true);
    Settle();
    EXPECT_EQ(Groups(), 1);
    // A notice for every effect: the wah is read again.
    engine().SetParameter(rncFxNoticesSuspended, 1);
    engine().SetParameter(rncFxNoticesSuspended, 0);
    Settle();
    EXPECT_EQ(Groups(), 4);
}

} // namespace
} // namespace Corvell
