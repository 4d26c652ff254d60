// The widget gallery of the demo host in a real window: each widget paints
// inside its own rectangle and nowhere else.
#include "../WineHelpers.h"
#include "SubstituteHost.h"
#include "win32/GalleryWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace Corvell {
namespace {

// Pixels whose channels differ by more than this count as changed: text
// and blending may differ by a step or two between two paints.
constexpr int kTolerance = 24;

struct Changes {
    int inside = 0;
    int outside = 0;
    Point firstOutside{-1, -1};
};

bool Inside(const Rect& r, int x, int y) { return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height; }

// Pixels in `skip` count neither way.
Changes Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, const Rect& r, const Rect& skip) {
    Changes c;
    for (int y = 0; y < WidgetGallery::kHeight; ++y)
        for (int x = 0; x < WidgetGallery::kWidth; ++x) {
            const size_t i = (static_cast<size_t>(y) * WidgetGallery::kWidth + x) * 3;
            const int d = std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
            if (d <= kTolerance || Inside(skip, x, y))
                continue;
            if (Inside(r, x, y)) {
                ++c.inside;
            } else {
                if (!c.outside)
                    c.firstOutside = Point{x, y};
                ++c.outside;
            }
        }
    return c;
}

TEST(GalleryWindow, EachWidgetPaintsInsideItsOwnRectangleAndNowhereElse) {
    Substitute::SubstituteHost engine;
    GalleryWindow window;
    ASSERT_TRUE(window.Open(&engine.RnC())) << window.Error();
    const auto items = window.Gallery().Items();
    ASSERT_GT(items.size(), 40u);
    // The help line shows the text of whichever widget spoke last: a
    // dragging slider hidden ends its drag and says its value there.
    const auto lines = window.Gallery().Family("TooltipViewer");
    ASSERT_EQ(1u, lines.size());
    const Point lo = lines[0].pane->GetAbsoluteOrigin();
    const Rect line{lo.x, lo.y, lines[0].pane->GetBounds().width, lines[0].pane->GetBounds().height};

    // The tree's open rows animate their arrows for a few frames: the
    // page is compared once it has come to rest.
    std::vector<uint8_t> before, after;
    ASSERT_TRUE(window.Capture(before));
    for (int i = 0; i < 40; ++i) {
        WineTest::Pump(60);
        ASSERT_TRUE(window.Capture(after));
        if (after == before)
            break;
        before.swap(after);
    }
    ASSERT_EQ(before, after) << "the gallery never came to rest";

    for (const auto& item : items) {
        std::vector<uint8_t> shown, hidden;
        ASSERT_TRUE(window.Capture(shown));
        item.pane->SetVisible(false);
        ASSERT_TRUE(window.Capture(hidden));
        item.pane->SetVisible(true);

        const Point o = item.pane->GetAbsoluteOrigin();
        const Rect r{o.x, o.y, item.pane->GetBounds().width, item.pane->GetBounds().height};
        const Changes c = Compare(shown, hidden, r, item.pane == lines[0].pane ? Rect{} : line);
        EXPECT_GT(c.inside, 0) << item.family << " (" << item.state << ") paints nothing";
        EXPECT_EQ(0, c.outside) << item.family << " (" << item.state << ") paints outside (" << r.x << ", " << r.y
                                << ", " << r.width << ", " << r.height << "), first at (" << c.firstOutside.x << ", "
                                << c.firstOutside.y << ")";
    }
    window.Close();
}

TEST(GalleryWindow, ARealClickReachesTheEngineAndTheWindowClosesCleanly) {
    Substitute::SubstituteHost engine;
    GalleryWindow window;
    ASSERT_TRUE(window.Open(&engine.RnC())) << window.Error();
    const auto toggles = window.Gallery().Family("CheckMark");
    ASSERT_FALSE(toggles.empty());
    Pane* normal = toggles.front().pane;
    const Point o = normal->GetAbsoluteOrigin();
    const LPARAM at = MAKELPARAM(o.x + normal->GetBounds().width / 2, o.y + normal->GetBounds().height / 2);
    const bool wasOn = static_cast<Button*>(normal)->IsOn();
    const size_t writes = engine.Log().Count("IRnC", "SetParameter");
    SendMessageA(window.Child(), WM_MOUSEMOVE, 0, at);
    SendMessageA(window.Child(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(window.Child(), WM_LBUTTONUP, 0, at);
    WineTest::Pump(20);
    EXPECT_EQ(writes + 1, engine.Log().Count("IRnC", "SetParameter"));
    EXPECT_NE(wasOn, static_cast<Button*>(normal)->IsOn());
    window.Close();
    EXPECT_EQ(nullptr, window.Child());
    for (int p = 0; p < rncParCount; ++p)
        EXPECT_EQ(0, engine.RnC().GestureDepth(p)) << "parameter " << p;
}

} // namespace
} // namespace Corvell
