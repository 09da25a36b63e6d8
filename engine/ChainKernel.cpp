#include "engine/ChainKernel.h"

#include <cpuid.h>

#include <algorithm>
#include <atomic>

namespace SorvLib {

void ChainKernelData::setDesign(const BiquadCoefficients& chainHighPass,
                                const double* chainCoefficients, const double* fractionCoefficients,
                                const BiquadCoefficients* highSections) {
    squaredAllpass = true;
    for (int32_t lane = 0; lane < kLanes; ++lane) {
        const int32_t chain = lane / kChannels;
        highPassB0[lane] = chainHighPass.b0;
        highPassB1[lane] = chainHighPass.b1;
        highPassA1[lane] = chainHighPass.a1;
        chainCoefficient[lane] = chainCoefficients[chain];
        fractionCoefficient[lane] = fractionCoefficients[chain];
        const BiquadCoefficients& k = highSections[chain];
        highB0[lane] = k.b0;
        highB1[lane] = k.b1;
        highA1[lane] = k.a1;
        highB2[lane] = k.b2;
        highA2[lane] = k.a2;
        // A design that lacks these equalities takes the general section.
        squaredAllpass = squaredAllpass && k.b1 == k.a1 && k.b0 == k.a2 && k.b2 == 1.0;
    }
}

void ChainKernelData::clear() {
    if (stageState)
        std::fill_n(stageState, memoryValues(stageDelay), 0.0);
    stagePosition = startedPosition = 0;
    stageStateSlot = startedSlot = 0;
    for (double* values :
         {&chainHighPassState[0][0], &chainInput[0][0], &chainOutput[0][0], &highInput[0][0],
          &highOutput[0][0], startedW, startedX, highStarted[0], highStarted[1], highStarted[2]})
        std::fill_n(values, kLanes, 0.0);
}

namespace {

bool processorRunsAvx() {
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    // Without OSXSAVE, xgetbv itself is an invalid instruction.
    if ((ecx & ChainKernel::kCpuidOsxsave) == 0)
        return false;
    unsigned int low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return ChainKernel::avxUsable(ecx, low);
}

} // namespace

bool ChainKernel::avxUsable(uint32_t cpuidEcx, uint32_t xcr0) {
    // The processor has AVX and lets the OS enable it (OSXSAVE), and the OS saves and restores
    // both the SSE and the upper AVX register halves (XCR0 bits 1 and 2); otherwise a thread
    // switch would lose them.
    constexpr uint32_t kSseAndAvxState = 0x6;
    return (cpuidEcx & kCpuidAvx) != 0 && (cpuidEcx & kCpuidOsxsave) != 0 &&
           (xcr0 & kSseAndAvxState) == kSseAndAvxState;
}

namespace {

std::atomic<int32_t> preferredKind{ChainKernel::kKindCount};

} // namespace

bool ChainKernel::isAvailable(Kind kind) {
    static const bool avx = processorRunsAvx();
    switch (kind) {
    case kSse2:
        return true;
    case kAvx:
        return avx;
    default:
        return false;
    }
}

ChainKernel::Kind ChainKernel::choose() {
    const int32_t preferred = preferredKind.load(std::memory_order_relaxed);
    if (preferred >= 0 && preferred < kKindCount && isAvailable(static_cast<Kind>(preferred)))
        return static_cast<Kind>(preferred);
    return isAvailable(kAvx) ? kAvx : kSse2;
}

void ChainKernel::prefer(Kind kind) {
    preferredKind.store(kind, std::memory_order_relaxed);
}

ChainKernel::Entry ChainKernel::entry(Kind kind) {
    return kind == kAvx && isAvailable(kAvx) ? runChainKernelAvx : runChainKernelSse2;
}

bool ChainKernel::runsHalves(Kind kind) {
    return kind == kAvx;
}

const char* ChainKernel::name(Kind kind) {
    return kind == kAvx ? "AVX" : "SSE2";
}

} // namespace SorvLib
