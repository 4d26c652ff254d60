// Decodes arbitrary bytes; the sanitizers report any access outside the
// input, the surface or the decoder's own buffers, and the whole surface is
// checked against what the status promises.
//
// Inputs starting with 'R' are rows instead of a file: a small header
// (size, colour type and depth, palette length) and the filtered rows, which
// the target compresses into a PNG. Mutations then reach every filter and
// conversion path, which they seldom do through compressed data.
#include "shared/Graphics/PngDecoder.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../FuzzCheck.h"

using namespace Corvell;

namespace {

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 3; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const uint8_t* body, size_t n) {
    PutBE32(out, uint32_t(n));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body, body + n);
    PutBE32(out, 0); // CRCs are not checked
}

std::vector<uint8_t> FromRows(const uint8_t* data, size_t size) {
    static const uint8_t kPairs[15][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                         {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    std::vector<uint8_t> png = {137, 80, 78, 71, 13, 10, 26, 10};
    if (size < 6)
        return png;
    const uint32_t w = 1 + data[1] % 64, h = 1 + data[2] % 64;
    const uint8_t type = kPairs[data[3] % 15][0], depth = kPairs[data[3] % 15][1];
    const size_t paletteEntries = data[4];
    const bool cutShort = data[5] & 1;
    data += 6;
    size -= 6;
    uint8_t ihdr[13] = {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w), uint8_t(h >> 24),
                        uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h), depth, type, 0, 0, 0};
    Chunk(png, "IHDR", ihdr, 13);
    if (type == 3) {
        std::vector<uint8_t> palette(3 * (paletteEntries ? paletteEntries : 1));
        for (size_t i = 0; i < palette.size(); ++i)
            palette[i] = uint8_t(i * 37);
        Chunk(png, "PLTE", palette.data(), palette.size());
    }
    const int channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
    const size_t rowBytes = (size_t(w) * depth * size_t(channels) + 7) / 8 + 1;
    std::vector<uint8_t> raw(rowBytes * h);
    for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = size ? data[i % size] : 0;
    if (cutShort)
        raw.resize(raw.size() / 2);
    uLongf zsize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> z(zsize);
    compress2(z.data(), &zsize, raw.data(), uLong(raw.size()), 1);
    Chunk(png, "IDAT", z.data(), zsize);
    Chunk(png, "IEND", nullptr, 0);
    return png;
}

// What a result promises, over the whole surface: a surface exactly for Ok
// and CorruptData, of the image's size; Ok only with every row decoded;
// rows not decoded and the padding after each row zero; grey stays grey;
// no premultiplied channel above its alpha.
void CheckResult(const PngResult& r) {
    const bool wantSurface = r.status == PngStatus::Ok || r.status == PngStatus::CorruptData;
    CHECK(bool(r.surface) == wantSurface);
    if (!r.surface) {
        CHECK(r.rowsDecoded == 0);
        return;
    }
    const PixelSurface& s = *r.surface;
    CHECK(uint32_t(s.Width()) == r.header.width && uint32_t(s.Height()) == r.header.height);
    CHECK(s.BitsPerPixel() == (r.HasAlpha() ? 32 : 24));
    CHECK(r.rowsDecoded >= 0 && r.rowsDecoded <= s.Height());
    CHECK((r.status == PngStatus::Ok) == (r.rowsDecoded == s.Height()));

    const PngColorType type = PngColorType(r.header.colorType);
    const bool grey = type == PngColorType::Grey || type == PngColorType::GreyAlpha;
    const size_t px = size_t(s.BitsPerPixel() / 8);
    const size_t rowLen = size_t(s.Width()) * px;
    for (int32_t y = 0; y < s.Height(); ++y) {
        const uint8_t* row = s.Row(y);
        const bool decoded = y < r.rowsDecoded;
        for (size_t i = decoded ? rowLen : 0; i < size_t(s.Stride()); ++i)
            CHECK(row[i] == 0);
        if (!decoded)
            continue;
        for (const uint8_t* p = row; p < row + rowLen; p += px) {
            if (grey)
                CHECK(p[0] == p[1] && p[1] == p[2]);
            if (px == 4)
                CHECK(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> built;
    if (size > 0 && data[0] == 'R') {
        built = FromRows(data, size);
        data = built.data();
        size = built.size();
    }
    MemorySurfaceAllocator allocator;
    PngLimits limits;
    limits.maxPixels = uint64_t(1) << 22; // keeps each run quick; same code paths
    CheckResult(DecodePng(data, size, allocator, limits));
    return 0;
}
