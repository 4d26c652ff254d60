// Decode throughput of the toolkit's PNG decoder against libpng and
// stb_image, and against zlib's inflate alone on the same compressed data:
// a UI-like set of 77 images (the artwork's sizes and colour types) and one
// 4-megapixel photo-like image, all encoded by libpng at its defaults.
#include "shared/Graphics/PngDecoder.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <stb_image.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

using namespace Corvell;

namespace {

using Bytes = std::vector<uint8_t>;

struct Image {
    Bytes png;
    Bytes idat;       // the concatenated compressed data
    size_t rawSize;   // filtered rows as inflate produces them
    size_t pixels;
};

struct ImageShape {
    int w, h;
    bool alpha;
};

// The artwork's sizes; the UI images are mostly flat colour with bevels,
// gradients and antialiased edges.
const ImageShape kUi[] = {
    {459, 307, 0}, {220, 80, 1}, {800, 336, 1}, {800, 588, 1}, {90, 27, 1}, {90, 27, 1}, {19, 80, 1}, {19, 80, 1},
    {19, 80, 1}, {18, 17, 1}, {60, 12, 1}, {14, 5, 1}, {780, 343, 0}, {17, 80, 1}, {21, 80, 1}, {26, 80, 1},
    {32, 110, 1}, {27, 27, 0}, {25, 27, 0}, {25, 27, 0}, {26, 27, 0}, {26, 27, 0}, {26, 27, 0}, {26, 27, 0},
    {120, 28, 1}, {120, 28, 1}, {52, 52, 1}, {300, 112, 1}, {132, 132, 1}, {60, 60, 1}, {48, 36, 1}, {81, 60, 1},
    {700, 80, 1}, {700, 64, 0}, {700, 64, 1}, {700, 80, 0}, {8, 16, 1}, {180, 30, 1}, {786, 34, 1}, {786, 34, 1},
    {786, 34, 1}, {786, 34, 1}, {98, 28, 1}, {260, 30, 1}, {18, 24, 1}, {72, 12, 1}, {360, 60, 1}, {30, 21, 1},
    {30, 21, 1}, {64, 19, 1}, {19, 64, 1}, {30, 21, 1}, {20, 20, 1}, {19, 19, 0}, {19, 19, 0}, {16, 16, 0},
    {16, 16, 1}, {16, 16, 1}, {264, 132, 1}, {72, 25, 1}, {73, 23, 0}, {73, 23, 0}, {19, 19, 0}, {19, 19, 0},
    {19, 19, 0}, {19, 19, 0}, {19, 19, 0}, {26, 27, 0}, {26, 27, 0}, {15, 27, 0}, {15, 27, 0}, {19, 19, 0},
    {19, 19, 0}, {19, 19, 0}, {19, 400, 0}, {664, 442, 0}, {14, 10, 1},
};

Bytes UiPixels(const ImageShape& s, std::mt19937& rng) {
    const int c = s.alpha ? 4 : 3;
    Bytes px(size_t(s.w) * s.h * c);
    const int base = int(rng() % 60) + 30;
    const float cx = s.w / 2.0f, cy = s.h / 2.0f, rad = std::min(s.w, s.h) * 0.45f;
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            uint8_t* p = &px[(size_t(y) * s.w + x) * c];
            int v = base + (y * 40) / s.h;                 // vertical gradient
            if (x == 0 || y == 0) v += 60;                  // bevel
            if (x == s.w - 1 || y == s.h - 1) v -= 25;
            if ((x / 8 + y / 8) % 11 == 0) v += 12;         // texture
            v += int(rng() % 3);                            // brushed-metal grain
            float d = std::hypot(x - cx, y - cy);
            bool lamp = d < rad * 0.4f;
            p[0] = uint8_t(std::clamp(lamp ? 230 : v, 0, 255));
            p[1] = uint8_t(std::clamp(lamp ? 150 : v, 0, 255));
            p[2] = uint8_t(std::clamp(lamp ? 40 : v + 4, 0, 255));
            if (c == 4) {
                float a = std::clamp((rad - d) * 2.0f, 0.0f, 1.0f); // antialiased disc / rounded shape
                p[3] = uint8_t(d < rad ? 255 : a * 255.0f);
                if (x > 2 && y > 2 && x < s.w - 3 && y < s.h - 3) p[3] = 255;
            }
        }
    return px;
}

Bytes PhotoPixels(int w, int h, std::mt19937& rng) {
    Bytes px(size_t(w) * h * 3);
    std::normal_distribution<float> noise(0.0f, 4.0f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * 3];
            float fx = x / float(w), fy = y / float(h);
            float sky = 200 - 120 * fy + 30 * std::sin(fx * 9 + fy * 4);
            float r = sky + 25 * std::sin(fx * 23) * std::cos(fy * 17) + noise(rng);
            float g = sky * 0.9f + 20 * std::cos(fx * 13 + fy * 29) + noise(rng);
            float b = sky * 0.7f + 40 * fy + noise(rng);
            p[0] = uint8_t(std::clamp(r, 0.0f, 255.0f));
            p[1] = uint8_t(std::clamp(g, 0.0f, 255.0f));
            p[2] = uint8_t(std::clamp(b, 0.0f, 255.0f));
        }
    return px;
}

void WriteToVector(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

Image Encode(int w, int h, int channels, const Bytes& px) {
    Image img;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("libpng could not encode");
    png_set_write_fn(png, &img.png, WriteToVector, nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(&px[size_t(y) * w * channels]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);

    for (size_t pos = 8; pos + 12 <= img.png.size();) {
        uint32_t n = (uint32_t(img.png[pos]) << 24) | (img.png[pos + 1] << 16) | (img.png[pos + 2] << 8) | img.png[pos + 3];
        if (std::memcmp(&img.png[pos + 4], "IDAT", 4) == 0)
            img.idat.insert(img.idat.end(), img.png.begin() + long(pos + 8), img.png.begin() + long(pos + 8 + n));
        pos += 12 + n;
    }
    img.rawSize = size_t(h) * (size_t(w) * channels + 1);
    img.pixels = size_t(w) * h;
    return img;
}

const std::vector<Image>& UiSet() {
    static const std::vector<Image> set = [] {
        std::mt19937 rng(77);
        std::vector<Image> out;
        for (const ImageShape& s : kUi)
            out.push_back(Encode(s.w, s.h, s.alpha ? 4 : 3, UiPixels(s, rng)));
        return out;
    }();
    return set;
}

const std::vector<Image>& Photo() {
    static const std::vector<Image> set = [] {
        std::mt19937 rng(4);
        return std::vector<Image>{Encode(2048, 2048, 3, PhotoPixels(2048, 2048, rng))};
    }();
    return set;
}

// ---- the decoders ----------------------------------------------------------------

void DecodeOurs(const Image& img) {
    MemorySurfaceAllocator allocator;
    PngResult r = DecodePng(img.png.data(), img.png.size(), allocator);
    if (r.status != PngStatus::Ok)
        throw std::runtime_error("decode failed");
    benchmark::DoNotOptimize(r.surface->Pixels());
}

struct ReadState {
    const Bytes* data;
    size_t pos;
};

void ReadFromVector(png_structp png, png_bytep out, png_size_t n) {
    auto* s = static_cast<ReadState*>(png_get_io_ptr(png));
    if (s->pos + n > s->data->size())
        png_error(png, "read past end");
    std::memcpy(out, s->data->data() + s->pos, n);
    s->pos += n;
}

void DecodeLibpng(const Image& img, Bytes& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    ReadState state{&img.png, 0};
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("libpng failed");
    png_set_read_fn(png, &state, ReadFromVector);
    png_read_info(png, info);
    png_set_bgr(png); // the same byte order as ours
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    out.resize(rowBytes * h);
    for (png_uint_32 y = 0; y < h; ++y)
        png_read_row(png, out.data() + rowBytes * y, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(out.data());
}

void DecodeStb(const Image& img) {
    int w, h, n;
    stbi_uc* p = stbi_load_from_memory(img.png.data(), int(img.png.size()), &w, &h, &n, 0);
    if (!p)
        throw std::runtime_error("stb failed");
    benchmark::DoNotOptimize(p);
    stbi_image_free(p);
}

void InflateOnly(const Image& img, Bytes& out) {
    out.resize(img.rawSize);
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = const_cast<Bytef*>(img.idat.data());
    zs.avail_in = uInt(img.idat.size());
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    if (inflate(&zs, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("inflate failed");
    inflateEnd(&zs);
    benchmark::DoNotOptimize(out.data());
}

// The same without the zlib wrapper and its checksum, as the toolkit's decoder inflates.
void RawInflateOnly(const Image& img, Bytes& out) {
    out.resize(img.rawSize);
    z_stream zs{};
    inflateInit2(&zs, -15);
    zs.next_in = const_cast<Bytef*>(img.idat.data() + 2);
    zs.avail_in = uInt(img.idat.size() - 2);
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    if (inflate(&zs, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("raw inflate failed");
    inflateEnd(&zs);
    benchmark::DoNotOptimize(out.data());
}

template <class Set>
void Account(benchmark::State& state, const Set& set) {
    size_t pixels = 0, bytes = 0;
    for (const Image& img : set) {
        pixels += img.pixels;
        bytes += img.png.size();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(pixels)); // pixels a second
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));  // PNG bytes a second
}

template <const std::vector<Image>& (*SetOf)()>
void BM_Ours(benchmark::State& state) {
    const auto& set = SetOf();
    for (auto _ : state)
        for (const Image& img : set)
            DecodeOurs(img);
    Account(state, set);
}

template <const std::vector<Image>& (*SetOf)()>
void BM_Libpng(benchmark::State& state) {
    const auto& set = SetOf();
    Bytes out;
    for (auto _ : state)
        for (const Image& img : set)
            DecodeLibpng(img, out);
    Account(state, set);
}

template <const std::vector<Image>& (*SetOf)()>
void BM_Stb(benchmark::State& state) {
    const auto& set = SetOf();
    for (auto _ : state)
        for (const Image& img : set)
            DecodeStb(img);
    Account(state, set);
}

template <const std::vector<Image>& (*SetOf)()>
void BM_InflateOnly(benchmark::State& state) {
    const auto& set = SetOf();
    Bytes out;
    for (auto _ : state)
        for (const Image& img : set)
            InflateOnly(img, out);
    Account(state, set);
}

template <const std::vector<Image>& (*SetOf)()>
void BM_RawInflateOnly(benchmark::State& state) {
    const auto& set = SetOf();
    Bytes out;
    for (auto _ : state)
        for (const Image& img : set)
            RawInflateOnly(img, out);
    Account(state, set);
}

} // namespace

BENCHMARK(BM_Ours<UiSet>)->Name("UiSet77/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng<UiSet>)->Name("UiSet77/libpng")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb<UiSet>)->Name("UiSet77/stb_image")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateOnly<UiSet>)->Name("UiSet77/zlib_inflate_only")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawInflateOnly<UiSet>)->Name("UiSet77/zlib_raw_inflate_only")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours<Photo>)->Name("Photo4MP/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng<Photo>)->Name("Photo4MP/libpng")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb<Photo>)->Name("Photo4MP/stb_image")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateOnly<Photo>)->Name("Photo4MP/zlib_inflate_only")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_RawInflateOnly<Photo>)->Name("Photo4MP/zlib_raw_inflate_only")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
