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
constexpr uint32_t noiseStep(uint32_t x) {
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

// A state advanced by `count` steps at once. The step is linear over the 32 bits (every output
// bit is an exclusive-or of input bits; the arithmetic shift only copies bit 31), so `count`
// steps are one bit matrix, applied as the exclusive-or of its columns for the set bits of the
// state; the matrices of the powers of two are built at compile time.
uint32_t noiseJump(uint32_t state, uint64_t count);

// Takes `count` consecutive steps of noiseState as one indivisible step and returns the state
// they start from; the caller then steps from it with noiseStep, so a lone caller draws
// exactly the values of `count` calls of nextNoise, and callers on other threads each get
// their own stretch of the one sequence. The end state is computed by noiseJump between the
// read and the compare-and-swap, so the shared state's cache line moves between processors
// once per stretch, not at every draw, and a conflict costs little. Lock-free; any thread.
inline uint32_t takeNoiseSteps(uint64_t count) {
    uint32_t state = noiseState.load(std::memory_order_relaxed);
    if (count == 0)
        return state;
    while (!noiseState.compare_exchange_weak(state, noiseJump(state, count),
                                             std::memory_order_relaxed)) {
    }
    return state;
}

// Turns one noise draw into the delay of a modulated line: the draw through a first-order
// low-pass (b0, b1, a1 of lowPass) with the given state, clamped to ±1, scaled by the depth
// and added to the nominal delay. The high loops swing half as far as the dispersion loops.
class NoiseModulator {
public:
    // With the draw r given (stepped from takeNoiseSteps).
    static double filteredNoise(const BiquadCoefficients& lowPass, double& state, double r) {
        double y = r * lowPass.b0 + state;
        state = r * lowPass.b1 - y * lowPass.a1;
        y = y > -1.0 ? y : -1.0;
        return y < 1.0 ? y : 1.0;
    }

    static double dispersionDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                                  double nominal, double r) {
        return filteredNoise(lowPass, state, r) * depth + nominal;
    }

    static double highDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                            double nominal, double r) {
        return (filteredNoise(lowPass, state, r) * 0.5) * depth + nominal;
    }

    // The same, each with a draw of its own.
    static double dispersionDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                                  double nominal) {
        return dispersionDelay(lowPass, state, depth, nominal, nextNoise());
    }

    static double highDelay(const BiquadCoefficients& lowPass, double& state, double depth,
                            double nominal) {
        return highDelay(lowPass, state, depth, nominal, nextNoise());
    }
};

} // namespace SorvLib
