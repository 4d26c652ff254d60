#include "shared/Graphics/PngDecoder.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

inline uint32_t ByteSwap32(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

inline uint32_t Read16(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }

int Channels(uint8_t colorType) {
    switch (PngColorType(colorType)) {
    case PngColorType::Grey: return 1;
    case PngColorType::Rgb: return 3;
    case PngColorType::Palette: return 1;
    case PngColorType::GreyAlpha: return 2;
    case PngColorType::Rgba: return 4;
    }
    return 0;
}

bool ValidDepth(uint8_t colorType, uint8_t depth) {
    switch (PngColorType(colorType)) {
    case PngColorType::Grey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case PngColorType::Palette: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case PngColorType::Rgb:
    case PngColorType::GreyAlpha:
    case PngColorType::Rgba: return depth == 8 || depth == 16;
    }
    return false;
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

#if defined(__SSE2__)
// Pixels of 3 or 4 bytes: the bytes of one pixel are independent, so one
// pixel is reconstructed at a time in 16-bit lanes. Each step reads 4
// bytes (the buffers have slack for the last pixel's extra byte).
inline __m128i Widen(uint32_t v) { return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), _mm_setzero_si128()); }
inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline uint32_t Narrow(__m128i v) { return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v))); }
// Writes exactly one pixel: a 4-byte store over the next pixel would make
// the next load wait for it.
template <int D>
inline void StorePixel(uint8_t* p, uint32_t v) {
    if (D == 4) {
        std::memcpy(p, &v, 4);
    } else {
        uint16_t low = uint16_t(v);
        std::memcpy(p, &low, 2);
        p[2] = uint8_t(v >> 16);
    }
}

// One Paeth step in 16-bit lanes. Everything but the chain through a is
// computed from b and c alone.
inline __m128i PaethStep(__m128i a, __m128i b, __m128i c, __m128i x) {
    const __m128i pa = Abs16(_mm_sub_epi16(b, c));
    const __m128i t = _mm_sub_epi16(_mm_add_epi16(c, c), b); // a + b - 2c = a - t
    const __m128i pb = _mm_max_epi16(_mm_sub_epi16(a, c), _mm_sub_epi16(c, a));
    const __m128i pc = _mm_max_epi16(_mm_sub_epi16(a, t), _mm_sub_epi16(t, a));
    const __m128i takeC = _mm_cmpgt_epi16(pb, pc);
    const __m128i bc = _mm_or_si128(_mm_and_si128(takeC, c), _mm_andnot_si128(takeC, b));
    const __m128i notA = _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc));
    const __m128i pred = _mm_or_si128(_mm_and_si128(notA, bc), _mm_andnot_si128(notA, a));
    return _mm_and_si128(_mm_add_epi16(x, pred), _mm_set1_epi16(0xFF));
}

template <int D>
void UnfilterPixels(uint8_t type, uint8_t* row, const uint8_t* prev, size_t len, size_t) {
    const uint32_t mask = D == 3 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    const __m128i lowBytes = _mm_set1_epi16(0xFF);
    switch (type) {
    case 1: {
        uint32_t a = 0;
        for (size_t i = 0; i < len; i += D) {
            __m128i x = _mm_add_epi8(_mm_cvtsi32_si128(int(Load32(row + i))), _mm_cvtsi32_si128(int(a)));
            uint32_t out = uint32_t(_mm_cvtsi128_si32(x));
            StorePixel<D>(row + i, out);
            a = out & mask;
        }
        break;
    }
    case 2:
        for (size_t i = 0; i < len; ++i)
            row[i] = uint8_t(row[i] + prev[i]);
        break;
    case 3: {
        __m128i a = _mm_setzero_si128();
        for (size_t i = 0; i < len; i += D) {
            __m128i b = Widen(Load32(prev + i) & mask);
            __m128i x = Widen(Load32(row + i));
            a = _mm_and_si128(_mm_add_epi16(x, _mm_srli_epi16(_mm_add_epi16(a, b), 1)), lowBytes);
            StorePixel<D>(row + i, Narrow(a));
        }
        break;
    }
    case 4: {
        __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
        for (size_t i = 0; i < len; i += D) {
            const __m128i b = Widen(Load32(prev + i) & mask);
            const __m128i x = Widen(Load32(row + i));
            a = PaethStep(a, b, c, x);
            StorePixel<D>(row + i, Narrow(a));
            c = b;
        }
        break;
    }
    default:
        break;
    }
}

// Two consecutive Paeth rows of 3- or 4-byte pixels in one pass: the second
// row runs one pixel behind the first, in the upper lanes, so the two chains
// of dependent pixels overlap. (The fourth lane of 3-byte pixels carries a
// neighbour's byte; it is computed and never stored.)
template <int D>
void PaethPair(uint8_t* r1, uint8_t* r2, const uint8_t* prev, size_t len) {
    const size_t n = len / D;
    __m128i a = _mm_setzero_si128(); // [first row i - 1 | second row i - 2]
    __m128i c = _mm_setzero_si128(); // [above i - 1     | first row i - 2]
    for (size_t i = 0; i <= n; ++i) {
        const uint32_t bLow = i < n ? Load32(prev + D * i) : 0;
        const uint32_t xLow = i < n ? Load32(r1 + D * i) : 0;
        const uint32_t xHigh = i > 0 ? Load32(r2 + D * (i - 1)) : 0;
        const __m128i b = _mm_unpacklo_epi64(Widen(bLow), a);
        const __m128i x = _mm_unpacklo_epi64(Widen(xLow), Widen(xHigh));
        a = PaethStep(a, b, c, x);
        const __m128i packed = _mm_packus_epi16(a, a);
        if (i < n)
            StorePixel<D>(r1 + D * i, uint32_t(_mm_cvtsi128_si32(packed)));
        if (i > 0)
            StorePixel<D>(r2 + D * (i - 1), uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(packed, 4))));
        c = b;
    }
}

// Four consecutive Paeth rows: rows 0 and 1 as in PaethPair, rows 2 and 3
// likewise in a second vector two pixels further behind; the two chains
// are independent of each other.
template <int D>
void PaethQuad(uint8_t* const rows[4], const uint8_t* prev, size_t len) {
    const ptrdiff_t n = ptrdiff_t(len / D);
    auto load = [n](const uint8_t* base, ptrdiff_t j) { return j >= 0 && j < n ? Load32(base + D * j) : 0u; };
    auto store = [n](uint8_t* base, ptrdiff_t j, uint32_t v) {
        if (j >= 0 && j < n)
            StorePixel<D>(base + D * j, v);
    };
    __m128i a1 = _mm_setzero_si128(), c1 = _mm_setzero_si128(); // rows 0 | 1
    __m128i a2 = _mm_setzero_si128(), c2 = _mm_setzero_si128(); // rows 2 | 3
    for (ptrdiff_t i = 0; i < n + 3; ++i) {
        // Above row 2's pixel is row 1's previous result; above row 3's is row 2's.
        const __m128i b2 = _mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(a1), _mm_castsi128_pd(a2), 1));
        const __m128i b1 = _mm_unpacklo_epi64(Widen(load(prev, i)), a1);
        const __m128i x1 = _mm_unpacklo_epi64(Widen(load(rows[0], i)), Widen(load(rows[1], i - 1)));
        const __m128i x2 = _mm_unpacklo_epi64(Widen(load(rows[2], i - 2)), Widen(load(rows[3], i - 3)));
        a1 = PaethStep(a1, b1, c1, x1);
        a2 = PaethStep(a2, b2, c2, x2);
        c1 = b1;
        c2 = b2;
        const __m128i p1 = _mm_packus_epi16(a1, a1), p2 = _mm_packus_epi16(a2, a2);
        store(rows[0], i, uint32_t(_mm_cvtsi128_si32(p1)));
        store(rows[1], i - 1, uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(p1, 4))));
        store(rows[2], i - 2, uint32_t(_mm_cvtsi128_si32(p2)));
        store(rows[3], i - 3, uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(p2, 4))));
    }
}
#endif

// Bytes after each row buffer that the pixel-wise filters may touch.
const size_t kRowSlack = 8;

UnfilterFn PickUnfilter(size_t d) {
    switch (d) {
    case 1: return UnfilterRow<1>;
    case 2: return UnfilterRow<2>;
#if defined(__SSE2__)
    case 3: return UnfilterPixels<3>;
    case 4: return UnfilterPixels<4>;
#else
    case 3: return UnfilterRow<3>;
    case 4: return UnfilterRow<4>;
#endif
    case 6: return UnfilterRow<6>;
    case 8: return UnfilterRow<8>;
    default: return UnfilterRow<0>;
    }
}

// RGBA to premultiplied BGRA, one pixel.
inline void PremultiplyPixel(const uint8_t* src, uint8_t* dst) {
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

void PremultiplyRow(const uint8_t* src, uint8_t* dst, uint32_t w) {
    uint32_t i = 0;
#if defined(__SSE2__)
    // Four pixels at a time; the same integer arithmetic as PremultiplyPixel.
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
    const __m128i one = _mm_set1_epi16(1);
    for (; i + 4 <= w; i += 4, src += 16, dst += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, alphaBytes), alphaBytes)) == 0xFFFF) {
            // Opaque: only red and blue change places.
            __m128i rb = _mm_and_si128(v, _mm_set1_epi32(0x00FF00FF));
            __m128i ga = _mm_andnot_si128(_mm_set1_epi32(0x00FF00FF), v);
            rb = _mm_shufflehi_epi16(_mm_shufflelo_epi16(rb, _MM_SHUFFLE(2, 3, 0, 1)), _MM_SHUFFLE(2, 3, 0, 1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(rb, ga));
            continue;
        }
        __m128i out[2];
        for (int half = 0; half < 2; ++half) {
            __m128i c = half ? _mm_unpackhi_epi8(v, zero) : _mm_unpacklo_epi8(v, zero);
            __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
            __m128i x = _mm_mullo_epi16(c, a);
            x = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
            x = _mm_or_si128(_mm_and_si128(alphaLanes, c), _mm_andnot_si128(alphaLanes, x));
            out[half] = _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 0, 1, 2)), _MM_SHUFFLE(3, 0, 1, 2));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(out[0], out[1]));
    }
#endif
    for (; i < w; ++i, src += 4, dst += 4)
        PremultiplyPixel(src, dst);
}

struct RowConverter {
    const PngHeader& h;
    const uint8_t* palette; // RGB triplets
    uint32_t paletteEntries;

    void Convert(const uint8_t* src, uint8_t* dst) const {
        const uint32_t w = h.width;
        const uint8_t depth = h.bitDepth;
        switch (PngColorType(h.colorType)) {
        case PngColorType::Grey:
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
        case PngColorType::Rgb:
            if (depth == 8) {
                // R, G, B reversed is B, G, R: byte-swap 4 bytes and drop one.
                // A 4-byte store reaches into the next pixel, written next, so
                // the last pixel is stored byte by byte. (The source has slack.)
                uint32_t i = 0;
                for (; i + 1 < w; ++i, src += 3, dst += 3) {
                    uint32_t v;
                    std::memcpy(&v, src, 4);
                    v = ByteSwap32(v) >> 8;
                    std::memcpy(dst, &v, 4);
                }
                for (; i < w; ++i, src += 3, dst += 3) {
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
        case PngColorType::Palette: {
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
        case PngColorType::GreyAlpha:
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
        case PngColorType::Rgba:
            if (depth == 8) {
                PremultiplyRow(src, dst, w);
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
        }
    }
};

struct Span {
    const uint8_t* data;
    size_t size;
};

// What the chunk walk keeps besides the header.
struct Chunks {
    const uint8_t* palette = nullptr; // RGB triplets
    size_t paletteSize = 0;
    bool paletteInvalid = false;
    std::vector<Span> idat; // none empty
};

void ReadHeader(const uint8_t* body, PngHeader& h) {
    h.width = ReadBE32(body);
    h.height = ReadBE32(body + 4);
    h.bitDepth = body[8];
    h.colorType = body[9];
    h.compression = body[10];
    h.filterMethod = body[11];
    h.interlace = body[12];
}

// Walks the chunks after the signature. A chunk that runs past the data
// ends the walk; what it has of its contents is still used. False when the
// first chunk is not a whole IHDR.
bool WalkChunks(const uint8_t* data, size_t size, PngHeader& h, Chunks& out) {
    bool haveHeader = false;
    size_t pos = 8;
    while (size - pos >= 8) {
        const uint32_t length = ReadBE32(data + pos);
        const uint8_t* type = data + pos + 4;
        const size_t avail = size - pos - 8;
        const bool truncated = length > avail || length > 0x7fffffffu;
        const size_t have = truncated ? avail : length;
        const uint8_t* body = data + pos + 8;

        if (!haveHeader) {
            if (!IsType(type, "IHDR") || length != 13 || truncated)
                return false;
            ReadHeader(body, h);
            haveHeader = true;
        } else if (IsType(type, "PLTE")) {
            if (out.idat.empty()) {
                if (truncated || length == 0 || length % 3 != 0 || length > 768) {
                    out.paletteInvalid = true;
                    out.palette = nullptr;
                    out.paletteSize = 0;
                } else {
                    out.palette = body; // a second PLTE replaces the first
                    out.paletteSize = length;
                    out.paletteInvalid = false;
                }
            }
        } else if (IsType(type, "IDAT")) {
            if (have)
                out.idat.push_back(Span{body, have});
        } else if (IsType(type, "IEND")) {
            break;
        }
        if (truncated || avail - length < 4)
            break;
        pos += 12 + size_t(length);
    }
    return haveHeader;
}

// Ok when the image can be decoded; otherwise the first reason it cannot.
PngStatus CheckHeader(const PngHeader& h, const Chunks& chunks, const PngLimits& limits) {
    if (h.width == 0 || h.height == 0 || h.width > 0x7fffffffu || h.height > 0x7fffffffu ||
        !ValidDepth(h.colorType, h.bitDepth) || h.compression != 0 || h.filterMethod != 0 || h.interlace > 1)
        return PngStatus::BadHeader;
    if (h.interlace == 1)
        return PngStatus::Interlaced;
    if (uint64_t(h.width) * h.height > limits.maxPixels)
        return PngStatus::TooLarge;
    if (PngColorType(h.colorType) == PngColorType::Palette && (chunks.paletteInvalid || !chunks.palette))
        return PngStatus::BadPalette;
    return PngStatus::Ok;
}

// The IDAT chunks' data as one stream, inflated on demand. The zlib header
// is checked here and the data inflated raw: the checksum at the end would
// only be seen after the last row, where it can change nothing, and
// computing it costs a tenth of the time.
class IdatFeed {
public:
    explicit IdatFeed(const std::vector<Span>& spans) : m_spans(spans) { std::memset(&m_zs, 0, sizeof m_zs); }
    ~IdatFeed() {
        if (m_started)
            inflateEnd(&m_zs);
    }
    IdatFeed(const IdatFeed&) = delete;
    IdatFeed& operator=(const IdatFeed&) = delete;

    // False when inflate cannot start. A bad zlib header is not a failure
    // here: the stream has then ended before its first byte.
    bool Start() {
        uint8_t cmf = 0, flg = 0;
        const bool headerOk = NextByte(cmf) && NextByte(flg) && (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 &&
                              ((unsigned(cmf) << 8) | flg) % 31 == 0 && (flg & 0x20) == 0;
        if (inflateInit2(&m_zs, -15) != Z_OK)
            return false;
        m_started = true;
        m_ended = !headerOk;
        Feed();
        return true;
    }

    // Inflates up to `want` bytes into out; returns how many came. Fewer
    // than asked only once Ended().
    size_t Read(uint8_t* out, size_t want) {
        m_zs.next_out = out;
        m_zs.avail_out = uInt(want);
        for (;;) {
            int ret = inflate(&m_zs, Z_NO_FLUSH);
            if (m_zs.avail_out == 0)
                break;
            if (ret == Z_OK || ret == Z_BUF_ERROR) {
                if (m_zs.avail_in == 0 && Feed())
                    continue;
                if (ret == Z_OK && m_zs.avail_in != 0)
                    continue;
            }
            m_ended = true; // stream end, error or no more input
            break;
        }
        return want - m_zs.avail_out;
    }

    // The stream has ended, failed or run out of data.
    bool Ended() const { return m_ended; }

private:
    // Moves to the next chunk once the current one is used up; false when none is left.
    bool Refill() {
        while (m_left == 0) {
            if (m_next == m_spans.size())
                return false;
            m_in = m_spans[m_next].data;
            m_left = m_spans[m_next].size;
            ++m_next;
        }
        return true;
    }

    bool NextByte(uint8_t& b) {
        if (!Refill())
            return false;
        b = *m_in++;
        --m_left;
        return true;
    }

    // Hands inflate the rest of the current chunk, or the next chunk.
    bool Feed() {
        if (!Refill())
            return false;
        // zlib counts in 32 bits; chunks are at most 2^31 - 1 bytes.
        m_zs.next_in = const_cast<Bytef*>(m_in);
        m_zs.avail_in = uInt(m_left);
        m_left = 0;
        return true;
    }

    const std::vector<Span>& m_spans;
    size_t m_next = 0;
    const uint8_t* m_in = nullptr;
    size_t m_left = 0;
    z_stream m_zs;
    bool m_started = false;
    bool m_ended = false;
};

// Unfilters inflated rows and converts them into the surface, top down.
class RowEmitter {
public:
    RowEmitter(const PngHeader& h, const Chunks& chunks, PixelSurface& surface)
        : m_surface(surface),
          m_converter{h, chunks.palette, uint32_t(chunks.paletteSize / 3)},
          m_bitsPerPixel(size_t(h.bitDepth) * size_t(Channels(h.colorType))),
          m_rowLen((size_t(h.width) * m_bitsPerPixel + 7) / 8),
          m_rowBytes(m_rowLen + 1),
          m_step(std::max<size_t>(1, m_bitsPerPixel / 8)),
          m_unfilter(PickUnfilter(m_step)),
          m_outRowLen(size_t(h.width) * size_t(surface.BitsPerPixel() / 8)),
          m_padding(size_t(surface.Stride()) - m_outRowLen),
          // Inflate many rows at a time: per-row calls keep zlib off its fast path.
          m_chunkRows(std::max<size_t>(1, std::min<size_t>(h.height, kChunkBytes / m_rowBytes))),
          // Not zero-filled: inflate writes every byte that is read.
          m_buffer(new (std::nothrow) uint8_t[m_chunkRows * m_rowBytes + kRowSlack]),
          m_above(new (std::nothrow) uint8_t[m_rowLen + kRowSlack]()) {}

    // False when the row buffers could not be had.
    bool Allocated() const { return m_buffer && m_above; }

    // Where inflate writes whole rows (filter byte and samples), and how many fit.
    uint8_t* Buffer() { return m_buffer.get(); }
    size_t RowBytes() const { return m_rowBytes; }
    size_t ChunkRows() const { return m_chunkRows; }

    // Unfilters the first `count` rows of the buffer, which follow the rows
    // emitted before, and converts them into the surface from row y.
    void Emit(size_t count, uint32_t y) {
        const uint8_t* prev = m_above.get();
        for (size_t r = 0; r < count; ++r) {
            uint8_t* row = m_buffer.get() + r * m_rowBytes;
#if defined(__SSE2__)
            if ((m_step == 3 || m_step == 4) && r + 3 < count && row[0] == 4 && row[m_rowBytes] == 4 &&
                row[2 * m_rowBytes] == 4 && row[3 * m_rowBytes] == 4) {
                uint8_t* const quad[4] = {row + 1, row + m_rowBytes + 1, row + 2 * m_rowBytes + 1,
                                          row + 3 * m_rowBytes + 1};
                if (m_step == 3)
                    PaethQuad<3>(quad, prev, m_rowLen);
                else
                    PaethQuad<4>(quad, prev, m_rowLen);
                Store(row + 1, 4, y + uint32_t(r));
                prev = quad[3];
                r += 3;
                continue;
            }
            if ((m_step == 3 || m_step == 4) && row[0] == 4 && r + 1 < count && row[m_rowBytes] == 4) {
                if (m_step == 3)
                    PaethPair<3>(row + 1, row + m_rowBytes + 1, prev, m_rowLen);
                else
                    PaethPair<4>(row + 1, row + m_rowBytes + 1, prev, m_rowLen);
                Store(row + 1, 2, y + uint32_t(r));
                prev = row + m_rowBytes + 1;
                ++r;
                continue;
            }
#endif
            m_unfilter(row[0], row + 1, prev, m_rowLen, m_step);
            Store(row + 1, 1, y + uint32_t(r));
            prev = row + 1;
        }
        // The next call's first row is filtered against the last one here.
        if (count > 0 && prev != m_above.get())
            std::memcpy(m_above.get(), prev, m_rowLen);
    }

private:
    // Converts `count` unfiltered rows, the first at `samples`, into the
    // surface from row y, and zeroes each row's padding.
    void Store(const uint8_t* samples, size_t count, uint32_t y) {
        for (size_t k = 0; k < count; ++k, samples += m_rowBytes) {
            uint8_t* out = m_surface.Row(int32_t(y + k));
            m_converter.Convert(samples, out);
            if (m_padding)
                std::memset(out + m_outRowLen, 0, m_padding);
        }
    }

    static const size_t kChunkBytes = size_t(256) << 10;

    PixelSurface& m_surface;
    const RowConverter m_converter;
    const size_t m_bitsPerPixel;
    const size_t m_rowLen;   // samples of one row
    const size_t m_rowBytes; // the filter byte and the samples
    const size_t m_step;     // bytes from one pixel to the next, at least 1
    const UnfilterFn m_unfilter;
    const size_t m_outRowLen;
    const size_t m_padding;
    const size_t m_chunkRows;
    std::unique_ptr<uint8_t[]> m_buffer;
    std::unique_ptr<uint8_t[]> m_above; // the last row emitted; zeros before the first
};

// A surface the size of the image, or null when the allocator gives none of that shape.
std::unique_ptr<PixelSurface> MakeSurface(const PngHeader& h, int32_t bpp, SurfaceAllocator& allocator) {
    std::unique_ptr<PixelSurface> surface = allocator.CreateSurface(int32_t(h.width), int32_t(h.height), bpp);
    if (surface && (surface->Width() != int32_t(h.width) || surface->Height() != int32_t(h.height) ||
                    surface->BitsPerPixel() != bpp))
        surface.reset();
    return surface;
}

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

PngStatus ProbePng(const uint8_t* data, size_t size, PngHeader& header, const PngLimits& limits) {
    header = PngHeader();
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0)
        return PngStatus::BadSignature;
    Chunks chunks;
    if (!WalkChunks(data, size, header, chunks))
        return PngStatus::BadHeader;
    return CheckHeader(header, chunks, limits);
}

PngResult DecodePng(const uint8_t* data, size_t size, SurfaceAllocator& allocator, const PngLimits& limits) {
    PngResult result;
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        result.status = PngStatus::BadSignature;
        return result;
    }
    const PngHeader& h = result.header;
    Chunks chunks;
    if (!WalkChunks(data, size, result.header, chunks)) {
        result.status = PngStatus::BadHeader;
        return result;
    }
    result.status = CheckHeader(h, chunks, limits);
    if (result.status != PngStatus::Ok)
        return result;

    result.surface = MakeSurface(h, result.HasAlpha() ? 32 : 24, allocator);
    if (!result.surface) {
        result.status = PngStatus::NoSurface;
        return result;
    }
    RowEmitter rows(h, chunks, *result.surface);
    IdatFeed feed(chunks.idat);
    if (!rows.Allocated() || !feed.Start()) {
        result.surface.reset();
        result.status = PngStatus::NoSurface;
        return result;
    }

    uint32_t y = 0;
    while (y < h.height && !feed.Ended()) {
        const size_t want = std::min<size_t>(rows.ChunkRows(), h.height - y);
        const size_t fullRows = feed.Read(rows.Buffer(), want * rows.RowBytes()) / rows.RowBytes();
        rows.Emit(fullRows, y);
        y += uint32_t(fullRows);
    }

    // Rows never decoded stay empty (transparent for images with alpha).
    for (uint32_t r = y; r < h.height; ++r)
        std::memset(result.surface->Row(int32_t(r)), 0, size_t(result.surface->Stride()));
    result.rowsDecoded = int32_t(y);
    result.status = y == h.height ? PngStatus::Ok : PngStatus::CorruptData;
    return result;
}

} // namespace Corvell
