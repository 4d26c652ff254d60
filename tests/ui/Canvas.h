#pragma once
#include "RecordingContext.h"

#include <gtest/gtest.h>

namespace Corvell::Test {

// A recording context with a current font (11-pixel Tahoma) and a text
// colour of its own, so that a widget that leaves either changed, or the
// origin or the clip, is seen.
struct Canvas {
    Canvas() {
        FontDesc d;
        d.SetFace("Tahoma");
        d.height = -11;
        gc.SetFont(new Font(d));
        gc.SetTextColor(kBefore);
    }
    void CheckRestored() {
        EXPECT_EQ(kBefore, gc.GetTextColor());
        EXPECT_EQ(gc.GetFont()->Handle(), gc.SelectedFont());
        EXPECT_TRUE(gc.GetOrigin() == Point());
        EXPECT_EQ(gc.GetClip().Bounds(), (Rect{0, 0, 400, 300}));
    }
    static constexpr Color kBefore = MakeColor(1, 2, 3);
    RecordingContext gc{Rect{0, 0, 400, 300}};
};

} // namespace Corvell::Test
