#pragma once
// Writes 8-bit RGB PNG files (screenshots).
#include <cstdint>
#include <string>
#include <vector>

namespace Corvell {
namespace HostTools {

// rgb: width * height * 3 bytes, rows top-down. Returns false on any I/O error.
bool WritePngRgb(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

} // namespace HostTools
} // namespace Corvell
