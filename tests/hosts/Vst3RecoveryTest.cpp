// A block of samples that are not numbers, through the real module: the reverb goes on with
// finite sound afterwards, in float and double, and the power-off pass-through still hands
// back exactly what the host gave.

#include "hosts/LoadedModule.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

constexpr ParamID kPower = 0x506F7772; // Powr
constexpr int32 kFrames = 256;

class RecoveringEffect : public Vst3Host {
protected:
    void start(int32 sampleSize) {
        ASSERT_TRUE(initDll());
        factory = getFactory();
        context = std::make_unique<TestHostContext>(WrapperKind::None);
        effect = createComponent(factory);
        ASSERT_NE(effect.component, nullptr);
        ASSERT_EQ(effect.component->initialize(context->unknown()), kResultOk);
        SpeakerArrangement stereo = SpeakerArr::kStereo;
        ASSERT_EQ(effect.processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
        ProcessSetup setup = {kRealtime, sampleSize, kFrames, 44100.0};
        ASSERT_EQ(effect.processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(effect.component->setActive(true), kResultOk);
    }
    void stop() {
        if (effect.component) {
            effect.component->setActive(false);
            EXPECT_EQ(effect.component->terminate(), kResultOk);
            effect.release();
        }
        if (factory) {
            factory->release();
            factory = nullptr;
            EXPECT_TRUE(exitDll());
        }
    }
    void TearDown() override {
        stop();
        Vst3Host::TearDown();
    }

    IPluginFactory* factory = nullptr;
    std::unique_ptr<TestHostContext> context;
    Component effect;
};

template <typename Sample> struct Stereo {
    Stereo() : in(2, std::vector<Sample>(kFrames)), out(2, std::vector<Sample>(kFrames)) {
        inPtrs[0] = in[0].data();
        inPtrs[1] = in[1].data();
        outPtrs[0] = out[0].data();
        outPtrs[1] = out[1].data();
        inBus.numChannels = outBus.numChannels = 2;
        setBuffers(inBus, inPtrs);
        setBuffers(outBus, outPtrs);
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = kFrames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }
    static void setBuffers(AudioBusBuffers& bus, float** buffers) {
        bus.channelBuffers32 = buffers;
    }
    static void setBuffers(AudioBusBuffers& bus, double** buffers) {
        bus.channelBuffers64 = buffers;
    }
    void sine(int block) {
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < kFrames; ++s)
                in[c][s] = static_cast<Sample>(0.4 * std::sin(0.05 * (block * kFrames + s) + c));
    }
    bool finite() const {
        for (const auto& channel : out)
            for (Sample v : channel)
                if (!std::isfinite(v))
                    return false;
        return true;
    }

    std::vector<std::vector<Sample>> in, out;
    Sample* inPtrs[2];
    Sample* outPtrs[2];
    AudioBusBuffers inBus = {};
    AudioBusBuffers outBus = {};
    ProcessData data;
};

// What the host's buffer holds after it converted 1e300 to its sample type.
template <typename Sample> Sample huge() {
    volatile double value = 1e300;
    return static_cast<Sample>(value);
}

template <typename Sample> void recoversFromOneBadBlock(IAudioProcessor* processor, Sample bad) {
    Stereo<Sample> block;
    int index = 0;
    for (; index < 40; ++index) {
        block.sine(index);
        ASSERT_EQ(processor->process(block.data), kResultOk);
    }
    for (auto& channel : block.in)
        std::fill(channel.begin(), channel.end(), bad);
    ASSERT_EQ(processor->process(block.data), kResultOk);
    // One block to clear what got in, then finite sound that is still a reverb's.
    int finiteBlocks = 0;
    double energy = 0.0;
    for (int after = 0; after < 200; ++after, ++index) {
        block.sine(index);
        ASSERT_EQ(processor->process(block.data), kResultOk);
        if (after == 0)
            continue;
        ASSERT_TRUE(block.finite()) << "block " << after << " after the bad one";
        ++finiteBlocks;
        for (Sample v : block.out[0])
            energy += double(v) * double(v);
    }
    EXPECT_EQ(finiteBlocks, 199);
    EXPECT_GT(energy, 1.0);
}

TEST_F(RecoveringEffect, OneBlockOfNonFiniteOrHugeSamplesLeavesFiniteSound) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 1e300, -1e308};
    for (double value : bad) {
        SCOPED_TRACE(value);
        start(kSample64);
        recoversFromOneBadBlock<double>(effect.processor, value);
        stop();
        // In 32-bit samples 1e300 arrives as infinity; -1e308 has no float form.
        if (std::isfinite(value) && value != 1e300)
            continue;
        start(kSample32);
        recoversFromOneBadBlock<float>(effect.processor,
                                       value == 1e300 ? huge<float>() : static_cast<float>(value));
        stop();
    }
}

template <typename Sample> bool sameBits(Sample a, Sample b) {
    return std::memcmp(&a, &b, sizeof(Sample)) == 0;
}

template <typename Sample> void passesTheHostsSamplesThrough(Component& effect) {
    Stereo<Sample> block;
    for (int b = 0; b < 20; ++b) {
        block.sine(b);
        ASSERT_EQ(effect.processor->process(block.data), kResultOk);
    }
    ASSERT_EQ(effect.controller->setParamNormalized(kPower, 0.0), kResultOk);
    // The run gain fades out in under two seconds; then blocks are copied.
    for (int b = 0; b < 2 * 44100 / kFrames; ++b) {
        block.sine(b);
        ASSERT_EQ(effect.processor->process(block.data), kResultOk);
    }
    block.sine(0);
    block.in[0][1] = std::numeric_limits<Sample>::quiet_NaN();
    block.in[0][2] = std::numeric_limits<Sample>::infinity();
    block.in[1][3] = -std::numeric_limits<Sample>::infinity();
    block.in[1][4] = huge<Sample>();
    block.in[1][5] = -Sample(0);
    ASSERT_EQ(effect.processor->process(block.data), kResultOk);
    for (int c = 0; c < 2; ++c)
        for (int s = 0; s < kFrames; ++s)
            ASSERT_TRUE(sameBits(block.out[c][s], block.in[c][s])) << c << " " << s;
}

TEST_F(RecoveringEffect, PowerOffPassesTheHostsSamplesUnchanged) {
    start(kSample32);
    passesTheHostsSamplesThrough<float>(effect);
    stop();
    start(kSample64);
    passesTheHostsSamplesThrough<double>(effect);
}

} // namespace
