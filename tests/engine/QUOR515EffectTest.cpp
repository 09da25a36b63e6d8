#include "engine/EngineHarness.h"
#include "engine/QUOR515Ids.h"

#include "base/source/fstring.h"
#include "core/ClassFactory.h"
#include "core/CoreIds.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string title(const ParameterInfo& info) {
    String s(info.title);
    s.toMultiByte(kCP_Utf8);
    return s.text8();
}

std::vector<uint32> chunkWords(QUOR515Effect& effect, int64* size) {
    MemoryStream stream;
    EXPECT_EQ(effect.getState(&stream), kResultOk);
    stream.seek(0, IBStream::kIBSeekEnd, size);
    std::vector<uint32> words;
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream.getData());
    for (int64 i = 0; i + 4 <= *size; i += 4)
        words.push_back((uint32(bytes[i]) << 24) | (uint32(bytes[i + 1]) << 16) |
                        (uint32(bytes[i + 2]) << 8) | uint32(bytes[i + 3]));
    return words;
}

} // namespace

TEST(QUOR515Parameters, TableInOrder) {
    EngineHarness h(44100.0);
    QUOR515Effect& fx = h.effect();
    ASSERT_EQ(fx.getParameterCount(), 8);

    struct Row {
        const char* title;
        ParamID id;
        int32 flags;
        int32 steps;
        double defaultValue;
    };
    const Row rows[] = {
        {"Master Bypass", kMasterBypassId, 0x10009, 1, 0.0},
        {"Power", kPowerId, 9, 1, 1.0},
        {"Fx Limiter", kFxLimiterId, 1, 0, 0.3},
        {"Fx Mix", kFxMixId, 1, 0, 0.5},
        {"Tone", kToneId, 1, 0, 0.5},
        {"Pre-Delay", kPreDelayId, 1, 0, 0.0},
        {"Overload", kOverloadId, 2, 0, 0.0},
        {"GR Meter", kGrMeterId, 2, 0, 1.0},
    };
    for (int32 i = 0; i < 8; ++i) {
        ParameterInfo info = {};
        ASSERT_EQ(fx.getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(title(info), rows[i].title);
        EXPECT_EQ(info.id, rows[i].id) << rows[i].title;
        EXPECT_EQ(info.flags, rows[i].flags) << rows[i].title;
        EXPECT_EQ(info.stepCount, rows[i].steps) << rows[i].title;
        EXPECT_EQ(info.defaultNormalizedValue, rows[i].defaultValue) << rows[i].title;
        EXPECT_EQ(info.unitId, kRootUnitId);
        EXPECT_EQ(info.shortTitle[0], 0);
        EXPECT_EQ(fx.getParamNormalized(rows[i].id), rows[i].defaultValue) << rows[i].title;
    }
    // The knobs show one decimal and read 0 to 10.
    String128 text = {};
    fx.getParamStringByValue(kFxMixId, 0.5, text);
    EXPECT_EQ(String(text), String(STR16("5.0")));
    fx.getParamStringByValue(kPreDelayId, 0.5, text);
    EXPECT_EQ(String(text), String(STR16("12.3")));
    ParameterInfo info = {};
    fx.getParameterInfo(5, info);
    EXPECT_EQ(String(info.units), String(STR16("ms")));
}

TEST(QUOR515Parameters, EngineIdentity) {
    FUnknown* instance = createInstance(nullptr);
    ASSERT_NE(instance, nullptr);
    IAudioProcessor* processor = nullptr;
    ASSERT_EQ(instance->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor)),
              kResultOk);
    processor->release();
    auto* effect = static_cast<QUOR515Effect*>(static_cast<IAudioProcessor*>(instance));
    // The product keeps the framework's run-time class name.
    EXPECT_STREQ(effect->isA(), "SorvEffect");
    const MeterRow* meters = effect->meterTable();
    EXPECT_STREQ(meters[0].name, "GR Meter");
    EXPECT_EQ(meters[0].id, kGrMeterId);
    EXPECT_EQ(meters[0].orientation, 0);
    EXPECT_EQ(meters[0].type, kGainReductionMeter);
    EXPECT_EQ(meters[1].name, nullptr);
    instance->release();
}

TEST(QUOR515Parameters, Targets) {
    EngineHarness h(44100.0);
    QUOR515EffectProbe probe = h.inspect();
    EXPECT_EQ(probe.target(QUOR515Effect::runGain), 1.0);
    h.set(kPowerId, 0.0);
    EXPECT_EQ(probe.target(QUOR515Effect::runGain), 0.0);
    h.set(kPowerId, 1.0);
    h.set(kMasterBypassId, 1.0);
    EXPECT_EQ(probe.target(QUOR515Effect::runGain), 0.0);
    h.set(kMasterBypassId, 0.5); // not above 0.5: not bypassed
    EXPECT_EQ(probe.target(QUOR515Effect::runGain), 1.0);

    h.set(kToneId, 0.25);
    EXPECT_EQ(probe.target(QUOR515Effect::toneAmount), 0.25 * 0.8741074588205833);
    h.set(kFxMixId, 0.7);
    EXPECT_EQ(probe.target(QUOR515Effect::mix), 0.7);

    h.set(kFxLimiterId, 0.0);
    EXPECT_EQ(probe.target(QUOR515Effect::limiterDrive), 0.19480074928505933);
    h.set(kFxLimiterId, 0.3);
    EXPECT_EQ(probe.target(QUOR515Effect::limiterDrive), 3.1958811708867594);
    h.set(kFxLimiterId, 1.0);
    EXPECT_EQ(probe.target(QUOR515Effect::limiterDrive), 2185.7003560968687);

    h.set(kPreDelayId, 0.5);
    EXPECT_EQ(probe.target(QUOR515Effect::preDelaySamples), 542.0);
    EngineHarness h48(48000.0);
    h48.set(kPreDelayId, 1.0);
    EXPECT_EQ(h48.inspect().target(QUOR515Effect::preDelaySamples), 7200.0);

    // Re-applying an unchanged value still recomputes its target; activation copies targets.
    h.effect().setActive(true);
    for (int i = 0; i < QUOR515Effect::kSmoothedCount; ++i)
        EXPECT_EQ(probe.current(i), probe.target(i)) << i;
}

TEST(QUOR515Parameters, NoSampleRateMeansNoTailAndNoPreDelay) {
    EngineHarness h(0.0);
    EXPECT_EQ(h.effect().getTailSamples(), 0u);
    h.set(kPreDelayId, 0.8);
    EXPECT_EQ(h.inspect().target(QUOR515Effect::preDelaySamples), 0.0);

    EngineHarness rated(44100.0);
    EXPECT_EQ(rated.effect().getTailSamples(), 154350u);
}

TEST(QUOR515Parameters, OverloadFromTheLimiterGains) {
    EngineHarness h(44100.0);
    QUOR515EffectProbe probe = h.inspect();
    auto overloadFor = [&](double g0, double g1) {
        probe.setLimiterGain(0, g0);
        probe.setLimiterGain(1, g1);
        h.effect().updateMeters();
        return h.get(kOverloadId);
    };
    EXPECT_EQ(overloadFor(1.0, 1.0), 0.0);
    // 6 dB of reduction is half the lamp.
    EXPECT_NEAR(overloadFor(std::pow(10.0, -6.0 / 20.0), 1.0), 0.5, 1e-15);
    EXPECT_NEAR(overloadFor(1.0, std::pow(10.0, -3.0 / 20.0)), 0.25, 1e-15);
    // At exactly 12 dB the arithmetic lands one step below 1; just below it the lamp is full.
    const double twelveDecibels = std::pow(10.0, -12.0 / 20.0);
    EXPECT_EQ(overloadFor(twelveDecibels, 1.0), 0.9999999999999999);
    EXPECT_EQ(overloadFor(std::nextafter(twelveDecibels, 0.0), 1.0), 1.0);
    EXPECT_EQ(overloadFor(0.01, 1.0), 1.0);

    overloadFor(0.5, 0.5);
    h.set(kPowerId, 0.0);
    EXPECT_EQ(overloadFor(0.5, 0.5), 0.0);
    h.set(kPowerId, 1.0);
    h.set(kMasterBypassId, 1.0);
    EXPECT_EQ(overloadFor(0.5, 0.5), 0.0);
}

TEST(QUOR515Parameters, GainReductionInDecibelsFromTheMeter) {
    EngineHarness h(44100.0);
    // The read-only parameter set as the host would see a block's value.
    h.effect().setParamNormalized(kGrMeterId, 0.5);
    EXPECT_NEAR(h.effect().getGainReductionValueInDecibels(), -6.020599913279624, 1e-12);
    h.effect().setParamNormalized(kGrMeterId, 0.0);
    EXPECT_EQ(h.effect().getGainReductionValueInDecibels(), 0.0);
}

TEST(QUOR515Parameters, StateChunkUnderVst3) {
    EngineHarness h(44100.0);
    int64 size = 0;
    const std::vector<uint32> words = chunkWords(h.effect(), &size);
    EXPECT_EQ(size, 80);
    ASSERT_EQ(words.size(), 20u);
    EXPECT_EQ(words[0], kStateChunkMagic);
    EXPECT_EQ(words[2], 80u);
    EXPECT_EQ(words[3], 8u);
    const ParamID order[] = {kMasterBypassId, kPowerId,    kFxLimiterId, kFxMixId,
                             kToneId,         kPreDelayId, kOverloadId,  kGrMeterId};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(words[4 + 2 * k], order[k]) << k;
}

TEST(QUOR515Parameters, StateChunkUnderTheVst2Wrapper) {
    EngineHarness h(44100.0, 2, kSample32, WrapperKind::Vst2);
    int64 size = 0;
    const std::vector<uint32> words = chunkWords(h.effect(), &size);
    EXPECT_EQ(size, 88);
    ASSERT_EQ(words.size(), 22u);
    EXPECT_EQ(words[3], 9u);
    EXPECT_EQ(words[4], kMasterBypassId);
    EXPECT_EQ(words[6], kProgramId);
    EXPECT_EQ(words[7], 0u);
    EXPECT_EQ(words[8], kPowerId);
}
