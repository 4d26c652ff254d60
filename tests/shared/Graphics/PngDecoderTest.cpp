#include "PngBuilder.h"
#include "shared/Graphics/PngDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <vector>

using namespace Corvell;
using Corvell::Test::PngBuilder;

namespace {

using Bytes = std::vector<uint8_t>;

PngResult Decode(const Bytes& png, uint64_t maxPixels = uint64_t(64) << 20) {
    MemorySurfaceAllocator allocator;
    PngLimits limits;
    limits.maxPixels = maxPixels;
    return DecodePng(png.data(), png.size(), allocator, limits);
}

// The surface's pixels without row padding.
Bytes Pixels(const PngResult& r) {
    Bytes out;
    if (!r.surface)
        return out;
    const PixelSurface& s = *r.surface;
    size_t rowLen = size_t(s.Width()) * size_t(s.BitsPerPixel() / 8);
    for (int32_t y = 0; y < s.Height(); ++y)
        out.insert(out.end(), s.Row(y), s.Row(y) + rowLen);
    return out;
}

// Rows with filter byte 0.
Bytes Unfiltered(const std::vector<Bytes>& rows) {
    Bytes raw;
    for (const Bytes& row : rows) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    return raw;
}

uint8_t PaethPredictor(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

// Filters each row with the given type, as an encoder would.
Bytes Filter(const std::vector<Bytes>& rows, const std::vector<uint8_t>& types, size_t d) {
    Bytes raw;
    Bytes prev(rows[0].size(), 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        const Bytes& cur = rows[y];
        raw.push_back(types[y]);
        for (size_t i = 0; i < cur.size(); ++i) {
            int a = i >= d ? cur[i - d] : 0, b = prev[i], c = i >= d ? prev[i - d] : 0;
            int pred = 0;
            switch (types[y]) {
            case 1: pred = a; break;
            case 2: pred = b; break;
            case 3: pred = (a + b) / 2; break;
            case 4: pred = PaethPredictor(a, b, c); break;
            default: pred = 0; break;
            }
            raw.push_back(uint8_t(cur[i] - pred));
        }
        prev = cur;
    }
    return raw;
}

Bytes Png(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, const Bytes& raw, const Bytes& palette = {}) {
    PngBuilder b;
    b.Header(w, h, depth, type);
    if (!palette.empty())
        b.Palette(palette);
    return b.ImageData(raw).End().Bytes();
}

} // namespace

struct ConversionCase {
    const char* name;
    uint8_t type, depth;
    uint32_t width;
    Bytes row;      // one row of samples as stored
    Bytes expected; // surface bytes of that row
};

TEST(PngDecoder, ConvertsEveryColourTypeAndDepth) {
    const Bytes palette = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const ConversionCase cases[] = {
        {"grey 1", 0, 1, 10, {0b10110000, 0b01000000}, {255,255,255, 0,0,0, 255,255,255, 255,255,255, 0,0,0, 0,0,0, 0,0,0, 0,0,0, 0,0,0, 255,255,255}},
        {"grey 2", 0, 2, 5, {0b00011011, 0b10000000}, {0,0,0, 85,85,85, 170,170,170, 255,255,255, 170,170,170}},
        {"grey 4", 0, 4, 3, {0x0F, 0x70}, {0,0,0, 255,255,255, 119,119,119}},
        {"grey 8", 0, 8, 2, {7, 200}, {7,7,7, 200,200,200}},
        {"grey 16 keeps the high byte", 0, 16, 2, {0x12, 0xFF, 0xAB, 0x01}, {0x12,0x12,0x12, 0xAB,0xAB,0xAB}},
        {"rgb 8", 2, 8, 1, {1, 2, 3}, {3, 2, 1}},
        {"rgb 16", 2, 16, 1, {1, 0xFF, 2, 0xFF, 3, 0xFF}, {3, 2, 1}},
        {"palette 1", 3, 1, 3, {0b01000000}, {30,20,10, 60,50,40, 30,20,10}},
        {"palette 2 MSB first", 3, 2, 4, {0b00011011}, {30,20,10, 60,50,40, 90,80,70, 120,110,100}},
        {"palette 4", 3, 4, 2, {0x21}, {90,80,70, 60,50,40}},
        {"palette 8, index past the palette is black", 3, 8, 3, {3, 4, 255}, {120,110,100, 0,0,0, 0,0,0}},
        {"grey+alpha 8 premultiplied", 4, 8, 2, {200, 128, 255, 0}, {100,100,100,128, 0,0,0,0}},
        {"grey+alpha 16 at 16-bit precision", 4, 16, 1, {0x80, 0xFF, 0x80, 0xFF}, {0x41,0x41,0x41,0x80}},
        {"rgba 8: the documented pixel", 6, 8, 1, {255, 128, 0, 128}, {0, 64, 128, 128}},
        {"rgba 8 opaque and clear", 6, 8, 2, {9, 8, 7, 255, 9, 8, 7, 0}, {7,8,9,255, 0,0,0,0}},
        {"rgba 16 at 16-bit precision", 6, 16, 1, {0xFF,0xFF, 0x80,0x00, 0x00,0xFF, 0xFF,0xFF}, {0x00,0x80,0xFF,0xFF}},
        {"rgba 16 half alpha", 6, 16, 1, {0xFF,0xFF, 0xFF,0xFF, 0xFF,0xFF, 0x80,0x00}, {0x80,0x80,0x80,0x80}},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.name);
        PngResult r = Decode(Png(c.width, 1, c.depth, c.type, Unfiltered({c.row}), c.type == 3 ? palette : Bytes()));
        ASSERT_EQ(r.status, PngStatus::Ok) << PngStatusText(r.status);
        EXPECT_EQ(r.surface->BitsPerPixel(), (c.type == 4 || c.type == 6) ? 32 : 24);
        EXPECT_EQ(Pixels(r), c.expected);
    }
}

TEST(PngDecoder, RowsOf24BitSurfacesArePaddedToFourBytes) {
    PngResult r = Decode(Png(3, 2, 8, 2, Unfiltered({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}})));
    ASSERT_EQ(r.status, PngStatus::Ok);
    EXPECT_EQ(r.surface->Stride(), 12);
    EXPECT_EQ(r.surface->Row(1)[0], 7); // blue of the second row's first pixel
}

TEST(PngDecoder, UndoesEveryFilterAtEveryPixelStep) {
    // 1-bit grey (step 1, sub-byte), palette 8, grey+alpha 8 (step 2), RGB 8
    // (3), RGBA 8 (4), RGB 16 (6), RGBA 16 (8): rows use every filter.
    struct Layout { uint8_t type, depth; size_t step, channels; };
    const Layout layouts[] = {{0, 1, 1, 1}, {0, 8, 1, 1}, {4, 8, 2, 2}, {2, 8, 3, 3}, {6, 8, 4, 4}, {2, 16, 6, 3}, {6, 16, 8, 4}};
    std::mt19937 rng(7);
    // Runs of one, two, four and five Paeth rows: rows are undone alone, in pairs and in fours.
    const std::vector<uint8_t> types = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 4, 4, 4, 4, 4, 1, 4, 2, 4, 4, 4, 4};
    const uint32_t w = 13, h = uint32_t(types.size());
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << "type " << int(l.type) << " depth " << int(l.depth));
        const size_t rowLen = (w * l.depth * l.channels + 7) / 8;
        std::vector<Bytes> rows(h, Bytes(rowLen));
        for (Bytes& row : rows)
            for (uint8_t& b : row)
                b = uint8_t(rng() % 4 == 0 ? 255 : rng()); // many ties for Paeth
        PngResult filtered = Decode(Png(w, h, l.depth, l.type, Filter(rows, types, l.step)));
        PngResult plain = Decode(Png(w, h, l.depth, l.type, Unfiltered(rows)));
        ASSERT_EQ(filtered.status, PngStatus::Ok);
        ASSERT_EQ(plain.status, PngStatus::Ok);
        EXPECT_EQ(Pixels(filtered), Pixels(plain));
    }
}

TEST(PngDecoder, UnknownFilterTypeLeavesTheRowAsStored) {
    PngResult r = Decode(Png(2, 1, 8, 0, Bytes{9, 5, 6}));
    ASSERT_EQ(r.status, PngStatus::Ok);
    EXPECT_EQ(Pixels(r), (Bytes{5, 5, 5, 6, 6, 6}));
}

TEST(PngDecoder, SplitImageDataDecodesAsOneStream) {
    std::vector<Bytes> rows = {{1, 2, 3, 4, 5, 6, 7, 8}, {8, 7, 6, 5, 4, 3, 2, 1}};
    Bytes one = Png(2, 2, 8, 6, Unfiltered(rows));
    PngBuilder split;
    split.Header(2, 2, 8, 6).Chunk("IDAT", {}).ImageData(Unfiltered(rows), 4).Chunk("IDAT", {}).End();
    PngResult a = Decode(one), b = Decode(split.Bytes());
    ASSERT_EQ(b.status, PngStatus::Ok);
    EXPECT_EQ(Pixels(a), Pixels(b));
}

struct BadCase {
    const char* name;
    Bytes png;
    PngStatus status;
};

TEST(PngDecoder, RefusesHeadersPngDoesNotAllow) {
    const Bytes row = Unfiltered({{0, 0, 0, 0}});
    auto header = [&](uint32_t w, uint32_t h, uint8_t depth, uint8_t type, uint8_t interlace = 0, uint8_t compression = 0,
                      uint8_t filter = 0) {
        return PngBuilder().Header(w, h, depth, type, interlace, compression, filter).ImageData(row).End().Bytes();
    };
    Bytes notFirst = PngBuilder().Chunk("tEXt", {'a', 0, 'b'}).Header(1, 1, 8, 0).ImageData(row).End().Bytes();
    Bytes shortHeader = PngBuilder().Chunk("IHDR", Bytes(12, 0)).End().Bytes();
    Bytes noChunks = PngBuilder().Bytes();
    Bytes badSig = header(1, 1, 8, 0);
    badSig[1] = 'Q';
    const BadCase cases[] = {
        {"empty", {}, PngStatus::BadSignature},
        {"signature only", noChunks, PngStatus::BadHeader},
        {"bad signature", badSig, PngStatus::BadSignature},
        {"IHDR not first", notFirst, PngStatus::BadHeader},
        {"IHDR of 12 bytes", shortHeader, PngStatus::BadHeader},
        {"width 0", header(0, 1, 8, 0), PngStatus::BadHeader},
        {"height 0", header(1, 0, 8, 0), PngStatus::BadHeader},
        {"width 2^31", header(0x80000000u, 1, 8, 0), PngStatus::BadHeader},
        {"height 2^32-1", header(1, 0xFFFFFFFFu, 8, 0), PngStatus::BadHeader},
        {"enormous but allowed by PNG", header(0x7FFFFFFF, 0x7FFFFFFF, 8, 6), PngStatus::TooLarge},
        {"just over the pixel cap", header(8193, 8192, 8, 0), PngStatus::TooLarge},
        {"RGB at 1 bit", header(1, 1, 1, 2), PngStatus::BadHeader},
        {"palette at 16 bits", header(1, 1, 16, 3), PngStatus::BadHeader},
        {"grey+alpha at 4 bits", header(1, 1, 4, 4), PngStatus::BadHeader},
        {"RGBA at 4 bits", header(1, 1, 4, 6), PngStatus::BadHeader},
        {"grey at 3 bits", header(1, 1, 3, 0), PngStatus::BadHeader},
        {"colour type 1", header(1, 1, 8, 1), PngStatus::BadHeader},
        {"colour type 5", header(1, 1, 8, 5), PngStatus::BadHeader},
        {"colour type 7", header(1, 1, 8, 7), PngStatus::BadHeader},
        {"compression 1", header(1, 1, 8, 0, 0, 1), PngStatus::BadHeader},
        {"filter method 1", header(1, 1, 8, 0, 0, 0, 1), PngStatus::BadHeader},
        {"interlace method 2", header(1, 1, 8, 0, 2), PngStatus::BadHeader},
        {"interlaced", header(1, 1, 8, 0, 1), PngStatus::Interlaced},
        {"palette type without PLTE", header(1, 1, 8, 3), PngStatus::BadPalette},
        {"PLTE not a multiple of 3", PngBuilder().Header(1, 1, 8, 3).Palette(Bytes(10, 1)).ImageData(row).End().Bytes(), PngStatus::BadPalette},
        {"PLTE over 256 entries", PngBuilder().Header(1, 1, 8, 3).Palette(Bytes(771, 1)).ImageData(row).End().Bytes(), PngStatus::BadPalette},
        {"PLTE only after the image data", PngBuilder().Header(1, 1, 8, 3).ImageData(row).Palette(Bytes(3, 1)).End().Bytes(), PngStatus::BadPalette},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        PngResult r = Decode(c.png);
        EXPECT_EQ(r.status, c.status) << PngStatusText(r.status);
        EXPECT_EQ(r.surface, nullptr);
    }
    // The cap is the caller's to set.
    EXPECT_EQ(Decode(header(3, 3, 8, 0), 8).status, PngStatus::TooLarge);
}

namespace {
// 8 rows of 4 grey pixels; the first `good` rows compressed and flushed, then `tail`.
Bytes DamagedAfterRows(int good, const Bytes& tail, std::vector<Bytes>* rowsOut) {
    std::vector<Bytes> rows;
    for (int y = 0; y < 8; ++y)
        rows.push_back(Bytes{uint8_t(10 + y), uint8_t(20 + y), uint8_t(30 + y), uint8_t(40 + y)});
    Bytes raw = Unfiltered(std::vector<Bytes>(rows.begin(), rows.begin() + good));
    z_stream zs{};
    deflateInit(&zs, 9);
    Bytes z(1024);
    zs.next_in = raw.data();
    zs.avail_in = uInt(raw.size());
    zs.next_out = z.data();
    zs.avail_out = uInt(z.size());
    deflate(&zs, Z_FULL_FLUSH);
    z.resize(z.size() - zs.avail_out);
    deflateEnd(&zs);
    z.insert(z.end(), tail.begin(), tail.end());
    *rowsOut = rows;
    return PngBuilder().Header(4, 8, 8, 0).Chunk("IDAT", z).End().Bytes();
}
} // namespace

TEST(PngDecoder, DamagedDataKeepsTheRowsDecodedSoFar) {
    struct Case {
        const char* name;
        Bytes tail;
    } cases[] = {
        {"invalid block type", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"stream cut short", {}},
        {"bad distance", {0x05, 0x80, 0x31, 0x0A, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> rows;
        PngResult r = Decode(DamagedAfterRows(3, c.tail, &rows));
        ASSERT_EQ(r.status, PngStatus::CorruptData);
        ASSERT_NE(r.surface, nullptr);
        EXPECT_EQ(r.rowsDecoded, 3);
        for (int y = 0; y < 8; ++y) {
            const uint8_t* p = r.surface->Row(y);
            uint8_t want = y < 3 ? rows[size_t(y)][1] : 0;
            EXPECT_EQ(p[3], want) << "row " << y; // second pixel's blue
        }
    }
}

TEST(PngDecoder, ChunkLengthsPastTheDataNeverReadOutside) {
    const Bytes raw = Unfiltered({{1, 2, 3, 4}, {5, 6, 7, 8}});
    const Bytes z = PngBuilder::Compress(raw);

    // IDAT claims more than the file holds: what is there is used.
    Bytes claimsMore = PngBuilder().Header(4, 2, 8, 0).ChunkWithLength("IDAT", 0x7FFFFFF0u, z).Bytes();
    claimsMore.resize(claimsMore.size() - 4); // no CRC either
    PngResult a = Decode(claimsMore);
    EXPECT_EQ(a.status, PngStatus::Ok);
    EXPECT_EQ(a.rowsDecoded, 2);

    // Lengths at and past 2^31, and a length that makes the walk wrap.
    for (uint32_t length : {0x80000000u, 0xFFFFFFFFu, 0xFFFFFFF4u}) {
        Bytes b = PngBuilder().Header(4, 2, 8, 0).ChunkWithLength("tEXt", length, {1, 2, 3}).ImageData(raw).End().Bytes();
        PngResult r = Decode(b);
        EXPECT_EQ(r.status, PngStatus::CorruptData) << length;
        EXPECT_EQ(r.rowsDecoded, 0);
    }

    // Every truncation of a good file.
    Bytes good = PngBuilder().Header(4, 2, 8, 0).ImageData(raw, 3).End().Bytes();
    for (size_t n = 0; n <= good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + long(n));
        cut.shrink_to_fit(); // so ASan sees the end of the buffer
        PngResult r = Decode(cut);
        EXPECT_LE(r.rowsDecoded, 2);
    }
}

TEST(PngDecoder, PremultipliesEveryColourAndAlphaPair) {
    // Row v holds every alpha a for colour (v, 255 - v, v / 2); rows of four
    // and more pixels take the vector path, the rest of a row the plain one.
    const uint32_t w = 257, h = 256;
    std::vector<Bytes> rows;
    for (uint32_t v = 0; v < h; ++v) {
        Bytes row;
        for (uint32_t a = 0; a < w; ++a) {
            uint8_t alpha = a == 256 ? 255 : uint8_t(a);
            row.insert(row.end(), {uint8_t(v), uint8_t(255 - v), uint8_t(v / 2), alpha});
        }
        rows.push_back(row);
    }
    PngResult r = Decode(Png(w, h, 8, 6, Unfiltered(rows)));
    ASSERT_EQ(r.status, PngStatus::Ok);
    for (uint32_t v = 0; v < h; ++v)
        for (uint32_t a = 0; a < w; ++a) {
            const uint8_t* p = r.surface->Row(int32_t(v)) + 4 * a;
            const uint32_t alpha = a == 256 ? 255 : a;
            const uint8_t want[4] = {uint8_t((v / 2) * alpha / 255), uint8_t((255 - v) * alpha / 255),
                                     uint8_t(v * alpha / 255), uint8_t(alpha)};
            ASSERT_EQ(0, std::memcmp(p, want, 4)) << "colour " << v << " alpha " << alpha;
        }
}
