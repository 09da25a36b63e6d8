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
