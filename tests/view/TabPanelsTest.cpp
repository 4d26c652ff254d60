// The seven tab panels and the accent panel in the view, bound to the
// substitute sample player: what binds, what the controls show, what the
// user's changes write, and engine notices, resets and a late engine.
#include "ViewFixture.h"
#include "ui/ALabel.h"
#include "ui/CheckMark.h"
#include "ui/ControlPanel.h"
#include "ui/HSlider3.h"
#include "ui/Combo.h"
#include "ui/HSlider.h"
#include "ui/NumEditor.h"
#include "ui/SwitchButton.h"
#include "ui/VSlider.h"
#include "view/RorezoZavu.h"
#include "view/TabPanels.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::TestRootPane;

// The kind of descriptor that makes a pane of p's class.
int32_t KindOf(Pane* p) {
    if (dynamic_cast<VSlider*>(p))
        return kVerticalSliderKind;
    if (dynamic_cast<HSlider*>(p))
        return kHorizontalSliderKind;
    if (dynamic_cast<HSlider3*>(p))
        return kWideSliderKind;
    if (dynamic_cast<CheckMark*>(p))
        return kCheckBoxKind;
    if (dynamic_cast<SwitchButton*>(p))
        return kSwitchKind;
    if (dynamic_cast<BCombo*>(p))
        return kComboKind;
    if (dynamic_cast<NumEditor*>(p))
        return kNumberKind;
    if (auto* l = dynamic_cast<ALabel*>(p))
        return l->GetAngle() == 90.0f ? kVerticalLabelKind : kLabelKind;
    if (dynamic_cast<ControlPanel*>(p))
        return kGroupKind;
    return -1;
}

// Walks a group's records beside the panes built from them.
void ExpectBuiltAsDescribed(const ControlDescriptor& d, Pane* p, const std::string& where) {
    ASSERT_NE(p, nullptr) << where;
    EXPECT_EQ(KindOf(p), d.kind == kNumberKind2 ? int32_t(kNumberKind) : d.kind) << where;
    EXPECT_EQ(p->GetId(), d.id) << where;
    if (d.kind == kLabelKind || d.kind == kVerticalLabelKind) {
        const auto* rec = static_cast<const LabelRecord*>(d.extra);
        EXPECT_STREQ(static_cast<ALabel*>(p)->GetText().c_str(), rec->kind == 2 ? rec->text : "") << where;
    }
    if (d.kind != kGroupKind)
        return;
    const auto* g = static_cast<const GroupRecord*>(d.extra);
    ASSERT_EQ(p->GetChildCount(), g->count) << where;
    for (int32_t i = 0; i < g->count; ++i) {
        const ControlDescriptor& c = g->children[i];
        Pane* child = p->GetChild(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->GetBounds(), (Rect{c.x, c.y, c.width, c.height})) << where << " child " << i;
        ExpectBuiltAsDescribed(c, child, where + " child " + std::to_string(i));
    }
}

struct TabPanelsView : Test::ViewFixture {
    // In the window from the start; the engine comes when a test says.
    void SetUp() override { root.AddChild(view.get()); }
    void Attach() {
        ASSERT_TRUE(view->AttachHost(&host));
        Settle();
    }
    template <class T>
    T* P(int32_t id) {
        return dynamic_cast<T*>(view->FindById(id));
    }
    // Opens the tab whose panel holds pane id.
    void OpenTabOf(int32_t id) {
        for (int side = 0; side < 2; ++side) {
            TabSwitch* strip = view->TabStrip(side);
            for (int i = 0; i < strip->GetCount(); ++i)
                if (strip->Panel(i)->IsAncestorOf(view->FindById(id))) {
                    if (strip->GetSelected() != i + 1)
                        Click(strip->Tab(i));
                    return;
                }
        }
    }
    void Click(const Pane* p) { ClickCentre(p); }
    Substitute::SubstituteSampler& engine() { return host.Sampler(); }
};

TARROW_BOTH_ENGINE_MODES(TabPanelsView);

TEST_P(TabPanelsView, TheTablesBindEveryControlOfThePanelsAndSkipWhatIsNotThere) {
    Attach();
    ControlAdapterHost& adapters = view->Adapters();
    std::set<int32_t> bound;
    for (size_t i = 0; i < adapters.Count(); ++i) {
        ControlAdapter* a = adapters.Adapter(i);
        bound.insert(a->Binding().paneId);
        if (i > 0) {
            EXPECT_LE(adapters.Adapter(i - 1)->Id(), a->Id()) << "sorted by setting";
        }
        // Every bound pane lies in one of the panels.
        bool inPanel = view->AccentPanel()->IsAncestorOf(a->GetPane());
        for (int side = 0; side < 2; ++side)
            for (int t = 0; t < view->TabStrip(side)->GetCount(); ++t)
                inPanel = inPanel || view->TabStrip(side)->Panel(t)->IsAncestorOf(a->GetPane());
        EXPECT_TRUE(inPanel) << a->Binding().name;
    }
    EXPECT_EQ(adapters.Count(), 43u);
    // Pane 3, tremolo and chorus (30 to 37) are in no panel; 62 belongs to
    // the set-up panel, which is not built yet.
    for (const SamplerBinding& b : TabPanels::kBindingList) {
        const bool skipped = b.paneId == 3 || (b.paneId >= 30 && b.paneId <= 37) || b.paneId == 62;
        EXPECT_EQ(bound.count(b.paneId) == 0, skipped) << "pane " << b.paneId << " " << b.name;
    }

    // What the tables make where.
    struct Case {
        int32_t id;
        bool (*right)(Pane*);
        const char* tab;
    };
    auto vslider = [](Pane* p) { return dynamic_cast<VSlider*>(p) != nullptr; };
    auto check = [](Pane* p) { return dynamic_cast<CheckMark*>(p) != nullptr; };
    const Case cases[] = {
        {7, vslider, "Output"},  {10, vslider, "Tune"},
        {15, check, "Tune"},     {14, [](Pane* p) { return dynamic_cast<Combo*>(p) != nullptr; }, "Tune"},
        {0, [](Pane* p) { return dynamic_cast<HSlider*>(p) != nullptr; }, "Timing"},
        {26, check, "Mixer"},    {20, vslider, "FX Mixer"},
        {39, [](Pane* p) { return dynamic_cast<SwitchButton*>(p) != nullptr; }, "Wah"},
        {45, [](Pane* p) { return dynamic_cast<NumEditor*>(p) != nullptr; }, "Wah"},
        {50, vslider, "Wah"},
    };
    for (const Case& c : cases) {
        Pane* p = view->FindById(c.id);
        ASSERT_NE(p, nullptr) << c.id;
        EXPECT_TRUE(c.right(p)) << c.id;
        std::string tab;
        for (int side = 0; side < 2; ++side)
            for (int t = 0; t < view->TabStrip(side)->GetCount(); ++t)
                if (view->TabStrip(side)->Panel(t)->IsAncestorOf(p))
                    tab = view->TabStrip(side)->Tab(t)->GetCaption().c_str();
        EXPECT_EQ(tab, c.tab) << c.id;
    }
    EXPECT_EQ(P<NumEditor>(6)->GetParent(), view->AccentPanel());
}

TEST_P(TabPanelsView, EveryDescriptorOfTheTablesIsBuiltAsItSays) {
    for (int t = 0; t < TabPanels::kTabs; ++t) {
        const int side = t < TabPanels::kLeftTabs ? 0 : 1;
        const int index = side == 0 ? t : t - TabPanels::kLeftTabs;
        EXPECT_STREQ(view->TabStrip(side)->Tab(index)->GetCaption().c_str(), TabPanels::kTabList[t].name);
        ExpectBuiltAsDescribed(TabPanels::kTabList[t].panel, view->TabStrip(side)->Panel(index),
                               TabPanels::kTabList[t].name);
    }
    ExpectBuiltAsDescribed(TabPanels::kAccent, view->AccentPanel(), "accent");
    EXPECT_EQ(view->AccentPanel()->GetBounds(), (Rect{20, 55, 220, 80}));
    // The "scrapes" label of "FX Mixer" stays empty.
    Pane* fx = view->TabStrip(1)->Panel(2);
    EXPECT_STREQ(static_cast<ALabel*>(fx->GetChild(4))->GetText().c_str(), "");
    EXPECT_STREQ(static_cast<ALabel*>(fx->GetChild(3))->GetText().c_str(), "slap");
}

TEST_P(TabPanelsView, ControlsShowTheEnginesSettingsWithTheirRanges) {
    Attach();
    struct Case {
        int32_t pane;
        int32_t minimum, maximum, value;
    };
    const Case sliders[] = {
        {7, -600, 60, 0},   {10, -12, 12, 0}, {21, -600, 60, -60}, {1, 0, 100, 50},
        {42, 66, 143, 100}, {4, 1, 127, 64},  {5, 1, 127, 100},    {50, 1, 200, 50},
    };
    for (const Case& c : sliders) {
        auto* s = P<Slider>(c.pane);
        ASSERT_NE(s, nullptr) << c.pane;
        EXPECT_EQ(s->GetMinimum(), c.minimum) << c.pane;
        EXPECT_EQ(s->GetMaximum(), c.maximum) << c.pane;
        EXPECT_EQ(s->GetValue(), c.value) << c.pane;
    }
    EXPECT_TRUE(P<CheckMark>(22)->IsOn()) << "fret noise starts on";
    EXPECT_FALSE(P<CheckMark>(15)->IsOn());
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 4);
    EXPECT_EQ(P<Combo>(56)->GetItemCount(), 10);
    EXPECT_EQ(P<NumEditor>(6)->GetMaximum(), 8);
    // The strum time is the play parameter's.
    auto* strum = P<HSlider>(0);
    EXPECT_EQ(strum->GetMinimum(), 20);
    EXPECT_EQ(strum->GetMaximum(), 60);
    EXPECT_EQ(strum->GetValue(), host.RnC().GetParameter(rncStrumTime));
}

TEST_P(TabPanelsView, TheUsersChangesReachTheEngine) {
    Attach();
    OpenTabOf(22);
    Click(view->FindById(22));
    EXPECT_FALSE(engine().GetSwitch(10));
    EXPECT_FALSE(P<CheckMark>(22)->IsOn());

    OpenTabOf(14);
    root.menuAnswers = {2};
    Click(view->FindById(14));
    EXPECT_EQ(engine().GetParameter(43), 2);
    EXPECT_EQ(engine().GestureDepth(43), 0);
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 2);

    OpenTabOf(7);
    Pane* volume = view->FindById(7);
    const Point o = volume->GetAbsoluteOrigin();
    root.Drag(o.x + 15, o.y + 35, o.x + 15, o.y + 60);
    Settle();
    EXPECT_LT(engine().GetParameter(0), 0);
    EXPECT_EQ(engine().GestureDepth(0), 0);
    EXPECT_EQ(P<Slider>(7)->GetValue(), engine().GetParameter(0));

    // The accent's number editor, once the panel over it is closed: a step
    // up of its spin button is written.
    Click(view->TabStrip(0)->Tab(0));
    ASSERT_EQ(view->TabStrip(0)->GetSelected(), 0);
    const int32_t alter = engine().GetParameter(32);
    const Point e = view->FindById(6)->GetAbsoluteOrigin();
    root.MoveTo(e.x + 32, e.y + 6);
    root.Press(e.x + 32, e.y + 6);
    root.Release(e.x + 32, e.y + 6);
    Settle();
    EXPECT_EQ(engine().GetParameter(32), alter + 1);
    EXPECT_EQ(engine().GestureDepth(32), 0);
    EXPECT_EQ(P<NumEditor>(6)->GetValue(), alter + 1);
}

TEST_P(TabPanelsView, ANoticeUpdatesBothControlsOfASettingAndAResetAll) {
    Attach();
    engine().SetParameter(10, -250);
    engine().SetSwitch(10, false);
    Settle();
    EXPECT_EQ(P<Slider>(21)->GetValue(), -250);
    EXPECT_FALSE(P<CheckMark>(22)->IsOn());

    engine().SetParameter(0, -300);
    engine().SetParameter(43, 7);
    engine().SetSwitch(43, true);
    Settle();
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 7);
    EXPECT_TRUE(P<CheckMark>(15)->IsOn());
    engine().ResetToDefaults();
    Settle();
    EXPECT_EQ(P<Slider>(21)->GetValue(), -60);
    EXPECT_TRUE(P<CheckMark>(22)->IsOn());
    EXPECT_EQ(P<Slider>(7)->GetValue(), 0);
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 4);
    EXPECT_FALSE(P<CheckMark>(15)->IsOn());
}

TEST_P(TabPanelsView, APanelBuiltBeforeTheEngineGetsItsRangesWhenItComes) {
    // No engine: nothing to show, nothing written.
    EXPECT_EQ(P<Slider>(7)->GetMinimum(), 0);
    EXPECT_EQ(P<Slider>(7)->GetMaximum(), 0);
    OpenTabOf(22);
    Click(view->FindById(22));
    EXPECT_FALSE(P<CheckMark>(22)->IsOn()) << "a click without an engine shows no change";

    Attach();
    EXPECT_EQ(P<Slider>(7)->GetMinimum(), -600);
    EXPECT_EQ(P<Slider>(7)->GetMaximum(), 60);
    EXPECT_EQ(P<Slider>(21)->GetValue(), -60);
    EXPECT_TRUE(P<CheckMark>(22)->IsOn());
    EXPECT_EQ(P<NumEditor>(6)->GetMaximum(), 8);
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 4);

    view->DetachHost();
    Settle();
    EXPECT_EQ(P<Slider>(7)->GetMaximum(), 0) << "detached, the controls show nothing stale";
    EXPECT_FALSE(P<CheckMark>(22)->IsOn());
}

TEST_P(TabPanelsView, AttachedBeforeItHasAWindowThePanelsShowTheEngineOnceBuilt) {
    // As the page does it: the host comes first, the window later.
    root.RemoveChild(view.get());
    ASSERT_TRUE(view->AttachHost(&host));
    engine().SetParameter(0, -90);
    host.RnC().EngineSetParameter(rncStrumTime, 33);
    host.Notices().Flush();
    root.AddChild(view.get());
    view->OnWindowCreated();
    Settle();
    EXPECT_EQ(P<Slider>(7)->GetMinimum(), -600);
    EXPECT_EQ(P<Slider>(7)->GetValue(), -90);
    EXPECT_EQ(P<Combo>(14)->GetSelectedIndex(), 4);
    EXPECT_TRUE(P<CheckMark>(22)->IsOn());
    EXPECT_EQ(P<HSlider>(0)->GetValue(), 33);
}

TEST_P(TabPanelsView, ThePointerOverAControlShowsItsValueWithItsUnit) {
    Attach();
    OpenTabOf(7);
    struct Case {
        int32_t pane;
        const char* text;
    };
    const Case cases[] = {
        {7, "Master Volume: 0.0 dB"},
        {0, "Strum time: "},
    };
    for (const Case& c : cases) {
        OpenTabOf(c.pane);
        Pane* p = view->FindById(c.pane);
        const Point o = p->GetAbsoluteOrigin();
        root.MoveTo(o.x + 2, o.y + 2);
        Settle();
        const std::string text = view->Display()->Status()->GetText().c_str();
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
    }
}

} // namespace
} // namespace Corvell
