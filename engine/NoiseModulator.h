#pragma once

#include "engine/BiquadCoefficients.h"

#include <atomic>
#include <cstdint>

namespace SorvLib {

// The process-wide noise source: one 32-bit xorshift state shared by every effect instance
// and both sample formats, seeded at module load from the millisecond tick (odd, so never 0).
extern std::atomic<uint32_t> noiseState;

// The seed taken at module load: the millisecond tick with its lowest bit set.
uint32_t noiseSeed();

// For tests, which need reproducible draws.
uint32_t getNoiseState();
void setNoiseState(uint32_t state);

// One xorshift step. The middle shift is arithmetic: the state is read as a signed value and
// its sign bit copied into the vacated bits, which is what makes 4227866623 step to 0.
inline uint32_t noiseStep(uint32_t x) {
    x ^= x << 13;
    x ^= static_cast<uint32_t>(static_cast<int32_t>(x) >> 7);
    x ^= x << 17;
    return x;
}

// A state as a value in [-1, 1): the signed state times 2^-31.
inline double noiseValue(uint32_t state) {
    constexpr double kTwoToMinus31 = 4.656612873077393e-10;
    return static_cast<int32_t>(state) * kTwoToMinus31;
}

// One draw: a single indivisible step of noiseState, so that instances drawing at the same
// time on different audio threads never lose or tear a step. Lock-free; any thread.
inline double nextNoise() {
    uint32_t state = noiseState.load(std::memory_order_relaxed);
    uint32_t next = noiseStep(state);
    while (!noiseState.compare_exchange_weak(state, next, std::memory_order_relaxed))
        next = noiseStep(state);
    return noiseValue(next);
}

// Turns one noise draw into the delay of a modulated line: the draw through a first-order
// low-pass (b0, b1, a1 of lowPass) with the given state, clamped to ±1, scaled by the depth
// and added to the nominal delay. The high loops swing half as far as the dispersion loops.
class NoiseModulator {
public:
    static double filteredNoise(const BiquadCoefficients& lowPass, double& state) {
        const double r = nextNoise();
        double y = r * lowPass.b0 + state;
        state = r * lowPass.b1 - y * lowPass.a1;
        y = y > -1.0 ? y : -1.0;
        return y < 1.0 ? y : 1.0;
    }

    static double dispersionDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                                  double nominal) {
        return filteredNoise(lowPass, state) * depth + nominal;
    }

    static double highDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                            double nominal) {
        return (filteredNoise(lowPass, state) * 0.5) * depth + nominal;
    }
};

} // namespace SorvLib
