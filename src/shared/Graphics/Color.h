#pragma once
#include <cstdint>

namespace Corvell {

// Red in the lowest byte, then green, then blue (the platform's colour reference).
using Color = uint32_t;

constexpr Color MakeColor(uint8_t r, uint8_t g, uint8_t b) {
    return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr uint8_t RedOf(Color c) { return uint8_t(c); }
constexpr uint8_t GreenOf(Color c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(Color c) { return uint8_t(c >> 16); }

} // namespace Corvell
