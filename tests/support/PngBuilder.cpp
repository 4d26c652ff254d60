#include "PngBuilder.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

namespace Corvell::Test {

namespace {
void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 3; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}
} // namespace

PngBuilder::PngBuilder() : m_bytes{137, 80, 78, 71, 13, 10, 26, 10} {}

PngBuilder& PngBuilder::ChunkWithLength(const char type[4], uint32_t length, const std::vector<uint8_t>& body) {
    PutBE32(m_bytes, length);
    size_t start = m_bytes.size();
    m_bytes.insert(m_bytes.end(), type, type + 4);
    m_bytes.insert(m_bytes.end(), body.begin(), body.end());
    uLong crc = crc32(0, m_bytes.data() + start, uInt(m_bytes.size() - start));
    PutBE32(m_bytes, uint32_t(crc));
    return *this;
}

PngBuilder& PngBuilder::Chunk(const char type[4], const std::vector<uint8_t>& body) {
    return ChunkWithLength(type, uint32_t(body.size()), body);
}

PngBuilder& PngBuilder::Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                               uint8_t interlace, uint8_t compression, uint8_t filter) {
    std::vector<uint8_t> b;
    PutBE32(b, width);
    PutBE32(b, height);
    b.insert(b.end(), {depth, colorType, compression, filter, interlace});
    return Chunk("IHDR", b);
}

PngBuilder& PngBuilder::Palette(const std::vector<uint8_t>& rgb) { return Chunk("PLTE", rgb); }

std::vector<uint8_t> PngBuilder::Compress(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

PngBuilder& PngBuilder::ImageData(const std::vector<uint8_t>& rawRows, int splitInto) {
    std::vector<uint8_t> z = Compress(rawRows);
    size_t parts = splitInto < 1 ? 1 : size_t(splitInto);
    size_t step = (z.size() + parts - 1) / parts;
    for (size_t i = 0; i < z.size(); i += step) {
        size_t n = std::min(step, z.size() - i);
        Chunk("IDAT", std::vector<uint8_t>(z.begin() + long(i), z.begin() + long(i + n)));
    }
    return *this;
}

PngBuilder& PngBuilder::End() { return Chunk("IEND", {}); }

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

std::vector<uint8_t> RgbaPng(uint32_t width, uint32_t height) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (uint32_t i = 0; i < width * 4; ++i)
            raw.push_back(uint8_t(i * 5 + y));
    }
    return PngBuilder().Header(width, height, 8, 6).ImageData(raw).End().Bytes();
}

} // namespace Corvell::Test
