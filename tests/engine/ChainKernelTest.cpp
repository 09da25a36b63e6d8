#include "engine/ChainKernel.h"
#include "engine/EngineHarness.h"

#include <gtest/gtest.h>

#include <iostream>

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
