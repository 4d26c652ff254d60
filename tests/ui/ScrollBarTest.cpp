#include "Canvas.h"
#include "TestRootPane.h"
#include "ui/ScrollBar.h"
#include "ui/core/FunctionDelegate.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace Corvell::Test {
namespace {

// ---- arithmetic --------------------------------------------------------------------

struct RangeCase {
    const char* name;
    int32_t min, max, page, step, position; // position set before the range
    int32_t wantMax, wantPage, wantStep, wantPosition;
};

class ScrollRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ScrollRange, KeepsItsInvariants) {
    const RangeCase& c = GetParam();
    ScrollBar bar;
    bar.SetRange(0, 3000000, 10, 1);
    bar.SetPosition(c.position);
    bar.SetRange(c.min, c.max, c.page, c.step);
    EXPECT_EQ(bar.GetMaximum(), c.wantMax);
    EXPECT_EQ(bar.GetPage(), c.wantPage);
    EXPECT_EQ(bar.GetStep(), c.wantStep);
    EXPECT_EQ(bar.GetPosition(), c.wantPosition);
    EXPECT_GE(bar.GetPosition(), bar.GetMinimum());
    EXPECT_LE(int64_t(bar.GetPosition()) + bar.GetPage(), bar.GetMaximum());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScrollRange,
    ::testing::Values(RangeCase{"SnapsTheMaximum", 0, 45, 30, 20, 0, 60, 30, 20, 0},
                      RangeCase{"ContentShorterThanTheView", 0, 0, 150, 20, 0, 20, 20, 20, 0},
                      RangeCase{"PositionSnappedAndClamped", 0, 100, 30, 20, 37, 100, 30, 20, 40},
                      RangeCase{"PositionPastTheEnd", 0, 100, 30, 20, 95, 100, 30, 20, 70},
                      RangeCase{"ZeroHeightView", 0, 400, 0, 20, 500, 400, 0, 20, 400},
                      RangeCase{"NegativePageIsNone", 0, 400, -14, 20, 0, 400, 0, 20, 0},
                      RangeCase{"OneRow", 0, 20, 194, 20, 0, 20, 20, 20, 0},
                      RangeCase{"ZeroStepIsOne", 0, 45, 30, 0, 7, 45, 30, 1, 7},
                      RangeCase{"NegativeStepIsOne", 0, 45, 30, -5, 7, 45, 30, 1, 7},
                      RangeCase{"HugeContent", 0, 2000000, 251, 20, 1999999, 2000000, 251, 20, 1999749}),
    [](const auto& info) { return info.param.name; });

TEST(ScrollBar, SetPositionSnapsClampsAndTellsNobody) {
    ScrollBar bar;
    bar.SetRange(0, 100, 30, 20);
    int heard = 0;
    bar.AddPositionListener(Fn<ScrollBar*>([&](ScrollBar*) { ++heard; }));
    const std::pair<int32_t, int32_t> cases[] = {{1, 20}, {20, 20}, {39, 40}, {-7, 0}, {1000, 70}, {61, 70}};
    for (const auto& [in, out] : cases) {
        bar.SetPosition(in);
        EXPECT_EQ(bar.GetPosition(), out) << in;
    }
    EXPECT_EQ(heard, 0);
}

struct EnsureCase {
    const char* name;
    int32_t position, a;
    int32_t want;
    int calls;
};

class ScrollEnsure : public ::testing::TestWithParam<EnsureCase> {};

TEST_P(ScrollEnsure, ScrollsAsLittleAsPossible) {
    const EnsureCase& c = GetParam();
    ScrollBar bar;
    bar.SetRange(0, 400, 100, 20); // five rows of 20 shown
    bar.SetPosition(c.position);
    int heard = 0;
    bar.AddPositionListener(Fn<ScrollBar*>([&](ScrollBar*) { ++heard; }));
    bar.EnsureVisible(c.a);
    EXPECT_EQ(bar.GetPosition(), c.want);
    EXPECT_EQ(heard, c.calls);
}

INSTANTIATE_TEST_SUITE_P(Table, ScrollEnsure,
                         ::testing::Values(EnsureCase{"AlreadyVisible", 100, 140, 100, 0},
                                           EnsureCase{"LastVisibleRow", 100, 180, 100, 0},
                                           EnsureCase{"AboveGoesToTheTop", 100, 60, 60, 1},
                                           EnsureCase{"BelowGoesToTheBottom", 100, 200, 120, 1},
                                           EnsureCase{"FarBelowClamped", 0, 500, 300, 1},
                                           EnsureCase{"TopRowWhenAtTop", 0, 0, 0, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(ScrollBar, ThumbGeometryFollowsThePosition) {
    TestRootPane root{300, 300};
    ScrollBar v;
    v.Create(&root, {0, 0, 21, 200});
    v.SetRange(0, 100, 30, 10);
    EXPECT_TRUE(v.IsVertical());
    EXPECT_EQ(v.FirstArrow(), (Rect{0, 0, 21, 21}));
    EXPECT_EQ(v.SecondArrow(), (Rect{0, 179, 21, 21}));
    // Track 200 - 42 + 2 = 160: a = 160 * p / 100, b = 160 * (p + 30) / 100.
    EXPECT_EQ(v.Thumb(), (Rect{0, 20, 21, 48}));
    v.SetPosition(70);
    EXPECT_EQ(v.Thumb(), (Rect{0, 132, 21, 48}));
    ScrollBar h;
    h.Create(&root, {0, 250, 200, 15});
    h.SetRange(0, 100, 50, 10);
    EXPECT_FALSE(h.IsVertical());
    EXPECT_EQ(h.SecondArrow(), (Rect{185, 0, 15, 15}));
    EXPECT_EQ(h.Thumb(), (Rect{14, 0, 86, 15})); // track 172: a 0, b 86
}

// ---- the mouse ------------------------------------------------------------------------

// A vertical bar 21 x 200 at (10, 10): range 0..100, page 30, step 20.
class ScrollPress : public ::testing::Test {
protected:
    ScrollPress() {
        bar->Create(&root, {10, 10, 21, 200});
        bar->SetRange(0, 100, 30, 20);
        bar->AddPositionListener(Fn<ScrollBar*>([this](ScrollBar* b) { positions.push_back(b->GetPosition()); }));
    }
    // Window coordinates of a point of the bar.
    void Press(int32_t y) {
        root.MoveTo(20, 10 + y);
        root.Press(20, 10 + y);
    }
    void Release(int32_t y) { root.Release(20, 10 + y); }

    TestRootPane root{300, 300};
    std::unique_ptr<ScrollBar> bar = std::make_unique<ScrollBar>();
    std::vector<int32_t> positions;
};

TEST_F(ScrollPress, AnArrowStepsAtOnceThenRepeatsAfterTheDelay) {
    Press(190);
    EXPECT_EQ(positions, (std::vector<int32_t>{20}));
    root.AdvanceTime(499);
    EXPECT_EQ(positions.size(), 1u);
    root.AdvanceTime(1);
    root.AdvanceTime(200);
    // 40 at 500 ms, 60 at 600, 70 (the end) at 700; then nothing moves.
    EXPECT_EQ(positions, (std::vector<int32_t>{20, 40, 60, 70}));
    root.AdvanceTime(500);
    EXPECT_EQ(positions.size(), 4u);
    Release(190);
    EXPECT_EQ(root.GetTimerCount(), 0u);
    EXPECT_FALSE(bar->IsRepeating());
}

TEST_F(ScrollPress, TheTrackPagesUntilTheThumbReachesThePointer) {
    Press(150); // below the thumb (20..67)
    EXPECT_EQ(positions, (std::vector<int32_t>{40})); // snap(30)
    root.AdvanceTime(500);
    EXPECT_EQ(positions, (std::vector<int32_t>{40, 70}));
    root.AdvanceTime(1000); // the thumb (132..179) is under the pointer now
    EXPECT_EQ(positions.size(), 2u);
    Release(150);
    EXPECT_EQ(root.GetTimerCount(), 0u);

    positions.clear();
    Press(60); // above the thumb: back one page
    EXPECT_EQ(positions, (std::vector<int32_t>{40}));
    Release(60);
}

TEST_F(ScrollPress, APressJustPastTheThumbOrAtTheEndDoesNothing) {
    Press(68); // the pixel after the thumb's last one
    Release(68);
    Press(10); // the first arrow at the start
    Release(10);
    EXPECT_TRUE(positions.empty());
    EXPECT_EQ(root.GetTimerCount(), 0u);
}

TEST_F(ScrollPress, ADragFollowsThePointerAndSnapsOnRelease) {
    // 0..100 over 200 - 42 = 158 pixels: 58 pixels is about 36.
    Press(40);
    EXPECT_TRUE(bar->IsDragging());
    root.MoveTo(20, 10 + 40 + 58);
    EXPECT_EQ(bar->GetPosition(), 36);
    Release(40 + 58);
    EXPECT_EQ(bar->GetPosition(), 40);
    EXPECT_EQ(positions.back(), 40);
    // Dragged past the end: released at maximum - page.
    Press(bar->Thumb().y + 2);
    root.MoveTo(20, 10 + 199);
    Release(199);
    EXPECT_EQ(bar->GetPosition(), 70);
    EXPECT_FALSE(bar->IsDragging());
}

TEST_F(ScrollPress, TheWheelMovesByStepsAndAlwaysTellsTheListeners) {
    root.MoveTo(20, 100);
    root.Wheel(-120); // one notch towards the user
    EXPECT_EQ(positions, (std::vector<int32_t>{20}));
    root.Wheel(120);
    root.Wheel(120); // nothing to move: told anyway
    EXPECT_EQ(positions, (std::vector<int32_t>{20, 0, 0}));
}

struct EndCase {
    const char* name;
    std::function<void(TestRootPane&, std::unique_ptr<ScrollBar>&)> end;
};

class ScrollGestureEnd : public ScrollPress, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ScrollGestureEnd, TheRepeatNeverOutlivesThePress) {
    Press(190);
    ASSERT_TRUE(bar->IsRepeating());
    GetParam().end(root, bar);
    const size_t heard = positions.size();
    root.AdvanceTime(2000); // ASan watches a deleted bar's timers
    EXPECT_EQ(positions.size(), heard);
    EXPECT_EQ(root.GetTimerCount(), 0u);
    if (bar) {
        EXPECT_FALSE(bar->IsRepeating());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScrollGestureEnd,
    ::testing::Values(EndCase{"CaptureLost", [](TestRootPane& r, auto&) { r.StealCapture(); }},
                      EndCase{"Hidden", [](TestRootPane&, auto& b) { b->SetVisible(false); }},
                      EndCase{"Disabled", [](TestRootPane&, auto& b) { b->SetEnabled(false); }},
                      EndCase{"Closed", [](TestRootPane&, auto& b) { b->Close(); }},
                      EndCase{"Deleted", [](TestRootPane&, auto& b) { b.reset(); }}),
    [](const auto& info) { return info.param.name; });

TEST_F(ScrollPress, AListenerMayDeleteTheBarMidRepeat) {
    bar->AddPositionListener(Fn<ScrollBar*>([this](ScrollBar* b) {
        if (b->GetPosition() == 40)
            bar.reset();
    }));
    Press(190);
    root.AdvanceTime(1000);
    EXPECT_EQ(bar, nullptr);
    EXPECT_EQ(root.GetTimerCount(), 0u);
}

TEST(ScrollBar, ABarNoLongerThanItsArrowsIgnoresADrag) {
    TestRootPane root{300, 300};
    ScrollBar bar;
    bar.Create(&root, {10, 10, 21, 42}); // no track left between the arrows
    bar.SetRange(0, 100, 99, 1);
    const Rect thumb = bar.Thumb();
    ASSERT_GT(thumb.height, 0);
    root.MoveTo(20, 10 + thumb.y);
    root.Press(20, 10 + thumb.y);
    ASSERT_TRUE(bar.IsDragging());
    root.MoveTo(20, 45);
    root.Release(20, 45);
    EXPECT_EQ(bar.GetPosition(), 0);
}

TEST(ScrollBar, AThumbOverAVeryLongRangeKeepsALengthToGrab) {
    TestRootPane root{300, 400};
    ScrollBar bar;
    bar.Create(&root, {10, 10, 21, 330});
    bar.SetRange(0, 2000000, 324, 20); // 100,000 rows of 20 in a 324-pixel view
    // Track 330 - 42 + 2 = 290 pixels: the plain thumb would be 0 long.
    const struct {
        int32_t position;
        int32_t start;
    } cases[] = {{0, 20}, {999838, 20 + 140}, {2000000 - 324, 20 + 280}};
    for (const auto& c : cases) {
        bar.SetPosition(c.position);
        EXPECT_EQ(bar.Thumb(), (Rect{0, c.start, 21, ScrollBar::kMinThumb})) << c.position;
    }
    // Dragged from the top to the bottom of the track: the whole range.
    bar.SetPosition(0);
    root.MoveTo(20, 10 + 25);
    root.Press(20, 10 + 25);
    root.MoveTo(20, 10 + 25 + 140);
    EXPECT_NEAR(bar.GetPosition(), 999838, 20);
    root.MoveTo(20, 10 + 25 + 280);
    root.Release(20, 10 + 25 + 280);
    EXPECT_EQ(bar.GetPosition(), 2000000 - 324);
}

// ---- painting -----------------------------------------------------------------------------

TEST(ScrollBarPaint, ArrowsShowWhichWayTheBarCanMove) {
    TestRootPane root{300, 300};
    ScrollBar bar;
    bar.Create(&root, {0, 0, 21, 200});
    const Color colors[ScrollBar::kColorCount] = {0x010101, 0x020202, 0x030303, 0x040404,
                                                  0x050505, 0x060606, 0x070707};
    bar.SetColors(colors);
    bar.SetRange(0, 100, 30, 20);
    struct Case {
        int32_t position;
        bool enabled;
        Color up, down;
    } cases[] = {{0, true, 0x020202, 0x010101}, {40, true, 0x010101, 0x010101}, {70, true, 0x010101, 0x020202},
                 {40, false, 0x020202, 0x020202}};
    for (const Case& c : cases) {
        bar.SetPosition(c.position);
        bar.SetEnabled(c.enabled);
        Canvas canvas;
        bar.PaintAll(canvas.gc);
        canvas.CheckRestored();
        const auto polys = canvas.gc.CallsOf("Polygon");
        // Each triangle filled, then outlined: shadow, arrow, shadow, arrow.
        ASSERT_EQ(polys.size(), 8u);
        EXPECT_EQ(polys[0].brushColor, 0x030303u);
        EXPECT_EQ(polys[2].brushColor, c.up) << c.position;
        EXPECT_EQ(polys[3].penColor, c.up) << c.position;
        EXPECT_EQ(polys[2].points[0].y, polys[0].points[0].y + 1);
        EXPECT_EQ(polys[6].brushColor, c.down) << c.position;
        // Up arrow corners with m = (21 - 2) / 2 = 9.
        EXPECT_EQ(polys[0].points, (std::vector<Point>{{7, 10}, {10, 7}, {13, 10}}));
        const auto fills = canvas.gc.CallsOf("FillRect");
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills[0].brushColor, 0x040404u);
        EXPECT_EQ(fills.back().rect, bar.Thumb());
        EXPECT_EQ(fills.back().brushColor, 0x050505u);
    }
}

} // namespace
} // namespace Corvell::Test
