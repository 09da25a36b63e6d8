#pragma once
// A made-up test input for the renderer: a soft tone under periodic clicks and decaying noise
// bursts, different on each channel. The same arguments always give the same samples.

#include "CommandLine.h"

#include <cstdint>
#include <ostream>

namespace SorvTools {

class TestSignal {
public:
    TestSignal(uint32_t sampleRate, uint16_t channels, uint64_t frames);

    // Writes the next `count` frames (interleaved); frames past the signal's length are 0.
    void fill(double* interleaved, uint64_t count);

    // Writes the signal the options describe to their output file and says so on `report`.
    // Throws WavError; a failed write leaves no file.
    static void writeFile(const SynthOptions& options, std::ostream& report);

private:
    double sampleOf(uint16_t channel, uint64_t frame);

    double rate;
    uint16_t channels;
    uint64_t length;
    uint64_t position = 0;
    uint32_t noiseState[8];
};

} // namespace SorvTools
