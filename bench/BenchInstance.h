#pragma once
// One effect for the benchmarks, driven as a host drives it: set up for a sample rate and block
// size with its own stereo buffers of noise, and run for a second so that every line carries
// signal. The chain kernel is the one ChainKernel chooses at its setup.

#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include <cstdint>
#include <vector>

template <typename T> class BenchInstance {
public:
    BenchInstance(double sampleRate, Steinberg::int32 block) {
        using namespace Steinberg::Vst;
        effect->initialize(static_cast<IHostApplication*>(&context));
        const Steinberg::int32 sampleSize = sizeof(T) == 4 ? kSample32 : kSample64;
        ProcessSetup setup = {kRealtime, sampleSize, block, sampleRate};
        effect->setupProcessing(setup);
        effect->setParamNormalized(SorvLib::kPreDelayId, 0.4);
        effect->setActive(true);

        uint32_t noise = 1;
        for (int c = 0; c < 2; ++c) {
            in[c].resize(static_cast<size_t>(block));
            out[c].resize(static_cast<size_t>(block));
            for (T& v : in[c]) {
                noise = noise * 1664525u + 1013904223u;
                v = static_cast<T>(static_cast<int32_t>(noise) * 2.3283064365386963e-10);
            }
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
        inBus.numChannels = outBus.numChannels = 2;
        if (sizeof(T) == 4) {
            inBus.channelBuffers32 = reinterpret_cast<float**>(inputs);
            outBus.channelBuffers32 = reinterpret_cast<float**>(outputs);
        } else {
            inBus.channelBuffers64 = reinterpret_cast<double**>(inputs);
            outBus.channelBuffers64 = reinterpret_cast<double**>(outputs);
        }
        data.symbolicSampleSize = sampleSize;
        data.numSamples = block;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        for (Steinberg::int32 done = 0; done < sampleRate; done += block)
            process();
    }
    ~BenchInstance() {
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }
    BenchInstance(const BenchInstance&) = delete;
    BenchInstance& operator=(const BenchInstance&) = delete;

    void process() {
        effect->process(data);
        // The output counts: the compiler may not drop the block.
        T* const first = out[0].data();
        __asm__ volatile("" : : "r"(first) : "memory");
    }

private:
    SorvTest::TestHostContext context;
    SorvLib::QUOR515Effect* effect = new SorvLib::QUOR515Effect();
    std::vector<T> in[2];
    std::vector<T> out[2];
    T* inputs[2] = {};
    T* outputs[2] = {};
    Steinberg::Vst::AudioBusBuffers inBus = {};
    Steinberg::Vst::AudioBusBuffers outBus = {};
    Steinberg::Vst::ProcessData data;
};
