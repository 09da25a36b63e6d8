#include "engine/DelayLine.h"

#include <algorithm>

namespace SorvLib {

DelayLine::DelayLine(int32_t channelCount, int32_t historyLength)
    : length(historyLength), channels(channelCount), samples(nullptr), positions(nullptr) {
    try {
        positions = new int32_t[channels]();
        samples = new double[2 * static_cast<size_t>(length) * static_cast<size_t>(channels)]();
    } catch (...) {
        // The caller sees the allocator's exception; nothing made so far may leak.
        release();
        throw;
    }
}

DelayLine::~DelayLine() {
    release();
}

void DelayLine::release() {
    delete[] samples;
    delete[] positions;
    samples = nullptr;
    positions = nullptr;
}

void DelayLine::clear() {
    if (!samples)
        return;
    std::fill_n(samples, 2 * static_cast<size_t>(length) * static_cast<size_t>(channels), 0.0);
    std::fill_n(positions, channels, 0);
}

} // namespace SorvLib
