#include "WavFormat.h"

namespace SorvTools {

int bytesPerSample(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Pcm16:
        return 2;
    case SampleEncoding::Pcm24:
        return 3;
    case SampleEncoding::Pcm32:
    case SampleEncoding::Float32:
        return 4;
    }
    return 4;
}

std::string encodingName(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Pcm16:
        return "16-bit PCM";
    case SampleEncoding::Pcm24:
        return "24-bit PCM";
    case SampleEncoding::Pcm32:
        return "32-bit PCM";
    case SampleEncoding::Float32:
        return "32-bit float";
    }
    return "unknown";
}

} // namespace SorvTools
