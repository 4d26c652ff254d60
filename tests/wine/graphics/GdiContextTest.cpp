// The GDI drawing context on a DIB surface: draws, reads pixels back, and
// checks that pens, brushes and fonts leave the surface before they go.
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GdiplusInitialiser.h"
#include "shared/Graphics/win32/GdiGraphicsContext.h"
#include "shared/Graphics/win32/Win32Graphics.h"

#include "PngBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace Corvell;
using Corvell::Test::PngBuilder;

namespace {

const Color kWhite = MakeColor(255, 255, 255);
const Color kRed = MakeColor(255, 0, 0);
const Color kBlue = MakeColor(0, 0, 255);
const Color kGreen = MakeColor(0, 255, 0);

// A 64 x 64 top-down 32-bit surface in a memory DC, white.
class Canvas {
public:
    Canvas() {
        InstallWin32Graphics();
        surface = DibSurface::Create(64, 64, 32);
        dc = CreateCompatibleDC(nullptr);
        original = SelectObject(dc, static_cast<HBITMAP>(surface->NativeHandle()));
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 64; ++x)
                std::memcpy(surface->Row(y) + 4 * x, "\xff\xff\xff\x00", 4);
    }
    ~Canvas() {
        SelectObject(dc, original);
        DeleteDC(dc);
    }
    // Red, green, blue of a pixel.
    Color At(int x, int y) {
        GdiFlush();
        const uint8_t* p = surface->Row(y) + 4 * x;
        return MakeColor(p[2], p[1], p[0]);
    }
    const uint8_t* Raw(int x, int y) {
        GdiFlush();
        return surface->Row(y) + 4 * x;
    }

    std::unique_ptr<DibSurface> surface;
    HDC dc = nullptr;
    HGDIOBJ original = nullptr;
};

std::vector<uint8_t> Rgba(uint32_t w, uint32_t h, const std::vector<uint8_t>& pixels, uint8_t type = 6) {
    std::vector<uint8_t> raw;
    const size_t row = pixels.size() / h;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + long(y * row), pixels.begin() + long((y + 1) * row));
    }
    return PngBuilder().Header(w, h, 8, type).ImageData(raw).End().Bytes();
}

bool Near(const uint8_t* p, int b, int g, int r) {
    return std::abs(p[0] - b) <= 1 && std::abs(p[1] - g) <= 1 && std::abs(p[2] - r) <= 1;
}

} // namespace

TEST(GdiContext, LinesRectanglesFillsAndDrawModes) {
    Canvas c;
    {
        GdiGraphicsContext gc(c.dc);
        gc.FillRect(Rect{10, 10, 5, 5}, kRed);
        gc.DrawLine(Point{0, 30}, Point{10, 30}, kBlue);
        gc.DrawRect(Rect{20, 20, 10, 10}, kGreen);
        gc.FillEllipse(Rect{40, 0, 20, 20}, kBlue);
        gc.SetDrawMode(3);
        gc.DrawLine(Point{10, 12}, Point{17, 12}, kWhite); // XOR over red and white
        gc.SetDrawMode(0);
    }
    EXPECT_EQ(c.At(10, 10), kRed);
    EXPECT_EQ(c.At(14, 14), kRed);
    EXPECT_EQ(c.At(15, 15), kWhite);
    EXPECT_EQ(c.At(0, 30), kBlue);
    EXPECT_EQ(c.At(9, 30), kBlue);
    EXPECT_EQ(c.At(10, 30), kWhite); // the end point is not drawn
    EXPECT_EQ(c.At(20, 20), kGreen);
    EXPECT_EQ(c.At(29, 29), kGreen);
    EXPECT_EQ(c.At(25, 25), kWhite); // outline only
    EXPECT_EQ(c.At(30, 30), kWhite);
    EXPECT_EQ(c.At(50, 10), kBlue);
    EXPECT_EQ(c.At(40, 0), kWhite);
    EXPECT_EQ(c.At(12, 12), MakeColor(0, 255, 255)); // red XOR white
    EXPECT_EQ(c.At(15, 12), MakeColor(0, 0, 0));     // white XOR white
}

TEST(GdiContext, ClipRegionsAreInSurfaceCoordinatesWhateverTheOrigin) {
    Canvas c;
    // A surface whose window origin is moved, as for a partial repaint.
    SetWindowOrgEx(c.dc, 16, 16, nullptr);
    {
        GdiGraphicsContext gc(c.dc);
        EXPECT_EQ(gc.GetClip().Bounds(), (Rect{16, 16, 64, 64}));
        const Region all = gc.GetClip();
        gc.IntersectClip(Rect{16, 16, 8, 8});
        gc.ExcludeClip(Rect{18, 18, 2, 2});
        gc.FillRect(Rect{0, 0, 100, 100}, kRed);
        gc.SetClip(all);
        gc.SetOrigin(Point{40, 40}); // local (0, 0) is surface (40, 40)
        gc.FillRect(Rect{0, 0, 4, 4}, kBlue);
    }
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(7, 7), kRed);
    EXPECT_EQ(c.At(8, 8), kWhite);
    EXPECT_EQ(c.At(2, 2), kWhite); // excluded
    EXPECT_EQ(c.At(24, 24), kBlue);
    EXPECT_EQ(c.At(27, 27), kBlue);
    EXPECT_EQ(c.At(23, 23), kWhite);
    POINT vp;
    GetViewportOrgEx(c.dc, &vp);
    EXPECT_EQ(vp.x, 0); // the surface gets its origin and clip back
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc, rgn), 0);
    DeleteObject(rgn);
}

TEST(GdiContext, ObjectsLeaveTheSurfaceBeforeTheyAreDeleted) {
    Canvas c;
    const HGDIOBJ ownFont = GetCurrentObject(c.dc, OBJ_FONT);
    const HGDIOBJ ownPen = GetCurrentObject(c.dc, OBJ_PEN);
    const HGDIOBJ ownBrush = GetCurrentObject(c.dc, OBJ_BRUSH);
    HGDIOBJ first[3], second[3];
    {
        GdiGraphicsContext gc(c.dc);
        // The context holds the only reference: replacing frees the old object.
        gc.SetFont(new Font("9pt", 0));
        gc.SetPen(new Pen(kRed));
        gc.SetBrush(new Brush(kRed));
        first[0] = GetCurrentObject(c.dc, OBJ_FONT);
        first[1] = GetCurrentObject(c.dc, OBJ_PEN);
        first[2] = GetCurrentObject(c.dc, OBJ_BRUSH);
        gc.SetFont(new Font("10pt", 1));
        gc.SetPen(new Pen(kBlue));
        gc.SetBrush(new Brush(kBlue));
        second[0] = GetCurrentObject(c.dc, OBJ_FONT);
        second[1] = GetCurrentObject(c.dc, OBJ_PEN);
        second[2] = GetCurrentObject(c.dc, OBJ_BRUSH);
        for (HGDIOBJ h : first)
            EXPECT_EQ(GetObjectType(h), 0u) << "a replaced object still exists (deleted while selected?)";
        for (HGDIOBJ h : second)
            EXPECT_NE(GetObjectType(h), 0u);

        // Temporary objects come and go without disturbing the selection.
        gc.DrawRect(Rect{1, 1, 5, 5}, kGreen);
        gc.FillEllipse(Rect{1, 1, 5, 5}, kGreen);
        Ref<Font> font = new Font("12px", 0);
        gc.DrawText(Point{2, 20}, "Ag", -1, *font);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), second[0]);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), second[1]);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), second[2]);
    }
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), ownFont);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), ownPen);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), ownBrush);
    for (HGDIOBJ h : second)
        EXPECT_EQ(GetObjectType(h), 0u) << "an object outlived the context";
}

TEST(GdiContext, ImagesBlendPremultipliedAndClipTheirSource) {
    Canvas c;
    DibSurfaceAllocator dibs;
    // (255, 128, 0) at alpha 128, then opaque blue.
    std::vector<uint8_t> rgba = Rgba(2, 1, {255, 128, 0, 128, 0, 0, 255, 255});
    Ref<PngBitmap> image = new PngBitmap("test", rgba.data(), rgba.size(), dibs);
    ASSERT_EQ(image->Status(), PngStatus::Ok);
    std::vector<uint8_t> rgb = Rgba(1, 1, {255, 0, 0}, 2);
    Ref<PngBitmap> opaque = new PngBitmap("red", rgb.data(), rgb.size(), dibs);
    ASSERT_EQ(opaque->Status(), PngStatus::Ok);
    {
        GdiGraphicsContext gc(c.dc);
        gc.DrawImage(Point{5, 5}, image.Get());
        image->DrawBlended(gc, Point{5, 10}, Rect{-5, 0, 7, 1}, 1.0f);
        gc.DrawImage(Point{5, 20}, opaque.Get());
        opaque->DrawBlended(gc, Point{5, 25}, Rect{0, 0, 1, 1}, 0.5f);
        gc.DrawImageScaled(Rect{10, 30, 4, 4}, opaque.Get());
        // A second context can draw the same image: the scratch surface gave it back.
        GdiGraphicsContext other(c.dc);
        other.DrawImage(Point{30, 5}, image.Get());
    }
    // Over white: premultiplied colour + (1 - alpha) x white.
    EXPECT_TRUE(Near(c.Raw(5, 5), 127, 191, 255)) << int(c.Raw(5, 5)[0]) << " " << int(c.Raw(5, 5)[1]);
    EXPECT_EQ(c.At(6, 5), kBlue);
    EXPECT_TRUE(Near(c.Raw(30, 5), 127, 191, 255));
    EXPECT_EQ(c.At(5, 10), kWhite); // the cut-off left part is not drawn...
    EXPECT_TRUE(Near(c.Raw(10, 10), 127, 191, 255)); // ...the image starts 5 to the right
    EXPECT_EQ(c.At(11, 10), kBlue);
    EXPECT_EQ(c.At(12, 10), kWhite);
    EXPECT_EQ(c.At(5, 20), kRed);
    EXPECT_TRUE(Near(c.Raw(5, 25), 128, 128, 255));
    EXPECT_EQ(c.At(10, 30), kRed);
    EXPECT_EQ(c.At(13, 33), kRed);
    EXPECT_EQ(c.At(14, 34), kWhite);
}

TEST(GdiContext, TextIsDrawnInsideItsRectangle) {
    Canvas c;
    Rect box{4, 20, 56, 24};
    Size extent;
    Rect needed;
    {
        GdiGraphicsContext gc(c.dc);
        gc.SetFont(new Font("Tahoma", 14.0f, 0, Font::Pixels));
        gc.SetTextColor(MakeColor(0, 0, 0));
        extent = gc.MeasureText("Wide", -1);
        needed = gc.MeasureText("Wide", 0u);
        gc.DrawText("Wide", box, kTextCenter | kTextVCenter);
        EXPECT_EQ(gc.GetFont()->Desc().height, -14);
    }
    EXPECT_GT(extent.width, 10);
    EXPECT_GT(extent.height, 10);
    EXPECT_EQ(needed.width, extent.width);
    int inside = 0, outside = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool ink = c.At(x, y) != kWhite;
            bool in = x >= box.x && x < box.Right() && y >= box.y && y < box.Bottom();
            (in ? inside : outside) += ink;
        }
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
}

TEST(GdiContext, SmoothShapesFollowTheOriginAndStopTheLibraryAfterwards) {
    Canvas c;
    {
        GdiGraphicsContext gc(c.dc);
        gc.SetOrigin(Point{30, 30});
        gc.FillEllipseSmooth(Rect{0, 0, 20, 20}, kRed);
        gc.DrawRoundRectSmooth(Rect{-30, -30, 20, 10}, 3, kBlue);
    }
    EXPECT_EQ(c.At(40, 40), kRed);
    EXPECT_EQ(c.At(30, 30), kWhite);
    EXPECT_EQ(c.At(52, 40), kWhite);
    EXPECT_EQ(c.At(40, 31), kRed); // round: edge midpoints in, corners out
    EXPECT_EQ(c.At(31, 40), kRed);
    EXPECT_EQ(c.At(32, 32), kWhite);
    // (Wine's GDI+ fills without antialiasing, so edge pixels are not compared.)

    EXPECT_NE(c.At(10, 0), kWhite); // top edge of the rounded outline
    EXPECT_EQ(c.At(10, 5), kWhite);
    EXPECT_EQ(GdiplusInitialiser::LiveInstances(), 0);
    EXPECT_FALSE(GdiplusInitialiser::IsRunning());
}

TEST(Win32Images, PngResourcesOfTheModuleByName) {
    HMODULE dll = LoadLibraryExA("TarrowView.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    Win32ImageSource source(dll);
    // Leaves no cached image and no source behind, also when an assertion stops the test.
    struct Installed {
        HMODULE dll;
        explicit Installed(Win32ImageSource& source, HMODULE module) : dll(module) {
            SetImageSource(&source);
            ClearImageCache();
        }
        ~Installed() {
            ClearImageCache();
            SetImageSource(nullptr);
            FreeLibrary(dll);
        }
    } installed(source, dll);

    ASSERT_TRUE(source.FindPng("KBD")) << "the DLL carries no artwork";
    EXPECT_TRUE(source.FindPng("kbd")); // any case
    Ref<Bitmap> kbd = GetImage("kbd.png");
    EXPECT_EQ(kbd->Width(), 700);
    EXPECT_EQ(kbd->Height(), 80);
    const PixelSurface* kbdSurface = static_cast<PngBitmap*>(kbd.Get())->Surface();
    ASSERT_NE(kbdSurface, nullptr);
    EXPECT_NE(kbdSurface->NativeHandle(), nullptr);
    Ref<Bitmap> upper = GetImage("kbd.PNG"); // no bitmap resource of that name
    EXPECT_EQ(upper->Width(), 0);
    Ref<Bitmap> toggle = GetImage("top-toggle.png");
    EXPECT_EQ(toggle->Width(), 72);
    EXPECT_EQ(static_cast<PngBitmap*>(toggle.Get())->Header().bitDepth, 16);
}
