#pragma once
// PNG files of 32-bit pixels (0xAARRGGBB words, rows top to bottom), written opaque.

#include <cstdint>
#include <string>
#include <vector>

namespace SorvTools {

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels);
// False when the pixels do not fill the size or the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

} // namespace SorvTools
