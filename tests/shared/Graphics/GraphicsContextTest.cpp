#include "RecordingContext.h"
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/GdiplusInitialiser.h"
#include "shared/Graphics/Palette.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

using namespace Corvell;
using namespace Corvell::Test;

namespace {

class ContextTest : public testing::Test {
protected:
    void SetUp() override {
        backend.dpiY = 96;
        baseline = backend.LiveObjects();
    }
    void TearDown() override {
        backend.dpiY = 96;
        EXPECT_EQ(backend.LiveObjects(), baseline) << "platform objects leaked";
    }
    RecordingBackend& backend = RecordingBackend::Install();
    int32_t baseline = 0;
};

const Color kRed = MakeColor(255, 0, 0);
const Color kBlue = MakeColor(0, 0, 255);

} // namespace

TEST_F(ContextTest, FontDescriptions) {
    struct Case {
        const char* text;
        int32_t dpi, height;
    } sizes[] = {
        {"9pt", 96, -12}, {"9pt", 120, -15}, {"11px", 96, -11}, {"11", 96, -11},
        {"", 96, -11},    {"pt", 96, -11},   {"10pt", 96, -13}, {"7.5px", 96, -7},
    };
    for (const Case& c : sizes) {
        backend.dpiY = c.dpi;
        Ref<Font> f = new Font(c.text, -1);
        EXPECT_EQ(f->Desc().height, c.height) << '"' << c.text << "\" at " << c.dpi;
        EXPECT_STREQ(f->Desc().face, "Tahoma");
        EXPECT_EQ(f->Desc().quality, 5);
    }
    backend.dpiY = 96;
    EXPECT_EQ(Ref<Font>(new Font(nullptr, -1))->Desc().height, -11);

    Ref<Font> bold = new Font(1, 12.0f, 5, Font::Pixels);
    EXPECT_EQ(bold->Desc().weight, 700);
    EXPECT_TRUE(bold->Desc().underline);
    EXPECT_FALSE(bold->Desc().italic);
    EXPECT_EQ(bold->Desc().height, -12);
    EXPECT_STREQ(Ref<Font>(new Font(0, 0.0f, 0, 1))->Desc().face, "Small Fonts");
    EXPECT_EQ(Ref<Font>(new Font(0, 0.0f, 0, 1))->Desc().height, 0); // the platform's choice
    EXPECT_STREQ(Ref<Font>(new Font(2, 8.0f, 0, 1))->Desc().face, "Times");
    EXPECT_STREQ(Ref<Font>(new Font(9, 8.0f, 0, 1))->Desc().face, "");

    const std::string longFace(40, 'F');
    EXPECT_EQ(std::string(Ref<Font>(new Font(longFace.c_str(), 8.0f, 0, 0))->Desc().face), longFace.substr(0, 31));

    Ref<Font> rotated = new Font("Verdana", 8.0f, 90.0f);
    EXPECT_EQ(rotated->Desc().escapement, 900);
    EXPECT_EQ(rotated->Desc().orientation, 900);
    EXPECT_EQ(rotated->Desc().height, -11);
    EXPECT_EQ(rotated->Desc().weight, 400);

    // Fonts derived from the context's current font.
    RecordingContext gc;
    EXPECT_EQ(Ref<Font>(new Font(gc, 3))->Handle(), nullptr); // no current font
    Ref<Font> base = new Font("Tahoma", 9.0f, 6, Font::Points);
    gc.SetFont(base.Get());
    Ref<Font> keep = new Font(gc, -1);
    EXPECT_EQ(keep->Desc().height, -12);
    EXPECT_TRUE(keep->Desc().italic);
    EXPECT_TRUE(keep->Desc().underline);
    EXPECT_EQ(keep->Desc().weight, 400);
    Ref<Font> resized = new Font(gc, 20.0f, 1, Font::Pixels);
    EXPECT_EQ(resized->Desc().height, -20);
    EXPECT_EQ(resized->Desc().weight, 700);
    EXPECT_FALSE(resized->Desc().italic);
    Ref<Font> sameSize = new Font(gc, 0.0f, -1, Font::Pixels);
    EXPECT_EQ(sameSize->Desc().height, -12);
    EXPECT_NE(resized->Handle(), nullptr);
}

TEST_F(ContextTest, ReplacedObjectsAreNeverDeletedWhileSelected) {
    {
        RecordingContext gc;
        // The context holds the only reference each time.
        gc.SetFont(new Font("9pt", 0));
        gc.SetFont(new Font("10pt", 1));
        gc.SetPen(new Pen(kRed));
        gc.SetPen(new Pen(kBlue));
        gc.SetBrush(new Brush(kRed));
        gc.SetBrush(nullptr);
        EXPECT_EQ(gc.SelectedBrush(), backend.StockBrush());
        gc.SetFont(nullptr);
        EXPECT_EQ(gc.SelectedFont(), backend.StockFont());
        gc.SetFont(new Font("8pt", 0));
        EXPECT_EQ(backend.Find(gc.SelectedFont())->font.height, -11);
        EXPECT_EQ(backend.Find(gc.SelectedPen())->color, kBlue);
        // The destructor puts the surface's own objects back before releasing.
    }
    {
        // The previous object comes back with a reference of its own.
        RecordingContext gc;
        gc.SetPen(new Pen(kRed));
        Ref<Pen> previous = gc.SetPen(new Pen(kBlue));
        ASSERT_TRUE(previous);
        EXPECT_EQ(previous->GetColor(), kRed);
        EXPECT_EQ(previous->RefCount(), 1);
        Ref<Font> oldFont = gc.SetFontReturningOld(new Font("9pt", 0));
        EXPECT_FALSE(oldFont);
        oldFont = gc.SetFontReturningOld(nullptr);
        ASSERT_TRUE(oldFont);
        EXPECT_EQ(oldFont->Desc().height, -12);
    }
}

TEST_F(ContextTest, EachDrawingObjectIsOneLiveObjectOfTheModule) {
    const int32_t before = Base::LiveObjects();
    {
        Ref<Pen> pen = new Pen(kRed);
        EXPECT_EQ(Base::LiveObjects(), before + 1);
        EXPECT_EQ(pen->RefCount(), 1);
        Ref<Brush> brush = new Brush(kBlue);
        Ref<Font> font = new Font("9pt", 0);
        EXPECT_EQ(Base::LiveObjects(), before + 3);

        RecordingContext gc;
        gc.SetPen(pen.Get());
        gc.SetBrush(brush.Get());
        gc.SetFont(font.Get());
        EXPECT_EQ(pen->RefCount(), 2);
        EXPECT_EQ(brush->RefCount(), 2);
        EXPECT_EQ(font->RefCount(), 2);
        gc.SetPen(new Pen(kBlue)); // held by the context alone
        EXPECT_EQ(Base::LiveObjects(), before + 4);
        EXPECT_EQ(pen->RefCount(), 1);
    }
    EXPECT_EQ(Base::LiveObjects(), before);
}

namespace {
// A faulty sequence on purpose: the font goes while the surface still has it.
class RawContext : public RecordingContext {
public:
    void SelectRaw(NativeHandle h) { SelectHandle(ObjectKind::Font, h); }
};
void DeleteSelectedFont() {
    RawContext gc;
    NativeHandle stock = gc.SelectedFont();
    {
        Font font("9pt", 0);
        gc.SelectRaw(font.Handle());
    }
    gc.SelectRaw(stock);
}
} // namespace

TEST_F(ContextTest, RecordingContextFailsATestThatDeletesASelectedObject) {
    EXPECT_NONFATAL_FAILURE(DeleteSelectedFont(), "deleted while still selected");
}

TEST_F(ContextTest, ColourVariantsUseTemporaryObjectsAndRestoreTheSelection) {
    RecordingContext gc;
    gc.SetPen(new Pen(kBlue));
    gc.SetBrush(new Brush(kBlue));
    const NativeHandle pen = gc.SelectedPen(), brush = gc.SelectedBrush();
    const int32_t created = backend.Created();

    gc.DrawLine(Point{0, 0}, Point{5, 5}, kRed);
    gc.DrawRect(Rect{1, 2, 3, 4}, kRed);
    gc.FillRect(Rect{1, 2, 3, 4}, kRed);
    gc.DrawEllipse(Rect{1, 2, 3, 4}, kRed);
    gc.FillEllipse(Rect{1, 2, 3, 4}, kRed);
    Pen red(kRed);
    const Point tri[3] = {{0, 0}, {4, 0}, {0, 4}};
    gc.DrawPolygon(tri, 3, red);
    gc.FillPolygon(tri, 3);
    gc.FrameRegion(Region(Rect{0, 0, 4, 4}), red);
    gc.FrameRegion(Region(Rect{0, 0, 4, 4}));
    gc.DrawRect(Rect{1, 2, 3, 4});
    gc.FillRect(Rect{1, 2, 3, 4});

    EXPECT_EQ(gc.SelectedPen(), pen);
    EXPECT_EQ(gc.SelectedBrush(), brush);
    EXPECT_GT(backend.Created(), created);

    const std::vector<DrawCall>& c = gc.Calls();
    ASSERT_EQ(c.size(), 11u);
    auto check = [&](size_t i, const char* op, bool hasPen, Color penColor, bool hasBrush, Color brushColor) {
        SCOPED_TRACE(testing::Message() << "call " << i << " " << op);
        EXPECT_EQ(c[i].op, op);
        EXPECT_EQ(c[i].hasPen, hasPen);
        if (hasPen) {
            EXPECT_EQ(c[i].penColor, penColor);
        }
        EXPECT_EQ(c[i].hasBrush, hasBrush);
        if (hasBrush) {
            EXPECT_EQ(c[i].brushColor, brushColor);
        }
    };
    check(0, "Polyline", true, kRed, true, kBlue);
    check(1, "Rectangle", true, kRed, false, 0); // outline only
    check(2, "FillRect", true, kBlue, true, kRed);
    check(3, "Ellipse", true, kRed, false, 0);
    check(4, "Ellipse", false, 0, true, kRed); // fill without outline
    check(5, "Polygon", true, kRed, false, 0);
    check(6, "Polygon", false, 0, true, kBlue);
    check(7, "FrameRegion", true, kBlue, true, kRed); // a brush of the pen's colour
    check(8, "FrameRegion", true, kBlue, true, kBlue);
    check(9, "Rectangle", true, kBlue, false, 0);
    check(10, "FillRect", true, kBlue, true, kBlue);
    EXPECT_EQ(c[1].rect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(c[0].points.size(), 2u);
}

TEST_F(ContextTest, TextFlagsLengthsAndNullText) {
    RecordingContext gc;
    struct Case {
        uint32_t format, sent;
    } formats[] = {{0x0, 0x800}, {0x1, 0x801}, {0x4, 0x824}, {0x8, 0x828}, {0x22, 0x822}, {0x805, 0x825}};
    for (const Case& f : formats) {
        gc.ClearCalls();
        gc.DrawText("Hi&A", Rect{0, 0, 50, 20}, f.format);
        ASSERT_EQ(gc.Calls().size(), 1u);
        EXPECT_EQ(gc.Calls()[0].format, f.sent) << std::hex << f.format;
        EXPECT_EQ(gc.Calls()[0].text, "Hi&A");
    }
    gc.ClearCalls();
    gc.DrawText(Rect{0, 0, 50, 20}, "abcdef", 3, 0);
    gc.DrawText(Point{4, 9}, "abcdef", -1);
    gc.DrawText(Point{4, 9}, "abcdef", 2);
    ASSERT_EQ(gc.Calls().size(), 3u);
    EXPECT_EQ(gc.Calls()[0].text, "abc");
    EXPECT_EQ(gc.Calls()[1].text, "abcdef");
    EXPECT_EQ(gc.Calls()[2].text, "ab");

    gc.ClearCalls();
    gc.DrawText(Point{0, 0}, nullptr, -1);
    gc.DrawText(nullptr, Rect{0, 0, 5, 5}, 0);
    gc.DrawText(Rect{0, 0, 5, 5}, nullptr, -1, 0);
    EXPECT_TRUE(gc.Calls().empty());
    EXPECT_EQ(gc.MeasureText(nullptr, -1).width, 0);
    EXPECT_EQ(gc.MeasureText(nullptr, 0u), Rect());

    EXPECT_EQ(gc.MeasureText("abcd", -1).width, 28);
    EXPECT_EQ(gc.MeasureText("abcd", 2).width, 14);
    Ref<Font> font = new Font("20px", 0);
    EXPECT_EQ(gc.MeasureText("abc", *font, 0), (Rect{0, 0, 21, 20}));
    EXPECT_EQ(gc.MeasureText("abc", 0u), (Rect{0, 0, 21, 13})); // the temporary font is gone again
    EXPECT_EQ(gc.SelectedFont(), backend.StockFont());
    EXPECT_EQ(MeasureTextFormat(0x1), 0xC21u);
}

TEST_F(ContextTest, TextAtAPointIsBaselineLeftTransparentAndRestores) {
    RecordingContext gc;
    gc.SetTextColor(0xAB123456);
    EXPECT_EQ(gc.GetTextColor(), 0x00123456u);
    Ref<Font> font = new Font("9pt", 1);
    gc.DrawText(Point{3, 4}, "x", 1, *font);
    ASSERT_EQ(gc.Calls().size(), 1u);
    EXPECT_TRUE(gc.Calls()[0].transparentText);
    EXPECT_EQ(gc.Calls()[0].textAlign, 24);
    EXPECT_EQ(gc.Calls()[0].font.weight, 700);
    EXPECT_FALSE(gc.TransparentText());
    EXPECT_EQ(gc.TextAlign(), 0);
    EXPECT_EQ(gc.SelectedFont(), backend.StockFont());

    // An alignment that cannot be read is not "restored".
    gc.FailTextAlignRead(true);
    gc.DrawText(Point{3, 4}, "x", 1);
    EXPECT_EQ(gc.TextAlign(), 24);
}

TEST_F(ContextTest, DrawModesMapToRasterOperations) {
    RecordingContext gc;
    struct Case {
        int32_t mode;
        RasterOp op;
    } cases[] = {{0, RasterOp::Copy}, {1, RasterOp::Merge}, {2, RasterOp::Mask}, {3, RasterOp::Invert},
                 {7, RasterOp::Copy}, {-1, RasterOp::Copy}};
    for (const Case& c : cases) {
        gc.SetDrawMode(c.mode);
        EXPECT_EQ(gc.GetDrawMode(), c.mode);
        EXPECT_EQ(gc.CurrentRasterOp(), c.op) << c.mode;
    }
}

TEST_F(ContextTest, ClipAndOriginAreRecordedWithEachCall) {
    RecordingContext gc(Rect{0, 0, 100, 100});
    EXPECT_TRUE(gc.IsVisible(Rect{90, 90, 20, 20}));
    EXPECT_FALSE(gc.IsVisible(Rect{100, 0, 5, 5}));
    Region saved = gc.GetClip();
    gc.IntersectClip(Rect{10, 10, 50, 50});
    gc.ExcludeClip(Rect{20, 20, 10, 10});
    gc.SetOrigin(Point{10, 10});
    gc.FillRect(Rect{0, 0, 5, 5}, kRed);
    EXPECT_FALSE(gc.IsVisible(Rect{22, 22, 5, 5}));
    EXPECT_TRUE(gc.IsVisible(Rect{15, 15, 5, 5}));
    gc.SetClip(saved);
    gc.SetOrigin(Point{0, 0});
    gc.FillRect(Rect{0, 0, 5, 5}, kRed);

    ASSERT_EQ(gc.Calls().size(), 2u);
    EXPECT_EQ(gc.Calls()[0].origin, (Point{10, 10}));
    EXPECT_EQ(gc.Calls()[0].clip.Area(), 50 * 50 - 10 * 10);
    EXPECT_FALSE(gc.Calls()[0].clip.Contains(25, 25));
    EXPECT_TRUE(gc.Calls()[1].clip.SameAs(Region(Rect{0, 0, 100, 100})));
}

TEST(Region, SetOperations) {
    Region r(Rect{0, 0, 10, 10});
    r.Subtract(Rect{3, 3, 4, 4});
    EXPECT_EQ(r.Area(), 84);
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_TRUE(r.Contains(0, 9));
    r.Add(Rect{0, 0, 20, 5});
    EXPECT_EQ(r.Area(), 142); // the strip also fills the top of the hole
    r.Add(Rect{3, 3, 4, 4});
    Region expected(Rect{0, 0, 10, 10});
    expected.Add(Rect{10, 0, 10, 5});
    EXPECT_TRUE(r.SameAs(expected));
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 20, 10}));
    r.Intersect(Rect{5, 5, 100, 100});
    EXPECT_EQ(r.Area(), 25);
    r.Offset(-5, -5);
    EXPECT_TRUE(r.SameAs(Region(Rect{0, 0, 5, 5})));
    r.Intersect(Rect{50, 50, 1, 1});
    EXPECT_TRUE(r.IsEmpty());
}

TEST(Palette, EntriesAndFallbacks) {
    const int expected[31] = {255, 170, 89, 68, 52, 170, 89, 119, 255, 52, 221, 68, 52, 119, 52, 221,
                              170, 255, -1, -1, 0, 82, 157, 123, 68, 221, 187, 119, 187, 89, 52};
    for (int i = 0; i < 31; ++i) {
        int v = expected[i] < 0 ? 255 : expected[i]; // 18 and 19 fall back to entry 0
        EXPECT_EQ(GetColor(i), MakeColor(uint8_t(v), uint8_t(v), uint8_t(v))) << "entry " << i;
    }
    EXPECT_EQ(GetColor(-1), GetColor(0));
    EXPECT_EQ(GetColor(31), GetColor(0));
    EXPECT_EQ(GetColor(1000000), GetColor(0));
    const Color* sb = ScrollBarColors();
    const Color want[7] = {MakeColor(157, 157, 157), MakeColor(123, 123, 123), 0, MakeColor(75, 75, 75),
                           MakeColor(68, 68, 68), 0, MakeColor(123, 123, 123)};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(sb[i], want[i]) << i;
}

namespace {
int g_starts = 0, g_stops = 0;
bool CountStart() { return ++g_starts > 0; }
void CountStop() { ++g_stops; }
} // namespace

TEST(GdiplusInitialiser, TheFirstInstanceStartsAndTheLastStops) {
    GdiplusInitialiser::SetPlatformHooks(&CountStart, &CountStop);
    {
        GdiplusMixin pane;
        EXPECT_TRUE(GdiplusInitialiser::IsRunning());
        {
            GdiplusInitialiser second;
            GdiplusInitialiser copy(second);
            EXPECT_EQ(GdiplusInitialiser::LiveInstances(), 3);
        }
        EXPECT_EQ(g_stops, 0);
    }
    EXPECT_EQ(g_starts, 1);
    EXPECT_EQ(g_stops, 1);
    EXPECT_FALSE(GdiplusInitialiser::IsRunning());
    { GdiplusInitialiser again; }
    EXPECT_EQ(g_starts, 2);
    EXPECT_EQ(g_stops, 2);
    GdiplusInitialiser::SetPlatformHooks(nullptr, nullptr);
}
