// The effect panes against the substitute engine through the view's RnC
// proxy: the controls of each effect, the writes of the user's choices,
// the notices they follow, and the manual effects' refresh.
#include "ViewFixture.h"
#include "view/SoloFx.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell {
namespace {

constexpr int kSlot = 3;

struct Effect : Test::ViewFixture {
    std::unique_ptr<FxControl> fx;
    void SetUp() override { AttachInWindow(); }
    void TearDown() override { fx.reset(); }
    Substitute::SubstituteRnC& engine() { return host.RnC(); }
    // A two-row pane over slot 3 with this list, placed over the view.
    void Make(std::vector<int> list, int height = 42) {
        fx.reset(new FxControl(&view->RnC(), kSlot));
        fx->SetEffectList(int(list.size()), list.data());
        fx->Create(&root, Rect{300, 300, 220, height});
        Settle();
    }
    void Choose(Combo* c, int i) {
        root.menuAnswers = {i};
        ClickCentre(c);
    }
    size_t Writes(const char* op) { return host.Log().Count("IRnC", op); }
};

TARROW_BOTH_ENGINE_MODES(Effect);

TEST_P(Effect, EachEffectShowsItsControlsWithTheirRanges) {
    struct Case {
        int type;
        bool slider, editor;
        int combo; // the value combo kind shown, -1 none
        int sliderMin, sliderMax, sliderDefault, editorMin, editorMax;
    };
    const Case cases[] = {
        {0, false, false, -1, 0, 0, 0, 0, 0},
        {2, true, false, -1, 0, 128, 128, 0, 0},
        {8, true, true, -1, 30, 150, 45, 0, 48},
        {13, false, false, Effects::kLengthValue, 0, 0, 0, 0, 0},
        {17, true, true, -1, 40, 500, 90, 1, 12},
        {15, false, true, Effects::kLengthValue, 0, 0, 0, 1, 12},
        {29, false, false, Effects::kIntervalValue, 0, 0, 0, 0, 0},
        {30, false, false, Effects::kFretValue, 0, 0, 0, 0, 0},
        {32, false, false, Effects::kWahValue, 0, 0, 0, 0, 0},
        {33, false, false, Effects::kFeedbackValue, 0, 0, 0, 0, 0},
        {37, false, false, Effects::kStringValue, 0, 0, 0, 0, 0},
        {38, false, false, Effects::kModeValue, 0, 0, 0, 0, 0},
        {-1, false, false, -1, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        fx.reset(); // an old pane would ask for its own list's type
        engine().SetFxType(kSlot, c.type);
        Make({c.type, 0});
        EXPECT_EQ(fx->Selector()->GetSelectedIndex(), 0) << c.type;
        EXPECT_EQ(fx->Slider()->IsVisible(), c.slider) << c.type;
        EXPECT_EQ(fx->NumberEditor()->IsVisible(), c.editor) << c.type;
        for (int k = Effects::kLengthValue; k < Effects::kValueKinds; ++k) {
            EXPECT_EQ(fx->ValueCombo(k)->IsVisible(), k == c.combo) << c.type << " kind " << k;
            EXPECT_EQ(fx->ValueCombo(k)->GetItemCount(), k == c.combo ? Effects::ItemCount(k) : 0) << c.type;
        }
        if (c.slider) {
            EXPECT_EQ(fx->Slider()->GetMinimum(), c.sliderMin) << c.type;
            EXPECT_EQ(fx->Slider()->GetMaximum(), c.sliderMax) << c.type;
            EXPECT_EQ(fx->Slider()->GetDefault(), c.sliderDefault) << c.type;
        }
        if (c.editor) {
            EXPECT_EQ(fx->NumberEditor()->GetMinimum(), c.editorMin) << c.type;
            EXPECT_EQ(fx->NumberEditor()->GetMaximum(), c.editorMax) << c.type;
        }
    }
}

TEST_P(Effect, ValuesGoBothWaysAndOneChoiceIsOneWrite) {
    engine().SetFxType(kSlot, 30); // fret position
    Make({30, 17});
    Combo* frets = fx->ValueCombo(Effects::kFretValue);
    EXPECT_STREQ(frets->GetItemText(frets->GetSelectedIndex()).c_str(), "Open") << "value 0";
    for (int i = 0; i < 5; ++i)
        fx->Reload(); // shown again and again
    host.Log().Clear();
    Choose(frets, 4); // "Fret 3   *"
    EXPECT_EQ(Writes("SetFxValue"), 1u) << "however often it was shown";
    EXPECT_EQ(engine().GetFxValue(kSlot, 0), 3);
    EXPECT_EQ(frets->GetSelectedIndex(), 4);
    Choose(frets, 0);
    EXPECT_EQ(engine().GetFxValue(kSlot, 0), -1);
    EXPECT_STREQ(frets->GetItemText(frets->GetSelectedIndex()).c_str(), "D#5 ... C6");

    // Another type from the selector, and its values from the engine.
    Choose(fx->Selector(), 1);
    EXPECT_EQ(engine().GetFxType(kSlot), 17);
    engine().SetFxValue(kSlot, 0, 3);
    engine().SetFxValue(kSlot, 1, 90);
    Settle();
    EXPECT_EQ(fx->NumberEditor()->GetValue(), 3);
    EXPECT_EQ(fx->Slider()->GetValue(), 90);
    EXPECT_EQ(fx->TooltipText(), "SlideUp, steps: 3, time: 90 ms");
    // The on mark writes the opposite of what it shows.
    ClickCentre(fx->OnMark());
    EXPECT_TRUE(engine().IsFxOn(kSlot));
    EXPECT_TRUE(fx->OnMark()->IsOn());
}

TEST_P(Effect, ASlotThatRefusesTheListsFirstTypeIsAskedOnce) {
    // The substitute's slots take no type below -5: "Slow Strum" (-100)
    // becomes -5, which the list does not offer.
    engine().SetFxType(kSlot, 4);
    host.Log().Clear();
    Make({-100});
    // Every reload notice shows the slot's type again: it is not asked again.
    for (int i = 0; i < 4; ++i) {
        fx->Reload();
        Settle();
    }
    EXPECT_LE(Writes("SetFxType"), 2u) << "no endless correction";
    EXPECT_EQ(engine().GetFxType(kSlot), -5);
}

TEST_P(Effect, OnlyNoticesForItsSlotOrForAllAreFollowed) {
    engine().SetFxType(kSlot, 17);
    Make({17});
    // By type, with the slot's number: another address, ignored.
    view->RnC().SetFxMute(true);
    engine().SetFxValue(kSlot, 0, 7);
    Settle();
    view->RnC().SetFxMute(false);
    engine().SetTypedFxOn(kSlot, true);
    engine().SetFxValue(kSlot + 1, 0, 2);
    Settle();
    EXPECT_NE(fx->NumberEditor()->GetValue(), 7);
    engine().SetParameter(rncFxNoticesSuspended, 1);
    engine().SetParameter(rncFxNoticesSuspended, 0);
    Settle();
    EXPECT_EQ(fx->NumberEditor()->GetValue(), 7) << "a notice for every effect";
}

TEST_P(Effect, OneRowPanesGiveTheSelectorTheRoomTheValuesLeave) {
    engine().SetFxType(kSlot, 0);
    Make({0, 1}, 23);
    EXPECT_EQ(fx->Selector()->GetBounds(), (Rect{22, 0, 198, 23}));
    EXPECT_EQ(fx->Selector()->GetTextFormat(), 36u);
    EXPECT_EQ(fx->OnMark()->GetBounds(), (Rect{0, 1, 23, 22}));
    Make({0, 17}, 23);
    EXPECT_EQ(fx->Selector()->GetBounds().width, 99);
}

TEST_P(Effect, AManualPaneKeepsOneOfItsTypesOnAndLeavesTheWahAlone) {
    FxManual manual(&view->RnC());
    const int list[] = {19, 17};
    struct Case {
        std::vector<int> on;
        int current;
        std::vector<int> stillOn;
    };
    const Case cases[] = {
        {{17, 19}, 19, {19}},
        {{17}, 17, {17}},
        {{19}, 19, {19}},
        {{17, 32}, 17, {17, 32}},
        {{17, 19, 32}, 19, {19, 32}},
        {{32}, 19, {32}},  // only the wah: nothing switched, the list's first shown
        {{}, 19, {}},
    };
    for (const Case& c : cases) {
        for (int t = 0; t <= Effects::kLastManualType; ++t)
            engine().SetTypedFxOn(t, false);
        for (int t : c.on)
            engine().SetTypedFxOn(t, true);
        Settle();
        manual.SetEffectList(2, list);
        Settle();
        EXPECT_EQ(manual.Current(), c.current);
        std::vector<int> on;
        for (int t = 0; t <= Effects::kLastManualType; ++t)
            if (engine().IsTypedFxOn(t))
                on.push_back(t);
        EXPECT_EQ(on, c.stillOn);
    }
    // Choosing another type moves the on state to it.
    engine().SetTypedFxOn(19, true);
    manual.SetFxType(17);
    EXPECT_TRUE(engine().IsTypedFxOn(17));
    EXPECT_FALSE(engine().IsTypedFxOn(19));
}

TEST_P(Effect, APaneDeletedWithNoticesOnTheirWayHearsNone) {
    engine().SetFxType(kSlot, 17);
    Make({17});
    engine().SetFxValue(kSlot, 0, 4); // a notice queued for the window
    fx.reset();
    Settle(); // ASan watches
    Make({17});
    EXPECT_EQ(fx->NumberEditor()->GetValue(), 4);
}

} // namespace
} // namespace Corvell
