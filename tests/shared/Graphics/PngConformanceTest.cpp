// Decodes the committed corpus (written by two independent encoders) and
// compares every byte with the pixels libpng gives for the same files,
// converted by the reference tool tools/pngref.
#include "PngBuilder.h"
#include "shared/Graphics/PngDecoder.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace Corvell;
using Corvell::Test::ReadFileBytes;

namespace {

std::string CorpusDir() { return std::string(TARROW_SOURCE_DIR) + "/tests/shared/Graphics/png/"; }

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    if (DIR* d = opendir(CorpusDir().c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".png") == 0)
                names.push_back(n.substr(0, n.size() - 4));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

uint32_t LE32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

} // namespace

TEST(PngConformance, CorpusMatchesLibpngPixelForPixel) {
    std::vector<std::string> names = CorpusFiles();
    ASSERT_GE(names.size(), 30u) << "corpus missing in " << CorpusDir();

    std::set<std::pair<int, int>> covered;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> png = ReadFileBytes(CorpusDir() + name + ".png");
        std::vector<uint8_t> ref = ReadFileBytes(CorpusDir() + name + ".raw");
        ASSERT_FALSE(png.empty());
        ASSERT_GE(ref.size(), 8u);

        MemorySurfaceAllocator allocator;
        PngResult r = DecodePng(png.data(), png.size(), allocator);
        ASSERT_EQ(r.status, PngStatus::Ok) << PngStatusText(r.status);
        covered.insert({r.header.colorType, r.header.bitDepth});

        const PixelSurface& s = *r.surface;
        ASSERT_EQ(uint32_t(s.Width()), LE32(ref, 0));
        ASSERT_EQ(uint32_t(s.Height()), LE32(ref, 4));
        const size_t px = size_t(s.BitsPerPixel() / 8);
        const size_t rowLen = size_t(s.Width()) * px;
        ASSERT_EQ(ref.size(), 8 + rowLen * size_t(s.Height())) << "reference has another pixel format";
        for (int32_t y = 0; y < s.Height(); ++y) {
            const uint8_t* got = s.Row(y);
            const uint8_t* want = ref.data() + 8 + rowLen * size_t(y);
            auto mismatch = std::mismatch(got, got + rowLen, want);
            ASSERT_TRUE(mismatch.first == got + rowLen)
                << "row " << y << " pixel " << (mismatch.first - got) / long(px) << " byte "
                << (mismatch.first - got) % long(px) << ": got " << int(*mismatch.first) << ", libpng "
                << int(*mismatch.second);
        }
    }

    // Every colour type and depth PNG allows without interlacing.
    const std::set<std::pair<int, int>> allowed = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16},
                                                   {3, 1}, {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8},
                                                   {6, 16}};
    EXPECT_EQ(covered, allowed);
}
