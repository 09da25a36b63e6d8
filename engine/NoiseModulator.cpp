#include "engine/NoiseModulator.h"

#include "core/IUtils.h"

#include <array>

namespace SorvLib {

namespace {

// Column j of a step matrix is the image of bit j alone.
using StepMatrix = std::array<uint32_t, 32>;

constexpr uint32_t apply(const StepMatrix& matrix, uint32_t state) {
    uint32_t result = 0;
    for (int j = 0; j < 32; ++j)
        result ^= matrix[j] & (0u - ((state >> j) & 1u));
    return result;
}

// The matrices of 2^i steps for i = 0 .. 63: each squares the one before.
constexpr std::array<StepMatrix, 64> makeJumps() {
    std::array<StepMatrix, 64> jumps{};
    for (int j = 0; j < 32; ++j)
        jumps[0][j] = noiseStep(1u << j);
    for (int i = 1; i < 64; ++i)
        for (int j = 0; j < 32; ++j)
            jumps[i][j] = apply(jumps[i - 1], jumps[i - 1][j]);
    return jumps;
}

constexpr std::array<StepMatrix, 64> kJumps = makeJumps();

} // namespace

uint32_t noiseJump(uint32_t state, uint64_t count) {
    for (int i = 0; count != 0; ++i, count >>= 1)
        if (count & 1u)
            state = apply(kJumps[i], state);
    return state;
}

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
