// The product through the real module: its state chunk under the host formats, the audio
// block frame around its engine, and the published gain-reduction face.

#include "hosts/LoadedModule.h"
#include "support/TestHostContext.h"

#include "IGainReductionInfo.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <vector>

namespace Presonus {
DEF_CLASS_IID(IGainReductionInfo)
}

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

constexpr ParamID kGrMeter = 0x47724D74; // GrMt
constexpr ParamID kProgram = 0x50726F67; // Prog
constexpr ParamID kFxMix = 0x45664D78;   // EfMx

using Bytes = std::vector<unsigned char>;

// One effect of the loaded module, initialised under a host context and torn down in order.
class LoadedEffect : public Vst3Host {
protected:
    void start(WrapperKind kind = WrapperKind::None) {
        ASSERT_TRUE(initDll());
        factory = getFactory();
        context = std::make_unique<TestHostContext>(kind);
        effect = createComponent(factory);
        ASSERT_NE(effect.component, nullptr);
        ASSERT_EQ(effect.component->initialize(context->unknown()), kResultOk);
    }
    void TearDown() override {
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
        Vst3Host::TearDown();
    }

    void prepare(int32 sampleSize, double rate, int32 channels) {
        SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        ASSERT_EQ(effect.processor->setBusArrangements(&arrangement, 1, &arrangement, 1),
                  kResultOk);
        ProcessSetup setup = {kRealtime, sampleSize, 512, rate};
        ASSERT_EQ(effect.processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(effect.component->setActive(true), kResultOk);
    }

    Bytes state() {
        MemoryStream stream;
        EXPECT_EQ(effect.component->getState(&stream), kResultOk);
        auto* data = reinterpret_cast<const unsigned char*>(stream.getData());
        return Bytes(data, data + stream.getSize());
    }

    tresult load(const Bytes& bytes) {
        MemoryStream stream;
        int32 written = 0;
        stream.write(const_cast<unsigned char*>(bytes.data()), static_cast<int32>(bytes.size()),
                     &written);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        return effect.component->setState(&stream);
    }

    IPluginFactory* factory = nullptr;
    std::unique_ptr<TestHostContext> context;
    Component effect;
};

uint32 field(const Bytes& bytes, size_t offset) {
    return (uint32(bytes[offset]) << 24) | (uint32(bytes[offset + 1]) << 16) |
           (uint32(bytes[offset + 2]) << 8) | uint32(bytes[offset + 3]);
}

TEST_F(LoadedEffect, StateUnderVst3HasEightRows) {
    start();
    Bytes bytes = state();
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "SvCk");
    EXPECT_EQ(field(bytes, 4), 1u);
    EXPECT_EQ(field(bytes, 8), 80u);
    EXPECT_EQ(field(bytes, 12), 8u);
    EXPECT_EQ(load(bytes), kResultOk);
    EXPECT_EQ(state(), bytes);
}

TEST_F(LoadedEffect, StateUnderVst2CarriesTheProgramAndLoadsIntoVst3) {
    start(WrapperKind::Vst2);
    ASSERT_EQ(effect.controller->setParamNormalized(kProgram, 1.0), kResultOk);
    Bytes bytes = state();
    ASSERT_EQ(bytes.size(), 88u);
    EXPECT_EQ(field(bytes, 24), kProgram);
    EXPECT_EQ(field(bytes, 28), 7u);
    const double echoChamberMix = effect.controller->getParamNormalized(kFxMix);
    EXPECT_EQ(echoChamberMix, static_cast<double>(0.785f));
    effect.component->terminate();
    effect.release();

    effect = createComponent(factory);
    context = std::make_unique<TestHostContext>(WrapperKind::None);
    ASSERT_EQ(effect.component->initialize(context->unknown()), kResultOk);
    EXPECT_EQ(load(bytes), kResultOk);
    EXPECT_EQ(effect.controller->getParamNormalized(kFxMix), echoChamberMix);
    EXPECT_EQ(state().size(), 80u);
}

template <typename Sample> struct StereoBlock {
    StereoBlock(int32 frames)
        : in(2, std::vector<Sample>(frames)), out(2, std::vector<Sample>(frames, 7)) {
        inPtrs = {in[0].data(), in[1].data()};
        outPtrs = {out[0].data(), out[1].data()};
        inBus.numChannels = outBus.numChannels = 2;
        setBuffers(inBus, inPtrs.data());
        setBuffers(outBus, outPtrs.data());
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
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

    std::vector<std::vector<Sample>> in, out;
    std::vector<Sample*> inPtrs, outPtrs;
    AudioBusBuffers inBus, outBus;
    ProcessData data;
};

template <typename Sample> void rendersReverb(IAudioProcessor* processor, double rate) {
    StereoBlock<Sample> block(512);
    double tailEnergy = 0.0;
    bool finite = true;
    for (int b = 0; b < 200; ++b) {
        for (auto& channel : block.in)
            std::fill(channel.begin(), channel.end(), Sample(0));
        if (b == 0)
            block.in[0][0] = block.in[1][0] = Sample(0.5);
        ASSERT_EQ(processor->process(block.data), kResultOk);
        for (auto& channel : block.out)
            for (Sample sample : channel) {
                finite = finite && std::isfinite(sample);
                if (b >= 20)
                    tailEnergy += double(sample) * double(sample);
            }
    }
    EXPECT_TRUE(finite);
    // An impulse still rings a quarter of a second after it was played.
    EXPECT_GT(tailEnergy, 1e-8) << rate;
}

TEST_F(LoadedEffect, RendersReverbInFloatAndDoubleAt441And48k) {
    for (double rate : {44100.0, 48000.0}) {
        start();
        prepare(kSample32, rate, 2);
        rendersReverb<float>(effect.processor, rate);
        TearDown();
        SetUp();
        start();
        prepare(kSample64, rate, 2);
        rendersReverb<double>(effect.processor, rate);
        TearDown();
        SetUp();
    }
}

TEST_F(LoadedEffect, SilenceAfterActivationIsExactlyZero) {
    start();
    prepare(kSample32, 44100.0, 2);
    StereoBlock<float> block(512);
    block.inBus.silenceFlags = 3;
    for (int b = 0; b < 4; ++b) {
        ASSERT_EQ(effect.processor->process(block.data), kResultOk);
        for (auto& channel : block.out)
            for (float sample : channel)
                ASSERT_EQ(sample, 0.0f);
    }
}

TEST_F(LoadedEffect, BlockWithoutOutputsIsLeftAlone) {
    start();
    prepare(kSample32, 44100.0, 2);
    StereoBlock<float> block(64);
    block.in[0][0] = 1.0f;
    block.data.numOutputs = 0;
    EXPECT_EQ(effect.processor->process(block.data), kResultOk);
    EXPECT_EQ(block.out[0][0], 7.0f);
    EXPECT_EQ(block.out[1][63], 7.0f);
}

TEST_F(LoadedEffect, ControlRegisterIsRestoredAfterTheBlock) {
    start();
    prepare(kSample32, 48000.0, 2);
    StereoBlock<float> block(64);
    block.in[0][3] = 0.25f;
    const unsigned int saved = _mm_getcsr();
    _mm_setcsr(saved & ~0x8040u);
    const unsigned int before = _mm_getcsr();
    effect.processor->process(block.data);
    const unsigned int after = _mm_getcsr();
    _mm_setcsr(saved);
    EXPECT_EQ(after, before);
}

TEST_F(LoadedEffect, GainReductionIsReadFromTheMeter) {
    start();
    Presonus::IGainReductionInfo* gain = nullptr;
    ASSERT_EQ(effect.component->queryInterface(Presonus::IGainReductionInfo::iid,
                                               reinterpret_cast<void**>(&gain)),
              kResultOk);
    effect.controller->setParamNormalized(kGrMeter, 0.0);
    EXPECT_EQ(gain->getGainReductionValueInDecibels(), 0.0);
    effect.controller->setParamNormalized(kGrMeter, 0.5);
    EXPECT_NEAR(gain->getGainReductionValueInDecibels(), -6.0206, 1e-4);
    effect.controller->setParamNormalized(kGrMeter, 1.0);
    EXPECT_EQ(gain->getGainReductionValueInDecibels(), -HUGE_VAL);
    gain->release();
}

} // namespace
