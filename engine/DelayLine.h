#pragma once

#include <cstddef>
#include <cstdint>

namespace SorvLib {

// A circular delay of doubles for several channels. Every sample is stored twice, length
// places apart, so that any read of up to length samples back is a pair of adjacent elements
// and never wraps. The channels' samples of one place sit side by side (a frame), so channels
// that are in step (at the same position) can be written and read a frame at a time. Made and
// cleared on the main thread while no audio runs; read, written and advanced on the audio
// thread, where nothing here allocates or locks.
class DelayLine {
public:
    // Both counts at least 1; every sample and position starts at 0. Allocates.
    DelayLine(int32_t channels, int32_t length);
    ~DelayLine();
    DelayLine(const DelayLine&) = delete;
    DelayLine& operator=(const DelayLine&) = delete;

    void clear();

    void write(int32_t channel, double value) {
        double* at = samples + place(positions[channel]) + channel;
        at[0] = value;
        at[place(length)] = value;
    }

    void advance(int32_t channel) {
        int32_t next = positions[channel] + 1;
        if (next == length)
            next = 0;
        positions[channel] = next;
    }

    // The sample written length samples ago, read before the current one is written.
    double readOldest(int32_t channel) const {
        return samples[place(positions[channel] + length) + channel];
    }

    // Linear interpolation between the samples written floor(delay) and floor(delay) + 1
    // samples before the current position. Needs 0 <= floor(delay) <= length - 1, and
    // floor(delay) >= 1 when the current sample is not written yet.
    double readInterpolated(int32_t channel, double delay) const {
        // Delays are never negative, so truncation is the floor (and avoids a library call
        // where the target has no rounding instruction).
        const int32_t whole = static_cast<int32_t>(delay);
        const double fraction = delay - whole;
        const double* at = samples + place(positions[channel] + length - whole) + channel;
        return (at[-channels] - at[0]) * fraction + at[0];
    }

    // Whether every channel is at the same position, as after clear() and as long as all
    // channels are written and advanced together.
    bool inStep() const {
        for (int32_t channel = 1; channel < channels; ++channel)
            if (positions[channel] != positions[0])
                return false;
        return true;
    }

    // For channels in step, in a line of kChannels channels: the frame at the current position
    // (write it, and the same values mirror() further on), and the frame written `back`
    // samples before it, 0 <= back <= length (0 is the current frame, length the oldest).
    template <int32_t kChannels> double* currentFrame() {
        return samples + static_cast<ptrdiff_t>(positions[0]) * kChannels;
    }
    template <int32_t kChannels> const double* frameBack(int32_t back) const {
        return samples + static_cast<ptrdiff_t>(positions[0] + length - back) * kChannels;
    }
    template <int32_t kChannels> ptrdiff_t mirror() const {
        return static_cast<ptrdiff_t>(length) * kChannels;
    }
    // Every channel to one position, 0 <= position < length.
    void setInStepPosition(int32_t position) {
        for (int32_t channel = 0; channel < channels; ++channel)
            positions[channel] = position;
    }
    void advanceInStep() {
        int32_t next = positions[0] + 1;
        if (next == length)
            next = 0;
        for (int32_t channel = 0; channel < channels; ++channel)
            positions[channel] = next;
    }

    int32_t getLength() const { return length; }
    int32_t getChannels() const { return channels; }
    int32_t getPosition(int32_t channel) const { return positions[channel]; }

private:
    void release();
    ptrdiff_t place(int32_t position) const { return static_cast<ptrdiff_t>(position) * channels; }

    int32_t length;
    int32_t channels;
    double* samples;
    int32_t* positions;
};

} // namespace SorvLib
