#include "engine/ChainKernel.h"
#include "engine/EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

using namespace SorvLib;
using namespace SorvTest;

TEST(ChainKernel, ChoiceFollowsTheProcessorAndThePreference) {
    // The compiler's own reading of cpuid and of the registers the OS saves.
    __builtin_cpu_init();
    const bool avx = __builtin_cpu_supports("avx");
    EXPECT_TRUE(ChainKernel::isAvailable(ChainKernel::kSse2));
    EXPECT_EQ(ChainKernel::isAvailable(ChainKernel::kAvx), avx);
    std::cout << "  chain kernels here: SSE2" << (avx ? ", AVX" : "") << "\n";

    EXPECT_EQ(ChainKernel::choose(), avx ? ChainKernel::kAvx : ChainKernel::kSse2);
    {
        EngineHarness h(44100.0);
        EXPECT_EQ(h.inspect().chainKernel(), ChainKernel::choose());
    }
    forEachChainKernel([](ChainKernel::Kind kind) {
        EXPECT_EQ(ChainKernel::choose(), kind);
        EngineHarness h(48000.0);
        EXPECT_EQ(h.inspect().chainKernel(), kind);
        // The kernel is taken at setup: a later preference does not touch a set-up effect.
        ChainKernel::prefer(kind == ChainKernel::kSse2 ? ChainKernel::kAvx : ChainKernel::kSse2);
        h.processSilence(64);
        EXPECT_EQ(h.inspect().chainKernel(), kind);
        ChainKernel::prefer(kind);
    });
    EXPECT_EQ(ChainKernel::choose(), avx ? ChainKernel::kAvx : ChainKernel::kSse2);
}

TEST(ChainKernel, AvxOnlyWhenTheOperatingSystemSavesItsRegisters) {
    constexpr uint32_t kAvx = ChainKernel::kCpuidAvx;
    constexpr uint32_t kOsxsave = ChainKernel::kCpuidOsxsave;
    struct Case {
        uint32_t ecx;
        uint32_t xcr0;
        bool usable;
    };
    const Case cases[] = {
        {kAvx | kOsxsave, 0x7, true}, // x87, SSE and AVX state saved
        {kAvx | kOsxsave, 0x6, true},
        {kAvx | kOsxsave, 0x3, false}, // the OS saves no upper halves
        {kAvx | kOsxsave, 0x5, false},
        {kAvx, 0x7, false},     // the OS has not enabled xsave
        {kOsxsave, 0x7, false}, // no AVX in the processor
        {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChainKernel::avxUsable(c.ecx, c.xcr0), c.usable) << c.ecx << " " << c.xcr0;
}

namespace {

// A kernel's data with its own aligned memory, designed as the engine designs it.
struct KernelUnderTest {
    KernelUnderTest(int32_t stageDelay, bool squared) {
        memory.assign(ChainKernelData::memoryValues(stageDelay) + 4, 0.0);
        auto* aligned = reinterpret_cast<double*>(
            (reinterpret_cast<uintptr_t>(memory.data()) + 31) & ~static_cast<uintptr_t>(31));
        d.stageDelay = stageDelay;
        d.stageState = aligned;
        d.highState = aligned + ChainKernelData::kStageStateValues;
        d.stageBuffers = d.highState + ChainKernelData::kHighStateValues;
        const BiquadCoefficients highPass{0.997, -0.997, -0.994, 0.0, 0.0};
        const double chain[2] = {0.69, 0.69};
        const double fraction[2] = {0.3, 0.45};
        BiquadCoefficients high[2];
        for (int k = 0; k < 2; ++k) {
            const double b = -0.5 - 0.1 * k;
            high[k] = {b * b, 2.0 * b, 2.0 * b, 1.0, b * b};
            if (!squared)
                high[k].b2 = 0.999;
        }
        d.setDesign(highPass, chain, fraction, high);
    }
    ChainKernelData d;
    std::vector<double> memory;
};

} // namespace

// Run in halves a call apart, the chains give every sample's outputs and leave every state as
// run whole, for every kernel, stage delay, kind of high section and block length.
TEST(ChainKernel, HalvesAreTheWholeSample) {
    for (int32_t k = 0; k < ChainKernel::kKindCount; ++k) {
        const auto kind = static_cast<ChainKernel::Kind>(k);
        if (!ChainKernel::isAvailable(kind))
            continue;
        const ChainKernel::Entry run = ChainKernel::entry(kind);
        for (int32_t stageDelay : {1, 3})
            for (bool squared : {true, false})
                for (int samples : {1, 2, 7, 64}) {
                    SCOPED_TRACE(testing::Message()
                                 << ChainKernel::name(kind) << " delay " << stageDelay
                                 << " squared " << squared << " samples " << samples);
                    KernelUnderTest whole(stageDelay, squared);
                    KernelUnderTest halves(stageDelay, squared);
                    // Two blocks, so that the second starts from the first one's states.
                    for (int block = 0; block < 2; ++block) {
                        std::vector<double> in(static_cast<size_t>(samples) * 8);
                        for (size_t i = 0; i < in.size(); ++i)
                            in[i] = std::sin(0.37 * static_cast<double>(i + 1) * (block + 1));
                        auto give = [&](double* to, int s, int which) {
                            std::copy_n(&in[static_cast<size_t>(s) * 8 + which * 4], 4, to);
                        };
                        std::vector<double> wholeOut, halvesOut, wholeHigh, halvesHigh;
                        for (int s = 0; s < samples; ++s) {
                            give(&whole.d.chainInput[0][0], s, 0);
                            give(&whole.d.highInput[0][0], s, 1);
                            run(whole.d, ChainKernel::kWholeSample);
                            wholeOut.insert(wholeOut.end(), &whole.d.chainOutput[0][0],
                                            &whole.d.chainOutput[0][0] + 4);
                            wholeHigh.insert(wholeHigh.end(), &whole.d.highOutput[0][0],
                                             &whole.d.highOutput[0][0] + 4);
                        }
                        give(&halves.d.chainInput[0][0], 0, 0);
                        run(halves.d, ChainKernel::kStartAllpass);
                        for (int s = 0; s < samples; ++s) {
                            give(&halves.d.highInput[0][0], s, 1);
                            int32_t parts = ChainKernel::kFinishAllpass | ChainKernel::kStartHigh;
                            if (s > 0)
                                parts |= ChainKernel::kFinishHigh;
                            if (s + 1 < samples) {
                                give(&halves.d.chainInput[0][0], s + 1, 0);
                                parts |= ChainKernel::kStartAllpass;
                            }
                            run(halves.d, parts);
                            halvesOut.insert(halvesOut.end(), &halves.d.chainOutput[0][0],
                                             &halves.d.chainOutput[0][0] + 4);
                            if (s > 0)
                                halvesHigh.insert(halvesHigh.end(), &halves.d.highOutput[0][0],
                                                  &halves.d.highOutput[0][0] + 4);
                        }
                        run(halves.d, ChainKernel::kFinishHigh);
                        halvesHigh.insert(halvesHigh.end(), &halves.d.highOutput[0][0],
                                          &halves.d.highOutput[0][0] + 4);
                        ASSERT_EQ(0, std::memcmp(wholeOut.data(), halvesOut.data(),
                                                 wholeOut.size() * sizeof(double)));
                        ASSERT_EQ(0, std::memcmp(wholeHigh.data(), halvesHigh.data(),
                                                 wholeHigh.size() * sizeof(double)));
                        ASSERT_EQ(0, std::memcmp(whole.d.stageState, halves.d.stageState,
                                                 ChainKernelData::memoryValues(stageDelay) *
                                                     sizeof(double)));
                        ASSERT_EQ(whole.d.stagePosition, halves.d.stagePosition);
                        ASSERT_EQ(whole.d.stageStateSlot, halves.d.stageStateSlot);
                    }
                }
    }
}
