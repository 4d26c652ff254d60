#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "ui/ScrollButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace Corvell::Test {
namespace {

// Records the value at every step it hears; `then` runs after recording.
class StepLog : public Inner_delegate<ScrollButtonListener> {
public:
    void Invoke(ScrollButton* b) override {
        values.push_back(b->GetValue());
        if (then)
            then(b);
    }
    std::vector<int32_t> values;
    std::function<void(ScrollButton*)> then;
};

// A 13 x 20 spin button at (10, 10) of a 200 x 100 window: its upper half
// is window y 10..19, its lower half 21..29.
constexpr int32_t kX = 15;
constexpr int32_t kUpperY = 12;
constexpr int32_t kLowerY = 27;

class Spin : public ::testing::Test {
protected:
    Spin() {
        button->Create(&root, {10, 10, 13, 20});
        button->AddValueListener(Ref<ScrollButtonListener>(&log));
    }
    ~Spin() override { button.reset(); }

    // The pointer comes to the button and presses there, as a user's does.
    void Hold(int32_t y, int32_t mouseButton = kButtonLeft) {
        root.MoveTo(kX, y);
        root.Press(kX, y, mouseButton);
    }

    // Nothing steps any more, however long the clock runs, and no timer is left.
    void ExpectStopped() {
        const size_t steps = log.values.size();
        root.AdvanceTime(5000);
        EXPECT_EQ(log.values.size(), steps) << "steps after the press ended";
        EXPECT_EQ(root.GetTimerCount(), 0u);
        EXPECT_EQ(root.RunningTimers(), 0u);
        if (button) {
            EXPECT_EQ(button->GetDirection(), 0);
            EXPECT_FALSE(button->IsRepeating());
        }
    }

    TestRootPane root{200, 100};
    StepLog log;
    std::unique_ptr<ScrollButton> button = std::make_unique<ScrollButton>();
};

TEST_F(Spin, StartsAtZeroInZeroToNinetyNineWithTheDarkColours) {
    EXPECT_EQ(button->GetValue(), 0);
    EXPECT_EQ(button->GetMinimum(), 0);
    EXPECT_EQ(button->GetMaximum(), 99);
    EXPECT_FALSE(button->IsInverted());
    EXPECT_EQ(button->GetActiveColor(), 0x282828u);
    EXPECT_EQ(button->GetInactiveColor(), 0x646464u);
}

struct PressCase {
    const char* name;
    int32_t minimum, maximum, value;
    bool inverted;
    bool lowerHalf;
    int32_t expected; // the value after the press
};

class SpinPress : public Spin, public ::testing::WithParamInterface<PressCase> {};

TEST_P(SpinPress, StepsOnceTheWayOfTheHalfPressedAndNeverPastABound) {
    const PressCase& c = GetParam();
    button->SetRange(c.minimum, c.maximum);
    button->SetValue(c.value);
    button->SetInverted(c.inverted);

    Hold(c.lowerHalf ? kLowerY : kUpperY);

    EXPECT_EQ(button->GetValue(), c.expected);
    if (c.expected == c.value) {
        // At the bound: nothing moves, nobody hears, nothing repeats.
        EXPECT_TRUE(log.values.empty());
        EXPECT_EQ(root.GetTimerCount(), 0u);
    } else {
        EXPECT_EQ(log.values, std::vector<int32_t>{c.expected});
    }
    root.Release(kX, c.lowerHalf ? kLowerY : kUpperY);
    ExpectStopped();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpinPress,
    ::testing::Values(PressCase{"UpperIncrements", 0, 99, 10, false, false, 11},
                      PressCase{"LowerDecrements", 0, 99, 10, false, true, 9},
                      PressCase{"InvertedUpperDecrements", 0, 99, 10, true, false, 9},
                      PressCase{"InvertedLowerIncrements", 0, 99, 10, true, true, 11},
                      PressCase{"AtMaximumUpperStays", 0, 99, 99, false, false, 99},
                      PressCase{"AtMinimumLowerStays", 0, 99, 0, false, true, 0},
                      PressCase{"InvertedAtMinimumUpperStays", 2, 5, 2, true, false, 2},
                      PressCase{"InvertedAtMaximumLowerStays", 2, 5, 5, true, true, 5},
                      PressCase{"NegativeRange", -10, -5, -5, false, true, -6},
                      PressCase{"EmptyRangeNeverMoves", 3, 3, 3, false, false, 3},
                      PressCase{"NearIntMaximum", INT32_MAX - 1, INT32_MAX, INT32_MAX - 1, false, false, INT32_MAX},
                      PressCase{"AtIntMaximum", INT32_MAX - 1, INT32_MAX, INT32_MAX, false, false, INT32_MAX},
                      PressCase{"AtIntMinimum", INT32_MIN, 0, INT32_MIN, false, true, INT32_MIN}),
    [](const ::testing::TestParamInfo<PressCase>& i) { return std::string(i.param.name); });

TEST_F(Spin, HeldItStepsAfterHalfASecondThenEveryTenthDownToTheBound) {
    button->SetValue(10);
    Hold(kLowerY);
    EXPECT_EQ(log.values, std::vector<int32_t>{9});

    root.AdvanceTime(499);
    EXPECT_EQ(log.values.size(), 1u);
    root.AdvanceTime(1);
    EXPECT_EQ(log.values, (std::vector<int32_t>{9, 8}));
    EXPECT_TRUE(button->IsRepeating());
    root.AdvanceTime(99);
    EXPECT_EQ(log.values.size(), 2u);
    for (int32_t expected = 7; expected >= 0; --expected) {
        root.AdvanceTime(100);
        EXPECT_EQ(log.values.back(), expected);
    }
    EXPECT_EQ(log.values, (std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    // At the bound the held button says nothing more.
    root.AdvanceTime(1000);
    EXPECT_EQ(log.values.size(), 10u);

    root.Release(kX, kLowerY);
    ExpectStopped();
}

TEST_F(Spin, EveryRepeatedStepStaysInsideARangeChangedWhileHeld) {
    button->SetValue(50);
    Hold(kUpperY);
    root.AdvanceTime(700); // 51, then 52, 53, 54 from the repeat
    ASSERT_EQ(log.values.back(), 54);
    button->SetRange(0, 20); // the value is clamped to 20 at once
    EXPECT_EQ(button->GetValue(), 20);
    root.AdvanceTime(1000);
    for (int32_t v : log.values)
        EXPECT_LE(v, 54);
    EXPECT_EQ(button->GetValue(), 20);
    EXPECT_EQ(log.values.back(), 54); // at the new bound: nothing more
    root.Release(kX, kUpperY);
    ExpectStopped();
}

// Every way a held press can end, and the repeat with it.
struct EndCase {
    const char* name;
    std::function<void(TestRootPane&, std::unique_ptr<ScrollButton>&)> end;
};

class SpinEnd : public Spin, public ::testing::WithParamInterface<EndCase> {};

TEST_P(SpinEnd, EndsTheRepeat) {
    button->SetValue(50);
    Hold(kUpperY);
    root.AdvanceTime(600); // repeating now
    ASSERT_TRUE(button->IsRepeating());
    const size_t steps = log.values.size();

    GetParam().end(root, button);

    // Ended at once, not at the next tick.
    EXPECT_EQ(log.values.size(), steps);
    EXPECT_EQ(root.GetTimerCount(), 0u);
    if (button) {
        EXPECT_EQ(button->GetDirection(), 0);
        EXPECT_FALSE(button->IsRepeating());
    }
    ExpectStopped();
    if (button) {
        for (int32_t v : log.values)
            EXPECT_TRUE(v >= button->GetMinimum() && v <= button->GetMaximum()) << v;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpinEnd,
    ::testing::Values(
        EndCase{"Release", [](TestRootPane& r, auto&) { r.Release(kX, kUpperY); }},
        EndCase{"ReleaseOfAnotherButton", [](TestRootPane& r, auto&) { r.Release(kX, kUpperY, kButtonRight); }},
        // The root reports the leave once a held move inside came first.
        EndCase{"PointerLeaves",
                [](TestRootPane& r, auto&) {
                    r.MoveTo(kX + 1, kUpperY);
                    r.MoveTo(150, 80);
                }},
        EndCase{"CaptureLost", [](TestRootPane& r, auto&) { r.StealCapture(); }},
        EndCase{"Hidden", [](TestRootPane&, auto& b) { b->SetVisible(false); }},
        EndCase{"Disabled", [](TestRootPane&, auto& b) { b->SetEnabled(false); }},
        EndCase{"Closed", [](TestRootPane&, auto& b) { b->Close(); }},
        // Closed by its parent: the tree keeps it, only OnDestroy runs.
        EndCase{"DestroyedInPlace", [](TestRootPane&, auto& b) { b->OnDestroy(); }},
        EndCase{"Deleted", [](TestRootPane&, auto& b) { b.reset(); }},
        EndCase{"WindowDestroyed", [](TestRootPane& r, auto&) { r.DestroyWindow(); }}),
    [](const ::testing::TestParamInfo<EndCase>& i) { return std::string(i.param.name); });

TEST_F(Spin, AParentHiddenOrDisabledWhileHeldEndsTheRepeatAtItsNextTick) {
    for (bool hide : {true, false}) {
        TestRootPane r(200, 100);
        Pane parent;
        parent.Create(&r, {0, 0, 100, 100});
        ScrollButton b;
        b.Create(&parent, {10, 10, 13, 20});
        b.SetValue(50);
        r.MoveTo(kX, kUpperY);
        r.Press(kX, kUpperY);
        r.AdvanceTime(600);
        ASSERT_TRUE(b.IsRepeating());
        const int32_t value = b.GetValue();
        if (hide)
            parent.SetFlags(Pane::kVisible, false);
        else
            parent.SetFlags(Pane::kEnabled, false);
        r.AdvanceTime(1000);
        EXPECT_EQ(b.GetValue(), value) << (hide ? "hidden" : "disabled");
        EXPECT_FALSE(b.IsRepeating());
        EXPECT_EQ(r.GetTimerCount(), 0u);
    }
}

// A root that keeps the timers of panes that leave its tree, so that the
// button's own stopping is what is seen.
class KeepingRoot : public TestRootPane {
public:
    KeepingRoot() : TestRootPane(200, 100) {}
    void ForgetPane(Pane*, Pane*) override {}
};

TEST(SpinTimers, StopInTheDestructorToo) {
    KeepingRoot root;
    {
        auto b = std::make_unique<ScrollButton>();
        b->Create(&root, {10, 10, 13, 20});
        b->SetValue(50);
        // Closed by its parent and left in the tree: then a press reaches it directly.
        b->OnDestroy();
        MouseEvent down(kMouseDown, 5, 2, kHeldLeft);
        down.button = kButtonLeft;
        down.Dispatch(b.get());
        ASSERT_EQ(b->GetDirection(), 1);
        ASSERT_EQ(root.GetTimerCount(), 1u);
        b.reset();
    }
    EXPECT_EQ(root.GetTimerCount(), 0u);
    root.AdvanceTime(2000); // a timer left behind would call into the deleted button
}

TEST_F(Spin, AListenerMayDeleteTheButtonAtAnyStep) {
    for (size_t at : {1u, 2u, 3u}) {
        auto b = std::make_unique<ScrollButton>();
        b->Create(&root, {10, 10, 13, 20});
        b->SetValue(50);
        StepLog deleter;
        deleter.then = [&](ScrollButton*) {
            if (deleter.values.size() == at)
                b.reset();
        };
        b->AddValueListener(Ref<ScrollButtonListener>(&deleter));
        Hold(kUpperY);
        root.AdvanceTime(2000);
        root.Release(kX, kUpperY);
        EXPECT_FALSE(b);
        EXPECT_EQ(deleter.values.size(), at);
        EXPECT_EQ(root.GetTimerCount(), 0u);
    }
}

TEST_F(Spin, ASecondPressWhileHeldStartsAfresh) {
    button->SetValue(50);
    Hold(kUpperY);
    root.AdvanceTime(600); // 51, 52, 53
    ASSERT_TRUE(button->IsRepeating());
    // The right button on the lower half: one step down, and a new delay.
    Hold(kLowerY, kButtonRight);
    EXPECT_EQ(button->GetValue(), 52);
    EXPECT_FALSE(button->IsRepeating());
    root.AdvanceTime(499);
    EXPECT_EQ(button->GetValue(), 52);
    root.AdvanceTime(1);
    EXPECT_EQ(button->GetValue(), 51);
    root.Release(kX, kLowerY, kButtonRight);
    ExpectStopped();
}

// ---- painting ------------------------------------------------------------------------

struct Triangles {
    Color up = 0, down = 0;
};

Triangles PaintedTriangles(ScrollButton& b) {
    RecordingContext gc;
    b.Paint(gc);
    Triangles t;
    const std::vector<DrawCall> fills = gc.CallsOf("Polygon");
    EXPECT_EQ(fills.size(), 4u); // each triangle filled and outlined
    if (fills.size() == 4) {
        t.up = fills[0].brushColor;
        EXPECT_EQ(fills[1].penColor, t.up);
        t.down = fills[2].brushColor;
        EXPECT_EQ(fills[3].penColor, t.down);
    }
    return t;
}

TEST_F(Spin, WithoutItsImageItDrawsTwoTrianglesInTheColoursOfWhatCanAct) {
    ClearImageCache();
    TestImageSource noImages("/nowhere/module");
    button->SetColors(0x111111, 0x999999);

    RecordingContext gc;
    button->Paint(gc);
    const std::vector<DrawCall> polys = gc.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 4u);
    // 13 x 20: m = 10, n = 10.
    EXPECT_EQ(polys[0].points, (std::vector<Point>{{6, 8}, {9, 5}, {12, 8}}));
    EXPECT_EQ(polys[2].points, (std::vector<Point>{{6, 12}, {9, 15}, {12, 12}}));

    struct Case {
        int32_t value;
        bool inverted, enabled;
        Color up, down;
    };
    const Case cases[] = {
        {0, false, true, 0x111111, 0x999999},   // only up can act
        {50, false, true, 0x111111, 0x111111},  // both
        {99, false, true, 0x999999, 0x111111},  // only down
        {0, true, true, 0x999999, 0x111111},    // inverted: up decrements
        {50, false, false, 0x999999, 0x999999}, // disabled: nothing can act
    };
    for (const Case& c : cases) {
        button->SetValue(c.value);
        button->SetInverted(c.inverted);
        button->SetEnabled(c.enabled);
        const Triangles t = PaintedTriangles(*button);
        EXPECT_EQ(t.up, c.up) << c.value << " inverted " << c.inverted << " enabled " << c.enabled;
        EXPECT_EQ(t.down, c.down) << c.value << " inverted " << c.inverted << " enabled " << c.enabled;
    }
    button->SetRange(4, 4); // neither can act
    button->SetEnabled(true);
    const Triangles t = PaintedTriangles(*button);
    EXPECT_EQ(t.up, 0x999999u);
    EXPECT_EQ(t.down, 0x999999u);
    ClearImageCache();
}

TEST_F(Spin, WithItsImageItDrawsTheCellsOfWhatCanActFromTheTwoByTwoGrid) {
    ClearImageCache();
    TestImageSource images("/nowhere/module");
    images.AddPlatformBitmap("up-down-arrows", 14, 10); // cells of 7 x 5

    struct Case {
        int32_t value;
        bool enabled;
        int32_t upperColumn, lowerColumn; // 0: can act, 7: cannot
    };
    for (const Case& c : {Case{50, true, 0, 0}, Case{0, true, 0, 7}, Case{99, true, 7, 0}, Case{50, false, 7, 7}}) {
        button->SetValue(c.value);
        button->SetEnabled(c.enabled);
        RecordingContext gc;
        button->Paint(gc);
        const std::vector<DrawCall> blits = gc.CallsOf("Blit");
        ASSERT_EQ(blits.size(), 2u);
        // x = (13 - 7 + 2) / 2; the upper at y 3, the lower at 20 - 5 - 3.
        EXPECT_EQ(blits[0].rect.x, 4);
        EXPECT_EQ(blits[0].rect.y, 3);
        EXPECT_EQ(blits[0].source, (Rect{c.upperColumn, 0, 7, 5})) << c.value;
        EXPECT_EQ(blits[1].rect.x, 4);
        EXPECT_EQ(blits[1].rect.y, 12);
        EXPECT_EQ(blits[1].source, (Rect{c.lowerColumn, 5, 7, 5})) << c.value;
        EXPECT_TRUE(gc.CallsOf("Polygon").empty());
    }
    button.reset();
    ClearImageCache();
}

} // namespace
} // namespace Corvell::Test
