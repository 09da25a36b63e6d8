#pragma once

#include "engine/BiquadCoefficients.h"
#include "engine/ChainKernel.h"
#include "engine/ChannelState.h"
#include "engine/FrameCursor.h"

#include <cstdint>

namespace SorvLib {

// The reverb's steps around its chains for both channels at once, with the two channels side
// by side in one register: each does the arithmetic of its channel's scalar steps, operation
// for operation, so the bits are the same. A sample's steps come in three parts, so that they
// can wait for the chains' halves they need:
// - enter: the tone stage, the limiter, the pre-delay and the dispersion loops up to the
//   chains' input;
// - feed: the loops' values with the high chains' feedback into the c lines, the previous
//   sample's allpass outputs into the rest lines and through the resonator and the low-pass,
//   and the secondary loops up to the high chains' input;
// - leave: the previous sample's high outputs into the secondary lines and the feedback, and
//   the peaking pair to the wet pair.
// Plain data only, so that the steps can be compiled once per instruction set like the chains'
// kernel.
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
    // The pre-delay line's length less one.
    double longestPreDelay;

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
    // What a sample's parts hand on, and the limiter's gains for the meter.
    struct Between {
        double preDelayed[kChannels];
        double loopValue[kLoops][kChannels];
        double lowPassed[kChannels];
        double limiterGain[kChannels];
    };

    // A sample's turn when the chains run in halves: leave for the sample before it (none at
    // a block's first sample) with its wet pair, feed for itself, and enter for the sample
    // after it (none at a block's last), in one call.
    struct Turn {
        const Between* leaving;
        double* wet;
        const Sample* feeding;
        Between* fed;
        const Sample* entering;
        Between* entered;
    };

    using Enter = void (*)(StereoSteps&, const Sample&, Between&);
    using Feed = void (*)(StereoSteps&, const Sample&, Between&);
    using Leave = void (*)(StereoSteps&, const Between&, double* wet);
    using TakeTurn = void (*)(StereoSteps&, const Turn&);
    // The parts compiled for the kind of the chains' kernel.
    struct Parts {
        Enter enter;
        Feed feed;
        Leave leave;
        TakeTurn turn;
    };
    static Parts parts(ChainKernel::Kind kind);
};

StereoSteps::Parts stereoStepsSse2();
StereoSteps::Parts stereoStepsAvx();

} // namespace SorvLib
