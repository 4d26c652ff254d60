// What a label draws: text rectangles, colours per state, the shadow, the
// layout bits and turned text, recorded by a RecordingContext.
#include "RecordingContext.h"
#include "Canvas.h"
#include "TestRootPane.h"
#include "shared/Graphics/Palette.h"
#include "ui/ALabel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

// The format as the context hands it to the platform.
uint32_t Drawn(uint32_t format) { return DrawTextFormat(format); }

std::string Str(const Rect& r) {
    std::ostringstream s;
    s << "(" << r.x << "," << r.y << "," << r.width << "," << r.height << ")";
    return s.str();
}

// "DrawText rect colour format" or "TextOut point colour face escapement", in order.
std::vector<std::string> Texts(const RecordingContext& gc) {
    std::vector<std::string> out;
    for (const DrawCall& c : gc.Calls()) {
        std::ostringstream s;
        if (c.op == "DrawText") {
            s << "DrawText " << Str(c.rect) << std::hex << " colour " << c.textColor << " format " << c.format;
        } else if (c.op == "TextOut") {
            s << "TextOut " << c.points[0].x << "," << c.points[0].y << std::hex << " colour " << c.textColor << " "
              << c.font.face << std::dec << " " << c.font.escapement;
        } else {
            s << c.op;
        }
        if (c.text != "Tone")
            s << " \"" << c.text << "\"";
        out.push_back(s.str());
    }
    return out;
}

std::string DrawTextLine(const Rect& r, Color colour, uint32_t format) {
    std::ostringstream s;
    s << "DrawText " << Str(r) << std::hex << " colour " << colour << " format " << format;
    return s.str();
}

std::string TextOutLine(Point p, Color colour, int32_t escapement) {
    std::ostringstream s;
    s << "TextOut " << p.x << "," << p.y << std::hex << " colour " << colour << " Verdana" << std::dec << " "
      << escapement;
    return s.str();
}

enum class State { Enabled, Disabled, ParentDisabled, GrandparentDisabled };

class LabelTest : public ::testing::Test {
protected:
    // A label at (20, 30, 80, 23) in a parent in a grandparent, in that state.
    ALabel& Place(State state) {
        grandparent.Create(&root, Rect{0, 0, 300, 200});
        parent.Create(&grandparent, Rect{10, 10, 200, 100});
        label.Create(&parent, Rect{20, 30, 80, 23});
        label.SetEnabled(state != State::Disabled);
        parent.SetEnabled(state != State::ParentDisabled);
        grandparent.SetEnabled(state != State::GrandparentDisabled);
        return label;
    }

    TestRootPane root{400, 300};
    Pane grandparent, parent;
    ALabel label;
};

TEST_F(LabelTest, ConstructedEmptyVerticallyCentredWithoutColourOrShadow) {
    ALabel l;
    EXPECT_TRUE(l.GetText().IsEmpty());
    EXPECT_EQ(0x4u, l.GetFormat());
    EXPECT_FALSE(l.HasTextColor());
    EXPECT_FALSE(l.HasShadow());
    EXPECT_EQ(0.0f, l.GetAngle());
    Canvas c;
    l.SetBounds(Rect{0, 0, 50, 20});
    l.Paint(c.gc);
    EXPECT_TRUE(c.gc.Calls().empty());
    c.CheckRestored();
}

TEST_F(LabelTest, TextColourFollowsOwnColourAndTheEnabledChain) {
    const Color own = MakeColor(200, 100, 50), shadow = MakeColor(5, 6, 7);
    const Color disabled = GetColor(2);
    const uint32_t f = Drawn(0x4);
    struct Case {
        State state;
        bool ownColour, withShadow;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {State::Enabled, false, false, {DrawTextLine({0, 0, 80, 23}, Canvas::kBefore, f)}},
        {State::Enabled, true, false, {DrawTextLine({0, 0, 80, 23}, own, f)}},
        {State::Enabled, true, true, {DrawTextLine({0, 0, 79, 22}, shadow, f), DrawTextLine({1, 1, 79, 22}, own, f)}},
        {State::Enabled, false, true,
         {DrawTextLine({0, 0, 79, 22}, shadow, f), DrawTextLine({1, 1, 79, 22}, Canvas::kBefore, f)}},
        {State::Disabled, true, false, {DrawTextLine({0, 0, 80, 23}, disabled, f)}},
        {State::Disabled, false, true,
         {DrawTextLine({0, 0, 79, 22}, shadow, f), DrawTextLine({1, 1, 79, 22}, disabled, f)}},
        {State::ParentDisabled, true, true,
         {DrawTextLine({0, 0, 79, 22}, shadow, f), DrawTextLine({1, 1, 79, 22}, disabled, f)}},
        {State::GrandparentDisabled, true, false, {DrawTextLine({0, 0, 80, 23}, disabled, f)}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "state " << int(k.state) << " own " << k.ownColour << " shadow "
                                          << k.withShadow);
        ALabel l;
        grandparent.Create(&root, Rect{0, 0, 300, 200});
        parent.Create(&grandparent, Rect{10, 10, 200, 100});
        l.Create(&parent, Rect{20, 30, 80, 23});
        l.SetEnabled(k.state != State::Disabled);
        parent.SetEnabled(k.state != State::ParentDisabled);
        grandparent.SetEnabled(k.state != State::GrandparentDisabled);
        l.SetText("Tone");
        if (k.ownColour)
            l.SetTextColor(own);
        if (k.withShadow)
            l.SetShadowColor(shadow);
        Canvas c;
        l.Paint(c.gc);
        EXPECT_EQ(k.expected, Texts(c.gc));
        c.CheckRestored();
        l.Close();
        parent.Close();
        grandparent.Close();
    }
}

TEST_F(LabelTest, CreateLabelOnADisabledParentDrawsBlackShadowThenDisabledTextCentredVertically) {
    std::unique_ptr<ALabel> l(CreateLabel("Tone", 0));
    EXPECT_EQ(0x4u, l->GetFormat());
    EXPECT_EQ(GetColor(1), l->GetTextColor());
    EXPECT_TRUE(l->HasTextColor());
    EXPECT_TRUE(l->HasShadow());
    EXPECT_EQ(0u, l->GetShadowColor());
    EXPECT_EQ("Tone", std::string(l->GetText().c_str()));
    parent.Create(&root, Rect{0, 0, 200, 100});
    l->Create(&parent, Rect{5, 5, 60, 23});
    parent.SetEnabled(false);
    Canvas c;
    l->Paint(c.gc);
    const uint32_t f = kTextVCenter | kTextSingleLine | kTextNoPrefix;
    EXPECT_EQ((std::vector<std::string>{DrawTextLine({0, 0, 59, 22}, 0, f), DrawTextLine({1, 1, 59, 22}, GetColor(2), f)}),
              Texts(c.gc));
    c.CheckRestored();

    parent.SetEnabled(true);
    c.gc.ClearCalls();
    l->Paint(c.gc);
    EXPECT_EQ((std::vector<std::string>{DrawTextLine({0, 0, 59, 22}, 0, f), DrawTextLine({1, 1, 59, 22}, GetColor(1), f)}),
              Texts(c.gc));

    // The layouts' alignments keep the vertical centring.
    for (uint32_t format : {0u, 1u, 2u, 8u, 0x4u}) {
        std::unique_ptr<ALabel> made(CreateLabel("x", format));
        EXPECT_EQ(format | 0x4u, made->GetFormat()) << format;
    }
}

TEST_F(LabelTest, AlignmentBitsReachTheLayoutUnchangedInThePaneRectangle) {
    struct Case {
        uint32_t format;
        uint32_t drawn;
    };
    const Case cases[] = {
        {0x0, kTextNoPrefix},                                   // top left, may run over lines
        {0x4, kTextVCenter | kTextSingleLine | kTextNoPrefix},  // left
        {0x5, kTextCenter | kTextVCenter | kTextSingleLine | kTextNoPrefix},
        {0x6, kTextRight | kTextVCenter | kTextSingleLine | kTextNoPrefix},
        {0x8, kTextBottom | kTextSingleLine | kTextNoPrefix},
        {0x1, kTextCenter | kTextNoPrefix},
    };
    ALabel& l = Place(State::Enabled);
    l.SetText("Tone");
    for (const Case& k : cases) {
        l.SetFormat(k.format);
        EXPECT_EQ(k.format, l.GetFormat());
        Canvas c;
        l.Paint(c.gc);
        EXPECT_EQ(std::vector<std::string>{DrawTextLine({0, 0, 80, 23}, Canvas::kBefore, k.drawn)}, Texts(c.gc))
            << "format " << k.format;
    }
}

TEST_F(LabelTest, TurnedTextDrawsInVerdanaFromItsBaselinePointIgnoringTheFormat) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Label 80 x 23: the text box is (0, 0, 80, 23); with a shadow (1, 1, 79, 22)
    // and the shadow's (0, 0, 79, 22).
    struct Case {
        float angle;
        int32_t escapement; // -1: drawn level through the layout
        Point plain;        // baseline start without a shadow
        Point shadow, text; // with one
    };
    const Case cases[] = {
        {90.0f, 900, {80 - 26, 23}, {79 - 26, 22}, {1 + 79 - 26, 23}},
        {45.0f, 450, {54, 23}, {53, 22}, {54, 23}},
        {180.0f, 1800, {54, 23}, {53, 22}, {54, 23}},
        {-90.0f, 2700, {26, 0}, {26, 0}, {27, 1}}, // reads downwards from the top edge
        {270.0f, 2700, {26, 0}, {26, 0}, {27, 1}},
        {450.0f, 900, {54, 23}, {53, 22}, {54, 23}},
        {360.0f, -1, {}, {}, {}},
        {nan, -1, {}, {}, {}},
        {inf, -1, {}, {}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "angle " << k.angle);
        ALabel l;
        l.Create(&root, Rect{40, 50, 80, 23});
        l.SetText("Tone");
        l.SetFormat(kTextCenter | kTextVCenter);
        l.SetTextColor(MakeColor(9, 9, 9));
        l.SetAngle(k.angle);
        Canvas c;
        l.Paint(c.gc);
        const uint32_t level = kTextCenter | kTextVCenter | kTextSingleLine | kTextNoPrefix;
        if (k.escapement < 0) {
            EXPECT_EQ(std::vector<std::string>{DrawTextLine({0, 0, 80, 23}, MakeColor(9, 9, 9), level)},
                      Texts(c.gc));
        } else {
            EXPECT_EQ(std::vector<std::string>{TextOutLine(k.plain, MakeColor(9, 9, 9), k.escapement)}, Texts(c.gc));
            const DrawCall call = c.gc.CallsOf("TextOut").at(0);
            EXPECT_EQ(-11, call.font.height); // 8 points at 96 dots per inch
            EXPECT_EQ(400, call.font.weight);
            EXPECT_EQ(k.escapement, call.font.orientation);
            EXPECT_EQ(24, call.textAlign); // baseline, left
            EXPECT_TRUE(call.transparentText);
            // Cut to the label (its origin is where the caller put it).
            EXPECT_EQ(call.clip.Bounds(), (Rect{0, 0, 80, 23}));
        }
        c.CheckRestored();

        l.SetShadowColor(MakeColor(0, 0, 0));
        c.gc.ClearCalls();
        l.Paint(c.gc);
        if (k.escapement >= 0) {
            EXPECT_EQ((std::vector<std::string>{TextOutLine(k.shadow, 0, k.escapement),
                                                TextOutLine(k.text, MakeColor(9, 9, 9), k.escapement)}),
                      Texts(c.gc));
        } else {
            EXPECT_EQ(2u, c.gc.CallsOf("DrawText").size());
        }
        c.CheckRestored();
    }
}

TEST_F(LabelTest, TurnedTextInTheTreeIsCutToTheLabelWhereverItIs) {
    ALabel& l = Place(State::Enabled); // at (30, 40) in the window
    l.SetText("A long vertical caption");
    l.SetAngle(90.0f);
    RecordingContext gc{Rect{0, 0, 400, 300}};
    root.PaintWindow(gc);
    const auto outs = gc.CallsOf("TextOut");
    ASSERT_EQ(1u, outs.size());
    EXPECT_EQ(outs[0].origin, (Point{30, 40}));
    EXPECT_EQ(outs[0].clip.Bounds(), (Rect{30, 40, 80, 23}));
    EXPECT_EQ(outs[0].points[0], (Point{54, 23}));
    // A partial repaint keeps the smaller clip.
    gc.ClearCalls();
    gc.SetClip(Region(Rect{0, 0, 50, 50}));
    root.PaintWindow(gc);
    ASSERT_EQ(1u, gc.CallsOf("TextOut").size());
    EXPECT_EQ(gc.CallsOf("TextOut")[0].clip.Bounds(), (Rect{30, 40, 20, 10}));
}

TEST_F(LabelTest, EverySetterRepaintsTheLabel) {
    ALabel& l = Place(State::Enabled);
    const Rect where{30, 40, 80, 23};
    const std::function<void()> setters[] = {
        [&] { l.SetText("Tone"); },          [&] { l.SetFormat(5); },
        [&] { l.SetTextColor(0x123456); },   [&] { l.SetShadowColor(0); },
        [&] { l.SetAngle(90.0f); },
    };
    for (const auto& set : setters) {
        root.ClearInvalidations();
        set();
        EXPECT_EQ(std::vector<Rect>{where}, root.invalidations);
    }
}

TEST_F(LabelTest, TurnedFontsLiveOnlyForThePaintOverOpenCloseCycles) {
    RecordingBackend& backend = RecordingBackend::Install();
    const int32_t live = backend.LiveObjects();
    const int32_t created = backend.Created();
    for (int cycle = 0; cycle < 20; ++cycle) {
        TestRootPane window{200, 200};
        std::unique_ptr<ALabel> l(CreateLabel("Strum", 0));
        l->Create(&window, Rect{10, 10, 20, 120});
        l->SetAngle(90.0f);
        RecordingContext gc{Rect{0, 0, 200, 200}};
        window.PaintWindow(gc);
        window.PaintWindow(gc);
        EXPECT_EQ(4u, gc.CallsOf("TextOut").size());
        l->Close();
        window.DestroyWindow();
    }
    EXPECT_GT(backend.Created(), created); // the fonts were made...
    EXPECT_EQ(live, backend.LiveObjects()); // ...and are all gone
}

} // namespace
} // namespace Corvell::Test
