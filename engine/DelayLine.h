#pragma once

#include <cstdint>

namespace SorvLib {

// A circular delay of doubles for several channels. Every sample is stored twice, length
// places apart, so that any read of up to length samples back is a pair of adjacent elements
// and never wraps. Made and cleared on the main thread while no audio runs; read, written and
// advanced on the audio thread, where nothing here allocates or locks.
class DelayLine {
public:
    // Both counts at least 1; every sample and position starts at 0. Allocates.
    DelayLine(int32_t channels, int32_t length);
    ~DelayLine();
    DelayLine(const DelayLine&) = delete;
    DelayLine& operator=(const DelayLine&) = delete;

    void clear();

    void write(int32_t channel, double value) {
        double* buffer = buffers[channel];
        const int32_t position = positions[channel];
        buffer[position] = value;
        buffer[position + length] = value;
    }

    void advance(int32_t channel) {
        int32_t next = positions[channel] + 1;
        if (next == length)
            next = 0;
        positions[channel] = next;
    }

    // The sample written length samples ago, read before the current one is written.
    double readOldest(int32_t channel) const {
        return buffers[channel][positions[channel] + length];
    }

    // Linear interpolation between the samples written floor(delay) and floor(delay) + 1
    // samples before the current position. Needs 0 <= floor(delay) <= length - 1, and
    // floor(delay) >= 1 when the current sample is not written yet.
    double readInterpolated(int32_t channel, double delay) const {
        // Delays are never negative, so truncation is the floor (and avoids a library call
        // where the target has no rounding instruction).
        const int32_t whole = static_cast<int32_t>(delay);
        const double fraction = delay - whole;
        const double* at = buffers[channel] + (positions[channel] + length - whole);
        return (at[-1] - at[0]) * fraction + at[0];
    }

    int32_t getLength() const { return length; }
    int32_t getChannels() const { return channels; }
    int32_t getPosition(int32_t channel) const { return positions[channel]; }

private:
    void release();

    int32_t length;
    int32_t channels;
    double** buffers;
    int32_t* positions;
};

} // namespace SorvLib
