// pngdecode IN.png OUT.raw: decodes with the toolkit's decoder and writes the
// width and height (little-endian 32 bit each), then the surface rows
// without padding (3 bytes a pixel B, G, R or 4 bytes B, G, R, A premultiplied).
// Exit status 0 on success, 1 on failure with the reason on standard error;
// a damaged image still has the rows decoded so far written.
#include "shared/Graphics/PngDecoder.h"

#include <cstdio>
#include <vector>

using namespace Corvell;

static void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pngdecode IN.png OUT.raw\n");
        return 1;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) {
        std::fprintf(stderr, "pngdecode: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    bool readError = std::ferror(in) != 0;
    std::fclose(in);
    if (readError) {
        std::fprintf(stderr, "pngdecode: cannot read %s\n", argv[1]);
        return 1;
    }

    MemorySurfaceAllocator allocator;
    PngResult r = DecodePng(bytes.data(), bytes.size(), allocator);
    if (!r.surface) {
        std::fprintf(stderr, "pngdecode: %s: %s\n", argv[1], PngStatusText(r.status));
        return 1;
    }

    const PixelSurface& s = *r.surface;
    const size_t rowLen = size_t(s.Width()) * (s.BitsPerPixel() / 8);
    std::vector<uint8_t> out;
    out.reserve(8 + rowLen * size_t(s.Height()));
    PutLE32(out, uint32_t(s.Width()));
    PutLE32(out, uint32_t(s.Height()));
    for (int32_t y = 0; y < s.Height(); ++y)
        out.insert(out.end(), s.Row(y), s.Row(y) + rowLen);

    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "pngdecode: cannot write %s\n", argv[2]);
        return 1;
    }
    if (r.status != PngStatus::Ok) {
        std::fprintf(stderr, "pngdecode: %s: %s (%d of %u rows decoded)\n", argv[1], PngStatusText(r.status),
                     r.rowsDecoded, r.header.height);
        return 1;
    }
    return 0;
}
