// The audio block frame: missing buses, the silence shortcut, the channel table, the tempo,
// the denormal bits around the engine call, and the life-cycle re-application of values.

#include "core/CoreIds.h"
#include "support/EffectFixture.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

constexpr unsigned int kDenormalBits = 0x8040;

// Input and output buffers of one block, with their bus records; float or double samples.
template <typename Sample> struct SampleBlock {
    explicit SampleBlock(int32 channels = 2, int32 frames = 16, Sample input = Sample(0.5),
                         Sample output = Sample(0.25))
        : in(channels, std::vector<Sample>(frames, input)),
          out(channels, std::vector<Sample>(frames, output)) {
        for (int32 c = 0; c < channels; ++c) {
            inPtrs.push_back(in[c].data());
            outPtrs.push_back(out[c].data());
        }
        inBus.numChannels = channels;
        outBus.numChannels = channels;
        outBus.silenceFlags = 0;
        setBuffers(inBus, inPtrs.data());
        setBuffers(outBus, outPtrs.data());
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }
    static void setBuffers(AudioBusBuffers& bus, float** buffers) {
        bus.channelBuffers32 = buffers;
    }
    static void setBuffers(AudioBusBuffers& bus, double** buffers) {
        bus.channelBuffers64 = buffers;
    }
    void makeInPlace() {
        for (size_t c = 0; c < outPtrs.size(); ++c)
            outPtrs[c] = inPtrs[c];
    }

    std::vector<std::vector<Sample>> in, out;
    std::vector<Sample*> inPtrs, outPtrs;
    AudioBusBuffers inBus, outBus;
    ProcessData data;
};

using Block = SampleBlock<float>;

TEST(AudioFrame, BlockWithoutOutputsTouchesNothing) {
    EffectFixture effect;
    Block block;
    block.data.numOutputs = 0;
    block.outBus.silenceFlags = 7;
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(block.out[0][0], 0.25f);
    EXPECT_EQ(block.outBus.silenceFlags, 7u);
    EXPECT_EQ(effect->floatCalls, 0);
}

TEST(AudioFrame, BlockWithoutInputsTouchesNothing) {
    EffectFixture effect;
    Block block;
    block.data.numInputs = 0;
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(block.out[0][0], 0.25f);
    EXPECT_EQ(effect->floatCalls, 0);
}

TEST(AudioFrame, MissingChannelBuffersAreAnsweredWithSilence) {
    EffectFixture effect;
    Block block;
    block.inPtrs[1] = nullptr;
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(effect->floatCalls, 0);
    EXPECT_EQ(block.out[0][5], 0.0f);
    EXPECT_EQ(block.outBus.silenceFlags, 3u);

    Block empty(2, 0);
    EXPECT_EQ(effect->process(empty.data), kResultOk);
    EXPECT_EQ(effect->floatCalls, 1) << "a block of no samples needs no buffers";

    Block noArrays;
    noArrays.outBus.channelBuffers32 = nullptr;
    EXPECT_EQ(effect->process(noArrays.data), kResultOk);
    EXPECT_EQ(effect->floatCalls, 1);
}

TEST(AudioFrame, SilentDoubleBlockZeroesEightBytesPerSample) {
    EffectFixture effect;
    SampleBlock<double> block(1, 8, 0.0, 3.0);
    block.inBus.silenceFlags = 1;
    effect->process(block.data);
    for (double sample : block.out[0])
        EXPECT_EQ(sample, 0.0);
    EXPECT_EQ(effect->doubleCalls, 0);
}

TEST(AudioFrame, SilentInputWithoutTailZeroesSeparateOutputsOnly) {
    EffectFixture effect;
    Block separate;
    separate.inBus.silenceFlags = 3;
    EXPECT_EQ(effect->process(separate.data), kResultOk);
    EXPECT_EQ(separate.outBus.silenceFlags, 3u);
    for (auto& channel : separate.out)
        for (float sample : channel)
            EXPECT_EQ(sample, 0.0f);

    Block inPlace;
    inPlace.makeInPlace();
    inPlace.inBus.silenceFlags = 3;
    EXPECT_EQ(effect->process(inPlace.data), kResultOk);
    EXPECT_EQ(inPlace.outBus.silenceFlags, 3u);
    EXPECT_EQ(inPlace.in[1][15], 0.5f);
    EXPECT_EQ(effect->floatCalls, 0);
}

TEST(AudioFrame, MonoInputFeedingStereoOutputComparesBothWithTheOneInput) {
    EffectFixture effect;
    Block block(2);
    block.inBus.numChannels = 1;
    block.inBus.silenceFlags = 1;
    block.outPtrs[1] = block.inPtrs[0];
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(block.out[0][3], 0.0f);
    EXPECT_EQ(block.in[0][3], 0.5f);
}

TEST(AudioFrame, SilentInputWithTailStillRunsTheEngine) {
    EffectFixture effect;
    effect->tailSamples = 100;
    Block block;
    block.inBus.silenceFlags = 3;
    effect->process(block.data);
    EXPECT_EQ(effect->floatCalls, 1);
    EXPECT_EQ(block.outBus.silenceFlags, 0u);
}

TEST(AudioFrame, OneSilentChannelOfTwoRunsTheEngineWithTheChannelTable) {
    EffectFixture effect;
    Block block;
    block.inBus.silenceFlags = 1;
    block.outBus.silenceFlags = 3;
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(effect->floatCalls, 1);
    EXPECT_EQ(block.outBus.silenceFlags, 0u);
    ASSERT_EQ(effect->channelTable.size(), 4u);
    EXPECT_EQ(effect->channelTable[0], block.inPtrs[0]);
    EXPECT_EQ(effect->channelTable[1], block.inPtrs[1]);
    EXPECT_EQ(effect->channelTable[2], block.inPtrs[0]);
    EXPECT_EQ(effect->channelTable[3], block.inPtrs[1]);
    EXPECT_EQ(effect->firstOutput, block.outPtrs[0]);
}

TEST(AudioFrame, DoubleBlocksGoToTheDoubleEngine) {
    EffectFixture effect;
    SampleBlock<double> block(1, 8, 0.5, 0.0);
    effect->process(block.data);
    EXPECT_EQ(effect->doubleCalls, 1);
    EXPECT_EQ(effect->floatCalls, 0);
    EXPECT_EQ(effect->firstOutput, block.outPtrs[0]);
}

TEST(AudioFrame, DenormalBitsAreSetForTheEngineAndRestoredAfter) {
    EffectFixture effect;
    Block block;
    const unsigned int saved = _mm_getcsr();
    _mm_setcsr(saved & ~kDenormalBits);
    effect->process(block.data);
    const unsigned int after = _mm_getcsr();
    _mm_setcsr(saved);
    EXPECT_EQ(effect->csrDuringProcess & kDenormalBits, kDenormalBits);
    EXPECT_EQ(after, saved & ~kDenormalBits);
}

TEST(AudioFrame, TempoFollowsOnlyValidContexts) {
    EffectFixture effect;
    Block block;
    EXPECT_EQ(effect->getTempo(), 120.0);
    ProcessContext context = {};
    context.tempo = 96.0;
    context.state = ProcessContext::kTempoValid;
    block.data.processContext = &context;
    effect->process(block.data);
    EXPECT_EQ(effect->getTempo(), 96.0);
    context.tempo = 140.0;
    context.state = 0;
    effect->process(block.data);
    EXPECT_EQ(effect->getTempo(), 96.0);
}

TEST(AudioFrame, BusWiderThanTheChannelTableIsAnsweredWithSilence) {
    EffectFixture effect;
    Block block(9);
    EXPECT_EQ(effect->process(block.data), kResultOk);
    EXPECT_EQ(effect->floatCalls, 0);
    EXPECT_EQ(block.out[8][0], 0.0f);
}

TEST(GainReduction, IsReadFromTheGainReductionMeters) {
    EffectFixture effect;
    effect->setParamNormalized(kMeterId, 0.0);
    EXPECT_EQ(effect->getGainReductionValueInDecibels(), 0.0);
    effect->setParamNormalized(kMeterId, 0.5);
    EXPECT_NEAR(effect->getGainReductionValueInDecibels(), -6.0206, 1e-4);
    effect->setParamNormalized(kMeterId, 1.0);
    EXPECT_EQ(effect->getGainReductionValueInDecibels(), -HUGE_VAL);
}

TEST(LifeCycle, ActivationReappliesEveryWritableValueButProgramAndBypass) {
    for (bool state : {true, false}) {
        EffectFixture effect(WrapperKind::Vst2);
        effect->engineWrites.clear();
        EXPECT_EQ(effect->setActive(state), kResultOk);
        std::vector<ParamID> ids;
        for (auto& write : effect->engineWrites)
            ids.push_back(write.first);
        EXPECT_EQ(ids, (std::vector<ParamID>{kLevelId, kStepsId}));
        EXPECT_EQ(effect->edits().size(), 4u);
        EXPECT_EQ(effect->edits().count(kMeterId), 0u);
    }
}

TEST(LifeCycle, RefusedSetupReappliesNothing) {
    EffectFixture effect;
    effect->engineWrites.clear();
    ProcessSetup setup = {kRealtime, 2, 256, 48000.0};
    EXPECT_EQ(effect->setupProcessing(setup), kResultFalse);
    EXPECT_TRUE(effect->engineWrites.empty());
    EXPECT_NE(effect->getSampleRate(), 48000.0);
}

TEST(LifeCycle, SetupProcessingKeepsTheSetupAndReappliesValues) {
    EffectFixture effect;
    effect->engineWrites.clear();
    ProcessSetup setup = {kRealtime, kSample64, 256, 48000.0};
    EXPECT_EQ(effect->setupProcessing(setup), kResultOk);
    EXPECT_EQ(effect->getSampleRate(), 48000.0);
    EXPECT_EQ(effect->getMaxSamplesPerBlock(), 256);
    EXPECT_EQ(effect->engineWrites.size(), 2u);
}

} // namespace
