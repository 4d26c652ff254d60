// The frame of the view around its macromodes: the about box, the accent
// panel, the two tab strips with their panels, the slots of the neck and
// the keyboard, and what the first paint draws and decodes.
#include "RecordingContext.h"
#include "ViewFixture.h"
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/Palette.h"
#include "view/RorezoZavu.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Corvell {
namespace {

using Substitute::Notifier;
using Substitute::SubstituteHost;
using Test::RecordingContext;
using Test::TestRootPane;

struct ViewFrame : Test::ViewFixture {
    void SetUp() override {
        ::Corvell::Test::RecordingBackend::Install();
        AttachInWindow();
    }
    void ClickAt(const Pane* p, int dx = 20, int dy = 10) { ViewFixture::ClickAt(p, dx, dy); }
    bool Decoded(const char* name) { return static_cast<PngBitmap*>(GetImage(name).Get())->IsDecoded(); }
};

TARROW_BOTH_ENGINE_MODES(ViewFrame);

TEST_P(ViewFrame, PanesSitWhereTheLayoutPutsThem) {
    struct Case {
        const char* what;
        const Pane* pane;
        Rect bounds;
    };
    const Case cases[] = {
        {"about", view->About(), {350, 4, 100, 56}},
        {"accent panel", view->AccentPanel(), {20, 55, 220, 80}},
        {"left strip", view->TabStrip(0), {0, 0, 252, 25}},
        {"right strip", view->TabStrip(1), {549, 0, 253, 25}},
        {"neck", view->NeckSlot(), {0, 161, 700, 94}},
        {"keyboard", view->KeyboardSlot(), {50, 503, 700, 80}}, // kbd.png is 700 x 80
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.pane, nullptr) << c.what;
        EXPECT_EQ(c.pane->GetBounds(), c.bounds) << c.what;
        EXPECT_EQ(c.pane->GetParent(), view.get()) << c.what;
    }

    struct Tab {
        int side, index;
        const char* caption;
        int32_t x, id;
    };
    const Tab tabs[] = {
        {0, 0, "Output", -7, -1},   {0, 1, "Tune", -7, -1},    {0, 2, "Setup", -7, 61},
        {1, 0, "Timing", 543, -1},  {1, 1, "Mixer", 543, -1},  {1, 2, "FX Mixer", 543, -1},
        {1, 3, "Wah", 543, 38},
    };
    EXPECT_EQ(view->TabStrip(0)->GetCount(), 3);
    EXPECT_EQ(view->TabStrip(1)->GetCount(), 4);
    for (const Tab& t : tabs) {
        SCOPED_TRACE(t.caption);
        TabSwitch* strip = view->TabStrip(t.side);
        ASSERT_NE(strip->Tab(t.index), nullptr);
        EXPECT_STREQ(strip->Tab(t.index)->GetCaption().c_str(), t.caption);
        Pane* panel = strip->Panel(t.index);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->GetBounds(), (Rect{t.x, 24, 264, 132}));
        EXPECT_EQ(panel->GetId(), t.id);
        EXPECT_EQ(panel->GetParent(), view.get());
        EXPECT_FALSE(panel->IsVisible()) << "no panel is open at first";
    }
}

TEST_P(ViewFrame, ATopTabOpensItsPanelOverWhatItCoversAndClosesAgain) {
    TabSwitch* left = view->TabStrip(0);
    ClickAt(left->Tab(1));
    ASSERT_EQ(left->GetSelected(), 2);
    EXPECT_TRUE(left->Panel(1)->IsVisible());
    // The open panel lies over the accent panel and the AUTO button.
    EXPECT_TRUE(left->Panel(1)->IsAncestorOf(root.HitTest(Point{100, 100})));
    EXPECT_TRUE(left->Panel(1)->IsAncestorOf(root.HitTest(Point{210, 140})));
    // The other strip is independent.
    ClickAt(view->TabStrip(1)->Tab(3));
    EXPECT_TRUE(view->TabStrip(1)->Panel(3)->IsVisible());
    EXPECT_TRUE(left->Panel(1)->IsVisible());

    ClickAt(left->Tab(1));
    EXPECT_EQ(left->GetSelected(), 0);
    EXPECT_FALSE(left->Panel(1)->IsVisible());
    EXPECT_EQ(root.HitTest(Point{210, 140}), view->AutoButton());
}

TEST_P(ViewFrame, TheAboutBoxOpensFromTheLogoAndClosesOnAClickOrEscape) {
    AboutOpener* about = view->About();
    EXPECT_EQ(about->Popup(), nullptr);
    ClickAt(about, 50, 20);
    ASSERT_NE(about->Popup(), nullptr);
    EXPECT_TRUE(about->Popup()->IsOpen());
    // Centred in the view, the size of its image (459 x 307).
    const Rect content = about->Popup()->GetContent()->GetBounds();
    EXPECT_EQ(content.width, 459);
    EXPECT_EQ(content.height, 307);
    ClickAt(about->Popup()->GetContent(), 200, 150);
    EXPECT_EQ(about->Popup(), nullptr) << "a click on the box closes it";

    // A click beside it closes it too, even on the logo: the box covers the
    // view, so that click opens nothing again.
    ClickAt(about, 50, 20);
    ASSERT_NE(about->Popup(), nullptr);
    ClickAt(about, 50, 20);
    EXPECT_EQ(about->Popup(), nullptr);

    ClickAt(about, 50, 20);
    ASSERT_NE(about->Popup(), nullptr);
    root.KeyPress(27);
    Settle();
    EXPECT_EQ(about->Popup(), nullptr) << "Escape closes it";

    // A view that goes with its box open takes the box along (ASan).
    ClickAt(about, 50, 20);
    ASSERT_NE(about->Popup(), nullptr);
    view.reset();
    root.PumpMessages();
}

TEST_P(ViewFrame, TheFirstPaintDecodesOnlyWhatItDraws) {
    RecordingContext gc;
    root.PaintWindow(gc);
    for (const char* drawn : {"bkgnd-tarrow.png", "bkgnd-panel.png", "macromodes-off.png", "macromodes-on.png",
                              "display.png", "mode-tabs.png", "kbd.png", "accent-panel.png", "button-normal.png"})
        EXPECT_TRUE(Decoded(drawn)) << drawn;
    // Pressed looks, closed panels and the about box wait until they show.
    for (const char* waiting : {"macromodes-on-pushed.png", "macromodes-off-pushed.png", "top-panel-bg.png",
                                "about-tarrow.png"})
        EXPECT_FALSE(Decoded(waiting)) << waiting;

    ClickAt(view->TabStrip(0)->Tab(0));
    const Point slice = view->Macromodes()->GetButton(1)->GetAbsoluteOrigin();
    root.Press(slice.x + 40, slice.y + 10);
    RecordingContext again;
    root.PaintWindow(again);
    root.Release(slice.x + 40, slice.y + 10);
    EXPECT_TRUE(Decoded("top-panel-bg.png"));
    EXPECT_TRUE(Decoded("macromodes-off-pushed.png"));
}

TEST_P(ViewFrame, TheKeyboardIsFramedAndChildrenPaintInTahoma) {
    RecordingContext gc;
    root.PaintWindow(gc);
    // kx, ky, kw, kh = 50, 503, 700, 80; F = (17, 502, 766, 82).
    const Color dark(0x111111), edge = GetColor(3);
    struct Frame {
        Rect r;
        Color c;
    };
    const Frame frames[] = {
        {{49, 502, 702, 82}, dark}, {{17, 502, 766, 82}, dark},  {{18, 503, 31, 80}, edge},
        {{751, 503, 31, 80}, edge}, {{16, 501, 768, 84}, edge},
    };
    for (const Frame& f : frames) {
        bool found = false;
        for (const auto& call : gc.Calls())
            found |= call.op == "Rectangle" && call.rect == f.r && call.hasPen && call.penColor == f.c;
        EXPECT_TRUE(found) << "frame at " << f.r.x << "," << f.r.y << " " << f.r.width << "x" << f.r.height;
    }

    // The tab captions set their own size; the status line takes the view's font.
    view->Display()->Status()->Show("Loaded");
    RecordingContext text;
    root.PaintWindow(text);
    bool found = false;
    for (const auto& call : text.Calls())
        if (call.op == "DrawText" && call.text == "Loaded") {
            found = true;
            EXPECT_STREQ(call.font.face, "Tahoma");
            EXPECT_EQ(call.font.height, -13); // 10 pt at 96 dpi
        }
    EXPECT_TRUE(found);
}

} // namespace
} // namespace Corvell
