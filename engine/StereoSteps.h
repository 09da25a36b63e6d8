#pragma once

#include "engine/BiquadCoefficients.h"
#include "engine/ChainKernel.h"
#include "engine/ChannelState.h"
#include "engine/FrameCursor.h"

#include <cstdint>

namespace SorvLib {

// The reverb's steps around its chains for both channels at once, with the two channels side
// by side in one register: each does the arithmetic of its channel's scalar steps, operation
// for operation, so the bits are the same. A sample's steps come in two parts: into the chains
// (tone stage, limiter, pre-delay and the dispersion loops up to the chains' input) and from
// them (the chains' outputs through the resonator, the low-pass, the secondary loops up to the
// high chains' input, and the peaking pair to the wet pair). Plain data only, so that the steps
// can be compiled once per instruction set like the chains' kernel.
struct StereoSteps {
    static constexpr int32_t kChannels = ChannelState::kChannels;
    static constexpr int32_t kLoops = ChannelState::kLoops;
    static constexpr int32_t kLowPassCount = ChannelState::kLowPassCount;
    // A channel's noise draws of one sample: dispersion loop A, B, then high loop A, B.
    static constexpr int32_t kDispersionDraw = 0;
    static constexpr int32_t kHighDraw = 2;
    static constexpr int32_t kDrawsPerChannel = 4;

    // A value of the design in both channels' places.
    struct Both {
        double v[kChannels];
    };
    struct Section {
        Both b0, b1, a1, b2, a2;
    };

    static Both both(double v) { return {{v, v}}; }
    static Section section(const BiquadCoefficients& k) {
        return {both(k.b0), both(k.b1), both(k.a1), both(k.b2), both(k.a2)};
    }

    // The design the steps run, made from the engine's.
    Section tone, lowPass[kLowPassCount], peak[2], noise[2];
    Both limiterScale, limiterCoefficient, modulationDepth, innerBlend, outerBlend;
    Both resonatorGain, resonatorFeedback1, resonatorFeedback2;
    Both restDelay[kLoops], loopGain[kLoops], secondaryBase[kLoops], secondaryGain[kLoops];

    // The engine's states and chains' hand-over values.
    ChannelState* state = nullptr;
    ChainKernelData* chains = nullptr;

    // The lines, walked frame by frame through a block: their two channels are in step, so a
    // channel pair of samples is one frame.
    template <typename T> struct Lines {
        T pre;
        T rest[kLoops], a[kLoops], b[kLoops], c[kLoops], secondary[kLoops];
    };
    Lines<FrameCursor<kChannels>> cursor;
    Lines<double*> frame;

    // What a sample brings into the steps.
    struct Sample {
        double dry[kChannels];
        // [draw][channel]
        double draws[kDrawsPerChannel * kChannels];
        double toneAmount;
        double limiterDrive;
        double preDelaySamples;
    };
    // What the first part hands to the second, and the limiter's gains for the meter.
    struct Between {
        double preDelayed[kChannels];
        double limiterGain[kChannels];
    };

    using IntoChains = void (*)(StereoSteps&, const Sample&, Between&);
    using FromChains = void (*)(StereoSteps&, const Sample&, const Between&, double* wet);
    // The two parts compiled for the kind of the chains' kernel.
    static IntoChains intoChains(ChainKernel::Kind kind);
    static FromChains fromChains(ChainKernel::Kind kind);
};

void runStereoIntoChainsSse2(StereoSteps& steps, const StereoSteps::Sample& sample,
                             StereoSteps::Between& between);
void runStereoFromChainsSse2(StereoSteps& steps, const StereoSteps::Sample& sample,
                             const StereoSteps::Between& between, double* wet);
void runStereoIntoChainsAvx(StereoSteps& steps, const StereoSteps::Sample& sample,
                            StereoSteps::Between& between);
void runStereoFromChainsAvx(StereoSteps& steps, const StereoSteps::Sample& sample,
                            const StereoSteps::Between& between, double* wet);

} // namespace SorvLib
