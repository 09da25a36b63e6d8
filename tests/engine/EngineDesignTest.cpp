#include "engine/EngineHarness.h"
#include "engine/FilterDesign.h"
#include "engine/QUOR515Ids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;

namespace {

void expectSection(const BiquadCoefficients& actual, const BiquadCoefficients& expected) {
    EXPECT_EQ(actual.b0, expected.b0);
    EXPECT_EQ(actual.b1, expected.b1);
    EXPECT_EQ(actual.a1, expected.a1);
    EXPECT_EQ(actual.b2, expected.b2);
    EXPECT_EQ(actual.a2, expected.a2);
}

} // namespace

TEST(EngineDesign, At44100) {
    EngineHarness h(44100.0);
    ASSERT_EQ(h.setupResult, kResultOk);
    const EngineDesign d = h.inspect().design();

    EXPECT_EQ(d.smoothingCount, 5);
    EXPECT_EQ(d.smoothingCoefficient, 1.0 - std::exp(-20.0 / 44100.0));
    EXPECT_EQ(d.stretch, 3.51044776119403);
    EXPECT_EQ(d.stageDelay, 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(d.chainCoefficient[k], 0.69);
        EXPECT_EQ(d.fractionCoefficient[k], 0.32411067193675863);
    }

    const double r = 0.9524210977310273;
    const double theta = 0.053839283887762934;
    EXPECT_EQ(d.resonatorDelay, 3);
    EXPECT_EQ(d.resonatorFeedback2, r * r);
    EXPECT_EQ(d.resonatorGain, (1.0 - r * r) * 0.5);
    EXPECT_EQ(d.resonatorFeedback1, (std::cos(theta) * r) * ((-1.0 / r) * (r * r + 1.0)));

    EXPECT_EQ(d.aLength[0], 515);
    EXPECT_EQ(d.bLength[0], 4);
    EXPECT_EQ(d.cLength[0], 1318);
    EXPECT_EQ(d.aLength[1], 649);
    EXPECT_EQ(d.bLength[1], 4);
    EXPECT_EQ(d.cLength[1], 1652);
    EXPECT_EQ(d.restDelay[0], 735.4196418443698);
    EXPECT_EQ(d.restDelay[1], 936.26970064437);
    EXPECT_EQ(d.secondaryBase[0], 1118.4433225410305);
    EXPECT_EQ(d.secondaryBase[1], 1022.4825554083186);
    EXPECT_EQ(d.secondaryBase[0], 2572.41964184437 * 0.4347826086956522);
    EXPECT_EQ(d.secondaryBase[1], 3241.26970064437 * 0.31545741324921134);
    // The modulated lines hold one sample more than the floor of their largest delay, so the
    // top of the modulation range stays inside them.
    EXPECT_EQ(d.restLength[0], 779 + 1);
    EXPECT_EQ(d.restLength[1], 980 + 1);
    EXPECT_EQ(d.secondaryLength[0], 1140 + 1);
    EXPECT_EQ(d.secondaryLength[1], 1044 + 1);
    EXPECT_EQ(d.preDelayLength, 6616);
    EXPECT_EQ(d.modulationDepth, 44100.0 * 0.001);

    EXPECT_EQ(d.outerBlend, 0.1);
    EXPECT_EQ(d.innerBlend, 0.075);
    EXPECT_EQ(d.loopGain[0], -0.70625);
    EXPECT_EQ(d.loopGain[1], -0.746297);
    EXPECT_EQ(d.secondaryGain[0], -0.90141);
    EXPECT_EQ(d.secondaryGain[1], -0.92362);
    EXPECT_EQ(d.limiterScale, 16.32993161855452);
    EXPECT_EQ(d.limiterCoefficient, 1.0 - std::exp(-18.726591760299623 / 44100.0));

    expectSection(d.chainHighPass,
                  {0.9971585718615225, -0.9971585718615225, -0.994317143723045, 0.0, 0.0});
    expectSection(d.toneAllpass, {-0.7490960131005089, 1.0, -0.7490960131005089, 0.0, 0.0});
}

TEST(EngineDesign, FiltersAreTheLibraryDesigns) {
    const double fs = 48000.0;
    EngineHarness h(fs);
    const EngineDesign d = h.inspect().design();

    const double lowPassHz[5] = {1238.99540625, 2780.58375, 4214.1031875, 5271.4259999999995,
                                 5830.4635312499995};
    const double lowPassQ[5] = {0.7495, 1.8639, 3.5609, 6.9419, 22.2779};
    for (int j = 0; j < 5; ++j) {
        BiquadCoefficients expected;
        designBiquad(expected, FilterType::lowPass, fs, lowPassHz[j], lowPassQ[j], 1.0, -1.0);
        expectSection(d.lowPassSections[j], expected);
    }
    const double highHz[2] = {3743.0, 2753.1};
    for (int k = 0; k < 2; ++k) {
        BiquadCoefficients first;
        designBiquad(first, FilterType::allPass1, fs, highHz[k], 1.0, 1.0, -1.0);
        // The first-order allpass squared: b1 = 1 and b0 = a1, so the square is symmetric.
        EXPECT_EQ(first.b1, 1.0);
        expectSection(d.highSection[k], {first.b0 * first.b0, 2.0 * first.b0 * first.b1,
                                         2.0 * first.a1, first.b1 * first.b1, first.a1 * first.a1});
    }
    BiquadCoefficients peak;
    designFilter(peak, fs, 7310.0, 8.4, 37.0);
    expectSection(d.peakSections[0], peak);
    designFilter(peak, fs, 14620.0, 5.0, 6.0);
    expectSection(d.peakSections[1], peak);
    const double noiseHz[2] = {107.3, 93.5};
    for (int k = 0; k < 2; ++k) {
        BiquadCoefficients expected;
        designBiquad(expected, FilterType::lowPass1, fs, noiseHz[k], 1.0, 1.0, -1.0);
        expectSection(d.noiseLowPass[k], expected);
    }
    BiquadCoefficients tone;
    designBiquad(tone, FilterType::allPass1, fs, 2000.0, 1.0, 1.0, -1.0);
    expectSection(d.toneAllpass, tone);
}

TEST(EngineDesign, At48000) {
    EngineHarness h(48000.0);
    const EngineDesign d = h.inspect().design();
    EXPECT_EQ(d.stretch, 3.8208955223880596);
    EXPECT_EQ(d.stageDelay, 2);
    EXPECT_EQ(d.resonatorDelay, 3);
    EXPECT_EQ(d.aLength[0], 560);
    EXPECT_EQ(d.bLength[0], 5);
    EXPECT_EQ(d.cLength[0], 1434);
    EXPECT_EQ(d.aLength[1], 706);
    EXPECT_EQ(d.bLength[1], 5);
    EXPECT_EQ(d.cLength[1], 1799);
    EXPECT_EQ(d.restLength[0], 848 + 1);
    EXPECT_EQ(d.restLength[1], 1065 + 1);
    EXPECT_EQ(d.secondaryLength[0], 1241 + 1);
    EXPECT_EQ(d.secondaryLength[1], 1136 + 1);
    EXPECT_EQ(d.preDelayLength, 7201);
}

TEST(EngineDesign, StretchEdges) {
    // A multiple of 12562.5 Hz gives a whole stretch: d = 1 and no fractional delay.
    for (double fs : {25125.0, 50250.0, 100500.0}) {
        EngineHarness h(fs);
        const EngineDesign d = h.inspect().design();
        EXPECT_EQ(d.stretch, std::round(d.stretch)) << fs;
        EXPECT_EQ(d.fractionCoefficient[0], 0.0) << fs;
        EXPECT_EQ(d.fractionCoefficient[1], 0.0) << fs;
    }
    // At or below 25125 Hz every stage keeps a one-sample buffer.
    for (double fs : {8000.0, 22050.0, 25125.0}) {
        EngineHarness h(fs);
        EXPECT_EQ(h.inspect().design().stageDelay, 1) << fs;
    }
    EngineHarness low(8000.0);
    const EngineDesign d = low.inspect().design();
    EXPECT_EQ(d.resonatorDelay, 1);
    for (int k = 0; k < 2; ++k) {
        EXPECT_GE(d.aLength[k], 1);
        EXPECT_GE(d.bLength[k], 1);
        EXPECT_GE(d.cLength[k], 1);
    }
}

TEST(EngineDesign, ASecondSetupReplacesEveryBuffer) {
    EngineHarness h(96000.0);
    Vst::ProcessSetup setup = {Vst::kRealtime, Vst::kSample32, 512, 22050.0};
    h.effect().setActive(false);
    ASSERT_EQ(h.effect().setupProcessing(setup), kResultOk);
    h.effect().setActive(true);
    const EngineDesign d = h.inspect().design();
    EXPECT_EQ(d.stageDelay, 1);
    EXPECT_EQ(d.preDelayLength, 3308);
    // The new buffers are the ones in use (the sanitizers see any stale one).
    const auto out = h.processSilence(4000);
    EXPECT_EQ(out[0][3999], 0.0);
}

TEST(EngineDesign, UnusualRatesDesignAndStaySilent) {
    for (double fs : {1234.5678, 12345.678, 123456.78, 1234567.8}) {
        EngineHarness h(fs);
        ASSERT_EQ(h.setupResult, kResultOk) << fs;
        ASSERT_TRUE(h.inspect().isDesigned());
        // The pre-delay's longest delay is one less than its line.
        h.set(kPreDelayId, 1.0);
        h.effect().setActive(true);
        EXPECT_EQ(h.inspect().target(QUOR515Effect::preDelaySamples),
                  h.inspect().design().preDelayLength - 1);
        EXPECT_EQ(h.effect().getTailSamples(), static_cast<uint32>(std::ceil(3.5 * fs)));

        // Block sizes change from call to call, none included.
        int total = 0;
        for (int32 block : {0, 1, 37, 0, 512, 4096, 3}) {
            const auto out = h.processSilence(block);
            for (const auto& channel : out)
                for (double v : channel)
                    ASSERT_EQ(v, 0.0) << fs;
            total += block;
        }
        EXPECT_TRUE(h.inspect().everyStateIsFinite()) << fs;
        EXPECT_GT(total, 0);
    }
}

TEST(EngineDesign, ResonatorWithoutRadiusStaysSilent) {
    // At this rate the resonator's radius is exactly 0.
    const double fs = 699.4098633538985;
    EngineHarness h(fs);
    ASSERT_EQ(h.setupResult, kResultOk);
    EXPECT_EQ(h.inspect().design().resonatorFeedback2, 0.0);
    const auto out = h.processSilence(4096);
    for (const auto& channel : out)
        for (double v : channel)
            ASSERT_EQ(v, 0.0);
    EXPECT_TRUE(h.inspect().everyStateIsFinite());
}

TEST(EngineDesign, LowestUsableRatesStayFinite) {
    for (double fs : {360.0, 400.0, 600.0, 1000.0}) {
        EngineHarness h(fs);
        ASSERT_EQ(h.setupResult, kResultOk) << fs;
        std::vector<double> left(8192, 0.0), right(8192, 0.0);
        left[0] = right[0] = 1.0;
        std::vector<double> outLeft(8192), outRight(8192);
        double* in[2] = {left.data(), right.data()};
        double* out[2] = {outLeft.data(), outRight.data()};
        h.process(in, out, 8192);
        for (int i = 0; i < 8192; ++i)
            ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i])) << fs << " " << i;
        EXPECT_TRUE(h.inspect().everyStateIsFinite()) << fs;
    }
}

TEST(EngineDesign, DesigningAgainWhileActiveKeepsEveryReadInside) {
    // Hosts must deactivate before a new setup; one that does not still reads no stale
    // position beyond the new, shorter buffers (the sanitizers see any).
    EngineHarness h(96000.0);
    h.set(kFxMixId, 0.8);
    std::vector<double> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = ((i * 7919) % 200) / 100.0 - 1.0;
    std::vector<double> outLeft(3000), outRight(3000);
    double* in[2] = {noise.data(), noise.data()};
    double* out[2] = {outLeft.data(), outRight.data()};
    h.process(in, out, 2999);
    Vst::ProcessSetup setup = {Vst::kRealtime, Vst::kSample64, 4096, 44100.0};
    ASSERT_EQ(h.effect().setupProcessing(setup), kResultOk);
    h.process(in, out, 3000);
    for (double v : outLeft)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(EngineDesign, RatesWithoutADesignPassAudioThrough) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Below about 350 Hz a modulated delay could reach under one sample or the resonator
    // would be unstable.
    for (double fs : {0.0, -44100.0, nan, inf, 30.0, 150.0, 200.0, 300.0, 349.0, 1.0e9}) {
        EngineHarness h(fs);
        EXPECT_EQ(h.setupResult, kInvalidArgument) << fs;
        EXPECT_FALSE(h.inspect().isDesigned()) << fs;
        EXPECT_EQ(h.inspect().target(QUOR515Effect::preDelaySamples), 0.0);
        double in[2][16];
        double out[2][16];
        for (int i = 0; i < 16; ++i) {
            in[0][i] = i * 0.25 - 1.0;
            in[1][i] = -i * 0.125;
        }
        double* inPointers[2] = {in[0], in[1]};
        double* outPointers[2] = {out[0], out[1]};
        h.process(inPointers, outPointers, 16);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(out[c][i], in[c][i]);
    }
    // After a refused rate a good one designs again.
    EngineHarness h(nan);
    Vst::ProcessSetup setup = {Vst::kRealtime, Vst::kSample64, 512, 44100.0};
    EXPECT_EQ(h.effect().setupProcessing(setup), kResultOk);
    EXPECT_TRUE(h.inspect().isDesigned());
}
