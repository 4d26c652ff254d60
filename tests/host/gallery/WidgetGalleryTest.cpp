#include "gallery/WidgetGallery.h"

#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "ui/Slider.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace Corvell {
namespace {

using Substitute::SubstituteHost;

const std::string kArtwork = TARROW_SOURCE_DIR "/src/resources";

struct GalleryFixture : ::testing::Test {
    GalleryFixture() {
        gallery->Attach(&host.RnC());
        gallery->Create(root.get(), Rect{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight});
        root->PumpMessages();
    }
    ~GalleryFixture() override {
        gallery.reset();
        root.reset();
        ClearImageCache();
    }

    WidgetGallery::Item Find(const char* family, const char* state) {
        for (const auto& i : gallery->Items())
            if (!std::strcmp(i.family, family) && !std::strcmp(i.state, state))
                return i;
        ADD_FAILURE() << "no " << family << " " << state;
        return WidgetGallery::Item{family, state, nullptr};
    }
    Point Centre(Pane* p) {
        const Point o = p->GetAbsoluteOrigin();
        return Point{o.x + p->GetBounds().width / 2, o.y + p->GetBounds().height / 2};
    }

    Corvell::Test::TestImageSource images{kArtwork};
    SubstituteHost host;
    std::unique_ptr<Corvell::Test::TestRootPane> root =
        std::make_unique<Corvell::Test::TestRootPane>(WidgetGallery::kWidth, WidgetGallery::kHeight);
    std::unique_ptr<WidgetGallery> gallery = std::make_unique<WidgetGallery>();
};

TEST_F(GalleryFixture, EveryFamilyShowsItsStatesInsideTheWindowWithoutOverlap) {
    const std::set<std::string> buttonStates = {"normal", "hovered", "pressed", "on", "disabled"};
    const std::set<std::string> sliderStates = {"minimum", "maximum", "dragging", "disabled"};
    struct Family {
        const char* name;
        const std::set<std::string>* states;
    } families[] = {
        {"ToggleButton", &buttonStates}, {"SelectableButton", &buttonStates}, {"EmbossedButton", &buttonStates},
        {"SeqPageButton", &buttonStates}, {"PlayButton", &buttonStates},     {"TabButton", &buttonStates},
        {"CheckRadioButton", &buttonStates}, {"RadioMark", &buttonStates},   {"CheckMark", &buttonStates},
        {"HSlider", &sliderStates},      {"VSlider", &sliderStates},         {"HSlider3", &sliderStates},
    };
    for (const Family& f : families) {
        std::set<std::string> shown;
        for (const auto& i : gallery->Family(f.name))
            shown.insert(i.state);
        EXPECT_EQ(*f.states, shown) << f.name;
    }
    // A plain button has every state but on.
    std::set<std::string> plain;
    for (const auto& i : gallery->Family("Button"))
        plain.insert(i.state);
    EXPECT_EQ((std::set<std::string>{"normal", "hovered", "pressed", "disabled"}), plain);

    const Rect window{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight};
    const auto& items = gallery->Items();
    for (size_t a = 0; a < items.size(); ++a) {
        const Rect ra = items[a].pane->GetBounds();
        EXPECT_TRUE(ra.width > 0 && ra.height > 0 && ra.x >= 0 && ra.y >= 0 && ra.x + ra.width <= window.width &&
                    ra.y + ra.height <= window.height)
            << items[a].family << " " << items[a].state;
        for (size_t b = a + 1; b < items.size(); ++b) {
            const Rect rb = items[b].pane->GetBounds();
            const bool apart = ra.x + ra.width <= rb.x || rb.x + rb.width <= ra.x || ra.y + ra.height <= rb.y ||
                               rb.y + rb.height <= ra.y;
            EXPECT_TRUE(apart) << items[a].family << " " << items[a].state << " overlaps " << items[b].family << " "
                               << items[b].state;
        }
    }
}

TEST_F(GalleryFixture, EachColumnShowsItsState) {
    for (const auto& i : gallery->Items()) {
        const std::string state = i.state;
        if (auto* b = dynamic_cast<Button*>(i.pane)) {
            EXPECT_EQ(state == "hovered" || state == "pressed", b->IsHovered()) << i.family << " " << state;
            EXPECT_EQ(state == "pressed", b->IsHeld()) << i.family << " " << state;
            EXPECT_EQ(state == "on", b->IsOn()) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", b->IsEnabled()) << i.family << " " << state;
        } else if (auto* s = dynamic_cast<Slider*>(i.pane)) {
            if (state == "minimum") {
                EXPECT_EQ(s->GetMinimum(), s->GetValue()) << i.family;
            } else if (state == "maximum") {
                EXPECT_EQ(s->GetMaximum(), s->GetValue()) << i.family;
            }
            EXPECT_LT(s->GetMinimum(), s->GetMaximum()) << i.family << " " << state;
            EXPECT_EQ(state == "dragging", s->IsDragging()) << i.family << " " << state;
            EXPECT_EQ(state != "disabled", s->IsEnabled()) << i.family << " " << state;
        } else {
            ADD_FAILURE() << i.family << " is neither a button nor a slider";
        }
    }
}

TEST_F(GalleryFixture, AClickAsksTheEngineAndEveryWidgetOfThatValueFollows) {
    auto normal = Find("ToggleButton", "normal");
    auto disabled = Find("ToggleButton", "disabled");
    ASSERT_TRUE(normal.pane && disabled.pane);
    const Point at = Centre(normal.pane);
    root->Click(at.x, at.y);
    root->PumpMessages();
    EXPECT_EQ(1, host.RnC().GetParameter(rncHold));
    EXPECT_EQ(0, host.RnC().GestureDepth(rncHold));
    EXPECT_TRUE(static_cast<ToggleButton*>(normal.pane)->IsOn());
    EXPECT_TRUE(static_cast<ToggleButton*>(disabled.pane)->IsOn());

    // The engine changes it on its own: the gallery shows it.
    host.RnC().EngineSetParameter(rncHold, 0);
    root->PumpMessages();
    EXPECT_FALSE(static_cast<ToggleButton*>(normal.pane)->IsOn());

    auto capo = Find("Button", "normal");
    const int before = host.RnC().GetParameter(rncCapo);
    const Point c = Centre(capo.pane);
    root->Click(c.x, c.y);
    root->PumpMessages();
    EXPECT_EQ(before + 1, host.RnC().GetParameter(rncCapo));
    EXPECT_NE(nullptr, std::strstr(static_cast<Button*>(capo.pane)->GetCaption().c_str(),
                                   std::to_string(before + 1).c_str()));
}

TEST_F(GalleryFixture, DraggingASliderWritesOneBalancedEdit) {
    auto minimum = Find("HSlider", "minimum");
    ASSERT_TRUE(minimum.pane);
    auto* slider = static_cast<Slider*>(minimum.pane);
    const auto par = static_cast<ERnCPars>(slider->GetAdapterId());
    const int start = host.RnC().GetParameter(par);
    EXPECT_EQ(slider->GetMinimum(), start);
    const Point at = Centre(slider);
    root->MoveTo(at.x, at.y);
    root->Press(at.x, at.y);
    EXPECT_EQ(1, host.RnC().GestureDepth(par));
    for (int dx = 10; dx <= 40; dx += 10)
        root->MoveTo(at.x + dx, at.y);
    root->Release(at.x + 40, at.y);
    root->PumpMessages();
    EXPECT_EQ(0, host.RnC().GestureDepth(par));
    EXPECT_GT(host.RnC().GetParameter(par), start);
    EXPECT_EQ(host.RnC().GetParameter(par), slider->GetValue());
}

TEST_F(GalleryFixture, ClosingTheGalleryEndsTheEditsItsPressedWidgetsHold) {
    auto dragging = Find("HSlider3", "dragging");
    ASSERT_TRUE(dragging.pane);
    const auto par = static_cast<ERnCPars>(static_cast<Slider*>(dragging.pane)->GetAdapterId());
    EXPECT_EQ(1, host.RnC().GestureDepth(par));
    gallery.reset();
    for (int p = 0; p < rncParCount; ++p)
        EXPECT_EQ(0, host.RnC().GestureDepth(p)) << "parameter " << p;
}

} // namespace
} // namespace Corvell
