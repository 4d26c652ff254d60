#pragma once
#include "shared/Graphics/GraphicsContext.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Corvell::Test {

// Platform objects for tests: handles are numbers, and deleting an object
// that a RecordingContext still has selected fails the running test, as it
// leaks the object on Windows.
class RecordingBackend : public GraphicsBackend {
public:
    enum class Kind { Pen, Brush, Font };
    struct Object {
        Kind kind;
        Color color = 0;
        FontDesc font;
        bool stock = false;
    };

    // Installs the process-wide instance (idempotent) and returns it.
    static RecordingBackend& Install();

    NativeHandle NewPen(Color color) override;
    NativeHandle NewBrush(Color color) override;
    NativeHandle NewFont(const FontDesc& desc) override;
    void DeleteObject(NativeHandle handle) override;
    int32_t ScreenDpiY() override { return dpiY; }

    // Stock objects every surface starts with; never deleted.
    NativeHandle StockPen() const { return m_stock[0]; }
    NativeHandle StockBrush() const { return m_stock[1]; }
    NativeHandle StockFont() const { return m_stock[2]; }
    NativeHandle NullPen() const { return m_stock[3]; }
    NativeHandle NullBrush() const { return m_stock[4]; }

    const Object* Find(NativeHandle handle) const;
    // Objects made and not yet deleted (stock objects excluded).
    int32_t LiveObjects() const;
    int32_t Created() const { return m_created; }

    // Called by RecordingContext: how many surfaces hold each object.
    void NoteSelected(NativeHandle handle, int delta);
    int SelectedCount(NativeHandle handle) const;

    int32_t dpiY = 96;

private:
    RecordingBackend();
    NativeHandle Make(const Object& o);

    std::map<NativeHandle, Object> m_objects;
    std::map<NativeHandle, int> m_selected;
    uintptr_t m_next = 0x1000;
    int32_t m_created = 0;
    NativeHandle m_stock[5] = {};
};

// One recorded primitive, with the state it was drawn in.
struct DrawCall {
    std::string op; // Polyline Rectangle Ellipse Polygon FillRect FillRegion FrameRegion TextOut DrawText Blit Stretch Blend
    std::vector<Point> points;
    Rect rect;          // shapes, text box, image destination
    Rect source;        // images
    Region region;      // FillRegion, FrameRegion
    bool hasPen = false; // a visible pen was selected
    Color penColor = 0;
    bool hasBrush = false;
    Color brushColor = 0;
    Color textColor = 0;
    std::string text;
    uint32_t format = 0;
    FontDesc font;
    int32_t textAlign = 0;
    bool transparentText = false;
    RasterOp rop = RasterOp::Copy;
    const PixelSurface* surface = nullptr;
    NativeHandle bitmap = nullptr;
    uint8_t opacity = 255;
    bool perPixelAlpha = false;
    Point origin;
    Region clip;
};

// A GraphicsContext that draws nothing and records every primitive.
// Text measures 7 pixels a character and the font's height (13 by default).
class RecordingContext : public GraphicsContext {
public:
    explicit RecordingContext(const Rect& bounds = Rect{0, 0, 800, 588});
    ~RecordingContext() override;

    const std::vector<DrawCall>& Calls() const { return m_calls; }
    std::vector<DrawCall> CallsOf(const std::string& op) const;
    void ClearCalls() { m_calls.clear(); }

    NativeHandle SelectedPen() const { return m_selected[0]; }
    NativeHandle SelectedBrush() const { return m_selected[1]; }
    NativeHandle SelectedFont() const { return m_selected[2]; }
    RasterOp CurrentRasterOp() const { return m_rop; }
    bool TransparentText() const { return m_transparent; }
    int32_t TextAlign() const { return m_textAlign; }
    // Make the surface's text alignment unreadable, as some surfaces are.
    void FailTextAlignRead(bool fail) { m_failAlignRead = fail; }

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
    Color PlatformGetTextColor() override { return m_textColor; }
    void PlatformSetTextColor(Color color) override { m_textColor = color; }
    bool PlatformSetTransparentText(bool transparent) override;
    int32_t PlatformGetTextAlign() override { return m_failAlignRead ? -1 : m_textAlign; }
    void PlatformSetTextAlign(int32_t align) override { m_textAlign = align; }
    void PlatformSetRasterOp(RasterOp op) override { m_rop = op; }
    void PlatformSetOrigin(Point) override {}
    void PlatformSetClip(const Region&) override {}

private:
    DrawCall& Record(const char* op);
    void ResolveBrush(DrawCall& c, NativeHandle brush);
    int32_t FontHeight() const;

    RecordingBackend& m_backend;
    std::vector<DrawCall> m_calls;
    NativeHandle m_selected[3];
    RasterOp m_rop = RasterOp::Copy;
    Color m_textColor = 0;
    bool m_transparent = false;
    int32_t m_textAlign = 0;
    bool m_failAlignRead = false;
};

} // namespace Corvell::Test
