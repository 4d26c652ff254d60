#pragma once
#include "shared/Graphics/Color.h"
#include "ui/core/Ref.h"
#include "ui/core/RefCounted.h"

#include <cstdint>

namespace Corvell {

class GraphicsContext;

// A platform drawing object (pen, brush, font, bitmap); null when absent.
using NativeHandle = void*;

// Pens, brushes, fonts and images: heap objects counted from 0, held
// through Ref and deleted with the last reference.
class GraphicsObject : public CountedObject<RefCounted> {
public:
    GraphicsObject(const GraphicsObject&) = delete;
    GraphicsObject& operator=(const GraphicsObject&) = delete;

protected:
    GraphicsObject() = default;
};

// The logical description a font is created from.
struct FontDesc {
    int32_t height = 0; // negative: character height in pixels; 0: platform's choice
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    int32_t escapement = 0; // tenths of a degree
    int32_t orientation = 0;
    uint8_t quality = 5; // ClearType
    char face[32] = {};  // at most 31 characters; empty: the platform's default face

    void SetFace(const char* name);
    // Size s > 0 in points (unit 1) or pixels (unit 0); s <= 0 leaves the height.
    void ApplySize(float size, int32_t unit, int32_t dpiY);
    // Bit 0x1 bold, 0x2 italic, 0x4 underline; -1 leaves all three.
    void ApplyStyle(int32_t style);
};

// Creates and deletes platform drawing objects: GDI on Windows, a
// recording fake in tests, nothing at all (null handles) by default.
class GraphicsBackend {
public:
    virtual ~GraphicsBackend() = default;
    virtual NativeHandle NewPen(Color color) = 0;
    virtual NativeHandle NewBrush(Color color) = 0;
    virtual NativeHandle NewFont(const FontDesc& desc) = 0;
    virtual void DeleteObject(NativeHandle handle) = 0;
    virtual int32_t ScreenDpiY() = 0;
};

// The installed backend; null restores the default one.
GraphicsBackend& GetGraphicsBackend();
void SetGraphicsBackend(GraphicsBackend* backend);

// Pen, Brush and Font own their platform object and delete it when the
// last reference goes; each remembers the backend that made it.
class NativeObject : public GraphicsObject {
public:
    ~NativeObject() override;
    NativeHandle Handle() const { return m_handle; }

protected:
    NativeObject() = default;
    // Takes the backend installed now, which will also delete the handle.
    GraphicsBackend& Backend();

    NativeHandle m_handle = nullptr;

private:
    GraphicsBackend* m_backend = nullptr;
};

class Pen : public NativeObject {
public:
    explicit Pen(Color color); // solid, width 1
    Color GetColor() const { return m_color; }

private:
    Color m_color;
};

class Brush : public NativeObject {
public:
    explicit Brush(Color color); // solid
    Color GetColor() const { return m_color; }

private:
    Color m_color;
};

class Font : public NativeObject {
public:
    enum Unit { Pixels = 0, Points = 1 };

    // 0 "Small Fonts", 1 "Tahoma", 2 "Times", other: the platform's default face.
    Font(int32_t faceIndex, float size, int32_t style, int32_t unit);
    Font(const char* face, float size, int32_t style, int32_t unit);
    // "9pt" is 9 points; "11px", "11" and "" are 11 pixels. Face "Tahoma".
    Font(const char* sizeText, int32_t style);
    // From the context's current font; no font when it has none.
    Font(GraphicsContext& gc, float size, int32_t style, int32_t unit);
    Font(GraphicsContext& gc, int32_t style);
    // Rotated text: angle in degrees, normal weight.
    Font(const char* face, float sizeInPoints, float angle);
    explicit Font(const FontDesc& desc);

    const FontDesc& Desc() const { return m_desc; }

    // The face of an index of the first constructor ("" for the default face).
    static const char* FaceOfIndex(int32_t index);
    // Tenths of a degree of an angle in degrees, within (-3600, 3600).
    static int32_t EscapementOf(float angle);
    // The size and unit "%f%15s" reads from a size text.
    static void ParseSizeText(const char* text, float& size, int32_t& unit);

private:
    void Create();

    FontDesc m_desc;
};

} // namespace Corvell
