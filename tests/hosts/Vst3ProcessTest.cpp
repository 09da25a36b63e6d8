// The product through the real module: its state chunk under the host formats, the audio
// block frame around its engine, and the published gain-reduction face.

#include "hosts/LoadedModule.h"
#include "support/TestHostContext.h"

#include "vst/IGainReductionInfo.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <limits>
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
constexpr ParamID kPower = 0x506F7772;   // Powr

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
    // Block `index` of a continuous sine, a little apart in the two channels.
    void sine(int index) {
        const int32 frames = data.numSamples;
        for (int c = 0; c < 2; ++c)
            for (int32 s = 0; s < frames; ++s)
                in[c][s] = static_cast<Sample>(0.4 * std::sin(0.05 * (index * frames + s) + c));
    }
    bool finite() const {
        for (const auto& channel : out)
            for (Sample v : channel)
                if (!std::isfinite(v))
                    return false;
        return true;
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

// A block of samples that are not numbers: the reverb goes on with finite sound afterwards, in
// float and double, and the power-off pass-through still hands back exactly what the host gave.
constexpr int32 kRecoveryFrames = 256;

// What the host's buffer holds after it converted 1e300 to its sample type.
template <typename Sample> Sample huge() {
    volatile double value = 1e300;
    return static_cast<Sample>(value);
}

template <typename Sample> void recoversFromOneBadBlock(IAudioProcessor* processor, Sample bad) {
    StereoBlock<Sample> block(kRecoveryFrames);
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

TEST_F(LoadedEffect, OneBlockOfNonFiniteOrHugeSamplesLeavesFiniteSound) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 1e300, -1e308};
    for (double value : bad) {
        SCOPED_TRACE(value);
        start();
        prepare(kSample64, 44100.0, 2);
        recoversFromOneBadBlock<double>(effect.processor, value);
        stop();
        // In 32-bit samples 1e300 arrives as infinity; -1e308 has no float form.
        if (std::isfinite(value) && value != 1e300)
            continue;
        start();
        prepare(kSample32, 44100.0, 2);
        recoversFromOneBadBlock<float>(effect.processor,
                                       value == 1e300 ? huge<float>() : static_cast<float>(value));
        stop();
    }
}

template <typename Sample> bool sameBits(Sample a, Sample b) {
    return std::memcmp(&a, &b, sizeof(Sample)) == 0;
}

template <typename Sample> void passesTheHostsSamplesThrough(Component& effect) {
    StereoBlock<Sample> block(kRecoveryFrames);
    for (int b = 0; b < 20; ++b) {
        block.sine(b);
        ASSERT_EQ(effect.processor->process(block.data), kResultOk);
    }
    ASSERT_EQ(effect.controller->setParamNormalized(kPower, 0.0), kResultOk);
    // The run gain fades out in under two seconds; then blocks are copied.
    for (int b = 0; b < 2 * 44100 / kRecoveryFrames; ++b) {
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
        for (int s = 0; s < kRecoveryFrames; ++s)
            ASSERT_TRUE(sameBits(block.out[c][s], block.in[c][s])) << c << " " << s;
}

TEST_F(LoadedEffect, PowerOffPassesTheHostsSamplesUnchanged) {
    start();
    prepare(kSample32, 44100.0, 2);
    passesTheHostsSamplesThrough<float>(effect);
    stop();
    start();
    prepare(kSample64, 44100.0, 2);
    passesTheHostsSamplesThrough<double>(effect);
}

} // namespace
