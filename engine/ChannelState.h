#pragma once

#include <cstdint>

namespace SorvLib {

// The states of the reverb's steps around its chains, for both channels: the tone stage, the
// limiter, the stretched resonator, the low-pass and peaking sections, the modulators' noise
// filters and the high chains' feedback. Plain data, [..][channel] throughout, so that the
// steps of one channel and the stereo steps of both run on the same states.
struct ChannelState {
    static constexpr int32_t kChannels = 2;
    static constexpr int32_t kLoops = 2;
    static constexpr int32_t kLowPassCount = 5;
    static constexpr int32_t kPeakCount = 2;
    static constexpr int32_t kNoiseKinds = 2;

    double toneState[kChannels] = {};
    double limiterEnvelope[kChannels] = {};
    double lowPassState[kLowPassCount][2][kChannels] = {}; // [section][s1, s2][channel]
    double peakState[kPeakCount][2][kChannels] = {};       // [section][s1, s2][channel]
    double highFeedback[kLoops][kChannels] = {};
    double noiseFilterState[kLoops][kNoiseKinds][kChannels] = {};

    // The resonator's two delays of resonatorDelay values per channel, made by the design.
    double* resonatorP[kChannels] = {};
    double* resonatorQ[kChannels] = {};
    int32_t resonatorPosition[kChannels] = {};
    int32_t resonatorDelay = 1;

    // Every state to zero, the resonator's delays included.
    void clear();
};

} // namespace SorvLib
