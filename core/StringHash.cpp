#include "StringHash.h"

namespace SorvLib {
namespace {

constexpr uint32_t kFnv32OffsetBasis = 0x811C9DC5;
constexpr uint32_t kFnv32Prime = 0x01000193;
constexpr uint64_t kFnv64OffsetBasis = 0xCBF29CE484222325;
constexpr uint64_t kFnv64Prime = 0x00000100000001B3;

constexpr char kBase32Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
constexpr unsigned kBase32GroupBits = 5;
constexpr uint32_t kBase32GroupMask = 0x1F;

} // namespace

uint32_t fnv1a32(std::string text) {
    uint32_t hash = kFnv32OffsetBasis;
    for (char c : text) {
        // Sign extension is deliberate: ids already handed out depend on it.
        hash ^= static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
        hash *= kFnv32Prime;
    }
    return hash;
}

uint32_t fnv1a32(std::vector<uint8_t> bytes) {
    uint32_t hash = kFnv32OffsetBasis;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= kFnv32Prime;
    }
    return hash;
}

uint64_t fnv1a64(std::vector<uint8_t> bytes) {
    uint64_t hash = kFnv64OffsetBasis;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= kFnv64Prime;
    }
    return hash;
}

bool base32Encode(const std::vector<uint8_t>& bytes, std::string& output) {
    if (bytes.empty())
        return false;

    output.clear();
    output.reserve((bytes.size() * 8 + kBase32GroupBits - 1) / kBase32GroupBits);

    // Only the low `bits` bits of the buffer are pending; older bits shift out harmlessly.
    uint32_t buffer = bytes[0];
    unsigned bits = 8;
    size_t next = 1;
    for (;;) {
        if (bits == 0) {
            if (next == bytes.size())
                return true;
            buffer = (buffer << 8) | bytes[next++];
            bits += 8;
        } else if (bits < kBase32GroupBits) {
            if (next < bytes.size()) {
                buffer = (buffer << 8) | bytes[next++];
                bits += 8;
            } else {
                // Last group: pad with zero bits on the right.
                buffer <<= kBase32GroupBits - bits;
                bits = kBase32GroupBits;
            }
        }
        bits -= kBase32GroupBits;
        output += base32Letter(buffer >> bits);
    }
}

char base32Letter(uint32_t index) {
    return kBase32Alphabet[index & kBase32GroupMask];
}

} // namespace SorvLib
