#include "engine/NoiseModulator.h"

#include "support/TestUtils.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace SorvLib;

namespace {

// Restores the process-wide state so that other tests see no difference.
class Noise : public ::testing::Test {
protected:
    Noise() : saved(getNoiseState()) {}
    ~Noise() override { setNoiseState(saved); }
    uint32_t saved;
};

} // namespace

TEST_F(Noise, DrawsFromStateOne) {
    setNoiseState(1);
    EXPECT_EQ(nextNoise(), 0.5039711301214993);
    EXPECT_EQ(getNoiseState(), 1082269761u);
    EXPECT_EQ(nextNoise(), 0.3437829320318997);
    EXPECT_EQ(getNoiseState(), 738268225u);
    EXPECT_EQ(nextNoise(), 0.5216720295138657);
    EXPECT_EQ(getNoiseState(), 1120282153u);
}

TEST_F(Noise, ArithmeticShiftStepsAllOnesToZeroForGood) {
    // Its first step gives all 32 bits set; a logical shift would leave 0xFE000000.
    EXPECT_EQ(noiseStep(4227866623u), 0u);
    setNoiseState(4227866623u);
    EXPECT_EQ(nextNoise(), 0.0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(nextNoise(), 0.0);
    EXPECT_EQ(getNoiseState(), 0u);
}

TEST_F(Noise, ValueRange) {
    // No step can leave the state at 2^31 (the arithmetic shift clears the top bit and the
    // last step cannot set it alone), so the conversion is checked on its own.
    EXPECT_EQ(noiseValue(2147483648u), -1.0);
    EXPECT_EQ(noiseValue(0u), 0.0);
    EXPECT_LT(noiseValue(0x7FFFFFFFu), 1.0);
    EXPECT_EQ(noiseValue(0x7FFFFFFFu), 2147483647.0 / 2147483648.0);
    setNoiseState(1);
    for (int i = 0; i < 100000; ++i) {
        const double v = nextNoise();
        ASSERT_GE(v, -1.0);
        ASSERT_LT(v, 1.0);
    }
}

TEST_F(Noise, SeedIsTheTickMadeOdd) {
    if (SorvTest::TestUtils* utils = SorvTest::activeTestUtils()) {
        const uint32_t tick = utils->milliseconds;
        utils->milliseconds = 1234;
        EXPECT_EQ(noiseSeed(), 1235u);
        utils->milliseconds = 77;
        EXPECT_EQ(noiseSeed(), 77u);
        utils->milliseconds = tick;
    }
    EXPECT_EQ(noiseSeed() & 1u, 1u);
}

TEST_F(Noise, ConcurrentDrawsAreNeverLost) {
    const int perThread = 20000;
    setNoiseState(1);
    uint32_t expected = 1;
    for (int i = 0; i < 4 * perThread; ++i)
        expected = noiseStep(expected);

    setNoiseState(1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < perThread; ++i)
                nextNoise();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(getNoiseState(), expected);
}

TEST_F(Noise, JumpsEqualThatManySteps) {
    // From ordinary states, from the one that steps to 0, and from 0 itself.
    const uint32_t states[] = {1u, 0x2545F491u, 0xDEADBEEFu, 4227866623u, 0u, 0x80000000u};
    const uint64_t counts[] = {0, 1, 2, 3, 7, 8, 1000, 4096, 65537};
    for (uint32_t start : states) {
        uint32_t stepped = start;
        uint64_t done = 0;
        for (uint64_t count : counts) {
            for (; done < count; ++done)
                stepped = noiseStep(stepped);
            EXPECT_EQ(noiseJump(start, count), stepped) << start << " " << count;
        }
    }
    // Jumps compose: the period-sized jumps of a long run agree with jumping in parts.
    const uint64_t long1 = 0xFFFFFFFFull + 12345;
    EXPECT_EQ(noiseJump(noiseJump(0x2545F491u, long1), 99), noiseJump(0x2545F491u, long1 + 99));
}

TEST_F(Noise, StretchesOfStepsAreNeverLost) {
    // Alone: a stretch starts at the state and leaves the state that many steps on, so the
    // values stepped from it are those of single draws.
    setNoiseState(1);
    uint32_t x = takeNoiseSteps(3);
    EXPECT_EQ(x, 1u);
    EXPECT_EQ(getNoiseState(), 1120282153u);
    x = noiseStep(x);
    EXPECT_EQ(noiseValue(x), 0.5039711301214993);

    // Stretches and single draws on several threads at once: the state ends exactly as many
    // steps on as were taken in all, so no step was lost or taken twice.
    constexpr int kRuns = 2000;
    constexpr uint64_t kRunLength = 4096;
    constexpr int kSingles = 20000;
    const uint32_t seed = 0x2545F491u;
    setNoiseState(seed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([] {
            for (int r = 0; r < kRuns; ++r)
                takeNoiseSteps(kRunLength);
        });
    threads.emplace_back([] {
        for (int i = 0; i < kSingles; ++i)
            nextNoise();
    });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(getNoiseState(), noiseJump(seed, 3 * kRuns * kRunLength + kSingles));
}

TEST_F(Noise, ModulatorFiltersClampsAndScales) {
    BiquadCoefficients lowPass{0.25, 0.25, -0.5, 0.0, 0.0};
    setNoiseState(1);
    double state = 0.0;
    // From a cleared state the first filtered value is b0 times the draw.
    const double first = NoiseModulator::dispersionDelay(lowPass, state, 44.1, 735.5);
    EXPECT_EQ(first, (0.25 * 0.5039711301214993) * 44.1 + 735.5);
    EXPECT_EQ(state, 0.5039711301214993 * 0.25 - (0.25 * 0.5039711301214993) * -0.5);

    setNoiseState(1);
    state = 0.0;
    const double high = NoiseModulator::highDelay(lowPass, state, 44.1, 1000.0);
    EXPECT_EQ(high, ((0.25 * 0.5039711301214993) * 0.5) * 44.1 + 1000.0);

    // A gain far above one is held to the top and bottom of the range.
    BiquadCoefficients loud{100.0, 0.0, 0.0, 0.0, 0.0};
    setNoiseState(1);
    state = 0.0;
    EXPECT_EQ(NoiseModulator::dispersionDelay(loud, state, 10.0, 50.0), 60.0);
    uint32_t negative = 1;
    while (noiseValue(noiseStep(negative)) > -0.5)
        ++negative;
    setNoiseState(negative);
    EXPECT_EQ(NoiseModulator::highDelay(loud, state, 10.0, 50.0), 45.0);
}
