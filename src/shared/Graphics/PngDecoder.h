#pragma once
#include "shared/Graphics/PixelSurface.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Corvell {

// The colour types a PNG header may name.
enum class PngColorType : uint8_t {
    Grey = 0,
    Rgb = 2,
    Palette = 3,
    GreyAlpha = 4,
    Rgba = 6,
};

// The header fields of a PNG image.
struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colorType = 0; // a PngColorType when the header is valid
    uint8_t compression = 0;
    uint8_t filterMethod = 0;
    uint8_t interlace = 0;
};

enum class PngStatus {
    Ok,                // every row decoded
    BadSignature,      // not a PNG
    BadHeader,         // IHDR missing, misplaced or with values PNG does not allow
    Interlaced,        // Adam7 data; not decoded, the image stays empty
    TooLarge,          // more pixels than the limit allows
    BadPalette,        // palette image without a usable PLTE
    NoSurface,         // the pixel surface could not be made
    CorruptData,       // compressed data damaged or cut short: rows decoded so far kept
};

struct PngLimits {
    // Larger images are refused before any memory is taken for them.
    uint64_t maxPixels = uint64_t(64) << 20;
};

struct PngResult {
    PngStatus status = PngStatus::BadSignature;
    PngHeader header;
    // Present for Ok and CorruptData: 24 bits per pixel for grey, RGB and
    // palette images, 32 bits (premultiplied alpha) for images with alpha.
    std::unique_ptr<PixelSurface> surface;
    // Rows converted into the surface, from the top.
    int32_t rowsDecoded = 0;

    bool HasAlpha() const {
        return PngColorType(header.colorType) == PngColorType::GreyAlpha ||
               PngColorType(header.colorType) == PngColorType::Rgba;
    }
};

// Decodes a non-interlaced PNG into a top-down surface. Reads nothing
// outside [data, data + size); ancillary chunks and CRCs are not checked.
PngResult DecodePng(const uint8_t* data, size_t size, SurfaceAllocator& allocator,
                    const PngLimits& limits = PngLimits());

// Reads only the signature and the chunk headers: Ok when DecodePng would
// make a surface of header's size (barring memory and damaged pixel data),
// otherwise the status it would give.
PngStatus ProbePng(const uint8_t* data, size_t size, PngHeader& header, const PngLimits& limits = PngLimits());

// A short English description of a status, for tools and traces.
const char* PngStatusText(PngStatus status);

} // namespace Corvell
