#pragma once
// Stable numbers from text and text from bytes: FNV-1a hashes and RFC 4648 base32.

#include <cstdint>
#include <string>
#include <vector>

namespace SorvLib {

// 32-bit FNV-1a of the characters, each widened as a signed byte before the XOR. Menu ids
// and AAX type ids are derived from this form, so it must stay as it is: for text with bytes
// of 0x80 or more it differs from the published FNV-1a (it equals it for ASCII text).
uint32_t fnv1a32(std::string text);

// 32-bit FNV-1a of the bytes, the published algorithm.
uint32_t fnv1a32(std::vector<uint8_t> bytes);

// 64-bit FNV-1a of the bytes, the published algorithm.
uint64_t fnv1a64(std::vector<uint8_t> bytes);

// RFC 4648 base32 without "=" padding: ceil(8 * n / 5) letters, most significant bits first.
// Empty input returns false and leaves output as it was.
bool base32Encode(const std::vector<uint8_t>& bytes, std::string& output);

// The RFC 4648 base32 letter of the low five bits of index.
char base32Letter(uint32_t index);

} // namespace SorvLib
