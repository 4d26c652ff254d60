// Panes made from descriptor records: the class each kind makes, its id and
// rectangle, labels, groups and who deletes what.
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/ALabel.h"
#include "ui/CheckMark.h"
#include "ui/Combo.h"
#include "ui/ControlPanel.h"
#include "ui/HSlider.h"
#include "ui/HSlider3.h"
#include "ui/NumEditor.h"
#include "ui/PaneFactory.h"
#include "ui/SwitchButton.h"
#include "ui/VSlider.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace Corvell::Test {
namespace {

struct PaneFactory : ::testing::Test {
    PaneFactory() { ClearImageCache(); }
    ~PaneFactory() override {
        made.Clear();
        ClearImageCache();
    }
    TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    TestRootPane root;
    Pane parent;
    PaneSet made;
    void SetUp() override { parent.Create(&root, Rect{10, 10, 400, 300}); }
};

template <class T>
bool Is(Pane* p) {
    return dynamic_cast<T*>(p) != nullptr;
}

TEST_F(PaneFactory, EachKindMakesItsPaneWithTheRecordsIdAndRectangle) {
    const LabelRecord text{2, "Volume", 5};
    struct Case {
        int32_t kind;
        const void* extra;
        std::function<bool(Pane*)> right;
        const char* what;
    };
    const Case cases[] = {
        {0, nullptr, Is<VSlider>, "VSlider"},
        {1, nullptr, Is<HSlider>, "HSlider"},
        {2, nullptr, Is<HSlider3>, "HSlider3"},
        {100, nullptr, Is<CheckMark>, "CheckMark"},
        {101, nullptr, Is<SwitchButton>, "SwitchButton"},
        {200, nullptr, Is<BCombo>, "BCombo"},
        {300, nullptr, Is<NumEditor>, "NumEditor"},
        {500, nullptr, Is<NumEditor>, "NumEditor"},
        {400, &text, Is<ALabel>, "ALabel"},
        {401, &text, Is<ALabel>, "ALabel"},
    };
    int32_t id = 1;
    for (const Case& c : cases) {
        const ControlDescriptor d{id, c.kind, 5 + id, 7, 30 + id, 20, c.extra};
        Pane* p = BuildPane(&parent, d, made);
        ASSERT_NE(p, nullptr) << "kind " << c.kind;
        EXPECT_TRUE(c.right(p)) << "kind " << c.kind << " should make a " << c.what;
        EXPECT_EQ(p->GetId(), id);
        EXPECT_EQ(p->GetBounds(), (Rect{5 + id, 7, 30 + id, 20}));
        EXPECT_EQ(p->GetParent(), &parent);
        EXPECT_EQ(parent.FindById(id), p);
        ++id;
    }
    EXPECT_EQ(made.Count(), std::size(cases));

    // The sliders wear the small thumbs; the combo its arrow image.
    auto* v = static_cast<VSlider*>(parent.FindById(1));
    EXPECT_EQ(v->GetThumbImage(), GetImage("slider-thumb-sm-v.png").Get());
    auto* h = static_cast<HSlider*>(parent.FindById(2));
    EXPECT_EQ(h->GetThumbImage(), GetImage("slider-thumb-sm-h.png").Get());
    auto* combo = static_cast<Combo*>(parent.FindById(6));
    EXPECT_EQ(combo->GetTriangleImage(), GetImage("combo-triangle.png").Get());

    for (int32_t kind : {-1, 3, 102, 301, 402, 999, 1001}) {
        EXPECT_EQ(BuildPane(&parent, ControlDescriptor{77, kind, 0, 0, 10, 10, nullptr}, made), nullptr)
            << "kind " << kind;
    }
    EXPECT_EQ(made.Count(), std::size(cases)) << "an unknown kind makes nothing";
    EXPECT_EQ(parent.FindById(77), nullptr);
}

TEST_F(PaneFactory, LabelsShowTheirTextOnlyForRecordKindTwoAndKeepTheirFormat) {
    const LabelRecord shown{2, "slow strum", 8};
    const LabelRecord empty{0, "scrapes", 8};
    const LabelRecord right{2, "CC:", 6};
    struct Case {
        int32_t kind;
        const LabelRecord* record;
        const char* text;
        uint32_t format;
        float angle;
    };
    const Case cases[] = {
        {401, &shown, "slow strum", 8, 90.0f},
        {401, &empty, "", 8, 90.0f},
        {400, &right, "CC:", 6, 0.0f}, // not widened with the vertical centring
        {400, nullptr, "", 0x4, 0.0f},
    };
    for (const Case& c : cases) {
        auto* label = static_cast<ALabel*>(BuildPane(&parent, ControlDescriptor{-1, c.kind, 0, 0, 15, 60, c.record}, made));
        ASSERT_NE(label, nullptr);
        EXPECT_STREQ(label->GetText().c_str(), c.text);
        EXPECT_EQ(label->GetFormat(), c.format) << c.text;
        EXPECT_EQ(label->GetAngle(), c.angle);
        EXPECT_EQ(label->GetTextColor(), GetColor(1));
        EXPECT_TRUE(label->HasShadow());
    }
}

TEST_F(PaneFactory, GroupsBuildTheirChildrenInsideThemselvesAndGoChildrenFirst) {
    const LabelRecord freq{2, "freq", 8};
    const ControlDescriptor inner[] = {
        {-1, 401, 7, 4, 15, 60, &freq},
        {54, 0, 18, 4, 15, 70, nullptr},
        {55, 100, 130, 4, 23, 23, nullptr},
        {-1, 12345, 0, 0, 5, 5, nullptr}, // skipped, the rest still built
    };
    const GroupRecord innerGroup{0, inner, 4, "wahMod.png", 0};
    const ControlDescriptor outer[] = {{60, 1000, 54, 30, 195, 95, &innerGroup}, {41, 0, 28, 34, 14, 70, nullptr}};
    const GroupRecord outerGroup{0, outer, 2, "top-panel-bg.png", 1};

    auto* panel = dynamic_cast<ControlPanel*>(
        BuildPane(&parent, ControlDescriptor{38, 1000, 0, 0, 264, 132, &outerGroup}, made));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetId(), 38);
    EXPECT_EQ(panel->Mode(), ControlPanel::kImageTiled);
    EXPECT_EQ(panel->Image(), GetImage("top-panel-bg.png").Get());
    auto* group = dynamic_cast<ControlPanel*>(panel->FindById(60));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetParent(), panel);
    EXPECT_EQ(group->Mode(), ControlPanel::kImageOnce);
    EXPECT_EQ(group->GetChildCount(), 3);
    Pane* slider = panel->FindById(54);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetParent(), group);
    EXPECT_EQ(slider->GetAbsoluteOrigin(), (Point{10 + 54 + 18, 10 + 30 + 4})) << "in the group's coordinates";
    EXPECT_EQ(made.Count(), 6u);

    // Malformed groups make nothing.
    const GroupRecord wrongKind{1, inner, 4, nullptr, 0};
    EXPECT_EQ(BuildPane(&parent, ControlDescriptor{-1, 1000, 0, 0, 9, 9, &wrongKind}, made), nullptr);
    EXPECT_EQ(BuildPane(&parent, ControlDescriptor{-1, 1000, 0, 0, 9, 9, nullptr}, made), nullptr);
    const GroupRecord noChildren{0, nullptr, 3, nullptr, 0};
    EXPECT_NE(BuildPane(&parent, ControlDescriptor{-1, 1000, 0, 0, 9, 9, &noChildren}, made), nullptr);

    // Clearing deletes the children before the groups holding them (ASan
    // watches), and leaves the parent with none of them.
    made.Clear();
    EXPECT_EQ(parent.GetChildCount(), 0);
}

} // namespace
} // namespace Corvell::Test
