#pragma once
#include "shared/Graphics/Geometry.h"
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/ImageSource.h"
#include "shared/Graphics/PngDecoder.h"
#include "ui/core/Ref.h"
#include "ui/core/String.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace Corvell {

// An image; width and height 0 when nothing could be loaded, and then it draws nothing.
class Bitmap : public GraphicsObject {
public:
    ~Bitmap() override = default;
    virtual void DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source);
    // Copies the source rectangle with its top-left at p; mode as GraphicsContext::SetDrawMode.
    virtual void Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t mode);
    virtual void DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    // Finds and decodes an image by name: "kbd.png" is the PNG resource "KBD".
    static Ref<Bitmap> Load(const char* name);

protected:
    Bitmap() = default;
    int32_t m_width = 0;
    int32_t m_height = 0;
};

// A platform bitmap, drawn without transparency.
class OpaqueBitmap : public Bitmap {
public:
    // From the platform bitmap resource of that name (empty when there is none).
    explicit OpaqueBitmap(const String& name);
    ~OpaqueBitmap() override;

    void DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source) override;
    void Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t mode) override;
    void DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity) override;

    const String& Name() const { return m_name; }
    bool IsLoaded() const { return m_handle != nullptr || HasPixels(); }

protected:
    struct NoLoad {};
    OpaqueBitmap(const String& name, NoLoad);
    virtual bool HasPixels() const { return false; }
    virtual ImageRef Image() const;

    NativeHandle m_handle = nullptr; // the platform bitmap resource
    String m_name;
};

// A PNG resource decoded into a premultiplied surface; always drawn blended.
// A PNG image. One made from a resource reads only its header until it is
// first drawn or asked for its pixels, so an editor that opens decodes only
// what it paints.
class PngBitmap : public OpaqueBitmap {
public:
    // From the PNG resource of that name (empty when there is none or it cannot be decoded).
    explicit PngBitmap(const String& name);
    // From PNG bytes, decoded at once.
    PngBitmap(const String& name, const uint8_t* data, size_t size, SurfaceAllocator& allocator);
    // Pixels made otherwise (see GetComposedImage); header as if decoded.
    PngBitmap(const String& name, std::unique_ptr<PixelSurface> surface);
    ~PngBitmap() override;

    void DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source) override;
    void Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t mode) override;
    void DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity) override;

    bool ResourceFound() const { return m_found; }
    PngStatus Status() const { EnsureDecoded(); return m_status; }
    const PngHeader& Header() const { return m_header; }
    const PixelSurface* Surface() const { EnsureDecoded(); return m_surface.get(); }
    bool HasAlpha() const { return m_header.colorType == 4 || m_header.colorType == 6; }
    // An image with an alpha channel that covers every pixel fully.
    bool IsOpaque() const { EnsureDecoded(); return m_opaque; }
    // False until the pixels were needed.
    bool IsDecoded() const { return m_decoded.load(); }

protected:
    bool HasPixels() const override { EnsureDecoded(); return m_surface != nullptr; }
    ImageRef Image() const override;

private:
    void Decode(const uint8_t* data, size_t size, SurfaceAllocator& allocator);
    void EnsureDecoded() const;

    bool m_found = false;
    PngStatus m_status = PngStatus::BadSignature;
    PngHeader m_header;
    bool m_opaque = false;
    std::unique_ptr<Resource> m_pending; // the resource, until decoded
    mutable std::atomic<bool> m_decoded{false};
    std::unique_ptr<PixelSurface> m_surface;
};

// The process-wide image cache: null for a null or empty name, otherwise
// the image of that exact name, loaded on the first request.
Ref<Bitmap> GetImage(const char* name);
// base with overlay blended over it, overlay's top-left at `at`, as one
// cached image: a background drawn as one copy instead of a copy and a
// blend. When either cannot be had, base itself.
Ref<Bitmap> GetComposedImage(const char* base, const char* overlay, Point at);
// Drops the cache's references; for an orderly shutdown (never from DllMain) and tests.
void ClearImageCache();

// Opacity 0..1 as the platform's constant alpha.
uint8_t OpacityToAlpha(float opacity);

} // namespace Corvell
