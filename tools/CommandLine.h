#pragma once
// What the user asked quor-render to do, as parsed from its arguments.

#include "WavFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SorvTools {

enum class Command { Render, Synthesize, ListParameters, Help };

enum class Precision { Float32, Float64 };

// One "Title=value" request; the value stays text until the effect says how to read it.
struct ParameterSetting {
    std::string title;
    std::string value;
};

struct RenderOptions {
    std::string input;  // UTF-8 path
    std::string output; // UTF-8 path
    std::string module; // UTF-8 path; empty: QUOR-515.vst3 next to the program
    Precision precision = Precision::Float32;
    int32_t blockSize = 512;
    bool sameEncoding = false; // write the input's encoding instead of 32-bit float
    bool vst2 = false;         // load the effect through the VST 2.4 entry
    std::vector<ParameterSetting> parameters;
};

struct SynthOptions {
    std::string output;
    double seconds = 2.0;
    uint32_t sampleRate = 44100;
    uint16_t channels = 2;
    SampleEncoding encoding = SampleEncoding::Pcm24;
};

struct CommandLine {
    Command command = Command::Help;
    RenderOptions render;
    SynthOptions synth;
};

} // namespace SorvTools
