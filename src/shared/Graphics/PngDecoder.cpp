#include "shared/Graphics/PngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Corvell {

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

uint32_t ReadBE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

bool IsType(const uint8_t* p, const char* name) { return std::memcmp(p, name, 4) == 0; }

// floor(x / 255) for 0 <= x <= 255 * 255.
inline uint32_t Div255(uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

// Premultiplied 16-bit sample reduced to its high byte.
inline uint8_t Mul16(uint32_t v, uint32_t a) { return uint8_t((v * a / 65535u) >> 8); }

inline uint32_t Read16(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }

int Channels(uint8_t colorType) {
    switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
    }
}

bool ValidDepth(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

inline uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    int pa = std::abs(int(b) - int(c));
    int pb = std::abs(int(a) - int(c));
    int pc = std::abs(int(a) + int(b) - 2 * int(c));
    uint8_t ab = pb < pa ? b : a;
    int pab = pb < pa ? pb : pa;
    return pc < pab ? c : ab;
}

// Undoes a row's filter in place. prev is the reconstructed row above
// (zeros for the first row); d the distance to the byte on the left.
template <int D>
void UnfilterRow(uint8_t type, uint8_t* row, const uint8_t* prev, size_t len, size_t dArg) {
    const size_t d = D ? size_t(D) : dArg;
    switch (type) {
    case 1:
        for (size_t i = d; i < len; ++i)
            row[i] = uint8_t(row[i] + row[i - d]);
        break;
    case 2:
        for (size_t i = 0; i < len; ++i)
            row[i] = uint8_t(row[i] + prev[i]);
        break;
    case 3: {
        size_t head = std::min(d, len);
        for (size_t i = 0; i < head; ++i)
            row[i] = uint8_t(row[i] + (prev[i] >> 1));
        for (size_t i = d; i < len; ++i)
            row[i] = uint8_t(row[i] + ((unsigned(row[i - d]) + prev[i]) >> 1));
        break;
    }
    case 4: {
        size_t head = std::min(d, len);
        for (size_t i = 0; i < head; ++i)
            row[i] = uint8_t(row[i] + prev[i]); // a = c = 0: the predictor is b
        for (size_t i = d; i < len; ++i)
            row[i] = uint8_t(row[i] + Paeth(row[i - d], prev[i], prev[i - d]));
        break;
    }
    default: // 0 and unknown types: unchanged
        break;
    }
}

using UnfilterFn = void (*)(uint8_t, uint8_t*, const uint8_t*, size_t, size_t);

UnfilterFn PickUnfilter(size_t d) {
    switch (d) {
    case 1: return UnfilterRow<1>;
    case 2: return UnfilterRow<2>;
    case 3: return UnfilterRow<3>;
    case 4: return UnfilterRow<4>;
    case 6: return UnfilterRow<6>;
    case 8: return UnfilterRow<8>;
    default: return UnfilterRow<0>;
    }
}

struct RowConverter {
    const PngHeader& h;
    const uint8_t* palette; // RGB triplets
    uint32_t paletteEntries;

    void Convert(const uint8_t* src, uint8_t* dst) const {
        const uint32_t w = h.width;
        const uint8_t depth = h.bitDepth;
        switch (h.colorType) {
        case 0:
            if (depth == 8) {
                for (uint32_t i = 0; i < w; ++i, dst += 3)
                    dst[0] = dst[1] = dst[2] = src[i];
            } else if (depth == 16) {
                for (uint32_t i = 0; i < w; ++i, dst += 3)
                    dst[0] = dst[1] = dst[2] = src[2 * i];
            } else {
                const unsigned mask = (1u << depth) - 1;
                const unsigned scale = 255 / mask;
                for (uint32_t i = 0; i < w; ++i, dst += 3) {
                    size_t bit = size_t(i) * depth;
                    unsigned v = (src[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
                    dst[0] = dst[1] = dst[2] = uint8_t(v * scale);
                }
            }
            break;
        case 2:
            if (depth == 8) {
                for (uint32_t i = 0; i < w; ++i, src += 3, dst += 3) {
                    dst[0] = src[2];
                    dst[1] = src[1];
                    dst[2] = src[0];
                }
            } else {
                for (uint32_t i = 0; i < w; ++i, src += 6, dst += 3) {
                    dst[0] = src[4];
                    dst[1] = src[2];
                    dst[2] = src[0];
                }
            }
            break;
        case 3: {
            const unsigned mask = (1u << depth) - 1;
            for (uint32_t i = 0; i < w; ++i, dst += 3) {
                unsigned index;
                if (depth == 8) {
                    index = src[i];
                } else {
                    size_t bit = size_t(i) * depth;
                    index = (src[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
                }
                if (index < paletteEntries) {
                    const uint8_t* e = palette + 3 * index;
                    dst[0] = e[2];
                    dst[1] = e[1];
                    dst[2] = e[0];
                } else { // no such entry: black
                    dst[0] = dst[1] = dst[2] = 0;
                }
            }
            break;
        }
        case 4:
            if (depth == 8) {
                for (uint32_t i = 0; i < w; ++i, src += 2, dst += 4) {
                    uint8_t g = uint8_t(Div255(uint32_t(src[0]) * src[1]));
                    dst[0] = dst[1] = dst[2] = g;
                    dst[3] = src[1];
                }
            } else {
                for (uint32_t i = 0; i < w; ++i, src += 4, dst += 4) {
                    uint8_t g = Mul16(Read16(src), Read16(src + 2));
                    dst[0] = dst[1] = dst[2] = g;
                    dst[3] = src[2];
                }
            }
            break;
        case 6:
            if (depth == 8) {
                for (uint32_t i = 0; i < w; ++i, src += 4, dst += 4) {
                    uint32_t a = src[3];
                    if (a == 255) {
                        dst[0] = src[2];
                        dst[1] = src[1];
                        dst[2] = src[0];
                    } else {
                        dst[0] = uint8_t(Div255(src[2] * a));
                        dst[1] = uint8_t(Div255(src[1] * a));
                        dst[2] = uint8_t(Div255(src[0] * a));
                    }
                    dst[3] = uint8_t(a);
                }
            } else {
                for (uint32_t i = 0; i < w; ++i, src += 8, dst += 4) {
                    uint32_t a = Read16(src + 6);
                    dst[0] = Mul16(Read16(src + 4), a);
                    dst[1] = Mul16(Read16(src + 2), a);
                    dst[2] = Mul16(Read16(src), a);
                    dst[3] = src[6];
                }
            }
            break;
        default:
            break;
        }
    }
};

struct Span {
    const uint8_t* data;
    size_t size;
};

} // namespace

const char* PngStatusText(PngStatus status) {
    switch (status) {
    case PngStatus::Ok: return "ok";
    case PngStatus::BadSignature: return "not a PNG file (bad signature)";
    case PngStatus::BadHeader: return "invalid or misplaced IHDR";
    case PngStatus::Interlaced: return "interlaced PNG images are not supported";
    case PngStatus::TooLarge: return "image too large";
    case PngStatus::BadPalette: return "palette image without a valid PLTE chunk";
    case PngStatus::NoSurface: return "cannot create the pixel surface";
    case PngStatus::CorruptData: return "compressed image data corrupt or truncated";
    }
    return "unknown status";
}

PngResult DecodePng(const uint8_t* data, size_t size, SurfaceAllocator& allocator, const PngLimits& limits) {
    PngResult result;
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        result.status = PngStatus::BadSignature;
        return result;
    }

    // Walk the chunks. A chunk that runs past the data ends the walk; what
    // it has of its contents is still used.
    PngHeader& h = result.header;
    bool haveHeader = false;
    const uint8_t* palette = nullptr;
    size_t paletteSize = 0;
    bool paletteInvalid = false;
    std::vector<Span> idat;
    size_t pos = 8;
    while (size - pos >= 8) {
        const uint32_t length = ReadBE32(data + pos);
        const uint8_t* type = data + pos + 4;
        const size_t avail = size - pos - 8;
        const bool truncated = length > avail || length > 0x7fffffffu;
        const size_t have = truncated ? avail : length;
        const uint8_t* body = data + pos + 8;

        if (!haveHeader) {
            if (!IsType(type, "IHDR") || length != 13 || truncated) {
                result.status = PngStatus::BadHeader;
                return result;
            }
            h.width = ReadBE32(body);
            h.height = ReadBE32(body + 4);
            h.bitDepth = body[8];
            h.colorType = body[9];
            h.compression = body[10];
            h.filterMethod = body[11];
            h.interlace = body[12];
            haveHeader = true;
        } else if (IsType(type, "PLTE")) {
            if (idat.empty()) {
                if (truncated || length == 0 || length % 3 != 0 || length > 768) {
                    paletteInvalid = true;
                    palette = nullptr;
                    paletteSize = 0;
                } else {
                    palette = body; // a second PLTE replaces the first
                    paletteSize = length;
                    paletteInvalid = false;
                }
            }
        } else if (IsType(type, "IDAT")) {
            if (have)
                idat.push_back(Span{body, have});
        } else if (IsType(type, "IEND")) {
            break;
        }
        if (truncated || avail - length < 4)
            break;
        pos += 12 + size_t(length);
    }
    if (!haveHeader) {
        result.status = PngStatus::BadHeader;
        return result;
    }

    const int channels = Channels(h.colorType);
    if (h.width == 0 || h.height == 0 || h.width > 0x7fffffffu || h.height > 0x7fffffffu ||
        !ValidDepth(h.colorType, h.bitDepth) || h.compression != 0 || h.filterMethod != 0 || h.interlace > 1) {
        result.status = PngStatus::BadHeader;
        return result;
    }
    if (h.interlace == 1) {
        result.status = PngStatus::Interlaced;
        return result;
    }
    if (uint64_t(h.width) * h.height > limits.maxPixels) {
        result.status = PngStatus::TooLarge;
        return result;
    }
    if (h.colorType == 3 && (paletteInvalid || !palette)) {
        result.status = PngStatus::BadPalette;
        return result;
    }

    const int32_t outBpp = result.HasAlpha() ? 32 : 24;
    result.surface = allocator.CreateSurface(int32_t(h.width), int32_t(h.height), outBpp);
    if (!result.surface || result.surface->Width() != int32_t(h.width) ||
        result.surface->Height() != int32_t(h.height) || result.surface->BitsPerPixel() != outBpp) {
        result.surface.reset();
        result.status = PngStatus::NoSurface;
        return result;
    }

    const size_t bitsPerPixel = size_t(h.bitDepth) * size_t(channels);
    const size_t rowLen = (size_t(h.width) * bitsPerPixel + 7) / 8;
    const size_t step = std::max<size_t>(1, bitsPerPixel / 8);
    const size_t rowBytes = rowLen + 1;
    const UnfilterFn unfilter = PickUnfilter(step);
    const RowConverter converter{h, palette, uint32_t(paletteSize / 3)};

    // Inflate many rows at a time: per-row calls keep zlib off its fast path.
    const size_t kChunkBytes = size_t(256) << 10;
    const size_t chunkRows = std::max<size_t>(1, std::min<size_t>(h.height, kChunkBytes / rowBytes));
    std::vector<uint8_t> buffer;
    std::vector<uint8_t> above;
    try {
        buffer.resize(chunkRows * rowBytes);
        above.assign(rowLen, 0);
    } catch (...) {
        result.status = PngStatus::CorruptData;
        return result;
    }

    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK) {
        result.status = PngStatus::CorruptData;
        return result;
    }
    size_t nextSpan = 0;
    auto feed = [&]() {
        while (nextSpan < idat.size()) {
            const Span& s = idat[nextSpan++];
            // zlib counts in 32 bits; chunks are at most 2^31 - 1 bytes.
            zs.next_in = const_cast<Bytef*>(s.data);
            zs.avail_in = uInt(s.size);
            return true;
        }
        return false;
    };
    feed();

    uint32_t y = 0;
    bool stopped = false;
    while (y < h.height && !stopped) {
        const size_t want = std::min<size_t>(chunkRows, h.height - y);
        zs.next_out = buffer.data();
        zs.avail_out = uInt(want * rowBytes);
        for (;;) {
            int ret = inflate(&zs, Z_NO_FLUSH);
            if (zs.avail_out == 0)
                break;
            if (ret == Z_OK || ret == Z_BUF_ERROR) {
                if (zs.avail_in == 0 && feed())
                    continue;
                if (ret == Z_OK && zs.avail_in != 0)
                    continue;
            }
            stopped = true; // stream end, error or no more input
            break;
        }
        const size_t produced = want * rowBytes - zs.avail_out;
        const size_t fullRows = produced / rowBytes;
        const uint8_t* prev = above.data();
        for (size_t r = 0; r < fullRows; ++r) {
            uint8_t* row = buffer.data() + r * rowBytes;
            unfilter(row[0], row + 1, prev, rowLen, step);
            converter.Convert(row + 1, result.surface->Row(int32_t(y + r)));
            prev = row + 1;
        }
        if (fullRows > 0 && prev != above.data())
            std::memcpy(above.data(), prev, rowLen);
        y += uint32_t(fullRows);
        if (fullRows < want)
            stopped = true;
    }
    inflateEnd(&zs);

    result.rowsDecoded = int32_t(y);
    result.status = y == h.height ? PngStatus::Ok : PngStatus::CorruptData;
    return result;
}

} // namespace Corvell
