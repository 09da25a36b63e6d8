#pragma once
// Builds WAV files byte by byte, so tests can make the malformed ones no writer would.

#include <cstdint>
#include <string>
#include <vector>

namespace SorvToolsTest {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v);
    put16(b, v >> 16);
}

// The 16-byte body of a plain fmt chunk; blockAlign 0 means channels × bits / 8.
inline Bytes fmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                     uint16_t blockAlign = 0) {
    if (blockAlign == 0)
        blockAlign = uint16_t(channels * bits / 8);
    Bytes b;
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * blockAlign);
    put16(b, blockAlign);
    put16(b, bits);
    return b;
}

// The 40-byte body of a WAVE_FORMAT_EXTENSIBLE fmt chunk with a KSDATAFORMAT sub-format.
inline Bytes extensibleBody(uint16_t subTag, uint16_t channels, uint32_t rate, uint16_t bits,
                            uint16_t validBits, bool knownGuid = true) {
    Bytes b = fmtBody(0xFFFE, channels, rate, bits);
    put16(b, 22);
    put16(b, validBits);
    put32(b, channels == 1 ? 0x4 : 0x3);
    put16(b, subTag);
    const uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    b.insert(b.end(), tail, tail + 14);
    if (!knownGuid)
        b.back() ^= 0xFF;
    return b;
}

class WavBytes {
public:
    // declaredSize < 0: the body's size. pad: add the pad byte after an odd body.
    WavBytes& chunk(const std::string& id, const Bytes& body, int64_t declaredSize = -1,
                    bool pad = true) {
        body_.insert(body_.end(), id.begin(), id.end());
        put32(body_, uint32_t(declaredSize < 0 ? int64_t(body.size()) : declaredSize));
        body_.insert(body_.end(), body.begin(), body.end());
        if (pad && (body.size() & 1))
            body_.push_back(0);
        return *this;
    }
    // riffSize < 0: the true size.
    std::string build(int64_t riffSize = -1, const std::string& form = "WAVE") const {
        Bytes out = {'R', 'I', 'F', 'F'};
        put32(out, uint32_t(riffSize < 0 ? int64_t(body_.size() + 4) : riffSize));
        out.insert(out.end(), form.begin(), form.end());
        out.insert(out.end(), body_.begin(), body_.end());
        return std::string(out.begin(), out.end());
    }

private:
    Bytes body_;
};

} // namespace SorvToolsTest
