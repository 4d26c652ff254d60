// Turned fonts: the escapement an angle gives, and that text drawn at a
// point with one carries it to the platform and leaves the context as it was.
#include "RecordingContext.h"
#include "shared/Graphics/GraphicsContext.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Corvell;
using namespace Corvell::Test;

TEST(RotatedFont, AnyAngleGivesAnEscapementWithinOneTurn) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float angle;
        int32_t tenths;
    };
    const Case exact[] = {
        {0.0f, 0},     {90.0f, 900}, {-90.0f, -900}, {45.5f, 455}, {12.34f, 123}, {359.99f, 0},
        {450.0f, 900}, {-720.0f, 0}, {nan, 0},       {inf, 0},     {-inf, 0},
    };
    RecordingBackend::Install();
    for (const Case& k : exact) {
        Ref<Font> f = new Font("Verdana", 8.0f, k.angle);
        EXPECT_EQ(k.tenths, f->Desc().escapement) << k.angle;
        EXPECT_EQ(k.tenths, f->Desc().orientation) << k.angle;
    }
    // Angles far beyond a turn still give one the platform can use.
    for (float angle : {1e30f, -1e30f, 2.7e9f, -3.4e38f}) {
        Ref<Font> f = new Font("Verdana", 8.0f, angle);
        EXPECT_GT(f->Desc().escapement, -3600) << angle;
        EXPECT_LT(f->Desc().escapement, 3600) << angle;
        EXPECT_EQ(f->Desc().escapement, f->Desc().orientation) << angle;
    }
}

TEST(RotatedFont, TextAtAPointIsDrawnWithTheTurnedFontWhichThenLeaves) {
    RecordingBackend& backend = RecordingBackend::Install();
    const int32_t live = backend.LiveObjects();
    {
        RecordingContext gc{Rect{0, 0, 100, 100}};
        FontDesc level;
        level.SetFace("Tahoma");
        level.height = -11;
        gc.SetFont(new Font(level));
        const NativeHandle current = gc.SelectedFont();
        {
            Ref<Font> turned = new Font("Verdana", 8.0f, 90.0f);
            gc.DrawText(Point{30, 90}, "Strum", -1, *turned);
            EXPECT_EQ(current, gc.SelectedFont());
        }
        const auto outs = gc.CallsOf("TextOut");
        ASSERT_EQ(1u, outs.size());
        EXPECT_STREQ("Verdana", outs[0].font.face);
        EXPECT_EQ(900, outs[0].font.escapement);
        EXPECT_EQ(900, outs[0].font.orientation);
        EXPECT_EQ(-11, outs[0].font.height);
        EXPECT_TRUE(outs[0].points[0] == (Point{30, 90}));
        EXPECT_EQ("Strum", outs[0].text);
    }
    EXPECT_EQ(live, backend.LiveObjects());
}
