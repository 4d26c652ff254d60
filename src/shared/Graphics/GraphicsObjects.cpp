#include "shared/Graphics/GraphicsObjects.h"

#include "shared/Graphics/GraphicsContext.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Corvell {

namespace {

class NullBackend : public GraphicsBackend {
public:
    NativeHandle NewPen(Color) override { return nullptr; }
    NativeHandle NewBrush(Color) override { return nullptr; }
    NativeHandle NewFont(const FontDesc&) override { return nullptr; }
    void DeleteObject(NativeHandle) override {}
    int32_t ScreenDpiY() override { return 96; }
};

NullBackend g_nullBackend;
GraphicsBackend* g_backend = &g_nullBackend;

} // namespace

GraphicsBackend& GetGraphicsBackend() { return *g_backend; }
void SetGraphicsBackend(GraphicsBackend* backend) { g_backend = backend ? backend : &g_nullBackend; }

void FontDesc::SetFace(const char* name) {
    std::memset(face, 0, sizeof face);
    if (name)
        std::strncpy(face, name, sizeof face - 1);
}

void FontDesc::ApplySize(float size, int32_t unit, int32_t dpiY) {
    if (!(size > 0))
        return;
    if (unit == Font::Points)
        height = -int32_t(size * float(dpiY) / 72.0f + 0.5f);
    else
        height = -int32_t(size);
}

void FontDesc::ApplyStyle(int32_t style) {
    if (style == -1)
        return;
    weight = (style & 1) ? 700 : 400;
    italic = (style & 2) != 0;
    underline = (style & 4) != 0;
}

GraphicsBackend& NativeObject::Backend() {
    m_backend = &GetGraphicsBackend();
    return *m_backend;
}

NativeObject::~NativeObject() {
    if (m_handle)
        m_backend->DeleteObject(m_handle);
}

Pen::Pen(Color color) : m_color(color) { m_handle = Backend().NewPen(color); }

Brush::Brush(Color color) : m_color(color) { m_handle = Backend().NewBrush(color); }

const char* Font::FaceOfIndex(int32_t index) {
    switch (index) {
    case 0: return "Small Fonts";
    case 1: return "Tahoma";
    case 2: return "Times";
    default: return "";
    }
}

void Font::ParseSizeText(const char* text, float& size, int32_t& unit) {
    float number = 0;
    char word[16] = {};
    int read = text ? std::sscanf(text, "%f%15s", &number, word) : 0;
    size = read >= 1 ? number : 11.0f;
    unit = (read == 2 && std::strcmp(word, "pt") == 0) ? Points : Pixels;
}

int32_t Font::EscapementOf(float angle) {
    // Within one turn, so that any angle converts; one that is not a number draws level.
    if (!std::isfinite(angle))
        return 0;
    return int32_t(std::lround(std::fmod(double(angle), 360.0) * 10.0) % 3600);
}

void Font::Create() { m_handle = Backend().NewFont(m_desc); }

Font::Font(int32_t faceIndex, float size, int32_t style, int32_t unit) {
    m_desc.SetFace(FaceOfIndex(faceIndex));
    m_desc.ApplySize(size, unit, GetGraphicsBackend().ScreenDpiY());
    m_desc.ApplyStyle(style);
    Create();
}

Font::Font(const char* face, float size, int32_t style, int32_t unit) {
    m_desc.SetFace(face);
    m_desc.ApplySize(size, unit, GetGraphicsBackend().ScreenDpiY());
    m_desc.ApplyStyle(style);
    Create();
}

Font::Font(const char* sizeText, int32_t style) {
    float size;
    int32_t unit;
    ParseSizeText(sizeText, size, unit);
    m_desc.SetFace("Tahoma");
    m_desc.ApplySize(size, unit, GetGraphicsBackend().ScreenDpiY());
    m_desc.ApplyStyle(style);
    Create();
}

Font::Font(GraphicsContext& gc, float size, int32_t style, int32_t unit) {
    Font* current = gc.GetFont();
    if (!current)
        return;
    m_desc = current->Desc();
    m_desc.ApplySize(size, unit, GetGraphicsBackend().ScreenDpiY());
    m_desc.ApplyStyle(style);
    Create();
}

Font::Font(GraphicsContext& gc, int32_t style) {
    Font* current = gc.GetFont();
    if (!current)
        return;
    m_desc = current->Desc();
    m_desc.ApplyStyle(style);
    Create();
}

Font::Font(const char* face, float sizeInPoints, float angle) {
    m_desc.SetFace(face);
    m_desc.ApplySize(sizeInPoints, Points, GetGraphicsBackend().ScreenDpiY());
    m_desc.weight = 400;
    m_desc.escapement = m_desc.orientation = EscapementOf(angle);
    Create();
}

Font::Font(const FontDesc& desc) : m_desc(desc) { Create(); }

} // namespace Corvell
