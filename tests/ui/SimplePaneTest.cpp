// What the plain panes draw: fills, outlines and separator lines, in every
// state, recorded by a RecordingContext.
#include "RecordingContext.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/ColorPane.h"
#include "ui/GrayPane.h"
#include "ui/GroupBox.h"
#include "ui/HorizontalSeparator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// "op rect-or-points pen/brush colours" of every primitive, in order.
std::vector<std::string> Shapes(const RecordingContext& gc) {
    std::vector<std::string> out;
    for (const DrawCall& c : gc.Calls()) {
        std::ostringstream s;
        s << c.op << std::hex;
        if (c.op == "Polyline") {
            for (const Point& p : c.points)
                s << " " << std::dec << p.x << "," << p.y;
            s << std::hex << " pen " << c.penColor;
        } else {
            s << std::dec << " (" << c.rect.x << "," << c.rect.y << "," << c.rect.width << "," << c.rect.height << ")"
              << std::hex;
            if (c.op == "Rectangle")
                s << " pen " << c.penColor << (c.hasBrush ? " filled" : "");
            else
                s << " brush " << c.brushColor;
        }
        out.push_back(s.str());
    }
    return out;
}

std::string Hex(Color c) {
    std::ostringstream s;
    s << std::hex << c;
    return s.str();
}

enum class State { Enabled, Disabled, ParentDisabled };
const State kStates[] = {State::Enabled, State::Disabled, State::ParentDisabled};
const char* Name(State s) {
    return s == State::Enabled ? "enabled" : s == State::Disabled ? "disabled" : "in a disabled parent";
}

// Paints `pane`, placed at `r` in a parent inside a root, in one state, and
// returns what it drew; the pen and brush the context had are back afterwards.
std::vector<std::string> PaintIn(Pane& pane, const Rect& r, State state) {
    TestRootPane root{300, 200};
    Pane parent;
    parent.Create(&root, Rect{5, 5, 250, 150});
    pane.Create(&parent, r);
    if (state == State::Disabled)
        pane.SetEnabled(false);
    if (state == State::ParentDisabled)
        parent.SetEnabled(false);
    RecordingContext gc{Rect{0, 0, 300, 200}};
    const NativeHandle pen = gc.SelectedPen(), brush = gc.SelectedBrush();
    pane.Paint(gc);
    EXPECT_EQ(pen, gc.SelectedPen());
    EXPECT_EQ(brush, gc.SelectedBrush());
    pane.Close();
    return Shapes(gc);
}

TEST(SimplePanes, FillsAndOutlinesAreTheSameInEveryState) {
    const Color c = MakeColor(12, 34, 56);
    const std::string colour = Hex(c);
    const std::string group = Hex(GetColor(3));
    struct Case {
        const char* name;
        std::function<Pane*()> make;
        Rect rect;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"ColorPane", [c] { return new ColorPane(c); }, {10, 20, 100, 50}, {"FillRect (0,0,100,50) brush " + colour}},
        {"GrayPane 100x50", [c] { return new GrayPane(c); }, {10, 20, 100, 50},
         {"FillRect (0,0,100,50) brush " + colour, "Rectangle (0,0,100,50) pen 505050"}},
        {"GrayPane 1x1", [c] { return new GrayPane(c); }, {0, 0, 1, 1},
         {"FillRect (0,0,1,1) brush " + colour, "Rectangle (0,0,1,1) pen 505050"}},
        {"GroupBox", [] { return new GroupBox; }, {7, 36, 120, 89}, {"Rectangle (0,0,120,89) pen " + group}},
    };
    for (const Case& k : cases)
        for (State state : kStates) {
            SCOPED_TRACE(std::string(k.name) + " " + Name(state));
            std::unique_ptr<Pane> pane(k.make());
            EXPECT_EQ(k.expected, PaintIn(*pane, k.rect, state));
        }
    EXPECT_EQ(GetColor(3), MakeColor(68, 68, 68));
}

TEST(SimplePanes, SeparatorLineAtHalfHeightTwoPixelsInUnlessNarrowerThanFive) {
    const std::string pen = Hex(GetColor(2));
    struct Case {
        int32_t width, height;
        int32_t x0, x1, y;
    };
    const Case cases[] = {
        {210, 13, 2, 208, 6}, {100, 12, 2, 98, 6}, {5, 3, 2, 3, 1}, {4, 9, 0, 4, 4},
        {1, 2, 0, 1, 1},      {0, 10, 0, 0, 5},    {60, 1, 2, 58, 0},
    };
    for (const Case& k : cases)
        for (State state : kStates) {
            SCOPED_TRACE(::testing::Message() << k.width << "x" << k.height << " " << Name(state));
            HorizontalSeparator s;
            std::ostringstream line;
            line << "Polyline " << k.x0 << "," << k.y << " " << k.x1 << "," << k.y << " pen " << pen;
            EXPECT_EQ(std::vector<std::string>{line.str()}, PaintIn(s, Rect{7, 91, k.width, k.height}, state));
        }
}

TEST(SimplePanes, APaintHookDrawsOverThePaneAndTemporaryObjectsAreFreed) {
    RecordingBackend& backend = RecordingBackend::Install();
    const int32_t live = backend.LiveObjects();
    int hooked = 0;
    struct Hook {
        int* count;
        void Run(Pane*, GraphicsContext& gc) {
            ++*count;
            gc.FillRect(Rect{1, 1, 2, 2}, MakeColor(1, 1, 1));
        }
    } hook{&hooked};
    ColorPane color(MakeColor(9, 9, 9));
    GrayPane gray(MakeColor(9, 9, 9));
    GroupBox group;
    HorizontalSeparator separator;
    for (Pane* p : std::vector<Pane*>{&color, &gray, &group, &separator}) {
        p->SetBounds(Rect{0, 0, 20, 20});
        p->SetPaintHook(MakeDelegate(&hook, &Hook::Run));
        RecordingContext gc{Rect{0, 0, 50, 50}};
        p->Paint(gc);
        ASSERT_FALSE(gc.Calls().empty());
        EXPECT_EQ("FillRect (1,1,2,2) brush 10101", Shapes(gc).back()); // last, over the pane's own drawing
    }
    EXPECT_EQ(4, hooked);
    EXPECT_EQ(live, backend.LiveObjects());
}

} // namespace
} // namespace Corvell::Test
