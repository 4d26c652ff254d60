#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace Corvell {

// A top-down pixel surface: blue, green, red (and alpha) bytes per pixel,
// each row starting Stride() bytes after the previous one.
class PixelSurface {
public:
    virtual ~PixelSurface() = default;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    int32_t BitsPerPixel() const { return m_bpp; }
    int32_t Stride() const { return m_stride; }
    uint8_t* Pixels() { return m_pixels; }
    const uint8_t* Pixels() const { return m_pixels; }
    uint8_t* Row(int32_t y) { return m_pixels + size_t(m_stride) * size_t(y); }
    const uint8_t* Row(int32_t y) const { return m_pixels + size_t(m_stride) * size_t(y); }

    // The platform object behind the surface (a DIB section on Windows), or null.
    virtual void* NativeHandle() const { return nullptr; }

    // Bytes per row for a surface of that width: rows of 24-bit pixels are
    // padded to a multiple of 4 bytes. 0 when it does not fit in 31 bits.
    static int32_t StrideFor(int32_t width, int32_t bpp);

protected:
    PixelSurface() = default;
    void Attach(uint8_t* pixels, int32_t width, int32_t height, int32_t bpp) {
        m_pixels = pixels;
        m_width = width;
        m_height = height;
        m_bpp = bpp;
        m_stride = StrideFor(width, bpp);
    }

private:
    uint8_t* m_pixels = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_bpp = 0;
    int32_t m_stride = 0;
};

// Makes zero-filled surfaces of 24 or 32 bits per pixel; null when it cannot.
class SurfaceAllocator {
public:
    virtual ~SurfaceAllocator() = default;
    virtual std::unique_ptr<PixelSurface> CreateSurface(int32_t width, int32_t height, int32_t bpp) = 0;
};

// A surface in ordinary memory: for tools, tests and platforms without one of their own.
class MemorySurface : public PixelSurface {
public:
    // Null when the size is out of range or the memory cannot be had.
    static std::unique_ptr<MemorySurface> Create(int32_t width, int32_t height, int32_t bpp);

private:
    MemorySurface() = default;
    std::unique_ptr<uint8_t[]> m_memory;
};

class MemorySurfaceAllocator : public SurfaceAllocator {
public:
    std::unique_ptr<PixelSurface> CreateSurface(int32_t width, int32_t height, int32_t bpp) override;
};

} // namespace Corvell
