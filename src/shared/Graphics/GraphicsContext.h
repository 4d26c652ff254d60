#pragma once
#include "shared/Graphics/Color.h"
#include "shared/Graphics/Geometry.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Region.h"

#include <cstdint>

namespace Corvell {

class Bitmap;
class PixelSurface;

struct Size {
    int32_t width = 0;
    int32_t height = 0;
};

// Raster operations of lines, fills and image copies.
enum class RasterOp { Copy, Merge, Mask, Invert };

// The draw modes: 0 copy, 1 merge (OR), 2 mask (AND), 3 invert (XOR); others copy.
RasterOp RasterOpOfMode(int32_t mode);

// Text layout bits of DrawText, as the platform defines them.
enum TextFormat : uint32_t {
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextSingleLine = 0x20,
    kTextCalcRect = 0x400,
    kTextNoPrefix = 0x800,
};
// The flags the context adds: always no-prefix; single line with vertical layout.
uint32_t DrawTextFormat(uint32_t format);
uint32_t MeasureTextFormat(uint32_t format);

// An image as the platform draws it: its platform bitmap and/or pixels.
struct ImageRef {
    NativeHandle bitmap = nullptr;
    const PixelSurface* surface = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// Draws on one platform surface. The platform part is the protected
// primitives below; the rules of the operations (temporary objects,
// selecting and restoring, text flags, draw modes) live here.
//
// Objects selected into the surface are never deleted there: the context
// selects the replacement, or the surface's original object, before it
// lets go of the old one. A derived destructor must call ReleaseSelections().
class GraphicsContext {
public:
    GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // 1-3
    virtual void DrawLine(Point p1, Point p2, Pen& pen);
    virtual void DrawLine(Point p1, Point p2, Color color);
    virtual void DrawLine(Point p1, Point p2);
    // 4
    virtual void DrawPolyline(const Point* points, int32_t count);
    // 5-7
    virtual void DrawRect(const Rect& r, Pen& pen);
    virtual void DrawRect(const Rect& r, Color color);
    virtual void DrawRect(const Rect& r);
    // 8-10
    virtual void FillRect(const Rect& r, Brush& brush);
    virtual void FillRect(const Rect& r, Color color);
    virtual void FillRect(const Rect& r);
    // 11-13
    virtual void DrawEllipse(const Rect& r, Pen& pen);
    virtual void DrawEllipse(const Rect& r, Color color);
    virtual void DrawEllipse(const Rect& r);
    // 14-16
    virtual void FillEllipse(const Rect& r, Brush& brush);
    virtual void FillEllipse(const Rect& r, Color color);
    virtual void FillEllipse(const Rect& r);
    // 17-20
    virtual void DrawPolygon(const Point* points, int32_t count, Pen& pen);
    virtual void DrawPolygon(const Point* points, int32_t count);
    virtual void FillPolygon(const Point* points, int32_t count, Brush& brush);
    virtual void FillPolygon(const Point* points, int32_t count);
    // 21-24
    virtual void FrameRegion(const Region& region, Pen& pen);
    virtual void FrameRegion(const Region& region);
    virtual void FillRegion(const Region& region, Brush& brush);
    virtual void FillRegion(const Region& region);
    // 25-30
    virtual void DrawText(Point p, const char* text, int32_t length, Font& font);
    virtual void DrawText(Point p, const char* text, int32_t length);
    virtual void DrawText(const char* text, const Rect& r, uint32_t format, Font& font);
    virtual void DrawText(const char* text, const Rect& r, uint32_t format);
    virtual void DrawText(const char* text, int32_t length, const Rect& r, uint32_t format, Font& font);
    virtual void DrawText(const Rect& r, const char* text, int32_t length, uint32_t format);
    // 31-33
    virtual Size MeasureText(const char* text, int32_t length);
    virtual Rect MeasureText(const char* text, Font& font, uint32_t format);
    virtual Rect MeasureText(const char* text, uint32_t format);
    // 34-36
    virtual void DrawImage(Point p, Bitmap* image, const Rect& source);
    virtual void DrawImage(Point p, Bitmap* image);
    virtual void DrawImageScaled(const Rect& r, Bitmap* image);
    // 37-42
    virtual Color GetTextColor();
    virtual void SetTextColor(Color color);
    virtual int32_t GetDrawMode();
    virtual void SetDrawMode(int32_t mode);
    virtual Font* GetFont();
    virtual void SetFont(Font* font);
    // 43
    virtual ~GraphicsContext();

    // Antialiased shapes (GDI+ on Windows; plain shapes where there is none).
    virtual void FillEllipseSmooth(const Rect& r, Color color);
    virtual void DrawEllipseSmooth(const Rect& r, Color color);
    virtual void DrawRoundRectSmooth(const Rect& r, int32_t radius, Color color);

    // Pane origins and clipping. The origin moves what is drawn; clip
    // rectangles are in surface coordinates, whatever the origin.
    Point GetOrigin() const { return m_origin; }
    void SetOrigin(Point origin);
    const Region& GetClip() const { return m_clip; }
    void SetClip(const Region& clip);
    void IntersectClip(const Rect& r);
    void ExcludeClip(const Rect& r);
    bool IsVisible(const Rect& r) const { return m_clip.Intersects(r); }

    // The previous object is returned with a reference of its own.
    Ref<Pen> SetPen(Pen* pen);
    Ref<Brush> SetBrush(Brush* brush);
    Ref<Font> SetFontReturningOld(Font* font);
    Pen* GetPen() const { return m_pen.Get(); }
    Brush* GetBrush() const { return m_brush.Get(); }

    // Image transfers, used by the images; local coordinates.
    virtual void BlitImage(Point dest, const ImageRef& image, const Rect& source, RasterOp op) = 0;
    virtual void StretchImage(const Rect& dest, const ImageRef& image, const Rect& source) = 0;
    // Source-over blend with a constant opacity, and the image's own alpha
    // (premultiplied) when perPixelAlpha.
    virtual void BlendImage(const Rect& dest, const ImageRef& image, const Rect& source, uint8_t opacity,
                            bool perPixelAlpha) = 0;

protected:
    enum class ObjectKind { Pen, Brush, Font };
    static constexpr int32_t kTextAlignBaselineLeft = 24;

    // Selects a handle (null: the stock null pen or brush) and returns the previous one.
    virtual NativeHandle SelectHandle(ObjectKind kind, NativeHandle handle) = 0;
    virtual NativeHandle CurrentHandle(ObjectKind kind) = 0;
    virtual void PlatformPolyline(const Point* points, int32_t count) = 0;
    virtual void PlatformRectangle(const Rect& r) = 0;
    virtual void PlatformEllipse(const Rect& r) = 0;
    virtual void PlatformPolygon(const Point* points, int32_t count) = 0;
    virtual void PlatformFillRect(const Rect& r, NativeHandle brush) = 0;
    virtual void PlatformFillRegion(const Region& region, NativeHandle brush) = 0;
    virtual void PlatformFrameRegion(const Region& region, NativeHandle brush) = 0;
    virtual void PlatformTextOut(Point p, const char* text, int32_t length) = 0;
    // Returns false on failure; with kTextCalcRect it updates r.
    virtual bool PlatformDrawText(const char* text, int32_t length, Rect& r, uint32_t format) = 0;
    virtual bool PlatformTextExtent(const char* text, int32_t length, Size& size) = 0;
    virtual Color PlatformGetTextColor() = 0;
    virtual void PlatformSetTextColor(Color color) = 0;
    // Returns the previous mode (true: transparent).
    virtual bool PlatformSetTransparentText(bool transparent) = 0;
    // -1 when the alignment cannot be read.
    virtual int32_t PlatformGetTextAlign() = 0;
    virtual void PlatformSetTextAlign(int32_t align) = 0;
    virtual void PlatformSetRasterOp(RasterOp op) = 0;
    virtual void PlatformSetOrigin(Point origin) = 0;
    virtual void PlatformSetClip(const Region& clip) = 0;

    // Where drawing is allowed at first; called once by the derived constructor.
    void InitClip(const Rect& bounds) { m_clip = Region(bounds); }
    // Puts the surface's own pen, brush and font back and drops the context's references.
    void ReleaseSelections();

private:
    // Remembers the surface's own object the first time its kind is replaced.
    void Select(ObjectKind kind, NativeHandle handle);
    NativeHandle& Original(ObjectKind kind);

    Ref<Pen> m_pen;
    Ref<Brush> m_brush;
    Ref<Font> m_font;
    int32_t m_drawMode = 0;
    NativeHandle m_originals[3] = {};
    bool m_replaced[3] = {};
    Point m_origin;
    Region m_clip;
};

// Selects a font for as long as it lives, then gives the previous one back:
// a pane's whole subtree paints in that font.
class FontScope {
public:
    FontScope(GraphicsContext& gc, Font* font) : m_gc(gc), m_previous(gc.SetFontReturningOld(font)) {}
    ~FontScope() { m_gc.SetFont(m_previous.Get()); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    GraphicsContext& m_gc;
    Ref<Font> m_previous;
};

} // namespace Corvell
