#include "SliderFixture.h"
#include "ui/HSlider.h"
#include "ui/HSlider3.h"
#include "ui/VSlider.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace Corvell::Test {
namespace {

constexpr int32_t kSiteId = 7;
constexpr int32_t kVkLeft = 0x25;
constexpr int32_t kVkUp = 0x26;
constexpr int32_t kVkRight = 0x27;
constexpr int32_t kVkDown = 0x28;

std::vector<std::string> Without(const std::vector<std::string>& log, const std::vector<std::string>& prefixes) {
    std::vector<std::string> out;
    for (const std::string& l : log) {
        bool drop = false;
        for (const std::string& p : prefixes)
            drop = drop || l.rfind(p, 0) == 0;
        if (!drop)
            out.push_back(l);
    }
    return out;
}

// ---- ranges and values ---------------------------------------------------------

struct RangeCase {
    const char* name;
    int32_t oldMin, oldMax, value;
    int32_t newMin, newMax;
    int32_t expected;
};

class SliderRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SliderRange, RescalesTheValueToTheSamePlaceInTheNewRange) {
    const RangeCase& c = GetParam();
    Slider s;
    s.SetRange(c.oldMin, c.oldMax);
    s.SetValue(c.value);
    ASSERT_EQ(s.GetValue(), c.value);

    s.SetRange(c.newMin, c.newMax);

    EXPECT_EQ(s.GetValue(), c.expected);
    EXPECT_EQ(s.GetMinimum(), std::min(c.newMin, c.newMax));
    EXPECT_EQ(s.GetMaximum(), std::max(c.newMin, c.newMax));
    EXPECT_GE(s.GetValue(), s.GetMinimum());
    EXPECT_LE(s.GetValue(), s.GetMaximum());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderRange,
    ::testing::Values(
        RangeCase{"TenfoldFromZero", 0, 10, 5, 0, 100, 50},
        RangeCase{"SameRange", 0, 100, 37, 0, 100, 37},
        RangeCase{"OldMinimumNotZero", 20, 30, 25, 0, 100, 50},
        RangeCase{"NegativeOldMinimum", -10, 10, 0, 0, 100, 50},
        RangeCase{"ToNegativeMinimum", 0, 100, 50, -7, 7, 0},
        RangeCase{"ToNegativeMinimumAtTop", 0, 100, 100, -7, 7, 7},
        RangeCase{"ToNegativeMinimumAtBottom", 0, 100, 0, -7, 7, -7},
        RangeCase{"EmptyOldRangeGivesTheMiddle", 0, 0, 0, -7, 7, 0},
        RangeCase{"EmptyOldRangeWideNegative", 0, 0, 0, -100, 100, 0},
        RangeCase{"EmptyOldRangeOddSpan", 5, 5, 5, 0, 7, 3},
        RangeCase{"EmptyOldRangeShiftedMinimum", 0, 0, 0, 40, 500, 270},
        RangeCase{"FullIntRangeToSmall", INT32_MIN, INT32_MAX, 0, 0, 100, 50},
        RangeCase{"SmallToFullIntRangeTop", 0, 100, 100, INT32_MIN, INT32_MAX, INT32_MAX},
        RangeCase{"SmallToFullIntRangeStep", 0, 100, 1, INT32_MIN, INT32_MAX, INT32_MIN + 42949672},
        RangeCase{"FullIntRangeToItself", INT32_MIN, INT32_MAX, INT32_MAX - 1, INT32_MIN, INT32_MAX, INT32_MAX - 1},
        RangeCase{"EmptyOldRangeToFullIntRange", 0, 0, 0, INT32_MIN, INT32_MAX, -1},
        RangeCase{"WrongWayRoundIsSwapped", 0, 10, 5, 100, 0, 50},
        RangeCase{"ToEmptyRange", 0, 100, 80, 3, 3, 3}),
    [](const ::testing::TestParamInfo<RangeCase>& i) { return std::string(i.param.name); });

TEST(SliderValue, SetValueClampsInvalidatesOnlyOnChangeAndTellsNoListener) {
    TestRootPane root(200, 100);
    std::vector<std::string> log;
    LogListener listener(log);
    Slider s;
    s.Create(&root, {10, 10, 100, 20});
    s.SetRange(-5, 5);
    s.AddListener(&listener);

    struct Case {
        int32_t in, out;
    };
    for (const Case& c : {Case{3, 3}, Case{100, 5}, Case{INT32_MAX, 5}, Case{INT32_MIN, -5}, Case{-6, -5}, Case{0, 0}}) {
        s.SetValue(c.in);
        EXPECT_EQ(s.GetValue(), c.out) << c.in;
    }
    root.ClearInvalidations();
    s.SetValue(0);
    s.SetValue(99); // 5
    s.SetValue(7);  // 5 again: no change
    EXPECT_EQ(root.invalidations.size(), 1u);
    EXPECT_TRUE(log.empty());

    s.SetDefault(42); // stored as given, clamped only when used
    EXPECT_EQ(s.GetDefault(), 42);
}

// ---- value from position, both ways at the ends ---------------------------------------

struct EndsCase {
    const char* name;
    bool vertical;
    const char* thumb; // null: the default thumb; one without a size is missing
    int32_t frames;
    uint32_t thumbWidth, thumbHeight; // of the image registered under `thumb`
    int32_t length;                  // along the axis
    int32_t span;                    // expected pointer travel over the range
};

class SliderEnds : public ::testing::TestWithParam<EndsCase> {
protected:
    SliderImages images;
    TestRootPane root{400, 400};
    std::unique_ptr<Slider> slider;

    void Make(const EndsCase& c) {
        if (c.thumb && c.thumbWidth > 0)
            images.source.AddPng(c.thumb, RgbaPng(c.thumbWidth, c.thumbHeight));
        const std::string name = c.thumb ? std::string(c.thumb) + ".png" : std::string();
        if (c.vertical) {
            slider = c.thumb ? std::make_unique<VSlider>(name.c_str(), c.frames) : std::make_unique<VSlider>();
            slider->Create(&root, {10, 10, 21, c.length});
        } else {
            slider = c.thumb ? std::make_unique<HSlider>(name.c_str(), c.frames) : std::make_unique<HSlider>();
            slider->Create(&root, {10, 10, c.length, 21});
        }
    }
    // A press on the slider at this axis offset, a move by `travel` towards the maximum.
    int32_t Drag(const EndsCase& c, int32_t at, int32_t travel) {
        if (c.vertical) {
            root.Press(20, 10 + at);
            root.MoveTo(20, 10 + at - travel);
            const int32_t v = slider->GetValue();
            root.Release(20, 10 + at - travel);
            return v;
        }
        root.Press(10 + at, 20);
        root.MoveTo(10 + at + travel, 20);
        const int32_t v = slider->GetValue();
        root.Release(10 + at + travel, 20);
        return v;
    }
    ~SliderEnds() override { slider.reset(); }
};

TEST_P(SliderEnds, PointerTravelOfOneSpanCrossesTheRangeAndNeverDividesByZero) {
    const EndsCase& c = GetParam();
    Make(c);
    slider->SetRange(0, 100);
    EXPECT_EQ(slider->DragSpan(), c.span);
    const int32_t grab = c.length / 2;

    if (c.span <= 0) {
        // Nothing to divide by: the value stays where it was grabbed.
        slider->SetValue(40);
        EXPECT_EQ(Drag(c, grab, 30), 40);
        EXPECT_EQ(Drag(c, grab, -30), 40);
        EXPECT_EQ(slider->GetValue(), 40);
        return;
    }
    slider->SetValue(0);
    EXPECT_EQ(Drag(c, grab, c.span), 100);
    slider->SetValue(0);
    EXPECT_LT(Drag(c, grab, c.span - 1), 100);
    slider->SetValue(100);
    EXPECT_EQ(Drag(c, grab, -c.span), 0);
    slider->SetValue(100);
    EXPECT_GT(Drag(c, grab, -(c.span - 1)), 0);
    // Past the ends: clamped.
    slider->SetValue(50);
    EXPECT_EQ(Drag(c, grab, 3 * c.span), 100);
    slider->SetValue(50);
    EXPECT_EQ(Drag(c, grab, -3 * c.span), 0);
}

TEST_P(SliderEnds, ThumbSitsAtTheEndsOfTheSameSpan) {
    const EndsCase& c = GetParam();
    Make(c);
    slider->SetRange(0, 100);
    auto* track = dynamic_cast<PngBitmap*>(slider->GetTrackImage());
    ASSERT_TRUE(track && track->Surface());
    // The thumb's calls: the blends not taken from the track.
    auto thumbCalls = [&](int32_t value) {
        slider->SetValue(value);
        RecordingContext gc(Rect{0, 0, 400, 400});
        slider->Paint(gc);
        std::vector<DrawCall> out;
        for (const DrawCall& d : gc.CallsOf("Blend")) {
            if (d.surface != track->Surface())
                out.push_back(d);
        }
        return out;
    };
    if (!slider->HasThumb()) {
        // No usable image: nothing drawn, the mapping above still works.
        EXPECT_TRUE(thumbCalls(0).empty());
        EXPECT_TRUE(thumbCalls(100).empty());
        return;
    }
    const int32_t w = slider->ThumbFrameWidth();
    const int32_t h = slider->ThumbHeight();
    auto at = [&](int32_t value) {
        std::vector<DrawCall> calls = thumbCalls(value);
        EXPECT_EQ(calls.size(), 1u);
        if (calls.empty())
            return INT32_MIN;
        EXPECT_EQ(calls[0].rect.width, w);
        EXPECT_EQ(calls[0].rect.height, h);
        return c.vertical ? calls[0].rect.y : calls[0].rect.x;
    };
    // The minimum at the start of the axis (the bottom for a vertical slider).
    EXPECT_EQ(at(0), c.vertical ? c.span : 0);
    EXPECT_EQ(at(100), c.vertical ? 0 : c.span);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderEnds,
    ::testing::Values(
        // The product's two-frame thumbs: frames of 15x21.
        EndsCase{"HorizontalThumb15", false, nullptr, 2, 0, 0, 115, 100},
        EndsCase{"VerticalThumb21High", true, nullptr, 2, 0, 0, 121, 100},
        // A thumb of two 5 px frames, and no usable thumb at all (5 px assumed).
        EndsCase{"HorizontalThumb5", false, "thumb10", 2, 10, 8, 105, 100},
        EndsCase{"HorizontalNoThumb", false, "missing", 1, 0, 0, 105, 100},
        EndsCase{"VerticalThumb8High", true, "thumb10", 2, 10, 8, 108, 100},
        EndsCase{"VerticalNoThumb", true, "missing", 1, 0, 0, 105, 100},
        // A frame count of 0 counts as 1.
        EndsCase{"HorizontalZeroFramesIsOne", false, "thumb10", 0, 10, 8, 110, 100},
        // Degenerate: exactly as long as the thumb, or shorter.
        EndsCase{"HorizontalAsWideAsThumb", false, nullptr, 2, 0, 0, 15, 0},
        EndsCase{"HorizontalNarrowerThanThumb", false, nullptr, 2, 0, 0, 10, -5},
        EndsCase{"HorizontalNoThumb5Wide", false, "missing", 1, 0, 0, 5, 0},
        EndsCase{"VerticalAsHighAsThumb", true, nullptr, 2, 0, 0, 21, 0},
        EndsCase{"VerticalShorterThanThumb", true, nullptr, 2, 0, 0, 12, -9}),
    [](const ::testing::TestParamInfo<EndsCase>& i) { return std::string(i.param.name); });

TEST(SliderOverflow, WideRangesMapWithoutOverflow) {
    SliderImages images;
    TestRootPane root(400, 100);
    HSlider s; // span 100
    s.Create(&root, {10, 10, 115, 21});
    s.SetRange(INT32_MIN, INT32_MAX);
    s.SetValue(INT32_MIN);

    root.Press(20, 20);
    root.MoveTo(70, 20); // half the span
    EXPECT_EQ(s.GetValue(), INT32_MIN + int32_t(50 * 4294967295LL / 100));
    root.MoveTo(120, 20);
    EXPECT_EQ(s.GetValue(), INT32_MAX);
    root.MoveTo(-2000000000, 20); // far past the start
    EXPECT_EQ(s.GetValue(), INT32_MIN);
    root.MoveTo(2000000000, 20);
    EXPECT_EQ(s.GetValue(), INT32_MAX);
    root.Release(2000000000, 20);

    // More than 2^31 px of travel over the whole int range.
    root.Press(120, 20);
    root.MoveTo(-2147483600, 20);
    EXPECT_EQ(s.GetValue(), INT32_MIN);
    root.Release(-2147483600, 20);
}

// ---- the gesture ------------------------------------------------------------------------

// root 400x300
//   box (0, 0, 400, 300)             logs what reaches it
//     slider (10, 10, 115, 21)       HSlider, 0..100, default 30, value 50;
//                                    1 px = 1 value; local x = window x - 10
class GestureFixture {
public:
    explicit GestureFixture(bool bound) : site(log), listener(log) {
        box.Create(&root, {0, 0, 400, 300});
        slider = std::make_unique<HSlider>();
        if (bound) {
            site.info = ControlInfo{2, 0, 100, 30, 0};
            site.value = 50;
            site.echo = slider.get();
            slider->SetAdapter(&site, kSiteId);
        }
        slider->Create(&box, {10, 10, 115, 21}); // binds
        if (!bound) {
            slider->SetRange(0, 100); // from the empty range: the middle, 50
            slider->SetDefault(30);
        }
        slider->AddListener(&listener);
        root.MoveTo(200, 200);
        root.ClearInvalidations();
    }
    ~GestureFixture() { slider.reset(); }

    SliderImages images;
    std::vector<std::string> log;
    TestRootPane root{400, 300};
    EventLog events;
    LoggingPane box{events, "box"};
    FakeSite site;
    LogListener listener;
    std::unique_ptr<HSlider> slider;
};

struct GestureCase {
    const char* name;
    std::function<void(GestureFixture&)> script;
    std::vector<std::string> expected; // as a bound slider; an unbound one logs the same without the site
    int32_t value;                     // afterwards; INT32_MIN when the slider is gone
};

class SliderGesture : public ::testing::TestWithParam<std::tuple<GestureCase, bool>> {};

TEST_P(SliderGesture, EveryEditIsClosedOnceAndOnlyPressesOnTheSliderMoveIt) {
    const GestureCase& c = std::get<0>(GetParam());
    const bool bound = std::get<1>(GetParam());
    GestureFixture f(bound);
    ASSERT_EQ(f.slider->GetValue(), 50);

    c.script(f);

    const std::vector<std::string> expected =
        bound ? c.expected : Without(c.expected, {"BeginEdit", "EndEdit", "SetValue"});
    EXPECT_EQ(f.log, expected);
    EXPECT_TRUE(Balanced(f.log, "BeginEdit", "EndEdit"));
    EXPECT_TRUE(Balanced(f.log, "Begin", "End"));
    for (int32_t id : f.site.ids)
        EXPECT_EQ(id, kSiteId);
    if (c.value != INT32_MIN) {
        ASSERT_TRUE(f.slider);
        EXPECT_EQ(f.slider->GetValue(), c.value);
        EXPECT_FALSE(f.slider->IsDragging());
        EXPECT_EQ(f.slider->GetGrabPosition(), Slider::kNoGrab);
    }
    // Nothing the slider handles goes further up.
    EXPECT_EQ(f.events.Text({kKeyDown, kKeyUp}), "");
}

const std::vector<std::string> kDragTo60 = {"BeginEdit", "Begin", "SetValue 60", "Changed 60"};
const std::vector<std::string> kClose = {"EndEdit", "End"};
const std::vector<std::string> kReset = {"BeginEdit", "SetValue 30", "EndEdit", "Begin", "Changed 30", "End"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderGesture,
    ::testing::Combine(
        ::testing::Values(
            GestureCase{"DragPastBothEnds",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.root.MoveTo(300, 20);
                            f.root.MoveTo(5, 20);
                            f.root.Release(5, 20);
                        },
                        Join({kDragTo60, {"SetValue 100", "Changed 100", "SetValue 0", "Changed 0"}, kClose}),
                        0},
            GestureCase{"ControlClickResetsToTheDefault",
                        [](GestureFixture& f) {
                            f.root.modifiers = kModControl;
                            f.root.Press(60, 20);
                            f.root.Release(60, 20);
                        },
                        kReset, 30},
            GestureCase{"ControlPressedMidDragClosesTheDragThenResets",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.root.modifiers = kModControl;
                            f.root.MoveTo(80, 20);
                            f.root.Release(80, 20);
                        },
                        Join({kDragTo60, {"SetValue 70", "Changed 70"}, kClose, kReset}), 30},
            GestureCase{"PressWithControlThenDragWithoutIt",
                        [](GestureFixture& f) {
                            f.root.modifiers = kModControl;
                            f.root.Press(60, 20);
                            f.root.modifiers = 0;
                            f.root.MoveTo(90, 20);
                            f.root.MoveTo(300, 20);
                            f.root.Release(300, 20);
                        },
                        {}, 50},
            GestureCase{"StrayRelease",
                        [](GestureFixture& f) {
                            f.root.MoveTo(60, 20);
                            f.root.Release(60, 20);
                        },
                        {}, 50},
            GestureCase{"CaptureLostMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.root.StealCapture();
                            // The release comes later, away from the slider.
                            f.root.MoveTo(300, 200);
                            f.root.Release(300, 200);
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"HiddenMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.slider->SetVisible(false); // no release needed
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"RemovedFromItsParentMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.box.RemoveChild(f.slider.get()); // it hears the press end
                            f.root.Release(70, 20);
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"DisabledMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.slider->SetEnabled(false); // no release needed
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"ParentDisabledMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.box.SetEnabled(false);
                            f.root.MoveTo(90, 20); // the next drag event ends it
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"ClosedMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.slider->Close();
                            f.root.MoveTo(90, 20);
                            f.root.Release(90, 20);
                        },
                        Join({kDragTo60, kClose}), 60},
            GestureCase{"DestroyedMidDrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.slider.reset();
                            f.root.MoveTo(90, 20);
                            f.root.Release(90, 20);
                        },
                        Join({kDragTo60, kClose}), INT32_MIN},
            GestureCase{"SecondPressWithoutARelease",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.MoveTo(70, 20);
                            f.root.Press(70, 20); // the release in between was lost
                            f.root.MoveTo(80, 20);
                            f.root.Release(80, 20);
                        },
                        Join({kDragTo60, kClose, {"BeginEdit", "Begin", "SetValue 70", "Changed 70"}, kClose}), 70},
            GestureCase{"RightButtonDuringADrag",
                        [](GestureFixture& f) {
                            f.root.Press(60, 20);
                            f.root.Press(60, 20, kButtonRight);
                            f.root.MoveTo(70, 20);
                            f.root.Release(70, 20, kButtonRight);
                            f.root.MoveTo(80, 20);
                            f.root.Release(80, 20);
                        },
                        Join({kDragTo60, {"SetValue 70", "Changed 70"}, kClose}), 70},
            GestureCase{"ControlClickWithTheRightButton",
                        [](GestureFixture& f) {
                            f.root.modifiers = kModControl;
                            f.root.Press(60, 20, kButtonRight);
                            f.root.Release(60, 20, kButtonRight);
                        },
                        {}, 50}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<GestureCase, bool>>& i) {
        return std::string(std::get<0>(i.param).name) + (std::get<1>(i.param) ? "Bound" : "Own");
    });

TEST(SliderDrag, PressTakesFocusShowsTheDragAndReleaseRepaints) {
    GestureFixture f(false);
    f.root.Press(60, 20);
    EXPECT_EQ(f.root.GetFocusedPane(), f.slider.get());
    EXPECT_TRUE(f.slider->IsDragging());
    EXPECT_EQ(f.slider->GetGrabPosition(), 50);
    EXPECT_EQ(f.slider->GetValueAtGrab(), 50);
    EXPECT_TRUE(f.root.InvalidRegion().Contains(10, 10));

    f.root.MoveTo(75, 20);
    f.root.ClearInvalidations();
    f.root.Release(75, 20);
    EXPECT_FALSE(f.slider->IsDragging());
    EXPECT_EQ(f.slider->GetValue(), 65);
    // The thumb's first frame comes back.
    EXPECT_TRUE(f.root.InvalidRegion().Contains(10 + 65, 20));
}

TEST(SliderDrag, BoundSliderNeverMovesItselfAndFollowsTheSite) {
    GestureFixture f(true);
    f.site.echo = nullptr; // the site's notification has not come yet
    f.root.Press(60, 20);
    f.root.MoveTo(80, 20);
    f.root.Release(80, 20);
    EXPECT_EQ(f.log, (std::vector<std::string>{"BeginEdit", "Begin", "SetValue 70", "Changed 50", "EndEdit", "End"}));
    EXPECT_EQ(f.slider->GetValue(), 50);
    EXPECT_EQ(f.site.value, 70);

    f.slider->Refresh();
    EXPECT_EQ(f.slider->GetValue(), 70);

    // Outside the range: clamped on the way in.
    f.site.value = 1000;
    f.slider->Refresh();
    EXPECT_EQ(f.slider->GetValue(), 100);
}

TEST(SliderDrag, ReachesTheMouseListenersAfterwardsAndIgnoresTheWheel) {
    GestureFixture f(false);
    std::vector<std::string> mouse;
    LoggingListener ml(mouse, "m");
    f.slider->AddMouseListener(&ml);

    f.root.MoveTo(60, 20);
    f.root.Press(60, 20);
    f.root.MoveTo(65, 20);
    f.root.Release(65, 20);
    f.root.Wheel(-240);
    f.root.Wheel(240);

    EXPECT_EQ(Without(mouse, {"m Entered", "m Exited", "m Moved"}),
              (std::vector<std::string>{"m Pressed", "m Dragged", "m Released", "m Wheel", "m Wheel"}));
    EXPECT_EQ(f.slider->GetValue(), 55);
    f.slider->RemoveMouseListener(&ml);
}

TEST(SliderDrag, ChangingTheSiteMidDragClosesTheEditOnTheOldSite) {
    GestureFixture f(true);
    std::vector<std::string> otherLog;
    FakeSite other(otherLog);
    f.root.Press(60, 20);
    f.slider->SetAdapter(&other, 3);
    f.root.MoveTo(90, 20);
    f.root.Release(90, 20);
    EXPECT_EQ(f.log, (std::vector<std::string>{"BeginEdit", "Begin", "EndEdit", "End"}));
    EXPECT_TRUE(otherLog.empty());
}

// ---- bindings -----------------------------------------------------------------------------

TEST(SliderBinding, CreateTakesRangeDefaultAndValueFromTheSite) {
    SliderImages images;
    TestRootPane root(200, 100);
    std::vector<std::string> log;
    FakeSite site(log);
    site.info = ControlInfo{2, -7, 7, 3, 0};
    site.value = 5;
    HSlider s;
    s.SetAdapter(&site, kSiteId);
    s.Create(&root, {0, 0, 115, 21});
    EXPECT_EQ(s.GetMinimum(), -7);
    EXPECT_EQ(s.GetMaximum(), 7);
    EXPECT_EQ(s.GetDefault(), 3);
    EXPECT_EQ(s.GetValue(), 5);
    EXPECT_TRUE(log.empty()); // reading is not editing

    // A site that knows nothing: 0..0, and the slider stays usable.
    std::vector<std::string> log2;
    FakeSite empty(log2);
    empty.value = 12;
    s.SetAdapter(&empty, 1);
    s.Bind();
    EXPECT_EQ(s.GetMinimum(), 0);
    EXPECT_EQ(s.GetMaximum(), 0);
    EXPECT_EQ(s.GetValue(), 0);

    // Without a site, Bind and Refresh change nothing.
    s.SetAdapter(nullptr, 0);
    s.SetRange(0, 10);
    s.SetValue(4);
    s.Bind();
    s.Refresh();
    EXPECT_EQ(s.GetValue(), 4);
    EXPECT_EQ(s.GetMaximum(), 10);
}

// ---- listeners ----------------------------------------------------------------------------

TEST(SliderListeners, TwoListenersHearEverythingFirstAddedFirst) {
    GestureFixture f(false);
    LogListener second(f.log, "B");
    f.slider->AddListener(&second);

    f.root.Press(60, 20);
    f.root.MoveTo(61, 20);
    f.root.Release(61, 20);
    f.root.modifiers = kModControl;
    f.root.Press(61, 20);
    f.root.Release(61, 20);
    f.root.KeyDown(kVkRight);

    EXPECT_EQ(f.log, (std::vector<std::string>{"Begin", "B Begin", "Changed 51", "B Changed 51", "End", "B End",
                                               "Begin", "B Begin", "Changed 30", "B Changed 30", "End", "B End",
                                               "Changed 31", "B Changed 31"}));
    f.slider.reset(); // before the listener it holds
}

// Equal to every listener of its class, as a delegate that compares types.
class SameClassListener : public LogListener {
public:
    using LogListener::LogListener;
    bool Equals(const AbstractDelegate* other) const override {
        return other && typeid(*other) == typeid(SameClassListener);
    }
};

TEST(SliderListeners, RemovingOneOfTwoEqualListenersKeepsTheOther) {
    std::vector<std::string> log;
    SameClassListener a(log, "A"), b(log, "B"), c(log, "C");
    Slider s;
    s.SetRange(0, 10);
    s.AddListener(&a);
    s.AddListener(&b);
    s.AddListener(&c);

    s.RemoveListener(&b);
    std::vector<Ref<RangeControlListener>> left;
    RangeControlMulticaster::Flatten(s.GetListener(), left);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].Get(), &a);
    EXPECT_EQ(left[1].Get(), &c);

    s.RemoveListener(&a);
    EXPECT_EQ(s.GetListener(), &c);
    s.RemoveListener(&c);
    EXPECT_EQ(s.GetListener(), nullptr);

    // Not registered itself: one that Equals it stands in for it.
    SameClassListener d(log, "D");
    s.AddListener(&a);
    s.RemoveListener(&d);
    EXPECT_EQ(s.GetListener(), nullptr);
}

class CountedListener : public CountedObject<RangeControlListener> {
public:
    void Begin(RangeControl*) override {}
    void Changed(RangeControl*) override {}
    void End(RangeControl*) override {}
};

TEST(SliderListeners, HeapListenersLiveWhileRegistered) {
    Ref<CountedListener> l = MakeRef<CountedListener>();
    {
        Slider s;
        s.AddListener(l.Get());
        s.AddListener(l.Get()); // twice: both go on removal
        EXPECT_EQ(l->RefCount(), 3);
        s.RemoveListener(l.Get());
        EXPECT_EQ(l->RefCount(), 1);
        EXPECT_EQ(s.GetListener(), nullptr);
        s.AddListener(l.Get());
    }
    EXPECT_EQ(l->RefCount(), 1);
}

TEST(SliderListeners, AListenerRemovedByAnEarlierOneIsNotCalled) {
    GestureFixture f(false);
    LogListener b(f.log, "B");
    f.slider->AddListener(&b);
    f.listener.then = [&](const std::string& op) {
        if (op == "Changed")
            f.slider->RemoveListener(&b);
    };
    f.root.Press(60, 20);
    f.root.MoveTo(61, 20);
    f.root.Release(61, 20);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Begin", "B Begin", "Changed 51", "End"}));
}

struct DeleteCase {
    const char* name;
    const char* deleteOn; // the listener's operation that deletes the slider
    std::function<void(GestureFixture&)> script;
    std::vector<std::string> expected;
};

class SliderDeletedByListener : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(SliderDeletedByListener, IsSafeAndTheSiteStillHearsTheEditClose) {
    const DeleteCase& c = GetParam();
    GestureFixture f(true);
    LogListener b(f.log, "B");
    f.slider->AddListener(&b);
    const std::string deleteOn = c.deleteOn;
    f.listener.then = [&](const std::string& op) {
        if (op == deleteOn && f.slider) {
            f.log.push_back("deleted");
            f.slider.reset();
        }
    };

    c.script(f);

    EXPECT_FALSE(f.slider);
    EXPECT_EQ(f.log, c.expected);
    EXPECT_TRUE(Balanced(f.log, "BeginEdit", "EndEdit"));
}

const auto kDragScript = [](GestureFixture& f) {
    f.root.Press(60, 20);
    f.root.MoveTo(70, 20);
    f.root.MoveTo(80, 20);
    f.root.Release(80, 20);
};

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderDeletedByListener,
    ::testing::Values(
        // Deleted while the drag is open: the slider's end closes it.
        DeleteCase{"DragBegin", "Begin", kDragScript,
                   {"BeginEdit", "Begin", "deleted", "EndEdit", "End", "B End"}},
        DeleteCase{"DragChanged", "Changed", kDragScript,
                   {"BeginEdit", "Begin", "B Begin", "SetValue 60", "Changed 60", "deleted", "EndEdit", "End",
                    "B End"}},
        DeleteCase{"DragEnd", "End", kDragScript,
                   {"BeginEdit", "Begin", "B Begin", "SetValue 60", "Changed 60", "B Changed 60", "SetValue 70",
                    "Changed 70", "B Changed 70", "EndEdit", "End", "deleted"}},
        DeleteCase{"ControlClickBegin", "Begin",
                   [](GestureFixture& f) {
                       f.root.modifiers = kModControl;
                       f.root.Press(60, 20);
                       f.root.Release(60, 20);
                   },
                   {"BeginEdit", "SetValue 30", "EndEdit", "Begin", "deleted"}},
        DeleteCase{"ControlClickChanged", "Changed",
                   [](GestureFixture& f) {
                       f.root.modifiers = kModControl;
                       f.root.Press(60, 20);
                       f.root.Release(60, 20);
                   },
                   {"BeginEdit", "SetValue 30", "EndEdit", "Begin", "B Begin", "Changed 30", "deleted"}},
        DeleteCase{"ControlReleaseAfterADrag", "End",
                   [](GestureFixture& f) {
                       f.root.Press(60, 20);
                       f.root.modifiers = kModControl;
                       f.root.Release(60, 20);
                   },
                   {"BeginEdit", "Begin", "B Begin", "EndEdit", "End", "deleted"}},
        DeleteCase{"CaptureLost", "End",
                   [](GestureFixture& f) {
                       f.root.Press(60, 20);
                       f.root.StealCapture();
                       f.root.Release(60, 20);
                   },
                   {"BeginEdit", "Begin", "B Begin", "EndEdit", "End", "deleted"}},
        DeleteCase{"KeyStep", "Changed",
                   [](GestureFixture& f) {
                       f.slider->RequestFocus(f.slider.get());
                       f.root.KeyDown(kVkRight, 3);
                   },
                   {"SetValue 51", "Changed 51", "deleted"}}),
    [](const ::testing::TestParamInfo<DeleteCase>& i) { return std::string(i.param.name); });

// ---- keys ------------------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    bool vertical;
    int32_t type; // kKeyDown, kKeyRepeat, kKeyUp, kKeyChar
    int32_t key;
    int32_t start;
    int32_t expected;
    bool changed; // Changed heard
};

class SliderKeys : public ::testing::TestWithParam<std::tuple<KeyCase, bool>> {};

TEST_P(SliderKeys, ArrowsStepByOneClampedAndNothingGoesUp) {
    const KeyCase& c = std::get<0>(GetParam());
    const bool bound = std::get<1>(GetParam());
    SliderImages images;
    TestRootPane root(300, 300);
    EventLog events;
    LoggingPane box(events, "box");
    box.Create(&root, {0, 0, 300, 300});
    std::vector<std::string> log;
    FakeSite site(log);
    LogListener listener(log);
    std::unique_ptr<Slider> s;
    if (c.vertical)
        s = std::make_unique<VSlider>();
    else
        s = std::make_unique<HSlider>();
    if (bound) {
        site.info = ControlInfo{2, 0, 100, 0, 0};
        site.value = c.start;
        site.echo = s.get();
        s->SetAdapter(&site, kSiteId);
    }
    s->Create(&box, c.vertical ? Rect{10, 10, 21, 121} : Rect{10, 10, 115, 21});
    s->SetRange(0, 100);
    s->SetValue(c.start);
    s->AddListener(&listener);
    s->RequestFocus(s.get());
    ASSERT_EQ(root.GetFocusedPane(), s.get());

    switch (c.type) {
    case kKeyDown:
        root.KeyDown(c.key);
        break;
    case kKeyRepeat:
        root.HandleKeyDown(c.key, 1, true);
        break;
    case kKeyUp:
        root.KeyUp(c.key);
        break;
    default:
        root.Char(c.key);
        break;
    }

    EXPECT_EQ(s->GetValue(), c.expected);
    std::vector<std::string> expected;
    if (c.changed) {
        if (bound)
            expected.push_back("SetValue " + std::to_string(c.expected));
        expected.push_back("Changed " + std::to_string(c.expected));
    }
    EXPECT_EQ(log, expected); // a step is not an edit: no BeginEdit, no Begin
    EXPECT_EQ(events.Text(), "");
    s.reset();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderKeys,
    ::testing::Combine(::testing::Values(KeyCase{"LeftSteps", false, kKeyDown, kVkLeft, 50, 49, true},
                                         KeyCase{"RightSteps", false, kKeyDown, kVkRight, 50, 51, true},
                                         KeyCase{"RepeatSteps", false, kKeyRepeat, kVkRight, 50, 51, true},
                                         KeyCase{"RightAtMaximum", false, kKeyDown, kVkRight, 100, 100, true},
                                         KeyCase{"LeftAtMinimum", false, kKeyDown, kVkLeft, 0, 0, true},
                                         KeyCase{"UpIsNotHorizontal", false, kKeyDown, kVkUp, 50, 50, false},
                                         KeyCase{"KeyUpIgnored", false, kKeyUp, kVkRight, 50, 50, false},
                                         KeyCase{"CharIgnored", false, kKeyChar, 'a', 50, 50, false},
                                         KeyCase{"OtherKeyIgnored", false, kKeyDown, 0x1B, 50, 50, false},
                                         KeyCase{"UpSteps", true, kKeyDown, kVkUp, 50, 51, true},
                                         KeyCase{"DownSteps", true, kKeyDown, kVkDown, 50, 49, true},
                                         KeyCase{"UpAtMaximum", true, kKeyDown, kVkUp, 100, 100, true},
                                         KeyCase{"DownAtMinimum", true, kKeyDown, kVkDown, 0, 0, true},
                                         KeyCase{"RightIsNotVertical", true, kKeyDown, kVkRight, 50, 50, false}),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<KeyCase, bool>>& i) {
        return std::string(std::get<0>(i.param).name) + (std::get<1>(i.param) ? "Bound" : "Own");
    });

TEST(SliderKeys, DisabledSliderSwallowsArrowsWithoutStepping) {
    SliderImages images;
    TestRootPane root(300, 100);
    std::vector<std::string> log;
    LogListener listener(log);
    HSlider s;
    s.Create(&root, {0, 0, 115, 21});
    s.SetRange(0, 10);
    s.AddListener(&listener);
    s.RequestFocus(&s);
    s.SetEnabled(false);
    root.KeyDown(kVkRight);
    EXPECT_EQ(s.GetValue(), 5);
    EXPECT_TRUE(log.empty());
}

TEST(SliderKeys, TheLineSliderLeavesKeysToItsParent) {
    TestRootPane root(300, 100);
    EventLog events;
    LoggingPane box(events, "box");
    box.Create(&root, {0, 0, 300, 100});
    HSlider3 s;
    s.Create(&box, {0, 0, 107, 20});
    s.SetRange(0, 10);
    s.RequestFocus(&s);
    root.KeyDown(kVkRight);
    EXPECT_EQ(s.GetValue(), 5);
    EXPECT_EQ(events.Text(), "box KeyDown");
}

} // namespace
} // namespace Corvell::Test
