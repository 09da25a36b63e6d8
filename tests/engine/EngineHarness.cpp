#include "engine/EngineHarness.h"

#include "pluginterfaces/vst/vstspeaker.h"

namespace SorvTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

EngineHarness::EngineHarness(double sampleRate, int channelCount, int32 sampleSize,
                             WrapperKind wrapper)
    : channels(channelCount), context(wrapper), fx(new SorvLib::QUOR515Effect()) {
    fx->initialize(static_cast<IHostApplication*>(&context));
    if (channels == 1) {
        SpeakerArrangement mono = SpeakerArr::kMono;
        fx->setBusArrangements(&mono, 1, &mono, 1);
    }
    ProcessSetup setup = {kRealtime, sampleSize, 4096, sampleRate};
    setupResult = fx->setupProcessing(setup);
    fx->setActive(true);
}

EngineHarness::~EngineHarness() {
    fx->setActive(false);
    fx->terminate();
    fx->release();
}

void EngineHarness::set(ParamID id, double normalized) {
    fx->setParamNormalized(id, normalized);
}

void EngineHarness::run(ProcessData& data) {
    data.processMode = kRealtime;
    data.outputParameterChanges = sendMeters ? &meters : nullptr;
    fx->process(data);
}

namespace {

void setBuffers(AudioBusBuffers& bus, float* const* buffers) {
    bus.channelBuffers32 = const_cast<float**>(buffers);
}
void setBuffers(AudioBusBuffers& bus, double* const* buffers) {
    bus.channelBuffers64 = const_cast<double**>(buffers);
}

} // namespace

template <typename Sample>
void EngineHarness::processBlock(Sample* const* in, Sample* const* out, int32 samples) {
    AudioBusBuffers input = {};
    AudioBusBuffers output = {};
    input.numChannels = output.numChannels = channels;
    setBuffers(input, in);
    setBuffers(output, out);
    ProcessData data;
    data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
    data.numSamples = samples;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    run(data);
}

void EngineHarness::process(float* const* in, float* const* out, int32 samples) {
    processBlock(in, out, samples);
}

void EngineHarness::process(double* const* in, double* const* out, int32 samples) {
    processBlock(in, out, samples);
}

std::vector<std::vector<double>> EngineHarness::processSilence(int32 samples) {
    std::vector<std::vector<double>> in(static_cast<size_t>(channels),
                                        std::vector<double>(static_cast<size_t>(samples), 0.0));
    std::vector<std::vector<double>> out(static_cast<size_t>(channels),
                                         std::vector<double>(static_cast<size_t>(samples), -1.0));
    double* inPointers[2] = {in[0].data(), channels > 1 ? in[1].data() : nullptr};
    double* outPointers[2] = {out[0].data(), channels > 1 ? out[1].data() : nullptr};
    process(inPointers, outPointers, samples);
    return out;
}

} // namespace SorvTest
