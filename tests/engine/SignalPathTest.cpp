#include "engine/EngineHarness.h"
#include "engine/NoiseModulator.h"
#include "engine/QUOR515Ids.h"
#include "engine/ReferenceEngine.h"

#include "core/CoreIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using Steinberg::Vst::ParamID;

namespace {

// A small generator of our own, so that every build sees the same numbers.
class Sequence {
public:
    explicit Sequence(uint64_t seed) : state(seed * 2862933555777941757ull + 3037000493ull) {}
    uint64_t bits() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state >> 11;
    }
    // Uniform in [-1, 1).
    double signedUnit() { return static_cast<double>(bits()) * 0x1.0p-52 - 1.0; }
    double unit() { return static_cast<double>(bits()) * 0x1.0p-53; }
    int below(int n) { return static_cast<int>(bits() % static_cast<uint64_t>(n)); }

private:
    uint64_t state;
};

template <typename T> int32 sampleSizeOf() {
    return sizeof(T) == 4 ? Vst::kSample32 : Vst::kSample64;
}

template <typename T> bool sameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Input and output buffers of one block for up to two channels; in place, the outputs are the
// input buffers.
template <typename T> struct Block {
    Block(int channels, int samples, bool inPlace) : inPlace(inPlace) {
        for (int c = 0; c < 2; ++c) {
            in[c].assign(static_cast<size_t>(samples), T(0));
            out[c].assign(static_cast<size_t>(samples), T(-7));
        }
        for (int c = 0; c < channels; ++c) {
            inPointers[c] = in[c].data();
            outPointers[c] = inPlace ? in[c].data() : out[c].data();
        }
    }
    // The output of a processed block (in place: the overwritten input).
    const std::vector<T>& result(int c) const { return inPlace ? in[c] : out[c]; }

    bool inPlace;
    std::vector<T> in[2];
    std::vector<T> out[2];
    T* inPointers[2] = {};
    T* outPointers[2] = {};
};

void mirrorParameters(EngineHarness& h, ReferenceEngine& ref) {
    ref.setPower(h.get(kPowerId), h.effect().isBypassed());
    ref.setTone(h.get(kToneId));
    ref.setLimiter(h.get(kFxLimiterId));
    ref.setPreDelay(h.get(kPreDelayId));
    ref.setMix(h.get(kFxMixId));
}

template <typename T>
void fillInput(Block<T>& block, int channels, Sequence& random, double amplitude) {
    for (int c = 0; c < channels; ++c)
        for (T& v : block.in[c])
            v = static_cast<T>(random.signedUnit() * amplitude);
    // Now and then a denormal, which the processor's setting reads as zero.
    if (random.below(4) == 0 && !block.in[0].empty())
        block.in[0][0] = std::numeric_limits<T>::denorm_min();
}

// Runs the product and the plain transcription side by side over random blocks and parameter
// changes and demands identical bits at every output sample, meter value and noise step.
// Channels 0: a stereo setup whose blocks carry one or two channels at random.
template <typename T>
void expectSameAsReference(double fs, int channels, bool inPlace, int total, uint64_t seed,
                           bool generalHighSections = false) {
    SCOPED_TRACE(::testing::Message() << "fs " << fs << " channels " << channels
                                      << (inPlace ? " in place" : " separate"));
    Sequence random(seed);
    setNoiseState(static_cast<uint32_t>(random.bits()) | 1u);

    EngineHarness h(fs, channels == 0 ? 2 : channels, sampleSizeOf<T>());
    ASSERT_EQ(h.setupResult, kResultOk);
    // The kernel forced by the caller, or the one a setup chooses.
    EXPECT_EQ(h.inspect().chainKernel(), ChainKernel::choose());
    h.set(kFxMixId, 0.6);
    h.set(kToneId, 0.4);
    h.set(kFxLimiterId, 0.55);
    h.set(kPreDelayId, 0.3);
    h.effect().setActive(true);
    if (generalHighSections) {
        // One ulp off the squared allpass, so the sections cannot share their products.
        EngineDesign design = h.inspect().design();
        for (auto& section : design.highSection)
            section.b2 = std::nextafter(section.b2, 0.0);
        h.inspect().injectDesign(design);
    }

    ReferenceEngine ref(h.inspect().design(), getNoiseState());
    mirrorParameters(h, ref);
    ref.reset();

    const int sizes[] = {0, 1, 2, 17, 64, 128, 333, 512, 1024};
    const ParamID ids[] = {kFxMixId, kToneId, kFxLimiterId, kPreDelayId, kPowerId, kMasterBypassId};
    int done = 0;
    while (done < total) {
        const int samples = sizes[random.below(9)];
        if (random.below(3) == 0) {
            const ParamID id = ids[random.below(6)];
            double value = random.unit();
            // Keep the effect running most of the time.
            if (id == kPowerId)
                value = random.below(3) ? 1.0 : 0.0;
            if (id == kMasterBypassId)
                value = random.below(4) ? 0.0 : 1.0;
            h.set(id, value);
            mirrorParameters(h, ref);
        }
        const double amplitudes[] = {0.0, 0.01, 0.5, 4.0};
        const int blockChannels = channels == 0 ? 1 + random.below(2) : channels;
        h.channels = blockChannels;
        Block<T> engineBlock(blockChannels, samples, inPlace);
        fillInput(engineBlock, blockChannels, random, amplitudes[random.below(4)]);
        Block<T> refBlock = engineBlock;
        for (int c = 0; c < blockChannels; ++c) {
            refBlock.inPointers[c] = refBlock.in[c].data();
            refBlock.outPointers[c] = inPlace ? refBlock.in[c].data() : refBlock.out[c].data();
        }

        h.meters.clear();
        h.process(engineBlock.inPointers, engineBlock.outPointers, samples);
        {
            DenormalsAsZero daz;
            ref.process(refBlock.inPointers, refBlock.outPointers, blockChannels, samples);
        }
        for (int c = 0; c < blockChannels; ++c)
            for (int s = 0; s < samples; ++s)
                ASSERT_TRUE(sameBits(engineBlock.result(c)[s], refBlock.result(c)[s]))
                    << "sample " << done + s << " channel " << c << ": " << engineBlock.result(c)[s]
                    << " vs " << refBlock.result(c)[s];
        const double meter = h.effect().isBypassed() ? 0.0 : 1.0 - ref.blockMinGain;
        ASSERT_EQ(h.meters.lastValue(kGrMeterId), meter) << "after sample " << done;
        ASSERT_EQ(getNoiseState(), ref.noise);
        done += samples;
    }
    EXPECT_EQ(ref.badReads(), 0);
    for (int c = 0; c < h.channels; ++c)
        EXPECT_EQ(h.inspect().limiterGain(c), ref.limiterGain[c]);
    if (channels == 1) {
        EXPECT_TRUE(h.inspect().channelIsZero(1));
    }
}

template <typename T> class SignalPath : public ::testing::Test {
protected:
    SignalPath() : savedNoise(getNoiseState()) {}
    ~SignalPath() override { setNoiseState(savedNoise); }
    uint32_t savedNoise;
};

using SampleTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(SignalPath, SampleTypes);

} // namespace

TYPED_TEST(SignalPath, EqualsThePlainTranscriptionAtEveryRate) {
    forEachChainKernel([this](ChainKernel::Kind) {
        uint64_t seed = 1;
        for (double fs : {8000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
            // Long enough for the loops to come round at least once.
            const int loopRound = static_cast<int>(fs * 0.08);
            expectSameAsReference<TypeParam>(fs, 2, false, std::max(4000, loopRound), seed++);
            expectSameAsReference<TypeParam>(fs, 2, true, 3000, seed++);
            expectSameAsReference<TypeParam>(fs, 1, false, 3000, seed++);
            expectSameAsReference<TypeParam>(fs, 1, true, 2000, seed++);
            expectSameAsReference<TypeParam>(fs, 0, false, 3000, seed++);
            if (this->HasFatalFailure())
                return;
        }
    });
}

TYPED_TEST(SignalPath, HighSectionsOfAnyDesignEqualThePlainTranscription) {
    forEachChainKernel([](ChainKernel::Kind) {
        expectSameAsReference<TypeParam>(44100.0, 2, false, 4000, 101, true);
        expectSameAsReference<TypeParam>(48000.0, 1, true, 3000, 102, true);
    });
}

TYPED_TEST(SignalPath, PassesThroughOnceTheRunGainHasDecayed) {
    using T = TypeParam;
    for (ParamID off : {kPowerId, kMasterBypassId}) {
        Sequence random(off);
        setNoiseState(99);
        EngineHarness h(8000.0, 2, sampleSizeOf<T>());
        ReferenceEngine ref(h.inspect().design(), getNoiseState());
        mirrorParameters(h, ref);
        ref.reset();

        auto step = [&](int samples, double amplitude) {
            Block<T> block(2, samples, false);
            fillInput(block, 2, random, amplitude);
            Block<T> refBlock = block;
            for (int c = 0; c < 2; ++c) {
                refBlock.inPointers[c] = refBlock.in[c].data();
                refBlock.outPointers[c] = refBlock.out[c].data();
            }
            h.process(block.inPointers, block.outPointers, samples);
            {
                DenormalsAsZero daz;
                ref.process(refBlock.inPointers, refBlock.outPointers, 2, samples);
            }
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < samples; ++s)
                    EXPECT_TRUE(sameBits(block.out[c][s], refBlock.out[c][s]));
            return block;
        };

        step(2000, 0.5);
        h.set(off, off == kPowerId ? 0.0 : 1.0);
        mirrorParameters(h, ref);
        // The full path keeps running while the run gain decays (about 1.8 s).
        int blocks = 0;
        while (h.inspect().current(QUOR515Effect::runGain) > 2.220446049250313e-16) {
            step(512, 0.5);
            ASSERT_LT(++blocks, 100);
        }
        EXPECT_GT(blocks, 20);

        // Now the engine stands still and copies input bits, whatever they are.
        const uint32_t noiseBefore = getNoiseState();
        Block<T> block = step(300, 2.0);
        block.in[0][5] = -T(0);
        block.in[1][7] = std::numeric_limits<T>::infinity();
        block.in[1][8] = std::numeric_limits<T>::quiet_NaN();
        block.in[0][9] = std::numeric_limits<T>::denorm_min();
        // A signalling NaN made from its bits, so that no x87 load on the way quiets it.
        const uint64_t signalling = sizeof(T) == 4 ? 0x7FA00001u : 0x7FF4000000000001ull;
        std::memcpy(&block.in[1][10], &signalling, sizeof(T));
        h.process(block.inPointers, block.outPointers, 300);
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 300; ++s)
                ASSERT_TRUE(sameBits(block.out[c][s], block.in[c][s])) << c << " " << s;
        EXPECT_EQ(getNoiseState(), noiseBefore);
        // The reference passes the same block through as well.
        {
            Block<T> refBlock = block;
            refBlock.inPointers[0] = refBlock.in[0].data();
            refBlock.inPointers[1] = refBlock.in[1].data();
            refBlock.outPointers[0] = refBlock.out[0].data();
            refBlock.outPointers[1] = refBlock.out[1].data();
            ref.process(refBlock.inPointers, refBlock.outPointers, 2, 300);
        }

        // Back on: the frozen tail resumes from the first sample, starting near the dry signal.
        h.set(off, off == kPowerId ? 1.0 : 0.0);
        mirrorParameters(h, ref);
        Block<T> resumed = step(1, 0.5);
        EXPECT_NEAR(resumed.out[0][0], resumed.in[0][0], 0.01);
        step(4000, 0.0);
        step(1000, 0.3);
        EXPECT_EQ(ref.badReads(), 0);
        EXPECT_EQ(getNoiseState(), ref.noise);
    }
}

TYPED_TEST(SignalPath, SilenceAfterActivationIsExactlyZero) {
    EngineHarness h(44100.0, 2, sampleSizeOf<TypeParam>());
    h.set(kFxMixId, 1.0);
    h.set(kPreDelayId, 0.0);
    h.effect().setActive(true);
    double meter = 0.0;
    for (int block = 0; block < 100; ++block) {
        Block<TypeParam> b(2, 512, false);
        h.meters.clear();
        h.process(b.inPointers, b.outPointers, 512);
        for (int c = 0; c < 2; ++c)
            for (TypeParam v : b.out[c])
                ASSERT_TRUE(sameBits(v, TypeParam(0)));
        meter = h.meters.lastValue(kGrMeterId);
    }
    // The resting limiter gain is 54/55, weighted by the run gain.
    EXPECT_NEAR(meter, 1.0 / 55.0, 1e-9);

    // Power off: the meter follows the fading run gain.
    // The block's lowest metered gain is at its first sample, where the run gain is highest: a
    // one-sample block shows the run gain it ran with.
    h.set(kPowerId, 0.0);
    h.processSilence(4410);
    h.meters.clear();
    h.processSilence(1);
    const double run = h.inspect().current(QUOR515Effect::runGain);
    EXPECT_NEAR(h.meters.lastValue(kGrMeterId), run / 55.0, 1e-6);

    h.set(kPowerId, 1.0);
    h.set(kMasterBypassId, 1.0);
    h.meters.clear();
    h.processSilence(64);
    EXPECT_EQ(h.meters.lastValue(kGrMeterId), 0.0);
}

TYPED_TEST(SignalPath, EmptyBlocksStillSendTheMeterAndNothingElse) {
    EngineHarness h(48000.0, 2, sampleSizeOf<TypeParam>());
    h.set(kFxMixId, 0.2);
    h.processSilence(100);
    const double before = h.inspect().current(QUOR515Effect::mix);
    Block<TypeParam> b(2, 0, false);
    h.meters.clear();
    h.process(b.inPointers, b.outPointers, 0);
    EXPECT_EQ(h.meters.pointCount(kGrMeterId), 1);
    EXPECT_EQ(h.meters.lastValue(kGrMeterId), 0.0);
    EXPECT_EQ(h.inspect().current(QUOR515Effect::mix), before);
}

TYPED_TEST(SignalPath, MeterOnlyWhereTheHostTakesIt) {
    // Under the AU wrapper, without output changes or without a queue: audio, but no point.
    EngineHarness au(44100.0, 2, sampleSizeOf<TypeParam>(), WrapperKind::AU);
    au.processSilence(16);
    EXPECT_EQ(au.meters.pointCount(kGrMeterId), 0);

    EngineHarness plain(44100.0, 2, sampleSizeOf<TypeParam>());
    plain.sendMeters = false;
    plain.processSilence(16);
    EXPECT_EQ(plain.meters.pointCount(kGrMeterId), 0);

    plain.sendMeters = true;
    plain.meters.giveQueues = false;
    Block<TypeParam> b(2, 32, false);
    b.in[0][0] = TypeParam(0.5);
    plain.process(b.inPointers, b.outPointers, 32);
    EXPECT_EQ(plain.meters.getParameterCount(), 0);
    EXPECT_NE(b.out[0][0], TypeParam(-7));
}

// What a host's buffer holds after it converted 1e300 to its sample type: infinity in float.
template <typename T> T hugeSample() {
    volatile double huge = 1e300;
    return static_cast<T>(huge);
}

TYPED_TEST(SignalPath, NonFiniteInputEntersAsSilence) {
    using T = TypeParam;
    const T bad[] = {std::numeric_limits<T>::quiet_NaN(), std::numeric_limits<T>::infinity(),
                     -std::numeric_limits<T>::infinity(), hugeSample<T>()};
    for (T value : bad) {
        if (std::isfinite(value))
            continue; // a finite double: the overflow test below
        SCOPED_TRACE(::testing::Message() << value);
        // The same effect twice: one gets a block of bad samples, the other silence where
        // they were. Both draw the same noise, so they must agree to the bit from then on.
        EngineHarness poisoned(44100.0, 2, sampleSizeOf<T>());
        EngineHarness clean(44100.0, 2, sampleSizeOf<T>());
        Sequence random(11);
        uint32_t noise = 77;
        for (int block = 0; block < 30; ++block) {
            Block<T> a(2, 64, block % 2 == 1);
            fillInput(a, 2, random, 0.5);
            if (block == 10)
                for (int c = 0; c < 2; ++c)
                    for (int s = 0; s < 64; ++s)
                        a.in[c][s] = s % 3 == 0 ? value : T(0);
            Block<T> b = a;
            for (int c = 0; c < 2; ++c) {
                for (T& v : b.in[c])
                    if (!std::isfinite(v))
                        v = T(0);
                b.inPointers[c] = b.in[c].data();
                b.outPointers[c] = a.inPlace ? b.in[c].data() : b.out[c].data();
            }
            const uint32_t start = noise;
            setNoiseState(start);
            poisoned.meters.clear();
            poisoned.process(a.inPointers, a.outPointers, 64);
            noise = getNoiseState();
            setNoiseState(start);
            clean.process(b.inPointers, b.outPointers, 64);
            ASSERT_EQ(getNoiseState(), noise);
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 64; ++s)
                    ASSERT_TRUE(sameBits(a.result(c)[s], b.result(c)[s]))
                        << "block " << block << " channel " << c << " sample " << s;
            ASSERT_TRUE(std::isfinite(poisoned.meters.lastValue(kGrMeterId)));
        }
        EXPECT_TRUE(poisoned.inspect().everyStateIsFinite());
    }
}

TEST(SignalPathRecovery, StateThatOverflowsIsClearedAfterItsBlock) {
    // Finite samples near the largest double overflow in the limiter's drive.
    const uint32_t savedNoise = getNoiseState();
    for (double value : {1e308, -1e308, 1e300}) {
        SCOPED_TRACE(::testing::Message() << value);
        EngineHarness h(44100.0, 2, Vst::kSample64);
        h.set(kFxLimiterId, 1.0);
        h.effect().setActive(true);
        Sequence random(4);
        Block<double> warm(2, 4096, false);
        fillInput(warm, 2, random, 0.5);
        h.process(warm.inPointers, warm.outPointers, 4096);

        Block<double> loud(2, 64, false);
        for (int c = 0; c < 2; ++c)
            std::fill(loud.in[c].begin(), loud.in[c].end(), value);
        h.meters.clear();
        h.process(loud.inPointers, loud.outPointers, 64);
        // The host never sees a meter value that is not a number.
        EXPECT_TRUE(std::isfinite(h.meters.lastValue(kGrMeterId)));
        h.effect().updateMeters();
        EXPECT_TRUE(std::isfinite(h.get(kOverloadId)));
        // Either the state stayed finite, or it was cleared as on activation.
        const bool cleared = h.inspect().everyStateIsZero();
        EXPECT_TRUE(cleared || h.inspect().everyStateIsFinite());
        if (value != 1e300) {
            EXPECT_TRUE(cleared);
        }

        // Sound again, and finite from the first sample on.
        for (int block = 0; block < 40; ++block) {
            Block<double> b(2, 512, false);
            fillInput(b, 2, random, 0.5);
            h.process(b.inPointers, b.outPointers, 512);
            for (int c = 0; c < 2; ++c)
                for (double v : b.out[c])
                    ASSERT_TRUE(std::isfinite(v)) << block;
        }
        EXPECT_TRUE(h.inspect().everyStateIsFinite());
    }
    setNoiseState(savedNoise);
}

TYPED_TEST(SignalPath, ActivationClearsEveryState) {
    EngineHarness h(44100.0, 2, sampleSizeOf<TypeParam>());
    Sequence random(8);
    Block<TypeParam> b(2, 2048, false);
    fillInput(b, 2, random, 0.5);
    h.process(b.inPointers, b.outPointers, 2048);
    EXPECT_FALSE(h.inspect().everyStateIsZero());
    h.effect().setActive(false);
    EXPECT_TRUE(h.inspect().everyStateIsZero());
    h.effect().setActive(true);
    for (const auto& channel : h.processSilence(8192))
        for (double v : channel)
            ASSERT_EQ(v, 0.0);
}

TEST(SignalPathFormats, FloatEqualsDoubleNarrowed) {
    const uint32_t savedNoise = getNoiseState();
    EngineHarness single(48000.0, 2, Vst::kSample32);
    EngineHarness wide(48000.0, 2, Vst::kSample64);
    for (EngineHarness* h : {&single, &wide}) {
        h->set(kFxMixId, 0.8);
        h->set(kFxLimiterId, 0.7);
        h->set(kPreDelayId, 0.45);
        h->effect().setActive(true);
    }
    Sequence random(5);
    uint32_t noise = 12345;
    for (int block = 0; block < 40; ++block) {
        const int samples = 1 + random.below(700);
        Block<float> f(2, samples, block % 2 == 0);
        fillInput(f, 2, random, block % 5 == 0 ? 3.0 : 0.3);
        Block<double> d(2, samples, false);
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < samples; ++s)
                d.in[c][s] = f.in[c][s];

        setNoiseState(noise);
        single.process(f.inPointers, f.outPointers, samples);
        const uint32_t afterFloat = getNoiseState();
        setNoiseState(noise);
        wide.process(d.inPointers, d.outPointers, samples);
        ASSERT_EQ(getNoiseState(), afterFloat);
        noise = afterFloat;
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < samples; ++s)
                ASSERT_TRUE(sameBits(f.result(c)[s], static_cast<float>(d.out[c][s])))
                    << block << " " << c << " " << s;
    }
    setNoiseState(savedNoise);
}

TEST(SignalPathBounds, ModulatedReadsAtTheEndsOfTheirRangeStayInsideTheLines) {
    // A noise filter with a huge gain holds nearly every modulated delay at the top or the
    // bottom of its range; at the top the read reaches one sample past the floor of the
    // largest delay, which the lines hold. The pre-delay sits at its longest as well.
    const uint32_t savedNoise = getNoiseState();
    for (double fs : {8000.0, 44100.0, 1234.5678}) {
        EngineHarness h(fs, 2, Vst::kSample64);
        h.set(kPreDelayId, 1.0);
        h.effect().setActive(true);
        EngineDesign design = h.inspect().design();
        for (auto& lowPass : design.noiseLowPass)
            lowPass = {100.0, 0.0, 0.0, 0.0, 0.0};
        h.inspect().injectDesign(design);
        setNoiseState(7);
        ReferenceEngine ref(design, getNoiseState());
        mirrorParameters(h, ref);
        ref.reset();
        // The same with lines exactly as long as the floor of their largest delay: the top of
        // the range then reads past them.
        EngineDesign shorter = design;
        for (int k = 0; k < 2; ++k) {
            shorter.restLength[k] -= 1;
            shorter.secondaryLength[k] -= 1;
        }
        ReferenceEngine shortLines(shorter, getNoiseState());
        mirrorParameters(h, shortLines);
        shortLines.reset();

        Sequence random(3);
        const int total = static_cast<int>(fs * 0.2) + 2000;
        for (int done = 0; done < total; done += 256) {
            Block<double> block(2, 256, false);
            fillInput(block, 2, random, 0.7);
            Block<double> refBlock = block;
            for (int c = 0; c < 2; ++c) {
                refBlock.inPointers[c] = refBlock.in[c].data();
                refBlock.outPointers[c] = refBlock.out[c].data();
            }
            h.process(block.inPointers, block.outPointers, 256);
            {
                DenormalsAsZero daz;
                ref.process(refBlock.inPointers, refBlock.outPointers, 2, 256);
                Block<double> shortBlock = block;
                for (int c = 0; c < 2; ++c) {
                    shortBlock.inPointers[c] = shortBlock.in[c].data();
                    shortBlock.outPointers[c] = shortBlock.out[c].data();
                }
                shortLines.process(shortBlock.inPointers, shortBlock.outPointers, 2, 256);
            }
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 256; ++s)
                    ASSERT_TRUE(sameBits(block.out[c][s], refBlock.out[c][s])) << fs;
        }
        EXPECT_EQ(ref.badReads(), 0) << fs;
        EXPECT_GT(shortLines.badReads(), 0) << fs;
        EXPECT_TRUE(h.inspect().everyStateIsFinite()) << fs;
    }
    setNoiseState(savedNoise);
}
