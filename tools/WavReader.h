#pragma once
// Reads mono to multi-channel WAV files in 16, 24 or 32-bit PCM or 32-bit float, plain or
// WAVE_FORMAT_EXTENSIBLE, as interleaved doubles. The whole header is checked when the
// reader is made, so a file that is not fit is refused before any audio is touched.

#include "WavFormat.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <vector>

namespace SorvTools {

class WavReader {
public:
    // Throws WavError naming the file when it is missing, not a WAV file or not readable.
    explicit WavReader(const std::filesystem::path& path);
    // Reads a stream the caller keeps alive; throws WavError.
    explicit WavReader(std::istream& stream);

    const WavFormat& format() const { return info; }

    // Reads up to `frames` frames into `interleaved` (frames × channels values): PCM scaled to
    // [-1, 1), float widened exactly. Returns the frames read, 0 once the data is consumed.
    // Throws WavError when the stream fails.
    uint64_t read(double* interleaved, uint64_t frames);

private:
    void parseHeader();

    std::ifstream file;
    std::istream* in = nullptr;
    WavFormat info;
    uint32_t blockAlign = 0;
    uint64_t framesLeft = 0;
    std::vector<uint8_t> raw;
};

} // namespace SorvTools
