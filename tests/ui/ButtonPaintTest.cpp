// What buttons draw in each state: captions, background tiling and the
// frames of the marks and tabs, recorded by a RecordingContext.
#include "PngBuilder.h"
#include "Canvas.h"
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Palette.h"
#include "ui/CheckMark.h"
#include "ui/EmbossedButton.h"
#include "ui/RadioMark.h"
#include "ui/SelectableButton.h"
#include "ui/SeqPageButton.h"
#include "ui/TabButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

std::string Str(const Rect& r) {
    std::ostringstream s;
    s << "(" << r.x << "," << r.y << "," << r.width << "," << r.height << ")";
    return s.str();
}

// "dest <- source" for every image drawn.
std::vector<std::string> Images(const RecordingContext& gc) {
    std::vector<std::string> out;
    for (const DrawCall& c : gc.Calls())
        if (c.op == "Blend" || c.op == "Blit")
            out.push_back(Str(c.rect) + " <- " + Str(c.source));
    return out;
}

struct TextCall {
    Rect rect;
    Color color;
    int32_t weight;
    int32_t height;
    uint32_t format;
};

std::string Str(const TextCall& t) {
    std::ostringstream s;
    s << Str(t.rect) << " colour " << std::hex << t.color << std::dec << " weight " << t.weight << " height "
      << t.height << " format 0x" << std::hex << t.format;
    return s.str();
}

std::vector<std::string> Texts(const RecordingContext& gc) {
    std::vector<std::string> out;
    for (const DrawCall& c : gc.CallsOf("DrawText"))
        out.push_back(Str(TextCall{c.rect, c.textColor, c.font.weight, c.font.height, c.format}));
    return out;
}

std::vector<std::string> Texts(const std::vector<TextCall>& calls) {
    std::vector<std::string> out;
    for (const TextCall& t : calls)
        out.push_back(Str(t));
    return out;
}

// The caption's format as the context hands it to the platform: centred
// both ways on one line, without prefix characters.
constexpr uint32_t kCentred = kTextCenter | kTextVCenter | kTextSingleLine | kTextNoPrefix;

class ButtonPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ClearImageCache();
        source.AddPng("RADIO", RgbaPng(72, 12));
        source.AddPng("CHECK", RgbaPng(60, 12));
        source.AddPng("MODE-TABS", RgbaPng(260, 30));
        source.AddPng("NORMAL", RgbaPng(90, 27));
        source.AddPng("PRESSED", RgbaPng(90, 27));
    }
    void TearDown() override { ClearImageCache(); }

    // The pointer's states over a pane at `in` (window coordinates).
    enum class Pointer { Away, Over, HeldOver, HeldOutside };
    void Put(Pointer p, Point in) {
        root.MoveTo(in.x, in.y);
        if (p == Pointer::Away)
            root.MoveTo(290, 190);
        if (p == Pointer::HeldOver || p == Pointer::HeldOutside)
            root.Press(in.x, in.y);
        if (p == Pointer::HeldOutside)
            root.MoveTo(290, 190);
    }
    // Lets go of the left button and moves the pointer away.
    void Clear() {
        if (root.HeldButtons() & kHeldLeft)
            root.Release(290, 190);
        root.MoveTo(290, 190);
    }

    TestImageSource source{"/nowhere/module"};
    TestRootPane root{300, 200};
};

// ---- the pressed look ------------------------------------------------------------------

TEST_F(ButtonPaint, PressedLookTruthTablePicksColourAndBackground) {
    struct Row {
        Pointer pointer;
        bool on;
        bool plainPressed;  // Button: held with the pointer over it
        bool togglePressed; // ToggleButton: that, exclusive-or on
    };
    const Row rows[] = {
        {Pointer::Away, false, false, false},       {Pointer::Over, false, false, false},
        {Pointer::HeldOver, false, true, true},     {Pointer::HeldOutside, false, false, false},
        {Pointer::Away, true, false, true},         {Pointer::Over, true, false, true},
        {Pointer::HeldOver, true, true, false},     {Pointer::HeldOutside, true, false, true},
    };
    Ref<Bitmap> normal = GetImage("normal.png");
    Ref<Bitmap> pressed = GetImage("pressed.png");
    const PixelSurface* pressedPixels = dynamic_cast<PngBitmap&>(*pressed).Surface();
    const PixelSurface* normalPixels = dynamic_cast<PngBitmap&>(*normal).Surface();
    ASSERT_TRUE(pressedPixels && normalPixels);

    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "pointer " << int(row.pointer) << " on " << row.on);
        Button plain;
        SelectableButton toggle;
        plain.Create(&root, {10, 10, 90, 27});
        toggle.Create(&root, {10, 50, 90, 27});
        toggle.SetOn(row.on);
        toggle.SetImages(normal, pressed);
        plain.SetCaption("Play");
        toggle.SetCaption("Play");

        Put(row.pointer, {50, 20});
        EXPECT_EQ(row.plainPressed, plain.IsPressed());
        Clear();
        Put(row.pointer, {50, 60});
        EXPECT_EQ(row.togglePressed, toggle.IsPressed());

        Canvas c;
        toggle.Paint(c.gc);
        auto blends = c.gc.CallsOf("Blend");
        ASSERT_EQ(1u, blends.size());
        EXPECT_EQ(row.togglePressed ? pressedPixels : normalPixels, blends[0].surface);
        auto texts = c.gc.CallsOf("DrawText");
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(row.togglePressed ? GetColor(10) : GetColor(1), texts[0].textColor);
        Clear();
    }
}

// ---- captions ------------------------------------------------------------------------------

TEST_F(ButtonPaint, CaptionRectangleColourFontAndShadowFollowFlagsAndState) {
    const Color kN = MakeColor(10, 20, 30), kP = MakeColor(40, 50, 60), kD = MakeColor(70, 80, 90);
    const Color black = 0;
    struct Case {
        const char* name;
        std::function<void(Button&)> setup;
        Pointer pointer;
        std::vector<TextCall> expected;
    };
    const Case cases[] = {
        {"plain", [](Button&) {}, Pointer::Away, {{{2, 2, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"hovered only", [](Button&) {}, Pointer::Over, {{{2, 2, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"pressed", [](Button&) {}, Pointer::HeldOver, {{{2, 3, 96, 26}, GetColor(10), 400, -11, kCentred}}},
        {"held, pointer outside", [](Button&) {}, Pointer::HeldOutside,
         {{{2, 3, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"disabled", [](Button& b) { b.SetEnabled(false); }, Pointer::Away,
         {{{2, 2, 96, 26}, GetColor(2), 400, -11, kCentred}}},
        {"own colours", [&](Button& b) { b.SetTextColors(kN, kP, kD); }, Pointer::Away,
         {{{2, 2, 96, 26}, kN, 400, -11, kCentred}}},
        {"own colours, pressed", [&](Button& b) { b.SetTextColors(kN, kP, kD); }, Pointer::HeldOver,
         {{{2, 3, 96, 26}, kP, 400, -11, kCentred}}},
        {"own colours, disabled", [&](Button& b) { b.SetTextColors(kN, kP, kD); b.SetEnabled(false); }, Pointer::Away,
         {{{2, 2, 96, 26}, kD, 400, -11, kCentred}}},
        {"only the pressed colour is own", [&](Button& b) { b.SetPressedTextColor(kP); }, Pointer::Away,
         {{{2, 2, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"bold", [](Button& b) { b.SetButtonFlags(Button::kBold); }, Pointer::Away,
         {{{2, 2, 96, 26}, GetColor(1), 700, -11, kCentred}}},
        {"bold when pressed, not pressed", [](Button& b) { b.SetButtonFlags(Button::kBoldWhenPressed); },
         Pointer::Over, {{{2, 2, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"bold when pressed, pressed", [](Button& b) { b.SetButtonFlags(Button::kBoldWhenPressed); },
         Pointer::HeldOver, {{{2, 3, 96, 26}, GetColor(10), 700, -11, kCentred}}},
        {"own size in points", [](Button& b) { b.SetFontSize(10, Font::Points); }, Pointer::Away,
         {{{2, 2, 96, 26}, GetColor(1), 400, -13, kCentred}}},
        {"own size in pixels, bold",
         [](Button& b) {
             b.SetFontSize(15, Font::Pixels);
             b.SetButtonFlags(Button::kBold);
         },
         Pointer::Away, {{{2, 2, 96, 26}, GetColor(1), 700, -15, kCentred}}},
        {"no inset", [](Button& b) { b.ClearButtonFlags(Button::kInset); }, Pointer::HeldOver,
         {{{0, 0, 100, 30}, GetColor(10), 400, -11, kCentred}}},
        {"right and bottom", [](Button& b) { b.SetTextFormat(kTextRight | kTextBottom); }, Pointer::Away,
         {{{2, 2, 96, 26}, GetColor(1), 400, -11, kTextRight | kTextBottom | kTextSingleLine | kTextNoPrefix}}},
        {"shadow", [](Button& b) { b.SetButtonFlags(Button::kShadow); }, Pointer::Away,
         {{{2, 1, 96, 26}, black, 400, -11, kCentred}, {{2, 2, 96, 26}, GetColor(1), 400, -11, kCentred}}},
        {"shadow in the disabled colour, pressed",
         [&](Button& b) {
             b.SetButtonFlags(Button::kShadow);
             b.SetDisabledTextColor(kD);
         },
         Pointer::HeldOver,
         {{{2, 2, 96, 26}, kD, 400, -11, kCentred}, {{2, 3, 96, 26}, GetColor(10), 400, -11, kCentred}}},
        {"empty caption",
         [](Button& b) {
             b.SetCaption(String());
             b.SetButtonFlags(Button::kShadow);
         },
         Pointer::Away, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Button b;
        b.Create(&root, {20, 20, 100, 30});
        b.SetCaption("Apply");
        c.setup(b);
        Put(c.pointer, {60, 35});
        Canvas canvas;
        b.Paint(canvas.gc);
        EXPECT_EQ(Texts(c.expected), Texts(canvas.gc));
        for (const DrawCall& t : canvas.gc.CallsOf("DrawText"))
            EXPECT_EQ("Apply", t.text);
        canvas.CheckRestored();
        Clear();
    }
}

TEST_F(ButtonPaint, TheSpecialisedCaptionsKeepTheirLook) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Button>()> make;
        Rect bounds;
        Pointer pointer;
        std::vector<TextCall> expected;
    };
    const Color grey = MakeColor(127, 127, 127);
    const Case cases[] = {
        {"embossed", [] { return std::make_unique<EmbossedButton>("Apply"); }, {20, 20, 100, 30}, Pointer::Away,
         {{{2, 1, 96, 26}, 0, 700, -11, kCentred}, {{2, 2, 96, 26}, GetColor(1), 700, -11, kCentred}}},
        {"embossed, pressed", [] { return std::make_unique<EmbossedButton>("Apply"); }, {20, 20, 100, 30},
         Pointer::HeldOver,
         {{{2, 2, 96, 26}, 0, 700, -11, kCentred}, {{2, 3, 96, 26}, GetColor(1), 700, -11, kCentred}}},
        {"tab, off", [] { return std::make_unique<TabButton>("Apply"); }, {20, 20, 130, 30}, Pointer::Away,
         {{{0, -1, 130, 30}, 0, 700, -13, kCentred}, {{0, 0, 130, 30}, grey, 700, -13, kCentred}}},
        {"tab, on",
         [] {
             auto t = std::make_unique<TabButton>("Apply");
             t->SetOn(true);
             return t;
         },
         {20, 20, 130, 30}, Pointer::Away,
         {{{0, -1, 130, 30}, 0, 700, -13, kCentred}, {{0, 0, 130, 30}, GetColor(10), 700, -13, kCentred}}},
        {"page button", [] {
             auto s = std::make_unique<SeqPageButton>();
             s->SetCaption("Apply");
             return s;
         },
         {20, 20, 27, 27}, Pointer::Away, {{{4, 3, 19, 23}, GetColor(1), 400, -11, kCentred}}},
        {"page button, on", [] {
             auto s = std::make_unique<SeqPageButton>();
             s->SetCaption("Apply");
             s->SetOn(true);
             return s;
         },
         {20, 20, 27, 27}, Pointer::Away, {{{5, 4, 19, 23}, GetColor(10), 400, -11, kCentred}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Button> b = c.make();
        b->Create(&root, c.bounds);
        Put(c.pointer, {30, 30});
        Canvas canvas;
        b->Paint(canvas.gc);
        EXPECT_EQ(Texts(c.expected), Texts(canvas.gc));
        canvas.CheckRestored();
        Clear();
    }
}

// ---- frames of the marks and tabs ------------------------------------------------------------

TEST_F(ButtonPaint, MarksShowTheFrameOfTheirStateCentred) {
    enum Kind { Radio, Check };
    struct Case {
        Kind kind;
        bool enabled;
        bool on;
        Pointer pointer;
        int frame;
    };
    const Case cases[] = {
        {Radio, true, false, Pointer::Away, 0},    {Radio, true, false, Pointer::HeldOver, 1},
        {Radio, true, false, Pointer::HeldOutside, 0}, {Radio, false, false, Pointer::Away, 2},
        {Radio, true, true, Pointer::Away, 3},     {Radio, true, true, Pointer::Over, 3},
        {Radio, true, true, Pointer::HeldOver, 4}, {Radio, true, true, Pointer::HeldOutside, 3},
        {Radio, false, true, Pointer::Away, 5},
        {Check, true, false, Pointer::Away, 0},    {Check, true, true, Pointer::Away, 1},
        {Check, true, true, Pointer::Over, 1},     {Check, true, false, Pointer::HeldOver, 2},
        {Check, true, true, Pointer::HeldOver, 2}, {Check, true, true, Pointer::HeldOutside, 1},
        {Check, false, false, Pointer::Away, 3},   {Check, false, true, Pointer::Away, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.kind == Radio ? "radio" : "check") << " enabled " << c.enabled
                                          << " on " << c.on << " pointer " << int(c.pointer));
        std::unique_ptr<ToggleButton> mark;
        if (c.kind == Radio)
            mark = std::make_unique<RadioMark>();
        else
            mark = std::make_unique<CheckMark>();
        mark->Create(&root, {20, 20, 30, 20});
        mark->SetCaption("fallback");
        mark->SetOn(c.on);
        Put(c.pointer, {35, 30});
        mark->SetEnabled(c.enabled);
        Canvas canvas;
        mark->Paint(canvas.gc);
        const std::string expected = Str(Rect{9, 4, 12, 12}) + " <- " + Str(Rect{12 * c.frame, 0, 12, 12});
        EXPECT_EQ(std::vector<std::string>{expected}, Images(canvas.gc));
        EXPECT_TRUE(canvas.gc.CallsOf("DrawText").empty());
        Clear();
    }
}

TEST_F(ButtonPaint, AMarkWithoutItsImageOrFramePaintsAsAPlainButton) {
    struct Case {
        const char* name;
        bool radio;
        int imageWidth; // -1: no image
        bool on;
        bool framed;
    };
    const Case cases[] = {
        {"radio, no image", true, -1, false, false},
        {"check, no image", false, -1, true, false},
        {"radio, image of two frames, frame 0", true, 24, false, true},
        {"radio, image of two frames, frame 3", true, 24, true, false},
        {"check, image without pixels", false, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearImageCache();
        TestImageSource own("/nowhere/module");
        if (c.imageWidth >= 0)
            own.AddPng(c.radio ? "RADIO" : "CHECK", RgbaPng(uint32_t(c.imageWidth), 12));
        std::unique_ptr<ToggleButton> mark;
        if (c.radio)
            mark = std::make_unique<RadioMark>();
        else
            mark = std::make_unique<CheckMark>();
        mark->Create(&root, {20, 20, 30, 20});
        mark->SetCaption("x");
        mark->SetOn(c.on);
        Canvas canvas;
        mark->Paint(canvas.gc);
        EXPECT_EQ(c.framed ? 1u : 0u, Images(canvas.gc).size());
        EXPECT_EQ(c.framed ? 0u : 1u, canvas.gc.CallsOf("DrawText").size());
        mark.reset();
        ClearImageCache();
    }
}

TEST_F(ButtonPaint, TabsShowTheirHalfOfTheImageAndFitIntoRoomyBoundsOnly) {
    {
        TabButton tab("Bass");
        tab.Create(&root, {10, 10, 130, 30});
        Canvas on, off;
        tab.Paint(off.gc);
        tab.SetOn(true);
        tab.Paint(on.gc);
        EXPECT_EQ(std::vector<std::string>{"(0,0,130,30) <- (0,0,130,30)"}, Images(on.gc));
        EXPECT_EQ(std::vector<std::string>{"(0,0,130,30) <- (130,0,130,30)"}, Images(off.gc));
    }

    struct Case {
        const char* name;
        Rect given;
        bool image;
        Rect kept;
    };
    const Case cases[] = {
        {"roomy: one half, centred", {10, 10, 300, 40}, true, {95, 15, 130, 30}},
        {"exactly a half", {10, 10, 130, 30}, true, {10, 10, 130, 30}},
        {"narrower than a half: kept, drawn clipped", {10, 10, 86, 25}, true, {10, 10, 86, 25}},
        {"wide but too low: kept", {10, 10, 200, 25}, true, {10, 10, 200, 25}},
        {"no image: kept", {10, 10, 300, 40}, false, {10, 10, 300, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearImageCache();
        TestImageSource own("/nowhere/module");
        if (c.image)
            own.AddPng("MODE-TABS", RgbaPng(260, 30));
        auto tab = std::make_unique<TabButton>("Bass");
        tab->Create(&root, c.given);
        EXPECT_EQ(Str(c.kept), Str(tab->GetBounds()));
        Canvas canvas;
        tab->Paint(canvas.gc);
        EXPECT_EQ(c.image ? 1u : 0u, Images(canvas.gc).size());
        EXPECT_EQ(2u, canvas.gc.CallsOf("DrawText").size()) << "shadow and caption";
        tab.reset();
        ClearImageCache();
    }
}

TEST_F(ButtonPaint, PageButtonsShowTheIconOfTheirStateAndNoBackground) {
    source.AddPng("ICON", RgbaPng(20, 10));
    source.AddPng("ICON-ON", RgbaPng(16, 16));
    source.AddPng("ICON-OFF", RgbaPng(10, 10));
    Ref<Bitmap> icon = GetImage("icon.png"), onIcon = GetImage("icon-on.png"), offIcon = GetImage("icon-off.png");
    struct Case {
        const char* name;
        bool withOnIcon;
        bool withDisabledIcon;
        bool on;
        bool enabled;
        std::string expected;
    };
    const Case cases[] = {
        {"normal", true, true, false, true, "(3,8,20,10) <- (0,0,20,10)"},
        {"on: its icon, a pixel lower", true, true, true, true, "(5,6,16,16) <- (0,0,16,16)"},
        {"on without an on icon", false, true, true, true, "(3,9,20,10) <- (0,0,20,10)"},
        {"disabled (and on)", true, true, true, false, "(8,9,10,10) <- (0,0,10,10)"},
        {"disabled without a disabled icon", true, false, false, false, "(3,8,20,10) <- (0,0,20,10)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeqPageButton b;
        b.Create(&root, {10, 10, 27, 27});
        b.SetCaption("not shown beside an icon");
        b.SetIcons(icon, c.withOnIcon ? onIcon : nullptr, c.withDisabledIcon ? offIcon : nullptr);
        b.SetOn(c.on);
        b.SetEnabled(c.enabled);
        Canvas canvas;
        b.Paint(canvas.gc);
        b.Paint(canvas.gc);
        EXPECT_EQ((std::vector<std::string>{c.expected, c.expected}), Images(canvas.gc));
        EXPECT_TRUE(canvas.gc.CallsOf("DrawText").empty());
    }

    // The background images it asks for do not exist: each is reported
    // once, however many buttons and paints.
    int normalReports = 0, pressedReports = 0;
    for (const std::string& m : source.messages) {
        normalReports += m.find("\"buttonNormal\"") != std::string::npos;
        pressedReports += m.find("\"buttonPressed\"") != std::string::npos;
    }
    EXPECT_EQ(1, normalReports);
    EXPECT_EQ(1, pressedReports);
}

// ---- background tiling ---------------------------------------------------------------------

using Spans = std::vector<SelectableButton::TileSpan>;

Spans Repeat(int32_t source, int32_t length, int32_t from, int32_t count) {
    Spans out;
    for (int32_t i = 0; i < count; ++i)
        out.push_back({source, length, from + i * length});
    return out;
}

Spans operator+(Spans a, const Spans& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ButtonPaint, BackgroundsTileInPiecesThatAlwaysAdvance) {
    struct Case {
        const char* name;
        uint32_t imageW, imageH;
        int32_t buttonW, buttonH;
        Spans columns; // source, length, destination
        Spans rows;
    };
    const Case cases[] = {
        {"as wide as the image", 90, 27, 90, 27, {{0, 90, 0}}, {{0, 27, 0}}},
        {"narrower: the image's two ends meet", 90, 27, 61, 27, {{0, 30, 0}, {59, 31, 30}}, {{0, 27, 0}}},
        {"wider: edges and middle copies", 90, 27, 100, 27, {{0, 8, 0}, {8, 74, 8}, {8, 10, 82}, {82, 8, 92}},
         {{0, 27, 0}}},
        {"taller: quarter-height edges", 20, 8, 20, 20, {{0, 20, 0}},
         Spans{{0, 2, 0}} + Repeat(2, 4, 2, 4) + Spans{{6, 2, 18}}},
        {"lower: top and bottom meet", 20, 27, 20, 10, {{0, 20, 0}}, {{0, 5, 0}, {22, 5, 5}}},
        {"a one-pixel middle", 17, 27, 100, 27, Spans{{0, 8, 0}} + Repeat(8, 1, 8, 84) + Spans{{9, 8, 92}},
         {{0, 27, 0}}},
        {"16 px, no middle: the halves at the ends", 16, 27, 100, 27, {{0, 8, 0}, {8, 8, 92}}, {{0, 27, 0}}},
        {"3 px", 3, 27, 100, 27, {{0, 1, 0}, {1, 2, 98}}, {{0, 27, 0}}},
        {"1 px", 1, 27, 100, 27, {{0, 1, 99}}, {{0, 27, 0}}},
        {"1 px high: no edges, rows of one", 20, 1, 20, 5, {{0, 20, 0}}, Repeat(0, 1, 0, 5)},
        {"0 px: nothing", 0, 27, 100, 27, {}, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "TILE" + std::to_string(n++);
        source.AddPng(name, RgbaPng(c.imageW, c.imageH));
        Ref<Bitmap> image = GetImage((name + ".png").c_str());
        SelectableButton b;
        b.Create(&root, {0, 0, c.buttonW, c.buttonH});
        b.SetImages(image, image);

        std::vector<std::string> expected;
        for (const auto& row : c.rows)
            for (const auto& col : c.columns)
                expected.push_back(Str(Rect{col.dest, row.dest, col.length, row.length}) + " <- " +
                                   Str(Rect{col.source, row.source, col.length, row.length}));
        Canvas canvas;
        b.Paint(canvas.gc);
        EXPECT_EQ(expected, Images(canvas.gc));
    }
}

} // namespace
} // namespace Corvell::Test
