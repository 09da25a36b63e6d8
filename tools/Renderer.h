#pragma once
// Renders one WAV file through the effect of a VST 3 class factory: reads and checks the
// input, sets the effect up for its rate and channels, applies the requested parameters,
// processes the input and then the reported tail as silence, and writes the output.
// Says what it did on `report`.

#include "CommandLine.h"
#include "WavFormat.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <cstdint>
#include <ostream>

namespace SorvTools {

class RenderHost;
class WavReader;
class WavWriter;

struct RenderSummary {
    WavFormat input;
    SampleEncoding outputEncoding = SampleEncoding::Float32;
    uint64_t tailFrames = 0;
    bool infiniteTail = false;
    uint64_t framesWritten = 0;
    double outputPeak = 0.0; // highest absolute output sample
    double tailPeak = 0.0;   // the same over the appended tail only
    uint64_t clippedSamples = 0;
    bool grMeterReported = false;
    double grMeterPeak = 0.0;
};

class Renderer {
public:
    static constexpr const char* kGrMeterTitle = "GR Meter";
    // Length of silence appended for an effect that reports an endless tail.
    static constexpr double kInfiniteTailSeconds = 10.0;

    Renderer(const RenderOptions& options, std::ostream& report);

    // Throws WavError or HostError; the output file then does not exist (or is unchanged).
    RenderSummary run(Steinberg::IPluginFactory* factory);
    // The same through a host that already holds the effect.
    RenderSummary run(RenderHost& host);

private:
    template <typename Sample>
    void renderFrames(RenderHost& host, WavReader& reader, WavWriter& writer,
                      RenderSummary& summary);

    const RenderOptions& options;
    std::ostream& report;
};

} // namespace SorvTools
