#include "SliderFixture.h"
#include "shared/Graphics/Palette.h"
#include "ui/HSlider.h"
#include "ui/HSlider3.h"
#include "ui/VSlider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace Corvell::Test {
namespace {

const PixelSurface* SurfaceOf(Bitmap* b) {
    auto* png = dynamic_cast<PngBitmap*>(b);
    return png ? png->Surface() : nullptr;
}

// The image blends of one paint, split into track and thumb.
struct Painted {
    std::vector<DrawCall> track;
    std::vector<DrawCall> thumb;
};

Painted PaintSlider(Slider& s) {
    RecordingContext gc(Rect{0, 0, 800, 600});
    s.Paint(gc);
    Painted p;
    for (const DrawCall& d : gc.CallsOf("Blend")) {
        if (d.surface && d.surface == SurfaceOf(s.GetTrackImage()))
            p.track.push_back(d);
        else if (d.surface && d.surface == SurfaceOf(s.GetThumbImage()))
            p.thumb.push_back(d);
        else
            ADD_FAILURE() << "a blend of another image";
    }
    return p;
}

// ---- the thumb ----------------------------------------------------------------------

class SliderThumbPaint : public ::testing::TestWithParam<bool> {};

TEST_P(SliderThumbPaint, SecondFrameWhileDraggingAndTheThumbFollowsTheValue) {
    const bool vertical = GetParam();
    SliderImages images;
    TestRootPane root(400, 400);
    std::unique_ptr<Slider> s;
    if (vertical) {
        s = std::make_unique<VSlider>();
        s->Create(&root, {10, 10, 21, 121}); // span 100
    } else {
        s = std::make_unique<HSlider>();
        s->Create(&root, {10, 10, 115, 21}); // span 100
    }
    s->SetRange(0, 100);
    s->SetValue(50);
    // Where the thumb's top-left goes for a value, and where the press lands.
    auto expectAt = [&](int32_t value) {
        return vertical ? Point{3, 100 - value} : Point{value, 0};
    };
    auto expectThumb = [&](int32_t value, int32_t frame) {
        Painted p = PaintSlider(*s);
        ASSERT_EQ(p.thumb.size(), 1u);
        EXPECT_EQ((Point{p.thumb[0].rect.x, p.thumb[0].rect.y}), expectAt(value));
        EXPECT_EQ(p.thumb[0].source, (Rect{frame * 15, 0, 15, 21}));
    };

    expectThumb(50, 0);
    const Point press = vertical ? Point{20, 10 + 55} : Point{10 + 55, 20};
    root.Press(press.x, press.y);
    expectThumb(50, 1);
    if (vertical)
        root.MoveTo(press.x, press.y - 30);
    else
        root.MoveTo(press.x + 30, press.y);
    EXPECT_EQ(s->GetValue(), 80);
    expectThumb(80, 1);
    root.Release(press.x, press.y);
    expectThumb(80, 0);
    s.reset();
}

INSTANTIATE_TEST_SUITE_P(Orientations, SliderThumbPaint, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) {
                             return std::string(i.param ? "Vertical" : "Horizontal");
                         });

TEST(SliderThumbPaint, OneFrameThumbStaysOnItsFrameAndMissingThumbsFallBack) {
    SliderImages images(false);
    images.source.AddPng("sliderThumbH", RgbaPng(20, 21));
    images.source.AddPng("sliderThumbV", RgbaPng(20, 20));
    TestRootPane root(400, 400);

    HSlider h; // the two-frame thumb is missing here
    h.Create(&root, {0, 0, 120, 21});
    EXPECT_EQ(h.GetThumbFrames(), 1);
    EXPECT_EQ(h.ThumbFrameWidth(), 20);
    HSlider custom("nothing.png", 3); // a named thumb falls back the same way
    EXPECT_EQ(custom.GetThumbFrames(), 1);
    EXPECT_EQ(custom.ThumbFrameWidth(), 20);
    VSlider v;
    EXPECT_EQ(v.GetThumbFrames(), 1);
    EXPECT_EQ(v.ThumbHeight(), 20);
    EXPECT_FALSE(h.HasTrack());

    h.SetRange(0, 100);
    root.Press(50, 10);
    Painted p = PaintSlider(h);
    ASSERT_EQ(p.thumb.size(), 1u);
    EXPECT_EQ(p.thumb[0].source, (Rect{0, 0, 20, 21}));
    EXPECT_TRUE(p.track.empty());
    root.Release(50, 10);
}

struct CentreCase {
    const char* name;
    bool vertical;
    int32_t length;
    int32_t expected;
};

class SliderEmptyRange : public ::testing::TestWithParam<CentreCase> {};

TEST_P(SliderEmptyRange, CentresTheThumb) {
    const CentreCase& c = GetParam();
    SliderImages images;
    std::unique_ptr<Slider> s;
    if (c.vertical)
        s = std::make_unique<VSlider>();
    else
        s = std::make_unique<HSlider>();
    s->SetBounds(c.vertical ? Rect{0, 0, 21, c.length} : Rect{0, 0, c.length, 21});
    s->SetRange(5, 5);
    Painted p = PaintSlider(*s);
    ASSERT_EQ(p.thumb.size(), 1u);
    EXPECT_EQ(c.vertical ? p.thumb[0].rect.y : p.thumb[0].rect.x, c.expected);
    // The other axis is centred too.
    EXPECT_EQ(c.vertical ? p.thumb[0].rect.x : p.thumb[0].rect.y, c.vertical ? 3 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SliderEmptyRange,
                         ::testing::Values(CentreCase{"HorizontalEven", false, 115, 50},
                                           CentreCase{"HorizontalOdd", false, 116, 50},
                                           CentreCase{"VerticalEven", true, 121, 50},
                                           CentreCase{"VerticalOdd", true, 122, 50}),
                         [](const ::testing::TestParamInfo<CentreCase>& i) { return std::string(i.param.name); });

// ---- the track --------------------------------------------------------------------------

struct Piece {
    int32_t at, from, length;
    bool operator==(const Piece& o) const { return at == o.at && from == o.from && length == o.length; }
};

void PrintTo(const Piece& p, std::ostream* os) { *os << "{" << p.at << ", " << p.from << ", " << p.length << "}"; }

struct TrackCase {
    const char* name;
    bool vertical;
    int32_t image;  // the image's length along the axis
    int32_t length; // the slider's
    std::vector<Piece> expected; // empty: only the covering is checked
};

class SliderTrack : public ::testing::TestWithParam<TrackCase> {};

TEST_P(SliderTrack, CoversTheSliderEdgeToEdgeFromInsideTheImage) {
    const TrackCase& c = GetParam();
    SliderImages images;
    if (c.vertical)
        images.source.AddPng("sliderSlotV", RgbaPng(19, uint32_t(c.image)));
    else
        images.source.AddPng("sliderSlotH", RgbaPng(uint32_t(c.image), 19));
    std::unique_ptr<Slider> s;
    if (c.vertical) {
        s = std::make_unique<VSlider>();
        s->SetBounds(Rect{0, 0, 25, c.length});
    } else {
        s = std::make_unique<HSlider>();
        s->SetBounds(Rect{0, 0, c.length, 25});
    }

    Painted p = PaintSlider(*s);

    std::vector<Piece> pieces;
    for (const DrawCall& d : p.track) {
        // Centred across the axis: (25 - 19) / 2.
        EXPECT_EQ(c.vertical ? d.rect.x : d.rect.y, 3);
        EXPECT_EQ(c.vertical ? d.source.x : d.source.y, 0);
        EXPECT_EQ(c.vertical ? d.source.width : d.source.height, 19);
        const int32_t at = c.vertical ? d.rect.y : d.rect.x;
        const int32_t from = c.vertical ? d.source.y : d.source.x;
        const int32_t length = c.vertical ? d.source.height : d.source.width;
        pieces.push_back(Piece{at, from, length});
    }
    std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.at < b.at; });
    int32_t next = 0;
    for (const Piece& x : pieces) {
        EXPECT_EQ(x.at, next) << "a gap or an overlap";
        EXPECT_GE(x.length, 1);
        EXPECT_GE(x.from, 0);
        EXPECT_LE(x.from + x.length, c.image);
        next = x.at + x.length;
    }
    EXPECT_EQ(next, c.length);
    if (!c.expected.empty()) {
        EXPECT_EQ(pieces, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SliderTrack,
    ::testing::Values(
        TrackCase{"Equal", false, 64, 64, {{0, 0, 64}}},
        // Longer image: its two ends, a half each.
        TrackCase{"Wider", false, 64, 40, {{0, 0, 20}, {20, 44, 20}}},
        TrackCase{"WiderOdd", false, 64, 41, {{0, 0, 20}, {20, 43, 21}}},
        TrackCase{"WiderOnePixel", false, 5, 1, {{0, 4, 1}}},
        // Shorter image: first third, middle third repeated, last part to the edge.
        TrackCase{"Narrower",
                  false,
                  64,
                  150,
                  {{0, 0, 21}, {21, 21, 21}, {42, 21, 21}, {63, 21, 21}, {84, 21, 21}, {105, 21, 21},
                   {126, 21, 2}, {128, 42, 22}}},
        TrackCase{"NarrowerExactly", false, 60, 100, {{0, 0, 20}, {20, 20, 20}, {40, 20, 20}, {60, 20, 20},
                                                      {80, 40, 20}}},
        TrackCase{"ThreePixels", false, 3, 7, {{0, 0, 1}, {1, 1, 1}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}, {5, 1, 1},
                                               {6, 2, 1}}},
        // Under 3 px there is no middle third: the walk still ends.
        TrackCase{"TwoPixels", false, 2, 5, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 2}}},
        TrackCase{"OnePixel", false, 1, 5, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}, {4, 0, 1}}},
        TrackCase{"OnePixelWide", false, 1, 300, {}},
        TrackCase{"VerticalNarrower", true, 64, 150,
                  {{0, 0, 21}, {21, 21, 21}, {42, 21, 21}, {63, 21, 21}, {84, 21, 21}, {105, 21, 21},
                   {126, 21, 2}, {128, 42, 22}}},
        TrackCase{"VerticalWider", true, 64, 40, {{0, 0, 20}, {20, 44, 20}}},
        TrackCase{"VerticalOnePixel", true, 1, 4, {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}}}),
    [](const ::testing::TestParamInfo<TrackCase>& i) { return std::string(i.param.name); });

// ---- the line slider -----------------------------------------------------------------------

std::vector<std::vector<Point>> Lines(const RecordingContext& gc, Color color) {
    std::vector<std::vector<Point>> out;
    for (const DrawCall& d : gc.CallsOf("Polyline")) {
        EXPECT_EQ(d.penColor, color);
        out.push_back(d.points);
    }
    return out;
}

struct LineCase {
    const char* name;
    int32_t height;
    int32_t defaultValue;
    bool defaultTick;
    int32_t row; // of the track line
};

class SliderLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(SliderLines, TrackEndTicksDefaultTickAndThumb) {
    const LineCase& c = GetParam();
    TestRootPane root(300, 100);
    HSlider3 s;
    s.Create(&root, {0, 0, 107, c.height}); // track 3..103, 1 px = 1 value
    s.SetRange(0, 100);
    s.SetValue(40);
    s.SetDefault(c.defaultValue);
    const int32_t g = c.row;
    EXPECT_EQ(s.TrackRow(), g);

    RecordingContext gc(Rect{0, 0, 300, 100});
    s.Paint(gc);

    const Color color = GetColor(1);
    std::vector<std::vector<Point>> expected = {
        {{3, g}, {104, g}},         // the line, pixels 3..103
        {{3, g + 3}, {3, g - 2}},   // end ticks
        {{103, g + 3}, {103, g - 2}},
    };
    if (c.defaultTick) {
        const int32_t x = 3 + c.defaultValue;
        expected.push_back({{x, g + 3}, {x, g - 2}});
    }
    EXPECT_EQ(Lines(gc, color), expected);
    auto fills = gc.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{43 - 2, g - 4, 5, 9}));
    EXPECT_EQ(fills[0].brushColor, color);
    EXPECT_TRUE(gc.CallsOf("Blend").empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SliderLines,
                         ::testing::Values(LineCase{"DefaultInside", 20, 25, true, 9},
                                           LineCase{"OddHeight", 21, 25, true, 9},
                                           LineCase{"EvenHeightRoundsUp", 22, 25, true, 10},
                                           LineCase{"DefaultNextToTheStart", 20, 1, true, 9},
                                           LineCase{"DefaultAtTheMinimum", 20, 0, false, 9},
                                           LineCase{"DefaultAtTheMaximum", 20, 100, false, 9},
                                           LineCase{"DefaultBelowTheRange", 20, -50, false, 9},
                                           LineCase{"DefaultAboveTheRange", 20, 5000, false, 9}),
                         [](const ::testing::TestParamInfo<LineCase>& i) { return std::string(i.param.name); });

TEST(SliderLines, DisabledUsesTheDimColourAndAnEmptyRangeCentresTheThumb) {
    TestRootPane root(300, 100);
    HSlider3 s;
    s.Create(&root, {0, 0, 107, 20});
    s.SetRange(7, 7);
    s.SetEnabled(false);
    RecordingContext gc(Rect{0, 0, 300, 100});
    s.Paint(gc);
    for (const DrawCall& d : gc.CallsOf("Polyline"))
        EXPECT_EQ(d.penColor, GetColor(2));
    auto fills = gc.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].brushColor, GetColor(2));
    EXPECT_EQ(fills[0].rect.x + 2, 3 + 50);
}

TEST(SliderLines, TheThumbStaysUnderThePointerWhileDragging) {
    SliderImages images; // the line slider draws none of them, whatever exists
    TestRootPane root(300, 100);
    HSlider3 s;
    s.Create(&root, {20, 10, 107, 20});
    s.SetRange(0, 1000);
    s.SetValue(500);
    const int32_t start = s.PositionOf(500); // 53
    root.Press(20 + start, 15);
    for (int32_t dx : {1, 7, 10, 33, -20, -50}) {
        root.MoveTo(20 + start + dx, 15);
        RecordingContext gc(Rect{0, 0, 300, 100});
        s.Paint(gc);
        auto fills = gc.CallsOf("FillRect");
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0].rect.x + HSlider3::kThumbWidth / 2, start + dx) << dx;
    }
    root.Release(20 + start - 50, 15);
}

} // namespace
} // namespace Corvell::Test
