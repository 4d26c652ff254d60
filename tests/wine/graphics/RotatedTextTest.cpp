// Turned fonts on a real GDI surface: the ink of a 90-degree string stands
// upright above its baseline point, where the same string level lies flat.
// Shapes only: the font behind "Verdana" differs between systems.
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/win32/GdiGraphicsContext.h"
#include "shared/Graphics/win32/Win32Graphics.h"
#include "ui/ALabel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace Corvell;

namespace {

constexpr int32_t kSize = 160;

// A white top-down 32-bit surface in a memory DC.
class Surface {
public:
    Surface() {
        InstallWin32Graphics();
        dib = DibSurface::Create(kSize, kSize, 32);
        dc = CreateCompatibleDC(nullptr);
        original = SelectObject(dc, static_cast<HBITMAP>(dib->NativeHandle()));
        for (int32_t y = 0; y < kSize; ++y)
            std::memset(dib->Row(y), 0xff, size_t(kSize) * 4);
    }
    ~Surface() {
        SelectObject(dc, original);
        DeleteDC(dc);
    }

    // The bounding box of every pixel that is not white.
    RECT Ink() {
        GdiFlush();
        RECT box{kSize, kSize, -1, -1};
        for (int32_t y = 0; y < kSize; ++y)
            for (int32_t x = 0; x < kSize; ++x) {
                const uint8_t* p = dib->Row(y) + 4 * x;
                if (p[0] == 0xff && p[1] == 0xff && p[2] == 0xff)
                    continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        return box;
    }

    std::unique_ptr<DibSurface> dib;
    HDC dc = nullptr;
    HGDIOBJ original = nullptr;
};

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

const char* const kText = "Strum Hold";

} // namespace

TEST(RotatedText, TheFontBehindTheTurnedFaceCanTurn) {
    Surface s;
    Ref<Font> turned = new Font(ALabel::kTurnedFace, ALabel::kTurnedPoints, 90.0f);
    ASSERT_NE(turned->Handle(), nullptr);
    HGDIOBJ old = SelectObject(s.dc, static_cast<HFONT>(turned->Handle()));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(s.dc, LF_FACESIZE, face);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(s.dc, &tm));
    SelectObject(s.dc, old);
    // Raster fonts cannot be turned: the text would come out level.
    EXPECT_TRUE((tm.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) != 0) << "the face drawn is " << face;
    std::printf("turned face: %s, height %ld\n", face, long(tm.tmHeight));
}

TEST(RotatedText, NinetyDegreesStandsUpFromTheBaselinePointWhereLevelTextLiesFlat) {
    const Point start{80, 140};
    RECT level, upright;
    {
        Surface s;
        {
            GdiGraphicsContext gc(s.dc);
            gc.SetTextColor(MakeColor(0, 0, 0));
            Ref<Font> font = new Font(ALabel::kTurnedFace, ALabel::kTurnedPoints, 0.0f);
            gc.DrawText(Point{10, 80}, kText, -1, *font);
        }
        level = s.Ink();
    }
    {
        Surface s;
        {
            GdiGraphicsContext gc(s.dc);
            gc.SetTextColor(MakeColor(0, 0, 0));
            Ref<Font> font = new Font(ALabel::kTurnedFace, ALabel::kTurnedPoints, 90.0f);
            gc.DrawText(start, kText, -1, *font);
        }
        upright = s.Ink();
    }
    ASSERT_LT(level.left, level.right) << "level text drew nothing";
    ASSERT_LT(upright.left, upright.right) << "turned text drew nothing";
    const LONG levelW = level.right - level.left, levelH = level.bottom - level.top;
    const LONG upW = upright.right - upright.left, upH = upright.bottom - upright.top;
    EXPECT_GT(levelW, 2 * levelH) << Str(level);
    EXPECT_GT(upH, 2 * upW) << Str(upright);
    // About as long as the level text, running up from the baseline point
    // with the letters' bodies to its left.
    EXPECT_NEAR(double(upH), double(levelW), levelW / 5.0) << Str(upright) << " vs " << Str(level);
    EXPECT_LE(upright.bottom, start.y + 2) << Str(upright);
    EXPECT_LE(upright.right, start.x + levelH / 2) << Str(upright);
    EXPECT_LT(upright.left, start.x) << Str(upright);
}

TEST(RotatedText, AnUpwardLabelInkStaysInsideItAndReadsUpwards) {
    Surface s;
    Pane root;
    root.SetBounds(Rect{0, 0, kSize, kSize});
    ALabel label;
    label.Create(&root, Rect{40, 10, 24, 140});
    label.SetText("Vertical caption that runs past the top");
    label.SetTextColor(MakeColor(0, 0, 0));
    label.SetAngle(90.0f);
    {
        GdiGraphicsContext gc(s.dc);
        root.PaintAll(gc);
    }
    const RECT ink = s.Ink();
    ASSERT_LT(ink.left, ink.right) << "the label drew nothing";
    EXPECT_GE(ink.left, 40) << Str(ink);
    EXPECT_LE(ink.right, 64) << Str(ink);
    EXPECT_GE(ink.top, 10) << Str(ink);
    EXPECT_LE(ink.bottom, 150) << Str(ink);
    // What fits is drawn: the text fills the label's height up to its top.
    EXPECT_LE(ink.top, 14) << Str(ink);
    EXPECT_GT(ink.bottom - ink.top, 100) << Str(ink);
}
