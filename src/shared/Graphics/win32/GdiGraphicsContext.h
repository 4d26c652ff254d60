#pragma once
#include "shared/Graphics/GraphicsContext.h"

#include <windows.h>
// The context's DrawText operations, not the ANSI/wide switch; call DrawTextA.
#undef DrawText

namespace Corvell {

// A GraphicsContext over a GDI device context. The context does not own
// the device context; it leaves it with its own pen, brush, font, clip and
// origin, and deletes its scratch surface when it goes.
class GdiGraphicsContext : public GraphicsContext {
public:
    explicit GdiGraphicsContext(HDC dc);
    ~GdiGraphicsContext() override;

    HDC Dc() const { return m_dc; }

    void FillEllipseSmooth(const Rect& r, Color color) override;
    void DrawEllipseSmooth(const Rect& r, Color color) override;
    void DrawRoundRectSmooth(const Rect& r, int32_t radius, Color color) override;

    void BlitImage(Point dest, const ImageRef& image, const Rect& source, RasterOp op) override;
    void StretchImage(const Rect& dest, const ImageRef& image, const Rect& source) override;
    void BlendImage(const Rect& dest, const ImageRef& image, const Rect& source, uint8_t opacity,
                    bool perPixelAlpha) override;

protected:
    NativeHandle SelectHandle(ObjectKind kind, NativeHandle handle) override;
    NativeHandle CurrentHandle(ObjectKind kind) override;
    void PlatformPolyline(const Point* points, int32_t count) override;
    void PlatformRectangle(const Rect& r) override;
    void PlatformEllipse(const Rect& r) override;
    void PlatformPolygon(const Point* points, int32_t count) override;
    void PlatformFillRect(const Rect& r, NativeHandle brush) override;
    void PlatformFillRegion(const Region& region, NativeHandle brush) override;
    void PlatformFrameRegion(const Region& region, NativeHandle brush) override;
    void PlatformTextOut(Point p, const char* text, int32_t length) override;
    bool PlatformDrawText(const char* text, int32_t length, Rect& r, uint32_t format) override;
    bool PlatformTextExtent(const char* text, int32_t length, Size& size) override;
    Color PlatformGetTextColor() override;
    void PlatformSetTextColor(Color color) override;
    bool PlatformSetTransparentText(bool transparent) override;
    int32_t PlatformGetTextAlign() override;
    void PlatformSetTextAlign(int32_t align) override;
    void PlatformSetRasterOp(RasterOp op) override;
    void PlatformSetOrigin(Point origin) override;
    void PlatformSetClip(const Region& clip) override;

private:
    // The scratch surface with the image's bitmap selected; null when the image has none.
    HDC SelectImage(const ImageRef& image);
    void DeselectImage();
    template <class Draw>
    void Smooth(const Rect& bounds, Draw draw);

    HDC m_dc;
    POINT m_windowOrg{};
    POINT m_initialViewport{};
    HDC m_scratch = nullptr;
    HGDIOBJ m_scratchOriginal = nullptr;
    bool m_clipChanged = false;
    HRGN m_initialClip = nullptr; // null: the surface had no clip region
    bool m_originChanged = false;
};

// Region in local coordinates of a surface → a GDI region (caller deletes).
HRGN MakeGdiRegion(const Region& region, int32_t dx, int32_t dy);

} // namespace Corvell
