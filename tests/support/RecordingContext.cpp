#include "RecordingContext.h"

#include <gtest/gtest.h>

namespace Corvell::Test {

// ---- RecordingBackend --------------------------------------------------------

RecordingBackend& RecordingBackend::Install() {
    static RecordingBackend* backend = new RecordingBackend();
    SetGraphicsBackend(backend);
    return *backend;
}

RecordingBackend::RecordingBackend() {
    Object o{Kind::Pen, 0, {}, true};
    m_stock[0] = Make(o);
    o.kind = Kind::Brush;
    o.color = MakeColor(255, 255, 255);
    m_stock[1] = Make(o);
    o.kind = Kind::Font;
    o.font.SetFace("System");
    m_stock[2] = Make(o);
    o.kind = Kind::Pen;
    m_stock[3] = Make(o);
    o.kind = Kind::Brush;
    m_stock[4] = Make(o);
    m_created = 0;
}

NativeHandle RecordingBackend::Make(const Object& o) {
    NativeHandle h = reinterpret_cast<NativeHandle>(m_next);
    m_next += 0x10;
    m_objects[h] = o;
    ++m_created;
    return h;
}

NativeHandle RecordingBackend::NewPen(Color color) { return Make(Object{Kind::Pen, color, {}, false}); }
NativeHandle RecordingBackend::NewBrush(Color color) { return Make(Object{Kind::Brush, color, {}, false}); }
NativeHandle RecordingBackend::NewFont(const FontDesc& desc) {
    Object o{Kind::Font, 0, desc, false};
    return Make(o);
}

void RecordingBackend::DeleteObject(NativeHandle handle) {
    auto it = m_objects.find(handle);
    if (it == m_objects.end()) {
        ADD_FAILURE() << "DeleteObject of an object that does not exist (deleted twice?)";
        return;
    }
    if (it->second.stock) {
        ADD_FAILURE() << "DeleteObject of a stock object";
        return;
    }
    if (SelectedCount(handle) > 0) {
        static const char* kinds[] = {"pen", "brush", "font"};
        ADD_FAILURE() << "a " << kinds[int(it->second.kind)]
                      << " is deleted while still selected into a surface (leaks on Windows)";
    }
    m_objects.erase(it);
}

const RecordingBackend::Object* RecordingBackend::Find(NativeHandle handle) const {
    auto it = m_objects.find(handle);
    return it == m_objects.end() ? nullptr : &it->second;
}

int32_t RecordingBackend::LiveObjects() const {
    int32_t n = 0;
    for (const auto& o : m_objects)
        if (!o.second.stock)
            ++n;
    return n;
}

void RecordingBackend::NoteSelected(NativeHandle handle, int delta) {
    int& n = m_selected[handle];
    n += delta;
    if (n == 0)
        m_selected.erase(handle);
}

int RecordingBackend::SelectedCount(NativeHandle handle) const {
    auto it = m_selected.find(handle);
    return it == m_selected.end() ? 0 : it->second;
}

// ---- RecordingContext -----------------------------------------------------------

RecordingContext::RecordingContext(const Rect& bounds) : m_backend(RecordingBackend::Install()) {
    m_selected[0] = m_backend.StockPen();
    m_selected[1] = m_backend.StockBrush();
    m_selected[2] = m_backend.StockFont();
    for (NativeHandle h : m_selected)
        m_backend.NoteSelected(h, +1);
    InitClip(bounds);
}

RecordingContext::~RecordingContext() {
    ReleaseSelections();
    const NativeHandle stock[3] = {m_backend.StockPen(), m_backend.StockBrush(), m_backend.StockFont()};
    for (int k = 0; k < 3; ++k) {
        if (m_selected[k] != stock[k])
            ADD_FAILURE() << "the context ends without the surface's own object selected (kind " << k << ")";
        m_backend.NoteSelected(m_selected[k], -1);
    }
}

NativeHandle RecordingContext::SelectHandle(ObjectKind kind, NativeHandle handle) {
    const int k = int(kind);
    if (!handle) {
        if (kind == ObjectKind::Font) {
            ADD_FAILURE() << "selecting a null font";
            return m_selected[k];
        }
        handle = kind == ObjectKind::Pen ? m_backend.NullPen() : m_backend.NullBrush();
    }
    const RecordingBackend::Object* o = m_backend.Find(handle);
    if (!o) {
        ADD_FAILURE() << "selecting an object that does not exist (already deleted?)";
        return m_selected[k];
    }
    if (int(o->kind) != k) {
        ADD_FAILURE() << "selecting an object of another kind";
        return m_selected[k];
    }
    NativeHandle previous = m_selected[k];
    m_backend.NoteSelected(handle, +1);
    m_backend.NoteSelected(previous, -1);
    m_selected[k] = handle;
    return previous;
}

NativeHandle RecordingContext::CurrentHandle(ObjectKind kind) { return m_selected[int(kind)]; }

DrawCall& RecordingContext::Record(const char* op) {
    DrawCall c;
    c.op = op;
    const RecordingBackend::Object* pen = m_backend.Find(m_selected[0]);
    c.hasPen = pen && m_selected[0] != m_backend.NullPen();
    c.penColor = pen ? pen->color : 0;
    const RecordingBackend::Object* brush = m_backend.Find(m_selected[1]);
    c.hasBrush = brush && m_selected[1] != m_backend.NullBrush();
    c.brushColor = brush ? brush->color : 0;
    if (const RecordingBackend::Object* font = m_backend.Find(m_selected[2]))
        c.font = font->font;
    c.textColor = m_textColor;
    c.textAlign = m_textAlign;
    c.transparentText = m_transparent;
    c.rop = m_rop;
    c.origin = GetOrigin();
    c.clip = GetClip();
    m_calls.push_back(c);
    return m_calls.back();
}

void RecordingContext::ResolveBrush(DrawCall& c, NativeHandle brush) {
    const RecordingBackend::Object* o = m_backend.Find(brush);
    if (!o || o->kind != RecordingBackend::Kind::Brush)
        ADD_FAILURE() << c.op << " with something that is not a live brush";
    c.hasBrush = o && brush != m_backend.NullBrush();
    c.brushColor = o ? o->color : 0;
}

std::vector<DrawCall> RecordingContext::CallsOf(const std::string& op) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : m_calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

void RecordingContext::PlatformPolyline(const Point* points, int32_t count) {
    Record("Polyline").points.assign(points, points + count);
}
void RecordingContext::PlatformRectangle(const Rect& r) { Record("Rectangle").rect = r; }
void RecordingContext::PlatformEllipse(const Rect& r) { Record("Ellipse").rect = r; }
void RecordingContext::PlatformPolygon(const Point* points, int32_t count) {
    Record("Polygon").points.assign(points, points + count);
}
void RecordingContext::PlatformFillRect(const Rect& r, NativeHandle brush) {
    DrawCall& c = Record("FillRect");
    c.rect = r;
    ResolveBrush(c, brush);
}
void RecordingContext::PlatformFillRegion(const Region& region, NativeHandle brush) {
    DrawCall& c = Record("FillRegion");
    c.region = region;
    ResolveBrush(c, brush);
}
void RecordingContext::PlatformFrameRegion(const Region& region, NativeHandle brush) {
    DrawCall& c = Record("FrameRegion");
    c.region = region;
    ResolveBrush(c, brush);
}

int32_t RecordingContext::FontHeight() const {
    const RecordingBackend::Object* font = m_backend.Find(m_selected[2]);
    int32_t h = font ? font->font.height : 0;
    h = h < 0 ? -h : h;
    return h ? h : 13;
}

void RecordingContext::PlatformTextOut(Point p, const char* text, int32_t length) {
    DrawCall& c = Record("TextOut");
    c.points = {p};
    c.text.assign(text, size_t(length));
}

bool RecordingContext::PlatformDrawText(const char* text, int32_t length, Rect& r, uint32_t format) {
    if (format & kTextCalcRect) {
        r.width = 7 * length;
        r.height = FontHeight();
        return true;
    }
    DrawCall& c = Record("DrawText");
    c.rect = r;
    c.text.assign(text, size_t(length));
    c.format = format;
    return true;
}

bool RecordingContext::PlatformTextExtent(const char*, int32_t length, Size& size) {
    size.width = 7 * length;
    size.height = FontHeight();
    return true;
}

bool RecordingContext::PlatformSetTransparentText(bool transparent) {
    bool previous = m_transparent;
    m_transparent = transparent;
    return previous;
}

void RecordingContext::BlitImage(Point dest, const ImageRef& image, const Rect& source, RasterOp op) {
    DrawCall& c = Record("Blit");
    c.rect = Rect{dest.x, dest.y, source.width, source.height};
    c.source = source;
    c.rop = op;
    c.bitmap = image.bitmap;
    c.surface = image.surface;
}

void RecordingContext::StretchImage(const Rect& dest, const ImageRef& image, const Rect& source) {
    DrawCall& c = Record("Stretch");
    c.rect = dest;
    c.source = source;
    c.bitmap = image.bitmap;
    c.surface = image.surface;
}

void RecordingContext::BlendImage(const Rect& dest, const ImageRef& image, const Rect& source, uint8_t opacity,
                                  bool perPixelAlpha) {
    DrawCall& c = Record("Blend");
    c.rect = dest;
    c.source = source;
    c.bitmap = image.bitmap;
    c.surface = image.surface;
    c.opacity = opacity;
    c.perPixelAlpha = perPixelAlpha;
}

} // namespace Corvell::Test
