#include "engine/NoiseModulator.h"

#include "core/IUtils.h"

namespace SorvLib {

namespace {

uint32_t noiseSeed() { return getUtils()->getMilliseconds() | 1u; }

} // namespace

std::atomic<uint32_t> noiseState{noiseSeed()};

uint32_t getNoiseState() { return noiseState.load(std::memory_order_relaxed); }

void setNoiseState(uint32_t state) { noiseState.store(state, std::memory_order_relaxed); }

} // namespace SorvLib
