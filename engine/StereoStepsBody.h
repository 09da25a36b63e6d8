#pragma once
// The stereo steps, written once and compiled once per instruction set: the baseline's SSE2
// and, with the same operations in the VEX encoding (three operands, so fewer register copies;
// never a fused multiply-add), AVX. Everything here is in an anonymous namespace, so that each
// translation unit has its own code: nothing compiled for the wider set can be shared with the
// baseline through the linker.

#include "engine/SignalPath.h"
#include "engine/StereoSteps.h"

#include <emmintrin.h>

namespace SorvLib {
namespace {

using namespace SignalPath;
constexpr int32_t kChannels = StereoSteps::kChannels;
constexpr int32_t kLoops = StereoSteps::kLoops;

// Channel 0 in the low half; + − × ÷ on a pair are the compiler's element-wise vector
// operators.
using Pair = __m128d;

inline Pair pairOf(double v) {
    return _mm_set1_pd(v);
}
inline Pair loadPair(const double* p) {
    return _mm_loadu_pd(p);
}
inline Pair loadPair(const StereoSteps::Both& both) {
    return _mm_loadu_pd(both.v);
}
inline void storePair(double* p, Pair v) {
    _mm_storeu_pd(p, v);
}

inline Pair runSectionPair(const StereoSteps::Section& k, double (&state)[2][kChannels], Pair x) {
    const Pair y = x * loadPair(k.b0) + loadPair(state[0]);
    storePair(state[0], (x * loadPair(k.b1) - y * loadPair(k.a1)) + loadPair(state[1]));
    storePair(state[1], x * loadPair(k.b2) - y * loadPair(k.a2));
    return y;
}

inline Pair runFirstOrderPair(const StereoSteps::Section& k, double* state, Pair x) {
    const Pair y = x * loadPair(k.b0) + loadPair(state);
    storePair(state, x * loadPair(k.b1) - y * loadPair(k.a1));
    return y;
}

// The modulator's filtered noise of both channels: max and min keep the scalar clamp's
// choices (y > -1 ? y : -1, then y < 1 ? y : 1).
inline Pair filteredNoisePair(const StereoSteps::Section& lowPass, double* state, Pair r) {
    const Pair y = runFirstOrderPair(lowPass, state, r);
    return _mm_min_pd(_mm_max_pd(y, pairOf(-1.0)), pairOf(1.0));
}

inline Pair readInterpolatedPair(const FrameCursor<kChannels>& line, const double* frame,
                                 Pair delay) {
    // Truncation and the fraction as the scalar read forms them, per channel.
    const __m128i whole = _mm_cvttpd_epi32(delay);
    const Pair fraction = delay - _mm_cvtepi32_pd(whole);
    const double* at0 = line.back(frame, _mm_cvtsi128_si32(whole));
    const double* at1 = line.back(frame, _mm_cvtsi128_si32(_mm_shuffle_epi32(whole, 1))) + 1;
    const Pair near = _mm_set_pd(at1[0], at0[0]);
    const Pair far = _mm_set_pd(at1[-kChannels], at0[-kChannels]);
    return (far - near) * fraction + near;
}

// Both channels read at one delay: the two samples are each a frame.
inline Pair readInterpolatedPair(const FrameCursor<kChannels>& line, const double* frame,
                                 double delay) {
    const int32_t whole = static_cast<int32_t>(delay);
    const Pair fraction = pairOf(delay - whole);
    const double* at = line.back(frame, whole);
    const Pair near = loadPair(at);
    return (loadPair(at - kChannels) - near) * fraction + near;
}

inline void writePair(const FrameCursor<kChannels>& line, double* frame, Pair v) {
    storePair(frame, v);
    storePair(line.mirrorOf(frame), v);
}

inline void putPair(const FrameCursor<kChannels>& line, double*& frame, Pair v) {
    writePair(line, frame, v);
    frame = line.next(frame);
}

// Each part walks the lines from `at`, the current frames as the caller's locals, which the
// vector stores into the lines cannot alias: the pointers need not be read again after every
// store.
using Frames = StereoSteps::Lines<double*>;

__attribute__((always_inline)) inline void enterSteps(StereoSteps& steps, Frames& at,
                                                      const StereoSteps::Sample& sample,
                                                      StereoSteps::Between& between) {
    const StereoSteps::Lines<FrameCursor<kChannels>>& line = steps.cursor;
    ChannelState& state = *steps.state;
    ChainKernelData& chains = *steps.chains;
    const Pair x = loadPair(sample.dry);

    // Tone tilt.
    const Pair y = runFirstOrderPair(steps.tone, state.toneState, x);
    const Pair drive = pairOf(sample.limiterDrive);
    const Pair p = drive * (x - y * pairOf(sample.toneAmount));

    // Soft limiter: the gain of a sample comes from the envelope before its update.
    const Pair e = loadPair(state.limiterEnvelope);
    const Pair g = pairOf(kLimiterKnee) / (e + pairOf(kLimiterKnee));
    const Pair q = p * g;
    storePair(between.limiterGain, g);
    const Pair lim = q / drive;
    const Pair magnitude = _mm_andnot_pd(pairOf(-0.0), p - q);
    storePair(state.limiterEnvelope,
              ((_mm_sqrt_pd(magnitude) * loadPair(steps.limiterScale) + pairOf(1.0)) - e) *
                      loadPair(steps.limiterCoefficient) +
                  e);

    // Pre-delay: the current sample is in the line when it is read.
    writePair(line.pre, at.pre, lim);
    const double preDelay = withinLine(sample.preDelaySamples, steps.longestPreDelay);
    storePair(between.preDelayed, readInterpolatedPair(line.pre, at.pre, preDelay));
    at.pre = line.pre.next(at.pre);

    // Dispersion loops. The rest lines are read here, the c lines' oldest values become the
    // chains' input; the c lines are written in feed.
    for (int32_t loop = 0; loop < kLoops; ++loop) {
        const Pair noise = filteredNoisePair(
            steps.noise[kDispersionNoise], state.noiseFilterState[loop][kDispersionNoise],
            loadPair(sample.draws + kChannels * (StereoSteps::kDispersionDraw + loop)));
        const Pair delay =
            noise * loadPair(steps.modulationDepth) + loadPair(steps.restDelay[loop]);
        // The oldest sample of a line is its current frame before the write.
        const Pair m = readInterpolatedPair(line.rest[loop], at.rest[loop], delay);
        const Pair u = m * loadPair(steps.innerBlend) + loadPair(at.a[loop]);
        storePair(between.loopValue[loop], u * loadPair(steps.outerBlend) + loadPair(at.b[loop]));
        storePair(chains.chainInput[loop], loadPair(at.c[loop]));
        putPair(line.a[loop], at.a[loop], m);
        putPair(line.b[loop], at.b[loop], u);
    }
}

__attribute__((always_inline)) inline void feedSteps(StereoSteps& steps, Frames& at,
                                                     const StereoSteps::Sample& sample,
                                                     StereoSteps::Between& between) {
    const StereoSteps::Lines<FrameCursor<kChannels>>& line = steps.cursor;
    ChannelState& state = *steps.state;
    ChainKernelData& chains = *steps.chains;
    const Pair pd = loadPair(between.preDelayed);

    const Pair feedback =
        (loadPair(state.highFeedback[kLoopA]) + loadPair(state.highFeedback[kLoopB])) *
            pairOf(kHighFeedbackShare) +
        pd;
    for (int32_t loop = 0; loop < kLoops; ++loop) {
        putPair(line.c[loop], at.c[loop],
                loadPair(between.loopValue[loop]) * loadPair(steps.loopGain[loop]) + feedback);
        putPair(line.rest[loop], at.rest[loop], loadPair(chains.chainOutput[loop]));
    }

    // Stretched resonator.
    const Pair s = loadPair(chains.chainOutput[kLoopB]) + loadPair(chains.chainOutput[kLoopA]);
    const int32_t k0 = state.resonatorPosition[0];
    const int32_t k1 = state.resonatorPosition[1];
    double* const p0 = state.resonatorP[0];
    double* const p1 = state.resonatorP[1];
    double* const q0 = state.resonatorQ[0];
    double* const q1 = state.resonatorQ[1];
    const Pair w = s * loadPair(steps.resonatorGain);
    const Pair res = w - _mm_set_pd(q1[k1], q0[k0]);
    const Pair held = _mm_set_pd(p1[k1], p0[k0]);
    const Pair newP = res * loadPair(steps.resonatorFeedback2) + w;
    const Pair newQ = res * loadPair(steps.resonatorFeedback1) + held;
    _mm_storel_pd(p0 + k0, newP);
    _mm_storeh_pd(p1 + k1, newP);
    _mm_storel_pd(q0 + k0, newQ);
    _mm_storeh_pd(q1 + k1, newQ);
    const int32_t delay = state.resonatorDelay;
    state.resonatorPosition[0] = k0 + 1 == delay ? 0 : k0 + 1;
    state.resonatorPosition[1] = k1 + 1 == delay ? 0 : k1 + 1;
    const Pair r = (s - res) * pairOf(kResonatorDryShare) + res;

    Pair lo = r;
    for (int32_t j = 0; j < StereoSteps::kLowPassCount; ++j)
        lo = runSectionPair(steps.lowPass[j], state.lowPassState[j], lo);
    storePair(between.lowPassed, lo);

    // Secondary loops, read here and written in leave.
    const Pair direct = s * pairOf(kDirectShare) + pd;
    for (int32_t loop = 0; loop < kLoops; ++loop) {
        const Pair noise =
            filteredNoisePair(steps.noise[kHighNoise], state.noiseFilterState[loop][kHighNoise],
                              loadPair(sample.draws + kChannels * (StereoSteps::kHighDraw + loop)));
        const Pair delay = (noise * pairOf(0.5)) * loadPair(steps.modulationDepth) +
                           loadPair(steps.secondaryBase[loop]);
        storePair(chains.highInput[loop],
                  readInterpolatedPair(line.secondary[loop], at.secondary[loop], delay) *
                          loadPair(steps.secondaryGain[loop]) +
                      direct);
    }
}

__attribute__((always_inline)) inline void
leaveSteps(StereoSteps& steps, Frames& at, const StereoSteps::Between& between, double* wet) {
    const StereoSteps::Lines<FrameCursor<kChannels>>& line = steps.cursor;
    ChannelState& state = *steps.state;
    const ChainKernelData& chains = *steps.chains;

    // The high chains' outputs of the previous sample enter their lines and the feedback.
    for (int32_t loop = 0; loop < kLoops; ++loop) {
        const Pair out = loadPair(chains.highOutput[loop]);
        putPair(line.secondary[loop], at.secondary[loop], out);
        storePair(state.highFeedback[loop], out);
    }

    Pair hp = loadPair(state.highFeedback[kLoopB]) + loadPair(state.highFeedback[kLoopA]);
    hp = runSectionPair(steps.peak[0], state.peakState[0], hp);
    hp = runSectionPair(steps.peak[1], state.peakState[1], hp);

    storePair(wet,
              hp * pairOf(kPeakWetShare) + loadPair(between.lowPassed) * pairOf(kLowPassWetShare));
}

void enter(StereoSteps& steps, const StereoSteps::Sample& sample, StereoSteps::Between& between) {
    Frames at = steps.frame;
    enterSteps(steps, at, sample, between);
    steps.frame = at;
}

void feed(StereoSteps& steps, const StereoSteps::Sample& sample, StereoSteps::Between& between) {
    Frames at = steps.frame;
    feedSteps(steps, at, sample, between);
    steps.frame = at;
}

void leave(StereoSteps& steps, const StereoSteps::Between& between, double* wet) {
    Frames at = steps.frame;
    leaveSteps(steps, at, between, wet);
    steps.frame = at;
}

void turn(StereoSteps& steps, const StereoSteps::Turn& turn) {
    Frames at = steps.frame;
    if (turn.leaving)
        leaveSteps(steps, at, *turn.leaving, turn.wet);
    feedSteps(steps, at, *turn.feeding, *turn.fed);
    if (turn.entering)
        enterSteps(steps, at, *turn.entering, *turn.entered);
    steps.frame = at;
}

} // namespace
} // namespace SorvLib
