// Decodes arbitrary bytes; the sanitizers report any access outside the
// input, the surface or the decoder's own buffers.
#include "shared/Graphics/PngDecoder.h"

#include <cstddef>
#include <cstdint>

using namespace Corvell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySurfaceAllocator allocator;
    PngLimits limits;
    limits.maxPixels = uint64_t(1) << 22; // keeps each run quick; same code paths
    PngResult r = DecodePng(data, size, allocator, limits);
    if (r.surface) {
        // Touch the whole surface so a wrong size shows up.
        const PixelSurface& s = *r.surface;
        volatile uint8_t sink = 0;
        const size_t rowLen = size_t(s.Width()) * (s.BitsPerPixel() / 8);
        sink = sink ^ s.Row(0)[0] ^ s.Row(s.Height() - 1)[rowLen - 1];
        if (r.rowsDecoded < 0 || r.rowsDecoded > s.Height())
            __builtin_trap();
    }
    return 0;
}
