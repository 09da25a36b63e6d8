#pragma once
// One QUOR-515 effect driven the way a host drives it: initialized under a test host context,
// set up for a sample rate, activated, and given blocks through the framework's process().

#include "engine/QUOR515Effect.h"
#include "engine/QUOR515EffectProbe.h"
#include "engine/TestParameterChanges.h"
#include "support/TestHostContext.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <vector>

namespace SorvTest {

// Flush-to-zero and denormals-are-zero, as the framework sets them around the engine; the
// reference engine runs under the same setting.
class DenormalsAsZero {
public:
    DenormalsAsZero() : saved(_mm_getcsr()) { _mm_setcsr(saved | 0x8040); }
    ~DenormalsAsZero() { _mm_setcsr(saved); }

private:
    unsigned int saved;
};

// Runs body(kind) once for each chain kernel this processor runs, that kernel forced on every
// effect set up meanwhile; afterwards setups choose freely again.
template <typename Body> void forEachChainKernel(Body body) {
    using SorvLib::ChainKernel;
    for (int32_t k = 0; k < ChainKernel::kKindCount; ++k) {
        const auto kind = static_cast<ChainKernel::Kind>(k);
        if (!ChainKernel::isAvailable(kind))
            continue;
        SCOPED_TRACE(ChainKernel::name(kind));
        ChainKernel::prefer(kind);
        body(kind);
    }
    ChainKernel::prefer(ChainKernel::kKindCount);
}

class EngineHarness {
public:
    EngineHarness(double sampleRate, int channels = 2,
                  Steinberg::int32 sampleSize = Steinberg::Vst::kSample64,
                  WrapperKind wrapper = WrapperKind::None);
    ~EngineHarness();
    EngineHarness(const EngineHarness&) = delete;
    EngineHarness& operator=(const EngineHarness&) = delete;

    SorvLib::QUOR515Effect& effect() { return *fx; }
    SorvLib::QUOR515EffectProbe inspect() { return SorvLib::QUOR515EffectProbe(*fx); }
    void set(Steinberg::Vst::ParamID id, double normalized);
    double get(Steinberg::Vst::ParamID id) { return fx->getParamNormalized(id); }

    // One block through process(); in and out may be the same buffers.
    void process(float* const* in, float* const* out, Steinberg::int32 samples);
    void process(double* const* in, double* const* out, Steinberg::int32 samples);
    // One block of silence into separate output buffers; returns the outputs.
    std::vector<std::vector<double>> processSilence(Steinberg::int32 samples);

    Steinberg::tresult setupResult = Steinberg::kResultFalse;
    int channels;
    TestParameterChanges meters;
    bool sendMeters = true;

private:
    template <typename Sample>
    void processBlock(Sample* const* in, Sample* const* out, Steinberg::int32 samples);
    void run(Steinberg::Vst::ProcessData& data);

    TestHostContext context;
    SorvLib::QUOR515Effect* fx;
};

} // namespace SorvTest
