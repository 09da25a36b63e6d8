#pragma once

#include "engine/BiquadCoefficients.h"

#include <cstddef>
#include <cstdint>

namespace SorvLib {

// The four chains of the reverb, run once per sample: the two 100-stage stretched allpass
// chains of the dispersion loops and the two 90-section high chains. Each chain runs both
// channels, so every value exists for four lanes, in the order chain A channel 0, chain A
// channel 1, chain B channel 0, chain B channel 1; a [chain][channel] array is that order.
// The lanes of one kind of chain do the same arithmetic with their own coefficients, so a
// kernel may run them side by side in vector registers, as long as each lane keeps the scalar
// arithmetic of its chain in its order. Plain data only: a kernel can be compiled once per
// instruction set.
struct ChainKernelData {
    static constexpr int32_t kChains = 2;
    static constexpr int32_t kChannels = 2;
    static constexpr int32_t kLanes = kChains * kChannels;
    static constexpr int32_t kStages = 100;
    static constexpr int32_t kHighSections = 90;
    // A sample's chains may run in two passes each, split after this many stages and sections.
    static constexpr int32_t kFirstHalfStages = 50;
    static constexpr int32_t kFirstHalfSections = 45;
    // The first-order allpass interpolator of a stage keeps its S1 of the last two samples
    // (its S2 is the older one), so a stage stores one value per lane and sample.
    static constexpr size_t kStageStateValues = kStages * 2 * kLanes; // [stage][slot][lane]
    static constexpr size_t kHighStateValues =
        kHighSections * 2 * kLanes; // [section][s1, s2][lane]

    // Values of the memory the design makes for a stage delay.
    static size_t memoryValues(int32_t stageDelay) {
        return kStageStateValues + kHighStateValues +
               static_cast<size_t>(stageDelay) * kStages * kLanes;
    }

    // Design, per lane.
    double highPassB0[kLanes] = {};
    double highPassB1[kLanes] = {};
    double highPassA1[kLanes] = {};
    double chainCoefficient[kLanes] = {};
    double fractionCoefficient[kLanes] = {};
    double highB0[kLanes] = {};
    double highB1[kLanes] = {};
    double highA1[kLanes] = {};
    double highB2[kLanes] = {};
    double highA2[kLanes] = {};
    // High sections that are a first-order allpass squared ({b², 2b, 2b, 1, b²}) share their
    // products from one section to the next; see the kernel.
    bool squaredAllpass = false;
    int32_t stageDelay = 1;

    // Memory made by the design, aligned to 32 bytes; null before.
    double* stageState = nullptr;   // kStageStateValues
    double* highState = nullptr;    // kHighStateValues
    double* stageBuffers = nullptr; // [position][stage][lane], stageDelay positions
    int32_t stagePosition = 0;      // one position serves every stage of both chains
    int32_t stageStateSlot = 0;     // which slot of a stage state holds the newer S1
    // The position and slot the next sample takes are above; a sample between its two passes
    // keeps the ones it took, and its chains' running values, here.
    int32_t startedPosition = 0;
    int32_t startedSlot = 0;
    double startedW[kLanes] = {};
    double startedX[kLanes] = {};
    // Likewise the running values of high chains between their passes: x and, for squared
    // sections, its products with b0 and b1.
    double highStarted[3][kLanes] = {};

    // Hand-over with the per-channel steps, [chain][channel].
    double chainHighPassState[kChains][kChannels] = {};
    double chainInput[kChains][kChannels] = {};
    double chainOutput[kChains][kChannels] = {};
    double highInput[kChains][kChannels] = {};
    double highOutput[kChains][kChannels] = {};

    // The coefficients of the four lanes from the design of the two chains.
    void setDesign(const BiquadCoefficients& chainHighPass, const double* chainCoefficients,
                   const double* fractionCoefficients, const BiquadCoefficients* highSections);
    // Every state, buffer, position and hand-over value to zero.
    void clear();
};

// The instruction sets a kernel is compiled for, and the choice among them. The choice is made
// once per setup of an effect, never on the audio thread.
class ChainKernel {
public:
    enum Kind : int32_t { kSse2 = 0, kAvx = 1, kKindCount = 2 };

    // What one call of a kernel runs, as a set of parts. A sample's allpass chains depend on
    // the previous sample's only through their states and stage buffers, one stage at a time,
    // and its high chains on the previous sample's allpass output only through their input. So
    // each chain can run in two halves a call apart, and four halves of different samples run
    // side by side: the dependent arithmetic of each hides behind the others'.
    enum Part : int32_t {
        kStartAllpass = 1, // the input high-pass and first half of the allpass chains of chainInput
        kFinishAllpass = 2, // the second half of the started allpass chains, to chainOutput
        kStartHigh = 4,     // the first half of the high chains of highInput
        kFinishHigh = 8,    // the second half of the started high chains, to highOutput
        // One sample whole in one call: chainInput and highInput in, chainOutput and highOutput
        // out.
        kWholeSample = 16,
    };
    // Calls take kWholeSample, kStartAllpass or kFinishHigh alone, or kFinishAllpass together
    // with kStartHigh and either or both of the others.
    using Entry = void (*)(ChainKernelData&, int32_t parts);

    // Whether the processor and the operating system run the kind (AVX needs the OS to save
    // the wide registers).
    static bool isAvailable(Kind kind);
    // The AVX test on cpuid leaf 1's ECX and the XCR0 register read by xgetbv.
    static bool avxUsable(uint32_t cpuidEcx, uint32_t xcr0);
    static constexpr uint32_t kCpuidOsxsave = 1u << 27;
    static constexpr uint32_t kCpuidAvx = 1u << 28;
    // The kind a setup takes: the preferred one when available, else the widest available.
    static Kind choose();
    // For tests and the benchmark: the kind later setups take; kKindCount for the widest.
    static void prefer(Kind kind);
    static Entry entry(Kind kind);
    // Whether the kind is best run in halves (kStartAllpass and the others) or a sample whole
    // per call: a kind whose registers hold four chains' running values gains from the halves
    // side by side, one whose registers do not loses more to spilling than it gains.
    static bool runsHalves(Kind kind);
    static const char* name(Kind kind);
};

void runChainKernelSse2(ChainKernelData& data, int32_t parts);
void runChainKernelAvx(ChainKernelData& data, int32_t parts);

} // namespace SorvLib
