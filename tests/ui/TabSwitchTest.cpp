// The tab strips along the top of the view and the panels they open, and
// how a control panel lays its background image.
#include "PngBuilder.h"
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "ui/ControlPanel.h"
#include "ui/TabSwitch.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

struct Strip {
    TestRootPane root;
    TabSwitch strip;
    std::vector<std::unique_ptr<Pane>> panels;

    Strip(int n, const Rect& bounds) {
        for (int i = 0; i < n; ++i) {
            panels.emplace_back(new Pane);
            panels.back()->Create(&root, Rect{0, 30, 100, 50});
            strip.AddTab(("Tab " + std::to_string(i)).c_str(), panels.back().get());
        }
        strip.Place(bounds);
        root.AddChild(&strip);
        strip.Select(0);
    }
    ~Strip() { root.RemoveChild(&strip); }
    // Which tab is on and which panel shows, as "on/visible" per tab.
    std::string State() const {
        std::string s;
        for (int i = 0; i < strip.GetCount(); ++i)
            s += std::string(strip.Tab(i)->IsOn() ? "1" : "0") + (panels[size_t(i)]->IsVisible() ? "v " : "- ");
        return s;
    }
};

TEST(TabSwitch, TabsShareTheWidthAndOverlapTheirNeighbours) {
    struct Case {
        int n;
        Rect bounds;
        std::vector<Rect> tabs;
    };
    const Case cases[] = {
        // b = (252 - 3) / 3 = 83, a = 0
        {3, {0, 0, 252, 25}, {{-1, 0, 86, 25}, {82, 0, 86, 25}, {165, 0, 86, 25}}},
        // b = 62, a = 1: the first tab one pixel wider
        {4, {549, 0, 253, 25}, {{-1, 0, 66, 25}, {62, 0, 65, 25}, {124, 0, 65, 25}, {186, 0, 65, 25}}},
        {1, {0, 0, 40, 20}, {{-1, 0, 40, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("tabs: " + std::to_string(c.n));
        Strip s(c.n, c.bounds);
        ASSERT_EQ(s.strip.GetCount(), c.n);
        for (int i = 0; i < c.n; ++i)
            EXPECT_EQ(s.strip.Tab(i)->GetBounds(), c.tabs[size_t(i)]) << "tab " << i;
    }
}

TEST(TabSwitch, OneTabAtATimeAndTheOpenTabClosesAgain) {
    Strip s(3, Rect{0, 0, 252, 25});
    EXPECT_EQ(s.State(), "0- 0- 0- ");
    struct Step {
        int select;
        int selected;
        const char* state;
    };
    const Step steps[] = {
        {2, 2, "0- 1v 0- "}, {3, 3, "0- 0- 1v "}, {3, 0, "0- 0- 0- "}, // the open one again: closed
        {1, 1, "1v 0- 0- "}, {-1, 0, "0- 0- 0- "}, {1, 1, "1v 0- 0- "},
        {4, 0, "0- 0- 0- "}, // beyond the tabs
    };
    for (const Step& st : steps) {
        SCOPED_TRACE("Select(" + std::to_string(st.select) + ")");
        s.strip.Select(st.select);
        EXPECT_EQ(s.strip.GetSelected(), st.selected);
        EXPECT_EQ(s.State(), st.state);
    }
}

TEST(TabSwitch, ClicksOpenAndCloseAndTellNoSelectionListener) {
    Strip s(3, Rect{0, 0, 252, 25});
    int heard = 0;
    for (int i = 0; i < 3; ++i)
        s.strip.Tab(i)->AddSelectionListener(Fn<SelectableButton*>([&heard](SelectableButton*) { ++heard; }));
    auto click = [&](int tab) {
        const Point o = s.strip.Tab(tab)->GetAbsoluteOrigin();
        s.root.Click(o.x + 30, o.y + 10);
    };
    click(1);
    EXPECT_EQ(s.State(), "0- 1v 0- ");
    click(2);
    EXPECT_EQ(s.State(), "0- 0- 1v ");
    click(2);
    EXPECT_EQ(s.State(), "0- 0- 0- ");
    s.root.Click(s.strip.Tab(0)->GetAbsoluteOrigin().x + 30, 10, kButtonRight);
    EXPECT_EQ(s.State(), "0- 0- 0- ") << "only the left button opens";
    EXPECT_EQ(heard, 0);
}

std::vector<uint8_t> Tile(uint32_t w, uint32_t h) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), size_t(w) * 3, 0x40);
    }
    return PngBuilder().Header(w, h, 8, 2).ImageData(raw).End().Bytes();
}

TEST(ControlPanel, TheImageIsDrawnOnceTiledOrStretchedAndNeverLoopsWhenEmpty) {
    ClearImageCache();
    TestImageSource images("/nowhere");
    images.AddPng("TILE", Tile(40, 30));
    images.AddPng("EMPTY", {1, 2, 3});
    struct Case {
        const char* image;
        int32_t mode;
        std::vector<std::string> calls; // op and destination
    };
    auto at = [](const char* op, int x, int y, int w, int h) {
        return std::string(op) + " " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
               std::to_string(h);
    };
    const Case cases[] = {
        {"tile.png", ControlPanel::kImageOnce, {at("Blend", 0, 0, 40, 30)}},
        {"tile.png", 7, {at("Blend", 0, 0, 40, 30)}}, // any other mode: once
        // 100 x 70: columns at 0, 40, 80 and rows at 0, 30, 60
        {"tile.png",
         ControlPanel::kImageTiled,
         {at("Blend", 0, 0, 40, 30), at("Blend", 40, 0, 40, 30), at("Blend", 80, 0, 40, 30),
          at("Blend", 0, 30, 40, 30), at("Blend", 40, 30, 40, 30), at("Blend", 80, 30, 40, 30),
          at("Blend", 0, 60, 40, 30), at("Blend", 40, 60, 40, 30), at("Blend", 80, 60, 40, 30)}},
        {"tile.png", ControlPanel::kImageStretched, {at("Blend", 0, 0, 100, 70)}},
        {"empty.png", ControlPanel::kImageTiled, {}},
        {nullptr, ControlPanel::kImageTiled, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.image ? c.image : "(none)") + " mode " + std::to_string(c.mode));
        ControlPanel panel(c.image, c.mode);
        panel.SetBounds(Rect{0, 0, 100, 70});
        struct Hook {
            int calls = 0;
            void Run(Pane*, GraphicsContext&) { ++calls; }
        } hook;
        panel.SetPaintHook(MakeDelegate(&hook, &Hook::Run));
        RecordingContext gc;
        panel.Paint(gc);
        std::vector<std::string> got;
        for (const DrawCall& d : gc.Calls())
            got.push_back(at(d.op.c_str(), d.rect.x, d.rect.y, d.rect.width, d.rect.height));
        EXPECT_EQ(got, c.calls);
        EXPECT_EQ(hook.calls, 1) << "the paint hook runs after the image";
    }
    ClearImageCache();
}

} // namespace
} // namespace Corvell::Test
