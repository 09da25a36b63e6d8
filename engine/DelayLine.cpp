#include "engine/DelayLine.h"

#include <algorithm>

namespace SorvLib {

DelayLine::DelayLine(int32_t channelCount, int32_t historyLength)
    : length(historyLength), channels(channelCount), buffers(nullptr), positions(nullptr) {
    try {
        positions = new int32_t[channels]();
        buffers = new double*[channels]();
        for (int32_t channel = 0; channel < channels; ++channel)
            buffers[channel] = new double[2 * static_cast<size_t>(length)]();
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
    if (buffers)
        for (int32_t channel = 0; channel < channels; ++channel)
            delete[] buffers[channel];
    delete[] buffers;
    delete[] positions;
    buffers = nullptr;
    positions = nullptr;
}

void DelayLine::clear() {
    if (!buffers)
        return;
    for (int32_t channel = 0; channel < channels; ++channel) {
        std::fill(buffers[channel], buffers[channel] + 2 * static_cast<size_t>(length), 0.0);
        positions[channel] = 0;
    }
}

} // namespace SorvLib
