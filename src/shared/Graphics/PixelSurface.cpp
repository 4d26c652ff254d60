#include "shared/Graphics/PixelSurface.h"

#include <new>

namespace Corvell {

int32_t PixelSurface::StrideFor(int32_t width, int32_t bpp) {
    if (width <= 0 || (bpp != 24 && bpp != 32))
        return 0;
    int64_t bytes = int64_t(width) * (bpp / 8);
    bytes = (bytes + 3) & ~int64_t(3);
    return bytes > INT32_MAX ? 0 : int32_t(bytes);
}

std::unique_ptr<MemorySurface> MemorySurface::Create(int32_t width, int32_t height, int32_t bpp) {
    int32_t stride = StrideFor(width, bpp);
    if (stride == 0 || height <= 0)
        return nullptr;
    size_t bytes = size_t(stride) * size_t(height);
    std::unique_ptr<MemorySurface> s(new (std::nothrow) MemorySurface());
    if (!s)
        return nullptr;
    s->m_memory.reset(new (std::nothrow) uint8_t[bytes]());
    if (!s->m_memory)
        return nullptr;
    s->Attach(s->m_memory.get(), width, height, bpp);
    return s;
}

std::unique_ptr<PixelSurface> MemorySurfaceAllocator::CreateSurface(int32_t width, int32_t height, int32_t bpp) {
    return MemorySurface::Create(width, height, bpp);
}

} // namespace Corvell
