#include "EventLog.h"
#include "RecordingContext.h"
#include "TestRootPane.h"

#include <gtest/gtest.h>

namespace Corvell::Test {
namespace {

bool SameRegion(const Region& r, const Rect& rect) { return r.SameAs(Region(rect)); }

const LoggedPaint* PaintOf(const EventLog& log, const std::string& name) {
    for (const LoggedPaint& p : log.paints) {
        if (p.pane == name)
            return &p;
    }
    return nullptr;
}

TEST(Painting, ChildrenBottomToTopAtTheirOriginsClippedToTheirRectangles) {
    TestRootPane root(200, 200);
    EventLog log;
    LoggingPane a(log, "a"), a1(log, "a1"), b(log, "b"), hidden(log, "hidden");
    a.Create(&root, {10, 10, 100, 100});
    a1.Create(&a, {5, 5, 20, 20});
    hidden.Create(&a, {0, 0, 50, 50});
    hidden.SetVisible(false);
    b.Create(&root, {150, 150, 100, 100}); // reaches past the root

    RecordingContext gc(Rect{0, 0, 200, 200});
    root.PaintWindow(gc);

    EXPECT_EQ(log.PaintOrder(), (std::vector<std::string>{"a", "a1", "b"}));
    EXPECT_EQ(PaintOf(log, "a")->origin, (Point{10, 10}));
    EXPECT_EQ(PaintOf(log, "a1")->origin, (Point{15, 15}));
    EXPECT_EQ(PaintOf(log, "b")->origin, (Point{150, 150}));
    EXPECT_TRUE(SameRegion(PaintOf(log, "a")->clip, {10, 10, 100, 100}));
    EXPECT_TRUE(SameRegion(PaintOf(log, "a1")->clip, {15, 15, 20, 20}));
    EXPECT_TRUE(SameRegion(PaintOf(log, "b")->clip, {150, 150, 50, 50}));
    // Origin and clip are given back.
    EXPECT_EQ(gc.GetOrigin(), (Point{0, 0}));
    EXPECT_TRUE(SameRegion(gc.GetClip(), {0, 0, 200, 200}));

    // A partial repaint paints only what meets the invalid area.
    log.Clear();
    gc.SetClip(Region(Rect{0, 0, 40, 40}));
    root.PaintWindow(gc);
    EXPECT_EQ(log.PaintOrder(), (std::vector<std::string>{"a", "a1"}));
    EXPECT_TRUE(SameRegion(PaintOf(log, "a")->clip, {10, 10, 30, 30}));
    EXPECT_TRUE(SameRegion(PaintOf(log, "a1")->clip, {15, 15, 20, 20}));
}

TEST(Painting, OpaqueChildrenComeFirstAndNothingLaterDrawsOverThem) {
    TestRootPane root(200, 200);
    EventLog log;
    LoggingPane p(log, "p"), c1(log, "c1"), c2(log, "c2"), c3(log, "c3");
    p.Create(&root, {0, 0, 100, 100});
    c1.Create(&p, {10, 10, 30, 30});
    c2.Create(&p, {20, 20, 50, 50});
    c3.Create(&p, {60, 60, 30, 30});
    c1.SetFlags(Pane::kOpaque, true);
    c3.SetFlags(Pane::kOpaque, true);
    p.SetBackground(MakeColor(1, 2, 3));

    RecordingContext gc(Rect{0, 0, 200, 200});
    root.PaintWindow(gc);

    // Opaque ones top-most first; each is painted once.
    EXPECT_EQ(log.PaintOrder(), (std::vector<std::string>{"c3", "c1", "p", "c2"}));
    Region pClip = PaintOf(log, "p")->clip;
    EXPECT_EQ(pClip.Area(), 100 * 100 - 2 * 30 * 30);
    EXPECT_FALSE(pClip.Intersects({10, 10, 30, 30}));
    EXPECT_FALSE(pClip.Intersects({60, 60, 30, 30}));
    Region c2Clip = PaintOf(log, "c2")->clip;
    EXPECT_EQ(c2Clip.Area(), 50 * 50 - 20 * 20 - 10 * 10);
    // The background fill is clipped the same way.
    auto fills = gc.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_TRUE(fills[0].clip.SameAs(pClip));

    // An opaque child covering its parent leaves nothing of the parent visible.
    log.Clear();
    gc.ClearCalls();
    LoggingPane cover(log, "cover");
    cover.Create(&p, {0, 0, 100, 100});
    cover.SetFlags(Pane::kOpaque, true);
    root.PaintWindow(gc);
    EXPECT_EQ(log.PaintOrder(), (std::vector<std::string>{"cover", "p"}));
    EXPECT_TRUE(PaintOf(log, "p")->clip.IsEmpty());
}

struct FillCase {
    bool disabledAncestor;
    bool background;
    bool disabledBackground;
    int expected; // 0 none, 1 background colour, 2 disabled colour
};

TEST(Painting, BackgroundFillFollowsTheEffectiveState) {
    const Color kBg = MakeColor(10, 20, 30);
    const Color kDis = MakeColor(90, 90, 90);
    const FillCase cases[] = {
        {false, true, false, 1}, {false, false, true, 0}, {false, true, true, 1}, {false, false, false, 0},
        {true, true, false, 0},  {true, false, true, 2},  {true, true, true, 2},  {true, false, false, 0},
    };
    for (const FillCase& c : cases) {
        TestRootPane root(100, 100);
        Pane parent, pane;
        parent.Create(&root, {10, 10, 80, 80});
        pane.Create(&parent, {5, 5, 20, 30});
        if (c.background)
            pane.SetBackground(kBg);
        if (c.disabledBackground)
            pane.SetDisabledBackground(kDis);
        parent.SetEnabled(!c.disabledAncestor);

        RecordingContext gc(Rect{0, 0, 100, 100});
        root.PaintWindow(gc);
        auto fills = gc.CallsOf("FillRect");
        const std::string label = std::string("disabled ancestor ") + (c.disabledAncestor ? "yes" : "no") +
                                  ", 0x200 " + (c.background ? "yes" : "no") + ", 0x400 " +
                                  (c.disabledBackground ? "yes" : "no");
        if (c.expected == 0) {
            EXPECT_TRUE(fills.empty()) << label;
            continue;
        }
        ASSERT_EQ(fills.size(), 1u) << label;
        EXPECT_EQ(fills[0].brushColor, c.expected == 1 ? kBg : kDis) << label;
        EXPECT_EQ(fills[0].rect, (Rect{0, 0, 20, 30})) << label;
        EXPECT_EQ(fills[0].origin, (Point{15, 15})) << label;
    }
}

TEST(Painting, ARootAwayFromTheCornerPaintsAtItsOwnOffset) {
    // Drawing and hit testing use the root's x and y as an offset in the window.
    TestRootPane root(50, 50);
    root.SetBounds({20, 30, 50, 50});
    EventLog log;
    LoggingPane a(log, "a");
    a.Create(&root, {5, 5, 10, 10});
    RecordingContext gc(Rect{0, 0, 200, 200});
    root.PaintWindow(gc);
    ASSERT_EQ(log.paints.size(), 1u);
    EXPECT_EQ(log.paints[0].origin, (Point{25, 35}));
    EXPECT_TRUE(SameRegion(log.paints[0].clip, {25, 35, 10, 10}));

    root.ClearInvalidations();
    a.InvalidateAll();
    ASSERT_EQ(root.invalidations.size(), 1u);
    EXPECT_EQ(root.invalidations[0], (Rect{25, 35, 10, 10}));
}

} // namespace
} // namespace Corvell::Test
