// The images the views load, as the loader finds them: resource name, size,
// colour type and bit depth. Typed by hand, not read from the files, so that
// a generator that drifts is caught.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace Corvell {
namespace ExpectedImages {

struct Image {
    const char* name;   // resource name; the file is its lower-case form + ".png"
    uint32_t width;
    uint32_t height;
    uint8_t colourType;  // 2 RGB, 6 RGBA
    uint8_t bitDepth;
};

constexpr uint8_t kRgb = 2;
constexpr uint8_t kRgba = 6;

constexpr Image kImages[] = {
    {"ABOUT-TARROW", 459, 307, kRgb, 8},
    {"ACCENT-PANEL", 220, 80, kRgba, 8},
    {"BKGND-PANEL", 800, 336, kRgba, 8},
    {"BKGND-TARROW", 800, 588, kRgba, 8},
    {"BUTTON-NORMAL", 90, 27, kRgba, 8},
    {"BUTTON-PRESSED", 90, 27, kRgba, 8},
    {"CAPO", 19, 80, kRgba, 8},
    {"CAPO2", 19, 80, kRgba, 8},
    {"CAPO3", 19, 80, kRgba, 8},
    {"CE-COMBO-TRIANGLE", 18, 17, kRgba, 8},
    {"CHECK", 60, 12, kRgba, 8},
    {"COMBO-TRIANGLE", 14, 5, kRgba, 8},
    {"CT-BACKGROUND", 780, 343, kRgb, 8},
    {"CT-BULBS-17X8", 17, 80, kRgba, 8},
    {"CT-BULBS-21X8", 21, 80, kRgba, 8},
    {"CT-BULBS-26X8", 26, 80, kRgba, 8},
    {"CT-BULBS-32X11", 32, 110, kRgba, 8},
    {"CT-EDIT", 27, 27, kRgb, 8},
    {"CTE-DELETE-NORMAL", 25, 27, kRgb, 8},
    {"CTE-DELETE-PRESSED", 25, 27, kRgb, 8},
    {"CTE-MENU-NORMAL", 26, 27, kRgb, 8},
    {"CTE-MENU-PRESSED", 26, 27, kRgb, 8},
    {"CTE-SAVE-NORMAL", 26, 27, kRgb, 8},
    {"CTE-SAVE-PRESSED", 26, 27, kRgb, 8},
    {"CURVES", 120, 28, kRgba, 8},
    {"CURVESPRESSED", 120, 28, kRgba, 8},
    {"DARK-ARROWS", 52, 52, kRgba, 8},
    {"DISPLAY", 300, 112, kRgba, 8},
    {"DROP-SHADOW", 132, 132, kRgba, 8},
    {"FADE", 60, 60, kRgba, 8},
    {"FINGER", 48, 36, kRgba, 8},
    {"FINGEREDIT", 81, 60, kRgba, 8},
    {"KBD", 700, 80, kRgba, 8},
    {"KBD2", 700, 64, kRgb, 8},
    {"KBD2PRESSED", 700, 64, kRgba, 8},
    {"KBDPRESSED", 700, 80, kRgb, 8},
    {"KSLAMPS", 8, 16, kRgba, 8},
    {"LOGO-TARROW", 180, 30, kRgba, 8},
    {"MACROMODES-OFF", 786, 34, kRgba, 8},
    {"MACROMODES-OFF-PUSHED", 786, 34, kRgba, 8},
    {"MACROMODES-ON", 786, 34, kRgba, 8},
    {"MACROMODES-ON-PUSHED", 786, 34, kRgba, 8},
    {"CV", 98, 28, kRgba, 8},
    {"MODE-TABS", 260, 30, kRgba, 8},
    {"PLECTRUM", 18, 24, kRgba, 8},
    {"RADIO", 72, 12, kRgba, 8},
    {"SELECT-PATTERN", 360, 60, kRgba, 8},
    {"SLIDER-THUMB-SM-H", 30, 21, kRgba, 8},
    {"SLIDER-THUMB-SM-V", 30, 21, kRgba, 8},
    {"SLIDERSLOTH", 64, 19, kRgba, 8},
    {"SLIDERSLOTV", 19, 64, kRgba, 8},
    {"SLIDERTHUMBH", 30, 21, kRgba, 8},
    {"SLIDERTHUMBV", 20, 20, kRgba, 8},
    {"SM-BTN-UP-NORMAL", 19, 19, kRgb, 8},
    {"SM-BTN-UP-PRESSED", 19, 19, kRgb, 8},
    {"SWITCHOFF", 16, 16, kRgb, 8},
    {"SWITCHON", 16, 16, kRgba, 8},
    {"TECH", 16, 16, kRgba, 8},
    {"TOP-PANEL-BG", 264, 132, kRgba, 8},
    {"TOP-TOGGLE", 72, 25, kRgba, 16},
    {"UCM-BUTTON-NORMAL", 73, 23, kRgb, 8},
    {"UCM-BUTTON-PRESSED", 73, 23, kRgb, 8},
    {"UCM-DELETE-DISABLED", 19, 19, kRgb, 8},
    {"UCM-DELETE-NORMAL", 19, 19, kRgb, 8},
    {"UCM-DELETE-PRESSED", 19, 19, kRgb, 8},
    {"UCM-MENU-NORMAL", 19, 19, kRgb, 8},
    {"UCM-MENU-PRESSED", 19, 19, kRgb, 8},
    {"UCM-PLAY-NORMAL", 26, 27, kRgb, 8},
    {"UCM-PLAY-PRESSED", 26, 27, kRgb, 8},
    {"UCM-PM-NORMAL", 15, 27, kRgb, 8},
    {"UCM-PM-PRESSED", 15, 27, kRgb, 8},
    {"UCM-SAVE-DISABLED", 19, 19, kRgb, 8},
    {"UCM-SAVE-NORMAL", 19, 19, kRgb, 8},
    {"UCM-SAVE-PRESSED", 19, 19, kRgb, 8},
    {"UCM-SCROLL-BG", 19, 400, kRgb, 8},
    {"UCM-TARROW", 664, 442, kRgb, 8},
    {"UP-DOWN-ARROWS", 14, 10, kRgba, 8},
};

constexpr std::size_t kCount = sizeof(kImages) / sizeof(kImages[0]);

inline std::string FileName(const char* name) {
    std::string s;
    for (const char* p = name; *p; ++p)
        s.push_back(*p >= 'A' && *p <= 'Z' ? static_cast<char>(*p - 'A' + 'a') : *p);
    return s + ".png";
}

// What a PNG's bytes say about themselves. `error` is empty when the file is
// a complete, well-formed PNG: signature, IHDR first, every chunk inside the
// data with a correct CRC, IEND last, and IDAT data that inflates to exactly
// one filter byte plus one row of samples per line.
struct PngInfo {
    uint32_t width = 0, height = 0;
    uint8_t bitDepth = 0, colourType = 0, interlace = 0xFF;
    std::string error;
};

inline uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline PngInfo InspectPng(const unsigned char* data, std::size_t size) {
    PngInfo info;
    static const unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (size < 8 || std::string(reinterpret_cast<const char*>(data), 8) !=
                        std::string(reinterpret_cast<const char*>(kSignature), 8)) {
        info.error = "bad signature";
        return info;
    }
    std::string idat;
    bool sawHeader = false, sawEnd = false;
    std::size_t pos = 8;
    while (pos + 12 <= size && !sawEnd) {
        uint32_t length = BigEndian32(data + pos);
        if (length > size - pos - 12) {
            info.error = "chunk runs past the end";
            return info;
        }
        const unsigned char* type = data + pos + 4;
        const unsigned char* body = type + 4;
        uint32_t crc = static_cast<uint32_t>(crc32(0L, type, length + 4));
        if (crc != BigEndian32(body + length)) {
            info.error = "bad CRC in " + std::string(reinterpret_cast<const char*>(type), 4);
            return info;
        }
        std::string name(reinterpret_cast<const char*>(type), 4);
        if (!sawHeader && name != "IHDR") {
            info.error = "first chunk is not IHDR";
            return info;
        }
        if (name == "IHDR") {
            if (length != 13) {
                info.error = "IHDR length";
                return info;
            }
            sawHeader = true;
            info.width = BigEndian32(body);
            info.height = BigEndian32(body + 4);
            info.bitDepth = body[8];
            info.colourType = body[9];
            info.interlace = body[12];
        } else if (name == "IDAT") {
            idat.append(reinterpret_cast<const char*>(body), length);
        } else if (name == "IEND") {
            sawEnd = true;
        }
        pos += 12 + length;
    }
    if (!sawEnd) {
        info.error = "no IEND";
        return info;
    }
    unsigned channels = info.colourType == 6 ? 4 : info.colourType == 2 ? 3 : info.colourType == 4 ? 2 : 1;
    uint64_t row = (uint64_t(info.width) * channels * info.bitDepth + 7) / 8;
    uint64_t expected = (row + 1) * info.height;
    std::string raw(static_cast<std::size_t>(expected) + 1, '\0');
    uLongf got = static_cast<uLongf>(raw.size());
    int rc = uncompress(reinterpret_cast<Bytef*>(&raw[0]), &got,
                        reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size()));
    if (rc != Z_OK) {
        info.error = "IDAT does not inflate (zlib " + std::to_string(rc) + ")";
        return info;
    }
    if (got != expected) {
        info.error = "IDAT inflates to " + std::to_string(got) + " bytes, expected " + std::to_string(expected);
        return info;
    }
    for (uint64_t y = 0; y < info.height; ++y) {
        if (static_cast<unsigned char>(raw[static_cast<std::size_t>(y * (row + 1))]) > 4) {
            info.error = "bad filter type in row " + std::to_string(y);
            return info;
        }
    }
    return info;
}

}  // namespace ExpectedImages
}  // namespace Corvell
