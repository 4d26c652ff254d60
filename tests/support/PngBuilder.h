#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Corvell::Test {

// Writes small PNG files for tests: chunks are appended as given, so
// broken files are as easy to make as good ones.
class PngBuilder {
public:
    PngBuilder();

    // IHDR with the given fields (13 bytes).
    PngBuilder& Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType,
                       uint8_t interlace = 0, uint8_t compression = 0, uint8_t filter = 0);
    PngBuilder& Palette(const std::vector<uint8_t>& rgb);
    // Image data: raw rows (each starting with its filter byte), compressed with zlib.
    PngBuilder& ImageData(const std::vector<uint8_t>& rawRows, int splitInto = 1);
    PngBuilder& Chunk(const char type[4], const std::vector<uint8_t>& body);
    // A chunk whose length field says `length` but whose body is `body`.
    PngBuilder& ChunkWithLength(const char type[4], uint32_t length, const std::vector<uint8_t>& body);
    PngBuilder& End();

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    static std::vector<uint8_t> Compress(const std::vector<uint8_t>& raw);

private:
    std::vector<uint8_t> m_bytes;
};

// An 8-bit RGBA image of any size whose pixels differ from row to row.
std::vector<uint8_t> RgbaPng(uint32_t width, uint32_t height);

// Reads a whole file; empty when it cannot.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

} // namespace Corvell::Test
