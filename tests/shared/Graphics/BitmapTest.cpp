#include "ExpectedImages.h"
#include "PngBuilder.h"
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "shared/Graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace Corvell;
using namespace Corvell::Test;

namespace {

std::vector<uint8_t> SmallPng(uint32_t w, uint32_t h, uint8_t type) {
    const int channels = type == 6 ? 4 : 3;
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t i = 0; i < w * uint32_t(channels); ++i)
            raw.push_back(uint8_t(i * 7 + y));
    }
    return PngBuilder().Header(w, h, 8, type).ImageData(raw).End().Bytes();
}

class BitmapTest : public testing::Test {
protected:
    void SetUp() override {
        ClearImageCache();
        source.AddPng("KBD", SmallPng(20, 10, 6));
        source.AddPng("KSLAMPS", SmallPng(8, 16, 2));
    }
    void TearDown() override { ClearImageCache(); }

    TestImageSource source{"/nowhere/module"};
};

} // namespace

TEST_F(BitmapTest, CacheReturnsOneObjectPerExactName) {
    Ref<Bitmap> a = GetImage("kbd.png");
    Ref<Bitmap> b = GetImage("kbd.png");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a->Width(), 20);
    EXPECT_EQ(a->Height(), 10);
    EXPECT_EQ(source.pngLookups, std::vector<std::string>{"kbd"}); // decoded once

    // The key is case-sensitive; the resource lookup is not.
    Ref<Bitmap> c = GetImage("KBD.png");
    EXPECT_NE(a.Get(), c.Get());
    EXPECT_EQ(c->Width(), 20);

    EXPECT_FALSE(GetImage(""));
    EXPECT_FALSE(GetImage(nullptr));
    EXPECT_TRUE(source.messages.empty());
}

TEST_F(BitmapTest, NamingRulesPickTheKindOfResource) {
    source.AddPlatformBitmap("GLYPH", 5, 6);
    struct Case {
        const char* name;
        std::vector<std::string> pngLookups, bitmapLookups;
        int32_t width;
        bool message;
    } cases[] = {
        {"kbd.png", {"kbd"}, {}, 20, false},
        {"mode-tabs.png", {"mode-tabs"}, {}, 0, true},
        {"kbd.PNG", {}, {"kbd"}, 0, true},        // the extension is compared exactly
        {"glyph.bmp", {}, {"glyph"}, 5, false},
        {"glyph", {}, {"glyph"}, 5, false},        // no dot: platform bitmap first
        {"kslamps", {"kslamps"}, {"kslamps"}, 8, false}, // ...then the PNG
        {"glass", {"glass"}, {"glass"}, 0, true},
        {"a.b.png", {"a.b"}, {}, 0, true},        // the last dot counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        source.pngLookups.clear();
        source.bitmapLookups.clear();
        source.messages.clear();
        Ref<Bitmap> image = Bitmap::Load(c.name);
        ASSERT_TRUE(image); // an empty image is still an image
        EXPECT_EQ(source.pngLookups, c.pngLookups);
        EXPECT_EQ(source.bitmapLookups, c.bitmapLookups);
        EXPECT_EQ(image->Width(), c.width);
        EXPECT_EQ(source.messages.size(), c.message ? 1u : 0u);
    }
}

TEST_F(BitmapTest, MissingImageIsEmptyCachedAndReportedOnce) {
    Ref<Bitmap> a = GetImage("buttonNormal.png");
    Ref<Bitmap> b = GetImage("buttonNormal.png");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a->Width(), 0);
    EXPECT_EQ(a->Height(), 0);
    ASSERT_EQ(source.messages.size(), 1u);
    const std::string& m = source.messages[0];
    EXPECT_NE(m.find("cvBitmap.cpp("), std::string::npos) << m;
    const std::string tail = "): cannot load image \"buttonNormal.png\" in bundle \"/nowhere/module\"\n";
    ASSERT_GE(m.size(), tail.size());
    EXPECT_EQ(m.substr(m.size() - tail.size()), tail);

    RecordingContext gc;
    gc.DrawImage(Point{1, 2}, a.Get());
    gc.DrawImageScaled(Rect{0, 0, 10, 10}, a.Get());
    gc.DrawImage(Point{1, 2}, nullptr);
    EXPECT_TRUE(gc.Calls().empty());
}

TEST_F(BitmapTest, LongNamesAreCutNotOverrun) {
    std::string name(400, 'x');
    Ref<Bitmap> image = Bitmap::Load(name.c_str());
    ASSERT_EQ(source.messages.size(), 1u);
    EXPECT_EQ(source.messages[0].size(), 255u);
}

TEST_F(BitmapTest, ABrokenPngResourceIsEmptyWithoutTheMessage) {
    std::vector<uint8_t> broken = SmallPng(4, 4, 6);
    broken[0] = 0;
    source.AddPng("BROKEN", broken);
    Ref<Bitmap> image = GetImage("broken.png");
    EXPECT_EQ(image->Width(), 0);
    EXPECT_TRUE(source.messages.empty());
}

struct BlendCase {
    const char* name;
    Rect source;
    bool drawn;
    Rect dest;
    Rect clipped;
};

TEST_F(BitmapTest, DrawBlendedClipsTheSourceToTheImage) {
    Ref<Bitmap> image = GetImage("kbd.png"); // 20 x 10
    const BlendCase cases[] = {
        {"whole", {0, 0, 20, 10}, true, {100, 50, 20, 10}, {0, 0, 20, 10}},
        {"left edge cut: drawn 5 to the right", {-5, 0, 20, 10}, true, {105, 50, 15, 10}, {0, 0, 15, 10}},
        {"top cut", {2, -3, 4, 5}, true, {100, 53, 4, 2}, {2, 0, 4, 2}},
        {"right and bottom cut", {15, 8, 10, 10}, true, {100, 50, 5, 2}, {15, 8, 5, 2}},
        {"entirely left", {-30, 0, 10, 10}, false, {}, {}},
        {"entirely below", {0, 10, 5, 5}, false, {}, {}},
        {"empty", {3, 3, 0, 4}, false, {}, {}},
        {"huge", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, false, {}, {}},
    };
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingContext gc;
        image->DrawBlended(gc, Point{100, 50}, c.source, 0.5f);
        std::vector<DrawCall> blends = gc.CallsOf("Blend");
        ASSERT_EQ(blends.size(), c.drawn ? 1u : 0u);
        if (c.drawn) {
            EXPECT_EQ(blends[0].rect, c.dest);
            EXPECT_EQ(blends[0].source, c.clipped);
            EXPECT_EQ(blends[0].opacity, 127);
            EXPECT_TRUE(blends[0].perPixelAlpha);
        }
    }
}

TEST_F(BitmapTest, PngImagesAlwaysBlendOpaqueImagesFollowTheMode) {
    Ref<Bitmap> rgba = GetImage("kbd.png");
    Ref<Bitmap> rgb = GetImage("kslamps.png");
    source.AddPlatformBitmap("GLYPH", 5, 6);
    Ref<Bitmap> opaque = GetImage("glyph.bmp");

    RecordingContext gc;
    gc.SetDrawMode(3);
    gc.DrawImage(Point{1, 1}, rgba.Get());                       // mode ignored: blended
    gc.DrawImage(Point{1, 1}, rgb.Get(), Rect{0, 0, 4, 4});       // blended, no per-pixel alpha
    gc.DrawImage(Point{1, 1}, opaque.Get());                      // XOR copy
    gc.DrawImageScaled(Rect{0, 0, 40, 20}, rgba.Get());           // blend at 255
    gc.DrawImageScaled(Rect{0, 0, 40, 20}, opaque.Get());         // stretched copy
    opaque->DrawBlended(gc, Point{0, 0}, Rect{0, 0, 5, 6}, 2.0f); // constant alpha only
    rgb->DrawBlended(gc, Point{0, 0}, Rect{0, 0, 8, 16}, -1.0f);

    const std::vector<DrawCall>& calls = gc.Calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].op, "Blend");
    EXPECT_EQ(calls[0].opacity, 255);
    EXPECT_TRUE(calls[0].perPixelAlpha);
    EXPECT_EQ(calls[0].surface, static_cast<PngBitmap*>(rgba.Get())->Surface());
    EXPECT_EQ(calls[1].op, "Blend");
    EXPECT_FALSE(calls[1].perPixelAlpha);
    EXPECT_EQ(calls[1].source, (Rect{0, 0, 4, 4}));
    EXPECT_EQ(calls[2].op, "Blit");
    EXPECT_EQ(calls[2].rop, RasterOp::Invert);
    EXPECT_EQ(calls[2].source, (Rect{0, 0, 5, 6}));
    EXPECT_NE(calls[2].bitmap, nullptr);
    EXPECT_EQ(calls[3].op, "Blend");
    EXPECT_EQ(calls[3].rect, (Rect{0, 0, 40, 20}));
    EXPECT_EQ(calls[3].opacity, 255);
    EXPECT_EQ(calls[4].op, "Stretch");
    EXPECT_EQ(calls[5].op, "Blend");
    EXPECT_EQ(calls[5].opacity, 255);
    EXPECT_FALSE(calls[5].perPixelAlpha);
    EXPECT_EQ(calls[6].op, "Blend");
    EXPECT_EQ(calls[6].opacity, 0);
}

namespace {
// A w x h RGBA image whose pixels repeat the given {r, g, b, a} in turn.
std::vector<uint8_t> RgbaRows(uint32_t w, uint32_t h, std::vector<std::array<uint8_t, 4>> rgbaPixels) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < w; ++x) {
            const auto& p = rgbaPixels[(y * w + x) % rgbaPixels.size()];
            raw.insert(raw.end(), p.begin(), p.end());
        }
    }
    return PngBuilder().Header(w, h, 8, 6).ImageData(raw).End().Bytes();
}
} // namespace

TEST_F(BitmapTest, ImagesAreSizedWhenLoadedAndDecodedWhenFirstDrawn) {
    Ref<Bitmap> image = GetImage("kbd.png");
    auto* png = static_cast<PngBitmap*>(image.Get());
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 10);
    EXPECT_FALSE(png->IsDecoded());

    RecordingContext gc;
    gc.DrawImage(Point{0, 0}, image.Get());
    EXPECT_TRUE(png->IsDecoded());
    ASSERT_EQ(gc.Calls().size(), 1u);
    ASSERT_NE(png->Surface(), nullptr);
    EXPECT_EQ(gc.Calls()[0].surface, png->Surface());

    // Damaged pixel data: sized by its header, and what decodes is kept.
    std::vector<uint8_t> cut = SmallPng(6, 40, 2);
    cut.resize(cut.size() - 30);
    source.AddPng("CUT", cut);
    Ref<Bitmap> damaged = GetImage("cut.png");
    EXPECT_EQ(damaged->Width(), 6);
    EXPECT_EQ(static_cast<PngBitmap*>(damaged.Get())->Status(), PngStatus::CorruptData);
    EXPECT_EQ(damaged->Width(), 6);
    EXPECT_EQ(damaged->Height(), 40);
}

TEST_F(BitmapTest, AnAlphaChannelThatHidesNothingIsCopiedNotBlended) {
    source.AddPng("SOLID", RgbaRows(3, 2, {{10, 20, 30, 255}}));
    source.AddPng("ALMOST", RgbaRows(3, 2, {{10, 20, 30, 255}, {10, 20, 30, 254}}));
    RecordingContext gc;
    gc.DrawImage(Point{0, 0}, GetImage("solid.png").Get());
    gc.DrawImage(Point{0, 0}, GetImage("almost.png").Get());
    ASSERT_EQ(gc.Calls().size(), 2u);
    EXPECT_FALSE(gc.Calls()[0].perPixelAlpha);
    EXPECT_TRUE(gc.Calls()[1].perPixelAlpha);
}

TEST_F(BitmapTest, AComposedImageIsTheOverlayBlendedOverTheBaseAndCached) {
    source.AddPng("BASE", RgbaRows(4, 4, {{200, 100, 50, 255}}));
    // Alphas 0, 128 and 255; the overlay hangs over the base's bottom edge.
    source.AddPng("OVER", RgbaRows(2, 3, {{0, 0, 255, 0}, {0, 255, 0, 128}, {255, 0, 0, 255}}));
    Ref<Bitmap> composed = GetComposedImage("base.png", "over.png", Point{1, 2});
    ASSERT_TRUE(composed);
    ASSERT_NE(composed.Get(), GetImage("base.png").Get());
    EXPECT_EQ(composed.Get(), GetComposedImage("base.png", "over.png", Point{1, 2}).Get());
    EXPECT_EQ(composed->Width(), 4);
    EXPECT_EQ(composed->Height(), 4);
    const PixelSurface* s = static_cast<PngBitmap*>(composed.Get())->Surface();
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->BitsPerPixel(), 32);

    // Expected with straight colours in floating point; the surface is BGRA.
    auto expect = [&](int x, int y, int r, int g, int b) {
        const uint8_t* p = s->Row(y) + 4 * x;
        SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
        EXPECT_NEAR(p[2], r, 1);
        EXPECT_NEAR(p[1], g, 1);
        EXPECT_NEAR(p[0], b, 1);
        EXPECT_EQ(p[3], 255);
    };
    const double k = 128.0 / 255.0;
    expect(0, 2, 200, 100, 50);                               // outside the overlay
    expect(1, 2, 200, 100, 50);                               // alpha 0
    expect(2, 2, int(200 * (1 - k) + 0.5), int(255 * k + 100 * (1 - k) + 0.5), int(50 * (1 - k) + 0.5));
    expect(1, 3, 255, 0, 0);                                  // alpha 255
    expect(3, 3, 200, 100, 50);                               // beyond the overlay's width

    // Either part missing: the base as it is.
    EXPECT_EQ(GetComposedImage("base.png", "nothing.png", Point{0, 0}).Get(), GetImage("base.png").Get());
}

TEST_F(BitmapTest, PlatformBitmapsAreReleasedWithTheImage) {
    source.AddPlatformBitmap("GLYPH", 5, 6);
    {
        Ref<Bitmap> image = Bitmap::Load("glyph");
        EXPECT_EQ(source.liveBitmaps, 1);
    }
    EXPECT_EQ(source.liveBitmaps, 0);
    GetImage("glyph");
    EXPECT_EQ(source.liveBitmaps, 1);
    ClearImageCache();
    EXPECT_EQ(source.liveBitmaps, 0);
}

TEST_F(BitmapTest, EachImageIsOneLiveObjectOfTheModule) {
    source.AddPlatformBitmap("GLYPH", 5, 6);
    const int32_t before = Base::LiveObjects();
    {
        Ref<Bitmap> png = Bitmap::Load("kbd.png");
        Ref<Bitmap> bmp = Bitmap::Load("glyph.bmp");
        Ref<Bitmap> missing = Bitmap::Load("none"); // a platform bitmap was tried first, then dropped
        EXPECT_EQ(Base::LiveObjects(), before + 3);
        EXPECT_EQ(png->RefCount(), 1);
        EXPECT_EQ(static_cast<OpaqueBitmap*>(png.Get())->Name(), "kbd");
        EXPECT_EQ(static_cast<OpaqueBitmap*>(bmp.Get())->Name(), "glyph");
        EXPECT_EQ(static_cast<OpaqueBitmap*>(missing.Get())->Name(), "none");
        EXPECT_EQ(static_cast<OpaqueBitmap*>(Bitmap::Load("a.b.png").Get())->Name(), "a.b");
        EXPECT_EQ(Base::LiveObjects(), before + 3);
    }
    EXPECT_EQ(Base::LiveObjects(), before);

    Ref<Bitmap> kept = GetImage("kbd.png");
    GetImage("kslamps.png");
    EXPECT_EQ(Base::LiveObjects(), before + 2);
    EXPECT_EQ(kept->RefCount(), 2); // the cache's and this one
    ClearImageCache();
    EXPECT_EQ(Base::LiveObjects(), before + 1);
    EXPECT_EQ(kept->RefCount(), 1);
    kept = nullptr;
    EXPECT_EQ(Base::LiveObjects(), before);
}

// The artwork: every image the views name loads from src/resources with
// its size and kind.
TEST(Artwork, EveryImageLoadsWithItsSizeAndColourType) {
    TestImageSource source(std::string(TARROW_SOURCE_DIR) + "/src/resources");
    for (const ExpectedImages::Image& expected : ExpectedImages::kImages) {
        SCOPED_TRACE(expected.name);
        const std::string file = ExpectedImages::FileName(expected.name);
        PngBitmap image(file.substr(0, file.size() - 4).c_str()); // the name as the views ask for it
        ASSERT_TRUE(image.ResourceFound());
        EXPECT_EQ(image.Status(), PngStatus::Ok) << PngStatusText(image.Status());
        EXPECT_EQ(image.Width(), int32_t(expected.width));
        EXPECT_EQ(image.Height(), int32_t(expected.height));
        EXPECT_EQ(int(image.Header().colorType), int(expected.colourType));
        EXPECT_EQ(int(image.Header().bitDepth), int(expected.bitDepth));
    }
}
