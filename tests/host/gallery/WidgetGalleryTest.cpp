#include "gallery/WidgetGallery.h"

#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "RecordingContext.h"
#include "shared/Graphics/Bitmap.h"
#include "ui/ALabel.h"
#include "ui/GlassPane.h"
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
    const std::set<std::string> paneStates = {"enabled", "disabled"};
    const std::set<std::string> labelStates = {"enabled", "disabled", "centred",         "right",
                                               "cut short", "turned", "turned, disabled"};
    struct Family {
        const char* name;
        const std::set<std::string>* states;
    } families[] = {
        {"ToggleButton", &buttonStates}, {"SelectableButton", &buttonStates}, {"EmbossedButton", &buttonStates},
        {"SeqPageButton", &buttonStates}, {"PlayButton", &buttonStates},     {"TabButton", &buttonStates},
        {"CheckRadioButton", &buttonStates}, {"RadioMark", &buttonStates},   {"CheckMark", &buttonStates},
        {"HSlider", &sliderStates},      {"VSlider", &sliderStates},         {"HSlider3", &sliderStates},
        {"ColorPane", &paneStates},      {"GrayPane", &paneStates},          {"GroupBox", &paneStates},
        {"HorizontalSeparator", &paneStates}, {"GlassPane", &paneStates},    {"ALabel", &labelStates},
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
        } else if (auto* l = dynamic_cast<ALabel*>(i.pane)) {
            EXPECT_EQ(state.find("disabled") == std::string::npos, l->IsEnabled()) << state;
            const uint32_t align = l->GetFormat() & (kTextCenter | kTextRight);
            EXPECT_EQ(state == "centred" ? kTextCenter : state == "right" ? kTextRight : 0u, align) << state;
            EXPECT_EQ(state.rfind("turned", 0) == 0 ? 90.0f : 0.0f, l->GetAngle()) << state;
            EXPECT_TRUE(l->HasShadow()) << state; // as the layouts make them
        } else if (!std::strcmp(i.family, "ColorPane") || !std::strcmp(i.family, "GrayPane") ||
                   !std::strcmp(i.family, "GroupBox") || !std::strcmp(i.family, "HorizontalSeparator") ||
                   !std::strcmp(i.family, "GlassPane")) {
            EXPECT_EQ(state == "enabled", i.pane->IsEnabled()) << i.family << " " << state;
        } else {
            ADD_FAILURE() << i.family << " is not a family the gallery shows";
        }
    }
}

TEST_F(GalleryFixture, PanesAndLabelsEachDrawInsideTheirOwnCell) {
    Corvell::Test::RecordingContext gc{Rect{0, 0, WidgetGallery::kWidth, WidgetGallery::kHeight}};
    root->PaintWindow(gc);
    const char* const families[] = {"ColorPane", "GrayPane", "GroupBox", "HorizontalSeparator", "GlassPane", "ALabel"};
    for (const char* family : families)
        for (const auto& i : gallery->Family(family)) {
            const Point o = i.pane->GetAbsoluteOrigin();
            const Rect cell{o.x, o.y, i.pane->GetBounds().width, i.pane->GetBounds().height};
            int drawn = 0;
            for (const auto& c : gc.Calls()) {
                if (!(c.origin == o))
                    continue;
                ++drawn;
                Region outside = c.clip;
                outside.Subtract(cell);
                EXPECT_TRUE(outside.IsEmpty()) << family << " " << i.state << " " << c.op;
            }
            EXPECT_GT(drawn, 0) << family << " " << i.state << " draws nothing";
        }
    // The glass shows an image, and the cut-short label has more text than room.
    for (const auto& i : gallery->Family("GlassPane"))
        EXPECT_GT(dynamic_cast<GlassPane&>(*i.pane).GetGlassImage()->Width(), 0);
    auto cut = Find("ALabel", "cut short");
    ASSERT_TRUE(cut.pane);
    EXPECT_GT(gc.MeasureText(static_cast<ALabel*>(cut.pane)->GetText().c_str(), -1).width,
              cut.pane->GetBounds().width);
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
