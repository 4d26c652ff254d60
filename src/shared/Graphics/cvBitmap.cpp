// Images by name: the loader, the cache and the image classes.
#include "shared/Graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace Corvell {

namespace {

class NoImageSource : public ImageSource {
public:
    std::unique_ptr<Resource> FindPng(const char*) override { return nullptr; }
    NativeHandle LoadPlatformBitmap(const char*, int32_t&, int32_t&) override { return nullptr; }
    void DeletePlatformBitmap(NativeHandle) override {}
    SurfaceAllocator& Surfaces() override { return m_surfaces; }
    std::string ModuleDirectory() override { return std::string(); }
    void DebugOutput(const char*) override {}

private:
    MemorySurfaceAllocator m_surfaces;
};

NoImageSource g_noSource;
ImageSource* g_source = &g_noSource;

// Never destroyed by the runtime: releasing images may call the platform,
// which must not happen while the module is being unloaded.
std::map<std::string, Ref<Bitmap>>& Cache() {
    static auto* cache = new std::map<std::string, Ref<Bitmap>>();
    return *cache;
}

// Pages may be made on several threads at once; composing asks for images
// while it holds the lock.
std::recursive_mutex& CacheLock() {
    static auto* lock = new std::recursive_mutex();
    return *lock;
}

// One decode at a time: an image two windows draw at once decodes once.
std::mutex& DecodeLock() {
    static auto* lock = new std::mutex();
    return *lock;
}

} // namespace

ImageSource& GetImageSource() { return *g_source; }
void SetImageSource(ImageSource* source) { g_source = source ? source : &g_noSource; }

uint8_t OpacityToAlpha(float opacity) {
    if (!(opacity > 0.0f)) // also NaN
        return 0;
    if (opacity >= 1.0f)
        return 255;
    return uint8_t(opacity * 255.0f);
}

// ---- Bitmap: an empty image draws nothing --------------------------------------

void Bitmap::DrawScaled(GraphicsContext&, const Rect&, const Rect&) {}
void Bitmap::Draw(GraphicsContext&, Point, const Rect&, int32_t) {}
void Bitmap::DrawBlended(GraphicsContext&, Point, const Rect&, float) {}

// ---- OpaqueBitmap ------------------------------------------------------------------

OpaqueBitmap::OpaqueBitmap(const String& name, NoLoad) : m_name(name) {}

OpaqueBitmap::OpaqueBitmap(const String& name) : m_name(name) {
    int32_t w = 0, h = 0;
    m_handle = GetImageSource().LoadPlatformBitmap(name.c_str(), w, h);
    if (m_handle) {
        m_width = w;
        m_height = h;
    }
}

OpaqueBitmap::~OpaqueBitmap() {
    if (m_handle)
        GetImageSource().DeletePlatformBitmap(m_handle);
}

ImageRef OpaqueBitmap::Image() const { return ImageRef{m_handle, nullptr, m_width, m_height}; }

void OpaqueBitmap::DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source) {
    if (IsLoaded())
        gc.StretchImage(destination, Image(), source);
}

void OpaqueBitmap::Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t mode) {
    if (IsLoaded())
        gc.BlitImage(p, Image(), source, RasterOpOfMode(mode));
}

void OpaqueBitmap::DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity) {
    if (IsLoaded())
        gc.BlendImage(Rect{p.x, p.y, source.width, source.height}, Image(), source, OpacityToAlpha(opacity), false);
}

// ---- PngBitmap -------------------------------------------------------------------------

namespace {
// Artwork often carries an alpha channel it never uses; such an image is
// drawn as a plain copy, which the platform does far faster than a blend.
bool AllOpaque(const PixelSurface& s) {
    for (int32_t y = 0; y < s.Height(); ++y) {
        const uint8_t* row = s.Row(y);
        for (int32_t x = 0; x < s.Width(); ++x)
            if (row[4 * x + 3] != 0xFF)
                return false;
    }
    return true;
}
} // namespace

PngBitmap::PngBitmap(const String& name) : OpaqueBitmap(name, NoLoad()) {
    std::unique_ptr<Resource> resource = GetImageSource().FindPng(name.c_str());
    if (!resource)
        return;
    m_found = true;
    m_status = ProbePng(resource->Data(), resource->Size(), m_header);
    if (m_status != PngStatus::Ok)
        return;
    // Sized now, decoded when first drawn.
    m_width = int32_t(m_header.width);
    m_height = int32_t(m_header.height);
    m_pending = std::move(resource);
}

PngBitmap::PngBitmap(const String& name, const uint8_t* data, size_t size, SurfaceAllocator& allocator)
    : OpaqueBitmap(name, NoLoad()) {
    m_found = true;
    Decode(data, size, allocator);
    m_decoded = true;
}

PngBitmap::PngBitmap(const String& name, std::unique_ptr<PixelSurface> surface) : OpaqueBitmap(name, NoLoad()) {
    if (!surface)
        return;
    m_found = true;
    m_status = PngStatus::Ok;
    m_header.width = uint32_t(surface->Width());
    m_header.height = uint32_t(surface->Height());
    m_header.bitDepth = 8;
    m_header.colorType = uint8_t(surface->BitsPerPixel() == 32 ? PngColorType::Rgba : PngColorType::Rgb);
    m_surface = std::move(surface);
    m_width = m_surface->Width();
    m_height = m_surface->Height();
    m_opaque = HasAlpha() && AllOpaque(*m_surface);
    m_decoded = true;
}

PngBitmap::~PngBitmap() = default;


void PngBitmap::EnsureDecoded() const {
    if (m_decoded.load(std::memory_order_acquire))
        return;
    std::lock_guard<std::mutex> g(DecodeLock());
    // Asking for the pixels of a const image is what decodes them.
    auto* self = const_cast<PngBitmap*>(this);
    if (std::unique_ptr<Resource> resource = std::move(self->m_pending))
        self->Decode(resource->Data(), resource->Size(), GetImageSource().Surfaces());
    m_decoded.store(true, std::memory_order_release);
}

void PngBitmap::Decode(const uint8_t* data, size_t size, SurfaceAllocator& allocator) {
    PngResult r = DecodePng(data, size, allocator);
    m_status = r.status;
    m_header = r.header;
    m_surface = std::move(r.surface);
    m_width = m_surface ? m_surface->Width() : 0;
    m_height = m_surface ? m_surface->Height() : 0;
    m_opaque = m_surface && HasAlpha() && m_surface->BitsPerPixel() == 32 && AllOpaque(*m_surface);
}

ImageRef PngBitmap::Image() const {
    EnsureDecoded();
    return ImageRef{m_surface ? m_surface->NativeHandle() : nullptr, m_surface.get(), m_width, m_height};
}

void PngBitmap::DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source) {
    EnsureDecoded();
    if (m_surface)
        gc.BlendImage(destination, Image(), source, 255, HasAlpha() && !m_opaque);
}

void PngBitmap::Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t) {
    PngBitmap::DrawBlended(gc, p, source, 1.0f);
}

void PngBitmap::DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity) {
    EnsureDecoded();
    if (!m_surface)
        return;
    // Clip the source to the image; the destination moves by what is cut off.
    int64_t x0 = std::max<int64_t>(source.x, 0);
    int64_t y0 = std::max<int64_t>(source.y, 0);
    int64_t x1 = std::min<int64_t>(source.Right(), m_width);
    int64_t y1 = std::min<int64_t>(source.Bottom(), m_height);
    if (x1 <= x0 || y1 <= y0)
        return;
    Rect src{int32_t(x0), int32_t(y0), int32_t(x1 - x0), int32_t(y1 - y0)};
    Rect dest{int32_t(p.x + (x0 - source.x)), int32_t(p.y + (y0 - source.y)), src.width, src.height};
    gc.BlendImage(dest, Image(), src, OpacityToAlpha(opacity), HasAlpha() && !m_opaque);
}

// ---- loading by name -------------------------------------------------------------------

Ref<Bitmap> Bitmap::Load(const char* name) {
    if (!name)
        name = "";
    Ref<Bitmap> image;
    bool found;
    if (const char* dot = std::strrchr(name, '.')) {
        String base(name, int(dot - name));
        if (std::strcmp(dot, ".png") == 0) {
            auto* png = new PngBitmap(base);
            image = png;
            found = png->ResourceFound();
        } else {
            auto* bmp = new OpaqueBitmap(base);
            image = bmp;
            found = bmp->IsLoaded();
        }
    } else {
        auto* bmp = new OpaqueBitmap(name);
        image = bmp;
        found = bmp->IsLoaded();
        if (!found) {
            auto* png = new PngBitmap(name);
            image = png;
            found = png->ResourceFound();
        }
    }
    if (!found) {
        char message[256];
        std::snprintf(message, sizeof message, "%s(%d): cannot load image \"%s\" in bundle \"%s\"\n", __FILE__,
                      __LINE__, name, GetImageSource().ModuleDirectory().c_str());
        GetImageSource().DebugOutput(message);
    }
    return image;
}

Ref<Bitmap> GetImage(const char* name) {
    if (!name || !*name)
        return nullptr;
    std::lock_guard<std::recursive_mutex> g(CacheLock());
    auto& cache = Cache();
    auto it = cache.find(name);
    if (it != cache.end())
        return it->second;
    Ref<Bitmap> image = Bitmap::Load(name);
    cache.emplace(name, image);
    return image;
}

namespace {
// Premultiplied "over": what the platform's per-pixel blend gives.
uint8_t Over(uint8_t top, uint8_t under, uint8_t topAlpha) {
    return uint8_t(top + (under * (255 - topAlpha) + 127) / 255);
}

std::unique_ptr<PixelSurface> Compose(const PixelSurface& base, const PixelSurface& overlay, Point at) {
    std::unique_ptr<PixelSurface> out =
        GetImageSource().Surfaces().CreateSurface(base.Width(), base.Height(), base.BitsPerPixel());
    if (!out)
        return nullptr;
    const size_t rowBytes = size_t(base.Width()) * size_t(base.BitsPerPixel() / 8);
    for (int32_t y = 0; y < base.Height(); ++y)
        std::memcpy(out->Row(y), base.Row(y), rowBytes);
    const int32_t inBytes = overlay.BitsPerPixel() / 8, outBytes = base.BitsPerPixel() / 8;
    const int32_t x0 = std::max(0, at.x), x1 = std::min(base.Width(), at.x + overlay.Width());
    const int32_t y0 = std::max(0, at.y), y1 = std::min(base.Height(), at.y + overlay.Height());
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* src = overlay.Row(y - at.y) + size_t(x0 - at.x) * size_t(inBytes);
        uint8_t* dst = out->Row(y) + size_t(x0) * size_t(outBytes);
        for (int32_t x = x0; x < x1; ++x, src += inBytes, dst += outBytes) {
            const uint8_t a = inBytes == 4 ? src[3] : 255;
            if (a == 0)
                continue;
            if (a == 255) { // most of the artwork
                dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
                if (outBytes == 4)
                    dst[3] = 255;
                continue;
            }
            for (int c = 0; c < 3; ++c)
                dst[c] = Over(src[c], dst[c], a);
            if (outBytes == 4)
                dst[3] = Over(a, dst[3], a);
        }
    }
    return out;
}
} // namespace

Ref<Bitmap> GetComposedImage(const char* base, const char* overlay, Point at) {
    Ref<Bitmap> under = GetImage(base);
    if (!base || !overlay)
        return under;
    std::lock_guard<std::recursive_mutex> g(CacheLock());
    const std::string key = std::string(base) + " + " + overlay + " at " + std::to_string(at.x) + "," +
                            std::to_string(at.y);
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    Ref<Bitmap> over = GetImage(overlay);
    auto* b = dynamic_cast<PngBitmap*>(under.Get());
    auto* o = dynamic_cast<PngBitmap*>(over.Get());
    if (!b || !o || !b->Surface() || !o->Surface())
        return under;
    Ref<Bitmap> composed(new PngBitmap(key.c_str(), Compose(*b->Surface(), *o->Surface(), at)));
    if (composed->Width() <= 0)
        return under;
    cache.emplace(key, composed);
    return composed;
}

void ClearImageCache() {
    std::map<std::string, Ref<Bitmap>> old;
    {
        std::lock_guard<std::recursive_mutex> g(CacheLock());
        old.swap(Cache());
    }
    // Images go after the cache is consistent again, outside the lock.
}

} // namespace Corvell
