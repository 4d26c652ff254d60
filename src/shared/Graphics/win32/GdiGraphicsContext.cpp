#include "shared/Graphics/win32/GdiGraphicsContext.h"

#include "shared/Graphics/GdiplusInitialiser.h"
#include "shared/Graphics/win32/Win32Graphics.h"

#include <gdiplus.h>

#include <cstring>
#include <memory>
#include <vector>

namespace Corvell {

HRGN MakeGdiRegion(const Region& region, int32_t dx, int32_t dy) {
    const std::vector<Rect>& rects = region.Rects();
    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + sizeof(RECT) * (rects.empty() ? 1 : rects.size()));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects.size());
    data->rdh.nRgnSize = DWORD(sizeof(RECT) * rects.size());
    RECT bounds{0, 0, 0, 0};
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        out[i] = RECT{LONG(r.x + dx), LONG(r.y + dy), LONG(r.Right() + dx), LONG(r.Bottom() + dy)};
        if (i == 0) {
            bounds = out[i];
        } else {
            bounds.left = out[i].left < bounds.left ? out[i].left : bounds.left;
            bounds.top = out[i].top < bounds.top ? out[i].top : bounds.top;
            bounds.right = out[i].right > bounds.right ? out[i].right : bounds.right;
            bounds.bottom = out[i].bottom > bounds.bottom ? out[i].bottom : bounds.bottom;
        }
    }
    data->rdh.rcBound = bounds;
    HRGN rgn = ExtCreateRegion(nullptr, DWORD(buffer.size()), data);
    return rgn ? rgn : CreateRectRgn(0, 0, 0, 0);
}

GdiGraphicsContext::GdiGraphicsContext(HDC dc) : m_dc(dc) {
    GetWindowOrgEx(dc, &m_windowOrg);
    GetViewportOrgEx(dc, &m_initialViewport);
    RECT box{0, 0, 0, 0};
    GetClipBox(dc, &box);
    // Surface coordinates are logical ones with the viewport origin at 0.
    InitClip(Rect{int32_t(box.left + m_initialViewport.x), int32_t(box.top + m_initialViewport.y),
                  int32_t(box.right - box.left), int32_t(box.bottom - box.top)});
}

GdiGraphicsContext::~GdiGraphicsContext() {
    ReleaseSelections();
    if (m_scratch)
        DeleteDC(m_scratch);
    if (m_clipChanged) {
        SelectClipRgn(m_dc, m_initialClip); // null removes the clip again
        if (m_initialClip)
            DeleteObject(m_initialClip);
    }
    if (m_originChanged)
        SetViewportOrgEx(m_dc, m_initialViewport.x, m_initialViewport.y, nullptr);
}

NativeHandle GdiGraphicsContext::SelectHandle(ObjectKind kind, NativeHandle handle) {
    if (!handle)
        handle = GetStockObject(kind == ObjectKind::Pen ? NULL_PEN : kind == ObjectKind::Brush ? NULL_BRUSH : SYSTEM_FONT);
    return SelectObject(m_dc, static_cast<HGDIOBJ>(handle));
}

NativeHandle GdiGraphicsContext::CurrentHandle(ObjectKind kind) {
    return GetCurrentObject(m_dc, kind == ObjectKind::Pen ? OBJ_PEN : kind == ObjectKind::Brush ? OBJ_BRUSH : OBJ_FONT);
}

void GdiGraphicsContext::PlatformPolyline(const Point* points, int32_t count) {
    static_assert(sizeof(Point) == sizeof(POINT), "Point and POINT share a layout");
    Polyline(m_dc, reinterpret_cast<const POINT*>(points), count);
}

void GdiGraphicsContext::PlatformRectangle(const Rect& r) {
    Rectangle(m_dc, r.x, r.y, int(r.Right()), int(r.Bottom()));
}

void GdiGraphicsContext::PlatformEllipse(const Rect& r) { Ellipse(m_dc, r.x, r.y, int(r.Right()), int(r.Bottom())); }

void GdiGraphicsContext::PlatformPolygon(const Point* points, int32_t count) {
    Polygon(m_dc, reinterpret_cast<const POINT*>(points), count);
}

void GdiGraphicsContext::PlatformFillRect(const Rect& r, NativeHandle brush) {
    RECT rc{r.x, r.y, LONG(r.Right()), LONG(r.Bottom())};
    ::FillRect(m_dc, &rc, static_cast<HBRUSH>(brush));
}

void GdiGraphicsContext::PlatformFillRegion(const Region& region, NativeHandle brush) {
    HRGN rgn = MakeGdiRegion(region, 0, 0);
    FillRgn(m_dc, rgn, static_cast<HBRUSH>(brush));
    DeleteObject(rgn);
}

void GdiGraphicsContext::PlatformFrameRegion(const Region& region, NativeHandle brush) {
    HRGN rgn = MakeGdiRegion(region, 0, 0);
    FrameRgn(m_dc, rgn, static_cast<HBRUSH>(brush), 1, 1);
    DeleteObject(rgn);
}

void GdiGraphicsContext::PlatformTextOut(Point p, const char* text, int32_t length) {
    TextOutA(m_dc, p.x, p.y, text, length);
}

bool GdiGraphicsContext::PlatformDrawText(const char* text, int32_t length, Rect& r, uint32_t format) {
    RECT rc{r.x, r.y, LONG(r.Right()), LONG(r.Bottom())};
    int height = DrawTextA(m_dc, text, length, &rc, format);
    if (format & kTextCalcRect) {
        r = Rect{int32_t(rc.left), int32_t(rc.top), int32_t(rc.right - rc.left), int32_t(rc.bottom - rc.top)};
    }
    return height != 0;
}

bool GdiGraphicsContext::PlatformTextExtent(const char* text, int32_t length, Size& size) {
    SIZE s{0, 0};
    if (!GetTextExtentPoint32A(m_dc, text, length, &s))
        return false;
    size = Size{int32_t(s.cx), int32_t(s.cy)};
    return true;
}

Color GdiGraphicsContext::PlatformGetTextColor() { return Color(::GetTextColor(m_dc)); }
void GdiGraphicsContext::PlatformSetTextColor(Color color) { ::SetTextColor(m_dc, COLORREF(color)); }

bool GdiGraphicsContext::PlatformSetTransparentText(bool transparent) {
    return SetBkMode(m_dc, transparent ? TRANSPARENT : OPAQUE) == TRANSPARENT;
}

int32_t GdiGraphicsContext::PlatformGetTextAlign() {
    UINT align = GetTextAlign(m_dc);
    return align == GDI_ERROR ? -1 : int32_t(align);
}

void GdiGraphicsContext::PlatformSetTextAlign(int32_t align) { SetTextAlign(m_dc, UINT(align)); }

void GdiGraphicsContext::PlatformSetRasterOp(RasterOp op) {
    int rop = R2_COPYPEN;
    switch (op) {
    case RasterOp::Merge: rop = R2_MERGEPEN; break;
    case RasterOp::Mask: rop = R2_MASKPEN; break;
    case RasterOp::Invert: rop = R2_XORPEN; break;
    case RasterOp::Copy: break;
    }
    SetROP2(m_dc, rop);
}

void GdiGraphicsContext::PlatformSetOrigin(Point origin) {
    m_originChanged = true;
    SetViewportOrgEx(m_dc, origin.x, origin.y, nullptr);
}

void GdiGraphicsContext::PlatformSetClip(const Region& clip) {
    if (!m_clipChanged) {
        m_clipChanged = true;
        HRGN saved = CreateRectRgn(0, 0, 0, 0);
        if (GetClipRgn(m_dc, saved) == 1) {
            m_initialClip = saved;
        } else {
            DeleteObject(saved);
        }
    }
    // Clip regions are in device coordinates.
    HRGN rgn = MakeGdiRegion(clip, -m_windowOrg.x, -m_windowOrg.y);
    SelectClipRgn(m_dc, rgn);
    DeleteObject(rgn);
}

// ---- images -----------------------------------------------------------------------

HDC GdiGraphicsContext::SelectImage(const ImageRef& image) {
    if (!image.bitmap)
        return nullptr;
    if (!m_scratch) {
        m_scratch = CreateCompatibleDC(m_dc);
        if (!m_scratch)
            return nullptr;
    }
    m_scratchOriginal = SelectObject(m_scratch, static_cast<HGDIOBJ>(image.bitmap));
    return m_scratch;
}

// A bitmap can be selected into one surface at a time: give it back at once.
void GdiGraphicsContext::DeselectImage() {
    if (m_scratch && m_scratchOriginal)
        SelectObject(m_scratch, m_scratchOriginal);
    m_scratchOriginal = nullptr;
}

void GdiGraphicsContext::BlitImage(Point dest, const ImageRef& image, const Rect& source, RasterOp op) {
    HDC src = SelectImage(image);
    if (!src)
        return;
    DWORD rop = SRCCOPY;
    switch (op) {
    case RasterOp::Merge: rop = SRCPAINT; break;
    case RasterOp::Mask: rop = SRCAND; break;
    case RasterOp::Invert: rop = SRCINVERT; break;
    case RasterOp::Copy: break;
    }
    BitBlt(m_dc, dest.x, dest.y, source.width, source.height, src, source.x, source.y, rop);
    DeselectImage();
}

void GdiGraphicsContext::StretchImage(const Rect& dest, const ImageRef& image, const Rect& source) {
    HDC src = SelectImage(image);
    if (!src)
        return;
    StretchBlt(m_dc, dest.x, dest.y, dest.width, dest.height, src, source.x, source.y, source.width, source.height,
               SRCCOPY);
    DeselectImage();
}

void GdiGraphicsContext::BlendImage(const Rect& dest, const ImageRef& image, const Rect& source, uint8_t opacity,
                                    bool perPixelAlpha) {
    if (dest.IsEmpty() || source.IsEmpty())
        return;
    HDC src = SelectImage(image);
    if (!src)
        return;
    if (!perPixelAlpha && opacity == 255 && dest.width == source.width && dest.height == source.height) {
        // Nothing to blend: a copy gives the same pixels, much sooner.
        BitBlt(m_dc, dest.x, dest.y, dest.width, dest.height, src, source.x, source.y, SRCCOPY);
        DeselectImage();
        return;
    }
    BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, BYTE(perPixelAlpha ? AC_SRC_ALPHA : 0)};
    AlphaBlend(m_dc, dest.x, dest.y, dest.width, dest.height, src, source.x, source.y, source.width, source.height,
               blend);
    DeselectImage();
}

// ---- antialiased shapes ---------------------------------------------------------------

// GDI+ draws the shape into a premultiplied layer of its own, which is then
// blended like an image: the same antialiasing whatever GDI+ would do with
// the surface, and the surface's origin and clip apply as usual.
template <class Draw>
void GdiGraphicsContext::Smooth(const Rect& bounds, Draw draw) {
    const Rect area{bounds.x - 1, bounds.y - 1, bounds.width + 2, bounds.height + 2};
    if (bounds.IsEmpty() || area.width > 4096 || area.height > 4096)
        return;
    GdiplusInitialiser running;
    if (!GdiplusInitialiser::IsRunning())
        return;
    std::unique_ptr<DibSurface> layer = DibSurface::Create(area.width, area.height, 32);
    if (!layer)
        return;
    std::memset(layer->Pixels(), 0, size_t(layer->Stride()) * size_t(area.height)); // transparent
    {
        Gdiplus::Bitmap bitmap(area.width, area.height, layer->Stride(), PixelFormat32bppPARGB, layer->Pixels());
        Gdiplus::Graphics g(&bitmap);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.TranslateTransform(Gdiplus::REAL(-area.x), Gdiplus::REAL(-area.y));
        draw(g);
        g.Flush(Gdiplus::FlushIntentionSync);
    }
    GdiFlush();
    BlendImage(area, ImageRef{layer->NativeHandle(), layer.get(), area.width, area.height},
               Rect{0, 0, area.width, area.height}, 255, true);
}

namespace {
Gdiplus::Color ToGdiplus(Color c) { return Gdiplus::Color(255, RedOf(c), GreenOf(c), BlueOf(c)); }
} // namespace

void GdiGraphicsContext::FillEllipseSmooth(const Rect& r, Color color) {
    Smooth(r, [&](Gdiplus::Graphics& g) {
        Gdiplus::SolidBrush brush(ToGdiplus(color));
        g.FillEllipse(&brush, r.x, r.y, r.width, r.height);
    });
}

void GdiGraphicsContext::DrawEllipseSmooth(const Rect& r, Color color) {
    Smooth(r, [&](Gdiplus::Graphics& g) {
        Gdiplus::Pen pen(ToGdiplus(color), 1.0f);
        g.DrawEllipse(&pen, r.x, r.y, r.width - 1, r.height - 1);
    });
}

void GdiGraphicsContext::DrawRoundRectSmooth(const Rect& r, int32_t radius, Color color) {
    Smooth(r, [&](Gdiplus::Graphics& g) {
        Gdiplus::Pen pen(ToGdiplus(color), 1.0f);
        const Gdiplus::REAL x = Gdiplus::REAL(r.x), y = Gdiplus::REAL(r.y);
        const Gdiplus::REAL w = Gdiplus::REAL(r.width - 1), h = Gdiplus::REAL(r.height - 1);
        Gdiplus::REAL d = Gdiplus::REAL(2 * radius);
        if (d > w)
            d = w;
        if (d > h)
            d = h;
        Gdiplus::GraphicsPath path;
        if (d <= 0) {
            path.AddRectangle(Gdiplus::RectF(x, y, w, h));
        } else {
            path.AddArc(x, y, d, d, 180, 90);
            path.AddArc(x + w - d, y, d, d, 270, 90);
            path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
            path.AddArc(x, y + h - d, d, d, 90, 90);
            path.CloseFigure();
        }
        g.DrawPath(&pen, &path);
    });
}

} // namespace Corvell
