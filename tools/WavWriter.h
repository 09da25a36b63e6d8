#pragma once
// Writes a WAV file in 16, 24 or 32-bit PCM or 32-bit float from interleaved doubles.
// A file is written under a new temporary name in the same folder and renamed only by
// finish(), so a run that fails never leaves a partial file under the requested name and
// never touches any other existing file.

#include "TemporaryFile.h"
#include "WavFormat.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

namespace SorvTools {

class WavWriter {
public:
    // Creates a new temporary file beside `path` (see TemporaryFile); throws WavError when
    // it cannot be created.
    WavWriter(const std::filesystem::path& path, SampleEncoding encoding, uint32_t sampleRate,
              uint16_t channels);
    // Writes to a seekable stream the caller keeps alive (tests).
    WavWriter(std::ostream& stream, SampleEncoding encoding, uint32_t sampleRate,
              uint16_t channels);
    // Removes the temporary file unless finish() succeeded.
    ~WavWriter();

    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // The most frames a WAV file of this shape can hold (its sizes are 32-bit).
    static uint64_t maxFrames(SampleEncoding encoding, uint16_t channels);

    // Appends `frames` frames. PCM values are rounded to the nearest step and clipped to the
    // encoding's range; a NaN becomes 0 and counts as clipped. Throws WavError.
    void write(const double* interleaved, uint64_t frames);
    // Completes the header and, for a file, moves it to its name. Throws WavError.
    void finish();

    uint64_t framesWritten() const { return frames; }
    uint64_t clippedSamples() const { return clipped; }

private:
    void writeHeader();

    // Before the stream, so that the stream is closed before the file is removed.
    std::unique_ptr<TemporaryFile> temporary;
    std::ofstream file;
    std::ostream* out = nullptr;
    SampleEncoding encoding;
    uint32_t sampleRate;
    uint16_t channels;
    uint64_t frames = 0;
    uint64_t clipped = 0;
    bool finished = false;
    std::vector<uint8_t> raw;
};

} // namespace SorvTools
