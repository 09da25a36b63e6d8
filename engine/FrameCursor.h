#pragma once

#include "engine/DelayLine.h"

#include <cstddef>
#include <cstdint>

namespace SorvLib {

// A block's walk over a DelayLine of kChannels channels that are in step. The walk keeps the
// line's geometry; the current frame is a pointer the caller holds (in a local, where stores
// into the samples cannot alias it), so that a sample's reads, writes and advance need no
// position arithmetic. Attached at the start of a block and detached at its end, which hands
// the position back to the line; in between nothing else may use the line. Allocates nothing.
// The walk itself is always inlined: code compiled for a wider instruction set uses it too, and
// must not leave a copy the baseline code could be linked to.
template <int32_t kChannels> class FrameCursor {
public:
    // Returns the current frame.
    double* attach(DelayLine& line) {
        double* const frame = line.currentFrame<kChannels>();
        start = frame - static_cast<ptrdiff_t>(line.getPosition(0)) * kChannels;
        mirror = line.mirror<kChannels>();
        end = start + mirror;
        return frame;
    }
    void detach(DelayLine& line, const double* frame) const {
        line.setInStepPosition(static_cast<int32_t>((frame - start) / kChannels));
    }

    // The copy of a frame further on, written with it.
    __attribute__((always_inline)) double* mirrorOf(double* frame) const { return frame + mirror; }
    // The frame written `samples` before the current one, 0 <= samples <= length; at length
    // it is the oldest, which is the current frame before it is written.
    __attribute__((always_inline)) const double* back(const double* frame, int32_t samples) const {
        return frame + mirror - static_cast<ptrdiff_t>(samples) * kChannels;
    }
    __attribute__((always_inline)) double* next(double* frame) const {
        double* const after = frame + kChannels;
        return after == end ? start : after;
    }

private:
    double* start = nullptr;
    double* end = nullptr; // start plus one length of frames: where the copies begin
    ptrdiff_t mirror = 0;
};

} // namespace SorvLib
