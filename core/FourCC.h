#pragma once
#include <cstdint>

namespace SorvLib {

// A four-character code with its first character in the most significant byte.
constexpr uint32_t fourCC(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

} // namespace SorvLib
