#pragma once
// The shape of the audio in a WAV file: what the reader found or what the writer is asked for.

#include <cstdint>
#include <string>

namespace SorvTools {

enum class SampleEncoding { Pcm16, Pcm24, Pcm32, Float32 };

// Bytes one sample of the encoding takes in the file.
int bytesPerSample(SampleEncoding encoding);
// "16-bit PCM", "32-bit float" ...
std::string encodingName(SampleEncoding encoding);

struct WavFormat {
    SampleEncoding encoding = SampleEncoding::Float32;
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    uint64_t frames = 0;
    // The file's fmt chunk was WAVE_FORMAT_EXTENSIBLE (reader only; the writer never is).
    bool extensible = false;
};

} // namespace SorvTools
