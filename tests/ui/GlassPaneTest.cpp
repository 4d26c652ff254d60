// The glass pane: how it fits its image, and that it takes no input from
// the pane it backs or from anyone else.
#include "EventLog.h"
#include "PngBuilder.h"
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "ui/GlassPane.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Corvell::Test {
namespace {

std::vector<uint8_t> Png(uint32_t w, uint32_t h) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t i = 0; i < w * 4; ++i)
            raw.push_back(uint8_t(i * 3 + y));
    }
    return PngBuilder().Header(w, h, 8, 6).ImageData(raw).End().Bytes();
}

std::string Str(const Rect& r) {
    std::ostringstream s;
    s << "(" << r.x << "," << r.y << "," << r.width << "," << r.height << ")";
    return s.str();
}

// "dest <- source" of every image drawn, and the other calls by name.
std::vector<std::string> Drawn(const RecordingContext& gc) {
    std::vector<std::string> out;
    for (const DrawCall& c : gc.Calls())
        out.push_back(c.op == "Blend" ? Str(c.rect) + " <- " + Str(c.source) : c.op);
    return out;
}

class GlassTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearImageCache();
        images.AddPng("WIDE-GLASS", Png(40, 10));
        images.AddPng("NARROW-GLASS", Png(3, 5));
    }
    void TearDown() override { ClearImageCache(); }

    TestImageSource images{"/nowhere/module"};
};

TEST_F(GlassTest, TheImageKeepsItsHeightAndIsFittedToTheWidth) {
    struct Case {
        const char* image;
        int32_t width, height;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"wide-glass.png", 40, 10, {"(0,0,40,10) <- (0,0,40,10)"}},
        {"wide-glass.png", 40, 6, {"(0,0,40,6) <- (0,0,40,6)"}},  // cut by a lower pane
        {"wide-glass.png", 40, 30, {"(0,0,40,10) <- (0,0,40,10)"}}, // not stretched down
        // Narrower: the image's two ends meet in the middle.
        {"wide-glass.png", 21, 10, {"(0,0,10,10) <- (0,0,10,10)", "(10,0,11,10) <- (29,0,11,10)"}},
        {"wide-glass.png", 1, 10, {"(0,0,1,10) <- (39,0,1,10)"}},
        // Wider: the outer quarters stay, the middle half stretches.
        {"wide-glass.png", 100, 23,
         {"(0,0,10,10) <- (0,0,10,10)", "(90,0,10,10) <- (30,0,10,10)", "(10,0,80,10) <- (10,0,20,10)"}},
        {"narrow-glass.png", 9, 5, {"(0,0,9,5) <- (0,0,3,5)"}}, // too narrow for ends: all middle
        {"wide-glass.png", 0, 10, {}},
        {"wide-glass.png", 40, 0, {}},
        {"glass", 40, 10, {}}, // the name the editors use has no image
        {nullptr, 40, 10, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << (k.image ? k.image : "no image") << " in " << k.width << "x" << k.height);
        GlassPane glass(k.image ? GetImage(k.image) : Ref<Bitmap>());
        glass.SetBounds(Rect{0, 0, k.width, k.height});
        RecordingContext gc{Rect{0, 0, 200, 100}};
        glass.Paint(gc);
        EXPECT_EQ(k.expected, Drawn(gc));
    }
    GlassPane named("wide-glass.png");
    EXPECT_EQ(GetImage("wide-glass.png").Get(), named.GetGlassImage());
}

TEST_F(GlassTest, ChangingTheImageRepaintsThePane) {
    TestRootPane root{200, 100};
    GlassPane glass;
    glass.Create(&root, Rect{5, 6, 40, 10});
    root.ClearInvalidations();
    glass.SetGlassImage(GetImage("wide-glass.png"));
    EXPECT_EQ(std::vector<Rect>{(Rect{5, 6, 40, 10})}, root.invalidations);
    glass.Close();
}

// An input-handling pane, as the number editors are: it logs what reaches
// it, takes the focus on a press and keeps the keys.
class Editor : public virtual Pane {
public:
    explicit Editor(EventLog& log) : m_log(log) {}
    void OnMouseEvent(MouseEvent& e) override {
        Log(e.type);
        if (e.type == kMouseDown)
            RequestFocus(this);
    }
    void OnKeyEvent(KeyEvent& e) override { Log(e.type); }
    void OnFocusEvent(FocusEvent& e) override { Log(e.type); }
    void Paint(GraphicsContext& gc) override { gc.DrawText("12", LocalBounds(), 6); }

private:
    void Log(int32_t type) {
        LoggedEvent l;
        l.pane = "E";
        l.type = type;
        m_log.events.push_back(l);
    }
    EventLog& m_log;
};

// The editor with a glass behind it. That this compiles at all shows the
// glass overrides none of the editor's input handling.
class GlassEditor : public Editor, public GlassPane {
public:
    explicit GlassEditor(EventLog& log) : Editor(log), GlassPane("wide-glass.png") {}
    void Paint(GraphicsContext& gc) override {
        PaintGlass(gc);
        Editor::Paint(gc);
    }
};

TEST_F(GlassTest, AnEditorWithAGlassKeepsItsPointerKeysAndFocus) {
    EventLog log;
    TestRootPane root{200, 100};
    LoggingPane parent(log, "P");
    parent.Create(&root, Rect{0, 0, 200, 100});
    GlassEditor editor(log);
    editor.Create(&parent, Rect{10, 10, 40, 10});

    EXPECT_EQ(&editor, root.HitTest(Point{12, 12}));
    root.MoveTo(12, 12);
    log.Clear();
    root.Click(12, 12);
    root.KeyPress('7');
    EXPECT_EQ(&editor, root.GetFocusedPane());
    EXPECT_EQ((std::vector<std::string>{"E MouseDown", "E MouseUp", "E KeyDown", "E KeyUp"}),
              log.Lines({kMouseDown, kMouseUp, kKeyDown, kKeyUp}));
    EXPECT_EQ(1u, log.Lines({kFocusGained}).size());

    // The glass goes under the editor's own content.
    RecordingContext gc{Rect{0, 0, 200, 100}};
    editor.Paint(gc);
    EXPECT_EQ((std::vector<std::string>{"(0,0,40,10) <- (0,0,40,10)", "DrawText"}), Drawn(gc));
    editor.Close();
}

TEST_F(GlassTest, AGlassOnItsOwnTakesNoFocusAndPassesKeysToItsParent) {
    EventLog log;
    TestRootPane root{200, 100};
    LoggingPane parent(log, "P");
    parent.Create(&root, Rect{0, 0, 200, 100});
    LoggingPane field(log, "F");
    field.Create(&parent, Rect{100, 10, 40, 20});
    GlassPane glass(GetImage("wide-glass.png"));
    glass.Create(&parent, Rect{10, 10, 40, 10});
    std::vector<std::string> heard;
    LoggingListener listener(heard, "L");
    glass.AddMouseListener(&listener);

    root.RequestFocus(&field);
    root.SetWindowFocus(true);
    ASSERT_EQ(&field, root.GetFocusedPane());
    root.MoveTo(12, 12);
    root.Click(12, 12);
    EXPECT_EQ(&field, root.GetFocusedPane()); // a press on the glass leaves the focus where it was
    std::vector<std::string> presses;
    for (const std::string& h : heard)
        if (h == "L Pressed" || h == "L Released")
            presses.push_back(h);
    EXPECT_EQ((std::vector<std::string>{"L Pressed", "L Released"}), presses); // the glass eats nothing before them

    // Keys that reach it (as the focus of a pane with nothing to type) go up.
    root.RequestFocus(&glass);
    log.Clear();
    root.KeyPress('7');
    EXPECT_EQ("P KeyDown, P KeyUp", log.Text({kKeyDown, kKeyUp}));
    glass.RemoveMouseListener(&listener);
    glass.Close();
}

} // namespace
} // namespace Corvell::Test
