#include "engine/NoiseModulator.h"

#include "core/IUtils.h"

namespace SorvLib {

uint32_t noiseSeed() {
    return getUtils()->getMilliseconds() | 1u;
}

std::atomic<uint32_t> noiseState{noiseSeed()};

uint32_t getNoiseState() {
    return noiseState.load(std::memory_order_relaxed);
}

void setNoiseState(uint32_t state) {
    noiseState.store(state, std::memory_order_relaxed);
}

} // namespace SorvLib
