// Images by name: the loader, the cache and the image classes.
#include "shared/Graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
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

PngBitmap::PngBitmap(const String& name) : OpaqueBitmap(name, NoLoad()) {
    std::unique_ptr<Resource> resource = GetImageSource().FindPng(name.c_str());
    if (!resource)
        return;
    m_found = true;
    Decode(resource->Data(), resource->Size(), GetImageSource().Surfaces());
}

PngBitmap::PngBitmap(const String& name, const uint8_t* data, size_t size, SurfaceAllocator& allocator)
    : OpaqueBitmap(name, NoLoad()) {
    m_found = true;
    Decode(data, size, allocator);
}

PngBitmap::~PngBitmap() = default;

void PngBitmap::Decode(const uint8_t* data, size_t size, SurfaceAllocator& allocator) {
    PngResult r = DecodePng(data, size, allocator);
    m_status = r.status;
    m_header = r.header;
    m_surface = std::move(r.surface);
    if (m_surface) {
        m_width = m_surface->Width();
        m_height = m_surface->Height();
    }
}

ImageRef PngBitmap::Image() const {
    return ImageRef{m_surface ? m_surface->NativeHandle() : nullptr, m_surface.get(), m_width, m_height};
}

void PngBitmap::DrawScaled(GraphicsContext& gc, const Rect& destination, const Rect& source) {
    if (m_surface)
        gc.BlendImage(destination, Image(), source, 255, HasAlpha());
}

void PngBitmap::Draw(GraphicsContext& gc, Point p, const Rect& source, int32_t) {
    PngBitmap::DrawBlended(gc, p, source, 1.0f);
}

void PngBitmap::DrawBlended(GraphicsContext& gc, Point p, const Rect& source, float opacity) {
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
    gc.BlendImage(dest, Image(), src, OpacityToAlpha(opacity), HasAlpha());
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
    auto& cache = Cache();
    auto it = cache.find(name);
    if (it != cache.end())
        return it->second;
    Ref<Bitmap> image = Bitmap::Load(name);
    cache.emplace(name, image);
    return image;
}

void ClearImageCache() {
    std::map<std::string, Ref<Bitmap>> old;
    old.swap(Cache()); // images go after the cache is consistent again
}

} // namespace Corvell
