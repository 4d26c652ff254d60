#include "shared/Graphics/GraphicsContext.h"

#include "shared/Graphics/Bitmap.h"

#include <cstring>

namespace Corvell {

RasterOp RasterOpOfMode(int32_t mode) {
    switch (mode) {
    case 1: return RasterOp::Merge;
    case 2: return RasterOp::Mask;
    case 3: return RasterOp::Invert;
    default: return RasterOp::Copy;
    }
}

uint32_t DrawTextFormat(uint32_t format) {
    format |= kTextNoPrefix;
    if (format & (kTextVCenter | kTextBottom))
        format |= kTextSingleLine;
    return format;
}

uint32_t MeasureTextFormat(uint32_t format) { return format | kTextCalcRect | kTextNoPrefix | kTextSingleLine; }

GraphicsContext::GraphicsContext() = default;

GraphicsContext::~GraphicsContext() {
    // Derived contexts have already put the surface's objects back; this
    // only drops references (a context without a surface selected nothing).
}

NativeHandle& GraphicsContext::Original(ObjectKind kind) { return m_originals[int(kind)]; }

void GraphicsContext::Select(ObjectKind kind, NativeHandle handle) {
    const int k = int(kind);
    if (!handle) {
        // No object (or one the platform could not make): the surface's own.
        if (!m_replaced[k])
            return;
        handle = m_originals[k];
    }
    NativeHandle previous = SelectHandle(kind, handle);
    if (!m_replaced[k]) {
        m_originals[k] = previous;
        m_replaced[k] = true;
    }
}

void GraphicsContext::ReleaseSelections() {
    for (ObjectKind kind : {ObjectKind::Pen, ObjectKind::Brush, ObjectKind::Font}) {
        const int k = int(kind);
        if (m_replaced[k]) {
            SelectHandle(kind, m_originals[k]);
            m_replaced[k] = false;
        }
    }
    m_pen.Reset();
    m_brush.Reset();
    m_font.Reset();
}

Ref<Pen> GraphicsContext::SetPen(Pen* pen) {
    Ref<Pen> previous = m_pen;
    m_pen = pen;
    Select(ObjectKind::Pen, pen ? pen->Handle() : nullptr);
    return previous;
}

Ref<Brush> GraphicsContext::SetBrush(Brush* brush) {
    Ref<Brush> previous = m_brush;
    m_brush = brush;
    Select(ObjectKind::Brush, brush ? brush->Handle() : nullptr);
    return previous;
}

Font* GraphicsContext::GetFont() { return m_font.Get(); }

void GraphicsContext::SetFont(Font* font) {
    Ref<Font> previous = m_font; // released only after the new one is selected
    m_font = font;
    Select(ObjectKind::Font, font ? font->Handle() : nullptr);
}

Ref<Font> GraphicsContext::SetFontReturningOld(Font* font) {
    Ref<Font> previous = m_font;
    SetFont(font);
    return previous;
}

// ---- lines and shapes -------------------------------------------------------

void GraphicsContext::DrawLine(Point p1, Point p2, Pen& pen) {
    NativeHandle previous = SelectHandle(ObjectKind::Pen, pen.Handle());
    GraphicsContext::DrawLine(p1, p2);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::DrawLine(Point p1, Point p2, Color color) {
    Pen pen(color);
    GraphicsContext::DrawLine(p1, p2, pen);
}

void GraphicsContext::DrawLine(Point p1, Point p2) {
    const Point points[2] = {p1, p2};
    PlatformPolyline(points, 2);
}

void GraphicsContext::DrawPolyline(const Point* points, int32_t count) {
    if (points && count >= 2)
        PlatformPolyline(points, count);
}

void GraphicsContext::DrawRect(const Rect& r, Pen& pen) {
    NativeHandle previous = SelectHandle(ObjectKind::Pen, pen.Handle());
    GraphicsContext::DrawRect(r);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::DrawRect(const Rect& r, Color color) {
    Pen pen(color);
    GraphicsContext::DrawRect(r, pen);
}

void GraphicsContext::DrawRect(const Rect& r) {
    NativeHandle previous = SelectHandle(ObjectKind::Brush, nullptr);
    PlatformRectangle(r);
    SelectHandle(ObjectKind::Brush, previous);
}

void GraphicsContext::FillRect(const Rect& r, Brush& brush) { PlatformFillRect(r, brush.Handle()); }

void GraphicsContext::FillRect(const Rect& r, Color color) {
    Brush brush(color);
    PlatformFillRect(r, brush.Handle());
}

void GraphicsContext::FillRect(const Rect& r) { PlatformFillRect(r, CurrentHandle(ObjectKind::Brush)); }

void GraphicsContext::DrawEllipse(const Rect& r, Pen& pen) {
    NativeHandle previous = SelectHandle(ObjectKind::Pen, pen.Handle());
    GraphicsContext::DrawEllipse(r);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::DrawEllipse(const Rect& r, Color color) {
    Pen pen(color);
    GraphicsContext::DrawEllipse(r, pen);
}

void GraphicsContext::DrawEllipse(const Rect& r) {
    NativeHandle previous = SelectHandle(ObjectKind::Brush, nullptr);
    PlatformEllipse(r);
    SelectHandle(ObjectKind::Brush, previous);
}

void GraphicsContext::FillEllipse(const Rect& r, Brush& brush) {
    NativeHandle previous = SelectHandle(ObjectKind::Brush, brush.Handle());
    GraphicsContext::FillEllipse(r);
    SelectHandle(ObjectKind::Brush, previous);
}

void GraphicsContext::FillEllipse(const Rect& r, Color color) {
    Brush brush(color);
    GraphicsContext::FillEllipse(r, brush);
}

void GraphicsContext::FillEllipse(const Rect& r) {
    NativeHandle previous = SelectHandle(ObjectKind::Pen, nullptr);
    PlatformEllipse(r);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::DrawPolygon(const Point* points, int32_t count, Pen& pen) {
    NativeHandle previous = SelectHandle(ObjectKind::Pen, pen.Handle());
    GraphicsContext::DrawPolygon(points, count);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::DrawPolygon(const Point* points, int32_t count) {
    if (!points || count < 2)
        return;
    NativeHandle previous = SelectHandle(ObjectKind::Brush, nullptr);
    PlatformPolygon(points, count);
    SelectHandle(ObjectKind::Brush, previous);
}

void GraphicsContext::FillPolygon(const Point* points, int32_t count, Brush& brush) {
    NativeHandle previous = SelectHandle(ObjectKind::Brush, brush.Handle());
    GraphicsContext::FillPolygon(points, count);
    SelectHandle(ObjectKind::Brush, previous);
}

void GraphicsContext::FillPolygon(const Point* points, int32_t count) {
    if (!points || count < 3)
        return;
    NativeHandle previous = SelectHandle(ObjectKind::Pen, nullptr);
    PlatformPolygon(points, count);
    SelectHandle(ObjectKind::Pen, previous);
}

void GraphicsContext::FrameRegion(const Region& region, Pen& pen) {
    Brush brush(pen.GetColor());
    PlatformFrameRegion(region, brush.Handle());
}

void GraphicsContext::FrameRegion(const Region& region) {
    // Without a pen of its own the surface draws with black.
    Brush brush(m_pen ? m_pen->GetColor() : MakeColor(0, 0, 0));
    PlatformFrameRegion(region, brush.Handle());
}

void GraphicsContext::FillRegion(const Region& region, Brush& brush) { PlatformFillRegion(region, brush.Handle()); }

void GraphicsContext::FillRegion(const Region& region) {
    PlatformFillRegion(region, CurrentHandle(ObjectKind::Brush));
}

// ---- text -------------------------------------------------------------------

namespace {
int32_t TextLength(const char* text, int32_t length) {
    return length < 0 ? int32_t(std::strlen(text)) : length;
}
} // namespace

void GraphicsContext::DrawText(Point p, const char* text, int32_t length, Font& font) {
    if (!font.Handle()) {
        GraphicsContext::DrawText(p, text, length);
        return;
    }
    NativeHandle previous = SelectHandle(ObjectKind::Font, font.Handle());
    GraphicsContext::DrawText(p, text, length);
    SelectHandle(ObjectKind::Font, previous);
}

void GraphicsContext::DrawText(Point p, const char* text, int32_t length) {
    if (!text)
        return;
    length = TextLength(text, length);
    bool wasTransparent = PlatformSetTransparentText(true);
    int32_t align = PlatformGetTextAlign();
    PlatformSetTextAlign(kTextAlignBaselineLeft);
    PlatformTextOut(p, text, length);
    PlatformSetTransparentText(wasTransparent);
    if (align != -1)
        PlatformSetTextAlign(align);
}

void GraphicsContext::DrawText(const char* text, const Rect& r, uint32_t format, Font& font) {
    GraphicsContext::DrawText(text, -1, r, format, font);
}

void GraphicsContext::DrawText(const char* text, const Rect& r, uint32_t format) {
    GraphicsContext::DrawText(r, text, -1, format);
}

void GraphicsContext::DrawText(const char* text, int32_t length, const Rect& r, uint32_t format, Font& font) {
    if (!font.Handle()) {
        GraphicsContext::DrawText(r, text, length, format);
        return;
    }
    NativeHandle previous = SelectHandle(ObjectKind::Font, font.Handle());
    GraphicsContext::DrawText(r, text, length, format);
    SelectHandle(ObjectKind::Font, previous);
}

void GraphicsContext::DrawText(const Rect& r, const char* text, int32_t length, uint32_t format) {
    if (!text)
        return;
    Rect box = r;
    PlatformDrawText(text, TextLength(text, length), box, DrawTextFormat(format));
}

Size GraphicsContext::MeasureText(const char* text, int32_t length) {
    Size size;
    if (!text)
        return size;
    if (!PlatformTextExtent(text, TextLength(text, length), size))
        return Size();
    return size;
}

Rect GraphicsContext::MeasureText(const char* text, Font& font, uint32_t format) {
    if (!font.Handle())
        return GraphicsContext::MeasureText(text, format);
    NativeHandle previous = SelectHandle(ObjectKind::Font, font.Handle());
    Rect r = GraphicsContext::MeasureText(text, format);
    SelectHandle(ObjectKind::Font, previous);
    return r;
}

Rect GraphicsContext::MeasureText(const char* text, uint32_t format) {
    Rect r;
    if (!text)
        return r;
    if (!PlatformDrawText(text, TextLength(text, -1), r, MeasureTextFormat(format)))
        return Rect();
    return Rect{0, 0, r.width, r.height};
}

// ---- images -------------------------------------------------------------------

void GraphicsContext::DrawImage(Point p, Bitmap* image, const Rect& source) {
    if (image)
        image->Draw(*this, p, source, m_drawMode);
}

void GraphicsContext::DrawImage(Point p, Bitmap* image) {
    if (image)
        image->Draw(*this, p, Rect{0, 0, image->Width(), image->Height()}, m_drawMode);
}

void GraphicsContext::DrawImageScaled(const Rect& r, Bitmap* image) {
    if (image)
        image->DrawScaled(*this, r, Rect{0, 0, image->Width(), image->Height()});
}

// ---- state ---------------------------------------------------------------------

Color GraphicsContext::GetTextColor() { return PlatformGetTextColor() & 0x00ffffffu; }
void GraphicsContext::SetTextColor(Color color) { PlatformSetTextColor(color); }
int32_t GraphicsContext::GetDrawMode() { return m_drawMode; }

void GraphicsContext::SetDrawMode(int32_t mode) {
    m_drawMode = mode;
    PlatformSetRasterOp(RasterOpOfMode(mode));
}

void GraphicsContext::FillEllipseSmooth(const Rect& r, Color color) { GraphicsContext::FillEllipse(r, color); }
void GraphicsContext::DrawEllipseSmooth(const Rect& r, Color color) { GraphicsContext::DrawEllipse(r, color); }
void GraphicsContext::DrawRoundRectSmooth(const Rect& r, int32_t, Color color) { GraphicsContext::DrawRect(r, color); }

void GraphicsContext::SetOrigin(Point origin) {
    m_origin = origin;
    PlatformSetOrigin(origin);
}

void GraphicsContext::SetClip(const Region& clip) {
    m_clip = clip;
    PlatformSetClip(m_clip);
}

void GraphicsContext::IntersectClip(const Rect& r) {
    m_clip.Intersect(r);
    PlatformSetClip(m_clip);
}

void GraphicsContext::ExcludeClip(const Rect& r) {
    m_clip.Subtract(r);
    PlatformSetClip(m_clip);
}

} // namespace Corvell
