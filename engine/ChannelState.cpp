#include "engine/ChannelState.h"

#include <algorithm>

namespace SorvLib {

void ChannelState::clear() {
    std::fill_n(toneState, kChannels, 0.0);
    std::fill_n(limiterEnvelope, kChannels, 0.0);
    std::fill_n(&lowPassState[0][0][0], sizeof(lowPassState) / sizeof(double), 0.0);
    std::fill_n(&peakState[0][0][0], sizeof(peakState) / sizeof(double), 0.0);
    std::fill_n(&highFeedback[0][0], sizeof(highFeedback) / sizeof(double), 0.0);
    std::fill_n(&noiseFilterState[0][0][0], sizeof(noiseFilterState) / sizeof(double), 0.0);
    for (int32_t c = 0; c < kChannels; ++c) {
        resonatorPosition[c] = 0;
        if (resonatorP[c])
            std::fill_n(resonatorP[c], resonatorDelay, 0.0);
        if (resonatorQ[c])
            std::fill_n(resonatorQ[c], resonatorDelay, 0.0);
    }
}

} // namespace SorvLib
